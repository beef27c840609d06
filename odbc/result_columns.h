// The columns of a result as the driver describes them, the dBase field each becomes in a result
// table, the names of SQL types, and the column-list table of "Fields".
#pragma once

#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "odbc/odbc_binding.h"

struct ResultColumn {
    std::string name;      // SQLDescribeCol
    std::string typeName;  // the driver's own type name (SQLColAttributes 14); may be empty
    SqlSmallInt sqlType = 0;
    SqlULen size = 0;
    SqlSmallInt decimals = 0;
    SqlSmallInt nullable = sql::kNullableUnknown;
};

// The field a result column becomes, with what the grid shows of it.
struct ResultField {
    FieldDef def = {};
    std::string picture;  // "", "@D", "@S24" or "@S10"
    std::string caption;  // the column's name
    int pixels = 0;       // the grid column's width; 0: resultColumnPixels
};

// A result table holds at most this many columns (the table engine's limit).
constexpr int kMaxResultColumns = kMaxCreateFields;
// The widest value a memo field of a result keeps; longer ones are cut and counted.
constexpr size_t kMaxResultMemo = 16u * 1024 * 1024;

// Describes the `count` result columns of a statement that is executed or only prepared.
// sql::kSuccess, or the failing call's code (the statement then holds its diagnostics).
SqlReturn describeResultColumns(const OdbcFunctions& fn,
                                SqlHstmt statement,
                                int count,
                                std::vector<ResultColumn>& columns);

// Field `number` (from 1, named TEMP0001...) of a result table for `column`. Long and wide text
// becomes a memo, numbers a dBase N field cannot hold exactly become text wide enough for them.
ResultField mapResultColumn(const ResultColumn& column, int number);

// Grid column of a result field: its pixel width and whether it is aligned as a number.
int resultColumnPixels(const FieldDef& def);

// The name of SQL type `sqlType`: the driver's own `typeName` when it gave one, else the standard
// name, with SQL Server's and SQL Anywhere's names for a few types (by the DBMS name `dbms`).
std::string sqlTypeName(const std::string& typeName, SqlSmallInt sqlType, const std::string& dbms);
// The same, asking `connection` for its DBMS name.
std::string sqlTypeName(OdbcBinding& binding, SqlHdbc connection, const std::string& typeName, SqlSmallInt sqlType);

// The column list of a table ("Fields"): the fixed fields and their grid captions.
std::vector<ResultField> columnListFields();
// Appends one record for `column` to `table` (created with columnListFields and open for writing):
// name, type name, length, decimals and "Yes"/"No" for nullability. 1 on success.
int appendColumnListRecord(dbf& table, const ResultColumn& column, const std::string& typeName);
