// Shared pieces of the ODBC tests: a recording user interface, the stand-in driver managers, and
// the real unixODBC configuration with its test data sources.
#pragma once

#include <functional>
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
    bool question(void*, const char* text, const char*) override {
        questions.push_back(text);
        return answerYes;
    }

    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    std::vector<void*> errorOwners;
    std::vector<bool> cursorWaits;
    std::vector<std::string> questions;
    bool answerYes = false;
    int logins = 0;
    bool confirmLogin = false;
    std::string loginUser;
    std::string loginPassword;
    // Runs while the login dialog would be up (a test's doing meanwhile).
    std::function<void()> duringLogin;
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
    int invalidHandles;
    int liveConnections;
    int liveStatements;
    int failedFreeEnv;
    char lastExec[256];
    int setConnectOptions;
};

// File name of a stand-in driver manager variant: full, no_tables, no_optional, no_drivers,
// no_data_sources, no_environment.
std::string fakeLibrary(const std::string& variant);
// The variant as driver manager and installer at once, with no shell library.
OdbcLibraryNames fakeNames(const std::string& variant);

// Keeps a variant mapped and gives access to its record; reset on construction.
class FakeProbe {
  public:
    explicit FakeProbe(const std::string& variant);
    // A stand-in loaded under another name (odbc32.dll under Wine), by that name.
    struct Named {
        std::string name;
    };
    explicit FakeProbe(const Named& library);
    FakeState& state() { return *state_; }
    // Every statement then yields one text column with these rows (null: SQL NULL), reported
    // piece by piece with their remaining length, or with SQL_NO_TOTAL.
    void setRows(const std::vector<const char*>& rows, bool noTotal = false);
    // A statement whose text starts with `prefix` then returns `execRc` (with `message` as its
    // diagnostic when that is not 0), a result with the tab-separated `columns` and the rows of
    // `rows` (lines of tab-separated cells), then `extra` further results through SQLMoreResults,
    // the last returning `extraRc`. The first matching script wins.
    void script(const std::string& prefix,
                int execRc,
                const std::string& message = "",
                const std::string& columns = "",
                const std::string& rows = "",
                int extra = 0,
                int extraRc = 0);
    // Forgets the scripts and the recorded calls; open handles stay.
    void clearScripts();
    // The DBMS name SQLGetInfo reports ("Fake" until set).
    void setDbmsName(const std::string& name);
    // Every SQLExecDirect, SQLSetStmtOption, SQLMoreResults and statement free so far, in order,
    // one "SQLExecDirect <text>" line each.
    std::vector<std::string> calls();

  private:
    template <class Function>
    Function function(const char* name);
    SharedLibrary library_;
    FakeState* state_ = nullptr;
    std::vector<const char*> rows_;
};

// Makes sure unixODBC finds the test configuration: the variables set by the test script, or
// (natively) a configuration written here for SQLite. False when none can be had.
bool realOdbcConfigured();
constexpr const char* kSqliteDsn = "QuarrowSQLite";
constexpr const char* kMariaDbDsn = "QuarrowMariaDB";
// "QuarrowSzámla" with the letter as the single byte 0xE1, and a 300-character name.
constexpr const char* kAccentedDsn = "QuarrowSz\xE1mla";
// "QuarrowSzőke" in Windows-1250: a letter Latin-1 lacks.
constexpr const char* kHungarianDsn = "QuarrowSz\xF5ke";
std::string longDsnName();
constexpr const char* kMariaDbUser = "quarrow";
constexpr const char* kMariaDbPassword = "quarrow-secret";
// True when the test configuration lists the MariaDB server's data source.
bool mariaDbConfigured();

}  // namespace odbc_test
