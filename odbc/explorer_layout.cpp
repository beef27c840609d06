// The explorer's right side: which controls each mode shows, laying them out after a resize, the
// smallest size, and the splitter between the tree and the right side.
#include "browse/browse_view.h"
#include "odbc/explorer_internal.h"
#include "resources/resource.h"

namespace {

constexpr int kMargin = 4;
constexpr int kTop = 18;                // grid and editor start here
constexpr int kCaptionHeight = 13;      // the caption line above them
constexpr int kCommandLineHeight = 36;  // the command line below them
constexpr int kSplitterWidth = 4;       // the boundary the mouse can take, right of the tree
constexpr int kMinRightWidth = 151;
constexpr int kMinTreeWidth = 40;
constexpr int kMinClientHeight = 151;
constexpr int kButtonWidth = 65;
constexpr int kButtonHeight = 22;

RECT treeRect(const ExplorerState& state) {
    RECT rect{};
    GetWindowRect(state.tree, &rect);
    MapWindowPoints(nullptr, state.dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void place(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width > 0 ? width : 0, height > 0 ? height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void show(HWND dialog, int id, bool visible, bool enabled = true) {
    HWND control = GetDlgItem(dialog, id);
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    EnableWindow(control, enabled ? TRUE : FALSE);
}

bool inSplitter(const ExplorerState& state, int x, int y) {
    RECT tree = treeRect(state);
    return x >= tree.right && x < tree.right + kSplitterWidth && y >= tree.top && y < tree.bottom;
}

}  // namespace

void setRightMode(ExplorerState& state, RightMode mode) {
    HWND dialog = state.dialog;
    bool grid = mode == RightMode::grid;
    bool editor = !grid;
    show(dialog, IDC_EXPLORER_GRID, grid);
    show(dialog, IDC_EXPLORER_CAPTION, grid || mode == RightMode::text);
    show(dialog, IDC_EXPLORER_COMMAND_LINE, grid);
    show(dialog, IDC_EXPLORER_EDITOR, editor, mode != RightMode::start);
    // The buttons stand with the editor; only a saved command can be executed.
    show(dialog, IDC_EXPLORER_EXECUTE, editor, mode == RightMode::command);
    show(dialog, IDC_EXPLORER_ASSIST, editor, mode == RightMode::command);
}

void recordRectangles(ExplorerState& state) {
    GetWindowRect(state.dialog, &state.windowRect);
}

void layoutRightSide(ExplorerState& state) {
    if (!state.tree)
        return;
    HWND dialog = state.dialog;
    RECT client;
    GetClientRect(dialog, &client);
    RECT tree = treeRect(state);
    int treeWidth = tree.right - tree.left;
    place(dialog, IDC_EXPLORER_PATH, kMargin, kTop - kCaptionHeight - 2, tree.right - kMargin, kCaptionHeight);
    place(dialog, IDC_EXPLORER_TREE, tree.left, kTop, treeWidth, client.bottom - kMargin - kTop);

    int x = tree.right + kSplitterWidth;
    int width = client.right - kMargin - x;
    int commandTop = client.bottom - kMargin - kCommandLineHeight;
    int bottom = commandTop - kMargin;
    place(dialog, IDC_EXPLORER_CAPTION, x, kTop - kCaptionHeight - 2, width, kCaptionHeight);
    place(dialog, IDC_EXPLORER_GRID, x, kTop, width, bottom - kTop);
    place(dialog, IDC_EXPLORER_EDITOR, x, kTop, width, bottom - kTop);
    place(dialog, IDC_EXPLORER_COMMAND_LINE, x, commandTop, width, kCommandLineHeight);
    place(dialog, IDC_EXPLORER_EXECUTE, client.right - 147, bottom + 10, kButtonWidth, kButtonHeight);
    place(dialog, IDC_EXPLORER_ASSIST, client.right - 72, bottom + 10, kButtonWidth, kButtonHeight);
    // A grid that shows a result takes its new rows.
    HWND grid = GetDlgItem(dialog, IDC_EXPLORER_GRID);
    if (BrowseView* view = browseViewOf(grid))
        attachEmbeddedGrid(*view, dialog, IDC_EXPLORER_GRID);
    InvalidateRect(dialog, nullptr, TRUE);
}

void onSized(ExplorerState& state) {
    if (!state.tree)
        return;
    RECT client;
    GetClientRect(state.dialog, &client);
    RECT tree = treeRect(state);
    bool tooSmall = client.right < tree.right + 200 || client.bottom < kMinClientHeight;
    RECT& back = state.windowRect;
    if (tooSmall && back.right > back.left) {
        // Back to where the size/move began; the recorded size is one that fitted.
        RECT target = back;
        back = RECT{};
        MoveWindow(state.dialog, target.left, target.top, target.right - target.left, target.bottom - target.top, TRUE);
        return;
    }
    layoutRightSide(state);
}

void minimumTrackSize(ExplorerState& state, MINMAXINFO& info) {
    if (!state.tree)
        return;
    RECT window, client;
    GetWindowRect(state.dialog, &window);
    GetClientRect(state.dialog, &client);
    int frameWidth = (window.right - window.left) - client.right;
    int frameHeight = (window.bottom - window.top) - client.bottom;
    info.ptMinTrackSize.x = treeRect(state).right + 200 + frameWidth;
    info.ptMinTrackSize.y = kMinClientHeight + frameHeight;
}

bool splitterMouse(ExplorerState& state, UINT message, LPARAM lParam) {
    if (!state.tree)
        return false;
    int x = static_cast<short>(LOWORD(lParam));
    int y = static_cast<short>(HIWORD(lParam));
    SplitterDrag::Event event = state.splitter.onMouse(state.dialog, message, inSplitter(state, x, y));
    if (event != SplitterDrag::Event::released)
        return event == SplitterDrag::Event::consumed;
    RECT client;
    GetClientRect(state.dialog, &client);
    RECT tree = treeRect(state);
    bool fits = client.right - kMargin - (x + kSplitterWidth) >= kMinRightWidth && x - tree.left >= kMinTreeWidth;
    if (fits) {
        place(state.dialog, IDC_EXPLORER_TREE, tree.left, tree.top, x - tree.left, tree.bottom - tree.top);
        layoutRightSide(state);
    }
    return true;
}

bool splitterCursor(ExplorerState& state) {
    if (!state.tree)
        return false;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(state.dialog, &point);
    return state.splitter.onSetCursor(inSplitter(state, point.x, point.y));
}
