// The About box: dialog ABOUT with the icon Ombrix and the program's text.
#pragma once

#include <windows.h>

extern const char kAboutText[];

void showAboutBox(HWND owner);
