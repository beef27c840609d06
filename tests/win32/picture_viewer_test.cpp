// The picture viewer under Wine: bitmap headers of every layout, GIF, JPEG and EMF files made here,
// stepping through a folder by clicks and the wheel, window sizes and the pixels drawn.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "base/find.h"
#include "picture/picture_viewer.h"
#include "resources/files_ids.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"
#include "tests/win32/screenshot.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

enum class BmpLayout { bottomUp, topDown, core };

// A 24-bit bitmap file whose upper half is `top` and lower half `bottom`.
void writeBmp(const std::string& path, int width, int height, COLORREF top, COLORREF bottom, BmpLayout layout) {
    int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    for (int row = 0; row < height; ++row) {
        // Stored rows run bottom-up except in a top-down bitmap.
        int y = layout == BmpLayout::topDown ? row : height - 1 - row;
        COLORREF color = y < height / 2 ? top : bottom;
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &pixels[static_cast<size_t>(row) * stride + x * 3];
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
    }
    std::vector<unsigned char> header;
    if (layout == BmpLayout::core) {
        BITMAPCOREHEADER core{sizeof core, static_cast<WORD>(width), static_cast<WORD>(height), 1, 24};
        header.assign(reinterpret_cast<unsigned char*>(&core), reinterpret_cast<unsigned char*>(&core + 1));
    } else {
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = layout == BmpLayout::topDown ? -height : height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        header.assign(reinterpret_cast<unsigned char*>(&info), reinterpret_cast<unsigned char*>(&info + 1));
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + header.size());
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, header.data(), static_cast<DWORD>(header.size()), &written, nullptr);
    WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(out);
}

// An enhanced metafile filled with one colour over `width` x `height` device units.
void writeEmf(const std::string& path, int width, int height, COLORREF color) {
    HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), nullptr, nullptr);
    ASSERT_TRUE(dc);
    HBRUSH brush = CreateSolidBrush(color);
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

// Copies a picture ImageMagick made for the tests at build time.
bool copyFixture(const char* name, const std::string& target) {
    return CopyFileA((std::string(QUARROW_PICTURE_FIXTURES) + name).c_str(), target.c_str(), FALSE) != 0;
}

class PictureFolder : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "qpictures-" + testing::UnitTest::GetInstance()->current_test_info()->name() +
                  "-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const FoundFile& file : findFiles((folder_ + "*.*").c_str()))
            DeleteFileA((folder_ + file.name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
};

TEST(PictureFit, LargePicturesShrinkByTheSideThatOverflowsMore) {
    const struct {
        int width, height, screenWidth, screenHeight;
        bool metafile;
        int shownWidth, shownHeight;
    } cases[] = {
        {640, 480, 1600, 1200, false, 640, 480},    {4000, 1000, 1600, 1200, false, 1600, 400},
        {1000, 2400, 1600, 1200, false, 500, 1200}, {3200, 1500, 1600, 1200, false, 1600, 750},
        {2000, 3000, 1600, 1200, false, 800, 1200}, {3200, 2600, 1600, 1200, false, 1600, 1300},
        {3200, 2600, 1600, 1200, true, 1600, 1200}, {1600, 1200, 1600, 1200, false, 1600, 1200},
    };
    for (const auto& c : cases) {
        SIZE shown = fitToScreen(c.width, c.height, c.screenWidth, c.screenHeight, c.metafile);
        EXPECT_EQ(shown.cx, c.shownWidth) << c.width << "x" << c.height;
        EXPECT_EQ(shown.cy, c.shownHeight) << c.width << "x" << c.height;
    }
}

COLORREF bitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return color;
}

TEST_F(PictureFolder, BitmapsOfEveryLayoutLoadAtTheirSizeTheRightWayUp) {
    const struct {
        const char* name;
        BmpLayout layout;
    } cases[] = {{"up.bmp", BmpLayout::bottomUp}, {"down.bmp", BmpLayout::topDown}, {"core.bmp", BmpLayout::core}};
    for (const auto& c : cases) {
        std::string path = folder_ + c.name;
        writeBmp(path, 40, 30, kRed, kBlue, c.layout);
        int width = 0, height = 0;
        ASSERT_TRUE(bitmapFileSize(path.c_str(), &width, &height)) << c.name;
        EXPECT_EQ(width, 40) << c.name;
        EXPECT_EQ(height, 30) << c.name;
        HBITMAP bitmap = loadImageFile(path.c_str());
        ASSERT_TRUE(bitmap) << c.name;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 40) << c.name;
        EXPECT_EQ(info.bmHeight, 30) << c.name;
        EXPECT_EQ(bitmapPixel(bitmap, 20, 2), kRed) << c.name;
        EXPECT_EQ(bitmapPixel(bitmap, 20, 27), kBlue) << c.name;
        DeleteObject(bitmap);
    }
    // Not a bitmap, and no file at all: nothing, silently.
    HANDLE text = CreateFileA((folder_ + "fake.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(text, "not a picture", 13, &written, nullptr);
    CloseHandle(text);
    harness::MessageBoxCatcher boxes;
    EXPECT_FALSE(loadImageFile((folder_ + "fake.png").c_str()));
    EXPECT_FALSE(loadImageFile((folder_ + "none.bmp").c_str()));
    EXPECT_FALSE(loadImageFile(""));
    EXPECT_TRUE(boxes.boxes().empty());
    // A JPEG that is no JPEG: the decoder's Hungarian message.
    CopyFileA((folder_ + "fake.png").c_str(), (folder_ + "BROKEN.JPEG").c_str(), FALSE);
    EXPECT_FALSE(loadImageFile((folder_ + "BROKEN.JPEG").c_str()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Hiba");
    EXPECT_EQ(boxes.boxes()[0].text, "Hib\xE1s IPicture pointer l\xE9trehoz\xE1s!");
}

// Equal but for what JPEG compression moves.
bool sameColour(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return x - y < 24 && y - x < 24; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}

// What the viewer shows: caption, client size, the colour at the client's centre and near its top.
struct Shown {
    std::string caption;
    SIZE client{};
    COLORREF centre = 0;
    COLORREF nearTop = 0;
};

Shown shownNow(HWND dialog) {
    Shown shown;
    shown.caption = harness::windowText(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    shown.client = SIZE{client.right, client.bottom};
    harness::Pixels pixels = harness::captureWindow(dialog);
    RECT window;
    GetWindowRect(dialog, &window);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    int dx = origin.x - window.left, dy = origin.y - window.top;
    if (pixels.width > dx + client.right / 2 && pixels.height > dy + client.bottom / 2) {
        shown.centre = pixels.at(dx + client.right / 2, dy + client.bottom * 3 / 4);
        shown.nearTop = pixels.at(dx + client.right / 2, dy + client.bottom / 4);
    }
    return shown;
}

TEST_F(PictureFolder, ViewerStepsThroughEveryPictureByClickAndWheel) {
    writeBmp(folder_ + "up.bmp", 64, 48, kRed, kBlue, BmpLayout::bottomUp);
    writeBmp(folder_ + "down.bmp", 80, 40, kGreen, kYellow, BmpLayout::topDown);
    writeBmp(folder_ + "core.bmp", 50, 50, kBlue, kRed, BmpLayout::core);
    int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    writeBmp(folder_ + "wide.bmp", screenWidth * 2, 100, kYellow, kGreen, BmpLayout::bottomUp);
    writeEmf(folder_ + "page.emf", 120, 90, kGreen);
    ASSERT_TRUE(copyFixture("photo.jpg", folder_ + "photo.jpg"));
    ASSERT_TRUE(copyFixture("anim.gif", folder_ + "anim.gif"));
    CopyFileA((folder_ + "up.bmp").c_str(), (folder_ + "notes.txt").c_str(), FALSE);
    CopyFileA((folder_ + "up.bmp").c_str(), (folder_ + "skip.png").c_str(), FALSE);

    struct Expected {
        SIZE client;
        COLORREF nearTop, centre;
    };
    const std::map<std::string, Expected> expected = {
        {"up.bmp", {{64, 48}, kRed, kBlue}},
        {"down.bmp", {{80, 40}, kGreen, kYellow}},
        {"core.bmp", {{50, 50}, kBlue, kRed}},
        {"wide.bmp", {fitToScreen(screenWidth * 2, 100, screenWidth, screenHeight, false), kYellow, kGreen}},
        {"page.emf", {{119, 89}, kGreen, kGreen}},  // the bounds are inclusive
        {"photo.jpg", {{90, 60}, kRed, kBlue}},
        {"anim.gif", {{70, 70}, kBlue, kYellow}},
    };
    std::vector<FoundFile> order = listPictureFiles((folder_ + "*.*").c_str());
    ASSERT_EQ(order.size(), expected.size());
    size_t start = 0;
    while (order[start].name != "up.bmp")
        ++start;

    std::vector<Shown> forward, backward;
    HANDLE firstBitmap = nullptr;
    bool firstBitmapDeleted = false;
    ASSERT_TRUE(harness::runDialog([&] { showPictureViewer(nullptr, (folder_ + "UP.BMP").c_str()); },
                                   [&](HWND dialog) {
                                       harness::pumpMessages(100);
                                       forward.push_back(shownNow(dialog));
                                       harness::saveScreenshot(dialog, "picture-viewer-bmp.bmp");
                                       firstBitmap = reinterpret_cast<HANDLE>(SendDlgItemMessageA(
                                           dialog, IDC_PICVIEW_BITMAP, STM_GETIMAGE, IMAGE_BITMAP, 0));
                                       for (size_t i = 0; i < order.size(); ++i) {
                                           // Left clicks and wheel turns towards the user go forward.
                                           if (i % 2)
                                               PostMessageA(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
                                           else
                                               PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                                           harness::pumpMessages(100);
                                           if (i == 0)
                                               firstBitmapDeleted = GetObjectType(firstBitmap) == 0;
                                           forward.push_back(shownNow(dialog));
                                           if (forward.back().caption == "page.emf")
                                               harness::saveScreenshot(dialog, "picture-viewer-emf.bmp");
                                           if (forward.back().caption == "photo.jpg")
                                               harness::saveScreenshot(dialog, "picture-viewer-jpg.bmp");
                                       }
                                       for (size_t i = 0; i < 2; ++i) {
                                           // Right clicks and wheel turns away from the user go back.
                                           if (i % 2)
                                               PostMessageA(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
                                           else
                                               PostMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
                                           harness::pumpMessages(100);
                                           backward.push_back(shownNow(dialog));
                                       }
                                   }));
    ASSERT_EQ(forward.size(), order.size() + 1);
    for (size_t i = 0; i < forward.size(); ++i) {
        const std::string& name = order[(start + i) % order.size()].name;
        const Expected& e = expected.at(name);
        EXPECT_EQ(forward[i].caption, name) << i;
        EXPECT_EQ(forward[i].client.cx, e.client.cx) << name;
        EXPECT_EQ(forward[i].client.cy, e.client.cy) << name;
        EXPECT_PRED2(sameColour, forward[i].nearTop, e.nearTop) << name;
        EXPECT_PRED2(sameColour, forward[i].centre, e.centre) << name;
    }
    EXPECT_TRUE(firstBitmapDeleted);
    ASSERT_EQ(backward.size(), 2u);
    EXPECT_EQ(backward[0].caption, order[(start + order.size() - 1) % order.size()].name);
    EXPECT_EQ(backward[1].caption, order[(start + order.size() - 2) % order.size()].name);
}

TEST_F(PictureFolder, AFolderWithoutPicturesShowsNothingAndStepsNowhere) {
    writeBmp(folder_ + "only.png", 20, 20, kRed, kRed, BmpLayout::bottomUp);
    std::vector<std::string> captions;
    ASSERT_TRUE(harness::runDialog([&] { showPictureViewer(nullptr, (folder_ + "only.png").c_str()); },
                                   [&](HWND dialog) {
                                       harness::pumpMessages(50);
                                       captions.push_back(harness::windowText(dialog));
                                       PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                                       PostMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, 0);
                                       PostMessageA(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
                                       harness::pumpMessages(50);
                                       captions.push_back(harness::windowText(dialog));
                                   }));
    EXPECT_EQ(captions, (std::vector<std::string>{"Picture Viewer", "Picture Viewer"}));
}

TEST_F(PictureFolder, OnePictureShowsItselfAgainAtEveryStep) {
    writeBmp(folder_ + "single.bmp", 30, 20, kGreen, kGreen, BmpLayout::bottomUp);
    std::vector<std::string> captions;
    ASSERT_TRUE(harness::runDialog([&] { showPictureViewer(nullptr, (folder_ + "single.bmp").c_str()); },
                                   [&](HWND dialog) {
                                       for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEWHEEL}) {
                                           PostMessageA(dialog, message, 0, 0);
                                           harness::pumpMessages(50);
                                           captions.push_back(harness::windowText(dialog));
                                       }
                                   }));
    EXPECT_EQ(captions, (std::vector<std::string>{"single.bmp", "single.bmp", "single.bmp"}));
}

}  // namespace
