// `files`: the one object through which the program touches files. A thin layer over the platform file
// with end-of-file and start flags, CR LF text lines forwards and backwards, and a copy of the last line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_platform.h"

constexpr int kReadAheadLifetimeMs = 50;

class files {
  public:
    // Nothing is opened. `lineBufferSize` bounds the last-line copy (the table engine gives 512).
    explicit files(const char* name, int lineBufferSize = 512);
    files(const files&) = delete;
    files& operator=(const files&) = delete;

    // Flags are the Win32 values (platform::kGenericRead ... or GENERIC_READ ... in Windows code).
    int openFile(uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags);
    int closeFile();
    // New position, or platform::kInvalidPosition (-1 as 32 bits) on failure.
    uint32_t seek(int32_t distance, int method);
    uint32_t tell();
    uint32_t size();
    int write(const void* bytes, uint32_t count, uint32_t* written);
    // 0 with 0 bytes, and the end-of-file flag set, when the position is at (or past) the end.
    int read(void* buffer, uint32_t count, uint32_t* got);
    // Reads one CR LF line of at most `maxLength` bytes into `buffer` (which holds maxLength + 1 bytes);
    // `got` receives the line's length. 1 read, 0 nothing to read.
    int readLine(char* buffer, int maxLength, uint32_t* got);
    // Reads the line before the position (which is at a line start) and moves to its start.
    char* readPrevLine(char* buffer, int maxLength, uint32_t* got);
    // Moves by `count` lines; `buffer` (line buffer size + 1 bytes) receives the line reached.
    char* moveLines(long count, char* buffer);
    int lock(uint32_t offset, uint32_t length);
    int unlock(uint32_t offset, uint32_t length);
    // Set by a read that found the end; a read the system refused leaves it clear.
    int isEof() const { return eof_ ? 1 : 0; }

    int isStart() const { return start_ ? 1 : 0; }
    bool isOpen() const { return file_.isOpen(); }
    const char* name() const { return name_.c_str(); }
    const char* lastLine() const { return lastLine_.data(); }
    uint32_t lastLockOffset() const { return lastLockOffset_; }

    // Positioned access for the table engine: read or write at an absolute offset in one call.
    int readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* got);
    int writeAt(uint32_t offset, const void* bytes, uint32_t count, uint32_t* written);
    // As readAt, but served from a read-ahead window when it already holds the bytes. Used for forward
    // scans only; a window is refilled once it is older than kReadAheadLifetimeMs, so what another
    // holder of the file wrote shows within that time even in an endless forward walk. A window that
    // cannot be read falls back to reading the bytes asked for.
    int readAhead(uint32_t offset, void* buffer, uint32_t count, uint32_t* got);
    void dropCache() { cacheLength_ = 0; }

  private:
    platform::FileHandle file_;
    uint32_t lastLockOffset_ = 0;
    bool eof_ = false;
    bool start_ = false;
    char terminator_[3] = "\r\n";
    int terminatorLength_ = 2;
    std::string name_;
    std::vector<char> lastLine_;
    int lineBufferSize_;
    // Read-ahead window (empty until the first readAhead).
    std::vector<char> cache_;
    uint32_t cacheStart_ = 0;
    uint32_t cacheLength_ = 0;
    int64_t cacheTime_ = 0;  // steady clock, milliseconds, of the last refill

    void keepLastLine(const char* line);
};
