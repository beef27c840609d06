// One entry of a file panel's listing: the record behind each list item, the texts of its columns
// and the keys the panel sorts by. Portable: the Windows listing fills FileFindData from its find record.
#pragma once

#include <cstdint>
#include <string>

// Attribute bits as the find-file enumeration reports them.
namespace file_attribute {
constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kHidden = 0x02;
constexpr uint32_t kSystem = 0x04;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kTemporary = 0x100;
constexpr uint32_t kCompressed = 0x800;
}  // namespace file_attribute

// What the enumeration found; times are 100-ns units since 1601-01-01 as stored (UTC).
struct FileFindData {
    std::string name;
    uint32_t attributes = 0;
    int64_t creationTime = 0;
    int64_t accessTime = 0;
    int64_t writeTime = 0;
    uint64_t size = 0;
};

struct FileEntry {
    int fileItem = 1;         // tells a file record from an explorer node (0) behind a list item
    std::string displayName;  // a file's name is cut at its last '.'
    FileFindData find;
    std::string typeText;  // "<dir>", else the text after the last '.', empty when there is none
    std::string fullPath;  // the listing's directory followed by the name the enumeration found

    bool isDirectory() const { return (find.attributes & file_attribute::kDirectory) != 0; }
};

// The record of one found entry of a listing made with `pattern` (a directory followed by "*.*").
FileEntry makeFileEntry(const std::string& pattern, const FileFindData& find);

// Column texts: the size ("1024", "1 kb", "3 mb"), a time ("2024.03.07 15:04:05") and the seven
// attribute letters "ACDHRST", each '-' when the bit is not set.
std::string fileSizeText(uint64_t size);
std::string fileTimeText(int64_t fileTime);
std::string fileAttributeText(uint32_t attributes);

// File list columns.
enum FileColumn {
    kColumnName,
    kColumnType,
    kColumnSize,
    kColumnCreated,
    kColumnAccessed,
    kColumnModified,
    kColumnAttributes,
    kFileColumnCount
};

// The key an entry sorts by in `column` (empty for the attribute column).
std::string fileSortKey(const FileEntry& entry, int column);

// Case-blind order of the keys, then of the whole names; 1 when either is not a file record.
int compareFileEntries(const FileEntry* a, const FileEntry* b, int column);

// The same order for the entries of an ODBC list: column 0 sorts by name, 1 by description.
struct NodeSortKeys {
    std::string name;
    std::string description;
};
int compareNodeEntries(const NodeSortKeys& a, const NodeSortKeys& b, int column);

// Case-blind comparison of two texts (Windows-1250, Hungarian letters included).
int compareNoCase(const std::string& a, const std::string& b);
