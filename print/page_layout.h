// The arithmetic of printed pages that draws nothing: line width and column positions of a table
// list, page metrics, millimetre conversion, page file names, the page header's fixed texts, the
// preview template for a screen size, where a page's frame lies on the device, and the argument
// lists handed to mail programs. Portable.
#pragma once

#include <string>
#include <vector>

// One grid column as table printing sees it.
struct PrintColumn {
    int fieldWidth = 0;
    int captionLength = 0;
    char type = 'C';
    bool selected = false;
    bool deletionFlag = false;  // the "deleted()" column: never printed
};

// 80 when the selected columns' widths (the larger of field width and caption length, plus one
// each, less one at the end) sum to 80 or less, else 132.
int printLineWidth(const std::vector<PrintColumn>& columns);
// The character column where each column starts, -1 for a column that is not printed. A date
// column takes at least 10 characters.
std::vector<int> printPositions(const std::vector<PrintColumn>& columns);
// 12 points for 80 columns, 7 for wider lines; the font height in device units for a resolution.
int printFontPoints(int lineWidth);
int fontHeightForPoints(int points, int pixelsPerInch);

// Where text lands on a page, in device units.
struct PageMetrics {
    int lineHeight = 0;    // font height + external leading
    int linesPerPage = 0;  // printable height / line height - 2
    int columnWidth = 0;   // printable width / columns
    int textHeight = 0;
    int columns = 80;  // the requested count, at least 80
};
// Zero metrics when the font height is not positive (no printer): nothing may be laid out then.
PageMetrics pageMetrics(int fontHeight,
                        int externalLeading,
                        int horizontalResolution,
                        int verticalResolution,
                        int leftMargin,
                        int topMargin,
                        int requestedColumns);

// Millimetres to device units at a resolution, less the printer's unprintable offset (truncated).
int millimetresToDevice(double millimetres, int pixelsPerInch, int offset);

// How many characters of a `length`-character text starting at `column` fit before `columns`.
int charactersInLine(int column, int length, int columns);

// "PG0003.EMF" for page 3.
std::string pageFileName(long page);
// "0003.PAGE" for page 3.
std::string pageNumberText(long page);
// The column that centres `length` characters on a `width`-character line; -1 when it does not fit.
int centredColumn(int width, int length);

// The preview dialog template for the screen's full-screen client area.
const char* previewTemplateName(int screenWidth, int screenHeight);

struct PageRect {
    long left = 0, top = 0, right = 0, bottom = 0;
};
// A metafile frame (hundredths of a millimetre) on its reference device (size in pixels and in
// millimetres), in that device's units: where the page's ink belongs on the printed sheet.
PageRect frameToDevice(const PageRect& frame, long devicePixelsX, long devicePixelsY, long deviceMmX, long deviceMmY);

// What Simple MAPI receives: the full paths and the bare names, each joined by ';', with as many
// pages as fit in `limit` characters; `pages` says how many went in.
struct MapiDocuments {
    std::string paths;
    std::string names;
    size_t pages = 0;
};
constexpr size_t kMapiPathLimit = 64999;
MapiDocuments mapiDocuments(const std::vector<std::string>& paths, size_t limit = kMapiPathLimit);

// The mail client's compose argument with every path as an attachment. Paths holding a quote, an
// apostrophe, a comma or a percent sign, which would end the list early, go as file URLs with those
// characters escaped.
std::string mailClientParameters(const std::vector<std::string>& paths);
