// "MSSQL_REPAIR_DATABASE": the six repair steps of a database with their boxes and progress, and
// the steps as text on the clipboard.
#include <windows.h>

#include <commctrl.h>

#include "admin/mssql_dialog_state.h"
#include "admin/mssql_sql.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

const int kSteps = 6;

void writeCaptions(HWND dialog) {
    std::vector<std::string> steps = repairSteps(comboSelectedText(dialog, IDC_REPAIR_DATABASE));
    for (int k = 0; k < kSteps; ++k)
        setItemText(dialog, IDC_REPAIR_STEP_FIRST + k, (std::to_string(k + 1) + ". " + steps[k]).c_str());
}

void start(HWND dialog, SqlServerDialogState& state) {
    std::string database = comboSelectedText(dialog, IDC_REPAIR_DATABASE);
    if (!parametersFilled({database}))
        return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND progress = GetDlgItem(dialog, IDC_REPAIR_PROGRESS);
    ShowWindow(progress, SW_SHOW);
    SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, kSteps));
    SendMessageA(progress, PBM_SETPOS, 1, 0);
    int failed = runRepair(state.session, database, [&](int step) {
        if (step >= kSteps)
            return;
        SendMessageA(progress, PBM_SETPOS, step + 1, 0);
        setItemChecked(dialog, IDC_REPAIR_STEP_FIRST + step - 1, true);
    });
    SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
    if (failed) {
        warningBox("The repair is unsuccessful!");
    } else {
        setItemChecked(dialog, IDC_REPAIR_STEP_FIRST + kSteps - 1, true);
        warningBox("The repair is successful!");
    }
    EndDialog(dialog, failed ? 0 : 1);
}

}  // namespace

INT_PTR handleRepair(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        fillNameCombo(dialog, state, IDC_REPAIR_DATABASE, kDatabaseListQuery);
        writeCaptions(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    if (id >= IDC_REPAIR_STEP_FIRST && id < IDC_REPAIR_STEP_FIRST + kSteps) {
        // The boxes show progress only: a click takes its mark away.
        setItemChecked(dialog, id, false);
        return TRUE;
    }
    switch (id) {
        case IDC_REPAIR_DATABASE:
            if (HIWORD(wParam) == CBN_SELCHANGE || HIWORD(wParam) == CBN_CLOSEUP)
                writeCaptions(dialog);
            return TRUE;
        case IDC_REPAIR_COPY:
            copyTextToClipboard(dialog, repairClipboardText(comboSelectedText(dialog, IDC_REPAIR_DATABASE)).c_str());
            return TRUE;
        case IDOK:
            start(dialog, state);
            return TRUE;
        default:
            return FALSE;
    }
}
