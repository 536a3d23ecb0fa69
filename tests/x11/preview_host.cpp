// A stand-in for a screen-saver daemon's window, in two uses.
//
//   x11_preview_host WIDTH HEIGHT
// An X window of the given size that takes the focus and prints its id, in
// decimal, for the saver's command line. Lines on standard input act on it:
// "resize W H" (answered "resized" once the server has it), "destroy"
// (answered "destroyed"); it ends at the end of input.
//
//   x11_preview_host race SAVER RUNS
// Starts SAVER --window-id ID into a new window RUNS times and destroys the
// window at a different moment of each start-up, from at once to 0.4 s on.
// Every run must end by itself within 5 s with 0; prints one line per run and
// exits 0 only when all did.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
Window MakeWindow(Display* display, unsigned width, unsigned height)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, width, height, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, "Preview host");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    return window;
}

void Sleep(long microseconds)
{
    const timespec pause = {microseconds / 1000000, (microseconds % 1000000) * 1000};
    nanosleep(&pause, nullptr);
}

// The exit code, or -1 when the run is still going after the deadline
// (it is then killed).
int WaitWithDeadline(pid_t child, long deadline_us)
{
    for (long waited = 0; waited < deadline_us; waited += 10000) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        Sleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
}

int Race(Display* display, const char* saver, int runs)
{
    constexpr long LATEST_DESTRUCTION_US = 400000;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        const Window window = MakeWindow(display, 160, 120);
        XSync(display, False);
        const std::string id = std::to_string(window);
        const pid_t child = fork();
        if (child == 0) {
            execl(saver, saver, "--window-id", id.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const long delay = runs > 1 ? LATEST_DESTRUCTION_US * run / (runs - 1) : 0;
        Sleep(delay);
        XDestroyWindow(display, window);
        XSync(display, False);
        const int code = WaitWithDeadline(child, 5000000);
        std::printf("run %d: destroyed after %ld us, %s %d\n", run, delay, code < 0 ? "HUNG" : "exit", code);
        if (code != 0) ++failures;
    }
    std::printf("%d of %d runs failed\n", failures, runs);
    return failures == 0 ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 3;
    if (argc == 4 && std::strcmp(argv[1], "race") == 0) return Race(display, argv[2], std::atoi(argv[3]));
    if (argc != 3) return 2;
    const Window window = MakeWindow(display, unsigned(std::atoi(argv[1])), unsigned(std::atoi(argv[2])));
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);

    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        unsigned width = 0, height = 0;
        if (std::strncmp(line, "destroy", 7) == 0) {
            XDestroyWindow(display, window);
            XSync(display, False);
            std::printf("destroyed\n");
        } else if (std::sscanf(line, "resize %u %u", &width, &height) == 2) {
            XResizeWindow(display, window, width, height);
            XSync(display, False);
            std::printf("resized\n");
        }
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
