// The MySQL administration dialogs the explorer opens from a data source's menu. Windows build only.
#pragma once

#include <windows.h>

#include <string>

#include "odbc/odbc_types.h"

// What every dialog works on: the data source's open connection, and its name for statements
// that need a connection of their own.
struct MySqlAdminTarget {
    SqlHdbc connection = nullptr;
    std::string dataSource;
};

// "ALTER_TABLE": the storage engine of the selected tables.
void openAlterTable(HWND owner, const MySqlAdminTarget& target);
// "ALTER_TABLE" as "Table diagnostics", with its "TABLE_DIAG" report.
void openTableDiagnostics(HWND owner, const MySqlAdminTarget& target);
// "FLUSH".
void openFlush(HWND owner, const MySqlAdminTarget& target);
// "MYSQL_USER_MANAGER".
void openUserManager(HWND owner, const MySqlAdminTarget& target);
// "PERMISSIONS".
void openPermissions(HWND owner, const MySqlAdminTarget& target);
