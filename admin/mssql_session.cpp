// The SQL Server administration's statements on an ODBC connection.
#include "admin/mssql_session.h"

#include <cstdlib>

#include "admin/mssql_sql.h"
#include "odbc/odbc_handles.h"

namespace {

// A statement with many messages ends; a driver that never says "no more" must not hang us.
const int kMaxResults = 100000;

}  // namespace

SqlServerSession::SqlServerSession(OdbcBinding& binding, SqlHdbc connection, void* owner)
    : binding_(binding), connection_(connection), owner_(owner) {}

void SqlServerSession::show(const std::string& text) {
    binding_.ui().waitCursor(false);
    binding_.ui().odbcError(owner_, text.c_str());
}

SqlReturn SqlServerSession::run(const std::string& text, bool quietInfo) {
    OdbcStatement statement(binding_, connection_);
    if (!statement.ok()) {
        statement.reportError(owner_);
        return sql::kError;
    }
    SqlReturn rc = statement.execDirect(text);
    SqlReturn first = sql::kSuccess;
    std::string firstText;
    // Diagnostics belong to the call that raised them: read each before the next call.
    auto note = [&](SqlReturn code) {
        if (code == sql::kSuccess || code == sql::kNoData)
            return;
        if (first == sql::kSuccess || (first == sql::kSuccessWithInfo && !sql::succeeded(code))) {
            first = code;
            firstText = statement.errorText();
        }
    };
    note(rc);
    if (rc != sql::kNoData && rc != sql::kInvalidHandle && sql::succeeded(rc)) {
        for (int results = 0; results < kMaxResults; ++results) {
            SqlSmallInt columns = 0;
            if (sql::succeeded(statement.numResultCols(&columns)) && columns > 0) {
                SqlReturn fetched;
                while (sql::succeeded(fetched = statement.fetch()))
                    note(fetched);
                note(fetched);
            }
            SqlReturn more = statement.moreResults();
            note(more);
            if (more == sql::kNoData || more == sql::kInvalidHandle)
                break;
        }
    }
    if (first != sql::kSuccess && (!sql::succeeded(first) || !quietInfo))
        show(firstText);
    return first;
}

std::vector<std::string> SqlServerSession::names(const char* query) {
    std::vector<std::string> names;
    OdbcStatement statement(binding_, connection_);
    if (statement.ok() && binding_.fn().SQLSetStmtOption)
        binding_.fn().SQLSetStmtOption(statement.get(), sql::kQueryTimeout, 0);
    if (!sql::succeeded(statement.execDirect(query))) {
        statement.reportError(owner_);
        return names;
    }
    SqlSmallInt columns = 0;
    statement.numResultCols(&columns);
    SqlUSmallInt nameColumn = 0;
    for (SqlSmallInt i = 1; i <= columns && !nameColumn; ++i) {
        char name[129] = {};
        SqlSmallInt length = 0, type = 0, digits = 0, nullable = 0;
        SqlULen size = 0;
        if (sql::succeeded(binding_.fn().SQLDescribeCol(statement.get(), static_cast<SqlUSmallInt>(i),
                                                        reinterpret_cast<SqlChar*>(name), sizeof name, &length, &type,
                                                        &size, &digits, &nullable)) &&
            std::string(name) == "name")
            nameColumn = static_cast<SqlUSmallInt>(i);
    }
    while (nameColumn && sql::succeeded(statement.fetch())) {
        ColumnText value;
        statement.getText(nameColumn, value, 127);
        names.push_back(value.text);
    }
    while (sql::succeeded(statement.moreResults())) {
    }
    return names;
}

bool SqlServerSession::loginRoles(const std::string& login, std::vector<int>& roles) {
    const std::vector<std::string>& known = serverRoles();
    roles.assign(known.size(), -1);
    OdbcStatement statement(binding_, connection_);
    if (!sql::succeeded(statement.execDirect(loginRolesSql(login)))) {
        statement.reportError(owner_);
        return false;
    }
    SqlSmallInt columns = 0;
    statement.numResultCols(&columns);
    // Result column -> role index, for the role columns the server reports.
    std::vector<std::pair<SqlUSmallInt, std::size_t>> roleColumns;
    for (SqlSmallInt i = 1; i <= columns; ++i) {
        char name[129] = {};
        SqlSmallInt length = 0, type = 0, digits = 0, nullable = 0;
        SqlULen size = 0;
        if (!sql::succeeded(binding_.fn().SQLDescribeCol(statement.get(), static_cast<SqlUSmallInt>(i),
                                                         reinterpret_cast<SqlChar*>(name), sizeof name, &length, &type,
                                                         &size, &digits, &nullable)))
            continue;
        for (std::size_t r = 0; r < known.size(); ++r)
            if (known[r] == name)
                roleColumns.push_back({static_cast<SqlUSmallInt>(i), r});
    }
    while (sql::succeeded(statement.fetch())) {
        for (const auto& column : roleColumns) {
            ColumnText value;
            statement.getText(column.first, value);
            roles[column.second] = std::atoi(value.text.c_str()) != 0 ? 1 : 0;
        }
    }
    while (sql::succeeded(statement.moreResults())) {
    }
    return true;
}

int runRepair(SqlServerSession& session, const std::string& database, const std::function<void(int)>& stepDone) {
    std::vector<std::string> steps = repairSteps(database);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        if (!sql::succeeded(session.run(steps[k], true))) {
            int failed = static_cast<int>(k) + 1;
            for (const std::string& text : repairRestoreSql(database, failed))
                session.run(text, true);
            return failed;
        }
        stepDone(static_cast<int>(k) + 1);
    }
    return 0;
}
