// dbf maintenance: an empty copy of the structure under a free name (zap), and a copy of the live records
// with their memo texts only (pack). The browse window swaps the new files in.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_platform.h"
#include "base/find.h"
#include "dbf/bulk_io.h"
#include "dbf/dbf.h"

namespace {

constexpr size_t kOutNameSize = 512;
constexpr long kChunkSize = 1 << 20;

// Removes a new table and its memo file after a failed copy, so that nobody swaps a partial copy in.
void removeTable(const char* name) {
    std::string memo = name;
    if (!memo.empty())
        memo.back() = 'T';
    platform::deleteFile(name);
    platform::deleteFile(memo.c_str());
}

}  // namespace

int dbf::copyStructure(char* out) {
    if (!open_ || !out)
        return 0;
    std::vector<FieldDef> defs(fieldCount_);
    for (int i = 0; i < fieldCount_; ++i) {
        const FieldInfo* info = fieldInfo(i);
        FieldDef& def = defs[static_cast<size_t>(i)];
        memcpy(def.name, info->name, sizeof def.name);
        def.type = info->type;
        def.width = widths_[static_cast<size_t>(i)];
        def.decimals = info->decimals;
    }
    // The table's name followed by a number, from the field count up, that names no file yet.
    std::string name;
    for (unsigned long n = fieldCount_;; ++n) {
        name = fileName_ + std::to_string(n);
        if (name.size() >= kOutNameSize)
            return 0;
        if (!fileExists(name.c_str()))
            break;
    }
    memcpy(out, name.c_str(), name.size() + 1);
    dbf copy(name.c_str());
    copy.oem_ = oem_;  // the language byte then tells readers the same code page as this table's
    copy.languageDriver_ = languageDriver_;
    return copy.create(defs.data(), fieldCount_);
}

int dbf::zapToNew(char* out) {
    if (!lockTable())
        return 0;
    int result = copyStructure(out);
    unlock();
    return result;
}

int dbf::packToNew(char* out) {
    if (!out || !lockTable())
        return 0;
    if (!copyStructure(out)) {
        unlock();
        return 0;
    }
    dbf target(out);
    if (!target.open(1) || !target.lockTable()) {
        target.close();
        removeTable(out);
        unlock();
        return 0;
    }
    long remembered = recNo_;
    bool sourceOem = oem_, targetOem = target.oem_;
    oem_ = target.oem_ = false;  // bytes are copied as stored
    bool ok = true;
    {
        // Every record but the deleted ones, whether SET_DELETED hides them or not: the records are read
        // in file order in large pieces rather than one movement at a time.
        BulkAppender appender(target);
        refreshCount();
        const uint32_t length = header_.recordLength;
        const long last = header_.recordCount < 1 ? 0 : lastReadableRecord();
        std::vector<char> chunk;
        long chunkFirst = 1, chunkCount = 0;
        for (long r = 1; ok && r <= last; ++r) {
            if (r >= chunkFirst + chunkCount) {
                chunkFirst = r;
                chunkCount = std::min<long>(last - r + 1, std::max<long>(1, kChunkSize / length));
                chunk.assign(static_cast<size_t>(chunkCount) * length, '\0');
                uint32_t got = 0;
                table_.readAt(static_cast<uint32_t>(recordPosition(r)), chunk.data(),
                              static_cast<uint32_t>(chunk.size()), &got);  // a short last record reads as zeros
            }
            memcpy(record_.data(), &chunk[static_cast<size_t>(r - chunkFirst) * length], length);
            if (isDeleted())
                continue;
            appender.startRecord();
            ok = appender.copyFields(*this);
            for (int i = 0; ok && i < fieldCount_; ++i)
                if (fieldType(i) == 'M')
                    ok = appender.putMemo(i, readMemo(getField(i)));
            ok = ok && appender.endRecord();
        }
        ok = appender.finish() && ok;
    }
    goTo(remembered);
    refusedValues_ = target.refusedValues_;
    oem_ = sourceOem;
    target.oem_ = targetOem;
    target.close();
    if (!ok)
        removeTable(out);
    unlock();
    return ok ? 1 : 0;
}
