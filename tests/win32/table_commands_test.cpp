// Pack and zap from a table window: the question, the new table swapped in with its memo file, the
// table opened again in a new window, and a refused table lock changing nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/data_source.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using dbftest::field;

class TableCommands : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        path_ = dir_.file("PACK.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("NOTE", 'M', 10)};
        dbf table(path_.c_str());
        ASSERT_EQ(table.create(defs, 2), 1);
        ASSERT_EQ(table.open(1), 1);
        dbftest::appendRows(table, {{"one"}, {"two"}, {"three"}, {"four"}});
        ASSERT_EQ(table.lockTable(), 1);
        for (long r = 1; r <= 4; ++r) {
            table.goTo(r);
            ASSERT_EQ(table.writeMemo(1, ("memo of " + std::to_string(r)).c_str()), 1);
        }
        table.goTo(2);
        table.deleteRecord();
        table.goTo(4);
        table.deleteRecord();
        table.unlock();
        table.close();
    }
    void TearDown() override {
        for (int slot = 0; slot < 15; ++slot) {
            BrowseView* view = tableViewSlot(slot);
            if (view && view->window && IsWindow(view->window))
                DestroyWindow(view->window);
        }
        harness::pumpMessages();
        resetSettings();
    }
    BrowseView* open() {
        HWND window = openTableWindow(nullptr, path_.c_str());
        harness::pumpMessages(20);
        return window ? browseViewOf(window) : nullptr;
    }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    HWND windowTitled(const std::string& title) {
        HWND found = nullptr;
        harness::pumpUntil([&] { return (found = FindWindowA("Tbl", title.c_str())) != nullptr; });
        return found;
    }
    // The table view of the one table window open, or null.
    BrowseView* reopened() {
        BrowseView* found = nullptr;
        for (int slot = 0; slot < 15; ++slot) {
            BrowseView* view = tableViewSlot(slot);
            if (view && view->table && view->window && IsWindow(view->window))
                found = view;
        }
        return found;
    }
    dbftest::TempDir dir_;
    std::string path_;
};

TEST_F(TableCommands, PackKeepsTheLiveRecordsWithTheirMemosAndOpensTheTableAgain) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    HWND window = view->window;
    harness::BoxCatcher catcher(nullptr, IDOK);
    packCommand(*view);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Pack : " + path_);
    EXPECT_EQ(catcher.boxes()[0].text, "Are you sure?");
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(windowTitled(path_ + " - 2/1"), nullptr);
    EXPECT_EQ(files(), (std::set<std::string>{"PACK.DBF", "PACK.DBT"}));

    dbf table(path_.c_str());
    ASSERT_EQ(table.open(1), 1);
    ASSERT_EQ(table.recCount(), 2);
    table.goTo(1);
    EXPECT_STREQ(table.getField(0), "one       ");
    EXPECT_STREQ(table.readMemo(table.getField(1)), "memo of 1");
    table.goTo(2);
    EXPECT_STREQ(table.getField(0), "three     ");
    EXPECT_STREQ(table.readMemo(table.getField(1)), "memo of 3");
    EXPECT_EQ(table.isDeleted(), 0);
}

TEST_F(TableCommands, ZapLeavesTheStructureWithoutRecords) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    harness::BoxCatcher catcher(nullptr, IDOK);
    zapCommand(*view);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Zap : " + path_);
    BrowseView* again = reopened();
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->title, path_.c_str());
    EXPECT_EQ(again->table->recCount(), 0);
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(1), 1);
    EXPECT_EQ(table.recCount(), 0);
    EXPECT_EQ(table.fieldCount(), 2);
    EXPECT_TRUE(table.hasMemo());
    EXPECT_EQ(files(), (std::set<std::string>{"PACK.DBF", "PACK.DBT"}));
}

TEST_F(TableCommands, CancelAndARefusedLockChangeNothing) {
    std::vector<uint8_t> before = dbftest::readAll(path_);
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    HWND window = view->window;
    {
        harness::BoxCatcher catcher(nullptr, IDCANCEL);
        zapCommand(*view);
        EXPECT_EQ(catcher.boxes().size(), 1u);
    }
    EXPECT_TRUE(IsWindow(window));
    dbf holder(path_.c_str());
    ASSERT_EQ(holder.open(1), 1);
    ASSERT_EQ(holder.lockTable(), 1);
    {
        harness::BoxCatcher catcher(nullptr, IDOK);
        packCommand(*view);
        ASSERT_EQ(catcher.texts(), (std::vector<std::string>{"Are you sure?", "The table busy !"}));
    }
    holder.unlock();
    holder.close();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_NE(view->table, nullptr);
    EXPECT_EQ(dbftest::readAll(path_), before);
    EXPECT_EQ(files(), (std::set<std::string>{"PACK.DBF", "PACK.DBT"}));
}

}  // namespace
