// The shared dialog helpers under Wine: shellOpen's Hungarian failure box, the progress dialog and
// its cancel, clipboard text, balloon tooltips and the dialog-control helpers.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "base/progress.h"
#include "base/ui.h"
#include "resources/resource.h"
#include "tests/win32/harness.h"

namespace {

std::string tempFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// "A megadott fájlnév nem létezik." and the command lines, spelled as Windows-1250 bytes.
const char kMissingFileText[] = "A megadott f\xE1jln\xE9v nem l\xE9tezik.";

TEST(ShellOpen, MissingFileShowsTheHungarianTextWithTheCommandLines) {
    std::string folder = tempFolder("quarrow-shell-");
    std::string file = folder + "\\nincs-ilyen.txt";
    harness::MessageBoxCatcher catcher;
    shellOpen("open", file.c_str(), "-p 1", folder.c_str(), SW_SHOWNORMAL);
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    std::string expected = std::string(kMissingFileText) + "\r\nParancs\t" + file + "\r\nParam\xE9ter\t-p 1" +
                           "\r\nK\xF6nyvt\xE1r\t" + folder;
    EXPECT_EQ(catcher.boxes()[0].text, expected);
    RemoveDirectoryA(folder.c_str());
}

TEST(ShellOpen, MissingParametersAndDirectoryShowAsEmptyLines) {
    EXPECT_EQ(shellErrorMessage(2, "x.txt", nullptr, nullptr),
              std::string(kMissingFileText) + "\r\nParancs\tx.txt\r\nParam\xE9ter\t\r\nK\xF6nyvt\xE1r\t");
}

TEST(ShellOpen, EveryListedResultHasItsTextAndOthersShowNothing) {
    struct Case {
        int result;
        const char* text;
    };
    // The Windows-1250 bytes of the accented letters are spelled out.
    const Case listed[] = {
        {0,
         "Az oper\xE1\x63i\xF3s rendszer kifogyott az er\xF5"
         "forr\xE1sokb\xF3l."},
        {3, "A megadott \xFAtvonal nem l\xE9tezik."},
        {5,
         "Az oper\xE1\x63i\xF3s rendszer megtagadta a hozz\xE1"
         "f\xE9r\xE9st."},
        {8, "Nincs el\xE9g mem\xF3ria a m\xFBvelet v\xE9grehajt\xE1s\xE1hoz."},
        {11, "\xC9rv\xE9nytelen program."},
        {26, "Egy megoszt\xE1s megs\xE9rt\xE9se."},
        {27, "A f\xE1jn\xE9v hozz\xE1rendel\xE9s \xE9rv\xE9nytelen."},
        {28,
         "A DDE tranzakci\xF3 nem hajt\xF3"
         "dott v\xE9gre, mert id\xF5t\xFAll\xE9p\xE9sbe \xFCtk\xF6z\xF6tt."},
        {29, "A DDE tranzakci\xF3 v\xE9grehajt\xE1sa sikertelen."},
        {30,
         "A DDE tranzakci\xF3 nem hajt\xF3"
         "dott v\xE9gre mert egy m\xE1sik tranzakci\xF3 folyamatban van."},
        {31, "Nincs t\xE1rs\xEDt\xE1s a kiterjeszt\xE9shez."},
        {32, "A meghat\xE1rozott DLL nem tal\xE1lhat\xF3."},
    };
    for (const Case& c : listed) {
        ASSERT_NE(shellErrorText(c.result), nullptr) << c.result;
        EXPECT_STREQ(shellErrorText(c.result), c.text) << c.result;
    }
    for (int other : {1, 4, 6, 7, 9, 10, 12, 25, 33, 42, 1000, -1})
        EXPECT_EQ(shellErrorText(other), nullptr) << other;
    EXPECT_TRUE(shellErrorMessage(33, "a", "b", "c").empty());
}

// A run of up to 100 units that clicks the dialog's "&Cancel" button after unit 3.
struct Units {
    int done = 0;
    int ranWhileCancelled = 0;
    std::string caption;
    bool hadWindows = false;
    bool clickAfterThird = true;
};

int countUnits(ProgressJob* job) {
    auto* units = static_cast<Units*>(job->parameter);
    units->caption = harness::windowText(static_cast<HWND>(job->dialog));
    units->hadWindows = IsWindow(static_cast<HWND>(job->dialog)) && IsWindow(static_cast<HWND>(job->progress)) &&
                        GetDlgCtrlID(static_cast<HWND>(job->progress)) == IDC_PROGRESS_BAR;
    while (!job->cancel && units->done < 100) {
        if (job->cancel)
            units->ranWhileCancelled++;
        units->done++;
        if (units->done == 3 && units->clickAfterThird)
            PostMessageA(GetDlgItem(static_cast<HWND>(job->dialog), IDCANCEL), BM_CLICK, 0, 0);
        dispatchWaitingMessage();
        Sleep(1);
    }
    return units->done;
}

TEST(ProgressDialog, CancelStopsTheJobBetweenTwoUnits) {
    Units units;
    ProgressJob job;
    setProgressTitle(job, "ODBC query ...");
    job.parameter = &units;
    job.run = countUnits;
    job.cancel = 1;  // a stale flag from an earlier run is cleared before the run starts
    int result = runProgressDialog(GetModuleHandleA(nullptr), nullptr, &job);
    EXPECT_TRUE(units.hadWindows);
    EXPECT_EQ(units.caption, "ODBC query ...");
    EXPECT_GE(units.done, 3);
    EXPECT_LT(units.done, 100) << "the cancel never reached the job";
    EXPECT_EQ(units.ranWhileCancelled, 0);
    EXPECT_EQ(job.cancel, 1);
    EXPECT_EQ(result, units.done) << "the dialog returns the operation's result";
    EXPECT_EQ(job.dialog, nullptr);
}

TEST(ProgressDialog, UncancelledJobRunsToItsEndAndTheDialogCloses) {
    Units units;
    units.clickAfterThird = false;
    ProgressJob job;
    setProgressTitle(job, "Table copy ...");
    job.parameter = &units;
    job.run = countUnits;
    EXPECT_EQ(runProgressDialog(GetModuleHandleA(nullptr), nullptr, &job), 100);
    EXPECT_EQ(units.done, 100);
    EXPECT_EQ(job.cancel, 0);
    harness::pumpMessages(10);
    EXPECT_EQ(FindWindowA("#32770", "Table copy ..."), nullptr);
}

TEST(ProgressDialog, LongTitleIsCutToTheField) {
    ProgressJob job;
    setProgressTitle(job, std::string(200, 'x').c_str());
    EXPECT_EQ(std::string(job.title), std::string(kProgressTitleSize - 1, 'x'));
}

TEST(Clipboard, CopiedTextReadsBackAsPlainText) {
    const char text[] = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";  // Árvíztűrő tükörfúrógép
    ASSERT_EQ(copyTextToClipboard(nullptr, text), 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    std::string read = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(read, text);
}

// A plain window holding the controls the helpers work on.
class Controls : public testing::Test {
  protected:
    void SetUp() override {
        parent_ = CreateWindowExA(0, "STATIC", "controls", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        make("EDIT", "Kecskem\xE9t", WS_CHILD | ES_AUTOHSCROLL, 10);
        make("BUTTON", "check", WS_CHILD | BS_AUTOCHECKBOX, 11);
        make("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, 12);
        make("LISTBOX", "", WS_CHILD | LBS_NOTIFY, 13);
        for (const char* entry : {"alma", "barack", "alfa"})
            SendDlgItemMessageA(parent_, 12, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        for (const char* entry : {"egy", "kett\xF5"})
            SendDlgItemMessageA(parent_, 13, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    void TearDown() override {
        if (parent_)
            DestroyWindow(parent_);
    }
    void make(const char* cls, const char* text, DWORD style, int id) {
        ASSERT_NE(
            CreateWindowExA(0, cls, text, style, 0, 0, 100, 80, parent_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr),
            nullptr);
    }
    HWND parent_ = nullptr;
};

TEST_F(Controls, TextIsReadTerminatedAndCutToTheBuffer) {
    char buffer[64];
    EXPECT_EQ(getItemText(parent_, 10, buffer, sizeof buffer), 9);
    EXPECT_STREQ(buffer, "Kecskem\xE9t");
    char small[5];
    EXPECT_EQ(getItemText(parent_, 10, small, sizeof small), 4);
    EXPECT_STREQ(small, "Kecs");
    EXPECT_EQ(itemText(parent_, 10), "Kecskem\xE9t");
    setItemText(parent_, 10, "Szeged");
    EXPECT_EQ(itemText(parent_, 10), "Szeged");
}

TEST_F(Controls, AbsentControlGivesEmptyText) {
    char buffer[16];
    memcpy(buffer, "garbage", 8);
    EXPECT_EQ(getItemText(parent_, 999, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(itemText(parent_, 999), "");
    EXPECT_EQ(comboSelectedText(parent_, 999), "");
    EXPECT_EQ(listSelectedText(parent_, 999), "");
}

TEST_F(Controls, CheckBoxReadsAsFlagAndLetter) {
    EXPECT_FALSE(isItemChecked(parent_, 11));
    EXPECT_STREQ(checkLetter(parent_, 11), "F");
    setItemChecked(parent_, 11, true);
    EXPECT_TRUE(isItemChecked(parent_, 11));
    EXPECT_STREQ(checkLetter(parent_, 11), "T");
}

TEST_F(Controls, PrefixSearchStartsAtTheSecondEntryAndWraps) {
    EXPECT_EQ(comboSelectedText(parent_, 12), "") << "nothing selected yet";
    EXPECT_EQ(comboSelectPrefix(parent_, 12, "al"), 2) << "entry 0 is searched last";
    EXPECT_EQ(comboSelectedText(parent_, 12), "alfa");
    EXPECT_EQ(comboSelectPrefix(parent_, 12, "alm"), 0) << "wraps to the first entry";
    EXPECT_EQ(comboSelectedText(parent_, 12), "alma");
    EXPECT_EQ(comboSelectPrefix(parent_, 12, "z"), -1);
}

TEST_F(Controls, ListBoxSelectionText) {
    EXPECT_EQ(listSelectedText(parent_, 13), "");
    SendDlgItemMessageA(parent_, 13, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(listSelectedText(parent_, 13), "kett\xF5");
}

TEST_F(Controls, EnableAndDisable) {
    enableItem(parent_, 11, false);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(parent_, 11)));
    enableItem(parent_, 11, true);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(parent_, 11)));
}

TEST_F(Controls, BalloonTooltipRegistersTheControl) {
    HWND tip = addTooltip(parent_, 11, "Tipp");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(harness::className(tip), TOOLTIPS_CLASSA);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), parent_);
}

TEST_F(Controls, TooltipNeedsDialogControlAndText) {
    EXPECT_EQ(addTooltip(nullptr, 11, "x"), nullptr);
    EXPECT_EQ(addTooltip(parent_, 0, "x"), nullptr);
    EXPECT_EQ(addTooltip(parent_, 11, nullptr), nullptr);
    EXPECT_EQ(addTooltip(parent_, 999, "x"), nullptr);
}

}  // namespace
