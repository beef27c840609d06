// The explorer's SQL editor over the real drivers: typing and executing a selection, a failing
// statement's message, the text kept across a reopen, SQL assist inserting into the editor, and
// drop table on the catalog-qualified MariaDB table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/mysql_session.h"
#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/sql_history.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/odbc_window_fixture.h"
#include "tests/win32/screenshot.h"

namespace {

class SqlEditorExplorer : public OdbcWindowTest {
  protected:
    void SetUp() override {
        OdbcWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        open();
    }
    void open() {
        explorer_ = openFromMenu(IDM_ODBC_EXPLORER, explorerWindow);
        ASSERT_NE(explorer_, nullptr) << "explorer not created";
        tree_ = GetDlgItem(explorer_, IDC_EXPLORER_TREE);
        editor_ = GetDlgItem(explorer_, IDC_EXPLORER_EDITOR);
    }
    void close() {
        closeOpened();
        explorer_ = nullptr;
    }
    // The first child of `parent` whose node passes `match`.
    HTREEITEM find(HTREEITEM parent, bool (*match)(const ExplorerNode&, const std::string&), const std::string& name) {
        for (HTREEITEM item = TreeView_GetChild(tree_, parent); item; item = TreeView_GetNextSibling(tree_, item)) {
            ExplorerNode* node = nodeOf(tree_, item);
            if (node && match(*node, name))
                return item;
        }
        return nullptr;
    }
    static bool named(const ExplorerNode& node, const std::string& name) { return node.name == name; }
    static bool command(const ExplorerNode& node, const std::string&) { return node.kind == node_kind::kCommand; }
    static bool table(const ExplorerNode& node, const std::string& catalog) {
        return node.kind == node_kind::kTable && node.name == "order" && node.catalog == catalog;
    }
    // Selects the data source, then its saved command node.
    HTREEITEM selectCommand(const char* dsn) {
        HTREEITEM source = find(TreeView_GetRoot(tree_), named, dsn);
        if (!source)
            return nullptr;
        TreeView_SelectItem(tree_, source);
        harness::pumpMessages(20);
        HTREEITEM item = find(source, command, "");
        if (item)
            TreeView_SelectItem(tree_, item);
        harness::pumpMessages(20);
        return item;
    }
    // Types `text` into the editor as keys do (Enter for a line break), then selects what was typed.
    void typeAndSelect(const std::string& text) {
        SetFocus(editor_);
        int start = GetWindowTextLengthA(editor_);
        SendMessageA(editor_, EM_SETSEL, start, start);
        for (char c : text)
            SendMessageA(editor_, WM_CHAR, static_cast<unsigned char>(c), 0);
        SendMessageA(editor_, EM_SETSEL, start, GetWindowTextLengthA(editor_));
    }
    std::string editorText() { return harness::windowText(editor_); }

    HWND explorer_ = nullptr;
    HWND tree_ = nullptr;
    HWND editor_ = nullptr;
};

TEST_F(SqlEditorExplorer, ExecutesTheSelectionAppendsTheOutcomeAndKeepsTheTextAcrossAReopen) {
    ASSERT_NE(selectCommand(odbc_test::kSqliteDsn), nullptr) << "no command node";
    ASSERT_TRUE(IsWindowVisible(editor_));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(explorer_, IDC_EXPLORER_EXECUTE)));
    SetWindowTextA(editor_, "");
    struct Case {
        const char* statement;
        bool success;
    } cases[] = {
        {"DROP TABLE IF EXISTS sqe_keys", true},
        {"CREATE TABLE sqe_keys (a INTEGER)", true},
        {"SELECT * FROM sqe_keys", true},
        {"INSERT INTO sqe_nowhere VALUES (1)", false},
    };
    for (const Case& c : cases) {
        std::string before = editorText();
        typeAndSelect(std::string(before.empty() ? "" : "\r") + c.statement);
        harness::click(explorer_, IDC_EXPLORER_EXECUTE);
        harness::pumpMessages(20);
        std::string after = editorText();
        ASSERT_GT(after.size(), before.size()) << c.statement;
        std::size_t blank = after.rfind("\r\n\r\n");
        ASSERT_NE(blank, std::string::npos) << after;
        std::string outcome = after.substr(blank + 4);
        if (c.success)
            EXPECT_EQ(outcome, "Success.") << c.statement;
        else
            EXPECT_TRUE(outcome != "Success." && outcome.find("sqe_nowhere") != std::string::npos) << outcome;
    }
    EXPECT_TRUE(ui_.errors.empty());
    harness::saveScreenshot(explorer_, "sql_editor_execute.bmp");
    std::string kept = editorText();

    // Nothing selected: the warning, and the text stays.
    SendMessageA(editor_, EM_SETSEL, 0, 0);
    std::vector<std::string> boxes;
    {
        harness::BoxCatcher catcher(explorer_);
        harness::click(explorer_, IDC_EXPLORER_EXECUTE);
        harness::pumpMessages(50);
        boxes = catcher.texts();
    }
    EXPECT_EQ(boxes, std::vector<std::string>{"Only the selected text is executeable."});
    EXPECT_EQ(editorText(), kept);

    close();
    open();
    ASSERT_NE(selectCommand(odbc_test::kSqliteDsn), nullptr);
    EXPECT_EQ(editorText(), kept);
}

TEST_F(SqlEditorExplorer, AssistInsertsTheComposedStatementSelectedForExecute) {
    ASSERT_NE(selectCommand(odbc_test::kSqliteDsn), nullptr) << "no command node";
    SetWindowTextA(editor_, "-- mine\r\n");
    SendMessageA(editor_, EM_SETSEL, 9, 9);
    std::string caption;
    std::vector<std::string> tables;
    ASSERT_TRUE(harness::runDialog(
        [&] { harness::click(explorer_, IDC_EXPLORER_ASSIST); },
        [&](HWND dialog) {
            caption = harness::windowText(dialog);
            HWND list = GetDlgItem(dialog, IDC_ASSIST_TABLES);
            int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[300] = "";
                SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                tables.push_back(text);
            }
            harness::setText(dialog, IDC_ASSIST_STATEMENT, "");
            // SELECT, then the command's first table, by double-clicks.
            auto doubleClick = [&](int id, int index) {
                HWND box = GetDlgItem(dialog, id);
                SendMessageA(box, LB_SETCURSEL, index, 0);
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(box));
            };
            doubleClick(IDC_ASSIST_COMMANDS, 0);
            harness::setText(dialog, IDC_ASSIST_STATEMENT, harness::itemText(dialog, IDC_ASSIST_STATEMENT) + "1 ");
            // A modal dialog shows itself once its queue is idle; the script may run before.
            ShowWindow(dialog, SW_SHOW);
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            harness::pumpMessages(100);
            harness::saveScreenshot(dialog, "sql_assist.bmp");
            harness::click(dialog, IDC_ASSIST_OK);
        }));
    EXPECT_EQ(caption, "SQL assist");
    EXPECT_FALSE(tables.empty()) << (ui_.errors.empty() ? "" : ui_.errors[0]);
    // The list box sorts as the system compares text, without regard to case.
    EXPECT_TRUE(std::is_sorted(tables.begin(), tables.end(), [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    }));
    EXPECT_EQ(editorText(), "-- mine\r\nSELECT 1 ");
    DWORD start = 0, end = 0;
    SendMessageA(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 9u);
    EXPECT_EQ(end, 18u);
    harness::click(explorer_, IDC_EXPLORER_EXECUTE);
    harness::pumpMessages(20);
    EXPECT_EQ(editorText(), "-- mine\r\nSELECT 1 \r\n\r\nSuccess.");
    // The statement is in the history.
    auto history = openHistory();
    ASSERT_TRUE(history);
    std::vector<std::string> entries = historyEntries(*history);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "SELECT 1"), entries.end());
}

TEST_F(SqlEditorExplorer, DropTableAsksAndDropsOnlyTheCatalogQualifiedTable) {
    if (!odbc_test::mariaDbConfigured())
        GTEST_SKIP() << "no MariaDB server";
    HTREEITEM source = find(TreeView_GetRoot(tree_), named, odbc_test::kMariaDbDsn);
    ASSERT_NE(source, nullptr);
    TreeView_SelectItem(tree_, source);
    harness::pumpMessages(20);
    ExplorerNode* sourceNode = nodeOf(tree_, source);
    ASSERT_NE(sourceNode->connection, nullptr);
    // On the source's connection of the moment (a refresh connects anew).
    auto run = [&](const std::string& text, MySqlRows* rows = nullptr) {
        return MySqlSession(odbcBinding(), sourceNode->connection, nullptr).run(text, rows);
    };
    ASSERT_TRUE(run("create database if not exists sqe_other"));
    for (const char* db : {"sqe_other", "quarrow"}) {
        ASSERT_TRUE(run(std::string("drop table if exists `") + db + "`.`order`"));
        ASSERT_TRUE(run(std::string("create table `") + db + "`.`order` (a int)"));
    }
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_REFRESH_TABLES, 0);
    harness::pumpMessages(20);
    ASSERT_NE(sourceNode->connection, nullptr);
    HTREEITEM other = find(source, table, "sqe_other");
    ASSERT_NE(other, nullptr) << "sqe_other.order not listed";
    TreeView_SelectItem(tree_, other);
    harness::pumpMessages(20);
    auto exists = [&](const char* db) {
        MySqlRows rows;
        run(std::string("select count(*) from information_schema.tables where table_schema = '") + db +
                "' and table_name = 'order'",
            &rows);
        return rows.size() == 1 && rows[0][0] == "1";
    };
    ui_.answerYes = false;
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_DROP_TABLE, 0);
    ui_.answerYes = true;
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_DELETE_FROM, 0);
    EXPECT_TRUE(exists("sqe_other"));
    SendMessageA(explorer_, WM_COMMAND, IDM_EXPLORER_DROP_TABLE, 0);
    EXPECT_EQ(ui_.questions,
              (std::vector<std::string>{"drop table `sqe_other`.`order`", "delete from `sqe_other`.`order`",
                                        "drop table `sqe_other`.`order`"}));
    EXPECT_FALSE(exists("sqe_other"));
    EXPECT_TRUE(exists("quarrow"));
    EXPECT_TRUE(ui_.errors.empty());
    run("drop table quarrow.`order`");
    run("drop database sqe_other");
}

}  // namespace
