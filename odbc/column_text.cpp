// Piecewise SQLGetData into a growing text.
#include "odbc/column_text.h"

#include <algorithm>
#include <vector>

namespace {

// One read's buffer; a longer value comes in several pieces, each ending in a terminator.
constexpr SqlLen kPieceSize = 4096;

}  // namespace

SqlReturn getColumnText(const OdbcFunctions& fn,
                        SqlHstmt statement,
                        SqlUSmallInt column,
                        ColumnText& value,
                        std::size_t limit) {
    value.text.clear();
    value.null = false;
    value.cut = false;
    std::vector<char> piece(kPieceSize);
    for (bool first = true;; first = false) {
        SqlLen indicator = 0;
        SqlReturn rc = fn.SQLGetData(statement, column, sql::kCChar, piece.data(), kPieceSize, &indicator);
        // After the last piece some drivers answer once more, with no data.
        if (rc == sql::kNoData && !first)
            return sql::kSuccess;
        if (!sql::succeeded(rc))
            return rc;
        if (indicator == sql::kNullData) {
            value.null = true;
            return sql::kSuccess;
        }
        // A full piece holds one byte less than the buffer: the driver ends it with a terminator.
        bool full = indicator == sql::kNoTotal || indicator >= kPieceSize;
        std::size_t length =
            full ? static_cast<std::size_t>(kPieceSize - 1) : static_cast<std::size_t>(std::max<SqlLen>(indicator, 0));
        std::size_t room = limit - value.text.size();
        value.text.append(piece.data(), std::min(length, room));
        if (!full && length <= room)
            return sql::kSuccess;
        // More is waiting; at the limit it is left unread.
        if (length >= room) {
            value.cut = true;
            return sql::kSuccess;
        }
    }
}
