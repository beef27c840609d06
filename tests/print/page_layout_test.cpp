// Page arithmetic of table printing and the preview: line width and positions, metrics, page names,
// templates, frames and the mail programs' argument lists.
#include <gtest/gtest.h>

#include "print/page_layout.h"

namespace {

PrintColumn column(int fieldWidth, int captionLength, char type = 'C', bool selected = true) {
    PrintColumn c;
    c.fieldWidth = fieldWidth;
    c.captionLength = captionLength;
    c.type = type;
    c.selected = selected;
    return c;
}

PrintColumn deletionColumn() {
    PrintColumn c = column(1, 9);
    c.deletionFlag = true;
    return c;
}

TEST(PageLayout, LineWidthAndPositions) {
    struct Case {
        const char* what;
        std::vector<PrintColumn> columns;
        int width;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"10+20+30 with short captions: 62",
         {deletionColumn(), column(10, 2), column(20, 2), column(30, 2)},
         80,
         {-1, 0, 11, 32}},
        {"sum 80 stays 80", {column(39, 1), column(40, 1)}, 80, {0, 40}},
        {"sum 81 switches to 132", {column(40, 1), column(40, 1)}, 132, {0, 41}},
        {"caption longer than the field", {column(3, 12), column(5, 1)}, 80, {0, 13}},
        {"a date of width 8 with a one-letter caption takes 11", {column(8, 1, 'D'), column(4, 1)}, 80, {0, 11}},
        {"unselected columns add nothing", {column(70, 1, 'C', false), column(30, 1)}, 80, {-1, 0}},
        {"nothing selected", {column(5, 1, 'C', false)}, 80, {-1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(printLineWidth(c.columns), c.width) << c.what;
        EXPECT_EQ(printPositions(c.columns), c.positions) << c.what;
    }
}

TEST(PageLayout, FontAndMetricsAt300Dpi) {
    EXPECT_EQ(fontHeightForPoints(printFontPoints(80), 300), -50);
    EXPECT_EQ(fontHeightForPoints(printFontPoints(132), 300), -29);
    // A4 printable area at 300 dpi, 12-point text: 50 + 0 leading.
    PageMetrics m = pageMetrics(50, 0, 2400, 3400, 0, 0, 60);
    EXPECT_EQ(m.columns, 80) << "fewer than 80 columns are widened to 80";
    EXPECT_EQ(m.columnWidth, 30);
    EXPECT_EQ(m.lineHeight, 50);
    EXPECT_EQ(m.linesPerPage, 66);
    PageMetrics margins = pageMetrics(29, 3, 2400, 3400, 120, 200, 132);
    EXPECT_EQ(margins.lineHeight, 32);
    EXPECT_EQ(margins.linesPerPage, 98);
    EXPECT_EQ(margins.columnWidth, 17);
    PageMetrics none = pageMetrics(0, 0, 0, 0, 0, 0, 80);
    EXPECT_EQ(none.linesPerPage, 0) << "no printer: no lines, and no division by zero";
    EXPECT_EQ(none.columnWidth, 0);
}

TEST(PageLayout, UnitsClippingNamesAndTemplates) {
    EXPECT_EQ(millimetresToDevice(25.4, 300, 0), 300);
    EXPECT_EQ(millimetresToDevice(25.4, 300, 50), 250);
    EXPECT_EQ(charactersInLine(75, 10, 80), 5);
    EXPECT_EQ(charactersInLine(80, 10, 80), 0);
    EXPECT_EQ(charactersInLine(0, 10, 80), 10);
    EXPECT_EQ(pageFileName(3), "PG0003.EMF");
    EXPECT_EQ(pageNumberText(3), "0003.PAGE");
    EXPECT_EQ(pageNumberText(12345), "12345.PAGE");
    EXPECT_EQ(centredColumn(80, 10), 35);
    EXPECT_EQ(centredColumn(80, 81), -1);

    struct Screen {
        int width, height;
        const char* name;
    };
    const Screen screens[] = {
        {800, 600, "EMF_PREVIEW"},       {1024, 768, "EMF_PREVIEW_1024"},  {1152, 864, "EMF_PREVIEW_1024"},
        {1280, 900, "EMF_PREVIEW_1024"}, {1280, 1000, "EMF_PREVIEW_1280"}, {1920, 1080, "EMF_PREVIEW_1280"},
        {1600, 949, "EMF_PREVIEW_1024"}, {640, 480, "EMF_PREVIEW_1024"},
    };
    for (const Screen& s : screens)
        EXPECT_STREQ(previewTemplateName(s.width, s.height), s.name) << s.width << "x" << s.height;
}

TEST(PageLayout, FrameLandsWhereTheInkWas) {
    // A4 at 300 dpi: 2480 x 3508 pixels on 210 x 297 mm; ink from 10 mm, 20 mm to 110 mm, 220 mm.
    PageRect frame{1000, 2000, 11000, 22000};
    PageRect rect = frameToDevice(frame, 2480, 3508, 210, 297);
    EXPECT_EQ(rect.left, 118);
    EXPECT_EQ(rect.top, 236);
    EXPECT_EQ(rect.right, 1299);
    EXPECT_EQ(rect.bottom, 2598);
    PageRect none = frameToDevice(frame, 2480, 3508, 0, 0);
    EXPECT_EQ(none.right, 0);
}

TEST(PageLayout, MailArguments) {
    std::vector<std::string> two = {"C:\\T\\A\\PG0001.EMF", "C:\\T\\A\\PG0002.EMF"};
    MapiDocuments docs = mapiDocuments(two);
    EXPECT_EQ(docs.paths, "C:\\T\\A\\PG0001.EMF;C:\\T\\A\\PG0002.EMF");
    EXPECT_EQ(docs.names, "PG0001.EMF;PG0002.EMF");
    EXPECT_EQ(docs.pages, 2u);

    // 17 characters each: two take 35, three 53.
    std::vector<std::string> three = {two[0], two[1], "C:\\T\\A\\PG0003.EMF"};
    EXPECT_EQ(mapiDocuments(three, 37).pages, 2u);
    EXPECT_EQ(mapiDocuments(three, 56).pages, 3u);
    EXPECT_EQ(mapiDocuments({two[0], "", two[1]}).pages, 1u) << "an empty entry ends the list";

    EXPECT_EQ(mailClientParameters(two),
              "-compose \"to='',subject='',body='',attachment='C:\\T\\A\\PG0001.EMF,C:\\T\\A\\PG0002.EMF'\"");
    EXPECT_EQ(mailClientParameters({"C:\\O'Neil, J\\PG0001.EMF"}),
              "-compose \"to='',subject='',body='',attachment='file:///C:/O%27Neil%2C%20J/PG0001.EMF'\"");
}

}  // namespace
