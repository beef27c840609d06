// Whole-table commands (pack, sort, append, exports) under the progress dialog, and what the user is
// told when one fails or leaves values out.
#pragma once

#include <functional>

#include "browse/browse_view.h"

// Runs `operation` on the view's table under the progress dialog PROGRESS2 titled `title`: the
// table's progress moves the bar, and "&Cancel" stops the operation, which then leaves the table as
// it was. The dialog's owner is `owner`, or the view's window when null. Returns the operation's result
// (0 when the dialog could not be shown).
int runTableJob(BrowseView& view, const char* title, const std::function<int(dbf&)>& operation, HWND owner = nullptr);

// Says why the view's last whole-table operation failed: "The table busy !" for a refused lock,
// otherwise what happened. `changesTable`: the operation writes the table itself (append), so a
// read-only table is named as the reason.
void warnTableFailure(BrowseView& view, bool changesTable);

// After an append or restructure: how many values did not fit their field and were left blank
// (nothing when all fitted). `refused` is the engine's count.
void warnRefusedValues(long refused);
