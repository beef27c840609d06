// The ODBC explorer opened from the main menu over the real driver manager: the data sources, the
// tables SQLite and MariaDB list, a table's children, the Show/Hide toggles, closing (also while a
// login is on the stack) and the splitter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "browse/browse_view.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_table.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/odbc_window_fixture.h"
#include "tests/win32/screenshot.h"

namespace {

using Labels = std::vector<std::string>;

std::string itemText(HWND tree, HTREEITEM item) {
    char text[600] = "";
    TVITEMA tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return text;
}

Labels childLabels(HWND tree, HTREEITEM parent) {
    Labels labels;
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child; child = TreeView_GetNextSibling(tree, child))
        labels.push_back(itemText(tree, child));
    return labels;
}

HTREEITEM findChild(HWND tree, HTREEITEM parent, const std::string& text) {
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child; child = TreeView_GetNextSibling(tree, child))
        if (itemText(tree, child) == text)
            return child;
    return nullptr;
}

bool contains(const Labels& labels, const std::string& text) {
    return std::find(labels.begin(), labels.end(), text) != labels.end();
}

Labels menuTexts(HMENU menu) {
    Labels texts;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    if (menu)
        DestroyMenu(menu);
    return texts;
}

class Explorer : public OdbcWindowTest {
  protected:
    void SetUp() override {
        OdbcWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        runStatements(odbc_test::kSqliteDsn,
                      {"CREATE TABLE IF NOT EXISTS explorer_table (a INTEGER)",
                       "CREATE VIEW IF NOT EXISTS explorer_view AS SELECT a FROM explorer_table"});
        explorer_ = openFromMenu(IDM_ODBC_EXPLORER, explorerWindow);
        ASSERT_NE(explorer_, nullptr) << "explorer not created";
        ASSERT_TRUE(IsWindow(explorer_));
        tree_ = GetDlgItem(explorer_, IDC_EXPLORER_TREE);
        ASSERT_NE(tree_, nullptr);
        root_ = TreeView_GetRoot(tree_);
        ASSERT_NE(root_, nullptr) << "no data-source branch";
    }
    void TearDown() override {
        // A test may have opened the explorer again.
        opened_ = explorer_;
        OdbcWindowTest::TearDown();
        explorerFlags() = ExplorerFlags{};
    }

    HTREEITEM select(HTREEITEM parent, const std::string& text) {
        HTREEITEM item = findChild(tree_, parent, text);
        if (item)
            TreeView_SelectItem(tree_, item);
        return item;
    }
    ExplorerNode* node(HTREEITEM item) { return nodeOf(tree_, item); }
    bool menuItemGrey() const {
        return (GetMenuState(GetMenu(main_), IDM_ODBC_EXPLORER, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    void expectClosedClean() {
        EXPECT_FALSE(IsWindow(explorer_));
        EXPECT_EQ(odbcBinding().liveConnections(), 0);
        EXPECT_EQ(odbcBinding().users(), 0);
        EXPECT_FALSE(odbcBinding().loaded());
        // The main window forgets the explorer when told; a destroyed main window hears nothing.
        if (IsWindow(main_)) {
            EXPECT_EQ(explorerWindow(), nullptr);
            EXPECT_FALSE(menuItemGrey());
        }
    }

    HWND explorer_ = nullptr;
    HWND tree_ = nullptr;
    HTREEITEM root_ = nullptr;
};

TEST_F(Explorer, OpensFromTheMenuListsTheDataSourcesAndClosesFreeingEverything) {
    EXPECT_EQ(harness::windowText(explorer_), "ODBC explorer");
    EXPECT_TRUE(menuItemGrey());
    EXPECT_EQ(itemText(tree_, root_), "DSN");
    // A second menu command brings the same window forward.
    SendMessageA(main_, WM_COMMAND, IDM_ODBC_EXPLORER, 0);
    EXPECT_EQ(explorerWindow(), explorer_);

    Labels sources = childLabels(tree_, root_);
    EXPECT_TRUE(std::is_sorted(sources.begin(), sources.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    std::vector<std::string> expected = {odbc_test::kSqliteDsn, odbc_test::kAccentedDsn, odbc_test::kHungarianDsn};
    if (odbc_test::mariaDbConfigured())
        expected.push_back(odbc_test::kMariaDbDsn);
    for (const std::string& name : expected)
        EXPECT_TRUE(contains(sources, name)) << name;

    ASSERT_NE(select(root_, odbc_test::kSqliteDsn), nullptr);
    EXPECT_EQ(odbcBinding().liveConnections(), 1);
    EXPECT_EQ(harness::windowText(GetDlgItem(explorer_, IDC_EXPLORER_PATH)), odbc_test::kSqliteDsn);
    SendMessageA(explorer_, WM_CLOSE, 0, 0);
    expectClosedClean();
}

TEST_F(Explorer, ListsTablesAndViewsOfSqliteWithTheirChildren) {
    HTREEITEM source = select(root_, odbc_test::kSqliteDsn);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(node(source)->populated);
    Labels children = childLabels(tree_, source);
    ASSERT_GE(children.size(), 2u);
    EXPECT_EQ(children[children.size() - 2], "General information");
    EXPECT_EQ(children.back(), "command");
    TreeView_Expand(tree_, source, TVE_EXPAND);

    struct Case {
        const char* table;
        int flavour;
        int image;
        Labels children;  // at least these, in this order, and for a view exactly these
    };
    const Case cases[] = {
        {"explorer_view", node_flavour::kView, tree_image::kTablesView, {"Fields", "Browse"}},
        {"explorer_table", node_flavour::kTable, tree_image::kTables, {"Fields", "Browse", "Statistics"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        HTREEITEM table = select(source, c.table);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(node(table)->flavour, c.flavour);
        EXPECT_EQ(node(table)->connection, node(source)->connection);
        TVITEMA tvi{};
        tvi.mask = TVIF_IMAGE;
        tvi.hItem = table;
        TreeView_GetItem(tree_, &tvi);
        EXPECT_EQ(tvi.iImage, c.image);
        Labels got = childLabels(tree_, table);
        ASSERT_GE(got.size(), c.children.size());
        EXPECT_TRUE(std::equal(c.children.begin(), c.children.end(), got.begin()));
        if (c.flavour == node_flavour::kView) {
            EXPECT_EQ(got, c.children);
        }
        EXPECT_EQ(harness::windowText(GetDlgItem(explorer_, IDC_EXPLORER_PATH)),
                  std::string(odbc_test::kSqliteDsn) + "." + c.table);
        TreeView_Expand(tree_, table, TVE_EXPAND);
    }
    harness::pumpMessages(50);
    harness::saveScreenshot(explorer_, "explorer_sqlite.bmp");

    // The saved command: the editor and its buttons come with it, and leaving keeps the edited text.
    HWND editor = GetDlgItem(explorer_, IDC_EXPLORER_EDITOR);
    HTREEITEM command = select(source, "command");
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(IsWindowVisible(editor) && IsWindowEnabled(editor));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(explorer_, IDC_EXPLORER_EXECUTE)));
    SetWindowTextA(editor, "select * from explorer_table");
    select(source, "General information");
    EXPECT_EQ(node(command)->text, "select * from explorer_table");
    EXPECT_EQ(harness::windowText(editor), "");
    select(source, "command");
    EXPECT_EQ(harness::windowText(editor), "select * from explorer_table");
}

TEST_F(Explorer, TogglesReadHideOrShowAndHidingViewsRefreshesTheList) {
    HTREEITEM source = select(root_, odbc_test::kSqliteDsn);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(findChild(tree_, source, "explorer_view"), nullptr);
    Labels rootMenu = menuTexts(buildNodeMenu(*node(root_), ""));
    EXPECT_EQ(rootMenu, (Labels{"&Refresh DSN-list", "Hide system tables", "Hide views", "Hide aliases and synonyms"}));

    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_SOURCE_VIEWS, 0);
    source = findChild(tree_, root_, odbc_test::kSqliteDsn);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(node(source)->populated);
    EXPECT_EQ(findChild(tree_, source, "explorer_view"), nullptr);
    EXPECT_NE(findChild(tree_, source, "explorer_table"), nullptr);
    EXPECT_EQ(odbcBinding().liveConnections(), 1) << "the refresh keeps only the new connection";
    Labels sourceMenu = menuTexts(buildNodeMenu(*node(source), "SQLite"));
    EXPECT_EQ(sourceMenu, (Labels{"&Copy table...", "&Copy table 2...", "&Refresh DSN-list", "Refresh &table-list",
                                  "Hide system tables", "Show views", "Hide aliases and synonyms"}));

    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_TOGGLE_VIEWS, 0);
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_REFRESH_TABLES, 0);
    EXPECT_NE(findChild(tree_, source, "explorer_view"), nullptr);

    // Refreshing the data-source list closes every connection and lists the sources again.
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_REFRESH_DSN, 0);
    EXPECT_EQ(odbcBinding().liveConnections(), 0);
    root_ = TreeView_GetRoot(tree_);
    EXPECT_TRUE(contains(childLabels(tree_, root_), odbc_test::kSqliteDsn));
}

// Which node offers which menu, by the server behind it: texts in order, and the first and last id.
TEST(ExplorerMenus, DependOnTheNodeAndItsServer) {
    const Labels sourceItems = {"&Copy table...",           "&Copy table 2...",   "&Refresh DSN-list",
                                "Refresh &table-list",      "Hide system tables", "Hide views",
                                "Hide aliases and synonyms"};
    auto with = [&](Labels more) {
        Labels all = sourceItems;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    struct Case {
        int kind;
        int level;
        const char* dbms;
        Labels texts;
        UINT firstId, lastId;
    };
    const Case cases[] = {
        {node_kind::kDataSource, 1, "SQLite", sourceItems, 1027, 1046},
        {node_kind::kDataSource, 1, "MariaDB",
         with({"&User manager...", "&Permissions...", "&Alter table...", "Table diagnostics...", "Flush..."}), 1027,
         1035},
        {node_kind::kDataSource, 1, "Microsoft SQL Server",
         with({"Repair database", "User manager", "Backup database", "Restore database", "Create database for attach",
               "Attach database", "Detach database", "Shrink database"}),
         1027, 1057},
        {node_kind::kTable, 2, "MariaDB", {"&drop table...", "&delete from..."}, 1030, 1031},
        {node_kind::kColumnList, 3, "MariaDB", {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.dbms);
        ExplorerNode node;
        node.kind = c.kind;
        node.level = c.level;
        HMENU menu = buildNodeMenu(node, c.dbms);
        if (c.texts.empty()) {
            EXPECT_EQ(menu, nullptr);
            continue;
        }
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemID(menu, 0), c.firstId);
        EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), c.lastId);
        EXPECT_EQ(menuTexts(menu), c.texts);
    }
}

TEST_F(Explorer, MariaDbKeepsTheCatalogAndOffersTheServerViews) {
    if (!odbc_test::mariaDbConfigured())
        GTEST_SKIP() << "no MariaDB server (bash tools/mariadb.sh start)";
    runStatements(odbc_test::kMariaDbDsn, {"CREATE TABLE IF NOT EXISTS quarrow.user (id INT PRIMARY KEY)"});
    HTREEITEM source = select(root_, odbc_test::kMariaDbDsn);
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(node(source)->populated) << (ui_.errors.empty() ? "" : ui_.errors.back());
    Labels children = childLabels(tree_, source);
    for (const char* view :
         {"Show databases", "Show table status", "Show status", "Show variables", "Show processlist"})
        EXPECT_TRUE(contains(children, view)) << view;

    struct Case {
        const char* label;
        const char* catalog;
    };
    for (const Case& c : {Case{"mysql.user", "mysql"}, Case{"user", "quarrow"}}) {
        SCOPED_TRACE(c.label);
        HTREEITEM table = select(source, c.label);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(node(table)->name, "user");
        EXPECT_EQ(node(table)->catalog, c.catalog);
        Labels tableChildren = childLabels(tree_, table);
        ASSERT_FALSE(tableChildren.empty());
        EXPECT_FALSE(contains(tableChildren, "Foreign keys"));
        EXPECT_FALSE(contains(tableChildren, "Column privileges"));
        EXPECT_EQ(node(TreeView_GetChild(tree_, table))->catalog, c.catalog);
    }
    SendMessageA(explorer_, WM_CLOSE, 0, 0);
    expectClosedClean();
}

// A close that arrives while connecting waits on the login dialog happens once the connect returns;
// the main window going away meanwhile takes the explorer along, and its connections go afterwards.
TEST_F(Explorer, ClosingDuringALoginWaitsForTheConnectToReturn) {
    struct Case {
        const char* what;
        bool destroyMain;
    };
    for (const Case& c : {Case{"explorer closed", false}, Case{"main window destroyed", true}}) {
        SCOPED_TRACE(c.what);
        if (!IsWindow(explorer_)) {
            SendMessageA(main_, WM_COMMAND, IDM_ODBC_EXPLORER, 0);
            explorer_ = explorerWindow();
            ASSERT_NE(explorer_, nullptr);
            tree_ = GetDlgItem(explorer_, IDC_EXPLORER_TREE);
            root_ = TreeView_GetRoot(tree_);
        }
        // The long name is cut to 255 characters, so the data source is not found: the login follows.
        HTREEITEM source = findChild(tree_, root_, odbc_test::longDsnName().substr(0, 255));
        ASSERT_NE(source, nullptr);
        bool aliveDuringLogin = false;
        ui_.confirmLogin = false;
        ui_.duringLogin = [&] {
            if (c.destroyMain)
                DestroyWindow(main_);
            else
                SendMessageA(explorer_, WM_CLOSE, 0, 0);
            aliveDuringLogin = IsWindow(explorer_) != FALSE;
        };
        TreeView_SelectItem(tree_, source);
        ui_.duringLogin = nullptr;
        harness::pumpMessages(50);
        EXPECT_EQ(aliveDuringLogin, !c.destroyMain);
        expectClosedClean();
    }
}

TEST_F(Explorer, SplitterMovesTheBoundaryAndKeepsTheRightSideWide) {
    RECT client;
    GetClientRect(explorer_, &client);
    auto treeRight = [&] {
        RECT rect;
        GetWindowRect(tree_, &rect);
        MapWindowPoints(nullptr, explorer_, reinterpret_cast<POINT*>(&rect), 2);
        return static_cast<int>(rect.right);
    };
    auto gridLeft = [&] {
        RECT rect;
        GetWindowRect(GetDlgItem(explorer_, IDC_EXPLORER_GRID), &rect);
        MapWindowPoints(nullptr, explorer_, reinterpret_cast<POINT*>(&rect), 2);
        return static_cast<int>(rect.left);
    };
    struct Case {
        int dropAt;  // where the button is released; -1: too near the right edge
        bool moves;
    };
    for (const Case& c : {Case{200, true}, Case{-1, false}, Case{150, true}}) {
        int from = treeRight();
        int to = c.dropAt < 0 ? client.right - 100 : c.dropAt;
        int y = 100;
        SendMessageA(explorer_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from + 1, y));
        EXPECT_EQ(GetCapture(), explorer_);
        SendMessageA(explorer_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, y));
        SendMessageA(explorer_, WM_LBUTTONUP, 0, MAKELPARAM(to, y));
        EXPECT_EQ(treeRight(), c.moves ? to : from) << to;
        EXPECT_EQ(gridLeft(), treeRight() + 4);
    }
    // A window made narrower than the tree and 200 pixels goes back to its size.
    RECT before;
    GetWindowRect(explorer_, &before);
    SendMessageA(explorer_, WM_ENTERSIZEMOVE, 0, 0);
    SetWindowPos(explorer_, nullptr, 0, 0, treeRight() + 50, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT after;
    GetWindowRect(explorer_, &after);
    EXPECT_GE(after.right - after.left, treeRight() + 200);
}

}  // namespace

namespace {

std::vector<std::string> resultFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((resultTableFolder() + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && lstrcmpiA(found.cFileName, "History.DBF") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

// The road of a query: Browse offers the SELECT in the SQL command window, Execute fills the
// explorer's grid and caption line, Fields lists the columns, and closing deletes every result file.
TEST_F(Explorer, BrowseAndFieldsShowResultsAndClosingDeletesTheirFiles) {
    runStatements(odbc_test::kSqliteDsn, {"DELETE FROM explorer_table", "INSERT INTO explorer_table VALUES (7)",
                                          "INSERT INTO explorer_table VALUES (8)"});
    std::vector<std::string> before = resultFiles();
    struct Case {
        const char* dsn;
        const char* table;
        const char* offered;  // the SELECT the command window offers
        long columns;         // result columns (the grid adds the deletion flag)
        long rows;            // -1: any number
    };
    std::vector<Case> cases = {{odbc_test::kSqliteDsn, "explorer_table", "SELECT * FROM \"explorer_table\"", 1, 2}};
    if (odbc_test::mariaDbConfigured())
        cases.push_back({odbc_test::kMariaDbDsn, "mysql.user", "SELECT * FROM `mysql`.`user`", 47, -1});
    HWND grid = GetDlgItem(explorer_, IDC_EXPLORER_GRID);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        HTREEITEM source = select(root_, c.dsn);
        ASSERT_NE(source, nullptr);
        HTREEITEM table = select(source, c.table);
        ASSERT_NE(table, nullptr);
        std::string offered;
        ASSERT_TRUE(harness::runDialog([&] { select(table, "Browse"); },
                                       [&](HWND dialog) {
                                           offered = harness::itemText(dialog, 104);
                                           harness::click(dialog, 101);
                                       }))
            << "no SQL command window";
        EXPECT_EQ(offered, c.offered);
        BrowseView* view = browseViewOf(grid);
        ASSERT_NE(view, nullptr) << "no result in the grid";
        EXPECT_TRUE(IsWindowVisible(grid));
        EXPECT_EQ(view->columnCount, c.columns + 1);
        if (c.rows >= 0) {
            EXPECT_EQ(view->recordCount(*view), c.rows);
        }
        std::string caption = harness::windowText(GetDlgItem(explorer_, IDC_EXPLORER_CAPTION));
        EXPECT_EQ(caption.rfind(std::string(c.dsn) + "." + c.table + ".Browse - ", 0), 0u) << caption;
        EXPECT_EQ(harness::windowText(GetDlgItem(explorer_, IDC_EXPLORER_COMMAND_LINE)), c.offered);
        harness::pumpMessages(30);
        harness::saveScreenshot(explorer_, c.dsn == std::string(odbc_test::kSqliteDsn) ? "explorer_browse_sqlite.bmp"
                                                                                       : "explorer_browse_mariadb.bmp");

        select(table, "Fields");
        view = browseViewOf(grid);
        ASSERT_NE(view, nullptr) << "no column list";
        EXPECT_EQ(view->recordCount(*view), c.columns);
        EXPECT_STREQ(view->permissions, "NNNII");
    }
    EXPECT_GT(resultFiles().size(), before.size());
    SendMessageA(explorer_, WM_CLOSE, 0, 0);
    expectClosedClean();
    EXPECT_EQ(resultFiles(), before);
}
