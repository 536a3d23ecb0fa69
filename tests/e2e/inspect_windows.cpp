// Test tool: describes the top-level window of a class and title, its
// children and the screen, so that a test can check what the saver made.
// Usage: inspect_windows CLASS TITLE
// Prints "none" when there is no such window, else:
//   window style=<hex> exstyle=<hex> rect=<l>,<t>,<r>,<b> screen=<w>x<h>
//   child class=<class> title=<title> size=<w>x<h>      (one line per child,
//   place id=<control id> screen=<l>,<t>,<r>,<b>         each with its place)
//   count=<number of top-level windows of that class and title>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {
struct Search {
    const char* class_name;
    const char* title;
    int count;
};

BOOL CALLBACK CountMatching(HWND window, LPARAM parameter)
{
    Search* search = reinterpret_cast<Search*>(parameter);
    char class_name[256] = "", title[256] = "";
    GetClassNameA(window, class_name, sizeof class_name);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(class_name, search->class_name) == 0 && std::strcmp(title, search->title) == 0)
        ++search->count;
    return TRUE;
}

BOOL CALLBACK DescribeChild(HWND child, LPARAM)
{
    char class_name[256] = "", title[256] = "";
    GetClassNameA(child, class_name, sizeof class_name);
    GetWindowTextA(child, title, sizeof title);
    RECT rect;
    GetClientRect(child, &rect);
    std::printf("child class=%s title=%s size=%ldx%ld\n", class_name, title, rect.right,
                rect.bottom);
    RECT screen;
    GetWindowRect(child, &screen);
    std::printf("place id=%d screen=%ld,%ld,%ld,%ld\n", GetDlgCtrlID(child), screen.left, screen.top,
                screen.right, screen.bottom);
    return TRUE;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: inspect_windows CLASS TITLE\n");
        return 2;
    }
    HWND window = FindWindowA(argv[1], argv[2]);
    if (window == nullptr) {
        std::printf("none\n");
        return 0;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("window style=0x%08lX exstyle=0x%08lX rect=%ld,%ld,%ld,%ld screen=%dx%d\n",
                GetWindowLongA(window, GWL_STYLE), GetWindowLongA(window, GWL_EXSTYLE), rect.left,
                rect.top, rect.right, rect.bottom, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
    EnumChildWindows(window, DescribeChild, 0);
    Search search = {argv[1], argv[2], 0};
    EnumWindows(CountMatching, LPARAM(&search));
    std::printf("count=%d\n", search.count);
    return 0;
}
