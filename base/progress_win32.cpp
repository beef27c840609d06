// The one-message dispatch that long runs call per unit of work.
#include <windows.h>

#include "base/progress.h"

bool dispatchWaitingMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}
