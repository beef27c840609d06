// What the explorer's files share: the window's state and the operations each file offers the
// others (window and lifecycle, tree and nodes, right-hand modes and layout, menus). Windows only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/busy_section.h"
#include "base/splitter_drag_win32.h"
#include "odbc/explorer_node.h"
#include "odbc/node_listing.h"
#include "odbc/result_view.h"

// Images of the tree, in the order of the image list.
namespace tree_image {
enum : int {
    kCd,
    kClient,
    kDesktop,
    kDomain,
    kEntireNetwork,
    kFloppy,
    kFolder,
    kLocalDisk,
    kMyComputer,
    kNeighborhood,
    kNetDrive,
    kNetworks,
    kOpenFolder,
    kDsn,
    kTable,
    kTables,
    kProperties,
    kDatabase,
    kCommand,
    kTableSystem,
    kTableView,
    kTablesSystem,
    kTablesView,
    kPropertiesSystem,
    kPropertiesView,
    kTxt,
    kIndex,
    kIndexF,
    kProcedures,
    kInfo,
    kStatistics,
    kTPriv,
    kCPriv,
    kTableSynonym,
    kTablesSynonym,
    kPropertiesSynonym,
    kCount
};
}  // namespace tree_image

// The resource names of the pictures, indexed by tree_image.
extern const char* const kTreeBitmapNames[tree_image::kCount];

// The right side shows one of these at a time.
enum class RightMode { start, grid, command, text };

struct ExplorerState {
    HWND dialog = nullptr;
    HWND owner = nullptr;  // the main window
    HWND tree = nullptr;
    HIMAGELIST images = nullptr;
    HFONT commandLineFont = nullptr;
    HFONT editorFont = nullptr;
    HFONT gridFont = nullptr;  // shared by all explorer grids
    bool odbcUser = false;     // acquire counted this window
    bool closing = false;
    // Depth of handlers that may dispatch messages (connecting, a result copy): a close that
    // arrives meanwhile waits until the outermost one returns.
    int busy = 0;
    bool closeRequested = false;  // WM_CLOSE came while busy
    bool destroyed = false;       // the window went away while busy; finish the teardown afterwards
    bool tornDown = false;
    HTREEITEM previous = nullptr;  // the node selected before the current one
    // Nodes whose items went away while busy: freed once the handler on the stack returns.
    std::vector<std::unique_ptr<ExplorerNode>> orphans;
    ResultHost host;
    // Layout: rectangles recorded when a size/move starts, the splitter drag.
    RECT windowRect{};
    SplitterDrag splitter;
};

// Called when the outermost busy section ends: a close or destroy that came meanwhile happens now
// (the state may be freed by it).
void finishBusy(ExplorerState& state);

using BusySection = BusySectionOf<ExplorerState>;

// The node of a tree item; null for none.
ExplorerNode* nodeOf(HWND tree, HTREEITEM item);
ExplorerNode* selectedNode(ExplorerState& state);

// Tree and nodes (explorer_tree.cpp).
// Inserts `node` under `parent`; the item owns it from then on. Null when the tree refused it.
HTREEITEM insertNode(ExplorerState& state,
                     HTREEITEM parent,
                     std::unique_ptr<ExplorerNode> node,
                     const std::string& text,
                     bool hasChildren,
                     HTREEITEM after = TVI_LAST);
HIMAGELIST buildTreeImages(HINSTANCE instance);
// Inserts the "DSN" root and one node per data source; false when the listing failed.
bool buildDataSourceBranch(ExplorerState& state);
// Connects a data source node and lists its tables and other children; 1 on success.
int connectAndList(ExplorerState& state, ExplorerNode& source);
// "Refresh &table-list": closes the source's connection, deletes its children and lists again.
void refreshTableList(ExplorerState& state, ExplorerNode& source);
void onSelectionChanged(ExplorerState& state, HTREEITEM item);
void onItemDeleted(ExplorerState& state, ExplorerNode* node);
// Frees the nodes kept while busy, with their connections.
void releaseOrphans(ExplorerState& state);
// Takes every node off the tree into the orphans (the tree is destroyed under a busy handler).
void detachAllNodes(ExplorerState& state);
// The text the path line shows for a node.
std::string nodePath(HWND tree, HTREEITEM item);

// The file-system branch (explorer_files_win32.cpp).
// Inserts "Direct dBase III-access" with the desktop, my computer, its drives and the network.
void buildFileBranch(ExplorerState& state);
// Lists a drive, folder or network node the first time; opens a table or text file node.
void selectFileNode(ExplorerState& state, ExplorerNode& node);

// Right-hand modes and layout (explorer_layout.cpp).
void setRightMode(ExplorerState& state, RightMode mode);
void recordRectangles(ExplorerState& state);
void onSized(ExplorerState& state);
void layoutRightSide(ExplorerState& state);
// Splitter between the tree and the right side; true when the message was the splitter's.
bool splitterMouse(ExplorerState& state, UINT message, LPARAM lParam);
bool splitterCursor(ExplorerState& state);
void minimumTrackSize(ExplorerState& state, MINMAXINFO& info);

// Pop-up menus and their commands (explorer_menu.cpp).
void onTreeRightClick(ExplorerState& state);
// The pop-up menu of a node; null when the node has none. `dbms` is the server's name.
HMENU buildNodeMenu(const ExplorerNode& node, const std::string& dbms);
// True when `id` was one of the menu's commands.
bool onMenuCommand(ExplorerState& state, UINT id);
// The command editor's "&Execute" and "&Assist"; true when `id` was one of them.
bool onEditorCommand(ExplorerState& state, UINT id);
