// The grid's record commands: "&New record", "&Modify", "&Delete" (or recall) and "&Memo view".
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/grid_internal.h"
#include "browse/record_editing.h"
#include "dbf/dbf.h"

namespace {

void focusGrid(BrowseView& view) {
    if (view.window && IsWindow(view.window))
        SetFocus(view.window);
}

}  // namespace

int appendRecordCommand(BrowseView& view) {
    if (!view.table)
        return 1;
    dbf& table = *view.table;
    if (!table.lockTable()) {
        warningBox("The table busy !");
    } else {
        if (!table.appendBlank())
            warningBox("Append error !");
        table.unlock();
    }
    focusGrid(view);
    return 1;
}

int modifyCommand(BrowseView& view) {
    openCurrentCell(view);
    return 1;
}

int deleteRecordCommand(BrowseView& view) {
    // An empty table has no record to flag: writing one would put a record behind the count.
    if (!hasCurrentRecord(view))
        return 1;
    dbf& table = *view.table;
    if (!table.lockRecord()) {
        warningBox("The record busy.");
    } else {
        // The flag is decided on as the file has it now, under the lock.
        int written = 1;
        if (rereadLockedRecord(view))
            written = table.isDeleted() ? table.recallRecord() : table.deleteRecord();
        table.unlock();
        if (!written)
            warnRecordNotWritten(view);
    }
    repaint(view, true);
    focusGrid(view);
    return 1;
}

int memoViewCommand(BrowseView& view) {
    if (view.curColumn < 0 || view.curColumn >= static_cast<long>(view.columns.size()))
        return 1;
    if (view.columns[static_cast<size_t>(view.curColumn)].type != 'M')
        return 1;
    view.memoReadOnly = true;
    openMemoDialog(view);
    return 1;
}
