// Default data-source operations of a grid, over its dbf table, and the window-title caption.
#include "browse/data_source.h"

#include <cstdio>

void useTableDataSource(BrowseView&) {}

bool usesTableDataSource(const BrowseView&) {
    return false;
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
    view.table = nullptr;
}

bool tableOemConversion(const BrowseView&) {
    return false;
}

void setTableOemConversion(BrowseView&, bool) {}
