// The progress dialog PROGRESS2: runs a ProgressJob inside its own message handling.
#include <windows.h>

#include <commctrl.h>

#include "base/progress.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

constexpr UINT kStartJob = WM_USER + 1;

INT_PTR handleProgress(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* job = reinterpret_cast<ProgressJob*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            // The run starts from the queue, once the dialog is up and can be painted.
            PostMessageA(dialog, kStartJob, 0, 0);
            return TRUE;
        case kStartJob: {
            if (!job)
                return TRUE;
            HWND progress = GetDlgItem(dialog, IDC_PROGRESS_BAR);
            job->dialog = dialog;
            job->progress = progress;
            SetWindowTextA(dialog, job->title);
            SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
            SendMessageA(progress, PBM_SETPOS, 0, 0);
            // The modal loop shows the dialog only once its queue is empty, which it never is while
            // the job dispatches: show it now.
            ShowWindow(dialog, SW_SHOW);
            UpdateWindow(dialog);
            job->cancel = 0;
            int result = job->run ? job->run(job) : 0;
            job->dialog = nullptr;
            job->progress = nullptr;
            EndDialog(dialog, result);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL && job)
                job->cancel = 1;  // the run sees it at its next dispatch
            return TRUE;
        case WM_CLOSE:
            if (job)
                job->cancel = 1;
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK progressProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return handleProgress(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

}  // namespace

int runProgressDialog(HINSTANCE instance, HWND owner, ProgressJob* job) {
    if (!job)
        return 0;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);  // the bar's class, also where the shell has not asked for it yet
    INT_PTR result = DialogBoxParamA(instance, "PROGRESS2", owner, progressProc, reinterpret_cast<LPARAM>(job));
    return result == -1 ? 0 : static_cast<int>(result);
}
