// The About box.
#include "app/about_box.h"

#include "base/bound_dialog.h"
#include "resources/resource.h"

const char kAboutText[] =
    "QUARROW     - ODBC explorer and dBase III viewer\r\n"
    "Version 0.50\r\n"
    "\r\n"
    "Made by the Quarrow developers.\r\n"
    "Tables, ODBC data sources, SQL and printing in one small program.\r\n"
    "Free to use and to change; it comes with no warranty.";

namespace {

// The box is bound to the text it shows.
INT_PTR handleAbout(HWND dialog, const char& text, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
            HICON icon = LoadIconA(instance, "Ombrix");
            SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            SetDlgItemTextA(dialog, IDC_ABOUT_TEXT, &text);
            SetFocus(GetDlgItem(dialog, IDOK));
            return FALSE;  // focus set here
        }
        case WM_COMMAND:
            // The OK button closes the box as well as Escape.
            if (LOWORD(wParam) == IDOK)
                EndDialog(dialog, 0);
            return LOWORD(wParam) != IDCANCEL;
        default:
            return FALSE;
    }
}

}  // namespace

void showAboutBox(HWND owner) {
    HINSTANCE instance =
        owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    DialogBoxParamA(instance, "ABOUT", owner, boundDialogProc<const char, handleAbout>,
                    reinterpret_cast<LPARAM>(kAboutText));
}
