// What the MySQL dialogs hold while open: the session on the data source's connection, and the
// helpers their handlers share. Windows build only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "admin/mysql_dialogs.h"
#include "admin/mysql_session.h"

struct MySqlDialogState {
    MySqlDialogState(const MySqlAdminTarget& target, HWND owner);
    MySqlSession session;
    std::string dataSource;
    bool diagnostics = false;
    std::string catalog;         // the tables' database
    MySqlAccount loadedAccount;  // whose flags `loaded` holds
    std::vector<bool> loaded;    // the flags as the server gave them
    bool haveLoaded = false;
};

// Replaces a combo box's items and selects the first.
void fillCombo(HWND dialog, int id, const std::vector<std::string>& items);
// The text of every item of a combo box.
std::vector<std::string> comboItems(HWND dialog, int id);
// The checked state of `count` boxes from `first`, and setting them.
std::vector<bool> boxes(HWND dialog, int first, int count);
void setBoxes(HWND dialog, int first, const std::vector<bool>& flags);
