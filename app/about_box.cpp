// The About box.
#include "app/about_box.h"

#include "resources/resource.h"

const char kAboutText[] =
    "QUARROW     - ODBC explorer and dBase III viewer\r\n"
    "Version 0.50\r\n"
    "\r\n"
    "Made by the Quarrow developers.\r\n"
    "Tables, ODBC data sources, SQL and printing in one small program.\r\n"
    "Free to use and to change; it comes with no warranty.";

namespace {

INT_PTR handleAbout(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
            HICON icon = LoadIconA(instance, "Ombrix");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            SetDlgItemTextA(dialog, IDC_ABOUT_TEXT, kAboutText);
            SetFocus(GetDlgItem(dialog, IDOK));
            return FALSE;  // focus set here
        }
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        case WM_COMMAND:
            // The OK button and Escape close the box as well.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        return handleAbout(dialog, message, wParam);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

void showAboutBox(HWND owner) {
    HINSTANCE instance =
        owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    DialogBoxParamA(instance, "ABOUT", owner, aboutProc, 0);
}
