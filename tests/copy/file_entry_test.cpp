// File records, their column texts, the sort orders and the panels' path rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "copy/file_entry.h"
#include "copy/file_paths.h"

namespace {

constexpr int64_t kSecond = 10000000;

FileEntry entry(const char* name, uint32_t attributes = 0, uint64_t size = 0, int64_t time = 0) {
    FileFindData find;
    find.name = name;
    find.attributes = attributes;
    find.size = size;
    find.creationTime = find.accessTime = find.writeTime = time;
    return makeFileEntry("C:\\data\\*.*", find);
}

TEST(FileEntry, RecordSplitsNameAndTypeAtTheLastDotAndKeepsTheFoundName) {
    struct Case {
        const char* name;
        uint32_t attributes;
        const char* display;
        const char* type;
    };
    const Case cases[] = {
        {"report.2024.dbf", 0, "report.2024", "dbf"},
        {"README", 0, "README", ""},
        {"report.", 0, "report", ""},
        {".profile", 0, "", "profile"},
        {"my.dir", file_attribute::kDirectory, "my.dir", "<dir>"},
        {"..", file_attribute::kDirectory, "..", "<dir>"},
    };
    for (const Case& c : cases) {
        FileEntry e = entry(c.name, c.attributes);
        EXPECT_EQ(e.displayName, c.display) << c.name;
        EXPECT_EQ(e.typeText, c.type) << c.name;
        EXPECT_EQ(e.fullPath, std::string("C:\\data\\") + c.name) << c.name;
    }
    // "report." and "report" show alike but keep their own paths.
    EXPECT_NE(entry("report.").fullPath, entry("report").fullPath);
}

TEST(FileEntry, SizeTimeAndAttributeTexts) {
    const std::pair<uint64_t, const char*> sizes[] = {
        {0, "0"},
        {1024, "1024"},
        {1025, "1 kb"},
        {1536, "2 kb"},
        {1048575, "1024 kb"},
        {1048576, "1 mb"},
        {10737418240ULL, "10240 mb"},
    };
    for (const auto& s : sizes)
        EXPECT_EQ(fileSizeText(s.first), s.second) << s.first;

    EXPECT_EQ(fileTimeText(0), "1601.01.01 00:00:00");
    EXPECT_EQ(fileTimeText(116444736000000000LL), "1970.01.01 00:00:00");
    EXPECT_EQ(fileTimeText(116444736000000000LL + 1709211909LL * kSecond), "2024.02.29 13:05:09");
    EXPECT_EQ(fileTimeText(116444736000000000LL + 4102444799LL * kSecond), "2099.12.31 23:59:59");

    using namespace file_attribute;
    EXPECT_EQ(fileAttributeText(0), "-------");
    EXPECT_EQ(fileAttributeText(kArchive | kReadOnly), "A---R--");
    EXPECT_EQ(fileAttributeText(kArchive | kCompressed | kDirectory | kHidden | kReadOnly | kSystem | kTemporary),
              "ACDHRST");
}

std::vector<std::string> sortedNames(std::vector<FileEntry> entries, int column) {
    std::sort(entries.begin(), entries.end(),
              [column](const FileEntry& a, const FileEntry& b) { return compareFileEntries(&a, &b, column) < 0; });
    std::vector<std::string> names;
    for (const FileEntry& e : entries)
        names.push_back(e.find.name);
    return names;
}

TEST(FileEntry, SortOrdersByColumn) {
    using namespace file_attribute;
    const int64_t day = 86400 * kSecond;
    std::vector<FileEntry> entries = {
        entry("b.TXT", 0, 5, 3 * day),
        entry("big.iso", 0, 20000000000ULL, 1 * day),  // 20 GB: eleven digits
        entry("Sub", kDirectory, 0, 2 * day),
        entry("..", kDirectory, 0, 4 * day),
        entry(" odd", kDirectory, 0, 4 * day),        // sorts before ".." in plain character order
        entry("a.txt", 0, 100000000000ULL, 5 * day),  // 100 GB: twelve digits
        entry("noext", 0, 7, 6 * day),
    };
    const struct {
        int column;
        std::vector<std::string> order;
    } cases[] = {
        {kColumnName, {" odd", "..", "a.txt", "b.TXT", "big.iso", "noext", "Sub"}},
        {kColumnType, {"..", "Sub", " odd", "noext", "big.iso", "a.txt", "b.TXT"}},
        {kColumnSize, {" odd", "..", "Sub", "b.TXT", "noext", "big.iso", "a.txt"}},
        {kColumnModified, {"big.iso", "Sub", "b.TXT", " odd", "..", "a.txt", "noext"}},
        {kColumnAttributes, {" odd", "..", "a.txt", "b.TXT", "big.iso", "noext", "Sub"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sortedNames(entries, c.column), c.order) << "column " << c.column;

    FileEntry node = entry("x");
    node.fileItem = 0;
    EXPECT_EQ(compareFileEntries(&node, &entries[0], kColumnName), 1);
    EXPECT_EQ(compareFileEntries(&entries[0], nullptr, kColumnName), 1);

    EXPECT_LT(compareNodeEntries({"b", "Alpha"}, {"A", "beta"}, 1), 0);
    EXPECT_GT(compareNodeEntries({"b", "Alpha"}, {"A", "beta"}, 0), 0);
    EXPECT_LT(compareNodeEntries({"a", "same"}, {"B", "SAME"}, 1), 0);
}

TEST(FilePaths, ParentNamesAndExtensionLists) {
    const std::pair<const char*, const char*> parents[] = {
        {"C:\\a\\b\\", "C:\\a\\"}, {"C:\\a\\", "C:\\"}, {"C:\\", "C:\\"}, {"", ""}};
    for (const auto& p : parents)
        EXPECT_EQ(parentPath(p.first), p.second) << p.first;
    std::string deep = "C:\\";
    for (int i = 0; i < 40; ++i)
        deep += "folder" + std::to_string(i) + "\\";
    EXPECT_EQ(parentPath(deep + "last\\"), deep);

    for (const char* good : {"New", "a.b", "with space", "...x"})
        EXPECT_TRUE(isPlainFolderName(good)) << good;
    for (const char* bad : {"", ".", "..", "..\\up", "a\\b", "a/b", "C:x", "*", "a?", "x|y", "<", "\""})
        EXPECT_FALSE(isPlainFolderName(bad)) << bad;

    for (const char* in : {"DB", "db", ".mdb", "xlsx", "MYI"})
        EXPECT_TRUE(isInExtensionList(in, kDatabaseFileTypes)) << in;
    for (const char* out : {"S", "B", "", "X", "LSX", "DB;", ";"})
        EXPECT_FALSE(isInExtensionList(out, kDatabaseFileTypes)) << out;
    for (const char* in : {"JPG", ".jpeg", "Emf"})
        EXPECT_TRUE(isInExtensionList(in, kPictureFileTypes)) << in;
    for (const char* out : {"PEG", ".MF", "JP", "B", "PNG"})
        EXPECT_FALSE(isInExtensionList(out, kPictureFileTypes)) << out;
}

TEST(FilePaths, FocusStackRemembersEachDepthAndStaysInBounds) {
    FocusStack stack;
    stack.enter(5);
    stack.enter(7);
    EXPECT_EQ(stack.depth(), 2);
    EXPECT_EQ(stack.remembered(), 0);
    stack.leave();
    EXPECT_EQ(stack.remembered(), 7);
    stack.leave();
    EXPECT_EQ(stack.remembered(), 5);
    stack.leave();
    EXPECT_EQ(stack.depth(), 0);

    // Far deeper than the slots: counting stays right on the way back up.
    for (int i = 0; i < 200; ++i)
        stack.enter(i + 1);
    for (int i = 0; i < 200 - 3; ++i)
        stack.leave();
    EXPECT_EQ(stack.depth(), 3);
    EXPECT_EQ(stack.remembered(), 4);
    stack.toRoot();
    EXPECT_EQ(stack.depth(), 0);
    EXPECT_EQ(stack.remembered(), 0);
}

}  // namespace
