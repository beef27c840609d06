// The "LOGIN" dialog over the process-wide credentials.
#include "odbc/login_dialog.h"

#include <cstring>

#include "resources/resource.h"

namespace {

constexpr int kFieldLimit = static_cast<int>(OdbcCredentials::kSize) - 1;

void onInit(HWND dialog, OdbcCredentials& credentials) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&credentials));
    SendDlgItemMessageA(dialog, IDC_LOGIN_USER, EM_LIMITTEXT, kFieldLimit, 0);
    SendDlgItemMessageA(dialog, IDC_LOGIN_PASSWORD, EM_LIMITTEXT, kFieldLimit, 0);
    SetDlgItemTextA(dialog, IDC_LOGIN_USER, credentials.user);
    SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, credentials.password);
    SetFocus(GetDlgItem(dialog, IDC_LOGIN_USER));
}

void onLogin(HWND dialog) {
    auto* credentials = reinterpret_cast<OdbcCredentials*>(GetWindowLongPtrA(dialog, DWLP_USER));
    GetDlgItemTextA(dialog, IDC_LOGIN_USER, credentials->user, OdbcCredentials::kSize);
    GetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, credentials->password, OdbcCredentials::kSize);
    // The edit's own copy of the password goes with the text.
    SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, "");
    EndDialog(dialog, TRUE);
}

INT_PTR CALLBACK loginProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception must not unwind through user32.
    try {
        switch (message) {
            case WM_INITDIALOG:
                onInit(dialog, *reinterpret_cast<OdbcCredentials*>(lParam));
                return FALSE;  // focus set by onInit
            case WM_COMMAND:
                if (LOWORD(wParam) == IDC_LOGIN_OK) {
                    onLogin(dialog);
                    return TRUE;
                }
                // Escape and the close box: no new credentials.
                if (LOWORD(wParam) == IDCANCEL) {
                    EndDialog(dialog, FALSE);
                    return TRUE;
                }
                return FALSE;
            case WM_CLOSE:
                EndDialog(dialog, FALSE);
                return TRUE;
        }
    } catch (...) {
        EndDialog(dialog, FALSE);
    }
    return FALSE;
}

}  // namespace

bool showLoginDialog(HWND owner, OdbcCredentials& credentials) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INT_PTR result = DialogBoxParamA(instance, "LOGIN", owner, loginProc, reinterpret_cast<LPARAM>(&credentials));
    return result == TRUE;
}
