// The record-lock holder: started as the test exe again with a filter that runs only its test.
#include "tests/win32/edit_lock_holder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "dbf/dbf.h"

namespace edittest {

namespace {

constexpr DWORD kWaitMs = 30000;

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool waitForFile(const std::string& path, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!exists(path)) {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(2);
    }
    return true;
}

}  // namespace

LockHolder::LockHolder(const std::string& path, long record, const std::string& folder) {
    static int serial = 0;
    std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    ready_ = folder + "\\holder-ready-" + tag;
    done_ = folder + "\\holder-done-" + tag;
    char exe[MAX_PATH];
    if (GetModuleFileNameA(nullptr, exe, sizeof exe) == 0)
        return;
    std::string command =
        std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=EditLockHolder.DISABLED_Hold";
    std::string value = path + "|" + std::to_string(record) + "|" + ready_ + "|" + done_;
    SetEnvironmentVariableA(kHolderVariable, value.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kHolderVariable, nullptr);
    if (!started)
        return;
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    ok_ = waitForFile(ready_, kWaitMs);
}

LockHolder::~LockHolder() {
    release();
}

int LockHolder::release() {
    if (!process_)
        return -1;
    std::ofstream(done_) << "1";
    HANDLE process = static_cast<HANDLE>(process_);
    process_ = nullptr;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, kWaitMs) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    else
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    DeleteFileA(ready_.c_str());
    DeleteFileA(done_.c_str());
    return static_cast<int>(code);
}

}  // namespace edittest

// Runs only inside the holder process; skipped in a normal run.
TEST(EditLockHolder, DISABLED_Hold) {
    const char* value = getenv(edittest::kHolderVariable);
    ASSERT_NE(value, nullptr);
    std::stringstream parts(value);
    std::string path, record, ready, done;
    std::getline(parts, path, '|');
    std::getline(parts, record, '|');
    std::getline(parts, ready, '|');
    std::getline(parts, done, '|');
    dbf table(path.c_str());
    ASSERT_EQ(table.open(1), 1);
    ASSERT_EQ(table.goTo(atol(record.c_str())), 1);
    ASSERT_EQ(table.lockRecord(), 1);
    std::ofstream(ready) << "1";
    EXPECT_TRUE(edittest::waitForFile(done, edittest::kWaitMs));
    table.unlock();
    table.close();
}
