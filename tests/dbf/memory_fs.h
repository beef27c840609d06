// A file system in memory with Windows' rules, for the engine tests and the fuzz target: byte-range locks
// belong to each handle and shut every other handle out of reading and writing the range, an open file
// cannot be deleted or renamed, a rename never replaces a file, and files have a size limit (a full disk).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/file_platform.h"

namespace dbftest {

class MemoryFileSystem : public platform::FileSystem {
  public:
    // Writes that would make a file larger than `maxFileSize` fail, as on a full disk.
    explicit MemoryFileSystem(uint32_t maxFileSize = 64u << 20) : maxFileSize_(maxFileSize) {}

    // Puts a file with these bytes under `name`, replacing any file of that name that is not open.
    void put(const std::string& name, const void* bytes, size_t count);
    // The bytes of `name` (empty when there is no such file).
    std::vector<char> bytes(const std::string& name) const;
    // Removes every file that is not open.
    void clear();

    std::unique_ptr<platform::OpenFile> open(const char* name,
                                             uint32_t access,
                                             uint32_t share,
                                             uint32_t disposition,
                                             uint32_t flags) override;
    bool deleteFile(const char* name) override;
    bool renameFile(const char* from, const char* to) override;
    bool exists(const char* name) override { return name && files_.count(name) > 0; }
    int sameFile(const char* a, const char* b) override { return exists(a) && exists(b) && std::string(a) == b; }

    struct Lock {
        const void* owner;
        uint32_t offset, length;
    };
    struct Node {
        std::vector<char> data;
        std::vector<Lock> locks;
        int handles = 0;
    };
    uint32_t maxFileSize() const { return maxFileSize_; }

  private:
    std::map<std::string, std::shared_ptr<Node>> files_;
    uint32_t maxFileSize_;
};

}  // namespace dbftest
