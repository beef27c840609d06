// Statement and connection owners.
#include "odbc/odbc_handles.h"

#include <utility>

OdbcStatement::OdbcStatement(const OdbcBinding& binding, SqlHdbc connection) : fn_(&binding.fn()) {
    if (fn_->SQLAllocHandle)
        result_ = fn_->SQLAllocHandle(sql::kHandleStmt, connection, &handle_);
    if (!sql::succeeded(result_))
        handle_ = nullptr;
}

OdbcStatement::~OdbcStatement() {
    reset();
}

OdbcStatement::OdbcStatement(OdbcStatement&& other) noexcept
    : fn_(other.fn_), handle_(std::exchange(other.handle_, nullptr)), result_(other.result_) {}

OdbcStatement& OdbcStatement::operator=(OdbcStatement&& other) noexcept {
    if (this != &other) {
        reset();
        fn_ = other.fn_;
        handle_ = std::exchange(other.handle_, nullptr);
        result_ = other.result_;
    }
    return *this;
}

void OdbcStatement::reset() {
    if (handle_ && fn_->SQLFreeHandle)
        fn_->SQLFreeHandle(sql::kHandleStmt, handle_);
    handle_ = nullptr;
}

OdbcConnection::OdbcConnection(OdbcBinding& binding) : fn_(&binding.fn()) {
    result_ = binding.allocConnection(&handle_);
}

OdbcConnection::~OdbcConnection() {
    reset();
}

OdbcConnection::OdbcConnection(OdbcConnection&& other) noexcept
    : fn_(other.fn_), handle_(std::exchange(other.handle_, nullptr)), result_(other.result_) {}

OdbcConnection& OdbcConnection::operator=(OdbcConnection&& other) noexcept {
    if (this != &other) {
        reset();
        fn_ = other.fn_;
        handle_ = std::exchange(other.handle_, nullptr);
        result_ = other.result_;
    }
    return *this;
}

void OdbcConnection::reset() {
    if (handle_ && fn_->SQLDisconnect && fn_->SQLFreeConnect) {
        fn_->SQLDisconnect(handle_);
        fn_->SQLFreeConnect(handle_);
    }
    handle_ = nullptr;
}
