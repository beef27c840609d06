// Painting the grid: column layout, header cells, data cells with their styles, and the scroll box.
#include <algorithm>
#include <cstring>

#include "browse/data_source.h"
#include "browse/grid_internal.h"

namespace {

constexpr COLORREF kGridLineColour = 0xDCDCDC;
constexpr COLORREF kUnfocusedText = 0x646464;
constexpr COLORREF kUnfocusedBackground = 0xE6E6E6;

int lastColumnMargin(const BrowseView& view) {
    return GetSystemMetrics(SM_CXVSCROLL) + (view.topLevel ? 9 : 1);
}

// x of every column from the first visible one; the last column is stretched to the right edge.
void layOutColumns(BrowseView& view) {
    long count = static_cast<long>(view.columns.size());
    if (view.columnCount < count)
        count = view.columnCount;
    int x = 0;
    view.fittingColumns = 0;
    for (long i = view.firstColumn; i < count; ++i) {
        BrowseColumn& column = view.columns[static_cast<size_t>(i)];
        column.x = x;
        if (i == count - 1) {
            int margin = lastColumnMargin(view);
            column.width = view.width - margin - x;
            if (column.width < 0)
                column.width = view.width - margin;
        }
        x += column.width;
        if (x < view.width)
            ++view.fittingColumns;
    }
}

void drawLine(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void drawHeaderCell(BrowseView& view, HDC dc, const BrowseColumn& column, HPEN gridPen) {
    int x = column.x;
    int bottom = view.rowHeight - 1;
    GdiObject<HBRUSH> brush(CreateSolidBrush(column.headerBackground));
    {
        SelectGuard pen(dc, gridPen);
        SelectGuard fill(dc, brush.get());
        Rectangle(dc, x + 1, 0, x + column.width + 1, bottom + 1);
    }
    GdiObject<HPEN> highlight(CreatePen(PS_SOLID, 1, column.headerHighlight));
    {
        SelectGuard pen(dc, highlight.get());
        drawLine(dc, x + column.width, 0, x + column.width, bottom);  // right edge
        drawLine(dc, x + 2, bottom - 1, x + 2, 1);                    // up the left side
        drawLine(dc, x + 2, 1, x + column.width - 1, 1);              // along the top
    }
    RECT text = {x + 4, 2, x + column.width - 1, bottom};
    SelectGuard font(dc, view.headerFont);
    SetTextColor(dc, column.headerText);
    SetBkColor(dc, column.headerBackground);
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, column.caption, -1, &text, column.alignment | DT_NOPREFIX);
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info))
        return;
    MemoryDc memory(dc);
    SelectGuard selected(memory.get(), bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCAND);
}

void drawDataCell(BrowseView& view, HDC dc, long index, long row, HPEN gridPen) {
    BrowseColumn& column = view.columns[static_cast<size_t>(index)];
    view.callbackColumn = index;
    CellStyle* style = column.cellStyle ? column.cellStyle(view) : nullptr;
    static CellStyle empty;
    if (!style)
        style = &empty;
    COLORREF text = style->textColor;
    COLORREF background = style->background;
    if (row == view.curRow && index == view.curColumn) {
        text = view.hasFocus ? view.selectedText : kUnfocusedText;
        background = view.hasFocus ? view.selectedBackground : kUnfocusedBackground;
    }
    RECT cell = {column.x, static_cast<int>(row * view.rowHeight), column.x + column.width + 1,
                 static_cast<int>((row + 1) * view.rowHeight + 1)};
    GdiObject<HBRUSH> brush(CreateSolidBrush(background));
    if (view.gridLines) {
        SelectGuard pen(dc, gridPen);
        SelectGuard fill(dc, brush.get());
        Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
    } else {
        FillRect(dc, &cell, brush.get());
    }
    RECT content = {cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
    if (style->bitmap) {
        int offset = view.topLevel ? 2 : 1;
        drawBitmap(dc, style->bitmap, content.left + offset, content.top + offset);
        return;
    }
    RECT area = content;
    area.left += 1;
    SelectGuard font(dc, style->font);
    SetTextColor(dc, text);
    SetBkColor(dc, background);
    SetBkMode(dc, OPAQUE);
    DrawTextA(dc, style->text, -1, &area, column.alignment | DT_NOPREFIX);
}

int verticalScrollPosition(long record, long count) {
    if (count < 65536)
        return static_cast<int>(record - 1);
    return static_cast<int>(static_cast<long long>(record) * 100 / count);
}

}  // namespace

bool hasDataSource(const BrowseView& view) {
    if (!view.positionForPaint || !view.nextRow || !view.goToRecord || !view.currentRecord || !view.recordCount ||
        !view.atTop || !view.atEnd)
        return false;
    // The default operations need the table; a grid whose table was closed paints nothing.
    return view.table || !usesTableDataSource(view);
}

void paintGrid(BrowseView& view, HDC dc) {
    // A creator may have changed the columns or the row height since the last paint.
    long columns = std::min(view.columnCount, static_cast<long>(view.columns.size()));
    view.firstColumn = std::max(0L, std::min(view.firstColumn, columns - 1));
    view.curColumn = std::max(0L, std::min(view.curColumn, columns - 1));
    view.relColumn = view.curColumn - view.firstColumn;
    if (view.rowHeight < 1)
        view.rowHeight = 1;
    view.painting = true;
    view.paintDc = dc;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    GdiObject<HPEN> gridPen(CreatePen(PS_SOLID, 1, kGridLineColour));

    layOutColumns(view);
    long record = view.positionForPaint(view);
    long count = static_cast<long>(view.columns.size());
    if (view.columnCount < count)
        count = view.columnCount;

    for (long i = view.firstColumn; i < count; ++i)
        drawHeaderCell(view, dc, view.columns[static_cast<size_t>(i)], gridPen.get());
    for (long row = 1; row <= view.rows; ++row) {
        if (view.atEnd(view))
            break;
        for (long i = view.firstColumn; i < count; ++i)
            drawDataCell(view, dc, i, row, gridPen.get());
        view.nextRow(view);
    }

    view.goToRecord(view, record);
    if (view.window)
        SetScrollPos(view.window, SB_VERT, verticalScrollPosition(record, view.cachedCount), TRUE);
    if (view.updateCaption)
        view.updateCaption(view);
    view.navigationPending = false;
    view.topOffset = 0;
    view.painting = false;
    view.paintDc = nullptr;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}
