// The grid's data-source operations over its dbf table, the window-title caption, and the table
// services the window needs (closing, OEM conversion).
#pragma once

#include "browse/browse_view.h"

// Points the eight data-source operations of `view` at the defaults over `view.table`
// (updateCaption is left as it is: table windows set windowTitleCaption).
void useTableDataSource(BrowseView& view);
bool usesTableDataSource(const BrowseView& view);

// updateCaption of table windows: the title becomes "%s - %ld/%ld" with the view's title, the record
// count and the current record number.
void windowTitleCaption(BrowseView& view);

// Formats that caption text into `out` (at least 160 bytes).
void formatGridCaption(BrowseView& view, char* out, int size);

// Closes and deletes the view's table; the table pointer becomes null.
void closeViewTable(BrowseView& view);

// The table's OEM/ANSI conversion flag, read and switched by the pop-up menu's "&OemToAnsi".
bool tableOemConversion(const BrowseView& view);
void setTableOemConversion(BrowseView& view, bool on);
