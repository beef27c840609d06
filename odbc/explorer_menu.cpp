// The explorer's pop-up menus: which items each node offers, the Show/Hide toggles, and the
// commands behind them.
#include <string>

#include "admin/mssql_dialogs.h"
#include "admin/mysql_dialogs.h"
#include "copy/table_copy_dialog.h"
#include "odbc/dbms_kind.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_binding.h"
#include "odbc/sql_editor.h"
#include "resources/resource.h"

namespace {

struct MenuItem {
    UINT id;
    const char* text;
};

// A toggle's label starts with four letters that say what choosing it does.
std::string toggleText(const char* text, bool on) {
    std::string label = text;
    label.replace(0, 4, on ? "Hide" : "Show");
    return label;
}

void append(HMENU menu, const MenuItem* items, int count) {
    for (int i = 0; i < count; ++i)
        AppendMenuA(menu, MF_STRING, items[i].id, items[i].text);
}

void appendToggles(HMENU menu, UINT systemId, UINT viewsId, UINT synonymsId) {
    const ExplorerFlags& flags = explorerFlags();
    AppendMenuA(menu, MF_STRING, systemId, toggleText("Show system tables", flags.showSystemTables).c_str());
    AppendMenuA(menu, MF_STRING, viewsId, toggleText("Show views", flags.showViews).c_str());
    AppendMenuA(menu, MF_STRING, synonymsId, toggleText("Show aliases and synonyms", flags.showSynonyms).c_str());
}

const MenuItem kMySqlItems[] = {
    {IDM_EXPLORER_USER_MANAGER, "&User manager..."},
    {IDM_EXPLORER_PERMISSIONS, "&Permissions..."},
    {IDM_EXPLORER_ALTER_TABLE, "&Alter table..."},
    {IDM_EXPLORER_TABLE_DIAGNOSTICS, "Table diagnostics..."},
    {IDM_EXPLORER_FLUSH, "Flush..."},
};
const MenuItem kSqlServerItems[] = {
    {IDM_EXPLORER_MSSQL_REPAIR, "Repair database"},
    {IDM_EXPLORER_MSSQL_USERS, "User manager"},
    {IDM_EXPLORER_MSSQL_BACKUP, "Backup database"},
    {IDM_EXPLORER_MSSQL_RESTORE, "Restore database"},
    {IDM_EXPLORER_MSSQL_FOR_ATTACH, "Create database for attach"},
    {IDM_EXPLORER_MSSQL_ATTACH, "Attach database"},
    {IDM_EXPLORER_MSSQL_DETACH, "Detach database"},
    {IDM_EXPLORER_MSSQL_SHRINK, "Shrink database"},
};

void refreshDataSources(ExplorerState& state) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    // Every data source below the root closes its connection as its item goes.
    if (HTREEITEM root = TreeView_GetRoot(state.tree)) {
        ExplorerNode* node = nodeOf(state.tree, root);
        if (node && node->kind == node_kind::kRoot)
            TreeView_DeleteItem(state.tree, root);
    }
    buildDataSourceBranch(state);
    if (HTREEITEM root = TreeView_GetRoot(state.tree))
        TreeView_Expand(state.tree, root, TVE_EXPAND);
    SetCursor(previous);
}

// The MySQL administration dialogs, each on the selected data source's connection.
void openMySqlDialog(ExplorerState& state, UINT id) {
    ExplorerNode* node = selectedNode(state);
    if (!node || node->kind != node_kind::kDataSource || !node->connection)
        return;
    MySqlAdminTarget target{node->connection, node->name};
    BusySection busy(state);
    switch (id) {
        case IDM_EXPLORER_ALTER_TABLE:
            openAlterTable(state.dialog, target);
            break;
        case IDM_EXPLORER_USER_MANAGER:
            openUserManager(state.dialog, target);
            break;
        case IDM_EXPLORER_TABLE_DIAGNOSTICS:
            openTableDiagnostics(state.dialog, target);
            break;
        case IDM_EXPLORER_FLUSH:
            openFlush(state.dialog, target);
            break;
        default:
            openPermissions(state.dialog, target);
            break;
    }
}

// The data source a node belongs to: the name of its kind-3 ancestor.
std::string dataSourceOf(ExplorerState& state, HTREEITEM item) {
    for (; item; item = TreeView_GetParent(state.tree, item)) {
        ExplorerNode* node = nodeOf(state.tree, item);
        if (node && node->kind == node_kind::kDataSource)
            return node->name;
    }
    return std::string();
}

void dropOrDelete(ExplorerState& state, bool drop) {
    ExplorerNode* node = selectedNode(state);
    if (!node || node->kind != node_kind::kTable || !node->connection)
        return;
    BusySection busy(state);
    dropOrDeleteTable(state.dialog, *node, dataSourceOf(state, node->item), drop);
}

void refreshSelectedSource(ExplorerState& state) {
    ExplorerNode* node = selectedNode(state);
    if (!node || node->kind != node_kind::kDataSource)
        return;
    BusySection busy(state);
    refreshTableList(state, *node);
}

}  // namespace

HMENU buildNodeMenu(const ExplorerNode& node, const std::string& dbms) {
    if (node.kind == node_kind::kRoot && node.level == 0) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, IDM_EXPLORER_REFRESH_DSN, "&Refresh DSN-list");
        appendToggles(menu, IDM_EXPLORER_TOGGLE_SYSTEM, IDM_EXPLORER_TOGGLE_VIEWS, IDM_EXPLORER_TOGGLE_SYNONYMS);
        return menu;
    }
    if (node.kind == node_kind::kDataSource) {
        HMENU menu = CreatePopupMenu();
        const MenuItem items[] = {{IDM_EXPLORER_COPY_TABLE, "&Copy table..."},
                                  {IDM_EXPLORER_COPY_TABLE2, "&Copy table 2..."},
                                  {IDM_EXPLORER_REFRESH_DSN, "&Refresh DSN-list"},
                                  {IDM_EXPLORER_REFRESH_TABLES, "Refresh &table-list"}};
        append(menu, items, 4);
        appendToggles(menu, IDM_EXPLORER_SOURCE_SYSTEM, IDM_EXPLORER_SOURCE_VIEWS, IDM_EXPLORER_SOURCE_SYNONYMS);
        if (isMySqlFamily(dbms))
            append(menu, kMySqlItems, sizeof kMySqlItems / sizeof kMySqlItems[0]);
        else if (isSqlServer(dbms))
            append(menu, kSqlServerItems, sizeof kSqlServerItems / sizeof kSqlServerItems[0]);
        return menu;
    }
    if (node.kind == node_kind::kTable && node.level == 2) {
        HMENU menu = CreatePopupMenu();
        const MenuItem items[] = {{IDM_EXPLORER_DROP_TABLE, "&drop table..."},
                                  {IDM_EXPLORER_DELETE_FROM, "&delete from..."}};
        append(menu, items, 2);
        return menu;
    }
    return nullptr;
}

void onTreeRightClick(ExplorerState& state) {
    ExplorerNode* node = selectedNode(state);
    if (!node || state.busy > 0)
        return;
    std::string dbms;
    if (node->connection && odbcBinding().loaded())
        dbms = dbmsName(odbcBinding(), node->connection);
    HMENU menu = buildNodeMenu(*node, dbms);
    if (!menu)
        return;
    POINT point;
    GetCursorPos(&point);
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, state.dialog, nullptr);
    DestroyMenu(menu);
}

bool onMenuCommand(ExplorerState& state, UINT id) {
    bool ours = (id >= IDM_EXPLORER_COPY_TABLE && id <= IDM_EXPLORER_SOURCE_SYNONYMS) ||
                (id >= IDM_EXPLORER_COPY_TABLE2 && id <= IDM_EXPLORER_MSSQL_SHRINK);
    if (!ours)
        return false;
    // Nothing runs while a handler dispatches messages, or without ODBC.
    if (state.busy > 0 || state.closing || !odbcBinding().loaded())
        return true;
    ExplorerFlags& flags = explorerFlags();
    switch (id) {
        case IDM_EXPLORER_REFRESH_DSN:
            refreshDataSources(state);
            break;
        case IDM_EXPLORER_REFRESH_TABLES:
            refreshSelectedSource(state);
            break;
        case IDM_EXPLORER_TOGGLE_VIEWS:
            flags.showViews = !flags.showViews;
            break;
        case IDM_EXPLORER_TOGGLE_SYSTEM:
            flags.showSystemTables = !flags.showSystemTables;
            break;
        case IDM_EXPLORER_TOGGLE_SYNONYMS:
            flags.showSynonyms = !flags.showSynonyms;
            break;
        case IDM_EXPLORER_SOURCE_VIEWS:
            flags.showViews = !flags.showViews;
            refreshSelectedSource(state);
            break;
        case IDM_EXPLORER_SOURCE_SYSTEM:
            flags.showSystemTables = !flags.showSystemTables;
            refreshSelectedSource(state);
            break;
        case IDM_EXPLORER_SOURCE_SYNONYMS:
            flags.showSynonyms = !flags.showSynonyms;
            refreshSelectedSource(state);
            break;
        // The MySQL administration.
        case IDM_EXPLORER_ALTER_TABLE:
        case IDM_EXPLORER_USER_MANAGER:
        case IDM_EXPLORER_TABLE_DIAGNOSTICS:
        case IDM_EXPLORER_FLUSH:
        case IDM_EXPLORER_PERMISSIONS:
            openMySqlDialog(state, id);
            break;
        // Table copy: the explorer waits to close until the dialog is gone, keeping the source connected.
        case IDM_EXPLORER_COPY_TABLE:
            if (ExplorerNode* node = selectedNode(state); node && node->connection) {
                BusySection busy(state);
                openCopyTableDialog(state.dialog, node->connection, node->name, "");
            }
            break;
        case IDM_EXPLORER_COPY_TABLE2:
            if (ExplorerNode* node = selectedNode(state); node && node->connection) {
                BusySection busy(state);
                openCopyTablesDialog(state.dialog, node->connection, node->name);
            }
            break;
        // The SQL Server administration, in the order of its commands.
        case IDM_EXPLORER_MSSQL_REPAIR:
        case IDM_EXPLORER_MSSQL_USERS:
        case IDM_EXPLORER_MSSQL_BACKUP:
        case IDM_EXPLORER_MSSQL_RESTORE:
        case IDM_EXPLORER_MSSQL_FOR_ATTACH:
        case IDM_EXPLORER_MSSQL_ATTACH:
        case IDM_EXPLORER_MSSQL_DETACH:
        case IDM_EXPLORER_MSSQL_SHRINK:
            if (ExplorerNode* node = selectedNode(state);
                node && node->kind == node_kind::kDataSource && node->connection) {
                BusySection busy(state);
                openSqlServerDialog(state.dialog, static_cast<SqlServerDialog>(id - IDM_EXPLORER_MSSQL_REPAIR),
                                    node->connection);
            }
            break;
        case IDM_EXPLORER_DROP_TABLE:
        case IDM_EXPLORER_DELETE_FROM:
            dropOrDelete(state, id == IDM_EXPLORER_DROP_TABLE);
            break;
        default:
            break;
    }
    return true;
}

bool onEditorCommand(ExplorerState& state, UINT id) {
    if (id != IDC_EXPLORER_EXECUTE && id != IDC_EXPLORER_ASSIST)
        return false;
    ExplorerNode* node = nodeOf(state.tree, state.previous);
    if (state.busy > 0 || state.closing || !odbcBinding().loaded() || !node || node->kind != node_kind::kCommand ||
        !node->connection)
        return true;
    BusySection busy(state);
    HWND editor = GetDlgItem(state.dialog, IDC_EXPLORER_EDITOR);
    if (id == IDC_EXPLORER_EXECUTE)
        executeSelection(state.dialog, *node, editor);
    else
        assistIntoEditor(state.dialog, *node, editor);
    return true;
}
