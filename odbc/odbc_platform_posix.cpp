// The ODBC layer's platform services outside Windows: unixODBC's libraries, and no user interface.
#include <iconv.h>

#include "odbc/data_sources.h"
#include "odbc/odbc_binding.h"
#include "odbc/odbc_ui.h"

namespace {

// The portable build draws nothing: warnings and errors are dropped, the login is never confirmed
// and no question is answered Yes.
class SilentOdbcUi : public OdbcUi {
  public:
    void warning(const char*) override {}
    void odbcError(void*, const char*) override {}
    void waitCursor(bool) override {}
    bool login(void*, OdbcCredentials&) override { return false; }
    bool question(void*, const char*, const char*) override { return false; }
};

}  // namespace

OdbcUi& platformOdbcUi() {
    static SilentOdbcUi ui;
    return ui;
}

OdbcLibraryNames platformOdbcLibraryNames() {
    // There is no shell32 here; the empty name skips it.
    return {"libodbc.so.2", "libodbcinst.so.2", ""};
}

bool ansiByteOf(SqlWchar unit, char* out) {
    // The program's text is Windows-1250; without a translit suffix iconv refuses what it lacks.
    static iconv_t converter = iconv_open("CP1250", "UTF-16LE");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char* inPointer = in;
    std::size_t inLeft = sizeof in;
    char* outPointer = out;
    std::size_t outLeft = 1;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<std::size_t>(-1) && outLeft == 0;
}

std::string driverFilePath(const std::string& path) {
    return path;
}
