// The in-place cell editor: an edit box over the current cell that filters typed characters by the
// column's type and picture, and stores the value under the record lock on Enter.
#include <cstring>
#include <string>

#include "base/settings.h"
#include "base/ui.h"
#include "browse/cell_filter.h"
#include "browse/record_editing.h"
#include "dbf/dbf.h"

namespace {

BrowseColumn* currentColumn(BrowseView& view) {
    if (view.curColumn < 0 || view.curColumn >= static_cast<long>(view.columns.size()))
        return nullptr;
    return &view.columns[static_cast<size_t>(view.curColumn)];
}

std::string trimmedText(const char* text) {
    std::string s = text ? text : "";
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Messages already waiting for the editor go through before the next character is decided on.
void dispatchQueued(HWND editor) {
    MSG msg;
    while (IsWindow(editor) && PeekMessageA(&msg, editor, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void onCharacter(BrowseView& view, HWND editor, WPARAM wParam, LPARAM lParam, WNDPROC own) {
    BrowseColumn* column = currentColumn(view);
    char text[256] = "";
    GetWindowTextA(editor, text, sizeof text);
    DWORD start = 0, end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    CellInput input = filterCellInput(static_cast<char>(wParam), text, static_cast<int>(start), static_cast<int>(end),
                                      column ? column->picture : "", column ? column->type : 'C');
    if (input.kind == CellInput::kAccept) {
        CallWindowProcA(own, editor, WM_CHAR, wParam, lParam);
        return;
    }
    if (input.kind == CellInput::kReplace) {
        SetWindowTextA(editor, input.text.c_str());
        SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(input.caret), static_cast<LPARAM>(input.caret));
    }
    dispatchQueued(editor);
}

void onEnter(BrowseView& view, HWND editor) {
    char text[256] = "";
    GetWindowTextA(editor, text, sizeof text);
    lstrcpynA(view.editBuffer, text, sizeof view.editBuffer);
    view.callbackColumn = view.curColumn;
    BrowseColumn* column = currentColumn(view);
    if (column && column->acceptEdit && !column->acceptEdit(view))
        return;
    if (storeEditedCell(view) == CellStore::KeepEditing) {
        if (IsWindow(editor))
            SetFocus(editor);
        return;
    }
    if (IsWindow(editor))
        DestroyWindow(editor);
}

void onEditorDestroyed(BrowseView& view, HWND editor, WNDPROC own) {
    SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    SetWindowLongPtrA(editor, GWLP_USERDATA, 0);
    if (view.editor == editor) {
        view.editor = nullptr;
        view.editorProcedure = nullptr;
    }
    // While the grid itself goes it has no descriptor any more, and wants neither focus nor paint.
    if (view.window && IsWindow(view.window) && browseViewOf(view.window) == &view) {
        SetFocus(view.window);
        InvalidateRect(view.window, nullptr, FALSE);
    }
}

LRESULT editorMessage(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    BrowseView* view = reinterpret_cast<BrowseView*>(GetWindowLongPtrA(editor, GWLP_USERDATA));
    WNDPROC own = view ? view->editorProcedure : nullptr;
    if (!view || !own)
        return DefWindowProcA(editor, message, wParam, lParam);
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                DestroyWindow(editor);
                return 0;
            }
            if (wParam == VK_RETURN) {
                onEnter(*view, editor);
                return 0;
            }
            break;
        case WM_CHAR:
            // Enter and Escape were dealt with as keys; their characters would only beep.
            if (wParam == VK_RETURN || wParam == VK_ESCAPE)
                return 0;
            onCharacter(*view, editor, wParam, lParam, own);
            return 0;
        case WM_DESTROY: {
            onEditorDestroyed(*view, editor, own);
            return CallWindowProcA(own, editor, message, wParam, lParam);
        }
        default:
            break;
    }
    return CallWindowProcA(own, editor, message, wParam, lParam);
}

LRESULT CALLBACK cellEditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception must not unwind through user32: under 32-bit MinGW it ends the program.
    try {
        return editorMessage(editor, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

void openCellEditor(BrowseView& view, BrowseColumn& column) {
    view.callbackColumn = view.curColumn;
    CellStyle* style = column.cellStyle ? column.cellStyle(view) : nullptr;
    std::string text = trimmedText(style ? style->text : "");
    DWORD align = column.alignment == kAlignLeft ? ES_LEFT : ES_RIGHT;
    HWND editor = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | align,
                                  column.x, static_cast<int>(view.curRow * view.rowHeight), column.width + 1,
                                  view.rowHeight + 1, view.window, nullptr, view.instance, nullptr);
    if (!editor)
        return;
    if (view.dataFont)
        SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(view.dataFont), FALSE);
    if (column.editLength > 0)
        SendMessageA(editor, EM_LIMITTEXT, static_cast<WPARAM>(column.editLength), 0);
    SetWindowLongPtrA(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view));
    view.editorProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(cellEditorProc)));
    view.editor = editor;
    SendMessageA(editor, EM_SETSEL, 0, -1);
    SetFocus(editor);
}

}  // namespace

bool hasCurrentRecord(BrowseView& view) {
    if (!view.table)
        return false;
    long count = view.table->recCount();
    long record = view.table->recNo();
    return count >= 1 && record >= 1 && record <= count;
}

bool rereadLockedRecord(BrowseView& view) {
    dbf& table = *view.table;
    long record = table.recNo();
    table.goTo(record);
    return table.recNo() == record;
}

void openCurrentCell(BrowseView& view) {
    if (!view.topLevel && view.permissions[1] != 'I')
        return;
    if (view.editor && IsWindow(view.editor))
        return;
    BrowseColumn* column = currentColumn(view);
    if (!column || !view.window || !hasCurrentRecord(view))
        return;
    view.callbackColumn = view.curColumn;
    bool memo = column->type == 'M';
    if (!column->canEdit || !column->canEdit(view)) {
        if (memo) {
            view.memoReadOnly = true;
            openMemoDialog(view);
        }
        return;
    }
    if (memo) {
        openMemoDialog(view);
        return;
    }
    openCellEditor(view, *column);
}

CellStore storeEditedCell(BrowseView& view) {
    BrowseColumn* column = currentColumn(view);
    if (!column || !view.table || !hasCurrentRecord(view))
        return CellStore::NotStored;
    std::string value = view.editBuffer;
    if (column->type == 'D') {
        char stored[9];
        if (!parseCellDate(view.editBuffer, setting(SET_DATEFORMAT), stored)) {
            warningBox("Bad date !");
            return CellStore::NotStored;
        }
        value = stored;
    } else if (column->type == 'N') {
        value = numberInputText(view.editBuffer);
    }
    dbf& table = *view.table;
    int index = table.fieldIndex(column->fieldName);
    if (index < 0 || !table.lockRecord())
        return CellStore::NotStored;
    if (!rereadLockedRecord(view)) {
        table.unlock();
        return CellStore::NotStored;
    }
    if (!table.setField(index, value.c_str())) {
        table.unlock();
        table.goTo(table.recNo());  // the record buffer as the file has it
        warningBox("The value does not fit in the field: make it shorter, or press Escape.");
        return CellStore::KeepEditing;
    }
    bool written = table.writeRecord() == 1;
    table.unlock();
    if (!written) {
        warnRecordNotWritten(view);
        return CellStore::NotStored;
    }
    return CellStore::Stored;
}

bool isReadOnlyFile(const char* name) {
    DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void warnRecordNotWritten(BrowseView& view) {
    if (!view.table)
        return;
    dbf& table = *view.table;
    table.goTo(table.recNo());
    if (isReadOnlyFile(table.fileName()))
        warningBox("The table is read-only: it cannot be changed.");
    else
        warningBox("The record cannot be written: the disk may be full or the file read-only.");
}
