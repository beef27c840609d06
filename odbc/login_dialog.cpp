// The "LOGIN" dialog over the process-wide credentials.
#include "odbc/login_dialog.h"

#include <cstring>

#include "base/bound_dialog.h"
#include "resources/resource.h"

namespace {

constexpr int kFieldLimit = static_cast<int>(OdbcCredentials::kSize) - 1;

void onInit(HWND dialog, OdbcCredentials& credentials) {
    SendDlgItemMessageA(dialog, IDC_LOGIN_USER, EM_LIMITTEXT, kFieldLimit, 0);
    SendDlgItemMessageA(dialog, IDC_LOGIN_PASSWORD, EM_LIMITTEXT, kFieldLimit, 0);
    SetDlgItemTextA(dialog, IDC_LOGIN_USER, credentials.user);
    SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, credentials.password);
    SetFocus(GetDlgItem(dialog, IDC_LOGIN_USER));
}

void onLogin(HWND dialog, OdbcCredentials& credentials) {
    GetDlgItemTextA(dialog, IDC_LOGIN_USER, credentials.user, OdbcCredentials::kSize);
    GetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, credentials.password, OdbcCredentials::kSize);
    // The edit's own copy of the password goes with the text.
    SetDlgItemTextA(dialog, IDC_LOGIN_PASSWORD, "");
    EndDialog(dialog, TRUE);
}

// Escape and the close box end the dialog with FALSE: no new credentials.
INT_PTR handleLogin(HWND dialog, OdbcCredentials& credentials, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            onInit(dialog, credentials);
            return FALSE;  // focus set by onInit
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_LOGIN_OK) {
                onLogin(dialog, credentials);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

bool showLoginDialog(HWND owner, OdbcCredentials& credentials) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INT_PTR result = DialogBoxParamA(instance, "LOGIN", owner, boundDialogProc<OdbcCredentials, handleLogin>,
                                     reinterpret_cast<LPARAM>(&credentials));
    return result == TRUE;
}
