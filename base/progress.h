// ProgressJob: one long operation that runs on the interface thread and keeps the windows alive by
// dispatching one waiting message per unit of work, stopping when its cancel flag is set.
#pragma once

constexpr int kProgressTitleSize = 64;

struct ProgressJob {
    void* dialog = nullptr;    // the PROGRESS2 dialog (HWND) while the job runs under it
    void* progress = nullptr;  // its control 101 (HWND)
    volatile int cancel = 0;   // nonzero asks the run to stop before its next unit of work
    char title[kProgressTitleSize] = "";
    void* parameter = nullptr;               // the run's own request
    int (*run)(ProgressJob* job) = nullptr;  // the operation
};

// Takes one waiting window message of this thread, if any, and dispatches it, so that windows
// repaint and "&Cancel" can be pressed. Returns true when a message was dispatched.
// Does nothing where there are no windows.
bool dispatchWaitingMessage();

// Sets the job's title (cut to 63 characters).
void setProgressTitle(ProgressJob& job, const char* title);
