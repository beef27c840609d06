// The ODBC Commander: a modeless two-panel window over folders, data sources, their tables and
// results. Windows build only.
#pragma once

#include <windows.h>

// Opens the commander owned by the main window `owner`, whose "&Commander" menu item stays greyed
// while it is open; it sends `owner` WM_USER + 23 when it closes. While one is open, that one is
// returned. Null when the window could not be created.
HWND openCommander(HWND owner);
