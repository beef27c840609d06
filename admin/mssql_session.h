// Running the SQL Server administration's statements on the explorer's connection: every result
// of a statement read to its end (BACKUP, RESTORE and DBCC send their messages as further results,
// and freeing the statement early aborts them), one "ODBC error" box for the first failure, the
// name lists, a login's server roles and the repair sequence. Portable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "odbc/odbc_binding.h"

class SqlServerSession {
  public:
    SqlServerSession(OdbcBinding& binding, SqlHdbc connection, void* owner);

    // Runs `text` and drains every result. Returns the first error's code (after the "ODBC error"
    // box with its diagnostic), else 1 when a result carried information (shown in the box unless
    // `quietInfo`), else 0.
    SqlReturn run(const std::string& text, bool quietInfo = false);
    // The "name" column (up to 127 characters) of every row of `query`, run without a time-out.
    // Empty, after the box, when the query fails.
    std::vector<std::string> names(const char* query);
    // The eight server roles of `login` in the order of serverRoles(): 1 held, 0 not, -1 when the
    // result has no such column or no row. False when the query failed.
    bool loginRoles(const std::string& login, std::vector<int>& roles);

  private:
    void show(const std::string& text);

    OdbcBinding& binding_;
    SqlHdbc connection_;
    void* owner_;
};

// Runs the six repair steps on `database` in order, each quiet about information, and calls
// `stepDone(k)` after step k succeeded. The first failing step ends the sequence; a database whose
// mode was changed is then put back (see repairRestoreSql). CHECKDB finding damage (step 3) fails
// on the server and stops the sequence too: the damage is reported, and nothing that may lose data
// runs unseen. Returns 0 when all six succeeded, else the failed step.
int runRepair(SqlServerSession& session, const std::string& database, const std::function<void(int)>& stepDone);
