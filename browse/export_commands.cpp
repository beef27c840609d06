// "&Copy to ...", "Sa&ve to HTML..." and "&Append from ...": the table as fixed-width text or as an
// HTML page, and the records of another table or text file appended to it.
#include <windows.h>

#include <string>
#include <vector>

#include "base/find.h"
#include "base/settings.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/table_job.h"
#include "dbf/dbf.h"

namespace {

std::string currentDirectory() {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

// The save dialog with the overwrite question; empty when the user gives up.
std::string chooseOutput(BrowseView& view, const char* title) {
    std::string directory = currentDirectory();
    std::string name = chooseSaveFile(view.window, commandInstance(&view), directory.c_str(), title);
    if (name.empty())
        return name;
    if (fileExists(name.c_str()) && MessageBoxA(GetActiveWindow(), "The file already exist, overwite ?", "Warning",
                                                MB_OKCANCEL | MB_TASKMODAL) != IDOK)
        return std::string();
    return name;
}

void copyTo(BrowseView& view) {
    std::string name = chooseOutput(view, "DBF -> ASCII");
    if (name.empty())
        return;
    if (!runTableJob(view, "DBF -> ASCII", [&](dbf& table) { return table.exportText(name.c_str()); }))
        warnTableFailure(view, false);
}

void saveHtml(BrowseView& view) {
    std::string name = chooseOutput(view, "DBF -> HTML");
    if (name.empty())
        return;
    std::string title = std::string(setting(SET_CEGNEV)).substr(0, 63);
    std::vector<std::string> captions;
    for (int i = 0; i < view.table->fieldCount(); ++i)
        captions.push_back(captionForField(view, view.table->fieldInfo(i)->name));
    std::vector<const char*> titles;
    for (const std::string& caption : captions)
        titles.push_back(caption.c_str());
    auto write = [&](dbf& table) { return table.exportHtml(name.c_str(), title.c_str(), titles.data()); };
    if (!runTableJob(view, "DBF -> HTML", write))
        warnTableFailure(view, false);
}

void appendFrom(BrowseView& view) {
    std::string directory = currentDirectory();
    std::string name = chooseFile(view.window, commandInstance(&view), directory.c_str(), "DBF|ASCII -> DBF",
                                  "dBase III files\0*.DBF\0Text files\0*.TXT\0All files\0*.*\0\0");
    if (name.empty() || !fileExists(name.c_str()))
        return;
    if (!runTableJob(view, "DBF|ASCII -> DBF", [&](dbf& table) { return table.appendFrom(name.c_str()); })) {
        warnTableFailure(view, true);
        return;
    }
    warnRefusedValues(view.table->refusedValues());
}

int guarded(BrowseView& view, void (*command)(BrowseView&)) {
    if (!view.table)
        return 1;
    try {
        command(view);
    } catch (...) {
        warningBox("Very, very, very bad program.");
    }
    if (view.window)
        SetFocus(view.window);
    return 1;
}

}  // namespace

int copyToCommand(BrowseView& view) {
    return guarded(view, copyTo);
}

int saveHtmlCommand(BrowseView& view) {
    return guarded(view, saveHtml);
}

int appendFromCommand(BrowseView& view) {
    return guarded(view, appendFrom);
}
