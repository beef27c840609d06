// What the ODBC layer shows the user, behind an interface: the Win32 build shows message boxes and
// the "LOGIN" dialog, the portable build shows nothing, and tests record the calls.
#pragma once

#include <cstddef>

// The process-wide user name and password every connection attempt passes, at most 14 characters each.
struct OdbcCredentials {
    static constexpr std::size_t kSize = 15;
    char user[kSize] = {};
    char password[kSize] = {};
};

class OdbcUi {
  public:
    virtual ~OdbcUi() = default;
    // The common warning box: owner the active window, caption "Warning", task-modal, OK only.
    virtual void warning(const char* text) = 0;
    // The "ODBC error" box owned by `owner`: system-modal, OK only, no icon.
    virtual void odbcError(void* owner, const char* text) = 0;
    // The hourglass while an ODBC call may take long, the arrow again afterwards.
    virtual void waitCursor(bool wait) = 0;
    // The "LOGIN" dialog over `credentials`; true when the user confirmed new ones.
    virtual bool login(void* owner, OdbcCredentials& credentials) = 0;
    // A Yes/No question box owned by `owner`; true when the user answered Yes.
    virtual bool question(void* owner, const char* text, const char* caption) = 0;
};

// The platform's implementation (message boxes and dialogs on Win32, nothing elsewhere).
OdbcUi& platformOdbcUi();
