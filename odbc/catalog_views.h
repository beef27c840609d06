// The catalog and status views: keys, indexes, privileges, procedures, general information and the
// servers' status listings, each a temporary table of a fixed layout filled from one driver call.
#pragma once

#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "odbc/odbc_binding.h"
#include "odbc/result_columns.h"

// What a view is about: the node's table and where it lives (all empty for a data source's views).
struct CatalogSubject {
    std::string catalog;
    std::string schema;
    std::string name;
};

// The fields of view `kind` (node kinds 9-15 and 17-22) with their grid captions and widths; empty
// for any other kind.
std::vector<ResultField> catalogViewFields(int kind);

// True when a failing call of view `kind` is reported in the "ODBC error" box; the other views then
// show their empty table silently.
bool catalogViewReportsFailure(int kind);

// The statement a status view sends (kinds 17-22); null for the views that call the catalog.
const char* catalogViewStatement(int kind);

struct CatalogFill {
    SqlReturn result = 0;  // sql::kSuccess, or the failing call's code
    std::string error;     // the failing call's first diagnostic
    long rows = 0;
    bool noStatement = false;  // no statement could be allocated: nothing was asked
};

// Appends the rows of view `kind` about `subject`, read from `connection`, to `table` (created with
// catalogViewFields(kind) and open for writing). Values arrive whole and NULL stays blank; a
// failing call leaves the rows appended before it.
CatalogFill fillCatalogView(OdbcBinding& binding,
                            SqlHdbc connection,
                            int kind,
                            const CatalogSubject& subject,
                            dbf& table);
