// The table grid: its descriptor BrowseView, columns, cell styles and commands, and the Tbl window class.
#pragma once

#include <windows.h>

#include <vector>

#include "browse/gdi_handles.h"

class dbf;
struct BrowseView;

// One cell as a column's cellStyle describes it; each kind of cell has one shared record that the
// next call overwrites.
struct CellStyle {
    COLORREF textColor = 0;
    COLORREF background = 0xFFFFFF;
    HFONT font = nullptr;      // null: the DC's font
    HBITMAP bitmap = nullptr;  // null for a text cell
    char text[256] = "";
};

// Text-drawing flags of a column: one line, vertically centred, and the horizontal alignment.
constexpr UINT kAlignLeft = DT_SINGLELINE | DT_VCENTER | DT_LEFT;      // 36
constexpr UINT kAlignCentre = DT_SINGLELINE | DT_VCENTER | DT_CENTER;  // 37
constexpr UINT kAlignRight = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;    // 38

struct BrowseColumn {
    int width = 0;
    char fieldName[11] = "";
    char caption[129] = "";
    CellStyle* (*cellStyle)(BrowseView&) = nullptr;
    int (*canEdit)(BrowseView&) = nullptr;
    int (*acceptEdit)(BrowseView&) = nullptr;
    UINT alignment = kAlignLeft;
    char picture[32] = "";
    int x = 0;  // left edge relative to the first visible column, set at each paint
    char type = 'C';
    long editLength = 0;
    bool printSelected = false;
    COLORREF headerText = 0;
    COLORREF headerBackground = 0xFCE8BE;
    COLORREF headerHighlight = 0xFEFBF1;
};

// One entry of a grid's command table; a table ends with an entry whose code is 0. The code is the
// virtual key that runs the command, and the pop-up menu item id is code + 2000. A null handler is
// a command whose implementation is not linked in: choosing it only repaints.
struct BrowseCommand {
    int code;
    char menuText[32];
    int (*handler)(BrowseView&);
};

// The descriptor of one grid, filled by its creator and stored in the window's user data.
struct BrowseView {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HWND dialog = nullptr;  // the hosting dialog; null for a top-level table window
    HWND editor = nullptr;  // the in-place cell editor while it is open
    HDC paintDc = nullptr;
    int left = 0, top = 0, width = 0, height = 0;  // height = (rows + 1) x row height + 1
    long curColumn = 0;                            // absolute column index, 0 = deletion flag
    long curRecord = 1;                            // record number of the current record
    long curRow = 1;                               // screen row of the current record; row 0 is the header
    long relColumn = 0;                            // curColumn - firstColumn
    long firstColumn = 0;
    long rows = 0;            // data rows that fit
    long fittingColumns = 0;  // columns from the first visible one that end inside the window
    long cachedCount = 0;     // record count, refreshed at each paint and after each command
    long columnCount = 0;     // deletion-flag column included
    int rowHeight = 20;
    long pendingCode = 0;
    long recordDelta = 0;  // records to move before the next paint
    long topOffset = 0;    // 1 - current row
    long thumbPosition = 0;
    bool navigationPending = false;
    long resizeColumn = 0;  // column whose left border is being dragged; 0 = none
    int resizeEdge = 0;     // x of that border when the drag started
    bool painting = false;
    bool gridLines = false;
    bool ownsDescriptor = false;  // the window deletes the descriptor when destroyed
    bool topLevel = false;
    bool embedded = false;
    long direction = 1;  // -1 while a backward search runs
    char title[136] = "";
    WNDPROC editorProcedure = nullptr;
    char editBuffer[256] = "";
    dbf* table = nullptr;  // owned: closed and deleted with the window
    char workBuffer[512] = "";
    char* memoText = nullptr;
    long callbackColumn = 0;  // the column whose cell a cellStyle call is asked for
    COLORREF selectedText = 0x0000FF;
    COLORREF selectedBackground = 0x00FFFF;
    HFONT headerFont = nullptr;
    HFONT dataFont = nullptr;
    GdiObject<HFONT> ownedFont;               // a font created for this grid alone (table windows)
    std::vector<GdiObject<HBITMAP>> bitmaps;  // deletion-flag pictures

    // Data-source operations; the defaults work over `table`.
    long (*positionForPaint)(BrowseView&) = nullptr;
    long (*nextRow)(BrowseView&) = nullptr;
    void (*goToRecord)(BrowseView&, long record) = nullptr;
    long (*currentRecord)(BrowseView&) = nullptr;
    long (*recordCount)(BrowseView&) = nullptr;
    void (*updateCaption)(BrowseView&) = nullptr;  // optional
    int (*atTop)(BrowseView&) = nullptr;
    int (*atEnd)(BrowseView&) = nullptr;

    const BrowseCommand* commands = nullptr;  // not owned
    std::vector<BrowseColumn> columns;
    char permissions[8] = "IIIII";  // the second letter 'I' lets Enter edit in a grid that is not top-level
    bool memoReadOnly = false;
    bool hasFocus = false;
};

// Fills a descriptor with the initial values: the given title and geometry, rows = height / row
// height - 1, height trimmed to whole rows, positions 1, red on yellow, "IIIII", and the data-source
// operations over the table.
void initBrowseView(BrowseView& view, const char* title, int left, int top, int width, int height, int rowHeight);

// Makes `count` default columns (deletion-flag column included) and sets the column count.
void setColumnCount(BrowseView& view, int count);

// Releases what the descriptor owns: an open cell editor, the table (closed and deleted), bitmaps,
// owned font and columns. The descriptor can be filled again afterwards.
void releaseBrowseView(BrowseView& view);

// The descriptor attached to a grid window, or null.
BrowseView* browseViewOf(HWND window);

// Stores `view` as the window's descriptor (null detaches it) and records the window handle.
void attachBrowseView(HWND window, BrowseView* view);

// The Tbl window class: one procedure for top-level table windows and the TBL controls of dialogs
// (class names are not case-sensitive). Registering twice is not an error.
extern const char kGridClass[];  // "Tbl"
LRESULT CALLBACK gridWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool registerGridClass(HINSTANCE instance);

// Attaches a descriptor to the TBL control `controlId` of `dialog`: takes the control's rectangle,
// rows = control height / row height - 1, height trimmed to whole rows, marks the grid embedded.
HWND attachEmbeddedGrid(BrowseView& view, HWND dialog, int controlId);

// Called once per grid control when its dialog opens: the control then asks for all keys, so that
// arrows, Enter, Tab and Escape reach the grid instead of the dialog manager.
void hostGridControl(HWND control);

// Re-establishes the scroll ranges from the cached record count and the column count.
void updateScrollRanges(BrowseView& view);
