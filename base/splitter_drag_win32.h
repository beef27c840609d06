// Dragging the boundary between two parts of a window: a press on the boundary's band captures the
// mouse and shows the west-east arrow until the release; where the boundary goes is the window's
// call. Windows build only.
#pragma once

#include <windows.h>

class SplitterDrag {
  public:
    enum class Event { none, consumed, released };

    // A mouse message of the window; `inBand` tells whether its point lies on the boundary's band.
    // `released` comes with the button's release after a press on the band.
    Event onMouse(HWND window, UINT message, bool inBand) {
        switch (message) {
            case WM_LBUTTONDOWN:
                if (!inBand)
                    return Event::none;
                dragging_ = true;
                SetCapture(window);
                SetCursor(sizingCursor());
                return Event::consumed;
            case WM_MOUSEMOVE:
                if (!dragging_)
                    return Event::none;
                SetCursor(sizingCursor());
                return Event::consumed;
            case WM_LBUTTONUP:
                if (!dragging_)
                    return Event::none;
                dragging_ = false;
                ReleaseCapture();
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                return Event::released;
            default:
                return Event::none;
        }
    }
    // WM_SETCURSOR: true when the arrow was set, over the band or while dragging.
    bool onSetCursor(bool inBand) {
        if (!dragging_ && !inBand)
            return false;
        SetCursor(sizingCursor());
        return true;
    }
    bool dragging() const { return dragging_; }

  private:
    static HCURSOR sizingCursor() { return LoadCursorA(nullptr, IDC_SIZEWE); }
    bool dragging_ = false;
};
