#!/usr/bin/env python3
"""Writes BMP files of every header version, depth and compression that
readers meet, each beside the picture it must decode to.

Usage: bmp_variants.py FOLDER
For each variant NAME it writes FOLDER/NAME.bmp and FOLDER/NAME.pam (the
expected pixels, RGBA), and prints "NAME IM" where ImageMagick 6 decodes the
variant to the same pixels, or "NAME -" where it does not: it refuses OS/2 2.x
headers shorter than 64 bytes, 2-bit pixels and BI_ALPHABITFIELDS; it reads
4-byte OS/2 2.x colours as 3-byte ones, the spare byte of 32-bit BI_RGB as
alpha, an alpha mask past the end of a V2 header, and widens 4- and 1-bit
samples by shifting (15 -> 240, not 255). The test compares with ImageMagick
where it agrees and with the expected pixels always.
"""
import os
import struct
import sys

from variant_pixels import pack_samples, widen, write_pam

W, H = 37, 23  # odd width: every depth's rows need padding


def pam(path, pixels):
    write_pam(path, W, H, pixels)


def palette(count):
    return [((i * 37) % 256, (i * 91 + 20) % 256, (255 - i * 53) % 256) for i in range(count)]


def info_header(size, bpp, compression, height, image_bytes=0, colors=0, masks=None):
    """An info header of any size from 16 to 124; masks (r, g, b, a) go in the
    V2 and later headers."""
    fields = struct.pack("<IiiHHIIiiII", size, W, height, 1, bpp, compression, image_bytes, 2835, 2835, colors, 0)
    if size >= 52 and masks:
        fields += struct.pack("<III", *masks[:3])
        if size >= 56:
            fields += struct.pack("<I", masks[3])
    if size >= 108:
        fields += struct.pack("<I", 0x73524742)  # sRGB
    fields = fields.ljust(size, b"\0")
    return fields[:size]


def core_header(bpp):
    return struct.pack("<IHHHH", 12, W, H, 1, bpp)


def write_bmp(path, header, extra, pixels):
    offset = 14 + len(header) + len(extra)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(header + extra + pixels)


def pad(row):
    return row + b"\0" * ((-len(row)) % 4)


def indexed_rows(bpp, indices, top_down):
    rows = [pad(pack_samples(row, bpp)) for row in indices]
    return b"".join(rows if top_down else rows[::-1])


def paletted(name, folder, bpp, size, top_down=False, used=None):
    count = used or (1 << bpp)
    pal = palette(count)
    indices = [[(x // 3 + y * 5) % count for x in range(W)] for y in range(H)]
    entry = 3 if size == 12 else 4
    table = b"".join(bytes((b, g, r)) + (b"" if entry == 3 else b"\0") for r, g, b in pal)
    header = core_header(bpp) if size == 12 else info_header(size, bpp, 0, -H if top_down else H,
                                                             colors=count if used else 0)
    write_bmp(os.path.join(folder, name + ".bmp"), header, table, indexed_rows(bpp, indices, top_down))
    pam(os.path.join(folder, name + ".pam"), [[pal[i] + (255,) for i in row] for row in indices])


def truecolor(name, folder, size, bpp=24, top_down=False):
    colors = [[((x * 7) % 256, (y * 11) % 256, (x * y * 3) % 256) for x in range(W)] for y in range(H)]
    rows = []
    for row in colors:
        if bpp == 24:
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
        else:  # 32-bit BI_RGB: the spare byte is no alpha
            data = b"".join(bytes((b, g, r, 0x5A)) for r, g, b in row)
        rows.append(pad(data))
    pixels = b"".join(rows if top_down else rows[::-1])
    header = core_header(bpp) if size == 12 else info_header(size, bpp, 0, -H if top_down else H)
    write_bmp(os.path.join(folder, name + ".bmp"), header, b"", pixels)
    pam(os.path.join(folder, name + ".pam"), [[c + (255,) for c in row] for row in colors])


def masked(name, folder, size, bpp, masks, compression=3, top_down=False):
    """BI_BITFIELDS (or BI_ALPHABITFIELDS): masks in the header from V2 on,
    after a 40-byte header otherwise."""
    def channel(word, mask):
        if mask == 0:
            return None
        shift = (mask & -mask).bit_length() - 1
        bits = bin(mask).count("1")
        value = (word & mask) >> shift
        return value >> (bits - 8) if bits >= 8 else widen(value, bits)

    expected, rows = [], []
    for y in range(H):
        row_px, data = [], bytearray()
        for x in range(W):
            word = (x * 2654435761 + y * 40503) & ((1 << bpp) - 1)
            if masks[3] and y == 0 and x < 3:
                word &= ~masks[3] & ((1 << bpp) - 1)  # some pixels fully transparent
            data += word.to_bytes(bpp // 8, "little")
            alpha = channel(word, masks[3])
            row_px.append((channel(word, masks[0]), channel(word, masks[1]), channel(word, masks[2]),
                           255 if alpha is None else alpha))
        expected.append(row_px)
        rows.append(pad(bytes(data)))
    pixels = b"".join(rows if top_down else rows[::-1])
    header = info_header(size, bpp, compression, -H if top_down else H, masks=masks)
    extra = b""
    if size == 40:
        extra = struct.pack("<III", *masks[:3]) + (struct.pack("<I", masks[3]) if compression == 6 else b"")
    write_bmp(os.path.join(folder, name + ".bmp"), header, extra, pixels)
    pam(os.path.join(folder, name + ".pam"), expected)


class RleWriter:
    """Emits RLE8 or RLE4 codes and keeps the picture they describe (rows
    bottom-up, as the codes run); pixels never written keep index 0."""

    def __init__(self, four):
        self.four = four
        self.codes = bytearray()
        self.picture = [[0] * W for _ in range(H)]
        self.x = self.y = 0

    def put(self, index):
        if self.x < W and self.y < H:
            self.picture[self.y][self.x] = index
        self.x += 1

    def run(self, count, a, b=None):
        b = a if b is None else b
        self.codes += bytes((count, (a << 4 | b) if self.four else a))
        for i in range(count):
            self.put(b if self.four and i % 2 else a)

    def literal(self, values):
        self.codes += bytes((0, len(values)))
        packed = pack_samples(values, 4) if self.four else bytes(values)
        self.codes += packed + b"\0" * (len(packed) % 2)
        for v in values:
            self.put(v)

    def end_of_line(self):
        self.codes += b"\0\0"
        self.x, self.y = 0, self.y + 1

    def delta(self, dx, dy):
        self.codes += bytes((0, 2, dx, dy))
        self.x += dx
        self.y += dy

    def end(self):
        self.codes += b"\0\1"


def rle(name, folder, four):
    count = 16 if four else 256
    pal = palette(count)
    w = RleWriter(four)
    for y in range(H - 3):  # the last rows are left to the end-of-bitmap code
        if w.y != y:
            continue  # a delta moved into this row already
        kind = y % 4
        if kind == 0:  # runs only
            x = 0
            while x < W:
                n = min(5, W - x)
                w.run(n, (x + y) % count, (x + y + 3) % count)
                x += n
        elif kind == 1:  # literals and a run
            w.literal([(y * 3 + i) % count for i in range(9)])
            w.literal([(y + i * 7) % count for i in range(4)])
            w.run(W - 13, 7 % count)
        elif kind == 2:  # a run, a jump right in the row, a short literal, end of line early
            w.run(6, 2, 9 % count)
            w.delta(10, 0)
            w.literal([1, 5 % count, 11 % count])
        else:  # a jump into the next row, which then goes on from there
            w.run(4, 3)
            w.delta(5, 1)
            w.run(W - 9, 4, 6)
        w.end_of_line()
    w.end()
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    header = info_header(40, 4 if four else 8, 2 if four else 1, H, image_bytes=len(w.codes), colors=count)
    # Two bytes after the end-of-bitmap code, which ImageMagick reads ahead.
    write_bmp(os.path.join(folder, name + ".bmp"), header, table, bytes(w.codes) + b"\0\0")
    pam(os.path.join(folder, name + ".pam"), [[pal[i] + (255,) for i in row] for row in w.picture[::-1]])


def main():
    folder = sys.argv[1]
    out = []

    def variant(name, im_reads, make, *args, **kw):
        make(name, folder, *args, **kw)
        out.append("%s %s" % (name, "IM" if im_reads else "-"))

    # OS/2 1.x core header: 3-byte colour entries, only the colours used.
    variant("core_1", True, paletted, 1, 12)
    variant("core_4", True, paletted, 4, 12)
    variant("core_8_short_palette", True, paletted, 8, 12, used=50)
    variant("core_24", True, truecolor, 12)
    # OS/2 2.x: the full 64-byte header, and one that stops after 16 bytes.
    variant("os2_64_8", False, paletted, 8, 64)
    variant("os2_64_24", True, truecolor, 64)
    variant("os2_16_4", False, paletted, 4, 16)
    # Windows info header.
    variant("info_1", True, paletted, 1, 40)
    variant("info_2", False, paletted, 2, 40)
    variant("info_4", True, paletted, 4, 40)
    variant("info_8", True, paletted, 8, 40)
    variant("info_8_used_20", True, paletted, 8, 40, used=20)
    variant("info_8_top_down", True, paletted, 8, 40, top_down=True)
    variant("info_16_555", True, masked, 40, 16, (0x7C00, 0x03E0, 0x001F, 0), compression=0)
    variant("info_24", True, truecolor, 40)
    variant("info_24_top_down", True, truecolor, 40, top_down=True)
    variant("info_32", False, truecolor, 40, bpp=32)
    variant("info_16_565_bitfields", True, masked, 40, 16, (0xF800, 0x07E0, 0x001F, 0))
    variant("info_32_bitfields", True, masked, 40, 32, (0xFF0000, 0xFF00, 0xFF, 0))
    variant("info_32_alphabitfields", False, masked, 40, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000), compression=6)
    variant("info_rle8", True, rle, False)
    variant("info_rle4", True, rle, True)
    # V2 and V3: the masks inside the header.
    variant("v2_16_565", False, masked, 52, 16, (0xF800, 0x07E0, 0x001F, 0))
    variant("v3_32_argb", True, masked, 56, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    # V4 and V5.
    variant("v4_16_argb4444", False, masked, 108, 16, (0x0F00, 0x00F0, 0x000F, 0xF000))
    variant("v4_32_argb", True, masked, 108, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    variant("v5_32_argb_top_down", True, masked, 124, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000), top_down=True)
    variant("v5_16_argb1555", False, masked, 124, 16, (0x7C00, 0x03E0, 0x001F, 0x8000))
    variant("v5_24", True, truecolor, 124)
    variant("v5_8", True, paletted, 8, 124)
    print("\n".join(out))


if __name__ == "__main__":
    main()
