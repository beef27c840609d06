// The parts of the preview other files and the tests reach: the page viewer Emf, printing page
// files, copying them to a folder and handing them to mail programs. Windows build only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "print/page_layout.h"

// One page file shown in a child window of class "EMF".
class Emf {
  public:
    Emf(HWND parent, int printableWidth, int printableHeight, bool second);
    ~Emf();
    Emf(const Emf&) = delete;
    Emf& operator=(const Emf&) = delete;

    // Loads a page file; a missing file hides the viewer and gives false.
    bool load(const char* path);
    HWND window() const { return window_; }
    bool landscape() const { return landscape_; }
    // Width / height of the page's reference device; 1 without a page.
    double aspect() const;
    void paint(HDC dc);

  private:
    HENHMETAFILE metafile_ = nullptr;
    ENHMETAHEADER header_ = {};
    HWND window_ = nullptr;
    std::string path_;
    bool second_ = false;
    int printableHeight_ = 0;
    int printableWidth_ = 0;
    bool landscape_ = false;
    bool painting_ = false;
};

// The window procedure of the class "EMF" (its user data points to the Emf).
LRESULT CALLBACK emfWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Where a page's ink belongs on a device: its frame in the reference device's units.
RECT pagePlayRect(const ENHMETAHEADER& header);

// Prints pages `from`..`to` (1-based, those that exist) on `dc`, `copies` jobs named "Nyomtatás".
// 0 when a job cannot start (after showing the system's error text).
int printPageFiles(HDC dc, const std::vector<std::string>& pages, int from, int to, int copies);

// Copies the page files into `folder`; asks before replacing files, and on a failed copy says so
// and removes the copies made. Returns the number of files copied.
int copyPageFiles(HWND owner, const std::vector<std::string>& pages, const std::string& folder);

// Simple MAPI: logs on, sends the pages as documents, logs off. Reports a missing library, missing
// functions, a refused logon and pages left out by the length limit.
int sendByMapi(HWND owner, const std::vector<std::string>& pages, const char* library = "MAPI32.DLL");
// Starts the mail client with a compose command line holding the pages.
void sendByMailClient(const std::vector<std::string>& pages);

// The e-mail dialog EMAIL over the page files.
void showEmailDialog(HWND owner, HINSTANCE instance, std::vector<std::string>& pages);
