// Default data-source operations of a grid, over its dbf table, and the window-title caption.
#include "browse/data_source.h"

#include <cstdio>

#include "dbf/dbf.h"

namespace {

long clampRecord(long record, long count) {
    if (record > count)
        record = count;
    return record < 1 ? 1 : record;
}

// Moves the table by the pending delta, then back to the record shown on row 1; the result is the
// record to return to after painting. Reads only the records on screen.
long tablePositionForPaint(BrowseView& view) {
    dbf& table = *view.table;
    view.cachedCount = table.recCount();
    if (view.navigationPending) {
        if (view.recordDelta != 0)
            table.skip(view.recordDelta);
        view.curRecord = clampRecord(view.curRecord, view.cachedCount);
    } else {
        view.topOffset = 1 - view.curRow;
        view.recordDelta = 0;
    }
    long result = table.recNo();
    long back = 0;
    while (back < view.curRow - 1) {
        long before = table.recNo();
        table.skip(-1);
        if (table.isBof() || table.recNo() == before)
            break;
        ++back;
    }
    // Fewer records above than rows above: the current record is drawn on the row it really gets.
    if (back < view.curRow - 1)
        view.curRow = back + 1;
    table.skip(0);
    return result;
}

long tableNextRow(BrowseView& view) {
    view.table->skip(view.direction);
    return view.table->recNo();
}

void tableGoToRecord(BrowseView& view, long record) {
    view.table->goTo(record);
}

long tableCurrentRecord(BrowseView& view) {
    return view.table ? view.table->recNo() : 0;
}

long tableRecordCount(BrowseView& view) {
    return view.table ? view.table->recCount() : 0;
}

int tableAtTop(BrowseView& view) {
    return view.table->isBof();
}

int tableAtEnd(BrowseView& view) {
    return view.table->isEof();
}

}  // namespace

void useTableDataSource(BrowseView& view) {
    view.positionForPaint = tablePositionForPaint;
    view.nextRow = tableNextRow;
    view.goToRecord = tableGoToRecord;
    view.currentRecord = tableCurrentRecord;
    view.recordCount = tableRecordCount;
    view.atTop = tableAtTop;
    view.atEnd = tableAtEnd;
}

bool usesTableDataSource(const BrowseView& view) {
    return view.positionForPaint == tablePositionForPaint;
}

void formatGridCaption(BrowseView& view, char* out, int size) {
    long count = view.recordCount ? view.recordCount(view) : 0;
    long record = view.currentRecord ? view.currentRecord(view) : 0;
    snprintf(out, static_cast<size_t>(size), "%s - %ld/%ld", view.title, count, record);
}

void windowTitleCaption(BrowseView& view) {
    char caption[200];
    formatGridCaption(view, caption, sizeof caption);
    if (view.window)
        SetWindowTextA(view.window, caption);
}

void closeViewTable(BrowseView& view) {
    if (view.table) {
        view.table->close();
        delete view.table;
    }
    view.table = nullptr;
}

bool tableOemConversion(const BrowseView& view) {
    return view.table && view.table->oemConversion();
}

void setTableOemConversion(BrowseView& view, bool on) {
    if (view.table)
        view.table->setOemConversion(on);
}
