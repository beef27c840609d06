// What the commander's files share: the two panels' state, the window's, and the operations each
// file offers the others (window, layout and keys; the file side; the ODBC side and the views it
// shows in the opposite panel). Windows build only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "base/busy_section.h"
#include "base/splitter_drag_win32.h"
#include "copy/file_panel.h"
#include "odbc/explorer_node.h"
#include "odbc/odbc_types.h"
#include "odbc/result_view.h"

// What a panel shows.
namespace panel_mode {
constexpr int kDataSources = 0;   // the data source list, or a connected source's objects
constexpr int kDirectory = 1;     // a folder of the file system
constexpr int kDatabaseFile = 2;  // the objects of a database file opened through ODBC
constexpr int kGrid = 5;          // a result or catalog grid
constexpr int kEditor = 6;        // the SQL command editor
}  // namespace panel_mode

// The levels of a panel's ODBC list.
namespace odbc_level {
constexpr int kSources = 0;  // the data sources
constexpr int kObjects = 1;  // the tables and other objects of a connected source or database file
constexpr int kTable = 2;    // the sub-entries of one table
}  // namespace odbc_level

// The control ids of one panel.
struct PanelIds {
    int fileList;
    int odbcList;
    int rootButton;
    int upButton;
    int grid;
    int editor;
    int driveList;
    int pathLine;
    int message;
    int assist;
    int execute;
};

// Which of the panel's main controls is visible.
enum class PanelView { fileList, odbcList, grid, editor };

struct CommanderPanel {
    int side = 0;  // 0 left, 1 right
    PanelIds ids{};
    FilePanel files;                 // file list and path line ids, file sort column, the folder focus stack
    std::array<int, 8> odbcFocus{};  // per ODBC level, the entry focused when going one deeper
    int odbcLevel = odbc_level::kSources;
    int odbcSortColumn = 0;
    int mode = panel_mode::kDataSources;
    int savedMode = panel_mode::kDataSources;  // the mode before a view took the panel
    std::string savedPath;                     // the path line before a view took the panel
    SqlHdbc connection = nullptr;              // levels 1 and 2: the panel's own connection
    std::string source;                        // the connected data source's name, or the database file's path
    ExplorerNode table;                        // level 2: the table whose sub-entries are listed
    ResultHost host;                           // the panel's grid, for results shown here
};

struct CommanderState {
    HWND dialog = nullptr;
    HWND owner = nullptr;  // the main window
    CommanderPanel panels[2];
    HIMAGELIST images = nullptr;  // the ODBC lists' pictures
    HFONT gridFont = nullptr;
    HFONT editorFont = nullptr;
    bool odbcUser = false;  // acquire counted this window
    // Handlers that may dispatch messages (connecting, a result copy, a table copy): a close that
    // arrives meanwhile waits until the outermost one returns.
    int busy = 0;
    bool closeRequested = false;
    bool destroyed = false;
    bool tornDown = false;
    // The node last opened in an ODBC list, which "&Assist" and "&Execute" act on: a copy, so that
    // relisting a panel never leaves it dangling; `currentSide` is the panel whose connection it uses.
    std::unique_ptr<ExplorerNode> current;
    int currentSide = -1;
    // Layout: the window rectangle when a size/move began, and the splitter drag.
    RECT windowRect{};
    RECT goodRect{};  // the last rectangle that was large enough
    bool sizing = false;
    SplitterDrag splitter;
    int split = 0;  // the client x where the left panel ends; 0 until the first layout
};

using CommanderBusy = BusySectionOf<CommanderState>;
void finishBusy(CommanderState& state);

inline CommanderPanel& oppositePanel(CommanderState& state, const CommanderPanel& panel) {
    return state.panels[1 - panel.side];
}

// Window, layout and keys (commander_window.cpp, commander_layout.cpp).
// Shows `view` in the panel and hides the other three; the message edit stands with the grid, and
// "&Assist"/"&Execute" with the editor.
void showPanelView(CommanderState& state, CommanderPanel& panel, PanelView view);
// Greys the panel's SQL editor and its two buttons (they act on a node that may be gone).
void disablePanelEditor(CommanderState& state, CommanderPanel& panel);
// Focuses the panel's visible control (Tab from the opposite panel).
void focusPanel(CommanderState& state, CommanderPanel& panel);
void recordRectangles(CommanderState& state);
void onSized(CommanderState& state);
void layoutCommander(CommanderState& state);
bool splitterMouse(CommanderState& state, UINT message, LPARAM lParam);
bool splitterCursor(CommanderState& state);

// The file side (commander_files.cpp).
// Fills the drive list with "DSN\" and the drives, gives the file list its columns and lists
// "C:\*.*" into it (hidden).
void initFileSide(CommanderState& state, CommanderPanel& panel);
// The drive list's selection changed: a drive lists its root, "DSN\" shows the data sources.
void onDriveSelected(CommanderState& state, CommanderPanel& panel);
// Enter or double click in the file list.
void openFileEntry(CommanderState& state, CommanderPanel& panel);
// The root and up buttons in a directory panel.
void fileRootOrUp(CommanderState& state, CommanderPanel& panel, bool root);
// F5, F7, F8/Delete and Ctrl+F3-F6 in the file list; true when the key was one of them.
bool onFileListKey(CommanderState& state, CommanderPanel& panel, UINT key);
void onFileColumnClick(CommanderState& state, CommanderPanel& panel, int column);
// Lists `directory` (ending in a backslash) into the panel and shows its file list (mode 1).
void showDirectory(CommanderState& state, CommanderPanel& panel, const std::string& directory);

// The ODBC side (commander_odbc.cpp) and the views it shows in the opposite panel
// (commander_views.cpp).
// Lists the data sources into the panel's ODBC list (level 0, mode 0) and focuses entry `focus`.
void listDataSources(CommanderState& state, CommanderPanel& panel, int focus = 0);
// Opens the database file `path` of driver type `driverType` through ODBC and lists its objects
// (mode 2, level 1). False when it could not be opened; the panel then stays as it was.
bool openDatabaseFile(CommanderState& state, CommanderPanel& panel, const std::string& path, int driverType);
// Enter or double click in the ODBC list.
void openOdbcEntry(CommanderState& state, CommanderPanel& panel);
// The root and up buttons in modes 0 and 2.
void odbcRootOrUp(CommanderState& state, CommanderPanel& panel, bool root);
// F5 and Ctrl+F3/F4 in the ODBC list; true when the key was one of them.
bool onOdbcListKey(CommanderState& state, CommanderPanel& panel, UINT key);
void onOdbcColumnClick(CommanderState& state, CommanderPanel& panel, int column);
// Frees the node behind an ODBC list entry that is being deleted.
void onOdbcEntryDeleted(CommanderState& state, CommanderPanel& panel, LPARAM node);
// Closes the panel's connection (views that used it are left first).
void disconnectPanel(CommanderState& state, CommanderPanel& panel);
// The root and up buttons in modes 5 and 6: the saved mode and path line come back.
void leaveView(CommanderState& state, CommanderPanel& panel);
// "&Assist" / "&Execute" of the panel's editor.
void onEditorButton(CommanderState& state, CommanderPanel& panel, bool execute);
// Releases what the ODBC side holds at closing: grids' results, list entries, connections.
void tearDownOdbcSide(CommanderState& state);

// Between the ODBC side's two files (commander_odbc.cpp, commander_views.cpp).
// Shows what `node`, an entry of `panel`'s list, opens in the opposite panel: a grid view or the
// SQL editor. False for kinds that open nothing there.
bool showNodeView(CommanderState& state, CommanderPanel& panel, const ExplorerNode& node);
// The text of the panel's SQL editor.
std::string panelEditorText(CommanderState& state, const CommanderPanel& panel);
// While `editorPanel` shows the SQL editor, copies its text into the current command node and into
// the command entry it came from, so that the text is saved when that entry goes.
void keepEditorText(CommanderState& state, CommanderPanel& editorPanel);
