// The ODBC windows' shared grid font and its use count.
#include "odbc/odbc_font.h"

namespace {

HFONT g_gridFont = nullptr;
int g_gridFontUsers = 0;

}  // namespace

HFONT createCourierFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
}

HFONT acquireOdbcGridFont() {
    if (!g_gridFont)
        g_gridFont = createCourierFont(-11);
    ++g_gridFontUsers;
    return g_gridFont;
}

void releaseOdbcGridFont() {
    if (g_gridFontUsers > 0 && --g_gridFontUsers == 0) {
        DeleteObject(g_gridFont);
        g_gridFont = nullptr;
    }
}
