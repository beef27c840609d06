// A host window with a Tbl grid, a caption line and a command line, as the ODBC windows have, and a
// connection to the SQLite test data source: for the tests of results shown in grids.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "odbc/odbc_types.h"
#include "odbc/result_view.h"

class GridHostTest : public testing::Test {
  protected:
    static constexpr int kGrid = 111, kCaption = 103, kCommandLine = 106;

    // Skips without the test data sources. A derived SetUp calls this first and returns when
    // IsSkipped() or HasFatalFailure().
    void SetUp() override;
    // Discards the grid's result, closes the host, frees the connection.
    void TearDown() override;
    // Runs `text` on the connection; a failure fails the test.
    void exec(const std::string& text);

    ResultHost host_;
    SqlHdbc connection_ = nullptr;

  private:
    int owner_ = 0;  // the binding's user
};
