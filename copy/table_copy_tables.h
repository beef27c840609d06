// The many-table copy: the tables of one data source, each under its own name, into one target.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "copy/output_types.h"
#include "copy/table_copy.h"

// One row of the table list a many-table copy offers.
struct CopyTableEntry {
    std::string name;
    std::string schema;
    std::string type;
    bool checked = false;  // plain tables are; views, synonyms and system tables are not
};

// The tables of `connection`'s current catalog (a MySQL-family server lists every database's tables
// otherwise). False, with the list empty, when the catalog call fails.
bool listCopyTables(OdbcBinding& binding, SqlHdbc connection, std::vector<CopyTableEntry>* tables);

struct MultiTableCopyRequest {
    SqlHdbc source = nullptr;
    std::vector<std::string> tables;
    std::string targetSource;
    bool createTable = true;
    bool lowercase = true;
    TypeMapping mapping = identityTypeMapping();
    std::string logPath;
    long batchRows = 1000;
};

struct TableCopyRun {
    std::string table;
    TableCopyResult result;
};

// Copies the tables one after the other over one target connection, each with the CREATE TABLE text
// built from its columns when asked. Stops after the first table that did not finish cleanly (a
// failure, a cancel, or a row in the error log, which then holds that table's errors).
// `onTable` hears each table's name as it starts.
std::vector<TableCopyRun> copyTables(OdbcBinding& binding,
                                     void* owner,
                                     const MultiTableCopyRequest& request,
                                     CopyProgress& progress,
                                     const std::function<void(const std::string&)>& onTable = {});
