// Thin operating-system layer under `files`: open, read, write, seek, byte-range locks, temporary names.
// The Win32 build maps these onto CreateFileA and friends, the POSIX build onto file descriptors with
// open-file-description locks, so that two handles of one process conflict as they do on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Flag values, numerically equal to the Win32 constants, so Windows code may pass either spelling.
constexpr uint32_t kGenericRead = 0x80000000u;
constexpr uint32_t kGenericWrite = 0x40000000u;
constexpr uint32_t kShareRead = 0x1u;
constexpr uint32_t kShareWrite = 0x2u;
constexpr uint32_t kCreateNew = 1;
constexpr uint32_t kCreateAlways = 2;
constexpr uint32_t kOpenExisting = 3;
constexpr uint32_t kOpenAlways = 4;
constexpr uint32_t kTruncateExisting = 5;
constexpr uint32_t kAttributeNormal = 0x80u;
constexpr uint32_t kFlagRandomAccess = 0x10000000u;
constexpr int kFileBegin = 0;
constexpr int kFileCurrent = 1;
constexpr int kFileEnd = 2;
constexpr uint32_t kInvalidPosition = 0xFFFFFFFFu;  // what SetFilePointer returns on failure

// One open file; move-only, closes itself. `native` is a HANDLE on Windows, a descriptor elsewhere.
class FileHandle {
  public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return native_ != kNone; }
    intptr_t native() const { return native_; }

    // Opens `name`; replaces (and closes) any file held before. False when the system refuses.
    bool open(const char* name, uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags);
    // Closes the file; false when none was open or the system reports an error.
    bool close();

    // Moves the position; the new position, or kInvalidPosition on failure (positions are 32-bit).
    uint32_t seek(int32_t distance, int method);
    uint32_t size() const;  // low 32 bits of the size, 0 on failure
    bool read(void* buffer, uint32_t count, uint32_t* done);
    bool write(const void* buffer, uint32_t count, uint32_t* done);
    // Reads / writes at an absolute offset; the file position after the call is offset + done.
    bool readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done);
    bool writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done);
    // Exclusive byte-range lock without waiting: fails at once when another handle holds any byte of it.
    bool lock(uint32_t offset, uint32_t length);
    bool unlock(uint32_t offset, uint32_t length);
    bool truncate();  // ends the file at the current position

  private:
    static constexpr intptr_t kNone = -1;
    intptr_t native_ = kNone;
    // POSIX: where a positioned call left the position; applied by the next call that uses the position.
    int64_t pending_ = -1;
    void settle();
};

// Windows refuses a read or a write that touches a range another handle has locked; POSIX locks only
// advise. Tests switch this on to meet that refusal natively (every read and write then asks for locks).
void emulateWindowsLocks(bool on);

// File-system services used beside open files.
bool deleteFile(const char* name);
bool renameFile(const char* from, const char* to);
// The directory for temporary files, ending with the path separator.
std::string tempDirectory();
// A name of a new, empty file in `directory` beginning with `prefix` (the file is created); empty on failure.
std::string uniqueTempFile(const char* directory, const char* prefix);

}  // namespace platform
