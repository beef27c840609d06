// The SQL text the MySQL administration sends: quoting of values and names, accounts, the storage
// engines a table may move to, table diagnostics and their report, and the flush statements.
// Portable: no window and no ODBC call here.
#pragma once

#include <string>
#include <vector>

// What the server accepts, read from what it reports (its version and its SQL mode).
struct MySqlDialect {
    bool backslashEscapes = true;  // false when the SQL mode holds NO_BACKSLASH_ESCAPES
    bool legacy = false;           // a MySQL before 5.0: "type =", "TYPE=QUICK", no CREATE USER
    bool alterUser = true;         // ALTER USER ... IDENTIFIED BY (else SET PASSWORD)
};

// `version` as SELECT VERSION() gives it ("10.11.6-MariaDB-0+deb12u1", "4.1.22"), `sqlMode` as
// @@sql_mode gives it.
MySqlDialect dialectOf(const std::string& version, const std::string& sqlMode);

// A string literal: quotes doubled, backslashes doubled unless the server takes them literally.
std::string quoteValue(const std::string& text, const MySqlDialect& dialect);
// A quoted identifier, backquotes doubled.
std::string quoteName(const std::string& name);
// `catalog`.`table`, or `table` alone without a catalog.
std::string qualifiedTable(const std::string& catalog, const std::string& table);

// A user account. Its key in the lists is "user@host"; a user name may hold "@" itself, the host
// never does, so a key splits at its last "@". A key without "@" gives an empty user and host.
struct MySqlAccount {
    std::string user;
    std::string host;
};
MySqlAccount splitUserKey(const std::string& key);
std::string userKey(const MySqlAccount& account);
// 'user'@'host' for CREATE USER, GRANT and the like.
std::string accountSql(const MySqlAccount& account, const MySqlDialect& dialect);

// The engines a table may be changed to: those SHOW ENGINES reports with Support YES or DEFAULT,
// the usual ones first, without MERGE (changing a table to it empties the table) and the engines
// that hold no user tables. Each row is {Engine, Support}.
std::vector<std::string> offeredEngines(const std::vector<std::vector<std::string>>& showEngines);
// False for an engine that does not keep a table's rows for good: the user is asked first.
bool engineKeepsRows(const std::string& engine);
std::string alterEngineSql(const std::string& table, const std::string& engine, const MySqlDialect& dialect);

// One table-diagnostics mode: the name in the list and the statement's pieces.
struct DiagnosticMode {
    const char* name;
    const char* verb;    // "check", "optimize", ...
    const char* option;  // "QUICK" and the like, or ""
    // OPTIMIZE and REPAIR leave an ODBC connection to today's servers unusable: they run on a
    // connection of their own.
    bool ownConnection;
};
const std::vector<DiagnosticMode>& diagnosticModes();
std::string diagnosticSql(const DiagnosticMode& mode, const std::string& table, const MySqlDialect& dialect);
// One report line: table, operation, message type and message text, padded to 40, 16, 16 and 80
// characters, then CR LF.
std::string reportLine(const std::vector<std::string>& columns);

// The flush dialog's boxes in order and the statements each runs.
const std::vector<std::vector<const char*>>& flushStatements();
