// "MSSQL_USER_MANAGER": SQL Server logins with their eight server roles, created, changed and
// dropped.
#include "admin/mssql_dialog_state.h"
#include "admin/mssql_sql.h"
#include "admin/mysql_dialog_state.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

const int kRoles = 8;

void refill(HWND dialog, SqlServerDialogState& state) {
    SendDlgItemMessageA(dialog, IDC_MSSQL_DATABASE, CB_RESETCONTENT, 0, 0);
    fillNameCombo(dialog, state, IDC_MSSQL_DATABASE, kLoginListQuery);
}

void loadLogin(HWND dialog, SqlServerDialogState& state) {
    std::string login = comboSelectedText(dialog, IDC_MSSQL_DATABASE);
    if (login.empty())
        return;
    setItemText(dialog, IDC_MSSQL_FIELD2, login.c_str());
    std::vector<int> roles;
    if (!state.session.loginRoles(login, roles))
        return;
    for (int i = 0; i < kRoles; ++i)
        if (roles[i] >= 0)
            setItemChecked(dialog, IDC_MSSQL_ROLE_FIRST + i, roles[i] != 0);
}

void remove(HWND dialog, SqlServerDialogState& state) {
    std::string login = fieldText(dialog, IDC_MSSQL_FIELD2, 63);
    if (!parametersFilled({login}))
        return;
    std::string text = dropLoginSql(login);
    if (MessageBoxA(dialog, text.c_str(), "Are you sure?", MB_YESNO | MB_ICONQUESTION) == IDYES)
        state.session.run(text);
    setItemText(dialog, IDC_MSSQL_FIELD2, "");
    setBoxes(dialog, IDC_MSSQL_ROLE_FIRST, std::vector<bool>(kRoles, false));
    refill(dialog, state);
}

// The password is left as it is; every role is added or dropped by its box, each on its own.
void modify(HWND dialog, SqlServerDialogState& state) {
    std::string login = fieldText(dialog, IDC_MSSQL_FIELD2, 63);
    if (!parametersFilled({login}) || state.session.run(loginRolesSql(login)) != sql::kSuccess)
        return;
    std::vector<bool> checked = boxes(dialog, IDC_MSSQL_ROLE_FIRST, kRoles);
    for (int i = 0; i < kRoles; ++i)
        state.session.run(roleMemberSql(checked[i], login, serverRoles()[i]));
}

void create(HWND dialog, SqlServerDialogState& state) {
    std::string login = fieldText(dialog, IDC_MSSQL_FIELD2, 63);
    std::string password = fieldText(dialog, IDC_MSSQL_PASSWORD, 63);
    if (password != fieldText(dialog, IDC_MSSQL_RETYPE, 63)) {
        warningMessage(dialog, "Different password!");
        return;
    }
    if (!parametersFilled({login}) || state.session.run(createLoginSql(login, password)) != sql::kSuccess)
        return;
    for (int i = 0; i < kRoles; ++i) {
        if (!isItemChecked(dialog, IDC_MSSQL_ROLE_FIRST + i))
            continue;
        state.session.run(roleMemberSql(true, login, serverRoles()[i]));
        setItemChecked(dialog, IDC_MSSQL_ROLE_FIRST + i, false);
    }
    for (int id : {IDC_MSSQL_FIELD2, IDC_MSSQL_PASSWORD, IDC_MSSQL_RETYPE})
        setItemText(dialog, id, "");
    refill(dialog, state);
}

}  // namespace

INT_PTR handleLogins(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (int id : {IDC_MSSQL_FIELD2, IDC_MSSQL_PASSWORD, IDC_MSSQL_RETYPE})
            SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 64, 0);
        refill(dialog, state);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_MSSQL_DATABASE:
            if (HIWORD(wParam) == CBN_SELCHANGE || HIWORD(wParam) == CBN_CLOSEUP)
                loadLogin(dialog, state);
            return TRUE;
        case IDC_MSSQL_ALL:
        case IDC_MSSQL_NONE:
            setBoxes(dialog, IDC_MSSQL_ROLE_FIRST, std::vector<bool>(kRoles, LOWORD(wParam) == IDC_MSSQL_ALL));
            return TRUE;
        case IDC_MSSQL_DELETE:
            remove(dialog, state);
            return TRUE;
        case IDC_MSSQL_MODIFY:
            modify(dialog, state);
            return TRUE;
        case IDC_MSSQL_CREATE:
            create(dialog, state);
            return TRUE;
        case IDC_MSSQL_EXIT:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}
