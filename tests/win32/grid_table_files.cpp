// Raw dBase III writer for big test tables.
#include "tests/win32/grid_table_files.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace gridtest {

namespace {

constexpr int kRecordLength = 1 + 10 + 8;
constexpr int kHeaderLength = 32 * 3 + 2;

void put16(std::vector<unsigned char>& b, size_t at, unsigned v) {
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}

void put32(std::vector<unsigned char>& b, size_t at, unsigned long v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

void descriptor(std::vector<unsigned char>& b, size_t at, const char* name, char type, int width, int offset) {
    memcpy(&b[at], name, strlen(name));
    b[at + 11] = static_cast<unsigned char>(type);
    put32(b, at + 12, static_cast<unsigned long>(offset));
    b[at + 16] = static_cast<unsigned char>(width);
}

void record(char* out, long r) {
    char name[16];
    snprintf(name, sizeof name, "R%07ld", r % 10000000);
    char text[48];
    snprintf(text, sizeof text, " %-10s%8ld", name, r);
    memcpy(out, text, kRecordLength);
}

bool writeAt(HANDLE file, long long position, const void* bytes, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = position;
    DWORD written = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && WriteFile(file, bytes, size, &written, nullptr) &&
           written == size;
}

bool writeRecords(HANDLE file, long first, long last) {
    std::vector<char> chunk;
    constexpr long kChunk = 4096;
    for (long r = first; r <= last; r += kChunk) {
        long end = r + kChunk - 1 < last ? r + kChunk - 1 : last;
        chunk.assign(static_cast<size_t>(end - r + 1) * kRecordLength, ' ');
        for (long i = r; i <= end; ++i)
            record(&chunk[static_cast<size_t>(i - r) * kRecordLength], i);
        if (!writeAt(file, kHeaderLength + static_cast<long long>(r - 1) * kRecordLength, chunk.data(),
                     static_cast<DWORD>(chunk.size())))
            return false;
    }
    return true;
}

}  // namespace

bool writeNumberedTable(const std::string& path, long records, bool sparse, long written) {
    std::vector<unsigned char> header(kHeaderLength, 0);
    header[0] = 0x03;
    header[1] = 124;
    header[2] = 1;
    header[3] = 1;
    put32(header, 4, static_cast<unsigned long>(records));
    put16(header, 8, kHeaderLength);
    put16(header, 10, kRecordLength);
    descriptor(header, 32, "NAME", 'C', 10, 1);
    descriptor(header, 64, "NUM", 'N', 8, 11);
    header[96] = 0x0D;
    header[97] = 0x00;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = writeAt(file, 0, header.data(), static_cast<DWORD>(header.size()));
    if (!sparse || records <= 2 * written) {
        ok = ok && writeRecords(file, 1, records);
    } else {
        // The middle stays a hole: the file has its full length without the writing.
        ok = ok && writeRecords(file, 1, written) && writeRecords(file, records - written + 1, records);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace gridtest
