// "&Save as 'insert into ...'" of query result grids (123) and table windows (112).
#include <string>
#include <vector>

#include "base/platform.h"
#include "base/ui.h"
#include "browse/browse_view.h"
#include "dbf/dbf.h"
#include "odbc/insert_script.h"
#include "odbc/result_view.h"
#include "odbc/select_text.h"
#include "odbc/sql_editor.h"

namespace {

// A table window's table is named after its file.
std::string fileTableName(const char* fileName) {
    std::string name = fileName ? fileName : "";
    std::size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// A result of a typed statement names no table: the part of the title the grid was given after the
// data source's name stands in, as the user saw it.
std::string titleTableName(const std::string& title) {
    std::size_t first = title.find('.');
    if (first == std::string::npos)
        return title;
    std::size_t second = title.find('.', first + 1);
    return title.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

}  // namespace

int saveAsInsertScript(BrowseView& view) {
    if (!view.table)
        return 1;
    InsertScriptTarget target;
    std::string table;
    std::vector<std::string> columns;
    if (resultViewTarget(view.window, &table, &target.quote, &target.mySqlFamily)) {
        // The grid's captions are the result's column names.
        for (int i = 0; i < view.table->fieldCount(); ++i)
            columns.push_back(static_cast<std::size_t>(i) + 1 < view.columns.size() ? view.columns[i + 1].caption
                                                                                    : view.table->fieldInfo(i)->name);
        target.table = table.empty()
                           ? quoteIdentifier(titleTableName(view.title), target.quote.empty() ? "`" : target.quote)
                           : table;
    } else {
        // A dBase table goes to a server we do not know: the backtick quote of the MySQL family.
        target.quote = "`";
        target.mySqlFamily = true;
        for (int i = 0; i < view.table->fieldCount(); ++i)
            columns.push_back(view.table->fieldInfo(i)->name);
        target.table = quoteIdentifier(fileTableName(view.table->fileName()), target.quote);
    }
    HWND owner = view.dialog ? view.dialog : view.window;
    std::string path = chooseSaveFile(owner, view.instance, ".", "Generate 'INSERT INTO ...' commands");
    if (path.empty())
        return 1;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
        MessageBoxA(owner, "The file already exist, overwite ?", "Warning", MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return 1;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool written = writeInsertScript(*view.table, columns, target, path);
    SetCursor(previous);
    if (!written) {
        std::string text = "The script could not be written to " + path + ".";
        warningBox(text.c_str());
        return 1;
    }
    warningBox("End ??? :)");
    return 1;
}
