// A table written as a script of INSERT statements, one per record, that a data source can run to
// recreate the rows.
#pragma once

#include <string>
#include <vector>

class dbf;

struct InsertScriptTarget {
    std::string table;         // the table's name as the statements use it (already quoted)
    std::string quote;         // the identifier quote of the columns; a backtick when empty
    bool mySqlFamily = false;  // the server reads "\" in strings as an escape
};

// `value` between single quotes with every "'" doubled, and every "\" doubled for MySQL-family
// servers.
std::string sqlStringLiteral(const std::string& value, bool mySqlFamily);

// The statement for the current record of `table`, whose fields are named by `columns` (the
// result's column names, in field order). Blank fields are left out of both lists, so the server
// stores NULL (or the column's default). Empty when every field is blank.
std::string insertStatement(dbf& table, const std::vector<std::string>& columns, const InsertScriptTarget& target);

// Writes a statement for every record, in file order, into `path` (replaced). The current record
// is kept. False when the file could not be created or written; a failed file is deleted.
bool writeInsertScript(dbf& table,
                       const std::vector<std::string>& columns,
                       const InsertScriptTarget& target,
                       const std::string& path);
