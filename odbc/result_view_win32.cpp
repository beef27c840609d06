// Placeholder until results are copied into grids: every request shows nothing.
#include "odbc/result_view.h"

int runQueryToGrid(const ResultHost&, ExplorerNode&) {
    return 0;
}

int showColumnList(const ResultHost&, ExplorerNode&) {
    return 0;
}

BrowseView* discardResultView(HWND) {
    return nullptr;
}

bool resultCopyRunning() {
    return false;
}

void cancelResultCopy() {}
