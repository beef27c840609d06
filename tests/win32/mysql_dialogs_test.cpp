// The MySQL administration dialogs, opened from the explorer's data-source menu on the real
// MariaDB server and driven through their controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <functional>
#include "admin/mysql_session.h"
#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/explorer_window.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/odbc_window_fixture.h"

namespace {

// Writes the dialog as a BMP into $QUARROW_SHOTS, when set, to look at.
void screenshot(HWND window, const char* name) {
    const char* folder = std::getenv("QUARROW_SHOTS");
    if (!folder)
        return;
    // A modal dialog shows itself once its queue is idle; the script may run before that.
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    harness::pumpMessages(100);
    harness::Pixels pixels = harness::captureWindow(window);
    std::string path = std::string(folder) + "\\" + name + ".bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    int row = (pixels.width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + row * pixels.height;
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::fwrite(&header, sizeof header, 1, file);
    std::fwrite(&info, sizeof info, 1, file);
    std::vector<unsigned char> line(row, 0);
    for (int y = pixels.height - 1; y >= 0; --y) {
        for (int x = 0; x < pixels.width; ++x) {
            COLORREF c = pixels.at(x, y);
            line[x * 3] = GetBValue(c);
            line[x * 3 + 1] = GetGValue(c);
            line[x * 3 + 2] = GetRValue(c);
        }
        std::fwrite(line.data(), row, 1, file);
    }
    std::fclose(file);
}

std::vector<std::string> comboTexts(HWND dialog, int id) {
    std::vector<std::string> items;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

void chooseCombo(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
}

// Selects exactly the table `name` in the tables list; false when it is not listed.
bool chooseTable(HWND dialog, const char* name) {
    SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_SETSEL, FALSE, -1);
    LRESULT index = SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name));
    return index >= 0 && SendDlgItemMessageA(dialog, IDC_ADMIN_TABLES, LB_SETSEL, TRUE, index) != LB_ERR;
}

class MySqlDialogs : public OdbcWindowTest {
  protected:
    void SetUp() override {
        if (!odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server (bash tools/mariadb.sh start)";
        OdbcWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        explorer_ = openFromMenu(IDM_ODBC_EXPLORER, explorerWindow);
        ASSERT_NE(explorer_, nullptr) << "explorer not created";
        HWND tree = GetDlgItem(explorer_, IDC_EXPLORER_TREE);
        HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
        for (; item; item = TreeView_GetNextSibling(tree, item)) {
            ExplorerNode* node = nodeOf(tree, item);
            if (node && node->name == odbc_test::kMariaDbDsn)
                break;
        }
        ASSERT_NE(item, nullptr) << "no MariaDB data source";
        TreeView_SelectItem(tree, item);
        harness::pumpMessages(20);
        source_ = nodeOf(tree, item);
        ASSERT_NE(source_->connection, nullptr) << "not connected";
    }
    // Runs statements on the explorer's own connection; their first columns.
    std::vector<std::string> query(const std::string& text) {
        MySqlSession session(odbcBinding(), source_->connection, nullptr);
        MySqlRows rows;
        if (!session.run(text, &rows))
            return {"<refused>"};
        std::vector<std::string> values;
        for (const auto& row : rows)
            values.push_back(row.empty() ? std::string() : row[0]);
        return values;
    }
    // Chooses a menu item of the data source, with `script` on the dialog it opens.
    bool menu(UINT id, const std::function<void(HWND)>& script) {
        return harness::runDialog([&] { SendMessageA(explorer_, WM_COMMAND, id, 0); }, script);
    }

    HWND explorer_ = nullptr;
    ExplorerNode* source_ = nullptr;
};

TEST_F(MySqlDialogs, AlterTableOffersNoMergeAndKeepsTheRows) {
    query("drop table if exists quarrow.qa_dialog");
    query("create table quarrow.qa_dialog (a int) engine = InnoDB");
    query("insert into quarrow.qa_dialog values (1), (2), (3)");
    std::vector<std::string> engines, questions;
    // MEMORY loses the rows when the server stops: asked, and No changes nothing.
    ASSERT_TRUE(menu(IDM_EXPLORER_ALTER_TABLE, [&](HWND dialog) {
        chooseCombo(dialog, IDC_ADMIN_CHOICE, "MEMORY");
        ASSERT_TRUE(chooseTable(dialog, "qa_dialog"));
        harness::BoxCatcher boxes(dialog, IDNO);
        harness::click(dialog, IDOK);
        questions = boxes.texts();
        EXPECT_TRUE(IsWindow(dialog));
    }));
    EXPECT_EQ(questions,
              std::vector<std::string>{"MEMORY does not keep the rows of a table for good. Change the engine anyway?"});
    EXPECT_EQ(query("select engine from information_schema.tables where table_name = 'qa_dialog'"),
              std::vector<std::string>{"InnoDB"});
    ASSERT_TRUE(menu(IDM_EXPLORER_ALTER_TABLE, [&](HWND dialog) {
        engines = comboTexts(dialog, IDC_ADMIN_CHOICE);
        chooseCombo(dialog, IDC_ADMIN_CHOICE, "MYISAM");
        ASSERT_TRUE(chooseTable(dialog, "qa_dialog"));
        screenshot(dialog, "alter_table");
        harness::click(dialog, IDOK);
    }));
    ASSERT_FALSE(engines.empty());
    EXPECT_EQ(engines[0], "INNODB");
    EXPECT_EQ(std::count(engines.begin(), engines.end(), "MRG_MYISAM"), 0);
    EXPECT_EQ(query("select engine from information_schema.tables where table_name = 'qa_dialog'"),
              std::vector<std::string>{"MyISAM"});
    EXPECT_EQ(query("select count(*) from quarrow.qa_dialog"), std::vector<std::string>{"3"});
    EXPECT_TRUE(ui_.errors.empty());
}

TEST_F(MySqlDialogs, DiagnosticsReportAndTheExplorersConnectionSurvives) {
    query("create table if not exists quarrow.qa_dialog (a int)");
    struct Case {
        int mode;
        const char* operation;
    } cases[] = {{1, "check"}, {0, "optimize"}, {8, "repair"}};
    for (const Case& c : cases) {
        std::string report, caption;
        ASSERT_TRUE(menu(IDM_EXPLORER_TABLE_DIAGNOSTICS, [&](HWND dialog) {
            caption = harness::windowText(dialog);
            SendDlgItemMessageA(dialog, IDC_ADMIN_CHOICE, CB_SETCURSEL, c.mode, 0);
            ASSERT_TRUE(chooseTable(dialog, "qa_dialog"));
            ASSERT_TRUE(harness::runDialog([&] { harness::click(dialog, IDOK); },
                                           [&](HWND shown) {
                                               report = harness::itemText(shown, IDC_ADMIN_REPORT);
                                               if (c.mode == 0)
                                                   screenshot(shown, "table_diag");
                                           }));
            // The dialog stays open for the next run.
            EXPECT_TRUE(IsWindow(dialog));
        }));
        EXPECT_EQ(caption, "Table diagnostics");
        EXPECT_EQ(report.substr(0, 40), std::string("quarrow.qa_dialog") + std::string(23, ' ')) << report;
        EXPECT_EQ(report.substr(40, std::string(c.operation).size()), c.operation) << report;
        EXPECT_EQ(query("select 1"), std::vector<std::string>{"1"}) << c.operation;
    }
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

TEST_F(MySqlDialogs, FlushRunsEveryBoxAndClearsThem) {
    query("flush status");
    query("select 1");
    bool cleared = false;
    ASSERT_TRUE(menu(IDM_EXPLORER_FLUSH, [&](HWND dialog) {
        for (int id = IDC_FLUSH_LOGS; id <= IDC_FLUSH_READ_LOCK; ++id)
            CheckDlgButton(dialog, id, BST_CHECKED);
        screenshot(dialog, "flush");
        harness::click(dialog, IDC_FLUSH_RUN);
        cleared = true;
        for (int id = IDC_FLUSH_LOGS; id <= IDC_FLUSH_READ_LOCK; ++id)
            cleared = cleared && !harness::checked(dialog, id);
    }));
    EXPECT_TRUE(cleared);
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
    // The read lock was released: the explorer's connection may write again.
    EXPECT_EQ(query("create table if not exists quarrow.qa_flush (a int)"), std::vector<std::string>{});
}

TEST_F(MySqlDialogs, UserManagerCreatesUpdatesAndDeletesAHostileAccount) {
    const std::string user = "o'b\\x`@y";
    const std::string key = user + "@%";
    query("drop user if exists 'o''b\\\\x`@y'@'%'");
    std::vector<std::string> keys;
    ASSERT_TRUE(menu(IDM_EXPLORER_USER_MANAGER, [&](HWND dialog) {
        harness::setText(dialog, IDC_USER_NAME, user);
        harness::setText(dialog, IDC_USER_HOST, "%");
        harness::setText(dialog, IDC_USER_PASSWORD, "p'w");
        harness::setText(dialog, IDC_USER_RETYPE, "p'x");
        CheckDlgButton(dialog, IDC_PRIVILEGE_FIRST, BST_CHECKED);
        {
            harness::BoxCatcher boxes(dialog);
            harness::click(dialog, IDC_USER_CREATE);
            ASSERT_EQ(boxes.texts(), std::vector<std::string>{"Different passwords!"});
        }
        harness::setText(dialog, IDC_USER_RETYPE, "p'w");
        harness::click(dialog, IDC_USER_CREATE);
        keys = comboTexts(dialog, IDC_USER_KEY);
        // The same account again: the server refuses, the box says why, the fields stay.
        harness::setText(dialog, IDC_USER_NAME, user);
        harness::setText(dialog, IDC_USER_HOST, "%");
        harness::click(dialog, IDC_USER_CREATE);
        EXPECT_EQ(ui_.errors.size(), 1u);
        EXPECT_EQ(harness::itemText(dialog, IDC_USER_NAME), user);
        ui_.errors.clear();
        // Choosing the account reads its boxes; Insert on, Select off, then Update.
        chooseCombo(dialog, IDC_USER_KEY, key);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_USER_KEY, CBN_CLOSEUP),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_USER_KEY)));
        EXPECT_EQ(harness::itemText(dialog, IDC_USER_NAME), user);
        EXPECT_TRUE(harness::checked(dialog, IDC_PRIVILEGE_FIRST));
        CheckDlgButton(dialog, IDC_PRIVILEGE_FIRST, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_PRIVILEGE_FIRST + 1, BST_CHECKED);
        screenshot(dialog, "user_manager");
        harness::click(dialog, IDC_USER_UPDATE);
    }));
    EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 1);
    std::vector<std::string> grants = query("show grants for 'o''b\\\\x`@y'@'%'");
    ASSERT_FALSE(grants.empty());
    EXPECT_EQ(grants[0].find("GRANT INSERT ON *.*"), 0u) << grants[0];
    // An update with no password typed keeps the password.
    OdbcCredentials saved = odbcCredentials();
    std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", user.c_str());
    std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", "p'w");
    EXPECT_TRUE(MySqlSideConnection(odbcBinding(), odbc_test::kMariaDbDsn, nullptr).ok());
    odbcCredentials() = saved;

    ASSERT_TRUE(menu(IDM_EXPLORER_USER_MANAGER, [&](HWND dialog) {
        harness::setText(dialog, IDC_USER_NAME, user);
        harness::setText(dialog, IDC_USER_HOST, "%");
        harness::BoxCatcher boxes(dialog, IDYES);
        harness::click(dialog, IDC_USER_DELETE);
        keys = comboTexts(dialog, IDC_USER_KEY);
    }));
    EXPECT_EQ(std::count(keys.begin(), keys.end(), key), 0);
    EXPECT_EQ(query("select count(*) from mysql.user where user = 'o''b\\\\x`@y'"), std::vector<std::string>{"0"});
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

TEST_F(MySqlDialogs, PermissionsGrantATableAndAColumn) {
    query("drop user if exists 'qa_perm'@'%'");
    query("create user 'qa_perm'@'%'");
    query("create table if not exists quarrow.qa_dialog (a int)");
    std::vector<std::string> tables;
    ASSERT_TRUE(menu(IDM_EXPLORER_PERMISSIONS, [&](HWND dialog) {
        chooseCombo(dialog, IDC_USER_KEY, "qa_perm@%");
        chooseCombo(dialog, IDC_PERM_DATABASE, "quarrow");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PERM_DATABASE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PERM_DATABASE)));
        chooseCombo(dialog, IDC_PERM_TABLE, "qa_dialog");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PERM_TABLE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PERM_TABLE)));
        EXPECT_EQ(harness::itemText(dialog, IDC_PERM_FIELD), "a");
        CheckDlgButton(dialog, IDC_PERM_TABLE_FIRST + 1, BST_CHECKED);  // Insert
        harness::click(dialog, IDC_PERM_UPDATE_TABLE);
        CheckDlgButton(dialog, IDC_PERM_COLUMN_FIRST, BST_CHECKED);  // Select (a)
        harness::click(dialog, IDC_PERM_UPDATE_FIELD);
        EXPECT_TRUE(harness::checked(dialog, IDC_PERM_TABLE_FIRST + 1));
        EXPECT_TRUE(harness::checked(dialog, IDC_PERM_COLUMN_FIRST));
        screenshot(dialog, "permissions");
        // Every table of the list gets the boxes as they stand: Select and Insert.
        tables = comboTexts(dialog, IDC_PERM_TABLE);
        CheckDlgButton(dialog, IDC_PERM_TABLE_FIRST, BST_CHECKED);
        harness::click(dialog, IDC_PERM_UPDATE_ALL_TABLES);
    }));
    std::vector<std::string> grants = query("show grants for 'qa_perm'@'%'");
    std::string all;
    for (const std::string& line : grants)
        all += line + "\n";
    EXPECT_NE(all.find("GRANT SELECT, SELECT (`a`), INSERT ON `quarrow`.`qa_dialog`"), std::string::npos) << all;
    ASSERT_GT(tables.size(), 1u);
    for (const std::string& table : tables)
        EXPECT_TRUE(table == "qa_dialog" ||
                    all.find("GRANT SELECT, INSERT ON `quarrow`.`" + table + "`") != std::string::npos)
            << table << "\n"
            << all;
    query("drop user 'qa_perm'@'%'");
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

}  // namespace
