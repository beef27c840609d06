// The main frame window: class QUARROW, the menu MAIN, start-up of shared state, message loop.
#pragma once

#include <windows.h>

#include <string>

extern const char kProductTitle[];  // "Quarrow 0.50"

// Message ids the modeless ODBC windows send the main window when they close.
constexpr UINT kExplorerClosed = WM_USER + 2;
constexpr UINT kCommanderClosed = WM_USER + 23;
// Right-click window list: 2000 + pool slot, then the explorer and the commander.
constexpr UINT kWindowListFirst = 2000;
constexpr UINT kWindowListExplorer = 2015;
constexpr UINT kWindowListCommander = 2016;

// Fills the named properties and settings the rest of the program reads ("OS", SET_CEGNEV,
// "HELP_FONT", "SOURCE_PATH", "PRINT_FONT"), clears the pool of table windows and keeps the
// command-line argument (without enclosing quotes) for the first activation.
void startUp(const char* commandLine);

// Registers the window classes QUARROW, Tbl, MetaFile and EMF; false when a registration fails.
bool registerWindowClasses(HINSTANCE instance);

// Creates the maximized main window, stores "HINSTANCE" and "HWND"; null on failure.
HWND createMainWindow(HINSTANCE instance);

// Runs the message loop until WM_QUIT, passing keys to the open modeless dialogs.
int runMessageLoop();

// The argument kept by startUp and whether it still waits for the first activation.
const std::string& pendingArgument();
bool argumentPending();

// The modeless explorer and commander windows, null when closed.
HWND explorerWindow();
HWND commanderWindow();

// The right-click list of open windows: one item per table window, then the ODBC windows.
HMENU buildWindowListMenu();

// Runs the system's ODBC data source administrator: SQLManageDataSources from odbccp32.dll when
// the Windows major version is above 5, else `program` (normally "odbcad32.exe").
void runOdbcAdministrator(HWND owner, DWORD majorVersion, const char* program);
