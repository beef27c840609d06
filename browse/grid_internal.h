// What the grid's own source files share: painting, keys, mouse and the pop-up menu.
#pragma once

#include "browse/browse_view.h"

// Horizontal scroll codes reach the key routine offset by this much.
constexpr long kHorizontalScrollBase = 10000;
constexpr UINT kMenuIdBase = 2000;  // pop-up menu item id = command code + 2000
constexpr UINT kOemToggleMenuId = 3000;

// Paints the whole grid into `dc` (Algorithms: painting); does nothing without a data source.
void paintGrid(BrowseView& view, HDC dc);

// Whether the descriptor has something to paint and navigate.
bool hasDataSource(const BrowseView& view);

// The one routine behind every key, wheel step and scroll code.
void runKey(BrowseView& view, long code);

// Runs the command of `code` from the command table, then refreshes the grid as a command does.
// Returns false when the table has no such command.
bool runCommandCode(BrowseView& view, long code);

// The current cell's text as its column's cellStyle gives it.
const char* currentCellText(BrowseView& view);

void onLeftButtonDown(BrowseView& view, int x, int y);
void onLeftButtonUp(BrowseView& view, int x, int y);
void onMouseMove(BrowseView& view, int x, int y);
void onLeftDoubleClick(BrowseView& view);

// The pop-up menu: one item per command, and "&OemToAnsi" in a top-level table window.
HMENU buildGridMenu(BrowseView& view);
void showGridMenu(BrowseView& view, int screenX, int screenY);
void onGridCommand(BrowseView& view, UINT id);

// Repaints; `erase` asks for the background to be cleared first.
void repaint(BrowseView& view, bool erase);

// Tells the shell that the pool table window of `view` is gone (nothing for other grids).
void tableWindowDestroyed(BrowseView& view, HWND window);
