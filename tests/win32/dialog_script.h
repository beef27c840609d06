// Drives a modal dialog from inside its own message loop: when the next dialog of this thread is
// activated, a script runs with it (from a timer the dialog's loop dispatches), then the dialog is closed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

// Runs `command`, which opens a modal dialog; `script` gets the dialog once it is complete. Returns
// false when no dialog appeared.
bool runDialog(const std::function<void()>& command, const std::function<void(HWND dialog)>& script);

// Records and answers the message boxes this thread opens while alive, as MessageBoxCatcher does,
// but leaves `dialog` alone when it becomes active again after a box.
class BoxCatcher {
  public:
    explicit BoxCatcher(HWND dialog, int answer = IDOK);
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;
    struct Box {
        std::string caption;
        std::string text;
    };
    const std::vector<Box>& boxes() const { return boxes_; }
    std::vector<std::string> texts() const;

  private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR id, DWORD);
    HHOOK hook_;
    HWND dialog_;
    int answer_;
    std::vector<HWND> pending_;
    std::vector<Box> boxes_;
    BoxCatcher* previous_;
};

// Answers the file dialog titled `title` with the file name `name`, then records the text of every
// "Warning" box after it and closes it, from a timer the modal loops dispatch while `command` runs.
struct FileDialogAnswer {
    std::string title;
    std::string name;
    bool chosen = false;  // the file dialog showed and was answered
    std::vector<std::string> warnings;
};
void answerFileDialog(FileDialogAnswer& answer, const std::function<void()>& command, UINT period = 50);

// Presses the button `id` as a click does (WM_COMMAND with BN_CLICKED from the control).
void click(HWND dialog, int id);
void setText(HWND dialog, int id, const std::string& text);
std::string itemText(HWND dialog, int id);
bool checked(HWND dialog, int id);

}  // namespace harness
