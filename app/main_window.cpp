// The main window procedure, its start-up, window classes and message loop.
#include "app/main_window.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/shell_hooks.h"
#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/properties.h"
#include "base/settings.h"
#include "base/ui.h"
#include "copy/table_copy_dialog.h"
#include "resources/resource.h"

const char kProductTitle[] = "Quarrow 0.50";

namespace {

const char kMainClass[] = "QUARROW";
constexpr int kSourcePathSize = 255;
constexpr int kPrintFontSize = 32;
// Posted at the first activation: the argument is handled once the activation is over, so that
// a window it opens keeps the focus.
constexpr UINT kHandleArgument = WM_USER + 100;

OSVERSIONINFOA g_osVersion;
std::string g_pendingArgument;
bool g_argumentPending = true;
HWND g_explorer = nullptr;
HWND g_commander = nullptr;

char* newBuffer(int size, const char* text) {
    char* buffer = new char[size];
    lstrcpynA(buffer, text, size);
    return buffer;
}

void onClose(HWND window) {
    // A running table copy uses a connection the explorer owns: the program stays until it ends.
    if (tableCopyRunning()) {
        warningBox("The copy table function already running.");
        return;
    }
    removeProperty("SOURCE_PAT", 'C');
    removeProperty("PRINT_FONT", 'C');
    DestroyWindow(window);
}

void handleArgument(HWND window) {
    const std::string& argument = g_pendingArgument;
    switch (classifyArgument(argument)) {
        case ArgumentKind::Picture:
            if (shellHooks().openPictureViewer) {
                char directory[MAX_PATH] = "";
                GetCurrentDirectoryA(sizeof directory, directory);
                shellHooks().openPictureViewer(window, picturePath(argument, directory).c_str());
            }
            break;
        case ArgumentKind::Table:
            openTableWindow(window, argument.c_str());
            break;
        case ArgumentKind::None:
            break;
    }
}

void openTableFromDialog(HWND window) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    char* sourcePath = static_cast<char*>(property("SOURCE_PATH"));
    std::string chosen = chooseTableFile(window, instance, sourcePath, nullptr);
    if (chosen.empty())
        return;
    size_t backslash = chosen.rfind('\\');
    // A name never set reads as the shared, read-only empty text: only a real buffer is written.
    bool ownBuffer = sourcePath != property("");
    if (backslash != std::string::npos && ownBuffer)
        lstrcpynA(sourcePath, chosen.substr(0, backslash).c_str(), kSourcePathSize);
    openTableWindow(window, chosen.c_str());
}

void showWindowList(HWND window, LPARAM lParam) {
    HMENU menu = buildWindowListMenu();
    if (GetMenuItemCount(menu) <= 0) {  // nothing open: no empty pop-up
        DestroyMenu(menu);
        return;
    }
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &point);
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void activateListed(UINT id) {
    HWND target = nullptr;
    if (id == kWindowListExplorer)
        target = g_explorer;
    else if (id == kWindowListCommander)
        target = g_commander;
    else if (tablePool().slot(static_cast<int>(id - kWindowListFirst)).inUse)
        target = static_cast<HWND>(tablePool().slot(static_cast<int>(id - kWindowListFirst)).window);
    if (target && IsWindow(target)) {
        ShowWindow(target, SW_RESTORE);
        SetFocus(target);
    }
}

// Opens a modeless ODBC window, or brings the open one forward.
void openModeless(HWND window, HWND& handle, HWND (*open)(HWND)) {
    if (handle && IsWindow(handle)) {
        ShowWindow(handle, SW_RESTORE);
        SetFocus(handle);
        return;
    }
    if (open)
        handle = open(window);
}

void onCommand(HWND window, UINT id) {
    ShellHooks& hooks = shellHooks();
    switch (id) {
        case IDM_OPEN_TABLE:
        case IDM_OPEN_TABLE_OLD:
            openTableFromDialog(window);
            break;
        case IDM_CREATE_TABLE:
        case IDM_CREATE_TABLE_OLD:
            if (hooks.createTable)
                hooks.createTable(window);
            break;
        case IDM_ODBC_EXPLORER:
            openModeless(window, g_explorer, hooks.openExplorer);
            break;
        case IDM_ODBC_COMMANDER:
            openModeless(window, g_commander, hooks.openCommander);
            break;
        case IDM_ODBC_ADMINISTRATOR:
            runOdbcAdministrator(window, g_osVersion.dwMajorVersion, "odbcad32.exe");
            break;
        case IDM_ABOUT:
            showAboutBox(window);
            break;
        default:
            if (id >= kWindowListFirst && id <= kWindowListCommander)
                activateListed(id);
            break;
    }
}

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            EndPaint(window, &ps);
            return 0;
        }
        case WM_CLOSE:
        case WM_QUIT:
            onClose(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_CHAR:
            if (wParam == VK_ESCAPE) {
                DestroyWindow(window);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (g_argumentPending) {
                g_argumentPending = false;
                PostMessageA(window, kHandleArgument, 0, 0);
            }
            break;
        case kHandleArgument:
            handleArgument(window);
            return 0;
        case WM_RBUTTONDOWN:
            showWindowList(window, lParam);
            return 0;
        case kExplorerClosed:
            g_explorer = nullptr;
            return 0;
        case kCommanderClosed:
            g_commander = nullptr;
            return 0;
        case WM_COMMAND:
            onCommand(window, LOWORD(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// An exception must not unwind through user32: it would end the program.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The classes of other modules are registered now and call the module's procedure once it is
// plugged in (app/modules.cpp); until then they behave as plain windows.
LRESULT forward(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (procedure)
            return procedure(window, message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT CALLBACK tableClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return forward(shellHooks().tableWindowProc, window, message, wParam, lParam);
}

LRESULT CALLBACK metaFileClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return forward(shellHooks().metaFileWindowProc, window, message, wParam, lParam);
}

LRESULT CALLBACK emfClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return forward(shellHooks().emfWindowProc, window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance,
                   const char* name,
                   UINT style,
                   int extraBytes,
                   WNDPROC procedure,
                   const char* icon,
                   const char* menu) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = instance;
    wc.hIcon = icon ? LoadIconA(instance, icon) : nullptr;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    // A second start-up in the same process (the tests) finds the classes in place.
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void startUp(const char* commandLine) {
    InitCommonControls();
    g_osVersion.dwOSVersionInfoSize = sizeof g_osVersion;
    if (GetVersionExA(&g_osVersion))
        setProperty("OS", &g_osVersion);
    setting(SET_CEGNEV, kProductTitle);
    setProperty("HELP_FONT", const_cast<char*>("Comic Sans MS"));
    char directory[kSourcePathSize] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    delete[] static_cast<char*>(setProperty("SOURCE_PATH", newBuffer(kSourcePathSize, directory)));
    delete[] static_cast<char*>(setProperty("PRINT_FONT", newBuffer(kPrintFontSize, "Courier New")));
    tablePool().clear();
    g_explorer = nullptr;
    g_commander = nullptr;
    g_pendingArgument = unquoteArgument(commandLine);
    g_argumentPending = true;
}

bool registerWindowClasses(HINSTANCE instance) {
    return registerClass(instance, kMainClass, 0, 0, mainWindowProc, "QUARROW", "MAIN") &&
           registerClass(instance, "Tbl", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, 4, tableClassProc, nullptr, nullptr) &&
           registerClass(instance, "MetaFile", CS_VREDRAW | CS_HREDRAW, 4, metaFileClassProc, nullptr, nullptr) &&
           registerClass(instance, "EMF", CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, 4, emfClassProc, nullptr, nullptr);
}

HWND createMainWindow(HINSTANCE instance) {
    setProperty("HINSTANCE", instance);
    HWND window = CreateWindowExA(WS_EX_LEFT, kMainClass, kProductTitle, WS_MAXIMIZE | WS_OVERLAPPEDWINDOW, 0, 0, 1024,
                                  768, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    setProperty("HWND", window);
    ShowWindow(window, SW_MAXIMIZE);
    UpdateWindow(window);
    return window;
}

int runMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (g_explorer && IsDialogMessageA(g_explorer, &msg))
            continue;
        if (g_commander && IsDialogMessageA(g_commander, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

const std::string& pendingArgument() {
    return g_pendingArgument;
}

bool argumentPending() {
    return g_argumentPending;
}

HWND explorerWindow() {
    return g_explorer;
}

HWND commanderWindow() {
    return g_commander;
}

HMENU buildWindowListMenu() {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < kPoolSize; ++i) {
        const PoolSlot& s = tablePool().slot(i);
        if (s.inUse)
            AppendMenuA(menu, MF_STRING, kWindowListFirst + i, s.title);
    }
    if (g_explorer)
        AppendMenuA(menu, MF_STRING, kWindowListExplorer, "ODBC Explorer");
    if (g_commander)
        AppendMenuA(menu, MF_STRING, kWindowListCommander, "ODBC Commander");
    return menu;
}

void runOdbcAdministrator(HWND owner, DWORD majorVersion, const char* program) {
    if (majorVersion > 5) {
        HMODULE installer = LoadLibraryA("odbccp32.dll");
        if (!installer)
            return;
        using ManageDataSources = BOOL(WINAPI*)(HWND);
        auto manage = reinterpret_cast<ManageDataSources>(
            reinterpret_cast<void*>(GetProcAddress(installer, "SQLManageDataSources")));
        if (manage)
            manage(owner);
        FreeLibrary(installer);
        return;
    }
    if (WinExec(program, SW_SHOWNORMAL) < 32)
        warningBox("Can't load odbc32.exe.");
}
