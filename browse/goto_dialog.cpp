// "&Go to" (GOTODLG): moves the grid to a record number; the dialog stays open.
#include <windows.h>

#include <cstdlib>

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/grid_internal.h"
#include "resources/resource.h"

namespace {

BrowseView* g_goToView = nullptr;  // the view of the open go-to dialog

void goToNumber(HWND dialog, BrowseView& view) {
    char text[32] = "";
    GetDlgItemTextA(dialog, IDC_GOTO_NUMBER, text, sizeof text);
    long record = atol(text);
    if (record < 1)
        return;
    if (record > view.recordCount(view)) {
        warningBox("Out of range.");
        return;
    }
    // Near the top the first records show from row 1.
    if (record < view.rows)
        view.curRow = record;
    view.curRecord = record;
    view.goToRecord(view, record);
    view.recordDelta = 0;
    view.navigationPending = true;
    repaint(view, true);
    if (view.window)
        UpdateWindow(view.window);
}

INT_PTR handleGoTo(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_GOTO_NUMBER, EM_LIMITTEXT, 31, 0);
            SetFocus(GetDlgItem(dialog, IDC_GOTO_NUMBER));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_GOTO_GO || LOWORD(wParam) == IDOK)
                goToNumber(dialog, view);
            return LOWORD(wParam) != IDCANCEL;
        default:
            return FALSE;
    }
}

}  // namespace

int goToCommand(BrowseView& view) {
    if (!hasDataSource(view))
        return 1;
    runSingleInstanceDialog(view, "GOTODLG", boundDialogProc<BrowseView, handleGoTo>, g_goToView);
    return 1;
}
