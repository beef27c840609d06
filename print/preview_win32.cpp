// The print preview: a modal dialog that pages through a printer's page files, zooms and scrolls,
// prints them on a printer the user picks, and opens the e-mail dialog.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "base/bound_dialog.h"
#include "base/properties.h"
#include "base/ui.h"
#include "print/emf_printer.h"
#include "print/preview.h"
#include "resources/print_ids.h"

namespace {

struct Preview {
    EmfPrinter* printer = nullptr;
    std::vector<std::string> pages;
    long current = 0;
    std::unique_ptr<Emf> main;
    std::unique_ptr<Emf> second;
    bool zoom = false;
    HWND toolbar = nullptr;
    HIMAGELIST images = nullptr;
    int scrollX = 0, scrollY = 0;
};

EmfPrinter* g_previewed = nullptr;

struct Button {
    const char* bitmap;
    int command;
    const char* tooltip;
};
const Button kButtons[] = {
    {"FIRST", IDC_PREVIEW_FIRST, "First page"},
    {"PREV", IDC_PREVIEW_PREV, "Previous page"},
    {"NEXT", IDC_PREVIEW_NEXT, "Next page"},
    {"LAST", IDC_PREVIEW_LAST, "Last Page"},
    {"LEFTTOP", IDC_PREVIEW_LEFTTOP, "Start position"},
    {"ZOOM", IDC_PREVIEW_ZOOM, "Zoom+-"},
    {"PRINT", IDC_PREVIEW_PRINT, "Print..."},
    {"EMAIL", IDC_PREVIEW_EMAIL, "E-mail..."},
    {"EXIT", IDC_PREVIEW_EXIT, "Exit"},
};
constexpr int kButtonSize = 32;

// A style's own button picture when its file exists, else the built-in one, at button size.
HBITMAP buttonBitmap(HINSTANCE instance, const char* name) {
    const char* folder = static_cast<const char*>(property("STILUS_DIR"));
    const char* style = static_cast<const char*>(property("STILUS"));
    if (*folder || *style) {
        std::string path = std::string(folder) + style + "\\" + name + ".BMP";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            if (HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, kButtonSize, kButtonSize,
                                          LR_LOADFROMFILE | LR_LOADTRANSPARENT))
                return static_cast<HBITMAP>(image);
        }
    }
    return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, kButtonSize, kButtonSize, 0));
}

void buildToolbar(HWND dialog, Preview& preview, HINSTANCE instance) {
    preview.toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                                      0, 0, 0, 0, dialog, nullptr, instance, nullptr);
    SendMessageA(preview.toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    preview.images = ImageList_Create(kButtonSize, kButtonSize, ILC_COLOR24 | ILC_MASK, 9, 0);
    std::vector<TBBUTTON> buttons;
    for (const Button& b : kButtons) {
        HBITMAP bitmap = buttonBitmap(instance, b.bitmap);
        int image = bitmap ? ImageList_AddMasked(preview.images, bitmap, RGB(255, 0, 255)) : -1;
        if (bitmap)
            DeleteObject(bitmap);
        TBBUTTON button = {};
        button.iBitmap = image;
        button.idCommand = b.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = TBSTYLE_BUTTON;
        buttons.push_back(button);
    }
    SendMessageA(preview.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(preview.images));
    SendMessageA(preview.toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonSize + 7, kButtonSize + 6));
    SendMessageA(preview.toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(preview.toolbar, TB_AUTOSIZE, 0, 0);
}

int toolbarHeight(const Preview& preview) {
    RECT r = {};
    GetWindowRect(preview.toolbar, &r);
    return r.bottom - r.top;
}

void setCaption(HWND dialog, const Preview& preview) {
    char caption[64];
    std::snprintf(caption, sizeof caption, "Preview - %ld/%ld.page", preview.current + 1,
                  static_cast<long>(preview.pages.size()));
    SetWindowTextA(dialog, caption);
}

void setScrollRange(HWND dialog, int bar, int range, int position) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    si.nMax = range;
    si.nPos = range ? position : 0;
    SetScrollInfo(dialog, bar, &si, TRUE);
}

void layOut(HWND dialog, Preview& preview) {
    if (!preview.main)
        return;
    RECT client;
    GetClientRect(dialog, &client);
    int top = toolbarHeight(preview) + 12;
    int frame = GetSystemMetrics(SM_CXFRAME);
    int width = client.right - 2 * frame;
    int height = client.bottom - top - frame;
    Emf& page = *preview.main;
    double aspect = page.aspect();
    bool portrait = aspect < 1.0;
    int pageWidth = width;
    int pageHeight = static_cast<int>(width / aspect);
    int x = frame;
    bool scrolls = true;
    if (preview.zoom && portrait) {
        // The whole page fits the height, centred in the left half; the next one in the right half.
        pageHeight = height;
        pageWidth = static_cast<int>(height * aspect);
        x = (width / 2 - pageWidth) / 2 + frame;
        scrolls = false;
    } else if (preview.zoom) {
        pageWidth = width * 3 / 2;
        pageHeight = pageHeight * 3 / 2;
    }
    setScrollRange(dialog, SB_VERT, scrolls ? preview.printer->printableHeight() : 0, preview.scrollY);
    setScrollRange(dialog, SB_HORZ, scrolls && preview.zoom ? preview.printer->printableWidth() : 0, preview.scrollX);
    // A scroll position of the whole range brings the page's far edge into view.
    int offsetY = 0, offsetX = 0;
    if (scrolls && preview.printer->printableHeight() > 0 && pageHeight > height)
        offsetY = static_cast<int>(static_cast<long long>(preview.scrollY) * (pageHeight - height) /
                                   preview.printer->printableHeight());
    if (scrolls && preview.zoom && preview.printer->printableWidth() > 0 && pageWidth > width)
        offsetX = static_cast<int>(static_cast<long long>(preview.scrollX) * (pageWidth - width) /
                                   preview.printer->printableWidth());
    MoveWindow(page.window(), x - offsetX, 2 - offsetY, pageWidth, pageHeight, TRUE);
    ShowWindow(page.window(), SW_SHOW);
    if (preview.second) {
        bool show = preview.zoom && portrait && preview.current + 1 < static_cast<long>(preview.pages.size());
        MoveWindow(preview.second->window(), width / 2 + (width / 2 - pageWidth) / 2 + frame, 2, pageWidth, pageHeight,
                   TRUE);
        ShowWindow(preview.second->window(), show ? SW_SHOW : SW_HIDE);
    }
}

void goToPage(HWND dialog, Preview& preview, long page) {
    long count = static_cast<long>(preview.pages.size());
    if (page < 0 || page >= count)
        return;
    preview.current = page;
    if (preview.main->load(preview.pages[static_cast<size_t>(page)].c_str()))
        ShowWindow(preview.main->window(), SW_SHOW);
    if (preview.second && page + 1 < count)
        preview.second->load(preview.pages[static_cast<size_t>(page) + 1].c_str());
    setCaption(dialog, preview);
    layOut(dialog, preview);
}

void printPreview(HWND dialog, Preview& preview) {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = dialog;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE;
    pd.nFromPage = 1;
    pd.nToPage = 9999;
    pd.nMinPage = 1;
    pd.nMaxPage = 9999;
    pd.nCopies = 1;
    if (!PrintDlgA(&pd) || !pd.hDC)
        return;
    if (pd.hDevMode) {
        if (DEVMODEA* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode))) {
            mode->dmFields |= DM_ORIENTATION;
            mode->dmOrientation = preview.printer->landscape() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
            ResetDCA(pd.hDC, mode);
            GlobalUnlock(pd.hDevMode);
        }
    }
    bool range = (pd.Flags & PD_PAGENUMS) != 0;
    if (printPageFiles(pd.hDC, preview.pages, range ? pd.nFromPage : 1, range ? pd.nToPage : 9999,
                       pd.nCopies > 0 ? pd.nCopies : 1))
        preview.printer->setDocumentEnded();
    DeleteDC(pd.hDC);
    if (pd.hDevMode)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        GlobalFree(pd.hDevNames);
}

void scroll(HWND dialog, Preview& preview, int bar, WPARAM wParam) {
    int code = LOWORD(wParam);
    if (code != SB_THUMBTRACK && code != SB_THUMBPOSITION)
        return;
    if (bar == SB_HORZ && !(preview.zoom && preview.main && preview.main->landscape()))
        return;
    int position = HIWORD(wParam);
    (bar == SB_VERT ? preview.scrollY : preview.scrollX) = position;
    SetScrollPos(dialog, bar, position, TRUE);
    layOut(dialog, preview);
}

void openPages(HWND dialog, Preview& preview) {
    HWND host = GetDlgItem(dialog, IDC_PREVIEW_PAGES);
    MoveWindow(host, 0, toolbarHeight(preview) + 12, 4000, 2000, FALSE);
    int width = preview.printer->printableWidth();
    int height = preview.printer->printableHeight();
    preview.main = std::make_unique<Emf>(host, width, height, false);
    preview.main->load(preview.pages[0].c_str());
    bool portrait = width < height;
    if (preview.pages.size() >= 2 && portrait &&
        GetFileAttributesA(preview.pages[1].c_str()) != INVALID_FILE_ATTRIBUTES) {
        preview.second = std::make_unique<Emf>(host, width, height, true);
        preview.second->load(preview.pages[1].c_str());
    }
    preview.current = 0;
    setCaption(dialog, preview);
    layOut(dialog, preview);
}

INT_PTR handlePreview(HWND dialog, Preview& preview, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            buildToolbar(dialog, preview, preview.printer->instance());
            if (preview.pages.empty()) {
                MessageBoxA(dialog, "A lekérdezésnek egy tétel sem felelt meg.", "Nyomtatási kép", MB_OK);
                EndDialog(dialog, 0);
                return TRUE;
            }
            openPages(dialog, preview);
            return TRUE;
        case WM_SIZE:
        case WM_EXITSIZEMOVE:
            layOut(dialog, preview);
            return TRUE;
        case WM_VSCROLL:
        case WM_HSCROLL:
            scroll(dialog, preview, message == WM_VSCROLL ? SB_VERT : SB_HORZ, wParam);
            return TRUE;
        case WM_NOTIFY: {
            NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
            // The toolbar's tooltip control may ask in either character set.
            if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
                for (const Button& b : kButtons) {
                    if (static_cast<int>(header->idFrom) != b.command)
                        continue;
                    if (header->code == TTN_GETDISPINFOA) {
                        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = const_cast<char*>(b.tooltip);
                    } else {
                        NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                        MultiByteToWideChar(CP_ACP, 0, b.tooltip, -1, info->szText, 80);
                        info->lpszText = info->szText;
                    }
                }
                return TRUE;
            }
            return FALSE;
        }
        case WM_COMMAND:
            break;
        default:
            return FALSE;
    }
    long last = static_cast<long>(preview.pages.size()) - 1;
    switch (LOWORD(wParam)) {
        case IDC_PREVIEW_FIRST:
            goToPage(dialog, preview, 0);
            return TRUE;
        case IDC_PREVIEW_PREV:
            goToPage(dialog, preview, preview.current - 1);
            return TRUE;
        case IDC_PREVIEW_NEXT:
            goToPage(dialog, preview, preview.current + 1);
            return TRUE;
        case IDC_PREVIEW_LAST:
            goToPage(dialog, preview, last);
            if (preview.second)
                ShowWindow(preview.second->window(), SW_HIDE);
            return TRUE;
        case IDC_PREVIEW_LEFTTOP:
        case IDC_PREVIEW_ZOOM:
            if (LOWORD(wParam) == IDC_PREVIEW_ZOOM)
                preview.zoom = !preview.zoom;
            preview.scrollX = preview.scrollY = 0;
            SetScrollPos(dialog, SB_VERT, 0, TRUE);
            SetScrollPos(dialog, SB_HORZ, 0, TRUE);
            layOut(dialog, preview);
            return TRUE;
        case IDC_PREVIEW_PRINT:
            printPreview(dialog, preview);
            return TRUE;
        case IDC_PREVIEW_EMAIL:
            showEmailDialog(dialog, preview.printer->instance(), preview.pages);
            return TRUE;
        case IDC_PREVIEW_EXIT:
        case IDOK:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int printPageFiles(HDC dc, const std::vector<std::string>& pages, int from, int to, int copies) {
    for (int copy = 0; copy < copies; ++copy) {
        DOCINFOA doc = {};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = "Nyomtatás";
        if (StartDocA(dc, &doc) <= 0) {
            showLastError();
            return 0;
        }
        for (int page = from; page <= to && page <= static_cast<int>(pages.size()); ++page) {
            StartPage(dc);
            if (HENHMETAFILE metafile = GetEnhMetaFileA(pages[static_cast<size_t>(page) - 1].c_str())) {
                ENHMETAHEADER header = {};
                GetEnhMetaFileHeader(metafile, sizeof header, &header);
                RECT rect = pagePlayRect(header);
                PlayEnhMetaFile(dc, metafile, &rect);
                DeleteEnhMetaFile(metafile);
            }
            EndPage(dc);
        }
        EndDoc(dc);
    }
    return 1;
}

void showPreview(EmfPrinter& printer) {
    if (g_previewed)
        return;
    g_previewed = &printer;
    Preview preview;
    preview.printer = &printer;
    preview.pages = printer.pageFiles();
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    const char* name = previewTemplateName(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
    DialogBoxParamA(printer.instance(), name, printer.owner(), boundDialogProc<Preview, handlePreview>,
                    reinterpret_cast<LPARAM>(&preview));
    preview.main.reset();
    preview.second.reset();
    if (preview.images)
        ImageList_Destroy(preview.images);
    SetCurrentDirectoryA(directory);
    g_previewed = nullptr;
}
