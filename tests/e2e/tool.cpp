// Test tool that acts on the saver from beside it under Wine, as the system
// and its settings dialog would. Subcommands:
//   run MS PROGRAM WORDS...  runs PROGRAM and prints "exit=<code>" signed,
//                            which Wine's own exit status cannot carry
//   state CLASS TITLE        the saver-running flag as another process reads
//                            it, the screen's size, and the top-level window
//                            (its handle in decimal) and its children, or
//                            "window none"
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// One line per window; line feeds in the title show as '|'.
static void Describe(const char* label, HWND w)
{
    char name[64] = "", title[512] = "";
    RECT size{}, at{};
    GetClassNameA(w, name, sizeof name);
    GetWindowTextA(w, title, sizeof title);
    for (char* c = std::strchr(title, '\n'); c; c = std::strchr(c, '\n')) *c = '|';
    GetClientRect(w, &size);
    GetWindowRect(w, &at);
    const char* format = "%s class=%s title=%s size=%ldx%ld style=0x%08lX exstyle=0x%08lX id=%d "
                         "at=%ld,%ld,%ld,%ld\n";
    std::printf(w ? format : "%s none\n", label, name, title, size.right, size.bottom,
                GetWindowLongA(w, GWL_STYLE), GetWindowLongA(w, GWL_EXSTYLE), GetDlgCtrlID(w),
                at.left, at.top, at.right, at.bottom);
}

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "state" && argc == 4) {
        const HWND window = FindWindowA(argv[2], argv[3]);
        BOOL running = -1;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        std::printf("running=%d screen=%dx%d\n", running, GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN));
        std::printf("handle=%lu\n",
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
        Describe("window", window);
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            Describe("child", child);
        return 0;
    }
    if (command != "run" || argc < 4) {
        std::fprintf(stderr, "usage: see tool.cpp\n");
        return 2;
    }
    // The program quoted, as its path may hold spaces; its words as given.
    std::string line = std::string("\"") + argv[3] + "\"";
    for (int word = 4; word < argc; ++word) line += std::string(" ") + argv[word];
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 0;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("exit=cannot-start\n");
        return 2;
    }
    if (WaitForSingleObject(process.hProcess, std::strtoul(argv[2], nullptr, 10)) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 3);
        std::printf("exit=timeout\n");
        return 1;
    }
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit=%ld\n", long(LONG(code)));
    return 0;
}
