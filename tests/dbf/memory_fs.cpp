// The in-memory file system of the engine tests and the fuzz target, with Windows' locking rules.
#include "tests/dbf/memory_fs.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace dbftest {

namespace {

using Node = MemoryFileSystem::Node;

class MemoryFile : public platform::OpenFile {
  public:
    MemoryFile(std::shared_ptr<Node> node, uint32_t access, uint32_t limit)
        : node_(std::move(node)), access_(access), limit_(limit) {
        ++node_->handles;
    }
    ~MemoryFile() override { close(); }

    uint32_t seek(int32_t distance, int method) override {
        int64_t base = method == platform::kFileCurrent ? position_
                       : method == platform::kFileEnd   ? static_cast<int64_t>(node_->data.size())
                                                        : 0;
        int64_t target = base + distance;
        if (target < 0 || target >= platform::kInvalidPosition)
            return platform::kInvalidPosition;
        position_ = static_cast<uint32_t>(target);
        return position_;
    }
    uint32_t size() override { return static_cast<uint32_t>(node_->data.size()); }
    bool read(void* buffer, uint32_t count, uint32_t* done) override {
        *done = 0;
        if (!(access_ & platform::kGenericRead) || lockedElsewhere(position_, count))
            return false;
        const std::vector<char>& data = node_->data;
        if (position_ < data.size()) {
            *done = static_cast<uint32_t>(std::min<size_t>(count, data.size() - position_));
            memcpy(buffer, data.data() + position_, *done);
            position_ += *done;
        }
        return true;
    }
    bool write(const void* buffer, uint32_t count, uint32_t* done) override {
        *done = 0;
        uint64_t end = static_cast<uint64_t>(position_) + count;
        if (!(access_ & platform::kGenericWrite) || lockedElsewhere(position_, count) || end > limit_)
            return false;
        std::vector<char>& data = node_->data;
        if (data.size() < end)
            data.resize(static_cast<size_t>(end), '\0');
        if (count)
            memcpy(data.data() + position_, buffer, count);
        position_ = static_cast<uint32_t>(end);
        *done = count;
        return true;
    }
    bool readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* done) override {
        position_ = offset;
        return read(buffer, count, done);
    }
    bool writeAt(uint32_t offset, const void* buffer, uint32_t count, uint32_t* done) override {
        position_ = offset;
        return write(buffer, count, done);
    }
    // LockFile: no waiting, and no lock over a byte that any handle (this one too) has locked already.
    bool lock(uint32_t offset, uint32_t length) override {
        if (length == 0)
            return true;
        for (const auto& l : node_->locks)
            if (overlaps(l, offset, length))
                return false;
        node_->locks.push_back({this, offset, length});
        return true;
    }
    // UnlockFile: only a range this handle locked, exactly as it was locked.
    bool unlock(uint32_t offset, uint32_t length) override {
        if (length == 0)
            return true;
        auto& locks = node_->locks;
        for (auto it = locks.begin(); it != locks.end(); ++it) {
            if (it->owner == this && it->offset == offset && it->length == length) {
                locks.erase(it);
                return true;
            }
        }
        return false;
    }
    bool truncate() override {
        if (!(access_ & platform::kGenericWrite))
            return false;
        node_->data.resize(position_, '\0');
        return true;
    }
    // Closing a handle releases its locks, as Windows does.
    bool close() override {
        if (closed_)
            return false;
        closed_ = true;
        auto& locks = node_->locks;
        locks.erase(std::remove_if(locks.begin(), locks.end(), [this](const auto& l) { return l.owner == this; }),
                    locks.end());
        --node_->handles;
        return true;
    }

  private:
    std::shared_ptr<Node> node_;
    uint32_t access_;
    uint32_t limit_;
    uint32_t position_ = 0;
    bool closed_ = false;

    static bool overlaps(const MemoryFileSystem::Lock& l, uint64_t offset, uint64_t length) {
        return offset < static_cast<uint64_t>(l.offset) + l.length && l.offset < offset + length;
    }
    // ReadFile and WriteFile fail over any byte another handle has locked.
    bool lockedElsewhere(uint32_t offset, uint32_t count) const {
        for (const auto& l : node_->locks)
            if (l.owner != this && count > 0 && overlaps(l, offset, count))
                return true;
        return false;
    }
};

}  // namespace

void MemoryFileSystem::put(const std::string& name, const void* bytes, size_t count) {
    auto& node = files_[name];
    if (!node)
        node = std::make_shared<Node>();
    const char* p = static_cast<const char*>(bytes);
    node->data.assign(p, p + count);
}

std::vector<char> MemoryFileSystem::bytes(const std::string& name) const {
    auto it = files_.find(name);
    return it == files_.end() ? std::vector<char>() : it->second->data;
}

void MemoryFileSystem::clear() {
    for (auto it = files_.begin(); it != files_.end();)
        it = it->second->handles == 0 ? files_.erase(it) : std::next(it);
}

std::unique_ptr<platform::OpenFile> MemoryFileSystem::open(const char* name,
                                                           uint32_t access,
                                                           uint32_t /*share*/,
                                                           uint32_t disposition,
                                                           uint32_t /*flags*/) {
    if (!name || !*name)
        return nullptr;
    auto it = files_.find(name);
    bool found = it != files_.end();
    switch (disposition) {
        case platform::kCreateNew:
            if (found)
                return nullptr;
            break;
        case platform::kOpenExisting:
        case platform::kTruncateExisting:
            if (!found)
                return nullptr;
            break;
        case platform::kCreateAlways:
        case platform::kOpenAlways:
            break;
        default:
            return nullptr;
    }
    std::shared_ptr<Node>& node = files_[name];
    if (!node)
        node = std::make_shared<Node>();
    if (disposition == platform::kCreateAlways || disposition == platform::kTruncateExisting)
        node->data.clear();
    return std::make_unique<MemoryFile>(node, access, maxFileSize_);
}

bool MemoryFileSystem::deleteFile(const char* name) {
    auto it = files_.find(name);
    if (it == files_.end() || it->second->handles > 0)
        return false;
    files_.erase(it);
    return true;
}

bool MemoryFileSystem::renameFile(const char* from, const char* to) {
    auto it = files_.find(from);
    if (it == files_.end() || it->second->handles > 0 || files_.count(to))
        return false;
    auto node = it->second;
    files_.erase(it);
    files_[to] = node;
    return true;
}

}  // namespace dbftest
