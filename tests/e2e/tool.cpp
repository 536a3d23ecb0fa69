// Test tool that acts on the saver from beside it under Wine, as the system
// and its settings dialog would. Subcommands:
//   run MS COMMAND...        runs COMMAND; prints "exit=<code>" signed, which
//                            Wine's own exit status cannot carry
//   find CLASS TITLE         the top-level window, its children and the
//                            number of such windows, or "none"
//   running                  "running=<0|1>": the saver-running flag as
//                            another process reads it
//   preview W H COMMAND...   runs COMMAND with "%HWND%" a W x H host window
//   resources SCR            the description and icon that the host shows
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// The rest of our own command line after some fields, byte for byte.
std::string Tail(int fields)
{
    const char* s = GetCommandLineA();
    for (int i = 0; i < fields; ++i) {
        const char* quote = *s == '"' ? std::strchr(s + 1, '"') : nullptr;
        s = quote ? quote + 1 : s + std::strcspn(s, " \t");
        s += std::strspn(s, " \t");
    }
    return s;
}

HANDLE Start(std::string command)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        std::printf("exit=cannot-start\n"), std::exit(2);
    return process.hProcess;
}

int ReportExit(HANDLE process, DWORD ms)
{
    DWORD code = 0;
    if (WaitForSingleObject(process, ms) == WAIT_TIMEOUT) return TerminateProcess(process, 3), std::printf("exit=timeout\n"), 1;
    GetExitCodeProcess(process, &code);
    return std::printf("exit=%ld\n", long(LONG(code))), 0;
}

// One line per window; a title's line feeds are shown as '|'.
void Describe(const char* label, HWND w)
{
    char name[64] = "", title[512] = "";
    RECT size{}, place{};
    GetClassNameA(w, name, sizeof name);
    GetWindowTextA(w, title, sizeof title);
    for (char* c = title; *c; ++c) *c = *c == '\n' ? '|' : *c;
    GetClientRect(w, &size);
    GetWindowRect(w, &place);
    if (!w) std::printf("%s none\n", label);
    else std::printf("%s class=%s title=%s size=%ldx%ld style=0x%08lX exstyle=0x%08lX id=%d at=%ld,%ld,%ld,%ld\n", label,
                     name, title, size.right, size.bottom, GetWindowLongA(w, GWL_STYLE), GetWindowLongA(w, GWL_EXSTYLE),
                     GetDlgCtrlID(w), place.left, place.top, place.right, place.bottom);
}

void Pump(DWORD ms)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
}

int Preview(int width, int height)
{
    WNDCLASSA host_class{};
    host_class.lpfnWndProc = DefWindowProcA;
    host_class.lpszClassName = "PreviewHost";
    RegisterClassA(&host_class);
    const HWND host = CreateWindowExA(0, "PreviewHost", "", WS_POPUP | WS_VISIBLE, 10, 10, width, height, nullptr,
                                      nullptr, nullptr, nullptr);
    std::string command = Tail(4);
    command.replace(command.find("%HWND%"), 6, std::to_string(uintptr_t(host)));
    const HANDLE saver = Start(command);
    // Shown once its creation, the render window inside it included, is done.
    for (int i = 0; i < 100 && !IsWindowVisible(GetWindow(host, GW_CHILD)); ++i) Pump(100);
    const HWND child = GetWindow(host, GW_CHILD);
    Describe("child", child);
    Describe("grandchild", GetWindow(child, GW_CHILD));
    PostMessageA(child, WM_KEYDOWN, 'A', 0);
    PostMessageA(child, WM_LBUTTONDOWN, 0, 0);
    Pump(1000);
    std::printf("running-after-key=%d\n", WaitForSingleObject(saver, 0) == WAIT_TIMEOUT);
    std::fflush(stdout);
    DestroyWindow(host);
    return ReportExit(saver, 15000);
}

BOOL CALLBACK DescribeChild(HWND child, LPARAM) { return Describe("child", child), TRUE; }

int Find(const char* name, const char* title)
{
    const HWND window = FindWindowA(name, title);
    if (!window) return std::printf("none\n"), 0;
    Describe("window", window);
    std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EnumChildWindows(window, DescribeChild, 0);
    int count = 0;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, name, title));) ++count;
    return std::printf("count=%d\n", count), 0;
}

int Resources(const char* path)
{
    const HMODULE scr = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char description[64] = "";
    LoadStringA(scr, 1, description, sizeof description);
    const HRSRC group = FindResourceA(scr, MAKEINTRESOURCEA(107), RT_GROUP_ICON);
    const BYTE* icons = static_cast<const BYTE*>(LockResource(LoadResource(scr, group)));
    // An icon directory: three words, then one 14-byte entry per image.
    if (!icons) return std::printf("description=%s icons=none\n", description), 1;
    std::printf("description=%s icons=%d first=%dx%d colours=%d bits=%d\n", description, icons[4], icons[6], icons[7],
                icons[8], icons[12]);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run" && argc > 3) return ReportExit(Start(Tail(3)), std::strtoul(argv[2], nullptr, 10));
    if (command == "find" && argc == 4) return Find(argv[2], argv[3]);
    if (command == "preview" && argc > 4) return Preview(std::atoi(argv[2]), std::atoi(argv[3]));
    if (command == "resources" && argc == 3) return Resources(argv[2]);
    if (command == "running") {
        BOOL running = FALSE;
        return std::printf("running=%d\n", SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) ? running : -1), 0;
    }
    return std::fprintf(stderr, "usage: e2e_tool run|find|running|preview|resources ...\n"), 2;
}
