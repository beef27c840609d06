// "Make directory" and the GETEDIT input dialog.
#include "copy/file_commands.h"

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "copy/file_panel.h"

namespace {

constexpr int kInputLimit = 260;

INT_PTR handleGetEdit(HWND dialog, EntryInput& input, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextA(dialog, input.title.c_str());
            SetDlgItemTextA(dialog, input.inputId, input.strings[0].c_str());
            SendDlgItemMessageA(dialog, input.inputId, EM_LIMITTEXT, kInputLimit, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char text[kInputLimit + 1] = "";
                GetDlgItemTextA(dialog, input.inputId, text, sizeof text);
                input.strings[0] = text;
                EndDialog(dialog, 1);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

HINSTANCE moduleInstance() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

int getEdit(HWND owner, EntryInput& input) {
    if (input.strings.empty())
        input.strings.emplace_back();
    INT_PTR result = DialogBoxParamA(moduleInstance(), "GETEDIT", owner, boundDialogProc<EntryInput, handleGetEdit>,
                                     reinterpret_cast<LPARAM>(&input));
    return result == 1 ? 1 : 0;
}

int makeDirectory(HWND window, FilePanel& panel) {
    EntryInput input;
    input.title = "Make directory";
    if (!getEdit(window, input))
        return 0;
    const std::string& name = input.strings[0];
    std::string directory = pathLineText(window, panel.pathLineId);
    // A name with a backslash or ".." would create the folder outside the panel's folder.
    if (!isPlainFolderName(name) || !CreateDirectoryA((directory + name).c_str(), nullptr)) {
        warningBox("Create error!");
        return 0;
    }
    showFolder(window, panel, directory);
    return 1;
}
