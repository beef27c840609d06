// The "SQL command" window driven from inside its modal loop under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "odbc/command_window.h"
#include "resources/resource.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/harness.h"

namespace {

using harness::click;

// A statement of exactly `length` characters, longer than any fixed buffer the editors used to copy
// back, with its WHERE at the very end.
std::string longStatement(size_t length) {
    const std::string where = " WHERE ID = 42";
    std::string text = "SELECT NAME, CITY FROM CUSTOMERS";
    while (text.size() + 40 + where.size() < length)
        text += "\r\n  UNION SELECT NAME, CITY FROM CUSTOMERS";
    text.append(length - text.size() - where.size(), ' ');
    return text + where;
}

// Opens the window on `request` and runs `script` in it; fails the test when no window appeared.
bool openWith(AssistRequest& request, const std::function<void(HWND)>& script) {
    bool result = false;
    bool shown = harness::runDialog([&] { result = openCommandWindow(nullptr, request); }, script);
    EXPECT_TRUE(shown) << "the SQL command window did not open";
    return result;
}

RECT childRect(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(CommandWindow, ShowsTheStatementAndExecutesItWhole) {
    for (size_t length : {size_t{5000}, size_t{40000}}) {
        AssistRequest request;
        request.command = longStatement(length);
        std::string caption, oemText;
        size_t shownLength = 0;
        LOGFONTA font = {};
        size_t limit = 0;
        bool editorFocused = false;
        bool result = openWith(request, [&](HWND dialog) {
            HWND editor = GetDlgItem(dialog, IDC_COMMAND_EDITOR);
            ASSERT_NE(editor, nullptr);
            caption = harness::windowText(dialog);
            shownLength = static_cast<size_t>(GetWindowTextLengthA(editor));
            oemText = harness::windowText(GetDlgItem(dialog, IDC_COMMAND_OEM));
            limit = static_cast<size_t>(SendMessageA(editor, EM_GETLIMITTEXT, 0, 0));
            editorFocused = GetFocus() == editor;
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(editor, WM_GETFONT, 0, 0)), sizeof font, &font);
            // The user adds to the end before executing.
            SendMessageA(editor, EM_SETSEL, shownLength, static_cast<LPARAM>(shownLength));
            SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(" AND CITY = 'Pécs'"));
            click(dialog, IDC_COMMAND_EXECUTE);
        });
        EXPECT_TRUE(result) << length;
        EXPECT_EQ(caption, "SQL command");
        EXPECT_EQ(oemText, "OEM charset");
        EXPECT_EQ(shownLength, length);
        EXPECT_GE(limit, 32100u);
        EXPECT_TRUE(editorFocused);
        EXPECT_STREQ(font.lfFaceName, "Courier New");
        EXPECT_EQ(font.lfHeight, -12);
        // Compared whole but not printed: a failure names the lengths and the end.
        std::string expected = longStatement(length) + " AND CITY = 'Pécs'";
        EXPECT_TRUE(request.command == expected)
            << request.command.size() << " characters came back of " << expected.size() << ", ending in "
            << request.command.substr(request.command.size() > 40 ? request.command.size() - 40 : 0);
    }
}

// A control's whole text, however long.
std::string wholeText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

TEST(CommandWindow, AssistTakesTheWholeStatementAndGivesBackTheComposedOne) {
    AssistRequest request;
    request.command = longStatement(40000);
    std::string shown;
    std::string edited;
    bool result = openWith(request, [&](HWND dialog) {
        EXPECT_TRUE(harness::runDialog([&] { click(dialog, IDC_COMMAND_ASSIST); },
                                       [&](HWND assist) {
                                           shown = wholeText(assist, IDC_ASSIST_STATEMENT);
                                           harness::setText(assist, IDC_ASSIST_STATEMENT, shown + " ORDER BY 1");
                                           click(assist, IDC_ASSIST_OK);
                                       }));
        edited = wholeText(dialog, IDC_COMMAND_EDITOR);
        click(dialog, IDC_COMMAND_EXECUTE);
    });
    EXPECT_TRUE(result);
    EXPECT_TRUE(shown == longStatement(40000)) << shown.size();
    EXPECT_TRUE(edited == longStatement(40000) + " ORDER BY 1") << edited.size();
    EXPECT_TRUE(request.command == edited);
}

TEST(CommandWindow, ClosingReturnsFalseAndKeepsTheRequestAndTheFlag) {
    const struct {
        const char* how;
        UINT message;
        WPARAM wParam;
    } closings[] = {
        {"close box", WM_CLOSE, 0},
        {"Escape", WM_COMMAND, IDCANCEL},
    };
    for (const auto& closing : closings) {
        setOemCharset(false);
        AssistRequest request;
        request.command = "DELETE FROM ORDERS WHERE ID = 7";
        bool result = openWith(request, [&](HWND dialog) {
            harness::setText(dialog, IDC_COMMAND_EDITOR, "DELETE FROM ORDERS");
            CheckDlgButton(dialog, IDC_COMMAND_OEM, BST_CHECKED);
            // "&Assist" opens SQL assist; cancelled, it leaves the window and the edited text.
            std::string caption;
            EXPECT_TRUE(harness::runDialog([&] { click(dialog, IDC_COMMAND_ASSIST); },
                                           [&](HWND assist) {
                                               caption = harness::windowText(assist);
                                               harness::setText(assist, IDC_ASSIST_STATEMENT, "not taken");
                                               SendMessageA(assist, WM_COMMAND, IDCANCEL, 0);
                                           }));
            EXPECT_EQ(caption, "SQL assist");
            EXPECT_TRUE(IsWindow(dialog));
            EXPECT_EQ(harness::itemText(dialog, IDC_COMMAND_EDITOR), "DELETE FROM ORDERS");
            SendMessageA(dialog, closing.message, closing.wParam, 0);
        });
        EXPECT_FALSE(result) << closing.how;
        EXPECT_EQ(request.command, "DELETE FROM ORDERS WHERE ID = 7") << closing.how;
        EXPECT_FALSE(oemCharset()) << closing.how;
    }
}

TEST(CommandWindow, TheOemFlagRoundTripsAndStaysAcrossOpenings) {
    setOemCharset(false);
    AssistRequest request;
    request.command = "SELECT 1";
    // Each opening shows the flag as the previous "&Execute" left it, then sets it the other way.
    for (bool expected : {false, true, false}) {
        bool shown = !expected;
        bool result = openWith(request, [&](HWND dialog) {
            shown = harness::checked(dialog, IDC_COMMAND_OEM);
            CheckDlgButton(dialog, IDC_COMMAND_OEM, expected ? BST_UNCHECKED : BST_CHECKED);
            click(dialog, IDC_COMMAND_EXECUTE);
        });
        EXPECT_TRUE(result);
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(oemCharset(), !expected);
    }
    setOemCharset(false);
}

TEST(CommandWindow, OnlyTheEditorFollowsTheFrame) {
    AssistRequest request;
    RECT editorBefore = {}, editorAfter = {}, executeBefore = {}, executeAfter = {}, oemBefore = {}, oemAfter = {};
    openWith(request, [&](HWND dialog) {
        editorBefore = childRect(dialog, IDC_COMMAND_EDITOR);
        executeBefore = childRect(dialog, IDC_COMMAND_EXECUTE);
        oemBefore = childRect(dialog, IDC_COMMAND_OEM);
        RECT frame;
        GetWindowRect(dialog, &frame);
        SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left + 120, frame.bottom - frame.top + 80,
                     SWP_NOMOVE | SWP_NOZORDER);
        editorAfter = childRect(dialog, IDC_COMMAND_EDITOR);
        executeAfter = childRect(dialog, IDC_COMMAND_EXECUTE);
        oemAfter = childRect(dialog, IDC_COMMAND_OEM);
    });
    ASSERT_GT(editorBefore.right, editorBefore.left) << "no editor";
    EXPECT_EQ(editorAfter.left, editorBefore.left);
    EXPECT_EQ(editorAfter.top, editorBefore.top);
    EXPECT_EQ(editorAfter.right - editorBefore.right, 120);
    EXPECT_EQ(editorAfter.bottom - editorBefore.bottom, 80);
    EXPECT_TRUE(EqualRect(&executeAfter, &executeBefore));
    EXPECT_TRUE(EqualRect(&oemAfter, &oemBefore));
}

// A paste beyond the editor's limit is cut by the editor; the user is told before anything runs.
TEST(CommandWindow, APasteTheEditorCannotHoldIsReported) {
    AssistRequest request;
    std::vector<harness::BoxCatcher::Box> boxes;
    openWith(request, [&](HWND dialog) {
        harness::BoxCatcher catcher(dialog);
        std::string pasted(40000, 'x');
        SendDlgItemMessageA(dialog, IDC_COMMAND_EDITOR, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
        harness::pumpUntil([&] { return !catcher.boxes().empty(); });
        boxes = catcher.boxes();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].text, "The editor is full: the rest of the text was not inserted.");
}

}  // namespace
