// The temporary tables results are copied into: their folder, names, creation and deletion.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "odbc/result_columns.h"

// <temp>/Quarrow/TempFiles/, created when missing (failures are left to the file's creation).
std::string resultTableFolder();
// A new, empty file in that folder (the system picks the unique name); empty on failure.
std::string newResultTablePath();
// Deletes a result table and its memo file; nothing for an empty path.
void deleteResultTable(const std::string& path);

enum class ResultTableError { None, TooManyColumns, CannotCreate, CannotOpen, CannotLock };

// Writes a table of `fields` under `path` and opens it for writing with the table lock held.
// `oem`: its text is kept in the OEM code page (the table converts, once). Null on failure, with
// the reason in `error`.
std::unique_ptr<dbf> createResultTable(const std::string& path,
                                       const std::vector<ResultField>& fields,
                                       bool oem,
                                       ResultTableError* error);
