// File panel and picture viewer benchmark under Wine: listing a folder of 10,000 files, and the GDI
// objects and memory of the process while the viewer steps through 1,000 pictures.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "copy/file_panel.h"
#include "picture/picture_viewer.h"

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

std::string scratch(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "qbench-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void removeTree(const std::string& folder) {
    std::string from = folder.substr(0, folder.size() - 1) + '\0' + '\0';
    SHFILEOPSTRUCTA request{};
    request.wFunc = FO_DELETE;
    request.pFrom = from.c_str();
    request.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&request);
}

void writeFile(const std::string& path, const void* data, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
}

void benchListing() {
    std::string folder = scratch("list");
    for (int i = 0; i < 10000; ++i)
        writeFile(folder + "file" + std::to_string(i) + ".t" + std::to_string(i % 7), "x", 1);
    HWND window =
        CreateWindowExA(0, "STATIC", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 900, 400, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 880, 380, window,
                                reinterpret_cast<HMENU>(101), nullptr, nullptr);
    CreateWindowExA(0, "STATIC", folder.c_str(), WS_CHILD, 0, 0, 10, 10, window, reinterpret_cast<HMENU>(102), nullptr,
                    nullptr);
    setFileListColumns(list);
    FilePanel panel;
    panel.fileListId = 101;
    panel.pathLineId = 102;
    for (int column : {kColumnType, kColumnName, kColumnSize}) {
        panel.fileSortColumn = column;
        LARGE_INTEGER start = now();
        int count = listDirectory(window, 101, (folder + "*.*").c_str(), panel);
        std::printf("listing %d entries sorted by column %d: %.3f s\n", count, column, seconds(start, now()));
    }
    clearFileList(list);
    DestroyWindow(window);
    removeTree(folder);
}

struct Stepper {
    int steps = 0;
    int total = 1000;
    DWORD gdiAfterFirst = 0;
    SIZE_T memoryAfterFirst = 0;
};
Stepper g_stepper;

SIZE_T privateMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;  // private bytes: a leaked bitmap section shows here
}

void CALLBACK stepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND viewer = GetActiveWindow();
    if (!viewer)
        return;
    if (g_stepper.steps == 10) {
        g_stepper.gdiAfterFirst = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        g_stepper.memoryAfterFirst = privateMemory();
    }
    if (g_stepper.steps++ >= g_stepper.total) {
        KillTimer(nullptr, id);
        std::printf("after %d steps: GDI objects %lu (at step 10: %lu), private memory %lu kB (at step 10: %lu kB)\n",
                    g_stepper.total, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), g_stepper.gdiAfterFirst,
                    static_cast<unsigned long>(privateMemory() / 1024),
                    static_cast<unsigned long>(g_stepper.memoryAfterFirst / 1024));
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        return;
    }
    SendMessageA(viewer, WM_LBUTTONDOWN, MK_LBUTTON, 0);
}

void benchStepping() {
    std::string folder = scratch("pictures");
    // One 200 x 150 24-bit bitmap, copied 1,000 times.
    int width = 200, height = 150, stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\x80');
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0, 0,
                          sizeof file + sizeof info};
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info), sizeof info);
    bytes += pixels;
    for (int i = 0; i < 1000; ++i)
        writeFile(folder + "p" + std::to_string(i) + ".bmp", bytes.data(), static_cast<DWORD>(bytes.size()));
    SetTimer(nullptr, 0, 1, stepTimer);
    LARGE_INTEGER start = now();
    showPictureViewer(nullptr, (folder + "p0.bmp").c_str());
    std::printf("stepping through 1000 pictures: %.3f s\n", seconds(start, now()));
    removeTree(folder);
}

}  // namespace

int main() {
    InitCommonControls();
    benchListing();
    benchStepping();
    return 0;
}
