// What the browse commands' dialogs share: translating between fields and grid columns, the wait
// cursor, the owner of a command's dialogs, and reopening a table in a new table window.
#pragma once

#include <windows.h>

#include <string>

#include "browse/browse_view.h"

// The caption of the first column showing the field `fieldName`; empty when none does.
std::string captionForField(const BrowseView& view, const char* fieldName);
// The field name of the first column whose caption is `caption`; empty when none has it.
std::string fieldForCaption(const BrowseView& view, const char* caption);

// The hourglass while alive; the arrow again afterwards.
class WaitCursor {
  public:
    WaitCursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }
    ~WaitCursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The instance that holds the dialog templates: the view's, else the named property "HINSTANCE".
HINSTANCE commandInstance(const BrowseView* view);
// Runs the modal dialog `templateName` over the view unless `openView` shows one is already open;
// `openView` names the view of the open dialog while it runs, and is cleared on every way out.
void runSingleInstanceDialog(BrowseView& view, const char* templateName, DLGPROC procedure, BrowseView*& openView);
// The main window from the named property "HWND" (null when there is none).
HWND mainWindow();

// How a command opens a table file in a new table window (the shell's openTableWindow).
void setTableOpener(HWND (*opener)(HWND owner, const char* name));
HWND reopenTable(const char* name);

// The text of a dialog control, trimmed of trailing and then leading blanks, at most `limit` characters.
std::string trimmedItemText(HWND dialog, int id, int limit);
