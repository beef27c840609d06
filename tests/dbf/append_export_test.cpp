// Text and HTML export and appendFrom: the text round trip into an empty copy, the line rules of the text
// import, appending a table by field names with memo texts, the HTML page byte for byte.
#include <gtest/gtest.h>

#include "base/find.h"
#include "tests/dbf/maint_test_util.h"

namespace {

using namespace std::string_literals;
using dbftest::field;
using dbftest::readAll;
using dbftest::writeAll;
using mainttest::fileRecords;

class AppendExport : public dbftest::DbfTest {
  protected:
    std::string text(const std::string& name) {
        auto bytes = readAll(name);
        return std::string(bytes.begin(), bytes.end());
    }
    std::string name_ = dir_.file("T.DBF");
    std::string out_ = dir_.file("OUT.TXT");
};

TEST_F(AppendExport, TextExportThenAppendIntoAnEmptyCopyReproducesTheFieldBytes) {
    mainttest::makeSample(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.goTo(3));
    ASSERT_EQ(1, t.exportText(out_.c_str()));
    EXPECT_EQ(3, t.recNo());
    EXPECT_TRUE(t.oemConversion());
    EXPECT_FALSE(t.holdsTableLock());
    auto records = fileRecords(name_);
    ASSERT_EQ(5u, records.size());
    std::string expected;
    for (const auto& r : records)
        expected += r.substr(1) + "\r\n";  // deleted records too, without their flag
    EXPECT_EQ(expected, text(out_));

    char copyName[512] = {};
    ASSERT_EQ(1, t.copyStructure(copyName));
    dbf copy(copyName);
    ASSERT_EQ(1, copy.open(1));
    ASSERT_EQ(1, copy.appendFrom(out_.c_str()));
    EXPECT_TRUE(copy.oemConversion());
    EXPECT_FALSE(copy.holdsTableLock());
    auto copied = fileRecords(copyName);
    ASSERT_EQ(records.size(), copied.size());
    int memo = t.fieldOffset(5);
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(' ', copied[i][0]);  // every record comes in live
        EXPECT_EQ(records[i].substr(1, memo - 1), copied[i].substr(1, memo - 1)) << "record " << i + 1;
        EXPECT_EQ(std::string(10, '\0'), copied[i].substr(memo));  // memo fields are set empty
    }
}

TEST_F(AppendExport, TextExportLeavesHiddenRecordsOutAndAnEmptyTableGivesAnEmptyFile) {
    mainttest::makeSample(name_);
    setting(SET_DELETED, "1");
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.exportText(out_.c_str()));
    auto records = fileRecords(name_);
    EXPECT_EQ(records[0].substr(1) + "\r\n" + records[2].substr(1) + "\r\n" + records[3].substr(1) + "\r\n",
              text(out_));
    char zapped[512] = {};
    ASSERT_EQ(1, t.zapToNew(zapped));
    dbf empty(zapped);
    ASSERT_EQ(1, empty.open(1));
    writeAll(out_, "junk");
    ASSERT_EQ(1, empty.exportText(out_.c_str()));
    EXPECT_EQ(0u, readAll(out_).size());
}

TEST_F(AppendExport, TextLinesAreCutToTheRecordAndNormalisedByType) {
    FieldDef defs[] = {field("C", 'C', 4), field("N", 'N', 6, 2), field("D", 'D', 8), field("L", 'L', 1),
                       field("M", 'M', 10)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 5));
    ASSERT_EQ(1, t.open(1));
    // Record layout without the flag: C(4) N(6) D(8) L(1) M(10) = 29 bytes.
    std::string lines =
        "abcd  1.5 20240229y123456789012345 and more behind the record\r\n"s  // cut at 29
        "ab\r\n"                                                              // short: blanks
        "wxyz12345620240230t\r\n"                                             // 123456, 30 Feb
        "\r\n"                                                                // an empty line
        "a\rb\0  -2  19990101F"s;                                             // unterminated
    writeAll(out_, lines);
    ASSERT_EQ(1, t.appendFrom(out_.c_str()));
    auto records = fileRecords(name_);
    ASSERT_EQ(5u, records.size());
    const std::string m(10, '\0');
    EXPECT_EQ(" abcd  1.5020240229T" + m, records[0]);
    EXPECT_EQ(" ab    0.00        F" + m, records[1]);
    EXPECT_EQ(" wxyz              T"s + m, records[2]);  // too wide for two decimals: left blank
    EXPECT_EQ("       0.00        F" + m, records[3]);
    EXPECT_EQ(" a\rb\0 -2.0019990101F"s + m, records[4]);
    EXPECT_EQ(1, t.refusedValues());
}

TEST_F(AppendExport, ATrailingEmptyLineIsNoRecordAndWideRecordsRoundTrip) {
    // Records of 3 x 250 characters: far past the 512-character lines of a plain line reader.
    FieldDef defs[] = {field("A", 'C', 250), field("B", 'C', 250), field("C", 'C', 250)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 3));
    ASSERT_EQ(1, t.open(1));
    std::string a(250, 'a'), b(250, 'b'), c(249, 'c');
    dbftest::appendRows(t, {{a, b, c}, {"x", "", "z"}});
    ASSERT_EQ(1, t.exportText(out_.c_str()));
    writeAll(out_, text(out_) + "\r\n");
    ASSERT_EQ(1, t.appendFrom(out_.c_str()));
    auto records = fileRecords(name_);
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ(records[0], records[2]);
    EXPECT_EQ(records[1], records[3]);
    EXPECT_EQ(4, t.recCount());
}

TEST_F(AppendExport, AppendingATableMatchesFieldsByNameAndCarriesMemoTexts) {
    mainttest::makeSample(name_);
    // NOTE memo <- NOTE memo; NAME C8 <- NAME; TEXT memo <- CITY text; MEMOC C5 <- NOTE memo, cut; X stays blank.
    std::string target = dir_.file("TARGET.DBF");
    FieldDef defs[] = {field("note", 'M', 10), field("Name", 'C', 8), field("X", 'C', 2), field("AMOUNT", 'C', 10)};
    dbf t(target.c_str());
    ASSERT_EQ(1, t.create(defs, 4));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{"", "old"}});
    ASSERT_EQ(1, t.appendFrom(name_.c_str()));
    EXPECT_EQ(6, t.recNo());  // left on the last appended record
    EXPECT_FALSE(t.holdsTableLock());
    EXPECT_TRUE(t.oemConversion());
    auto rows = mainttest::sampleRows();
    ASSERT_EQ(6, t.recCount());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(1, t.goTo(i + 2));
        EXPECT_EQ(0, t.isDeleted());
        EXPECT_EQ(rows[i].memo, t.readMemo(t.getField(0)));
        EXPECT_EQ(rows[i].fields[0].substr(0, 8), mainttest::rtrim(t.getField(1)));
        EXPECT_EQ("  ", std::string(t.getField(2)));
    }
    EXPECT_EQ("     12.50", std::string(t.goTo(2) ? t.getField(3) : ""));
    // The source table is free again.
    dbf source(name_.c_str());
    ASSERT_EQ(1, source.open(1));
    EXPECT_EQ(1, source.lockTable());
}

TEST_F(AppendExport, AppendedNumbersTooWideForTheirFieldAreLeftBlankAndCounted) {
    std::string source = dir_.file("WIDE.DBF");
    FieldDef wide[] = {field("AMOUNT", 'N', 10, 2), field("NAME", 'C', 4)};
    dbf s(source.c_str());
    ASSERT_EQ(1, s.create(wide, 2));
    ASSERT_EQ(1, s.open(1));
    dbftest::appendRows(s, {{"25621.96", "a"}, {"12.5", "b"}, {"-1000", "c"}});
    s.close();
    FieldDef narrow[] = {field("AMOUNT", 'N', 5, 2), field("NAME", 'C', 4)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(narrow, 2));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.appendFrom(source.c_str()));
    EXPECT_EQ(2, t.refusedValues());
    auto records = fileRecords(name_);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ("      a   ", records[0]);
    EXPECT_EQ(" 12.50b   ", records[1]);
    EXPECT_EQ("      c   ", records[2]);
}

TEST_F(AppendExport, MemoAndTextFieldsConvertBothWays) {
    FieldDef from[] = {field("A", 'M', 10), field("B", 'C', 20)};
    FieldDef to[] = {field("A", 'C', 5), field("B", 'M', 10)};
    std::string source = dir_.file("FROM.DBF");
    {
        dbf s(source.c_str());
        ASSERT_EQ(1, s.create(from, 2));
        ASSERT_EQ(1, s.open(1));
        dbftest::appendRows(s, {{"", "text to memo"}});
        ASSERT_EQ(1, s.lockRecord());
        ASSERT_EQ(1, s.writeMemo(0, "memo into a short field"));
        ASSERT_EQ(1, s.unlock());
    }
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(to, 2));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.appendFrom(source.c_str()));
    EXPECT_STREQ("memo ", t.getField(0));
    EXPECT_EQ("text to memo        ", std::string(t.readMemo(t.getField(1))));  // the field text, not trimmed
}

// Language-driver bytes of the source and the target: OEM 852 (0x64) or Windows 1250 (0xC8). Whichever
// way the text moves, the target shows the same letters ("\xE1rv\xED" is "árví" in Windows-1250).
TEST_F(AppendExport, TextKeepsItsLettersBetweenOemAndWindowsCodePageTables) {
    const uint8_t drivers[][2] = {{0x64, 0xC8}, {0xC8, 0x64}, {0x64, 0x64}, {0xC8, 0xC8}};
    FieldDef defs[] = {field("NAME", 'C', 4), field("NOTE", 'M', 10)};
    for (const auto& d : drivers) {
        SCOPED_TRACE(std::to_string(d[0]) + " into " + std::to_string(d[1]));
        std::string source = dir_.file("FROM.DBF"), target = dir_.file("TO.DBF");
        for (std::string name : {source, target}) {
            dbf maker(name.c_str());
            ASSERT_EQ(1, maker.create(defs, 2));
            auto header = readAll(name);
            header[29] = d[name == source ? 0 : 1];
            writeAll(name, header);
        }
        {
            dbf s(source.c_str());
            ASSERT_EQ(1, s.open(1));
            dbftest::appendRows(s, {{"\xE1rv\xED"}});
            ASSERT_EQ(1, s.lockRecord());
            ASSERT_EQ(1, s.writeMemo(1, "\xE9s \xF5"));
            ASSERT_EQ(1, s.unlock());
        }
        dbf t(target.c_str());
        ASSERT_EQ(1, t.open(1));
        ASSERT_EQ(1, t.appendFrom(source.c_str()));
        ASSERT_EQ(1, t.goTo(1));
        EXPECT_STREQ("\xE1rv\xED", t.getField(0));
        EXPECT_STREQ("\xE9s \xF5", t.readMemo(t.getField(1)));
    }
}

TEST_F(AppendExport, HiddenSourceRecordsStayOutAndOwnNameOrMissingFilesAreRefused) {
    mainttest::makeSample(name_);
    std::string target = dir_.file("TARGET.DBF");
    auto defs = mainttest::sampleFields();
    dbf t(target.c_str());
    ASSERT_EQ(1, t.create(defs.data(), static_cast<int>(defs.size())));
    ASSERT_EQ(1, t.open(1));
    setting(SET_DELETED, "1");
    ASSERT_EQ(1, t.appendFrom(name_.c_str()));
    EXPECT_EQ(3, t.recCount());
    auto before = readAll(target);
    EXPECT_EQ(0, t.appendFrom(target.c_str()));
    std::string missing = dir_.file("MISSING.TXT");
    EXPECT_EQ(0, t.appendFrom(missing.c_str()));
    EXPECT_EQ(0, fileExists(missing.c_str()));
    EXPECT_EQ(before, readAll(target));
    EXPECT_FALSE(t.holdsTableLock());
}

TEST_F(AppendExport, AppendingBehindAnEndMarkerWrittenElsewhere) {
    FieldDef defs[] = {field("ID", 'C', 3)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 1));
    ASSERT_EQ(1, t.open(1));
    dbftest::appendRows(t, {{"one"}});
    t.close();
    auto bytes = readAll(name_);
    bytes.push_back(0x1A);
    writeAll(name_, bytes);
    writeAll(out_, "two\r\nsix\r\n");
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.appendFrom(out_.c_str()));
    auto after = readAll(name_);
    ASSERT_EQ(bytes.size() + 8, after.size());
    EXPECT_EQ(std::string(" one two six\x1A"), std::string(after.end() - 13, after.end()));
    EXPECT_EQ(3, t.recCount());
}

TEST_F(AppendExport, TheHtmlPageByteForByte) {
    FieldDef defs[] = {field("NAME", 'C', 6), field("N", 'N', 4, 1), field("NOTE", 'M', 10)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 3));
    ASSERT_EQ(1, t.open(1));
    // "Šá<&" in Windows-1250: Š and á come back from code page 852 as the same bytes.
    dbftest::appendRows(t, {{"\x8A\xE1<&", "2.5"}, {"gone", "1"}, {"", ""}});
    ASSERT_EQ(1, t.lockTable());
    ASSERT_EQ(1, t.goTo(2));
    ASSERT_EQ(1, t.deleteRecord());
    ASSERT_EQ(1, t.unlock());
    const char* titles[] = {"Name", "A>B", "Note"};
    std::string page = dir_.file("P.HTM");
    ASSERT_EQ(1, t.exportHtml(page.c_str(), "Kft & Co", titles));
    std::string expected =
        "<HTML>\r\n<HEAD>\r\n<META http-equiv=\"content-type\" content=\"TEXT/HTML; charset=windows-1250\">"
        "<TITLE>Kft &amp; Co</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<TABLE border=\"1\" frame=box>\r\n<CAPTION>" +
        page +
        "</CAPTION><TR><TH>Name</TH><TH>A&gt;B</TH><TH>Note</TH></TR>\r\n"
        "<TR><TD>\x8A\xE1&lt;&amp;  </TD><TD> 2.5</TD><TD>&nbsp;</TD></TR>\r\n"
        "<TR><TD>&nbsp;</TD><TD> 0.0</TD><TD>&nbsp;</TD></TR>\r\n"
        "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
    EXPECT_EQ(expected, text(page));
    EXPECT_EQ(2, t.recNo());
    EXPECT_FALSE(t.holdsTableLock());
}

TEST_F(AppendExport, AnEmptyTableGivesThePageWithTheHeadingRowOnly) {
    FieldDef defs[] = {field("A", 'C', 1)};
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.create(defs, 1));
    ASSERT_EQ(1, t.open(1));
    std::string page = dir_.file("E.HTM");
    ASSERT_EQ(1, t.exportHtml(page.c_str(), "", nullptr));
    std::string body = text(page);
    EXPECT_NE(std::string::npos, body.find("<CAPTION>" + page + "</CAPTION><TR><TH></TH></TR>\r\n</TABLE>"));
}

TEST_F(AppendExport, ExportsRefuseToWriteOverTheirOwnTable) {
    mainttest::makeSample(name_);
    dbf t(name_.c_str());
    ASSERT_EQ(1, t.open(1));
    auto table = readAll(name_), memo = readAll(t.memoFileName());
    EXPECT_EQ(0, t.exportText(name_.c_str()));
    EXPECT_EQ(0, t.exportHtml(t.memoFileName(), "", nullptr));
    EXPECT_EQ(table, readAll(name_));
    EXPECT_EQ(memo, readAll(t.memoFileName()));
    EXPECT_EQ(0, t.exportText(dir_.file("no/such/folder.txt").c_str()));
    EXPECT_FALSE(t.holdsTableLock());
}

}  // namespace
