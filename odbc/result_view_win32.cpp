// Results shown in a host dialog's grid: the query flow after the SQL command window, the column
// list, the hand-off of a temporary table to the grid and its discarding.
#include "odbc/result_view.h"

#include <commctrl.h>

#include <cstdio>
#include <map>

#include "base/progress.h"
#include "base/settings.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/browse_view.h"
#include "browse/data_source.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "odbc/catalog_view.h"
#include "odbc/command_window.h"
#include "odbc/dbms_kind.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_query.h"
#include "odbc/select_text.h"

const BrowseCommand kCatalogViewCommands[] = {
    {120, "&Print", printTableCommand},         {114, "&Search", searchCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand}, {117, "S&ort ...", sortCommand},
    {122, "&Copy to ...", copyToCommand},       {0, "", nullptr},
};

const BrowseCommand kProcedureListCommands[] = {
    {13, "Sho&w columns", showProcedureColumnsCommand},
    {120, "&Print", printTableCommand},
    {114, "&Search", searchCommand},
    {113, "Sa&ve to HTML...", saveHtmlCommand},
    {117, "S&ort ...", sortCommand},
    {122, "&Copy to ...", copyToCommand},
    {0, "", nullptr},
};

namespace {

constexpr int kResultRowHeight = 20;

// A result grid's descriptor with what it owns besides: its temporary table's file.
struct ResultView : BrowseView {
    std::string tablePath;
    std::string quote;
    std::string queriedTable;
    bool mySqlFamily = false;
    SqlHdbc connection = nullptr;  // with the serial it had, to tell a handle handed out again
    unsigned connectionSerial = 0;
    int captionId = 103;
};

// The views this module made, so that discarding a view it did not make deletes no file.
std::map<BrowseView*, ResultView*>& resultViews() {
    static std::map<BrowseView*, ResultView*> views;
    return views;
}

int g_copiesRunning = 0;
ProgressJob* g_runningJob = nullptr;

void resultCaption(BrowseView& view) {
    auto found = resultViews().find(&view);
    if (found == resultViews().end() || !view.dialog)
        return;
    char text[160];
    formatGridCaption(view, text, sizeof text);
    SetDlgItemTextA(view.dialog, found->second->captionId, text);
}

void fillColumns(ResultView& view, const std::vector<ResultField>& fields) {
    buildTableColumns(view);
    for (size_t i = 0; i < fields.size() && i + 1 < view.columns.size(); ++i) {
        BrowseColumn& column = view.columns[i + 1];
        lstrcpynA(column.caption, fields[i].caption.c_str(), sizeof column.caption);
        lstrcpynA(column.picture, fields[i].picture.c_str(), sizeof column.picture);
        column.width = fields[i].pixels ? fields[i].pixels : resultColumnPixels(fields[i].def);
        column.alignment = fields[i].def.type == 'N' ? kAlignRight : kAlignLeft;
    }
}

struct QueryJob {
    OdbcStatement* statement = nullptr;
    const std::string* command = nullptr;
    bool oem = false;
    QueryResult result;
    bool ran = false;
};

// While the statement runs (rows < 0) and every ~30 ms of the copy: the row count on the progress
// line, the bar moving, and the messages that have waited meanwhile.
void reportProgress(void* context, long rows) {
    auto* job = static_cast<ProgressJob*>(context);
    if (rows >= 0 && job->progress) {
        char text[32];
        std::snprintf(text, sizeof text, "%ld", rows);
        SetWindowTextA(static_cast<HWND>(job->progress), text);
        SendMessageA(static_cast<HWND>(job->progress), PBM_SETPOS, static_cast<WPARAM>((rows / 237) % 101), 0);
    }
    while (dispatchWaitingMessage()) {
    }
}

int runQueryJob(ProgressJob* job) {
    auto* query = static_cast<QueryJob*>(job->parameter);
    QueryProgress progress;
    progress.cancel = &job->cancel;
    progress.report = reportProgress;
    progress.context = job;
    query->ran = true;
    query->result = copyQueryResult(odbcBinding(), *query->statement, *query->command, query->oem, progress);
    return 1;
}

void runCopy(HWND owner, ProgressJob& job) {
    // Another grid's copy may start from a message dispatched during this one: the newest is the
    // one cancelResultCopy stops, and the older one is cancellable again once it ends.
    ProgressJob* outer = g_runningJob;
    ++g_copiesRunning;
    g_runningJob = &job;
    runProgressDialog(GetModuleHandleA(nullptr), owner, &job);
    auto* query = static_cast<QueryJob*>(job.parameter);
    if (!query->ran)  // the dialog could not be shown: copy without it
        runQueryJob(&job);
    g_runningJob = outer;
    --g_copiesRunning;
}

void reportAfterCopy(HWND owner, const QueryResult& result, OdbcStatement& statement) {
    char text[256];
    if (result.transfer.refused > 0) {
        std::snprintf(text, sizeof text,
                      "%ld values did not fit their fields: numbers and dates were left blank, texts cut.",
                      result.transfer.refused);
        warningBox(text);
    }
    if (result.transfer.cutMemos > 0) {
        std::snprintf(text, sizeof text, "%ld memo texts were longer than %u bytes and were cut.",
                      result.transfer.cutMemos, static_cast<unsigned>(kMaxResultMemo));
        warningBox(text);
    }
    if (result.transfer.fetchError != sql::kSuccess)
        statement.reportError(owner);  // the rows before the failure are shown
}

int showQuery(const ResultHost& host, ExplorerNode& node, const std::string& command) {
    HWND grid = GetDlgItem(host.dialog, host.gridId);
    SetDlgItemTextA(host.dialog, host.commandLineId, command.c_str());
    SetDlgItemTextA(host.dialog, host.captionId, "");
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    discardResultView(grid);
    OdbcBinding& binding = odbcBinding();
    OdbcStatement statement(binding, node.connection);
    if (!statement.ok()) {
        SetCursor(previous);
        statement.reportError(host.dialog);
        return 0;
    }
    QueryJob query;
    query.statement = &statement;
    query.command = &command;
    query.oem = oemCharset() || settingOn(SET_OEMTOANSI);
    ProgressJob job;
    setProgressTitle(job, "ODBC query ...");
    job.parameter = &query;
    job.run = runQueryJob;
    runCopy(host.dialog, job);
    SetCursor(previous);
    QueryResult& result = query.result;
    char text[256];
    switch (result.outcome) {
        case QueryResult::kTable:
            break;
        case QueryResult::kNoColumns:
            if (result.affectedRows >= 0)
                std::snprintf(text, sizeof text, "The command was executed: %ld rows affected.",
                              static_cast<long>(result.affectedRows));
            else
                std::snprintf(text, sizeof text, "The command was executed.");
            MessageBoxA(host.dialog, text, "SQL command", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
            return 0;
        case QueryResult::kCancelled:
            return 0;
        case QueryResult::kOdbcError:
            statement.reportError(host.dialog);
            return 0;
        case QueryResult::kTooManyColumns:
            std::snprintf(text, sizeof text, "The result has %d columns; a result table holds at most %d.",
                          result.columnCount, kMaxResultColumns);
            warningBox(text);
            return 0;
        case QueryResult::kCannotCreate:
            warningBox("Open error.");
            return 0;
        case QueryResult::kWriteFailed:
            warningBox("The result could not be written to the temporary folder (the disk may be full).");
            return 0;
    }
    ResultLayout layout;
    layout.title = node.path;
    layout.commands = kResultGridCommands;
    layout.quote = identifierQuote(binding, node.connection);
    // The table's identity travels with the grid: its title may hold dots of its own.
    if (node.kind == node_kind::kBrowse || node.kind == node_kind::kTable)
        layout.table = qualifiedTableName(node.catalog, node.schema, node.name, layout.quote,
                                          currentCatalog(binding, node.connection));
    layout.mySqlFamily = isMySqlFamily(dbmsName(binding, node.connection));
    std::string path = result.path;
    int shown = showResultTable(host, std::move(result.table), path, result.fields, layout);
    reportAfterCopy(host.dialog, result, statement);
    return shown;
}

}  // namespace

int runQueryToGrid(const ResultHost& host, ExplorerNode& node) {
    OdbcBinding& binding = odbcBinding();
    AssistRequest request;
    request.quote = identifierQuote(binding, node.connection);
    request.command =
        buildSelectText(node.catalog, node.schema, node.name, request.quote, currentCatalog(binding, node.connection));
    request.node = &node;
    if (!openCommandWindow(host.dialog, request))
        return 0;
    return showQueryResult(host, node, request.command);
}

int showQueryResult(const ResultHost& host, ExplorerNode& node, const std::string& command) {
    try {
        return showQuery(host, node, command);
    } catch (...) {
        std::string text = "Runtime error :\r\n\r\n" + command;
        warningBox(text.c_str());
        return 0;
    }
}

int showColumnList(const ResultHost& host, ExplorerNode& node) {
    HWND grid = GetDlgItem(host.dialog, host.gridId);
    discardResultView(grid);
    std::string path = newResultTablePath();
    std::vector<ResultField> fields = columnListFields();
    ResultTableError why = ResultTableError::CannotCreate;
    std::unique_ptr<dbf> table;
    if (!path.empty())
        table = createResultTable(path, fields, false, &why);
    if (!table) {
        std::string text = "Create file error : " + path;
        warningBox(why == ResultTableError::CannotOpen   ? "Open error."
                   : why == ResultTableError::CannotLock ? "Lock error."
                                                         : text.c_str());
        deleteResultTable(path);
        return 0;
    }
    OdbcBinding& binding = odbcBinding();
    std::string select =
        buildSelectText(node.catalog, node.schema, node.name, identifierQuote(binding, node.connection),
                        currentCatalog(binding, node.connection));
    SetDlgItemTextA(host.dialog, host.commandLineId, select.c_str());
    OdbcStatement statement(binding, node.connection);
    std::vector<ResultColumn> columns;
    if (!statement.ok() || !sql::succeeded(describeWithoutRunning(binding, statement, select, columns))) {
        statement.reportError(host.dialog);
        table->close();
        deleteResultTable(path);
        return 0;
    }
    std::string dbms = dbmsName(binding, node.connection);
    for (const ResultColumn& column : columns)
        appendColumnListRecord(*table, column, sqlTypeName(column.typeName, column.sqlType, dbms));
    table->unlock();
    table->goTop();
    ResultLayout layout;
    layout.title = node.path;
    layout.commands = kFieldListCommands;
    layout.readOnly = true;
    return showResultTable(host, std::move(table), path, fields, layout);
}

int showResultTable(const ResultHost& host,
                    std::unique_ptr<dbf> table,
                    const std::string& path,
                    const std::vector<ResultField>& fields,
                    const ResultLayout& layout) {
    HWND grid = GetDlgItem(host.dialog, host.gridId);
    discardResultView(grid);
    if (!grid || !table) {
        if (table)
            table->close();
        table.reset();
        deleteResultTable(path);
        return 0;
    }
    auto* view = new ResultView;
    view->tablePath = path;
    view->quote = layout.quote;
    view->queriedTable = layout.table;
    view->mySqlFamily = layout.mySqlFamily;
    view->connection = layout.connection;
    view->connectionSerial = odbcBinding().connectionSerial(layout.connection);
    view->captionId = host.captionId;
    initBrowseView(*view, layout.title.c_str(), 0, 0, 0, 0, kResultRowHeight);
    view->instance = GetModuleHandleA(nullptr);
    view->table = table.release();
    fillColumns(*view, fields);
    loadFlagBitmaps(*view);
    view->cachedCount = view->table->recCount();
    view->table->goTop();
    view->commands = layout.commands;
    if (layout.readOnly)
        lstrcpynA(view->permissions, "NNNII", sizeof view->permissions);
    view->headerFont = view->dataFont = host.gridFont;
    view->updateCaption = resultCaption;
    resultViews()[view] = view;
    attachEmbeddedGrid(*view, host.dialog, host.gridId);
    ShowWindow(grid, SW_SHOW);
    SetFocus(grid);
    if (host.showGrid)
        host.showGrid(host.dialog);
    resultCaption(*view);
    return 1;
}

BrowseView* discardResultView(HWND grid) {
    if (!grid || !IsWindow(grid))
        return nullptr;
    BrowseView* view = browseViewOf(grid);
    if (!view)
        return nullptr;
    SetScrollPos(grid, SB_VERT, 0, FALSE);
    SetScrollPos(grid, SB_HORZ, 0, FALSE);
    attachBrowseView(grid, nullptr);
    auto found = resultViews().find(view);
    if (found == resultViews().end())
        return nullptr;  // not a result: its table is someone else's
    ResultView* result = found->second;
    resultViews().erase(found);
    releaseBrowseView(*result);
    deleteResultTable(result->tablePath);
    delete result;
    InvalidateRect(grid, nullptr, TRUE);
    return nullptr;
}

std::string resultViewQuote(HWND grid) {
    BrowseView* view = grid && IsWindow(grid) ? browseViewOf(grid) : nullptr;
    auto found = view ? resultViews().find(view) : resultViews().end();
    return found == resultViews().end() ? std::string() : found->second->quote;
}

bool resultViewTarget(HWND grid, std::string* table, std::string* quote, bool* mySqlFamily) {
    BrowseView* view = grid && IsWindow(grid) ? browseViewOf(grid) : nullptr;
    auto found = view ? resultViews().find(view) : resultViews().end();
    if (found == resultViews().end() || found->second->commands != kResultGridCommands)
        return false;
    *table = found->second->queriedTable;
    *quote = found->second->quote;
    *mySqlFamily = found->second->mySqlFamily;
    return true;
}

SqlHdbc resultViewConnection(const BrowseView& view) {
    auto found = resultViews().find(const_cast<BrowseView*>(&view));
    if (found == resultViews().end() || !found->second->connection)
        return nullptr;
    const ResultView& result = *found->second;
    return odbcBinding().connectionSerial(result.connection) == result.connectionSerial ? result.connection : nullptr;
}

bool resultCopyRunning() {
    return g_copiesRunning > 0;
}

void cancelResultCopy() {
    if (g_runningJob)
        g_runningJob->cancel = 1;
}

void createResultFolders() {
    char temp[MAX_PATH] = "";
    if (!GetTempPathA(sizeof temp, temp))
        return;
    std::string folder = std::string(temp) + "Quarrow";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\TempFiles").c_str(), nullptr);
}
