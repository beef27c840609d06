// COPYTABLE: choosing the source table, the destination and the type mapping, and running the copy
// under PROGRESS2 ("Table copy ...").
#include <windows.h>

#include <cstdio>

#include "base/bound_dialog.h"
#include "base/file_platform.h"
#include "base/progress.h"
#include "base/settings.h"
#include "base/ui.h"
#include "copy/create_table_text.h"
#include "copy/table_copy.h"
#include "copy/table_copy_dialog.h"
#include "copy/table_copy_dialog_parts.h"
#include "copy/table_copy_log.h"
#include "copy/table_copy_report.h"
#include "copy/table_copy_tables.h"
#include "odbc/data_sources.h"
#include "resources/resource.h"

namespace {

const char kHtmlEntry[] = " Save to HTML";

struct CopyTableDialog : CopyDialogState {
    std::string table;
    std::string sourceQuote;
    // From the commander: where the opposite panel points; null from the explorer.
    const CopyTableTarget* target = nullptr;
};

CopyTableDialog* openDialog = nullptr;
std::string lastHtmlFolder = "C:\\";

bool htmlChosen(HWND dialog) {
    return SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_GETCURSEL, 0, 0) == 0;
}

// The CREATE TABLE text for the current SELECT text and target name, into edit 110.
void rebuildCreateText(HWND dialog, CopyTableDialog& state) {
    OdbcBinding& binding = odbcBinding();
    OdbcStatement statement(binding, state.source);
    std::vector<SourceColumn> columns;
    if (!statement.ok() || !sql::succeeded(statement.execDirect(itemText(dialog, IDC_COPY_SELECT))) ||
        !sql::succeeded(describeSourceColumns(binding, statement, &columns))) {
        statement.reportError(dialog);
        return;
    }
    std::string text;
    CreateText built = buildCreateTableText(columns, itemText(dialog, IDC_COPY_TARGET), state.mapping, false, &text);
    if (built == CreateText::TooLong)
        warningBox("The CREATE TABLE text would be longer than 65,000 characters: it is not made.");
    else if (built == CreateText::Built)
        setItemText(dialog, IDC_COPY_CREATE, text.c_str());
}

// The page for `name`: in the commander's opposite folder when it shows one, and named "out" when
// the name (such as the commander's "..") would make a hidden file.
std::string htmlFileName(const CopyTableDialog& state, const std::string& name) {
    std::string folder = state.target ? state.target->directory : std::string();
    return folder + (name.compare(0, 1, ".") == 0 ? "out" : name) + ".html";
}

// The table chosen in 104 is read, into the target table `name` and the page named after it.
void chooseTable(HWND dialog, CopyTableDialog& state, const std::string& name) {
    std::string table = comboSelectedText(dialog, IDC_COPY_TABLES);
    setItemText(dialog, IDC_COPY_TARGET, name.c_str());
    setItemText(dialog, IDC_COPY_SELECT, buildSelectText("", "", table, state.sourceQuote).c_str());
    rebuildCreateText(dialog, state);
    setItemText(dialog, IDC_COPY_FILE, htmlFileName(state, name).c_str());
}

// Selects `table` in 104: the same name, else (from the commander, whose entry may be cut short) the
// first that begins with it, else the first table.
void selectSourceTable(HWND dialog, const CopyTableDialog& state) {
    LRESULT chosen = CB_ERR;
    if (!state.table.empty()) {
        LPARAM name = reinterpret_cast<LPARAM>(state.table.c_str());
        chosen = SendDlgItemMessageA(dialog, IDC_COPY_TABLES, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), name);
        if (chosen == CB_ERR && state.target)
            chosen = SendDlgItemMessageA(dialog, IDC_COPY_TABLES, CB_FINDSTRING, static_cast<WPARAM>(-1), name);
    }
    SendDlgItemMessageA(dialog, IDC_COPY_TABLES, CB_SETCURSEL, chosen == CB_ERR ? 0 : static_cast<WPARAM>(chosen), 0);
}

void showDestination(HWND dialog, bool html) {
    for (int id : {IDC_COPY_CREATE, IDC_COPY_MAPPING, IDC_COPY_FIELD_TYPES})
        enableItem(dialog, id, !html);
    ShowWindow(GetDlgItem(dialog, IDC_COPY_CHOOSE_FILE), html ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_COPY_FILE), html ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_COPY_TARGET), html ? SW_HIDE : SW_SHOW);
}

bool confirmOverwrite(HWND dialog, const std::string& path) {
    return !platform::fileExists(path.c_str()) ||
           MessageBoxA(dialog, "The file already exist, continue ?", "Warning", MB_OKCANCEL | MB_TASKMODAL) == IDOK;
}

void chooseHtmlFile(HWND dialog) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    std::string path = chooseSaveFile(dialog, instance, lastHtmlFolder.c_str(), "Export file name");
    if (path.empty() || !confirmOverwrite(dialog, path))
        return;
    setItemText(dialog, IDC_COPY_FILE, path.c_str());
    lastHtmlFolder = path.substr(0, path.find_last_of('\\') + 1);
}

const int kInputs[] = {IDC_COPY_MAPPING, IDC_COPY_FIELD_TYPES, IDC_COPY_SELECT, IDC_COPY_CREATE,
                       IDC_COPY_SOURCE,  IDC_COPY_TARGET,      IDC_COPY_TABLES, IDC_COPY_DESTINATIONS,
                       IDC_COPY_FILE,    IDC_COPY_CHOOSE_FILE};

// The run under PROGRESS2: the page or the rows, then what the user is told.
int runTableCopy(ProgressJob* job) {
    auto& state = static_cast<CopyTableDialog&>(*static_cast<CopyDialogState*>(job->parameter));
    HWND dialog = state.dialog;
    CopyProgress progress;
    progress.cancel = &job->cancel;
    progress.owner = dialog;
    progress.rows = [dialog](long rows) { setItemText(dialog, IDC_COPY_STATUS, std::to_string(rows).c_str()); };
    OdbcBinding& binding = odbcBinding();
    if (htmlChosen(dialog)) {
        std::string path = itemText(dialog, IDC_COPY_FILE);
        OdbcStatement source(binding, state.source);
        long rows = 0;
        if (!source.ok() || !sql::succeeded(source.execDirect(itemText(dialog, IDC_COPY_SELECT))))
            source.reportError(dialog);
        else if (!writeHtmlResult(binding, source, path, setting(SET_CEGNEV), progress, &rows))
            warningBox("The file name is invalid.");
        setItemText(dialog, IDC_COPY_STATUS, "");
        return 1;
    }
    TableCopyRequest request;
    request.source = state.source;
    request.selectText = itemText(dialog, IDC_COPY_SELECT);
    request.targetSource = comboSelectedText(dialog, IDC_COPY_DESTINATIONS);
    request.targetTable = itemText(dialog, IDC_COPY_TARGET);
    request.createText = itemText(dialog, IDC_COPY_CREATE);
    request.createTable = isItemChecked(dialog, IDC_COPY_CREATE_CHECK);
    request.logPath = copyErrorLogPath();
    TableCopyResult result = copyTable(binding, dialog, request, progress);
    setItemText(dialog, IDC_COPY_STATUS, "");
    if (reportTableCopy(binding.ui(), dialog, result))
        openErrorLog(request.logPath);
    return 1;
}

void startCopy(HWND dialog, CopyTableDialog& state) {
    if (state.running) {
        warningBox("The copy table function already running.");
        return;
    }
    if (SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_GETCURSEL, 0, 0) < 0)
        return;
    if (htmlChosen(dialog) && !confirmOverwrite(dialog, itemText(dialog, IDC_COPY_FILE)))
        return;
    runCopyJob(dialog, state, runTableCopy, kInputs, static_cast<int>(sizeof kInputs / sizeof kInputs[0]));
    showDestination(dialog, htmlChosen(dialog));
}

void initialise(HWND dialog, CopyTableDialog& state) {
    state.dialog = dialog;
    OdbcBinding& binding = odbcBinding();
    state.sourceQuote = identifierQuote(odbcBinding(), state.source);
    setItemChecked(dialog, IDC_COPY_CREATE_CHECK, true);
    setItemText(dialog, IDC_COPY_SOURCE, state.sourceName.c_str());
    fillDestinations(dialog, kHtmlEntry, state.target);
    std::vector<CopyTableEntry> tables;
    if (!listCopyTables(binding, state.source, &tables))
        binding.reportError(binding.environment(), state.source, nullptr, dialog);
    for (const CopyTableEntry& table : tables)
        SendDlgItemMessageA(dialog, IDC_COPY_TABLES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(table.name.c_str()));
    selectSourceTable(dialog, state);
    fillTypeLists(dialog, state);
    // The commander names the target after its entry; the explorer after the table chosen.
    bool named = state.target && !state.table.empty();
    chooseTable(dialog, state, named ? state.table : comboSelectedText(dialog, IDC_COPY_TABLES));
    showDestination(dialog, htmlChosen(dialog));
}

INT_PTR handleCopyTable(HWND dialog, CopyTableDialog& state, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            initialise(dialog, state);
            return TRUE;
        case WM_CLOSE:
            closeUnlessCopying(dialog, state, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    startCopy(dialog, state);
                    return TRUE;
                case IDCANCEL:
                    closeUnlessCopying(dialog, state, 1);
                    return TRUE;
                case IDC_COPY_CHOOSE_FILE:
                    chooseHtmlFile(dialog);
                    return TRUE;
                case IDC_COPY_TABLES:
                    if (HIWORD(wParam) == CBN_CLOSEUP)
                        chooseTable(dialog, state, comboSelectedText(dialog, IDC_COPY_TABLES));
                    return TRUE;
                case IDC_COPY_DESTINATIONS:
                    if (HIWORD(wParam) == CBN_CLOSEUP)
                        showDestination(dialog, htmlChosen(dialog));
                    return TRUE;
                case IDC_COPY_SELECT:
                case IDC_COPY_TARGET:
                    if (HIWORD(wParam) == EN_KILLFOCUS && !state.running)
                        rebuildCreateText(dialog, state);
                    return TRUE;
                case IDC_COPY_FIELD_TYPES:
                    if (HIWORD(wParam) == LBN_DBLCLK && changeMapping(dialog, state))
                        rebuildCreateText(dialog, state);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void openCopyTableDialog(void* owner,
                         SqlHdbc source,
                         const std::string& sourceName,
                         const std::string& table,
                         const CopyTableTarget* target) {
    if (openDialog || !source)
        return;
    CopyTableDialog state;
    state.source = source;
    state.sourceName = sourceName;
    state.table = table;
    state.target = target;
    openDialog = &state;
    registerCopyDialog(&state);
    HWND window = static_cast<HWND>(owner);
    HINSTANCE instance =
        window ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    DialogBoxParamA(instance, "COPYTABLE", window, boundDialogProc<CopyTableDialog, handleCopyTable>,
                    reinterpret_cast<LPARAM>(&state));
    unregisterCopyDialog(&state);
    openDialog = nullptr;
}
