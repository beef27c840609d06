// The four command tables, running a command, and the grid's pop-up menu with "&OemToAnsi".
#include "browse/browse_commands.h"
#include "browse/data_source.h"
#include "browse/grid_internal.h"

const BrowseCommand kTableWindowCommands[] = {
    {45, "&New record", appendRecordCommand},
    {13, "&Modify", modifyCommand},
    {46, "&Delete", deleteRecordCommand},
    {42, "&Print...", printTableCommand},
    {112, "&Save as 'insert into ...'", insertScriptCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand},
    {114, "&Search", searchCommand},
    {116, "&Go to", goToCommand},
    {117, "So&rt...", sortCommand},
    {118, "Pac&k", packCommand},
    {119, "&Zap", zapCommand},
    {120, "M&odify structure...", modifyStructureCommand},
    {121, "&Append from ...", appendFromCommand},
    {122, "&Copy to ...", copyToCommand},
    {123, "&Table info", tableInfoCommand},
    {27, "&Exit", exitCommand},
    {0, "", nullptr},
};

const BrowseCommand kResultGridCommands[] = {
    {42, "&Print...", printTableCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand},
    {114, "&Search", searchCommand},
    {116, "&Go to", goToCommand},
    {117, "So&rt...", sortCommand},
    {122, "&Copy to ...", copyToCommand},
    {123, "&Save as 'insert into ...'", insertScriptCommand},
    {13, "&Memo view", memoViewCommand},
    {0, "", nullptr},
};

const BrowseCommand kDialogTableCommands[] = {
    {45, "&New record", appendRecordCommand},
    {13, "&Modify", modifyCommand},
    {46, "&Delete", deleteRecordCommand},
    {42, "&Print...", printTableCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand},
    {114, "&Search", searchCommand},
    {116, "&Go to", goToCommand},
    {117, "So&rt...", sortCommand},
    {121, "&Append from ...", appendFromCommand},
    {122, "&Copy to ...", copyToCommand},
    {123, "&Table info", tableInfoCommand},
    {0, "", nullptr},
};

const BrowseCommand kFieldListCommands[] = {
    {120, "&Print", printTableCommand},
    {114, "&Search", searchCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand},
    {122, "&Copy to ...", copyToCommand},
    {0, "", nullptr},
};

const BrowseCommand* findCommand(const BrowseCommand* commands, long code) {
    for (const BrowseCommand* c = commands; c && c->code != 0; ++c) {
        if (c->code == code)
            return c;
    }
    return nullptr;
}

int exitCommand(BrowseView& view) {
    // Posted: the handler's caller still refreshes the grid before the window goes.
    if (view.window)
        PostMessageA(view.window, WM_CLOSE, 0, 0);
    return 1;
}

bool runCommandCode(BrowseView& view, long code) {
    const BrowseCommand* command = findCommand(view.commands, code);
    HWND window = view.window;
    HWND active = GetActiveWindow();
    view.pendingCode = code;
    if (command && command->handler)
        command->handler(view);
    // A handler may close the window (zap, pack, a changed structure): then the view is gone.
    if (window && !IsWindow(window))
        return command != nullptr;
    if (!hasDataSource(view))
        return command != nullptr;
    repaint(view, true);
    // The table stands where the command left it; a move still waiting for the paint is void.
    view.recordDelta = 0;
    view.curRecord = view.currentRecord(view);
    view.cachedCount = view.recordCount(view);
    if (active && IsWindow(active) && GetActiveWindow() != active)
        SetActiveWindow(active);
    return command != nullptr;
}

HMENU buildGridMenu(BrowseView& view) {
    HMENU menu = CreatePopupMenu();
    for (const BrowseCommand* c = view.commands; c && c->code != 0; ++c)
        AppendMenuA(menu, MF_STRING, kMenuIdBase + static_cast<UINT>(c->code), c->menuText);
    if (view.topLevel) {
        UINT checked = tableOemConversion(view) ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu, MF_STRING | checked, kOemToggleMenuId, "&OemToAnsi");
    }
    return menu;
}

void showGridMenu(BrowseView& view, int screenX, int screenY) {
    HMENU menu = buildGridMenu(view);
    if (!menu)
        return;
    // The choice arrives as WM_COMMAND once the menu has closed.
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, screenX, screenY, 0, view.window, nullptr);
    DestroyMenu(menu);
}

void onGridCommand(BrowseView& view, UINT id) {
    if (id == kOemToggleMenuId) {
        if (view.topLevel) {
            setTableOemConversion(view, !tableOemConversion(view));
            repaint(view, true);
        }
        return;
    }
    if (id < kMenuIdBase || id >= kOemToggleMenuId || !hasDataSource(view))
        return;
    runCommandCode(view, static_cast<long>(id - kMenuIdBase));
}
