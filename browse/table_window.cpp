// Table windows: the column model of a table, its cell styles, and the window over a pool slot.
#include "browse/table_window.h"

#include <cstdlib>
#include <cstring>

#include "base/picture.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/data_source.h"
#include "dbf/dbf.h"

namespace {

constexpr COLORREF kDeletedText = 0xAFAFAF;
constexpr int kMemoEditLength = 64000;

BrowseView g_slots[kTableViewSlots];
void (*g_closedHandler)(HWND) = nullptr;

COLORREF typeColour(char type) {
    switch (type) {
        case 'N':
            return 0xFF0080;
        case 'D':
        case 'S':
        case 'T':
            return 0xDC8000;
        case 'L':
            return 0xFF0000;
        default:
            return 0;
    }
}

void copyText(char* out, int size, const char* text) {
    lstrcpynA(out, text ? text : "", size);
}

// Trims blanks at both ends in place.
char* trimmed(char* text) {
    while (*text == ' ')
        ++text;
    size_t n = strlen(text);
    while (n > 0 && text[n - 1] == ' ')
        text[--n] = '\0';
    return text;
}

// The display text of a field value: formatted by the column's picture when it has one. A number
// is trimmed first, and a zero value is shown as stored.
void displayText(const BrowseColumn& column, const char* value, char* out, int size) {
    if (!column.picture[0]) {
        copyText(out, size, value);
        return;
    }
    char work[256];
    copyText(work, sizeof work, value);
    const char* source = work;
    if (column.type == 'N') {
        char* number = trimmed(work);
        if (strtold(number, nullptr) == 0) {
            copyText(out, size, value);
            return;
        }
        source = number;
    }
    char result[kPictureResultSize];
    formatPicture(source, column.picture, kPictureDisplay, result);
    copyText(out, size, result);
}

int canEditField(BrowseView&) {
    return 1;
}

int cannotEdit(BrowseView&) {
    return 0;
}

int acceptAlways(BrowseView&) {
    return 1;
}

}  // namespace

CellStyle* fieldCellStyle(BrowseView& view) {
    static CellStyle style;
    style.background = 0xFFFFFF;
    style.font = view.dataFont;
    style.bitmap = nullptr;
    style.text[0] = '\0';
    style.textColor = 0;
    if (!view.table || view.callbackColumn < 0 || view.callbackColumn >= static_cast<long>(view.columns.size()))
        return &style;
    const BrowseColumn& column = view.columns[static_cast<size_t>(view.callbackColumn)];
    dbf& table = *view.table;
    bool deleted = table.isDeleted() != 0;
    if (column.type == 'M') {
        copyText(style.text, sizeof style.text, "<-MEMO->");
        style.textColor = deleted ? kDeletedText : 0;
        return &style;
    }
    int index = table.fieldIndex(column.fieldName);
    displayText(column, index >= 0 ? table.getField(index) : "", style.text, sizeof style.text);
    style.textColor = deleted ? kDeletedText : typeColour(column.type);
    return &style;
}

CellStyle* deletionFlagStyle(BrowseView& view) {
    static CellStyle style;
    style.textColor = 0x00FF00;
    style.background = 0xFFFFFF;
    style.font = view.dataFont;
    style.text[0] = '\0';
    bool deleted = view.table && view.table->isDeleted();
    size_t picture = deleted ? 0 : 1;
    style.bitmap = picture < view.bitmaps.size() ? view.bitmaps[picture].get() : nullptr;
    // Without its pictures the flag still shows, as text.
    if (!style.bitmap)
        copyText(style.text, sizeof style.text, deleted ? "*" : "");
    return &style;
}

void loadFlagBitmaps(BrowseView& view) {
    HINSTANCE instance = view.instance ? view.instance : GetModuleHandleA(nullptr);
    view.bitmaps.clear();
    view.bitmaps.emplace_back(LoadBitmapA(instance, "KUKA"));
    view.bitmaps.emplace_back(LoadBitmapA(instance, "INFO"));
}

void buildTableColumns(BrowseView& view) {
    int fields = view.table ? view.table->fieldCount() : 0;
    setColumnCount(view, fields + 1);
    BrowseColumn& flag = view.columns[0];
    flag.width = 20;
    copyText(flag.fieldName, sizeof flag.fieldName, "deleted()");
    copyText(flag.caption, sizeof flag.caption, "Deleted");
    flag.alignment = kAlignLeft;
    flag.cellStyle = deletionFlagStyle;
    flag.canEdit = cannotEdit;
    flag.acceptEdit = acceptAlways;
    flag.type = 'C';
    flag.headerBackground = kFieldHeaderBackground;
    flag.headerHighlight = kFieldHeaderHighlight;
    long dateLength = static_cast<long>(strlen(setting(SET_DATEFORMAT)));
    for (int i = 0; i < fields; ++i) {
        const FieldInfo* info = view.table->fieldInfo(i);
        BrowseColumn& column = view.columns[static_cast<size_t>(i) + 1];
        column.width = info->width * 10 + 10;
        copyText(column.fieldName, sizeof column.fieldName, info->name);
        copyText(column.caption, sizeof column.caption, info->name);
        column.cellStyle = fieldCellStyle;
        column.canEdit = canEditField;
        column.acceptEdit = acceptAlways;
        column.type = info->type;
        column.editLength = info->width;
        column.alignment = kAlignLeft;
        column.picture[0] = '\0';
        column.headerBackground = kFieldHeaderBackground;
        column.headerHighlight = kFieldHeaderHighlight;
        switch (info->type) {
            case 'N':
                column.alignment = kAlignRight;
                break;
            case 'M':
                column.alignment = kAlignCentre;
                column.editLength = kMemoEditLength;
                break;
            case 'D':
                copyText(column.picture, sizeof column.picture, "@D");
                column.editLength = dateLength;
                break;
            case 'L':
                copyText(column.picture, sizeof column.picture, "L");
                break;
            default:
                break;
        }
    }
}

void setUpTableView(BrowseView& view, dbf* table, int left, int top) {
    initBrowseView(view, table ? table->fileName() : "", left, top, kTableViewWidth, kTableViewHeight,
                   kTableViewRowHeight);
    view.rows -= 2;
    view.instance = GetModuleHandleA(nullptr);
    view.table = table;
    buildTableColumns(view);
    view.gridLines = true;
    loadFlagBitmaps(view);
    if (table) {
        view.cachedCount = table->recCount();
        table->goTop();
    }
    view.commands = kTableWindowCommands;
    view.topLevel = true;
    view.embedded = false;
    view.ownsDescriptor = false;
    view.updateCaption = windowTitleCaption;
    view.ownedFont.reset(CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
    view.headerFont = view.dataFont = view.ownedFont.get();
    windowTitleCaption(view);  // before the window exists: nothing to show yet
}

HWND createGridWindow(BrowseView& view, HWND owner) {
    HWND window =
        CreateWindowExA(WS_EX_LEFT, kGridClass, view.title, WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_VSCROLL, view.left,
                        view.top, kTableViewWidth, kTableViewHeight, owner, nullptr, view.instance, nullptr);
    if (!window)
        return nullptr;
    attachBrowseView(window, &view);
    ShowWindow(window, SW_SHOWNORMAL);
    SetFocus(window);
    UpdateWindow(window);
    HICON icon = LoadIconA(view.instance, "QUARROW");
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return window;
}

void* openTableFile(const char* name, bool writable) {
    dbf* table = new dbf(name);
    if (!table->open(writable ? 1 : 0)) {
        delete table;
        return nullptr;
    }
    return table;
}

void closeTableFile(void* table) {
    dbf* t = static_cast<dbf*>(table);
    if (t) {
        t->close();
        delete t;
    }
}

HWND createTableWindow(HWND owner, int slot, void* table, int left, int top) {
    BrowseView* view = tableViewSlot(slot);
    if (!view || view->table)
        return nullptr;
    *view = BrowseView{};
    setUpTableView(*view, static_cast<dbf*>(table), left, top);
    HWND window = createGridWindow(*view, owner);
    if (!window) {
        view->table = nullptr;  // the shell closes the table
        releaseBrowseView(*view);
    }
    return window;
}

BrowseView* tableViewSlot(int slot) {
    return slot >= 0 && slot < kTableViewSlots ? &g_slots[slot] : nullptr;
}

void setTableWindowClosedHandler(void (*handler)(HWND window)) {
    g_closedHandler = handler;
}

void tableWindowDestroyed(BrowseView& view, HWND window) {
    if (&view >= g_slots && &view < g_slots + kTableViewSlots && g_closedHandler)
        g_closedHandler(window);
}
