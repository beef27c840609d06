// The Wine prefix's default printer: the print dialog hands out its DC, and a one-page job
// arrives as a PDF file in the printer's output folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <fstream>
#include <set>
#include <string>

#include "base/find.h"

namespace {

// The printer's output folder as a Windows path; empty outside tools/wine-env.sh.
std::string printFolder() {
    char unixPath[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QUARROW_PRINT_DIR", unixPath, sizeof unixPath))
        return std::string();
    std::string folder = std::string("Z:") + unixPath;
    for (char& c : folder) {
        if (c == '/')
            c = '\\';
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::set<std::string> pdfFiles(const std::string& folder) {
    std::set<std::string> names;
    for (const FoundFile& file : findFiles((folder + "\\*.pdf").c_str()))
        names.insert(file.name);
    return names;
}

// The default printer's DC, as the page printer asks for it.
HDC defaultPrinterDc() {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd))
        return nullptr;
    if (pd.hDevMode)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        GlobalFree(pd.hDevNames);
    return pd.hDC;
}

TEST(Printer, DefaultPrinterGivesAnA4DcAt300Dpi) {
    HDC dc = defaultPrinterDc();
    ASSERT_NE(dc, nullptr) << "no default printer: the prefix set-up adds \"Quarrow PDF\"";
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 300);
    EXPECT_NEAR(GetDeviceCaps(dc, PHYSICALWIDTH), 2480, 2);   // 210 mm
    EXPECT_NEAR(GetDeviceCaps(dc, PHYSICALHEIGHT), 3508, 2);  // 297 mm
    DeleteDC(dc);
}

TEST(Printer, OnePageJobBecomesAPdfFile) {
    std::string folder = printFolder();
    if (folder.empty())
        GTEST_SKIP() << "QUARROW_PRINT_DIR is set by tools/wine-env.sh";
    std::set<std::string> before = pdfFiles(folder);
    HDC dc = defaultPrinterDc();
    ASSERT_NE(dc, nullptr);
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "Quarrow printer test";
    ASSERT_GT(StartDocA(dc, &doc), 0);
    ASSERT_GT(StartPage(dc), 0);
    const char text[] = "Quarrow \xE1rv\xEDzt\xFBr\xF5";
    TextOutA(dc, 300, 300, text, static_cast<int>(sizeof text - 1));
    Rectangle(dc, 300, 600, 1200, 900);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);

    // ghostscript writes the file shortly after the job: wait until a new one is complete.
    std::string path;
    std::string content;
    for (int i = 0; i < 300 && content.find("%%EOF") == std::string::npos; ++i) {
        Sleep(50);
        for (const std::string& name : pdfFiles(folder)) {
            if (!before.count(name))
                path = folder + "\\" + name;
        }
        if (!path.empty()) {
            std::ifstream in(path, std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    ASSERT_FALSE(path.empty()) << "no PDF appeared in " << folder;
    EXPECT_EQ(content.compare(0, 5, "%PDF-"), 0);
    EXPECT_NE(content.find("%%EOF"), std::string::npos) << "the PDF is incomplete";
    bool hasPage = content.find("/Type /Page") != std::string::npos || content.find("/Type/Page") != std::string::npos;
    EXPECT_TRUE(hasPage) << "no page object";
    DeleteFileA(path.c_str());
}

}  // namespace
