// What the Wine test tools share: finding the command they pass on, and
// reporting how the program they started ended.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

// The tools pass the rest of their own command line on byte for byte: this
// finds where it starts, after a number of leading fields (a field is quoted
// or ends at a blank).
inline const char* CommandTailAfter(const char* line, int fields)
{
    for (int field = 0; field < fields; ++field) {
        if (*line == '"') {
            const char* close = std::strchr(line + 1, '"');
            line = close ? close + 1 : line + std::strlen(line);
        } else {
            while (*line && *line != ' ' && *line != '\t') ++line;
        }
        while (*line == ' ' || *line == '\t') ++line;
    }
    return line;
}

// Waits for the process and prints "exit=<signed code>", which Wine's own exit
// status cannot carry, or "exit=timeout" after ending a process that outlived
// the wait. Returns the tool's own exit code: 0, or 1 after a timeout.
inline int ReportExit(HANDLE process, DWORD timeout_ms)
{
    if (WaitForSingleObject(process, timeout_ms) == WAIT_TIMEOUT) {
        TerminateProcess(process, 3);
        std::printf("exit=timeout\n");
        return 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    std::printf("exit=%ld\n", long(LONG(code)));
    return 0;
}
