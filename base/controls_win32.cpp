// Clipboard text, balloon tooltips and the one-call helpers for dialog controls.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "base/ui.h"

int copyTextToClipboard(HWND owner, const char* text) {
    if (!text)
        text = "";
    size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block)
        return 0;
    void* memory = GlobalLock(block);
    if (!memory) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(memory, text, size);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block)) {
        CloseClipboard();
        GlobalFree(block);  // the clipboard did not take it
        return 0;
    }
    CloseClipboard();  // the block now belongs to the clipboard
    return 1;
}

HWND addTooltip(HWND dialog, int controlId, const char* text, UINT extraFlags) {
    if (!dialog || !controlId || !text)
        return nullptr;
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return nullptr;
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_BALLOON, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (!tip)
        return nullptr;
    TOOLINFOA tool = {};
    // The version-5 size: comctl32 before 6 refuses the larger record.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = dialog;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | extraFlags;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return tip;
}

int getItemText(HWND dialog, int id, char* buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    UINT length = GetDlgItemTextA(dialog, id, buffer, size);
    if (length >= static_cast<UINT>(size))
        length = static_cast<UINT>(size - 1);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

std::string itemText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return std::string();
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

void setItemText(HWND dialog, int id, const char* text) {
    SetDlgItemTextA(dialog, id, text ? text : "");
}

bool isItemChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void setItemChecked(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

const char* checkLetter(HWND dialog, int id) {
    return isItemChecked(dialog, id) ? "T" : "F";
}

std::string comboSelectedText(HWND dialog, int id) {
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return std::string();
    LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

int comboSelectPrefix(HWND dialog, int id, const char* prefix) {
    // The search starts after entry 0 and wraps around to it.
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_SELECTSTRING, 0, reinterpret_cast<LPARAM>(prefix ? prefix : ""));
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::string listSelectedText(HWND dialog, int id) {
    LRESULT index = SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return std::string();
    LRESULT length = SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendDlgItemMessageA(dialog, id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

void enableItem(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}
