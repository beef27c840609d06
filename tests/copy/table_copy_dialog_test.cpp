// The COPYTABLE dialog under Wine: what it shows for a source table, an HTML page and a copy into
// MariaDB started by its OK button.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/ui.h"
#include "copy/table_copy_dialog.h"
#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"

namespace {

int owner = 0;

// The control's own visibility (the dialog may not be on screen yet while its script runs).
bool controlShown(HWND control) {
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

class TableCopyDialog : public testing::Test {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no ODBC test configuration (run tools/test.sh)";
        clearOdbcCredentials();
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", odbc_test::kMariaDbUser);
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", odbc_test::kMariaDbPassword);
        odbcBinding().setUi(&ui_);
        ASSERT_EQ(odbcBinding().acquire(&owner), 1);
        source_ = connectTo(odbc_test::kSqliteDsn);
        for (const char* text :
             {"drop table if exists copy_wine", "create table copy_wine (id integer, name varchar(20))",
              "insert into copy_wine values (1, '<b>'), (2, 'two'), (3, null)"})
            exec(source_.get(), text);
    }
    void TearDown() override {
        source_.reset();
        target_.reset();
        odbcBinding().release(&owner);
        odbcBinding().setUi(nullptr);
        clearOdbcCredentials();
    }
    OdbcConnection connectTo(const char* dsn) {
        OdbcConnection connection(odbcBinding());
        SqlHdbc node = nullptr;
        EXPECT_TRUE(sql::succeeded(connect(&owner, dsn, connection.get(), &node, nullptr, false, 0, odbcBinding())));
        return connection;
    }
    void exec(SqlHdbc connection, const char* text) {
        OdbcStatement statement(odbcBinding(), connection);
        ASSERT_TRUE(sql::succeeded(statement.execDirect(text))) << text << ": " << statement.errorText();
    }
    // The first column of the first row `query` answers; empty when it fails.
    std::string firstValue(SqlHdbc connection, const char* query) {
        OdbcStatement statement(odbcBinding(), connection);
        ColumnText value;
        if (sql::succeeded(statement.execDirect(query)) && sql::succeeded(statement.fetch()))
            statement.getText(1, value);
        return value.text;
    }

    odbc_test::RecordingUi ui_;
    OdbcConnection source_;
    OdbcConnection target_;
};

TEST_F(TableCopyDialog, ShowsTheTableWritesThePageAndCopiesIntoMariaDb) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string page = std::string(temp) + "copy wine.html";
    DeleteFileA(page.c_str());
    // The explorer makes the error log's folder when it opens.
    CreateDirectoryA((std::string(temp) + "Quarrow").c_str(), nullptr);
    bool mariaDb = odbc_test::mariaDbConfigured();
    if (mariaDb) {
        target_ = connectTo(odbc_test::kMariaDbDsn);
        exec(target_.get(), "drop table if exists copy_wine");
    }
    bool shown = harness::runDialog(
        [&] { openCopyTableDialog(nullptr, source_.get(), odbc_test::kSqliteDsn, "copy_wine"); },
        [&](HWND dialog) {
            EXPECT_EQ(harness::itemText(dialog, IDC_COPY_SOURCE), odbc_test::kSqliteDsn);
            EXPECT_EQ(harness::itemText(dialog, IDC_COPY_TARGET), "copy_wine");
            EXPECT_EQ(harness::itemText(dialog, IDC_COPY_SELECT), "SELECT * FROM \"copy_wine\"");
            EXPECT_EQ(harness::itemText(dialog, IDC_COPY_CREATE),
                      "CREATE TABLE `copy_wine` (\r\n`id`                 integer,\r\n"
                      "`name`               varchar(20))");
            EXPECT_EQ(comboSelectedText(dialog, IDC_COPY_DESTINATIONS), " Save to HTML");
            EXPECT_FALSE(controlShown(GetDlgItem(dialog, IDC_COPY_TARGET)));
            EXPECT_TRUE(controlShown(GetDlgItem(dialog, IDC_COPY_FILE)));
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_COPY_MAPPING, LB_GETCOUNT, 0, 0), 26);
            harness::setText(dialog, IDC_COPY_FILE, page);
            // A page that exists is overwritten only when the user says so.
            std::ofstream(page) << "kept";
            {
                harness::BoxCatcher boxes(dialog, IDCANCEL);
                harness::click(dialog, IDOK);
                EXPECT_EQ(boxes.texts(), std::vector<std::string>{"The file already exist, continue ?"});
            }
            std::ifstream kept(page);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()), "kept");
            kept.close();
            harness::BoxCatcher boxes(dialog, IDOK);
            harness::click(dialog, IDOK);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
            if (!mariaDb)
                return;
            SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(odbc_test::kMariaDbDsn));
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_COPY_DESTINATIONS, CBN_CLOSEUP),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_COPY_DESTINATIONS)));
            EXPECT_TRUE(controlShown(GetDlgItem(dialog, IDC_COPY_TARGET)));
            harness::click(dialog, IDOK);
        });
    ASSERT_TRUE(shown) << "COPYTABLE did not open";
    std::ifstream in(page, std::ios::binary);
    std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(html.find("<TR><TD>1</TD><TD>&lt;b&gt;</TD></TR>"), std::string::npos) << html;
    EXPECT_NE(html.find("<TR><TD>3</TD><TD>&nbsp;</TD></TR>"), std::string::npos) << html;
    if (!mariaDb)
        return;
    EXPECT_EQ(ui_.warnings, std::vector<std::string>{"The table copy finished."});
    OdbcStatement count(odbcBinding(), target_.get());
    ASSERT_TRUE(sql::succeeded(count.execDirect("select count(*), max(name) from copy_wine")));
    ASSERT_TRUE(sql::succeeded(count.fetch()));
    ColumnText rows, name;
    count.getText(1, rows);
    count.getText(2, name);
    EXPECT_EQ(rows.text, "3");
    EXPECT_EQ(name.text, "two");
}

// Three ticked tables into MariaDB: the third cannot be created there, which is told and ends the run;
// the first two arrive. A view starts unticked; "-", "+" and "I" set every tick.
TEST_F(TableCopyDialog, CopiesTickedTablesUntilOneFails) {
    if (!odbc_test::mariaDbConfigured())
        GTEST_SKIP() << "no MariaDB server (run tools/test.sh)";
    for (const char* table : {"copy2_t1", "copy2_t2", "copy2_t3"}) {
        exec(source_.get(), (std::string("drop table if exists ") + table).c_str());
        exec(source_.get(), (std::string("create table ") + table + " (id integer)").c_str());
        exec(source_.get(), (std::string("insert into ") + table + " values (1), (2)").c_str());
    }
    exec(source_.get(), "create view if not exists copy2_view as select * from copy2_t1");
    target_ = connectTo(odbc_test::kMariaDbDsn);
    exec(target_.get(), "drop table if exists copy2_t1, copy2_t2, copy2_t3");
    exec(target_.get(), "create table copy2_t3 (kept integer)");
    bool shown = harness::runDialog(
        [&] { openCopyTablesDialog(nullptr, source_.get(), odbc_test::kSqliteDsn); },
        [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_COPY_TABLES);
            auto row = [&](const char* name) {
                LVFINDINFOA find = {};
                find.flags = LVFI_STRING;
                find.psz = name;
                return static_cast<int>(
                    SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
            };
            ASSERT_GE(row("copy2_view"), 0);
            EXPECT_FALSE(ListView_GetCheckState(list, row("copy2_view")));
            EXPECT_TRUE(ListView_GetCheckState(list, row("copy2_t1")));
            harness::click(dialog, IDC_COPY_CHECK_ALL);
            EXPECT_TRUE(ListView_GetCheckState(list, row("copy2_view")));
            harness::click(dialog, IDC_COPY_INVERT);
            EXPECT_FALSE(ListView_GetCheckState(list, row("copy2_t1")));
            harness::click(dialog, IDC_COPY_CLEAR_ALL);
            for (const char* table : {"copy2_t1", "copy2_t2", "copy2_t3"})
                ListView_SetCheckState(list, row(table), TRUE);
            SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(odbc_test::kMariaDbDsn));
            harness::click(dialog, IDOK);
        });
    ASSERT_TRUE(shown) << "COPYTABLE2 did not open";
    ASSERT_EQ(ui_.errors.size(), 1u);
    EXPECT_NE(ui_.errors[0].find("'copy2_t3' already exists"), std::string::npos) << ui_.errors[0];
    OdbcStatement count(odbcBinding(), target_.get());
    ASSERT_TRUE(
        sql::succeeded(count.execDirect("select (select count(*) from copy2_t1) + (select count(*) from copy2_t2)")));
    ASSERT_TRUE(sql::succeeded(count.fetch()));
    ColumnText rows;
    count.getText(1, rows);
    EXPECT_EQ(rows.text, "4");
}

// COPYTABLE as the commander opens it: the opposite panel's folder leaves only the page, in that
// folder; its data source is the destination chosen, with the controls of a table copy from the start;
// a data source the list does not hold leaves the page chosen. From the explorer (no target) the page
// is chosen among every data source.
TEST_F(TableCopyDialog, TheOppositePanelChoosesTheDestination) {
    if (!odbc_test::mariaDbConfigured())
        GTEST_SKIP() << "no MariaDB server (run tools/test.sh)";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "copy target\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((std::string(temp) + "Quarrow").c_str(), nullptr);
    target_ = connectTo(odbc_test::kMariaDbDsn);
    const std::string html = " Save to HTML";
    struct Case {
        const char* label;
        const CopyTableTarget* target;
        const char* entry;  // the commander's entry, the explorer's table
        std::string destination;
        bool onlyHtml;
        const char* file;  // 119 at the start, behind the target's folder
        bool run;          // OK: the page of copy_wine, or the rows into MariaDB
    };
    const CopyTableTarget toFolder{folder, ""};
    const CopyTableTarget toMariaDb{"", std::string("  ") + "quarrowMARIADB "};
    const CopyTableTarget toUnknown{"", "NoSuchSource"};
    const Case cases[] = {
        {"explorer", nullptr, "copy_wine", html, false, "copy_wine.html", false},
        {"folder", &toFolder, "..", html, true, "out.html", true},
        {"data source", &toMariaDb, "copy_wine", odbc_test::kMariaDbDsn, false, "copy_wine.html", true},
        {"unknown data source", &toUnknown, "copy_wine", html, false, "copy_wine.html", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string base = c.target ? c.target->directory : "";
        const bool page = c.destination == html;
        DeleteFileA((folder + "copy_wine.html").c_str());
        exec(target_.get(), "drop table if exists copy_wine");
        ui_.warnings.clear();
        ui_.errors.clear();
        bool shown = harness::runDialog(
            [&] { openCopyTableDialog(nullptr, source_.get(), odbc_test::kSqliteDsn, c.entry, c.target); },
            [&](HWND dialog) {
                const int ids[] = {IDC_COPY_FILE,   IDC_COPY_CHOOSE_FILE, IDC_COPY_TARGET,
                                   IDC_COPY_CREATE, IDC_COPY_MAPPING,     IDC_COPY_FIELD_TYPES};
                for (int id : ids)
                    ASSERT_NE(GetDlgItem(dialog, id), nullptr) << id;
                EXPECT_EQ(harness::itemText(dialog, IDC_COPY_SOURCE), odbc_test::kSqliteDsn);
                EXPECT_EQ(comboSelectedText(dialog, IDC_COPY_DESTINATIONS), c.destination);
                LRESULT destinations = SendDlgItemMessageA(dialog, IDC_COPY_DESTINATIONS, CB_GETCOUNT, 0, 0);
                if (c.onlyHtml)
                    EXPECT_EQ(destinations, 1);
                else
                    EXPECT_GT(destinations, 2);
                EXPECT_EQ(controlShown(GetDlgItem(dialog, IDC_COPY_FILE)), page);
                EXPECT_EQ(controlShown(GetDlgItem(dialog, IDC_COPY_CHOOSE_FILE)), page);
                EXPECT_EQ(controlShown(GetDlgItem(dialog, IDC_COPY_TARGET)), !page);
                for (int id : {IDC_COPY_CREATE, IDC_COPY_MAPPING, IDC_COPY_FIELD_TYPES})
                    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, id)) != 0, !page) << id;
                EXPECT_EQ(harness::itemText(dialog, IDC_COPY_TARGET), c.entry);
                EXPECT_EQ(harness::itemText(dialog, IDC_COPY_FILE), base + c.file);
                // Another table chosen names the target and the page after it.
                ASSERT_NE(SendDlgItemMessageA(dialog, IDC_COPY_TABLES, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>("copy_wine")),
                          CB_ERR);
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_COPY_TABLES, CBN_CLOSEUP),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_COPY_TABLES)));
                EXPECT_EQ(harness::itemText(dialog, IDC_COPY_TARGET), "copy_wine");
                EXPECT_EQ(harness::itemText(dialog, IDC_COPY_FILE), base + "copy_wine.html");
                if (!c.run)
                    return;
                harness::BoxCatcher boxes(dialog, IDOK);
                harness::click(dialog, IDOK);
                EXPECT_TRUE(boxes.texts().empty());
            });
        ASSERT_TRUE(shown) << "COPYTABLE did not open";
        EXPECT_TRUE(ui_.errors.empty()) << ui_.errors.front();
        if (!c.run)
            continue;
        if (page) {
            std::ifstream in(folder + "copy_wine.html", std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_NE(text.find("<TR><TD>2</TD><TD>two</TD></TR>"), std::string::npos) << text;
        } else {
            EXPECT_EQ(ui_.warnings, std::vector<std::string>{"The table copy finished."});
            EXPECT_EQ(firstValue(target_.get(), "select concat(count(*), ' ', max(name)) from copy_wine"), "3 two");
        }
    }
}

}  // namespace
