// Printing benchmark under Wine: a 10,000-record table printed into preview pages; pages per second
// and bytes per page (the target is under 40 KB a page).
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "browse/browse_view.h"
#include "browse/table_window.h"
#include "print/emf_printer.h"
#include "print/table_print.h"
#include "tests/win32/grid_table_files.h"

namespace {

long g_pages = 0;
unsigned long long g_bytes = 0;

void measurePages(EmfPrinter& printer) {
    g_pages = static_cast<long>(printer.pageFiles().size());
    for (const std::string& path : printer.pageFiles()) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            g_bytes += data.nFileSizeLow;
    }
}

}  // namespace

int main(int argc, char** argv) {
    long records = argc > 1 ? std::atol(argv[1]) : 10000;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    startUp("");
    registerWindowClasses(instance);
    installModules();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "print_bench.dbf";
    if (!gridtest::writeNumberedTable(path, records)) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    void* table = openTableFile(path.c_str(), false);
    HWND window = table ? createTableWindow(nullptr, 0, table, 20, 20) : nullptr;
    BrowseView* view = window ? browseViewOf(window) : nullptr;
    if (!view) {
        std::printf("cannot open %s\n", path.c_str());
        return 1;
    }
    for (size_t i = 1; i < view->columns.size(); ++i)
        view->columns[i].printSelected = true;
    EmfPrinter::setPreviewOpener(measurePages);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    printSelectedColumns(*view);
    QueryPerformanceCounter(&end);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    DestroyWindow(window);
    DeleteFileA(path.c_str());
    if (g_pages == 0) {
        std::printf("no pages printed (no printer?)\n");
        return 1;
    }
    double perPage = static_cast<double>(g_bytes) / static_cast<double>(g_pages);
    std::printf("records %ld pages %ld seconds %.2f pages/s %.1f bytes/page %.0f\n", records, g_pages, seconds,
                g_pages / seconds, perPage);
    return perPage < 40.0 * 1024 ? 0 : 2;
}
