// The catalog and status views handed to a result grid: the temporary table, its filling, the
// messages, and the pop-up menu of catalog grids.
#include "odbc/catalog_view.h"

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "browse/browse_view.h"
#include "dbf/dbf.h"
#include "odbc/catalog_views.h"
#include "odbc/procedure_columns.h"
#include "odbc/result_table.h"
#include "resources/resource.h"

namespace {

struct ProcedureColumns {
    std::string text;
    HFONT font = nullptr;
};

std::string trimmedField(dbf& table, const char* name) {
    int index = table.fieldIndex(name);
    std::string text = index >= 0 ? table.getField(index) : "";
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

INT_PTR handleProcedureColumns(HWND dialog, ProcedureColumns& columns, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HWND edit = GetDlgItem(dialog, IDC_PROCCOL_TEXT);
            HFONT font = columns.font ? columns.font : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
            SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            SetWindowTextA(edit, columns.text.c_str());
            SetFocus(edit);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_PROCCOL_EXIT) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

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
    if (fill.noStatement) {
        table->close();
        deleteResultTable(path);
        binding.ui().odbcError(host.dialog, fill.error.c_str());
        return 0;
    }
    table->unlock();
    table->goTop();
    ResultLayout layout;
    layout.title = node.path;
    layout.commands = kind == node_kind::kProcedures ? kProcedureListCommands : kCatalogViewCommands;
    layout.readOnly = true;
    // "Sho&w columns" asks the procedure list's own data source.
    if (kind == node_kind::kProcedures)
        layout.connection = node.connection;
    int shown = showResultTable(host, std::move(table), path, fields, layout);
    if (!sql::succeeded(fill.result) && catalogViewReportsFailure(kind))
        binding.ui().odbcError(host.dialog, fill.error.c_str());
    return shown;
}

int showProcedureColumnsCommand(BrowseView& view) {
    if (!view.table)
        return 1;
    SqlHdbc connection = resultViewConnection(view);
    if (!connection) {
        odbcBinding().ui().warning("The data source of this list is not connected any more.");
        return 1;
    }
    ProcedureColumns columns;
    // The record names the procedure's own catalog and schema: another database's procedure is found.
    columns.text = procedureColumnsText(odbcBinding(), connection, trimmedField(*view.table, "CNAME"),
                                        trimmedField(*view.table, "SNAME"), trimmedField(*view.table, "PROCNAME"));
    columns.font = view.dataFont;
    DialogBoxParamA(GetModuleHandleA(nullptr), "PROCEDURE_COL", view.dialog,
                    boundDialogProc<ProcedureColumns, handleProcedureColumns>, reinterpret_cast<LPARAM>(&columns));
    return 1;
}
