// The table copy dialogs: COPYTABLE, one source table into an HTML page or a table of another data
// source, and COPYTABLE2, many tables into another data source. Windows build only.
#pragma once

#include <string>

#include "odbc/odbc_types.h"

// Where the commander's opposite panel points COPYTABLE.
struct CopyTableTarget {
    // The opposite panel's folder (ending in a backslash): the only destination is then
    // " Save to HTML", into that folder. Empty when the opposite panel shows data sources.
    std::string directory;
    // The opposite panel's data source, preselected as the destination; may be empty.
    std::string dataSource;
};

// Opens COPYTABLE modally over `owner` for the data source `sourceName` connected on `source`,
// with `table` chosen (the first table when empty). Returns at once, doing nothing, while one is
// open. The dialog refuses to close while its copy runs. `target` (from the commander) names the
// opposite panel's folder or data source; null from the explorer.
void openCopyTableDialog(void* owner,
                         SqlHdbc source,
                         const std::string& sourceName,
                         const std::string& table,
                         const CopyTableTarget* target = nullptr);

// Opens COPYTABLE2 modally over `owner`: the tables of `sourceName` (on `source`), each under its own
// name, into one target. Returns at once, doing nothing, while one is open.
void openCopyTablesDialog(void* owner, SqlHdbc source, const std::string& sourceName);

// Whether a table copy runs now: the windows that own its connections must not close meanwhile.
bool tableCopyRunning();
