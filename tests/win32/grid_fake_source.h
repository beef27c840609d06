// A data source of N records held in memory, moving like a dBase table (BOF/EOF at the ends), and
// the grid windows the grid tests drive.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "browse/browse_view.h"

namespace gridtest {

struct FakeTable {
    long count = 0;
    long record = 1;
    bool bof = false;
    bool eof = false;
    long steps = 0;           // single-record moves since the last reset
    long styleCalls = 0;      // cellStyle calls since the last reset
    std::vector<long> shown;  // record of each data row drawn in the last paint (column 1)
    std::vector<long> deleted;

    void reset(long records);
    void skip(long n);
    void goTo(long n);
};

FakeTable& fake();

// Makes the Tbl class run the grid, whether the shell or the grid registered it.
void installGrid(HINSTANCE instance);

// Points the view's data-source operations at the fake table.
void useFakeSource(BrowseView& view);

// Columns: 0 the flag (bitmap-less text "*" or " "), then `fields` text columns of `width` pixels,
// whose cell text is "R<record>C<column>".
void makeFakeColumns(BrowseView& view, int fields, int width);

// A top-level table window of class Tbl over the fake table, as a table window is set up:
// 750 x 450, row height 20, rows reduced by 2, grid lines, top-level, caption "%s - %ld/%ld".
class GridWindow {
  public:
    explicit GridWindow(long records, const BrowseCommand* commands = nullptr, int fields = 4);
    ~GridWindow();
    GridWindow(const GridWindow&) = delete;
    GridWindow& operator=(const GridWindow&) = delete;

    HWND window() const { return view_.window; }
    BrowseView& view() { return view_; }
    // Sends a key (with Ctrl held when asked) and lets the grid repaint.
    void key(UINT vk, bool control = false);
    void scroll(UINT message, WORD code, WORD position = 0);
    void settle();  // pumps until the pending move has been painted
    std::string caption() const;

  private:
    BrowseView view_;
};

// Commands recorded by the test command table.
struct CommandLog {
    std::vector<int> codes;
};
CommandLog& commandLog();
extern const BrowseCommand kTestCommands[];

}  // namespace gridtest
