// Recording user interface, stand-in driver managers and the test ODBC configuration.
#include "tests/odbc/odbc_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace odbc_test {

bool RecordingUi::login(void*, OdbcCredentials& credentials) {
    ++logins;
    if (duringLogin)
        duringLogin();
    shownUser = credentials.user;
    shownPassword = credentials.password;
    if (!confirmLogin)
        return false;
    std::snprintf(credentials.user, sizeof credentials.user, "%s", loginUser.c_str());
    std::snprintf(credentials.password, sizeof credentials.password, "%s", loginPassword.c_str());
    return true;
}

std::string fakeLibrary(const std::string& variant) {
    return std::string(QUARROW_FAKE_ODBC_DIR) + "fake_odbc_" + variant + QUARROW_FAKE_ODBC_SUFFIX;
}

OdbcLibraryNames fakeNames(const std::string& variant) {
    return {fakeLibrary(variant), fakeLibrary(variant), ""};
}

FakeProbe::FakeProbe(const std::string& variant) : FakeProbe(Named{fakeLibrary(variant)}) {}

FakeProbe::FakeProbe(const Named& library) : library_(SharedLibrary::open(library.name)) {
    void* reset = library_.symbol("fakeReset");
    void* get = library_.symbol("fakeState");
    if (!reset || !get)
        std::abort();
    void (*resetFunction)() = nullptr;
    FakeState* (*getFunction)() = nullptr;
    std::memcpy(&resetFunction, &reset, sizeof reset);
    std::memcpy(&getFunction, &get, sizeof get);
    resetFunction();
    state_ = getFunction();
}

void FakeProbe::setRows(const std::vector<const char*>& rows, bool noTotal) {
    void* set = library_.symbol("fakeSetRows");
    void (*setFunction)(const char* const*, int, int) = nullptr;
    std::memcpy(&setFunction, &set, sizeof set);
    rows_ = rows;
    setFunction(rows_.data(), static_cast<int>(rows_.size()), noTotal ? 1 : 0);
}

template <class Function>
Function FakeProbe::function(const char* name) {
    void* symbol = library_.symbol(name);
    if (!symbol)
        std::abort();
    Function result = nullptr;
    std::memcpy(&result, &symbol, sizeof symbol);
    return result;
}

void FakeProbe::script(const std::string& prefix,
                       int execRc,
                       const std::string& message,
                       const std::string& columns,
                       const std::string& rows,
                       int extra,
                       int extraRc) {
    using Script = void (*)(const char*, int, const char*, const char*, const char*, int, int);
    function<Script>("fakeScript")(prefix.c_str(), execRc, message.c_str(), columns.c_str(), rows.c_str(), extra,
                                   extraRc);
}

void FakeProbe::clearScripts() {
    function<void (*)()>("fakeClearScripts")();
}

void FakeProbe::setDbmsName(const std::string& name) {
    function<void (*)(const char*)>("fakeSetDbmsName")(name.c_str());
}

std::vector<std::string> FakeProbe::calls() {
    std::vector<std::string> lines;
    std::stringstream text(function<const char* (*)()>("fakeCalls")());
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

namespace {

bool fileHasSection(const char* path, const std::string& section) {
    if (!path)
        return false;
#if defined(_WIN32)
    // Under Wine the Unix root is drive Z:.
    std::ifstream in(path[0] == '/' ? std::string("Z:") + path : std::string(path));
#else
    std::ifstream in(path);
#endif
    std::stringstream text;
    text << in.rdbuf();
    return text.str().find("[" + section + "]") != std::string::npos;
}

#if !defined(_WIN32)
// A configuration of our own when the test script did not provide one: SQLite only.
bool writeOwnConfiguration() {
    char pattern[] = "/tmp/quarrow-odbc-XXXXXX";
    if (!mkdtemp(pattern))
        return false;
    std::string dir = pattern;
    const char* driver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
    std::ofstream(dir + "/odbcinst.ini") << "[SQLite3]\nDriver=" << driver << "\nSetup=" << driver << "\n";
    std::ofstream(dir + "/odbc.ini") << "";
    std::ofstream user(dir + "/user.ini");
    user << "[" << kSqliteDsn << "]\nDescription=Quarrow test database\nDriver=SQLite3\nDatabase=" << dir
         << "/quarrow.db\n";
    // The same odd names as the test script's configuration (see tools/odbc-ini.sh).
    user << "\n[" << kAccentedDsn << "]\nDescription=Accented name\nDriver=SQLite3\n";
    user << "\n[" << kHungarianDsn << "]\nDescription=Hungarian name\nDriver=SQLite3\nDatabase=" << dir
         << "/quarrow.db\n";
    user << "\n[" << longDsnName() << "]\nDescription=Long name\nDriver=SQLite3\n";
    setenv("ODBCSYSINI", dir.c_str(), 1);
    setenv("ODBCINI", (dir + "/user.ini").c_str(), 1);
    return true;
}
#endif

}  // namespace

#if !defined(_WIN32)
// unixODBC and the drivers keep caches they never free. Mapped for the whole run, their frames keep
// their module names, and the suppressions below can name them.
void pinThirdPartyLibraries() {
    // Never destroyed: the leak check runs after static destructors.
    static auto* pinned = new std::vector<SharedLibrary>;
    for (const char* name : {"libodbc.so.2", "libodbcinst.so.2", "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so",
                             "/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so"})
        pinned->push_back(SharedLibrary::open(name));
}
#endif

bool realOdbcConfigured() {
    static const bool configured = [] {
#if !defined(_WIN32)
        pinThirdPartyLibraries();
#endif
        if (fileHasSection(std::getenv("ODBCINI"), kSqliteDsn))
            return true;
#if defined(_WIN32)
        // Under Wine the host's unixODBC reads the process's Unix environment, which only the
        // test script can set before Wine starts.
        return false;
#else
        return writeOwnConfiguration();
#endif
    }();
    return configured;
}

std::string longDsnName() {
    return "QuarrowLong" + std::string(289, 'x');
}

bool mariaDbConfigured() {
    return realOdbcConfigured() && fileHasSection(std::getenv("ODBCINI"), kMariaDbDsn);
}

}  // namespace odbc_test

#if !defined(_WIN32)
// What the driver manager and the drivers leave allocated at exit is theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libodbc.so\nleak:libodbcinst.so\nleak:libsqlite3odbc\nleak:libmaodbc\nleak:libmariadb\n";
}
#endif
