// Move-only owners of ODBC handles: a statement lives for one operation and is freed on every path;
// a connection is disconnected and freed by whoever owns it, before the binding's last release.
#pragma once

#include "odbc/odbc_binding.h"

class OdbcStatement {
  public:
    OdbcStatement() = default;
    // Allocates a statement on `connection` (SQLAllocHandle, type 3); see ok() and result().
    OdbcStatement(const OdbcBinding& binding, SqlHdbc connection);
    ~OdbcStatement();
    OdbcStatement(OdbcStatement&& other) noexcept;
    OdbcStatement& operator=(OdbcStatement&& other) noexcept;
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    bool ok() const { return handle_ != nullptr; }
    SqlReturn result() const { return result_; }
    SqlHstmt get() const { return handle_; }
    // Frees the statement now (SQLFreeHandle, type 3).
    void reset();

  private:
    const OdbcFunctions* fn_ = nullptr;
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
    // SQLDisconnect, then SQLFreeConnect; also for a connection that never connected.
    void reset();

  private:
    const OdbcFunctions* fn_ = nullptr;
    SqlHdbc handle_ = nullptr;
    SqlReturn result_ = sql::kError;
};
