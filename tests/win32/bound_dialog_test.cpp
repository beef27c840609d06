// The dialog skeleton on its own: what no dialog of the program shows, since none throws on purpose
// and all open with their object.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <stdexcept>

#include "base/bound_dialog.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"

namespace {

struct Probe {
    int commands = 0;
};

// Throws on "OK"; counts every command it sees.
INT_PTR throwingHandler(HWND, Probe& probe, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND)
        return FALSE;
    ++probe.commands;
    if (LOWORD(wParam) == IDOK)
        throw std::runtime_error("a handler failed");
    return FALSE;
}

// Any template with an OK button will do.
INT_PTR openModal(Probe* probe, const std::function<void(HWND)>& script, bool* shown) {
    INT_PTR result = -1;
    *shown = harness::runDialog(
        [&] {
            result = DialogBoxParamA(GetModuleHandleA(nullptr), "ABOUT", nullptr,
                                     boundDialogProc<Probe, throwingHandler>, reinterpret_cast<LPARAM>(probe));
        },
        script);
    return result;
}

TEST(BoundDialog, AnExceptionInAHandlerLeavesTheDialogWorking) {
    Probe probe;
    bool shown = false;
    bool openAfterThrow = false;
    bool closedByEscape = false;
    INT_PTR result = openModal(
        &probe,
        [&](HWND dialog) {
            harness::click(dialog, IDOK);  // ends the program unless the skeleton catches
            openAfterThrow = IsWindowVisible(dialog) != FALSE;
            harness::click(dialog, IDCANCEL);
            closedByEscape = !IsWindowVisible(dialog);
        },
        &shown);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(openAfterThrow);
    EXPECT_TRUE(closedByEscape);
    EXPECT_EQ(probe.commands, 2);
    EXPECT_EQ(result, 0);
}

TEST(BoundDialog, ADialogWithoutItsObjectStillCloses) {
    const struct {
        const char* how;
        UINT message;
        WPARAM wParam;
    } closings[] = {{"close box", WM_CLOSE, 0}, {"Escape", WM_COMMAND, IDCANCEL}};
    for (const auto& closing : closings) {
        bool shown = false;
        bool closed = false;
        openModal(
            nullptr,
            [&](HWND dialog) {
                SendMessageA(dialog, closing.message, closing.wParam, 0);
                closed = !IsWindowVisible(dialog);
                if (!closed)
                    EndDialog(dialog, -2);  // a skeleton that failed to close must not hang the run
            },
            &shown);
        ASSERT_TRUE(shown) << closing.how;
        EXPECT_TRUE(closed) << "modal, " << closing.how;

        HWND modeless = CreateDialogParamA(GetModuleHandleA(nullptr), "ABOUT", nullptr,
                                           boundDialogProc<Probe, throwingHandler, DialogKind::modeless>, 0);
        ASSERT_NE(modeless, nullptr);
        SendMessageA(modeless, closing.message, closing.wParam, 0);
        EXPECT_FALSE(IsWindow(modeless)) << "modeless, " << closing.how;
        if (IsWindow(modeless))
            DestroyWindow(modeless);
    }
}

}  // namespace
