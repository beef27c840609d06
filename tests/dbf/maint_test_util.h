// Shared helpers of the maintenance and export tests: a sample table with memos and deleted records, the
// records of a table file as raw bytes, and the independent readers of tests/dbf/maint_oracle.py.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/dbf/dbf_test_util.h"

namespace mainttest {

using Rows = std::vector<std::vector<std::string>>;

// NAME C30, CITY C12, AMOUNT N10.2, DAY D, OK L, NOTE M. The texts are Windows-1250; the table stores
// them in code page 852 while the OEM conversion is on.
inline std::vector<FieldDef> sampleFields() {
    using dbftest::field;
    return {field("NAME", 'C', 30), field("CITY", 'C', 12), field("AMOUNT", 'N', 10, 2),
            field("DAY", 'D', 8),   field("OK", 'L', 1),    field("NOTE", 'M', 10)};
}

struct SampleRow {
    std::vector<std::string> fields;  // NAME .. OK
    std::string memo;                 // empty: no memo
    bool deleted;
};

inline std::vector<SampleRow> sampleRows() {
    return {
        {{"\xC1rv\xEDzt\xFBr\xF5", "Szeged", "12.5", "20240229", "T"}, "first memo", false},  // Árvíztűrő
        {{"Kov\xE1"
          "cs",
          "P\xE9"
          "cs",
          "-3", "19991231", "F"},
         std::string(700, 'k'),
         true},                                                                          // Kovács, Pécs
        {{"<b>&amp;", "a<b", "0", "", "T"}, "", false},                                  // markup characters
        {{"T\xFCk\xF6rf\xFAr\xF3g\xE9p", "", "99999.99", "20000101", "F"}, "x", false},  // Tükörfúrógép
        {{"", "", "", "", "T"}, std::string(511, 'm'), true},
    };
}

// Creates the sample table and fills it: the memos go in under the table lock, then the deleted flags.
// Every memo is written twice, so the memo file holds dead blocks as an edited table does.
inline void makeSample(const std::string& name, const std::vector<SampleRow>& rows = sampleRows()) {
    auto defs = sampleFields();
    dbf t(name.c_str());
    ASSERT_EQ(1, t.create(defs.data(), static_cast<int>(defs.size())));
    ASSERT_EQ(1, t.open(1));
    ASSERT_EQ(1, t.lockTable());
    for (const auto& row : rows) {
        ASSERT_EQ(1, t.appendBlank());
        for (size_t i = 0; i < row.fields.size(); ++i) {
            ASSERT_EQ(1, t.setField(static_cast<int>(i), row.fields[i].c_str()));
        }
        ASSERT_EQ(1, t.writeRecord());
        if (!row.memo.empty()) {
            ASSERT_EQ(1, t.writeMemo(5, (row.memo + std::string(600, '-')).c_str()));
            ASSERT_EQ(1, t.writeMemo(5, row.memo.c_str()));
        }
        if (row.deleted) {
            ASSERT_EQ(1, t.deleteRecord());
        }
    }
    ASSERT_EQ(1, t.unlock());
}

// The records of a table file, each record length bytes with its flag byte.
inline std::vector<std::string> fileRecords(const std::string& name) {
    auto bytes = dbftest::readAll(name);
    std::vector<std::string> out;
    if (bytes.size() < 12)
        return out;
    uint32_t count = dbftest::le32(bytes, 4);
    uint16_t header = dbftest::le16(bytes, 8), length = dbftest::le16(bytes, 10);
    for (uint32_t i = 0; i < count && header + (i + 1) * size_t{length} <= bytes.size(); ++i)
        out.emplace_back(bytes.begin() + header + i * length, bytes.begin() + header + (i + 1) * length);
    return out;
}

inline std::string python() {
    const char* configured = getenv("QUARROW_PYTHON");
    return configured && *configured ? configured : "/usr/bin/python3";
}

inline bool havePythonModule(const char* module) {
    std::string command = python() + " -c 'import " + module + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// Runs one reader of maint_oracle.py and returns its lines split at tabs; empty when it failed.
inline Rows oracle(const char* reader, const std::string& input, const std::string& output) {
    std::string command =
        python() + " " QUARROW_SOURCE_DIR "/tests/dbf/maint_oracle.py " + reader + " '" + input + "' '" + output + "'";
    Rows rows;
    if (std::system(command.c_str()) != 0)
        return rows;
    std::ifstream in(output, std::ios::binary);
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

inline std::string unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

inline std::string rtrim(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

}  // namespace mainttest
