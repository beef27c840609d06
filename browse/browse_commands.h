// The grids' command tables and the handlers they name. Each handler takes the view and returns 1;
// the grid then repaints and takes over the current record and the record count.
#pragma once

#include "browse/browse_view.h"

// Record editing and the cell editor.
int appendRecordCommand(BrowseView& view);  // "&New record"
int modifyCommand(BrowseView& view);        // "&Modify": opens the current cell
int deleteRecordCommand(BrowseView& view);  // "&Delete": deletes or recalls
int memoViewCommand(BrowseView& view);      // "&Memo view": the memo, read-only

// Browse commands and dialogs.
int searchCommand(BrowseView& view);
int goToCommand(BrowseView& view);
int sortCommand(BrowseView& view);
int tableInfoCommand(BrowseView& view);
int packCommand(BrowseView& view);
int zapCommand(BrowseView& view);
int modifyStructureCommand(BrowseView& view);
int appendFromCommand(BrowseView& view);
int copyToCommand(BrowseView& view);
int saveHtmlCommand(BrowseView& view);

// Printing and scripts.
int printTableCommand(BrowseView& view);
int insertScriptCommand(BrowseView& view);  // "&Save as 'insert into ...'"
// The ODBC module writes INSERT scripts; until it installs its writer the command does nothing.
void setInsertScriptWriter(int (*writer)(BrowseView& view));

// "&Exit": closes the grid's window.
int exitCommand(BrowseView& view);

// Table windows opened from the main window's menu.
extern const BrowseCommand kTableWindowCommands[];
// Query result grids: no editing commands.
extern const BrowseCommand kResultGridCommands[];
// Editable tables shown inside dialogs.
extern const BrowseCommand kDialogTableCommands[];
// The field-list grid of the explorer.
extern const BrowseCommand kFieldListCommands[];

// The first entry of `commands` with this code, or null.
const BrowseCommand* findCommand(const BrowseCommand* commands, long code);
