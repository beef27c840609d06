// Record editing in a real table window: the cell editor opened by Enter, "&Modify" and a double-click,
// its input filter, storing under the record lock, "Bad date !", Escape, "&Delete" twice, "&New record",
// the memo dialog (save, read-only, too long), and a second process holding the record lock.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/shell_hooks.h"
#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/grid_internal.h"
#include "browse/record_editing.h"
#include "browse/table_window.h"
#include "dbf/dbf.h"
#include "resources/edit_ids.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/edit_lock_holder.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using dbftest::field;

// Layout of the test table: flag, NAME C 10, AMOUNT N 8 2, BORN D 8, OK L 1, NOTE M 10.
constexpr size_t kHeader = 32 * 6 + 2;
constexpr size_t kRecord = 1 + 10 + 8 + 8 + 1 + 10;
constexpr size_t kName = 1, kAmount = 11, kBorn = 19, kOk = 27, kNote = 28;
constexpr long kLongMemo = 70000;

// Runs `act` on the memo dialog as soon as its modal loop shows it.
std::function<void(HWND)> g_memoScript;
bool g_memoSeen = false;

void CALLBACK memoTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "MemoEdit");
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, id);
    g_memoSeen = true;
    if (g_memoScript)
        g_memoScript(dialog);
}

class RecordEdit : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
        path_ = dir_.file("EDIT.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 10), field("AMOUNT", 'N', 8, 2), field("BORN", 'D', 8),
                                 field("OK", 'L', 1), field("NOTE", 'M', 10)};
        dbf table(path_.c_str());
        ASSERT_EQ(table.create(defs, 5), 1);
        ASSERT_EQ(table.open(1), 1);
        dbftest::appendRows(
            table, {{"Béla", "12.5", "19800229", "T"}, {"Anna", "7", "20240101", "F"}, {"Zoltán", "0", "", "T"}});
        table.goTo(1);
        ASSERT_EQ(table.lockRecord(), 1);
        ASSERT_EQ(table.writeMemo(4, "first memo"), 1);
        table.unlock();
        table.goTo(3);
        ASSERT_EQ(table.lockRecord(), 1);
        ASSERT_EQ(table.writeMemo(4, std::string(kLongMemo, 'w').c_str()), 1);
        table.unlock();
        table.close();
    }
    void TearDown() override {
        g_memoScript = nullptr;
        if (window_ && IsWindow(window_))
            DestroyWindow(window_);
        harness::pumpMessages();
        resetSettings();
    }
    // Opens the table window; the grid stands on record 1, column 0.
    BrowseView* open() {
        window_ = openTableWindow(nullptr, path_.c_str());
        if (!window_)
            return nullptr;
        UpdateWindow(window_);
        harness::pumpMessages(20);
        return browseViewOf(window_);
    }
    void key(HWND window, UINT vk) {
        SendMessageA(window, WM_KEYDOWN, vk, 1);
        harness::pumpMessages();
        if (window_ && IsWindow(window_))
            UpdateWindow(window_);
    }
    void column(long n) {
        for (long i = 0; i < n; ++i)
            key(window_, VK_RIGHT);
    }
    void type(HWND editor, const std::string& text) {
        for (unsigned char c : text)
            SendMessageA(editor, WM_CHAR, c, 1);
        harness::pumpMessages();
    }
    std::string editorText(const BrowseView& view) { return view.editor ? harness::windowText(view.editor) : "<none>"; }
    std::vector<uint8_t> file() { return dbftest::readAll(path_); }
    std::string bytes(const std::vector<uint8_t>& f, long record, size_t offset, size_t width) {
        size_t at = kHeader + static_cast<size_t>(record - 1) * kRecord + offset;
        if (at + width > f.size())
            return "<past the end>";
        return std::string(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(at + width));
    }
    // Everything but the bytes of one field of one record, for "nothing else changed".
    std::vector<uint8_t> without(std::vector<uint8_t> f, long record, size_t offset, size_t width) {
        size_t at = kHeader + static_cast<size_t>(record - 1) * kRecord + offset;
        if (at + width <= f.size())
            f.erase(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(at + width));
        return f;
    }
    std::string memoOf(long record) {
        dbf table(path_.c_str());
        // Beside the window's writer Windows lets only another writer open the file.
        if (!table.open(1))
            return "<unreadable>";
        table.goTo(record);
        std::string block = table.getField(4);
        return table.readMemo(block.c_str());
    }
    // Opens the current cell through "&Modify" with the memo dialog driven by `script`.
    void withMemoDialog(BrowseView& view, std::function<void(HWND)> script, int (*command)(BrowseView&)) {
        g_memoScript = std::move(script);
        g_memoSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, memoTimer);
        command(view);
        KillTimer(nullptr, timer);
        harness::pumpMessages();
    }

    dbftest::TempDir dir_;
    std::string path_;
    HWND window_ = nullptr;
};

std::vector<harness::MessageBoxCatcher::Box> warnings(const harness::MessageBoxCatcher& catcher) {
    std::vector<harness::MessageBoxCatcher::Box> out;
    for (const auto& box : catcher.boxes())
        if (box.caption == "Warning")
            out.push_back(box);
    return out;
}

TEST_F(RecordEdit, EnterOnTheDeletionFlagColumnOpensNothing) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    key(window_, VK_RETURN);
    EXPECT_EQ(view->editor, nullptr);
    runCommandCode(*view, 13);  // "&Modify"
    EXPECT_EQ(view->editor, nullptr);
}

TEST_F(RecordEdit, EnterEditsACharacterCellInPlaceAndStoresOnlyThatField) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(1);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr) << "no cell editor";
    HWND editor = view->editor;
    EXPECT_EQ(harness::className(editor), "Edit");
    EXPECT_EQ(GetParent(editor), window_);
    EXPECT_EQ(GetFocus(), editor);
    EXPECT_EQ(editorText(*view), "Béla");  // trimmed
    DWORD start = 1, end = 0;
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    RECT rect;
    GetWindowRect(editor, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    const BrowseColumn& name = view->columns[1];
    EXPECT_EQ(rect.left, name.x);
    EXPECT_EQ(rect.top, view->curRow * view->rowHeight);
    EXPECT_EQ(rect.right - rect.left, name.width + 1);
    EXPECT_EQ(rect.bottom - rect.top, view->rowHeight + 1);
    EXPECT_EQ(SendMessageA(editor, EM_GETLIMITTEXT, 0, 0), 10);
    EXPECT_EQ(GetWindowLongA(editor, GWL_STYLE) & ES_RIGHT, 0);

    // While the editor is open the grid takes no keys.
    SendMessageA(window_, WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(view->curRecord, 1);
    type(editor, "Öcsi");
    key(editor, VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(view->editor, nullptr);
    EXPECT_EQ(GetFocus(), window_);
    std::vector<uint8_t> after = file();
    EXPECT_EQ(bytes(after, 1, kName, 10),
              "\x99"
              "csi      ");  // Ö in code page 852
    EXPECT_EQ(without(after, 1, kName, 10), without(before, 1, kName, 10));
}

TEST_F(RecordEdit, EscapeLeavesTheRecordAsItWas) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(1);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    type(editor, "changed");
    key(editor, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(view->editor, nullptr);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(GetFocus(), window_);
}

TEST_F(RecordEdit, ADateCellTakesDigitsPlacedByThePictureAndStoresTheDate) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(3);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    EXPECT_EQ(editorText(*view), "1980.02.29");
    EXPECT_EQ(SendMessageA(editor, EM_GETLIMITTEXT, 0, 0), 10);
    type(editor, "x");
    EXPECT_EQ(editorText(*view), "1980.02.29");  // a letter changes nothing
    const struct {
        char digit;
        const char* text;
        DWORD caret;
    } steps[] = {{'2', "2", 1},      {'0', "20", 2},      {'2', "202", 3},       {'4', "2024", 4},
                 {'0', "2024.0", 6}, {'2', "2024.02", 7}, {'2', "2024.02.2", 9}, {'9', "2024.02.29", 10}};
    for (const auto& step : steps) {
        type(editor, std::string(1, step.digit));
        EXPECT_EQ(editorText(*view), step.text);
        DWORD start = 0, end = 0;
        SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, step.caret) << step.text;
        EXPECT_EQ(end, step.caret) << step.text;
    }
    harness::MessageBoxCatcher catcher;
    key(editor, VK_RETURN);
    EXPECT_TRUE(warnings(catcher).empty());
    std::vector<uint8_t> after = file();
    EXPECT_EQ(bytes(after, 1, kBorn, 8), "20240229");
    EXPECT_EQ(without(after, 1, kBorn, 8), without(before, 1, kBorn, 8));
}

TEST_F(RecordEdit, AnImpossibleDateSaysBadDateAndStoresNothing) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(3);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    type(editor, "20230229");
    EXPECT_EQ(editorText(*view), "2023.02.29");
    harness::MessageBoxCatcher catcher;
    key(editor, VK_RETURN);
    auto shown = warnings(catcher);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Bad date !");
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(file(), before);
}

TEST_F(RecordEdit, ALogicalCellTakesOnlyTOrFAtItsOnePlace) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(4);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    EXPECT_EQ(editorText(*view), "T");
    type(editor, "x");
    EXPECT_EQ(editorText(*view), "T");
    type(editor, "f");
    EXPECT_EQ(editorText(*view), "f");
    type(editor, "t");  // behind the one place
    EXPECT_EQ(editorText(*view), "f");
    key(editor, VK_RETURN);
    std::vector<uint8_t> after = file();
    EXPECT_EQ(bytes(after, 1, kOk, 1), "F");
    EXPECT_EQ(without(after, 1, kOk, 1), without(before, 1, kOk, 1));
}

TEST_F(RecordEdit, ANumberTypedWithTheDecimalCommaIsStoredWithThePoint) {
    setting(SET_TIZEDESJEL, ",");
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(2);
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    EXPECT_EQ(editorText(*view), "12.50");
    EXPECT_NE(GetWindowLongA(editor, GWL_STYLE) & ES_RIGHT, 0);
    type(editor, "-1 234,50");
    key(editor, VK_RETURN);
    std::vector<uint8_t> after = file();
    EXPECT_EQ(bytes(after, 1, kAmount, 8), "-1234.50");
    EXPECT_EQ(without(after, 1, kAmount, 8), without(before, 1, kAmount, 8));

    // Enter on the unchanged cell keeps the value, though it shows a point and not the comma.
    key(window_, VK_DOWN);
    before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    EXPECT_EQ(editorText(*view), "7.00");
    key(view->editor, VK_RETURN);
    EXPECT_EQ(file(), before);
}

TEST_F(RecordEdit, DoubleClickAndModifyOpenTheEditorToo) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    const BrowseColumn& name = view->columns[1];
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(name.x + 10, view->rowHeight + 5));
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(name.x + 10, view->rowHeight + 5));
    SendMessageA(window_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(name.x + 10, view->rowHeight + 5));
    harness::pumpMessages();
    ASSERT_NE(view->editor, nullptr);
    EXPECT_EQ(view->curColumn, 1);
    key(view->editor, VK_ESCAPE);
    EXPECT_EQ(view->editor, nullptr);
    SendMessageA(window_, WM_COMMAND, 2000 + 13, 0);  // "&Modify" from the pop-up menu
    harness::pumpMessages();
    ASSERT_NE(view->editor, nullptr);
    key(view->editor, VK_ESCAPE);
}

TEST_F(RecordEdit, DeleteTwiceDeletesTheRecordAndRecallsIt) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    key(window_, VK_DOWN);
    std::vector<uint8_t> before = file();
    key(window_, VK_DELETE);
    std::vector<uint8_t> deleted = file();
    EXPECT_EQ(bytes(deleted, 2, 0, 1), "*");
    EXPECT_EQ(without(deleted, 2, 0, 1), without(before, 2, 0, 1));
    key(window_, VK_DELETE);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(GetFocus(), window_);
}

TEST_F(RecordEdit, NewRecordAppendsABlankRecordThatBecomesCurrent) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::vector<uint8_t> before = file();
    key(window_, VK_INSERT);
    UpdateWindow(window_);
    std::vector<uint8_t> after = file();
    ASSERT_EQ(after.size(), before.size() + kRecord);
    EXPECT_EQ(dbftest::le32(after, 4), 4u);
    EXPECT_EQ(bytes(after, 4, 0, kRecord), std::string(kRecord, ' '));
    // The records before are untouched.
    EXPECT_TRUE(std::equal(before.begin() + 8, before.end(), after.begin() + 8));
    EXPECT_EQ(view->curRecord, 4);
    EXPECT_EQ(harness::windowText(window_), path_ + " - 4/4");
}

TEST_F(RecordEdit, TheMemoDialogShowsTheMemoAndSavesIt) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(5);
    std::string shown;
    bool saveEnabled = false, readOnly = true;
    LONG_PTR font = 0;
    withMemoDialog(
        *view,
        [&](HWND dialog) {
            HWND box = GetDlgItem(dialog, IDC_MEMO_TEXT);
            shown = harness::windowText(box);
            saveEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MEMO_SAVE)) != 0;
            readOnly = (GetWindowLongA(box, GWL_STYLE) & ES_READONLY) != 0;
            font = SendMessageA(box, WM_GETFONT, 0, 0);
            EXPECT_EQ(openMemoView(), view);
            EXPECT_EQ(GetFocus(), box);
            SetWindowTextA(box, "Új jegyzet\r\nmásodik sor");
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
        },
        modifyCommand);
    ASSERT_TRUE(g_memoSeen) << "the memo dialog did not open";
    EXPECT_EQ(shown, "first memo");
    EXPECT_TRUE(saveEnabled);
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(font, reinterpret_cast<LONG_PTR>(view->dataFont));
    EXPECT_EQ(openMemoView(), nullptr);
    EXPECT_EQ(view->memoText, nullptr);
    EXPECT_EQ(memoOf(1), "Új jegyzet\r\nmásodik sor");
    // The short memo was rewritten in its own block; the record itself is as it was.
    std::vector<uint8_t> memo = dbftest::readAll(dir_.file("EDIT.DBT"));
    ASSERT_GE(memo.size(), 1024u + 24);
    EXPECT_EQ(std::string(memo.begin() + 1024, memo.begin() + 1026), "\xE9j");  // Ú in 852
}

TEST_F(RecordEdit, TheMemoIsSavedIntoTheRecordItWasReadFromWhenTheGridMovedMeanwhile) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(5);
    withMemoDialog(
        *view,
        [&](HWND dialog) {
            // A move that reaches the grid while the dialog is open, and the paint that applies it.
            SendMessageA(window_, WM_KEYDOWN, VK_DOWN, 1);
            UpdateWindow(window_);
            EXPECT_EQ(view->table->recNo(), 2);
            SetWindowTextA(GetDlgItem(dialog, IDC_MEMO_TEXT), "changed");
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
        },
        modifyCommand);
    ASSERT_TRUE(g_memoSeen);
    EXPECT_EQ(memoOf(1), "changed");
    EXPECT_EQ(memoOf(2), "");
}

TEST_F(RecordEdit, TheEditorGetsTheKeyboardBackWhenItsWindowIsActivatedAgain) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(1);
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr) << "no cell editor";
    HWND editor = view->editor;
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetActiveWindow(other);
    harness::pumpMessages(20);
    ASSERT_NE(GetFocus(), editor);
    SetActiveWindow(window_);
    harness::pumpMessages(20);
    EXPECT_EQ(GetFocus(), editor);
    SetFocus(window_);  // a click on the grid beside the editor
    EXPECT_EQ(GetFocus(), editor);
    DestroyWindow(other);
    type(editor, "X");
    key(editor, VK_RETURN);
    EXPECT_EQ(bytes(file(), 1, kName, 10), "X         ");
}

TEST_F(RecordEdit, ANumberTooWideForItsFieldIsExplainedAndKeptInTheEditor) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(2);  // AMOUNT N 8 2
    std::vector<uint8_t> before = file();
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr) << "no cell editor";
    HWND editor = view->editor;
    SetWindowTextA(editor, "");
    type(editor, "12345678");  // as many characters as the field is wide, but N 8 2 holds 99999.99 at most
    harness::MessageBoxCatcher catcher;
    key(editor, VK_RETURN);
    ASSERT_EQ(warnings(catcher).size(), 1u);
    EXPECT_EQ(warnings(catcher)[0].text, "The value does not fit in the field: make it shorter, or press Escape.");
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_EQ(editorText(*view), "12345678");
    EXPECT_EQ(file(), before);
    key(editor, VK_ESCAPE);
    EXPECT_EQ(view->editor, nullptr);
}

TEST_F(RecordEdit, ChangesToAReadOnlyTableSayWhyTheyFail) {
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    // The write open is refused, as it is to a user without root's rights, and the table opens read-only.
    struct Writable {
        std::string path;
        ShellHooks hooks = shellHooks();
        ~Writable() {
            shellHooks() = hooks;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    } writable{path_};
    shellHooks().openTable = [](const char* name, bool write) { return write ? nullptr : openTableFile(name, false); };
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::vector<uint8_t> before = file();
    const struct {
        const char* change;
        std::function<void()> act;
    } changes[] = {
        {"delete", [&] { runCommandCode(*view, 46); }},
        {"cell edit",
         [&] {
             column(1);
             key(window_, VK_RETURN);
             ASSERT_NE(view->editor, nullptr);
             type(view->editor, "Y");
             key(view->editor, VK_RETURN);
         }},
        {"memo save",
         [&] {
             column(4);
             withMemoDialog(
                 *view,
                 [](HWND dialog) {
                     SetWindowTextA(GetDlgItem(dialog, IDC_MEMO_TEXT), "never");
                     SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
                 },
                 modifyCommand);
         }},
    };
    for (const auto& change : changes) {
        harness::MessageBoxCatcher catcher;
        change.act();
        harness::pumpMessages(20);
        ASSERT_EQ(warnings(catcher).size(), 1u) << change.change;
        EXPECT_EQ(warnings(catcher)[0].text, "The table is read-only: it cannot be changed.") << change.change;
    }
    EXPECT_EQ(file(), before);
    EXPECT_EQ(view->table->isDeleted(), 0);
}

TEST_F(RecordEdit, ClosingTheMemoDialogStoresNothing) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(5);
    std::vector<uint8_t> table = file();
    std::vector<uint8_t> memo = dbftest::readAll(dir_.file("EDIT.DBT"));
    withMemoDialog(
        *view,
        [](HWND dialog) {
            SetWindowTextA(GetDlgItem(dialog, IDC_MEMO_TEXT), "thrown away");
            SendMessageA(dialog, WM_CLOSE, 0, 0);
        },
        modifyCommand);
    ASSERT_TRUE(g_memoSeen);
    EXPECT_EQ(file(), table);
    EXPECT_EQ(dbftest::readAll(dir_.file("EDIT.DBT")), memo);
}

TEST_F(RecordEdit, MemoViewShowsTheMemoReadOnly) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(5);
    std::vector<uint8_t> memo = dbftest::readAll(dir_.file("EDIT.DBT"));
    bool saveEnabled = true, readOnly = false;
    withMemoDialog(
        *view,
        [&](HWND dialog) {
            HWND box = GetDlgItem(dialog, IDC_MEMO_TEXT);
            saveEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MEMO_SAVE)) != 0;
            readOnly = (GetWindowLongA(box, GWL_STYLE) & ES_READONLY) != 0;
            SetWindowTextA(box, "not saved");
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
        },
        memoViewCommand);
    ASSERT_TRUE(g_memoSeen);
    EXPECT_FALSE(saveEnabled);
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(view->memoReadOnly);
    EXPECT_EQ(dbftest::readAll(dir_.file("EDIT.DBT")), memo);
    // On another column "&Memo view" does nothing.
    key(window_, VK_LEFT);
    withMemoDialog(*view, nullptr, memoViewCommand);
    EXPECT_FALSE(g_memoSeen);
}

TEST_F(RecordEdit, AMemoLongerThanTheEditorHoldsOpensReadOnlyAndIsNeverCut) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    key(window_, VK_DOWN);
    key(window_, VK_DOWN);
    column(5);
    std::vector<uint8_t> memo = dbftest::readAll(dir_.file("EDIT.DBT"));
    size_t shownLength = 0;
    bool saveEnabled = true;
    harness::MessageBoxCatcher catcher;
    withMemoDialog(
        *view,
        [&](HWND dialog) {
            HWND box = GetDlgItem(dialog, IDC_MEMO_TEXT);
            shownLength = static_cast<size_t>(GetWindowTextLengthA(box));
            saveEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MEMO_SAVE)) != 0;
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
        },
        modifyCommand);
    ASSERT_TRUE(g_memoSeen);
    auto shown = warnings(catcher);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "The memo is longer than 63999 characters: it opens read-only.");
    EXPECT_EQ(shownLength, 63999u);
    EXPECT_FALSE(saveEnabled);
    EXPECT_FALSE(view->memoReadOnly);  // only this memo
    EXPECT_EQ(dbftest::readAll(dir_.file("EDIT.DBT")), memo);
}

TEST_F(RecordEdit, AnEmptyTableHasNothingToEditDeleteOrShow) {
    {
        dbf table(dir_.file("EMPTY.DBF").c_str());
        const FieldDef defs[] = {field("NAME", 'C', 10), field("NOTE", 'M', 10)};
        ASSERT_EQ(table.create(defs, 2), 1);
    }
    path_ = dir_.file("EMPTY.DBF");
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::vector<uint8_t> before = file();
    column(1);
    key(window_, VK_RETURN);
    EXPECT_EQ(view->editor, nullptr);
    key(window_, VK_DELETE);
    column(1);
    withMemoDialog(*view, nullptr, modifyCommand);
    EXPECT_FALSE(g_memoSeen);
    EXPECT_EQ(file(), before);
}

int noEdit(BrowseView&) {
    return 0;
}

TEST_F(RecordEdit, AGridThatIsNotTopLevelEditsOnlyWithThePermissionLetter) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(1);
    view->topLevel = false;
    lstrcpynA(view->permissions, "NNNII", sizeof view->permissions);
    key(window_, VK_RETURN);
    EXPECT_EQ(view->editor, nullptr);
    lstrcpynA(view->permissions, "IIIII", sizeof view->permissions);
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    key(view->editor, VK_ESCAPE);
    view->topLevel = true;
}

TEST_F(RecordEdit, AMemoColumnThatCannotBeEditedOpensReadOnly) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    column(5);
    view->columns[5].canEdit = noEdit;
    bool saveEnabled = true;
    withMemoDialog(
        *view,
        [&](HWND dialog) {
            saveEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MEMO_SAVE)) != 0;
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        modifyCommand);
    ASSERT_TRUE(g_memoSeen);
    EXPECT_FALSE(saveEnabled);
    EXPECT_TRUE(view->memoReadOnly);
    // Another column that cannot be edited opens nothing.
    key(window_, VK_LEFT);
    view->columns[4].canEdit = noEdit;
    key(window_, VK_RETURN);
    EXPECT_EQ(view->editor, nullptr);
}

TEST_F(RecordEdit, WithDeletedRecordsHiddenADeletedRecordLeavesTheGrid) {
    setting(SET_DELETED, "1");
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    key(window_, VK_DOWN);
    EXPECT_EQ(view->curRecord, 2);
    key(window_, VK_DELETE);
    UpdateWindow(window_);
    EXPECT_EQ(bytes(file(), 2, 0, 1), "*");
    EXPECT_NE(view->table->recNo(), 2);
    // Editing goes to a record still shown, never to the hidden one.
    column(1);
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    type(view->editor, "x");
    std::vector<uint8_t> before = file();
    long record = view->table->recNo();
    key(view->editor, VK_RETURN);
    EXPECT_EQ(bytes(file(), record, kName, 10), "x         ");
    EXPECT_EQ(without(file(), record, kName, 10), without(before, record, kName, 10));
}

// A second process holds the record lock of record 1.
class RecordEditLocked : public RecordEdit {};

TEST_F(RecordEditLocked, WhileAnotherProcessHoldsTheRecordNothingChanges) {
    BrowseView* view = open();
    ASSERT_NE(view, nullptr);
    std::vector<uint8_t> before = file();
    std::vector<uint8_t> memoBefore = dbftest::readAll(dir_.file("EDIT.DBT"));
    edittest::LockHolder holder(path_, 1, dir_.path().string());
    ASSERT_TRUE(holder.ok()) << "the second process did not take the lock";
    harness::MessageBoxCatcher catcher;

    // Storing a cell: nothing stored, nothing said.
    column(1);
    key(window_, VK_RETURN);
    ASSERT_NE(view->editor, nullptr);
    HWND editor = view->editor;
    type(editor, "locked");
    key(editor, VK_RETURN);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_TRUE(warnings(catcher).empty());
    EXPECT_EQ(file(), before);

    // Delete and append are refused with their messages.
    key(window_, VK_DELETE);
    key(window_, VK_INSERT);
    // Saving a memo.
    column(4);
    withMemoDialog(
        *view,
        [](HWND dialog) {
            SetWindowTextA(GetDlgItem(dialog, IDC_MEMO_TEXT), "locked memo");
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MEMO_SAVE, BN_CLICKED), 0);
        },
        modifyCommand);
    EXPECT_TRUE(g_memoSeen);
    auto shown = warnings(catcher);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "The record busy.");
    EXPECT_EQ(shown[1].text, "The table busy !");
    EXPECT_EQ(shown[2].text, "The record busy.");
    EXPECT_EQ(file(), before);
    EXPECT_EQ(dbftest::readAll(dir_.file("EDIT.DBT")), memoBefore);
    EXPECT_EQ(holder.release(), 0);

    // Once the lock is gone the same edits go through.
    key(window_, VK_DELETE);
    EXPECT_EQ(bytes(file(), 1, 0, 1), "*");
}

}  // namespace
