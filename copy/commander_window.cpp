// The commander window's start, its message handling, its keys and its closing.
#include "copy/commander.h"

#include "base/bound_dialog.h"
#include "browse/browse_view.h"
#include "copy/commander_internal.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_binding.h"
#include "odbc/odbc_font.h"
#include "resources/resource.h"

namespace {

constexpr UINT kCommanderClosedMessage = WM_USER + 23;
const char kListProcProperty[] = "QuarrowCommanderListProc";

HWND g_commander = nullptr;

constexpr PanelIds kPanelIds[2] = {
    {IDC_CMD_LEFT_FILES, IDC_CMD_LEFT_ODBC, IDC_CMD_LEFT_ROOT, IDC_CMD_LEFT_UP, IDC_CMD_LEFT_GRID, IDC_CMD_LEFT_EDITOR,
     IDC_CMD_LEFT_DRIVES, IDC_CMD_LEFT_PATH, IDC_CMD_LEFT_MESSAGE, IDC_CMD_LEFT_ASSIST, IDC_CMD_LEFT_EXECUTE},
    {IDC_CMD_RIGHT_FILES, IDC_CMD_RIGHT_ODBC, IDC_CMD_RIGHT_ROOT, IDC_CMD_RIGHT_UP, IDC_CMD_RIGHT_GRID,
     IDC_CMD_RIGHT_EDITOR, IDC_CMD_RIGHT_DRIVES, IDC_CMD_RIGHT_PATH, IDC_CMD_RIGHT_MESSAGE, IDC_CMD_RIGHT_ASSIST,
     IDC_CMD_RIGHT_EXECUTE},
};

// A result shown in a panel's grid switches that panel to its grid. The view code has already
// kept the panel's mode and path line and marked it a grid.
template <int Side>
void showGrid(HWND dialog) {
    if (CommanderState* state = boundObject<CommanderState>(dialog))
        showPanelView(*state, state->panels[Side], PanelView::grid);
}

// The panel a control belongs to, and whether it is the panel's file list.
CommanderPanel* panelOfControl(CommanderState& state, int id) {
    for (CommanderPanel& panel : state.panels) {
        const PanelIds& ids = panel.ids;
        for (int own : {ids.fileList, ids.odbcList, ids.rootButton, ids.upButton, ids.grid, ids.editor, ids.driveList,
                        ids.pathLine, ids.message, ids.assist, ids.execute})
            if (own == id)
                return &panel;
    }
    return nullptr;
}

CommanderState* stateOfControl(HWND control) {
    return boundObject<CommanderState>(GetParent(control));
}

// Keys of a file or ODBC list: the list's own commands first, then Enter and Tab.
bool onListKey(CommanderState& state, CommanderPanel& panel, bool fileList, UINT key) {
    if (fileList ? onFileListKey(state, panel, key) : onOdbcListKey(state, panel, key))
        return true;
    switch (key) {
        case VK_RETURN: {
            CommanderBusy busy(state);
            if (fileList)
                openFileEntry(state, panel);
            else
                openOdbcEntry(state, panel);
            return true;
        }
        case VK_TAB:
            focusPanel(state, oppositePanel(state, panel));
            return true;
        case VK_ESCAPE:
            // The lists take every key; Escape still closes the window, as in the other dialogs.
            PostMessageA(state.dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        default:
            return false;
    }
}

// Alt+F1 / Alt+F2 (the left Alt key): the left or right drive list.
bool onAltKey(CommanderState& state, UINT key) {
    if ((key != VK_F1 && key != VK_F2) || GetKeyState(VK_LMENU) >= 0)
        return false;
    SetFocus(GetDlgItem(state.dialog, state.panels[key == VK_F1 ? 0 : 1].ids.driveList));
    return true;
}

// The lists ask for every key, so that Enter, Tab and the function keys reach them instead of the
// dialog manager.
LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto own = reinterpret_cast<WNDPROC>(GetPropA(list, kListProcProperty));
    CommanderState* state = stateOfControl(list);
    CommanderPanel* panel = state ? panelOfControl(*state, GetDlgCtrlID(list)) : nullptr;
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (panel &&
                onListKey(*state, *panel, GetDlgCtrlID(list) == panel->ids.fileList, static_cast<UINT>(wParam)))
                return 0;
            break;
        case WM_SYSKEYDOWN:
            // Passed on as well: the default handling sees that Alt went with a key, so that
            // releasing Alt does not enter the menu.
            if (state)
                onAltKey(*state, static_cast<UINT>(wParam));
            break;
        case WM_CHAR:
            // Enter and Tab were taken as keys; their characters would only beep.
            if (wParam == '\r' || wParam == '\t')
                return 0;
            break;
        case WM_NCDESTROY:
            RemovePropA(list, kListProcProperty);
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
            break;
        default:
            break;
    }
    return own ? CallWindowProcA(own, list, message, wParam, lParam) : DefWindowProcA(list, message, wParam, lParam);
}

void subclassList(HWND list) {
    LONG_PTR own = SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    SetPropA(list, kListProcProperty, reinterpret_cast<HANDLE>(own));
}

void initPanel(CommanderState& state, int side) {
    CommanderPanel& panel = state.panels[side];
    HWND dialog = state.dialog;
    panel.side = side;
    panel.ids = kPanelIds[side];
    panel.files.fileListId = panel.ids.fileList;
    panel.files.pathLineId = panel.ids.pathLine;
    panel.host.dialog = dialog;
    panel.host.gridId = panel.ids.grid;
    panel.host.captionId = panel.ids.pathLine;
    panel.host.commandLineId = panel.ids.message;
    panel.host.gridFont = state.gridFont;
    panel.host.showGrid = side == 0 ? showGrid<0> : showGrid<1>;
    SendDlgItemMessageA(dialog, panel.ids.editor, WM_SETFONT, reinterpret_cast<WPARAM>(state.editorFont), FALSE);
    SendDlgItemMessageA(dialog, panel.ids.editor, EM_LIMITTEXT, 32000, 0);
    HWND odbcList = GetDlgItem(dialog, panel.ids.odbcList);
    ListView_SetExtendedListViewStyle(odbcList, LVS_EX_FULLROWSELECT);
    ListView_SetImageList(odbcList, state.images, LVSIL_SMALL);
    subclassList(odbcList);
    subclassList(GetDlgItem(dialog, panel.ids.fileList));
    hostGridControl(GetDlgItem(dialog, panel.ids.grid));
    showPanelView(state, panel, PanelView::odbcList);
}

void onInit(CommanderState& state) {
    HWND dialog = state.dialog;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    if (state.owner)
        EnableMenuItem(GetMenu(state.owner), IDM_ODBC_COMMANDER, MF_BYCOMMAND | MF_GRAYED);
    createResultFolders();
    HICON icon = LoadIconA(instance, "QUARROW");
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    OdbcBinding& binding = odbcBinding();
    state.odbcUser = binding.acquire(dialog) == 1;
    state.gridFont = acquireOdbcGridFont();
    state.editorFont = createCourierFont(-12);
    clearOdbcCredentials();
    state.images = buildTreeImages(instance);
    for (int side = 0; side < 2; ++side)
        initPanel(state, side);
    for (CommanderPanel& panel : state.panels) {
        if (state.odbcUser)
            listDataSources(state, panel);
        initFileSide(state, panel);
        SendDlgItemMessageA(dialog, panel.ids.driveList, CB_SETCURSEL, 0, 0);
        SetDlgItemTextA(dialog, panel.ids.pathLine, "DSN\\");
        panel.mode = panel_mode::kDataSources;
        panel.odbcLevel = odbc_level::kSources;
    }
    recordRectangles(state);
    layoutCommander(state);
    SetFocus(GetDlgItem(dialog, state.panels[0].ids.odbcList));
}

// Everything the window holds goes, in the order the connections need: the grids' results and the
// panels' connections first, then the binding.
void tearDown(CommanderState& state) {
    if (state.tornDown)
        return;
    state.tornDown = true;
    tearDownOdbcSide(state);
    for (CommanderPanel& panel : state.panels)
        if (IsWindow(state.dialog))
            clearFileList(GetDlgItem(state.dialog, panel.ids.fileList));
    state.current.reset();
    if (state.odbcUser)
        odbcBinding().release(state.dialog);
    state.odbcUser = false;
    if (state.gridFont)
        releaseOdbcGridFont();
    state.gridFont = nullptr;
    DeleteObject(state.editorFont);
    state.editorFont = nullptr;
    if (state.images)
        ImageList_Destroy(state.images);
    state.images = nullptr;
    if (g_commander == state.dialog)
        g_commander = nullptr;
    if (state.owner && IsWindow(state.owner)) {
        EnableMenuItem(GetMenu(state.owner), IDM_ODBC_COMMANDER, MF_BYCOMMAND | MF_ENABLED);
        SendMessageA(state.owner, kCommanderClosedMessage, 0, 0);
    }
}

void onClose(CommanderState& state) {
    if (state.busy > 0) {
        // A result copy or a dialog dispatches messages under us: close when it returns.
        state.closeRequested = true;
        if (resultCopyRunning())
            cancelResultCopy();
        return;
    }
    tearDown(state);
    DestroyWindow(state.dialog);
}

void onDestroy(CommanderState& state) {
    if (state.busy > 0) {
        state.destroyed = true;
        if (resultCopyRunning())
            cancelResultCopy();
        if (g_commander == state.dialog)
            g_commander = nullptr;
        return;
    }
    tearDown(state);
}

void onButton(CommanderState& state, CommanderPanel& panel, int id) {
    if (id == panel.ids.assist || id == panel.ids.execute) {
        CommanderBusy busy(state);
        onEditorButton(state, panel, id == panel.ids.execute);
        return;
    }
    bool root = id == panel.ids.rootButton;
    CommanderBusy busy(state);
    disablePanelEditor(state, oppositePanel(state, panel));
    switch (panel.mode) {
        case panel_mode::kDirectory:
            fileRootOrUp(state, panel, root);
            break;
        case panel_mode::kDataSources:
        case panel_mode::kDatabaseFile:
            odbcRootOrUp(state, panel, root);
            break;
        default:
            leaveView(state, panel);
            break;
    }
}

bool onCommand(CommanderState& state, WPARAM wParam) {
    int id = LOWORD(wParam);
    CommanderPanel* panel = panelOfControl(state, id);
    if (!panel)
        return false;
    if (id == panel->ids.driveList) {
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            CommanderBusy busy(state);
            onDriveSelected(state, *panel);
        }
        return true;
    }
    if (HIWORD(wParam) == BN_CLICKED && (id == panel->ids.rootButton || id == panel->ids.upButton ||
                                         id == panel->ids.assist || id == panel->ids.execute)) {
        onButton(state, *panel, id);
        return true;
    }
    return false;
}

bool onNotify(CommanderState& state, const NMHDR& header, LPARAM lParam) {
    CommanderPanel* panel = panelOfControl(state, static_cast<int>(header.idFrom));
    if (!panel)
        return false;
    bool fileList = static_cast<int>(header.idFrom) == panel->ids.fileList;
    bool odbcList = static_cast<int>(header.idFrom) == panel->ids.odbcList;
    if (!fileList && !odbcList)
        return false;
    switch (header.code) {
        case NM_DBLCLK: {
            CommanderBusy busy(state);
            if (fileList)
                openFileEntry(state, *panel);
            else
                openOdbcEntry(state, *panel);
            return true;
        }
        case LVN_COLUMNCLICK: {
            int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
            if (fileList)
                onFileColumnClick(state, *panel, column);
            else
                onOdbcColumnClick(state, *panel, column);
            return true;
        }
        case LVN_DELETEITEM:
            if (odbcList)
                onOdbcEntryDeleted(state, *panel, reinterpret_cast<const NMLISTVIEW*>(lParam)->lParam);
            return true;
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW:
            return fileList && fileListDisplayInfo(lParam);
        default:
            return false;
    }
}

INT_PTR handleCommander(HWND dialog, CommanderState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            state.dialog = dialog;
            onInit(state);
            // The focus was given to the left panel's list.
            return FALSE;
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
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                onClose(state);
                return TRUE;
            }
            return onCommand(state, wParam) ? TRUE : FALSE;
        case WM_NOTIFY:
            return onNotify(state, *reinterpret_cast<const NMHDR*>(lParam), lParam) ? TRUE : FALSE;
        case WM_SYSKEYDOWN:
            return onAltKey(state, static_cast<UINT>(wParam)) ? TRUE : FALSE;
        case WM_ENTERSIZEMOVE:
            recordRectangles(state);
            state.sizing = true;
            return TRUE;
        case WM_EXITSIZEMOVE:
            state.sizing = false;
            onSized(state);
            return TRUE;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED)
                onSized(state);
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

// Called when the outermost busy section ends.
void finishBusy(CommanderState& state) {
    if (state.busy > 0)
        return;
    if (state.destroyed) {
        tearDown(state);
        delete &state;
        return;
    }
    // Posted, not done here: the handler may run inside a notification of a list, which must not
    // be destroyed under its own sender.
    if (state.closeRequested) {
        state.closeRequested = false;
        PostMessageA(state.dialog, WM_CLOSE, 0, 0);
    }
}

HWND openCommander(HWND owner) {
    if (g_commander && IsWindow(g_commander))
        return g_commander;
    HINSTANCE instance =
        owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)) : GetModuleHandleA(nullptr);
    auto* state = new CommanderState;
    state->owner = owner;
    HWND dialog = CreateDialogParamA(instance, "DATABASE_COMMANDER", owner,
                                     boundDialogProc<CommanderState, handleCommander, DialogKind::modeless>,
                                     reinterpret_cast<LPARAM>(state));
    if (!dialog) {
        delete state;
        return nullptr;
    }
    g_commander = dialog;
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}
