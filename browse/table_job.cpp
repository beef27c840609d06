// Whole-table commands under the progress dialog, and their failure messages.
#include "browse/table_job.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "base/progress.h"
#include "base/ui.h"
#include "browse/command_support.h"
#include "browse/record_editing.h"
#include "dbf/dbf.h"

namespace {

struct TableRun {
    dbf* table;
    const std::function<int(dbf&)>* operation;
    int percent = -1;
};

// Moves the bar when the percentage changes, keeps the windows alive, and stops at "&Cancel".
int reportProgress(void* context, uint32_t done, uint32_t total) {
    auto* job = static_cast<ProgressJob*>(context);
    auto* run = static_cast<TableRun*>(job->parameter);
    int percent = total ? static_cast<int>(static_cast<uint64_t>(done) * 100 / total) : 0;
    if (percent != run->percent && job->progress) {
        run->percent = percent;
        HWND bar = static_cast<HWND>(job->progress);
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
        UpdateWindow(bar);  // one dispatch per unit may never reach the paint
    }
    dispatchWaitingMessage();
    return job->cancel ? 0 : 1;
}

int runOperation(ProgressJob* job) {
    auto* run = static_cast<TableRun*>(job->parameter);
    TableProgress progress;
    progress.report = reportProgress;
    progress.context = job;
    run->table->setProgress(progress);
    int result = (*run->operation)(*run->table);
    run->table->setProgress(TableProgress{});
    return result;
}

const char* errorText(TableError error) {
    switch (error) {
        case TableError::CannotCreate:
            return "The output file cannot be created.";
        case TableError::SameFile:
            return "The output file is the table itself: choose another name.";
        case TableError::NameTooLong:
            return "The table's name is too long to make a new file beside it.";
        case TableError::ReadFailed:
            return "The table cannot be read.";
        case TableError::WriteFailed:
            return "A file cannot be written: the disk may be full. The table is as it was.";
        case TableError::Cancelled:
            return "Cancelled: the table is as it was.";
        default:
            return "The table busy !";  // a refused lock, and what the engine has no name for
    }
}

}  // namespace

int runTableJob(BrowseView& view, const char* title, const std::function<int(dbf&)>& operation, HWND owner) {
    if (!view.table)
        return 0;
    TableRun run{view.table, &operation};
    ProgressJob job;
    setProgressTitle(job, title);
    job.parameter = &run;
    job.run = runOperation;
    return runProgressDialog(commandInstance(&view), owner ? owner : view.window, &job);
}

void warnTableFailure(BrowseView& view, bool changesTable) {
    if (!view.table)
        return;
    TableError error = view.table->lastError();
    if (changesTable && error != TableError::Cancelled && isReadOnlyFile(view.table->fileName()))
        warningBox("The table is read-only: it cannot be changed.");
    else
        warningBox(errorText(error));
}

void warnRefusedValues(long refused) {
    if (refused <= 0)
        return;
    char text[160];
    if (refused == 1)
        snprintf(text, sizeof text, "1 value did not fit its field and was left blank.");
    else
        snprintf(text, sizeof text, "%ld values did not fit their fields and were left blank.", refused);
    warningBox(text);
}
