// Column lookup, dialog owners and table reopening for the browse commands.
#include "browse/command_support.h"

#include <cstring>
#include <vector>

#include "base/properties.h"

namespace {
HWND (*g_opener)(HWND, const char*) = nullptr;
}

std::string captionForField(const BrowseView& view, const char* fieldName) {
    for (const BrowseColumn& column : view.columns) {
        if (strcmp(column.fieldName, fieldName) == 0)
            return column.caption;
    }
    return std::string();
}

std::string fieldForCaption(const BrowseView& view, const char* caption) {
    for (const BrowseColumn& column : view.columns) {
        if (strcmp(column.caption, caption) == 0)
            return column.fieldName;
    }
    return std::string();
}

void runSingleInstanceDialog(BrowseView& view, const char* templateName, DLGPROC procedure, BrowseView*& openView) {
    if (openView)
        return;
    struct Clear {
        BrowseView*& slot;
        ~Clear() { slot = nullptr; }
    } clear{openView};
    openView = &view;
    DialogBoxParamA(commandInstance(&view), templateName, view.window, procedure, reinterpret_cast<LPARAM>(&view));
}

HINSTANCE commandInstance(const BrowseView* view) {
    if (view && view->instance)
        return view->instance;
    void* stored = property("HINSTANCE");
    // An unknown property reads as a pointer to an empty text, never as a module.
    if (stored && *static_cast<const char*>(stored) != '\0')
        return static_cast<HINSTANCE>(stored);
    return GetModuleHandleA(nullptr);
}

HWND mainWindow() {
    HWND window = static_cast<HWND>(property("HWND"));
    return window && IsWindow(window) ? window : nullptr;
}

void setTableOpener(HWND (*opener)(HWND, const char*)) {
    g_opener = opener;
}

HWND reopenTable(const char* name) {
    return g_opener ? g_opener(mainWindow(), name) : nullptr;
}

std::string trimmedItemText(HWND dialog, int id, int limit) {
    std::vector<char> buffer(static_cast<size_t>(limit) + 1, '\0');
    GetDlgItemTextA(dialog, id, buffer.data(), limit + 1);
    std::string text = buffer.data();
    size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}
