// "ALTER_TABLE": changing the storage engine of tables, and the same template as "Table
// diagnostics" with its "TABLE_DIAG" report.

#include "admin/mysql_dialog_state.h"
#include "base/bound_dialog.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

void listTables(HWND dialog, MySqlDialogState& state) {
    state.catalog = state.session.currentCatalog();
    SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : state.session.tables(state.catalog))
        SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_SETSEL, TRUE, 0);
}

std::vector<std::string> selectedTables(HWND dialog) {
    std::vector<std::string> names;
    LRESULT count = SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_GETSEL, i, 0) <= 0)
            continue;
        LRESULT length = SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_GETTEXTLEN, i, 0);
        std::string name(length + 1, '\0');
        SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&name[0]));
        name.resize(length);
        names.push_back(name);
    }
    return names;
}

INT_PTR handleReport(HWND dialog, std::string& report, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        // The report's columns line up only in a fixed-pitch font.
        SendDlgItemMessageA(dialog, IDC_ADMIN_REPORT, WM_SETFONT,
                            reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
        setItemText(dialog, IDC_ADMIN_REPORT, report.c_str());
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ADMIN_EXIT) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

void changeEngines(HWND dialog, MySqlDialogState& state) {
    std::string engine = comboSelectedText(dialog, IDC_ADMIN_CHOICE);
    std::vector<std::string> tables = selectedTables(dialog);
    if (engine.empty() || tables.empty())
        return;
    if (!engineKeepsRows(engine)) {
        std::string question = engine + " does not keep the rows of a table for good. Change the engine anyway?";
        if (MessageBoxA(dialog, question.c_str(), "Are you sure?", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    for (const std::string& table : tables) {
        std::string text = alterEngineSql(qualifiedTable(state.catalog, table), engine, state.session.dialect());
        setItemText(dialog, IDC_ADMIN_STATEMENT, text.c_str());
        state.session.run(text);
    }
    EndDialog(dialog, IDOK);
}

void diagnose(HWND dialog, MySqlDialogState& state) {
    LRESULT choice = SendDlgItemMessageA(dialog, IDC_ADMIN_CHOICE, CB_GETCURSEL, 0, 0);
    const std::vector<DiagnosticMode>& modes = diagnosticModes();
    if (choice < 0 || choice >= static_cast<LRESULT>(modes.size()))
        return;
    const DiagnosticMode& mode = modes[choice];
    std::string report;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (const std::string& table : selectedTables(dialog)) {
        std::string text = diagnosticSql(mode, qualifiedTable(state.catalog, table), state.session.dialect());
        setItemText(dialog, IDC_ADMIN_STATEMENT, text.c_str());
        report += runDiagnostic(state.session, state.dataSource, mode, state.catalog, table, dialog);
    }
    SetCursor(previous);
    setItemText(dialog, IDC_ADMIN_STATEMENT, "");
    DialogBoxParamA(instance(), "TABLE_DIAG", dialog, boundDialogProc<std::string, handleReport>,
                    reinterpret_cast<LPARAM>(&report));
}

void initialise(HWND dialog, MySqlDialogState& state) {
    listTables(dialog, state);
    if (state.diagnostics) {
        SetWindowTextA(dialog, "Table diagnostics");
        setItemText(dialog, IDC_ADMIN_CHOICE_GROUP, "Mode");
        std::vector<std::string> names;
        for (const DiagnosticMode& mode : diagnosticModes())
            names.push_back(mode.name);
        fillCombo(dialog, IDC_ADMIN_CHOICE, names);
        return;
    }
    MySqlRows engines;
    state.session.run("show engines", &engines);
    fillCombo(dialog, IDC_ADMIN_CHOICE, offeredEngines(engines));
    comboSelectPrefix(dialog, IDC_ADMIN_CHOICE, "INNODB");
}

INT_PTR handleTables(HWND dialog, MySqlDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, state);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        if (state.diagnostics)
            diagnose(dialog, state);
        else
            changeEngines(dialog, state);
        return TRUE;
    }
    return FALSE;
}

void openTables(HWND owner, const MySqlAdminTarget& target, bool diagnostics) {
    MySqlDialogState state(target, owner);
    state.diagnostics = diagnostics;
    DialogBoxParamA(instance(), "ALTER_TABLE", owner, boundDialogProc<MySqlDialogState, handleTables>,
                    reinterpret_cast<LPARAM>(&state));
}

}  // namespace

void openAlterTable(HWND owner, const MySqlAdminTarget& target) {
    openTables(owner, target, false);
}

void openTableDiagnostics(HWND owner, const MySqlAdminTarget& target) {
    openTables(owner, target, true);
}
