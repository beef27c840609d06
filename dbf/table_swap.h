// Replacing a table file and its memo file by a new pair so that a complete table always stands under
// the table's name: the old pair is kept under backup names until the new pair is in place.
#pragma once

#include <string>

// The file-system calls a swap makes; tests put failures in.
class FileOps {
  public:
    virtual ~FileOps() = default;
    virtual bool exists(const char* name) = 0;
    virtual bool rename(const char* from, const char* to) = 0;
    virtual bool remove(const char* name) = 0;
};

// The real file system.
FileOps& systemFileOps();

// The memo file of a table file: the name with its last character replaced by T.
std::string memoNameFor(const std::string& table);

// The first of base + "start", base + "start+1", ... that names no file, nor (with `checkBackupMemo`)
// a file of that name followed by T.
std::string freeNumberedName(FileOps& ops, const std::string& base, int start, bool checkBackupMemo = false);

enum SwapResult {
    kSwapBroken = -1,   // a failure could not be undone: the old pair is under the backup names
    kSwapRestored = 0,  // a step failed; the old pair is back under its names, the new pair deleted
    kSwapDone = 1,      // the new pair stands under the table's names, the old pair is deleted
};

struct SwapOutcome {
    SwapResult result = kSwapRestored;
    std::string backup;      // the backup name of the old table file
    std::string backupMemo;  // the backup name of the old memo file (empty when it had none)
    bool leftovers = false;  // done, but a backup file could not be deleted
};

// Puts the table file `fresh` (and its memo file, when one exists) in place of `table` and its memo
// file. Both tables must be closed. The old table goes to the first free backup name table + "0",
// "1", ..., its memo file to that backup name followed by T.
SwapOutcome swapTableFiles(FileOps& ops, const std::string& table, const std::string& fresh);
