// Reading a column as text in pieces: every length the driver may report, NULLs after values,
// limits, on the stand-in driver manager and on the real SQLite and MariaDB drivers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;

// A text whose every position is recognisable, so a piece put in the wrong place shows.
std::string pattern(std::size_t length) {
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += kAlphabet[(i / 36 + i) % 36];
    return text;
}

struct Row {
    const char* value;  // null: SQL NULL
    std::size_t limit;
    std::string expected;
    bool cut;
};

// Reads the rows one after the other into the same value, as a copy loop does; then a failing
// read leaves nothing of the last row either.
void expectRows(OdbcStatement& statement, SqlUSmallInt column, const std::vector<Row>& rows, const std::string& where) {
    ColumnText value;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(statement.fetch(), sql::kSuccess) << where << " row " << i;
        ASSERT_EQ(statement.getText(column, value, rows[i].limit), sql::kSuccess) << where << i;
        EXPECT_EQ(value.null, rows[i].value == nullptr) << where << " row " << i;
        EXPECT_EQ(value.cut, rows[i].cut) << where << " row " << i;
        EXPECT_EQ(value.text.size(), rows[i].expected.size()) << where << " row " << i;
        EXPECT_TRUE(value.text == rows[i].expected) << where << " row " << i;
    }
    EXPECT_FALSE(sql::succeeded(statement.getText(7, value))) << where;
    EXPECT_TRUE(value.text.empty()) << where;
    EXPECT_EQ(statement.fetch(), sql::kNoData) << where;
}

const std::string kLong = pattern(10000);
const std::string kOnePiece = pattern(4095);  // fills the read buffer exactly
const std::string kTwoPieces = pattern(8190);

std::vector<Row> standardRows() {
    return {
        {kLong.c_str(), ColumnText::kNoLimit, kLong, false},
        {nullptr, ColumnText::kNoLimit, "", false},  // after a long value, not its tail
        {"", ColumnText::kNoLimit, "", false},
        {"short", ColumnText::kNoLimit, "short", false},
        {nullptr, ColumnText::kNoLimit, "", false},  // after a short one
        {kOnePiece.c_str(), ColumnText::kNoLimit, kOnePiece, false},
        {kTwoPieces.c_str(), ColumnText::kNoLimit, kTwoPieces, false},
        {kLong.c_str(), 5000, kLong.substr(0, 5000), true},
        {kTwoPieces.c_str(), 4095, kOnePiece, true},  // the pattern's prefixes agree
        {kOnePiece.c_str(), 4095, kOnePiece, false},
        {"short", 3, "sho", true},
    };
}

TEST(OdbcColumnText, FakeDriverPiecesWithAndWithoutTotals) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    {
        OdbcConnection connection(binding);
        std::vector<Row> rows = standardRows();
        std::vector<const char*> values;
        for (const Row& row : rows)
            values.push_back(row.value);
        for (bool noTotal : {false, true}) {
            probe.setRows(values, noTotal);
            OdbcStatement statement(binding, connection.get());
            ASSERT_EQ(statement.execDirect("select v from t"), sql::kSuccess);
            expectRows(statement, 1, rows, noTotal ? "no total" : "lengths");
        }
        EXPECT_EQ(probe.state().invalidHandles, 0);
    }
    binding.release(&owner);
}

// The statement reports its own failure with its connection, or hands the text back.
TEST(OdbcColumnText, AStatementKnowsItsConnectionAndItsError) {
    FakeProbe probe("full");
    RecordingUi ui;
    OdbcBinding binding(fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    {
        OdbcConnection connection(binding);
        OdbcStatement statement(binding, connection.get());
        EXPECT_EQ(statement.connection(), connection.get());
        EXPECT_EQ(statement.execDirect("fail here"), sql::kError);
        EXPECT_STREQ(probe.state().lastExec, "fail here");
        EXPECT_EQ(statement.errorText(), "[Fake] first diagnostic");
        // The stand-in queues two records; the box takes the next.
        statement.reportError(&owner);
        EXPECT_EQ(ui.errors, std::vector<std::string>{"[Fake] second diagnostic"});
        EXPECT_EQ(ui.errorOwners, std::vector<void*>{&owner});
        EXPECT_EQ(statement.moreResults(), sql::kNoData);

        // Not allocated: every call fails and the report goes to the connection.
        OdbcStatement none(binding, nullptr);
        EXPECT_EQ(none.execDirect("select 1"), sql::kError);
        ColumnText value;
        EXPECT_EQ(none.getText(1, value), sql::kError);
        none.reportError(&owner);
        EXPECT_EQ(ui.errors.size(), 2u);
    }
    binding.release(&owner);
}

TEST(OdbcColumnText, AMissingMoreResultsMeansNoMoreResults) {
    RecordingUi ui;
    OdbcBinding binding(fakeNames("no_optional"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    {
        OdbcConnection connection(binding);
        OdbcStatement statement(binding, connection.get());
        EXPECT_EQ(statement.moreResults(), sql::kNoData);
    }
    binding.release(&owner);
}

class RealOdbcColumnText : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration";
        bool maria = std::string(GetParam()) == odbc_test::kMariaDbDsn;
        if (maria && !odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server";
        ASSERT_EQ(binding_.acquire(&owner), 1);
        connection_ = OdbcConnection(binding_);
        OdbcCredentials& credentials = odbcCredentials();
        std::snprintf(credentials.user, sizeof credentials.user, "%s", maria ? odbc_test::kMariaDbUser : "");
        std::snprintf(credentials.password, sizeof credentials.password, "%s",
                      maria ? odbc_test::kMariaDbPassword : "");
        SqlHdbc node = nullptr;
        ASSERT_TRUE(sql::succeeded(connect(&owner, GetParam(), connection_.get(), &node, nullptr, false, 0, binding_)));
        clearOdbcCredentials();
    }
    void TearDown() override {
        connection_.reset();
        binding_.release(&owner);
    }

    RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    OdbcConnection connection_;
};

TEST_P(RealOdbcColumnText, LongValuesAndNullsRowAfterRow) {
    OdbcStatement statement(binding_, connection_.get());
    ASSERT_TRUE(statement.ok());
    ASSERT_TRUE(sql::succeeded(statement.execDirect("create temporary table qt (id integer, v text)")))
        << statement.errorText();
    std::vector<Row> rows = standardRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string value = rows[i].value ? "'" + std::string(rows[i].value) + "'" : "null";
        ASSERT_TRUE(
            sql::succeeded(statement.execDirect("insert into qt values (" + std::to_string(i) + ", " + value + ")")))
            << statement.errorText();
    }
    ASSERT_TRUE(sql::succeeded(statement.execDirect("select id, v from qt order by id"))) << statement.errorText();
    expectRows(statement, 2, rows, GetParam());
    EXPECT_TRUE(ui_.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Drivers,
                         RealOdbcColumnText,
                         testing::Values(odbc_test::kSqliteDsn, odbc_test::kMariaDbDsn),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param) == odbc_test::kSqliteDsn ? "SQLite" : "MariaDB";
                         });

}  // namespace
