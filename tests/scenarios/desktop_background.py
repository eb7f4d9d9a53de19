"""What a desktop puts under the widget, for X11 scenarios:
  root-pixmap R G B   a root pixmap of that colour, announced in
                      _XROOTPMAP_ID as wallpaper setters do, so compositors
                      have a desktop to blend over; exits when it is set.
  desktop-window R G B  a full-screen window of type DESKTOP in that colour,
                      as a file manager or plasmashell maps one; prints
                      "mapped" once the window manager lists it, then stays
                      until stopped.
Needs python3-xlib."""

import sys
import time

from Xlib import X, Xatom, display


def colour_pixel(screen, red, green, blue):
    return screen.default_colormap.alloc_color(red * 257, green * 257, blue * 257).pixel


def root_pixmap(connection, red, green, blue):
    screen = connection.screen()
    root = screen.root
    width, height = screen.width_in_pixels, screen.height_in_pixels
    pixmap = root.create_pixmap(width, height, screen.root_depth)
    gc = pixmap.create_gc(foreground=colour_pixel(screen, red, green, blue))
    pixmap.fill_rectangle(gc, 0, 0, width, height)
    for name in ("_XROOTPMAP_ID", "ESETROOT_PMAP_ID"):
        root.change_property(connection.intern_atom(name), Xatom.PIXMAP, 32, [pixmap.id])
    root.change_attributes(background_pixmap=pixmap)
    root.clear_area()
    # The pixmap outlives this client, as a wallpaper setter's does.
    connection.set_close_down_mode(X.RetainPermanent)
    connection.sync()


def desktop_window(connection, red, green, blue):
    screen = connection.screen()
    window = screen.root.create_window(0, 0, screen.width_in_pixels, screen.height_in_pixels, 0,
                                       screen.root_depth, background_pixel=colour_pixel(screen, red, green, blue))
    window.set_wm_name("desktop")
    window.change_property(connection.intern_atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                           [connection.intern_atom("_NET_WM_WINDOW_TYPE_DESKTOP")])
    window.map()
    connection.sync()
    listed = connection.intern_atom("_NET_CLIENT_LIST")
    for _ in range(200):
        found = screen.root.get_full_property(listed, Xatom.WINDOW)
        if found is not None and window.id in found.value:
            break
        time.sleep(0.05)
    print("mapped", flush=True)
    while True:
        connection.next_event()


def main():
    mode, red, green, blue = sys.argv[1], *map(int, sys.argv[2:5])
    connection = display.Display()
    {"root-pixmap": root_pixmap, "desktop-window": desktop_window}[mode](connection, red, green, blue)


if __name__ == "__main__":
    main()
