// The Tbl window procedure, the descriptor's set-up and release, and grids embedded in dialogs.
#include "browse/browse_view.h"

#include <windowsx.h>

#include <cstring>

#include "browse/data_source.h"
#include "browse/grid_internal.h"

const char kGridClass[] = "Tbl";

namespace {

const char kHostedProcProperty[] = "QuarrowGridProc";

long lastVerticalRange(long count) {
    if (count > 65535)
        return 100;
    return count < 2 ? 1 : count - 1;
}

void setRangeIfChanged(HWND window, int bar, int maximum) {
    int low = 0, high = 0;
    // Changing a range can show the bar and resize the window; only touch it when it differs.
    if (!GetScrollRange(window, bar, &low, &high) || low != 0 || high != maximum)
        SetScrollRange(window, bar, 0, maximum, TRUE);
}

void onSize(BrowseView& view) {
    RECT rect;
    if (!GetWindowRect(view.window, &rect))
        return;
    int windowHeight = rect.bottom - rect.top;
    if (view.rowHeight < 1)
        view.rowHeight = 1;
    view.width = rect.right - rect.left;
    view.rows = windowHeight / view.rowHeight - (view.topLevel ? 3 : 1);
    if (view.rows < 0)
        view.rows = 0;
    view.height = static_cast<int>((view.rows + 1) * view.rowHeight + 1);
}

void onPaint(HWND window, BrowseView* view) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (view && hasDataSource(*view))
        paintGrid(*view, dc);
    EndPaint(window, &ps);
}

bool shiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

// The pop-up menu opened from the keyboard drops from the bottom right corner of the current cell.
void showGridMenuAtCurrentCell(BrowseView& view) {
    POINT point = {0, static_cast<LONG>((view.curRow + 1) * view.rowHeight)};
    if (view.curColumn >= 0 && view.curColumn < static_cast<long>(view.columns.size())) {
        const BrowseColumn& column = view.columns[static_cast<size_t>(view.curColumn)];
        point.x = column.x + column.width;
    }
    ClientToScreen(view.window, &point);
    showGridMenu(view, point.x, point.y);
}

void onDestroy(HWND window, BrowseView& view) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    releaseBrowseView(view);
    view.window = nullptr;
    tableWindowDestroyed(view, window);
    if (view.ownsDescriptor)
        delete &view;
}

void onScroll(BrowseView& view, long code, WPARAM wParam) {
    if (view.painting || view.navigationPending)
        return;
    if (code % kHorizontalScrollBase == SB_THUMBPOSITION || code % kHorizontalScrollBase == SB_THUMBTRACK)
        view.thumbPosition = HIWORD(wParam);
    runKey(view, code);
    repaint(view, false);
}

// Messages handled while a descriptor is attached; returns false for those left to the default.
bool handleGridMessage(BrowseView& view, HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    // Windows delivers F10 as the menu key (WM_SYSKEYDOWN); the grid binds it to a command like any key.
    if (message == WM_SYSKEYDOWN && wParam == VK_F10)
        message = WM_KEYDOWN;
    // While the cell editor is open the grid only paints, and hands the keyboard back to the editor
    // whenever it gets it (the window was activated again, or clicked).
    if (view.editor && IsWindow(view.editor)) {
        if (message == WM_SETFOCUS || (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)) {
            SetFocus(view.editor);
            return true;
        }
        if (message != WM_PAINT && message != WM_DESTROY && message != WM_NCDESTROY)
            return false;
    }
    // The context-menu key and Shift+F10 open the menu at once; their key-ups are swallowed, so that
    // the default procedure does not ask for the menu a second time.
    bool menuKey = wParam == VK_APPS || (wParam == VK_F10 && shiftDown());
    if (menuKey && (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP)) {
        if (message == WM_KEYDOWN)
            showGridMenuAtCurrentCell(view);
        return true;
    }
    switch (message) {
        case WM_CREATE:
        case WM_PAINT:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ACTIVATE:
        case WM_SIZE:
        case WM_KEYDOWN:
        case WM_MOUSEWHEEL:
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_COMMAND:
            updateScrollRanges(view);
            break;
        case WM_CONTEXTMENU:
        case WM_CLOSE:
        case WM_DESTROY:
            break;
        default:
            return false;
    }
    switch (message) {
        case WM_CREATE:
            view.hasFocus = false;
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            repaint(view, false);
            return true;
        case WM_PAINT:
            onPaint(window, &view);
            return true;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            view.hasFocus = message == WM_SETFOCUS;
            repaint(view, false);
            return true;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                SetFocus(window);
            return true;
        case WM_SIZE:
            onSize(view);
            return false;  // the default procedure keeps the scroll bars in place
        case WM_CLOSE:
            DestroyWindow(window);
            return true;
        case WM_DESTROY:
            onDestroy(window, view);
            return true;
        case WM_KEYDOWN:
            if (!view.painting)
                runKey(view, static_cast<long>(wParam));
            return true;
        case WM_MOUSEWHEEL:
            if (!view.painting)
                runKey(view, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
            return true;
        case WM_VSCROLL:
            onScroll(view, LOWORD(wParam), wParam);
            return true;
        case WM_HSCROLL:
            onScroll(view, LOWORD(wParam) + kHorizontalScrollBase, wParam);
            return true;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(view, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return true;
        case WM_LBUTTONUP:
            onLeftButtonUp(view, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return true;
        case WM_MOUSEMOVE:
            onMouseMove(view, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return true;
        case WM_LBUTTONDBLCLK:
            onLeftDoubleClick(view);
            return true;
        case WM_RBUTTONDOWN: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(window, &point);
            showGridMenu(view, point.x, point.y);
            return true;
        }
        case WM_COMMAND:
            onGridCommand(view, LOWORD(wParam));
            return true;
        case WM_CONTEXTMENU:
            // A mouse click has opened the menu already, at WM_RBUTTONDOWN; -1 is the keyboard asking.
            if (lParam != -1)
                return false;
            showGridMenuAtCurrentCell(view);
            return true;
        default:
            return false;
    }
}

LRESULT gridMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BrowseView* view = browseViewOf(window);
    if (!view) {
        // Without a descriptor the grid paints nothing.
        if (message == WM_PAINT) {
            onPaint(window, nullptr);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (handleGridMessage(*view, window, message, wParam, lParam, result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

// The thin procedure a hosting dialog puts in front of each grid control.
LRESULT CALLBACK hostedGridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_GETDLGCODE)
            return DLGC_WANTALLKEYS;
        WNDPROC own = reinterpret_cast<WNDPROC>(GetPropA(window, kHostedProcProperty));
        if (message == WM_NCDESTROY)
            RemovePropA(window, kHostedProcProperty);
        if (own)
            return CallWindowProcA(own, window, message, wParam, lParam);
        return DefWindowProcA(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace

void initBrowseView(BrowseView& view, const char* title, int left, int top, int width, int height, int rowHeight) {
    if (rowHeight < 1)
        rowHeight = 1;
    lstrcpynA(view.title, title ? title : "", sizeof view.title);
    view.left = left;
    view.top = top;
    view.width = width;
    view.rowHeight = rowHeight;
    view.rows = height / rowHeight - 1;
    view.height = (height / rowHeight) * rowHeight + 1;
    view.curRecord = view.curRow = view.direction = 1;
    view.curColumn = view.relColumn = view.firstColumn = 0;
    view.fittingColumns = view.cachedCount = view.columnCount = 0;
    view.pendingCode = view.recordDelta = view.topOffset = view.thumbPosition = 0;
    view.navigationPending = view.painting = false;
    view.resizeColumn = 0;
    view.selectedText = 0x0000FF;
    view.selectedBackground = 0x00FFFF;
    lstrcpynA(view.permissions, "IIIII", sizeof view.permissions);
    view.workBuffer[0] = '\0';
    view.editBuffer[0] = '\0';
    useTableDataSource(view);
}

void setColumnCount(BrowseView& view, int count) {
    view.columns.assign(count > 0 ? static_cast<size_t>(count) : 0, BrowseColumn{});
    view.columnCount = static_cast<long>(view.columns.size());
}

void releaseBrowseView(BrowseView& view) {
    if (view.editor && IsWindow(view.editor))
        DestroyWindow(view.editor);
    view.editor = nullptr;
    closeViewTable(view);
    view.bitmaps.clear();
    view.ownedFont.reset();
    view.columns.clear();
    view.columnCount = 0;
    view.workBuffer[0] = '\0';
}

BrowseView* browseViewOf(HWND window) {
    return reinterpret_cast<BrowseView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void attachBrowseView(HWND window, BrowseView* view) {
    if (view)
        view->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
}

LRESULT CALLBACK gridWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception must not unwind through user32: under 32-bit MinGW it ends the program.
    try {
        return gridMessage(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool registerGridClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = gridWindowProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kGridClass;
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND attachEmbeddedGrid(BrowseView& view, HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return nullptr;
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    view.left = rect.left;
    view.top = rect.top;
    view.width = rect.right - rect.left;
    if (view.rowHeight < 1)
        view.rowHeight = 1;
    view.rows = (rect.bottom - rect.top) / view.rowHeight - 1;
    if (view.rows < 0)
        view.rows = 0;
    view.height = static_cast<int>((view.rows + 1) * view.rowHeight + 1);
    view.dialog = dialog;
    view.embedded = true;
    view.topLevel = false;
    attachBrowseView(control, &view);
    // The dialog may have focused the control before it had a descriptor.
    view.hasFocus = GetFocus() == control;
    updateScrollRanges(view);
    InvalidateRect(control, nullptr, TRUE);
    return control;
}

void hostGridControl(HWND control) {
    if (!control || GetPropA(control, kHostedProcProperty))
        return;
    LONG_PTR own = SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostedGridProc));
    SetPropA(control, kHostedProcProperty, reinterpret_cast<HANDLE>(own));
}

void updateScrollRanges(BrowseView& view) {
    if (!view.window)
        return;
    setRangeIfChanged(view.window, SB_VERT, lastVerticalRange(view.cachedCount));
    setRangeIfChanged(view.window, SB_HORZ, view.columnCount > 0 ? view.columnCount - 1 : 0);
}

void repaint(BrowseView& view, bool erase) {
    if (view.window)
        InvalidateRect(view.window, nullptr, erase ? TRUE : FALSE);
}
