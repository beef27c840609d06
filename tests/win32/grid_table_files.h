// Writes dBase III tables straight to disk for the grid tests and the paint benchmark: many records
// fast, or a huge table whose records past the first and last few are left as a hole in the file.
#pragma once

#include <string>

namespace gridtest {

// A table with fields NAME C 10 and NUM N 8 0; record r has NAME "R<r, 7 digits>" and NUM r.
// With `sparse`, only the first and last `written` records are written; the others read as zero
// bytes. Returns false when the file cannot be written.
bool writeNumberedTable(const std::string& path, long records, bool sparse = false, long written = 64);

}  // namespace gridtest
