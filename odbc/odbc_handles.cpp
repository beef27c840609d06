// Statement and connection owners.
#include "odbc/odbc_handles.h"

#include <utility>

OdbcStatement::OdbcStatement(OdbcBinding& binding, SqlHdbc connection) : binding_(&binding), connection_(connection) {
    if (binding.fn().SQLAllocHandle)
        result_ = binding.fn().SQLAllocHandle(sql::kHandleStmt, connection, &handle_);
    if (!sql::succeeded(result_))
        handle_ = nullptr;
}

OdbcStatement::~OdbcStatement() {
    reset();
}

OdbcStatement::OdbcStatement(OdbcStatement&& other) noexcept
    : binding_(other.binding_),
      connection_(other.connection_),
      handle_(std::exchange(other.handle_, nullptr)),
      result_(other.result_) {}

OdbcStatement& OdbcStatement::operator=(OdbcStatement&& other) noexcept {
    if (this != &other) {
        reset();
        binding_ = other.binding_;
        connection_ = other.connection_;
        handle_ = std::exchange(other.handle_, nullptr);
        result_ = other.result_;
    }
    return *this;
}

void OdbcStatement::reset() {
    if (handle_ && binding_->fn().SQLFreeHandle)
        binding_->fn().SQLFreeHandle(sql::kHandleStmt, handle_);
    handle_ = nullptr;
}

SqlReturn OdbcStatement::execDirect(const std::string& text) {
    std::string copy = text;  // the ANSI call takes a non-const pointer
    return handle_ ? binding_->fn().SQLExecDirect(handle_, reinterpret_cast<SqlChar*>(copy.data()),
                                                  static_cast<SqlInteger>(copy.size()))
                   : sql::kError;
}

SqlReturn OdbcStatement::prepare(const std::string& text) {
    std::string copy = text;
    return handle_ ? binding_->fn().SQLPrepare(handle_, reinterpret_cast<SqlChar*>(copy.data()),
                                               static_cast<SqlInteger>(copy.size()))
                   : sql::kError;
}

SqlReturn OdbcStatement::execute() {
    return handle_ ? binding_->fn().SQLExecute(handle_) : sql::kError;
}

SqlReturn OdbcStatement::fetch() {
    return handle_ ? binding_->fn().SQLFetch(handle_) : sql::kError;
}

SqlReturn OdbcStatement::numResultCols(SqlSmallInt* count) {
    *count = 0;
    return handle_ ? binding_->fn().SQLNumResultCols(handle_, count) : sql::kError;
}

SqlReturn OdbcStatement::moreResults() {
    if (!handle_)
        return sql::kError;
    return binding_->fn().SQLMoreResults ? binding_->fn().SQLMoreResults(handle_) : sql::kNoData;
}

SqlReturn OdbcStatement::getText(SqlUSmallInt column, ColumnText& value, std::size_t limit) {
    if (!handle_) {
        value = ColumnText();
        return sql::kError;
    }
    return getColumnText(binding_->fn(), handle_, column, value, limit);
}

void OdbcStatement::reportError(void* owner) {
    if (binding_)
        binding_->reportError(binding_->environment(), connection_, handle_, owner);
}

std::string OdbcStatement::errorText() {
    return binding_ ? binding_->firstDiagnostic(binding_->environment(), connection_, handle_) : std::string();
}

OdbcConnection::OdbcConnection(OdbcBinding& binding) : binding_(&binding), generation_(binding.generation()) {
    result_ = binding.allocConnection(&handle_);
}

OdbcConnection::~OdbcConnection() {
    reset();
}

OdbcConnection::OdbcConnection(OdbcConnection&& other) noexcept
    : binding_(other.binding_),
      handle_(std::exchange(other.handle_, nullptr)),
      generation_(other.generation_),
      result_(other.result_) {}

OdbcConnection& OdbcConnection::operator=(OdbcConnection&& other) noexcept {
    if (this != &other) {
        reset();
        binding_ = other.binding_;
        handle_ = std::exchange(other.handle_, nullptr);
        generation_ = other.generation_;
        result_ = other.result_;
    }
    return *this;
}

void OdbcConnection::reset() {
    // A handle from an environment freed since may have been given to someone else by now.
    if (handle_ && binding_->generation() == generation_)
        binding_->freeConnection(handle_);
    handle_ = nullptr;
}
