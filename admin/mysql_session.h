// Running the administration's statements on an ODBC connection to a MySQL-family server: every
// result read to its end, failures shown in the "ODBC error" box, the server's dialect read once,
// and the reads and writes the dialogs share. Portable.
#pragma once

#include <string>
#include <vector>

#include "admin/mysql_privileges.h"
#include "admin/mysql_sql.h"
#include "odbc/odbc_binding.h"
#include "odbc/odbc_handles.h"
#include "odbc/side_connection.h"

using MySqlRows = std::vector<std::vector<std::string>>;

class MySqlSession {
  public:
    MySqlSession(OdbcBinding& binding, SqlHdbc connection, void* owner);

    // Runs one statement and reads every result it gives, so the connection is ready for the
    // next. With `rows`, each result row is appended (all columns as text). False, after the
    // "ODBC error" box, when the server refused it.
    bool run(const std::string& text, MySqlRows* rows = nullptr);
    // run(), for each statement in order; stops at the first failure.
    bool runAll(const std::vector<std::string>& texts);
    // Read from the server the first time it is asked for.
    const MySqlDialect& dialect();
    // The connection's current database; empty when none is chosen.
    std::string currentCatalog();
    // The tables and views of `catalog`, as SQLTables lists them.
    std::vector<std::string> tables(const std::string& catalog);

    // The accounts as "user@host" keys.
    std::vector<std::string> userKeys();
    // The 28 global flags of an account; false when the account has no row.
    bool globalFlags(const MySqlAccount& account, std::vector<bool>& flags);
    // The flags of an account on a database, a table, a column (all false without a row).
    std::vector<bool> databaseFlags(const MySqlAccount& account, const std::string& catalog);
    std::vector<bool> tableFlags(const MySqlAccount& account, const std::string& catalog, const std::string& table);
    std::vector<bool> columnFlags(const MySqlAccount& account,
                                  const std::string& catalog,
                                  const std::string& table,
                                  const std::string& column);

    SqlHdbc connection() const { return connection_; }
    OdbcBinding& binding() const { return binding_; }

  private:
    std::string storedSet(const std::string& query);

    OdbcBinding& binding_;
    SqlHdbc connection_;
    void* owner_;
    bool dialectRead_ = false;
    MySqlDialect dialect_;
};

// The administration's side connection is the one every statement runner uses.
using MySqlSideConnection = SideConnection;

// Runs one diagnostics mode on `catalog`.`table` and gives its report lines; OPTIMIZE and REPAIR
// on a connection of their own to `dataSource`. A statement the server confirmed without rows
// reports "status OK"; a refused one shows the "ODBC error" box and reports nothing.
std::string runDiagnostic(MySqlSession& session,
                          const std::string& dataSource,
                          const DiagnosticMode& mode,
                          const std::string& catalog,
                          const std::string& table,
                          void* owner);
