// ShellFile: one request to the shell's file operation (copy, move, delete, rename) with its lists
// of source and target paths. Windows build only.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

class ShellFile {
  public:
    enum List { kFrom, kTo };

    // Appends `path` to a list; each list is a run of zero-terminated paths closed by one more zero.
    void add(List list, const char* path);
    // Makes room for `n` bytes (and the closing zero) in a list.
    void reserve(List list, size_t n);
    void setOwner(HWND owner) { owner_ = owner; }
    void setFlags(FILEOP_FLAGS flags) { flags_ = flags; }
    // The progress title; an empty title leaves the shell's own.
    void setTitle(const char* title) { title_ = title ? title : ""; }

    // Each runs the operation and returns SHFileOperationA's result (0 success). A run the user
    // cancelled counts as failed even when the shell says 0.
    int copy() { return run(FO_COPY); }
    int move() { return run(FO_MOVE); }
    int remove() { return run(FO_DELETE); }  // the shell's delete
    int rename() { return run(FO_RENAME); }

    bool aborted() const { return aborted_; }

  private:
    int run(UINT operation);
    std::string& buffer(List list) { return list == kFrom ? from_ : to_; }

    std::string from_ = std::string(1, '\0');  // always ends in the list's closing zero
    std::string to_ = std::string(1, '\0');
    std::string title_;
    HWND owner_ = nullptr;
    FILEOP_FLAGS flags_ = 0;
    bool aborted_ = false;
};

// The commander's file commands. `extraFlags` is for tests only (FOF_NOCONFIRMATION): users keep
// the shell's confirmations. Each returns the shell's result, 0 on success.
// Copies `source` (a file or folder) into folder `targetDirectory` under the same name; a name that
// is taken gets the shell's new name.
int copyIntoFolder(HWND owner,
                   const std::string& source,
                   const std::string& targetDirectory,
                   FILEOP_FLAGS extraFlags = 0);
// Deletes a file or folder tree, to the recycle bin where the shell has one.
int deleteToRecycleBin(HWND owner, const std::string& path, FILEOP_FLAGS extraFlags = 0);
