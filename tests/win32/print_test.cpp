// The page printer, table printing and the preview under Wine: page files and their records, what
// happens when a page cannot be written, the table list's text and line spacing, the preview's
// caption, pages printed on the prefix's PDF printer, and saving the pages to a folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/dates.h"
#include "base/picture.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "print/emf_printer.h"
#include "print/preview.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

namespace fs = std::filesystem;
using dbftest::field;

// One text record of a page: where it starts, its text and how many bytes the record takes.
struct PageText {
    int x = 0, y = 0;
    std::string text;
};
struct PageRecords {
    std::vector<PageText> texts;
    size_t bytes = 0;
};

int CALLBACK collectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    PageRecords& page = *reinterpret_cast<PageRecords*>(data);
    if (record->iType == EMR_EXTTEXTOUTA || record->iType == EMR_EXTTEXTOUTW) {
        const EMREXTTEXTOUTA* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
        const char* base = reinterpret_cast<const char*>(record) + text->emrtext.offString;
        PageText entry{text->emrtext.ptlReference.x, text->emrtext.ptlReference.y, ""};
        if (record->iType == EMR_EXTTEXTOUTA) {
            entry.text.assign(base, text->emrtext.nChars);
        } else {
            char buffer[512] = "";
            int n =
                WideCharToMultiByte(1250, 0, reinterpret_cast<const wchar_t*>(base),
                                    static_cast<int>(text->emrtext.nChars), buffer, sizeof buffer, nullptr, nullptr);
            entry.text.assign(buffer, static_cast<size_t>(n > 0 ? n : 0));
        }
        page.texts.push_back(entry);
    }
    return 1;
}

PageRecords readPage(const std::string& path) {
    PageRecords page;
    HENHMETAFILE metafile = GetEnhMetaFileA(path.c_str());
    if (!metafile)
        return page;
    page.bytes = GetEnhMetaFileBits(metafile, 0, nullptr);
    EnumEnhMetaFile(nullptr, metafile, collectRecord, &page, nullptr);
    DeleteEnhMetaFile(metafile);
    return page;
}

bool hasText(const PageRecords& page, const std::string& text) {
    for (const PageText& t : page.texts) {
        if (t.text.find(text) != std::string::npos)
            return true;
    }
    return false;
}

// The texts the last table printing left, read before its printer removed them.
std::vector<PageRecords> g_printed;
std::vector<std::string> g_printedFiles;
void recordPages(EmfPrinter& printer) {
    g_printed.clear();
    g_printedFiles = printer.pageFiles();
    for (const std::string& path : printer.pageFiles())
        g_printed.push_back(readPage(path));
}

class PrintTest : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        EmfPrinter::setPreviewOpener(recordPages);
        g_printed.clear();
    }
    void TearDown() override {
        EmfPrinter::setPreviewOpener(nullptr);
        for (int slot = 0; slot < 15; ++slot) {
            BrowseView* view = tableViewSlot(slot);
            if (view && view->window && IsWindow(view->window))
                DestroyWindow(view->window);
        }
        harness::pumpMessages();
        if (!savedTmp_.empty())
            SetEnvironmentVariableA("TMP", savedTmp_.c_str());
        resetSettings();
    }
    // A table of `records` rows: NAME C 10, BORN D 8, OK L 1, and a C field of `wide` characters.
    BrowseView* openTable(long records, int wide = 20) {
        std::string path = dir_.file("PEOPLE.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("BORN", 'D', 8), field("OK", 'L', 1),
                                 field("NOTE", 'C', static_cast<uint16_t>(wide))};
        dbf table(path.c_str());
        EXPECT_EQ(table.create(defs, 4), 1);
        EXPECT_EQ(table.open(1), 1);
        std::vector<std::vector<std::string>> rows;
        for (long r = 1; r <= records; ++r)
            rows.push_back({"N" + std::to_string(r), "20240229", r % 2 ? "T" : "F", "note " + std::to_string(r)});
        dbftest::appendRows(table, rows);
        table.close();
        HWND window = openTableWindow(nullptr, path.c_str());
        harness::pumpMessages(20);
        return window ? browseViewOf(window) : nullptr;
    }
    // Points the temporary folder elsewhere for the rest of the test.
    void setTemp(const std::string& folder) {
        char old[MAX_PATH] = "";
        GetEnvironmentVariableA("TMP", old, sizeof old);
        if (savedTmp_.empty())
            savedTmp_ = old;
        SetEnvironmentVariableA("TMP", folder.c_str());
    }
    dbftest::TempDir dir_;
    std::string savedTmp_;
};

TEST_F(PrintTest, PagesLiveInAFolderOfTheirOwnUntilThePrinterGoes) {
    std::string folder;
    std::vector<std::string> files;
    {
        EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 60, 1);
        ASSERT_TRUE(printer.hasPrinter()) << "the prefix set-up adds \"Quarrow PDF\"";
        EXPECT_EQ(printer.metrics().columns, 80);
        for (int page = 0; page < 3; ++page) {
            ASSERT_EQ(printer.startPage(), 1);
            printer.textAt(1, 75, "0123456789", nullptr, nullptr, 0, 0);
            printer.textAt(2, 0, "whole", nullptr, nullptr, 0, 1);
            ASSERT_EQ(printer.endPage(), 1);
        }
        EXPECT_EQ(printer.endPage(), 1) << "a second endPage has no page to end";
        folder = printer.pageFolder();
        files = printer.pageFiles();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        EXPECT_EQ(folder.rfind(std::string(temp) + "Ombrix-PreView\\", 0), 0u) << folder;
        ASSERT_EQ(files.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(files[i], folder + "PG000" + std::to_string(i + 1) + ".EMF");
            EXPECT_TRUE(fs::exists(files[i]));
        }
        // One record per field; characters past column 80 are dropped.
        PageRecords page = readPage(files[2]);
        ASSERT_EQ(page.texts.size(), 2u);
        EXPECT_EQ(page.texts[0].text, "01234");
        EXPECT_EQ(page.texts[0].x, 75 * printer.metrics().columnWidth);
        EXPECT_EQ(page.texts[1].text, "whole");
    }
    for (const std::string& file : files)
        EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_FALSE(fs::exists(folder)) << "the empty page folder goes with the printer";
}

TEST_F(PrintTest, APageThatCannotBeWrittenStopsWithAMessageAndLeavesNothing) {
    struct Case {
        const char* what;
        bool missingTemp;  // the temporary folder does not exist
        int failingPage;   // a folder of that page's name blocks the file
    };
    const Case cases[] = {{"unusable temporary folder", true, 1}, {"the second page file is taken", false, 2}};
    for (const Case& c : cases) {
        if (c.missingTemp)
            setTemp(dir_.file("no such folder"));
        harness::MessageBoxCatcher catcher;
        std::string folder;
        {
            EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 80, 1);
            ASSERT_TRUE(printer.hasPrinter());
            folder = printer.pageFolder();
            if (!c.missingTemp) {
                ASSERT_TRUE(CreateDirectoryA((folder + pageFileName(c.failingPage)).c_str(), nullptr));
            }
            for (int page = 1; page < c.failingPage; ++page) {
                ASSERT_EQ(printer.startPage(), 1) << c.what;
                ASSERT_EQ(printer.endPage(), 1) << c.what;
            }
            EXPECT_EQ(printer.startPage(), 0) << c.what;
            EXPECT_EQ(printer.pageFiles().size(), static_cast<size_t>(c.failingPage - 1)) << c.what;
        }
        harness::pumpMessages(20);
        ASSERT_EQ(catcher.boxes().size(), 1u) << c.what;
        EXPECT_EQ(catcher.boxes()[0].caption, "Hiba");
        EXPECT_EQ(catcher.boxes()[0].text.rfind("A lapf\xE1jl nem hozhat\xF3 l\xE9tre:", 0), 0u) << c.what;
        if (c.missingTemp)
            SetEnvironmentVariableA("TMP", savedTmp_.c_str());
        if (!c.missingTemp) {
            // Only the test's own blocker is left; the page before it went with the printer.
            EXPECT_FALSE(fs::exists(folder + "PG0001.EMF")) << c.what;
            RemoveDirectoryA((folder + pageFileName(c.failingPage)).c_str());
            RemoveDirectoryA(folder.c_str());
        } else {
            EXPECT_FALSE(fs::exists(dir_.file("no such folder"))) << c.what;
        }
    }
}

TEST_F(PrintTest, ATableBecomesPagesWithHeaderDatesAndLinesThatDoNotOverlap) {
    BrowseView* view = openTable(150);
    ASSERT_NE(view, nullptr);
    view->curRecord = 7;
    view->table->goTo(7);
    harness::MessageBoxCatcher catcher;  // "&OK" in PRINTCOL with the columns it ticks itself
    EXPECT_EQ(printTableCommand(*view), 1);
    ASSERT_FALSE(g_printed.empty()) << "no pages";
    EXPECT_EQ(view->table->recNo(), 7) << "the table is where it was";
    // 12-point lines at 300 dpi are 50 units: some 60 records a page on A4.
    EXPECT_EQ(g_printed.size(), 3u);
    const PageRecords& first = g_printed[0];
    char date[kPictureResultSize];
    formatPicture(Date().stored(), "@D", kPictureDisplay, date);
    char born[kPictureResultSize];
    formatPicture("20240229", "@D", kPictureDisplay, born);
    EXPECT_TRUE(hasText(first, std::string(setting(SET_CEGNEV)) + " T100"));
    EXPECT_TRUE(hasText(first, date)) << date;
    EXPECT_TRUE(hasText(first, "0001.PAGE"));
    EXPECT_TRUE(hasText(g_printed[2], "0003.PAGE"));
    EXPECT_TRUE(hasText(first, "PEOPLE.DBF"));
    EXPECT_TRUE(hasText(first, born)) << "dates print through @D: " << born;
    EXPECT_TRUE(hasText(first, std::string(80, '-')));
    EXPECT_FALSE(hasText(first, "Deleted")) << "the deletion flag is never printed";
    // Record lines step by the print font's height, so they never overlap.
    int previous = -1;
    int step = 0;
    for (const PageText& t : first.texts) {
        if (t.text.rfind("N", 0) == 0 && t.x == 0) {
            if (previous >= 0)
                step = t.y - previous;
            previous = t.y;
        }
    }
    EXPECT_GE(step, 50) << "line height below the 12-point font's height";
    // One record per field keeps pages small.
    EXPECT_LT(first.bytes, 40u * 1024) << first.bytes << " bytes";
    for (const std::string& file : g_printedFiles)
        EXPECT_FALSE(fs::exists(file)) << "page files outlive the printing: " << file;
}

TEST_F(PrintTest, AWidthSumOf81PrintsIn132ColumnsAndAnEmptyTableShowsNothing) {
    // NAME 10 + BORN 8 + OK 2 (its caption) + NOTE 58, each plus one, less one: 81.
    BrowseView* view = openTable(3, 58);
    ASSERT_NE(view, nullptr);
    {
        harness::MessageBoxCatcher catcher;
        printTableCommand(*view);
    }
    ASSERT_EQ(g_printed.size(), 1u);
    EXPECT_TRUE(hasText(g_printed[0], std::string(132, '-')));

    DestroyWindow(view->window);
    harness::pumpMessages();
    view = openTable(0);
    ASSERT_NE(view, nullptr);
    EmfPrinter::setPreviewOpener(nullptr);
    harness::MessageBoxCatcher catcher;
    printTableCommand(*view);
    harness::pumpMessages(20);
    bool nothing = false;
    for (const auto& box : catcher.boxes())
        nothing = nothing || box.text == "A lek\xE9rdez\xE9snek egy t\xE9tel sem felelt meg.";
    EXPECT_TRUE(nothing) << "the preview says there is nothing to show";
}

TEST_F(PrintTest, ThePreviewOpensOnPageOneOfN) {
    BrowseView* view = openTable(150);
    ASSERT_NE(view, nullptr);
    EmfPrinter::setPreviewOpener(nullptr);
    harness::MessageBoxCatcher catcher;  // "&OK" in PRINTCOL, then closes the preview
    printTableCommand(*view);
    harness::pumpMessages(20);
    bool preview = false;
    for (const auto& box : catcher.boxes())
        preview = preview || box.caption == "Preview - 1/3.page";
    EXPECT_TRUE(preview) << "no preview caption among " << catcher.boxes().size() << " dialogs";
}

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
    return folder;
}

TEST_F(PrintTest, PagesTwoToFiveOfThreePrintTwoPagesOnThePdfPrinter) {
    std::string folder = printFolder();
    if (folder.empty())
        GTEST_SKIP() << "QUARROW_PRINT_DIR is set by tools/wine-env.sh";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::set<std::string> before;
    for (const auto& entry : fs::directory_iterator(folder))
        before.insert(entry.path().string());
    EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 80, 1);
    ASSERT_TRUE(printer.hasPrinter());
    for (int page = 1; page <= 3; ++page) {
        ASSERT_EQ(printer.startPage(), 1);
        printer.textAt(10, 10, ("Quarrow page " + std::to_string(page)).c_str(), nullptr, nullptr, 0, 1);
        printer.endPage();
    }
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(printPageFiles(pd.hDC, printer.pageFiles(), 2, 5, 1), 1);
    DeleteDC(pd.hDC);
    std::string content;
    std::string pdf;
    for (int i = 0; i < 300 && content.find("%%EOF") == std::string::npos; ++i) {
        Sleep(50);
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (before.count(entry.path().string()) || entry.path().extension() != ".pdf")
                continue;
            pdf = entry.path().string();
            std::ifstream in(entry.path(), std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    ASSERT_NE(content.find("%%EOF"), std::string::npos) << "no complete PDF in " << folder;
    // Page objects read "/Type/Page" or "/Type /Page"; the page tree is "/Type /Pages".
    size_t pages = 0;
    for (size_t at = content.find("/Type"); at != std::string::npos; at = content.find("/Type", at + 1)) {
        size_t name = content.find_first_not_of(' ', at + 5);
        if (content.compare(name, 5, "/Page") == 0 && content.compare(name, 6, "/Pages") != 0)
            ++pages;
    }
    EXPECT_EQ(pages, 2u);
    DeleteFileA(pdf.c_str());
}

TEST_F(PrintTest, SavePreviewAsksBeforeReplacingAndTakesBackAFailedCopy) {
    EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 80, 1);
    ASSERT_TRUE(printer.hasPrinter());
    for (int page = 1; page <= 2; ++page) {
        ASSERT_EQ(printer.startPage(), 1);
        printer.endPage();
    }
    fs::path target = dir_.path() / "saved";
    fs::create_directory(target);
    EXPECT_EQ(copyPageFiles(nullptr, printer.pageFiles(), target.string()), 2);
    EXPECT_TRUE(fs::exists(target / "PG0002.EMF"));
    {
        harness::MessageBoxCatcher refuse(IDNO);
        EXPECT_EQ(copyPageFiles(nullptr, printer.pageFiles(), target.string()), 0);
        ASSERT_EQ(refuse.boxes().size(), 1u) << "replacing files is asked first";
    }
    // A folder in the place of the second page: the first copy is taken back.
    fs::path other = dir_.path() / "other";
    fs::create_directories(other / "PG0002.EMF");
    harness::MessageBoxCatcher catcher(IDYES);
    EXPECT_EQ(copyPageFiles(nullptr, printer.pageFiles(), other.string()), 0);
    EXPECT_FALSE(fs::exists(other / "PG0001.EMF"));
    bool reported = false;
    for (const auto& box : catcher.boxes())
        reported = reported || box.text.rfind("A lapf\xE1jl m\xE1sol\xE1sa sikertelen", 0) == 0;
    EXPECT_TRUE(reported);
}

// Names a printer that does not exist as the default one while alive, as a prefix without printers does.
class NoDefaultPrinter {
  public:
    NoDefaultPrinter() {
        RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ | KEY_WRITE, &key_);
        DWORD size = sizeof saved_;
        if (RegQueryValueExA(key_, "Device", nullptr, nullptr, reinterpret_cast<BYTE*>(saved_), &size) != 0)
            saved_[0] = '\0';
        const char bogus[] = "Nincs ilyen nyomtat\xF3,wineps.drv,LPT9:";
        RegSetValueExA(key_, "Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(bogus), sizeof bogus);
    }
    ~NoDefaultPrinter() {
        RegSetValueExA(key_, "Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_),
                       static_cast<DWORD>(strlen(saved_) + 1));
        RegCloseKey(key_);
    }
    NoDefaultPrinter(const NoDefaultPrinter&) = delete;
    NoDefaultPrinter& operator=(const NoDefaultPrinter&) = delete;

  private:
    static constexpr const char* kKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
    HKEY key_ = nullptr;
    char saved_[1024] = "";
};

TEST_F(PrintTest, WithoutAPrinterTablePrintingSaysSoAndStops) {
    BrowseView* view = openTable(5);
    ASSERT_NE(view, nullptr);
    harness::MessageBoxCatcher catcher;
    {
        NoDefaultPrinter none;
        EXPECT_EQ(printTableCommand(*view), 1);
    }
    harness::pumpMessages(20);
    EXPECT_TRUE(g_printed.empty()) << "pages without a printer";
    bool said = false;
    for (const auto& box : catcher.boxes())
        said = said || (box.caption == "Hiba" && box.text == "A printer DC lek\xE9r\xE9se sikertelen!");
    EXPECT_TRUE(said) << catcher.boxes().size() << " dialogs, none the printer message";
}

TEST_F(PrintTest, PageSetUpTurnsAndResizesThePage) {
    EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 80, 1);
    ASSERT_TRUE(printer.hasPrinter());
    const int portraitWidth = printer.printableWidth();
    const int portraitLines = printer.linesPerPage();
    struct Step {
        const char* what;
        int (EmfPrinter::*change)();
        bool landscape;
    };
    const Step steps[] = {{"landscape", &EmfPrinter::setLandscape, true},
                          {"portrait", &EmfPrinter::setPortrait, false}};
    for (const Step& step : steps) {
        ASSERT_EQ((printer.*step.change)(), 1) << step.what;
        EXPECT_EQ(printer.landscape(), step.landscape) << step.what;
        EXPECT_EQ(printer.printableWidth() > printer.printableHeight(), step.landscape) << step.what;
        EXPECT_EQ(printer.linesPerPage() < portraitLines, step.landscape) << "lines follow the page: " << step.what;
    }
    EXPECT_EQ(printer.printableWidth(), portraitWidth);
    // The test printer's description has no custom paper sizes, so the driver keeps A4: the call
    // must still leave a usable layout.
    ASSERT_EQ(printer.setPaperSize(1480, 2100), 1);
    EXPECT_GT(printer.linesPerPage(), 0);
    EXPECT_EQ(printer.setCopies(2), 1);
    ASSERT_EQ(printer.startPage(), 1);
    EXPECT_EQ(printer.setLandscape(), 0) << "not in the middle of a page";
}

INT_PTR CALLBACK passiveDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST_F(PrintTest, APagePlaysWhereItsInkWasAndEveryPreviewTemplateLoads) {
    EmfPrinter printer(GetModuleHandleA(nullptr), nullptr, "test", 1, 80, 1);
    ASSERT_TRUE(printer.hasPrinter());
    ASSERT_EQ(printer.startPage(), 1);
    printer.rectangle(30, 40, 100, 120, RGB(0, 0, 0));
    ASSERT_EQ(printer.endPage(), 1);
    HENHMETAFILE page = GetEnhMetaFileA(printer.pageFiles()[0].c_str());
    ASSERT_NE(page, nullptr);
    ENHMETAHEADER header = {};
    GetEnhMetaFileHeader(page, sizeof header, &header);
    DeleteEnhMetaFile(page);
    // Not stretched from the origin: the page lands on its own bounds, give or take the frame's rounding.
    RECT rect = pagePlayRect(header);
    EXPECT_NEAR(rect.left, header.rclBounds.left, 3);
    EXPECT_NEAR(rect.top, header.rclBounds.top, 3);
    EXPECT_NEAR(rect.right, header.rclBounds.right, 3);
    EXPECT_NEAR(rect.bottom, header.rclBounds.bottom, 3);
    EXPECT_GT(rect.left, 200) << "30 mm from the paper edge, less the unprintable margin";

    for (const char* name : {"EMF_PREVIEW", "EMF_PREVIEW_1024", "EMF_PREVIEW_1280"}) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), name, nullptr, passiveDialog, 0);
        ASSERT_NE(dialog, nullptr) << name;
        EXPECT_EQ(harness::windowText(dialog), "Nyomtat\xE1si k\xE9p") << name;
        HWND host = GetDlgItem(dialog, 201);
        EXPECT_EQ(harness::windowText(host),
                  "Fejl\xE9"
                  "c")
            << name;
        EXPECT_EQ(_stricmp(harness::className(host).c_str(), "Tbl"), 0) << name;
        DestroyWindow(dialog);
    }
}

TEST_F(PrintTest, TheMailClientGetsQuotedAttachmentsOrAWarning) {
    harness::MessageBoxCatcher catcher;
    sendByMailClient({"C:\\T\\O'Neil, J\\PG0001.EMF"});
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u) << "no mail client here: the start fails with a warning";
    const std::string& text = catcher.boxes()[0].text;
    EXPECT_NE(text.find("thunderbird.exe"), std::string::npos) << text;
    EXPECT_NE(text.find("attachment='file:///C:/T/O%27Neil%2C%20J/PG0001.EMF'"), std::string::npos) << text;
}

std::string exeFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

TEST_F(PrintTest, MapiGetsEveryPageOrSaysWhatWentWrong) {
    // The recording stand-in under another name: Wine would pick its own mapi32 for that name.
    std::string recorder = dir_.file("mapi_record.dll");
    ASSERT_TRUE(CopyFileA((exeFolder() + "\\mapi32.dll").c_str(), recorder.c_str(), FALSE))
        << "mapi32.dll stub not built";
    std::string log = dir_.file("mapi.log");
    SetEnvironmentVariableA("QUARROW_MAPI_LOG", log.c_str());
    const std::vector<std::string> pages = {"C:\\T\\A\\PG0001.EMF", "C:\\T\\A\\PG0002.EMF"};
    struct Case {
        const char* what;
        std::string library;
        const char* refuse;
        int sent;
        const char* message;  // null: no box
        const char* calls;
    };
    const Case cases[] = {
        {"no library", dir_.file("absent.dll"), "0", 0, "MAPI k\xF6nyvt\xE1r nem el\xE9rhet\xF5", ""},
        {"a function missing", exeFolder() + "\\mapi_partial.dll", "0", 0,
         "MAPI funkci\xF3k bet\xF6lt\xE9se sikertelen!", ""},
        {"logon refused", recorder, "1", 0, "A lev\xE9lez\xF5 programba a bejelentkez\xE9s sikertelen.",
         "MAPILogon (null) (null) 3\nMAPILogoff 42\n"},
        {"sent", recorder, "0", 2, nullptr,
         "MAPILogon (null) (null) 3\nMAPISendDocuments "
         ";|C:\\T\\A\\PG0001.EMF;C:\\T\\A\\PG0002.EMF|PG0001.EMF;PG0002.EMF\n"
         "MAPILogoff 42\n"},
    };
    for (const Case& c : cases) {
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA("QUARROW_MAPI_REFUSE", c.refuse);
        harness::MessageBoxCatcher catcher;
        EXPECT_EQ(sendByMapi(nullptr, pages, c.library.c_str()), c.sent) << c.what;
        harness::pumpMessages(10);
        if (c.message) {
            ASSERT_EQ(catcher.boxes().size(), 1u) << c.what;
            EXPECT_EQ(catcher.boxes()[0].caption, "Mapi") << c.what;
            EXPECT_EQ(catcher.boxes()[0].text, c.message) << c.what;
        } else {
            EXPECT_TRUE(catcher.boxes().empty()) << c.what;
        }
        std::ifstream in(log, std::ios::binary);
        std::string calls((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(calls, c.calls) << c.what;
    }
    // 3,611 paths of 17 characters and their separators fill 64,999 characters: the rest is left out, and said so.
    SetEnvironmentVariableA("QUARROW_MAPI_REFUSE", "0");
    harness::MessageBoxCatcher catcher;
    EXPECT_EQ(sendByMapi(nullptr, std::vector<std::string>(4000, pages[0]), recorder.c_str()), 3611);
    harness::pumpMessages(10);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_NE(catcher.boxes()[0].text.find("4000 lapb\xF3l csak 3611"), std::string::npos) << catcher.boxes()[0].text;
    SetEnvironmentVariableA("QUARROW_MAPI_LOG", nullptr);
    SetEnvironmentVariableA("QUARROW_MAPI_REFUSE", nullptr);
}

}  // namespace
