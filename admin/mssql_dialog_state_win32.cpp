// The SQL Server dialogs' shared state, the one-per-kind slots, and their entry point.
#include "admin/mssql_dialog_state.h"

#include <vector>

#include "admin/mssql_sql.h"
#include "admin/mysql_dialog_state.h"
#include "base/bound_dialog.h"
#include "base/ui.h"

namespace {

const int kKinds = 8;
// The open dialog of each kind: the process-wide slots.
SqlServerDialogState* slots[kKinds] = {};

int slotOf(SqlServerDialog kind) {
    return static_cast<int>(kind);
}

// A second dialog of a kind ends before it shows; the first keeps its slot.
INT_PTR handleAny(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SqlServerDialogState*& slot = slots[slotOf(state.kind)];
        if (slot || !state.connection) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        slot = &state;
        state.holdsSlot = true;
    }
    return state.handler(dialog, state, message, wParam, lParam);
}

struct DialogEntry {
    const char* name;
    SqlServerHandler handler;
};
const DialogEntry kDialogs[kKinds] = {
    {"MSSQL_REPAIR_DATABASE", handleRepair}, {"MSSQL_USER_MANAGER", handleLogins}, {"MSSQL_BACKUP", handleBackup},
    {"MSSQL_RESTORE", handleRestore},        {"MSSQL_FORATTACH", handleForAttach}, {"MSSQL_ATTACH", handleAttach},
    {"MSSQL_DETACH", handleDetach},          {"MSSQL_SHRINK", handleShrink},
};

}  // namespace

SqlServerDialogState::SqlServerDialogState(SqlServerDialog dialogKind,
                                           SqlHdbc dialogConnection,
                                           HWND owner,
                                           SqlServerHandler dialogHandler,
                                           OdbcBinding& binding)
    : kind(dialogKind),
      connection(dialogConnection),
      session(binding, dialogConnection, owner),
      handler(dialogHandler) {}

SqlServerDialogState::~SqlServerDialogState() {
    if (holdsSlot)
        slots[slotOf(kind)] = nullptr;
}

const SqlServerDialogState* openSqlServerDialogOf(SqlServerDialog kind) {
    return slots[slotOf(kind)];
}

void openSqlServerDialog(HWND owner, SqlServerDialog kind, SqlHdbc connection, OdbcBinding& binding) {
    const DialogEntry& entry = kDialogs[slotOf(kind)];
    SqlServerDialogState state(kind, connection, owner, entry.handler, binding);
    DialogBoxParamA(GetModuleHandleA(nullptr), entry.name, owner, boundDialogProc<SqlServerDialogState, handleAny>,
                    reinterpret_cast<LPARAM>(&state));
}

void fillNameCombo(HWND dialog, SqlServerDialogState& state, int id, const char* query) {
    fillCombo(dialog, id, state.session.names(query));
}

bool parametersFilled(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts) {
        if (isBlank(text)) {
            warningBox("The parameters are filled in!");
            return false;
        }
    }
    return true;
}

void messageBox(HWND dialog, const std::string& text) {
    MessageBoxA(dialog, text.c_str(), "Message", MB_OK | MB_ICONINFORMATION);
}

void warningMessage(HWND dialog, const std::string& text) {
    MessageBoxA(dialog, text.c_str(), "Warning", MB_OK | MB_ICONWARNING);
}

std::string fieldText(HWND dialog, int id, int limit) {
    std::vector<char> text(limit + 1, '\0');
    getItemText(dialog, id, text.data(), limit + 1);
    return text.data();
}

void pickFile(HWND dialog, int editId, const char* title, const char* filter, bool save) {
    std::string start = fieldText(dialog, editId);
    std::string::size_type slash = start.rfind('\\');
    start = slash == std::string::npos ? std::string() : start.substr(0, slash + 1);
    if (isBlank(start)) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        start = current;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const char* chosen = save ? chooseSaveFile(dialog, instance, start.c_str(), title)
                              : chooseFile(dialog, instance, start.c_str(), title, filter);
    if (!chosen || !*chosen)
        return;
    setItemText(dialog, editId, chosen);
    SetFocus(GetDlgItem(dialog, editId));
}
