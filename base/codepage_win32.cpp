// Win32 OEM/ANSI conversion: the system's own OemToCharA / CharToOemA, in place.
#include <windows.h>

#include "base/codepage.h"

char* oemToAnsi(char* text) {
    OemToCharA(text, text);
    return text;
}

char* ansiToOem(char* text) {
    CharToOemA(text, text);
    return text;
}

// The ...BuffA forms convert a counted range, so zero bytes inside a record do not stop them.
void oemToAnsi(char* buffer, std::size_t length) {
    if (length > 0)
        OemToCharBuffA(buffer, buffer, static_cast<DWORD>(length));
}

void ansiToOem(char* buffer, std::size_t length) {
    if (length > 0)
        CharToOemBuffA(buffer, buffer, static_cast<DWORD>(length));
}
