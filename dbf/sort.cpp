// dbf::sortRecords: reads the whole table into memory, orders the records by a key of fields joined by
// "+" (raw bytes, or folded through a Hungarian collation table) and writes them back or to a new file.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "base/file_platform.h"
#include "base/settings.h"
#include "base/text_rules.h"
#include "dbf/bulk_io.h"
#include "dbf/dbf.h"
#include "dbf/maintenance.h"
#include "dbf/table_job.h"
#include "dbf/table_swap.h"

namespace {

uint64_t memoryLimit = 0;

// One record in the order being built: the first eight key bytes as a number, then the record's index.
struct SortEntry {
    uint64_t prefix;
    uint32_t index;
};

template <typename T>
std::unique_ptr<T[]> allocate(uint64_t count, uint64_t& budget) {
    uint64_t bytes = count * sizeof(T);
    if (count > SIZE_MAX / sizeof(T) || (memoryLimit && bytes > budget))
        return nullptr;
    budget -= memoryLimit ? bytes : 0;
    return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<size_t>(count)]);
}

// The key fields of one record, back to back: each at most its width, ending early at a zero byte, mapped
// through the collation table when one is given; zero bytes fill the rest, so comparing whole keys with
// memcmp orders them as comparing the terminated key texts does.
void buildKey(const char* record,
              const int* fields,
              const uint16_t* offsets,
              const uint16_t* widths,
              const unsigned char* table,
              unsigned char* key,
              size_t keyLength) {
    size_t k = 0;
    for (const int* f = fields; *f >= 0; ++f) {
        const char* p = record + offsets[*f];
        for (uint16_t i = 0; i < widths[*f] && p[i] != '\0'; ++i)
            key[k++] = table ? table[static_cast<unsigned char>(p[i])] : static_cast<unsigned char>(p[i]);
    }
    memset(key + k, 0, keyLength - k);
}

uint64_t prefixOf(const unsigned char* key, size_t keyLength) {
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i)
        v = (v << 8) | (i < keyLength ? key[i] : 0);
    return v;
}

// Reads up to `count` bytes from the start of the file; the number read.
uint32_t readWhole(files& file, char* buffer, uint32_t count) {
    uint32_t total = 0, got = 0;
    while (total < count && file.readAt(total, buffer + total, std::min<uint32_t>(count - total, 1u << 24), &got) &&
           got > 0)
        total += got;
    return total;
}

bool copyFile(const char* from, const char* to) {
    files in(from, 512), out(to, 512);
    if (!in.openFile(platform::kGenericRead, platform::kShareRead | platform::kShareWrite, platform::kOpenExisting,
                     platform::kAttributeNormal) ||
        !out.openFile(platform::kGenericRead | platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                      platform::kCreateAlways, platform::kAttributeNormal))
        return false;
    std::vector<char> buffer(1 << 16);
    uint32_t at = 0, got = 0, written = 0;
    for (;;) {
        if (!in.readAt(at, buffer.data(), static_cast<uint32_t>(buffer.size()), &got))
            return in.isEof() != 0;  // a failed read is no end of the file
        if (!out.writeAt(at, buffer.data(), got, &written) || written != got)
            return false;
        at += got;
    }
}

}  // namespace

void setSortMemoryLimit(uint64_t bytes) {
    memoryLimit = bytes;
}

int dbf::sortRecords(const char* key, const char* outName) {
    TableJob job(*this, 0);
    if (!open_ || !key)
        return 0;

    // The key list: field indexes in key order, ended by -1; a name that is no field ends it there.
    int fields[kMaxSortKeyFields + 1];
    int used = 0;
    size_t keyLength = 0;
    for (const char* p = key; used < kMaxSortKeyFields;) {
        const char* end = strchr(p, '+');
        std::string name = end ? std::string(p, end) : std::string(p);
        int index = fieldIndex(name.c_str());
        if (index < 0)
            break;
        fields[used++] = index;
        // The widths bound what every record's key can take, so the limit holds for all of them.
        keyLength += widths_[static_cast<size_t>(index)];
        if (!end)
            break;
        p = end + 1;
    }
    fields[used] = -1;
    // The output must not be the table's memo file, whatever the name's spelling.
    bool inPlace = !outName || !*outName || platform::sameFile(outName, fileName_.c_str()) == 1;
    std::string memoCopy = inPlace ? std::string() : memoNameFor(outName);
    if (!inPlace && (platform::sameFile(outName, memoName_.c_str()) != 0 ||
                     (header_.version == 0x83 && platform::sameFile(memoCopy.c_str(), memoName_.c_str()) != 0) ||
                     (header_.version == 0x83 && platform::sameFile(memoCopy.c_str(), fileName_.c_str()) != 0)))
        return job.fail(TableError::SameFile);
    // The count is read under the lock: a record appended just before it is sorted with the others.
    if (!lockTable())
        return job.fail(TableError::LockRefused);
    long count = recCount();
    if (count == 0 || used == 0 || keyLength >= static_cast<size_t>(kMaxSortKeyLength)) {
        unlock();
        return count == 0 ? job.succeed() : 0;  // an empty table is sorted by any key
    }
    job.setTotal(static_cast<uint32_t>(count));

    long remembered = recNo_;
    std::string savedOem = setting(SET_OEMTOANSI);
    setting(SET_OEMTOANSI, oem_ ? "1" : "0");
    const unsigned char* table = nullptr;
    unsigned char folding[256];
    if (strcmp(setting(SET_HUN_CMP), "1") == 0) {
        CollationTable which = strcmp(setting(SET_OEMTOANSI), "1") == 0 ? kCollateOem : kCollateAnsi;
        for (int c = 0; c < 256; ++c)
            folding[c] = collateByte(static_cast<unsigned char>(c), which);
        table = folding;
    }

    TableError why = TableError::ReadFailed;  // also when the records do not fit into memory
    const uint32_t headerLength = header_.headerLength, recordLength = header_.recordLength;
    const uint64_t area = headerLength + static_cast<uint64_t>(count) * recordLength;
    uint64_t budget = memoryLimit;
    std::unique_ptr<char[]> work = allocate<char>(area, budget);
    std::unique_ptr<unsigned char[]> keys = work ? allocate<unsigned char>(count * keyLength, budget) : nullptr;
    std::unique_ptr<SortEntry[]> order = keys ? allocate<SortEntry>(count, budget) : nullptr;
    uint32_t got = 0;
    if (order && area <= 0xFFFFFFFFull)
        got = readWhole(table_, work.get(), static_cast<uint32_t>(area));
    bool ok = order && got >= headerLength;
    uint32_t n = ok ? (got - headerLength) / recordLength : 0;
    const char* records = work ? work.get() + headerLength : nullptr;
    // A header that counts more records than the file holds: the whole records present are sorted.
    for (uint32_t i = 0; ok && i < n; ++i) {
        ok = job.step(i);
        unsigned char* k = keys.get() + static_cast<size_t>(i) * keyLength;
        buildKey(records + static_cast<size_t>(i) * recordLength, fields, offsets_.data(), widths_.data(), table, k,
                 keyLength);
        order[i] = {prefixOf(k, keyLength), i};
    }
    if (ok) {
        const unsigned char* keyBase = keys.get();
        std::sort(order.get(), order.get() + n, [&](const SortEntry& a, const SortEntry& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix;
            if (keyLength <= 8)
                return false;
            return memcmp(keyBase + static_cast<size_t>(a.index) * keyLength + 8,
                          keyBase + static_cast<size_t>(b.index) * keyLength + 8, keyLength - 8) < 0;
        });
        keys.reset();
        ok = job.step(n);
    }
    if (ok) {
        why = TableError::CannotCreate;
        files output(inPlace ? fileName_.c_str() : outName, 512);
        ok = inPlace || output.openFile(platform::kGenericRead | platform::kGenericWrite,
                                        platform::kShareRead | platform::kShareWrite, platform::kOpenAlways,
                                        platform::kFlagRandomAccess | platform::kAttributeNormal);
        if (ok) {
            why = TableError::WriteFailed;
            BufferedOutput writer(inPlace ? table_ : output, inPlace ? headerLength : 0);
            if (!inPlace)
                writer.append(work.get(), headerLength);
            for (uint32_t i = 0; i < n; ++i)
                writer.append(records + static_cast<size_t>(order[i].index) * recordLength, recordLength);
            ok = writer.flush();
            if (!ok && inPlace) {
                // Records half rewritten: the table gets its records back in their old order.
                BufferedOutput restore(table_, headerLength);
                restore.append(records, static_cast<size_t>(n) * recordLength);
                restore.flush();
            }
            output.closeFile();
            // The sorted copy's memo fields point into this table's memo file: it goes beside the copy.
            if (ok && !inPlace && header_.version == 0x83)
                ok = copyFile(memoName_.c_str(), memoCopy.c_str());
            if (!ok && !inPlace) {
                platform::deleteFile(outName);
                if (header_.version == 0x83)
                    platform::deleteFile(memoCopy.c_str());
            }
        }
    }
    order.reset();
    work.reset();
    goTo(remembered);
    setting(SET_OEMTOANSI, savedOem.empty() ? "0" : savedOem.c_str());
    unlock();
    return ok ? job.succeed() : job.fail(why);
}
