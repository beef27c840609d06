// What the user is told when a table copy ends, and the command that opens its error log.
#pragma once

#include <string>

#include "copy/table_copy.h"
#include "odbc/odbc_ui.h"

// Shows how the run ended: the "ODBC error" box with the driver's text for a run that could not
// start, else "The table copy finished." or "The table copy canceled." with the rows kept; then,
// when rows were logged, asks "Transfer error found!\r\nDo you want to see?". True when the user
// wants the log.
bool reportTableCopy(OdbcUi& ui, void* owner, const TableCopyResult& result);

// The Notepad command line for `path`, quoted: a temporary folder may hold spaces.
std::string notepadCommand(const std::string& path);
