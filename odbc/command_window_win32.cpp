// The "SQL command" window (COMMAND): the statement in a resizable editor, "OEM charset",
// "&Execute" and "&Assist".
#include <string>

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "browse/gdi_handles.h"
#include "odbc/command_window.h"
#include "odbc/sql_editor.h"
#include "resources/resource.h"

namespace {

bool g_oemCharset = false;

// At least a command buffer's worth, on top of the statement handed in: the editor always holds the
// whole of it, so what it shows is what runs.
constexpr size_t kCommandEditorRoom = 32100;

const char kEditorFullText[] = "The editor is full: the rest of the text was not inserted.";

struct CommandWindow {
    AssistRequest& request;
    GdiObject<HFONT> font;
    RECT editorGaps = {};  // the editor's left and top, and its distances from the right and bottom edges
};

void setEditorText(HWND dialog, const std::string& text) {
    WPARAM limit = static_cast<WPARAM>(text.size() + kCommandEditorRoom);
    SendDlgItemMessageA(dialog, IDC_COMMAND_EDITOR, EM_LIMITTEXT, limit, 0);
    setItemText(dialog, IDC_COMMAND_EDITOR, text.c_str());
}

void onInit(HWND dialog, CommandWindow& window) {
    HWND editor = GetDlgItem(dialog, IDC_COMMAND_EDITOR);
    window.font.reset(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
    if (window.font)
        SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(window.font.get()), FALSE);
    RECT client;
    RECT placed;
    GetClientRect(dialog, &client);
    GetWindowRect(editor, &placed);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed), 2);
    window.editorGaps = {placed.left, placed.top, client.right - placed.right, client.bottom - placed.bottom};
    setEditorText(dialog, window.request.command);
    setItemChecked(dialog, IDC_COMMAND_OEM, g_oemCharset);
    SetFocus(editor);
}

// Only the editor follows the frame; the buttons and the check box keep their places.
void onSize(HWND dialog, const CommandWindow& window, int width, int height) {
    const RECT& gaps = window.editorGaps;
    int editorWidth = width - gaps.left - gaps.right;
    int editorHeight = height - gaps.top - gaps.bottom;
    MoveWindow(GetDlgItem(dialog, IDC_COMMAND_EDITOR), gaps.left, gaps.top, editorWidth > 0 ? editorWidth : 0,
               editorHeight > 0 ? editorHeight : 0, TRUE);
}

void onExecute(HWND dialog, CommandWindow& window) {
    window.request.command = itemText(dialog, IDC_COMMAND_EDITOR);
    g_oemCharset = isItemChecked(dialog, IDC_COMMAND_OEM);
    EndDialog(dialog, TRUE);
}

void onAssist(HWND dialog, CommandWindow& window) {
    // Assist works on a copy: a window closed afterwards leaves the caller's text as it was.
    AssistRequest draft = window.request;
    draft.command = itemText(dialog, IDC_COMMAND_EDITOR);
    if (openSqlAssist(dialog, draft))
        setEditorText(dialog, draft.command);
}

INT_PTR handleCommand(HWND dialog, CommandWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInit(dialog, window);
            return FALSE;  // the focus is set
        case WM_SIZE:
            onSize(dialog, window, LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_COMMAND_EXECUTE:
                    onExecute(dialog, window);
                    return TRUE;
                case IDC_COMMAND_ASSIST:
                    onAssist(dialog, window);
                    return TRUE;
                case IDC_COMMAND_EDITOR:
                    // A paste the editor could not hold whole: the user must see that it was cut.
                    if (HIWORD(wParam) == EN_MAXTEXT)
                        warningBox(kEditorFullText);
                    return TRUE;
                default:
                    return FALSE;  // Escape and the close box end the window with false
            }
        default:
            return FALSE;
    }
}

}  // namespace

bool openCommandWindow(HWND owner, AssistRequest& request) {
    CommandWindow window{request, {}, {}};
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "COMMAND", owner,
                                     boundDialogProc<CommandWindow, handleCommand>, reinterpret_cast<LPARAM>(&window));
    return result == TRUE;
}

bool oemCharset() {
    return g_oemCharset;
}

void setOemCharset(bool on) {
    g_oemCharset = on;
}
