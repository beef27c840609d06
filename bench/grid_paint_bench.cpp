// Paint benchmark under Wine: opening and painting a 10,000,000-record table must cost what a
// 100-record one costs, because the grid reads only the records on screen.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "browse/browse_view.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "tests/win32/grid_table_files.h"

namespace {

double seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Result {
    double openSeconds = 0;
    double paintSeconds = 0;  // per paint
    bool ok = false;
};

// Opens the table in a table window and times `paints` repaints at the middle of the table.
Result measure(const std::string& path, int paints) {
    Result result;
    LARGE_INTEGER start = now();
    void* table = openTableFile(path.c_str(), false);
    if (!table)
        return result;
    HWND window = createTableWindow(nullptr, 0, table, 20, 20);
    if (!window) {
        closeTableFile(table);
        return result;
    }
    pump();
    result.openSeconds = seconds(start, now());
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    UpdateWindow(window);
    start = now();
    for (int i = 0; i < paints; ++i) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    result.paintSeconds = seconds(start, now()) / paints;
    DestroyWindow(window);
    pump();
    result.ok = true;
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    int paints = argc > 1 ? atoi(argv[1]) : 200;
    if (paints < 1)
        paints = 1;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerWindowClasses(instance);
    installModules();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "quarrow-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string small = folder + "\\SMALL.DBF";
    std::string large = folder + "\\LARGE.DBF";
    // The large table is a sparse file: its full 190 MB length exists without being written.
    if (!gridtest::writeNumberedTable(small, 100) || !gridtest::writeNumberedTable(large, 10000000, true)) {
        printf("cannot write the benchmark tables in %s\n", folder.c_str());
        return 1;
    }
    measure(small, 5);  // warm-up: fonts, bitmaps, the window class
    Result s = measure(small, paints);
    Result l = measure(large, paints);
    DeleteFileA(small.c_str());
    DeleteFileA(large.c_str());
    RemoveDirectoryA(folder.c_str());
    if (!s.ok || !l.ok) {
        printf("cannot open the benchmark tables\n");
        return 1;
    }
    printf("paints per table: %d\n", paints);
    printf("100 records:        open %.2f ms, paint %.3f ms\n", s.openSeconds * 1000, s.paintSeconds * 1000);
    printf("10,000,000 records: open %.2f ms, paint %.3f ms\n", l.openSeconds * 1000, l.paintSeconds * 1000);
    printf("paint ratio large/small: %.2f\n", l.paintSeconds / s.paintSeconds);
    printf("open ratio large/small: %.2f\n", l.openSeconds / s.openSeconds);
    return 0;
}
