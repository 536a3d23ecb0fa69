// Test tool that acts on the saver from beside it under Wine, as the system
// and its settings dialog would. Subcommands:
//   run MS COMMAND...  runs COMMAND and prints "exit=<code>" signed, which
//                      Wine's own exit status cannot carry
//   state CLASS TITLE  the saver-running flag as another process reads it,
//                      the screen's size, and the top-level window (its
//                      handle in decimal) and its children, or "window none"
// Built as PASSWORD.CPL beside the saver, it stands in for the Windows 95/98
// password panel: VerifyScreenSavePwd accepts once the file named by
// LUMENFALL_VERIFY_ACCEPT_FILE exists, so that a test can change its mind,
// and logs each call, with whether it got a window and whether the system is
// marked as running a saver, to LUMENFALL_VERIFY_LOG.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef PASSWORD_PANEL
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    char path[MAX_PATH] = "";
    BOOL running = -1;
    GetEnvironmentVariableA("LUMENFALL_VERIFY_ACCEPT_FILE", path, sizeof path);
    const bool accept = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    GetEnvironmentVariableA("LUMENFALL_VERIFY_LOG", path, sizeof path);
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "VerifyScreenSavePwd window=%d accept=%d running=%d\n", IsWindow(window),
                     accept, running);
        std::fclose(log);
    }
    return accept;
}
#else
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
    // The rest of our own command line, byte for byte, is the command.
    char* tail = GetCommandLineA();
    for (int field = 0; field < 3; ++field) {
        char* quote = *tail == '"' ? std::strchr(tail + 1, '"') : nullptr;
        tail = quote ? quote + 1 : tail + std::strcspn(tail, " \t");
        tail += std::strspn(tail, " \t");
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 0;
    if (!CreateProcessA(nullptr, tail, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
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
#endif
