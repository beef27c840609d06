// `dbf`: one open dBase III table (.DBF) with its memo file (.DBT), one current record in a buffer,
// movement in file order that can hide deleted records, OEM/ANSI conversion of field text, byte-range locks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/files.h"

// The caller's description of one field (create, restructure, result tables).
struct FieldDef {
    char name[11];  // up to 10 characters, NUL-terminated
    char type;      // C, N, D, L or M (S and T in result tables)
    uint16_t width;
    uint8_t decimals;  // meaningful for N only
};

// What fieldInfo returns, in one record shared by all calls of one table.
struct FieldInfo {
    char name[11];
    char type;
    uint16_t width;    // for types other than N only the low byte of the stored width
    uint8_t decimals;  // 0 for types other than N
};

// Why the last whole-table operation (maintenance, append, export) failed; None after a success.
enum class TableError {
    None,
    LockRefused,   // another holder has a record or the table locked
    CannotCreate,  // the output file could not be made
    SameFile,      // the output is the table or its memo file itself
    NameTooLong,   // a name built from the table's would not fit
    ReadFailed,
    WriteFailed,  // a write or rename failed part-way (the disk may be full)
    Cancelled,    // the progress callback asked to stop; the table is as it was
};

// Progress of a whole-table operation: `report` gets the units done and the units in all, and returns 0
// to ask the operation to stop. A stopped operation leaves the table as it was and fails with Cancelled.
struct TableProgress {
    int (*report)(void* context, uint32_t done, uint32_t total) = nullptr;
    void* context = nullptr;
};

constexpr int kMemoBlockSize = 512;
constexpr int kMemoBufferSize = 64000;  // a memo reads back as at most kMemoBufferSize - 1 characters
constexpr int kMaxCreateFields = 127;

class dbf {
  public:
    // Takes the table file name only; nothing is opened. The OEM flag comes from SET_OEMTOANSI.
    explicit dbf(const char* fileName);
    ~dbf();
    dbf(const dbf&) = delete;
    dbf& operator=(const dbf&) = delete;

    int open(int writeAccess);
    int close();
    // Writes a new, empty table (and memo file) under this object's name; the object stays unopened.
    int create(const FieldDef* defs, int count);

    // Movement: 0 when a read fails (another holder may have locked the record on Windows); the current
    // record and its buffer then stay as they were.
    int goTop();
    int goBottom();
    int skip(long count);
    int goTo(long record);
    long recNo() const { return recNo_; }
    long recCount();  // re-read from the file
    int isEof() const { return eof_ ? 1 : 0; }
    int isBof() const { return bof_ ? 1 : 0; }
    int isDeleted() const;

    int deleteRecord();
    int recallRecord();
    int appendBlank();
    int writeRecord();

    int lockRecord();
    int lockTable();
    int unlock();

    int fieldCount() const { return fieldCount_; }
    int recordLength() const { return header_.recordLength; }
    const FieldInfo* fieldInfo(int index);
    int fieldIndex(const char* name) const;
    int fieldOffset(int index) const;
    char fieldType(int index) const;
    // The field's text, not trimmed, in the field's own buffer (overwritten by the next call).
    const char* getField(int index);
    // Formats `text` into the record buffer by the field's type; nothing is written to the file.
    int setField(int index, const char* text);
    const char* recordText();
    int hasMemo() const;
    const char* fileName() const { return fileName_.c_str(); }

    // The memo whose block number is `fieldText`, in the memo buffer (valid until the next readMemo).
    const char* readMemo(const char* fieldText);
    // Stores `text` as the memo of field `index` of the current record and writes the record.
    // 1 success, 0 failure, -1 when the memo file cannot be positioned. `text` is not changed.
    int writeMemo(int index, const char* text);

    // Maintenance and export copy raw bytes with the conversion switched off, then restore it.
    bool oemConversion() const { return oem_; }
    void setOemConversion(bool on) { oem_ = on; }
    bool isOpen() const { return open_; }
    // Byte 29 of the header: the code page the table's text is in. Set before create to give a new table
    // the code page of the table its bytes come from; 0 lets create choose by the OEM flag.
    uint8_t languageDriver() const { return languageDriver_; }
    void setLanguageDriver(uint8_t driver) { languageDriver_ = driver; }
    int headerLength() const { return header_.headerLength; }
    int version() const { return header_.version; }
    // The raw record buffer: the flag byte, then every field at its offset (record length bytes).
    const char* recordBuffer() const { return record_.data(); }
    const char* memoFileName() const { return memoName_.c_str(); }
    bool holdsTableLock() const { return tableLock_; }

    // Whole-table maintenance (maintenance.cpp, sort.cpp, append.cpp) and export (export.cpp). Each holds
    // the table lock for its whole run and releases it before returning. `out` receives the new file's
    // name and holds at least 512 bytes.
    int copyStructure(char* out);
    int zapToNew(char* out);
    int packToNew(char* out);
    int sortRecords(const char* key, const char* outName);
    int appendFrom(const char* name);
    int exportText(const char* name);
    int exportHtml(const char* name, const char* title, const char* const* columnTitles);
    // The whole-table operations above report to `progress` until it is replaced or cleared.
    void setProgress(const TableProgress& progress) { progress_ = progress; }
    TableError lastError() const { return lastError_; }
    // Values of the last append or restructure that did not fit their field and were left blank.
    long refusedValues() const { return refusedValues_; }

  private:
    friend class BulkAppender;

    struct Header {
        uint8_t version = 0;
        uint8_t year = 0, month = 0, day = 0;
        uint32_t recordCount = 0;
        uint16_t headerLength = 0;
        uint16_t recordLength = 0;
    };

    bool oem_;
    bool open_ = false;
    uint8_t languageDriver_ = 0;
    files table_;
    files memo_;
    Header header_;
    uint16_t fieldCount_ = 0;
    long recNo_ = 0;
    uint32_t memoNextFree_ = 0;
    uint8_t memoHeader_[20] = {};
    std::vector<uint8_t> descriptors_;
    std::vector<char> record_;
    std::vector<uint16_t> offsets_;
    std::vector<char> blank_;
    bool eof_ = false;
    bool bof_ = false;
    bool readFailed_ = false;  // a move met a read that failed (not the end); the record stays as it was
    bool tableLock_ = false;
    uint32_t lockStart_ = 0;
    uint32_t lockLength_ = 0;
    std::string fileName_;
    std::string memoName_;
    std::vector<char> memoText_;
    std::vector<char> values_;       // every field's value buffer, back to back
    std::vector<uint32_t> valueAt_;  // start of each field's value buffer in values_
    std::vector<uint16_t> widths_;   // width of each field as used in the record
    FieldInfo info_ = {};
    std::vector<char> text_;  // recordText's converted copy
    std::vector<char> work_;  // setField's and writeMemo's scratch
    TableProgress progress_;
    TableError lastError_ = TableError::None;
    long refusedValues_ = 0;

    // Helpers for the movement and record primitives.
    uint32_t recordCountOnDisk();
    uint64_t recordPosition(long record) const;
    long lastReadableRecord();
    enum class ReadResult { Read, End, Failed };
    ReadResult readRecord(long record, bool ahead);
    void refreshCount();
    void physicalStep(long current, int step);
    int settleAt(long record);
    bool hidden() const;
    bool isCurrentRangeLocked() const;
    void clearState();
    bool parseDescriptors();
    static void oemToAnsiBytes(char* bytes, size_t length);
};
