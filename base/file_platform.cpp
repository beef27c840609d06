// The file layer's one seam: every call goes to the operating system unless a test has installed another
// FileSystem (failure injection, files in memory). The real path costs one pointer test.
#include "base/file_platform.h"

#include <utility>

namespace platform {

namespace {

FileSystem* installed = nullptr;

// An operating-system file behind the OpenFile interface, for wrappers that pass calls on.
class SystemFile : public OpenFile {
  public:
    explicit SystemFile(FileHandle file) : file_(std::move(file)) {}
    uint32_t seek(int32_t distance, int method) override { return file_.seek(distance, method); }
    uint32_t size() override { return file_.size(); }
    bool read(void* buffer, uint32_t count, uint32_t* done) override { return file_.read(buffer, count, done); }
    bool write(const void* buffer, uint32_t count, uint32_t* done) override { return file_.write(buffer, count, done); }
    bool readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) override {
        return file_.readAt(offset, buffer, count, done);
    }
    bool writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) override {
        return file_.writeAt(offset, buffer, count, done);
    }
    bool lock(uint32_t offset, uint32_t length) override { return file_.lock(offset, length); }
    bool unlock(uint32_t offset, uint32_t length) override { return file_.unlock(offset, length); }
    bool truncate() override { return file_.truncate(); }
    bool close() override { return file_.close(); }

  private:
    FileHandle file_;
};

class SystemFileSystem : public FileSystem {
  public:
    std::unique_ptr<OpenFile> open(const char* name,
                                   uint32_t access,
                                   uint32_t share,
                                   uint32_t disposition,
                                   uint32_t flags) override {
        FileHandle file;
        if (!file.openNative(name, access, share, disposition, flags))
            return nullptr;
        return std::make_unique<SystemFile>(std::move(file));
    }
    bool deleteFile(const char* name) override { return deleteFileNative(name); }
    bool renameFile(const char* from, const char* to) override { return renameFileNative(from, to); }
    bool exists(const char* name) override { return fileExistsNative(name); }
    int sameFile(const char* a, const char* b) override { return sameFileNative(a, b); }
};

}  // namespace

FileSystem& systemFileSystem() {
    static SystemFileSystem system;
    return system;
}

FileSystem* installFileSystem(FileSystem* fs) {
    FileSystem* previous = installed;
    installed = fs;
    return previous;
}

FileHandle::~FileHandle() {
    close();
}

bool FileHandle::open(const char* name, uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags) {
    close();
    if (!installed)
        return openNative(name, access, share, disposition, flags);
    other_ = installed->open(name, access, share, disposition, flags);
    return other_ != nullptr;
}

bool FileHandle::close() {
    if (!other_)
        return closeNative();
    bool ok = other_->close();
    other_.reset();
    return ok;
}

uint32_t FileHandle::seek(int32_t distance, int method) {
    return other_ ? other_->seek(distance, method) : seekNative(distance, method);
}

uint32_t FileHandle::size() const {
    return other_ ? other_->size() : sizeNative();
}

bool FileHandle::read(void* buffer, uint32_t count, uint32_t* done) {
    return other_ ? other_->read(buffer, count, done) : readNative(buffer, count, done);
}

bool FileHandle::write(const void* buffer, uint32_t count, uint32_t* done) {
    return other_ ? other_->write(buffer, count, done) : writeNative(buffer, count, done);
}

bool FileHandle::readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) {
    return other_ ? other_->readAt(offset, buffer, count, done) : readAtNative(offset, buffer, count, done);
}

bool FileHandle::writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) {
    return other_ ? other_->writeAt(offset, buffer, count, done) : writeAtNative(offset, buffer, count, done);
}

bool FileHandle::lock(uint32_t offset, uint32_t length) {
    return other_ ? other_->lock(offset, length) : lockNative(offset, length);
}

bool FileHandle::unlock(uint32_t offset, uint32_t length) {
    return other_ ? other_->unlock(offset, length) : unlockNative(offset, length);
}

bool FileHandle::truncate() {
    return other_ ? other_->truncate() : truncateNative();
}

bool deleteFile(const char* name) {
    return installed ? installed->deleteFile(name) : deleteFileNative(name);
}

bool renameFile(const char* from, const char* to) {
    return installed ? installed->renameFile(from, to) : renameFileNative(from, to);
}

bool fileExists(const char* name) {
    return installed ? installed->exists(name) : fileExistsNative(name);
}

int sameFile(const char* a, const char* b) {
    return installed ? installed->sameFile(a, b) : sameFileNative(a, b);
}

}  // namespace platform
