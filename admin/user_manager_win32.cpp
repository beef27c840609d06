// "MYSQL_USER_MANAGER": accounts with their global privileges, created, changed and dropped with
// the server's own account statements.
#include "admin/mysql_dialog_state.h"
#include "base/bound_dialog.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

const int kBoxes = 28;

void fillUsers(HWND dialog, MySqlDialogState& state) {
    fillCombo(dialog, IDC_USER_KEY, state.session.userKeys());
}

MySqlAccount typedAccount(HWND dialog) {
    return {itemText(dialog, IDC_USER_NAME), itemText(dialog, IDC_USER_HOST)};
}

void clearFields(HWND dialog, MySqlDialogState& state, bool withPasswords) {
    for (int id : {IDC_USER_NAME, IDC_USER_HOST, IDC_USER_PASSWORD, IDC_USER_RETYPE})
        if (withPasswords || (id != IDC_USER_PASSWORD && id != IDC_USER_RETYPE))
            setItemText(dialog, id, "");
    setBoxes(dialog, IDC_PRIVILEGE_FIRST, std::vector<bool>(kBoxes, false));
    state.haveLoaded = false;
}

void loadUser(HWND dialog, MySqlDialogState& state) {
    MySqlAccount account = splitUserKey(comboSelectedText(dialog, IDC_USER_KEY));
    setItemText(dialog, IDC_USER_NAME, account.user.c_str());
    setItemText(dialog, IDC_USER_HOST, account.host.c_str());
    std::vector<bool> flags;
    if (!state.session.globalFlags(account, flags))
        return;
    setBoxes(dialog, IDC_PRIVILEGE_FIRST, flags);
    state.loaded = flags;
    state.loadedAccount = account;
    state.haveLoaded = true;
}

// The password typed twice alike, or the warning and false.
bool password(HWND dialog, std::string& text) {
    text = itemText(dialog, IDC_USER_PASSWORD);
    if (text != itemText(dialog, IDC_USER_RETYPE)) {
        MessageBoxA(dialog, "Different passwords!", "Warning", MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

void create(HWND dialog, MySqlDialogState& state) {
    std::string secret;
    if (!password(dialog, secret))
        return;
    MySqlAccount account = typedAccount(dialog);
    const MySqlDialect& dialect = state.session.dialect();
    std::vector<bool> none(kBoxes, false);
    if (!state.session.run(createUserSql(account, secret, dialect)))
        return;
    state.session.runAll(privilegeChanges(globalPrivileges(), kWrittenGlobalPrivileges, none,
                                          boxes(dialog, IDC_PRIVILEGE_FIRST, kBoxes), "*.*", account, dialect));
    clearFields(dialog, state, true);
    fillUsers(dialog, state);
}

void update(HWND dialog, MySqlDialogState& state) {
    std::string secret;
    if (!password(dialog, secret))
        return;
    MySqlAccount account = typedAccount(dialog);
    const MySqlDialect& dialect = state.session.dialect();
    // Only the boxes the user changed since the account was read are granted or revoked.
    std::vector<bool> before;
    bool same =
        state.haveLoaded && state.loadedAccount.user == account.user && state.loadedAccount.host == account.host;
    if (same)
        before = state.loaded;
    else if (!state.session.globalFlags(account, before))
        return;
    if (!secret.empty() && !state.session.run(passwordSql(account, secret, dialect)))
        return;
    std::vector<bool> after = boxes(dialog, IDC_PRIVILEGE_FIRST, kBoxes);
    if (state.session.runAll(
            privilegeChanges(globalPrivileges(), kWrittenGlobalPrivileges, before, after, "*.*", account, dialect))) {
        state.loaded = after;
        state.loadedAccount = account;
        state.haveLoaded = true;
    }
}

void remove(HWND dialog, MySqlDialogState& state) {
    std::string text = dropUserSql(typedAccount(dialog), state.session.dialect());
    if (MessageBoxA(dialog, text.c_str(), "Are you sure?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!state.session.run(text))
        return;
    clearFields(dialog, state, false);
    fillUsers(dialog, state);
}

INT_PTR handleUsers(HWND dialog, MySqlDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (int id : {IDC_USER_NAME, IDC_USER_HOST, IDC_USER_PASSWORD, IDC_USER_RETYPE})
            SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 64, 0);
        fillUsers(dialog, state);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_USER_KEY:
            if (HIWORD(wParam) == CBN_CLOSEUP)
                loadUser(dialog, state);
            return HIWORD(wParam) == CBN_CLOSEUP;
        case IDC_USER_ALL:
        case IDC_USER_NONE:
            setBoxes(dialog, IDC_PRIVILEGE_FIRST, std::vector<bool>(kBoxes, LOWORD(wParam) == IDC_USER_ALL));
            return TRUE;
        case IDC_USER_CREATE:
            create(dialog, state);
            return TRUE;
        case IDC_USER_UPDATE:
            update(dialog, state);
            return TRUE;
        case IDC_USER_DELETE:
            remove(dialog, state);
            return TRUE;
        case IDC_USER_EXIT:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void openUserManager(HWND owner, const MySqlAdminTarget& target) {
    MySqlDialogState state(target, owner);
    DialogBoxParamA(GetModuleHandleA(nullptr), "MYSQL_USER_MANAGER", owner,
                    boundDialogProc<MySqlDialogState, handleUsers>, reinterpret_cast<LPARAM>(&state));
}
