// The SQL Server administration dialogs driven through their controls over the scripted stand-in
// driver manager: what reached the ODBC function table, in order, and the boxes shown. No SQL
// Server runs here; the scripts say what a real server is assumed to answer.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "admin/mssql_dialog_state.h"
#include "admin/mssql_dialogs.h"
#include "admin/mssql_sql.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/screenshot.h"

using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;

// A modal dialog shows itself once its queue is idle; the script runs before that.
void screenshot(HWND dialog, const char* name) {
    ShowWindow(dialog, SW_SHOW);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    harness::pumpMessages(100);
    harness::saveScreenshot(dialog, name);
}
const std::string kHostile = "x']y\"z";
// sys.databases lists "name" first and "database_id" second; the order does not matter to us.
const char* const kDatabaseRows = "1\tmaster\n5\tSales\n6\tx']y\"z";

class SqlServerDialogs : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(binding_.acquire(&owner), 1);
        ASSERT_TRUE(sql::succeeded(binding_.allocConnection(&connection_)));
        probe_.setDbmsName("Microsoft SQL Server");
    }
    void TearDown() override { binding_.release(&owner); }

    bool open(SqlServerDialog kind, const std::function<void(HWND)>& script) {
        return harness::runDialog([&] { openSqlServerDialog(nullptr, kind, connection_, binding_); },
                                  [&](HWND dialog) {
                                      ASSERT_TRUE(IsWindow(dialog));
                                      script(dialog);
                                  });
    }
    // The statement texts sent, in order.
    std::vector<std::string> sent() {
        std::vector<std::string> texts;
        for (const std::string& call : probe_.calls())
            if (call.rfind("SQLExecDirect ", 0) == 0)
                texts.push_back(call.substr(14));
        return texts;
    }
    void select(HWND dialog, int id, const std::string& text) {
        SendDlgItemMessageA(dialog, id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    FakeProbe probe_{"full"};
    RecordingUi ui_;
    OdbcBinding binding_{fakeNames("full"), &ui_};
    SqlHdbc connection_ = nullptr;
};

// Each database dialog: blank input warns and sends nothing; a hostile name is sent quoted; a
// failure keeps the dialog open, a success closes it and frees its slot.
TEST_F(SqlServerDialogs, EachDatabaseDialogSendsItsStatementAndReports) {
    struct Case {
        SqlServerDialog kind;
        bool list;  // a database combo filled from sys.databases, else an edit
        std::string statement;
        const char* failure;
        std::string success;
        const char* shot;
    } cases[] = {
        {SqlServerDialog::detach, true, detachSql(kHostile), "Disconnecting the database fails!",
         "Successful separation of the database : " + kHostile, "mssql_detach.bmp"},
        {SqlServerDialog::shrink, true, shrinkSql(kHostile), "The shrink database failed!",
         "The shrink database is finished : " + kHostile, "mssql_shrink.bmp"},
        {SqlServerDialog::forAttach, false, forAttachSql(kHostile, "C:\\d\\a'.mdf", "C:\\d\\a.ldf"),
         "Failed to create the database!", "The database created successfully : " + kHostile, "mssql_forattach.bmp"},
        {SqlServerDialog::attach, false, attachSql(kHostile, "C:\\d\\a'.mdf", "C:\\d\\a.ldf"),
         "Attach database failed!", "Attach the database successfully : " + kHostile, "mssql_attach.bmp"},
        {SqlServerDialog::restore, true, restoreSql(kHostile, "C:\\d\\a'.mdf"), "The restore fails!",
         "The restore is finished : " + kHostile + " - C:\\d\\a'.mdf", "mssql_restore.bmp"},
    };
    for (const Case& c : cases) {
        probe_.clearScripts();
        probe_.script("select * from \"sys\".\"databases\"", 0, "", "database_id\tname", kDatabaseRows);
        // A real server answers a refused statement with an error, and DBCC with messages.
        probe_.script(c.statement, 1, "[SQL Server] refused", "", "", 2, -1);
        std::vector<std::string> blank, failed, done;
        bool stayed = false, closed = false;
        ASSERT_TRUE(open(c.kind, [&](HWND dialog) {
            {
                harness::BoxCatcher boxes(dialog);
                if (c.list)
                    SendDlgItemMessageA(dialog, IDC_MSSQL_DATABASE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                harness::click(dialog, IDC_MSSQL_RUN);
                blank = boxes.texts();
            }
            if (c.list) {
                select(dialog, IDC_MSSQL_DATABASE, kHostile);
                harness::setText(dialog, IDC_MSSQL_FIELD3, "C:\\d\\a'.mdf");
            } else {
                harness::setText(dialog, IDC_MSSQL_DATABASE, kHostile);
                harness::setText(dialog, IDC_MSSQL_FIELD2, "C:\\d\\a'.mdf");
                harness::setText(dialog, IDC_MSSQL_FIELD3, "C:\\d\\a.ldf");
            }
            screenshot(dialog, c.shot);
            {
                harness::BoxCatcher boxes(dialog, IDYES);
                harness::click(dialog, IDC_MSSQL_RUN);
                failed = boxes.texts();
            }
            stayed = openSqlServerDialogOf(c.kind) != nullptr;
            probe_.clearScripts();
            harness::BoxCatcher boxes(dialog, IDYES);
            harness::click(dialog, IDC_MSSQL_RUN);
            done = boxes.texts();
            closed = true;
        }));
        int kind = static_cast<int>(c.kind);
        EXPECT_EQ(blank, std::vector<std::string>{"The parameters are filled in!"}) << kind;
        std::vector<std::string> expectedFailure{c.failure};
        std::vector<std::string> expectedDone{c.success};
        if (c.kind == SqlServerDialog::restore) {  // REPLACE is asked about first
            expectedFailure.insert(expectedFailure.begin(), c.statement);
            expectedDone.insert(expectedDone.begin(), c.statement);
        }
        EXPECT_EQ(failed, expectedFailure) << kind;
        EXPECT_EQ(done, expectedDone) << kind;
        EXPECT_TRUE(stayed && closed) << kind;
        EXPECT_EQ(sent(), std::vector<std::string>{c.statement}) << kind;
        EXPECT_EQ(openSqlServerDialogOf(c.kind), nullptr) << kind;
    }
    EXPECT_EQ(ui_.errors, std::vector<std::string>(5, "[SQL Server] refused"));
    EXPECT_EQ(probe_.state().liveStatements, 0);
}

// The "?" buttons open their file dialogs, titled as named; cancelling leaves the edit as it was.
TEST_F(SqlServerDialogs, PickersOpenTheirTitledFileDialogs) {
    struct Case {
        SqlServerDialog kind;
        int button;
        int edit;
        const char* title;
    } cases[] = {
        {SqlServerDialog::attach, IDC_MSSQL_PICK2, IDC_MSSQL_FIELD2, "MDF file selection"},
        {SqlServerDialog::forAttach, IDC_MSSQL_PICK3, IDC_MSSQL_FIELD3, "LDF file selection"},
        {SqlServerDialog::backup, IDC_MSSQL_PICK3, IDC_MSSQL_FIELD3, "File save"},
    };
    for (const Case& c : cases) {
        std::string title, after;
        ASSERT_TRUE(open(c.kind, [&](HWND dialog) {
            harness::setText(dialog, c.edit, "C:\\windows\\x.mdf");
            EXPECT_TRUE(harness::runDialog([&] { harness::click(dialog, c.button); },
                                           [&](HWND picker) {
                                               title = harness::windowText(picker);
                                               PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
                                           }));
            after = harness::itemText(dialog, c.edit);
        }));
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(after, "C:\\windows\\x.mdf");
    }
}

// A backup of Sales proposes its dated file, and the BACKUP's message results are all read before
// the statement is freed (a real server aborts the backup otherwise).
TEST_F(SqlServerDialogs, BackupProposesTheDatedFileAndReadsEveryResult) {
    probe_.script("select * from \"sys\".\"databases\"", 0, "", "name\tdatabase_id", "master\t1\nSales\t5");
    probe_.script("BACKUP", 0, "", "", "", 3, 0);
    std::vector<std::string> untouched, done;
    std::string description, file;
    bool refused = false;
    ASSERT_TRUE(open(SqlServerDialog::backup, [&](HWND dialog) {
        {
            harness::BoxCatcher boxes(dialog);
            harness::click(dialog, IDC_MSSQL_RUN);
            untouched = boxes.texts();
        }
        select(dialog, IDC_MSSQL_DATABASE, "Sales");
        description = harness::itemText(dialog, IDC_MSSQL_FIELD2);
        file = harness::itemText(dialog, IDC_MSSQL_FIELD3);
        screenshot(dialog, "mssql_backup.bmp");
        probe_.clearScripts();
        probe_.script("BACKUP", 0, "", "", "", 3, 0);
        // A second backup dialog ends at once; this one keeps its slot.
        const SqlServerDialogState* mine = openSqlServerDialogOf(SqlServerDialog::backup);
        openSqlServerDialog(nullptr, SqlServerDialog::backup, connection_, binding_);
        refused = mine && openSqlServerDialogOf(SqlServerDialog::backup) == mine;
        harness::BoxCatcher boxes(dialog);
        harness::click(dialog, IDC_MSSQL_RUN);
        done = boxes.texts();
    }));
    SYSTEMTIME today;
    GetLocalTime(&today);
    std::string expected = backupFileName("Sales", today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(untouched, std::vector<std::string>{"The parameters are filled in!"});
    EXPECT_EQ(description, "Sales");
    EXPECT_EQ(file, expected);
    EXPECT_TRUE(refused);
    EXPECT_EQ(done, std::vector<std::string>{"The database backup is finished : Sales - " + expected});
    std::vector<std::string> calls = probe_.calls();
    std::vector<std::string> tail = {"SQLExecDirect " + backupSql("Sales", expected, "Sales"),
                                     "SQLMoreResults",
                                     "SQLMoreResults",
                                     "SQLMoreResults",
                                     "SQLMoreResults",
                                     "SQLFreeHandle"};
    // The refused second dialog filled no list: its statements never went out.
    EXPECT_EQ(calls, tail);
    EXPECT_EQ(openSqlServerDialogOf(SqlServerDialog::backup), nullptr);
}

// A real server fails DBCC CHECKDB when it finds damage: the sequence stops there, with boxes 101
// and 102 checked and the bar at 3, and the database goes back ONLINE.
TEST_F(SqlServerDialogs, RepairStopsAtAFailedStepAndPutsTheDatabaseBack) {
    probe_.script("select * from \"sys\".\"databases\"", 0, "", "name", "Sales\nOther");
    std::vector<std::string> steps = repairSteps("Sales");
    probe_.script(steps[2], -1, "Msg 8928: object damaged");
    std::vector<std::string> captions, boxes;
    std::vector<bool> marks;
    LRESULT position = 0;
    bool clickClears = false;
    std::string clipboard;
    ASSERT_TRUE(open(SqlServerDialog::repair, [&](HWND dialog) {
        for (int id = IDC_REPAIR_STEP_FIRST; id < IDC_REPAIR_STEP_FIRST + 6; ++id)
            captions.push_back(harness::itemText(dialog, id));
        CheckDlgButton(dialog, IDC_REPAIR_STEP_FIRST, BST_CHECKED);
        harness::click(dialog, IDC_REPAIR_STEP_FIRST);
        clickClears = !harness::checked(dialog, IDC_REPAIR_STEP_FIRST);
        harness::click(dialog, IDC_REPAIR_COPY);
        if (OpenClipboard(dialog)) {
            if (HANDLE data = GetClipboardData(CF_TEXT))
                clipboard = static_cast<const char*>(GlobalLock(data)), GlobalUnlock(data);
            CloseClipboard();
        }
        screenshot(dialog, "mssql_repair.bmp");
        harness::BoxCatcher catcher(dialog);
        harness::click(dialog, IDOK);
        boxes = catcher.texts();
        for (int id = IDC_REPAIR_STEP_FIRST; id < IDC_REPAIR_STEP_FIRST + 6; ++id)
            marks.push_back(harness::checked(dialog, id));
        position = SendDlgItemMessageA(dialog, IDC_REPAIR_PROGRESS, PBM_GETPOS, 0, 0);
        screenshot(dialog, "mssql_repair_failed.bmp");
    }));
    ASSERT_EQ(captions.size(), 6u);
    EXPECT_EQ(captions[0], "1. EXEC sp_resetstatus 'Sales'");
    EXPECT_EQ(captions[3], "4. ALTER DATABASE \"Sales\" SET SINGLE_USER WITH ROLLBACK IMMEDIATE");
    EXPECT_TRUE(clickClears);
    EXPECT_EQ(clipboard, repairClipboardText("Sales"));
    EXPECT_EQ(boxes, std::vector<std::string>{"The repair is unsuccessful!"});
    EXPECT_EQ(marks, (std::vector<bool>{true, true, false, false, false, false}));
    EXPECT_EQ(position, 3);
    std::vector<std::string> expected = {kDatabaseListQuery, steps[0], steps[1], steps[2],
                                         "ALTER DATABASE \"Sales\" SET ONLINE"};
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(ui_.errors, std::vector<std::string>{"Msg 8928: object damaged"});
    EXPECT_EQ(openSqlServerDialogOf(SqlServerDialog::repair), nullptr);
}

// Logins: the roles of a chosen login, Modify adding and dropping each role, Create with its
// password check, Delete after the question.
TEST_F(SqlServerDialogs, LoginsLoadModifyCreateAndDelete) {
    probe_.script("select * from \"sys\".\"sql_logins\"", 0, "", "name\tprincipal_id", "joe\t260\nsa\t1");
    // sys.syslogins: the role columns are 0/1 after the login's own columns.
    probe_.script(
        "select * from \"sys\".\"syslogins\"", 0, "",
        "name\tsysadmin\tsecurityadmin\tserveradmin\tsetupadmin\tprocessadmin\tdiskadmin\tdbcreator\tbulkadmin",
        "joe\t1\t0\t0\t0\t0\t1\t0\t0");
    std::vector<bool> loaded;
    std::string name;
    std::vector<std::string> mismatch, deleted;
    std::vector<std::string> afterLoad, afterModify, afterCreate;
    ASSERT_TRUE(open(SqlServerDialog::users, [&](HWND dialog) {
        select(dialog, IDC_MSSQL_DATABASE, "joe");
        name = harness::itemText(dialog, IDC_MSSQL_FIELD2);
        for (int i = 0; i < 8; ++i)
            loaded.push_back(harness::checked(dialog, IDC_MSSQL_ROLE_FIRST + i));
        afterLoad = sent();
        harness::click(dialog, IDC_MSSQL_MODIFY);
        afterModify = sent();
        screenshot(dialog, "mssql_users.bmp");
        harness::setText(dialog, IDC_MSSQL_FIELD2, kHostile);
        harness::setText(dialog, IDC_MSSQL_PASSWORD, "p'w");
        harness::setText(dialog, IDC_MSSQL_RETYPE, "P'w");
        {
            harness::BoxCatcher boxes(dialog);
            harness::click(dialog, IDC_MSSQL_CREATE);
            mismatch = boxes.texts();
        }
        harness::setText(dialog, IDC_MSSQL_RETYPE, "p'w");
        harness::click(dialog, IDC_MSSQL_NONE);
        CheckDlgButton(dialog, IDC_MSSQL_ROLE_FIRST + 6, BST_CHECKED);
        harness::click(dialog, IDC_MSSQL_CREATE);
        afterCreate = sent();
        harness::setText(dialog, IDC_MSSQL_FIELD2, kHostile);
        harness::BoxCatcher boxes(dialog, IDYES);
        harness::click(dialog, IDC_MSSQL_DELETE);
        deleted = boxes.texts();
    }));
    EXPECT_EQ(name, "joe");
    EXPECT_EQ(loaded, (std::vector<bool>{true, false, false, false, false, true, false, false}));
    std::vector<std::string> expected = {kLoginListQuery, loginRolesSql("joe")};
    EXPECT_EQ(afterLoad, expected);
    expected.push_back(loginRolesSql("joe"));
    for (int i = 0; i < 8; ++i)
        expected.push_back(roleMemberSql(i == 0 || i == 5, "joe", serverRoles()[i]));
    EXPECT_EQ(afterModify, expected);
    EXPECT_EQ(mismatch, std::vector<std::string>{"Different password!"});
    expected.push_back(createLoginSql(kHostile, "p'w"));
    expected.push_back(roleMemberSql(true, kHostile, "dbcreator"));
    expected.push_back(kLoginListQuery);
    EXPECT_EQ(afterCreate, expected);
    EXPECT_EQ(deleted, std::vector<std::string>{dropLoginSql(kHostile)});
    std::vector<std::string> all = sent();
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[all.size() - 2], dropLoginSql(kHostile));
    EXPECT_EQ(all.back(), kLoginListQuery);
    EXPECT_TRUE(ui_.errors.empty()) << ui_.errors[0];
}

}  // namespace
