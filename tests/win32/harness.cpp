// Window test helpers: message pump, CBT-hook message box catcher, GetWindowDC + BitBlt capture.
#include "tests/win32/harness.h"

#include <algorithm>

namespace harness {

namespace {
MessageBoxCatcher* g_catcher = nullptr;

// The text of a message box is in its static controls (id 0xFFFF on Windows, 100 in Wine); the
// icon static has no text.
std::string dialogText(HWND dialog) {
    std::string text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) == "Static")
            text += windowText(child);
    }
    return text;
}
}  // namespace

void pumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds)
            Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

MessageBoxCatcher::MessageBoxCatcher(int answer) : answer_(answer) {
    g_catcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    g_catcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && g_catcher && className(window) == "#32770")
        g_catcher->created_.push_back(window);
    if (code == HCBT_ACTIVATE && g_catcher) {
        auto& created = g_catcher->created_;
        // Wine activates a message box before WM_INITDIALOG has set its text: read it from a
        // timer, which the dialog's own loop dispatches once the box is complete. Each box is
        // answered once.
        auto fresh = std::find(created.begin(), created.end(), window);
        if (fresh != created.end()) {
            created.erase(fresh);
            g_catcher->pending_.push_back(window);
            SetTimer(nullptr, 0, 1, timerProc);
        }
    }
    return CallNextHookEx(g_catcher ? g_catcher->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK MessageBoxCatcher::timerProc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!g_catcher || g_catcher->pending_.empty())
        return;
    HWND window = g_catcher->pending_.front();
    g_catcher->pending_.erase(g_catcher->pending_.begin());
    if (!IsWindow(window) || isProgressDialog(window))
        return;
    g_catcher->boxes_.push_back({windowText(window), dialogText(window)});
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(g_catcher->answer_, BN_CLICKED), 0);
}

bool isProgressDialog(HWND dialog) {
    return className(GetDlgItem(dialog, 101)) == "msctls_progress32";
}

Pixels captureWindow(HWND window) {
    Pixels result;
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return result;
    result.width = rect.right - rect.left;
    result.height = rect.bottom - rect.top;
    if (result.width <= 0 || result.height <= 0)
        return Pixels{};
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = result.width;
    info.bmiHeader.biHeight = -result.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, result.width, result.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    result.rgb.resize(static_cast<size_t>(result.width) * result.height);
    for (size_t i = 0; i < result.rgb.size(); ++i) {
        DWORD p = pixels[i];  // 0x00RRGGBB in a 32-bit DIB
        result.rgb[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return result;
}

std::string windowText(HWND window) {
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string className(HWND window) {
    char buffer[256] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

}  // namespace harness
