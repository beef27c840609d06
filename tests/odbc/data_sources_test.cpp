// Data sources and connections over a stand-in driver manager: names in the ANSI code page, the login
// retry, the process-wide credentials, and the driver connection strings byte for byte, braced.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "odbc/data_sources.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;

class OdbcFakeConnect : public testing::Test {
  protected:
    void SetUp() override {
        clearOdbcCredentials();
        ASSERT_EQ(binding_.acquire(&owner), 1);
        ASSERT_EQ(binding_.allocConnection(&connection_), sql::kSuccess);
    }
    void TearDown() override {
        binding_.release(&owner);
        clearOdbcCredentials();
    }
    SqlReturn connectTo(const std::string& name, bool driverMode = false, int type = 0) {
        return connect(&owner, name, connection_, &node_, &loginUsed_, driverMode, type, binding_);
    }

    FakeProbe probe_{"full"};
    RecordingUi ui_;
    OdbcBinding binding_{fakeNames("full"), &ui_};
    SqlHdbc connection_ = nullptr;
    SqlHdbc node_ = nullptr;
    bool loginUsed_ = true;
};

TEST_F(OdbcFakeConnect, DataSourceNamesComeInTheAnsiCodePage) {
    std::vector<std::pair<std::string, std::string>> seen;
    ASSERT_EQ(enumerateDataSources(
                  binding_.environment(), [&](const char* name, const char* text) { seen.emplace_back(name, text); },
                  binding_),
              1);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (std::pair<std::string, std::string>("plain", "d1")));
    // Windows-1250: U+00E9 is 0xE9, and o, u, O, U with double acute are 0xF5 0xFB 0xD5 0xDB (not their
    // low bytes "QqPp"). U+008A, a byte widened as Latin-1, is that byte again.
    EXPECT_EQ(seen[1].first, "Caf\xE9-\xF5\xFB\xD5\xDB-\x8A");
    EXPECT_EQ(seen[1].second, "d2");
    // A name longer than the buffer is cut to 255 characters and still listed.
    ASSERT_EQ(seen[2].first.size(), 255u);
    EXPECT_EQ(seen[2].first.substr(0, 28), "abcdefghijklmnopqrstuvwxyzab");
    EXPECT_TRUE(ui_.warnings.empty());
}

TEST(DataSources, NoDataSourceAtAllIsReported) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_data_sources"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    int calls = 0;
    EXPECT_EQ(enumerateDataSources(
                  binding.environment(), [&](const char*, const char*) { ++calls; }, binding),
              0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"Can't access for the datasources."});
    binding.release(&owner);
}

// The hourglass is on during each attempt and never left on, whatever the outcome.
TEST_F(OdbcFakeConnect, TheArrowComesBackAfterEveryAttempt) {
    const struct {
        const char* name;
        bool confirm;
        const char* password;
        std::vector<bool> cursor;
    } cases[] = {
        {"open", false, "", {true, false}},
        {"server", false, "", {true, false}},
        {"server", true, "wrong", {true, false, true, false}},
        {"server", true, "secret", {true, false, true, false}},
    };
    for (const auto& c : cases) {
        ui_.cursorWaits.clear();
        ui_.confirmLogin = c.confirm;
        ui_.loginPassword = c.password;
        clearOdbcCredentials();
        connectTo(c.name);
        EXPECT_EQ(ui_.cursorWaits, c.cursor) << c.name << " " << c.password;
        binding_.freeConnection(connection_);
        ASSERT_EQ(binding_.allocConnection(&connection_), sql::kSuccess);
    }
}

TEST_F(OdbcFakeConnect, ADataSourceWithoutPasswordConnectsWithoutTheDialog) {
    EXPECT_EQ(connectTo("open"), sql::kSuccess);
    EXPECT_EQ(ui_.logins, 0);
    EXPECT_FALSE(loginUsed_);
    EXPECT_EQ(node_, connection_);
    EXPECT_EQ(probe_.state().connectCalls, 1);
    EXPECT_STREQ(probe_.state().lastConnectName, "open");
    // Empty credentials are passed, with their lengths.
    EXPECT_STREQ(probe_.state().lastConnectUser, "");
    EXPECT_STREQ(probe_.state().lastConnectPassword, "");
    ASSERT_FALSE(ui_.cursorWaits.empty());
    EXPECT_TRUE(ui_.cursorWaits.front());
}

TEST_F(OdbcFakeConnect, AWrongPasswordAsksOnceAndReturnsTheRetrysResult) {
    ui_.confirmLogin = true;
    ui_.loginUser = "bob";
    ui_.loginPassword = "wrong";
    EXPECT_EQ(connectTo("server"), sql::kError);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_TRUE(loginUsed_);
    EXPECT_EQ(probe_.state().connectCalls, 2);
    EXPECT_STREQ(probe_.state().lastConnectUser, "bob");
    EXPECT_EQ(node_, connection_);  // kept on failure too
}

TEST_F(OdbcFakeConnect, ASuccessfulLoginIsTriedFirstForTheNextDataSource) {
    ui_.confirmLogin = true;
    ui_.loginUser = "bob";
    ui_.loginPassword = "secret";
    EXPECT_EQ(connectTo("first"), sql::kSuccessWithInfo);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_STREQ(odbcCredentials().user, "bob");
    EXPECT_STREQ(odbcCredentials().password, "secret");
    EXPECT_EQ(connectTo("second"), sql::kSuccessWithInfo);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_FALSE(loginUsed_);
    EXPECT_STREQ(probe_.state().lastConnectName, "second");
    // Opening the explorer or the commander again forgets them.
    clearOdbcCredentials();
    EXPECT_EQ(connectTo("third"), sql::kSuccessWithInfo);
    EXPECT_EQ(ui_.logins, 2);
    EXPECT_EQ(ui_.shownUser, "");
}

TEST_F(OdbcFakeConnect, ACancelledLoginReturnsTheFirstResult) {
    std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", "anna");
    EXPECT_EQ(connectTo("server"), sql::kError);
    EXPECT_EQ(ui_.logins, 1);
    EXPECT_EQ(ui_.shownUser, "anna");  // the dialog opens on the current credentials
    EXPECT_FALSE(loginUsed_);
    EXPECT_EQ(probe_.state().connectCalls, 1);
    EXPECT_STREQ(odbcCredentials().user, "anna");
}

TEST_F(OdbcFakeConnect, DriverModeSendsTheFileTypesConnectionString) {
    std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", "admin");
    std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s", "pw");
    EXPECT_EQ(connectTo("C:\\data\\sales.dbf", true, driver_type::kDbase), sql::kSuccess);
    EXPECT_STREQ(probe_.state().lastDriverConnect, "Driver={Microsoft dBASE Driver (*.dbf)};DBQ=C:\\data;DriverID=277");
    EXPECT_EQ(probe_.state().lastDriverConnectLength, static_cast<int>(std::strlen(probe_.state().lastDriverConnect)));
    EXPECT_EQ(connectTo("C:\\db\\a.mdb", true, driver_type::kAccess), sql::kSuccess);
    EXPECT_STREQ(probe_.state().lastDriverConnect,
                 "Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\db\\a.mdb;UID=admin;PWD=pw");
    EXPECT_EQ(probe_.state().connectCalls, 0);
    EXPECT_EQ(ui_.logins, 0);
}

struct ConnectionStringCase {
    int type;
    const char* path;
    const char* expected;
};

std::string connectionString(int type, const std::string& path, const OdbcCredentials& credentials) {
    char text[kConnectionStringSize];
    return driverConnectionString(type, path, credentials, text, sizeof text) ? text : "<none>";
}

TEST(DataSources, ConnectionStringsOfTheFiveFileTypesAreExact) {
    OdbcCredentials credentials;
    std::snprintf(credentials.user, sizeof credentials.user, "%s", "root");
    std::snprintf(credentials.password, sizeof credentials.password, "%s", "s3cret");
    const ConnectionStringCase cases[] = {
        {1, "C:\\db\\orders.mdb",
         "Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\db\\orders.mdb;UID=root;PWD=s3cret"},
        {2, "C:\\xl\\book.xlsx",
         "Driver={Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)};DBQ=C:\\xl\\book.xlsx;READONLY=FALSE;"},
        {3, "C:\\pdx\\cust.db", "Driver={Microsoft Paradox Driver (*.db )};DBQ=C:\\pdx;DriverID=26"},
        {4, "C:\\dbf\\t\\cikk.dbf", "Driver={Microsoft dBASE Driver (*.dbf)};DBQ=C:\\dbf\\t;DriverID=277"},
        {5, "C:\\data\\shop\\orders.MYD", "Driver={MySQL ODBC 3.51 Driver};DATABASE=shop;UID=root;PWD=s3cret;"},
        // Accented path bytes (Windows-1250 "\xE1rak", that is "árak") pass through unchanged.
        {4, "C:\\\xE1rak\\t.dbf", "Driver={Microsoft dBASE Driver (*.dbf)};DBQ=C:\\\xE1rak;DriverID=277"},
        // A value with a character the grammar gives a meaning is braced.
        {1, "C:\\Program Files (x86)\\a;b.mdb",
         "Driver={Microsoft Access Driver (*.mdb)};DBQ={C:\\Program Files (x86)\\a;b.mdb};UID=root;PWD=s3cret"},
        {0, "C:\\x.txt", "<none>"},
        {6, "C:\\lite\\shop.db", "Driver={SQLite3 ODBC Driver};Database=C:\\lite\\shop.db;NoCreat=1"},
        {7, "C:\\x.txt", "<none>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(connectionString(c.type, c.path, credentials), c.expected) << c.path;
    // Empty credentials leave the keys empty.
    EXPECT_EQ(connectionString(5, "D:\\mysql\\data\\shop\\t.frm", OdbcCredentials()),
              "Driver={MySQL ODBC 3.51 Driver};DATABASE=shop;UID=;PWD=;");
    // A string longer than its buffer is refused and wiped.
    char small[40];
    EXPECT_FALSE(driverConnectionString(1, "C:\\db\\orders.mdb", credentials, small, sizeof small));
    EXPECT_EQ(small[0], '\0');
}

// A password or user name cannot add attributes: each value is braced when it needs it.
TEST(DataSources, CredentialsAreBracedWhereTheGrammarNeedsIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "PWD=plain;"},       {"a;DSN=other", "PWD={a;DSN=other};"},
        {"x}y", "PWD={x}}y};"},        {"{z}", "PWD={{z}}};"},
        {" lead", "PWD={ lead};"},     {"trail ", "PWD={trail };"},
        {"e=m!c@2", "PWD={e=m!c@2};"}, {"", "PWD=;"},
    };
    for (const auto& [password, expected] : cases) {
        OdbcCredentials credentials;
        std::snprintf(credentials.password, sizeof credentials.password, "%s", password);
        std::string text = connectionString(driver_type::kMySql, "C:\\d\\shop\\t.MYD", credentials);
        EXPECT_EQ(text.substr(text.find("PWD=")), expected) << password;
    }
}

TEST(DataSources, DriverTypesComeFromTheExtensionInAnyCase) {
    const std::pair<const char*, int> cases[] = {
        {"mdb", 1}, {"MDB", 1}, {"xls", 2}, {"XlsX", 2}, {"db", 3},   {"dbf", 4},  {"DBF", 4}, {"myd", 5},
        {"FRM", 5}, {"MYI", 5}, {"dbt", 0}, {"", 0},     {"xlsm", 0}, {"mdbx", 0}, {"d", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(driverTypeForExtension(c.first), c.second) << c.first;
}

// A DB file is an SQLite database when its first 16 bytes are SQLite's header, else a Paradox table.
TEST(DataSources, DriverTypeOfAFileLooksIntoDbFiles) {
    dbftest::TempDir dir;
    const struct {
        const char* name;
        std::string content;
        int type;
    } cases[] = {
        {"shop.db", std::string("SQLite format 3\0", 16) + "rest", driver_type::kSqlite},
        {"SHOP2.DB", std::string("SQLite format 3\0", 16), driver_type::kSqlite},
        {"cust.db", std::string("\x02\x00\x00\x08 Paradox", 12), driver_type::kParadox},
        {"short.db", "SQLite", driver_type::kParadox},
        {"noterm.db", "SQLite format 3X", driver_type::kParadox},
        {"t.dbf", std::string("SQLite format 3\0", 16), driver_type::kDbase},
        {"plain", "", driver_type::kNone},
    };
    for (const auto& c : cases) {
        std::string path = dir.file(c.name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        std::fwrite(c.content.data(), 1, c.content.size(), file);
        std::fclose(file);
        EXPECT_EQ(driverTypeForFile(path), c.type) << c.name;
    }
    // A missing DB file is left to the Paradox driver, which reports it.
    EXPECT_EQ(driverTypeForFile(dir.file("missing.db")), driver_type::kParadox);
}

}  // namespace
