// Results in a host's grid under Wine, over the real SQLite driver: the grid shows the temporary
// table with the caption line "title - n/1", a second result and discarding delete the files, a
// statement without columns shows no table, and the column list shows every length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "browse/browse_view.h"
#include "dbf/dbf.h"
#include "dbf/table_swap.h"
#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_view.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/grid_host_fixture.h"
#include "tests/win32/harness.h"

namespace {

int g_gridShown = 0;

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Presses "&Cancel" of the progress dialog `delay` ms after it opens, or once its progress line
// shows at least `rows` rows copied, and notes whether a copy was running then (the host must then
// defer closing).
class CancelPresser {
  public:
    explicit CancelPresser(UINT delay, long rows = 0) {
        self_ = this;
        delay_ = delay;
        rows_ = rows;
        hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    }
    ~CancelPresser() {
        UnhookWindowsHookEx(hook_);
        self_ = nullptr;
    }
    CancelPresser(const CancelPresser&) = delete;
    CancelPresser& operator=(const CancelPresser&) = delete;
    bool pressed = false;
    bool runningWhenPressed = false;

  private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && self_ && !self_->dialog_ &&
            harness::isProgressDialog(reinterpret_cast<HWND>(wParam))) {
            self_->dialog_ = reinterpret_cast<HWND>(wParam);
            SetTimer(nullptr, 0, self_->delay_, timerProc);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD) {
        if (!self_ || self_->pressed) {
            KillTimer(nullptr, id);
            return;
        }
        if (self_->rows_ > 0 && atol(harness::windowText(GetDlgItem(self_->dialog_, 101)).c_str()) < self_->rows_)
            return;  // asked again at the timer's next tick
        KillTimer(nullptr, id);
        self_->pressed = true;
        self_->runningWhenPressed = resultCopyRunning();
        PostMessageA(self_->dialog_, WM_COMMAND, IDCANCEL, 0);
    }
    static CancelPresser* self_;
    HHOOK hook_ = nullptr;
    HWND dialog_ = nullptr;
    UINT delay_ = 0;
    long rows_ = 0;
};
CancelPresser* CancelPresser::self_ = nullptr;

class ResultView : public GridHostTest {
  protected:
    void SetUp() override {
        GridHostTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        host_.showGrid = [](HWND) { ++g_gridShown; };
        g_gridShown = 0;
        exec("DROP TABLE IF EXISTS qr_grid");
        exec("CREATE TABLE qr_grid (id INTEGER, name VARCHAR(20), note TEXT)");
        exec("INSERT INTO qr_grid VALUES (1, 'one', 'first note'), (2, 'two', NULL), (3, 'three', 'third')");
        node_.kind = node_kind::kTable;
        node_.connection = connection_;
        node_.name = "qr_grid";
        node_.path = "QuarrowSQLite.qr_grid";
    }
    BrowseView* view() { return browseViewOf(GetDlgItem(host_.dialog, kGrid)); }
    std::string tablePath() {
        BrowseView* v = view();
        return v && v->table ? v->table->fileName() : std::string();
    }

    ExplorerNode node_;
};

TEST_F(ResultView, QueryResultFillsTheGridAndTheCaptionLine) {
    harness::MessageBoxCatcher boxes;
    ASSERT_EQ(showQueryResult(host_, node_, "SELECT * FROM qr_grid ORDER BY id"), 1);
    EXPECT_TRUE(boxes.boxes().empty());
    BrowseView* v = view();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(v->table, nullptr);
    EXPECT_EQ(v->table->recCount(), 3);
    EXPECT_EQ(v->columnCount, 4);  // the deletion flag and three fields
    EXPECT_STREQ(v->columns[1].caption, "id");
    EXPECT_STREQ(v->columns[3].caption, "note");
    EXPECT_EQ(v->columns[3].type, 'M');
    EXPECT_STREQ(v->permissions, "IIIII");
    EXPECT_EQ(harness::windowText(GetDlgItem(host_.dialog, kCaption)), "QuarrowSQLite.qr_grid - 3/1");
    EXPECT_EQ(harness::windowText(GetDlgItem(host_.dialog, kCommandLine)), "SELECT * FROM qr_grid ORDER BY id");
    EXPECT_EQ(g_gridShown, 1);
    EXPECT_EQ(resultViewQuote(GetDlgItem(host_.dialog, kGrid)), "\"");
    std::string path = tablePath();
    EXPECT_NE(path.find("\\Quarrow\\TempFiles\\"), std::string::npos) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
}

TEST_F(ResultView, EachResultDeletesOnlyItsOwnFiles) {
    ASSERT_EQ(showQueryResult(host_, node_, "SELECT * FROM qr_grid"), 1);
    std::string first = tablePath();
    ASSERT_TRUE(exists(first));
    ASSERT_TRUE(exists(memoNameFor(first)));
    // Another grid's table in the same folder, and a file of the user's shown without a result view.
    ASSERT_EQ(showQueryResult(host_, node_, "SELECT name, note FROM qr_grid"), 1);
    std::string second = tablePath();
    EXPECT_FALSE(exists(first));
    EXPECT_FALSE(exists(memoNameFor(first)));
    EXPECT_TRUE(exists(second));
    EXPECT_EQ(discardResultView(GetDlgItem(host_.dialog, kGrid)), nullptr);
    EXPECT_EQ(view(), nullptr);
    EXPECT_FALSE(exists(second));
    EXPECT_FALSE(exists(memoNameFor(second)));
}

TEST_F(ResultView, StatementWithoutColumnsShowsNoTable) {
    harness::MessageBoxCatcher boxes;
    EXPECT_EQ(showQueryResult(host_, node_, "UPDATE qr_grid SET name = 'x' WHERE id > 1"), 0);
    EXPECT_EQ(view(), nullptr);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "The command was executed: 2 rows affected.");
    // A failing statement: the "ODBC error" box, nothing shown.
    EXPECT_EQ(showQueryResult(host_, node_, "SELECT * FROM no_such_table"), 0);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].caption, "ODBC error");
    EXPECT_EQ(view(), nullptr);
}

TEST_F(ResultView, CancelStopsASlowStatementAndKeepsTheRowsCopiedSoFar) {
    harness::MessageBoxCatcher boxes;
    {
        CancelPresser cancel(300);
        DWORD start = GetTickCount();
        EXPECT_EQ(showQueryResult(host_, node_,
                                  "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                  "SELECT count(*) FROM (SELECT x FROM n LIMIT 2000000000)"),
                  0);
        EXPECT_LT(GetTickCount() - start, 5000u);
        EXPECT_TRUE(cancel.pressed);
        EXPECT_TRUE(cancel.runningWhenPressed);
        EXPECT_EQ(view(), nullptr);
    }
    {
        CancelPresser cancel(20, 1000);
        ASSERT_EQ(showQueryResult(host_, node_,
                                  "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) "
                                  "SELECT x, 'row ' || x FROM n LIMIT 2000000"),
                  1);
        EXPECT_TRUE(cancel.pressed);
        ASSERT_NE(view(), nullptr);
        long kept = view()->table->recCount();
        EXPECT_GT(kept, 0);
        EXPECT_LT(kept, 2000000);
        view()->table->goTo(kept);
        EXPECT_EQ(std::string(view()->table->getField(1)).substr(0, 4 + std::to_string(kept).size()),
                  "row " + std::to_string(kept));
        EXPECT_EQ(harness::windowText(GetDlgItem(host_.dialog, kCaption)),
                  "QuarrowSQLite.qr_grid - " + std::to_string(kept) + "/1");
    }
    EXPECT_FALSE(resultCopyRunning());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ResultView, ColumnListIsReadOnlyAndShowsEveryLength) {
    exec("DROP TABLE IF EXISTS qr_wide");
    exec("CREATE TABLE qr_wide (title VARCHAR(1000), n INTEGER)");
    node_.name = "qr_wide";
    node_.path = "QuarrowSQLite.qr_wide.Fields";
    ASSERT_EQ(showColumnList(host_, node_), 1);
    BrowseView* v = view();
    ASSERT_NE(v, nullptr);
    EXPECT_STREQ(v->permissions, "NNNII");
    EXPECT_STREQ(v->columns[3].caption, "Length");
    EXPECT_EQ(v->columns[1].width, 32 * 8 + 5);
    ASSERT_EQ(v->table->recCount(), 2);
    v->table->goTo(1);
    EXPECT_EQ(std::string(v->table->getField(2)), "      1000");
    EXPECT_EQ(harness::windowText(GetDlgItem(host_.dialog, kCaption)), "QuarrowSQLite.qr_wide.Fields - 2/1");
}

}  // namespace
