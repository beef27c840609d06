// The common open and save dialogs and the shell's folder browser.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include "base/ui.h"

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kSaveFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

const char kTableFilter[] = "dBase III files\0*.DBF\0Text files\0*.TXT\0All files\0*.*\0";
const char kAllFilesFilter[] = "All files\0*.*\0";

const char* orDefault(const char* title, const char* fallback) {
    return title && *title ? title : fallback;
}

OPENFILENAMEA dialogRecord(HWND owner,
                           HINSTANCE instance,
                           const char* startDirectory,
                           const char* title,
                           const char* filter,
                           char* buffer,
                           DWORD size,
                           DWORD flags) {
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = instance;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = size;
    ofn.lpstrInitialDir = startDirectory && *startDirectory ? startDirectory : nullptr;
    ofn.lpstrTitle = title;
    ofn.Flags = flags;
    return ofn;
}

}  // namespace

const char* chooseSaveFile(HWND owner, HINSTANCE instance, const char* startDirectory, const char* title) {
    static char path[128];
    path[0] = '\0';
    OPENFILENAMEA ofn = dialogRecord(owner, instance, startDirectory, orDefault(title, "File save"), kAllFilesFilter,
                                     path, sizeof path, kSaveFlags);
    if (!GetSaveFileNameA(&ofn))
        path[0] = '\0';
    return path;
}

const char* chooseFile(HWND owner,
                       HINSTANCE instance,
                       const char* startDirectory,
                       const char* title,
                       const char* filter) {
    static char path[256];
    path[0] = '\0';
    OPENFILENAMEA ofn = dialogRecord(owner, instance, startDirectory, orDefault(title, "File select"),
                                     filter ? filter : kAllFilesFilter, path, sizeof path, kOpenFlags);
    if (!GetOpenFileNameA(&ofn))
        path[0] = '\0';
    return path;
}

const char* chooseTableFile(HWND owner, HINSTANCE instance, const char* startDirectory, const char* title) {
    return chooseFile(owner, instance, startDirectory, title, kTableFilter);
}

const char* chooseFolder(HWND owner, const char* title, char* path) {
    path[0] = '\0';
    // The new dialog style hosts OLE controls and needs OLE on this thread.
    HRESULT ole = OleInitialize(nullptr);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = path;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen) {
        if (!SHGetPathFromIDListA(chosen, path))
            path[0] = '\0';
        CoTaskMemFree(chosen);
    } else {
        path[0] = '\0';
    }
    if (SUCCEEDED(ole))
        OleUninitialize();
    return path;
}
