// dbf::appendFrom: appends the records of another table (fields matched by name, memo texts carried over)
// or the lines of a fixed-width text file in this table's record layout.
#include <cstring>
#include <string>
#include <vector>

#include "base/file_platform.h"
#include "base/find.h"
#include "dbf/bulk_io.h"
#include "dbf/dbf.h"

namespace {

// Splits a text file into CR LF lines. A zero byte is data like any other (the fixed-width layout may
// hold one), and a line longer than `limit` keeps its first `limit` bytes: its rest is not a line.
class LineReader {
  public:
    LineReader(files& file, size_t limit) : file_(file), limit_(limit), buffer_(1 << 16) {}

    // The next line, without its terminator, in `line`; false when nothing is left.
    bool next(std::string& line) {
        line.clear();
        if (start_ == end_ && !fill())
            return false;
        for (;;) {
            const char* data = buffer_.data();
            for (size_t i = start_; i + 1 < end_; ++i) {
                if (data[i] == '\r' && data[i + 1] == '\n') {
                    take(line, data + start_, i - start_);
                    start_ = i + 2;
                    return true;
                }
            }
            // No terminator yet: a CR as the last byte may begin one, so it waits for the next read.
            size_t keep = data[end_ - 1] == '\r' ? end_ - 1 : end_;
            take(line, data + start_, keep - start_);
            start_ = keep;
            if (!fill()) {
                take(line, buffer_.data() + start_, end_ - start_);  // the file's last line, unterminated
                start_ = end_;
                return true;
            }
        }
    }
    bool atEnd() { return start_ == end_ && !fill(); }

  private:
    files& file_;
    size_t limit_;
    std::vector<char> buffer_;
    size_t start_ = 0, end_ = 0;
    uint32_t position_ = 0;

    void take(std::string& line, const char* bytes, size_t count) {
        if (line.size() < limit_)
            line.append(bytes, std::min(count, limit_ - line.size()));
    }
    // Moves the unread bytes to the front and reads more behind them; false when nothing more came.
    bool fill() {
        size_t left = end_ - start_;
        memmove(buffer_.data(), buffer_.data() + start_, left);
        start_ = 0;
        end_ = left;
        uint32_t got = 0;
        if (!file_.readAt(position_, buffer_.data() + end_, static_cast<uint32_t>(buffer_.size() - end_), &got) ||
            got == 0)
            return false;
        position_ += got;
        end_ += got;
        return true;
    }
};

}  // namespace

int dbf::appendFrom(const char* name) {
    if (!open_ || !name || fileName_ == name)
        return 0;
    bool savedOem = oem_;
    oem_ = false;
    if (!lockTable()) {
        oem_ = savedOem;
        return 0;
    }
    int result = 0;
    refusedValues_ = 0;
    // Opening a missing name would create an empty file; a read-only table is still a table.
    dbf source(name);
    bool isTable = fileExists(name) && (source.open(1) || source.open(0));
    if (isTable) {
        source.oem_ = false;
        std::vector<int> match(fieldCount_);
        for (int i = 0; i < fieldCount_; ++i)
            match[static_cast<size_t>(i)] = source.fieldIndex(fieldInfo(i)->name);
        if (source.lockTable()) {
            bool ok = true;
            BulkAppender appender(*this);
            for (source.goTop(); ok && !source.isEof(); source.skip(1)) {
                appender.startRecord();
                for (int i = 0; ok && i < fieldCount_; ++i) {
                    int s = match[static_cast<size_t>(i)];
                    if (s < 0)
                        continue;
                    bool memoHere = fieldType(i) == 'M', memoThere = source.fieldType(s) == 'M';
                    const char* text = source.getField(s);
                    if (memoThere)
                        text = source.readMemo(text);
                    if (memoHere)
                        ok = appender.putMemo(i, text);
                    else if (!setField(i, text))
                        ++refusedValues_;  // a number too wide for the field stays blank
                }
                ok = ok && appender.endRecord();
            }
            ok = appender.finish() && ok;
            source.unlock();
            result = ok ? 1 : 0;
        }
        source.close();
    } else if (fileExists(name)) {
        files text(name, 512);
        if (text.openFile(platform::kGenericRead, platform::kShareRead | platform::kShareWrite, platform::kOpenExisting,
                          platform::kFlagRandomAccess | platform::kAttributeNormal)) {
            long remembered = recNo_;
            goTop();
            const size_t width = header_.recordLength - 1u;
            LineReader reader(text, width);
            std::string line;
            bool ok = true;
            {
                BulkAppender appender(*this);
                while (ok && reader.next(line)) {
                    if (line.empty() && reader.atEnd())
                        break;
                    appender.startRecord();
                    memcpy(&record_[1], line.data(), line.size());
                    // Numbers re-formatted, logicals to T or F, invalid dates blank, memo fields empty.
                    for (int i = 0; ok && i < fieldCount_; ++i) {
                        char type = fieldType(i);
                        if ((type == 'N' || type == 'L' || type == 'D') && !setField(i, getField(i))) {
                            // setField copies the text first; a number too wide for the field is left blank
                            memset(&record_[offsets_[i]], ' ', widths_[i]);
                            ++refusedValues_;
                        } else if (type == 'M') {
                            ok = setField(i, "") == 1;
                        }
                    }
                    ok = ok && appender.endRecord();
                }
                ok = appender.finish() && ok;
            }
            goTo(remembered);
            text.closeFile();
            result = ok ? 1 : 0;
        }
    }
    unlock();
    oem_ = savedOem;
    return result;
}
