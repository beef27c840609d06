// Running one statement the user typed or confirmed: the outcome appended to the editor's text, the
// first four columns of a result as fixed-width text, and the statements that need a connection of
// their own.
#pragma once

#include <string>

#include "odbc/odbc_binding.h"

// Where the editor's text stops growing.
constexpr std::size_t kEditorTextLimit = 32000;
// The most text executeStatement gathers from a result.
constexpr std::size_t kStatementOutputLimit = 64000;

// OPTIMIZE and REPAIR leave a MySQL-family server's ODBC connection unusable.
bool needsOwnConnection(const std::string& statement, const std::string& dbms);

// Executes `text` on `connection` (on a connection of its own to `dataSource` when it needs one).
// Failures show the "ODBC error" box owned by `owner`. With `output`, every row's columns 1-4 are
// appended as "%-40s%-16s%-16s%-80s\r\n" (missing columns blank, NULL as blank) until
// kStatementOutputLimit. Returns the last ODBC code: the execution's, or the one that ended the
// fetching.
SqlReturn executeStatement(OdbcBinding& binding,
                           void* owner,
                           SqlHdbc connection,
                           const std::string& dataSource,
                           const std::string& text,
                           std::string* output = nullptr);

// What "&Execute" leaves in the editor: `whole`, a blank line, then "Success." or the driver's
// first message (dropped when the text would reach kEditorTextLimit). No box is shown.
std::string executeSelectionText(OdbcBinding& binding,
                                 SqlHdbc connection,
                                 const std::string& dataSource,
                                 const std::string& selected,
                                 const std::string& whole);

// "drop table " or "delete from " (the verb) and the table's qualified, quoted name.
std::string tableStatement(const char* verb,
                           const std::string& catalog,
                           const std::string& schema,
                           const std::string& table,
                           const std::string& quote,
                           const std::string& current);
