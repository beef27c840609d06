// EmfPrinter: a document of pages on the default printer, either printed at once or, in preview
// mode, recorded as one enhanced metafile per page ("PG0001.EMF", ...) in a folder of its own under
// "<temp>\Ombrix-PreView" and shown in the preview when the document ends. Windows build only.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "browse/gdi_handles.h"
#include "print/page_layout.h"

class EmfPrinter {
  public:
    // Asks for the default printer's DC without a dialog; without one it says so ("A printer DC
    // lekérése sikertelen!") and the object has no printer: hasPrinter() is false and nothing prints.
    EmfPrinter(HINSTANCE instance, HWND owner, const char* documentName, int preview, int columns, int perCharacter);
    // Deletes every page file, then the page folder when nothing else is in it.
    ~EmfPrinter();
    EmfPrinter(const EmfPrinter&) = delete;
    EmfPrinter& operator=(const EmfPrinter&) = delete;

    bool hasPrinter() const { return printerDc_ != nullptr; }
    // Preview: succeeds; printer: starts the job (0 = failure).
    int beginDocument(const char* name);
    // A new page. In preview mode 0 (after saying so) when its page file cannot be made.
    int startPage();
    // Ends the page started last; nothing when none is open. 0 when its page file could not be written.
    int endPage();
    // Text at a line and character column of the current page, through `picture` when given. With
    // per-character placement each character sits in its own column (one call, fixed advances) and
    // characters past the last column are dropped, unless `wholeString` is set.
    void
    textAt(int line, int column, const char* text, const char* picture, HFONT font, COLORREF colour, int wholeString);
    // Preview: opens the preview and returns when it closes. Printer: ends the job.
    int endDocument();

    // Lays text out in `font` from now on: line height and columns follow its metrics.
    void useFont(HFONT font);
    // User margins in millimetres.
    void setMargins(double left, double top);
    // The printer's page set-up: each changes its device mode and resets the DC between pages;
    // orientation and paper size lay the page out again. Paper in tenths of a millimetre. 0 when the
    // printer refuses (or there is none, or a page is open).
    int setLandscape();
    int setPortrait();
    int setPaperSize(int width, int length);
    int setCopies(int copies);

    // Drawing in millimetres from the printable area's top-left corner (plus the margins).
    void textInBox(double left,
                   double top,
                   double right,
                   double bottom,
                   const char* text,
                   HFONT font,
                   COLORREF colour,
                   int alignment);
    void line(double x1, double y1, double x2, double y2, COLORREF colour, int penStyle, int penWidth);
    void rectangle(double left, double top, double right, double bottom, COLORREF colour);
    void fill(double left, double top, double right, double bottom, COLORREF colour);
    void moveTo(double x, double y);

    // Device facts.
    int pixelsPerInchX() const;
    int pixelsPerInchY() const;
    int printableWidth() const;
    int printableHeight() const;
    const PageMetrics& metrics() const { return metrics_; }
    int linesPerPage() const { return metrics_.linesPerPage; }

    HINSTANCE instance() const { return instance_; }
    HWND owner() const { return owner_; }
    bool landscape() const { return landscape_; }
    const std::vector<std::string>& pageFiles() const { return pageFiles_; }
    const std::string& pageFolder() const { return pageFolder_; }
    long pageCount() const { return pageCount_; }
    bool pageOpen() const { return pageOpen_; }
    void setDocumentEnded() { documentEnded_ = true; }

    // How endDocument shows the preview; tests put their own here.
    using PreviewOpener = void (*)(EmfPrinter& printer);
    static void setPreviewOpener(PreviewOpener opener);

  private:
    void computeMetrics();
    int changeDeviceMode(DWORD field, short value, short second = 0);
    void makePageFolder();
    POINT toDevice(double x, double y) const;

    HDC printerDc_ = nullptr;
    HGLOBAL deviceMode_ = nullptr;  // the printer's settings, owned
    HDC drawingDc_ = nullptr;
    HDC metafileDc_ = nullptr;
    std::vector<std::string> pageFiles_;
    std::string documentName_;
    std::string pageFolder_;
    POINT offset_ = {0, 0};
    PageMetrics metrics_;
    int columns_ = 80;
    bool preview_ = true;
    bool perCharacter_ = true;
    bool documentStarted_ = false;
    bool documentEnded_ = false;
    bool landscape_ = false;
    bool pageOpen_ = false;
    long pageCount_ = 0;
    HWND owner_ = nullptr;
    HINSTANCE instance_ = nullptr;
    GdiObject<HPEN> pen_;
    GdiObject<HBRUSH> brush_;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    HFONT pageFont_ = nullptr;  // what the current page has selected
    bool pageStyled_ = false;
    COLORREF pageColour_ = 0;
    int leftMargin_ = 0;
    int topMargin_ = 0;
};

// The preview of a printer's pages (print/preview_win32.cpp).
void showPreview(EmfPrinter& printer);
