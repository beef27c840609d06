// The common file dialogs driven from a timer (their modal loop dispatches it): the chosen name
// comes back, cancelling gives an empty path, and the menu's Open remembers the folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "base/properties.h"
#include "base/ui.h"
#include "resources/resource.h"
#include "tests/win32/harness.h"

namespace {

// What the timer does to the dialog titled `title`: type `name` and press OK, or press Cancel.
struct Answer {
    Answer(std::string t, std::string n) : title(std::move(t)), name(std::move(n)) {}
    std::string title;
    std::string name;  // empty: cancel
    bool seen = false;
    std::string filter;  // the file-type list as shown
};
Answer* g_answer = nullptr;

void CALLBACK answerDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", g_answer->title.c_str());
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, id);
    g_answer->seen = true;
    HWND types = GetDlgItem(dialog, cmb1);
    for (LRESULT i = 0, n = SendMessageA(types, CB_GETCOUNT, 0, 0); i < n; ++i) {
        char text[128] = "";
        SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        g_answer->filter += std::string(text) + ";";
    }
    if (g_answer->name.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // The name box is the combo cmb13 in the explorer-style dialog, the edit edt1 in others.
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, edt1);
    SetWindowTextA(nameBox, g_answer->name.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Runs `show` while the timer answers the dialog.
template <typename Show>
std::string answered(Answer& answer, Show show) {
    g_answer = &answer;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, answerDialog);
    std::string result = show();
    KillTimer(nullptr, timer);
    g_answer = nullptr;
    return result;
}

class FileDialogs : public testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "quarrow-dlg-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& file : files_)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string makeFile(const std::string& name) {
        std::string path = folder_ + "\\" + name;
        CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        files_.push_back(path);
        return path;
    }
    std::string folder_;
    std::vector<std::string> files_;
};

TEST_F(FileDialogs, SaveAcceptsANewNameInAnExistingFolder) {
    std::string target = folder_ + "\\uj.sql";
    Answer answer{"File save", target};
    std::string chosen = answered(answer, [&] {
        return std::string(chooseSaveFile(nullptr, GetModuleHandleA(nullptr), folder_.c_str(), nullptr));
    });
    ASSERT_TRUE(answer.seen) << "no dialog titled \"File save\"";
    EXPECT_EQ(chosen, target);
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES) << "the dialog creates nothing";
}

TEST_F(FileDialogs, CancelGivesAnEmptyPath) {
    Answer answer{"Pick one", ""};
    std::string chosen = answered(answer, [&] {
        return std::string(chooseTableFile(nullptr, GetModuleHandleA(nullptr), folder_.c_str(), "Pick one"));
    });
    ASSERT_TRUE(answer.seen) << "the caller's title is used";
    EXPECT_EQ(chosen, "");
}

TEST_F(FileDialogs, TableDialogListsTheThreeFilters) {
    std::string table = makeFile("adat.dbf");
    Answer answer{"File select", table};
    std::string chosen = answered(
        answer, [&] { return std::string(chooseTableFile(nullptr, GetModuleHandleA(nullptr), folder_.c_str(), "")); });
    ASSERT_TRUE(answer.seen) << "no dialog titled \"File select\"";
    EXPECT_EQ(chosen, table);
    EXPECT_EQ(answer.filter, "dBase III files;Text files;All files;");
}

std::vector<std::string>* g_opened = nullptr;
void* recordOpen(const char* name, bool) {
    g_opened->push_back(name);
    return nullptr;  // nothing opens: the shell reports "Can't open"
}

TEST_F(FileDialogs, MenuOpenRemembersTheFolderAndOpensTheChoice) {
    std::string table = makeFile("tabla.dbf");
    ShellHooks saved = shellHooks();
    std::vector<std::string> opened;
    g_opened = &opened;
    shellHooks().openTable = recordOpen;
    startUp("");
    ASSERT_TRUE(registerWindowClasses(GetModuleHandleA(nullptr)));
    HWND main = createMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(main, nullptr);
    harness::pumpMessages(20);

    Answer answer{"File select", table};
    harness::MessageBoxCatcher catcher;  // also sees the file dialog, which it cannot close with OK
    answered(answer, [&] {
        SendMessageA(main, WM_COMMAND, IDM_OPEN_TABLE, 0);
        return std::string();
    });
    harness::pumpMessages(20);
    EXPECT_TRUE(answer.seen);
    EXPECT_STREQ(static_cast<const char*>(property("SOURCE_PATH")), folder_.c_str());
    ASSERT_GE(opened.size(), 1u);
    EXPECT_EQ(opened[0], table);
    bool reported = false;
    for (const auto& box : catcher.boxes())
        reported = reported || box.text == "Can't open : " + table;
    EXPECT_TRUE(reported);

    DestroyWindow(main);
    harness::pumpMessages();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    shellHooks() = saved;
    g_opened = nullptr;
}

// Cancels the first visible dialog of this thread.
BOOL CALLBACK cancelVisibleDialog(HWND window, LPARAM found) {
    if (harness::className(window) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

bool g_folderDialogSeen = false;
void CALLBACK cancelFolderDialog(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), cancelVisibleDialog, reinterpret_cast<LPARAM>(&g_folderDialogSeen));
    if (g_folderDialogSeen)
        KillTimer(nullptr, id);
}

TEST(FolderDialog, CancelEmptiesThePath) {
    char path[MAX_PATH] = "left over";
    g_folderDialogSeen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, cancelFolderDialog);
    const char* result = chooseFolder(nullptr, "Target folder", path);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_folderDialogSeen) << "the folder browser did not open";
    EXPECT_EQ(result, path);
    EXPECT_STREQ(path, "");
}

TEST(ErrorBox, ShowsTheSystemTextOfTheLastError) {
    char expected[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, sizeof expected, nullptr);
    ASSERT_NE(expected[0], '\0');
    harness::MessageBoxCatcher catcher;
    SetLastError(ERROR_FILE_NOT_FOUND);
    showLastError();
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "GetLastError");
    EXPECT_EQ(catcher.boxes()[0].text, expected);
}

TEST(WarningBox, HasTheCommonCaption) {
    harness::MessageBoxCatcher catcher;
    warningBox("The record busy.");
    harness::pumpMessages(20);
    ASSERT_EQ(catcher.boxes().size(), 1u);
    EXPECT_EQ(catcher.boxes()[0].caption, "Warning");
    EXPECT_EQ(catcher.boxes()[0].text, "The record busy.");
}

}  // namespace
