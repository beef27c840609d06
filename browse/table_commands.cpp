// "Pac&k" and "&Zap": the engine writes the new table beside the old one, the files are swapped with
// the old pair kept as a backup until the new one is in place, and the table opens in a new window.
#include <windows.h>

#include <cstdio>
#include <new>
#include <string>

#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/data_source.h"
#include "browse/table_job.h"
#include "dbf/dbf.h"
#include "dbf/table_swap.h"

namespace {

enum class Rebuild { kZap, kPack };

void replaceTable(BrowseView& view, Rebuild kind) {
    std::string name = view.table->fileName();
    char caption[300];
    snprintf(caption, sizeof caption, kind == Rebuild::kZap ? "Zap : %s" : "Pack : %s", name.c_str());
    if (MessageBoxA(GetActiveWindow(), "Are you sure?", caption, MB_OKCANCEL | MB_TASKMODAL) != IDOK)
        return;
    char fresh[512] = "";
    int built;
    if (kind == Rebuild::kZap) {
        WaitCursor wait;
        built = view.table->zapToNew(fresh);
    } else {
        built = runTableJob(view, caption, [&](dbf& table) { return table.packToNew(fresh); });
    }
    if (!built || !fresh[0] || !systemFileOps().exists(fresh)) {
        warnTableFailure(view, false);
        return;
    }
    closeViewTable(view);
    SwapOutcome outcome = swapTableFiles(systemFileOps(), name, fresh);
    if (outcome.result != kSwapDone)
        warningBox("Very, very, very bad program.");
    if (outcome.result == kSwapBroken) {
        std::string where = "The table is kept as " + outcome.backup;
        if (!outcome.backupMemo.empty())
            where += " and " + outcome.backupMemo;
        where += ".";
        warningBox(where.c_str());
    }
    if (view.window)
        DestroyWindow(view.window);
    // Done or put back, a whole table stands under the name again.
    if (outcome.result != kSwapBroken)
        reopenTable(name.c_str());
}

int runGuarded(BrowseView& view, Rebuild kind) {
    if (!view.table)
        return 1;
    try {
        replaceTable(view, kind);
    } catch (...) {
        warningBox("Very, very, very bad program.");
    }
    return 1;
}

}  // namespace

int zapCommand(BrowseView& view) {
    return runGuarded(view, Rebuild::kZap);
}

int packCommand(BrowseView& view) {
    return runGuarded(view, Rebuild::kPack);
}
