// The page viewer Emf: one page file drawn into a child window of the preview.
#include "print/preview.h"

namespace {

const char kViewerClass[] = "EMF";

}  // namespace

Emf::Emf(HWND parent, int printableWidth, int printableHeight, bool second)
    : second_(second), printableHeight_(printableHeight), printableWidth_(printableWidth) {
    window_ = CreateWindowExA(0, kViewerClass, "", WS_CHILD | WS_BORDER, 0, 0, 10, 10, parent, nullptr,
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (window_)
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    landscape_ = printableWidth_ >= printableHeight_;
}

Emf::~Emf() {
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (metafile_)
        DeleteEnhMetaFile(metafile_);
}

bool Emf::load(const char* path) {
    if (metafile_)
        DeleteEnhMetaFile(metafile_);
    metafile_ = GetEnhMetaFileA(path);
    path_ = path ? path : "";
    header_ = {};
    if (!metafile_) {
        ShowWindow(window_, SW_HIDE);
        return false;
    }
    GetEnhMetaFileHeader(metafile_, sizeof header_, &header_);
    InvalidateRect(window_, nullptr, TRUE);
    return true;
}

double Emf::aspect() const {
    if (header_.szlDevice.cx <= 0 || header_.szlDevice.cy <= 0)
        return 1.0;
    return static_cast<double>(header_.szlDevice.cx) / header_.szlDevice.cy;
}

void Emf::paint(HDC dc) {
    if (!metafile_ || painting_ || IsIconic(GetParent(GetParent(window_))))
        return;
    painting_ = true;
    RECT client;
    GetClientRect(window_, &client);
    // The page's frame on its device, scaled to the viewer: the ink stays where it is on paper.
    RECT page = pagePlayRect(header_);
    double sx = static_cast<double>(client.right - 1) / (header_.szlDevice.cx > 0 ? header_.szlDevice.cx : 1);
    double sy = static_cast<double>(client.bottom - 1) / (header_.szlDevice.cy > 0 ? header_.szlDevice.cy : 1);
    RECT target = {static_cast<LONG>(page.left * sx), static_cast<LONG>(page.top * sy),
                   static_cast<LONG>(page.right * sx), static_cast<LONG>(page.bottom * sy)};
    PlayEnhMetaFile(dc, metafile_, &target);
    painting_ = false;
}

RECT pagePlayRect(const ENHMETAHEADER& header) {
    PageRect frame{header.rclFrame.left, header.rclFrame.top, header.rclFrame.right, header.rclFrame.bottom};
    PageRect device = frameToDevice(frame, header.szlDevice.cx, header.szlDevice.cy, header.szlMillimeters.cx,
                                    header.szlMillimeters.cy);
    RECT rect = {device.left, device.top, device.right, device.bottom};
    return rect;
}

LRESULT CALLBACK emfWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        Emf* viewer = reinterpret_cast<Emf*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window, &ps);
                if (viewer)
                    viewer->paint(dc);
                EndPaint(window, &ps);
                return 0;
            }
            case WM_LBUTTONDBLCLK:
                // The preview switches its zoom.
                SendMessageA(GetParent(GetParent(window)), WM_COMMAND, MAKEWPARAM(106, 0), 0);
                return 0;
            case WM_KEYDOWN:
            case WM_CHAR:
                return 0;
            default:
                return DefWindowProcA(window, message, wParam, lParam);
        }
    } catch (...) {
        return 0;
    }
}
