// dbf: movement over the records in file order (hiding deleted ones on request), byte-range locks,
// writing, deleting, recalling and appending records.
#include <cstring>

#include "base/settings.h"
#include "dbf/dbf.h"

namespace {

constexpr uint64_t kMaxPosition = 0xFFFFFFFFull;

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

uint64_t dbf::recordPosition(long record) const {
    return header_.headerLength + static_cast<uint64_t>(record - 1) * header_.recordLength;
}

uint32_t dbf::recordCountOnDisk() {
    uint8_t bytes[4];
    uint32_t got = 0;
    if (!table_.readAt(4, bytes, sizeof bytes, &got) || got != sizeof bytes)
        return header_.recordCount;
    return le32(bytes);
}

void dbf::refreshCount() {
    header_.recordCount = recordCountOnDisk();
}

long dbf::recCount() {
    if (!open_)
        return 0;
    refreshCount();
    return header_.recordCount > 0x7FFFFFFFu ? 0x7FFFFFFFL : static_cast<long>(header_.recordCount);
}

// The last record that is at least partly in the file: a damaged header may count records the file lacks.
long dbf::lastReadableRecord() {
    long count = header_.recordCount > 0x7FFFFFFFu ? 0x7FFFFFFFL : static_cast<long>(header_.recordCount);
    uint32_t size = table_.size();
    if (size <= header_.headerLength || count < 1)
        return count < 1 ? 0 : 1;
    uint64_t present =
        (static_cast<uint64_t>(size - header_.headerLength) + header_.recordLength - 1) / header_.recordLength;
    return present < static_cast<uint64_t>(count) ? static_cast<long>(present) : count;
}

// Reads one record into the buffer; a short read leaves zero bytes behind what was read. End when nothing
// is there, Failed when the system refused the read; in both cases the buffer is unchanged.
dbf::ReadResult dbf::readRecord(long record, bool ahead) {
    if (record < 1)
        return ReadResult::End;
    uint64_t position = recordPosition(record);
    if (position + header_.recordLength > kMaxPosition)
        return ReadResult::End;
    uint32_t got = 0;
    uint32_t at = static_cast<uint32_t>(position);
    int ok = ahead ? table_.readAhead(at, record_.data(), header_.recordLength, &got)
                   : table_.readAt(at, record_.data(), header_.recordLength, &got);
    if (!ok || got == 0)
        return ok || table_.isEof() ? ReadResult::End : ReadResult::Failed;
    if (got < header_.recordLength)
        memset(&record_[got], 0, header_.recordLength - got);
    return ReadResult::Read;
}

// One physical step of -1, 0 or +1 records from `current`, the primitive under all movement. A failed
// read changes nothing but readFailed_: the record number always names the record in the buffer.
void dbf::physicalStep(long current, int step) {
    long target = current + step;
    if (target > 1 && static_cast<uint64_t>(target) > header_.recordCount)
        refreshCount();  // another holder of the table may have appended
    uint32_t count = header_.recordCount;
    if (target <= 1 || count < 1) {
        // A header that counts records the file does not hold is at its end here too.
        ReadResult read = count < 1 ? ReadResult::End : readRecord(1, false);
        if (read == ReadResult::Failed) {
            readFailed_ = true;
            return;
        }
        bof_ = current == 1;
        recNo_ = 1;
        eof_ = read == ReadResult::End;
        if (eof_)
            memset(record_.data(), 0, header_.recordLength);
        return;
    }
    if (static_cast<uint64_t>(target) <= count) {
        ReadResult read = readRecord(target, step > 0);
        if (read == ReadResult::Failed) {
            readFailed_ = true;
        } else if (read == ReadResult::End) {
            eof_ = true;  // nothing behind the current record: the header counts more than the file holds
        } else {
            bof_ = eof_ = false;
            recNo_ = target;
        }
        return;
    }
    long last = lastReadableRecord();
    ReadResult read = readRecord(last, false);
    if (read == ReadResult::Failed) {
        readFailed_ = true;
        return;
    }
    recNo_ = last;
    eof_ = true;
    if (read == ReadResult::End)
        memset(record_.data(), 0, header_.recordLength);
}

bool dbf::hidden() const {
    return record_[0] == '*' && settingOn(SET_DELETED);
}

// Re-reads `record` (record 1 for anything below), then steps forward past hidden records.
int dbf::settleAt(long record) {
    readFailed_ = false;
    table_.dropCache();
    physicalStep(record, 0);
    while (!readFailed_ && hidden() && !eof_)
        physicalStep(recNo_, 1);
    return readFailed_ ? 0 : 1;
}

int dbf::skip(long count) {
    if (!open_)
        return 0;
    if (count == 0)
        return settleAt(recNo_);
    if (count < 0)
        table_.dropCache();
    readFailed_ = false;
    long start = recNo_;
    int direction = count > 0 ? 1 : -1;
    unsigned long times = count > 0 ? static_cast<unsigned long>(count) : 0ul - static_cast<unsigned long>(count);
    for (unsigned long i = 0; i < times && !readFailed_; ++i) {
        if (recNo_ == 1 && direction < 0) {
            bof_ = true;
            break;
        }
        if (direction > 0 && static_cast<uint64_t>(recNo_) >= header_.recordCount) {
            refreshCount();
            if (static_cast<uint64_t>(recNo_) >= header_.recordCount) {
                eof_ = true;
                break;
            }
        }
        physicalStep(recNo_, direction);
        if (!readFailed_ && hidden()) {
            while (!readFailed_ && !bof_ && !eof_ && hidden())
                physicalStep(recNo_, direction);
            if (!readFailed_ && (bof_ || eof_)) {
                // Only hidden records lie that way: stay where the skip began.
                bool bof = bof_, eof = eof_;
                ReadResult read = readRecord(start, false);
                if (read == ReadResult::Failed) {
                    readFailed_ = true;
                    break;
                }
                recNo_ = start;
                if (read == ReadResult::End)
                    memset(record_.data(), 0, header_.recordLength);
                bof_ = bof;
                eof_ = eof;
                break;
            }
        }
        if (eof_)
            break;
    }
    return readFailed_ ? 0 : 1;
}

int dbf::goTop() {
    if (!open_)
        return 0;
    return settleAt(0);
}

int dbf::goBottom() {
    if (!open_)
        return 0;
    refreshCount();
    if (!settleAt(lastReadableRecord()))
        return 0;
    return eof_ ? skip(-1) : 1;
}

int dbf::goTo(long record) {
    if (!open_)
        return 0;
    uint64_t need = header_.headerLength + (record > 0 ? static_cast<uint64_t>(record) * header_.recordLength : 0);
    if (table_.size() < need)
        return goBottom();
    return settleAt(record);
}

bool dbf::isCurrentRangeLocked() const {
    return recNo_ >= 1 && lockLength_ == header_.recordLength && lockStart_ == recordPosition(recNo_);
}

int dbf::lockRecord() {
    if (!open_ || tableLock_ || lockLength_ > 0 || recNo_ < 1)
        return 0;
    uint64_t start = recordPosition(recNo_);
    if (start + header_.recordLength > kMaxPosition)
        return 0;
    if (!table_.lock(static_cast<uint32_t>(start), header_.recordLength))
        return 0;
    lockStart_ = static_cast<uint32_t>(start);
    lockLength_ = header_.recordLength;
    return 1;
}

int dbf::lockTable() {
    if (!open_ || tableLock_ || lockLength_ > 0)
        return 0;
    uint32_t size = table_.size();
    if (!table_.lock(0, size))
        return 0;
    tableLock_ = true;
    lockStart_ = 0;
    lockLength_ = size;
    return 1;
}

int dbf::unlock() {
    if (!open_)
        return 0;
    int ok = 1;
    if (lockLength_ > 0)
        ok = table_.unlock(lockStart_, lockLength_);
    lockStart_ = lockLength_ = 0;
    tableLock_ = false;
    return ok;
}

int dbf::writeRecord() {
    if (!open_ || recNo_ < 1 || !(tableLock_ || isCurrentRangeLocked()))
        return 0;
    uint64_t position = recordPosition(recNo_);
    if (position + header_.recordLength > kMaxPosition)
        return 0;
    uint32_t written = 0;
    return table_.writeAt(static_cast<uint32_t>(position), record_.data(), header_.recordLength, &written) &&
                   written == header_.recordLength
               ? 1
               : 0;
}

int dbf::deleteRecord() {
    if (!open_ || isDeleted())
        return 0;
    record_[0] = '*';
    if (recNo_ == 0)
        return 0;
    return writeRecord();
}

int dbf::recallRecord() {
    if (!open_ || !isDeleted())
        return 0;
    record_[0] = ' ';
    int result = writeRecord();
    skip(0);
    return result;
}

int dbf::appendBlank() {
    if (!open_ || !tableLock_)
        return 0;
    uint32_t old = recordCountOnDisk();
    uint64_t position = header_.headerLength + static_cast<uint64_t>(old) * header_.recordLength;
    if (old >= 0x7FFFFFFFu || position + header_.recordLength + 1 > kMaxPosition)
        return 0;
    uint32_t previous = header_.recordCount;
    uint8_t bytes[4];
    uint32_t next = old + 1;
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(next >> (8 * i));
    uint32_t written = 0;
    if (!table_.writeAt(4, bytes, 4, &written) || written != 4) {
        header_.recordCount = previous;
        return 0;
    }
    header_.recordCount = next;
    // The record goes where readers expect it, over a 0x1A end marker written elsewhere; a file that ended
    // in such a marker gets it back behind the new record.
    uint32_t at = static_cast<uint32_t>(position);
    uint32_t size = table_.size();
    char marker = 0;
    uint32_t got = 0;
    bool endMarker = size == at + 1 && table_.readAt(at, &marker, 1, &got) && got == 1 && marker == 0x1A;
    uint32_t length = header_.recordLength + (endMarker ? 1u : 0u);
    if (!table_.writeAt(at, blank_.data(), length, &written) || written != length)
        return 0;
    recNo_ = static_cast<long>(next);
    bof_ = eof_ = false;
    // The record just written under the table lock: nobody else can have changed it.
    memcpy(record_.data(), blank_.data(), header_.recordLength);
    return 1;
}
