// What SQL assist offers: its commands with their syntax, operators, keywords and type names, a
// data source's tables and a table's fields, and the names as a statement must write them.
#pragma once

#include <string>
#include <vector>

#include "odbc/odbc_binding.h"

struct AssistCommand {
    const char* name;
    const char* syntax;
};

const std::vector<AssistCommand>& assistCommands();
const std::vector<std::string>& assistOperators();
// The keywords, then the type names of the SQL types as the connection's server calls them.
std::vector<std::string> assistKeywordsAndTypes(OdbcBinding& binding, SqlHdbc connection);

// A table as the data source lists it.
struct AssistTable {
    std::string catalog;
    std::string schema;
    std::string name;
};

// Every table SQLTables lists with all arguments null, sorted by name. False when listing failed
// (the "ODBC error" box has been shown, owned by `owner`).
bool listAssistTables(OdbcBinding& binding, SqlHdbc connection, void* owner, std::vector<AssistTable>* tables);

// `name` as a statement writes it: as it is when it is a plain identifier that is not a reserved
// word, otherwise between `quote`s.
std::string assistName(const std::string& name, const std::string& quote);
// The table's name for a statement: catalog (when not the connection's current one), schema and
// name, each written by assistName.
std::string assistTableName(const AssistTable& table, const std::string& quote, const std::string& current);

// The column names of `table`, sorted, read by preparing "SELECT * FROM" it (no rows are run).
// False when preparing or describing failed (the "ODBC error" box has been shown).
bool listAssistFields(OdbcBinding& binding,
                      SqlHdbc connection,
                      void* owner,
                      const std::string& tableName,
                      std::vector<std::string>* fields);
