// The buffered file object: flags, CR LF lines both ways, positioned and read-ahead access.
#include "base/files.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "base/codepage.h"
#include "base/settings.h"

namespace {

constexpr uint32_t kReadAheadSize = 32768;

int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

files::files(const char* name, int lineBufferSize)
    : name_(name ? name : ""), lineBufferSize_(lineBufferSize > 0 ? lineBufferSize : 1) {
    name_.resize(std::min<size_t>(name_.size(), 255));
    lastLine_.assign(static_cast<size_t>(lineBufferSize_) + 3, '\0');
}

int files::openFile(uint32_t access, uint32_t share, uint32_t disposition, uint32_t flags) {
    dropCache();
    if (!file_.open(name_.c_str(), access, share, disposition, flags)) {
        eof_ = start_ = true;
        return 0;
    }
    eof_ = start_ = file_.size() == 0;
    return 1;
}

int files::closeFile() {
    dropCache();
    return file_.close() ? 1 : 0;
}

uint32_t files::seek(int32_t distance, int method) {
    return file_.seek(distance, method);
}

uint32_t files::tell() {
    return file_.seek(0, platform::kFileCurrent);
}

uint32_t files::size() {
    return file_.size();
}

int files::write(const void* bytes, uint32_t count, uint32_t* written) {
    dropCache();
    return file_.write(bytes, count, written) ? 1 : 0;
}

int files::read(void* buffer, uint32_t count, uint32_t* got) {
    start_ = false;
    uint32_t here = tell();
    if (here == platform::kInvalidPosition || here >= size()) {
        eof_ = true;
        *got = 0;
        return 0;
    }
    eof_ = false;
    return file_.read(buffer, count, got) ? 1 : 0;
}

int files::readAt(uint32_t offset, void* buffer, uint32_t count, uint32_t* got) {
    start_ = false;
    // An empty read at the offset tells the end of the file without asking for the size first.
    bool ok = file_.readAt(offset, buffer, count, got);
    eof_ = ok && *got == 0 && count > 0;
    return ok && !eof_ ? 1 : 0;
}

int files::writeAt(uint32_t offset, const void* bytes, uint32_t count, uint32_t* written) {
    dropCache();
    return file_.writeAt(offset, bytes, count, written) ? 1 : 0;
}

int files::readAhead(uint32_t offset, void* buffer, uint32_t count, uint32_t* got) {
    if (count > kReadAheadSize / 2)
        return readAt(offset, buffer, count, got);
    int64_t now = nowMs();
    if (offset < cacheStart_ || offset - cacheStart_ > cacheLength_ || cacheLength_ - (offset - cacheStart_) < count ||
        now - cacheTime_ > kReadAheadLifetimeMs) {
        cache_.resize(kReadAheadSize);
        uint32_t filled = 0;
        cacheLength_ = 0;
        if (!readAt(offset, cache_.data(), kReadAheadSize, &filled) || filled == 0) {
            // Windows refuses a read that touches a range another handle has locked: the window may fail
            // where the record alone would not.
            *got = 0;
            return eof_ ? 0 : readAt(offset, buffer, count, got);
        }
        cacheStart_ = offset;
        cacheLength_ = filled;
        cacheTime_ = now;
    }
    start_ = eof_ = false;
    uint32_t from = offset - cacheStart_;
    *got = std::min(count, cacheLength_ - from);
    memcpy(buffer, cache_.data() + from, *got);
    return 1;
}

void files::keepLastLine(const char* line) {
    size_t n = strnlen(line, static_cast<size_t>(lineBufferSize_));
    memcpy(lastLine_.data(), line, n);
    lastLine_[n] = '\0';
}

int files::readLine(char* buffer, int maxLength, uint32_t* got) {
    *got = 0;
    if (maxLength < 0)
        maxLength = 0;
    uint32_t p = tell();
    uint32_t total = size();
    uint32_t available = p < total ? total - p : 0;
    uint32_t k = std::min(available, static_cast<uint32_t>(maxLength));
    memset(buffer, 0, static_cast<size_t>(maxLength) + 1);
    uint32_t n = 0;
    int ok = read(buffer, k, &n);
    if (!ok) {
        seek(static_cast<int32_t>(p), platform::kFileBegin);
        buffer[0] = '\0';
        keepLastLine(buffer);
        return 0;
    }
    uint32_t i = 0;
    while (i < n && buffer[i] != '\0' && !(buffer[i] == terminator_[0] && i + 1 < n && buffer[i + 1] == terminator_[1]))
        ++i;
    // Behind a terminator the next line starts after it; behind a zero byte, after that byte alone.
    uint32_t consumed = i;
    if (i < n)
        consumed += buffer[i] == '\0' ? 1 : static_cast<uint32_t>(terminatorLength_);
    buffer[i] = '\0';
    if (n > consumed)
        seek(-static_cast<int32_t>(n - consumed), platform::kFileCurrent);
    *got = i;
    keepLastLine(buffer);
    return 1;
}

char* files::readPrevLine(char* buffer, int maxLength, uint32_t* got) {
    *got = 0;
    uint32_t p = tell();
    eof_ = p == size();
    start_ = p == 0;
    buffer[0] = '\0';
    lastLine_[0] = '\0';
    if (p == 0 || p == platform::kInvalidPosition || maxLength <= 0)
        return buffer;
    uint32_t k = std::min(p, static_cast<uint32_t>(maxLength));
    uint32_t chunkStart = p - k;
    std::vector<char> chunk(k + 1, '\0');
    uint32_t n = 0;
    seek(static_cast<int32_t>(chunkStart), platform::kFileBegin);
    read(chunk.data(), k, &n);
    if (n >= 2 && chunk[n - 2] == terminator_[0] && chunk[n - 1] == terminator_[1])
        n -= 2;
    uint32_t lineStart = 0;
    for (uint32_t j = n; j >= 2; --j) {
        if (chunk[j - 2] == terminator_[0] && chunk[j - 1] == terminator_[1]) {
            lineStart = j;
            break;
        }
    }
    uint32_t length = std::min(n - lineStart, static_cast<uint32_t>(lineBufferSize_));
    length = std::min(length, static_cast<uint32_t>(maxLength));
    memcpy(buffer, chunk.data() + lineStart, length);
    buffer[length] = '\0';
    keepLastLine(buffer);
    seek(static_cast<int32_t>(chunkStart + lineStart), platform::kFileBegin);
    *got = length;
    return buffer;
}

char* files::moveLines(long count, char* buffer) {
    uint32_t got = 0;
    buffer[0] = '\0';
    if (count < 0 && tell() > 0) {
        for (long i = 0; i < -count && tell() > 0; ++i)
            readPrevLine(buffer, lineBufferSize_, &got);
    } else if (count < 0) {
        readLine(buffer, lineBufferSize_, &got);
    } else {
        long times = std::max(count, 1L);
        for (long i = 0; i < times; ++i) {
            readLine(buffer, lineBufferSize_, &got);
            if (tell() >= size())
                break;
        }
    }
    if (settingOn(SET_OEMTOANSI))
        oemToAnsi(buffer);
    return buffer;
}

int files::lock(uint32_t offset, uint32_t length) {
    lastLockOffset_ = offset;
    dropCache();
    return file_.lock(offset, length) ? 1 : 0;
}

int files::unlock(uint32_t offset, uint32_t length) {
    lastLockOffset_ = offset;
    return file_.unlock(offset, length) ? 1 : 0;
}
