// What the tests of the ODBC windows opened from the main menu share: the main window with the
// modules installed, the binding's boxes recorded, logins answered with the MariaDB test account,
// and statements run on a test data source through a connection of their own.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/odbc/odbc_test_support.h"

// Runs `statements` on `dsn` through the shared binding; a statement that affects no row is fine.
void runStatements(const char* dsn, const std::vector<std::string>& statements);

class OdbcWindowTest : public testing::Test {
  protected:
    // Skips without the test data sources. A derived SetUp calls this first and returns when
    // IsSkipped() or HasFatalFailure().
    void SetUp() override;
    // Closes the window opened from the menu, the main window, and what they posted.
    void TearDown() override;
    // Sends `command` to the main window; the window `current` then names becomes the one
    // TearDown closes. Null when none was made.
    HWND openFromMenu(UINT command, HWND (*current)());
    // Closes the window opened from the menu, as its close box does.
    void closeOpened();

    odbc_test::RecordingUi ui_;
    HWND main_ = nullptr;
    HWND opened_ = nullptr;
};
