// The main frame window: class QUARROW, the menu MAIN, start-up of shared state, message loop.
#pragma once

#include <windows.h>

extern const char kProductTitle[];  // "Quarrow 0.50"

// Fills the named properties and settings the rest of the program reads ("OS", SET_CEGNEV,
// "HELP_FONT", "SOURCE_PATH", "PRINT_FONT") and keeps the command-line argument.
void startUp(const char* commandLine);

// Registers the program's window classes; false when a registration fails.
bool registerWindowClasses(HINSTANCE instance);

// Creates the maximized main window, stores "HINSTANCE" and "HWND"; null on failure.
HWND createMainWindow(HINSTANCE instance);

// Runs the message loop until WM_QUIT.
int runMessageLoop();
