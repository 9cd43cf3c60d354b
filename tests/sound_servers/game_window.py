# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The game's main window as a player reaches it from outside: keys, the board's picture, the close button.

Everything goes through the X server the game draws on (keys by the XTEST extension, the picture read back
from the server), so the game needs no hook of its own for the sound-server check.
"""

import hashlib
import struct
import time
import zlib

from Xlib import X, XK, display
from Xlib.error import XError
from Xlib.ext import xtest
from Xlib.protocol import event

TITLE = "Nokturna 1.0"

# The part of the window that a claimed line changes: the board from the turn label down to the last row
# of posts, in the window's pixels, left of the side panel that holds the running clock. A move shows here
# and nothing else does on its own once a game runs.
BOARD_AREA = (8, 24, 590, 494)  # x, y, width, height


class WindowGone(Exception):
    pass


class GameWindow:
    def __init__(self, display_name, pid):
        self._display = display.Display(display_name)
        self._root = self._display.screen().root
        self._pid = pid
        self._window = None
        self._net_wm_pid = self._display.intern_atom("_NET_WM_PID")
        self._wm_protocols = self._display.intern_atom("WM_PROTOCOLS")
        self._wm_delete = self._display.intern_atom("WM_DELETE_WINDOW")

    def close_connection(self):
        try:
            self._display.close()
        except Exception:
            pass

    def _find(self, title=TITLE):
        for window in self._root.query_tree().children:
            try:
                if window.get_wm_name() != title:
                    continue
                owner = window.get_full_property(self._net_wm_pid, X.AnyPropertyType)
                if owner is None or owner.value[0] != self._pid:
                    continue
                if window.get_attributes().map_state == X.IsViewable:
                    return window
            except XError:
                continue  # a window that went while it was looked at
        return None

    def wait_shown(self, timeout, alive):
        """Waits until the game's main window is on the screen; False if it is not within `timeout`."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and alive():
            self._window = self._find()
            if self._window is not None:
                return True
            time.sleep(0.05)
        return False

    def wait_other_window(self, title, timeout, alive):
        """Waits for another window of the game's, such as a question, and gives it the keyboard."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and alive():
            window = self._find(title)
            if window is not None:
                window.set_input_focus(X.RevertToParent, X.CurrentTime)
                self._display.sync()
                return window
            time.sleep(0.02)
        return None

    def shown(self):
        try:
            return self._find() is not None
        except XError:
            return False

    def focus(self):
        # Without a window manager nobody gives the window the keyboard: the check does, as a click would.
        self._window.set_input_focus(X.RevertToParent, X.CurrentTime)
        self._display.sync()

    def key(self, name):
        keysym = XK.string_to_keysym(name)
        keycode = self._display.keysym_to_keycode(keysym)
        if keycode == 0:
            raise ValueError("no key for " + name)
        xtest.fake_input(self._display, X.KeyPress, keycode)
        xtest.fake_input(self._display, X.KeyRelease, keycode)
        self._display.sync()

    def board_picture(self):
        """A digest of the board's pixels as the X server holds them, or None when the window is gone."""
        x, y, width, height = BOARD_AREA
        try:
            image = self._window.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        except XError:
            return None
        return hashlib.sha1(image.data).hexdigest()

    def wait_board_still(self, settle=0.3, timeout=5.0):
        """The board's picture once it has not changed for `settle` seconds (None if it keeps changing)."""
        deadline = time.monotonic() + timeout
        last = self.board_picture()
        since = time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.05)
            now = self.board_picture()
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= settle:
                return last
        return None

    def wait_board_changes(self, before, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            now = self.board_picture()
            if now is not None and now != before:
                return True
            time.sleep(0.01)
        return False

    def ask_to_close(self):
        """What a window manager sends for the close button."""
        message = event.ClientMessage(
            window=self._window,
            client_type=self._wm_protocols,
            data=(32, [self._wm_delete, X.CurrentTime, 0, 0, 0]),
        )
        self._window.send_event(message, event_mask=0)
        self._display.sync()

    def save_png(self, path):
        """The whole window as a PNG file, for a look at what went wrong."""
        # Read from the screen, not the window, so that an open menu or question shows too.
        geometry = self._window.get_geometry()
        width, height = geometry.width, geometry.height
        origin = self._window.translate_coords(self._root, 0, 0)
        data = self._root.get_image(-origin.x, -origin.y, width, height, X.ZPixmap, 0xFFFFFFFF).data
        rows = []
        for row in range(height):
            line = bytearray(b"\x00")
            for pixel in range(row * width * 4, (row + 1) * width * 4, 4):
                line += bytes((data[pixel + 2], data[pixel + 1], data[pixel]))
            rows.append(bytes(line))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows)))
                      + chunk(b"IEND", b""))
