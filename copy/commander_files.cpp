// The commander's file side: drives, folders, opening files, and copy, delete and "Make directory".
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "copy/commander_internal.h"
#include "copy/file_commands.h"
#include "copy/shell_file.h"
#include "odbc/data_sources.h"
#include "picture/picture_viewer.h"

namespace {

HWND fileList(const CommanderState& state, const CommanderPanel& panel) {
    return GetDlgItem(state.dialog, panel.ids.fileList);
}

int focusedEntry(const CommanderState& state, const CommanderPanel& panel) {
    return ListView_GetNextItem(fileList(state, panel), -1, LVNI_FOCUSED);
}

std::string panelFolder(const CommanderState& state, const CommanderPanel& panel) {
    return pathLineText(state.dialog, panel.ids.pathLine);
}

// Lists the panel's folder again and focuses entry `index` (the last one when the list got shorter).
void relist(CommanderState& state, CommanderPanel& panel, int index) {
    std::string folder = panelFolder(state, panel);
    listDirectory(state.dialog, panel.ids.fileList, (folder + "*.*").c_str(), panel.files);
    focusFileEntry(fileList(state, panel), index);
}

bool showsFolder(const CommanderState& state, const CommanderPanel& panel, const std::string& folder) {
    return panel.mode == panel_mode::kDirectory && compareNoCase(panelFolder(state, panel), folder) == 0;
}

// A view (grid or editor) in the panel gives way first, so that what follows sees the mode it covered.
void leaveAnyView(CommanderState& state, CommanderPanel& panel) {
    if (panel.mode == panel_mode::kGrid || panel.mode == panel_mode::kEditor)
        leaveView(state, panel);
}

std::string selectedDrive(const CommanderState& state, const CommanderPanel& panel) {
    HWND combo = GetDlgItem(state.dialog, panel.ids.driveList);
    LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return std::string();
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, selected, 0);
    if (length == CB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

void chooseDataSources(CommanderState& state, CommanderPanel& panel) {
    showPanelView(state, panel, PanelView::odbcList);
    disablePanelEditor(state, oppositePanel(state, panel));
    // A data source list or an opened database file is kept as it was.
    if (panel.mode != panel_mode::kDataSources && panel.mode != panel_mode::kDatabaseFile)
        listDataSources(state, panel);
    SetFocus(GetDlgItem(state.dialog, panel.ids.odbcList));
}

void chooseDrive(CommanderState& state, CommanderPanel& panel, const std::string& entry) {
    // "C:\ (System)" names the root "C:\".
    std::string root = entry.substr(0, entry.find('\\') + 1);
    bool connected = panel.mode == panel_mode::kDataSources || panel.mode == panel_mode::kDatabaseFile;
    if (connected && panel.odbcLevel >= odbc_level::kObjects)
        disconnectPanel(state, panel);
    panel.files.focus.toRoot();
    showFolder(state.dialog, panel.files, root);
    showPanelView(state, panel, PanelView::fileList);
    disablePanelEditor(state, oppositePanel(state, panel));
    panel.mode = panel_mode::kDirectory;
    SetFocus(fileList(state, panel));
}

// F5: into the opposite folder, when both panels show folders. ".." is never copied: it would copy
// the whole parent folder, into a folder inside it when the opposite panel shows a subfolder.
void copyFocusedEntry(CommanderState& state, CommanderPanel& panel) {
    CommanderPanel& target = oppositePanel(state, panel);
    if (panel.mode != panel_mode::kDirectory || target.mode != panel_mode::kDirectory)
        return;
    int index = focusedEntry(state, panel);
    EntryPath entry = entryPath(state.dialog, panel.ids.fileList, index, panel.files);
    if (entry.name.empty() || entry.name == "..")
        return;
    std::string folder = panelFolder(state, target);
    if (copyIntoFolder(state.dialog, entry.fullPath, folder) != 0)
        return;
    relist(state, target, 0);
    // Both panels may show the same folder: the copy's new name shows in this one too.
    if (showsFolder(state, panel, folder))
        relist(state, panel, index);
}

// F8 and Delete: not "..". The focus stays on the same place in the list.
void deleteFocusedEntry(CommanderState& state, CommanderPanel& panel) {
    int index = focusedEntry(state, panel);
    EntryPath entry = entryPath(state.dialog, panel.ids.fileList, index, panel.files);
    if (entry.name.empty() || entry.name == "..")
        return;
    if (deleteToRecycleBin(state.dialog, entry.fullPath) != 0)
        return;
    relist(state, panel, index);
    CommanderPanel& other = oppositePanel(state, panel);
    if (showsFolder(state, other, entry.directory))
        relist(state, other, focusedEntry(state, other));
}

// Ctrl+F3 to Ctrl+F6 sort once by name, type, modification date and size; -1 for other keys.
int sortColumnForKey(UINT key) {
    switch (key) {
        case VK_F3:
            return kColumnName;
        case VK_F4:
            return kColumnType;
        case VK_F5:
            return kColumnModified;
        case VK_F6:
            return kColumnSize;
        default:
            return -1;
    }
}

}  // namespace

void initFileSide(CommanderState& state, CommanderPanel& panel) {
    panel.files.fileListId = panel.ids.fileList;
    panel.files.pathLineId = panel.ids.pathLine;
    fillDriveList(GetDlgItem(state.dialog, panel.ids.driveList));
    setFileListColumns(fileList(state, panel));
    panel.files.fileSortColumn = kColumnType;
    listDirectory(state.dialog, panel.ids.fileList, "C:\\*.*", panel.files);
}

void onDriveSelected(CommanderState& state, CommanderPanel& panel) {
    std::string entry = selectedDrive(state, panel);
    if (entry.empty())
        return;
    leaveAnyView(state, panel);
    if (entry.compare(0, 3, "DSN") == 0)
        chooseDataSources(state, panel);
    else
        chooseDrive(state, panel, entry);
}

void openFileEntry(CommanderState& state, CommanderPanel& panel) {
    int index = focusedEntry(state, panel);
    if (index < 0)
        return;
    disablePanelEditor(state, oppositePanel(state, panel));
    if (enterFileEntry(state.dialog, panel.files, index))
        return;
    EntryPath entry = entryPath(state.dialog, panel.ids.fileList, index, panel.files);
    if (entry.name.empty())
        return;
    // Both lists compare case-blind, and a whole item must match ("DB" is no "DBF"). A DB file may
    // be an SQLite database rather than a Paradox table: its header tells.
    if (isInExtensionList(entry.type, kDatabaseFileTypes)) {
        openDatabaseFile(state, panel, entry.fullPath, driverTypeForFile(entry.fullPath));
        return;
    }
    if (isInExtensionList(entry.type, kPictureFileTypes)) {
        showPictureViewer(state.dialog, entry.fullPath.c_str());
        return;
    }
    // Whatever the shell makes of it; a file it cannot open is not reported.
    ShellExecuteA(nullptr, "open", entry.fullPath.c_str(), nullptr, nullptr, SW_SHOWNOACTIVATE);
}

void fileRootOrUp(CommanderState& state, CommanderPanel& panel, bool root) {
    if (root)
        goToDriveRoot(state.dialog, panel.files);
    else
        goToParentFolder(state.dialog, panel.files);
}

bool onFileListKey(CommanderState& state, CommanderPanel& panel, UINT key) {
    // Whatever the key starts (the shell, a program) sees the panel's folder as the current one.
    SetCurrentDirectoryA(panelFolder(state, panel).c_str());
    if (GetKeyState(VK_CONTROL) < 0) {
        int column = sortColumnForKey(key);
        if (column >= 0) {
            sortFileList(fileList(state, panel), column);
            return true;
        }
    }
    switch (key) {
        case VK_F5:
            copyFocusedEntry(state, panel);
            return true;
        case VK_F7:
            makeDirectory(state.dialog, panel.files);
            return true;
        case VK_F8:
        case VK_DELETE:
            deleteFocusedEntry(state, panel);
            return true;
        default:
            return false;
    }
}

void onFileColumnClick(CommanderState& state, CommanderPanel& panel, int column) {
    if (column < 0 || column >= kFileColumnCount)
        return;
    panel.files.fileSortColumn = column;
    sortFileList(fileList(state, panel), column);
}

void showDirectory(CommanderState& state, CommanderPanel& panel, const std::string& directory) {
    showFolder(state.dialog, panel.files, directory);
    showPanelView(state, panel, PanelView::fileList);
    panel.mode = panel_mode::kDirectory;
    SetFocus(fileList(state, panel));
}
