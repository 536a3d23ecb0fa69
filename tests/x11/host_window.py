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
Window, Display = ctypes.c_ulong, ctypes.c_void_p
X11.XOpenDisplay.restype = Display
X11.XDefaultRootWindow.restype = X11.XCreateSimpleWindow.restype = Window
X11.XCreateSimpleWindow.argtypes = [Display, Window] + [ctypes.c_int] * 5 + [ctypes.c_ulong] * 2
X11.XInternAtom.restype = ctypes.c_ulong
X11.XInternAtom.argtypes = [Display, ctypes.c_char_p, ctypes.c_int]
CLIENT_MESSAGE, REVERT_TO_PARENT, CURRENT_TIME = 33, 2, 0


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", Display), ("window", Window), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def ask_to_close(display_name, window):
    # What a window manager sends when the user closes a window: WM_DELETE_WINDOW.
    display = Display(X11.XOpenDisplay(display_name.encode()))
    event = XEvent()
    event.xclient.type, event.xclient.window, event.xclient.format = CLIENT_MESSAGE, window, 32
    event.xclient.message_type = X11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.data[0] = X11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    sent = X11.XSendEvent(display, Window(window), 0, ctypes.c_long(0), ctypes.byref(event))
    X11.XSync(display, 0)
    X11.XCloseDisplay(display)
    return sent != 0


class HostWindow:
    def __init__(self, display_name, width, height):
        self.display = Display(X11.XOpenDisplay(display_name.encode() if display_name else None))
        if not self.display:
            raise RuntimeError(f"cannot open the display {display_name}")
        root = X11.XDefaultRootWindow(self.display)
        self.id = X11.XCreateSimpleWindow(self.display, root, 10, 10, width, height, 0, 0, 0xFFFFFF)
        self.request(X11.XMapWindow)
        self.request(X11.XSetInputFocus, REVERT_TO_PARENT, Window(CURRENT_TIME))

    def request(self, call, *arguments):
        call(self.display, Window(self.id), *arguments)
        return X11.XSync(self.display, 0) == 1


if __name__ == "__main__":
    print(HostWindow(None, int(sys.argv[1]), int(sys.argv[2])).id, flush=True)
    while True:
        time.sleep(60)
