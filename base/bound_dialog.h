// What every dialog of the program shares: the object it works on arrives as the WM_INITDIALOG
// parameter and is kept in the dialog's user data, nothing thrown reaches the dialog manager, and
// WM_CLOSE or IDCANCEL closes the dialog unless its own handler took them. A dialog's file then
// holds only its handlers:
//
//     INT_PTR handleGoTo(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM lParam);
//     DialogBoxParamA(instance, "GOTODLG", owner, boundDialogProc<BrowseView, handleGoTo>,
//                     reinterpret_cast<LPARAM>(&view));
//
// The handler sees WM_INITDIALOG too (after the object was stored) and returns what a dialog
// procedure returns: nonzero for a message it handled. Windows build only.
#pragma once

#include <windows.h>

// How a dialog closes: a modal one ends with EndDialog(0), a modeless one destroys its window.
enum class DialogKind { modal, modeless };

// Closes the dialog the way its kind requires, with `result` for a modal one.
inline void closeDialog(HWND dialog, DialogKind kind, INT_PTR result = 0) {
    if (kind == DialogKind::modal)
        EndDialog(dialog, result);
    else
        DestroyWindow(dialog);
}

// The object a bound dialog works on; null before WM_INITDIALOG.
template <class Object>
Object* boundObject(HWND dialog) {
    return reinterpret_cast<Object*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

template <class Object, INT_PTR (*Handler)(HWND, Object&, UINT, WPARAM, LPARAM), DialogKind Kind = DialogKind::modal>
INT_PTR CALLBACK boundDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG)
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Object* object = boundObject<Object>(dialog);
        // Messages before WM_INITDIALOG (WM_SETFONT) and a dialog opened without its object.
        if (!object) {
            if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
                closeDialog(dialog, Kind);
                return TRUE;
            }
            return FALSE;
        }
        INT_PTR handled = Handler(dialog, *object, message, wParam, lParam);
        if (handled || message == WM_INITDIALOG)
            return handled;
        if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
            closeDialog(dialog, Kind);
            return TRUE;
        }
        return FALSE;
    } catch (...) {
        // The dialog stays as it was; the dialog manager must not see the exception.
        return FALSE;
    }
}
