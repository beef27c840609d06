// The SQL Server administration's statements.
#include "admin/mssql_sql.h"

#include <cstdio>

namespace {

std::string doubled(const std::string& text, char quote) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == quote)
            out += c;
    }
    return out;
}

bool plainName(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9') || name[0] == '$')
        return false;
    for (unsigned char c : name) {
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
        if (!letter && !(c >= '0' && c <= '9') && c != '_' && c != '@' && c != '#' && c != '$')
            return false;
    }
    return true;
}

}  // namespace

std::string sqlServerValue(const std::string& text) {
    return doubled(text, '\'');
}

std::string bracketInner(const std::string& name) {
    return doubled(name, ']');
}

std::string quotedInner(const std::string& name) {
    return doubled(name, '"');
}

std::string sqlServerName(const std::string& name) {
    return plainName(name) ? name : "[" + bracketInner(name) + "]";
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

const char* const kDatabaseListQuery = "select * from \"sys\".\"databases\" order by \"name\"";
const char* const kLoginListQuery = "select * from \"sys\".\"sql_logins\" order by \"name\"";

std::string detachSql(const std::string& database) {
    return "EXEC sp_detach_db '" + sqlServerValue(database) + "'";
}

std::string forAttachSql(const std::string& database, const std::string& mdf, const std::string& ldf) {
    return "CREATE DATABASE " + sqlServerName(database) + " ON (FILENAME = '" + sqlServerValue(mdf) +
           "'), (FILENAME = '" + sqlServerValue(ldf) + "') FOR ATTACH";
}

std::string attachSql(const std::string& database, const std::string& mdf, const std::string& ldf) {
    return "EXEC sp_attach_db '" + sqlServerValue(database) + "','" + sqlServerValue(mdf) + "','" +
           sqlServerValue(ldf) + "'";
}

std::string backupSql(const std::string& database, const std::string& file, const std::string& description) {
    return "BACKUP DATABASE [" + bracketInner(database) + "] TO DISK = '" + sqlServerValue(file) +
           "' WITH NOFORMAT, INIT, NAME = '" + sqlServerValue(description) + "', NOREWIND, NOUNLOAD, NOSKIP";
}

std::string restoreSql(const std::string& database, const std::string& file) {
    return "RESTORE DATABASE [" + bracketInner(database) + "] FROM DISK = '" + sqlServerValue(file) +
           "' WITH FILE = 1, NOREWIND, NOUNLOAD, REPLACE";
}

std::string shrinkSql(const std::string& database) {
    return "DBCC SHRINKDATABASE ('" + sqlServerValue(database) + "')";
}

std::string backupFileName(const std::string& database, long year, long month, long day) {
    char date[40];
    std::snprintf(date, sizeof date, "%04ld-%02ld-%02ld", year, month, day);
    return database + "-" + date + ".mssql-server";
}

std::vector<std::string> repairSteps(const std::string& database) {
    std::string value = sqlServerValue(database);
    std::string quoted = "\"" + quotedInner(database) + "\"";
    return {"EXEC sp_resetstatus '" + value + "'",
            "ALTER DATABASE " + quoted + " SET EMERGENCY",
            "DBCC checkdb('" + value + "')",
            "ALTER DATABASE " + quoted + " SET SINGLE_USER WITH ROLLBACK IMMEDIATE",
            "DBCC CheckDB ('" + value + "', REPAIR_ALLOW_DATA_LOSS)",
            "ALTER DATABASE " + quoted + " SET MULTI_USER"};
}

std::string repairClipboardText(const std::string& database) {
    std::string text;
    for (const std::string& step : repairSteps(database))
        text += step + "\r\n";
    return text;
}

std::vector<std::string> repairRestoreSql(const std::string& database, int failedStep) {
    std::string quoted = "\"" + quotedInner(database) + "\"";
    std::vector<std::string> texts;
    if (failedStep > 4 && failedStep < 6)
        texts.push_back("ALTER DATABASE " + quoted + " SET MULTI_USER");
    if (failedStep > 2 && failedStep < 6)
        texts.push_back("ALTER DATABASE " + quoted + " SET ONLINE");
    return texts;
}

const std::vector<std::string>& serverRoles() {
    static const std::vector<std::string> roles = {"sysadmin",     "securityadmin", "serveradmin", "setupadmin",
                                                   "processadmin", "diskadmin",     "dbcreator",   "bulkadmin"};
    return roles;
}

std::string loginRolesSql(const std::string& login) {
    return "select * from \"sys\".\"syslogins\" where \"name\" = '" + sqlServerValue(login) + "'";
}

std::string dropLoginSql(const std::string& login) {
    return "EXEC sp_droplogin '" + sqlServerValue(login) + "'";
}

std::string createLoginSql(const std::string& login, const std::string& password) {
    return "CREATE LOGIN [" + bracketInner(login) + "] WITH PASSWORD = N'" + sqlServerValue(password) +
           "' , CHECK_POLICY = OFF, CHECK_EXPIRATION = OFF";
}

std::string roleMemberSql(bool add, const std::string& login, const std::string& role) {
    return std::string(add ? "EXEC sp_addsrvrolemember '" : "EXEC sp_dropsrvrolemember '") + sqlServerValue(login) +
           "', '" + sqlServerValue(role) + "'";
}
