// dbf maintenance: an empty copy of the structure under a free name (zap), and a copy of the live records
// with their memo texts only (pack). The browse window swaps the new files in.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_platform.h"
#include "dbf/bulk_io.h"
#include "dbf/dbf.h"
#include "dbf/table_job.h"

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
    TableJob job(*this, 0);
    if (!open_ || !out)
        return job.fail(TableError::CannotCreate);
    std::vector<FieldDef> defs(fieldCount_);
    for (int i = 0; i < fieldCount_; ++i) {
        const FieldInfo* info = fieldInfo(i);
        FieldDef& def = defs[static_cast<size_t>(i)];
        memcpy(def.name, info->name, sizeof def.name);
        def.type = info->type;
        def.width = widths_[static_cast<size_t>(i)];
        def.decimals = info->decimals;
    }
    // The table's name followed by a number, from the field count up, that names no file yet. A name too
    // long to open whole is refused: cut back, it would be the table's own name.
    std::string name;
    for (unsigned long n = fieldCount_;; ++n) {
        name = fileName_ + std::to_string(n);
        if (name.size() >= kOutNameSize || name.size() > kMaxFileName)
            return job.fail(TableError::NameTooLong);
        if (!platform::fileExists(name.c_str()))
            break;
    }
    dbf copy(name.c_str());
    copy.oem_ = oem_;  // the language byte then tells readers the same code page as this table's
    copy.languageDriver_ = languageDriver_;
    if (!copy.create(defs.data(), fieldCount_))
        return job.fail(TableError::CannotCreate);
    memcpy(out, name.c_str(), name.size() + 1);
    return job.succeed();
}

int dbf::zapToNew(char* out) {
    if (!lockTable()) {
        lastError_ = TableError::LockRefused;
        return 0;
    }
    int result = copyStructure(out);
    unlock();
    return result;
}

int dbf::packToNew(char* out) {
    if (!out || !lockTable()) {
        lastError_ = TableError::LockRefused;
        return 0;
    }
    if (!copyStructure(out)) {
        unlock();
        return 0;
    }
    dbf target(out);
    if (!target.open(1) || !target.lockTable()) {
        target.close();
        removeTable(out);
        unlock();
        lastError_ = TableError::CannotCreate;
        return 0;
    }
    refreshCount();
    const long last = header_.recordCount < 1 ? 0 : lastReadableRecord();
    TableJob job(*this, static_cast<uint32_t>(last));
    long remembered = recNo_;
    bool sourceOem = oem_, targetOem = target.oem_;
    oem_ = target.oem_ = false;  // bytes are copied as stored
    bool ok = true;
    TableError why = TableError::WriteFailed;
    {
        // Every record but the deleted ones, whether SET_DELETED hides them or not: the records are read
        // in file order in large pieces rather than one movement at a time.
        BulkAppender appender(target);
        const uint32_t length = header_.recordLength;
        std::vector<char> chunk;
        long chunkFirst = 1, chunkCount = 0;
        for (long r = 1; ok && r <= last; ++r) {
            if (!job.step(static_cast<uint32_t>(r - 1))) {
                ok = false;
                break;
            }
            if (r >= chunkFirst + chunkCount) {
                chunkFirst = r;
                chunkCount = std::min<long>(last - r + 1, std::max<long>(1, kChunkSize / length));
                chunk.assign(static_cast<size_t>(chunkCount) * length, '\0');
                uint32_t got = 0;
                // A short last record reads as zeros; a read that fails is no end of the table.
                if (!table_.readAt(static_cast<uint32_t>(recordPosition(r)), chunk.data(),
                                   static_cast<uint32_t>(chunk.size()), &got) &&
                    got == 0) {
                    why = TableError::ReadFailed;
                    ok = false;
                    break;
                }
            }
            memcpy(record_.data(), &chunk[static_cast<size_t>(r - chunkFirst) * length], length);
            if (isDeleted())
                continue;
            appender.startRecord();
            ok = appender.copyFields(*this);
            for (int i = 0; ok && i < fieldCount_; ++i)
                if (fieldType(i) == 'M')
                    ok = appender.putMemo(i, readMemoWhole(getField(i)).c_str());
            ok = ok && appender.endRecord();
        }
        ok = appender.conclude(ok);
    }
    goTo(remembered);
    oem_ = sourceOem;
    target.oem_ = targetOem;
    target.close();
    if (!ok)
        removeTable(out);
    unlock();
    if (!ok) {
        out[0] = '\0';
        return job.fail(why);
    }
    return job.succeed();
}
