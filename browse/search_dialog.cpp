// "&Search" (FINDDLG): finds a text down or up from the current record, in the current column or in
// the whole record, with or without case; the dialog stays open for the next search.
#include <windows.h>

#include <string>

#include "base/bound_dialog.h"
#include "base/text_rules.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/grid_internal.h"
#include "dbf/dbf.h"
#include "resources/resource.h"

namespace {

constexpr int kSearchTextLimit = 127;
BrowseView* g_searchView = nullptr;  // the view of the open search dialog

std::string trimmedText(const char* text) {
    std::string s = text ? text : "";
    size_t end = s.find_last_not_of(' ');
    s.erase(end == std::string::npos ? 0 : end + 1);
    size_t start = s.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : s.substr(start);
}

// Upper case by the rules of the table's text: the Hungarian rules for converted OEM text, the
// system's ANSI rules otherwise.
void upperCase(std::string& text, bool oem) {
    if (text.empty())
        return;
    if (oem)
        toUpperHun(text.c_str(), &text[0]);
    else
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
}

// The text one record offers to the search: its current cell, or all its fields.
std::string candidateText(BrowseView& view, bool currentColumn) {
    if (currentColumn || !view.table) {
        view.callbackColumn = view.curColumn;
        return currentCellText(view);
    }
    return view.table->recordText();
}

void runSearch(HWND dialog, BrowseView& view) {
    long remembered = view.currentRecord(view);
    long savedRecord = view.curRecord;
    long savedRow = view.curRow;
    int savedScroll = view.window ? GetScrollPos(view.window, SB_VERT) : 0;
    bool up = IsDlgButtonChecked(dialog, IDC_FIND_UP) == BST_CHECKED;
    bool currentColumn = IsDlgButtonChecked(dialog, IDC_FIND_CURRENT) == BST_CHECKED;
    bool caseSensitive = IsDlgButtonChecked(dialog, IDC_FIND_CASE) == BST_CHECKED;
    bool oem = view.table && view.table->oemConversion();
    bool found = false;
    {
        WaitCursor wait;
        view.direction = up ? -1 : 1;
        // The current record itself is not searched.
        view.nextRow(view);
        std::string wanted = trimmedItemText(dialog, IDC_FIND_TEXT, kSearchTextLimit);
        if (!caseSensitive)
            upperCase(wanted, oem);
        for (;;) {
            if (up ? view.atTop(view) : view.atEnd(view))
                break;
            std::string text = candidateText(view, currentColumn);
            if (!caseSensitive)
                upperCase(text, oem);
            if (text.find(wanted) != std::string::npos) {
                found = true;
                break;
            }
            view.nextRow(view);
        }
        view.direction = 1;
    }
    if (found) {
        // Down: the record shows on the current screen row; up: on the first.
        if (up)
            view.curRow = 1;
        view.curRecord = view.currentRecord(view);
        view.navigationPending = false;
        long count = view.recordCount(view);
        if (view.window)
            SetScrollPos(view.window, SB_VERT,
                         count < 65536 ? view.curRecord - 1 : static_cast<int>(view.curRecord * 100 / count), TRUE);
        repaint(view, true);
        if (view.window)
            UpdateWindow(view.window);
        if (view.updateCaption)
            view.updateCaption(view);
        return;
    }
    view.goToRecord(view, remembered);
    if (view.window)
        SetScrollPos(view.window, SB_VERT, savedScroll, TRUE);
    view.curRecord = savedRecord;
    view.curRow = savedRow;
    repaint(view, true);
    MessageBoxA(dialog, "Search string not found.", "Error", MB_OK);
}

INT_PTR handleSearch(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            view.callbackColumn = view.curColumn;
            SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_LIMITTEXT, kSearchTextLimit, 0);
            SetDlgItemTextA(dialog, IDC_FIND_TEXT, trimmedText(currentCellText(view)).c_str());
            // The two radio groups' ids interleave: each button is set on its own.
            CheckDlgButton(dialog, IDC_FIND_DOWN, BST_CHECKED);
            CheckDlgButton(dialog, IDC_FIND_CURRENT, BST_CHECKED);
            HWND edit = GetDlgItem(dialog, IDC_FIND_TEXT);
            SetFocus(edit);
            SendMessageA(edit, EM_SETSEL, 0, -1);
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_FIND_OK || LOWORD(wParam) == IDOK)
                runSearch(dialog, view);
            return LOWORD(wParam) != IDCANCEL;
        default:
            return FALSE;
    }
}

}  // namespace

int searchCommand(BrowseView& view) {
    if (!hasDataSource(view))
        return 1;
    runSingleInstanceDialog(view, "FINDDLG", boundDialogProc<BrowseView, handleSearch>, g_searchView);
    return 1;
}
