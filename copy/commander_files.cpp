// The commander's file side: drives, folders, opening files, and copy, delete and "Make directory".
#include "copy/commander_internal.h"

void initFileSide(CommanderState&, CommanderPanel&) {}
void onDriveSelected(CommanderState&, CommanderPanel&) {}
void openFileEntry(CommanderState&, CommanderPanel&) {}
void fileRootOrUp(CommanderState&, CommanderPanel&, bool) {}
bool onFileListKey(CommanderState&, CommanderPanel&, UINT) {
    return false;
}
void onFileColumnClick(CommanderState&, CommanderPanel&, int) {}
void showDirectory(CommanderState&, CommanderPanel&, const std::string&) {}
