// Privilege boxes, stored sets and the GRANT / REVOKE statements.
#include "admin/mysql_privileges.h"

#include <cctype>

namespace {

const char* const kGrantOption = "GRANT OPTION";

bool sameWord(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

std::string trimmed(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

const std::vector<MySqlPrivilege>& globalPrivileges() {
    static const std::vector<MySqlPrivilege> kList = {
        {"Select", "SELECT", "Select_priv"},
        {"Insert", "INSERT", "Insert_priv"},
        {"Update", "UPDATE", "Update_priv"},
        {"Delete", "DELETE", "Delete_priv"},
        {"Create", "CREATE", "Create_priv"},
        {"Drop", "DROP", "Drop_priv"},
        {"Reload", "RELOAD", "Reload_priv"},
        {"Shutdown", "SHUTDOWN", "Shutdown_priv"},
        {"Process", "PROCESS", "Process_priv"},
        {"File", "FILE", "File_priv"},
        {"Grant", kGrantOption, "Grant_priv"},
        {"References", "REFERENCES", "References_priv"},
        {"Index", "INDEX", "Index_priv"},
        {"Alter", "ALTER", "Alter_priv"},
        {"Show db", "SHOW DATABASES", "Show_db_priv"},
        {"Super priv", "SUPER", "Super_priv"},
        {"Create tmp table", "CREATE TEMPORARY TABLES", "Create_tmp_table_priv"},
        {"Lock table", "LOCK TABLES", "Lock_tables_priv"},
        {"Execute", "EXECUTE", "Execute_priv"},
        {"Repl.save", "REPLICATION SLAVE", "Repl_slave_priv"},
        {"Repl.client", "REPLICATION CLIENT", "Repl_client_priv"},
        {"Create view", "CREATE VIEW", "Create_view_priv"},
        {"Show view", "SHOW VIEW", "Show_view_priv"},
        {"Create routine", "CREATE ROUTINE", "Create_routine_priv"},
        {"Alter routine", "ALTER ROUTINE", "Alter_routine_priv"},
        {"Create user", "CREATE USER", "Create_user_priv"},
        {"Event", "EVENT", "Event_priv"},
        {"Trigger", "TRIGGER", "Trigger_priv"},
    };
    return kList;
}

const std::vector<MySqlPrivilege>& databasePrivileges() {
    static const std::vector<MySqlPrivilege> kList = {
        {"Select", "SELECT", "Select_priv"},   {"Insert", "INSERT", "Insert_priv"},
        {"Update", "UPDATE", "Update_priv"},   {"Delete", "DELETE", "Delete_priv"},
        {"Create", "CREATE", "Create_priv"},   {"Drop", "DROP", "Drop_priv"},
        {"Grant", kGrantOption, "Grant_priv"}, {"References", "REFERENCES", "References_priv"},
        {"Index", "INDEX", "Index_priv"},      {"Alter", "ALTER", "Alter_priv"},
    };
    return kList;
}

const std::vector<MySqlPrivilege>& tablePrivileges() {
    // A table's stored set names the grant option "Grant".
    static const std::vector<MySqlPrivilege> kList = {
        {"Select", "SELECT", "Select"},   {"Insert", "INSERT", "Insert"},
        {"Update", "UPDATE", "Update"},   {"Delete", "DELETE", "Delete"},
        {"Create", "CREATE", "Create"},   {"Drop", "DROP", "Drop"},
        {"Grant", kGrantOption, "Grant"}, {"References", "REFERENCES", "References"},
        {"Index", "INDEX", "Index"},      {"Alter", "ALTER", "Alter"},
    };
    return kList;
}

const std::vector<MySqlPrivilege>& columnPrivileges() {
    static const std::vector<MySqlPrivilege> kList = {
        {"Select", "SELECT", "Select"},
        {"Insert", "INSERT", "Insert"},
        {"Update", "UPDATE", "Update"},
        {"References", "REFERENCES", "References"},
    };
    return kList;
}

std::vector<std::string> parsePrivilegeSet(const std::string& set) {
    std::vector<std::string> items;
    std::string::size_type start = 0;
    while (start <= set.size()) {
        std::string::size_type comma = set.find(',', start);
        if (comma == std::string::npos)
            comma = set.size();
        std::string item = trimmed(set.substr(start, comma - start));
        if (!item.empty())
            items.push_back(item);
        start = comma + 1;
    }
    return items;
}

std::vector<bool> privilegesInSet(const std::vector<MySqlPrivilege>& privileges, const std::string& set) {
    std::vector<std::string> items = parsePrivilegeSet(set);
    std::vector<bool> held(privileges.size(), false);
    for (std::size_t i = 0; i < privileges.size(); ++i)
        for (const std::string& item : items)
            held[i] = held[i] || sameWord(item, privileges[i].column);
    return held;
}

std::vector<std::string> privilegeChanges(const std::vector<MySqlPrivilege>& privileges,
                                          int count,
                                          const std::vector<bool>& before,
                                          const std::vector<bool>& after,
                                          const std::string& target,
                                          const MySqlAccount& account,
                                          const MySqlDialect& dialect,
                                          const std::string& column) {
    std::string granted, revoked;
    bool grantOption = false;
    std::string columnList = column.empty() ? std::string() : " (" + quoteName(column) + ")";
    for (int i = 0; i < count && i < static_cast<int>(privileges.size()); ++i) {
        bool was = i < static_cast<int>(before.size()) && before[i];
        bool is = i < static_cast<int>(after.size()) && after[i];
        if (was == is)
            continue;
        std::string& list = is ? granted : revoked;
        bool option = std::string(privileges[i].keyword) == kGrantOption;
        if (option && is) {
            grantOption = true;  // GRANT takes it as WITH GRANT OPTION
            continue;
        }
        list += (list.empty() ? "" : ", ") + std::string(privileges[i].keyword) + (option ? "" : columnList);
    }
    std::vector<std::string> statements;
    std::string to = accountSql(account, dialect);
    if (!granted.empty() || grantOption)
        statements.push_back("GRANT " + (granted.empty() ? std::string("USAGE") : granted) + " ON " + target + " TO " +
                             to + (grantOption ? " WITH GRANT OPTION" : ""));
    if (!revoked.empty())
        statements.push_back("REVOKE " + revoked + " ON " + target + " FROM " + to);
    return statements;
}

std::string createUserSql(const MySqlAccount& account, const std::string& password, const MySqlDialect& dialect) {
    std::string identified = password.empty() ? std::string() : " IDENTIFIED BY " + quoteValue(password, dialect);
    // Before CREATE USER existed, a grant of nothing created the account.
    if (dialect.legacy)
        return "GRANT USAGE ON *.* TO " + accountSql(account, dialect) + identified;
    return "CREATE USER " + accountSql(account, dialect) + identified;
}

std::string passwordSql(const MySqlAccount& account, const std::string& password, const MySqlDialect& dialect) {
    if (dialect.alterUser)
        return "ALTER USER " + accountSql(account, dialect) + " IDENTIFIED BY " + quoteValue(password, dialect);
    return "SET PASSWORD FOR " + accountSql(account, dialect) + " = PASSWORD(" + quoteValue(password, dialect) + ")";
}

std::string dropUserSql(const MySqlAccount& account, const MySqlDialect& dialect) {
    return "DROP USER " + accountSql(account, dialect);
}
