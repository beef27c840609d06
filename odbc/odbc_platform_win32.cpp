// The ODBC layer's platform services on Windows: the system libraries, message boxes, cursors and
// the "LOGIN" dialog.
#include <windows.h>

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
