// fileExists and listPictureFiles over a real temporary folder, in both builds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "base/find.h"

namespace {

namespace fs = std::filesystem;

class FindFiles : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("quarrow-find-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        ASSERT_TRUE(fs::create_directories(dir_));
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void touch(const std::string& name, const std::string& content = "x") {
        std::ofstream(dir_ / name, std::ios::binary) << content;
    }
    // The pattern as the program writes it: directory, backslash, mask.
    std::string pattern(const std::string& mask) const { return dir_.string() + "\\" + mask; }

    fs::path dir_;
};

TEST_F(FindFiles, EmptyFolderMatchesOnlyDotEntriesAndCountsZero) {
    EXPECT_EQ(fileExists(pattern("*").c_str()), 0);
    EXPECT_EQ(fileExists(pattern("*.*").c_str()), 0);
}

TEST_F(FindFiles, CountsMatchesOfAPatternAndOfAPlainName) {
    touch("a.dbf");
    touch("b.dbf");
    touch("c.txt");
    EXPECT_EQ(fileExists(pattern("*.dbf").c_str()), 2);
    EXPECT_EQ(fileExists(pattern("*.*").c_str()), 3);
    EXPECT_EQ(fileExists(pattern("c.txt").c_str()), 1);
    EXPECT_EQ(fileExists(pattern("missing.txt").c_str()), 0);
}

TEST_F(FindFiles, StarDotStarMatchesNamesWithoutADot) {
    touch("README");
    EXPECT_EQ(fileExists(pattern("*.*").c_str()), 1);
}

TEST_F(FindFiles, SubfoldersCountAsEntries) {
    fs::create_directory(dir_ / "sub");
    EXPECT_EQ(fileExists(pattern("*").c_str()), 1);
    std::vector<FoundFile> found = findFiles(pattern("*").c_str());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].attributes & 0x10);
}

TEST_F(FindFiles, MissingFolderOrEmptyPatternGivesZero) {
    EXPECT_EQ(fileExists(pattern("nowhere\\*.*").c_str()), 0);
    EXPECT_EQ(fileExists(""), 0);
    EXPECT_EQ(fileExists(nullptr), 0);
}

TEST_F(FindFiles, RecordsCarryNameAndSize) {
    touch("data.bin", std::string(1234, 'z'));
    std::vector<FoundFile> found = findFiles(pattern("data.bin").c_str());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "data.bin");
    EXPECT_EQ(found[0].size, 1234u);
    EXPECT_FALSE(found[0].attributes & 0x10);
    EXPECT_GT(found[0].writeTime, 116444736000000000LL);  // after 1970
}

TEST_F(FindFiles, PictureListKeepsOnlyPictureExtensionsInAnyCase) {
    for (const char* name : {"a.jpg", "b.JPEG", "c.Gif", "d.bmp", "e.emf", "f.dbf", "g.jpg.txt", "jpg", "h.png"})
        touch(name);
    std::set<std::string> names;
    for (const FoundFile& file : listPictureFiles(pattern("*.*").c_str()))
        names.insert(file.name);
    EXPECT_EQ(names, (std::set<std::string>{"a.jpg", "b.JPEG", "c.Gif", "d.bmp", "e.emf"}));
}

TEST(PictureNames, EndingDecidesNotContaining) {
    EXPECT_TRUE(isPictureFileName("X.JPEG"));
    EXPECT_TRUE(isPictureFileName(".emf"));
    EXPECT_FALSE(isPictureFileName("x.jpe"));
    EXPECT_FALSE(isPictureFileName("x.bmpx"));
    EXPECT_FALSE(isPictureFileName(""));
    EXPECT_FALSE(isPictureFileName(nullptr));
}

}  // namespace
