// Keeps a test window's picture as build/<win32>/screenshots/<name> (a 32-bit bitmap file).
#pragma once

#include <windows.h>

#include <string>

namespace harness {

void saveScreenshot(HWND window, const std::string& name);

}  // namespace harness
