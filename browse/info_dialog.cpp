// "&Table info" (INFODLG): the table's structure as a text listing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/bound_dialog.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/info_dialog.h"
#include "dbf/dbf.h"
#include "resources/resource.h"

namespace {

BrowseView* g_infoView = nullptr;  // the view of the open information dialog

INT_PTR handleInfo(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            if (view.dataFont)
                SendDlgItemMessageA(dialog, IDC_INFO_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(view.dataFont), FALSE);
            SetDlgItemTextA(dialog, IDC_INFO_TEXT, view.table ? structureListing(*view.table).c_str() : "");
            SetFocus(GetDlgItem(dialog, IDC_INFO_EXIT));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_INFO_EXIT || LOWORD(wParam) == IDOK)
                EndDialog(dialog, 0);
            return LOWORD(wParam) != IDCANCEL;
        default:
            return FALSE;
    }
}

}  // namespace

std::string structureListing(dbf& table) {
    const char* separator = "--- ---------- ---- --- -------\r\n";
    char line[200];
    std::string text;
    snprintf(line, sizeof line, "Table name : %s%s", table.fileName(), "\r\n");
    text += line;
    text += separator;
    text += "    Fieldname  Type Len Decimal\r\n";
    text += separator;
    text += "  0 delete flag       1\r\n";
    text += separator;
    long length = 1;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const FieldInfo* info = table.fieldInfo(i);
        snprintf(line, sizeof line, "%3d %-10s %c    %3d     %3d%s", i + 1, info->name, info->type, info->width,
                 info->decimals, "\r\n");
        text += line;
        length += info->width;
    }
    snprintf(line, sizeof line, "%sThe record length %5ld bytes.%s", "\r\n", length, "\r\n");
    text += line;
    return text;
}

int tableInfoCommand(BrowseView& view) {
    if (!view.table)
        return 1;
    runSingleInstanceDialog(view, "INFODLG", boundDialogProc<BrowseView, handleInfo>, g_infoView);
    return 1;
}
