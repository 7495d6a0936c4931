"""What the checks of the Windows programs (tests/win32/check_programs.py)
and of the browser page (tests/web/check_page.py) share: the expected
start-up transcript, PNG pictures and their difference from the reference
frames, and the PASS/FAIL report."""

import os
import re
import struct
import time
import zlib


def expected_transcript(source):
    """The transcript the Linux end-to-end tests expect, read from their
    header so that both platforms are held to one text."""
    path = os.path.join(source, "tests/e2e/startup_transcript.h")
    with open(path, encoding="utf-8") as file:
        text = file.read()
    match = re.search(r"const std::string startupTranscript =(.*?);", text, re.S)
    if not match:
        raise RuntimeError(f"no transcript in {path}")
    pieces = re.findall(r'"((?:[^"\\]|\\.)*)"', match.group(1))
    return "".join(piece.encode().decode("unicode_escape") for piece in pieces)


def read_png(path):
    """8-bit RGB, RGBA or grey PNG as (width, height, rows of RGB bytes, or of
    grey bytes for a grey picture)."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG file")
    at, header, compressed = 8, None, b""
    while at < len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind = data[at + 4 : at + 8]
        body = data[at + 8 : at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (0, 2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit grey or RGB(A) without interlacing is read here")
    channels = {0: 1, 2: 3, 6: 4}[colour]
    raw = zlib.decompress(compressed)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[x] = (line[x] + guess) & 0xFF
        rows.append(bytes(line) if channels != 4 else bytes(b for i, b in enumerate(line) if i % 4 != 3))
        previous = line
    return width, height, rows


def difference(a, b):
    """Mean absolute channel difference and the share of pixels with a channel
    off by more than 16, as tests/e2e/image_compare.cpp measures them."""
    if a[:2] != b[:2]:
        return None
    total = changed = 0
    for row_a, row_b in zip(a[2], b[2]):
        for x in range(0, len(row_a), 3):
            offs = [abs(row_a[x + c] - row_b[x + c]) for c in range(3)]
            total += sum(offs)
            changed += max(offs) > 16
    pixels = a[0] * a[1]
    return total / (pixels * 3), changed / pixels


class Report:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, ok, detail="", started=None, figures=""):
        took = f" ({time.monotonic() - started:.1f} s)" if started is not None else ""
        figures = f": {figures}" if figures else ""
        print(f"{'PASS' if ok else 'FAIL'} {name}{took}{figures}", flush=True)
        if not ok and detail:
            print("     " + detail.replace("\n", "\n     "), flush=True)
        if ok:
            self.passed += 1
        else:
            self.failed += 1
