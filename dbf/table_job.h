// The bookkeeping every whole-table operation shares: why it failed, how far it got (reported to the
// table's progress callback about every 1%, at most every few thousand units), and refused values.
#pragma once

#include <cstdint>

#include "dbf/dbf.h"

class TableJob {
  public:
    // Clears the table's last error and refused-value count; `total` units are expected.
    TableJob(dbf& table, uint32_t total);
    TableJob(const TableJob&) = delete;
    TableJob& operator=(const TableJob&) = delete;

    // `done` units are behind us. False (and the error Cancelled) once the callback asked to stop.
    bool step(uint32_t done) {
        if (done < next_)
            return !cancelled_;
        return report(done);
    }
    void setTotal(uint32_t total);
    // Records `error` as the reason of the failure and returns 0, the operation's result.
    int fail(TableError error);
    // Success: the last error is None unless a cancel was seen. Returns 1.
    int succeed();
    void refused() { ++table_.refusedValues_; }
    bool cancelled() const { return cancelled_; }

  private:
    dbf& table_;
    uint32_t total_ = 0;
    uint32_t next_ = 0;
    uint32_t stride_ = 1;
    bool cancelled_ = false;

    bool report(uint32_t done);
};
