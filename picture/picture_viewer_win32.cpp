// The picture viewer PICVIEW: one picture of a folder at a time, sized to fit the screen, stepped by
// clicks and the wheel.
#include <windows.h>

#include <string>
#include <vector>

#include "base/bound_dialog.h"
#include "base/find.h"
#include "picture/picture_viewer.h"
#include "resources/files_ids.h"

namespace {

constexpr UINT kShowPicture = WM_USER + 24;

// The viewer's state: the folder's pictures in enumeration order and the one shown. One viewer at
// a time, modal, so it lives on the caller's stack.
struct Viewer {
    std::string folder;  // ends in a backslash
    std::vector<FoundFile> pictures;
    size_t index = 0;  // pictures.size() when the given file is not among them
};

std::string upperExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (char& c : extension)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return extension;
}

// Gives `image` to a static and deletes what it showed before. A static of version 6 common
// controls keeps its own copy of some bitmaps; ours is then deleted at once.
void replaceImage(HWND control, UINT type, HANDLE image) {
    HANDLE previous =
        reinterpret_cast<HANDLE>(SendMessageA(control, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
    HANDLE kept = reinterpret_cast<HANDLE>(SendMessageA(control, STM_GETIMAGE, type, 0));
    if (previous && previous != image && previous != kept) {
        if (type == IMAGE_ENHMETAFILE)
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(previous));
        else
            DeleteObject(previous);
    }
    if (image && kept != image) {
        if (type == IMAGE_ENHMETAFILE)
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(image));
        else
            DeleteObject(image);
    }
}

void placeWindow(HWND dialog, HWND control, SIZE size, int screenWidth, int screenHeight) {
    int x = size.cx < screenWidth ? (screenWidth - size.cx) / 2 : 0;
    int y = size.cy < screenHeight ? (screenHeight - size.cy) / 2 : 0;
    // The client area takes the picture exactly; the frame and caption are added around it.
    RECT frame = {0, 0, size.cx, size.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, x, y, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
}

void showCurrent(HWND dialog, Viewer& viewer) {
    if (viewer.index >= viewer.pictures.size())
        return;
    const std::string& name = viewer.pictures[viewer.index].name;
    std::string path = viewer.folder + name;
    HWND bitmapControl = GetDlgItem(dialog, IDC_PICVIEW_BITMAP);
    HWND metafileControl = GetDlgItem(dialog, IDC_PICVIEW_METAFILE);
    int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    if (upperExtension(name) != ".EMF") {
        ShowWindow(bitmapControl, SW_SHOW);
        ShowWindow(metafileControl, SW_HIDE);
        replaceImage(bitmapControl, IMAGE_BITMAP, nullptr);
        SetWindowTextA(dialog, name.c_str());
        // Drawn straight at the size shown: a large photo never exists at full size as a bitmap.
        HBITMAP bitmap = loadFittedImage(path.c_str(), screenWidth, screenHeight);
        if (!bitmap)
            return;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        placeWindow(dialog, bitmapControl, SIZE{info.bmWidth, info.bmHeight}, screenWidth, screenHeight);
        replaceImage(bitmapControl, IMAGE_BITMAP, bitmap);
        return;
    }
    ShowWindow(metafileControl, SW_SHOW);
    ShowWindow(bitmapControl, SW_HIDE);
    HENHMETAFILE metafile = GetEnhMetaFileA(path.c_str());
    if (!metafile)
        return;
    SetWindowTextA(dialog, name.c_str());
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    SIZE size = fitToScreen(header.rclBounds.right, header.rclBounds.bottom, screenWidth, screenHeight, true);
    placeWindow(dialog, metafileControl, size, screenWidth, screenHeight);
    replaceImage(metafileControl, IMAGE_ENHMETAFILE, metafile);
}

void step(HWND dialog, Viewer& viewer, bool forward) {
    size_t count = viewer.pictures.size();
    if (count == 0)
        return;
    if (forward)
        viewer.index = viewer.index + 1 >= count ? 0 : viewer.index + 1;
    else
        viewer.index = viewer.index == 0 || viewer.index > count ? count - 1 : viewer.index - 1;
    PostMessageA(dialog, kShowPicture, 0, 0);
}

void open(HWND dialog, Viewer& viewer, const std::string& path) {
    size_t slash = path.rfind('\\');
    viewer.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    viewer.pictures = listPictureFiles((viewer.folder + "*.*").c_str());
    viewer.index = viewer.pictures.size();
    for (size_t i = 0; i < viewer.pictures.size(); ++i) {
        // File names are case-blind on Windows: "photo.JPG" given as "photo.jpg" is the same file.
        if (lstrcmpiA(viewer.pictures[i].name.c_str(), name.c_str()) == 0) {
            viewer.index = i;
            break;
        }
    }
    PostMessageA(dialog, kShowPicture, 0, 0);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), "Ombrix");
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

struct ViewerRequest {
    Viewer viewer;
    std::string path;
};

INT_PTR handleViewer(HWND dialog, ViewerRequest& request, UINT message, WPARAM wParam, LPARAM) {
    Viewer& viewer = request.viewer;
    switch (message) {
        case WM_INITDIALOG:
            open(dialog, viewer, request.path);
            return TRUE;
        case kShowPicture:
            showCurrent(dialog, viewer);
            return TRUE;
        case WM_LBUTTONDOWN:
            step(dialog, viewer, true);
            return TRUE;
        case WM_RBUTTONDOWN:
            step(dialog, viewer, false);
            return TRUE;
        case WM_MOUSEWHEEL:
            // Turned away from the user: back; towards the user (or zero): forward.
            step(dialog, viewer, static_cast<short>(HIWORD(wParam)) <= 0);
            return TRUE;
        case WM_DESTROY:
            // The statics never delete what they show.
            replaceImage(GetDlgItem(dialog, IDC_PICVIEW_BITMAP), IMAGE_BITMAP, nullptr);
            replaceImage(GetDlgItem(dialog, IDC_PICVIEW_METAFILE), IMAGE_ENHMETAFILE, nullptr);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void showPictureViewer(HWND owner, const char* path) {
    ViewerRequest request;
    request.path = path ? path : "";
    DialogBoxParamA(GetModuleHandleA(nullptr), "PICVIEW", owner, boundDialogProc<ViewerRequest, handleViewer>,
                    reinterpret_cast<LPARAM>(&request));
}
