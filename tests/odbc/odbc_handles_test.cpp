// Statement and connection owners over the stand-in driver manager: each handle freed exactly once.
#include <gtest/gtest.h>

#include <utility>

#include "odbc/odbc_handles.h"
#include "tests/odbc/odbc_test_support.h"

using odbc_test::fakeNames;
using odbc_test::FakeProbe;
using odbc_test::RecordingUi;

namespace {

int owner = 0;

class OdbcFakeHandles : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(binding_.acquire(&owner), 1); }
    void TearDown() override { binding_.release(&owner); }

    FakeProbe probe_{"full"};
    RecordingUi ui_;
    OdbcBinding binding_{fakeNames("full"), &ui_};
};

TEST_F(OdbcFakeHandles, AStatementIsFreedOnceWhereverItEnds) {
    OdbcConnection connection(binding_);
    ASSERT_TRUE(connection.ok());
    {
        OdbcStatement statement(binding_, connection.get());
        ASSERT_TRUE(statement.ok());
        EXPECT_EQ(statement.result(), sql::kSuccess);
        OdbcStatement moved = std::move(statement);
        EXPECT_FALSE(statement.ok());
        OdbcStatement assigned;
        assigned = std::move(moved);
        EXPECT_TRUE(assigned.ok());
    }
    EXPECT_EQ(probe_.state().statementsAllocated, 1);
    EXPECT_EQ(probe_.state().statementsFreed, 1);

    OdbcStatement early(binding_, connection.get());
    early.reset();
    early.reset();
    EXPECT_EQ(probe_.state().statementsFreed, 2);
}

TEST_F(OdbcFakeHandles, AFailedStatementAllocationFreesNothing) {
    OdbcStatement statement(binding_, nullptr);
    EXPECT_FALSE(statement.ok());
    EXPECT_EQ(statement.result(), sql::kInvalidHandle);  // a null connection
    statement.reset();
    EXPECT_EQ(probe_.state().statementsFreed, 0);
}

TEST_F(OdbcFakeHandles, AConnectionIsDisconnectedAndFreedOnce) {
    {
        OdbcConnection connection(binding_);
        ASSERT_TRUE(connection.ok());
        EXPECT_EQ(binding_.currentConnection(), connection.get());
        OdbcConnection other = std::move(connection);
        EXPECT_FALSE(connection.ok());
        EXPECT_TRUE(other.ok());
    }
    EXPECT_EQ(probe_.state().disconnects, 1);
    EXPECT_EQ(probe_.state().connectionsFreed, 1);
}

}  // namespace
