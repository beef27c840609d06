// The failing file system of the engine tests: the real files, with one chosen call made to fail.
#include "tests/dbf/fault_fs.h"

#include <utility>

namespace dbftest {

namespace {

class FaultyFile : public platform::OpenFile {
  public:
    FaultyFile(FaultyFileSystem& fs, std::unique_ptr<platform::OpenFile> real, std::string name)
        : fs_(fs), real_(std::move(real)), name_(std::move(name)) {}
    uint32_t seek(int32_t distance, int method) override { return real_->seek(distance, method); }
    uint32_t size() override { return real_->size(); }
    bool read(void* buffer, uint32_t count, uint32_t* done) override { return real_->read(buffer, count, done); }
    bool readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) override {
        return real_->readAt(offset, buffer, count, done);
    }
    bool write(const void* buffer, uint32_t count, uint32_t* done) override {
        if (!fs_.fails(FaultOp::Write, name_))
            return real_->write(buffer, count, done);
        *done = 0;
        if (fs_.shortWrite() && count > 1)
            real_->write(buffer, count / 2, done);
        return false;
    }
    bool writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) override {
        if (!fs_.fails(FaultOp::Write, name_))
            return real_->writeAt(offset, buffer, count, done);
        *done = 0;
        if (fs_.shortWrite() && count > 1)
            real_->writeAt(offset, buffer, count / 2, done);
        return false;
    }
    bool lock(uint32_t offset, uint32_t length) override {
        if (fs_.beforeLock) {
            auto hook = std::move(fs_.beforeLock);
            fs_.beforeLock = nullptr;
            hook();
        }
        return real_->lock(offset, length);
    }
    bool unlock(uint32_t offset, uint32_t length) override { return real_->unlock(offset, length); }
    bool truncate() override { return real_->truncate(); }
    bool close() override { return real_->close(); }

  private:
    FaultyFileSystem& fs_;
    std::unique_ptr<platform::OpenFile> real_;
    std::string name_;
};

}  // namespace

void FaultyFileSystem::failAt(FaultOp op, int nth, bool andLater, bool shortWrite, std::string nameHas) {
    op_ = op;
    nth_ = nth;
    andLater_ = andLater;
    shortWrite_ = shortWrite;
    nameHas_ = std::move(nameHas);
    fired_ = false;
    for (int& c : calls_)
        c = 0;
}

bool FaultyFileSystem::fails(FaultOp op, const std::string& name) {
    if (!nameHas_.empty() && name.find(nameHas_) == std::string::npos)
        return false;
    int n = ++calls_[static_cast<int>(op)];
    bool fail = op == op_ && nth_ > 0 && (n == nth_ || (andLater_ && n > nth_));
    fired_ = fired_ || fail;
    return fail;
}

std::unique_ptr<platform::OpenFile> FaultyFileSystem::open(const char* name,
                                                           uint32_t access,
                                                           uint32_t share,
                                                           uint32_t disposition,
                                                           uint32_t flags) {
    if (fails(FaultOp::Open, name))
        return nullptr;
    auto real = platform::systemFileSystem().open(name, access, share, disposition, flags);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyFile>(*this, std::move(real), name);
}

bool FaultyFileSystem::deleteFile(const char* name) {
    return !fails(FaultOp::Delete, name) && platform::systemFileSystem().deleteFile(name);
}

bool FaultyFileSystem::renameFile(const char* from, const char* to) {
    return !fails(FaultOp::Rename, from) && platform::systemFileSystem().renameFile(from, to);
}

}  // namespace dbftest
