// The table copy dialog COPYTABLE: one source table into an HTML page or a table of another data
// source. Windows build only.
#pragma once

#include <string>

#include "odbc/odbc_types.h"

// Opens COPYTABLE modally over `owner` for the data source `sourceName` connected on `source`,
// with `table` chosen (the first table when empty). Returns at once, doing nothing, while one is
// open. The dialog refuses to close while its copy runs.
void openCopyTableDialog(void* owner, SqlHdbc source, const std::string& sourceName, const std::string& table);

// Whether a table copy runs now: the windows that own its connections must not close meanwhile.
bool tableCopyRunning();
