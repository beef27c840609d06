// The administration's statements on an ODBC connection.
#include "admin/mysql_session.h"

#include "odbc/data_sources.h"

MySqlSession::MySqlSession(OdbcBinding& binding, SqlHdbc connection, void* owner)
    : binding_(binding), connection_(connection), owner_(owner) {}

bool MySqlSession::run(const std::string& text, MySqlRows* rows) {
    OdbcStatement statement(binding_, connection_);
    SqlReturn rc = statement.execDirect(text);
    if (!sql::succeeded(rc)) {
        statement.reportError(owner_);
        return false;
    }
    // OPTIMIZE and REPAIR answer with more than one result; the driver needs all of them read.
    do {
        SqlSmallInt columns = 0;
        if (!sql::succeeded(statement.numResultCols(&columns)))
            columns = 0;
        while (columns > 0 && sql::succeeded(rc = statement.fetch())) {
            std::vector<std::string> row;
            for (SqlUSmallInt column = 1; column <= columns; ++column) {
                ColumnText value;
                statement.getText(column, value);
                row.push_back(value.text);
            }
            if (rows)
                rows->push_back(row);
        }
        if (columns > 0 && rc != sql::kNoData) {
            statement.reportError(owner_);
            return false;
        }
    } while (sql::succeeded(statement.moreResults()));
    return true;
}

bool MySqlSession::runAll(const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        if (!run(text))
            return false;
    return true;
}

const MySqlDialect& MySqlSession::dialect() {
    if (!dialectRead_) {
        MySqlRows rows;
        if (run("select version(), @@sql_mode", &rows) && !rows.empty() && rows[0].size() == 2)
            dialect_ = dialectOf(rows[0][0], rows[0][1]);
        dialectRead_ = true;
    }
    return dialect_;
}

std::string MySqlSession::currentCatalog() {
    MySqlRows rows;
    if (!run("select database()", &rows) || rows.empty() || rows[0].empty())
        return std::string();
    return rows[0][0];
}

std::vector<std::string> MySqlSession::tables(const std::string& catalog) {
    std::vector<std::string> names;
    OdbcStatement statement(binding_, connection_);
    std::string name = catalog;
    SqlReturn rc = statement.ok() ? binding_.fn().SQLTables(statement.get(), reinterpret_cast<SqlChar*>(&name[0]),
                                                            static_cast<SqlSmallInt>(name.size()), nullptr, 0, nullptr,
                                                            0, nullptr, 0)
                                  : sql::kError;
    if (!sql::succeeded(rc)) {
        statement.reportError(owner_);
        return names;
    }
    while (sql::succeeded(statement.fetch())) {
        ColumnText value;
        if (sql::succeeded(statement.getText(3, value)))
            names.push_back(value.text);
    }
    return names;
}

std::vector<std::string> MySqlSession::userKeys() {
    MySqlRows rows;
    std::vector<std::string> keys;
    if (run("select `User`, `Host` from `mysql`.`user`", &rows))
        for (const auto& row : rows)
            if (row.size() == 2)
                keys.push_back(userKey({row[0], row[1]}));
    return keys;
}

bool MySqlSession::globalFlags(const MySqlAccount& account, std::vector<bool>& flags) {
    const std::vector<MySqlPrivilege>& privileges = globalPrivileges();
    std::string query = "select ";
    for (std::size_t i = 0; i < privileges.size(); ++i)
        query += (i ? ", " : "") + quoteName(privileges[i].column);
    query += " from `mysql`.`user` where `User` = " + quoteValue(account.user, dialect()) +
             " and `Host` = " + quoteValue(account.host, dialect());
    MySqlRows rows;
    if (!run(query, &rows) || rows.empty())
        return false;
    flags.assign(privileges.size(), false);
    for (std::size_t i = 0; i < privileges.size() && i < rows[0].size(); ++i)
        flags[i] = !rows[0][i].empty() && (rows[0][i][0] == 'Y' || rows[0][i][0] == 'y');
    return true;
}

std::vector<bool> MySqlSession::databaseFlags(const MySqlAccount& account, const std::string& catalog) {
    const std::vector<MySqlPrivilege>& privileges = databasePrivileges();
    std::string query = "select ";
    for (std::size_t i = 0; i < privileges.size(); ++i)
        query += (i ? ", " : "") + quoteName(privileges[i].column);
    query += " from `mysql`.`db` where `User` = " + quoteValue(account.user, dialect()) +
             " and `Host` = " + quoteValue(account.host, dialect()) + " and `Db` = " + quoteValue(catalog, dialect());
    MySqlRows rows;
    std::vector<bool> flags(privileges.size(), false);
    if (run(query, &rows) && !rows.empty())
        for (std::size_t i = 0; i < privileges.size() && i < rows[0].size(); ++i)
            flags[i] = !rows[0][i].empty() && (rows[0][i][0] == 'Y' || rows[0][i][0] == 'y');
    return flags;
}

std::string MySqlSession::storedSet(const std::string& query) {
    MySqlRows rows;
    if (!run(query, &rows) || rows.empty() || rows[0].empty())
        return std::string();
    return rows[0][0];
}

std::vector<bool> MySqlSession::tableFlags(const MySqlAccount& account,
                                           const std::string& catalog,
                                           const std::string& table) {
    const MySqlDialect& d = dialect();
    return privilegesInSet(
        tablePrivileges(),
        storedSet("select `Table_priv` from `mysql`.`tables_priv` where `User` = " + quoteValue(account.user, d) +
                  " and `Host` = " + quoteValue(account.host, d) + " and `Db` = " + quoteValue(catalog, d) +
                  " and `Table_name` = " + quoteValue(table, d)));
}

std::vector<bool> MySqlSession::columnFlags(const MySqlAccount& account,
                                            const std::string& catalog,
                                            const std::string& table,
                                            const std::string& column) {
    const MySqlDialect& d = dialect();
    return privilegesInSet(
        columnPrivileges(),
        storedSet("select `Column_priv` from `mysql`.`columns_priv` where `User` = " + quoteValue(account.user, d) +
                  " and `Host` = " + quoteValue(account.host, d) + " and `Db` = " + quoteValue(catalog, d) +
                  " and `Table_name` = " + quoteValue(table, d) + " and `Column_name` = " + quoteValue(column, d)));
}

std::string runDiagnostic(MySqlSession& session,
                          const std::string& dataSource,
                          const DiagnosticMode& mode,
                          const std::string& catalog,
                          const std::string& table,
                          void* owner) {
    std::string text = diagnosticSql(mode, qualifiedTable(catalog, table), session.dialect());
    MySqlRows rows;
    bool done = false;
    if (mode.ownConnection) {
        // The MariaDB driver hands over no rows for OPTIMIZE and REPAIR and fails the next call
        // on that connection: the statement gets a connection of its own, used once.
        SideConnection side(session.binding(), dataSource, owner);
        if (side.ok()) {
            MySqlSession own(session.binding(), side.get(), owner);
            done = own.run(text, &rows);
        }
    } else {
        done = session.run(text, &rows);
    }
    if (done && rows.empty())
        rows.push_back({catalog.empty() ? table : catalog + "." + table, mode.verb, "status", "OK"});
    std::string report;
    for (const auto& row : rows)
        report += reportLine(row);
    return report;
}
