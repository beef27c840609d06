// The fixed layouts of the catalog and status views and which of them report a failing call.
#include <cstdio>

#include "odbc/catalog_views.h"
#include "odbc/explorer_kinds.h"

namespace {

struct FieldSpec {
    const char* name;
    char type;
    uint16_t width;
    uint8_t decimals;
    const char* caption;
};

struct LayoutSpec {
    int kind;
    // Grid pixels per character: 10 for the server listings, 5 for the catalog views; the
    // procedure list gives its first two columns half of that.
    int factor;
    std::vector<FieldSpec> fields;
};

const std::vector<LayoutSpec>& layouts() {
    using namespace node_kind;
    static const std::vector<LayoutSpec> kLayouts = {
        {kPrimaryKeys, 5, {{"COL_NAME", 'C', 64, 0, "Column name"}, {"COL_SEQ", 'N', 3, 0, "Column sequence number"}}},
        {kForeignKeys,
         5,
         {{"FKTABLE", 'C', 16, 0, "Foreign key table name"},
          {"FKCOL", 'C', 32, 0, "Foreign key column name"},
          {"COL_SEQ", 'N', 3, 0, "Column sequence number"},
          {"PKTABLE", 'C', 16, 0, "Primary key table name"},
          {"PKCOL", 'C', 32, 0, "Primary key column name"}}},
        {kInformation, 5, {{"F1", 'C', 32, 0, "Property"}, {"F2", 'C', 40, 0, "Value"}}},
        {kStatistics,
         5,
         {{"TABLE_SCH", 'C', 16, 0, "Schema name"},
          {"TABLE_NAME", 'C', 16, 0, "Table name"},
          {"NON_U", 'C', 3, 0, "Non unique"},
          {"INDEX_Q", 'C', 16, 0, "Index qualifier"},
          {"INDEX_NAME", 'C', 16, 0, "Index name"},
          {"TYPE", 'C', 16, 0, "Index type"},
          {"ORD_POS", 'N', 3, 0, "Column sequence number"},
          {"COL_NAME", 'C', 32, 0, "Column name"},
          {"SORT", 'C', 6, 0, "Sort sequence"},
          {"CARD", 'N', 10, 0, "Cardinality"},
          {"PAGES", 'N', 10, 0, "Pages"},
          {"FILTER", 'C', 64, 0, "Filter"},
          {"TABLE_CAT", 'C', 16, 0, "Catalog name"}}},
        {kTablePrivileges,
         5,
         {{"CNAME", 'C', 16, 0, "Catalog name"},
          {"SNAME", 'C', 16, 0, "Schema name"},
          {"GANTOR", 'C', 16, 0, "Grantor"},
          {"GRANTEE", 'C', 16, 0, "Grantee"},
          {"PRIVILEGE", 'C', 16, 0, "Privilege"},
          {"IGRANTABL", 'C', 16, 0, "Is grantable"}}},
        {kColumnPrivileges,
         5,
         {{"CNAME", 'C', 16, 0, "Catalog name"},
          {"SNAME", 'C', 16, 0, "Schema name"},
          {"COLNAME", 'C', 32, 0, "Column name"},
          {"GANTOR", 'C', 16, 0, "Grantor"},
          {"GRANTEE", 'C', 16, 0, "Grantee"},
          {"PRIVILEGE", 'C', 16, 0, "Privilege"},
          {"IGRANTABL", 'C', 16, 0, "Is grantable"}}},
        {kProcedures,
         5,
         {{"CNAME", 'C', 32, 0, "Catalog name"},
          {"SNAME", 'C', 32, 0, "Schema name"},
          {"PROCNAME", 'C', 64, 0, "Procedure name"},
          {"REMARKS", 'C', 64, 0, "Remarks"},
          {"PROCTYPE", 'C', 16, 0, "Procedure type"}}},
        {kShowDatabases, 10, {{"NAME", 'C', 64, 0, "Database name"}}},
        {kShowTableStatus,
         10,
         {{"NAME", 'C', 32, 0, "Table name"},
          {"TYPE", 'C', 16, 0, "Type"},
          {"ROWFORM", 'C', 16, 0, "Row format"},
          {"ROWS", 'N', 8, 0, "Rows"},
          {"AVG", 'N', 6, 0, "Avg. row length"},
          {"DATA_LEN", 'N', 8, 0, "Data length"},
          {"MDATA_LEN", 'N', 15, 0, "Max data length"},
          {"INDEX_LEN", 'N', 8, 0, "Index length"},
          {"DATA_FREE", 'N', 8, 0, "Data free"},
          {"AUTO_INC", 'C', 15, 0, "Auto increment"},
          {"CREAT", 'C', 19, 0, "Create time"},
          {"UPDATE", 'C', 19, 0, "Update time"},
          {"CHECK", 'C', 19, 0, "Check time"},
          {"OPTIONS", 'C', 80, 0, "Create options"},
          {"COMMENT", 'C', 80, 0, "Comment"}}},
        {kShowStatus, 10, {{"NAME", 'C', 32, 0, "Variable name"}, {"VALUE", 'C', 16, 0, "Value"}}},
        {kShowVariables, 10, {{"NAME", 'C', 32, 0, "Variable name"}, {"VALUE", 'C', 98, 0, "Value"}}},
        {kShowProcesslist,
         10,
         {{"ID", 'C', 16, 0, "Id"},
          {"USER", 'C', 16, 0, "User"},
          {"HOST", 'C', 60, 0, "Host"},
          {"DB", 'C', 40, 0, "Database"},
          {"COMMAND", 'C', 16, 0, "Command"},
          {"Time", 'C', 8, 0, "Time"},
          {"State", 'C', 32, 0, "State"},
          {"Info", 'C', 32, 0, "Info"}}},
        {kShowUnusedSpace, 10, {{"NAME", 'C', 64, 0, "name"}, {"SPACE", 'N', 12, 6, "AvailableSpaceInMB"}}},
    };
    return kLayouts;
}

}  // namespace

std::vector<ResultField> catalogViewFields(int kind) {
    std::vector<ResultField> fields;
    for (const LayoutSpec& layout : layouts()) {
        if (layout.kind != kind)
            continue;
        for (const FieldSpec& spec : layout.fields) {
            ResultField field;
            std::snprintf(field.def.name, sizeof field.def.name, "%s", spec.name);
            field.def.type = spec.type;
            field.def.width = spec.width;
            field.def.decimals = spec.decimals;
            field.caption = spec.caption;
            bool halved = kind == node_kind::kProcedures && fields.size() < 2;
            field.pixels = halved ? spec.width * layout.factor / 2 : spec.width * layout.factor;
            fields.push_back(field);
        }
    }
    return fields;
}

bool catalogViewReportsFailure(int kind) {
    // The server listings report too: a refused "show" must not look like an empty server.
    return kind == node_kind::kPrimaryKeys || kind == node_kind::kForeignKeys || kind == node_kind::kColumnPrivileges ||
           catalogViewStatement(kind) != nullptr;
}

const char* catalogViewStatement(int kind) {
    switch (kind) {
        case node_kind::kShowDatabases:
            return "show databases";
        case node_kind::kShowTableStatus:
            return "show table status";
        case node_kind::kShowStatus:
            return "show status";
        case node_kind::kShowVariables:
            return "show variables";
        case node_kind::kShowProcesslist:
            return "show processlist";
        case node_kind::kShowUnusedSpace:
            return "SELECT name, size/ 128.0- CAST(FILEPROPERTY(name, 'SpaceUsed') AS int)/ 128.0 AS "
                   "AvailableSpaceInMB FROM sys.database_files";
        default:
            return nullptr;
    }
}
