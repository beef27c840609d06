// Telling the user how a table copy ended.
#include "copy/table_copy_report.h"

#include <cstdio>

bool reportTableCopy(OdbcUi& ui, void* owner, const TableCopyResult& result) {
    switch (result.outcome) {
        case CopyOutcome::Finished:
            ui.warning("The table copy finished.");
            break;
        case CopyOutcome::Canceled: {
            char text[128];
            std::snprintf(text, sizeof text, "The table copy canceled.\r\n%ld rows were kept.", result.rowsCommitted);
            ui.warning(text);
            break;
        }
        case CopyOutcome::LogFailed:
            ui.warning(("The error log can't be created: " + result.message).c_str());
            break;
        default:
            ui.odbcError(owner, result.message.c_str());
            break;
    }
    return result.errors > 0 && ui.question(owner, "Transfer error found!\r\nDo you want to see?", "Warning...");
}

std::string notepadCommand(const std::string& path) {
    return "notepad.exe \"" + path + "\"";
}
