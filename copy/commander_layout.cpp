// The commander's panels: which control each mode shows, the layout after a resize, the smallest
// size and the splitter between the panels.
#include "browse/browse_view.h"
#include "copy/commander_internal.h"

namespace {

constexpr int kMargin = 4;
constexpr int kRowHeight = 22;       // drive list and buttons
constexpr int kPathHeight = 16;      // the path line below them
constexpr int kMessageHeight = 36;   // the message edit below a grid
constexpr int kButtonWidth = 65;     // "&Assist", "&Execute"
constexpr int kSmallButton = 24;     // "\" and ".."
constexpr int kSplitterWidth = 4;    // the band right of the left panel the mouse can take
constexpr int kMinRightWidth = 151;  // the right panel keeps more than 150 pixels
constexpr int kMinLeftWidth = 100;
constexpr int kMinWidth = 601;  // a smaller window snaps back
constexpr int kMinHeight = 401;

void place(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void show(HWND dialog, int id, bool visible) {
    ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

void layoutPanel(CommanderState& state, const CommanderPanel& panel, int x, int width, int bottom) {
    HWND dialog = state.dialog;
    const PanelIds& ids = panel.ids;
    int drives = width - 2 * (kSmallButton + kMargin);
    // A drop-down list's height includes its open list.
    place(dialog, ids.driveList, x, kMargin, drives, 240);
    place(dialog, ids.rootButton, x + drives + kMargin, kMargin, kSmallButton, kRowHeight);
    place(dialog, ids.upButton, x + drives + 2 * kMargin + kSmallButton, kMargin, kSmallButton, kRowHeight);
    int pathTop = kMargin + kRowHeight + 2;
    place(dialog, ids.pathLine, x, pathTop, width, kPathHeight);
    int top = pathTop + kPathHeight + 2;
    place(dialog, ids.fileList, x, top, width, bottom - top);
    place(dialog, ids.odbcList, x, top, width, bottom - top);
    int messageTop = bottom - kMessageHeight;
    place(dialog, ids.grid, x, top, width, messageTop - kMargin - top);
    place(dialog, ids.message, x, messageTop, width, kMessageHeight);
    int buttonTop = bottom - kRowHeight;
    place(dialog, ids.editor, x, top, width, buttonTop - kMargin - top);
    place(dialog, ids.assist, x + width - 2 * kButtonWidth - kMargin, buttonTop, kButtonWidth, kRowHeight);
    place(dialog, ids.execute, x + width - kButtonWidth, buttonTop, kButtonWidth, kRowHeight);
    // A grid that shows a result takes its new rows.
    HWND grid = GetDlgItem(dialog, ids.grid);
    if (BrowseView* view = browseViewOf(grid))
        attachEmbeddedGrid(*view, dialog, ids.grid);
}

bool tooSmall(const RECT& rect) {
    return rect.right - rect.left < kMinWidth || rect.bottom - rect.top < kMinHeight;
}

bool inSplitter(const CommanderState& state, int x) {
    return x >= state.split && x < state.split + kSplitterWidth;
}

}  // namespace

void showPanelView(CommanderState& state, CommanderPanel& panel, PanelView view) {
    HWND dialog = state.dialog;
    const PanelIds& ids = panel.ids;
    bool editor = view == PanelView::editor;
    show(dialog, ids.fileList, view == PanelView::fileList);
    show(dialog, ids.odbcList, view == PanelView::odbcList);
    show(dialog, ids.grid, view == PanelView::grid);
    show(dialog, ids.message, view == PanelView::grid);
    show(dialog, ids.editor, editor);
    show(dialog, ids.assist, editor);
    show(dialog, ids.execute, editor);
    if (editor)
        for (int id : {ids.editor, ids.assist, ids.execute})
            EnableWindow(GetDlgItem(dialog, id), TRUE);
}

void disablePanelEditor(CommanderState& state, CommanderPanel& panel) {
    for (int id : {panel.ids.editor, panel.ids.assist, panel.ids.execute})
        EnableWindow(GetDlgItem(state.dialog, id), FALSE);
}

void focusPanel(CommanderState& state, CommanderPanel& panel) {
    int id = panel.ids.odbcList;
    switch (panel.mode) {
        case panel_mode::kDirectory:
            id = panel.ids.fileList;
            break;
        case panel_mode::kGrid:
            id = panel.ids.grid;
            break;
        case panel_mode::kEditor:
            id = panel.ids.editor;
            break;
        default:
            break;
    }
    SetFocus(GetDlgItem(state.dialog, id));
}

void recordRectangles(CommanderState& state) {
    GetWindowRect(state.dialog, &state.windowRect);
}

void layoutCommander(CommanderState& state) {
    RECT client;
    GetClientRect(state.dialog, &client);
    int bottom = client.bottom - kMargin;
    state.split = client.right / 2 - kSplitterWidth / 2;
    layoutPanel(state, state.panels[0], kMargin, state.split - kMargin, bottom);
    int right = state.split + kSplitterWidth;
    layoutPanel(state, state.panels[1], right, client.right - kMargin - right, bottom);
    InvalidateRect(state.dialog, nullptr, TRUE);
}

// Below the smallest size the window goes back to the rectangle it had when the size/move began
// (or, sized from outside, to the last one that was large enough); otherwise each panel takes half.
void onSized(CommanderState& state) {
    RECT window;
    GetWindowRect(state.dialog, &window);
    if (!tooSmall(window)) {
        state.goodRect = window;
        layoutCommander(state);
        return;
    }
    // While the user still drags, the size may grow again: judge when the drag ends.
    if (state.sizing || IsIconic(state.dialog))
        return;
    RECT back = !tooSmall(state.windowRect) ? state.windowRect : state.goodRect;
    if (tooSmall(back))
        return;
    MoveWindow(state.dialog, back.left, back.top, back.right - back.left, back.bottom - back.top, TRUE);
}

bool splitterMouse(CommanderState& state, UINT message, LPARAM lParam) {
    int x = static_cast<short>(LOWORD(lParam));
    SplitterDrag::Event event = state.splitter.onMouse(state.dialog, message, inSplitter(state, x));
    if (event != SplitterDrag::Event::released)
        return event == SplitterDrag::Event::consumed;
    RECT client;
    GetClientRect(state.dialog, &client);
    int rightWidth = client.right - kMargin - (x + kSplitterWidth);
    if (rightWidth >= kMinRightWidth && x - kMargin >= kMinLeftWidth) {
        state.split = x;
        int bottom = client.bottom - kMargin;
        layoutPanel(state, state.panels[0], kMargin, x - kMargin, bottom);
        layoutPanel(state, state.panels[1], x + kSplitterWidth, rightWidth, bottom);
        InvalidateRect(state.dialog, nullptr, TRUE);
    }
    return true;
}

bool splitterCursor(CommanderState& state) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(state.dialog, &point);
    return state.splitter.onSetCursor(inSplitter(state, point.x));
}
