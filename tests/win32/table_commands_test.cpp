// Pack and zap from a table window: the question, the new table swapped in with its memo file, the
// table opened again in a new window, and a refused table lock changing nothing. The whole-table
// commands under the progress dialog: the bar moves, "&Cancel" leaves the table as it was, and a
// failure says what happened.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/data_source.h"
#include "browse/table_job.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/grid_table_files.h"
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

// Watches the progress dialog from a timer its loop dispatches: its caption, the highest bar
// position, and "&Cancel" pressed once the bar has moved when `cancel` is set.
struct ProgressSeen {
    bool cancel = false;
    bool opened = false;
    bool visible = false;
    std::string caption;
    int highest = -1;
    int filled = 0;  // pixels of the bar in the highlight colour, when "&Cancel" was pressed
};
ProgressSeen* g_progress = nullptr;

void CALLBACK watchProgress(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    for (HWND w = FindWindowA("#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (harness::isProgressDialog(w))
            dialog = w;
    if (!dialog || !g_progress)
        return;
    g_progress->opened = true;
    g_progress->caption = harness::windowText(dialog);
    int position = static_cast<int>(SendDlgItemMessageA(dialog, 101, PBM_GETPOS, 0, 0));
    if (position > g_progress->highest)
        g_progress->highest = position;
    g_progress->visible = g_progress->visible || IsWindowVisible(dialog);
    if (g_progress->cancel && position > 0 && !g_progress->filled) {
        harness::Pixels bar = harness::captureWindow(GetDlgItem(dialog, 101));
        for (COLORREF pixel : bar.rgb)
            g_progress->filled += pixel == GetSysColor(COLOR_HIGHLIGHT);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

class LongTableCommands : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        path_ = dir_.file("LONG.DBF");
        ASSERT_TRUE(gridtest::writeNumberedTable(path_, kRecords));
        window_ = openTableWindow(nullptr, path_.c_str());
        harness::pumpMessages(20);
    }
    void TearDown() override {
        if (window_ && IsWindow(window_))
            DestroyWindow(window_);
        for (int slot = 0; slot < 15; ++slot) {
            BrowseView* view = tableViewSlot(slot);
            if (view && view->window && IsWindow(view->window))
                DestroyWindow(view->window);
        }
        harness::pumpMessages();
        resetSettings();
    }
    // Runs `command` on the window's view with the progress watcher and the boxes answered OK.
    ProgressSeen run(const std::function<void(BrowseView&)>& command, bool cancel, std::vector<std::string>& texts) {
        ProgressSeen seen;
        seen.cancel = cancel;
        g_progress = &seen;
        UINT_PTR timer = SetTimer(nullptr, 0, 1, watchProgress);
        {
            harness::BoxCatcher catcher(nullptr, IDOK);
            command(*browseViewOf(window_));
            harness::pumpMessages(20);
            texts = catcher.texts();
        }
        KillTimer(nullptr, timer);
        g_progress = nullptr;
        return seen;
    }
    static constexpr long kRecords = 40000;
    dbftest::TempDir dir_;
    std::string path_;
    HWND window_ = nullptr;
};

TEST_F(LongTableCommands, TheBarMovesAndCancelLeavesTheTableAsItWas) {
    ASSERT_NE(window_, nullptr);
    std::vector<uint8_t> before = dbftest::readAll(path_);
    std::vector<std::string> texts;
    ProgressSeen cancelled = run([](BrowseView& view) { packCommand(view); }, true, texts);
    ASSERT_TRUE(cancelled.opened) << "no progress dialog";
    EXPECT_EQ(cancelled.caption, ("Pack : " + path_).substr(0, 63));  // a title holds 63 characters
    EXPECT_TRUE(cancelled.visible);
    EXPECT_GT(cancelled.highest, 0) << "the bar never moved";
    EXPECT_GT(cancelled.filled, 0) << "the bar's position was never drawn";
    EXPECT_LT(cancelled.highest, 100);
    EXPECT_EQ(texts, (std::vector<std::string>{"Are you sure?", "Cancelled: the table is as it was."}));
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(dbftest::readAll(path_), before);
}

TEST_F(LongTableCommands, FailedExportsSayWhatHappened) {
    ASSERT_NE(window_, nullptr);
    BrowseView& view = *browseViewOf(window_);
    std::string missingFolder = dir_.file("no such folder") + "\\OUT.TXT";
    const struct {
        const char* output;
        const char* message;
    } cases[] = {
        {missingFolder.c_str(), "The output file cannot be created."},
        {path_.c_str(), "The output file is the table itself: choose another name."},
    };
    for (const auto& c : cases) {
        harness::BoxCatcher catcher(nullptr, IDOK);
        EXPECT_FALSE(view.table->exportText(c.output));
        warnTableFailure(view, false);
        EXPECT_EQ(catcher.texts(), std::vector<std::string>{c.message}) << c.output;
    }
}

TEST_F(LongTableCommands, AppendSaysHowManyValuesDidNotFit) {
    ASSERT_NE(window_, nullptr);
    // NUM is N 8 0 in the table: the source's 12-digit numbers do not fit it, 123 does.
    std::string source = dir_.file("WIDE.DBF");
    const FieldDef defs[] = {field("NAME", 'C', 10), field("NUM", 'N', 12)};
    {
        dbf wide(source.c_str());
        ASSERT_EQ(wide.create(defs, 2), 1);
        ASSERT_EQ(wide.open(1), 1);
        dbftest::appendRows(wide, {{"small", "123"}, {"big", "123456789012"}, {"bigger", "999999999999"}});
        wide.close();
    }
    harness::FileDialogAnswer script;
    script.title = "DBF|ASCII -> DBF";
    script.name = source;
    harness::answerFileDialog(
        script,
        [&] {
            appendFromCommand(*browseViewOf(window_));
            harness::pumpMessages(50);
        },
        20);
    ASSERT_TRUE(script.chosen) << "the open dialog did not show";
    EXPECT_EQ(script.warnings, std::vector<std::string>{"2 values did not fit their fields and were left blank."});
    dbf table(path_.c_str());
    ASSERT_EQ(table.open(1), 1);
    EXPECT_EQ(table.recCount(), kRecords + 3);
}

}  // namespace
