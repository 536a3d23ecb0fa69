// A stand-in for a screen-saver daemon's window: an X window of the given
// size that takes the focus and prints its id for the saver's command line.
// Lines on standard input act on it: "resize W H" and "destroy", each
// answered once the server has done it. It ends at the end of input.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || argc != 3) return 2;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, unsigned(std::atoi(argv[1])),
                                              unsigned(std::atoi(argv[2])), 0, 0, WhitePixel(display, 0));
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event; XNextEvent(display, &event), event.type != MapNotify;) {
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    char line[64];
    unsigned width = 0, height = 0;
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::sscanf(line, "resize %u %u", &width, &height) == 2)
            XResizeWindow(display, window, width, height);
        else
            XDestroyWindow(display, window);
        XSync(display, False);
        std::puts("done");
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
