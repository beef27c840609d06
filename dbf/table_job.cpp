// Progress, cancel and failure reasons of the whole-table operations.
#include "dbf/table_job.h"

#include <algorithm>

namespace {

constexpr uint32_t kMaxStride = 4096;

}  // namespace

TableJob::TableJob(dbf& table, uint32_t total) : table_(table) {
    table_.lastError_ = TableError::None;
    table_.refusedValues_ = 0;
    setTotal(total);
}

void TableJob::setTotal(uint32_t total) {
    total_ = total;
    stride_ = std::max<uint32_t>(1, std::min(total / 100, kMaxStride));
    next_ = 0;
}

bool TableJob::report(uint32_t done) {
    next_ = done + stride_;
    const TableProgress& progress = table_.progress_;
    if (!cancelled_ && progress.report && progress.report(progress.context, std::min(done, total_), total_) == 0) {
        cancelled_ = true;
        table_.lastError_ = TableError::Cancelled;
    }
    return !cancelled_;
}

int TableJob::fail(TableError error) {
    table_.lastError_ = cancelled_ ? TableError::Cancelled : error;
    return 0;
}

int TableJob::succeed() {
    if (!cancelled_)
        table_.lastError_ = TableError::None;
    return cancelled_ ? 0 : 1;
}
