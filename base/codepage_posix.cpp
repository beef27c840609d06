// POSIX OEM/ANSI conversion through the baked CP852 <-> CP1250 table.
#include "base/codepage.h"

char* oemToAnsi(char* text) {
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(codepage::portableOemToAnsi(static_cast<unsigned char>(*p)));
    return text;
}

char* ansiToOem(char* text) {
    for (char* p = text; *p; ++p)
        *p = static_cast<char>(codepage::portableAnsiToOem(static_cast<unsigned char>(*p)));
    return text;
}

void oemToAnsi(char* buffer, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(codepage::portableOemToAnsi(static_cast<unsigned char>(buffer[i])));
}

void ansiToOem(char* buffer, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(codepage::portableAnsiToOem(static_cast<unsigned char>(buffer[i])));
}
