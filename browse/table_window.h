// Table windows: the columns and cell styles of a table shown in a grid, the descriptor of a
// top-level table window, and the pool of 15 descriptors the shell's table windows use.
#pragma once

#include "browse/browse_view.h"

constexpr int kTableViewSlots = 15;
constexpr int kTableViewWidth = 750;
constexpr int kTableViewHeight = 450;
constexpr int kTableViewRowHeight = 20;
constexpr COLORREF kFieldHeaderBackground = 16574654;  // red 190, green 232, blue 252
constexpr COLORREF kFieldHeaderHighlight = 16710641;   // red 241, green 251, blue 254

// Column 0 (the deletion flag with the pictures KUKA and INFO) and one column per field of the
// view's table, as a table window shows them; the column count becomes field count + 1.
void buildTableColumns(BrowseView& view);

// cellStyle of a field column and of the deletion-flag column.
CellStyle* fieldCellStyle(BrowseView& view);
CellStyle* deletionFlagStyle(BrowseView& view);

// Loads the two deletion-flag pictures into the view: bitmaps[0] "KUKA" (deleted), [1] "INFO".
void loadFlagBitmaps(BrowseView& view);

// Fills `view` as a top-level table window over the open `table` (which it then owns), placed at
// left, top. Creates no window.
void setUpTableView(BrowseView& view, dbf* table, int left, int top);

// Creates the Tbl window of a filled table view, owned by `owner`, and attaches the view. Null on
// failure (the view's table is then handed back: view.table is left as it was).
HWND createGridWindow(BrowseView& view, HWND owner);

// The shell's hooks: open a table file (with write access or read-only), close one, and show one
// in pool slot `slot`.
void* openTableFile(const char* name, bool writable);
void closeTableFile(void* table);
HWND createTableWindow(HWND owner, int slot, void* table, int left, int top);

// The pool descriptor of slot `slot` (0..14), or null.
BrowseView* tableViewSlot(int slot);

// Called with the window of a pool table window as it is destroyed, so the shell frees its slot.
void setTableWindowClosedHandler(void (*handler)(HWND window));
