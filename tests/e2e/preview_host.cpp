// Test tool: plays the settings dialog's little monitor. It makes a host
// window with a client area of WIDTH x HEIGHT, starts COMMAND with "%HWND%"
// replaced by the host's handle in decimal, and reports what the saver makes
// inside it, whether key input closes it, and how it ends when the host goes.
// Usage: preview_host WIDTH HEIGHT COMMAND...
// Prints, one per line:
//   child class=<class> title=<title> size=<w>x<h> style=<hex>   (or "child none")
//   grandchild class=<class> title=<title> size=<w>x<h>           (or "grandchild none")
//   running-after-key=<0|1>
//   exit=<signed exit code>   (or exit=timeout)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <string>
#include <vector>

#include "tool_support.h"

namespace {
// Runs the host's messages for a while, so that the saver's child can be
// created and painted.
void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

bool StillRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }
}  // namespace

int main()
{
    if (__argc < 4) {
        std::fprintf(stderr, "usage: preview_host WIDTH HEIGHT COMMAND...\n");
        return 2;
    }
    const int width = std::atoi(__argv[1]);
    const int height = std::atoi(__argv[2]);
    const char* rest = CommandTailAfter(GetCommandLineA(), 3);

    WNDCLASSA host_class{};
    host_class.lpfnWndProc = DefWindowProcA;
    host_class.hInstance = GetModuleHandleA(nullptr);
    host_class.lpszClassName = "LumenfallTestPreviewHost";
    RegisterClassA(&host_class);
    RECT frame = {0, 0, width, height};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    HWND host = CreateWindowExA(0, host_class.lpszClassName, "Preview host", style, 10, 10,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, host_class.hInstance, nullptr);
    RECT client;
    GetClientRect(host, &client);
    if (client.right != width || client.bottom != height) {
        // Some window managers refuse the size; make the client area what we asked.
        SetWindowPos(host, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    std::string command(rest);
    const std::string token = "%HWND%";
    const size_t at = command.find(token);
    if (at != std::string::npos)
        command.replace(at, token.size(), std::to_string(uintptr_t(host)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("exit=cannot-start %lu\n", GetLastError());
        return 2;
    }

    HWND child = nullptr;
    for (int tries = 0; tries < 100 && child == nullptr; ++tries) {
        PumpFor(100);
        child = GetWindow(host, GW_CHILD);
    }
    if (child == nullptr) {
        std::printf("child none\n");
    } else {
        // The window is shown once its creation, the saver's own window
        // inside it included, has finished.
        for (int tries = 0; tries < 50 && !IsWindowVisible(child); ++tries) PumpFor(100);
        char class_name[256] = "", title[256] = "";
        GetClassNameA(child, class_name, sizeof class_name);
        GetWindowTextA(child, title, sizeof title);
        RECT rect;
        GetClientRect(child, &rect);
        std::printf("child class=%s title=%s size=%ldx%ld style=0x%08lX\n", class_name, title,
                    rect.right, rect.bottom, GetWindowLongA(child, GWL_STYLE));
        const HWND inner = GetWindow(child, GW_CHILD);
        if (inner == nullptr) {
            std::printf("grandchild none\n");
        } else {
            GetClassNameA(inner, class_name, sizeof class_name);
            GetWindowTextA(inner, title, sizeof title);
            GetClientRect(inner, &rect);
            std::printf("grandchild class=%s title=%s size=%ldx%ld\n", class_name, title, rect.right,
                        rect.bottom);
        }
        PostMessageA(child, WM_KEYDOWN, 'A', 0);
        PostMessageA(child, WM_LBUTTONDOWN, 0, 0);
        PumpFor(1000);
    }
    std::printf("running-after-key=%d\n", StillRunning(process.hProcess) ? 1 : 0);
    std::fflush(stdout);

    DestroyWindow(host);
    return ReportExit(process.hProcess, 15000);
}
