// The small window services every dialog shares: the warning box, the file and folder dialogs,
// opening files through the shell, clipboard text, balloon tooltips, the system error box and
// one-call helpers for dialog controls. Windows build only.
#pragma once

#include <windows.h>

#include <string>

struct ProgressJob;

// The common message box: owner the active window, caption "Warning", task-modal, OK only.
void warningBox(const char* text);

// Runs `job` under the progress dialog PROGRESS2: the dialog fills the job's window fields, sets
// its caption to the job's title, runs the operation and closes when it returns. "&Cancel" sets
// the job's cancel flag. Returns the operation's result (0 when the dialog could not be created).
int runProgressDialog(HINSTANCE instance, HWND owner, ProgressJob* job);

// Common dialogs. Each returns the chosen path in a static buffer (overwritten by the next call of
// the same function), or an empty string when the user cancels.
const char* chooseSaveFile(HWND owner, HINSTANCE instance, const char* startDirectory, const char* title);
const char* chooseTableFile(HWND owner, HINSTANCE instance, const char* startDirectory, const char* title);
// `filter` is the dialog's list of NUL-separated (description, pattern) pairs, ended by two NULs.
const char* chooseFile(HWND owner,
                       HINSTANCE instance,
                       const char* startDirectory,
                       const char* title,
                       const char* filter);
// The shell's folder browser; `path` (MAX_PATH bytes) receives the folder or an empty string.
const char* chooseFolder(HWND owner, const char* title, char* path);

// ShellExecuteA with the active window as owner; a failure the system names is shown in the
// warning box in Hungarian, followed by the file, parameters and directory.
void shellOpen(const char* operation, const char* file, const char* parameters, const char* directory, int show);
// The Hungarian text for a ShellExecuteA result, or null when the result is not a listed failure.
const char* shellErrorText(int result);
// The whole warning text shellOpen shows for a listed result (empty when not listed).
std::string shellErrorMessage(int result, const char* file, const char* parameters, const char* directory);

// Puts `text` on the clipboard as CF_TEXT; 1 on success, 0 when memory or the clipboard fail.
int copyTextToClipboard(HWND owner, const char* text);

// A balloon tooltip, always shown, over control `controlId` of `dialog`; null when the dialog,
// the control or the text is missing.
HWND addTooltip(HWND dialog, int controlId, const char* text, UINT extraFlags = 0);

// Shows the system's text for this thread's last error (caption "GetLastError", information icon).
void showLastError();

// Dialog control helpers, one platform call each.
// The control's text in `buffer` (terminated at the copied length; empty for an absent control).
int getItemText(HWND dialog, int id, char* buffer, int size);
std::string itemText(HWND dialog, int id);
void setItemText(HWND dialog, int id, const char* text);
bool isItemChecked(HWND dialog, int id);
void setItemChecked(HWND dialog, int id, bool checked);
// "T" when the check box is checked, else "F".
const char* checkLetter(HWND dialog, int id);
// The text of a drop-down list's selected entry; empty when none is selected.
std::string comboSelectedText(HWND dialog, int id);
// Selects the first entry beginning with `prefix`, searching from the second entry on and
// wrapping to the first; returns its index or -1.
int comboSelectPrefix(HWND dialog, int id, const char* prefix);
// The text of a list box's selected entry; empty when none is selected.
std::string listSelectedText(HWND dialog, int id);
void enableItem(HWND dialog, int id, bool enabled);
