#!/usr/bin/env python3
"""Draw Brisvane's icon and write res/brisvane.ico.

The picture is a monitor whose screen shows two arrows chasing each other
round a circle: "switch the system this machine runs".  Both sizes are
16-colour images in the fixed Windows palette, so they look the same on
every display depth the program can meet, and the file stays small enough
to keep the executable lean.

The pixels are fixed maps and the file is packed field by field, so two
runs produce byte-identical files and the committed icon can be checked
against this script.

    python3 tools/make_icon.py                 # rewrite res/brisvane.ico
    python3 tools/make_icon.py --check         # fail if the file is stale
    python3 tools/make_icon.py --preview DIR   # magnified PNGs to look at
"""

import argparse
import os
import struct
import sys
import zlib

# The standard 16-colour palette, in the order Windows and every icon
# editor of the 4-bit era use, as (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# One letter per palette entry in the pixel maps below; "." is transparent.
KEY = {
    "K": 0,   # black: outlines
    "D": 8,   # grey: shadowed edges
    "S": 7,   # silver: the case
    "W": 15,  # white: lit edges, the outgoing arrow
    "N": 4,   # navy: the screen
    "Y": 11,  # yellow: the returning arrow
    "G": 10,  # lime: power lamp
    ".": None,
}

# Hand-placed pixels rather than scaled geometry: at these sizes every
# pixel shows, and a circle rendered by formula comes out lumpy.  The two
# arrows are each other turned half round the screen's centre, so they
# read as one loop: "switch the system this machine runs".
ART = {
    32: """
................................
.KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.
.KWWWWWWWWWWWWWWWWWWWWWWWWWWWDK.
.KWDDDDDDDDDDDDDDDDDDDDDDDDDDDK.
.KWDNNNNNNNNNNNNNNNNNNNNNNNNWDK.
.KWDNNNNNNNNWWWWWWWWNNNNNNNNWDK.
.KWDNNNNNNNWWWWWWWWWWNNNNNNNWDK.
.KWDNNNNNNWWWWWWWWWWWWNNNNNNWDK.
.KWDNNNNNWWWWWNNNNWWWWWNNNNNWDK.
.KWDNNNNNNNNNNNNNNNWWWWNNNNNWDK.
.KWDNNNNNYYNNNNNNNNNWWWWNNNNWDK.
.KWDNNNNYYYYNNNNNNWWWWWWWWNNWDK.
.KWDNNNYYYYYYNNNNNNWWWWWWNNNWDK.
.KWDNNYYYYYYYYNNNNNNWWWWNNNNWDK.
.KWDNNNNYYYYNNNNNNNNNWWNNNNNWDK.
.KWDNNNNNYYYYNNNNNNNNNNNNNNNWDK.
.KWDNNNNNYYYYYNNNNYYYYYNNNNNWDK.
.KWDNNNNNNYYYYYYYYYYYYNNNNNNWDK.
.KWDNNNNNNNYYYYYYYYYYNNNNNNNWDK.
.KWDNNNNNNNNYYYYYYYYNNNNNNNNWDK.
.KWDNNNNNNNNNNNNNNNNNNNNNNNNWDK.
.KWDWWWWWWWWWWWWWWWWWWWWWWWWWDK.
.KWSSSSSSSSSSSSSSSSSSSSSSSSSSDK.
.KWSSSSSSSSSSSSSSSSSSSSSSGGSSDK.
.KDDDDDDDDDDDDDDDDDDDDDDDDDDDDK.
.KKKKKKKKKKKKKKKKKKKKKKKKKKKKKK.
............KSSSSSDK............
............KSSSSSDK............
......KKKKKKKSSSSSDKKKKKKK......
......KWSSSSSSSSSSSSSSSSDK......
......KDDDDDDDDDDDDDDDDDDK......
......KKKKKKKKKKKKKKKKKKKK......
""",
    # Too small for thick arcs or a bevelled screen: one-pixel arcs with
    # corner heads, and a plain silver case so the white arc does not run
    # into a white bezel.
    16: """
KKKKKKKKKKKKKKKK
KSSSSSSSSSSSSSDK
KSNNNNWWWWNNNNDK
KSNNWWNNNNWNWNDK
KSNWNNNNNNNWWNDK
KSNNNNNNNNWWWNDK
KSNYYYNNNNNNNNDK
KSNYYNNNNNNNYNDK
KSNYNYNNNNYYNNDK
KSNNNNYYYYNNNNDK
KSSSSSSSSSSSGSDK
KKKKKKKKKKKKKKKK
.....KSSSDK.....
..KKKKSSSDKKKK..
..KWSSSSSSSSDK..
..KKKKKKKKKKKK..
""",
}

SIZES = (32, 16)  # directory order: the large image first, as Windows expects

DEFAULT_OUT = os.path.normpath(os.path.join(
    os.path.dirname(os.path.abspath(__file__)), os.pardir, "res",
    "brisvane.ico"))


def pixels(size):
    """The picture for one size as rows of palette indices (None = clear)."""
    rows = ART[size].strip("\n").split("\n")
    if len(rows) != size or any(len(r) != size for r in rows):
        raise ValueError("%dx%d pixel map is not square" % (size, size))
    return [[KEY[ch] for ch in row] for row in rows]


def _dib(px):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit XOR bitmap and
    1-bit AND mask, both stored bottom-up with rows padded to 32 bits."""
    n = len(px)
    xor_stride = ((n * 4 + 31) // 32) * 4
    and_stride = ((n + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(px):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                colour = 0  # black, so XOR leaves the background as it is
            line[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def build_ico():
    images = [_dib(pixels(n)) for n in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def decode_ico(data):
    """Read back what build_ico wrote: [(size, rows of colour-or-None)].
    Deliberately separate from the drawing code so previews show what a
    reader of the file sees, not what we meant to write."""
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    if kind != 1:
        raise ValueError("not an icon file")
    result = []
    for i in range(count):
        w, h, _, _, _, bpp, size, off = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        (hsize, bw, bh, _, bits, comp, _, _, _, used, _) = struct.unpack_from(
            "<IiiHHIIiiII", data, off)
        if (bw, bh, bits, comp) != (w, 2 * h, 4, 0) or bpp != 4:
            raise ValueError("image %d is not a plain 4-bit DIB" % i)
        pal_off = off + hsize
        ncol = used or 16
        pal = [struct.unpack_from("<BBBB", data, pal_off + 4 * k)[2::-1]
               for k in range(ncol)]
        xor_off = pal_off + 4 * ncol
        xor_stride = ((w * 4 + 31) // 32) * 4
        and_off = xor_off + xor_stride * h
        and_stride = ((w + 31) // 32) * 4
        if and_off + and_stride * h > off + size:
            raise ValueError("image %d is truncated" % i)
        rows = []
        for y in range(h):
            src = h - 1 - y
            row = []
            for x in range(w):
                byte = data[xor_off + src * xor_stride + x // 2]
                idx = byte >> 4 if x % 2 == 0 else byte & 15
                m = data[and_off + src * and_stride + x // 8]
                row.append(None if m & (0x80 >> (x % 8)) else pal[idx])
            rows.append(row)
        result.append((w, rows))
    return result


def write_png(path, rows, scale, backdrop=(0xFF, 0x00, 0xFF)):
    """Minimal RGB PNG; transparent pixels get a loud backdrop so holes in
    the mask are obvious when the preview is looked at."""
    h = len(rows) * scale
    w = len(rows[0]) * scale
    raw = bytearray()
    for row in rows:
        line = bytearray(b"\0")
        for p in row:
            line += bytes(p if p is not None else backdrop) * scale
        raw += bytes(line) * scale

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body +
                struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
           chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-o", "--output", default=DEFAULT_OUT)
    ap.add_argument("--check", action="store_true",
                    help="compare with the existing file instead of writing")
    ap.add_argument("--preview", metavar="DIR",
                    help="also write magnified PNGs of each image to DIR")
    args = ap.parse_args(argv)

    data = build_ico()
    if args.check:
        try:
            with open(args.output, "rb") as f:
                current = f.read()
        except OSError as e:
            print("make_icon: %s" % e, file=sys.stderr)
            return 1
        if current != data:
            print("make_icon: %s is out of date; run tools/make_icon.py"
                  % args.output, file=sys.stderr)
            return 1
    else:
        with open(args.output, "wb") as f:
            f.write(data)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for size, rows in decode_ico(data):
            write_png(os.path.join(args.preview, "icon%d.png" % size),
                      rows, 256 // size)
    return 0


if __name__ == "__main__":
    sys.exit(main())
