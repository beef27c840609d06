// Reading one column of the current row as text, in pieces until the driver has given all of it.
#pragma once

#include <cstddef>
#include <string>

#include "odbc/odbc_binding.h"

struct ColumnText {
    static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
    std::string text;
    bool null = false;  // SQL NULL: text is empty
    bool cut = false;   // the value was longer than the limit; text holds its first `limit` bytes
};

// Reads column `column` of the current row with SQLGetData as character data, piece after piece,
// whether the driver reports the remaining length or SQL_NO_TOTAL. `value` is cleared first, so it
// never keeps an earlier row's text, also when the call fails or the column is NULL. Stops reading
// after `limit` bytes and sets `cut`. Returns sql::kSuccess, or the failing call's code (its
// diagnostics are then on the statement).
SqlReturn getColumnText(const OdbcFunctions& fn,
                        SqlHstmt statement,
                        SqlUSmallInt column,
                        ColumnText& value,
                        std::size_t limit = ColumnText::kNoLimit);
