// The picture viewer PICVIEW and the image loader it shares with the page printers. Windows build only.
#pragma once

#include <windows.h>

// Runs the modal viewer on `path` (a full path) and steps through the folder's pictures by left and
// right clicks and the wheel. Returns when the viewer closes.
void showPictureViewer(HWND owner, const char* path);

// A .bmp, .gif, .jpg or .jpeg file as a device-independent bitmap of its own size, or null. GIF and
// JPEG decoding failures are shown in Hungarian boxes ("Hiba"); a missing file or an unreadable
// bitmap file yields null silently.
HBITMAP loadImageFile(const char* path);

// The same, drawn straight into a bitmap of the size fitToScreen gives for the picture on a
// screen of `screenWidth` x `screenHeight`, so no full-size copy is kept.
HBITMAP loadFittedImage(const char* path, int screenWidth, int screenHeight);

// The size of a Windows bitmap file from its headers: the info header (a top-down bitmap's height
// is negative) or the old core header. False when the file cannot be read or is no bitmap.
bool bitmapFileSize(const char* path, int* width, int* height);

// A picture of `width` x `height` shown on a screen of `screenWidth` x `screenHeight`: kept when it
// fits, else scaled by the side that overflows more. A metafile's height never passes the screen's.
SIZE fitToScreen(int width, int height, int screenWidth, int screenHeight, bool metafile);
