// The explorer window's start, its message handling and its closing.
#include "odbc/explorer_window.h"

#include "base/bound_dialog.h"
#include "base/platform.h"
#include "browse/browse_view.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_binding.h"
#include "odbc/odbc_font.h"
#include "resources/resource.h"

namespace {

constexpr UINT kExplorerClosedMessage = WM_USER + 2;

HWND g_explorer = nullptr;
void showGrid(HWND dialog) {
    if (ExplorerState* state = boundObject<ExplorerState>(dialog))
        setRightMode(*state, RightMode::grid);
}

void onInit(ExplorerState& state) {
    HWND dialog = state.dialog;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    state.tree = GetDlgItem(dialog, IDC_EXPLORER_TREE);
    state.commandLineFont = createCourierFont(-10);
    state.editorFont = createCourierFont(-12);
    state.gridFont = acquireOdbcGridFont();
    state.host.dialog = dialog;
    state.host.gridFont = state.gridFont;
    state.host.showGrid = showGrid;

    state.images = buildTreeImages(instance);
    TreeView_SetImageList(state.tree, state.images, TVSIL_NORMAL);
    HICON icon = LoadIconA(instance, "QUARROW");
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (state.owner)
        EnableMenuItem(GetMenu(state.owner), IDM_ODBC_EXPLORER, MF_BYCOMMAND | MF_GRAYED);

    OdbcBinding& binding = odbcBinding();
    state.odbcUser = binding.acquire(dialog) == 1;
    if (state.odbcUser)
        buildDataSourceBranch(state);
    buildFileBranch(state);
    // Loaded but without an environment: nothing further makes sense.
    if (!state.odbcUser && binding.loaded())
        return;

    hostGridControl(GetDlgItem(dialog, IDC_EXPLORER_GRID));
    SendDlgItemMessageA(dialog, IDC_EXPLORER_EDITOR, WM_SETFONT, reinterpret_cast<WPARAM>(state.editorFont), FALSE);
    SendDlgItemMessageA(dialog, IDC_EXPLORER_COMMAND_LINE, WM_SETFONT, reinterpret_cast<WPARAM>(state.commandLineFont),
                        FALSE);
    SendDlgItemMessageA(dialog, IDC_EXPLORER_EDITOR, EM_LIMITTEXT, 32000, 0);
    setRightMode(state, RightMode::start);
    clearOdbcCredentials();
    createResultFolders();
    recordRectangles(state);
    layoutRightSide(state);
}

// Everything the window holds goes, in the order the connections need: the grid's result first,
// then the tree (each data source frees its connection), then the binding.
void tearDown(ExplorerState& state) {
    if (state.tornDown)
        return;
    state.tornDown = true;
    state.closing = true;
    if (IsWindow(state.dialog))
        discardResultView(GetDlgItem(state.dialog, IDC_EXPLORER_GRID));
    if (state.tree && IsWindow(state.tree))
        TreeView_DeleteAllItems(state.tree);
    releaseOrphans(state);
    if (state.odbcUser)
        odbcBinding().release(state.dialog);
    state.odbcUser = false;
    DeleteObject(state.commandLineFont);
    DeleteObject(state.editorFont);
    state.commandLineFont = state.editorFont = nullptr;
    if (state.gridFont)
        releaseOdbcGridFont();
    state.gridFont = nullptr;
    if (state.images)
        ImageList_Destroy(state.images);
    state.images = nullptr;
    if (g_explorer == state.dialog)
        g_explorer = nullptr;
    if (state.owner && IsWindow(state.owner)) {
        EnableMenuItem(GetMenu(state.owner), IDM_ODBC_EXPLORER, MF_BYCOMMAND | MF_ENABLED);
        SendMessageA(state.owner, kExplorerClosedMessage, 0, 0);
    }
}

void onClose(ExplorerState& state) {
    if (state.busy > 0) {
        // A result copy dispatches messages under us: ask it to stop and close when it returns.
        state.closeRequested = true;
        if (resultCopyRunning())
            cancelResultCopy();
        return;
    }
    tearDown(state);
    DestroyWindow(state.dialog);
}

// The window is going away (its owner closed, or our own close). While a handler that dispatches
// messages is on the stack, nodes and connections stay until it returns.
void onDestroy(ExplorerState& state) {
    if (state.busy > 0) {
        state.destroyed = true;
        state.closing = true;
        if (resultCopyRunning())
            cancelResultCopy();
        detachAllNodes(state);
        if (g_explorer == state.dialog)
            g_explorer = nullptr;
        return;
    }
    tearDown(state);
}

void onNotify(ExplorerState& state, const NMHDR& header, LPARAM lParam) {
    if (header.hwndFrom != state.tree)
        return;
    switch (header.code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            onSelectionChanged(state, reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemNew.hItem);
            break;
        case TVN_DELETEITEMA:
        case TVN_DELETEITEMW:
            onItemDeleted(
                state, reinterpret_cast<ExplorerNode*>(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemOld.lParam));
            break;
        case NM_RCLICK:
            onTreeRightClick(state);
            break;
        default:
            break;
    }
}

INT_PTR handleExplorer(HWND dialog, ExplorerState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            state.dialog = dialog;
            onInit(state);
            return TRUE;
        case WM_CLOSE:
            onClose(state);
            return TRUE;
        case WM_DESTROY:
            onDestroy(state);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            // Still on the stack of a busy handler: that handler frees the state when it returns.
            if (state.busy == 0)
                delete &state;
            return TRUE;
        case WM_NOTIFY:
            onNotify(state, *reinterpret_cast<const NMHDR*>(lParam), lParam);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                onClose(state);
                return TRUE;
            }
            if (HIWORD(wParam) == BN_CLICKED && onEditorCommand(state, LOWORD(wParam)))
                return TRUE;
            return onMenuCommand(state, LOWORD(wParam)) ? TRUE : FALSE;
        case WM_ENTERSIZEMOVE:
            recordRectangles(state);
            return TRUE;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                onSized(state);
            return TRUE;
        case WM_GETMINMAXINFO:
            minimumTrackSize(state, *reinterpret_cast<MINMAXINFO*>(lParam));
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return splitterMouse(state, message, lParam) ? TRUE : FALSE;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == dialog && splitterCursor(state)) {
                SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

// Called by the tree's handlers when the outermost busy section ends.
void finishBusy(ExplorerState& state) {
    if (state.busy > 0)
        return;
    if (state.destroyed) {
        tearDown(state);
        delete &state;
        return;
    }
    releaseOrphans(state);
    // Posted, not done here: the handler may run inside a notification of the tree, which must
    // not be destroyed under its own sender.
    if (state.closeRequested) {
        state.closeRequested = false;
        PostMessageA(state.dialog, WM_CLOSE, 0, 0);
    }
}

HWND openExplorer(HWND owner) {
    if (g_explorer && IsWindow(g_explorer))
        return g_explorer;
    HINSTANCE instance =
        owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    auto* state = new ExplorerState;
    state->owner = owner;
    HWND dialog = CreateDialogParamA(instance, "DATABASE_EXPLORER", owner,
                                     boundDialogProc<ExplorerState, handleExplorer, DialogKind::modeless>,
                                     reinterpret_cast<LPARAM>(state));
    if (!dialog) {
        delete state;
        return nullptr;
    }
    g_explorer = dialog;
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}
