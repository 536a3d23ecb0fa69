// Test tool: runs a command line, waits for it and prints its exact exit code
// as a signed number ("exit=-1"), which Wine's own exit status cannot carry.
// Usage: launcher TIMEOUT_MS COMMAND LINE...
// Prints "exit=timeout" and ends the program when it outlives the timeout.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tool_support.h"

int main()
{
    if (__argc < 3) {
        std::fprintf(stderr, "usage: launcher TIMEOUT_MS COMMAND...\n");
        return 2;
    }
    const DWORD timeout = DWORD(std::strtoul(__argv[1], nullptr, 10));
    // The rest of our own command line, byte for byte, is the command to run.
    const char* line = CommandTailAfter(GetCommandLineA(), 2);

    char command[4096];
    std::snprintf(command, sizeof command, "%s", line);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::printf("exit=cannot-start %lu\n", GetLastError());
        return 2;
    }
    const int result = ReportExit(process.hProcess, timeout);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
