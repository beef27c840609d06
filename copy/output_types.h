// The field types a copy offers and the input >> output type mapping the copy dialogs edit: plain
// data here, shown in list boxes by the dialogs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "odbc/odbc_types.h"

// The 26 type names of the field type list, in their order.
const std::vector<std::string>& fieldTypeNames();

// One row per input type: the type it is written as in a CREATE TABLE text.
struct TypeMapping {
    std::vector<std::pair<std::string, std::string>> rows;  // input, output
};

// Every field type mapped to itself, as each dialog starts.
TypeMapping identityTypeMapping();

// A row as the mapping list shows it: "input >> output".
std::string mappingRowText(const std::string& input, const std::string& output);
// The output part of a shown row; false when the row holds no " >> ".
bool mappingRowOutput(const std::string& row, std::string* output);

// The output type of `input`, matched against the whole input name in any case (a "date" column is
// not answered by the "datetime" row); `fallback` when no row names it.
std::string lookupOutputType(const TypeMapping& mapping, const std::string& input, const std::string& fallback);

// The type name a column gets when its driver reports none, by its ODBC 2 SQL type.
std::string canonicalTypeName(SqlSmallInt sqlType);
