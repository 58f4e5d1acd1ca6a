"""Real X input: every click and key goes through the X server (XTest, by xdotool)."""
import ctypes
import re
import subprocess
import time

import atspi_view as a11y


def _xdotool(*args):
    subprocess.run(["xdotool"] + list(args), check=True, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def _pointer():
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True, text=True,
                         timeout=30, check=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def move_to(x, y):
    # --sync waits for a motion, and there is none when the pointer is already there.
    if _pointer() != (x, y):
        _xdotool("mousemove", "--sync", str(x), str(y))


def click_at(x, y, count=1):
    move_to(x, y)
    # A short rest, so the toolkit sees the pointer arrive before the button goes down.
    time.sleep(0.05)
    _xdotool("click", "--repeat", str(count), "--delay", "80", "1")


def click(acc, count=1):
    x, y = a11y.centre(acc)
    click_at(x, y, count)


def key(*names):
    """Presses and releases each key in turn (X key names: Return, Escape, Home, ctrl+a)."""
    for n in names:
        _xdotool("key", "--clearmodifiers", n)
        time.sleep(0.05)


def type_text(text):
    """Types text one key at a time, as a person does."""
    _xdotool("type", "--clearmodifiers", "--delay", "60", "--", text)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def close_window(title):
    """Asks the window titled title to close, as a window manager's close button does
    (WM_DELETE_WINDOW); this X server runs no window manager."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(title)],
                           capture_output=True, text=True, timeout=30).stdout.split()
    if len(found) != 1:
        raise AssertionError("expected one window titled %r, found %d" % (title, len(found)))
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        raise AssertionError("cannot open the X display")
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = int(found[0])
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(display, int(found[0]), 0, 0, ctypes.byref(event)):
            raise AssertionError("the close request could not be sent")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)
