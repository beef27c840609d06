// The memo dialog MEMODLG: the memo of the current record in a multi-line box, stored by "&Save"
// under the record lock, or shown read-only.
#include <string>
#include <vector>

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "browse/cell_filter.h"
#include "browse/record_editing.h"
#include "dbf/dbf.h"
#include "resources/edit_ids.h"

namespace {

BrowseView* g_memoView = nullptr;  // only one memo dialog at a time

struct MemoDialog {
    BrowseView* view;
    long record;  // the record the memo was read from: the grid may move while the dialog is open
    int field;
    std::string text;
    bool readOnly;
};

void saveMemo(HWND dialog, MemoDialog& memo) {
    HWND box = GetDlgItem(dialog, IDC_MEMO_TEXT);
    std::vector<char> text(static_cast<size_t>(kMemoEditorLimit) + 1, '\0');
    GetWindowTextA(box, text.data(), static_cast<int>(text.size()));
    memo.text = text.data();
    memo.view->memoText = &memo.text[0];
    dbf& table = *memo.view->table;
    table.goTo(memo.record);
    if (table.recNo() != memo.record || !table.lockRecord()) {
        warningBox("The record busy.");
        return;
    }
    int result = 0;
    if (memo.field >= 0 && rereadLockedRecord(*memo.view))
        result = table.writeMemo(memo.field, memo.text.c_str());
    table.unlock();
    // The record could be locked, but the memo file's own lock was held by another writer, or the
    // files are read-only.
    if (result != 1 && (isReadOnlyFile(table.fileName()) || isReadOnlyFile(table.memoFileName())))
        warnRecordNotWritten(*memo.view);
    else if (result != 1)
        warningBox("The record busy.");
}

INT_PTR memoMessage(HWND dialog, MemoDialog& memo, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HWND box = GetDlgItem(dialog, IDC_MEMO_TEXT);
            if (memo.view->dataFont)
                SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(memo.view->dataFont), FALSE);
            SendMessageA(box, EM_LIMITTEXT, static_cast<WPARAM>(kMemoEditorLimit), 0);
            if (!memo.text.empty())
                SetWindowTextA(box, memo.text.c_str());
            if (memo.readOnly) {
                SendMessageA(box, EM_SETREADONLY, TRUE, 0);
                EnableWindow(GetDlgItem(dialog, IDC_MEMO_SAVE), FALSE);
            }
            SetFocus(box);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_MEMO_SAVE) {
                if (!memo.readOnly)
                    saveMemo(dialog, memo);
                EndDialog(dialog, 1);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

BrowseView* openMemoView() {
    return g_memoView;
}

int openMemoDialog(BrowseView& view) {
    if (g_memoView || !view.table || !hasCurrentRecord(view))
        return 0;
    if (view.curColumn < 0 || view.curColumn >= static_cast<long>(view.columns.size()))
        return 0;
    view.callbackColumn = view.curColumn;
    const BrowseColumn& column = view.columns[static_cast<size_t>(view.curColumn)];
    dbf& table = *view.table;
    MemoDialog memo{&view, table.recNo(), table.fieldIndex(column.fieldName), "", view.memoReadOnly};
    std::string block = memo.field >= 0 ? table.getField(memo.field) : "";
    memo.text = table.readMemo(block.c_str());
    // Saving a memo the editor cannot hold whole would cut it: such a memo is only shown.
    if (storedMemoLength(table, block.c_str(), kMemoEditorLimit) > kMemoEditorLimit && !memo.readOnly) {
        warningBox("The memo is longer than 63999 characters: it opens read-only.");
        memo.readOnly = true;
    }
    g_memoView = &view;
    view.memoText = &memo.text[0];
    HWND grid = view.window;
    INT_PTR result = DialogBoxParamA(view.instance ? view.instance : GetModuleHandleA(nullptr), "MEMODLG", grid,
                                     boundDialogProc<MemoDialog, memoMessage>, reinterpret_cast<LPARAM>(&memo));
    view.memoText = nullptr;
    g_memoView = nullptr;
    if (grid && IsWindow(grid))
        SetFocus(grid);
    return result == -1 ? 0 : 1;
}
