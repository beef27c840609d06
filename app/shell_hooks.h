// The windows and commands other modules plug into the shell. The shell registers every window
// class at start-up and calls these when they are set; until a module sets its entry, its class
// behaves as a plain window and its command does nothing.
#pragma once

#include <windows.h>

struct ShellHooks {
    // Window procedures behind the classes Tbl (table grid), MetaFile and EMF (page viewers).
    WNDPROC tableWindowProc = nullptr;
    WNDPROC metaFileWindowProc = nullptr;
    WNDPROC emfWindowProc = nullptr;

    // Opens a table file, with write access or read-only; the open table, or null on failure.
    void* (*openTable)(const char* name, bool writable) = nullptr;
    // Closes and destroys a table returned by openTable.
    void (*closeTable)(void* table) = nullptr;
    // Fills the grid state of pool slot `slot` for `table` and creates its Tbl window at `left`,
    // `top` (size kTableWindowWidth x kTableWindowHeight), owned by `owner`. The window then owns the
    // table. Null on failure, and the shell closes the table and frees the slot.
    HWND (*createTableWindow)(HWND owner, int slot, void* table, int left, int top) = nullptr;

    // The picture viewer on a file.
    void (*openPictureViewer)(HWND owner, const char* path) = nullptr;
    // The create-table dialog with no current table.
    void (*createTable)(HWND owner) = nullptr;
    // The modeless explorer and commander dialogs; each returns its window.
    HWND (*openExplorer)(HWND owner) = nullptr;
    HWND (*openCommander)(HWND owner) = nullptr;
};

// The process-wide hook table.
ShellHooks& shellHooks();

// Lets every module that has windows of its own fill its hooks (app/modules.cpp).
void installModules();
