// Page arithmetic of the printers and the preview; see page_layout.h.
#include "print/page_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

int printWidth(const PrintColumn& column) {
    int width = std::max(column.fieldWidth, column.captionLength);
    if (column.type == 'D')
        width = std::max(width, 10);
    return width + 1;
}

bool isPrinted(const PrintColumn& column) {
    return column.selected && !column.deletionFlag;
}

const char* baseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

int printLineWidth(const std::vector<PrintColumn>& columns) {
    int sum = 0;
    for (const PrintColumn& column : columns) {
        if (isPrinted(column))
            sum += std::max(column.fieldWidth, column.captionLength) + 1;
    }
    if (sum > 0)
        --sum;
    return sum > 80 ? 132 : 80;
}

std::vector<int> printPositions(const std::vector<PrintColumn>& columns) {
    std::vector<int> positions;
    int position = 0;
    for (const PrintColumn& column : columns) {
        if (!isPrinted(column)) {
            positions.push_back(-1);
            continue;
        }
        positions.push_back(position);
        position += printWidth(column);
    }
    return positions;
}

int printFontPoints(int lineWidth) {
    return lineWidth > 80 ? 7 : 12;
}

int fontHeightForPoints(int points, int pixelsPerInch) {
    return -points * pixelsPerInch / 72;
}

PageMetrics pageMetrics(int fontHeight,
                        int externalLeading,
                        int horizontalResolution,
                        int verticalResolution,
                        int leftMargin,
                        int topMargin,
                        int requestedColumns) {
    PageMetrics metrics;
    metrics.columns = std::max(requestedColumns, 80);
    if (fontHeight <= 0)
        return metrics;
    metrics.textHeight = fontHeight;
    metrics.lineHeight = fontHeight + externalLeading;
    metrics.linesPerPage = std::max((verticalResolution - topMargin) / metrics.lineHeight - 2, 0);
    metrics.columnWidth = std::max(horizontalResolution - leftMargin, 0) / metrics.columns;
    return metrics;
}

int millimetresToDevice(double millimetres, int pixelsPerInch, int offset) {
    // 25.4 mm at 300 dpi comes to 299.99999...: a hair's tolerance keeps it at 300.
    return static_cast<int>(millimetres * pixelsPerInch * 0.03937007874015748 - offset + 1e-9);
}

int charactersInLine(int column, int length, int columns) {
    if (column < 0 || column >= columns || length <= 0)
        return 0;
    return std::min(length, columns - column);
}

std::string pageFileName(long page) {
    char name[32];
    std::snprintf(name, sizeof name, "PG%04ld.EMF", page);
    return name;
}

std::string pageNumberText(long page) {
    char text[32];
    std::snprintf(text, sizeof text, "%04ld%s", page, ".PAGE");
    return text;
}

int centredColumn(int width, int length) {
    return length > width ? -1 : (width - length) / 2;
}

const char* previewTemplateName(int screenWidth, int screenHeight) {
    if (screenWidth == 800)
        return "EMF_PREVIEW";
    if (screenWidth >= 1280 && screenHeight >= 950)
        return "EMF_PREVIEW_1280";
    return "EMF_PREVIEW_1024";
}

PageRect frameToDevice(const PageRect& frame, long devicePixelsX, long devicePixelsY, long deviceMmX, long deviceMmY) {
    PageRect rect;
    if (deviceMmX <= 0 || deviceMmY <= 0)
        return rect;
    // Frames are in 0.01 mm; 64-bit products keep a large frame from overflowing.
    auto scaleX = [&](long v) {
        return static_cast<long>(static_cast<long long>(v) * devicePixelsX / (deviceMmX * 100));
    };
    auto scaleY = [&](long v) {
        return static_cast<long>(static_cast<long long>(v) * devicePixelsY / (deviceMmY * 100));
    };
    rect.left = scaleX(frame.left);
    rect.top = scaleY(frame.top);
    rect.right = scaleX(frame.right);
    rect.bottom = scaleY(frame.bottom);
    return rect;
}

MapiDocuments mapiDocuments(const std::vector<std::string>& paths, size_t limit) {
    MapiDocuments documents;
    for (const std::string& path : paths) {
        if (path.empty())
            break;
        size_t grown = documents.paths.size() + (documents.pages ? 1 : 0) + path.size();
        if (grown > limit)
            break;
        if (documents.pages) {
            documents.paths += ';';
            documents.names += ';';
        }
        documents.paths += path;
        documents.names += baseName(path);
        ++documents.pages;
    }
    return documents;
}

std::string mailClientParameters(const std::vector<std::string>& paths) {
    std::string parameters = "-compose \"to='',subject='',body='',attachment='";
    bool first = true;
    for (const std::string& path : paths) {
        if (!first)
            parameters += ',';
        first = false;
        if (path.find_first_of("'\",%") == std::string::npos) {
            parameters += path;
            continue;
        }
        parameters += "file:///";
        for (char c : path) {
            if (std::strchr("'\",% ", c)) {
                char escaped[4];
                std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
                parameters += escaped;
            } else {
                parameters += c == '\\' ? '/' : c;
            }
        }
    }
    parameters += "'\"";
    return parameters;
}
