// The commander's ODBC side: a panel's data sources, the objects of its connection, a table's
// sub-entries, walking between them, the panel's connection, sorting and F5 (the table copy).
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "copy/commander_internal.h"
#include "copy/file_entry.h"
#include "copy/table_copy_dialog.h"
#include "odbc/catalog_view.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/node_listing.h"

namespace {

constexpr int kMaxColumns = 10;
constexpr int kColumnWidth = 200;
constexpr int kTableColumnWidth = 400;
const char* const kSourcesPath = "DSN\\";

HWND odbcList(const CommanderState& state, const CommanderPanel& panel) {
    return GetDlgItem(state.dialog, panel.ids.odbcList);
}

ExplorerNode* nodeAt(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (index < 0 || !ListView_GetItem(list, &item))
        return nullptr;
    return reinterpret_cast<ExplorerNode*>(item.lParam);
}

int focusedIndex(HWND list) {
    return ListView_GetNextItem(list, -1, LVNI_FOCUSED);
}

// The ".." entries carry a node of kind 0, which no other entry of levels 1 and 2 has.
// A running result or table copy works through a panel's connection: the panels stay as they are.
bool copyRunning() {
    return resultCopyRunning() || tableCopyRunning();
}

bool isUpEntry(const ExplorerNode& node) {
    return node.kind == node_kind::kRoot;
}

std::string itemText(HWND list, int index, int column) {
    char text[600] = "";
    ListView_GetItemText(list, index, column, text, sizeof text);
    return text;
}

// The title of a view opened from entry `label`: the data source (or the file's name), the table
// at level 2, and the entry, joined by ".".
std::string viewTitle(const CommanderPanel& panel, const ExplorerNode& node, const std::string& label) {
    std::string title = panel.source.substr(panel.source.find_last_of("\\/") + 1);
    if (panel.odbcLevel == odbc_level::kTable)
        title += "." + node.name;
    return title + "." + label;
}

void setPathLine(CommanderState& state, CommanderPanel& panel, const std::string& text) {
    SetDlgItemTextA(state.dialog, panel.ids.pathLine, text.c_str());
}

// The path line of a panel's object list: "DSN\<source>\", or the database file's path and "\".
std::string objectsPath(const CommanderPanel& panel) {
    if (panel.mode == panel_mode::kDatabaseFile)
        return panel.source + "\\";
    return kSourcesPath + panel.source + "\\";
}

// Frees an entry's node; a command node first takes the editor's text when the opposite panel
// shows it, then saves it.
void releaseEntry(CommanderState& state, CommanderPanel& panel, ExplorerNode* raw) {
    std::unique_ptr<ExplorerNode> node(raw);
    if (!node || node->kind != node_kind::kCommand)
        return;
    CommanderPanel& opposite = oppositePanel(state, panel);
    if (opposite.mode == panel_mode::kEditor && state.current && state.currentSide == panel.side &&
        state.current->kind == node_kind::kCommand && state.current->name == node->name)
        node->text = state.current->text = panelEditorText(state, opposite);
    saveCommandOf(*node);
}

// Takes every entry's node off the list and frees it, then deletes the entries and the columns.
void clearOdbcList(CommanderState& state, CommanderPanel& panel) {
    HWND list = odbcList(state, panel);
    if (!list)
        return;
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        ExplorerNode* node = nodeAt(list, i);
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        item.lParam = 0;
        ListView_SetItem(list, &item);
        releaseEntry(state, panel, node);
    }
    ListView_DeleteAllItems(list);
    for (int i = 0; i < kMaxColumns; ++i)
        ListView_DeleteColumn(list, 0);
}

void addColumn(HWND list, int index, const std::string& title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

void setColumns(CommanderState& state, CommanderPanel& panel, const std::vector<std::string>& titles, int width) {
    HWND list = odbcList(state, panel);
    clearOdbcList(state, panel);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < titles.size(); ++i)
        addColumn(list, static_cast<int>(i), titles[i], width);
}

// Appends an entry; the list owns the node from then on.
void addEntry(HWND list, std::unique_ptr<ExplorerNode> node, const std::string& text, const std::string& detail = {}) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    // ".." has no picture (a list gives every other entry the first one).
    item.iImage = isUpEntry(*node) ? I_IMAGENONE : imageOf(*node);
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = reinterpret_cast<LPARAM>(node.get());
    int index = ListView_InsertItem(list, &item);
    if (index < 0)
        return;
    node.release();
    if (!detail.empty())
        ListView_SetItemText(list, index, 1, const_cast<char*>(detail.c_str()));
}

std::unique_ptr<ExplorerNode> upEntry(const ExplorerNode& parent) {
    auto node = childOf(parent, node_kind::kRoot);
    node->text.clear();
    return node;
}

void focusEntry(HWND list, int index) {
    int count = ListView_GetItemCount(list);
    if (count <= 0)
        return;
    index = std::min(std::max(index, 0), count - 1);
    UINT marks = LVIS_FOCUSED | LVIS_SELECTED;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, index, marks, marks);
    ListView_EnsureVisible(list, index, FALSE);
}

// Sorting reads the keys beforehand: while the list sorts, its items may not be asked for.
struct SortContext {
    std::map<LPARAM, NodeSortKeys> keys;
    int column = 0;
};

int CALLBACK compareEntries(LPARAM a, LPARAM b, LPARAM context) {
    const SortContext& sort = *reinterpret_cast<const SortContext*>(context);
    const auto* first = reinterpret_cast<const ExplorerNode*>(a);
    const auto* second = reinterpret_cast<const ExplorerNode*>(b);
    // ".." stays on top.
    if (first && isUpEntry(*first))
        return -1;
    if (second && isUpEntry(*second))
        return 1;
    return compareNodeEntries(sort.keys.at(a), sort.keys.at(b), sort.column);
}

void sortOdbcList(CommanderState& state, CommanderPanel& panel, int column) {
    if (panel.odbcLevel > odbc_level::kObjects)
        return;
    HWND list = odbcList(state, panel);
    SortContext sort;
    sort.column = column;
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        ListView_GetItem(list, &item);
        sort.keys[item.lParam] = NodeSortKeys{itemText(list, i, 0), itemText(list, i, 1)};
    }
    ListView_SortItems(list, compareEntries, reinterpret_cast<LPARAM>(&sort));
}

const char* tableTypeText(const ExplorerNode& node) {
    if (node.kind != node_kind::kTable)
        return "";
    switch (node.flavour) {
        case node_flavour::kSystemTable:
            return "SYSTEM TABLE";
        case node_flavour::kView:
            return "VIEW";
        case node_flavour::kSynonym:
            return "SYNONYM";
        default:
            return "TABLE";
    }
}

// Lists the objects of the panel's connection (level 1): "..", the tables, then the procedures,
// the server's views, "General information" and the command.
void listObjects(CommanderState& state, CommanderPanel& panel, int focus) {
    setColumns(state, panel, {"Table name", "Table type"}, kColumnWidth);
    HWND list = odbcList(state, panel);
    ExplorerNode source;
    source.kind = node_kind::kDataSource;
    source.name = panel.source;
    source.connection = panel.connection;
    addEntry(list, upEntry(source), "..");
    NodeSink sink = [list](std::unique_ptr<ExplorerNode> node, const std::string& text, bool) {
        std::string type = tableTypeText(*node);
        addEntry(list, std::move(node), text, type);
    };
    if (listTables(state.dialog, source, sink))
        listSourceExtras(source, sink);
    panel.odbcLevel = odbc_level::kObjects;
    setPathLine(state, panel, objectsPath(panel));
    sortOdbcList(state, panel, panel.odbcSortColumn);
    focusEntry(list, focus);
}

// Lists the sub-entries of the panel's table (level 2).
void listTable(CommanderState& state, CommanderPanel& panel, const std::string& label) {
    std::string path = objectsPath(panel) + label + "\\";
    setColumns(state, panel, {label}, kTableColumnWidth);
    HWND list = odbcList(state, panel);
    addEntry(list, upEntry(panel.table), "..");
    listTableChildren(panel.table, [list](std::unique_ptr<ExplorerNode> node, const std::string& text, bool) {
        addEntry(list, std::move(node), text);
    });
    panel.odbcLevel = odbc_level::kTable;
    setPathLine(state, panel, path);
    focusEntry(list, 0);
}

// Back from a database file to the folder that holds it.
void leaveDatabaseFile(CommanderState& state, CommanderPanel& panel) {
    std::string file = panel.source;
    disconnectPanel(state, panel);
    panel.mode = panel_mode::kDirectory;
    std::size_t slash = file.find_last_of('\\');
    showDirectory(state, panel, slash == std::string::npos ? file : file.substr(0, slash + 1));
}

// One level up from levels 1 and 2: back to the data sources or the file's folder, or from a
// table back to the objects, with the focus on the entry that was opened.
void levelUp(CommanderState& state, CommanderPanel& panel) {
    disablePanelEditor(state, oppositePanel(state, panel));
    if (panel.odbcLevel == odbc_level::kTable)
        listObjects(state, panel, panel.odbcFocus[odbc_level::kObjects]);
    else if (panel.mode == panel_mode::kDatabaseFile)
        leaveDatabaseFile(state, panel);
    else if (panel.odbcLevel == odbc_level::kObjects)
        listDataSources(state, panel, panel.odbcFocus[odbc_level::kSources]);
}

void rememberCurrent(CommanderState& state, CommanderPanel& panel, const ExplorerNode& node) {
    CommanderPanel& opposite = oppositePanel(state, panel);
    keepEditorText(state, opposite);
    state.current = std::make_unique<ExplorerNode>(node);
    state.currentSide = panel.side;
}

// Enter on a data source: connect and list its objects. The panel owns the connection.
void openDataSource(CommanderState& state, CommanderPanel& panel, const ExplorerNode& entry, int index) {
    ExplorerNode source;
    source.kind = node_kind::kDataSource;
    source.name = entry.name;
    bool ok = connectAndProbe(state.dialog, source, false, driver_type::kNone, state.destroyed);
    // A window that went away during the login keeps the connection for its teardown.
    if (state.destroyed) {
        panel.connection = source.connection;
        return;
    }
    if (!ok)
        return;
    panel.connection = source.connection;
    panel.source = entry.name;
    panel.mode = panel_mode::kDataSources;
    panel.odbcFocus[odbc_level::kSources] = index;
    if (state.current && state.currentSide == panel.side)
        state.current->connection = panel.connection;
    listObjects(state, panel, 0);
}

void openTable(CommanderState& state, CommanderPanel& panel, const ExplorerNode& table, int index) {
    HWND list = odbcList(state, panel);
    std::string label = itemText(list, index, 0);
    panel.table = table;
    panel.odbcFocus[odbc_level::kObjects] = index;
    listTable(state, panel, label);
}

// F5: the table copy, with the opposite panel's folder or data source as the destination.
void copyFocusedTable(CommanderState& state, CommanderPanel& panel) {
    HWND list = odbcList(state, panel);
    const ExplorerNode* node = nodeAt(list, focusedIndex(list));
    CommanderPanel& opposite = oppositePanel(state, panel);
    if (panel.odbcLevel != odbc_level::kObjects || !node || node->kind != node_kind::kTable || !panel.connection)
        return;
    CopyTableTarget target;
    if (opposite.mode == panel_mode::kDirectory) {
        target.directory = pathLineText(state.dialog, opposite.ids.pathLine);
    } else if (opposite.mode == panel_mode::kDataSources) {
        if (opposite.connection) {
            target.dataSource = opposite.source;
        } else if (const ExplorerNode* source =
                       nodeAt(odbcList(state, opposite), focusedIndex(odbcList(state, opposite)))) {
            target.dataSource = source->name;
        }
    } else {
        return;
    }
    std::string table = node->name;
    CommanderBusy busy(state);
    openCopyTableDialog(state.dialog, panel.connection, panel.source, table, &target);
}

}  // namespace

void listDataSources(CommanderState& state, CommanderPanel& panel, int focus) {
    if (panel.connection)
        disconnectPanel(state, panel);
    keepEditorText(state, panel);
    setColumns(state, panel, {"DSN", "Description"}, kColumnWidth);
    HWND list = odbcList(state, panel);
    OdbcBinding& binding = odbcBinding();
    if (binding.loaded() && binding.environment()) {
        enumerateDataSources(
            binding.environment(),
            [list](const char* name, const char* description) {
                auto node = std::make_unique<ExplorerNode>();
                node->kind = node_kind::kDataSource;
                node->level = 1;
                node->name = name;
                addEntry(list, std::move(node), name, description);
            },
            binding);
    }
    panel.mode = panel_mode::kDataSources;
    panel.odbcLevel = odbc_level::kSources;
    setPathLine(state, panel, kSourcesPath);
    sortOdbcList(state, panel, panel.odbcSortColumn);
    showPanelView(state, panel, PanelView::odbcList);
    focusEntry(list, focus);
}

bool openDatabaseFile(CommanderState& state, CommanderPanel& panel, const std::string& path, int driverType) {
    if (!odbcBinding().loaded() || driverType == driver_type::kNone)
        return false;
    ExplorerNode source;
    source.kind = node_kind::kDataSource;
    source.name = path;
    CommanderBusy busy(state);
    bool ok = connectAndProbe(state.dialog, source, true, driverType, state.destroyed);
    if (state.destroyed || !ok) {
        // A window that went away during the login frees the connection at its teardown.
        if (source.connection)
            odbcBinding().freeConnection(source.connection);
        return false;
    }
    if (panel.connection)
        disconnectPanel(state, panel);
    panel.connection = source.connection;
    panel.source = path;
    panel.mode = panel_mode::kDatabaseFile;
    listObjects(state, panel, 0);
    showPanelView(state, panel, PanelView::odbcList);
    SetFocus(odbcList(state, panel));
    return true;
}

void openOdbcEntry(CommanderState& state, CommanderPanel& panel) {
    if (copyRunning() || !odbcBinding().loaded())
        return;
    HWND list = odbcList(state, panel);
    int index = focusedIndex(list);
    const ExplorerNode* entry = nodeAt(list, index);
    if (!entry)
        return;
    // A copy: relisting frees the entry, and the handlers below may list again.
    ExplorerNode node = *entry;
    CommanderBusy busy(state);
    rememberCurrent(state, panel, node);
    CommanderPanel& opposite = oppositePanel(state, panel);
    disablePanelEditor(state, opposite);
    if (isUpEntry(node)) {
        levelUp(state, panel);
    } else if (panel.odbcLevel == odbc_level::kSources) {
        openDataSource(state, panel, node, index);
    } else if (panel.odbcLevel == odbc_level::kObjects && node.kind == node_kind::kTable) {
        openTable(state, panel, node, index);
    } else {
        node.path = viewTitle(panel, node, itemText(list, index, 0));
        // The list keeps the focus, as after any other entry: Tab reaches the view.
        if (showNodeView(state, panel, node) && !state.destroyed)
            SetFocus(list);
    }
}

void odbcRootOrUp(CommanderState& state, CommanderPanel& panel, bool root) {
    if (copyRunning())
        return;
    disablePanelEditor(state, oppositePanel(state, panel));
    if (panel.mode == panel_mode::kDatabaseFile) {
        HWND list = odbcList(state, panel);
        const ExplorerNode* node = nodeAt(list, focusedIndex(list));
        if (!node)
            return;
        rememberCurrent(state, panel, *node);
        levelUp(state, panel);
        return;
    }
    if (panel.mode != panel_mode::kDataSources)
        return;
    if (root)
        listDataSources(state, panel, 0);
    else if (panel.odbcLevel > odbc_level::kSources)
        levelUp(state, panel);
}

bool onOdbcListKey(CommanderState& state, CommanderPanel& panel, UINT key) {
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (key == VK_F5 && !control) {
        if (!copyRunning() && odbcBinding().loaded())
            copyFocusedTable(state, panel);
        return true;
    }
    if (control && (key == VK_F3 || key == VK_F4)) {
        // Sorts once; the panel's sort column stays.
        sortOdbcList(state, panel, key == VK_F3 ? 0 : 1);
        return true;
    }
    return false;
}

void onOdbcColumnClick(CommanderState& state, CommanderPanel& panel, int column) {
    panel.odbcSortColumn = column;
    sortOdbcList(state, panel, column);
}

void onOdbcEntryDeleted(CommanderState& state, CommanderPanel& panel, LPARAM node) {
    releaseEntry(state, panel, reinterpret_cast<ExplorerNode*>(node));
}

void disconnectPanel(CommanderState& state, CommanderPanel& panel) {
    CommanderPanel& opposite = oppositePanel(state, panel);
    if (opposite.mode == panel_mode::kGrid || opposite.mode == panel_mode::kEditor)
        leaveView(state, opposite);
    disablePanelEditor(state, opposite);
    if (state.current && state.currentSide == panel.side)
        state.current->connection = nullptr;
    // The entries hold copies of the connection: they go with it.
    clearOdbcList(state, panel);
    OdbcBinding& binding = odbcBinding();
    if (panel.connection && binding.loaded())
        binding.freeConnection(panel.connection);
    panel.connection = nullptr;
    panel.source.clear();
    panel.table = ExplorerNode();
    panel.odbcLevel = odbc_level::kSources;
}

void keepEditorText(CommanderState& state, CommanderPanel& editorPanel) {
    if (editorPanel.mode != panel_mode::kEditor || !state.current || state.current->kind != node_kind::kCommand)
        return;
    state.current->text = panelEditorText(state, editorPanel);
    if (state.currentSide < 0)
        return;
    CommanderPanel& source = state.panels[state.currentSide];
    HWND list = odbcList(state, source);
    for (int i = 0, count = ListView_GetItemCount(list); i < count; ++i) {
        ExplorerNode* node = nodeAt(list, i);
        if (node && node->kind == node_kind::kCommand && node->name == state.current->name)
            node->text = state.current->text;
    }
}

void tearDownOdbcSide(CommanderState& state) {
    for (CommanderPanel& panel : state.panels)
        keepEditorText(state, panel);
    for (CommanderPanel& panel : state.panels) {
        if (HWND grid = GetDlgItem(state.dialog, panel.ids.grid))
            discardResultView(grid);
        clearOdbcList(state, panel);
    }
    OdbcBinding& binding = odbcBinding();
    for (CommanderPanel& panel : state.panels) {
        if (panel.connection && binding.loaded())
            binding.freeConnection(panel.connection);
        panel.connection = nullptr;
        panel.source.clear();
    }
    state.current.reset();
    state.currentSide = -1;
}
