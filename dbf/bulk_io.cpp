// Buffered writing of new files and bulk appending of records and memo texts to a locked table.
#include "dbf/bulk_io.h"

#include <cstring>

#include "base/codepage.h"
#include "base/dates.h"
#include "base/values.h"

namespace {

constexpr size_t kFlushSize = 1 << 20;
constexpr uint64_t kMaxPosition = 0xFFFFFFFFull;
constexpr char kMemoEnd = 0x1A;

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether setField would store these bytes of a field unchanged: a C text without zero bytes, T or F, a
// valid date or a blank one, or a number already right-aligned with its decimals and few enough digits
// for the number formatter to print it back as it reads.
bool storedAsIs(char type, const char* p, size_t width, int decimals) {
    switch (type) {
        case 'C':
            return memchr(p, '\0', width) == nullptr;
        case 'L':
            return width == 1 && (*p == 'T' || *p == 'F');
        case 'D': {
            if (width != 8)
                return false;
            if (memcmp(p, "        ", 8) == 0)
                return true;
            for (size_t i = 0; i < 8; ++i)
                if (!isDigit(p[i]))
                    return false;
            int year = (p[0] - '0') * 1000 + (p[1] - '0') * 100 + (p[2] - '0') * 10 + p[3] - '0';
            return Date(year, (p[4] - '0') * 10 + p[5] - '0', (p[6] - '0') * 10 + p[7] - '0').isValid();
        }
        case 'N': {
            size_t i = 0;
            while (i < width && p[i] == ' ')
                ++i;
            if (i < width && p[i] == '-')
                ++i;
            size_t start = i;
            while (i < width && isDigit(p[i]))
                ++i;
            size_t integer = i - start;
            if (integer == 0 || (integer > 1 && p[start] == '0'))
                return false;
            if (decimals > 0) {
                if (i >= width || p[i] != '.')
                    return false;
                ++i;
                for (int k = 0; k < decimals; ++k, ++i)
                    if (i >= width || !isDigit(p[i]))
                        return false;
            }
            return i == width && integer + static_cast<size_t>(decimals) <= 18;
        }
        default:
            return false;
    }
}

}  // namespace

// The buffers grow with what is queued, up to the flush size: a small table never takes a megabyte.
BufferedOutput::BufferedOutput(files& file, uint32_t offset) : file_(file), offset_(offset) {}

void BufferedOutput::append(const char* bytes, size_t count) {
    buffer_.insert(buffer_.end(), bytes, bytes + count);
    if (buffer_.size() >= kFlushSize)
        flush();
}

void BufferedOutput::append(const char* text) {
    append(text, strlen(text));
}

void appendHtmlEscaped(BufferedOutput& out, const char* text) {
    const char* run = text;
    for (const char* p = text;; ++p) {
        const char* entity = *p == '&' ? "&amp;" : *p == '<' ? "&lt;" : *p == '>' ? "&gt;" : nullptr;
        if (!entity && *p)
            continue;
        out.append(run, static_cast<size_t>(p - run));
        if (!*p)
            return;
        out.append(entity);
        run = p + 1;
    }
}

bool BufferedOutput::flush() {
    if (buffer_.empty() || !ok_) {
        buffer_.clear();
        return ok_;
    }
    uint32_t count = static_cast<uint32_t>(buffer_.size());
    uint32_t written = 0;
    ok_ = offset_ + count <= kMaxPosition &&
          file_.writeAt(static_cast<uint32_t>(offset_), buffer_.data(), count, &written) && written == count;
    offset_ += count;
    buffer_.clear();
    return ok_;
}

BulkAppender::BulkAppender(dbf& table) : table_(table) {
    ok_ = table.open_ && table.tableLock_;
    if (!ok_)
        return;
    firstCount_ = count_ = written_ = table.recordCountOnDisk();
    tableSize_ = table.table_.size();
    // A table written elsewhere may end in an end marker right behind its last record.
    uint64_t end = table.header_.headerLength + static_cast<uint64_t>(firstCount_) * table.header_.recordLength;
    char marker = 0;
    uint32_t got = 0;
    endMarker_ = end < kMaxPosition && table.table_.size() == end + 1 &&
                 table.table_.readAt(static_cast<uint32_t>(end), &marker, 1, &got) && got == 1 && marker == 0x1A;
    for (int i = 0; i < table.fieldCount_; ++i) {
        types_.push_back(table.fieldType(i));
        decimals_.push_back(types_.back() == 'N' ? table.descriptors_[static_cast<size_t>(i) * 32 + 17] : 0);
    }
}

BulkAppender::~BulkAppender() {
    finish();
}

void BulkAppender::startRecord() {
    memcpy(table_.record_.data(), table_.blank_.data(), table_.header_.recordLength);
}

bool BulkAppender::copyFields(dbf& source) {
    // One copy of the whole record, then the fields setField would change are set again.
    size_t count = types_.size();
    if (source.fieldCount_ != table_.fieldCount_ ||
        memcmp(source.offsets_.data(), table_.offsets_.data(), (count + 1) * sizeof(uint16_t)) != 0)
        return false;
    memcpy(&table_.record_[1], &source.record_[1], table_.offsets_[count] - 1u);
    for (size_t i = 0; i < types_.size(); ++i) {
        char* field = &table_.record_[table_.offsets_[i]];
        size_t width = table_.widths_[i];
        if (types_[i] == 'M')
            memset(field, ' ', width);  // a memo field gets its block from putMemo, or stays blank
        else if (!storedAsIs(types_[i], field, width, decimals_[i]) &&
                 !table_.setField(static_cast<int>(i), source.getField(static_cast<int>(i))))
            memcpy(field, &source.record_[table_.offsets_[i]], width);  // a refused value stays as it was
    }
    return true;
}

bool BulkAppender::setNumber(int index, const char* text) {
    size_t width = table_.widths_[static_cast<size_t>(index)];
    int decimals = decimals_[static_cast<size_t>(index)];
    const char* p = text;
    bool negative = *p == '-';
    p += negative ? 1 : 0;
    const char* digits = p;
    while (isDigit(*p))
        ++p;
    size_t integer = static_cast<size_t>(p - digits);
    const char* fraction = *p == '.' ? p + 1 : p;
    const char* end = fraction;
    while (isDigit(*end))
        ++end;
    size_t given = static_cast<size_t>(end - fraction);
    bool zero = strspn(digits, "0.") == static_cast<size_t>(end - digits);
    size_t length = (negative ? 1 : 0) + integer + (decimals > 0 ? 1 + static_cast<size_t>(decimals) : 0);
    // Rounding, exponents, blanks and signed zeros are setField's.
    if (*end != '\0' || integer == 0 || given > static_cast<size_t>(decimals) || (negative && zero) ||
        (*p == '.' && given == 0) || length > width)
        return table_.setField(index, text) != 0;
    char* field = &table_.record_[table_.offsets_[static_cast<size_t>(index)]];
    char* out = field + (width - length);
    memset(field, ' ', width - length);
    if (negative)
        *out++ = '-';
    memcpy(out, digits, integer);
    out += integer;
    if (decimals > 0) {
        *out++ = '.';
        memcpy(out, fraction, given);
        memset(out + given, '0', static_cast<size_t>(decimals) - given);
    }
    if (storedAsIs('N', field, width, decimals))
        return true;
    return table_.setField(index, text) != 0;
}

bool BulkAppender::endRecord() {
    if (!ok_ || finished_)
        return false;
    uint64_t end = table_.header_.headerLength + (static_cast<uint64_t>(count_) + 1) * table_.header_.recordLength + 1;
    if (count_ >= 0x7FFFFFFEu || end > kMaxPosition) {
        ok_ = false;
        return false;
    }
    records_.insert(records_.end(), table_.record_.begin(), table_.record_.begin() + table_.header_.recordLength);
    ++count_;
    if (records_.size() >= kFlushSize)
        return flushRecords();
    return true;
}

// The records only: the count that makes them part of the table is written by finish.
bool BulkAppender::flushRecords() {
    if (!ok_ || records_.empty() || !flushMemo())
        return ok_;
    uint64_t at = table_.header_.headerLength + static_cast<uint64_t>(written_) * table_.header_.recordLength;
    if (endMarker_)
        records_.push_back(0x1A);
    uint32_t length = static_cast<uint32_t>(records_.size());
    uint32_t done = 0;
    ok_ = table_.table_.writeAt(static_cast<uint32_t>(at), records_.data(), length, &done) && done == length;
    records_.clear();
    if (ok_)
        written_ = count_;
    return ok_;
}

// Takes the memo header lock and reads the next free block, as writeMemo does for each text.
bool BulkAppender::startMemo() {
    if (memoStarted_)
        return true;
    files& memo = table_.memo_;
    if (!memo.isOpen() || !memo.lock(0, kMemoBlockSize))
        return false;
    memoStarted_ = true;
    memoSize_ = memo.size();
    uint32_t got = 0;
    memset(table_.memoHeader_, 0, sizeof table_.memoHeader_);
    memo.readAt(0, table_.memoHeader_, sizeof table_.memoHeader_, &got);
    memcpy(memoHeader_, table_.memoHeader_, sizeof memoHeader_);
    if (got < sizeof table_.memoHeader_)
        table_.memoHeader_[16] = 0x03;
    uint32_t next = le32(table_.memoHeader_);
    uint64_t used = (static_cast<uint64_t>(memo.size()) + kMemoBlockSize - 1) / kMemoBlockSize;
    if (next < used)
        next = static_cast<uint32_t>(used);
    if (next < 1)
        next = 1;
    if (next == 1) {
        // Block 1 never holds text: fill the rest of the header and the start of block 1.
        std::vector<char> filler(kMemoBlockSize, '\0');
        uint32_t done = 0;
        if (!memo.writeAt(sizeof table_.memoHeader_, filler.data(), kMemoBlockSize, &done) || done != kMemoBlockSize)
            return false;
        next = 2;
    }
    memoNext_ = next;
    return true;
}

bool BulkAppender::putMemo(int index, const char* text) {
    if (!ok_ || finished_ || index < 0 || index >= table_.fieldCount_)
        return false;
    size_t length = text ? strlen(text) : 0;
    if (length == 0)
        return true;  // the field stays blank, which reads as an empty memo
    if (!startMemo()) {
        ok_ = false;
        return false;
    }
    memoText_.assign(text, text + length + 1);
    if (table_.oem_)
        ansiToOem(memoText_.data());
    memoText_[length] = kMemoEnd;
    uint64_t at = static_cast<uint64_t>(memoNext_) * kMemoBlockSize;
    if (at + length + 1 + kMemoBlockSize > kMaxPosition) {
        ok_ = false;
        return false;
    }
    if (memoBatch_.empty())
        memoBatchStart_ = at;
    // The rest of the previous text's last block is never read; it is written as zero bytes.
    memoBatch_.resize(static_cast<size_t>(at - memoBatchStart_), '\0');
    memoBatch_.insert(memoBatch_.end(), memoText_.begin(), memoText_.begin() + static_cast<long>(length) + 1);
    // The number the way writeMemo puts it; one that does not fit the field would lose the text.
    if (!table_.setMemoBlock(index, memoNext_)) {
        ok_ = false;
        return false;
    }
    memoNext_ += static_cast<uint32_t>((length + 1) / kMemoBlockSize + 1);
    if (memoBatch_.size() >= kFlushSize)
        return flushMemo();
    return true;
}

bool BulkAppender::flushMemo() {
    if (!ok_ || memoBatch_.empty())
        return ok_;
    uint32_t length = static_cast<uint32_t>(memoBatch_.size());
    uint32_t done = 0;
    ok_ = table_.memo_.writeAt(static_cast<uint32_t>(memoBatchStart_), memoBatch_.data(), length, &done) &&
          done == length;
    memoBatch_.clear();
    return ok_;
}

bool BulkAppender::finish() {
    if (finished_)
        return ok_;
    finished_ = true;
    // Memo texts before the records that point at them, the memo header, and the count last of all.
    flushMemo();
    flushRecords();
    uint32_t done = 0;
    if (ok_ && memoStarted_) {
        put32(table_.memoHeader_, memoNext_);
        ok_ = table_.memo_.writeAt(0, table_.memoHeader_, sizeof table_.memoHeader_, &done) &&
              done == sizeof table_.memoHeader_;
    }
    if (ok_ && count_ > firstCount_) {
        uint8_t bytes[4];
        put32(bytes, count_);
        ok_ = table_.table_.writeAt(4, bytes, 4, &done) && done == 4;
    }
    if (!ok_) {
        rollBack();
        return false;
    }
    if (memoStarted_) {
        table_.memoNextFree_ = memoNext_;
        table_.memo_.unlock(0, kMemoBlockSize);
    }
    table_.header_.recordCount = count_;
    if (table_.open_ && count_ > firstCount_) {
        table_.recNo_ = static_cast<long>(count_);
        table_.bof_ = table_.eof_ = false;
        if (table_.readRecord(table_.recNo_, false) != dbf::ReadResult::Read)
            memset(table_.record_.data(), 0, table_.header_.recordLength);
    }
    return true;
}

void BulkAppender::abandon() {
    if (finished_)
        return;
    finished_ = true;
    ok_ = false;
    rollBack();
}

// The files get their old ends and the memo header its old counter. The records stay when the count on
// disk cannot be put back: a count ahead of the records would be worse than a partial append.
void BulkAppender::rollBack() {
    records_.clear();
    memoBatch_.clear();
    if (!table_.open_)
        return;
    uint8_t bytes[4];
    uint32_t done = 0;
    if (table_.recordCountOnDisk() != firstCount_) {
        put32(bytes, firstCount_);
        if (!table_.table_.writeAt(4, bytes, 4, &done) || done != 4 || table_.recordCountOnDisk() != firstCount_) {
            table_.header_.recordCount = table_.recordCountOnDisk();
            if (memoStarted_)
                table_.memo_.unlock(0, kMemoBlockSize);
            return;
        }
    }
    count_ = written_ = firstCount_;
    table_.table_.truncateAt(tableSize_);
    if (endMarker_) {
        char marker = 0x1A;
        table_.table_.writeAt(tableSize_ - 1, &marker, 1, &done);
    }
    if (memoStarted_) {
        table_.memo_.writeAt(0, memoHeader_, sizeof memoHeader_, &done);
        memcpy(table_.memoHeader_, memoHeader_, sizeof memoHeader_);
        table_.memo_.truncateAt(memoSize_);
        table_.memo_.unlock(0, kMemoBlockSize);
    }
    table_.header_.recordCount = firstCount_;
}
