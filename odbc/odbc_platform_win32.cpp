// The ODBC layer's platform services on Windows: the system libraries, message boxes, cursors and
// the "LOGIN" dialog.
#include <windows.h>

#include <string>

#include "base/ui.h"
#include "odbc/data_sources.h"
#include "odbc/login_dialog.h"
#include "odbc/odbc_binding.h"
#include "odbc/odbc_ui.h"

namespace {

class Win32OdbcUi : public OdbcUi {
  public:
    void warning(const char* text) override { MessageBoxA(GetActiveWindow(), text, "Warning", MB_TASKMODAL | MB_OK); }
    void odbcError(void* owner, const char* text) override {
        MessageBoxA(static_cast<HWND>(owner), text, "ODBC error", MB_SYSTEMMODAL | MB_OK);
    }
    void waitCursor(bool wait) override { SetCursor(LoadCursorA(nullptr, wait ? IDC_WAIT : IDC_ARROW)); }
    bool login(void* owner, OdbcCredentials& credentials) override {
        return showLoginDialog(static_cast<HWND>(owner), credentials);
    }
    bool question(void* owner, const char* text, const char* caption) override {
        return MessageBoxA(static_cast<HWND>(owner), text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
};

}  // namespace

OdbcUi& platformOdbcUi() {
    static Win32OdbcUi ui;
    return ui;
}

OdbcLibraryNames platformOdbcLibraryNames() {
    return {"odbc32.dll", "odbccp32.dll", "shell32.dll"};
}

bool ansiByteOf(SqlWchar unit, char* out) {
    // Without best fit: U+0151 has its own byte in 1250, U+00F5 must not become "o".
    wchar_t wide = static_cast<wchar_t>(unit);
    BOOL usedDefault = FALSE;
    int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, out, 1, nullptr, &usedDefault);
    return written == 1 && !usedDefault;
}

std::string driverFilePath(const std::string& path) {
    // Only Wine's kernel32 has this export; it returns the host path in UTF-8, from the process heap.
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return path;
    int wideLength = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (wideLength <= 0)
        return path;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], wideLength);
    char* host = unixName(wide.c_str());
    if (!host)
        return path;
    // Back to the ANSI code page the connection string travels in; a name it cannot hold stays as it was.
    std::string result = path;
    int hostWide = MultiByteToWideChar(CP_UTF8, 0, host, -1, nullptr, 0);
    if (hostWide > 0) {
        std::wstring text(static_cast<std::size_t>(hostWide), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, host, -1, &text[0], hostWide);
        BOOL lost = FALSE;
        int ansiLength =
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lost);
        if (ansiLength > 0 && !lost) {
            std::string ansi(static_cast<std::size_t>(ansiLength), '\0');
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &ansi[0], ansiLength, nullptr, nullptr);
            ansi.resize(static_cast<std::size_t>(ansiLength - 1));
            result = ansi;
        }
    }
    HeapFree(GetProcessHeap(), 0, host);
    return result;
}
