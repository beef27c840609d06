// The pieces both table copy dialogs share.
#include "copy/table_copy_dialog_parts.h"

#include <algorithm>
#include <vector>

#include "base/ui.h"
#include "copy/create_table_text.h"
#include "copy/table_copy_dialog.h"
#include "copy/table_copy_report.h"
#include "odbc/data_sources.h"
#include "resources/resource.h"

namespace {

std::vector<CopyDialogState*> openStates;

void fillMappingList(HWND dialog, const TypeMapping& mapping) {
    SendDlgItemMessageA(dialog, IDC_COPY_MAPPING, LB_RESETCONTENT, 0, 0);
    for (const auto& [input, output] : mapping.rows)
        SendDlgItemMessageA(dialog, IDC_COPY_MAPPING, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(mappingRowText(input, output).c_str()));
}

}  // namespace

void fillTypeLists(HWND dialog, CopyDialogState& state) {
    state.mapping = identityTypeMapping();
    fillMappingList(dialog, state.mapping);
    SendDlgItemMessageA(dialog, IDC_COPY_FIELD_TYPES, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : fieldTypeNames())
        SendDlgItemMessageA(dialog, IDC_COPY_FIELD_TYPES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

bool changeMapping(HWND dialog, CopyDialogState& state) {
    LRESULT row = SendDlgItemMessageA(dialog, IDC_COPY_MAPPING, LB_GETCURSEL, 0, 0);
    std::string type = listSelectedText(dialog, IDC_COPY_FIELD_TYPES);
    if (row < 0 || row >= static_cast<LRESULT>(state.mapping.rows.size()) || type.empty())
        return false;
    state.mapping.rows[static_cast<std::size_t>(row)].second = type;
    fillMappingList(dialog, state.mapping);
    SendDlgItemMessageA(dialog, IDC_COPY_MAPPING, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    return true;
}

void fillDestinations(HWND dialog, const char* first, const CopyTableTarget* target) {
    if (first)
        SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(first));
    OdbcBinding& binding = odbcBinding();
    if (!target || target->directory.empty())
        enumerateDataSources(
            binding.environment(),
            [dialog](const char* name, const char*) {
                std::string trimmed = trimQuote(name);
                SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(trimmed.c_str()));
            },
            binding);
    LRESULT chosen = CB_ERR;
    if (target && !target->dataSource.empty()) {
        std::string name = trimQuote(target->dataSource);
        chosen = SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_SETCURSEL, chosen == CB_ERR ? 0 : static_cast<WPARAM>(chosen),
                        0);
}

void runCopyJob(HWND dialog, CopyDialogState& state, int (*run)(ProgressJob*), const int* inputs, int inputCount) {
    if (state.running) {
        warningBox("The copy table function already running.");
        return;
    }
    state.running = true;
    enableItem(dialog, IDOK, false);
    for (int i = 0; i < inputCount; ++i)
        enableItem(dialog, inputs[i], false);
    setProgressTitle(state.job, "Table copy ...");
    state.job.parameter = &state;
    state.job.run = run;
    runProgressDialog(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), dialog, &state.job);
    for (int i = 0; i < inputCount; ++i)
        enableItem(dialog, inputs[i], inputs[i] != IDC_COPY_SOURCE);
    enableItem(dialog, IDOK, true);
    state.job.cancel = 0;
    state.running = false;
}

void openErrorLog(const std::string& path) {
    if (WinExec(notepadCommand(path).c_str(), SW_SHOWNORMAL) <= 31)
        warningBox("Can't load the notepad.exe.");
}

void registerCopyDialog(CopyDialogState* state) {
    openStates.push_back(state);
}

void unregisterCopyDialog(CopyDialogState* state) {
    openStates.erase(std::remove(openStates.begin(), openStates.end(), state), openStates.end());
}

bool tableCopyRunning() {
    for (const CopyDialogState* state : openStates)
        if (state->running)
            return true;
    return false;
}

void closeUnlessCopying(HWND dialog, CopyDialogState& state, INT_PTR result) {
    if (state.running)
        state.job.cancel = 1;
    else
        EndDialog(dialog, result);
}
