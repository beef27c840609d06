// openTableWindow: a table file in a new grid window, taken from the shell's pool of 15.
#pragma once

#include <windows.h>

// Opens `name` with write access, or read-only when that fails, and shows it in a new Tbl window
// owned by `owner`, placed by the cascade. Tells the user in the warning box when the file is
// missing, cannot be opened, or all 15 windows are in use. The new window, or null. A file that a
// table window already shows (under any spelling) opens no second window: that one comes forward
// and is returned.
HWND openTableWindow(HWND owner, const char* name);

// Frees the pool slot of a table window that is being destroyed (called by the grid).
void releaseTableWindow(HWND window);
