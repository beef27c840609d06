// Record editing in a grid: opening the current cell, the in-place cell editor, storing a cell, and
// the memo dialog MEMODLG.
#pragma once

#include "browse/browse_view.h"

// Opens the current cell (Enter, "&Modify", double-click): the cell editor over the cell, or the
// memo dialog for a memo column. Does nothing in a grid without edit permission, on a column that
// cannot be edited (a memo column then opens read-only) and when the table has no current record.
void openCurrentCell(BrowseView& view);

// What became of an edited cell.
enum class CellStore {
    Stored,
    KeepEditing,  // the field refused the value (a number too wide for it): the editor keeps the text
    NotStored,
};

// Stores the text of the edit buffer into the current cell: a date is checked first ("Bad date !"),
// a number reduced to what its field parses; under the record lock the record is read again, the
// field set and the record written. A refused lock or an unknown field stores nothing, silently; a
// value the field refuses and a write that fails are explained in the warning box.
CellStore storeEditedCell(BrowseView& view);

// Tells the user why a record of the view's table could not be written: the table is read-only, or
// the write itself failed. The record buffer is read again from the file.
void warnRecordNotWritten(BrowseView& view);
// Whether the file is marked read-only.
bool isReadOnlyFile(const char* name);

// The memo dialog over the current memo cell, modal; read-only when the view's memo read-only flag
// is set or the memo is longer than the editor holds. Returns 0 when a memo dialog is already open.
int openMemoDialog(BrowseView& view);

// The view whose memo dialog is open, or null.
BrowseView* openMemoView();

// Whether the view's table stands on a record that exists in the file.
bool hasCurrentRecord(BrowseView& view);

// Reads the current record again, under a lock just taken, so that a change stores only what the
// user changed over what is in the file now. False when the record is gone or hidden.
bool rereadLockedRecord(BrowseView& view);
