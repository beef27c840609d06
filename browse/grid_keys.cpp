// Keys, wheel steps and scroll codes: the one navigation routine of the grid, and Ctrl+C.
#include <cstring>

#include "browse/grid_internal.h"

namespace {

bool controlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

bool shiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

long lastColumn(const BrowseView& view) {
    return view.columnCount > 0 ? view.columnCount - 1 : 0;
}

int columnWidth(const BrowseView& view, long index) {
    if (index < 0 || index >= static_cast<long>(view.columns.size()))
        return 0;
    return view.columns[static_cast<size_t>(index)].width;
}

void setHorizontalPosition(BrowseView& view, long position) {
    if (view.window)
        SetScrollPos(view.window, SB_HORZ, static_cast<int>(position), TRUE);
}

long horizontalPosition(const BrowseView& view) {
    return view.window ? GetScrollPos(view.window, SB_HORZ) : 0;
}

void lineUp(BrowseView& view) {
    if (view.curRecord < 2 || view.atTop(view))
        return;
    if (view.curRow > 1)
        --view.curRow;
    --view.curRecord;
    // Moves asked for before the next paint add up; the paint moves the table by the sum.
    --view.recordDelta;
}

void lineDown(BrowseView& view) {
    long record = view.nextRow(view);
    if (view.cachedCount < record || view.atEnd(view)) {
        repaint(view, true);
        return;
    }
    if (view.curRow < view.rows)
        ++view.curRow;
    ++view.curRecord;
}

void pageUp(BrowseView& view) {
    view.direction = -1;
    view.nextRow(view);
    for (long i = 0; i < view.rows - 1 && !view.atTop(view); ++i) {
        view.nextRow(view);
        --view.curRecord;
    }
    view.direction = 1;
    if (view.atTop(view)) {
        view.curRecord = 1;
        view.curRow = 1;
    } else {
        --view.curRecord;
    }
    if (view.curRecord < 1)
        view.curRecord = 1;
    if (view.curRow < 1)
        view.curRow = 1;
}

void pageDown(BrowseView& view) {
    view.nextRow(view);
    for (long i = 0; i < view.rows - 1 && !view.atEnd(view); ++i) {
        view.nextRow(view);
        ++view.curRecord;
    }
    if (!view.atEnd(view))
        ++view.curRecord;
    if (view.curRecord > view.cachedCount)
        view.curRecord = view.cachedCount > 0 ? view.cachedCount : 1;
    if (view.curRecord + view.rows >= view.cachedCount)
        repaint(view, true);
}

// An absolute move replaces whatever relative move was still waiting for the paint.
void goToAbsolute(BrowseView& view, long record) {
    if (record < 1)
        record = 1;
    view.recordDelta = 0;
    view.goToRecord(view, record);
    view.curRecord = record;
}

void thumb(BrowseView& view) {
    long count = view.cachedCount;
    if (count < 65536) {
        goToAbsolute(view, view.thumbPosition + 1);
        if (view.thumbPosition < view.rows)
            view.curRow = view.curRecord;
        return;
    }
    // Above 65535 records the bar works in percent; the table must follow as well.
    view.curRow = 1;
    goToAbsolute(view, (count / 100) * view.thumbPosition);
}

void columnLeft(BrowseView& view) {
    setHorizontalPosition(view, horizontalPosition(view) - 1);
    if (view.curColumn > 0)
        --view.curColumn;
    if (view.curColumn < view.firstColumn)
        view.firstColumn = view.curColumn;
    view.relColumn = view.curColumn - view.firstColumn;
}

void columnRight(BrowseView& view) {
    setHorizontalPosition(view, horizontalPosition(view) + 1);
    if (view.curColumn < lastColumn(view))
        ++view.curColumn;
    int end = 0;
    for (long i = view.firstColumn; i <= view.curColumn; ++i)
        end += columnWidth(view, i);
    if (end > view.width)
        view.firstColumn = view.curColumn;
    view.relColumn = view.curColumn - view.firstColumn;
}

void copyCurrentCell(BrowseView& view) {
    const char* text = currentCellText(view);
    if (!view.window || !OpenClipboard(view.window))
        return;
    EmptyClipboard();
    size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory) {
        if (void* bytes = GlobalLock(memory)) {
            memcpy(bytes, text, size);
            GlobalUnlock(memory);
            // The clipboard owns the memory once SetClipboardData succeeds.
            if (!SetClipboardData(CF_TEXT, memory))
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void nextDialogControl(BrowseView& view) {
    if (!view.dialog || !view.window)
        return;
    if (HWND next = GetNextDlgTabItem(view.dialog, view.window, shiftDown() ? TRUE : FALSE))
        SetFocus(next);
}

}  // namespace

const char* currentCellText(BrowseView& view) {
    if (view.curColumn < 0 || view.curColumn >= static_cast<long>(view.columns.size()))
        return "";
    BrowseColumn& column = view.columns[static_cast<size_t>(view.curColumn)];
    view.callbackColumn = view.curColumn;
    CellStyle* style = column.cellStyle ? column.cellStyle(view) : nullptr;
    return style ? style->text : "";
}

void runKey(BrowseView& view, long code) {
    if (view.painting)
        return;
    if (!hasDataSource(view))
        return;
    // Escape is no move: marking one would hold the scroll bar until a paint that may never come.
    if (code == VK_ESCAPE) {
        // Closing destroys the window and clears the descriptor: touch nothing afterwards.
        if (!view.dialog && view.window)
            PostMessageA(view.window, WM_CLOSE, 0, 0);
        return;
    }
    if (!view.navigationPending)
        view.recordDelta = 0;
    view.navigationPending = true;
    view.pendingCode = code;
    view.topOffset = 1 - view.curRow;
    view.hasFocus = true;
    bool control = controlDown();
    switch (code) {
        case VK_UP:
        case SB_LINEUP:
            lineUp(view);
            break;
        case VK_DOWN:
        case SB_LINEDOWN:
            lineDown(view);
            break;
        case VK_PRIOR:
        case SB_PAGEUP:
            pageUp(view);
            break;
        case VK_NEXT:
        case SB_PAGEDOWN:
            pageDown(view);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            thumb(view);
            break;
        case SB_TOP:
        case SB_BOTTOM:
        case SB_ENDSCROLL:
            break;
        case VK_TAB:
            nextDialogControl(view);
            break;
        case VK_RETURN:
            runCommandCode(view, VK_RETURN);
            return;
        case VK_END:
            if (control) {
                if (view.cachedCount > 0)
                    goToAbsolute(view, view.cachedCount);
                repaint(view, true);
            } else {
                view.curColumn = view.firstColumn = lastColumn(view);
                view.relColumn = 0;
                setHorizontalPosition(view, view.columnCount);
            }
            break;
        case VK_HOME:
            if (control) {
                goToAbsolute(view, 1);
                view.curRow = 1;
            } else {
                view.curColumn = view.firstColumn = view.relColumn = 0;
                setHorizontalPosition(view, 0);
            }
            break;
        case VK_LEFT:
        case kHorizontalScrollBase + SB_LINELEFT:
        case kHorizontalScrollBase + SB_PAGELEFT:
        case kHorizontalScrollBase + SB_LEFT:
            columnLeft(view);
            break;
        case VK_RIGHT:
        case kHorizontalScrollBase + SB_LINERIGHT:
        case kHorizontalScrollBase + SB_PAGERIGHT:
        case kHorizontalScrollBase + SB_RIGHT:
            columnRight(view);
            break;
        case 'C':
        case 'c':
            if (control) {
                copyCurrentCell(view);
                break;
            }
            runCommandCode(view, code);
            return;
        default:
            runCommandCode(view, code);
            return;
    }
    repaint(view, false);
}
