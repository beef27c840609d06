// Large-write helpers of the whole-table operations: a buffered writer for new files and an appender that
// adds records and memo texts to a table in big writes instead of one system call per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/files.h"
#include "dbf/dbf.h"

// Collects bytes and writes them to `file` from `offset` on, in large pieces.
class BufferedOutput {
  public:
    BufferedOutput(files& file, uint32_t offset);
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;

    void append(const char* bytes, size_t count);
    void append(const char* text);
    // Writes what is collected; false once any write failed or the file would pass 4 GB.
    bool flush();
    bool ok() const { return ok_; }

  private:
    files& file_;
    uint64_t offset_;
    std::vector<char> buffer_;
    bool ok_ = true;
};

// Appends `text` as HTML text: a value such as "<b>" or "a<b" must not become markup.
void appendHtmlEscaped(BufferedOutput& out, const char* text);

// Appends records to an open table that holds its table lock. Each record is built in the table's record
// buffer (startRecord, then setField or putMemo), queued by endRecord and written in large pieces. The
// file bytes are those appendBlank, setField, writeRecord and writeMemo would leave, except that an
// empty memo text takes no block. The record count is written once, after everything it counts: until
// then the table is as it was, and a failed or abandoned append puts back the files' old ends.
class BulkAppender {
  public:
    explicit BulkAppender(dbf& table);
    ~BulkAppender();
    BulkAppender(const BulkAppender&) = delete;
    BulkAppender& operator=(const BulkAppender&) = delete;

    // The record buffer becomes the blank record (flag byte a space).
    void startRecord();
    // Stores `text` as the memo of field `index` of the record being built, in new blocks at the end of
    // the memo file (taking the memo file's header lock on first use).
    bool putMemo(int index, const char* text);
    // Sets every field from the same field of `source` (a table of the same structure) as
    // setField(i, source.getField(i)) with both conversions off would, and blanks the memo fields for
    // putMemo. Bytes that setField would store unchanged, or refuses, are copied as they are. Any
    // room behind the last field of the source is left out.
    bool copyFields(dbf& source);
    // Sets N field `index` from `text` as setField would: a plain decimal ("-12.5") is placed directly
    // when it fits the field's form, anything else goes through setField. False when it does not fit.
    bool setNumber(int index, const char* text);
    // Queues the record buffer as the next record.
    bool endRecord();
    // Writes everything queued, the memo header and the record count; releases the memo lock and makes
    // the last appended record current. False when any step failed: then nothing is appended. Called
    // by the destructor too.
    bool finish();
    // Drops every queued and written record and memo text: the table and memo file are as they were.
    void abandon();
    // Ends the run: finish when everything so far went well, otherwise abandon. True when finished.
    bool conclude(bool ok) {
        if (ok)
            return finish();
        abandon();
        return false;
    }
    long appended() const { return static_cast<long>(count_ - firstCount_); }

  private:
    dbf& table_;
    bool ok_ = true;
    bool finished_ = false;
    uint32_t firstCount_ = 0;
    uint32_t count_ = 0;      // records on disk plus queued
    uint32_t written_ = 0;    // records on disk
    bool endMarker_ = false;  // the file ended in a 0x1A marker: it goes back behind the last record
    uint32_t tableSize_ = 0;  // the files' sizes and the memo header before the append
    uint32_t memoSize_ = 0;
    uint8_t memoHeader_[20] = {};
    std::vector<char> records_;
    std::vector<char> types_;  // field types and decimals, looked up once
    std::vector<int> decimals_;
    bool memoStarted_ = false;
    uint32_t memoNext_ = 0;
    uint64_t memoBatchStart_ = 0;
    std::vector<char> memoBatch_;
    std::vector<char> memoText_;

    bool flushRecords();
    bool flushMemo();
    bool startMemo();
    void rollBack();
};
