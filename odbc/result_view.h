// Results shown in a grid: a query, a table's column list or a catalog view is copied into a
// temporary dBase table that the Tbl grid control of a host dialog then shows. Each grid owns its
// temporary table and deletes it when the next result replaces it or the host closes. Windows
// build only.
#pragma once

#include <windows.h>

#include "odbc/explorer_node.h"

struct BrowseView;

// Where a result is shown: the host dialog, its controls, and how it switches to showing a grid.
struct ResultHost {
    HWND dialog = nullptr;
    int gridId = 111;         // the Tbl control
    int captionId = 103;      // the caption line: "%s - %ld/%ld"
    int commandLineId = 106;  // shows the executed command
    HFONT gridFont = nullptr;
    // Switches the host's right side to grid mode (grid, caption and command line shown).
    void (*showGrid)(HWND dialog) = nullptr;
};

// "Browse": offers the node's SELECT in the SQL command window and, when the user executes it,
// copies the result into a temporary table shown in the host's grid. 1 when a table is shown.
int runQueryToGrid(const ResultHost& host, ExplorerNode& node);

// "Fields": the node's table's columns (name, type, length, decimals, nullability) in the grid.
int showColumnList(const ResultHost& host, ExplorerNode& node);

// Detaches and frees the view of the grid control `grid` and deletes its temporary table and memo
// file. Always returns null, for `view = discardResultView(...)`.
BrowseView* discardResultView(HWND grid);

// True while a result is being copied into a table (messages are dispatched meanwhile, so a host
// that is asked to close must wait for the end); cancelResultCopy asks the running copy to stop.
bool resultCopyRunning();
void cancelResultCopy();
