// A CBT hook that spots the next dialog and a timer that runs the test's script inside its loop.
#include "tests/win32/dialog_script.h"

#include "tests/win32/harness.h"

namespace harness {

namespace {

struct Pending {
    HHOOK hook = nullptr;
    HWND dialog = nullptr;
    bool seen = false;
    const std::function<void(HWND)>* script = nullptr;
};
Pending g_pending;

void CALLBACK runScript(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = g_pending.dialog;
    if (!IsWindow(dialog) || !g_pending.script)
        return;
    (*g_pending.script)(dialog);
    if (IsWindow(dialog))
        PostMessageA(dialog, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !g_pending.seen) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (className(window) == "#32770") {
            g_pending.seen = true;
            g_pending.dialog = window;
            SetTimer(nullptr, 0, 1, runScript);
        }
    }
    return CallNextHookEx(g_pending.hook, code, wParam, lParam);
}

}  // namespace

bool runDialog(const std::function<void()>& command, const std::function<void(HWND)>& script) {
    Pending saved = g_pending;
    g_pending = Pending{};
    g_pending.script = &script;
    g_pending.hook = SetWindowsHookExA(WH_CBT, watch, nullptr, GetCurrentThreadId());
    command();
    UnhookWindowsHookEx(g_pending.hook);
    bool seen = g_pending.seen;
    g_pending = saved;
    return seen;
}

namespace {
BoxCatcher* g_catcher = nullptr;

std::string staticText(HWND dialog) {
    std::string text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) == "Static")
            text += windowText(child);
    }
    return text;
}
}  // namespace

BoxCatcher::BoxCatcher(HWND dialog, int answer) : dialog_(dialog), answer_(answer), previous_(g_catcher) {
    g_catcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    g_catcher = previous_;
}

std::vector<std::string> BoxCatcher::texts() const {
    std::vector<std::string> out;
    for (const Box& box : boxes_)
        out.push_back(box.text);
    return out;
}

LRESULT CALLBACK BoxCatcher::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    BoxCatcher* self = g_catcher;
    if (code == HCBT_ACTIVATE && self) {
        HWND window = reinterpret_cast<HWND>(wParam);
        // A box already answered carries a mark; the scripted dialog is never a box.
        if (window != self->dialog_ && !GetPropA(window, "QuarrowTestAnswered") && className(window) == "#32770") {
            self->pending_.push_back(window);
            SetTimer(nullptr, 0, 1, timerProc);
        }
    }
    return CallNextHookEx(self ? self->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK BoxCatcher::timerProc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    BoxCatcher* self = g_catcher;
    if (!self)
        return;
    for (HWND window : self->pending_) {
        if (!IsWindow(window) || GetPropA(window, "QuarrowTestAnswered") || isProgressDialog(window))
            continue;
        SetPropA(window, "QuarrowTestAnswered", reinterpret_cast<HANDLE>(1));
        self->boxes_.push_back({windowText(window), staticText(window)});
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(self->answer_, BN_CLICKED), 0);
    }
    self->pending_.clear();
}

namespace {
FileDialogAnswer* g_fileAnswer = nullptr;

void CALLBACK fileDialogTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_fileAnswer)
        return;
    HWND chooser = FindWindowA("#32770", g_fileAnswer->title.c_str());
    if (chooser && IsWindowVisible(chooser) && !g_fileAnswer->chosen) {
        g_fileAnswer->chosen = true;
        HWND nameBox = GetDlgItem(chooser, 0x47C);  // cmb13, or the edit edt1 of older dialogs
        if (!nameBox)
            nameBox = GetDlgItem(chooser, 0x480);
        SetWindowTextA(nameBox, g_fileAnswer->name.c_str());
        PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
        return;
    }
    HWND box = FindWindowA("#32770", "Warning");
    if (!box || !IsWindowVisible(box) || GetPropA(box, "QuarrowTestAnswered"))
        return;
    SetPropA(box, "QuarrowTestAnswered", reinterpret_cast<HANDLE>(1));
    g_fileAnswer->warnings.push_back(staticText(box));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
}  // namespace

void answerFileDialog(FileDialogAnswer& answer, const std::function<void()>& command, UINT period) {
    g_fileAnswer = &answer;
    UINT_PTR timer = SetTimer(nullptr, 0, period, fileDialogTimer);
    command();
    KillTimer(nullptr, timer);
    g_fileAnswer = nullptr;
}

void click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void setText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, text.c_str());
}

std::string itemText(HWND dialog, int id) {
    char buffer[4096] = "";
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

bool checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

}  // namespace harness
