// Resource and command ids shared by the code and the resource scripts.
#pragma once

// Main menu MAIN.
#define IDM_OPEN_TABLE 11843
#define IDM_CREATE_TABLE 11842
#define IDM_ODBC_COMMANDER 18873
#define IDM_ODBC_EXPLORER 11844
#define IDM_ODBC_ADMINISTRATOR 11845
#define IDM_ABOUT 11846
// Older ids of the open and create commands, accepted as synonyms.
#define IDM_OPEN_TABLE_OLD 40002
#define IDM_CREATE_TABLE_OLD 40003
// The MySQL administration.
#include "admin_ids.h"
#include "browse_ids.h"
// Catalog views.
#include "catalog_ids.h"
#include "commands_ids.h"
// The commander.
#include "commander_ids.h"
// The SQL command window.
#include "command_ids.h"
#include "copy_ids.h"
#include "edit_ids.h"
#include "explorer_ids.h"
#include "files_ids.h"
#include "odbc_ids.h"
#include "print_ids.h"
#include "shell_ids.h"
// The SQL Server administration.
#include "mssql_ids.h"
// SQL assist.
#include "sql_assist_ids.h"
