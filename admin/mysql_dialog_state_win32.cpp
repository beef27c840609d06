// The state and control helpers the MySQL dialogs share.
#include "admin/mysql_dialog_state.h"

#include "base/ui.h"

MySqlDialogState::MySqlDialogState(const MySqlAdminTarget& target, HWND owner)
    : session(odbcBinding(), target.connection, owner), dataSource(target.dataSource) {}

void fillCombo(HWND dialog, int id, const std::vector<std::string>& items) {
    SendDlgItemMessageA(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, 0, 0);
}

std::vector<std::string> comboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, i, 0);
        std::string text(length > 0 ? length + 1 : 1, '\0');
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length > 0 ? length : 0);
        items.push_back(text);
    }
    return items;
}

std::vector<bool> boxes(HWND dialog, int first, int count) {
    std::vector<bool> flags;
    for (int i = 0; i < count; ++i)
        flags.push_back(isItemChecked(dialog, first + i));
    return flags;
}

void setBoxes(HWND dialog, int first, const std::vector<bool>& flags) {
    for (std::size_t i = 0; i < flags.size(); ++i)
        setItemChecked(dialog, first + static_cast<int>(i), flags[i]);
}
