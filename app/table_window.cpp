// Opening a table window: existence check, write-then-read-only open, pool slot, cascade, window.
#include "app/table_window.h"

#include <cstdio>

#include "app/shell_hooks.h"
#include "app/window_pool.h"
#include "base/file_platform.h"
#include "base/find.h"
#include "base/ui.h"

namespace {

void closeTable(void* table) {
    if (table && shellHooks().closeTable)
        shellHooks().closeTable(table);
}

// Whether two names reach one file, whatever their spelling (relative, other case, ".\"); where the
// files cannot be examined, their full paths are compared instead.
bool sameFile(const char* a, const char* b) {
    int same = platform::sameFile(a, b);
    if (same >= 0)
        return same == 1;
    char fullA[MAX_PATH], fullB[MAX_PATH];
    return GetFullPathNameA(a, MAX_PATH, fullA, nullptr) && GetFullPathNameA(b, MAX_PATH, fullB, nullptr) &&
           lstrcmpiA(fullA, fullB) == 0;
}

// The table window already showing this file, or null: a table opens in one window only, since a
// second holder would make pack, zap and restructure fail.
HWND windowShowing(const char* name) {
    WindowPool& pool = tablePool();
    for (int i = 0; i < kPoolSize; ++i) {
        const PoolSlot& slot = pool.slot(i);
        HWND window = static_cast<HWND>(slot.window);
        if (slot.inUse && window && IsWindow(window) && sameFile(slot.title, name))
            return window;
    }
    return nullptr;
}

void bringForward(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
}

}  // namespace

HWND openTableWindow(HWND owner, const char* name) {
    if (!name || !*name)
        return nullptr;
    if (!fileExists(name)) {
        warningBox(name);
        return nullptr;
    }
    if (HWND open = windowShowing(name)) {
        bringForward(open);
        return open;
    }
    ShellHooks& hooks = shellHooks();
    void* table = nullptr;
    if (hooks.openTable) {
        table = hooks.openTable(name, true);
        if (!table)
            table = hooks.openTable(name, false);
    }
    if (!table) {
        char text[300];
        std::snprintf(text, sizeof text, "Can't open : %s", name);
        warningBox(text);
        return nullptr;
    }
    WindowPool& pool = tablePool();
    int index = pool.acquire(name);
    if (index < 0) {
        closeTable(table);
        warningBox("Too many files opened !");
        return nullptr;
    }
    CascadePosition place = pool.nextPosition();
    pool.slot(index).table = table;
    HWND window =
        hooks.createTableWindow ? hooks.createTableWindow(owner, index, table, place.left, place.top) : nullptr;
    if (!window) {
        closeTable(table);
        pool.release(index);
        return nullptr;
    }
    pool.slot(index).window = window;
    return window;
}

void releaseTableWindow(HWND window) {
    WindowPool& pool = tablePool();
    pool.release(pool.find(window));
}
