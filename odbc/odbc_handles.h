// Move-only owners of ODBC handles: a statement lives for one operation and is freed on every path;
// a connection is disconnected and freed by whoever owns it, before the binding's last release.
#pragma once

#include <string>

#include "odbc/column_text.h"
#include "odbc/odbc_binding.h"

class OdbcStatement {
  public:
    OdbcStatement() = default;
    // Allocates a statement on `connection` (SQLAllocHandle, type 3); see ok() and result().
    OdbcStatement(OdbcBinding& binding, SqlHdbc connection);
    ~OdbcStatement();
    OdbcStatement(OdbcStatement&& other) noexcept;
    OdbcStatement& operator=(OdbcStatement&& other) noexcept;
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    bool ok() const { return handle_ != nullptr; }
    SqlReturn result() const { return result_; }
    SqlHstmt get() const { return handle_; }
    SqlHdbc connection() const { return connection_; }
    // Frees the statement now (SQLFreeHandle, type 3).
    void reset();

    // The calls every operation makes, on this statement's handle; a statement that failed to
    // allocate answers sql::kError.
    SqlReturn execDirect(const std::string& text);
    SqlReturn prepare(const std::string& text);
    SqlReturn execute();
    SqlReturn fetch();
    SqlReturn numResultCols(SqlSmallInt* count);
    // The next result of a batch; sql::kNoData when there is none or the driver manager lacks
    // SQLMoreResults.
    SqlReturn moreResults();
    // Column `column` of the current row as text (see getColumnText).
    SqlReturn getText(SqlUSmallInt column, ColumnText& value, std::size_t limit = ColumnText::kNoLimit);

    // The "ODBC error" box for the last failed call on this statement, or, when the statement
    // could not be allocated, for its connection and environment.
    void reportError(void* owner);
    // The text that box would show, shown nowhere.
    std::string errorText();

  private:
    OdbcBinding* binding_ = nullptr;
    SqlHdbc connection_ = nullptr;
    SqlHstmt handle_ = nullptr;
    SqlReturn result_ = sql::kError;
};

class OdbcConnection {
  public:
    OdbcConnection() = default;
    // Allocates a connection on the shared environment through the current-connection slot.
    explicit OdbcConnection(OdbcBinding& binding);
    ~OdbcConnection();
    OdbcConnection(OdbcConnection&& other) noexcept;
    OdbcConnection& operator=(OdbcConnection&& other) noexcept;
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    bool ok() const { return handle_ != nullptr; }
    SqlReturn result() const { return result_; }
    SqlHdbc get() const { return handle_; }
    // SQLDisconnect, then SQLFreeConnect; also for a connection that never connected. Nothing
    // when the binding's last release has freed it already.
    void reset();

  private:
    OdbcBinding* binding_ = nullptr;
    SqlHdbc handle_ = nullptr;
    unsigned generation_ = 0;
    SqlReturn result_ = sql::kError;
};
