// Interoperability with independent readers and writers: dbfread (code page 852), shapelib and GDAL read
// what the engine writes, and the engine reads (and appends to) what shapelib, GDAL and LibreOffice write.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/codepage.h"
#include "tests/dbf/dbf_test_util.h"

namespace {

using dbftest::appendRows;
using dbftest::field;
using dbftest::readAll;

using Rows = std::vector<std::vector<std::string>>;

std::string python() {
    const char* configured = getenv("QUARROW_PYTHON");
    return configured && *configured ? configured : "/usr/bin/python3";
}

// Runs one oracle command; false when the reader is not installed or failed.
bool oracle(const std::string& arguments) {
    std::string command = python() + " " QUARROW_SOURCE_DIR "/tests/dbf/oracle.py " + arguments;
    return std::system(command.c_str()) == 0;
}

bool havePythonModule(const char* module) {
    std::string command = python() + " -c 'import " + module + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// The oracle's output: names first, then one row per record.
Rows readRows(const std::string& name) {
    Rows rows;
    std::ifstream in(name, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> row;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t'))
            row.push_back(cell);
        if (!line.empty() && line.back() == '\t')
            row.push_back("");
        rows.push_back(row);
    }
    return rows;
}

// The oracle writes line breaks and tabs inside values as \r, \n and \t.
std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::string trimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

std::string trimBoth(std::string s) {
    s = trimRight(s);
    size_t i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string toOem(std::string s) {
    ansiToOem(&s[0]);
    return s;
}

// What the engine writes: accented text (Windows-1250 in the interface), numbers, dates, logicals, memos.
struct Sample {
    std::string name, amount, day, ok, note;
};

const std::vector<Sample>& samples() {
    static const std::vector<Sample> rows = {
        // "Árvíztűrő tükörfúrógép" in Windows-1250
        {"\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p", "1234.5", "20240229", "T", "short \xE9 memo"},
        {"plain", "-0.25", "", "F", std::string(2000, 'x') + "\xF5"},
        {"", "0", "19000101", "F", ""},
        {"\xD6\xDC\xD3\xD5\xDA\xC9\xC1\xDB\xCD", "99999.99", "20000101", "T", "line1\r\nline2"},
    };
    return rows;
}

class Interop : public dbftest::DbfTest {
  protected:
    // Writes the samples through create, appendBlank, setField and writeMemo; record 3 is deleted.
    void writeSamples() {
        FieldDef defs[] = {field("NAME", 'C', 30), field("AMOUNT", 'N', 9, 2), field("DAY", 'D', 8),
                           field("OK", 'L', 1), field("NOTE", 'M', 10)};
        dbf t(ours_.c_str());
        ASSERT_EQ(1, t.create(defs, 5));
        ASSERT_EQ(1, t.open(1));
        ASSERT_EQ(1, t.lockTable());
        for (const auto& s : samples()) {
            ASSERT_EQ(1, t.appendBlank());
            t.setField(0, s.name.c_str());
            t.setField(1, s.amount.c_str());
            t.setField(2, s.day.c_str());
            t.setField(3, s.ok.c_str());
            ASSERT_EQ(1, t.writeRecord());
            if (!s.note.empty()) {
                ASSERT_EQ(1, t.writeMemo(4, s.note.c_str()));
            }
        }
        t.goTo(3);
        ASSERT_EQ(1, t.deleteRecord());
        t.unlock();
    }
    std::string ours_ = dir_.file("OURS.DBF");
    std::string out_ = dir_.file("out.txt");
};

TEST_F(Interop, DbfreadReadsTablesAndMemosWeWrite) {
    if (!havePythonModule("dbfread"))
        GTEST_SKIP() << "dbfread is not installed";
    writeSamples();
    ASSERT_TRUE(oracle("dbfread " + ours_ + " " + out_));
    Rows rows = readRows(out_);
    ASSERT_EQ(4u, rows.size());  // names and the three live records
    EXPECT_EQ((std::vector<std::string>{"NAME", "AMOUNT", "DAY", "OK", "NOTE"}), rows[0]);
    size_t r = 1;
    for (size_t i = 0; i < samples().size(); ++i) {
        if (i == 2)
            continue;  // deleted
        const Sample& s = samples()[i];
        const auto& row = rows[r++];
        ASSERT_EQ(5u, row.size()) << i;
        EXPECT_EQ(s.name, row[0]);
        EXPECT_DOUBLE_EQ(atof(s.amount.c_str()), atof(row[1].c_str()));
        EXPECT_EQ(s.day.empty() ? "<null>" : s.day, row[2]);
        EXPECT_EQ(s.ok, row[3]);
        EXPECT_EQ(escaped(s.note), row[4]);
    }
}

TEST_F(Interop, ShapelibReadsTheBytesWeWrite) {
    writeSamples();
    DBFHandle h = DBFOpen(ours_.c_str(), "rb");
    ASSERT_NE(nullptr, h);
    ASSERT_EQ(4, DBFGetRecordCount(h));
    ASSERT_EQ(5, DBFGetFieldCount(h));
    char name[12];
    int width = 0, decimals = 0;
    EXPECT_EQ(FTDouble, DBFGetFieldInfo(h, 1, name, &width, &decimals));
    EXPECT_STREQ("AMOUNT", name);
    EXPECT_EQ(9, width);
    EXPECT_EQ(2, decimals);
    for (int i = 0; i < 4; ++i) {
        const Sample& s = samples()[static_cast<size_t>(i)];
        EXPECT_EQ(i == 2, DBFIsRecordDeleted(h, i) != 0);
        EXPECT_EQ(toOem(s.name), trimBoth(DBFReadStringAttribute(h, i, 0)));
        EXPECT_DOUBLE_EQ(atof(s.amount.c_str()), DBFReadDoubleAttribute(h, i, 1));
        EXPECT_EQ(s.day, trimBoth(DBFReadStringAttribute(h, i, 2)));
        EXPECT_EQ(s.ok, DBFReadStringAttribute(h, i, 3));
    }
    DBFClose(h);
}

TEST_F(Interop, GdalReadsWhatWeWriteByTheLanguageDriver) {
    if (!havePythonModule("osgeo.ogr"))
        GTEST_SKIP() << "GDAL's Python module is not installed";
    writeSamples();
    ASSERT_TRUE(oracle("gdal-read " + ours_ + " " + out_));
    Rows rows = readRows(out_);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(samples()[0].name, rows[1][0]);
    EXPECT_EQ(samples()[3].name, rows[3][0]);
    EXPECT_EQ("1234.50", rows[1][1]);
    EXPECT_EQ("2024/02/29", rows[1][2]);
}

TEST_F(Interop, WeReadAndExtendWhatGdalWrites) {
    if (!havePythonModule("osgeo.ogr"))
        GTEST_SKIP() << "GDAL's Python module is not installed";
    std::string theirs = dir_.file("G.dbf");
    ASSERT_TRUE(oracle("gdal-write " + theirs));
    auto before = readAll(theirs);
    ASSERT_EQ(0x1A, before.back());
    dbf t(theirs.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(3, t.recCount());
    EXPECT_EQ(254, t.fieldInfo(0)->width);
    EXPECT_EQ(std::string(samples()[0].name), trimRight(t.getField(0)));
    EXPECT_EQ("1", trimBoth(t.getField(1)));
    EXPECT_EQ("1.500", trimBoth(t.getField(2)));
    EXPECT_STREQ("20240229", t.getField(3));
    t.skip(1);
    EXPECT_EQ("-42", trimBoth(t.getField(1)));
    EXPECT_EQ("1234.567", trimBoth(t.getField(2)));
    t.skip(1);
    EXPECT_EQ(3, t.recNo());
    EXPECT_EQ("", trimRight(t.getField(0)));
    appendRows(t, {{"\xFA\x6A \xE9rt\xE9k", "7", "2.25", "2025-01-31"}});  // "új érték"
    t.close();
    ASSERT_TRUE(oracle("dbfread " + theirs + " " + out_));
    Rows rows = readRows(out_);
    ASSERT_EQ(5u, rows.size());
    EXPECT_EQ((std::vector<std::string>{"\xFA\x6A \xE9rt\xE9k", "7", "2.25", "20250131"}), rows[4]);
    ASSERT_TRUE(oracle("gdal-read " + theirs + " " + out_));
    rows = readRows(out_);
    ASSERT_EQ(5u, rows.size());
    EXPECT_EQ("\xFA\x6A \xE9rt\xE9k", rows[4][0]);
    EXPECT_EQ(0x1A, readAll(theirs).back());
}

TEST_F(Interop, FloatFieldsAndWindowsCodePagesBothWays) {
    // shapelib writes F fields in a table that declares a Windows code page; we read and extend it without
    // the OEM conversion, and shapelib and dbfread (decoding by the language driver) read what we added.
    for (const char* codePage : {"LDID/200", "LDID/87", "LDID/3"}) {
        SCOPED_TRACE(codePage);
        std::string theirs = dir_.file(std::string("W") + (codePage + 5) + ".dbf");
        DBFHandle h = DBFCreateEx(theirs.c_str(), codePage);
        ASSERT_NE(nullptr, h);
        ASSERT_EQ(0, DBFAddField(h, "TITLE", FTString, 10, 0));
        ASSERT_EQ(1, DBFAddNativeFieldType(h, "AMOUNT", 'F', 9, 2));
        ASSERT_EQ(2, DBFAddNativeFieldType(h, "CNT", 'F', 5, 0));
        ASSERT_TRUE(DBFWriteStringAttribute(h, 0, 0, "\xE9rt\xE9k"));  // "érték" in 1250 and 1252 alike
        ASSERT_TRUE(DBFWriteDoubleAttribute(h, 0, 1, 12.25));
        ASSERT_TRUE(DBFWriteDoubleAttribute(h, 0, 2, 7));
        DBFClose(h);
        dbf t(theirs.c_str());
        ASSERT_EQ(1, t.open(1));
        EXPECT_EQ("\xE9rt\xE9k", trimRight(t.getField(0)));
        EXPECT_EQ("12.25", trimBoth(t.getField(1)));
        EXPECT_EQ("7", trimBoth(t.getField(2)));
        appendRows(t, {{"\xFCt\xE9s", "-3.5", "-12"}});  // "ütés"
        t.close();
        h = DBFOpen(theirs.c_str(), "rb");
        ASSERT_NE(nullptr, h);
        ASSERT_EQ(2, DBFGetRecordCount(h));
        EXPECT_STREQ("\xFCt\xE9s", DBFReadStringAttribute(h, 1, 0));
        EXPECT_DOUBLE_EQ(-3.5, DBFReadDoubleAttribute(h, 1, 1));
        EXPECT_DOUBLE_EQ(-12, DBFReadDoubleAttribute(h, 1, 2));
        DBFClose(h);
        if (!havePythonModule("dbfread"))
            continue;
        ASSERT_TRUE(oracle("dbfread-ldid " + theirs + " " + out_));
        Rows rows = readRows(out_);
        ASSERT_EQ(3u, rows.size());
        ASSERT_EQ(3u, rows[2].size());
        EXPECT_EQ("\xE9rt\xE9k", rows[1][0]);
        EXPECT_EQ("\xFCt\xE9s", rows[2][0]);
        EXPECT_DOUBLE_EQ(-3.5, atof(rows[2][1].c_str()));
        EXPECT_DOUBLE_EQ(-12, atof(rows[2][2].c_str()));
    }
}

TEST_F(Interop, WeReadAndExtendWhatShapelibWrites) {
    std::string theirs = dir_.file("S.dbf");
    DBFHandle h = DBFCreateEx(theirs.c_str(), "LDID/100");
    ASSERT_NE(nullptr, h);
    ASSERT_EQ(0, DBFAddField(h, "TITLE", FTString, 254, 0));
    ASSERT_EQ(1, DBFAddField(h, "QTY", FTInteger, 6, 0));
    ASSERT_EQ(2, DBFAddField(h, "PRICE", FTDouble, 10, 3));
    ASSERT_EQ(3, DBFAddNativeFieldType(h, "WHEN", 'D', 8, 0));
    const char* titles[] = {"first", "\x82rt\x82k", "third"};  // "érték" in code page 852
    char date[] = "20231115";
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(DBFWriteStringAttribute(h, i, 0, titles[i]));
        ASSERT_TRUE(DBFWriteIntegerAttribute(h, i, 1, (i + 1) * 10));
        ASSERT_TRUE(DBFWriteDoubleAttribute(h, i, 2, 0.125 * (i + 1)));
        ASSERT_TRUE(DBFWriteAttributeDirectly(h, i, 3, date));
    }
    DBFClose(h);
    auto bytes = readAll(theirs);
    ASSERT_EQ(0x0D, bytes[32 * 5]);  // a single terminator byte after the descriptors
    dbf t(theirs.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(3, t.recCount());
    t.goTo(2);
    EXPECT_EQ("\xE9rt\xE9k", trimRight(t.getField(0)));
    EXPECT_EQ("20", trimBoth(t.getField(1)));
    EXPECT_EQ("0.250", trimBoth(t.getField(2)));
    EXPECT_STREQ("20231115", t.getField(3));
    appendRows(t, {{"fourth", "40", "0.5", "20240101"}, {"fifth", "50", "-1", "20240102"}});
    t.close();
    h = DBFOpen(theirs.c_str(), "rb");
    ASSERT_NE(nullptr, h);
    ASSERT_EQ(5, DBFGetRecordCount(h));
    EXPECT_STREQ("third", DBFReadStringAttribute(h, 2, 0));
    EXPECT_STREQ("fourth", DBFReadStringAttribute(h, 3, 0));
    EXPECT_EQ(50, DBFReadIntegerAttribute(h, 4, 1));
    EXPECT_DOUBLE_EQ(-1.0, DBFReadDoubleAttribute(h, 4, 2));
    EXPECT_STREQ("20240102", DBFReadStringAttribute(h, 4, 3));
    DBFClose(h);
}

TEST_F(Interop, LibreOfficeBiblioOpensAndReads) {
    const char* candidates[] = {
        "/usr/lib/libreoffice/presets/database/biblio/biblio.dbf",
        "/usr/lib/libreoffice/share/basis/presets/database/biblio/biblio.dbf",
        "/opt/libreoffice/presets/database/biblio/biblio.dbf",
        "/usr/share/libreoffice/presets/database/biblio/biblio.dbf",
    };
    std::string found;
    for (const char* c : candidates)
        if (std::filesystem::exists(c))
            found = c;
    if (found.empty())
        GTEST_SKIP() << "LibreOffice's biblio.dbf is not on this machine";
    // Work on a copy: the bundled file stays as it is.
    std::string copy = dir_.file("biblio.dbf");
    std::filesystem::copy_file(found, copy);
    dbf t(copy.c_str());
    ASSERT_EQ(1, t.open(0));
    long count = t.recCount();
    EXPECT_GT(count, 0);
    long seen = 0;
    for (t.goTop(); !t.isEof(); t.skip(1)) {
        ++seen;
        for (int i = 0; i < t.fieldCount(); ++i)
            t.getField(i);
    }
    EXPECT_EQ(count, seen);
}

}  // namespace
