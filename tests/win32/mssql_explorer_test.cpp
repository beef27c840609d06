// The explorer's SQL Server menu commands open their dialogs on the selected data source, and the
// commander's panels give back every connection they opened. Runs
// only with the scripted stand-in loaded as odbc32.dll: tools/test.sh runs the copy of the test exe
// in <build>/fake-odbc32, beside the stand-in, with WINEDLLOVERRIDES=odbc32=n.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "base/bound_dialog.h"
#include "copy/commander_internal.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "resources/resource.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"

namespace {

bool standInIsOdbc32() {
    HMODULE module = LoadLibraryA("odbc32.dll");
    bool stand = module && GetProcAddress(module, "fakeScript");
    if (module)
        FreeLibrary(module);
    return stand;
}

HTREEITEM childNamed(HWND tree, HTREEITEM parent, const std::string& name) {
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item)) {
        char text[600] = "";
        TVITEMA tvi{};
        tvi.mask = TVIF_TEXT;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
        if (name == text)
            return item;
    }
    return nullptr;
}

// The main window over the stand-in, which accepts a data source with the password "secret".
class StandInTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!standInIsOdbc32())
            GTEST_SKIP() << "odbc32.dll is not the scripted stand-in";
        probe_ = std::make_unique<odbc_test::FakeProbe>(odbc_test::FakeProbe::Named{"odbc32.dll"});
        ui_.confirmLogin = true;
        ui_.loginPassword = "secret";
        odbcBinding().setUi(&ui_);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        startUp("");
        installModules();
        ASSERT_TRUE(registerWindowClasses(instance));
        main_ = createMainWindow(instance);
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        if (main_)
            DestroyWindow(main_);
        harness::pumpMessages();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        odbcBinding().setUi(nullptr);
    }
    HWND open(UINT command, HWND (*current)()) {
        SendMessageA(main_, WM_COMMAND, command, 0);
        return current();
    }

    std::unique_ptr<odbc_test::FakeProbe> probe_;
    odbc_test::RecordingUi ui_;
    HWND main_ = nullptr;
};

class SqlServerExplorer : public StandInTest {};
class StandInCommander : public StandInTest {};

TEST_F(SqlServerExplorer, EachMenuCommandOpensItsDialogOnTheSelectedSource) {
    odbc_test::FakeProbe& probe = *probe_;
    probe.setDbmsName("Microsoft SQL Server");
    probe.script("select * from \"sys\".\"databases\"", 0, "", "name", "master\nSales");
    probe.script("select * from \"sys\".\"sql_logins\"", 0, "", "name", "sa");
    probe.script("SQLTables", 0, "", "TABLE_CAT\tTABLE_SCHEM\tTABLE_NAME\tTABLE_TYPE\tREMARKS",
                 "Sales\tdbo\tOrders\tTABLE\t");
    HWND explorer = open(IDM_ODBC_EXPLORER, explorerWindow);
    ASSERT_NE(explorer, nullptr);
    HWND tree = GetDlgItem(explorer, IDC_EXPLORER_TREE);
    HTREEITEM source = childNamed(tree, TreeView_GetRoot(tree), "plain");
    ASSERT_NE(source, nullptr);
    TreeView_SelectItem(tree, source);
    harness::pumpMessages(20);
    ExplorerNode* node = nodeOf(tree, source);
    ASSERT_TRUE(node && node->connection) << (ui_.errors.empty() ? "" : ui_.errors.back());

    // Each command's template told apart by its caption and one control's text.
    struct Case {
        UINT command;
        int control;
        const char* text;
        const char* caption;
    } cases[] = {
        {IDM_EXPLORER_MSSQL_REPAIR, IDOK, "&Start", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_USERS, IDC_MSSQL_EXIT, "&Exit", "Microsoft SQL Server - User manager"},
        {IDM_EXPLORER_MSSQL_BACKUP, IDC_MSSQL_RUN, "&Save", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_RESTORE, IDC_MSSQL_RUN, "&Load", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_FOR_ATTACH, IDC_MSSQL_RUN, "&Create database", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_ATTACH, IDC_MSSQL_RUN, "&Attach", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_DETACH, IDC_MSSQL_RUN, "&Detach", "Microsoft SQL Server"},
        {IDM_EXPLORER_MSSQL_SHRINK, IDC_MSSQL_RUN, "&Run", "Microsoft SQL Server"},
    };
    for (const Case& c : cases) {
        std::string text, caption;
        EXPECT_TRUE(harness::runDialog([&] { SendMessageA(explorer, WM_COMMAND, c.command, 0); },
                                       [&](HWND dialog) {
                                           text = harness::itemText(dialog, c.control);
                                           caption = harness::windowText(dialog);
                                           harness::click(dialog, IDCANCEL);
                                       }))
            << c.command;
        EXPECT_EQ(text, c.text) << c.command;
        EXPECT_EQ(caption, c.caption) << c.command;
    }
    // The lists came over the explorer's connection, through the stand-in.
    int lists = 0;
    for (const std::string& call : probe.calls())
        lists += call.rfind("SQLExecDirect select * from \"sys\".", 0) == 0;
    EXPECT_EQ(lists, 6);  // every dialog but the two attach ones

    SendMessageA(explorer, WM_CLOSE, 0, 0);
}

// The commander over the stand-in: closing disconnects and frees every connection its panels
// opened (a data source's and a dBase file's), as the stand-in itself counts them.
TEST_F(StandInCommander, ClosingDisconnectsEveryPanelsConnection) {
    odbc_test::FakeProbe& probe = *probe_;
    probe.script("SQLTables", 0, "", "TABLE_CAT\tTABLE_SCHEM\tTABLE_NAME\tTABLE_TYPE\tREMARKS",
                 "Sales\tdbo\tOrders\tTABLE\t");
    // The explorer holds the binding too: the commander's connections must go when it closes, not
    // only when the last window lets the binding go.
    HWND explorer = open(IDM_ODBC_EXPLORER, explorerWindow);
    ASSERT_NE(explorer, nullptr);
    HWND commander = open(IDM_ODBC_COMMANDER, commanderWindow);
    ASSERT_NE(commander, nullptr) << "commander not created";
    CommanderState* state = boundObject<CommanderState>(commander);
    ASSERT_NE(state, nullptr);

    // Left: Enter on the data source "plain" connects it and lists its objects.
    HWND left = GetDlgItem(commander, state->panels[0].ids.odbcList);
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = "plain";
    int index =
        static_cast<int>(SendMessageA(left, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    ASSERT_GE(index, 0) << "no data source \"plain\"";
    ListView_SetItemState(left, index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    SendMessageA(left, WM_KEYDOWN, VK_RETURN, 1);
    harness::pumpMessages(20);
    ASSERT_NE(state->panels[0].connection, nullptr) << (ui_.errors.empty() ? "" : ui_.errors.back());
    // Right: a dBase file through the dBase driver's connection string.
    EXPECT_TRUE(openDatabaseFile(*state, state->panels[1], "C:\\data\\cikk.dbf", driver_type::kDbase));
    EXPECT_EQ(std::string(probe.state().lastDriverConnect).rfind("Driver={Microsoft dBASE Driver (*.dbf)};DBQ=", 0), 0u)
        << probe.state().lastDriverConnect;
    EXPECT_EQ(probe.state().liveConnections, 2);

    SendMessageA(commander, WM_CLOSE, 0, 0);
    harness::pumpMessages();
    EXPECT_FALSE(IsWindow(commander));
    EXPECT_EQ(probe.state().liveConnections, 0);
    EXPECT_EQ(probe.state().disconnects, 2);
    EXPECT_EQ(GetMenuState(GetMenu(main_), IDM_ODBC_COMMANDER, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_TRUE(odbcBinding().loaded());
    SendMessageA(explorer, WM_CLOSE, 0, 0);
}

}  // namespace
