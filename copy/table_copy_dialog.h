// The table copy dialogs: COPYTABLE, one source table into an HTML page or a table of another data
// source, and COPYTABLE2, many tables into another data source. Windows build only.
#pragma once

#include <string>

#include "odbc/odbc_types.h"

// Opens COPYTABLE modally over `owner` for the data source `sourceName` connected on `source`,
// with `table` chosen (the first table when empty). Returns at once, doing nothing, while one is
// open. The dialog refuses to close while its copy runs.
void openCopyTableDialog(void* owner, SqlHdbc source, const std::string& sourceName, const std::string& table);

// Opens COPYTABLE2 modally over `owner`: the tables of `sourceName` (on `source`), each under its own
// name, into one target. Returns at once, doing nothing, while one is open.
void openCopyTablesDialog(void* owner, SqlHdbc source, const std::string& sourceName);

// Whether a table copy runs now: the windows that own its connections must not close meanwhile.
bool tableCopyRunning();
