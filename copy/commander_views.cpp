// What an ODBC list opens in the opposite panel: a result or catalog grid, or the SQL editor with
// its "&Assist" and "&Execute"; and leaving such a view for the panel's list again.
#include "copy/commander_internal.h"
#include "odbc/catalog_view.h"
#include "odbc/sql_editor.h"

namespace {

constexpr int kEditorTextLimit = 32000;

bool showsView(const CommanderPanel& panel) {
    return panel.mode == panel_mode::kGrid || panel.mode == panel_mode::kEditor;
}

// A view that takes the panel keeps its mode and path line, unless a view shows already.
void rememberBeforeView(CommanderState& state, CommanderPanel& panel) {
    if (showsView(panel))
        return;
    panel.savedMode = panel.mode;
    panel.savedPath = pathLineText(state.dialog, panel.ids.pathLine);
}

// The grid writes its caption into the path line; a result that did not come leaves the panel as it
// was. The panel counts as a grid meanwhile, so that the host's switch keeps what was saved here.
bool showGridView(CommanderState& state, CommanderPanel& target, ExplorerNode& node) {
    bool wasView = showsView(target);
    rememberBeforeView(state, target);
    int previousMode = target.mode;
    target.mode = panel_mode::kGrid;
    int shown = 0;
    if (node.kind == node_kind::kColumnList)
        shown = showColumnList(target.host, node);
    else if (node.kind == node_kind::kBrowse)
        shown = runQueryToGrid(target.host, node);
    else
        shown = showCatalogView(target.host, node);
    if (state.destroyed)
        return false;
    if (shown == 1) {
        showPanelView(state, target, PanelView::grid);
        return true;
    }
    target.mode = previousMode;
    if (!wasView)
        SetDlgItemTextA(state.dialog, target.ids.pathLine, target.savedPath.c_str());
    return false;
}

void showEditorView(CommanderState& state, CommanderPanel& target, const ExplorerNode& command) {
    rememberBeforeView(state, target);
    HWND editor = GetDlgItem(state.dialog, target.ids.editor);
    SendMessageA(editor, EM_SETLIMITTEXT, kEditorTextLimit, 0);
    SetWindowTextA(editor, command.text.c_str());
    target.mode = panel_mode::kEditor;
    showPanelView(state, target, PanelView::editor);
    for (int id : {target.ids.editor, target.ids.assist, target.ids.execute})
        EnableWindow(GetDlgItem(state.dialog, id), TRUE);
}

}  // namespace

bool showNodeView(CommanderState& state, CommanderPanel& panel, const ExplorerNode& node) {
    CommanderPanel& target = oppositePanel(state, panel);
    if (node.kind == node_kind::kCommand) {
        showEditorView(state, target, node);
        return true;
    }
    if (node.kind != node_kind::kColumnList && node.kind != node_kind::kBrowse && !isCatalogViewKind(node.kind))
        return false;
    // The result functions may dispatch messages: they work on a copy of their own.
    ExplorerNode view = node;
    CommanderBusy busy(state);
    return showGridView(state, target, view);
}

std::string panelEditorText(CommanderState& state, const CommanderPanel& panel) {
    HWND editor = GetDlgItem(state.dialog, panel.ids.editor);
    int length = editor ? GetWindowTextLengthA(editor) : 0;
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(editor, &text[0], length + 1)));
    return text;
}

void leaveView(CommanderState& state, CommanderPanel& panel) {
    if (!showsView(panel))
        return;
    keepEditorText(state, panel);
    // The grid's result goes with the view: its temporary table is deleted.
    if (HWND grid = GetDlgItem(state.dialog, panel.ids.grid))
        discardResultView(grid);
    panel.mode = panel.savedMode;
    SetDlgItemTextA(state.dialog, panel.ids.pathLine, panel.savedPath.c_str());
    showPanelView(state, panel, panel.mode == panel_mode::kDirectory ? PanelView::fileList : PanelView::odbcList);
}

void onEditorButton(CommanderState& state, CommanderPanel& panel, bool execute) {
    if (resultCopyRunning() || panel.mode != panel_mode::kEditor || !odbcBinding().loaded())
        return;
    ExplorerNode* command = state.current.get();
    // The command runs on the connection of the panel it was opened from, while that one holds it.
    if (!command || command->kind != node_kind::kCommand || !command->connection ||
        state.currentSide != 1 - panel.side || state.panels[state.currentSide].connection != command->connection)
        return;
    CommanderBusy busy(state);
    HWND editor = GetDlgItem(state.dialog, panel.ids.editor);
    if (execute)
        executeSelection(state.dialog, *command, editor);
    else
        assistIntoEditor(state.dialog, *command, editor);
}
