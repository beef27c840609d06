// File panel listings: the report columns, the listing itself, icons, the drive list and walking
// between folders.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <memory>

#include "base/find_handle_win32.h"
#include "copy/file_panel.h"

namespace {

int64_t fileTime(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FileFindData toFindData(const WIN32_FIND_DATAA& data) {
    FileFindData find;
    find.name = data.cFileName;
    find.attributes = data.dwFileAttributes;
    find.creationTime = fileTime(data.ftCreationTime);
    find.accessTime = fileTime(data.ftLastAccessTime);
    find.writeTime = fileTime(data.ftLastWriteTime);
    find.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return find;
}

void setSubItem(HWND list, int item, int column, const std::string& text) {
    ListView_SetItemText(list, item, column, const_cast<char*>(text.c_str()));
}

int CALLBACK compareItems(LPARAM a, LPARAM b, LPARAM column) {
    return compareFileEntries(reinterpret_cast<const FileEntry*>(a), reinterpret_cast<const FileEntry*>(b),
                              static_cast<int>(column));
}

}  // namespace

void setFileListColumns(HWND list) {
    static const struct {
        const char* caption;
        int width;
    } columns[kFileColumnCount] = {{"File name", 270},   {"Type", 90},         {"Size", 80}, {"Create date", 160},
                                   {"Last access", 160}, {"Modify date", 160}, {"Attr.", 80}};
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < kFileColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].caption);
        column.cx = columns[i].width;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    SHFILEINFOA info{};
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(list, icons, LVSIL_SMALL);
}

void clearFileList(HWND list) {
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i)
        delete fileEntryAt(list, i);
    ListView_DeleteAllItems(list);
}

const FileEntry* fileEntryAt(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<const FileEntry*>(item.lParam);
}

int listDirectory(HWND window, int listId, const char* pattern, const FilePanel& panel) {
    HWND list = GetDlgItem(window, listId);
    if (!list || !pattern)
        return 0;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    clearFileList(list);
    WIN32_FIND_DATAA data;
    FindHandle search(FindFirstFileA(pattern, &data));
    int count = 0;
    if (search.valid()) {
        do {
            if (data.cFileName[0] == '.' && data.cFileName[1] == 0)
                continue;
            auto entry = std::make_unique<FileEntry>(makeFileEntry(pattern, toFindData(data)));
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
            item.iItem = count;
            item.pszText = const_cast<char*>(entry->displayName.c_str());
            item.iImage = I_IMAGECALLBACK;
            item.lParam = reinterpret_cast<LPARAM>(entry.get());
            int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
            if (index < 0)
                continue;
            const FileEntry& e = *entry.release();
            setSubItem(list, index, kColumnType, e.typeText);
            setSubItem(list, index, kColumnSize, fileSizeText(e.find.size));
            setSubItem(list, index, kColumnCreated, fileTimeText(e.find.creationTime));
            setSubItem(list, index, kColumnAccessed, fileTimeText(e.find.accessTime));
            setSubItem(list, index, kColumnModified, fileTimeText(e.find.writeTime));
            setSubItem(list, index, kColumnAttributes, fileAttributeText(e.find.attributes));
            ++count;
        } while (FindNextFileA(search.get(), &data));
    }
    sortFileList(list, panel.fileSortColumn);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return count;
}

void sortFileList(HWND list, int column) {
    ListView_SortItems(list, compareItems, column);
}

void focusFileEntry(HWND list, int index) {
    int count = ListView_GetItemCount(list);
    if (count == 0)
        return;
    if (index >= count)
        index = count - 1;
    if (index < 0)
        index = 0;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
}

std::string pathLineText(HWND window, int pathLineId) {
    HWND line = GetDlgItem(window, pathLineId);
    int length = line ? GetWindowTextLengthA(line) : 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    if (length > 0)
        text.resize(static_cast<size_t>(GetWindowTextA(line, &text[0], length + 1)));
    else
        text.clear();
    return text;
}

EntryPath entryPath(HWND window, int listId, int index, const FilePanel& panel) {
    EntryPath path;
    path.directory = pathLineText(window, panel.pathLineId);
    const FileEntry* entry = fileEntryAt(GetDlgItem(window, listId), index);
    if (!entry)
        return path;
    path.name = entry->find.name;
    path.type = entry->typeText;
    path.isDirectory = entry->isDirectory();
    if (path.isDirectory && path.name == "..") {
        path.directory = parentPath(path.directory);
        path.fullPath = path.directory;
    } else {
        path.fullPath = path.directory + path.name;
    }
    return path;
}

int systemIconIndex(const char* path) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path, 0, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE);
    return info.iIcon;
}

bool fileListDisplayInfo(LPARAM notification) {
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(notification);
    if (info->hdr.code != LVN_GETDISPINFOA || !(info->item.mask & LVIF_IMAGE))
        return false;
    const auto* entry = reinterpret_cast<const FileEntry*>(info->item.lParam);
    if (!entry)
        entry = fileEntryAt(info->hdr.hwndFrom, info->item.iItem);
    if (!entry)
        return false;
    info->item.iImage = systemIconIndex(entry->fullPath.c_str());
    return true;
}

void fillDriveList(HWND combo) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("DSN\\"));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        char root[4] = {letter, ':', '\\', 0};
        if (GetDriveTypeA(root) < DRIVE_REMOVABLE)
            continue;
        SHFILEINFOA info{};
        SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
        std::string entry = driveListEntry(root, info.szDisplayName);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

void showFolder(HWND window, FilePanel& panel, const std::string& directory) {
    SetDlgItemTextA(window, panel.pathLineId, directory.c_str());
    listDirectory(window, panel.fileListId, (directory + "*.*").c_str(), panel);
    focusFileEntry(GetDlgItem(window, panel.fileListId), panel.focus.remembered());
}

bool enterFileEntry(HWND window, FilePanel& panel, int index) {
    EntryPath path = entryPath(window, panel.fileListId, index, panel);
    if (!path.isDirectory)
        return false;
    if (path.name == "..") {
        goToParentFolder(window, panel);
        return true;
    }
    panel.focus.enter(index);
    showFolder(window, panel, path.fullPath + "\\");
    return true;
}

void goToParentFolder(HWND window, FilePanel& panel) {
    std::string directory = pathLineText(window, panel.pathLineId);
    if (panel.focus.depth() > 0)
        panel.focus.leave();
    showFolder(window, panel, parentPath(directory));
}

void goToDriveRoot(HWND window, FilePanel& panel) {
    std::string directory = pathLineText(window, panel.pathLineId);
    panel.focus.toRoot();
    showFolder(window, panel, directory.substr(0, 3));
}
