// The ODBC explorer: a modeless window with the data sources as a tree on the left and, on the
// right, a result grid or the saved command of the selected node. Windows build only.
#pragma once

#include <windows.h>

// Opens the explorer owned by the main window `owner`, whose &Explorer menu item stays greyed
// while it is open; it sends `owner` WM_USER + 2 when it closes. While one is open, that one is
// returned. Null when the window could not be created.
HWND openExplorer(HWND owner);
