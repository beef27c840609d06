// Shared helpers of the table engine tests: a fresh temporary folder per test, whole-file reads and
// writes, and small table builders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/settings.h"
#include "dbf/dbf.h"

namespace dbftest {

// A folder created for one test and removed with everything in it afterwards.
class TempDir {
  public:
    TempDir() {
        static unsigned serial = std::random_device{}();
        auto base = std::filesystem::temp_directory_path();
        do
            path_ = base / ("quarrow-dbf-" + std::to_string(++serial));
        while (!std::filesystem::create_directory(path_));
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> readAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeAll(const std::string& name, const std::string& bytes) {
    writeAll(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

inline FieldDef field(const char* name, char type, uint16_t width, uint8_t decimals = 0) {
    FieldDef def = {};
    snprintf(def.name, sizeof def.name, "%s", name);
    def.type = type;
    def.width = width;
    def.decimals = decimals;
    return def;
}

inline uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

inline uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// Appends one record per row (each row's texts in field order) under the table lock.
inline void appendRows(dbf& table, const std::vector<std::vector<std::string>>& rows) {
    ASSERT_EQ(1, table.lockTable());
    for (const auto& row : rows) {
        ASSERT_EQ(1, table.appendBlank());
        for (size_t i = 0; i < row.size(); ++i)
            ASSERT_EQ(1, table.setField(static_cast<int>(i), row[i].c_str()));
        ASSERT_EQ(1, table.writeRecord());
    }
    ASSERT_EQ(1, table.unlock());
}

// Settings back to their defaults around each test, with the OEM conversion as the test asks.
class DbfTest : public testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
    TempDir dir_;
};

}  // namespace dbftest
