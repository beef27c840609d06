// The create-table dialog DBCREATE, which also modifies the structure of a table window's table.
#pragma once

#include <windows.h>

// The dialog without a table: builds a new, empty table (main menu "&Create table").
void showCreateTableDialog(HWND owner);
