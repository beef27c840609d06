// The catalog and status views handed to a result grid: the temporary table, its filling, the
// messages, and the pop-up menu of catalog grids.
#include "odbc/catalog_view.h"

#include "base/ui.h"
#include "browse/browse_view.h"
#include "dbf/dbf.h"
#include "odbc/catalog_views.h"
#include "odbc/result_table.h"

namespace {

// The table the view is about; the data source's own views name none.
CatalogSubject subjectOf(const ExplorerNode& node) {
    CatalogSubject subject;
    subject.catalog = node.catalog;
    subject.schema = node.schema;
    bool sourceView = node.flavour == node_flavour::kProcedureList || node.kind == node_kind::kInformation ||
                      catalogViewStatement(node.kind) != nullptr;
    if (!sourceView)
        subject.name = node.name;
    return subject;
}

}  // namespace

bool isCatalogViewKind(int kind) {
    return !catalogViewFields(kind).empty();
}

int showCatalogView(const ResultHost& host, ExplorerNode& node) {
    const int kind = node.kind;
    HWND grid = GetDlgItem(host.dialog, host.gridId);
    discardResultView(grid);
    SetDlgItemTextA(host.dialog, host.commandLineId, node.path.c_str());
    std::string path = newResultTablePath();
    std::vector<ResultField> fields = catalogViewFields(kind);
    ResultTableError why = ResultTableError::CannotCreate;
    std::unique_ptr<dbf> table;
    if (!path.empty())
        table = createResultTable(path, fields, false, &why);
    if (!table) {
        warningBox("Open error.");
        deleteResultTable(path);
        return 0;
    }
    OdbcBinding& binding = odbcBinding();
    CatalogFill fill;
    try {
        fill = fillCatalogView(binding, node.connection, kind, subjectOf(node), *table);
    } catch (...) {
        if (kind != node_kind::kColumnPrivileges)
            throw;
        warningBox("Column privileges error.");
    }
    table->unlock();
    table->goTop();
    ResultLayout layout;
    layout.title = node.path;
    layout.commands = kind == node_kind::kProcedures ? kProcedureListCommands : kCatalogViewCommands;
    layout.readOnly = true;
    int shown = showResultTable(host, std::move(table), path, fields, layout);
    if (!sql::succeeded(fill.result) && catalogViewReportsFailure(kind))
        binding.ui().odbcError(host.dialog, fill.error.c_str());
    return shown;
}
