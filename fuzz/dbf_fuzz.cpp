// libFuzzer target: arbitrary bytes as a table file plus its memo file; opens, walks both ways, reads every
// field and every memo, and appends and writes a memo, so hostile headers and record areas meet every path.
// The table bytes are also read as text lines, forwards and back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/files.h"
#include "base/settings.h"
#include "dbf/dbf.h"

namespace {

std::string workDir() {
    static std::string dir;
    if (dir.empty()) {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        char pattern[64];
        snprintf(pattern, sizeof pattern, "%s/quarrow-fuzz-XXXXXX", base);
        if (!mkdtemp(pattern))
            abort();
        dir = pattern;
    }
    return dir;
}

void writeFile(const std::string& name, const uint8_t* data, size_t size) {
    FILE* f = fopen(name.c_str(), "wb");
    if (!f)
        abort();
    if (size)
        fwrite(data, 1, size, f);
    fclose(f);
}

// Reads everything the grid would show of the current record.
void readRecord(dbf& t) {
    for (int i = 0; i < t.fieldCount(); ++i) {
        const char* text = t.getField(i);
        volatile size_t n = strlen(text);
        (void)n;
        if (t.fieldType(i) == 'M') {
            const char* memo = t.readMemo(text);
            volatile size_t m = strlen(memo);
            (void)m;
        }
        t.fieldInfo(i);
    }
    t.isDeleted();
    t.recordText();
}

// Reads the same bytes as CR LF text lines forwards and back, with a line limit taken from the input.
void walkLines(const std::string& name, int limit) {
    files text(name.c_str(), 64);
    if (!text.openFile(platform::kGenericRead, platform::kShareRead, platform::kOpenExisting, 0))
        return;
    std::string buffer(static_cast<size_t>(limit) + 80, '\0');
    uint32_t got = 0;
    uint32_t size = text.size();
    for (uint32_t i = 0; i <= size && text.readLine(&buffer[0], limit, &got); ++i) {
    }
    for (uint32_t i = 0; i <= size && text.tell() > 0; ++i)
        text.readPrevLine(&buffer[0], limit, &got);
    text.seek(0, platform::kFileBegin);
    text.moveLines(3, &buffer[0]);
    text.moveLines(-2, &buffer[0]);
}

}  // namespace

// Input: 1 control byte, 2 bytes table length (little-endian), the table bytes, then the memo bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    uint8_t control = data[0];
    size_t tableSize = data[1] | (data[2] << 8);
    data += 3;
    size -= 3;
    if (tableSize > size)
        tableSize = size;
    static const std::string table = workDir() + "/F.DBF";
    static const std::string memo = workDir() + "/F.DBT";
    writeFile(table, data, tableSize);
    writeFile(memo, data + tableSize, size - tableSize);

    resetSettings();
    setting(SET_DELETED, control & 1 ? "1" : "0");
    setting(SET_OEMTOANSI, control & 2 ? "1" : "0");
    if (control & 16)
        walkLines(table, 1 + (control >> 5) * 9);
    dbf t(table.c_str());
    if (!t.open(1))
        return 0;
    // Forward and backward walks are bounded by what the file can hold: they must end by themselves.
    long steps = 0;
    for (t.goTop(); !t.isEof() && steps < 100000; t.skip(1), ++steps)
        readRecord(t);
    for (t.goBottom(); !t.isBof() && steps < 200000; t.skip(-1), ++steps)
        readRecord(t);
    t.goTo(static_cast<long>(control) * 3);
    readRecord(t);
    t.skip(-2);
    t.skip(5);
    readRecord(t);
    if (control & 4) {
        if (t.lockTable()) {
            if (t.appendBlank()) {
                for (int i = 0; i < t.fieldCount(); ++i)
                    t.setField(i, i % 2 ? "2024.02.29" : "-12.5e3 x");
                t.writeRecord();
                for (int i = 0; i < t.fieldCount(); ++i)
                    if (t.fieldType(i) == 'M')
                        t.writeMemo(i, control & 8 ? "short" : std::string(700, 'm').c_str());
                readRecord(t);
            }
            t.unlock();
        }
        t.goTop();
        if (t.lockRecord()) {
            t.deleteRecord();
            t.recallRecord();
            t.unlock();
        }
    }
    t.close();
    return 0;
}
