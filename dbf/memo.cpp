// dbf memo operations: texts of M fields in the companion memo file, in 512-byte blocks ended by 0x1A.
#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "base/values.h"
#include "dbf/dbf.h"

namespace {

constexpr char kMemoEnd = 0x1A;
constexpr uint64_t kMaxPosition = 0xFFFFFFFFull;

// The block number a field holds: its text read as a decimal number (blanks read as 0).
uint64_t blockNumber(const char* text, size_t length) {
    size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    uint64_t n = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        n = n * 10 + static_cast<uint64_t>(text[i] - '0');
        if (n > kMaxPosition)
            return kMaxPosition;
    }
    return n;
}

// The block number as a memo field holds it: in 10 characters, or in a narrower field's own width (a
// number that does not fit comes out wider than the field).
Str memoBlockText(uint32_t block, int width) {
    return formatInteger(static_cast<long>(block), width < 10 ? width : 10);
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

const char* dbf::readMemo(const char* fieldText) {
    if (memoText_.empty())
        return "";
    char* text = memoText_.data();
    text[0] = '\0';
    if (!fieldText || !memo_.isOpen())
        return text;
    uint64_t block = blockNumber(fieldText, strlen(fieldText));
    uint64_t position = block * kMemoBlockSize;
    if (block == 0 || position >= kMaxPosition)
        return text;
    const size_t limit = kMemoBufferSize - 1;
    size_t collected = 0;
    while (collected < limit) {
        uint32_t want = static_cast<uint32_t>(limit - collected < kMemoBlockSize ? limit - collected : kMemoBlockSize);
        uint32_t got = 0;
        if (position + want > kMaxPosition ||
            !memo_.readAt(static_cast<uint32_t>(position), text + collected, want, &got) || got == 0)
            break;
        size_t end = 0;
        while (end < got && text[collected + end] != kMemoEnd && text[collected + end] != '\0')
            ++end;
        collected += end;
        if (end < got || got < want)
            break;
        position += got;
    }
    text[collected] = '\0';
    if (oem_)
        oemToAnsiBytes(text, collected);
    return text;
}

std::string dbf::readMemoWhole(const char* fieldText) {
    std::string text;
    if (!fieldText || !memo_.isOpen())
        return text;
    uint64_t position = blockNumber(fieldText, strlen(fieldText)) * kMemoBlockSize;
    if (position == 0)
        return text;
    char block[kMemoBlockSize];
    for (;;) {
        uint32_t got = 0;
        if (position + kMemoBlockSize > kMaxPosition ||
            !memo_.readAt(static_cast<uint32_t>(position), block, kMemoBlockSize, &got) || got == 0)
            break;
        size_t end = 0;
        while (end < got && block[end] != kMemoEnd && block[end] != '\0')
            ++end;
        text.append(block, end);
        if (end < got || got < kMemoBlockSize)
            break;
        position += got;
    }
    return text;
}

bool dbf::setMemoBlock(int index, uint32_t block) {
    Str number = memoBlockText(block, widths_[index]);
    if (number.length() > widths_[index])
        return false;
    setField(index, number.c_str());
    return true;
}

int dbf::writeMemo(int index, const char* text) {
    if (!open_ || index < 0 || index >= fieldCount_)
        return 0;
    if (!memo_.isOpen() || memo_.seek(0, platform::kFileBegin) != 0)
        return -1;
    // Without the record's lock (or the table's) another holder may be changing this record's memo.
    if (!(tableLock_ || isCurrentRangeLocked()))
        return 0;
    if (!memo_.lock(0, kMemoBlockSize))
        return 0;
    int result = 0;
    uint32_t got = 0;
    memset(memoHeader_, 0, sizeof memoHeader_);
    memo_.readAt(0, memoHeader_, sizeof memoHeader_, &got);
    if (got < sizeof memoHeader_)
        memoHeader_[16] = 0x03;  // a memo file shorter than its header gets the header create writes
    uint32_t next = le32(memoHeader_);
    // Blocks already in the file are never handed out again, even when a damaged header counts fewer.
    uint64_t used = (static_cast<uint64_t>(memo_.size()) + kMemoBlockSize - 1) / kMemoBlockSize;
    if (next < used)
        next = static_cast<uint32_t>(used);
    if (next < 1)
        next = 1;

    // The text in the file's code page with its end marker, in a work copy.
    size_t length = text ? strlen(text) : 0;
    std::vector<char> bytes(length + 2, '\0');
    if (length)
        memcpy(bytes.data(), text, length);
    if (oem_)
        ansiToOem(bytes.data());
    bytes[length] = kMemoEnd;
    uint32_t count = static_cast<uint32_t>(length + 1);
    uint32_t written = 0;

    const char* field = &record_[offsets_[index]];
    uint64_t current = blockNumber(field, widths_[index]);
    uint64_t currentAt = current * kMemoBlockSize;
    if (length < kMemoBlockSize - 1 && current >= 2 && current < next && currentAt + count <= kMaxPosition) {
        // A short text overwrites the block it already has.
        result =
            memo_.writeAt(static_cast<uint32_t>(currentAt), bytes.data(), count, &written) && written == count ? 1 : 0;
    } else if (static_cast<uint64_t>(next) * kMemoBlockSize + count + kMemoBlockSize <= kMaxPosition) {
        bool ok = true;
        if (next == 1) {
            // Block 1 never holds text: fill the rest of the header and the start of block 1.
            std::vector<char> filler(kMemoBlockSize, '\0');
            next = 2;
            ok =
                memo_.writeAt(sizeof memoHeader_, filler.data(), kMemoBlockSize, &written) && written == kMemoBlockSize;
        }
        // The text, then the counter that gives its blocks away, then the record's pointer: whatever
        // write fails, no record points at a block the counter still calls free.
        uint32_t start = next;
        uint32_t after = next + count / kMemoBlockSize + 1;
        ok = ok && memoBlockText(start, widths_[index]).length() <= widths_[index];
        ok = ok && memo_.writeAt(start * kMemoBlockSize, bytes.data(), count, &written) && written == count;
        if (ok) {
            uint8_t header[sizeof memoHeader_];
            memcpy(header, memoHeader_, sizeof header);
            for (int i = 0; i < 4; ++i)
                header[i] = static_cast<uint8_t>(after >> (8 * i));
            ok = memo_.writeAt(0, header, sizeof header, &written) && written == sizeof header;
            if (ok) {
                memcpy(memoHeader_, header, sizeof header);
                memoNextFree_ = after;
            }
        }
        if (ok) {
            std::string old(field, widths_[index]);
            setMemoBlock(index, start);
            if (!writeRecord()) {
                memcpy(&record_[offsets_[index]], old.data(), old.size());
                ok = false;
            }
        }
        result = ok ? 1 : 0;
    }
    memo_.unlock(0, kMemoBlockSize);
    return result;
}
