// dbf: construction, open and close with the header checks, create, and the field directory.
#include "dbf/dbf.h"

#include <cstring>
#include <ctime>

#include "base/codepage.h"
#include "base/settings.h"

namespace {

constexpr uint8_t kVersionPlain = 0x03;
constexpr uint8_t kVersionMemo = 0x83;
constexpr uint8_t kDriverCp852 = 0x64;
constexpr uint8_t kDriverCp1250 = 0xC8;
constexpr int kDescriptorSize = 32;
constexpr uint32_t kTableFlags = platform::kFlagRandomAccess | platform::kAttributeNormal;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

std::string memoNameOf(const std::string& table) {
    std::string name = table;
    if (!name.empty())
        name.back() = 'T';
    return name;
}

// Language drivers of the Windows code pages: such a table's text is already ANSI and is never converted.
bool isWindowsCodePage(uint8_t driver) {
    static const uint8_t windows[] = {0x03, 0x57, 0x58, 0x59, 0x7D, 0x7E, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC};
    return memchr(windows, driver, sizeof windows) != nullptr;
}

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The OEM-to-ANSI mapping of every byte, taken once from the conversion function itself. Both code pages
// are single-byte, so the mapping is per byte, and one table lookup per byte is far cheaper than a call.
const unsigned char* oemToAnsiTable() {
    static unsigned char table[256];
    static const bool built = [] {
        char all[256];
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        oemToAnsi(all, sizeof all);
        memcpy(table, all, sizeof table);
        return true;
    }();
    (void)built;
    return table;
}

}  // namespace

void dbf::oemToAnsiBytes(char* bytes, size_t length) {
    const unsigned char* table = oemToAnsiTable();
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
}

dbf::dbf(const char* fileName)
    : oem_(settingOn(SET_OEMTOANSI)),
      table_(fileName, 512),
      memo_(memoNameOf(fileName ? fileName : "").c_str(), 512),
      fileName_(fileName ? fileName : ""),
      memoName_(memoNameOf(fileName_)) {}

dbf::~dbf() {
    close();
}

void dbf::clearState() {
    header_ = Header();
    fieldCount_ = 0;
    recNo_ = 0;
    memoNextFree_ = 0;
    memset(memoHeader_, 0, sizeof memoHeader_);
    descriptors_.clear();
    record_.assign(1, '\0');
    offsets_.clear();
    blank_.clear();
    eof_ = bof_ = false;
    tableLock_ = false;
    lockStart_ = lockLength_ = 0;
    memoText_.clear();
    values_.clear();
    valueAt_.clear();
    widths_.clear();
    text_.clear();
}

int dbf::open(int writeAccess) {
    if (open_)
        return 1;
    clearState();
    uint32_t access = writeAccess ? platform::kGenericRead | platform::kGenericWrite : platform::kGenericRead;
    uint32_t share = writeAccess ? platform::kShareRead | platform::kShareWrite : platform::kShareRead;
    if (!table_.openFile(access, share, platform::kOpenAlways, kTableFlags))
        return 0;
    uint8_t head[32];
    uint32_t got = 0;
    if (!table_.readAt(0, head, sizeof head, &got) || got != sizeof head ||
        (head[0] != kVersionPlain && head[0] != kVersionMemo)) {
        table_.closeFile();
        return 0;
    }
    header_.version = head[0];
    header_.year = head[1];
    header_.month = head[2];
    header_.day = head[3];
    header_.recordCount = le32(head + 4);
    header_.headerLength = le16(head + 8);
    header_.recordLength = le16(head + 10);
    languageDriver_ = head[29];
    if (isWindowsCodePage(languageDriver_))
        oem_ = false;
    if (header_.version == kVersionMemo) {
        // The memo file must exist: creating an empty one here would hide a lost memo file.
        if (!memo_.openFile(access, share, platform::kOpenExisting, kTableFlags)) {
            table_.closeFile();
            return 0;
        }
        memoText_.assign(kMemoBufferSize, '\0');
        uint32_t n = 0;
        memo_.readAt(0, memoHeader_, sizeof memoHeader_, &n);
        memoNextFree_ = n >= 4 ? le32(memoHeader_) : 0;
    }
    if (!parseDescriptors()) {
        memo_.closeFile();
        table_.closeFile();
        clearState();
        return 0;
    }
    open_ = true;
    blank_.assign(static_cast<size_t>(header_.recordLength) + 1, ' ');
    blank_[header_.recordLength] = 0x1A;
    if (header_.recordCount < 1) {
        memset(record_.data(), 0, record_.size());
        recNo_ = 0;
        bof_ = eof_ = true;
    } else {
        goTop();
    }
    return 1;
}

// Reads and checks the field descriptors and builds the offset table and value buffers. Refuses what
// could make a field reach outside the record: the field copy trusts the offsets from here on.
bool dbf::parseDescriptors() {
    if (header_.headerLength < 2 * kDescriptorSize || header_.recordLength < 1)
        return false;
    uint32_t count = (header_.headerLength - kDescriptorSize) / kDescriptorSize;
    descriptors_.assign(static_cast<size_t>(count) * kDescriptorSize, 0);
    uint32_t got = 0;
    if (!table_.readAt(kDescriptorSize, descriptors_.data(), static_cast<uint32_t>(descriptors_.size()), &got) ||
        got != descriptors_.size())
        return false;
    // Some writers leave room behind the descriptors; the list ends at the 0x0D terminator.
    for (uint32_t i = 0; i < count; ++i) {
        if (descriptors_[static_cast<size_t>(i) * kDescriptorSize] == 0x0D) {
            count = i;
            break;
        }
    }
    if (count == 0)
        return false;
    descriptors_.resize(static_cast<size_t>(count) * kDescriptorSize);
    fieldCount_ = static_cast<uint16_t>(count);
    offsets_.assign(count + 1, 0);
    widths_.assign(count, 0);
    valueAt_.assign(count + 1, 0);
    uint32_t offset = 1;
    uint32_t valueSize = 0;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t* d = &descriptors_[static_cast<size_t>(i) * kDescriptorSize];
        d[10] = 0;  // a name without terminator stops at 10 characters
        // A float field is a number field by another letter (dBase IV and others write it in version 0x03).
        if (d[11] == 'F')
            d[11] = 'N';
        char type = static_cast<char>(d[11]);
        uint32_t width;
        if (type == 'N') {
            width = d[16];
            if (width > 63)
                return false;
        } else {
            if (le16(d + 16) > 255)
                return false;
            width = type == 'D' ? 8 : d[16];
        }
        widths_[i] = static_cast<uint16_t>(width);
        offsets_[i] = static_cast<uint16_t>(offset);
        offset += width;
        if (offset > header_.recordLength)
            return false;
        valueAt_[i] = valueSize;
        valueSize += type == 'N' ? 64 : width + 1;
    }
    offsets_[count] = static_cast<uint16_t>(offset);
    valueAt_[count] = valueSize;
    values_.assign(valueSize, '\0');
    record_.assign(static_cast<size_t>(header_.recordLength) + 1, '\0');
    return true;
}

int dbf::close() {
    if (!open_) {
        memo_.closeFile();
        table_.closeFile();
        return 0;
    }
    if (lockLength_ > 0)
        table_.unlock(lockStart_, lockLength_);
    memo_.closeFile();
    table_.closeFile();
    open_ = false;
    clearState();
    return 1;
}

int dbf::create(const FieldDef* defs, int count) {
    // The count is kept in a signed byte on disk tools of the era; more would write a damaged header.
    if (!defs || count < 1 || count > kMaxCreateFields)
        return 0;
    uint32_t recordLength = 1;
    bool memo = false;
    for (int i = 0; i < count; ++i) {
        recordLength += defs[i].width;
        memo = memo || defs[i].type == 'M';
    }
    if (recordLength > 0xFFFF)
        return 0;
    uint32_t headerLength = kDescriptorSize * (count + 1) + 2;
    std::vector<uint8_t> out(headerLength, 0);
    time_t now = time(nullptr);
    struct tm local = {};
    const struct tm* t = localtime(&now);
    if (t)
        local = *t;
    out[0] = memo ? kVersionMemo : kVersionPlain;
    out[1] = static_cast<uint8_t>((local.tm_year + 1900) % 100);
    out[2] = static_cast<uint8_t>(local.tm_mon + 1);
    out[3] = static_cast<uint8_t>(local.tm_mday);
    put16(&out[8], headerLength);
    put16(&out[10], recordLength);
    // Independent readers decode text by the language driver: code page 852 when the text is OEM.
    out[29] = languageDriver_ ? languageDriver_ : oem_ ? kDriverCp852 : kDriverCp1250;
    uint32_t offset = 1;
    for (int i = 0; i < count; ++i) {
        uint8_t* d = &out[static_cast<size_t>(kDescriptorSize) * (i + 1)];
        size_t n = strnlen(defs[i].name, 10);
        memcpy(d, defs[i].name, n);
        d[11] = static_cast<uint8_t>(defs[i].type);
        put32(d + 12, offset);
        if (defs[i].type == 'N' || defs[i].type == 'F') {
            d[16] = static_cast<uint8_t>(defs[i].width);
            d[17] = defs[i].decimals;
        } else {
            put16(d + 16, defs[i].width);
        }
        offset += defs[i].width;
    }
    out[headerLength - 2] = 0x0D;
    out[headerLength - 1] = 0x00;

    files table(fileName_.c_str(), 512);
    if (!table.openFile(platform::kGenericRead | platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                        platform::kCreateAlways, kTableFlags))
        return 0;
    uint32_t written = 0;
    bool ok = table.write(out.data(), headerLength, &written) && written == headerLength;
    if (ok && memo) {
        files memoFile(memoName_.c_str(), 512);
        uint8_t block[kMemoBlockSize] = {};
        put32(block, 1);
        block[16] = 0x03;
        ok = memoFile.openFile(platform::kGenericRead | platform::kGenericWrite,
                               platform::kShareRead | platform::kShareWrite, platform::kCreateAlways, kTableFlags) &&
             memoFile.write(block, sizeof block, &written) && written == sizeof block;
        memoFile.closeFile();
    }
    table.closeFile();
    return ok ? 1 : 0;
}

int dbf::hasMemo() const {
    for (int i = 0; i < fieldCount_; ++i)
        if (fieldType(i) == 'M')
            return 1;
    return 0;
}

const FieldInfo* dbf::fieldInfo(int index) {
    memset(&info_, 0, sizeof info_);
    if (index < 0 || index >= fieldCount_)
        return &info_;
    const uint8_t* d = &descriptors_[static_cast<size_t>(index) * kDescriptorSize];
    memcpy(info_.name, d, 11);
    info_.name[10] = '\0';
    info_.type = static_cast<char>(d[11]);
    info_.width = d[16];
    info_.decimals = info_.type == 'N' ? d[17] : 0;
    return &info_;
}

int dbf::fieldIndex(const char* name) const {
    if (!name)
        return -1;
    for (int i = 0; i < fieldCount_; ++i) {
        const char* stored = reinterpret_cast<const char*>(&descriptors_[static_cast<size_t>(i) * kDescriptorSize]);
        int k = 0;
        while (k < 11 && stored[k] && upperAscii(stored[k]) == upperAscii(name[k]))
            ++k;
        if (k == 11 || (stored[k] == '\0' && name[k] == '\0'))
            return i;
    }
    return -1;
}

int dbf::fieldOffset(int index) const {
    return index >= 0 && index < fieldCount_ ? offsets_[index] : -1;
}

char dbf::fieldType(int index) const {
    return index >= 0 && index < fieldCount_ ? static_cast<char>(descriptors_[static_cast<size_t>(index) * 32 + 11])
                                             : '\0';
}

const char* dbf::getField(int index) {
    if (index < 0 || index >= fieldCount_)
        return "";
    char* value = &values_[valueAt_[index]];
    uint16_t width = widths_[index];
    const char* field = &record_[offsets_[index]];
    if (oem_) {
        const unsigned char* table = oemToAnsiTable();
        for (uint16_t k = 0; k < width; ++k)
            value[k] = static_cast<char>(table[static_cast<unsigned char>(field[k])]);
    } else {
        memcpy(value, field, width);
    }
    value[width] = '\0';
    return value;
}

const char* dbf::recordText() {
    // Converted in a copy: converting the record buffer itself would write ANSI bytes on the next write.
    size_t length = header_.recordLength;
    text_.assign(record_.begin(), record_.begin() + static_cast<long>(length));
    text_.push_back('\0');
    if (oem_ && length > 1)
        oemToAnsiBytes(&text_[1], length - 1);
    return length > 0 ? &text_[1] : "";
}

int dbf::isDeleted() const {
    return record_[0] == '*' ? 1 : 0;
}
