// The SQL text of the MySQL administration.
#include "admin/mysql_sql.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

MySqlDialect dialectOf(const std::string& version, const std::string& sqlMode) {
    MySqlDialect dialect;
    dialect.backslashEscapes = upper(sqlMode).find("NO_BACKSLASH_ESCAPES") == std::string::npos;
    int major = std::atoi(version.c_str());
    std::string::size_type dot = version.find('.');
    int minor = dot == std::string::npos ? 0 : std::atoi(version.c_str() + dot + 1);
    bool mariaDb = upper(version).find("MARIADB") != std::string::npos;
    // A version we cannot read is taken as today's server.
    if (major > 0 && !mariaDb) {
        dialect.legacy = major < 5;
        dialect.alterUser = major > 5 || (major == 5 && minor >= 7);
    }
    if (mariaDb)
        dialect.alterUser = major > 10 || (major == 10 && minor >= 2);
    return dialect;
}

std::string quoteValue(const std::string& text, const MySqlDialect& dialect) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'' || (c == '\\' && dialect.backslashEscapes))
            quoted += c;
        quoted += c;
    }
    return quoted + "'";
}

std::string quoteName(const std::string& name) {
    std::string quoted = "`";
    for (char c : name) {
        if (c == '`')
            quoted += c;
        quoted += c;
    }
    return quoted + "`";
}

std::string qualifiedTable(const std::string& catalog, const std::string& table) {
    return catalog.empty() ? quoteName(table) : quoteName(catalog) + "." + quoteName(table);
}

MySqlAccount splitUserKey(const std::string& key) {
    std::string::size_type at = key.rfind('@');
    if (at == std::string::npos)
        return {};
    return {key.substr(0, at), key.substr(at + 1)};
}

std::string userKey(const MySqlAccount& account) {
    return account.user + "@" + account.host;
}

std::string accountSql(const MySqlAccount& account, const MySqlDialect& dialect) {
    return quoteValue(account.user, dialect) + "@" + quoteValue(account.host, dialect);
}

bool engineKeepsRows(const std::string& engine) {
    // BLACKHOLE drops the rows at once, MEMORY (once HEAP) when the server stops.
    std::string name = upper(engine);
    return name != "BLACKHOLE" && name != "MEMORY" && name != "HEAP";
}

namespace {

// MERGE empties a table it takes over; the others hold no tables of the user's.
bool offerable(const std::string& name) {
    return name != "MERGE" && name != "MRG_MYISAM" && name != "SEQUENCE" && name != "PERFORMANCE_SCHEMA";
}

}  // namespace

std::vector<std::string> offeredEngines(const std::vector<std::vector<std::string>>& showEngines) {
    static const char* const kUsual[] = {"INNODB", "GEMINI", "BDB", "MEMORY", "HEAP", "ISAM", "MYISAM", "ARIA"};
    std::vector<std::string> available;
    for (const auto& row : showEngines) {
        if (row.size() < 2)
            continue;
        std::string support = upper(row[1]);
        std::string name = upper(row[0]);
        if ((support == "YES" || support == "DEFAULT") && offerable(name))
            available.push_back(name);
    }
    std::vector<std::string> offered;
    for (const char* usual : kUsual)
        for (const std::string& name : available)
            if (name == usual)
                offered.push_back(name);
    for (const std::string& name : available) {
        bool usual = false;
        for (const std::string& taken : offered)
            usual = usual || taken == name;
        if (!usual)
            offered.push_back(name);
    }
    return offered;
}

std::string alterEngineSql(const std::string& table, const std::string& engine, const MySqlDialect& dialect) {
    return "alter table " + table + (dialect.legacy ? " type = " : " engine = ") + quoteName(engine);
}

const std::vector<DiagnosticMode>& diagnosticModes() {
    static const std::vector<DiagnosticMode> kModes = {
        {"Optimize table", "optimize", "", true},
        {"Check table", "check", "", false},
        {"Check table (quick)", "check", "QUICK", false},
        {"Check table (fast)", "check", "FAST", false},
        {"Check table (medium)", "check", "MEDIUM", false},
        {"Check table (extended)", "check", "EXTENDED", false},
        {"Check table (changed)", "check", "CHANGED", false},
        {"Analize table", "analyze", "", false},
        {"Repair table", "repair", "", true},
        {"Repair table (quick)", "repair", "QUICK", true},
        {"Repair table (quick extended)", "repair", "QUICK EXTENDED", true},
        {"Repair table (extended)", "repair", "EXTENDED", true},
    };
    return kModes;
}

std::string diagnosticSql(const DiagnosticMode& mode, const std::string& table, const MySqlDialect& dialect) {
    std::string text = std::string(mode.verb) + " table " + table;
    if (*mode.option) {
        // Old servers wrote the check options as TYPE=...; today's take the bare word.
        bool typed = dialect.legacy && std::string(mode.verb) == "check";
        text += typed ? " TYPE=" : " ";
        text += mode.option;
    }
    return text;
}

std::string reportLine(const std::vector<std::string>& columns) {
    static const int kWidths[] = {40, 16, 16, 80};
    std::string line;
    for (int i = 0; i < 4; ++i) {
        std::string field = i < static_cast<int>(columns.size()) ? columns[i] : std::string();
        field.resize(std::max<std::size_t>(field.size(), static_cast<std::size_t>(kWidths[i])), ' ');
        line += field;
    }
    return line + "\r\n";
}

const std::vector<std::vector<const char*>>& flushStatements() {
    static const std::vector<std::vector<const char*>> kStatements = {
        {"flush logs"},   {"flush hosts"},  {"flush privileges"},
        {"flush tables"}, {"flush status"}, {"flush tables with read lock", "unlock tables"},
    };
    return kStatements;
}
