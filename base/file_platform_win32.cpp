// Win32 file layer: CreateFileA, ReadFile, WriteFile, SetFilePointer, LockFile and the temporary-name calls.
#include <windows.h>

#include "base/file_platform.h"

namespace platform {

static_assert(kGenericRead == GENERIC_READ && kGenericWrite == GENERIC_WRITE, "access flags");
static_assert(kShareRead == FILE_SHARE_READ && kShareWrite == FILE_SHARE_WRITE, "share flags");
static_assert(kCreateAlways == CREATE_ALWAYS && kOpenAlways == OPEN_ALWAYS && kOpenExisting == OPEN_EXISTING,
              "dispositions");
static_assert(kCreateNew == CREATE_NEW && kTruncateExisting == TRUNCATE_EXISTING, "dispositions");
static_assert(kAttributeNormal == FILE_ATTRIBUTE_NORMAL && kFlagRandomAccess == FILE_FLAG_RANDOM_ACCESS, "flags");
static_assert(kFileBegin == FILE_BEGIN && kFileCurrent == FILE_CURRENT && kFileEnd == FILE_END, "move methods");

namespace {

HANDLE handle(intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

}  // namespace

FileHandle::~FileHandle() {
    close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept : native_(other.native_) {
    other.native_ = kNone;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        native_ = other.native_;
        other.native_ = kNone;
    }
    return *this;
}

bool FileHandle::open(const char* name, uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags) {
    close();
    HANDLE h = CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    native_ = reinterpret_cast<intptr_t>(h);
    return true;
}

void FileHandle::settle() {}

bool FileHandle::close() {
    if (native_ == kNone)
        return false;
    BOOL ok = CloseHandle(handle(native_));
    native_ = kNone;
    return ok != FALSE;
}

uint32_t FileHandle::seek(int32_t distance, int method) {
    if (native_ == kNone)
        return kInvalidPosition;
    return SetFilePointer(handle(native_), distance, nullptr, static_cast<DWORD>(method));
}

uint32_t FileHandle::size() const {
    if (native_ == kNone)
        return 0;
    DWORD size = GetFileSize(handle(native_), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool FileHandle::read(void* buffer, uint32_t count, uint32_t* done) {
    DWORD got = 0;
    *done = 0;
    if (native_ == kNone)
        return false;
    BOOL ok = ReadFile(handle(native_), buffer, count, &got, nullptr);
    *done = got;
    return ok != FALSE;
}

bool FileHandle::write(const void* buffer, uint32_t count, uint32_t* done) {
    DWORD put = 0;
    *done = 0;
    if (native_ == kNone)
        return false;
    BOOL ok = WriteFile(handle(native_), buffer, count, &put, nullptr);
    *done = put;
    return ok != FALSE;
}

bool FileHandle::readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (SetFilePointer(handle(native_), static_cast<LONG>(offset), nullptr, FILE_BEGIN) != offset)
        return false;
    return read(buffer, count, done);
}

bool FileHandle::writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (SetFilePointer(handle(native_), static_cast<LONG>(offset), nullptr, FILE_BEGIN) != offset)
        return false;
    return write(buffer, count, done);
}

bool FileHandle::lock(uint32_t offset, uint32_t length) {
    return native_ != kNone && LockFile(handle(native_), offset, 0, length, 0) != FALSE;
}

bool FileHandle::unlock(uint32_t offset, uint32_t length) {
    return native_ != kNone && UnlockFile(handle(native_), offset, 0, length, 0) != FALSE;
}

bool FileHandle::truncate() {
    return native_ != kNone && SetEndOfFile(handle(native_)) != FALSE;
}

void emulateWindowsLocks(bool) {}  // Windows refuses such reads by itself

bool deleteFile(const char* name) {
    return DeleteFileA(name) != FALSE;
}

bool renameFile(const char* from, const char* to) {
    return MoveFileA(from, to) != FALSE;
}

std::string tempDirectory() {
    char path[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof path, path);
    if (n == 0 || n > MAX_PATH)
        return std::string(".\\");
    std::string result(path, n);
    if (result.back() != '\\')
        result += '\\';
    return result;
}

std::string uniqueTempFile(const char* directory, const char* prefix) {
    char name[MAX_PATH + 1];
    if (GetTempFileNameA(directory, prefix, 0, name) == 0)
        return std::string();
    return std::string(name);
}

}  // namespace platform
