#!/usr/bin/python3
"""Finds a top-level X11 window by its title, or asks it to close as a window manager would.

usage: x11_window.py wait TITLE SECONDS   exit 0 once a window with that title is mapped
       x11_window.py close TITLE          send WM_DELETE_WINDOW to that window
"""
import sys
import time

from Xlib import X, display, protocol


def find(d, title):
    stack = [d.screen().root]
    while stack:
        window = stack.pop()
        try:
            name = window.get_wm_name()
            attributes = window.get_attributes()
        except Exception:
            continue
        if name == title and attributes.map_state == X.IsViewable:
            return window
        try:
            stack.extend(window.query_tree().children)
        except Exception:
            pass
    return None


def main():
    command, title = sys.argv[1], sys.argv[2]
    d = display.Display()
    if command == "wait":
        deadline = time.time() + float(sys.argv[3])
        while time.time() < deadline:
            if find(d, title) is not None:
                return 0
            time.sleep(0.2)
        print(f"no window titled {title!r}", file=sys.stderr)
        return 1
    window = find(d, title)
    if window is None:
        print(f"no window titled {title!r}", file=sys.stderr)
        return 1
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event)
    d.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
