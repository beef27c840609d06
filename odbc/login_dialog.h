// The "LOGIN" dialog: asks for the user name and password of a failed connection attempt.
#pragma once

#include <windows.h>

#include "odbc/odbc_ui.h"

// Shows the dialog filled with `credentials`; on "&Login" stores the typed texts there and
// returns true, when the window is closed returns false and leaves them unchanged.
bool showLoginDialog(HWND owner, OdbcCredentials& credentials);
