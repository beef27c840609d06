// The image loader: bitmap files through the system's loader, GIF and JPEG through the OLE picture
// decoder, optionally drawn straight at the size the viewer shows.
#include <windows.h>

#include <ole2.h>
#include <olectl.h>

#include <cctype>
#include <cstring>
#include <string>

#include "picture/picture_viewer.h"

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// Releases a COM interface on every path out.
template <class Interface>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (pointer_)
            pointer_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface** out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

void decoderError(const char* text) {
    MessageBoxA(nullptr, text, "Hiba", MB_OK | MB_ICONERROR);
}

bool endsWith(const std::string& text, const char* tail) {
    size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

// The decision uses the lower-cased name, so ".JPEG" goes to the decoder too.
bool isOlePicture(const char* path) {
    std::string lower = path;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return endsWith(lower, ".gif") || endsWith(lower, ".jpg") || endsWith(lower, ".jpeg");
}

// A 24-bit DIB section: bitmaps of 32 bits are copied by the version 6 static control.
HBITMAP createCanvas(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// Decodes a GIF or JPEG with OleLoadPicture and draws it at its own size, or at the fitted size
// when a screen is given; the picture, stream and memory block are released on every path.
HBITMAP loadOlePicture(const char* path, int screenWidth, int screenHeight) {
    FileHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        decoderError("A kép megnyitása sikertelen!");
        return nullptr;
    }
    DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE) {
        decoderError("A fájlméret betöltése sikertelen!");
        return nullptr;
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) {
        decoderError("Memória allokálás hiba!");
        return nullptr;
    }
    void* data = GlobalLock(block);
    DWORD read = 0;
    BOOL ok = data && ReadFile(file.get(), data, size, &read, nullptr) && read == size;
    if (data)
        GlobalUnlock(block);
    if (!ok) {
        GlobalFree(block);
        decoderError("A kép beolvasása sikertelen!");
        return nullptr;
    }
    ComRef<IStream> stream;
    // The stream frees the block when it is released.
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.out()))) {
        GlobalFree(block);
        decoderError("Hiba a stream objektum létrehozásakor!");
        return nullptr;
    }
    ComRef<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.out()))) ||
        !picture.get()) {
        decoderError("Hibás IPicture pointer létrehozás!");
        return nullptr;
    }
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    ScreenDc screen;
    int width = MulDiv(himetricWidth, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    int height = MulDiv(himetricHeight, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    if (width <= 0 || height <= 0)
        return nullptr;
    if (screenWidth > 0 && screenHeight > 0) {
        SIZE fitted = fitToScreen(width, height, screenWidth, screenHeight, false);
        width = fitted.cx > 0 ? fitted.cx : 1;
        height = fitted.cy > 0 ? fitted.cy : 1;
    }
    HBITMAP canvas = createCanvas(width, height);
    HDC dc = canvas ? CreateCompatibleDC(screen.get()) : nullptr;
    if (!dc) {
        if (canvas)
            DeleteObject(canvas);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, canvas);
    SetStretchBltMode(dc, HALFTONE);
    // The picture's own coordinates run bottom-up.
    picture->Render(dc, 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return canvas;
}

// Closes a file mapping's view and handle on every path out.
class MappedFile {
  public:
    explicit MappedFile(HANDLE file) {
        mapping_ = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping_)
            view_ = static_cast<const unsigned char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
        size_ = GetFileSize(file, nullptr);
    }
    ~MappedFile() {
        if (view_)
            UnmapViewOfFile(view_);
        if (mapping_)
            CloseHandle(mapping_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    const unsigned char* data() const { return view_; }
    DWORD size() const { return size_; }

  private:
    HANDLE mapping_ = nullptr;
    const unsigned char* view_ = nullptr;
    DWORD size_ = 0;
};

// A bitmap file drawn from its mapped bits straight into a bitmap of the size shown: bottom-up,
// top-down and core-header files alike, and no full-size copy of a large one.
HBITMAP loadBitmapFile(const char* path, int screenWidth, int screenHeight) {
    int width = 0, height = 0;
    if (!bitmapFileSize(path, &width, &height))
        return nullptr;
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid())
        return nullptr;
    MappedFile mapped(file.get());
    if (!mapped.data() || mapped.size() < sizeof(BITMAPFILEHEADER))
        return nullptr;
    BITMAPFILEHEADER header;
    std::memcpy(&header, mapped.data(), sizeof header);
    if (header.bfOffBits >= mapped.size())
        return nullptr;
    SIZE shown = {width, height};
    if (screenWidth > 0 && screenHeight > 0)
        shown = fitToScreen(width, height, screenWidth, screenHeight, false);
    HBITMAP canvas = createCanvas(shown.cx > 0 ? shown.cx : 1, shown.cy > 0 ? shown.cy : 1);
    HDC dc = canvas ? CreateCompatibleDC(nullptr) : nullptr;
    if (!dc) {
        if (canvas)
            DeleteObject(canvas);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, canvas);
    SetStretchBltMode(dc, COLORONCOLOR);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(mapped.data() + sizeof(BITMAPFILEHEADER));
    int lines = StretchDIBits(dc, 0, 0, shown.cx, shown.cy, 0, 0, width, height, mapped.data() + header.bfOffBits, info,
                              DIB_RGB_COLORS, SRCCOPY);
    SelectObject(dc, previous);
    DeleteDC(dc);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) {
        DeleteObject(canvas);
        return nullptr;
    }
    return canvas;
}

HBITMAP loadImage(const char* path, int screenWidth, int screenHeight) {
    if (!path || !*path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    if (isOlePicture(path))
        return loadOlePicture(path, screenWidth, screenHeight);
    return loadBitmapFile(path, screenWidth, screenHeight);
}

}  // namespace

bool bitmapFileSize(const char* path, int* width, int* height) {
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid())
        return false;
    unsigned char header[14 + 40] = {};
    DWORD read = 0;
    if (!ReadFile(file.get(), header, sizeof header, &read, nullptr) || read < 14 + 12 || header[0] != 'B' ||
        header[1] != 'M')
        return false;
    BITMAPINFOHEADER info;
    std::memcpy(&info.biSize, header + 14, sizeof info.biSize);
    if (info.biSize == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core;
        std::memcpy(&core, header + 14, sizeof core);
        *width = core.bcWidth;
        *height = core.bcHeight;
        return true;
    }
    if (read < sizeof header || info.biSize < sizeof(BITMAPINFOHEADER))
        return false;
    std::memcpy(&info, header + 14, sizeof info);
    // A top-down bitmap stores its height negative.
    *width = info.biWidth;
    *height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    return *width > 0 && *height > 0;
}

HBITMAP loadImageFile(const char* path) {
    return loadImage(path, 0, 0);
}

HBITMAP loadFittedImage(const char* path, int screenWidth, int screenHeight) {
    return loadImage(path, screenWidth, screenHeight);
}

SIZE fitToScreen(int width, int height, int screenWidth, int screenHeight, bool metafile) {
    bool wide = width > screenWidth;
    bool tall = height > screenHeight;
    if (!wide && !tall)
        return SIZE{width, height};
    double f = static_cast<double>(width) / screenWidth * 100;
    double g = static_cast<double>(height) / screenHeight * 100;
    bool byWidth = wide && (!tall || height - screenHeight < width - screenWidth);
    if (byWidth) {
        int scaled = static_cast<int>(height / f * 100);
        if (metafile && scaled > screenHeight)
            scaled = screenHeight;
        return SIZE{screenWidth, scaled};
    }
    return SIZE{static_cast<int>(width / g * 100), screenHeight};
}
