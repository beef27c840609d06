// The harness itself: a caught message box reports caption and text; pixels read back what was drawn.
#include <gtest/gtest.h>

#include "tests/win32/harness.h"

namespace {

TEST(Harness, CatchesAMessageBoxWithCaptionAndText) {
    harness::MessageBoxCatcher catcher(IDOK);
    int answer = MessageBoxA(nullptr, "Too many files opened !", "Warning", MB_OK | MB_TASKMODAL);
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[0].text, "Too many files opened !");
}

TEST(Harness, AnswersWithTheChosenButton) {
    harness::MessageBoxCatcher catcher(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", MB_YESNO), IDNO);
    ASSERT_EQ(catcher.boxes().size(), 1u);
}

LRESULT CALLBACK redWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(RGB(200, 10, 20));
        RECT rect;
        GetClientRect(window, &rect);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Harness, CapturesThePixelsOfAWindow) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = redWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HarnessRed";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "HarnessRed", "red", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    harness::pumpMessages(50);
    harness::Pixels pixels = harness::captureWindow(window);
    ASSERT_EQ(pixels.width, 60);
    ASSERT_EQ(pixels.height, 40);
    EXPECT_EQ(pixels.at(30, 20), RGB(200, 10, 20));
    DestroyWindow(window);
}

}  // namespace
