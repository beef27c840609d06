// COPYTABLE2: ticking tables of one data source and copying them, each under its own name, into one
// target under PROGRESS2 ("Table copy ...").
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "copy/table_copy_dialog.h"
#include "copy/table_copy_dialog_parts.h"
#include "copy/table_copy_log.h"
#include "copy/table_copy_report.h"
#include "copy/table_copy_tables.h"
#include "resources/resource.h"

namespace {

CopyDialogState* openDialog = nullptr;

const int kInputs[] = {IDC_COPY_TABLES,    IDC_COPY_INVERT,       IDC_COPY_CHECK_ALL,
                       IDC_COPY_CLEAR_ALL, IDC_COPY_CREATE_CHECK, IDC_COPY_LOWERCASE_CHECK,
                       IDC_COPY_MAPPING,   IDC_COPY_FIELD_TYPES,  IDC_COPY_DESTINATIONS};

HWND tableList(HWND dialog) {
    return GetDlgItem(dialog, IDC_COPY_TABLES);
}

void fillTableList(HWND dialog, CopyDialogState& state) {
    HWND list = tableList(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT);
    const struct {
        const char* title;
        int width;
    } columns[] = {{"Table name", 250}, {"Schema", 100}, {"Table type", 160}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        ListView_InsertColumn(list, i, &column);
    }
    std::vector<CopyTableEntry> tables;
    if (!listCopyTables(odbcBinding(), state.source, &tables))
        odbcBinding().reportError(odbcBinding().environment(), state.source, nullptr, dialog);
    int row = 0;
    for (const CopyTableEntry& table : tables) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(table.name.c_str());
        int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        ListView_SetItemText(list, at, 1, const_cast<char*>(table.schema.c_str()));
        ListView_SetItemText(list, at, 2, const_cast<char*>(table.type.c_str()));
        ListView_SetCheckState(list, at, table.checked);
        ++row;
    }
}

// "I", "+" and "-": invert every tick, tick every row, clear every row.
void setTicks(HWND dialog, int how) {
    HWND list = tableList(dialog);
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i)
        ListView_SetCheckState(list, i, how == 0 ? !ListView_GetCheckState(list, i) : how > 0);
}

int runCopyTables(ProgressJob* job) {
    auto& state = *static_cast<CopyDialogState*>(job->parameter);
    HWND dialog = state.dialog;
    MultiTableCopyRequest request;
    request.source = state.source;
    HWND list = tableList(dialog);
    for (int i = 0, count = ListView_GetItemCount(list); i < count; ++i) {
        if (!ListView_GetCheckState(list, i))
            continue;
        char name[256] = {};
        ListView_GetItemText(list, i, 0, name, sizeof name);
        request.tables.push_back(name);
    }
    request.targetSource = comboSelectedText(dialog, IDC_COPY_DESTINATIONS);
    request.createTable = isItemChecked(dialog, IDC_COPY_CREATE_CHECK);
    request.lowercase = isItemChecked(dialog, IDC_COPY_LOWERCASE_CHECK);
    request.mapping = state.mapping;
    request.logPath = copyErrorLogPath();
    if (request.tables.empty() || request.targetSource.empty())
        return 1;
    std::string current;
    CopyProgress progress;
    progress.cancel = &job->cancel;
    progress.owner = dialog;
    progress.rows = [dialog, &current](long rows) {
        char text[320];
        std::snprintf(text, sizeof text, "%s - %ld", current.c_str(), rows);
        setItemText(dialog, IDC_COPY_STATUS, text);
    };
    std::vector<TableCopyRun> runs =
        copyTables(odbcBinding(), dialog, request, progress, [&current](const std::string& table) { current = table; });
    setItemText(dialog, IDC_COPY_STATUS, "");
    // The run stops at the first table that did not finish cleanly: that one is told.
    if (!runs.empty() && (runs.back().result.outcome != CopyOutcome::Finished || runs.back().result.errors > 0) &&
        reportTableCopy(odbcBinding().ui(), dialog, runs.back().result))
        openErrorLog(request.logPath);
    return 1;
}

void initialise(HWND dialog, CopyDialogState& state) {
    state.dialog = dialog;
    setItemChecked(dialog, IDC_COPY_CREATE_CHECK, true);
    setItemChecked(dialog, IDC_COPY_LOWERCASE_CHECK, true);
    fillTableList(dialog, state);
    fillDestinations(dialog, nullptr);
    setItemText(dialog, IDC_COPY_SOURCE, state.sourceName.c_str());
    fillTypeLists(dialog, state);
}

INT_PTR handleCopyTables(HWND dialog, CopyDialogState& state, UINT message, WPARAM wParam, LPARAM) {
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
                    runCopyJob(dialog, state, runCopyTables, kInputs,
                               static_cast<int>(sizeof kInputs / sizeof kInputs[0]));
                    return TRUE;
                case IDCANCEL:
                    closeUnlessCopying(dialog, state, 1);
                    return TRUE;
                case IDC_COPY_INVERT:
                    setTicks(dialog, 0);
                    return TRUE;
                case IDC_COPY_CHECK_ALL:
                    setTicks(dialog, 1);
                    return TRUE;
                case IDC_COPY_CLEAR_ALL:
                    setTicks(dialog, -1);
                    return TRUE;
                case IDC_COPY_FIELD_TYPES:
                    if (HIWORD(wParam) == LBN_DBLCLK)
                        changeMapping(dialog, state);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

void openCopyTablesDialog(void* owner, SqlHdbc source, const std::string& sourceName) {
    if (openDialog || !source)
        return;
    CopyDialogState state;
    state.source = source;
    state.sourceName = sourceName;
    openDialog = &state;
    registerCopyDialog(&state);
    HWND window = static_cast<HWND>(owner);
    HINSTANCE instance =
        window ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    DialogBoxParamA(instance, "COPYTABLE2", window, boundDialogProc<CopyDialogState, handleCopyTables>,
                    reinterpret_cast<LPARAM>(&state));
    unregisterCopyDialog(&state);
    openDialog = nullptr;
}
