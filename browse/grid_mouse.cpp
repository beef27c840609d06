// Mouse on the grid: choosing a cell, dragging a column border in the header, double-click.
#include "browse/grid_internal.h"

namespace {

constexpr int kEdgeSlack = 3;  // pixels either side of a border that grab it
constexpr int kMinimumWidth = 4;

long visibleColumnEnd(const BrowseView& view) {
    long count = static_cast<long>(view.columns.size());
    return view.columnCount < count ? view.columnCount : count;
}

}  // namespace

void onLeftButtonDown(BrowseView& view, int x, int y) {
    if (view.resizeColumn != 0 || !hasDataSource(view))
        return;
    if (view.window && GetFocus() != view.window)
        SetFocus(view.window);
    long end = visibleColumnEnd(view);
    if (y < view.rowHeight) {
        // A border belongs to the column on its left; the left edge of the first visible column
        // borders nothing on screen.
        for (long i = view.firstColumn + 1; i < end; ++i) {
            const BrowseColumn& column = view.columns[static_cast<size_t>(i)];
            if (i > 0 && x >= column.x - kEdgeSlack && x <= column.x + kEdgeSlack) {
                view.resizeColumn = i;
                view.resizeEdge = column.x;
                if (view.window)
                    SetCapture(view.window);
                SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
                return;
            }
        }
        return;
    }
    for (long i = view.firstColumn; i < end; ++i) {
        const BrowseColumn& column = view.columns[static_cast<size_t>(i)];
        if (x > column.x + kEdgeSlack && x < column.x + column.width - kEdgeSlack) {
            view.curColumn = i;
            view.relColumn = i - view.firstColumn;
            if (view.window)
                SetScrollPos(view.window, SB_HORZ, static_cast<int>(i), TRUE);
            break;
        }
    }
    long row = view.rowHeight > 0 ? y / view.rowHeight : 0;
    bool above = row >= 1 && row < view.curRow;
    bool below = row > view.curRow && row <= view.rows && view.cachedCount >= row;
    if (above || below) {
        if (!view.navigationPending)
            view.recordDelta = 0;
        long delta = row - view.curRow;
        view.recordDelta += delta;
        view.curRecord += delta;
        view.curRow = row;
        view.navigationPending = true;
    }
    repaint(view, false);
}

void onMouseMove(BrowseView& view, int, int) {
    if (view.resizeColumn != 0)
        SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
}

void onLeftButtonUp(BrowseView& view, int x, int) {
    if (view.resizeColumn == 0)
        return;
    long left = view.resizeColumn - 1;
    if (left >= 0 && left < static_cast<long>(view.columns.size())) {
        BrowseColumn& column = view.columns[static_cast<size_t>(left)];
        column.width += x - view.resizeEdge;
        if (column.width < kMinimumWidth)
            column.width = kMinimumWidth;
    }
    view.resizeColumn = 0;
    if (GetCapture() == view.window)
        ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    repaint(view, true);
}

void onLeftDoubleClick(BrowseView& view) {
    if (!hasDataSource(view))
        return;
    runCommandCode(view, VK_RETURN);
}
