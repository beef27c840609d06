// Results shown in a grid: a query, a table's column list or a catalog view is copied into a
// temporary dBase table that the Tbl grid control of a host dialog then shows. Each grid owns its
// temporary table and deletes it when the next result replaces it or the host closes. Windows
// build only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "odbc/explorer_node.h"
#include "odbc/result_columns.h"

struct BrowseView;
struct BrowseCommand;
class dbf;

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

// The part of "Browse" after the SQL command window, also used by the SQL editor: runs `command`
// on the node's connection under the progress dialog "ODBC query ..." ("&Cancel" stops the
// execution or the copy), copies the result into a temporary table and shows it. A statement
// without result columns is reported as done and shows no table. 1 when a table is shown.
int showQueryResult(const ResultHost& host, ExplorerNode& node, const std::string& command);

// "Fields": the node's table's columns (name, type, length, decimals, nullability) in the grid.
int showColumnList(const ResultHost& host, ExplorerNode& node);

// How a result grid is shown.
struct ResultLayout {
    std::string title;                        // the caption line's title
    const BrowseCommand* commands = nullptr;  // the pop-up menu
    bool readOnly = false;                    // column lists and catalog views: "NNNII"
    std::string quote;                        // the data source's identifier quote (query results)
    std::string table;                        // the queried table's name for statements; empty for none
    bool mySqlFamily = false;                 // the data source's server reads "\" as an escape
    SqlHdbc connection = nullptr;             // where the view's own commands query further; may be null
};

// Hands an open temporary table to the host's grid (the grid's current view is discarded first):
// the view owns `table` and deletes the file `path` (and its memo file) when it is discarded.
// `fields` give the grid's captions and pictures. 1 when shown; otherwise the table is closed and
// the file deleted.
int showResultTable(const ResultHost& host,
                    std::unique_ptr<dbf> table,
                    const std::string& path,
                    const std::vector<ResultField>& fields,
                    const ResultLayout& layout);

// The pop-up menu of catalog views, and of the procedure list (which adds "Sho&w columns").
extern const BrowseCommand kCatalogViewCommands[];
extern const BrowseCommand kProcedureListCommands[];

// Detaches and frees the view of the grid control `grid` and deletes its temporary table and memo
// file. Always returns null, for `view = discardResultView(...)`.
BrowseView* discardResultView(HWND grid);

// The identifier quote of the data source whose query result the grid shows (for INSERT scripts);
// empty for other grids.
std::string resultViewQuote(HWND grid);
// What INSERT scripts from the grid write: the queried table (empty when the result came from a
// typed statement), the quote and whether the server is of the MySQL family. False for grids that
// show no query result.
bool resultViewTarget(HWND grid, std::string* table, std::string* quote, bool* mySqlFamily);

// Creates "<temp>\Quarrow\TempFiles", where results are copied; an existing folder is no error.
void createResultFolders();

// The connection a view was shown with (ResultLayout::connection), while it is still the same live
// connection; null when it was closed meanwhile, or for a view made elsewhere.
SqlHdbc resultViewConnection(const BrowseView& view);

// True while a result is being copied into a table (messages are dispatched meanwhile, so a host
// that is asked to close must wait for the end); cancelResultCopy asks the running copy to stop.
bool resultCopyRunning();
void cancelResultCopy();
