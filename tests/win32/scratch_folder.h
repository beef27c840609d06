// Scratch folders and files for the file panel tests: a folder removed with its contents at the
// end, files written and read by exact name, and the recycle bin emptied of what a test deleted.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace harness {

// A folder "<temp>\qpanel-<tag>-<process id>\", created empty and removed with everything in it.
class ScratchFolder {
  public:
    explicit ScratchFolder(const char* tag);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    static void removeTree(const std::string& path);

  private:
    void remove();
    std::string path_;
};

// Wine's recycle bin: the desktop's trash folder of the Unix user; empty when there is none.
std::string trashFolder();
// Takes what a test deleted out of the recycle bin again, so that test runs leave nothing behind.
void takeOutOfTrash(const std::string& name);

// The "\\?\" form keeps a trailing dot, which the ordinary path rules strip.
bool writeFile(const std::string& path, size_t size, char fill = 'x');
bool exists(const std::string& path);
// The file's first 4096 bytes, or "<missing>".
std::string readFile(const std::string& path);

}  // namespace harness
