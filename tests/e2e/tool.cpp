// Test tool that acts on the saver from beside it under Wine, as the system
// and its settings dialog would. Subcommands:
//   run MS COMMAND...       runs COMMAND; prints "exit=<code>" signed, which
//                           Wine's own exit status cannot carry
//   preview W H COMMAND...  the same, with "%HWND%" a W x H host window; first
//                           describes what the saver made in it, and whether
//                           a key and a click there left it running
//   find CLASS TITLE        the top-level window, its children and the number
//                           of such windows, or "none"
//   running                 the saver-running flag as another process reads it
// Built as PASSWORD.CPL beside the saver, it stands in for the Windows 95/98
// password panel: VerifyScreenSavePwd answers with the digit in the file
// named by LUMENFALL_VERIFY_ANSWER_FILE, read at each call so that a test can
// change its mind, and logs each call, with whether it got a window and
// whether the system is marked as running a saver, to LUMENFALL_VERIFY_LOG.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef PASSWORD_PANEL
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    char path[MAX_PATH] = "";
    int answer = '0';
    BOOL running = -1;
    GetEnvironmentVariableA("LUMENFALL_VERIFY_ANSWER_FILE", path, sizeof path);
    if (FILE* file = std::fopen(path, "r")) answer = std::fgetc(file), std::fclose(file);
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    GetEnvironmentVariableA("LUMENFALL_VERIFY_LOG", path, sizeof path);
    if (FILE* log = std::fopen(path, "a"))
        std::fprintf(log, "VerifyScreenSavePwd window=%d answer=%c running=%d\n", IsWindow(window), answer, running), std::fclose(log);
    return answer == '1';
}
#else
namespace {
// One line per window; line feeds in the title show as '|'.
void Describe(const char* label, HWND w)
{
    char name[64] = "", title[512] = "";
    RECT size{}, at{};
    GetClassNameA(w, name, sizeof name);
    GetWindowTextA(w, title, sizeof title);
    for (char* c = std::strchr(title, '\n'); c; c = std::strchr(c, '\n')) *c = '|';
    GetClientRect(w, &size);
    GetWindowRect(w, &at);
    std::printf(w ? "%s class=%s title=%s size=%ldx%ld style=0x%08lX exstyle=0x%08lX id=%d at=%ld,%ld,%ld,%ld\n" : "%s none\n",
                label, name, title, size.right, size.bottom, GetWindowLongA(w, GWL_STYLE), GetWindowLongA(w, GWL_EXSTYLE),
                GetDlgCtrlID(w), at.left, at.top, at.right, at.bottom);
}

BOOL CALLBACK DescribeChild(HWND child, LPARAM) { return Describe("child", child), TRUE; }

void Pump(int ms)
{
    for (MSG message; ms > 0; ms -= 10, Sleep(10))
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}
}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "find" && argc == 4) {
        const HWND window = FindWindowA(argv[2], argv[3]);
        if (!window) return std::printf("none\n"), 0;
        Describe("window", window);
        std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        EnumChildWindows(window, DescribeChild, 0);
        int count = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, argv[2], argv[3]));) ++count;
        return std::printf("count=%d\n", count), 0;
    }
    if (command == "running") {
        BOOL running = -1;
        return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0), std::printf("running=%d\n", running), 0;
    }
    const bool preview = command == "preview" && argc > 4;
    if (!preview && (command != "run" || argc < 4)) return std::fprintf(stderr, "usage: see tool.cpp\n"), 2;
    // The rest of our own command line, byte for byte, is the command.
    const char* tail = GetCommandLineA();
    for (int field = 0; field < (preview ? 4 : 3); ++field) {
        const char* quote = *tail == '"' ? std::strchr(tail + 1, '"') : nullptr;
        tail = quote ? quote + 1 : tail + std::strcspn(tail, " \t");
        tail += std::strspn(tail, " \t");
    }
    std::string line = tail;
    HWND host = nullptr;
    if (preview) {
        host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, std::atoi(argv[2]), std::atoi(argv[3]),
                               nullptr, nullptr, nullptr, nullptr);
        line.replace(line.find("%HWND%"), 6, std::to_string(uintptr_t(host)));
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::printf("exit=cannot-start\n"), 2;
    if (preview) {
        // Shown once its creation, the render window inside it included, is done.
        for (int i = 0; i < 100 && !IsWindowVisible(GetWindow(host, GW_CHILD)); ++i) Pump(100);
        const HWND child = GetWindow(host, GW_CHILD);
        Describe("child", child);
        Describe("grandchild", GetWindow(child, GW_CHILD));
        PostMessageA(child, WM_KEYDOWN, 'A', 0);
        PostMessageA(child, WM_LBUTTONDOWN, 0, 0);
        Pump(1000);
        std::printf("running-after-key=%d\n", WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT);
        DestroyWindow(host);
    }
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, preview ? 15000 : std::strtoul(argv[2], nullptr, 10)) == WAIT_TIMEOUT)
        return TerminateProcess(process.hProcess, 3), std::printf("exit=timeout\n"), 1;
    GetExitCodeProcess(process.hProcess, &code);
    return std::printf("exit=%ld\n", long(LONG(code))), 0;
}
#endif
