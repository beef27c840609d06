// The explorer's tree: the data sources, what connecting lists under them, a table's children,
// what selecting a node does, and freeing nodes with their connections.
#include <algorithm>
#include <utility>

#include "base/text_rules.h"
#include "odbc/catalog_view.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/node_listing.h"
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

// A sink that inserts each listed node under `parent`.
NodeSink treeSink(ExplorerState& state, HTREEITEM parent) {
    return [&state, parent](std::unique_ptr<ExplorerNode> node, const std::string& text, bool hasChildren) {
        insertNode(state, parent, std::move(node), text, hasChildren);
    };
}

// Frees what a node holds: a data source's connection (while the binding is loaded), then the node.
void releaseNode(std::unique_ptr<ExplorerNode> node) {
    OdbcBinding& binding = odbcBinding();
    saveCommandOf(*node);
    if (node->kind == node_kind::kDataSource && node->connection && binding.loaded())
        binding.freeConnection(node->connection);
}

std::string editorText(HWND dialog) {
    std::string text(kCommandTextLimit + 1, '\0');
    int length = GetDlgItemTextA(dialog, IDC_EXPLORER_EDITOR, &text[0], kCommandTextLimit + 1);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
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
            if (!node->populated) {
                listTableChildren(*node, treeSink(state, node->item));
                node->populated = true;
            }
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
    bool loginUsed = false;
    if (!connectAndProbe(state.dialog, source, false, driver_type::kNone, state.destroyed, &loginUsed))
        return 0;
    if (!listTables(state.dialog, source, treeSink(state, source.item))) {
        odbcBinding().freeConnection(source.connection);
        source.connection = nullptr;
        return 0;
    }
    listSourceExtras(source, treeSink(state, source.item));
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
