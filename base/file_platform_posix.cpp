// POSIX file layer: descriptors, pread/pwrite, and open-file-description locks. Classic fcntl locks belong
// to the process, so two tables of one process would never conflict; OFD locks belong to each open() like
// Windows locks belong to each handle.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/file_platform.h"

namespace platform {

namespace {

int fd(intptr_t native) {
    return static_cast<int>(native);
}

bool setLock(int file, short type, uint32_t offset, uint32_t length) {
    // A zero length means "to the end of the file and beyond" to fcntl; Windows locks nothing then.
    if (length == 0)
        return true;
    struct flock fl;
    memset(&fl, 0, sizeof fl);
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;  // required for OFD locks
    return fcntl(file, F_OFD_SETLK, &fl) == 0;
}

bool emulatingWindowsLocks = false;

// Whether another open file description holds a lock on any byte of the range (see emulateWindowsLocks).
bool lockedElsewhere(int file, uint64_t offset, uint32_t count) {
    if (!emulatingWindowsLocks || count == 0)
        return false;
    struct flock fl;
    memset(&fl, 0, sizeof fl);
    fl.l_type = F_WRLCK;  // conflicts with every lock, as a Windows lock shuts out every other handle
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(count);
    if (fcntl(file, F_OFD_GETLK, &fl) != 0 || fl.l_type == F_UNLCK)
        return false;
    errno = EACCES;
    return true;
}

uint64_t position(int file) {
    off_t here = lseek(file, 0, SEEK_CUR);
    return here < 0 ? 0 : static_cast<uint64_t>(here);
}

}  // namespace

void emulateWindowsLocks(bool on) {
    emulatingWindowsLocks = on;
}

FileHandle::~FileHandle() {
    close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept : native_(other.native_), pending_(other.pending_) {
    other.native_ = kNone;
    other.pending_ = -1;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        native_ = other.native_;
        pending_ = other.pending_;
        other.native_ = kNone;
        other.pending_ = -1;
    }
    return *this;
}

bool FileHandle::open(const char* name, uint32_t access, uint32_t /*share*/, uint32_t disposition, uint32_t) {
    close();
    int flags = O_CLOEXEC;
    if ((access & kGenericRead) && (access & kGenericWrite))
        flags |= O_RDWR;
    else if (access & kGenericWrite)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (disposition) {
        case kCreateNew:
            flags |= O_CREAT | O_EXCL;
            break;
        case kCreateAlways:
            flags |= O_CREAT | O_TRUNC;
            break;
        case kOpenAlways:
            flags |= O_CREAT;
            break;
        case kTruncateExisting:
            flags |= O_TRUNC;
            break;
        default:
            break;
    }
    int file = ::open(name, flags, 0666);
    if (file < 0)
        return false;
    struct stat st;
    if (fstat(file, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(file);
        return false;
    }
    native_ = file;
    pending_ = -1;
    return true;
}

// Positioned reads and writes leave the descriptor where ReadFile would leave a handle; the move is made
// only when a call that depends on the position comes next, which saves a system call per record.
void FileHandle::settle() {
    if (pending_ >= 0 && native_ != kNone)
        lseek(fd(native_), static_cast<off_t>(pending_), SEEK_SET);
    pending_ = -1;
}

bool FileHandle::close() {
    pending_ = -1;
    if (native_ == kNone)
        return false;
    int result = ::close(fd(native_));
    native_ = kNone;
    return result == 0;
}

uint32_t FileHandle::seek(int32_t distance, int method) {
    if (native_ == kNone)
        return kInvalidPosition;
    settle();
    int whence = method == kFileCurrent ? SEEK_CUR : method == kFileEnd ? SEEK_END : SEEK_SET;
    off_t target = lseek(fd(native_), distance, whence);
    if (target < 0 || target >= static_cast<off_t>(kInvalidPosition))
        return kInvalidPosition;
    return static_cast<uint32_t>(target);
}

uint32_t FileHandle::size() const {
    struct stat st;
    if (native_ == kNone || fstat(fd(native_), &st) != 0)
        return 0;
    return static_cast<uint32_t>(st.st_size);
}

bool FileHandle::read(void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (native_ == kNone)
        return false;
    settle();
    if (emulatingWindowsLocks && lockedElsewhere(fd(native_), position(fd(native_)), count))
        return false;
    char* p = static_cast<char*>(buffer);
    while (*done < count) {
        ssize_t got = ::read(fd(native_), p + *done, count - *done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        *done += static_cast<uint32_t>(got);
    }
    return true;
}

bool FileHandle::write(const void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (native_ == kNone)
        return false;
    settle();
    if (emulatingWindowsLocks && lockedElsewhere(fd(native_), position(fd(native_)), count))
        return false;
    const char* p = static_cast<const char*>(buffer);
    while (*done < count) {
        ssize_t put = ::write(fd(native_), p + *done, count - *done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        *done += static_cast<uint32_t>(put);
    }
    return true;
}

bool FileHandle::readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (native_ == kNone)
        return false;
    if (lockedElsewhere(fd(native_), offset, count))
        return false;
    char* p = static_cast<char*>(buffer);
    while (*done < count) {
        ssize_t got = ::pread(fd(native_), p + *done, count - *done, static_cast<off_t>(offset) + *done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        *done += static_cast<uint32_t>(got);
    }
    pending_ = static_cast<int64_t>(offset) + *done;
    return true;
}

bool FileHandle::writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (native_ == kNone)
        return false;
    if (lockedElsewhere(fd(native_), offset, count))
        return false;
    const char* p = static_cast<const char*>(buffer);
    bool ok = true;
    while (*done < count) {
        ssize_t put = ::pwrite(fd(native_), p + *done, count - *done, static_cast<off_t>(offset) + *done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            ok = false;
            break;
        }
        *done += static_cast<uint32_t>(put);
    }
    pending_ = static_cast<int64_t>(offset) + *done;
    return ok;
}

bool FileHandle::lock(uint32_t offset, uint32_t length) {
    if (native_ == kNone)
        return false;
    // fcntl refuses a write lock on a read-only descriptor; a read lock still conflicts with every writer.
    int mode = fcntl(fd(native_), F_GETFL);
    short type = mode >= 0 && (mode & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    return setLock(fd(native_), type, offset, length);
}

bool FileHandle::unlock(uint32_t offset, uint32_t length) {
    return native_ != kNone && setLock(fd(native_), F_UNLCK, offset, length);
}

bool FileHandle::truncate() {
    if (native_ == kNone)
        return false;
    settle();
    off_t here = lseek(fd(native_), 0, SEEK_CUR);
    return here >= 0 && ftruncate(fd(native_), here) == 0;
}

bool deleteFile(const char* name) {
    return unlink(name) == 0;
}

bool renameFile(const char* from, const char* to) {
    return rename(from, to) == 0;
}

std::string tempDirectory() {
    const char* dir = getenv("TMPDIR");
    std::string result = dir && *dir ? dir : "/tmp";
    if (result.back() != '/')
        result += '/';
    return result;
}

std::string uniqueTempFile(const char* directory, const char* prefix) {
    std::string pattern = directory;
    if (!pattern.empty() && pattern.back() != '/')
        pattern += '/';
    pattern += prefix;
    pattern += "XXXXXX";
    int file = mkstemp(&pattern[0]);
    if (file < 0)
        return std::string();
    ::close(file);
    return pattern;
}

}  // namespace platform
