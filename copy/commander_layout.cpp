// The commander's panels: which control each mode shows, the layout after a resize, the smallest
// size and the splitter between the panels.
#include "copy/commander_internal.h"

void showPanelView(CommanderState&, CommanderPanel&, PanelView) {}
void disablePanelEditor(CommanderState&, CommanderPanel&) {}
void focusPanel(CommanderState&, CommanderPanel&) {}
void recordRectangles(CommanderState&) {}
void onSized(CommanderState&) {}
void layoutCommander(CommanderState&) {}
bool splitterMouse(CommanderState&, UINT, LPARAM) {
    return false;
}
bool splitterCursor(CommanderState&) {
    return false;
}
