// Test tool that looks at the saver from beside it under Wine, as the system
// and its settings dialog would: `e2e_tool CLASS TITLE` prints the screen's
// size, and the top-level window and its children, or "window none".
#include <windows.h>

#include <cstdio>

// One line per window (and one more for each line feed in its title).
static void Describe(const char* label, HWND w)
{
    char name[64] = "", title[512] = "";
    RECT size{}, at{};
    GetClassNameA(w, name, sizeof name);
    GetWindowTextA(w, title, sizeof title);
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
    if (argc != 3) return 2;
    const HWND window = FindWindowA(argv[1], argv[2]);
    std::printf("screen=%dx%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Describe("window", window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        Describe("child", child);
    return 0;
}
