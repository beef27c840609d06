// "FLUSH": the server's logs, hosts, privileges, tables and status, by the boxes checked.
#include "admin/mysql_dialog_state.h"
#include "base/bound_dialog.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

INT_PTR handleFlush(HWND dialog, MySqlDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDC_FLUSH_RUN)
        return message == WM_INITDIALOG;
    const auto& statements = flushStatements();
    for (std::size_t i = 0; i < statements.size(); ++i) {
        int box = IDC_FLUSH_LOGS + static_cast<int>(i);
        if (!isItemChecked(dialog, box))
            continue;
        for (const char* text : statements[i])
            if (!state.session.run(text))
                break;
        setItemChecked(dialog, box, false);
    }
    return TRUE;
}

}  // namespace

void openFlush(HWND owner, const MySqlAdminTarget& target) {
    MySqlDialogState state(target, owner);
    DialogBoxParamA(GetModuleHandleA(nullptr), "FLUSH", owner, boundDialogProc<MySqlDialogState, handleFlush>,
                    reinterpret_cast<LPARAM>(&state));
}
