"""A pointer for a Wayland compositor with no input devices (headless
sway): a virtual pointer (the wlroots protocol every wlroots compositor
offers) moved and clicked by hand, speaking the Wayland wire protocol
directly, so the scenarios need no client library for it."""

import os
import socket
import struct
import time

from desktop_session import ScenarioFailure

DISPLAY_ID, REGISTRY_ID = 1, 2
BUTTON_LEFT = 0x110  # BTN_LEFT from linux/input-event-codes.h
BUTTON_RIGHT = 0x111  # BTN_RIGHT
# Sizes of the output the absolute motions are relative to.
EXTENT = 10000


def _string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


class VirtualPointer:
    def __init__(self, wayland_display):
        path = wayland_display if os.path.isabs(wayland_display) else os.path.join(
            os.environ["XDG_RUNTIME_DIR"], wayland_display)
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.connect(path)
        self._next_id = REGISTRY_ID + 1
        self._buffer = b""
        self._send(DISPLAY_ID, 1, struct.pack("<I", REGISTRY_ID))  # wl_display.get_registry
        globals_ = self._globals()
        seat = self._bind(globals_, "wl_seat", 1)
        manager = self._bind(globals_, "zwlr_virtual_pointer_manager_v1", 1)
        self._pointer = self._new_id()
        self._send(manager, 0, struct.pack("<II", seat, self._pointer))  # create_virtual_pointer
        self._roundtrip()

    def move_to(self, x, y, screen):
        """Puts the pointer at (x, y) of an output of `screen` pixels."""
        self._send(self._pointer, 1, struct.pack("<IIIII", self._time(), round(x * EXTENT / screen[0]),
                                                 round(y * EXTENT / screen[1]), EXTENT, EXTENT))
        self._frame()

    def click(self, button=BUTTON_LEFT):
        self.press(button)
        self.release(button)

    def press(self, button=BUTTON_LEFT):
        self._button(button, 1)

    def release(self, button=BUTTON_LEFT):
        self._button(button, 0)

    def _button(self, button, state):
        self._send(self._pointer, 2, struct.pack("<III", self._time(), button, state))
        self._frame()
        self._roundtrip()

    def close(self):
        self._socket.close()

    # -- the wire -----------------------------------------------------------

    def _time(self):
        return int(time.monotonic() * 1000) & 0xFFFFFFFF

    def _frame(self):
        self._send(self._pointer, 4, b"")

    def _new_id(self):
        self._next_id += 1
        return self._next_id - 1

    def _send(self, object_id, opcode, arguments):
        self._socket.sendall(struct.pack("<II", object_id, (8 + len(arguments)) << 16 | opcode) + arguments)

    def _events(self, until):
        """Reads events until `until(object_id, opcode, body)` is true."""
        self._socket.settimeout(5)
        while True:
            while len(self._buffer) >= 8:
                object_id, word = struct.unpack_from("<II", self._buffer)
                size = word >> 16
                if len(self._buffer) < size:
                    break
                body, self._buffer = self._buffer[8:size], self._buffer[size:]
                if object_id == DISPLAY_ID and word & 0xFFFF == 0:  # wl_display.error
                    raise ScenarioFailure(f"the compositor refused the virtual pointer: {body[12:-1]!r}")
                if until(object_id, word & 0xFFFF, body):
                    return
            data = self._socket.recv(65536)
            if not data:
                raise ScenarioFailure("the compositor closed the virtual pointer's connection")
            self._buffer += data

    def _roundtrip(self):
        callback = self._new_id()
        self._send(DISPLAY_ID, 0, struct.pack("<I", callback))  # wl_display.sync
        self._events(lambda object_id, opcode, body: object_id == callback)

    def _globals(self):
        found = {}

        def record(object_id, opcode, body):
            if object_id == REGISTRY_ID and opcode == 0:  # wl_registry.global
                name, length = struct.unpack_from("<II", body)
                found[body[8:8 + length - 1].decode()] = name
            return False

        callback = self._new_id()
        self._send(DISPLAY_ID, 0, struct.pack("<I", callback))
        self._events(lambda object_id, opcode, body: record(object_id, opcode, body) or object_id == callback)
        return found

    def _bind(self, globals_, interface, version):
        if interface not in globals_:
            raise ScenarioFailure(f"the compositor offers no {interface}")
        new = self._new_id()
        self._send(REGISTRY_ID, 0, struct.pack("<I", globals_[interface]) + _string(interface)
                   + struct.pack("<II", version, new))
        return new
