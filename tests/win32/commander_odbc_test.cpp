// The commander's ODBC panels over the real drivers: connecting, a table's entries, results shown in
// the opposite panel's grid (each panel owning its own temporary table), the MySQL family's entries,
// leaving a data source, and closing with both panels connected.
#include <algorithm>
#include <string>
#include <vector>

#include "browse/browse_view.h"
#include "copy/file_entry.h"
#include "odbc/data_sources.h"
#include "odbc/result_table.h"
#include "resources/copy_ids.h"
#include "tests/win32/commander_fixture.h"
#include "tests/win32/dialog_script.h"

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kTable = "commander_table";

bool contains(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The result tables in the temporary folder (the SQL history aside).
Texts resultFiles() {
    Texts names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((resultTableFolder() + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpiA(found.cFileName, "History.DBF") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

Texts added(const Texts& before, const Texts& after) {
    Texts difference;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(difference));
    return difference;
}

bool allExist(const Texts& names) {
    Texts now = resultFiles();
    return !names.empty() &&
           std::all_of(names.begin(), names.end(), [&](const std::string& name) { return contains(now, name); });
}

bool noneExists(const Texts& names) {
    Texts now = resultFiles();
    return std::none_of(names.begin(), names.end(), [&](const std::string& name) { return contains(now, name); });
}

std::string comboSelection(HWND dialog, int id) {
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    char text[300] = "";
    if (index != CB_ERR)
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

// Column 0 and 1 of every entry of a list view.
std::vector<NodeSortKeys> rows(HWND list) {
    std::vector<NodeSortKeys> keys;
    for (int i = 0, count = ListView_GetItemCount(list); i < count; ++i) {
        char name[300] = "", description[300] = "";
        ListView_GetItemText(list, i, 0, name, sizeof name);
        ListView_GetItemText(list, i, 1, description, sizeof description);
        keys.push_back({name, description});
    }
    return keys;
}

// The entries after `from` are in the order of `column`.
bool sortedBy(const std::vector<NodeSortKeys>& keys, int column, std::size_t from = 0) {
    for (std::size_t i = from + 1; i < keys.size(); ++i)
        if (compareNodeEntries(keys[i - 1], keys[i], column) > 0)
            return false;
    return true;
}

class CommanderOdbc : public CommanderTest {
  protected:
    void SetUp() override {
        CommanderTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        runStatements(odbc_test::kSqliteDsn,
                      {"CREATE TABLE IF NOT EXISTS commander_table (a INTEGER)", "DELETE FROM commander_table",
                       "INSERT INTO commander_table VALUES (7)", "INSERT INTO commander_table VALUES (8)"});
    }

    int listId(int side) const { return panel(side).ids.odbcList; }
    // Enter on entry `entry` of a panel's ODBC list.
    void open(int side, const std::string& entry) {
        ASSERT_TRUE(focusEntry(listId(side), entry)) << entry << " not listed";
        press(item(listId(side)), VK_RETURN);
    }
    // From the data sources down to the table's entries.
    void openTable(int side, const char* dsn, const std::string& table) {
        ASSERT_NO_FATAL_FAILURE(open(side, dsn));
        ASSERT_EQ(panel(side).odbcLevel, odbc_level::kObjects);
        ASSERT_NO_FATAL_FAILURE(open(side, table));
        ASSERT_EQ(panel(side).odbcLevel, odbc_level::kTable);
    }
    void button(int id) {
        SendMessageA(dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
        harness::pumpMessages(20);
    }
};

// The road of a query: a data source, its table, "Browse" offers the SELECT and fills the opposite
// grid and its caption; leaving the grid brings the list back, and ".." refocuses the table.
TEST_F(CommanderOdbc, BrowseFillsTheOppositeGridAndDotDotRefocusesTheOpenedTable) {
    const PanelIds& left = panel(0).ids;
    const PanelIds& right = panel(1).ids;
    ASSERT_NO_FATAL_FAILURE(open(0, odbc_test::kSqliteDsn));
    EXPECT_EQ(text(left.pathLine), std::string("DSN\\") + odbc_test::kSqliteDsn + "\\");
    Texts objects = entries(left.odbcList);
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(objects.front(), "..");
    for (const char* entry : {kTable, "General information", "command"})
        EXPECT_TRUE(contains(objects, entry)) << entry;
    int tableIndex = static_cast<int>(std::find(objects.begin(), objects.end(), kTable) - objects.begin());

    ASSERT_NO_FATAL_FAILURE(open(0, kTable));
    EXPECT_EQ(text(left.pathLine), std::string("DSN\\") + odbc_test::kSqliteDsn + "\\" + kTable + "\\");
    EXPECT_EQ(entries(left.odbcList),
              (Texts{"..", "Fields", "Browse", "Statistics", "Primary keys", "Foreign keys", "Table privileges"}));
    char heading[100] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    ASSERT_TRUE(ListView_GetColumn(item(left.odbcList), 0, &column));
    EXPECT_STREQ(heading, kTable);
    EXPECT_EQ(column.cx, 400);

    std::string offered;
    ASSERT_TRUE(focusEntry(left.odbcList, "Browse"));
    ASSERT_TRUE(harness::runDialog([&] { press(item(left.odbcList), VK_RETURN); },
                                   [&](HWND window) {
                                       offered = harness::itemText(window, 104);
                                       harness::click(window, 101);
                                   }))
        << "no SQL command window";
    EXPECT_EQ(offered, "SELECT * FROM \"commander_table\"");
    EXPECT_EQ(panel(1).mode, panel_mode::kGrid);
    EXPECT_EQ(panel(0).mode, panel_mode::kDataSources) << "the opening panel keeps its list";
    BrowseView* view = browseViewOf(item(right.grid));
    ASSERT_NE(view, nullptr) << "no result in the opposite grid";
    EXPECT_EQ(view->recordCount(*view), 2);
    EXPECT_EQ(browseViewOf(item(left.grid)), nullptr);
    EXPECT_TRUE(IsWindowVisible(item(right.grid)));
    EXPECT_FALSE(IsWindowVisible(item(right.odbcList)));
    EXPECT_EQ(text(right.pathLine).rfind(std::string(odbc_test::kSqliteDsn) + "." + kTable + ".Browse - ", 0), 0u)
        << "the grid's caption: " << text(right.pathLine);
    EXPECT_EQ(text(right.message), offered);

    button(right.upButton);
    EXPECT_EQ(panel(1).mode, panel_mode::kDataSources);
    EXPECT_EQ(text(right.pathLine), "DSN\\");
    EXPECT_TRUE(IsWindowVisible(item(right.odbcList)));
    EXPECT_EQ(browseViewOf(item(right.grid)), nullptr) << "the result goes with the view";

    ASSERT_NO_FATAL_FAILURE(open(0, ".."));
    EXPECT_EQ(panel(0).odbcLevel, odbc_level::kObjects);
    EXPECT_EQ(focused(left.odbcList), tableIndex);
    EXPECT_EQ(text(left.pathLine), std::string("DSN\\") + odbc_test::kSqliteDsn + "\\");
}

// Each panel's grid owns its own temporary table: a second result in the other panel never deletes
// the first, and each goes only when its own view is left.
TEST_F(CommanderOdbc, FieldsInBothDirectionsKeepEachPanelsTable) {
    ASSERT_NO_FATAL_FAILURE(openTable(0, odbc_test::kSqliteDsn, kTable));
    ASSERT_NO_FATAL_FAILURE(openTable(1, odbc_test::kSqliteDsn, kTable));
    Texts before = resultFiles();
    ASSERT_NO_FATAL_FAILURE(open(1, "Fields"));  // into the left grid
    Texts leftFiles = added(before, resultFiles());
    // The right list's entries stay reachable through the keys while the left panel shows its grid.
    ASSERT_NO_FATAL_FAILURE(open(0, "Fields"));  // into the right grid
    Texts rightFiles = added(before, resultFiles());
    for (const std::string& name : leftFiles)
        rightFiles.erase(std::remove(rightFiles.begin(), rightFiles.end(), name), rightFiles.end());
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(panel(side).mode, panel_mode::kGrid) << side;
        BrowseView* view = browseViewOf(item(panel(side).ids.grid));
        ASSERT_NE(view, nullptr) << side;
        EXPECT_EQ(view->recordCount(*view), 1) << "one column: a";
        EXPECT_STREQ(view->permissions, "NNNII");
    }
    EXPECT_TRUE(allExist(leftFiles));
    EXPECT_TRUE(allExist(rightFiles));

    button(panel(1).ids.rootButton);
    EXPECT_TRUE(noneExists(rightFiles));
    EXPECT_TRUE(allExist(leftFiles)) << "leaving the right grid keeps the left one's table";
    EXPECT_EQ(panel(1).mode, panel_mode::kDataSources);
    EXPECT_EQ(panel(1).odbcLevel, odbc_level::kTable) << "the list under the view is still there";
    button(panel(0).ids.rootButton);
    EXPECT_TRUE(noneExists(leftFiles));
}

// A table's entries follow the driver and the server: the MySQL family never offers foreign keys or
// column privileges, and lists its own views among the objects.
TEST_F(CommanderOdbc, TableEntriesFollowTheDriverAndTheServer) {
    struct Case {
        const char* dsn;
        const char* table;
        Texts present;
        Texts absent;
    };
    std::vector<Case> cases = {{odbc_test::kSqliteDsn, kTable, {"Fields", "Browse", "Statistics"}, {"Show status"}}};
    if (odbc_test::mariaDbConfigured()) {
        runStatements(odbc_test::kMariaDbDsn, {"CREATE TABLE IF NOT EXISTS commander_keys (a INT PRIMARY KEY)"});
        cases.push_back({odbc_test::kMariaDbDsn,
                         "commander_keys",
                         {"Fields", "Browse", "Statistics", "Primary keys", "Table privileges", "Show status"},
                         {"Foreign keys", "Column privileges", "Show unused space"}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dsn);
        ASSERT_NO_FATAL_FAILURE(open(0, c.dsn));
        Texts found = entries(listId(0));
        ASSERT_NO_FATAL_FAILURE(open(0, c.table));
        Texts sub = entries(listId(0));
        found.insert(found.end(), sub.begin(), sub.end());
        for (const std::string& entry : c.present)
            EXPECT_TRUE(contains(found, entry)) << entry;
        for (const std::string& entry : c.absent)
            EXPECT_FALSE(contains(found, entry)) << entry;
        button(panel(0).ids.rootButton);
        EXPECT_EQ(panel(0).connection, nullptr);
    }
}

// The root button at level 1 closes the panel's connection: the data source node the state keeps
// loses it, and the SQL editor it opened opposite refuses to run. Closing with both panels connected
// leaves no connection behind.
TEST_F(CommanderOdbc, LeavingASourceDisconnectsAndClosingLeavesNoConnection) {
    const int base = odbcBinding().liveConnections();
    ASSERT_NO_FATAL_FAILURE(open(0, odbc_test::kSqliteDsn));
    ASSERT_NE(panel(0).connection, nullptr);
    ASSERT_NE(state()->current, nullptr);
    EXPECT_EQ(state()->current->name, odbc_test::kSqliteDsn);
    EXPECT_EQ(state()->current->connection, panel(0).connection);
    EXPECT_EQ(odbcBinding().liveConnections(), base + 1);

    ASSERT_NO_FATAL_FAILURE(open(0, "command"));
    const PanelIds& right = panel(1).ids;
    EXPECT_EQ(panel(1).mode, panel_mode::kEditor);
    EXPECT_TRUE(IsWindowVisible(item(right.editor)));
    EXPECT_TRUE(IsWindowEnabled(item(right.execute)));
    SetWindowTextA(item(right.editor), "SELECT a FROM commander_table");
    SendMessageA(item(right.editor), EM_SETSEL, 0, -1);
    button(right.execute);
    std::string executed = text(right.editor);
    EXPECT_NE(executed.find("Success."), std::string::npos) << executed;

    button(panel(0).ids.rootButton);
    EXPECT_EQ(panel(0).connection, nullptr);
    EXPECT_EQ(panel(0).odbcLevel, odbc_level::kSources);
    EXPECT_EQ(text(panel(0).ids.pathLine), "DSN\\");
    ASSERT_NE(state()->current, nullptr);
    EXPECT_EQ(state()->current->connection, nullptr);
    EXPECT_EQ(odbcBinding().liveConnections(), base);
    EXPECT_NE(panel(1).mode, panel_mode::kEditor) << "the editor that used the connection is left";
    EXPECT_FALSE(IsWindowEnabled(item(right.execute)));
    // Execute refuses even when asked directly.
    SetWindowTextA(item(right.editor), "SELECT 1");
    onEditorButton(*state(), panel(1), true);
    EXPECT_EQ(text(right.editor), "SELECT 1");

    ASSERT_NO_FATAL_FAILURE(openTable(0, odbc_test::kSqliteDsn, kTable));
    ASSERT_NO_FATAL_FAILURE(open(1, odbc_test::kSqliteDsn));
    EXPECT_EQ(odbcBinding().liveConnections(), base + 2);
    SendMessageA(dialog(), WM_CLOSE, 0, 0);
    expectClosedClean();
}

// A heading click sorts and becomes the panel's order; Ctrl+F3/F4 sort once. ".." stays on top.
TEST_F(CommanderOdbc, SortingByHeadingAndByKeys) {
    HWND list = item(listId(0));
    ASSERT_GT(ListView_GetItemCount(list), 2);
    EXPECT_TRUE(sortedBy(rows(list), 0));
    press(list, VK_F4, true);
    EXPECT_TRUE(sortedBy(rows(list), 1));
    EXPECT_EQ(panel(0).odbcSortColumn, 0) << "the keys sort once";
    press(list, VK_F3, true);
    EXPECT_TRUE(sortedBy(rows(list), 0));

    NMLISTVIEW click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(listId(0));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    SendMessageA(dialog(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(panel(0).odbcSortColumn, 1);
    EXPECT_TRUE(sortedBy(rows(list), 1));
    // Every later listing keeps the order; the objects of a source keep ".." first.
    ASSERT_NO_FATAL_FAILURE(open(0, odbc_test::kSqliteDsn));
    std::vector<NodeSortKeys> objects = rows(list);
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(objects.front().name, "..");
    EXPECT_TRUE(sortedBy(objects, 1, 1));
    press(list, VK_F3, true);
    objects = rows(list);
    EXPECT_EQ(objects.front().name, "..");
    EXPECT_TRUE(sortedBy(objects, 0, 1));
}

// A database file opens through its driver as the panel's own connection (mode 2); ".." closes it
// and goes back to the folder. A file the driver cannot open leaves the panel as it was.
TEST_F(CommanderOdbc, DatabaseFileOpensThroughItsDriverAndLeavingClosesIt) {
    // The drivers under test are the host's: the file's Windows name reaches them as the host's path.
    const std::string windowsName = "Z:\\tmp\\quarrow-commander-file.db";
    const std::string file = windowsName;
    ASSERT_TRUE(CopyFileA(QUARROW_COMMANDER_FIXTURES "parts.db", windowsName.c_str(), FALSE));
    const int base = odbcBinding().liveConnections();
    struct Case {
        std::string path;
        int type;
        bool opens;
    };
    // No Access driver is installed here.
    const Case cases[] = {{"Z:\\tmp\\quarrow-commander-file.mdb", driver_type::kAccess, false},
                          {file, driver_type::kSqlite, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ui_.errors.clear();
        EXPECT_EQ(openDatabaseFile(*state(), panel(0), c.path, c.type), c.opens);
        harness::pumpMessages(10);
        if (!c.opens) {
            EXPECT_FALSE(ui_.errors.empty()) << "the ODBC error box";
            EXPECT_EQ(panel(0).mode, panel_mode::kDataSources);
            EXPECT_EQ(panel(0).connection, nullptr);
            EXPECT_EQ(odbcBinding().liveConnections(), base);
            continue;
        }
        EXPECT_EQ(panel(0).mode, panel_mode::kDatabaseFile);
        EXPECT_EQ(panel(0).odbcLevel, odbc_level::kObjects);
        EXPECT_EQ(text(panel(0).ids.pathLine), c.path + "\\");
        Texts objects = entries(listId(0));
        ASSERT_FALSE(objects.empty());
        EXPECT_EQ(objects.front(), "..");
        EXPECT_TRUE(contains(objects, "command"));
        EXPECT_EQ(odbcBinding().liveConnections(), base + 1);
        ASSERT_NO_FATAL_FAILURE(open(0, ".."));
        EXPECT_EQ(panel(0).connection, nullptr);
        EXPECT_EQ(panel(0).mode, panel_mode::kDirectory);
        EXPECT_EQ(odbcBinding().liveConnections(), base);
    }
    DeleteFileA(windowsName.c_str());
}

// F5 on a table opens COPYTABLE with the opposite panel as the destination: its focused data source
// at the list of sources, its connected source below it.
TEST_F(CommanderOdbc, CopyTableTakesTheOppositeDataSource) {
    ASSERT_NO_FATAL_FAILURE(open(0, odbc_test::kSqliteDsn));
    ASSERT_TRUE(focusEntry(listId(0), kTable));
    struct Case {
        const char* label;
        const char* connectRight;  // the source the right panel connects to first; null: stays at the list
        const char* destination;
    };
    const Case cases[] = {{"focused source", nullptr, "QuarrowDemo"},
                          {"connected source", odbc_test::kSqliteDsn, odbc_test::kSqliteDsn}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.connectRight)
            ASSERT_NO_FATAL_FAILURE(open(1, c.connectRight));
        else
            ASSERT_TRUE(focusEntry(listId(1), "QuarrowDemo"));
        std::string destination, table;
        ASSERT_TRUE(harness::runDialog([&] { press(item(listId(0)), VK_F5); },
                                       [&](HWND window) {
                                           destination = comboSelection(window, IDC_COPY_DESTINATIONS);
                                           table = harness::itemText(window, IDC_COPY_TARGET);
                                       }))
            << "COPYTABLE did not open";
        EXPECT_EQ(destination, c.destination);
        EXPECT_EQ(table, kTable);
    }
}

}  // namespace
