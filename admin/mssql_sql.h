// The Transact-SQL the SQL Server administration sends: quoting of values and names, the
// statements of each dialog, the repair steps and the proposed backup file name. Portable: no
// window and no ODBC call here.
#pragma once

#include <string>
#include <vector>

// A value inside '...': quotes doubled.
std::string sqlServerValue(const std::string& text);
// A name as it stands where the statement takes a bare identifier: unchanged when it is a plain
// one (letters, digits, _, @, #, $, not starting with a digit or $), else in brackets with "]"
// doubled.
std::string sqlServerName(const std::string& name);
// The inside of [...] (a "]" doubled) and of "..." (a '"' doubled).
std::string bracketInner(const std::string& name);
std::string quotedInner(const std::string& name);

// Empty, or spaces only.
bool isBlank(const std::string& text);

// The lists the dialogs fill: every row's "name" column.
extern const char* const kDatabaseListQuery;
extern const char* const kLoginListQuery;

std::string detachSql(const std::string& database);
std::string forAttachSql(const std::string& database, const std::string& mdf, const std::string& ldf);
std::string attachSql(const std::string& database, const std::string& mdf, const std::string& ldf);
std::string backupSql(const std::string& database, const std::string& file, const std::string& description);
std::string restoreSql(const std::string& database, const std::string& file);
std::string shrinkSql(const std::string& database);
// "<database>-YYYY-MM-DD.mssql-server".
std::string backupFileName(const std::string& database, long year, long month, long day);

// The six repair steps in order, as the dialog shows them after their "k. " prefix.
std::vector<std::string> repairSteps(const std::string& database);
// The text the repair dialog puts on the clipboard: each step followed by CR LF.
std::string repairClipboardText(const std::string& database);
// The statements that put a database back after the repair stopped at `failedStep` (1-6): once
// step 2 switched it to EMERGENCY it goes back ONLINE, once step 4 made it SINGLE_USER it goes
// back to MULTI_USER (step 6 itself is that, and is not retried).
std::vector<std::string> repairRestoreSql(const std::string& database, int failedStep);

// The eight server roles in the order of the boxes 401-408.
const std::vector<std::string>& serverRoles();
std::string loginRolesSql(const std::string& login);
std::string dropLoginSql(const std::string& login);
std::string createLoginSql(const std::string& login, const std::string& password);
std::string roleMemberSql(bool add, const std::string& login, const std::string& role);
