// "So&rt..." (SORTDLG): the user moves field captions into the sort list and sorts the table by them,
// with English (raw bytes) or Hungarian (accent-folding) comparison for the run.
#include <windows.h>

#include <string>

#include "base/bound_dialog.h"
#include "base/settings.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/grid_internal.h"
#include "browse/record_editing.h"
#include "browse/sort_key.h"
#include "browse/table_job.h"
#include "dbf/dbf.h"
#include "resources/resource.h"

namespace {

BrowseView* g_sortView = nullptr;  // the view of the open sort dialog

std::string listText(HWND list, int index) {
    int length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length < 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

// Moves the selected entry of list `from` to the end of list `to`.
void moveSelected(HWND dialog, int from, int to) {
    HWND source = GetDlgItem(dialog, from);
    int index = static_cast<int>(SendMessageA(source, LB_GETCURSEL, 0, 0));
    if (index == LB_ERR)
        return;
    std::string text = listText(source, index);
    SendMessageA(source, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendDlgItemMessageA(dialog, to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    int left = static_cast<int>(SendMessageA(source, LB_GETCOUNT, 0, 0));
    if (left > 0)
        SendMessageA(source, LB_SETCURSEL, static_cast<WPARAM>(index < left ? index : left - 1), 0);
}

// Returns true when the dialog closes after this command.
bool runSort(HWND dialog, BrowseView& view) {
    HWND keys = GetDlgItem(dialog, IDC_SORT_KEYS);
    int count = static_cast<int>(SendMessageA(keys, LB_GETCOUNT, 0, 0));
    if (count <= 0) {
        warningBox("Empty sort table!");
        return false;
    }
    std::string language = comboSelectedText(dialog, IDC_SORT_LANGUAGE);
    std::string saved = setting(SET_HUN_CMP);
    setting(SET_HUN_CMP, language == "English" ? "0" : "1");
    std::vector<std::string> names;
    for (int i = 0; i < count && i < kSortDialogFields; ++i)
        names.push_back(fieldForCaption(view, listText(keys, i).c_str()));
    bool tooLong = false;
    std::string key = buildSortKey(names, &tooLong);
    if (tooLong)
        warningBox("Sorry, too long sort key!");
    if (!key.empty() && view.table) {
        int sorted = runTableJob(view, "Sort", [&](dbf& table) { return table.sortRecords(key.c_str(), nullptr); });
        if (sorted) {
            repaint(view, true);
            warningBox("The sort is ready.");
        } else if (view.table->lastError() == TableError::Cancelled || isReadOnlyFile(view.table->fileName())) {
            warnTableFailure(view, true);
        } else {
            warningBox("The sort is not succesful!");
        }
    }
    setting(SET_HUN_CMP, saved.c_str());
    return tooLong;
}

void initSort(HWND dialog, BrowseView& view) {
    SendDlgItemMessageA(dialog, IDC_SORT_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("English"));
    SendDlgItemMessageA(dialog, IDC_SORT_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Magyar"));
    SendDlgItemMessageA(dialog, IDC_SORT_LANGUAGE, CB_SETCURSEL, 0, 0);
    if (view.table) {
        for (int i = 0; i < view.table->fieldCount(); ++i) {
            std::string caption = captionForField(view, view.table->fieldInfo(i)->name);
            SendDlgItemMessageA(dialog, IDC_SORT_FIELDS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
        }
    }
    SendDlgItemMessageA(dialog, IDC_SORT_FIELDS, LB_SETCURSEL, 0, 0);
    enableItem(dialog, IDC_SORT_KEYS, false);
    SetFocus(GetDlgItem(dialog, IDC_SORT_FIELDS));
}

INT_PTR handleSort(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            initSort(dialog, view);
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SORT_ADD:
                    enableItem(dialog, IDC_SORT_KEYS, true);
                    moveSelected(dialog, IDC_SORT_FIELDS, IDC_SORT_KEYS);
                    break;
                case IDC_SORT_REMOVE:
                    moveSelected(dialog, IDC_SORT_KEYS, IDC_SORT_FIELDS);
                    if (SendDlgItemMessageA(dialog, IDC_SORT_KEYS, LB_GETCOUNT, 0, 0) <= 0)
                        enableItem(dialog, IDC_SORT_KEYS, false);
                    break;
                case IDC_SORT_RUN:
                case IDOK:
                    if (runSort(dialog, view))
                        EndDialog(dialog, 0);
                    break;
                case IDC_SORT_EXIT:
                    EndDialog(dialog, 0);
                    break;
                case IDCANCEL:
                    return FALSE;  // boundDialogProc closes the dialog
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int sortCommand(BrowseView& view) {
    if (!view.table)
        return 1;
    runSingleInstanceDialog(view, "SORTDLG", boundDialogProc<BrowseView, handleSort>, g_sortView);
    return 1;
}
