// Showing a catalog or status view of an explorer node in a result grid. Windows build only.
#pragma once

#include "odbc/result_view.h"

// True for the node kinds that show a catalog or status view.
bool isCatalogViewKind(int kind);

// Fills the view of `node`'s kind into a new temporary table and hands it to the host's grid. A
// failing call still shows the (empty) view; the key, column-privilege and server views also show
// the "ODBC error" box. 1 when a view is shown.
int showCatalogView(const ResultHost& host, ExplorerNode& node);

// "Sho&w columns" of a procedure list: the "PROCEDURE_COL" dialog for the current record's
// procedure. Returns 1.
int showProcedureColumnsCommand(BrowseView& view);
