// libFuzzer target: arbitrary bytes as a table file plus its memo file, kept in an in-memory file system
// with Windows' rules. Opens, walks both ways, reads every field and every memo, appends and writes a memo,
// then exports, packs, sorts, zaps and appends into what it opened, so hostile headers and record areas
// meet every path. The table bytes are also read as text lines, forwards and back.
#include <cstdint>
#include <cstring>
#include <string>

#include "base/files.h"
#include "base/settings.h"
#include "dbf/dbf.h"
#include "dbf/maintenance.h"
#include "tests/dbf/memory_fs.h"

namespace {

const char* const kTable = "Q:\\F.DBF";
const char* const kMemo = "Q:\\F.DBT";
constexpr size_t kCommandRecords = 256;

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

// Walks a table forwards and back; the walks are bounded by what the file can hold and must end by themselves.
void walk(dbf& t, long limit) {
    long steps = 0;
    for (t.goTop(); !t.isEof() && steps < limit; t.skip(1), ++steps)
        readRecord(t);
    for (t.goBottom(); !t.isBof() && steps < 2 * limit; t.skip(-1), ++steps)
        readRecord(t);
}

// Reads the same bytes as CR LF text lines forwards and back, with a line limit taken from the input.
void walkLines(const char* name, int limit) {
    files text(name, 64);
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

void writeRecords(dbf& t, uint8_t control) {
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

// The whole-table commands, each into new in-memory files; what pack writes is opened and walked too.
void runCommands(dbf& t, uint8_t control) {
    t.exportText("Q:\\OUT.TXT");
    t.exportHtml("Q:\\OUT.HTM", "F", nullptr);
    char packed[512] = {};
    if (t.packToNew(packed)) {
        dbf copy(packed);
        if (copy.open(0))
            walk(copy, 1000);
    }
    if (t.fieldCount() > 0) {
        std::string key = t.fieldInfo((control >> 5) % t.fieldCount())->name;
        if (control & 16)
            key += std::string("+") + t.fieldInfo(0)->name;
        t.sortRecords(key.c_str(), "Q:\\SORTED.DBF");
    }
    char zapped[512] = {};
    t.zapToNew(zapped);
    if (packed[0])
        t.appendFrom(packed);
    t.appendFrom("Q:\\OUT.TXT");
    walk(t, 1000);
}

}  // namespace

// Input: 1 control byte, 2 bytes table length (little-endian), the table bytes, then the memo bytes.
// Control bits: 1 hides deleted records, 2 converts OEM text, 4 writes and runs the whole-table commands,
// 8 writes a short memo, 16 reads the table as text lines (and sorts on two fields); bits 5-7 pick the
// line limit and the sort field.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    // Files live in memory for the whole run: no system call per operation, nothing left on disk.
    // Files are held to 256 KB: a hostile record count makes an append land far behind the records, and a
    // larger disk would only make every command walk a file of blank records.
    static dbftest::MemoryFileSystem memory(256u << 10);
    static const bool installed = (platform::installFileSystem(&memory), setSortMemoryLimit(256u << 10), true);
    (void)installed;
    uint8_t control = data[0];
    size_t tableSize = data[1] | (data[2] << 8);
    data += 3;
    size -= 3;
    if (tableSize > size)
        tableSize = size;
    memory.put(kTable, data, tableSize);
    memory.put(kMemo, data + tableSize, size - tableSize);

    resetSettings();
    setting(SET_DELETED, control & 1 ? "1" : "0");
    setting(SET_OEMTOANSI, control & 2 ? "1" : "0");
    if (control & 16)
        walkLines(kTable, 1 + (control >> 5) * 9);
    dbf t(kTable);
    if (!t.open(1)) {
        memory.clear();
        return 0;
    }
    walk(t, 100000);
    t.goTo(static_cast<long>(control) * 3);
    readRecord(t);
    t.skip(-2);
    t.skip(5);
    readRecord(t);
    if (control & 4) {
        writeRecords(t, control);
        // The commands treat every record alike: a few hundred show all their paths, more only cost time.
        size_t bytes = memory.bytes(kTable).size();
        if (bytes < static_cast<size_t>(t.headerLength()) + kCommandRecords * static_cast<size_t>(t.recordLength()))
            runCommands(t, control);
    }
    t.close();
    memory.clear();  // everything the run allocated is freed in the run: libFuzzer's leak check stays idle
    return 0;
}
