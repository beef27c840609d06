// The explorer's catalog and status views and its "Direct dBase III-access" branch, opened from the
// main menu over the real drivers: each view shows its rows, a table file opens in place in the grid
// and survives what comes after it, a text file shows in the editor, the network stays empty.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "browse/browse_commands.h"
#include "browse/browse_view.h"
#include "dbf/dbf.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_handles.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/harness.h"
#include "tests/win32/odbc_window_fixture.h"
#include "tests/win32/screenshot.h"

namespace {

constexpr const char* kScratch = "C:\\qcat_scratch";

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

std::vector<std::string> childLabels(HWND tree, HTREEITEM parent) {
    std::vector<std::string> labels;
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child; child = TreeView_GetNextSibling(tree, child))
        labels.push_back(itemText(tree, child));
    return labels;
}

// The first child whose label starts with `text` (drives carry the shell's name after them).
HTREEITEM findChild(HWND tree, HTREEITEM parent, const std::string& text) {
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child; child = TreeView_GetNextSibling(tree, child))
        if (itemText(tree, child).compare(0, text.size(), text) == 0)
            return child;
    return nullptr;
}

int childIndicator(HWND tree, HTREEITEM item) {
    TVITEMA tvi{};
    tvi.mask = TVIF_CHILDREN;
    tvi.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return tvi.cChildren;
}

void writeFile(const std::string& path, const std::string& text) {
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(out) << path;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

class ExplorerCatalog : public OdbcWindowTest {
  protected:
    void SetUp() override {
        OdbcWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        runStatements(odbc_test::kSqliteDsn,
                      {"DROP TABLE IF EXISTS qcat_keys",
                       "CREATE TABLE qcat_keys (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20))",
                       "CREATE INDEX qcat_keys_note ON qcat_keys (note)"});
        explorer_ = openFromMenu(IDM_ODBC_EXPLORER, explorerWindow);
        ASSERT_TRUE(explorer_ && IsWindow(explorer_)) << "explorer not created";
        tree_ = GetDlgItem(explorer_, IDC_EXPLORER_TREE);
        grid_ = GetDlgItem(explorer_, IDC_EXPLORER_GRID);
        ASSERT_TRUE(tree_ && grid_);
    }
    HTREEITEM root(const std::string& text) {
        for (HTREEITEM item = TreeView_GetRoot(tree_); item; item = TreeView_GetNextSibling(tree_, item))
            if (itemText(tree_, item) == text)
                return item;
        return nullptr;
    }
    HTREEITEM select(HTREEITEM parent, const std::string& text) {
        HTREEITEM item = parent ? findChild(tree_, parent, text) : nullptr;
        if (item) {
            TreeView_SelectItem(tree_, item);
            harness::pumpMessages(10);
        }
        return item;
    }
    // The rows the grid's view shows; -1 when the grid shows nothing.
    long gridRows() {
        BrowseView* view = browseViewOf(grid_);
        return view && view->table ? view->table->recCount() : -1;
    }
    std::string gridField(int field) {
        BrowseView* view = browseViewOf(grid_);
        if (!view || !view->table)
            return "<no view>";
        std::string text = view->table->getField(field);
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }

    HWND explorer_ = nullptr;
    HWND tree_ = nullptr;
    HWND grid_ = nullptr;
};

TEST_F(ExplorerCatalog, EachViewShowsItsRowsForAKnownTable) {
    struct Case {
        const char* dsn;
        const char* table;  // null: a view of the data source itself
        const char* node;
        const char* firstField;  // of some row; empty: only rows are expected
    };
    const Case cases[] = {
        {odbc_test::kSqliteDsn, "qcat_keys", "Primary keys", "id"},
        {odbc_test::kSqliteDsn, "qcat_keys", "Statistics", ""},
        {odbc_test::kSqliteDsn, nullptr, "General information", "User name"},
        {odbc_test::kMariaDbDsn, "qcat_keys", "Primary keys", "id"},
        {odbc_test::kMariaDbDsn, "qcat_keys", "Statistics", ""},
        {odbc_test::kMariaDbDsn, "qcat_keys", "Table privileges", ""},
        {odbc_test::kMariaDbDsn, nullptr, "Show databases", ""},
        {odbc_test::kMariaDbDsn, nullptr, "Show table status", ""},
        {odbc_test::kMariaDbDsn, nullptr, "Show processlist", ""},
    };
    bool mariaDb = odbc_test::mariaDbConfigured();
    std::printf("MariaDB cases %s\n", mariaDb ? "run" : "skipped (no server)");
    if (mariaDb)
        runStatements(odbc_test::kMariaDbDsn,
                      {"DROP TABLE IF EXISTS qcat_keys",
                       "CREATE TABLE qcat_keys (id INTEGER NOT NULL PRIMARY KEY, note VARCHAR(20), INDEX (note))",
                       "CREATE USER IF NOT EXISTS 'qc_r'@'%'", "GRANT SELECT ON quarrow.qcat_keys TO 'qc_r'@'%'",
                       "DROP PROCEDURE IF EXISTS qcat_p", "CREATE PROCEDURE qcat_p (IN a INTEGER) SELECT a"});
    HTREEITEM sources = root("DSN");
    ASSERT_TRUE(sources);
    for (const Case& c : cases) {
        if (!mariaDb && std::string(c.dsn) == odbc_test::kMariaDbDsn)
            continue;
        SCOPED_TRACE(std::string(c.dsn) + " " + c.node);
        HTREEITEM source = select(sources, c.dsn);
        ASSERT_TRUE(source);
        HTREEITEM parent = c.table ? select(source, c.table) : source;
        ASSERT_TRUE(parent);
        ASSERT_TRUE(select(parent, c.node)) << "no node";
        EXPECT_GT(gridRows(), 0);
        EXPECT_TRUE(ui_.errors.empty()) << ui_.errors.front();
        if (*c.firstField) {
            EXPECT_EQ(gridField(0), c.firstField);
        }
        if (std::string(c.node) == "Show table status")
            harness::saveScreenshot(explorer_, "explorer_table_status.bmp");
    }
    if (!mariaDb)
        return;
    // The procedure list's "Sho&w columns" opens the column description of the current procedure.
    ASSERT_TRUE(select(select(sources, odbc_test::kMariaDbDsn), "Stored procedures"));
    BrowseView* view = browseViewOf(grid_);
    ASSERT_TRUE(view && view->table);
    bool found = false;
    for (int ok = view->table->goTop(); ok && !view->table->isEof() && !found; ok = view->table->skip(1))
        found = gridField(2) == "qcat_p";
    ASSERT_TRUE(found) << "qcat_p is not listed";
    view->table->skip(-1);
    const BrowseCommand* command = findCommand(view->commands, 13);
    ASSERT_TRUE(command && command->handler);
    harness::MessageBoxCatcher catcher(IDCANCEL);  // the dialog has no OK: Escape closes it
    command->handler(*view);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Columns description");
    // The list outlives its data source's connection ("Refresh table-list" closes it): the command
    // then says so instead of querying through a freed handle.
    SqlHdbc connection = resultViewConnection(*view);
    ASSERT_NE(connection, nullptr) << "the list keeps its data source's connection";
    odbcBinding().freeConnection(connection);
    command->handler(*view);
    EXPECT_EQ(catcher.boxes().size(), 1u) << "no second dialog";
    ASSERT_FALSE(ui_.warnings.empty());
    EXPECT_EQ(ui_.warnings.back(), "The data source of this list is not connected any more.");
}

TEST_F(ExplorerCatalog, TheFileBranchOpensTablesInPlaceAndShowsTextFiles) {
    CreateDirectoryA(kScratch, nullptr);
    CreateDirectoryA((std::string(kScratch) + "\\other").c_str(), nullptr);
    writeFile(std::string(kScratch) + "\\other\\picture.xyz", "not shown");
    writeFile(std::string(kScratch) + "\\readme.txt", "first line\r\nsecond line");
    const std::string tablePath = std::string(kScratch) + "\\PEOPLE.DBF";
    {
        FieldDef defs[] = {{"NAME", 'C', 12, 0}};
        dbf table(tablePath.c_str());
        ASSERT_EQ(table.create(defs, 1), 1);
        ASSERT_EQ(table.open(1), 1);
        ASSERT_EQ(table.lockTable(), 1);
        ASSERT_EQ(table.appendBlank(), 1);
        table.setField(0, "Anna");
        ASSERT_EQ(table.writeRecord(), 1);
        table.unlock();
        table.close();
    }
    HTREEITEM branch = root("Direct dBase III-access");
    ASSERT_TRUE(branch);
    HTREEITEM desktop = TreeView_GetChild(tree_, branch);
    ASSERT_TRUE(desktop);
    HTREEITEM computer = TreeView_GetChild(tree_, desktop);
    ASSERT_TRUE(computer);
    // Wine's prefix has the drives C: and Z:, each listed once.
    std::vector<std::string> drives = childLabels(tree_, computer);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].substr(0, 3), "C:\\");
    EXPECT_EQ(drives[1].substr(0, 3), "Z:\\");

    HTREEITEM drive = select(computer, "C:\\");
    HTREEITEM folder = select(drive, "qcat_scratch");
    ASSERT_TRUE(folder);
    std::size_t listed = childLabels(tree_, drive).size();
    select(computer, "C:\\");
    EXPECT_EQ(childLabels(tree_, drive).size(), listed) << "a second selection lists again";
    EXPECT_EQ(childLabels(tree_, folder), (std::vector<std::string>{"other", "PEOPLE.DBF", "readme.txt"}));
    HTREEITEM other = findChild(tree_, folder, "other");
    EXPECT_EQ(childIndicator(tree_, other), 0) << "a folder of unrecognised files has no expand button";

    ASSERT_TRUE(select(folder, "PEOPLE.DBF"));
    ASSERT_EQ(gridRows(), 1);
    EXPECT_EQ(gridField(0), "Anna");
    BrowseView* view = browseViewOf(grid_);
    ASSERT_TRUE(view);
    EXPECT_EQ(findCommand(view->commands, 27), nullptr) << "no Exit in an embedded grid";
    EXPECT_EQ(findCommand(view->commands, 118), nullptr) << "no Pack in an embedded grid";
    // Edited in place, as in a table window: the cell editor writes the file itself.
    SendMessageA(grid_, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(grid_, WM_KEYDOWN, VK_RETURN, 1);
    harness::pumpMessages();
    ASSERT_TRUE(view->editor) << "no cell editor";
    SetWindowTextA(view->editor, "");
    for (char c : std::string("Bella"))
        SendMessageA(view->editor, WM_CHAR, static_cast<unsigned char>(c), 1);
    SendMessageA(view->editor, WM_KEYDOWN, VK_RETURN, 1);
    harness::pumpMessages();
    harness::saveScreenshot(explorer_, "explorer_table_file.bmp");

    ASSERT_TRUE(select(folder, "readme.txt"));
    char text[100] = "";
    GetDlgItemTextA(explorer_, IDC_EXPLORER_EDITOR, text, sizeof text);
    EXPECT_STREQ(text, "first line\r\nsecond line");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(explorer_, IDC_EXPLORER_EDITOR)));
    EXPECT_FALSE(IsWindowVisible(grid_));
    EXPECT_EQ(harness::windowText(GetDlgItem(explorer_, IDC_EXPLORER_CAPTION)), std::string(kScratch) + "\\readme.txt");
    harness::saveScreenshot(explorer_, "explorer_text_file.bmp");

    // A later result discards the table's view: the file is closed, never deleted.
    HTREEITEM source = select(root("DSN"), odbc_test::kSqliteDsn);
    HTREEITEM table = select(source, "qcat_keys");
    ASSERT_TRUE(select(table, "Primary keys"));
    EXPECT_EQ(gridField(0), "id");
    EXPECT_NE(GetFileAttributesA(tablePath.c_str()), INVALID_FILE_ATTRIBUTES) << "the opened table was deleted";
    dbf again(tablePath.c_str());
    ASSERT_EQ(again.open(1), 1) << "the table stayed open or locked";
    again.goTop();
    EXPECT_EQ(std::string(again.getField(0)), "Bella       ");
    again.close();

    // No network under Wine: the node lists nothing and the selection returns.
    HTREEITEM network = TreeView_GetNextSibling(tree_, computer);
    ASSERT_TRUE(network);
    TreeView_SelectItem(tree_, network);
    harness::pumpMessages(10);
    EXPECT_EQ(TreeView_GetChild(tree_, network), nullptr);

    DeleteFileA(tablePath.c_str());
    DeleteFileA((std::string(kScratch) + "\\readme.txt").c_str());
    DeleteFileA((std::string(kScratch) + "\\other\\picture.xyz").c_str());
    RemoveDirectoryA((std::string(kScratch) + "\\other").c_str());
    RemoveDirectoryA(kScratch);
}

// A folder whose path passes the 260 characters Windows' file calls take: selecting it gives a
// message and lists nothing, instead of overflowing a buffer.
TEST_F(ExplorerCatalog, AFolderTooDeepIsReportedNotListed) {
    const std::string part(48, 'd');
    std::wstring wide = L"\\\\?\\C:\\qcat_deep";
    CreateDirectoryW(wide.c_str(), nullptr);
    for (int i = 0; i < 5; ++i) {
        wide += L"\\" + std::wstring(part.begin(), part.end());
        ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    HTREEITEM computer = TreeView_GetChild(tree_, TreeView_GetChild(tree_, root("Direct dBase III-access")));
    HTREEITEM item = select(select(computer, "C:\\"), "qcat_deep");
    for (int i = 0; i < 4 && item; ++i)
        item = select(item, part);
    ASSERT_TRUE(item) << "the first four levels list";
    HTREEITEM deepest = findChild(tree_, item, part);
    ASSERT_TRUE(deepest);
    EXPECT_EQ(childIndicator(tree_, deepest), 0);
    harness::MessageBoxCatcher catcher;
    select(item, part);
    // The catcher also sees the explorer (a dialog itself) come back to the front: count warnings.
    std::vector<std::string> warnings;
    for (const auto& box : catcher.boxes())
        if (box.caption == "Warning")
            warnings.push_back(box.text.substr(0, 22));
    EXPECT_EQ(warnings, std::vector<std::string>{"The path is too long:\r"});
    EXPECT_EQ(TreeView_GetChild(tree_, deepest), nullptr);
    for (int i = 0; i < 6; ++i) {
        RemoveDirectoryW(wide.c_str());
        wide = wide.substr(0, wide.rfind(L'\\'));
    }
}

}  // namespace
