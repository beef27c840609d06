// Win32 file layer: CreateFileA, ReadFile, WriteFile, SetFilePointer, LockFile and the temporary-name calls.
#include <windows.h>

#include <utility>

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

FileHandle::FileHandle(FileHandle&& other) noexcept : native_(other.native_), other_(std::move(other.other_)) {
    other.native_ = kNone;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        native_ = other.native_;
        other_ = std::move(other.other_);
        other.native_ = kNone;
    }
    return *this;
}

bool FileHandle::openNative(const char* name, uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags) {
    closeNative();
    HANDLE h = CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    native_ = reinterpret_cast<intptr_t>(h);
    return true;
}

void FileHandle::settle() {}

bool FileHandle::closeNative() {
    if (native_ == kNone)
        return false;
    BOOL ok = CloseHandle(handle(native_));
    native_ = kNone;
    return ok != FALSE;
}

uint32_t FileHandle::seekNative(int32_t distance, int method) {
    if (native_ == kNone)
        return kInvalidPosition;
    return SetFilePointer(handle(native_), distance, nullptr, static_cast<DWORD>(method));
}

uint32_t FileHandle::sizeNative() const {
    if (native_ == kNone)
        return 0;
    DWORD size = GetFileSize(handle(native_), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool FileHandle::readNative(void* buffer, uint32_t count, uint32_t* done) {
    DWORD got = 0;
    *done = 0;
    if (native_ == kNone)
        return false;
    BOOL ok = ReadFile(handle(native_), buffer, count, &got, nullptr);
    *done = got;
    return ok != FALSE;
}

bool FileHandle::writeNative(const void* buffer, uint32_t count, uint32_t* done) {
    DWORD put = 0;
    *done = 0;
    if (native_ == kNone)
        return false;
    BOOL ok = WriteFile(handle(native_), buffer, count, &put, nullptr);
    *done = put;
    return ok != FALSE;
}

bool FileHandle::readAtNative(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (SetFilePointer(handle(native_), static_cast<LONG>(offset), nullptr, FILE_BEGIN) != offset)
        return false;
    return readNative(buffer, count, done);
}

bool FileHandle::writeAtNative(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    if (SetFilePointer(handle(native_), static_cast<LONG>(offset), nullptr, FILE_BEGIN) != offset)
        return false;
    return writeNative(buffer, count, done);
}

bool FileHandle::lockNative(uint32_t offset, uint32_t length) {
    return native_ != kNone && LockFile(handle(native_), offset, 0, length, 0) != FALSE;
}

bool FileHandle::unlockNative(uint32_t offset, uint32_t length) {
    return native_ != kNone && UnlockFile(handle(native_), offset, 0, length, 0) != FALSE;
}

bool FileHandle::truncateNative() {
    return native_ != kNone && SetEndOfFile(handle(native_)) != FALSE;
}

bool deleteFileNative(const char* name) {
    return DeleteFileA(name) != FALSE;
}

bool renameFileNative(const char* from, const char* to) {
    return MoveFileA(from, to) != FALSE;
}

bool fileExistsNative(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// The volume serial number and file index of an existing file, opened for its attributes only.
bool fileIdentity(const char* name, BY_HANDLE_FILE_INFORMATION& info, bool& missing) {
    HANDLE h = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return false;
    }
    BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    missing = false;
    return ok != FALSE;
}

}  // namespace

int sameFileNative(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    bool missingA = false, missingB = false;
    if (!fileIdentity(a, ia, missingA))
        return missingA ? 0 : -1;
    if (!fileIdentity(b, ib, missingB))
        return missingB ? 0 : -1;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
                   ia.nFileIndexLow == ib.nFileIndexLow
               ? 1
               : 0;
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
