// The browse commands' dialogs driven through their controls: search, go to, table information,
// create table and modify structure, over real table files in table windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/info_dialog.h"
#include "browse/structure_dialog.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "resources/resource.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using dbftest::field;
using harness::click;
using harness::runDialog;
using harness::setText;

class CommandDialogs : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        path_ = dir_.file("FRUIT.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("CITY", 'C', 8), field("NOTE", 'M', 10)};
        dbf table(path_.c_str());
        ASSERT_EQ(table.create(defs, 3), 1);
        ASSERT_EQ(table.open(1), 1);
        dbftest::appendRows(
            table, {{"alma", "Pécs"}, {"béla", "Győr"}, {"pear", "Eger"}, {"KÖRTE", "Szeged"}, {"zoltán", "Pécs"}});
        ASSERT_EQ(table.lockTable(), 1);
        table.goTo(3);
        ASSERT_EQ(table.writeMemo(2, "a memo of pear"), 1);
        table.unlock();
        table.close();
    }
    void TearDown() override {
        for (HWND window : windows_) {
            if (IsWindow(window))
                DestroyWindow(window);
        }
        harness::pumpMessages();
        resetSettings();
    }
    BrowseView* open() {
        HWND window = openTableWindow(nullptr, path_.c_str());
        if (!window)
            return nullptr;
        windows_.push_back(window);
        UpdateWindow(window);
        harness::pumpMessages(20);
        return browseViewOf(window);
    }
    void moveTo(BrowseView& view, long record, long column) {
        view.goToRecord(view, record);
        view.curRecord = record;
        view.curRow = record;
        view.curColumn = column;
        InvalidateRect(view.window, nullptr, TRUE);
        UpdateWindow(view.window);
    }
    dbftest::TempDir dir_;
    std::string path_;
    std::vector<HWND> windows_;
};

// ---- Search ----

TEST_F(CommandDialogs, SearchOpensWithTheTrimmedCellTextDownAndCurrentColumn) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    moveTo(*view, 2, 1);
    std::string caption, text;
    bool down = false, current = false, up = true, all = true;
    ASSERT_TRUE(runDialog([&] { searchCommand(*view); },
                          [&](HWND dialog) {
                              caption = harness::windowText(dialog);
                              text = harness::itemText(dialog, IDC_FIND_TEXT);
                              down = harness::checked(dialog, IDC_FIND_DOWN);
                              up = harness::checked(dialog, IDC_FIND_UP);
                              current = harness::checked(dialog, IDC_FIND_CURRENT);
                              all = harness::checked(dialog, IDC_FIND_ALL);
                          }));
    EXPECT_EQ(caption, "Search");
    EXPECT_EQ(text, "béla");
    EXPECT_TRUE(down && current);
    EXPECT_FALSE(up || all);
}

TEST_F(CommandDialogs, SearchWithoutCaseFindsTheCapitalisedWordByTheHungarianRules) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    moveTo(*view, 1, 1);
    std::vector<long> found;
    std::vector<harness::BoxCatcher::Box> boxes;
    runDialog([&] { searchCommand(*view); },
              [&](HWND dialog) {
                  harness::BoxCatcher catcher(dialog);
                  setText(dialog, IDC_FIND_TEXT, "  körte ");
                  click(dialog, IDC_FIND_OK);
                  found.push_back(view->curRecord);
                  // Once more from the found record: nothing further down, the position stays.
                  click(dialog, IDC_FIND_OK);
                  found.push_back(view->curRecord);
                  found.push_back(view->table->recNo());
                  // Case sensitive: the capitals do not match.
                  moveTo(*view, 1, 1);
                  CheckDlgButton(dialog, IDC_FIND_CASE, BST_CHECKED);
                  click(dialog, IDC_FIND_OK);
                  found.push_back(view->curRecord);
                  boxes = catcher.boxes();
              });
    EXPECT_EQ(found, (std::vector<long>{4, 4, 4, 1}));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Search string not found.");
    EXPECT_EQ(harness::windowText(view->window), path_ + " - 5/1");
}

TEST_F(CommandDialogs, SearchUpInAllColumnsShowsTheRecordOnTheFirstRow) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    moveTo(*view, 5, 1);
    long record = 0, row = 0;
    std::string caption;
    runDialog([&] { searchCommand(*view); },
              [&](HWND dialog) {
                  setText(dialog, IDC_FIND_TEXT, "PÉCS");  // in CITY, not the current column
                  CheckDlgButton(dialog, IDC_FIND_UP, BST_CHECKED);
                  CheckDlgButton(dialog, IDC_FIND_DOWN, BST_UNCHECKED);
                  CheckDlgButton(dialog, IDC_FIND_ALL, BST_CHECKED);
                  CheckDlgButton(dialog, IDC_FIND_CURRENT, BST_UNCHECKED);
                  click(dialog, IDC_FIND_OK);
                  record = view->curRecord;
                  row = view->curRow;
                  caption = harness::windowText(view->window);
              });
    // Record 5 holds Pécs as well, but the current record is not searched.
    EXPECT_EQ(record, 1);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(view->direction, 1);
    EXPECT_EQ(caption, path_ + " - 5/1");
}

TEST_F(CommandDialogs, SearchDownFromTheLastRecordFailsAtOnceAndKeepsThePosition) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    moveTo(*view, 5, 1);
    std::vector<harness::BoxCatcher::Box> boxes;
    runDialog([&] { searchCommand(*view); },
              [&](HWND dialog) {
                  harness::BoxCatcher catcher(dialog);
                  setText(dialog, IDC_FIND_TEXT, "alma");
                  click(dialog, IDC_FIND_OK);
                  boxes = catcher.boxes();
              });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Search string not found.");
    EXPECT_EQ(view->curRecord, 5);
    EXPECT_EQ(view->table->recNo(), 5);
}

TEST_F(CommandDialogs, OnlyOneSearchDialogAtATime) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    bool second = true;
    runDialog([&] { searchCommand(*view); },
              [&](HWND) { second = runDialog([&] { searchCommand(*view); }, [](HWND) {}); });
    EXPECT_FALSE(second);
}

// ---- Go to ----

TEST_F(CommandDialogs, GoToMovesToTheRecordAndRefusesNumbersOutOfRange) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::vector<long> records;
    std::vector<harness::BoxCatcher::Box> boxes;
    std::string caption;
    runDialog([&] { goToCommand(*view); },
              [&](HWND dialog) {
                  caption = harness::windowText(dialog);
                  harness::BoxCatcher catcher(dialog);
                  setText(dialog, IDC_GOTO_NUMBER, "4");
                  click(dialog, IDC_GOTO_GO);
                  records.push_back(view->table->recNo());
                  records.push_back(view->curRow);
                  setText(dialog, IDC_GOTO_NUMBER, "0");
                  click(dialog, IDC_GOTO_GO);
                  setText(dialog, IDC_GOTO_NUMBER, "");
                  click(dialog, IDC_GOTO_GO);
                  records.push_back(view->table->recNo());
                  setText(dialog, IDC_GOTO_NUMBER, "6");
                  click(dialog, IDC_GOTO_GO);
                  records.push_back(view->table->recNo());
                  boxes = catcher.boxes();
              });
    EXPECT_EQ(caption, "Go to");
    EXPECT_EQ(records, (std::vector<long>{4, 4, 4, 4}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].text, "Out of range.");
    EXPECT_EQ(harness::windowText(view->window), path_ + " - 5/4");
}

// ---- Table information ----

TEST_F(CommandDialogs, TableInfoListsTheFieldsAndTheRecordLength) {
    std::string name = dir_.file("AGES.DBF");
    const FieldDef defs[] = {field("NAME", 'C', 20), field("AGE", 'N', 3, 0)};
    dbf table(name.c_str());
    ASSERT_EQ(table.create(defs, 2), 1);
    ASSERT_EQ(table.open(0), 1);
    EXPECT_EQ(structureListing(table), "Table name : " + name +
                                           "\r\n"
                                           "--- ---------- ---- --- -------\r\n"
                                           "    Fieldname  Type Len Decimal\r\n"
                                           "--- ---------- ---- --- -------\r\n"
                                           "  0 delete flag       1\r\n"
                                           "--- ---------- ---- --- -------\r\n"
                                           "  1 NAME       C     20       0\r\n"
                                           "  2 AGE        N      3       0\r\n"
                                           "\r\nThe record length    24 bytes.\r\n");
}

TEST_F(CommandDialogs, TableInfoShowsTheListingInItsDialog) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::string caption, text;
    ASSERT_TRUE(runDialog([&] { tableInfoCommand(*view); },
                          [&](HWND dialog) {
                              caption = harness::windowText(dialog);
                              text = harness::itemText(dialog, IDC_INFO_TEXT);
                              click(dialog, IDC_INFO_EXIT);
                          }));
    EXPECT_EQ(caption, "Table information");
    EXPECT_EQ(text, structureListing(*view->table));
    EXPECT_NE(text.find("  3 NOTE       M     10       0\r\n"), std::string::npos);
}

// ---- Create table and modify structure ----

struct ListRow {
    std::string name, type, length, decimals;
    bool operator==(const ListRow& o) const {
        return name == o.name && type == o.type && length == o.length && decimals == o.decimals;
    }
};

std::ostream& operator<<(std::ostream& out, const ListRow& r) {
    return out << r.name << "/" << r.type << "/" << r.length << "/" << r.decimals;
}

std::vector<ListRow> listRows(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CREATE_LIST);
    std::vector<ListRow> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string cells[4];
        for (int c = 0; c < 4; ++c) {
            char buffer[64] = "";
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = buffer;
            item.cchTextMax = sizeof buffer;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            cells[c] = buffer;
        }
        rows.push_back({cells[0], cells[1], cells[2], cells[3]});
    }
    return rows;
}

void enterField(HWND dialog, const char* name, int type, const char* length, const char* decimals) {
    setText(dialog, IDC_CREATE_NAME, name);
    SendDlgItemMessageA(dialog, IDC_CREATE_TYPE, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    setText(dialog, IDC_CREATE_LENGTH, length);
    setText(dialog, IDC_CREATE_DECIMALS, decimals);
}

TEST_F(CommandDialogs, CreateTableCorrectsSizesAndRefusesBadInput) {
    std::string name = dir_.file("NEW.DBF");
    std::vector<ListRow> rows;
    std::vector<std::string> texts;
    std::string caption, length, decimals;
    ASSERT_TRUE(runDialog([&] { showCreateTableDialog(nullptr); },
                          [&](HWND dialog) {
                              caption = harness::windowText(dialog);
                              harness::BoxCatcher catcher(dialog);
                              enterField(dialog, "", 0, "10", "0");
                              click(dialog, IDOK);
                              enterField(dialog, "1A", 0, "10", "0");
                              click(dialog, IDOK);
                              enterField(dialog, "BORN", 2, "20", "3");  // Date
                              click(dialog, IDOK);
                              length = harness::itemText(dialog, IDC_CREATE_LENGTH);
                              decimals = harness::itemText(dialog, IDC_CREATE_DECIMALS);
                              enterField(dialog, "SUM", 1, "25", "2");  // Numeric
                              click(dialog, IDOK);
                              enterField(dialog, "SUM", 0, "5", "0");  // already listed: no second row
                              click(dialog, IDOK);
                              enterField(dialog, "NOTE", 4, "1", "0");  // not listed: modify does nothing
                              click(dialog, IDC_CREATE_MODIFY);
                              enterField(dialog, "SUM", 1, "12", "3");
                              click(dialog, IDC_CREATE_MODIFY);
                              enterField(dialog, "NAME", 0, "300", "0");
                              click(dialog, IDOK);
                              enterField(dialog, "GONE", 3, "1", "0");
                              click(dialog, IDOK);
                              ListView_SetItemState(GetDlgItem(dialog, IDC_CREATE_LIST), 3, LVIS_SELECTED,
                                                    LVIS_SELECTED);
                              click(dialog, IDC_CREATE_DELETE);
                              rows = listRows(dialog);
                              click(dialog, IDC_CREATE_CREATE);  // no file name
                              setText(dialog, IDC_CREATE_FILE, name);
                              click(dialog, IDC_CREATE_CREATE);
                              for (const auto& box : catcher.boxes())
                                  texts.push_back(box.text);
                          }));
    EXPECT_EQ(caption, "Create table");
    EXPECT_EQ(length, "8");
    EXPECT_EQ(decimals, "0");
    EXPECT_EQ(rows, (std::vector<ListRow>{
                        {"BORN", "Date", "8", "0"}, {"SUM", "Numeric", "12", "3"}, {"NAME", "Character", "255", "0"}}));
    EXPECT_EQ(texts, (std::vector<std::string>{"Empty field name!", "Bad field name!", "Empty filename!"}));
    dbf table(name.c_str());
    ASSERT_EQ(table.open(0), 1);
    ASSERT_EQ(table.fieldCount(), 3);
    EXPECT_EQ(table.fieldInfo(0)->type, 'D');
    EXPECT_EQ(table.fieldInfo(1)->width, 12);
    EXPECT_EQ(table.fieldInfo(1)->decimals, 3);
    EXPECT_EQ(table.recordLength(), 1 + 8 + 12 + 255);
}

TEST_F(CommandDialogs, CreateAsksBeforeOverwritingAndNeedsFields) {
    std::string name = dir_.file("OLD.DBF");
    dbftest::writeAll(name, "keep");
    std::vector<harness::BoxCatcher::Box> boxes;
    runDialog([&] { showCreateTableDialog(nullptr); },
              [&](HWND dialog) {
                  harness::BoxCatcher catcher(dialog, IDCANCEL);
                  setText(dialog, IDC_CREATE_FILE, name);
                  click(dialog, IDC_CREATE_CREATE);  // cancelled
                  boxes = catcher.boxes();
              });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].text, "The file already exist, overwite ?");
    EXPECT_EQ(dbftest::readAll(name).size(), 4u);
    runDialog([&] { showCreateTableDialog(nullptr); },
              [&](HWND dialog) {
                  harness::BoxCatcher catcher(dialog, IDOK);
                  setText(dialog, IDC_CREATE_FILE, name);
                  click(dialog, IDC_CREATE_CREATE);
                  boxes = catcher.boxes();
              });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Empty table!");
    EXPECT_EQ(dbftest::readAll(name).size(), 4u);
}

TEST_F(CommandDialogs, CreateAndModifyStructureShareOneDialog) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    // Either way in first, the other way in opens no second dialog while it is open.
    const struct {
        const char* first;
        std::function<void()> open;
        std::function<void()> other;
    } orders[] = {
        {"create", [] { showCreateTableDialog(nullptr); }, [&] { modifyStructureCommand(*view); }},
        {"modify", [&] { modifyStructureCommand(*view); }, [] { showCreateTableDialog(nullptr); }},
    };
    for (const auto& order : orders) {
        bool second = true;
        ASSERT_TRUE(runDialog(order.open, [&](HWND) { second = runDialog(order.other, [](HWND) {}); })) << order.first;
        EXPECT_FALSE(second) << order.first;
        // Closed, it opens again.
        EXPECT_TRUE(runDialog(order.other, [](HWND) {})) << order.first;
    }
}

TEST_F(CommandDialogs, OpeningAnOpenTableAgainBringsItsWindowForward) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    HWND window = view->window;
    ShowWindow(window, SW_MINIMIZE);
    harness::pumpMessages(20);
    char saved[MAX_PATH];
    GetCurrentDirectoryA(sizeof saved, saved);
    SetCurrentDirectoryA(dir_.path().string().c_str());
    std::string upper = path_;
    CharUpperA(&upper[0]);
    for (const std::string& spelling : {path_, upper, std::string(".\\fruit.dbf")})
        EXPECT_EQ(openTableWindow(nullptr, spelling.c_str()), window) << spelling;
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(tablePool().inUseCount(), 1);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(CommandDialogs, ModifyStructureListsTheFieldsAndTurnsTextIntoMemos) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    HWND window = view->window;
    std::vector<ListRow> rows;
    std::string caption, button, file;
    bool selectEnabled = true;
    std::vector<harness::BoxCatcher::Box> boxes;
    ASSERT_TRUE(runDialog([&] { modifyStructureCommand(*view); },
                          [&](HWND dialog) {
                              caption = harness::windowText(dialog);
                              button = harness::itemText(dialog, IDC_CREATE_CREATE);
                              file = harness::itemText(dialog, IDC_CREATE_FILE);
                              selectEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CREATE_SELECT)) != FALSE;
                              rows = listRows(dialog);
                              harness::BoxCatcher catcher(dialog, IDOK);
                              enterField(dialog, "CITY", 4, "10", "0");  // CITY becomes a memo
                              click(dialog, IDC_CREATE_MODIFY);
                              enterField(dialog, "TOWN", 0, "8", "0");  // a new field: blank
                              click(dialog, IDOK);
                              click(dialog, IDC_CREATE_CREATE);
                              boxes = catcher.boxes();
                          }));
    EXPECT_EQ(caption, "Modify stucture : " + path_);
    EXPECT_EQ(button, "M&odify str.");
    EXPECT_EQ(file, path_);
    EXPECT_FALSE(selectEnabled);
    EXPECT_EQ(rows,
              (std::vector<ListRow>{
                  {"NAME", "Character", "10", "0"}, {"CITY", "Character", "8", "0"}, {"NOTE", "Memo", "10", "0"}}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The file already exist, overwite ?");
    harness::pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window)) << "the table window stays after a changed structure";

    dbf table(path_.c_str());
    ASSERT_EQ(table.open(0), 1);
    ASSERT_EQ(table.fieldCount(), 4);
    EXPECT_EQ(table.fieldInfo(1)->type, 'M');
    EXPECT_EQ(table.recCount(), 5);
    table.goTo(2);
    EXPECT_STREQ(table.readMemo(table.getField(1)), "Győr    ");
    EXPECT_STREQ(table.getField(3), "        ");
    table.goTo(3);
    EXPECT_STREQ(table.readMemo(table.getField(2)), "a memo of pear");
    EXPECT_FALSE(std::filesystem::exists(path_ + "0"));
    EXPECT_FALSE(std::filesystem::exists(path_ + "0T"));
}

TEST_F(CommandDialogs, TheMainMenusCreateTableOpensTheDialogUnderBothIds) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startUp("");
    ASSERT_TRUE(registerWindowClasses(instance));
    installModules();
    HWND main = createMainWindow(instance);
    ASSERT_NE(main, nullptr);
    for (UINT id : {IDM_CREATE_TABLE, IDM_CREATE_TABLE_OLD}) {
        std::string caption;
        HWND owner = nullptr;
        EXPECT_TRUE(runDialog([&] { SendMessageA(main, WM_COMMAND, id, 0); },
                              [&](HWND dialog) {
                                  caption = harness::windowText(dialog);
                                  owner = GetWindow(dialog, GW_OWNER);
                                  EXPECT_EQ(listRows(dialog).size(), 0u);
                              }))
            << id;
        EXPECT_EQ(caption, "Create table");
        EXPECT_EQ(owner, main);
    }
    DestroyWindow(main);
    harness::pumpMessages();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
