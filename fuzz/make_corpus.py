#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: valid frame streams of both sides, wall
layouts as the X86 service hands them over, and Linux service answers for the port.

Usage: fuzz/make_corpus.py [corpus-dir]   (default: fuzz/corpus next to this script)
The layouts follow docs/protocol.md.
"""
import os
import struct
import sys

MAGIC = 0x4D44


def frame(kind, request_id=0, payload=b""):
    return struct.pack("<HHII", MAGIC, kind, request_id, len(payload)) + payload


def ints(*values):
    return struct.pack("<%di" % len(values), *values)


def text(value):
    data = value.encode()
    return struct.pack("<H", len(data)) + data


def hello(role):
    return frame(0x0001, 0, b"DMXP" + struct.pack("<HH", 1, role))


def field(value, size):
    data = value.encode()[: size - 1]
    return data + b"\0" * (size - len(data))


def chn_info(sequence):
    return (field("gate %d" % sequence, 100) + field("dvr", 17) + b"\0" * 3 + ints(7)
            + field("10.0.0.7", 17) + field("viewer", 32) + field("pw", 32) + b"\0" * 3
            + ints(sequence, sequence))


def cell_channel(position, protocol="qbz"):
    return (ints(position) + field("192.168.5.20", 64) + field("NVR", 64) + field("nvr", 20)
            + struct.pack("<H", 8000) + b"\0\0" + ints(position + 1) + field("admin", 16)
            + field("pass", 16) + field(protocol, 16) + b"\0" * 256)


def region(index, columns, melt=0, width=1000000, height=1000000):
    return ints(index, melt, (index % columns) * 1000000 if not melt else 0,
                (index // columns) * 1000000 if not melt else 0, width, height)


def layout(rows, columns, config=0):
    windows = b""
    for k in range(rows * columns):
        left, top = (k % columns) * 1920, (k // columns) * 1080
        rect = ints(left, top, left + 1920, top + 1080)
        windows += rect + rect + ints(k, 1, 0, 0, 0)
    return ints(0, 0, columns * 1920, rows * 1080, rows * columns, 8, config, rows, columns) + windows


def reply(kind, request_id, result, body=b""):
    return frame(kind | 0x8000, request_id, ints(result) + body)


def server_seeds():
    x86_login = frame(0x1001, 1, text("") + text(""))
    linux_login = frame(0x2001, 1, ints(1) + text("admin") + text("admin"))
    session = frame(0x2002, 2)
    grid = frame(0x2007, 3, ints(2, 2)) + frame(
        0x200C, 4, ints(4) + b"".join(region(k, 2) for k in range(4)))
    x86 = hello(1) + x86_login
    linux = hello(2) + linux_login + session
    return {
        # first byte: bit 0 Linux, bit 1 already logged in
        "x86-login": b"\x00" + x86,
        "x86-wall": b"\x00" + x86 + frame(0x1003, 2, ints(2, 2)) + frame(0x1007, 3, ints(1, 9))
        + frame(0x100E, 4, ints(0, 10, 10, 1000, 900)) + frame(0x1005, 5, ints(0, 3))
        + frame(0x100D, 6, ints(1, 100, 100)) + frame(0x1004, 7),
        "x86-sources": b"\x02" + frame(0x1003, 1, ints(1, 2))
        + frame(0x1008, 2, ints(0, 2) + chn_info(1) + chn_info(2))
        + frame(0x1009, 3, ints(1, 3, 20) + chn_info(1) + chn_info(2) + chn_info(3))
        + frame(0x100B, 4, ints(1, 1)) + frame(0x100B, 5, ints(1, 2)) + frame(0x100C, 6, ints(0)),
        "x86-config": b"\x02" + frame(0x1003, 1, ints(2, 4)) + frame(0x1006, 2, ints(1))
        + frame(0x1005, 3, ints(2, 5)) + frame(0x1006, 4, ints(0)) + frame(0x100A, 5, ints(3)),
        "x86-force": b"\x00" + hello(1) + frame(0x1002, 1) + x86_login,
        "linux-login": b"\x01" + linux,
        "linux-grid": b"\x01" + linux + grid + frame(0x200A, 5, ints(4) + bytes([3, 2, 1, 0]))
        + frame(0x2009, 6) + frame(0x200B, 7) + frame(0x2008, 8, ints(1)),
        "linux-cells": b"\x03" + grid
        + frame(0x200F, 5, ints(1, 4, 3) + cell_channel(0) + cell_channel(-1) + cell_channel(5))
        + frame(0x2010, 6, ints(1) + cell_channel(7)) + frame(0x2011, 7, ints(1) + cell_channel(7, "onvif"))
        + frame(0x2012, 8, ints(1, 0)) + frame(0x2013, 9, ints(1)) + frame(0x2018, 10, ints(1, 9, 0))
        + frame(0x2014, 11, ints(1, 20, 0, 0)) + frame(0x2015, 12, ints(1))
        + frame(0x2016, 13, ints(1, 1, 2)) + frame(0x2017, 14, ints(1)) + frame(0x200E, 15, ints(1)),
        "linux-melt": b"\x03" + grid + frame(0x200D, 5, region(2, 2, 1, 2000000, 2000000))
        + frame(0x200B, 6) + frame(0x200D, 7, region(2, 2)),
        "linux-device": b"\x03" + frame(0x2005, 1, ints(2) + text("http://h/fw/matrix-2.0.bin"))
        + frame(0x2006, 2) + frame(0x2006, 3) + frame(0x2006, 4)
        + frame(0x2005, 5, ints(0) + text("")) + frame(0x2006, 6) + frame(0x2006, 7)
        + frame(0x2004, 8, ints(1)) + frame(0x2003, 9),
    }


def client_seeds():
    ack = frame(0x0002, 0, struct.pack("<HHi", 1, 1, 0))
    linux_ack = frame(0x0002, 0, struct.pack("<HHi", 1, 2, 0))
    return {
        # first byte: where the stream is cut in two
        "x86-session": b"\x05" + ack + reply(0x1001, 1, 0) + frame(0x4002, 0, layout(0, 0))
        + frame(0x4002, 0, layout(2, 2)) + frame(0x4001, 0, ints(8, 2, 2))
        + frame(0x4002, 0, layout(1, 3, 1)) + reply(0x1002, 2, -1),
        "x86-kicked": b"\x30" + ack + reply(0x1001, 1, 2) + frame(0x4003, 0, ints(1)),
        "x86-refused": b"\x00" + frame(0x0002, 0, struct.pack("<HHi", 1, 1, -10)),
        "linux-replies": b"\x11" + linux_ack + reply(0x2001, 1, 0) + reply(0x2002, 2, 0)
        + reply(0x2009, 3, 0, ints(4) + bytes([0, 1, 2, 3]))
        + reply(0x200B, 4, 0, ints(2) + region(0, 2) + b"\0" * 40 + region(1, 2) + b"\0" * 40)
        + reply(0x2013, 5, 0, ints(4, 2) + cell_channel(0) + cell_channel(3))
        + reply(0x2015, 6, 0, ints(30, 2, 0)) + reply(0x2017, 7, 0, ints(1, 3))
        + reply(0x2006, 8, 0, struct.pack("<iB3xi", 50, 0, 0))
        + reply(0x2006, 9, -16, struct.pack("<iB3xi", 100, 1, 0))
        + reply(0x2013, 10, -9),
    }


def rect(left, top, right, bottom):
    return ints(left, top, right, bottom)


def wall_input(width, height, flags, wall, count, params, windows, drag=(40, 30, 60, 20)):
    """fuzz_wall_layout: wall size, flags, layout head, window records, drag."""
    return (struct.pack("<HHB", width, height, flags) + wall + ints(count, *params)
            + b"".join(windows) + struct.pack("<hhhh", *drag))


def window(index, home, current=None, split=1, layer=0, param4=0, turn=0):
    return home + (current or home) + ints(index, split, layer, param4, turn)


def grid_windows(rows, columns, width=1920, height=1080, split=1):
    out = []
    for k in range(rows * columns):
        left, top = (k % columns) * width, (k // columns) * height
        out.append(window(k, rect(left, top, left + width, top + height), split=split))
    return out


def wall_seeds():
    wall_2x2 = rect(0, 0, 3840, 2160)
    return {
        "wall-2x2": wall_input(320, 180, 0, wall_2x2, 4, (8, 0, 2, 2), grid_windows(2, 2)),
        "wall-config-swap": wall_input(800, 450, 1 | 4, wall_2x2, 4, (8, 1, 2, 2),
                                       grid_windows(2, 2), (500, 300, -400, -250)),
        "wall-no-arrangement": wall_input(640, 360, 0, rect(0, 0, 0, 0), 0, (8, 0, 0, 0), []),
        "wall-zero-pixels": wall_input(0, 0, 16, wall_2x2, 4, (8, 0, 2, 2), grid_windows(2, 2)),
        "wall-zero-rect": wall_input(800, 450, 8, rect(0, 0, 0, 0), 2, (8, 0, 1, 2),
                                     grid_windows(1, 2)),
        "count-negative": wall_input(800, 450, 0, wall_2x2, -7, (8, 0, 2, 2), []),
        "count-huge": wall_input(800, 450, 2, wall_2x2, 0x7FFFFFFF, (8, 0, 2, 2),
                                 grid_windows(1, 2)),
        "rects-odd": wall_input(1024, 600, 32 | 64, rect(-1920, -1080, 1920, 1080), 3,
                                (8, 0, 2, 2),
                                [window(0, rect(0, 0, 10, 10), rect(-5000, -5000, -4000, -4000), 36),
                                 window(1, rect(0, 0, 10, 10), rect(100, 100, 50, 50), 0, 2, 0, 2),
                                 window(-3, rect(2147483600, 0, 2147483647, 10),
                                        rect(0, 0, 2147483647, 2147483647), 25, 1, 3, 1)],
                                (1, 1, 300, 200)),
        "resize-corner": wall_input(240, 135, 8 | 16, wall_2x2, 4, (8, 0, 2, 2),
                                    grid_windows(2, 2, split=16), (118, 66, 40, 30)),
    }


def port_answers(numbers=(3, 2, 1, 0), grid=None, cells=None, result=0, counts=None):
    """fuzz_port_readers: the service's answers in call order (see the target's comment)."""
    ok = bytes([0x80 | (-result) if result else 0])
    counts = counts or {}

    def screen_numbers():
        count = counts.get("numbers", len(numbers))
        return ok + ints(count) + bytes(numbers)

    def screen_grid(regions):
        count = counts.get("grid", len(regions))
        return ok + ints(count) + b"".join(regions)

    def cell_channels(channels, split):
        out = ok + ints(counts.get("channels", len(channels)), split)
        for position, number, address in channels:
            data = address.encode()
            out += ints(position, number) + bytes([len(data)]) + data
        return out

    grid = grid if grid is not None else [region(k, 2) for k in range(4)]
    cells = cells if cells is not None else [
        ([(0, 1, "192.168.5.20"), (1, 2, "192.168.5.20"), (2, 1, "N10.0.0.9")], 4)] * 4
    direct = (screen_numbers() + screen_grid(grid) + cell_channels(*cells[0])
              + ok + ints(20, 0, 0)                      # turn show
              + ok + bytes([1]) + ints(2)                 # single window
              + ok + struct.pack("<iB3xi", 50, 0, 0))     # upgrade status
    page = screen_numbers() + screen_grid(grid)
    for channels, split in cells:
        page += cell_channels(channels, split) + ok + bytes([0]) + ints(0) + ok + ints(30, 2, 0)
    return bytes([1]) + direct + page


def port_seeds():
    sixteen = [(k, 1 + k % 2, "192.168.5.20") for k in range(16)]
    return {
        "wall-2x2": port_answers(),
        "wall-1x1-full-cell": port_answers(numbers=(0, 1, 2, 3), grid=[region(0, 1)],
                                           cells=[(sixteen, 16)]),
        "melted-cell": port_answers(grid=[region(2, 2, 1, 2000000, 2000000)]),
        "liar-counts": port_answers(counts={"numbers": 70000, "grid": 99, "channels": 40}),
        "negative-counts": port_answers(counts={"numbers": -1, "grid": -2147483648,
                                                "channels": -5}),
        "refused": port_answers(result=-9),
        "odd-records": port_answers(numbers=(9, 9, 9, 9),
                                    grid=[ints(7, 0, -1000000, 2147483647, 0, -5)],
                                    cells=[([(-1, 0, "x" * 64), (99, -3, "")], 7)]),
    }


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    for target, seeds in (("fuzz_server_frames", server_seeds()),
                          ("fuzz_client_frames", client_seeds()),
                          ("fuzz_wall_layout", wall_seeds()),
                          ("fuzz_port_readers", port_seeds())):
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
