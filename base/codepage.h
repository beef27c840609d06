// OEM/ANSI conversion points: table text is OEM 852 on disk, the user interface works in Windows-1250.
#pragma once

#include <cstddef>

// Converts a NUL-terminated text in place from the OEM to the ANSI code page; returns the text.
char* oemToAnsi(char* text);
// Converts a NUL-terminated text in place from the ANSI to the OEM code page; returns the text.
char* ansiToOem(char* text);

// The same conversions over exactly `length` bytes, zero bytes included (record buffers).
void oemToAnsi(char* buffer, std::size_t length);
void ansiToOem(char* buffer, std::size_t length);

namespace codepage {

// The portable CP852 <-> CP1250 table the POSIX build converts with. It equals what Windows'
// OemToCharA / CharToOemA return under a Hungarian locale, best-fit choices included.
unsigned char portableOemToAnsi(unsigned char c);
unsigned char portableAnsiToOem(unsigned char c);

}  // namespace codepage
