// dbf records: movement, hidden deleted records, setField formatting by type, OEM conversion, locks,
// appending after an end marker, and damaged record areas.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::appendRows;
using dbftest::field;
using dbftest::le32;
using dbftest::readAll;
using dbftest::writeAll;

class DbfRecords : public dbftest::DbfTest {
  protected:
    // A table of `count` records whose field ID holds the record number; records in `deleted` are deleted.
    void makeTable(int count, std::vector<int> deleted = {}) {
        FieldDef defs[] = {field("ID", 'N', 5), field("NAME", 'C', 10)};
        dbf maker(name_.c_str());
        ASSERT_EQ(1, maker.create(defs, 2));
        ASSERT_EQ(1, maker.open(1));
        std::vector<std::vector<std::string>> rows;
        for (int i = 1; i <= count; ++i)
            rows.push_back({std::to_string(i), "name" + std::to_string(i)});
        appendRows(maker, rows);
        for (int r : deleted) {
            ASSERT_EQ(1, maker.goTo(r));
            ASSERT_EQ(1, maker.lockRecord());
            ASSERT_EQ(1, maker.deleteRecord());
            ASSERT_EQ(1, maker.unlock());
        }
    }
    int id(dbf& t) { return atoi(t.getField(0)); }
    std::string name_ = dir_.file("R.DBF");
};

TEST_F(DbfRecords, SkipStopsAtBothEndsAndKeepsTheEndRecord) {
    makeTable(3);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(0));
    EXPECT_EQ(1, t.recNo());
    EXPECT_EQ(0, t.isBof());
    EXPECT_EQ(0, t.isEof());
    t.skip(1);
    t.skip(1);
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ(0, t.isEof());
    t.skip(1);
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ(1, t.isEof());
    EXPECT_EQ(3, id(t));
    t.goTop();
    t.skip(-1);
    EXPECT_EQ(1, t.recNo());
    EXPECT_EQ(1, t.isBof());
    t.skip(2);
    EXPECT_EQ(3, t.recNo());
    t.skip(-5);
    EXPECT_EQ(1, t.recNo());
    EXPECT_EQ(1, t.isBof());
    t.skip(10);
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ(1, t.isEof());
}

TEST_F(DbfRecords, GoToGoBottomAndGoToPastTheEnd) {
    makeTable(5);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(0));
    t.goTo(4);
    EXPECT_EQ(4, t.recNo());
    EXPECT_EQ(4, id(t));
    t.goBottom();
    EXPECT_EQ(5, t.recNo());
    EXPECT_EQ(0, t.isEof());
    t.goTo(99);
    EXPECT_EQ(5, t.recNo());
    EXPECT_EQ(5, id(t));
    t.goTo(0);
    EXPECT_EQ(1, t.recNo());
    EXPECT_EQ(5, t.recCount());
}

TEST_F(DbfRecords, DeletedRecordsAreHiddenOnlyWhenTheSettingSaysSo) {
    makeTable(10, {1, 2, 5, 6, 8, 9, 10});
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(0));
    EXPECT_EQ(1, t.recNo());
    EXPECT_EQ(1, t.isDeleted());
    setting(SET_DELETED, "1");
    t.goTop();
    EXPECT_EQ(3, t.recNo());
    t.skip(1);
    EXPECT_EQ(4, t.recNo());
    t.skip(1);
    EXPECT_EQ(7, t.recNo());
    // Only deleted records ahead: back to the start of the skip, with EOF.
    t.skip(1);
    EXPECT_EQ(7, t.recNo());
    EXPECT_EQ(1, t.isEof());
    EXPECT_EQ(7, id(t));
    t.goTo(4);
    t.skip(-1);
    EXPECT_EQ(3, t.recNo());
    t.skip(-1);
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ(1, t.isBof());
    t.goBottom();
    EXPECT_EQ(7, t.recNo());
    t.goTo(5);
    EXPECT_EQ(7, t.recNo());  // goTo lands on the next visible record
    setting(SET_DELETED, "0");
    t.goTo(5);
    EXPECT_EQ(5, t.recNo());
}

TEST_F(DbfRecords, SetFieldFormatsByType) {
    FieldDef defs[] = {field("C", 'C', 6), field("N0", 'N', 5), field("N2", 'N', 5, 2), field("N63", 'N', 8, 3),
                       field("D", 'D', 8), field("L", 'L', 1),  field("M", 'M', 10),    field("S", 'S', 6)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 8));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.appendBlank());
    struct Case {
        int field;
        const char* text;
        std::string stored;
    };
    const Case cases[] = {
        {0, "abc", "abc   "},
        {0, "abcdefgh", "abcdef"},
        {1, "42", "   42"},
        {1, "  -7xyz", "   -7"},
        {1, "99999", "99999"},
        {1, "abc", "    0"},
        {1, "0x1F", "    0"},
        {1, "inf", "    0"},
        {2, "1.499", " 1.50"},
        {2, "1.5", " 1.50"},
        {2, "-0.001", " 0.00"},
        {3, "-1.5", "  -1.500"},
        {4, "2024-02-30", "        "},
        {4, "2024.02.29", "20240229"},
        {4, "1900.02.29", "        "},
        {4, "x2000y01z01", "20000101"},
        {4, "2024", "        "},
        {5, "yes", "T"},
        {5, "t", "T"},
        {5, "no", "F"},
        {5, "", "F"},
        {6, "12", std::string("12\0\0\0\0\0\0\0\0", 10)},
        {7, "12:30", std::string("12:30\0", 6)},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(1, t.setField(c.field, c.text));
        EXPECT_EQ(c.stored, std::string(t.recordBuffer() + t.fieldOffset(c.field), c.stored.size()))
            << "field " << c.field << " text " << c.text;
    }
    EXPECT_EQ(0, t.setField(8, "x"));
    EXPECT_EQ(0, t.setField(-1, "x"));
}

TEST_F(DbfRecords, ANumberTooWideForItsFieldIsRefusedAndTheFieldKept) {
    FieldDef defs[] = {field("N0", 'N', 5), field("N2", 'N', 5, 2), field("N3", 'N', 5, 3)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 3));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.appendBlank());
    const struct {
        int field;
        const char* text;
    } cases[] = {{0, "123456"}, {0, "-99999"}, {0, "1e10"}, {1, "123456"}, {1, "100"}, {1, "99.995"}, {2, "-0.5"}};
    for (const auto& c : cases) {
        ASSERT_EQ(1, t.setField(c.field, "1"));
        std::string before(t.recordBuffer(), static_cast<size_t>(t.recordLength()));
        EXPECT_EQ(0, t.setField(c.field, c.text)) << c.text;
        EXPECT_EQ(before, std::string(t.recordBuffer(), static_cast<size_t>(t.recordLength()))) << c.text;
    }
}

TEST_F(DbfRecords, TextIsOemOnDiskAndAnsiInTheInterface) {
    FieldDef defs[] = {field("NAME", 'C', 8)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 1));
    ASSERT_EQ(1, t.open(1));
    // "\xE1rv\xED" is árví in Windows-1250; code page 852 stores á as 0xA0 and í as 0xA1.
    appendRows(t, {{"\xE1rv\xED"}});
    auto b = readAll(name_);
    EXPECT_EQ(std::string(" \xA0rv\xA1    "), std::string(b.begin() + 32 * 2 + 2, b.begin() + 32 * 2 + 2 + 9));
    EXPECT_STREQ("\xE1rv\xED    ", t.getField(0));
    EXPECT_STREQ("\xE1rv\xED    ", t.recordText());
    // recordText converts a copy: the record buffer keeps the file's bytes.
    EXPECT_EQ('\xA0', t.recordBuffer()[1]);
    t.setOemConversion(false);
    EXPECT_STREQ("\xA0rv\xA1    ", t.getField(0));
}

TEST_F(DbfRecords, TablesInAWindowsCodePageKeepTheirTextUnconverted) {
    // Language driver byte 29 -> whether field and memo text is converted between OEM and ANSI.
    const struct {
        uint8_t driver;
        bool converted;
    } cases[] = {{0x00, true}, {0x64, true}, {0xC8, false}, {0x03, false}, {0x57, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.driver));
        FieldDef defs[] = {field("NAME", 'C', 4), field("NOTE", 'M', 10)};
        {
            dbf maker(name_.c_str());
            ASSERT_EQ(1, maker.create(defs, 2));
        }
        auto header = readAll(name_);
        header[29] = c.driver;
        writeAll(name_, header);
        dbf t(name_.c_str());
        ASSERT_EQ(1, t.open(1));
        appendRows(t, {{"\xE1rv\xED"}});  // "árví" in Windows-1250
        ASSERT_EQ(1, t.lockRecord());
        ASSERT_EQ(1, t.writeMemo(1, "\xE9"));
        t.unlock();
        auto b = readAll(name_);
        auto memo = readAll(t.memoFileName());
        EXPECT_EQ(c.converted ? "\xA0rv\xA1" : "\xE1rv\xED",
                  std::string(b.begin() + 32 * 3 + 3, b.begin() + 32 * 3 + 7));
        EXPECT_EQ(c.converted ? '\x82' : '\xE9', static_cast<char>(memo.at(1024)));
        EXPECT_STREQ("\xE1rv\xED", t.getField(0));
        EXPECT_STREQ("\xE9", t.readMemo(t.getField(1)));
        // A copy of the structure declares the same code page.
        char copy[512];
        ASSERT_EQ(1, t.copyStructure(copy));
        EXPECT_EQ(c.driver ? c.driver : 0x64, readAll(copy).at(29));
    }
}

TEST_F(DbfRecords, FloatFieldsAreNumberFields) {
    // F(8,2) and F(5,0) as dBase IV writes them: version 0x03, width and decimals in bytes 16 and 17.
    FieldDef defs[] = {field("AMOUNT", 'N', 8, 2), field("COUNT", 'N', 5)};
    {
        dbf maker(name_.c_str());
        ASSERT_EQ(1, maker.create(defs, 2));
    }
    auto bytes = readAll(name_);
    bytes[32 + 11] = bytes[64 + 11] = 'F';
    writeAll(name_, bytes);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    EXPECT_EQ('N', t.fieldType(0));
    EXPECT_EQ(2, t.fieldInfo(0)->decimals);
    appendRows(t, {{"-1.5", "-12"}});
    EXPECT_EQ(std::string("   -1.50  -12"), std::string(t.recordBuffer() + 1, 13));
    EXPECT_EQ(0, t.setField(1, "123456"));
    EXPECT_EQ('F', readAll(name_).at(32 + 11));  // the file keeps its own letter
}

TEST_F(DbfRecords, WriteRecordNeedsTheMatchingLock) {
    makeTable(3);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    t.goTo(2);
    ASSERT_EQ(1, t.setField(1, "changed"));
    EXPECT_EQ(0, t.writeRecord());
    EXPECT_STREQ("changed   ", t.getField(1));  // the buffer keeps the edit
    ASSERT_EQ(1, t.lockRecord());
    EXPECT_EQ(0, t.lockRecord());
    EXPECT_EQ(0, t.lockTable());
    t.goTo(3);
    t.setField(1, "other");
    EXPECT_EQ(0, t.writeRecord());  // the lock is on record 2
    t.goTo(2);
    t.setField(1, "changed");
    EXPECT_EQ(1, t.writeRecord());
    EXPECT_EQ(1, t.unlock());
    EXPECT_EQ(0, t.appendBlank());  // appending needs the table lock
    // A reader must share write access with the open writer (Windows refuses a read-only open then).
    dbf check(name_.c_str());
    ASSERT_EQ(1, check.open(1));
    check.goTo(2);
    EXPECT_STREQ("changed   ", check.getField(1));
    check.goTo(3);
    EXPECT_STREQ("name3     ", check.getField(1));
}

TEST_F(DbfRecords, LocksOfTwoTablesInOneProcessConflict) {
    makeTable(3);
    dbf a(name_.c_str());
    dbf b(name_.c_str());
    ASSERT_EQ(1, a.open(1));
    ASSERT_EQ(1, b.open(1));
    a.goTo(2);
    b.goTo(2);
    ASSERT_EQ(1, a.lockRecord());
    EXPECT_EQ(0, b.lockRecord());
    EXPECT_EQ(0, b.lockTable());
    b.goTo(3);
    EXPECT_EQ(1, b.lockRecord());
    EXPECT_EQ(1, b.unlock());
    EXPECT_EQ(1, a.unlock());
    ASSERT_EQ(1, a.lockTable());
    EXPECT_EQ(0, b.lockRecord());
    EXPECT_EQ(1, a.unlock());
    EXPECT_EQ(1, b.lockRecord());
}

TEST_F(DbfRecords, AForwardWalkSeesWhatAnotherHolderAppendsAndWrites) {
    makeTable(3);
    dbf reader(name_.c_str());
    dbf writer(name_.c_str());
    ASSERT_EQ(1, reader.open(1));
    ASSERT_EQ(1, writer.open(1));
    reader.skip(1);  // record 2; the read-ahead window now holds record 3 as well
    writer.goTo(3);
    ASSERT_EQ(1, writer.lockRecord());
    writer.setField(1, "rewritten");
    ASSERT_EQ(1, writer.writeRecord());
    writer.unlock();
    appendRows(writer, {{"4", "appended"}});
    std::this_thread::sleep_for(std::chrono::milliseconds(kReadAheadLifetimeMs + 20));
    reader.skip(1);
    EXPECT_EQ(3, reader.recNo());
    EXPECT_STREQ("rewritten ", reader.getField(1));
    reader.skip(1);
    EXPECT_EQ(4, reader.recNo());
    EXPECT_EQ(0, reader.isEof());
    EXPECT_STREQ("appended  ", reader.getField(1));
    // goTo reads afresh at once.
    ASSERT_EQ(1, writer.lockRecord());
    writer.setField(1, "again");
    ASSERT_EQ(1, writer.writeRecord());
    writer.unlock();
    reader.goTo(4);
    EXPECT_STREQ("again     ", reader.getField(1));
}

TEST_F(DbfRecords, ARecordLockedElsewhereIsAFailedReadNeverTheEnd) {
    // As on Windows, where a read touching another handle's locked range fails.
    makeTable(5);
    struct Emulation {
        Emulation() { platform::emulateWindowsLocks(true); }
        ~Emulation() { platform::emulateWindowsLocks(false); }
    } emulation;
    dbf holder(name_.c_str()), t(name_.c_str());
    ASSERT_EQ(1, holder.open(1));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, holder.goTo(3));
    ASSERT_EQ(1, holder.lockRecord());
    // The read-ahead window behind record 1 covers the locked record 3: record 2 is read alone.
    ASSERT_EQ(1, t.skip(1));
    EXPECT_EQ(2, t.recNo());
    EXPECT_EQ(2, id(t));
    EXPECT_EQ(0, t.isEof());
    // Record 3 itself cannot be read: a failure, and the record in hand stays current and whole.
    const struct {
        const char* what;
        int (*move)(dbf&);
    } moves[] = {{"skip(1)", [](dbf& d) { return d.skip(1); }},
                 {"goTo(3)", [](dbf& d) { return d.goTo(3); }},
                 {"skip(2)", [](dbf& d) { return d.skip(2); }}};
    for (const auto& m : moves) {
        EXPECT_EQ(0, m.move(t)) << m.what;
        EXPECT_EQ(2, t.recNo()) << m.what;
        EXPECT_EQ(2, id(t)) << m.what;
        EXPECT_EQ(0, t.isEof()) << m.what;
    }
    ASSERT_EQ(1, t.goTo(4));
    EXPECT_EQ(4, id(t));
    EXPECT_EQ(0, t.skip(-1));
    EXPECT_EQ(4, id(t));
    holder.unlock();
    ASSERT_EQ(1, t.skip(-1));
    EXPECT_EQ(3, id(t));
}

TEST_F(DbfRecords, DeleteAndRecall) {
    makeTable(2);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockRecord());
    EXPECT_EQ(1, t.deleteRecord());
    EXPECT_EQ(0, t.deleteRecord());
    EXPECT_EQ(1, t.isDeleted());
    EXPECT_EQ(1, t.recallRecord());
    EXPECT_EQ(0, t.recallRecord());
    EXPECT_EQ(1, t.deleteRecord());
    t.unlock();
    EXPECT_EQ('*', readAll(name_)[98]);  // the flag of record 1, behind the 98-byte header
}

TEST_F(DbfRecords, AppendAfterAnEndMarkerPutsTheRecordWhereReadersLook) {
    makeTable(2);
    auto b = readAll(name_);
    b.push_back(0x1A);
    writeAll(name_, b);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    appendRows(t, {{"3", "third"}});
    auto after = readAll(name_);
    size_t recordLength = 16, header = 98;
    ASSERT_EQ(header + 3 * recordLength + 1, after.size());
    EXPECT_EQ(3u, le32(after, 4));
    EXPECT_EQ(std::string("    3third     "),
              std::string(after.begin() + header + 2 * recordLength + 1, after.begin() + header + 3 * recordLength));
    EXPECT_EQ(0x1A, after.back());
    // Our own tables have no marker and get none.
    t.close();
    makeTable(1);
    dbf own(name_.c_str());
    ASSERT_EQ(1, own.open(1));
    appendRows(own, {{"2", "x"}});
    EXPECT_EQ(header + 2 * recordLength, readAll(name_).size());
}

TEST_F(DbfRecords, DamagedRecordAreasStayReadableAndNeverLoop) {
    makeTable(3);
    auto b = readAll(name_);
    // The header counts 1000 records; the last present one is cut short.
    b[4] = 0xE8;
    b[5] = 0x03;
    b.resize(b.size() - 5);
    writeAll(name_, b);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    EXPECT_EQ(1000, t.recCount());
    int seen = 1;
    while (!t.isEof() && seen < 2000) {
        t.skip(1);
        if (!t.isEof())
            ++seen;
    }
    EXPECT_EQ(3, seen);
    t.goBottom();
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ(std::string("name3\0\0\0\0\0", 10), std::string(t.getField(1), 10));
    t.goTo(2);
    EXPECT_EQ(2, id(t));
    // A count of 4 billion records over an empty record area.
    b.resize(98);
    b[4] = b[5] = b[6] = b[7] = 0xFF;
    writeAll(name_, b);
    dbf huge(name_.c_str());
    ASSERT_EQ(1, huge.open(1));
    huge.skip(1);
    huge.goBottom();
    EXPECT_EQ(1, huge.isEof());
    ASSERT_EQ(1, huge.lockTable());
    EXPECT_EQ(0, huge.appendBlank());
}

}  // namespace
