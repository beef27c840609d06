// The file side of a commander panel: its list and path line, its sort column and the focus each
// folder depth remembers, with the operations that list, walk and change its folder. Windows build only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "copy/file_entry.h"
#include "copy/file_paths.h"

struct FilePanel {
    int fileListId = 0;
    int pathLineId = 0;
    int fileSortColumn = kColumnType;
    FocusStack focus;
};

// The seven report columns ("File name" … "Attr."), full-row selection and the system's small icons.
void setFileListColumns(HWND list);

// Lists `pattern` (a folder followed by "*.*") into list `listId` of `window`: "." is skipped, ".."
// kept; each item carries its FileEntry and the list is sorted by the panel's file sort column.
// Returns the number of entries.
int listDirectory(HWND window, int listId, const char* pattern, const FilePanel& panel);
// Removes every item and frees its record.
void clearFileList(HWND list);
// The record behind item `index`, or null.
const FileEntry* fileEntryAt(HWND list, int index);
// Sorts the list by `column` (compareFileEntries).
void sortFileList(HWND list, int column);
// Focuses and selects item `index` (the last one when `index` is past the end).
void focusFileEntry(HWND list, int index);

// The whole text of a panel's path line, however deep the folder.
std::string pathLineText(HWND window, int pathLineId);

struct EntryPath {
    std::string directory;  // the folder the entry lives in; for ".." its parent
    std::string name;       // the name the listing found, extension included
    std::string type;
    std::string fullPath;
    bool isDirectory = false;
};
// Where entry `index` of the panel's list lives. The path comes from the name the listing found,
// never from the display columns, so "report." and "report" stay apart.
EntryPath entryPath(HWND window, int listId, int index, const FilePanel& panel);

// Index of the path's small icon in the system image list.
int systemIconIndex(const char* path);
// Answers a file list's LVN_GETDISPINFOA with the entry's system icon; true when it was one.
bool fileListDisplayInfo(LPARAM notification);

// The data source entry "DSN\" then one entry per existing drive, "C:\ (Label)".
void fillDriveList(HWND combo);

// Shows `directory` (ending in a backslash) in the panel: path line, listing, and the focus
// remembered for the current depth.
void showFolder(HWND window, FilePanel& panel, const std::string& directory);

// Folder walking: into entry `index` when it is a folder (".." goes up), up one level, to the root
// of the drive. Each lists the new folder into the panel and focuses the remembered entry.
bool enterFileEntry(HWND window, FilePanel& panel, int index);
void goToParentFolder(HWND window, FilePanel& panel);
void goToDriveRoot(HWND window, FilePanel& panel);
