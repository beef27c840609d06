// The page printer: the default printer's DC, page files in a private folder, text on a character grid.
#include "print/emf_printer.h"

#include <cstdio>
#include <cstring>

#include "base/picture.h"

namespace {

constexpr double kInchPerMillimetre = 0.03937007874015748;

EmfPrinter::PreviewOpener g_previewOpener = showPreview;

void showError(HWND owner, const char* text) {
    MessageBoxA(owner ? owner : GetActiveWindow(), text, "Hiba", MB_OK | MB_ICONERROR);
}

HDC defaultPrinterDc(HWND owner, HGLOBAL& deviceMode) {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC | PD_DISABLEPRINTTOFILE;
    pd.nFromPage = 1;
    pd.nToPage = 9999;
    pd.nMinPage = 1;
    pd.nMaxPage = 9999;
    if (!PrintDlgA(&pd))
        return nullptr;
    deviceMode = pd.hDevMode;
    if (pd.hDevNames)
        GlobalFree(pd.hDevNames);
    return pd.hDC;
}

}  // namespace

void EmfPrinter::setPreviewOpener(PreviewOpener opener) {
    g_previewOpener = opener ? opener : showPreview;
}

EmfPrinter::EmfPrinter(HINSTANCE instance,
                       HWND owner,
                       const char* documentName,
                       int preview,
                       int columns,
                       int perCharacter)
    : documentName_(documentName ? documentName : ""),
      columns_(columns > 80 ? columns : 80),
      preview_(preview != 0),
      perCharacter_(perCharacter != 0),
      owner_(owner),
      instance_(instance),
      pen_(CreatePen(PS_SOLID, 1, RGB(0, 0, 0))),
      brush_(CreateSolidBrush(RGB(255, 255, 255))) {
    if (documentName_.size() > 259)
        documentName_.resize(259);
    printerDc_ = defaultPrinterDc(owner, deviceMode_);
    if (!printerDc_) {
        MessageBoxA(GetActiveWindow(), "A printer DC lekérése sikertelen!", "Hiba", MB_OK);
        return;
    }
    offset_.x = GetDeviceCaps(printerDc_, PHYSICALOFFSETX);
    offset_.y = GetDeviceCaps(printerDc_, PHYSICALOFFSETY);
    landscape_ = GetDeviceCaps(printerDc_, HORZRES) > GetDeviceCaps(printerDc_, VERTRES);
    oldBrush_ = SelectObject(printerDc_, brush_.get());
    oldPen_ = SelectObject(printerDc_, pen_.get());
    drawingDc_ = printerDc_;
    computeMetrics();
    if (!preview_)
        beginDocument(documentName_.c_str());
    else
        makePageFolder();
}

EmfPrinter::~EmfPrinter() {
    if (metafileDc_)
        DeleteEnhMetaFile(CloseEnhMetaFile(metafileDc_));
    for (const std::string& path : pageFiles_)
        DeleteFileA(path.c_str());
    pageFiles_.clear();
    // Only an empty folder goes: another program may have put something there.
    if (!pageFolder_.empty())
        RemoveDirectoryA(pageFolder_.c_str());
    if (printerDc_) {
        if (documentStarted_ && !documentEnded_)
            AbortDoc(printerDc_);
        if (oldFont_)
            SelectObject(printerDc_, oldFont_);
        if (oldPen_)
            SelectObject(printerDc_, oldPen_);
        if (oldBrush_)
            SelectObject(printerDc_, oldBrush_);
        DeleteDC(printerDc_);
    }
    if (deviceMode_)
        GlobalFree(deviceMode_);
}

void EmfPrinter::makePageFolder() {
    char temp[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return;
    std::string root(temp, length);
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    root += "\\Ombrix-PreView";
    CreateDirectoryA(root.c_str(), nullptr);
    // A unique name: the system makes a temporary file there, whose name without extension becomes the folder.
    char name[MAX_PATH] = "";
    if (!GetTempFileNameA(root.c_str(), "", 0, name))
        return;
    DeleteFileA(name);
    if (char* dot = std::strrchr(name, '.'))
        *dot = '\0';
    if (!CreateDirectoryA(name, nullptr))
        return;
    pageFolder_ = std::string(name) + "\\";
}

void EmfPrinter::computeMetrics() {
    TEXTMETRICA tm = {};
    if (!printerDc_ || !GetTextMetricsA(printerDc_, &tm)) {
        metrics_ = pageMetrics(0, 0, 0, 0, 0, 0, columns_);
        return;
    }
    metrics_ = pageMetrics(tm.tmHeight, tm.tmExternalLeading, GetDeviceCaps(printerDc_, HORZRES),
                           GetDeviceCaps(printerDc_, VERTRES), leftMargin_, topMargin_, columns_);
}

void EmfPrinter::useFont(HFONT font) {
    if (!printerDc_ || !font)
        return;
    HGDIOBJ old = SelectObject(printerDc_, font);
    if (!oldFont_)
        oldFont_ = old;
    computeMetrics();
}

void EmfPrinter::setMargins(double left, double top) {
    leftMargin_ = static_cast<int>(left * pixelsPerInchX() * kInchPerMillimetre);
    topMargin_ = static_cast<int>(top * pixelsPerInchY() * kInchPerMillimetre);
    computeMetrics();
}

int EmfPrinter::changeDeviceMode(DWORD field, short value, short second) {
    if (!printerDc_ || !deviceMode_ || pageOpen_)
        return 0;
    DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(deviceMode_));
    if (!mode)
        return 0;
    mode->dmFields |= field;
    if (field == DM_ORIENTATION) {
        mode->dmOrientation = value;
    } else if (field == DM_COPIES) {
        mode->dmCopies = value;
    } else {
        mode->dmFields |= DM_PAPERSIZE;
        mode->dmPaperSize = DMPAPER_USER;
        mode->dmPaperWidth = value;
        mode->dmPaperLength = second;
    }
    bool reset = ResetDCA(printerDc_, mode) != nullptr;
    GlobalUnlock(deviceMode_);
    if (!reset)
        return 0;
    landscape_ = GetDeviceCaps(printerDc_, HORZRES) > GetDeviceCaps(printerDc_, VERTRES);
    offset_.x = GetDeviceCaps(printerDc_, PHYSICALOFFSETX);
    offset_.y = GetDeviceCaps(printerDc_, PHYSICALOFFSETY);
    computeMetrics();
    return 1;
}

int EmfPrinter::setLandscape() {
    return changeDeviceMode(DM_ORIENTATION, DMORIENT_LANDSCAPE);
}

int EmfPrinter::setPortrait() {
    return changeDeviceMode(DM_ORIENTATION, DMORIENT_PORTRAIT);
}

int EmfPrinter::setPaperSize(int width, int length) {
    return changeDeviceMode(DM_PAPERWIDTH | DM_PAPERLENGTH, static_cast<short>(width), static_cast<short>(length));
}

int EmfPrinter::setCopies(int copies) {
    return changeDeviceMode(DM_COPIES, static_cast<short>(copies));
}

int EmfPrinter::beginDocument(const char* name) {
    if (preview_)
        return 1;
    if (!printerDc_ || documentStarted_)
        return 0;
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name;
    documentStarted_ = StartDocA(printerDc_, &doc) > 0;
    return documentStarted_ ? 1 : 0;
}

int EmfPrinter::startPage() {
    if (!printerDc_)
        return 0;
    if (pageOpen_)
        endPage();
    ++pageCount_;
    pageFont_ = nullptr;
    pageStyled_ = false;
    if (!preview_) {
        pageOpen_ = StartPage(printerDc_) > 0;
        return pageOpen_ ? 1 : 0;
    }
    std::string path = pageFolder_ + pageFileName(pageCount_);
    metafileDc_ = pageFolder_.empty() ? nullptr : CreateEnhMetaFileA(printerDc_, path.c_str(), nullptr, nullptr);
    if (!metafileDc_) {
        --pageCount_;
        std::string text = "A lapfájl nem hozható létre:\n" + (pageFolder_.empty() ? std::string("(temp)") : path);
        showError(owner_, text.c_str());
        return 0;
    }
    pageFiles_.push_back(path);
    drawingDc_ = metafileDc_;
    pageOpen_ = true;
    return 1;
}

int EmfPrinter::endPage() {
    if (!pageOpen_)
        return 1;
    pageOpen_ = false;
    if (!preview_)
        return EndPage(printerDc_) > 0 ? 1 : 0;
    HENHMETAFILE page = CloseEnhMetaFile(metafileDc_);
    metafileDc_ = nullptr;
    drawingDc_ = nullptr;
    if (!page) {
        std::string text = "A lapfájl nem írható:\n" + pageFiles_.back();
        showError(owner_, text.c_str());
        return 0;
    }
    DeleteEnhMetaFile(page);
    return 1;
}

void EmfPrinter::textAt(int line,
                        int column,
                        const char* text,
                        const char* picture,
                        HFONT font,
                        COLORREF colour,
                        int wholeString) {
    if (!drawingDc_ || !pageOpen_ || !text)
        return;
    // Font, background mode and colour are set once a page, not once a field: every setting is a
    // record in the page file.
    if (font && font != pageFont_) {
        HGDIOBJ old = SelectObject(drawingDc_, font);
        if (drawingDc_ == printerDc_ && !oldFont_)
            oldFont_ = old;
        pageFont_ = font;
    }
    if (!pageStyled_ || colour != pageColour_) {
        SetBkMode(drawingDc_, TRANSPARENT);
        SetTextColor(drawingDc_, colour);
        pageStyled_ = true;
        pageColour_ = colour;
    }
    char formatted[kPictureResultSize];
    if (picture && *picture)
        text = formatPicture(text, picture, kPictureDisplay, formatted);
    // Trailing blanks draw nothing; they only make the record longer.
    int length = static_cast<int>(std::strlen(text));
    while (length > 0 && text[length - 1] == ' ')
        --length;
    if (length == 0)
        return;
    int x = column * metrics_.columnWidth + leftMargin_;
    int y = line * metrics_.lineHeight + topMargin_;
    if (wholeString || !perCharacter_) {
        TextOutA(drawingDc_, x, y, text, length);
        return;
    }
    // One record per field: every glyph advances by one column, so the text keeps the grid.
    int count = charactersInLine(column, length, metrics_.columns);
    if (count == 0)
        return;
    std::vector<INT> advances(static_cast<size_t>(count), metrics_.columnWidth);
    ExtTextOutA(drawingDc_, x, y, 0, nullptr, text, static_cast<UINT>(count), advances.data());
}

int EmfPrinter::endDocument() {
    if (!printerDc_)
        return 0;
    if (pageOpen_)
        endPage();
    if (preview_) {
        g_previewOpener(*this);
        return 1;
    }
    if (!documentStarted_ || documentEnded_)
        return 0;
    documentEnded_ = true;
    return EndDoc(printerDc_) > 0 ? 1 : 0;
}

int EmfPrinter::pixelsPerInchX() const {
    return printerDc_ ? GetDeviceCaps(printerDc_, LOGPIXELSX) : 0;
}

int EmfPrinter::pixelsPerInchY() const {
    return printerDc_ ? GetDeviceCaps(printerDc_, LOGPIXELSY) : 0;
}

int EmfPrinter::printableWidth() const {
    return printerDc_ ? GetDeviceCaps(printerDc_, HORZRES) - leftMargin_ : 0;
}

int EmfPrinter::printableHeight() const {
    return printerDc_ ? GetDeviceCaps(printerDc_, VERTRES) - topMargin_ : 0;
}

POINT EmfPrinter::toDevice(double x, double y) const {
    POINT p;
    p.x = millimetresToDevice(x, pixelsPerInchX(), offset_.x) + leftMargin_;
    p.y = millimetresToDevice(y, pixelsPerInchY(), offset_.y) + topMargin_;
    return p;
}

void EmfPrinter::textInBox(double left,
                           double top,
                           double right,
                           double bottom,
                           const char* text,
                           HFONT font,
                           COLORREF colour,
                           int alignment) {
    if (!drawingDc_ || !text)
        return;
    POINT a = toDevice(left, top);
    POINT b = toDevice(right, bottom);
    RECT box = {a.x, a.y, b.x, b.y};
    UINT flags = DT_SINGLELINE | DT_NOPREFIX;
    flags |= (alignment & 2) ? DT_RIGHT : (alignment & 1) ? DT_CENTER : DT_LEFT;
    flags |= (alignment & 8) ? DT_BOTTOM : (alignment & 4) ? DT_VCENTER : DT_TOP;
    SelectGuard fontGuard(drawingDc_, font);
    SetBkMode(drawingDc_, TRANSPARENT);
    SetTextColor(drawingDc_, colour);
    DrawTextA(drawingDc_, text, -1, &box, flags);
}

void EmfPrinter::line(double x1, double y1, double x2, double y2, COLORREF colour, int penStyle, int penWidth) {
    if (!drawingDc_)
        return;
    GdiObject<HPEN> pen(CreatePen(penStyle, penWidth, colour));
    SelectGuard penGuard(drawingDc_, pen.get());
    POINT a = toDevice(x1, y1);
    POINT b = toDevice(x2, y2);
    MoveToEx(drawingDc_, a.x, a.y, nullptr);
    LineTo(drawingDc_, b.x, b.y);
}

void EmfPrinter::rectangle(double left, double top, double right, double bottom, COLORREF colour) {
    if (!drawingDc_)
        return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    SelectGuard brushGuard(drawingDc_, brush.get());
    POINT a = toDevice(left, top);
    POINT b = toDevice(right, bottom);
    Rectangle(drawingDc_, a.x, a.y, b.x, b.y);
}

void EmfPrinter::fill(double left, double top, double right, double bottom, COLORREF colour) {
    if (!drawingDc_)
        return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    POINT a = toDevice(left, top);
    POINT b = toDevice(right, bottom);
    RECT box = {a.x, a.y, b.x, b.y};
    FillRect(drawingDc_, &box, brush.get());
}

void EmfPrinter::moveTo(double x, double y) {
    if (!drawingDc_)
        return;
    POINT p = toDevice(x, y);
    MoveToEx(drawingDc_, p.x, p.y, nullptr);
}
