// A stand-in for a screen-saver daemon's preview: an X window of the given
// size that takes the focus and prints its id, in decimal, for the saver's
// command line. It destroys the window when a line "destroy" arrives on
// standard input, and ends at the end of input.
//   x11_preview_host WIDTH HEIGHT
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 3;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10,
                                              unsigned(std::atoi(argv[1])), unsigned(std::atoi(argv[2])), 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, "Preview host");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);

    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::strncmp(line, "destroy", 7) == 0) {
            XDestroyWindow(display, window);
            XSync(display, False);
            std::printf("destroyed\n");
            std::fflush(stdout);
        }
    }
    XCloseDisplay(display);
    return 0;
}
