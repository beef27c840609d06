// The SQL Server administration dialogs the explorer opens from a data source's menu. Windows
// build only.
#pragma once

#include <windows.h>

#include "odbc/odbc_binding.h"

// In the order of the menu commands.
enum class SqlServerDialog { repair, users, backup, restore, forAttach, attach, detach, shrink };

// Opens the modal dialog of `kind` on the data source's open connection. A dialog of that kind
// already open keeps its place: the new one ends at once. The statements go through `binding`.
void openSqlServerDialog(HWND owner, SqlServerDialog kind, SqlHdbc connection, OdbcBinding& binding = odbcBinding());
