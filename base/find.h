// File-system queries the windows share: counting the entries a pattern matches, listing picture files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One directory entry as the find-file enumeration returns it.
struct FoundFile {
    std::string name;         // name without its directory
    uint64_t size = 0;        // bytes
    uint32_t attributes = 0;  // Windows FILE_ATTRIBUTE_* bits (the POSIX build fills directory 0x10, read-only 0x01)
    int64_t writeTime = 0;    // last write, 100-ns units since 1601-01-01 UTC
};

// Number of entries matching `pattern` (a path, or a path whose last part holds * and ?), not
// counting "." and "..". 0 for an empty or missing pattern.
int fileExists(const char* pattern);

// The files matching `pattern` whose upper-cased name ends in ".JPG", ".JPEG", ".GIF", ".BMP" or
// ".EMF", in the order the directory enumeration returns them.
std::vector<FoundFile> listPictureFiles(const char* pattern);

// True when the upper-cased name ends in one of the picture extensions above.
bool isPictureFileName(const char* name);

// Every entry matching `pattern` except "." and "..", in enumeration order.
std::vector<FoundFile> findFiles(const char* pattern);
