#!/usr/bin/env python3
# A window of another client's, as a screen-saver daemon or a settings
# dialog's preview pane has, made through libX11 directly; it takes the
# focus, and each request is done once it returns. Run as a program, it makes
# one of the given size on $DISPLAY, prints its id and stays until stopped.
#     host_window.py WIDTH HEIGHT
import ctypes
import sys
import time

X11 = ctypes.CDLL("libX11.so.6")
X11.XOpenDisplay.restype = ctypes.c_void_p
X11.XDefaultRootWindow.restype = X11.XCreateSimpleWindow.restype = ctypes.c_ulong
X11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 5 + [ctypes.c_ulong] * 2


class HostWindow:
    def __init__(self, display_name, width, height):
        self.display = ctypes.c_void_p(X11.XOpenDisplay(display_name.encode() if display_name else None))
        self.id = X11.XCreateSimpleWindow(self.display, X11.XDefaultRootWindow(self.display), 10, 10, width, height, 0, 0,
                                          0xFFFFFF)
        self.request(X11.XMapWindow)
        self.request(X11.XSetInputFocus, 2, ctypes.c_ulong(0))  # RevertToParent, CurrentTime

    def request(self, call, *arguments):
        call(self.display, ctypes.c_ulong(self.id), *arguments)
        return X11.XSync(self.display, 0) == 1


if __name__ == "__main__":
    print(HostWindow(None, int(sys.argv[1]), int(sys.argv[2])).id, flush=True)
    while True:
        time.sleep(60)
