// A stored procedure's parameters and result columns as a semicolon-separated text table.
#pragma once

#include <string>

#include "odbc/odbc_binding.h"

// The text "Sho&w columns" shows: "<name> :", a blank line, the header line and one line per
// column SQLProcedureColumns reports for the procedure `name` of `catalog` and `schema` (empty:
// any). A text that would pass 32,000 characters ends with "<< Befejezetlen >>". A failing call
// leaves the title and the header.
std::string procedureColumnsText(OdbcBinding& binding,
                                 SqlHdbc connection,
                                 const std::string& catalog,
                                 const std::string& schema,
                                 const std::string& name);
