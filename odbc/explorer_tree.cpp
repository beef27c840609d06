// The explorer's tree: the data sources, what connecting lists under them, a table's children,
// what selecting a node does, and freeing nodes with their connections.
#include <algorithm>
#include <utility>

#include "base/text_rules.h"
#include "odbc/catalog_view.h"
#include "odbc/command_file.h"
#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_handles.h"
#include "odbc/select_text.h"
#include "resources/resource.h"

const char* const kTreeBitmapNames[tree_image::kCount] = {
    "CD",
    "CLIENT",
    "DESKTOP",
    "DOMAIN",
    "ENTIRENETWORK",
    "FLOPPY",
    "FOLDER",
    "LOCALDISK",
    "MYCOMPUTER",
    "NEIGHBORHOOD",
    "NETDRIVE",
    "NETWORKS",
    "OPENFOLDER",
    "DSN",
    "TABLE",
    "TABLES",
    "PROPERTIES",
    "DATABASE",
    "COMMAND",
    "TABLE_SYSTEM",
    "TABLE_VIEW",
    "TABLES_SYSTEM",
    "TABLES_VIEW",
    "PROPERTIES_SYSTEM",
    "PROPERTIES_VIEW",
    "TXT",
    "INDEX",
    "INDEXF",
    "PROCEDURES",
    "INFO",
    "STATISTICS",
    "TPRIV",
    "CPRIV",
    "TABLE_SYNONYM",
    "TABLES_SYNONYM",
    "PROPERTIES_SYNONYM",
};

namespace {

constexpr std::size_t kNameLimit = 260;
constexpr int kCommandTextLimit = 32000;

// Each table picture comes in the four flavours, in the order plain, system, view, synonym.
int byFlavour(int flavour, int plain, int system, int view, int synonym) {
    switch (flavour) {
        case node_flavour::kSystemTable:
            return system;
        case node_flavour::kView:
            return view;
        case node_flavour::kSynonym:
            return synonym;
        default:
            return plain;
    }
}

int imageOf(const ExplorerNode& node) {
    using namespace tree_image;
    if (node.image >= 0)
        return node.image;
    switch (node.kind) {
        case node_kind::kRoot:
            return kDsn;
        case node_kind::kDataSource:
            return kDatabase;
        case node_kind::kTable:
            return byFlavour(node.flavour, kTables, kTablesSystem, kTablesView, kTablesSynonym);
        case node_kind::kColumnList:
            return byFlavour(node.flavour, kProperties, kPropertiesSystem, kPropertiesView, kPropertiesSynonym);
        case node_kind::kBrowse:
            return byFlavour(node.flavour, kTable, kTableSystem, kTableView, kTableSynonym);
        case node_kind::kCommand:
            return kCommand;
        case node_kind::kPrimaryKeys:
            return kIndex;
        case node_kind::kForeignKeys:
            return kIndexF;
        case node_kind::kProcedures:
            return kProcedures;
        case node_kind::kStatistics:
            return kStatistics;
        case node_kind::kTablePrivileges:
            return kTPriv;
        case node_kind::kColumnPrivileges:
            return kCPriv;
        default:
            return kInfo;
    }
}

// A child of `parent` that inherits its connection, table and flavour.
std::unique_ptr<ExplorerNode> childOf(const ExplorerNode& parent, int kind) {
    auto node = std::make_unique<ExplorerNode>();
    node->kind = kind;
    node->level = parent.level + 1;
    node->connection = parent.connection;
    node->name = parent.name;
    node->schema = parent.schema;
    node->catalog = parent.catalog;
    node->flavour = parent.flavour;
    return node;
}

void addChild(ExplorerState& state, const ExplorerNode& parent, int kind, const std::string& text, int flavour = -1) {
    auto node = childOf(parent, kind);
    if (flavour >= 0)
        node->flavour = flavour;
    insertNode(state, parent.item, std::move(node), text, false);
}

bool supported(SqlHdbc connection, SqlUSmallInt function) {
    const OdbcFunctions& fn = odbcBinding().fn();
    if (!fn.SQLGetFunctions)
        return false;
    SqlUSmallInt exists = 0;
    return sql::succeeded(fn.SQLGetFunctions(connection, function, &exists)) && exists != 0;
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The flavour of a table type SQLTables reports, and whether the display flags show it.
bool classify(const std::string& type, int* flavour) {
    const ExplorerFlags& flags = explorerFlags();
    if (type.find("SYNONYM") != std::string::npos || type.find("ALIAS") != std::string::npos) {
        *flavour = node_flavour::kSynonym;
        return flags.showSynonyms;
    }
    if (type == "VIEW") {
        *flavour = node_flavour::kView;
        return flags.showViews;
    }
    if (type == "SYSTEM TABLE") {
        *flavour = node_flavour::kSystemTable;
        return flags.showSystemTables;
    }
    *flavour = node_flavour::kTable;
    return true;
}

// One node per table SQLTables lists, in its order. A server that lists every database's tables
// (MariaDB leaves the schema empty and names the database as catalog) gets each table of another
// database labelled with it, so that mysql.user and user stay apart.
bool listTables(ExplorerState& state, ExplorerNode& source) {
    OdbcBinding& binding = odbcBinding();
    OdbcStatement statement(binding, source.connection);
    if (!statement.ok()) {
        statement.reportError(state.dialog);
        return false;
    }
    if (!sql::succeeded(binding.fn().SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
        binding.reportError(binding.environment(), source.connection, statement.get(), state.dialog);
        return false;
    }
    const std::string current = currentCatalog(odbcBinding(), source.connection);
    ColumnText catalog, schema, name, type;
    while (sql::succeeded(statement.fetch())) {
        statement.getText(1, catalog, kNameLimit);
        statement.getText(2, schema, kNameLimit);
        statement.getText(3, name, kNameLimit);
        statement.getText(4, type, kNameLimit);
        auto node = childOf(source, node_kind::kTable);
        node->catalog = trimmed(catalog.text);
        node->schema = trimmed(schema.text);
        node->name = trimmed(name.text);
        if (!classify(trimmed(type.text), &node->flavour))
            continue;
        std::string text = node->name;
        if (!node->catalog.empty() && !current.empty() && node->catalog != current && node->schema.empty())
            text = node->catalog + "." + node->name;
        insertNode(state, source.item, std::move(node), text, true);
    }
    return true;
}

// What comes after the tables: procedures, the server's own views, information, the command.
void addSourceExtras(ExplorerState& state, ExplorerNode& source) {
    if (odbcBinding().fn().SQLProcedures && supported(source.connection, sql::kApiProcedures)) {
        auto node = childOf(source, node_kind::kProcedures);
        node->flavour = node_flavour::kProcedureList;
        node->schema.clear();
        insertNode(state, source.item, std::move(node), "Stored procedures", false);
    }
    std::string dbms = dbmsName(odbcBinding(), source.connection);
    if (isMySqlFamily(dbms)) {
        static const char* const kMySqlViews[] = {"Show databases", "Show table status", "Show status",
                                                  "Show variables", "Show processlist"};
        for (int i = 0; i < 5; ++i)
            addChild(state, source, node_kind::kShowDatabases + i, kMySqlViews[i]);
    } else if (isSqlServer(dbms)) {
        addChild(state, source, node_kind::kShowUnusedSpace, "Show unused space");
    }
    addChild(state, source, node_kind::kInformation, "General information");
    auto command = childOf(source, node_kind::kCommand);
    command->text = loadCommandText(source.name);
    insertNode(state, source.item, std::move(command), label("BR_COMMAND"), false);
}

// Frees what a node holds: a data source's connection (while the binding is loaded), then the node.
void releaseNode(std::unique_ptr<ExplorerNode> node) {
    OdbcBinding& binding = odbcBinding();
    if (node->kind == node_kind::kCommand && !saveCommandText(node->name, node->text)) {
        std::string text = "Can't save the SQL command of " + node->name + " to " + commandFilePath(node->name) + ".";
        binding.ui().warning(text.c_str());
    }
    if (node->kind == node_kind::kDataSource && node->connection && binding.loaded())
        binding.freeConnection(node->connection);
}

std::string editorText(HWND dialog) {
    std::string text(kCommandTextLimit + 1, '\0');
    int length = GetDlgItemTextA(dialog, IDC_EXPLORER_EDITOR, &text[0], kCommandTextLimit + 1);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

int addTableChildren(ExplorerState& state, ExplorerNode& table) {
    addChild(state, table, node_kind::kColumnList, label("BR_FIELDS"));
    addChild(state, table, node_kind::kBrowse, label("BR_BROWSE"));
    if (table.flavour != node_flavour::kTable)
        return 1;
    const OdbcFunctions& fn = odbcBinding().fn();
    bool mySql = isMySqlFamily(dbmsName(odbcBinding(), table.connection));
    addChild(state, table, node_kind::kStatistics, "Statistics");
    if (fn.SQLPrimaryKeys && supported(table.connection, sql::kApiPrimaryKeys))
        addChild(state, table, node_kind::kPrimaryKeys, label("BR_PRIMARY"));
    if (!mySql && fn.SQLForeignKeys && supported(table.connection, sql::kApiForeignKeys))
        addChild(state, table, node_kind::kForeignKeys, label("BR_FOREIGN"));
    if (supported(table.connection, sql::kApiTablePrivileges))
        addChild(state, table, node_kind::kTablePrivileges, label("BR_TPRIV"));
    if (!mySql && supported(table.connection, sql::kApiColumnPrivileges))
        addChild(state, table, node_kind::kColumnPrivileges, label("BR_CPRIV"));
    return 1;
}

void handleSelection(ExplorerState& state, HTREEITEM item) {
    ExplorerNode* previous = nodeOf(state.tree, state.previous);
    if (previous && previous->kind == node_kind::kCommand) {
        previous->text = editorText(state.dialog);
        setRightMode(state, RightMode::grid);
        SetDlgItemTextA(state.dialog, IDC_EXPLORER_EDITOR, "");
    }
    state.previous = item;
    ExplorerNode* node = nodeOf(state.tree, item);
    if (!node)
        return;
    // The path titles the results the node shows.
    node->path = nodePath(state.tree, item);
    SetDlgItemTextA(state.dialog, IDC_EXPLORER_PATH, node->path.c_str());
    switch (node->kind) {
        case node_kind::kDataSource:
            if (!node->populated)
                node->populated = connectAndList(state, *node) == 1;
            break;
        case node_kind::kTable:
            if (!node->populated)
                node->populated = addTableChildren(state, *node) == 1;
            break;
        case node_kind::kColumnList:
            showColumnList(state.host, *node);
            break;
        case node_kind::kBrowse:
            runQueryToGrid(state.host, *node);
            break;
        case node_kind::kCommand:
            setRightMode(state, RightMode::command);
            SetDlgItemTextA(state.dialog, IDC_EXPLORER_EDITOR, node->text.c_str());
            break;
        case node_kind::kRoot:
        case node_kind::kFileFolder:
        case node_kind::kNetwork:
        case node_kind::kTextFile:
            selectFileNode(state, *node);
            break;
        default:
            if (isCatalogViewKind(node->kind))
                showCatalogView(state.host, *node);
            break;
    }
}

}  // namespace

HTREEITEM insertNode(ExplorerState& state,
                     HTREEITEM parent,
                     std::unique_ptr<ExplorerNode> node,
                     const std::string& text,
                     bool hasChildren,
                     HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = insert.item.iSelectedImage = imageOf(*node);
    if (insert.item.iImage == tree_image::kFolder)
        insert.item.iSelectedImage = tree_image::kOpenFolder;
    insert.item.cChildren = hasChildren ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(state.tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) {
        node->item = item;
        node.release();  // the item owns it now; TVN_DELETEITEM frees it
    }
    return item;
}

ExplorerFlags& explorerFlags() {
    static ExplorerFlags flags;
    return flags;
}

ExplorerNode* nodeOf(HWND tree, HTREEITEM item) {
    if (!tree || !item)
        return nullptr;
    TVITEMA tvi{};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi)))
        return nullptr;
    return reinterpret_cast<ExplorerNode*>(tvi.lParam);
}

ExplorerNode* selectedNode(ExplorerState& state) {
    return nodeOf(state.tree, TreeView_GetSelection(state.tree));
}

HIMAGELIST buildTreeImages(HINSTANCE instance) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 40, 0);
    if (!images)
        return nullptr;
    ImageList_SetBkColor(images, GetSysColor(COLOR_WINDOW));
    for (const char* name : kTreeBitmapNames) {
        HBITMAP bitmap = LoadBitmapA(instance, name);
        // A missing picture still takes its place, so that the indexes stay right.
        if (!bitmap)
            bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
        ImageList_AddMasked(images, bitmap, RGB(0, 0, 0));
        DeleteObject(bitmap);
    }
    return images;
}

bool buildDataSourceBranch(ExplorerState& state) {
    OdbcBinding& binding = odbcBinding();
    std::vector<std::string> names;
    if (!enumerateDataSources(
            binding.environment(), [&names](const char* name, const char*) { names.emplace_back(name); }, binding))
        return false;
    auto root = std::make_unique<ExplorerNode>();
    root->kind = node_kind::kRoot;
    root->populated = true;
    root->name = label("BR_ODBC");
    HTREEITEM rootItem = insertNode(state, TVI_ROOT, std::move(root), label("BR_ODBC"), true, TVI_FIRST);
    for (const std::string& name : names) {
        auto source = std::make_unique<ExplorerNode>();
        source->kind = node_kind::kDataSource;
        source->level = 1;
        source->name = name;
        insertNode(state, rootItem, std::move(source), name, true, TVI_SORT);
    }
    return true;
}

int connectAndList(ExplorerState& state, ExplorerNode& source) {
    OdbcBinding& binding = odbcBinding();
    SqlHdbc connection = nullptr;
    if (!sql::succeeded(binding.allocConnection(&connection))) {
        binding.reportError(binding.environment(), nullptr, nullptr, state.dialog);
        return 0;
    }
    bool loginUsed = false;
    SqlReturn result = connect(state.dialog, source.name, connection, &source.connection, &loginUsed, false,
                               driver_type::kNone, binding);
    // The window went away during the login dialog: the node keeps the connection for the teardown.
    if (state.destroyed)
        return 0;
    // A failed node keeps no connection: the next selection connects anew.
    auto fail = [&]() {
        binding.reportError(binding.environment(), connection, nullptr, state.dialog);
        binding.freeConnection(connection);
        source.connection = nullptr;
        return 0;
    };
    if (!sql::succeeded(result))
        return fail();
    char probe[64] = "";
    SqlSmallInt length = 0;
    result = binding.fn().SQLGetInfo(connection, sql::kInfoMaxQualifierNameLen, probe, sizeof probe, &length);
    if (!sql::succeeded(result))
        return fail();
    if (!listTables(state, source)) {
        binding.freeConnection(connection);
        source.connection = nullptr;
        return 0;
    }
    addSourceExtras(state, source);
    if (loginUsed)
        TreeView_Expand(state.tree, source.item, TVE_EXPAND);
    return 1;
}

void refreshTableList(ExplorerState& state, ExplorerNode& source) {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    while (HTREEITEM child = TreeView_GetChild(state.tree, source.item))
        TreeView_DeleteItem(state.tree, child);
    // The refreshed node keeps only its new connection.
    if (source.connection)
        odbcBinding().freeConnection(source.connection);
    source.connection = nullptr;
    source.populated = false;
    source.populated = connectAndList(state, source) == 1;
    if (!state.destroyed)
        SetCursor(previous);
}

void onSelectionChanged(ExplorerState& state, HTREEITEM item) {
    if (state.closing || state.busy > 0 || !odbcBinding().loaded())
        return;
    // The hourglass until the end; the arrow is set again by whoever shows a box meanwhile.
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    {
        BusySection busy(state);
        handleSelection(state, item);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void onItemDeleted(ExplorerState& state, ExplorerNode* raw) {
    if (!raw)
        return;
    std::unique_ptr<ExplorerNode> node(raw);
    if (node->item == state.previous) {
        if (node->kind == node_kind::kCommand && IsWindow(state.dialog))
            node->text = editorText(state.dialog);
        state.previous = nullptr;
    }
    // A handler on the stack may still work through this node's connection.
    if (state.busy > 0) {
        state.orphans.push_back(std::move(node));
        return;
    }
    releaseNode(std::move(node));
}

void releaseOrphans(ExplorerState& state) {
    for (auto& node : state.orphans)
        releaseNode(std::move(node));
    state.orphans.clear();
}

void detachAllNodes(ExplorerState& state) {
    if (!state.tree || !IsWindow(state.tree))
        return;
    std::vector<HTREEITEM> pending;
    for (HTREEITEM root = TreeView_GetRoot(state.tree); root; root = TreeView_GetNextSibling(state.tree, root))
        pending.push_back(root);
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (HTREEITEM child = TreeView_GetChild(state.tree, item); child;
             child = TreeView_GetNextSibling(state.tree, child))
            pending.push_back(child);
        if (ExplorerNode* node = nodeOf(state.tree, item)) {
            TVITEMA tvi{};
            tvi.mask = TVIF_PARAM;
            tvi.hItem = item;
            tvi.lParam = 0;
            SendMessageA(state.tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
            state.orphans.emplace_back(node);
        }
    }
}

std::string nodePath(HWND tree, HTREEITEM item) {
    std::string path;
    for (; item; item = TreeView_GetParent(tree, item)) {
        ExplorerNode* node = nodeOf(tree, item);
        if (!node || node->kind == node_kind::kRoot)
            break;
        char text[kNameLimit * 2] = "";
        TVITEMA tvi{};
        tvi.mask = TVIF_TEXT;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
        path = path.empty() ? std::string(text) : std::string(text) + "." + path;
    }
    return path;
}
