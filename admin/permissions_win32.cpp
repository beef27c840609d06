// "PERMISSIONS": an account's privileges on a database, its tables and their fields. Choosing a
// user, database, table or field refreshes the levels below it; the Update buttons grant and
// revoke what differs from what the server holds.
#include "admin/mysql_dialog_state.h"
#include "base/bound_dialog.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

struct Permissions {
    explicit Permissions(const MySqlAdminTarget& target, HWND owner) : state(target, owner) {}
    MySqlDialogState state;
    std::vector<bool> database, table, column;  // as loaded from the server
};

enum class Level { user, database, table, field };

MySqlAccount account(HWND dialog) {
    return splitUserKey(comboSelectedText(dialog, IDC_USER_KEY));
}

std::vector<std::string> firstColumn(MySqlSession& session, const std::string& text) {
    MySqlRows rows;
    std::vector<std::string> values;
    if (session.run(text, &rows))
        for (const auto& row : rows)
            values.push_back(row.empty() ? std::string() : row[0]);
    return values;
}

void refresh(HWND dialog, Permissions& p, Level level) {
    MySqlSession& session = p.state.session;
    MySqlAccount who = account(dialog);
    std::string db = comboSelectedText(dialog, IDC_PERM_DATABASE);
    if (level <= Level::database) {
        fillCombo(dialog, IDC_PERM_TABLE, db.empty() ? std::vector<std::string>() : session.tables(db));
        p.database = session.databaseFlags(who, db);
        setBoxes(dialog, IDC_PRIVILEGE_FIRST, p.database);
    }
    std::string table = comboSelectedText(dialog, IDC_PERM_TABLE);
    if (level <= Level::table) {
        fillCombo(dialog, IDC_PERM_FIELD,
                  table.empty() ? std::vector<std::string>()
                                : firstColumn(session, "show columns from " + qualifiedTable(db, table)));
        p.table = session.tableFlags(who, db, table);
        setBoxes(dialog, IDC_PERM_TABLE_FIRST, p.table);
    }
    p.column = session.columnFlags(who, db, table, comboSelectedText(dialog, IDC_PERM_FIELD));
    setBoxes(dialog, IDC_PERM_COLUMN_FIRST, p.column);
}

void updateDatabase(HWND dialog, Permissions& p) {
    std::string db = comboSelectedText(dialog, IDC_PERM_DATABASE);
    MySqlSession& session = p.state.session;
    session.runAll(privilegeChanges(databasePrivileges(), 10, p.database, boxes(dialog, IDC_PRIVILEGE_FIRST, 10),
                                    quoteName(db) + ".*", account(dialog), session.dialect()));
    p.database = session.databaseFlags(account(dialog), db);
    setBoxes(dialog, IDC_PRIVILEGE_FIRST, p.database);
}

// One table, or every table of the list; a failure on one does not stop the next.
void updateTables(HWND dialog, Permissions& p, bool all) {
    std::string db = comboSelectedText(dialog, IDC_PERM_DATABASE);
    MySqlSession& session = p.state.session;
    MySqlAccount who = account(dialog);
    std::vector<std::string> tables =
        all ? comboItems(dialog, IDC_PERM_TABLE) : std::vector<std::string>{comboSelectedText(dialog, IDC_PERM_TABLE)};
    std::vector<bool> after = boxes(dialog, IDC_PERM_TABLE_FIRST, 10);
    for (const std::string& table : tables) {
        if (table.empty())
            continue;
        std::vector<bool> before = session.tableFlags(who, db, table);
        session.runAll(
            privilegeChanges(tablePrivileges(), 10, before, after, qualifiedTable(db, table), who, session.dialect()));
    }
    refresh(dialog, p, Level::table);
}

void updateFields(HWND dialog, Permissions& p, bool all) {
    std::string db = comboSelectedText(dialog, IDC_PERM_DATABASE);
    std::string table = comboSelectedText(dialog, IDC_PERM_TABLE);
    MySqlSession& session = p.state.session;
    MySqlAccount who = account(dialog);
    std::vector<std::string> fields =
        all ? comboItems(dialog, IDC_PERM_FIELD) : std::vector<std::string>{comboSelectedText(dialog, IDC_PERM_FIELD)};
    std::vector<bool> after = boxes(dialog, IDC_PERM_COLUMN_FIRST, 4);
    for (const std::string& field : fields) {
        if (field.empty())
            continue;
        std::vector<bool> before = session.columnFlags(who, db, table, field);
        session.runAll(privilegeChanges(columnPrivileges(), 4, before, after, qualifiedTable(db, table), who,
                                        session.dialect(), field));
    }
    refresh(dialog, p, Level::field);
}

INT_PTR handlePermissions(HWND dialog, Permissions& p, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        fillCombo(dialog, IDC_USER_KEY, p.state.session.userKeys());
        fillCombo(dialog, IDC_PERM_DATABASE, firstColumn(p.state.session, "show databases"));
        refresh(dialog, p, Level::user);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    if (id >= IDC_USER_KEY && id <= IDC_PERM_FIELD) {
        if (HIWORD(wParam) != CBN_SELCHANGE)
            return FALSE;
        static const Level kLevels[] = {Level::user, Level::database, Level::table, Level::field};
        refresh(dialog, p, kLevels[id - IDC_USER_KEY]);
        return TRUE;
    }
    switch (id) {
        case IDC_PERM_UPDATE_DATABASE:
            updateDatabase(dialog, p);
            return TRUE;
        case IDC_PERM_UPDATE_TABLE:
        case IDC_PERM_UPDATE_ALL_TABLES:
            updateTables(dialog, p, id == IDC_PERM_UPDATE_ALL_TABLES);
            return TRUE;
        case IDC_PERM_UPDATE_FIELD:
        case IDC_PERM_UPDATE_ALL_FIELDS:
            updateFields(dialog, p, id == IDC_PERM_UPDATE_ALL_FIELDS);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void openPermissions(HWND owner, const MySqlAdminTarget& target) {
    Permissions permissions(target, owner);
    DialogBoxParamA(GetModuleHandleA(nullptr), "PERMISSIONS", owner, boundDialogProc<Permissions, handlePermissions>,
                    reinterpret_cast<LPARAM>(&permissions));
}
