// A second process that holds the record lock of one record of a table while the editing tests try
// to change it: the test exe started again, running only the holder.
#pragma once

#include <string>

namespace edittest {

// Starts the holder on record `record` of the table `path` and waits until it holds the lock.
// Release() lets it unlock and end. `ok()` is false when the holder could not be started or did
// not take the lock.
class LockHolder {
  public:
    LockHolder(const std::string& path, long record, const std::string& folder);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool ok() const { return ok_; }
    // Ends the holder; its exit code (0 when it held the lock and let it go), or -1.
    int release();

  private:
    void* process_ = nullptr;
    std::string ready_;
    std::string done_;
    bool ok_ = false;
};

// Set in the holder's environment: "path|record|ready file|release file".
constexpr const char* kHolderVariable = "QUARROW_EDIT_LOCK_HOLDER";

}  // namespace edittest
