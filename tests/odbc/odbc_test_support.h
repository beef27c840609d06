// Shared pieces of the ODBC tests: a recording user interface, the stand-in driver managers, and
// the real unixODBC configuration with its test data sources.
#pragma once

#include <string>
#include <vector>

#include "odbc/odbc_binding.h"

namespace odbc_test {

// Records every box and answers the "LOGIN" dialog with preset credentials.
class RecordingUi : public OdbcUi {
  public:
    void warning(const char* text) override { warnings.push_back(text); }
    void odbcError(void* owner, const char* text) override {
        errors.push_back(text);
        errorOwners.push_back(owner);
    }
    void waitCursor(bool wait) override { cursorWaits.push_back(wait); }
    bool login(void* owner, OdbcCredentials& credentials) override;

    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    std::vector<void*> errorOwners;
    std::vector<bool> cursorWaits;
    int logins = 0;
    bool confirmLogin = false;
    std::string loginUser;
    std::string loginPassword;
    // The credentials the dialog was opened with.
    std::string shownUser;
    std::string shownPassword;
};

// What the stand-in driver manager records (the layout of its FakeState).
struct FakeState {
    int allocEnv;
    int freeEnv;
    int setEnvAttr;
    int installedDrivers;
    int errorCalls;
    int connectCalls;
    char lastConnectName[512];
    char lastConnectUser[64];
    char lastConnectPassword[64];
    char lastDriverConnect[4096];
    int lastDriverConnectLength;
    int driverConnectCalls;
    int statementsAllocated;
    int statementsFreed;
    int disconnects;
    int connectionsFreed;
};

// File name of a stand-in driver manager variant: full, no_tables, no_primary_keys, no_drivers,
// no_data_sources, no_environment.
std::string fakeLibrary(const std::string& variant);
// The variant as driver manager and installer at once, with no shell library.
OdbcLibraryNames fakeNames(const std::string& variant);

// Keeps a variant mapped and gives access to its record; reset on construction.
class FakeProbe {
  public:
    explicit FakeProbe(const std::string& variant);
    FakeState& state() { return *state_; }

  private:
    SharedLibrary library_;
    FakeState* state_ = nullptr;
};

// Makes sure unixODBC finds the test configuration: the variables set by the test script, or
// (natively) a configuration written here for SQLite. False when none can be had.
bool realOdbcConfigured();
constexpr const char* kSqliteDsn = "QuarrowSQLite";
constexpr const char* kMariaDbDsn = "QuarrowMariaDB";
// "QuarrowSzámla" with the letter as the single byte 0xE1, and a 300-character name.
constexpr const char* kAccentedDsn = "QuarrowSz\xE1mla";
std::string longDsnName();
constexpr const char* kMariaDbUser = "quarrow";
constexpr const char* kMariaDbPassword = "quarrow-secret";
// True when the test configuration lists the MariaDB server's data source.
bool mariaDbConfigured();

}  // namespace odbc_test
