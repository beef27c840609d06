// The commander's "Make directory" and the one-line input dialog GETEDIT. Windows build only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FilePanel;

// The record GETEDIT works on: its title, the input's control id, the list flag (0: one edit) and
// the strings; the first one is the initial text and receives the input.
struct EntryInput {
    std::string title;
    int inputId = 101;
    int listFlag = 0;
    std::vector<std::string> strings{std::string()};
};

// Runs GETEDIT modally; 1 when the user pressed OK (strings[0] then holds the text), 0 when closed.
int getEdit(HWND owner, EntryInput& input);

// F7: asks for a name with "Make directory" and creates that folder in the panel's folder, then
// lists the folder again. A name holding path characters, or a failing create, shows "Create error!".
// 1 when a folder was created.
int makeDirectory(HWND window, FilePanel& panel);
