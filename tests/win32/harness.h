// Helpers for window tests under Wine: pumping messages, catching message boxes, reading pixels.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// Dispatches every waiting message, then keeps doing so for `milliseconds`.
void pumpMessages(DWORD milliseconds = 0);

// Pumps until `done` returns true or `milliseconds` pass; returns the last value of `done`.
template <typename Predicate>
bool pumpUntil(Predicate done, DWORD milliseconds = 2000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        pumpMessages();
        Sleep(1);
    }
    return true;
}

// While alive, every message box (or other #32770 dialog) that this thread opens is recorded
// with its caption and text and closed at once with the given button id. Only boxes opened while it
// lives: a dialog window that was there before (the explorer, the commander) and is only activated
// again when a box goes is left alone.
class MessageBoxCatcher {
  public:
    explicit MessageBoxCatcher(int answer = IDOK);
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    struct Box {
        std::string caption;
        std::string text;
    };
    const std::vector<Box>& boxes() const { return boxes_; }

  private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD);
    HHOOK hook_;
    std::vector<HWND> created_;  // dialogs created while the catcher lives
    std::vector<HWND> pending_;
    int answer_;
    std::vector<Box> boxes_;
};

// The window as it stands on screen (frame included), as 0x00RRGGBB pixels row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> rgb;  // COLORREF order: 0x00BBGGRR
    COLORREF at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels captureWindow(HWND window);

// Whether `dialog` is the progress dialog PROGRESS2: the catchers leave it alone, since it is no
// question and closes by itself when its job ends.
bool isProgressDialog(HWND dialog);

// Text of a window or control.
std::string windowText(HWND window);
std::string className(HWND window);

}  // namespace harness
