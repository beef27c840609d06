// Thin operating-system layer under `files`: open, read, write, seek, byte-range locks, temporary names.
// The Win32 build maps these onto CreateFileA and friends, the POSIX build onto file descriptors with
// open-file-description locks, so that two handles of one process conflict as they do on Windows.
#pragma once

#include <cstdint>
#include <memory>
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

// One open file of a FileSystem other than the operating system's; the calls mean what FileHandle's do.
class OpenFile {
  public:
    virtual ~OpenFile() = default;
    virtual uint32_t seek(int32_t distance, int method) = 0;
    virtual uint32_t size() = 0;
    virtual bool read(void* buffer, uint32_t count, uint32_t* done) = 0;
    virtual bool write(const void* buffer, uint32_t count, uint32_t* done) = 0;
    virtual bool readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) = 0;
    virtual bool writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) = 0;
    virtual bool lock(uint32_t offset, uint32_t length) = 0;
    virtual bool unlock(uint32_t offset, uint32_t length) = 0;
    virtual bool truncate() = 0;
    virtual bool close() = 0;  // called once, before destruction
};

// Everything the program does to files, as a whole: tests install one that injects failures or keeps
// files in memory. `systemFileSystem()` is the operating system's own (a wrapper can pass calls on to it).
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The open file, or null when the system refuses (arguments as FileHandle::open takes them).
    virtual std::unique_ptr<OpenFile> open(const char* name,
                                           uint32_t access,
                                           uint32_t share,
                                           uint32_t disposition,
                                           uint32_t flags) = 0;
    virtual bool deleteFile(const char* name) = 0;
    virtual bool renameFile(const char* from, const char* to) = 0;
    virtual bool exists(const char* name) = 0;
    // 1 when both names reach the same file, 0 when they do not, -1 when either cannot be examined.
    virtual int sameFile(const char* a, const char* b) = 0;
};

FileSystem& systemFileSystem();
// Routes every later open, delete, rename, existence and identity question through `fs` (null: the
// operating system directly). Files opened before keep the system they were opened in. Returns the
// one installed before.
FileSystem* installFileSystem(FileSystem* fs);

// One open file; move-only, closes itself. `native` is a HANDLE on Windows, a descriptor elsewhere.
class FileHandle {
  public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return native_ != kNone || other_; }
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

    // The operating system's calls, whatever file system is installed (the real FileSystem's own).
    bool openNative(const char* name, uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags);

  private:
    static constexpr intptr_t kNone = -1;
    intptr_t native_ = kNone;
    std::unique_ptr<OpenFile> other_;  // set when the file lives in an installed FileSystem

    uint32_t seekNative(int32_t distance, int method);
    uint32_t sizeNative() const;
    bool readNative(void* buffer, uint32_t count, uint32_t* done);
    bool writeNative(const void* buffer, uint32_t count, uint32_t* done);
    bool readAtNative(uint32_t offset, void* buffer, uint32_t count, uint32_t* done);
    bool writeAtNative(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done);
    bool lockNative(uint32_t offset, uint32_t length);
    bool unlockNative(uint32_t offset, uint32_t length);
    bool truncateNative();
    bool closeNative();
    // POSIX: where a positioned call left the position; applied by the next call that uses the position.
    int64_t pending_ = -1;
    void settle();
};

// File-system services used beside open files, through the installed FileSystem.
bool deleteFile(const char* name);
bool renameFile(const char* from, const char* to);
bool fileExists(const char* name);  // a plain name, no wildcards
// Whether two names reach one file, whatever their spelling (relative, letter case, "./"): 1 the same,
// 0 different or either missing, -1 when they cannot be examined.
int sameFile(const char* a, const char* b);

// The operating system's own calls, bypassing any installed FileSystem.
bool deleteFileNative(const char* name);
bool renameFileNative(const char* from, const char* to);
bool fileExistsNative(const char* name);
int sameFileNative(const char* a, const char* b);
// The directory for temporary files, ending with the path separator.
std::string tempDirectory();
// A name of a new, empty file in `directory` beginning with `prefix` (the file is created); empty on failure.
std::string uniqueTempFile(const char* directory, const char* prefix);

}  // namespace platform
