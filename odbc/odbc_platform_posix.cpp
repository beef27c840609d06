// The ODBC layer's platform services outside Windows: unixODBC's libraries, and no user interface.
#include "odbc/odbc_binding.h"
#include "odbc/odbc_ui.h"

namespace {

// The portable build draws nothing: warnings and errors are dropped, the login is never confirmed.
class SilentOdbcUi : public OdbcUi {
  public:
    void warning(const char*) override {}
    void odbcError(void*, const char*) override {}
    void waitCursor(bool) override {}
    bool login(void*, OdbcCredentials&) override { return false; }
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
