// Control ids of the SQL Server administration dialogs.
#pragma once

// Shared by the database dialogs: the database (combo or edit), the two files or the description
// and file name, their pickers, the icon and the run button.
#define IDC_MSSQL_DATABASE 201
#define IDC_MSSQL_FIELD2 202
#define IDC_MSSQL_FIELD3 203
#define IDC_MSSQL_PICK2 302
#define IDC_MSSQL_PICK3 303
#define IDC_MSSQL_RUN 6
#define IDC_MSSQL_ICON 150

// MSSQL_REPAIR_DATABASE: the step boxes 101-106, the progress bar, the database, the copy button
// (Start is IDOK).
#define IDC_REPAIR_STEP_FIRST 101
#define IDC_REPAIR_PROGRESS 107
#define IDC_REPAIR_DATABASE 108
#define IDC_REPAIR_COPY 112

// MSSQL_USER_MANAGER (the login list is IDC_MSSQL_DATABASE, the user name IDC_MSSQL_FIELD2).
#define IDC_MSSQL_PASSWORD 204
#define IDC_MSSQL_RETYPE 205
#define IDC_MSSQL_DELETE 3
#define IDC_MSSQL_MODIFY 4
#define IDC_MSSQL_CREATE 5
#define IDC_MSSQL_EXIT 6
#define IDC_MSSQL_ALL 106
#define IDC_MSSQL_NONE 107
#define IDC_MSSQL_ROLE_FIRST 401
