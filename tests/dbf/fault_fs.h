// Failure injection for the table engine tests: a file system that passes every call to the real one
// until a chosen call, which then fails (writes can first put half their bytes down, as a full disk does).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/file_platform.h"

namespace dbftest {

// The kinds of call that can be made to fail, each counted on its own from 1.
enum class FaultOp { Write, Rename, Delete, Open };

class FaultyFileSystem : public platform::FileSystem {
  public:
    // Fails the `nth` call of `op` (0: none), and with `andLater` every later one too. `shortWrite`
    // makes a failing write put its first half down before failing. `nameHas` limits the counting and
    // failing to files whose name contains it (empty: every file).
    void failAt(FaultOp op, int nth, bool andLater = false, bool shortWrite = false, std::string nameHas = "");
    void clear() { failAt(FaultOp::Write, 0); }
    // Calls of `op` counted so far (on files matching the name filter).
    int calls(FaultOp op) const { return calls_[static_cast<int>(op)]; }
    bool fired() const { return fired_; }
    // Runs once, just before the next byte-range lock is asked for (to make another holder act then).
    std::function<void()> beforeLock;

    std::unique_ptr<platform::OpenFile> open(const char* name,
                                             uint32_t access,
                                             uint32_t share,
                                             uint32_t disposition,
                                             uint32_t flags) override;
    bool deleteFile(const char* name) override;
    bool renameFile(const char* from, const char* to) override;
    bool exists(const char* name) override { return platform::systemFileSystem().exists(name); }
    int sameFile(const char* a, const char* b) override { return platform::systemFileSystem().sameFile(a, b); }

    // Counts the call and says whether it fails; public for the open files it hands out.
    bool fails(FaultOp op, const std::string& name);
    bool shortWrite() const { return shortWrite_; }

  private:
    FaultOp op_ = FaultOp::Write;
    int nth_ = 0;
    bool andLater_ = false;
    bool shortWrite_ = false;
    bool fired_ = false;
    std::string nameHas_;
    int calls_[4] = {};
};

// Installs a file system for the scope and puts the previous one back.
class ScopedFileSystem {
  public:
    explicit ScopedFileSystem(platform::FileSystem& fs) : previous_(platform::installFileSystem(&fs)) {}
    ~ScopedFileSystem() { platform::installFileSystem(previous_); }
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

  private:
    platform::FileSystem* previous_;
};

}  // namespace dbftest
