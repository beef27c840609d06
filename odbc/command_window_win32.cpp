// Placeholder until the SQL command window exists: nothing is executed.
#include "odbc/command_window.h"

namespace {
bool g_oemCharset = false;
}

bool openCommandWindow(HWND, AssistRequest&) {
    return false;
}

bool oemCharset() {
    return g_oemCharset;
}

void setOemCharset(bool on) {
    g_oemCharset = on;
}
