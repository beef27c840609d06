// The fixed-pitch font the ODBC windows' grids share ("Courier New", 11 pixels, Central European):
// made by the first window that needs it, deleted when the last one lets it go. Windows build only.
#pragma once

#include <windows.h>

HFONT acquireOdbcGridFont();
void releaseOdbcGridFont();
// A "Courier New" of `height` (negative: character height in pixels), for editors and lines.
HFONT createCourierFont(int height);
