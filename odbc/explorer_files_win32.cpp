// The explorer's file-system branch: the desktop, my computer with its drives, folders and the
// network, with dBase tables opened in place in the grid and text files shown in the editor.
#include <shlobj.h>
#include <winnetwk.h>

#include <cstdio>
#include <cstring>

#include "base/text_rules.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "dbf/dbf.h"
#include "odbc/explorer_internal.h"
#include "resources/resource.h"

namespace {

constexpr int kTextLimit = 32000;
constexpr int kNetworkDepth = 4;
constexpr DWORD kEnumBufferSize = 16384;

const char* const kRecognised[] = {".DBF", ".TXT",  ".BAT", ".PRG", ".C",   ".H",   ".CPP", ".LOG",
                                   ".HTM", ".HTML", ".XML", ".RC",  ".COD", ".SCR", ".DES", ".DIZ"};

std::string upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool endsWith(const std::string& text, const char* tail) {
    std::size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

bool recognised(const std::string& name) {
    std::string up = upper(name);
    for (const char* tail : kRecognised)
        if (endsWith(up, tail))
            return true;
    return false;
}

bool isTableFile(const std::string& name) {
    return endsWith(upper(name), ".DBF");
}

// A shell folder's display name; its small icon replaces the picture `image` of the tree.
std::string shellFolder(ExplorerState& state, int csidl, int image) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(state.dialog, csidl, &list)) || !list)
        return std::string();
    SHFILEINFOA info{};
    std::string name;
    if (SHGetFileInfoA(reinterpret_cast<const char*>(list), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_SMALLICON)) {
        name = info.szDisplayName;
        if (info.hIcon) {
            ImageList_ReplaceIcon(state.images, image, info.hIcon);
            DestroyIcon(info.hIcon);
        }
    }
    CoTaskMemFree(list);
    return name;
}

std::unique_ptr<ExplorerNode> fileNode(int kind, int level, const std::string& name, int image) {
    auto node = std::make_unique<ExplorerNode>();
    node->kind = kind;
    node->level = level;
    node->name = name;
    node->image = image;
    return node;
}

// "X:\" and the shell's name of the drive, without a trailing " (X:)".
std::string driveLabel(const std::string& root) {
    SHFILEINFOA info{};
    std::string text = root;
    if (!SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) || !info.szDisplayName[0])
        return text;
    std::string name = info.szDisplayName;
    if (name.size() >= 4 && name[name.size() - 4] == '(')
        name = name.substr(0, name.size() - 5);
    return name.empty() ? text : text + " (" + name + ")";
}

void addDrives(ExplorerState& state, HTREEITEM computer) {
    int image = tree_image::kCd;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string root = std::string(1, letter) + ":\\";
        UINT type = GetDriveTypeA(root.c_str());
        if (type <= DRIVE_NO_ROOT_DIR)
            continue;
        // Any other type keeps the picture of the drive before it.
        image = type == DRIVE_CDROM       ? tree_image::kCd
                : type == DRIVE_FIXED     ? tree_image::kLocalDisk
                : type == DRIVE_REMOTE    ? tree_image::kNetDrive
                : type == DRIVE_REMOVABLE ? tree_image::kFloppy
                                          : image;
        auto node = fileNode(node_kind::kFileFolder, 3, std::string(1, letter) + ":", image);
        insertNode(state, computer, std::move(node), driveLabel(root), true, TVI_SORT);
    }
}

// The folder a node stands for, with the backslash that joins a name to it.
std::string folderPrefix(const ExplorerNode& node) {
    return node.name.empty() || node.name.back() == '\\' ? node.name : node.name + "\\";
}

bool tooLong(const std::string& path) {
    if (path.size() < MAX_PATH)
        return false;
    std::string text = "The path is too long:\r\n" + path;
    warningBox(text.c_str());
    return true;
}

// Whether a folder holds a sub-folder or a recognised file (its expand button).
bool hasEntries(const std::string& folder) {
    std::string pattern = folder + "\\*.*";
    if (pattern.size() >= MAX_PATH)
        return false;
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool any = false;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        any = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || recognised(name);
    } while (!any && FindNextFileA(find, &found));
    FindClose(find);
    return any;
}

void listFolder(ExplorerState& state, ExplorerNode& folder) {
    std::string prefix = folderPrefix(folder);
    std::string pattern = prefix + "*.*";
    if (tooLong(pattern))
        return;
    UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = prefix + name;
            std::unique_ptr<ExplorerNode> node;
            bool children = false;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                node = fileNode(folder.kind, folder.level + 1, path, tree_image::kFolder);
                children = hasEntries(path);
            } else if (isTableFile(name)) {
                node = fileNode(folder.kind, folder.level + 1, path, tree_image::kTable);
            } else if (recognised(name)) {
                bool share = folder.kind == node_kind::kNetwork;
                node = fileNode(share ? node_kind::kNetwork : node_kind::kTextFile, folder.level + 1, path,
                                tree_image::kTxt);
                node->flavour = share ? 1 : 0;
            }
            if (node)
                insertNode(state, folder.item, std::move(node), name, children, TVI_SORT);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    SetCursor(previous);
    SetErrorMode(mode);
}

// Network containers from the top down to depth 4, or (level 5) a container's disk shares.
void listNetworkLevel(ExplorerState& state, HTREEITEM parent, NETRESOURCEA* resource, int depth, bool shares) {
    HANDLE enumeration = nullptr;
    DWORD usage = shares ? 0 : RESOURCEUSAGE_CONTAINER;
    if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_DISK, usage, resource, &enumeration) != NO_ERROR)
        return;  // no network (Wine answers 1222): the branch stays empty
    std::vector<char> buffer(kEnumBufferSize);
    for (;;) {
        DWORD count = 0xFFFFFFFF;
        DWORD size = kEnumBufferSize;
        if (WNetEnumResourceA(enumeration, &count, buffer.data(), &size) != NO_ERROR)
            break;
        auto* entries = reinterpret_cast<NETRESOURCEA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const NETRESOURCEA& entry = entries[i];
            std::string remote = entry.lpRemoteName ? entry.lpRemoteName : "";
            if (shares) {
                std::size_t server = remote.find('\\', 2);
                auto node = fileNode(node_kind::kNetwork, 6, remote, tree_image::kFolder);
                std::string text = server == std::string::npos ? remote : remote.substr(server + 1);
                insertNode(state, parent, std::move(node), text, true, TVI_SORT);
                continue;
            }
            int image = depth <= 2 ? tree_image::kNetworks : depth == 3 ? tree_image::kDomain : tree_image::kClient;
            auto node = fileNode(node_kind::kNetwork, depth + 1, remote, image);
            node->networkNames[0] = remote;
            node->networkNames[1] = entry.lpProvider ? entry.lpProvider : "";
            node->network = entry;
            node->network.lpRemoteName = node->networkNames[0].empty() ? nullptr : &node->networkNames[0][0];
            node->network.lpProvider = node->networkNames[1].empty() ? nullptr : &node->networkNames[1][0];
            node->network.lpLocalName = nullptr;
            node->network.lpComment = nullptr;
            node->populated = depth < kNetworkDepth;
            NETRESOURCEA inner = node->network;
            std::string text = remote.size() > 2 ? remote.substr(2) : node->networkNames[1];
            HTREEITEM item = insertNode(state, parent, std::move(node), text, true, TVI_SORT);
            if (item && depth < kNetworkDepth)
                listNetworkLevel(state, item, &inner, depth + 1, false);
        }
    }
    WNetCloseEnum(enumeration);
}

// The grid columns of a table window over `table`: the field names, dates and logicals pictured.
std::vector<ResultField> tableFields(dbf& table) {
    std::vector<ResultField> fields;
    for (int i = 0; i < table.fieldCount(); ++i) {
        const FieldInfo* info = table.fieldInfo(i);
        ResultField field;
        std::snprintf(field.def.name, sizeof field.def.name, "%s", info->name);
        field.def.type = info->type;
        field.def.width = info->width;
        field.caption = info->name;
        field.picture = info->type == 'D' ? "@D" : info->type == 'L' ? "L" : "";
        field.pixels = info->width * 10 + 10;
        fields.push_back(field);
    }
    return fields;
}

int openTableNode(ExplorerState& state, ExplorerNode& node) {
    DWORD attributes = GetFileAttributesA(node.name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    auto table = std::make_unique<dbf>(node.name.c_str());
    if (!table->open(1) && !table->open(0))
        return 0;
    discardResultView(GetDlgItem(state.dialog, state.host.gridId));
    SetDlgItemTextA(state.dialog, state.host.commandLineId, node.name.c_str());
    ResultLayout layout;
    layout.title = node.name;
    // The commands of a table inside a dialog: none of them closes or rebuilds the grid's window.
    layout.commands = kDialogTableCommands;
    std::vector<ResultField> fields = tableFields(*table);
    // No temporary path: discarding the view closes the table and never deletes the file.
    return showResultTable(state.host, std::move(table), std::string(), fields, layout);
}

int openTextNode(ExplorerState& state, ExplorerNode& node) {
    SetDlgItemTextA(state.dialog, IDC_EXPLORER_EDITOR, "");
    HANDLE file = CreateFileA(node.name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::string text = "Open error : " + node.name;
        warningBox(text.c_str());
        return 0;
    }
    std::string text(kTextLimit, '\0');
    DWORD read = 0;
    BOOL ok = ReadFile(file, &text[0], kTextLimit, &read, nullptr);
    CloseHandle(file);
    text.resize(ok ? read : 0);
    SendDlgItemMessageA(state.dialog, IDC_EXPLORER_EDITOR, EM_SETLIMITTEXT, read, 0);
    SetDlgItemTextA(state.dialog, IDC_EXPLORER_EDITOR, text.c_str());
    SetDlgItemTextA(state.dialog, IDC_EXPLORER_CAPTION, node.name.c_str());
    setRightMode(state, RightMode::text);
    return 1;
}

}  // namespace

void buildFileBranch(ExplorerState& state) {
    auto root = fileNode(node_kind::kRoot, 0, label("BR_DBF"), tree_image::kTable);
    root->populated = true;
    HTREEITEM rootItem = insertNode(state, TVI_ROOT, std::move(root), label("BR_DBF"), true);
    auto desktop = fileNode(node_kind::kRoot, 1, "", tree_image::kDesktop);
    desktop->populated = true;
    HTREEITEM desktopItem =
        insertNode(state, rootItem, std::move(desktop), shellFolder(state, CSIDL_DESKTOP, tree_image::kDesktop), true);
    auto computer = fileNode(node_kind::kFileFolder, 2, "", tree_image::kMyComputer);
    computer->populated = true;
    HTREEITEM computerItem = insertNode(state, desktopItem, std::move(computer),
                                        shellFolder(state, CSIDL_DRIVES, tree_image::kMyComputer), true);
    auto network = fileNode(node_kind::kNetwork, 2, "", tree_image::kNeighborhood);
    insertNode(state, desktopItem, std::move(network), shellFolder(state, CSIDL_NETWORK, tree_image::kNeighborhood),
               true);
    if (computerItem)
        addDrives(state, computerItem);
    TreeView_Expand(state.tree, desktopItem, TVE_EXPAND);
    TreeView_Expand(state.tree, computerItem, TVE_EXPAND);
}

void selectFileNode(ExplorerState& state, ExplorerNode& node) {
    // A file or folder is named by its path, not by the labels above it.
    if (!node.name.empty() && node.kind != node_kind::kRoot) {
        node.path = node.name;
        SetDlgItemTextA(state.dialog, IDC_EXPLORER_PATH, node.path.c_str());
    }
    if (node.kind == node_kind::kTextFile || (node.kind == node_kind::kNetwork && node.flavour == 1)) {
        openTextNode(state, node);
        return;
    }
    if (node.kind == node_kind::kRoot)
        return;
    if (isTableFile(node.name) && !(GetFileAttributesA(node.name.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
        openTableNode(state, node);
        return;
    }
    if (node.populated)
        return;
    node.populated = true;
    if (node.kind == node_kind::kNetwork && node.level == 2)
        listNetworkLevel(state, node.item, nullptr, 1, false);
    else if (node.kind == node_kind::kNetwork && node.level == 5)
        listNetworkLevel(state, node.item, &node.network, 5, true);
    else if (!node.name.empty())
        listFolder(state, node);
    if (!TreeView_GetChild(state.tree, node.item)) {
        TVITEMA item{};
        item.mask = TVIF_CHILDREN;
        item.hItem = node.item;
        SendMessageA(state.tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}
