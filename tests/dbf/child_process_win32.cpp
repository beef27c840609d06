// Starts the test exe again as the child of the table-sharing tests, running only the child test.
#include <windows.h>

#include "tests/dbf/child_process.h"

namespace dbftest {

intptr_t startChild(const std::string& role, const std::string& dir) {
    char exe[MAX_PATH];
    if (GetModuleFileNameA(nullptr, exe, sizeof exe) == 0)
        return 0;
    std::string command =
        std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=DbfChild.DISABLED_Run";
    std::string value = role + "|" + dir;
    SetEnvironmentVariableA(kChildVariable, value.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL ok = CreateProcessA(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    if (!ok)
        return 0;
    CloseHandle(process.hThread);
    return reinterpret_cast<intptr_t>(process.hProcess);
}

int waitChild(intptr_t id, int timeoutMs) {
    HANDLE process = reinterpret_cast<HANDLE>(id);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
        return -1;
    }
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return static_cast<int>(code);
}

}  // namespace dbftest
