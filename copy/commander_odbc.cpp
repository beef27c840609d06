// The commander's ODBC side: data sources, their objects, a table's sub-entries, and the views shown
// in the opposite panel.
#include "copy/commander_internal.h"

void listDataSources(CommanderState&, CommanderPanel&, int) {}
bool openDatabaseFile(CommanderState&, CommanderPanel&, const std::string&, int) {
    return false;
}
void openOdbcEntry(CommanderState&, CommanderPanel&) {}
void odbcRootOrUp(CommanderState&, CommanderPanel&, bool) {}
bool onOdbcListKey(CommanderState&, CommanderPanel&, UINT) {
    return false;
}
void onOdbcColumnClick(CommanderState&, CommanderPanel&, int) {}
void onOdbcEntryDeleted(CommanderState&, CommanderPanel&, LPARAM) {}
void disconnectPanel(CommanderState&, CommanderPanel&) {}
void leaveView(CommanderState&, CommanderPanel&) {}
void onEditorButton(CommanderState&, CommanderPanel&, bool) {}
void tearDownOdbcSide(CommanderState&) {}
