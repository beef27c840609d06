// A second test process for the table-sharing tests: forked natively, the test exe started again on Windows.
#pragma once

#include <cstdint>
#include <string>

namespace dbftest {

// Runs childMain(role, dir) in a new process; returns its id, or 0 when it could not be started.
intptr_t startChild(const std::string& role, const std::string& dir);
// The child's exit code, or -1 when it did not end within `timeoutMs` (it is then ended).
int waitChild(intptr_t id, int timeoutMs);
// The child's work; its result becomes the exit code (0 for success).
int childMain(const std::string& role, const std::string& dir);

// Set in a child started as a separate exe: "role|dir".
constexpr const char* kChildVariable = "QUARROW_DBF_CHILD";

}  // namespace dbftest
