// The main window procedure and its start-up.
#include "app/main_window.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/properties.h"
#include "base/settings.h"

const char kProductTitle[] = "Quarrow 0.50";

namespace {

const char kMainClass[] = "QUARROW";
constexpr int kSourcePathSize = 255;
constexpr int kPrintFontSize = 32;

OSVERSIONINFOA g_osVersion;
std::string g_pendingArgument;
bool g_argumentPending = true;

char* newBuffer(int size, const char* text) {
    char* buffer = new char[size];
    lstrcpynA(buffer, text, size);
    return buffer;
}

void onClose(HWND window) {
    removeProperty("SOURCE_PAT", 'C');
    removeProperty("PRINT_FONT", 'C');
    DestroyWindow(window);
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
            g_argumentPending = false;  // the argument's handlers arrive with the table and picture windows
            break;
        case WM_COMMAND:
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

    g_pendingArgument = commandLine ? commandLine : "";
    if (g_pendingArgument.size() >= 2 && g_pendingArgument.front() == '"' && g_pendingArgument.back() == '"')
        g_pendingArgument = g_pendingArgument.substr(1, g_pendingArgument.size() - 2);
    g_argumentPending = true;
}

bool registerWindowClasses(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "QUARROW");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = "MAIN";
    wc.lpszClassName = kMainClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    return true;
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
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
