// Screenshots of test windows as bitmap files, to look at after a run.
#include "tests/win32/screenshot.h"

#include <vector>

#include "tests/win32/harness.h"

namespace harness {

void saveScreenshot(HWND window, const std::string& name) {
    harness::Pixels pixels = harness::captureWindow(window);
    std::string path = std::string(QUARROW_SCREENSHOT_DIR) + name;
    std::vector<unsigned char> rows;
    for (int y = pixels.height - 1; y >= 0; --y)
        for (int x = 0; x < pixels.width; ++x) {
            COLORREF c = pixels.at(x, y);
            rows.push_back(GetBValue(c));
            rows.push_back(GetGValue(c));
            rows.push_back(GetRValue(c));
            rows.push_back(0);
        }
    BITMAPINFOHEADER info{sizeof info, pixels.width, pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + rows.size()), 0, 0,
                          sizeof file + sizeof info};
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
    CloseHandle(out);
}

}  // namespace harness
