// Opening a table window: existence check, write-then-read-only open, pool slot, cascade, window.
#include "app/table_window.h"

#include <cstdio>

#include "app/shell_hooks.h"
#include "app/window_pool.h"
#include "base/find.h"
#include "base/ui.h"

namespace {

void closeTable(void* table) {
    if (table && shellHooks().closeTable)
        shellHooks().closeTable(table);
}

}  // namespace

HWND openTableWindow(HWND owner, const char* name) {
    if (!name || !*name)
        return nullptr;
    if (!fileExists(name)) {
        warningBox(name);
        return nullptr;
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
