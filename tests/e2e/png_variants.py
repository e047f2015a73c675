#!/usr/bin/env python3
"""Writes PNG files of every colour type and bit depth, with and without a
tRNS chunk, plain and interlaced (Adam7), each beside the picture it must
decode to.

Usage: png_variants.py FOLDER
For each variant NAME it writes FOLDER/NAME.png and FOLDER/NAME.pam (the
expected pixels, RGBA, 8 bits: 16-bit samples rounded, fewer bits repeated to
fill the byte) and prints "NAME BITS": the bits per pixel the file holds.
"""
import os
import struct
import sys
import zlib

from variant_pixels import pack_samples, widen, write_pam

W, H = 19, 13  # odd sizes: partial bytes at low depths, every Adam7 pass short

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    return pack_samples(samples, depth)


def scanlines(grid, depth, interlaced):
    """grid[y][x] is a tuple of samples; each line gets filter 0."""
    def lines(rows):
        return b"".join(b"\0" + pack_row([s for px in row for s in px], depth) for row in rows if row)

    if not interlaced:
        return lines(grid)
    data = b""
    for x0, y0, dx, dy in ADAM7:
        data += lines([[grid[y][x] for x in range(x0, W, dx)] for y in range(y0, H, dy)])
    return data


def to8(sample, depth):
    return (sample * 255 + 32767) // 65535 if depth == 16 else widen(sample, depth)


def write(folder, name, color_type, depth, grid, interlaced, plte=None, trns=None):
    ihdr = struct.pack(">IIBBBBB", W, H, depth, color_type, 0, 0, 1 if interlaced else 0)
    body = chunk(b"IHDR", ihdr)
    if plte:
        body += chunk(b"PLTE", b"".join(bytes(c) for c in plte))
    if trns is not None:
        if color_type == 3:
            body += chunk(b"tRNS", bytes(trns))
        else:
            body += chunk(b"tRNS", b"".join(struct.pack(">H", s) for s in trns))
    body += chunk(b"IDAT", zlib.compress(scanlines(grid, depth, interlaced), 9)) + chunk(b"IEND", b"")
    with open(os.path.join(folder, name + ".png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + body)

    expected = []
    for row in grid:
        expected.append([])
        for px in row:
            if color_type == 3:
                r, g, b = plte[px[0]]
                a = trns[px[0]] if trns is not None and px[0] < len(trns) else 255
            else:
                a = 255
                if color_type in (4, 6):
                    a = to8(px[-1], depth)
                elif trns is not None and tuple(px) == tuple(trns):
                    a = 0
                grey = color_type in (0, 4)
                r, g, b = (to8(px[0], depth),) * 3 if grey else (to8(s, depth) for s in px[:3])
            expected[-1].append((r, g, b, a))
    write_pam(os.path.join(folder, name + ".pam"), W, H, expected)
    bits = depth if color_type == 3 else CHANNELS[color_type] * depth
    return "%s %d" % (name, bits)


def grid_of(channels, depth, seed):
    top = (1 << depth) - 1
    return [[tuple(((x * 7 + y * 13 + c * 29 + seed) * 2654435761 >> 7) & top for c in range(channels))
             for x in range(W)] for y in range(H)]


def main():
    folder = sys.argv[1]
    out = []
    for interlaced in (False, True):
        tag = "_adam7" if interlaced else ""
        for depth in (1, 2, 4, 8, 16):
            grey = grid_of(1, depth, 1)
            out.append(write(folder, "grey%d%s" % (depth, tag), 0, depth, grey, interlaced))
            out.append(write(folder, "grey%d_trns%s" % (depth, tag), 0, depth, grey, interlaced, trns=grey[2][3]))
        for depth in (1, 2, 4, 8):
            count = 1 << depth
            plte = [((i * 37) % 256, (i * 91 + 20) % 256, (255 - i * 53) % 256) for i in range(count)]
            idx = grid_of(1, depth, 2)
            out.append(write(folder, "palette%d%s" % (depth, tag), 3, depth, idx, interlaced, plte=plte))
            # tRNS shorter than the palette: the later entries stay opaque.
            trns = [(i * 77) % 256 for i in range(max(1, count - 1))]
            out.append(write(folder, "palette%d_trns%s" % (depth, tag), 3, depth, idx, interlaced, plte=plte, trns=trns))
        for depth in (8, 16):
            rgb = grid_of(3, depth, 3)
            out.append(write(folder, "rgb%d%s" % (depth, tag), 2, depth, rgb, interlaced))
            out.append(write(folder, "rgb%d_trns%s" % (depth, tag), 2, depth, rgb, interlaced, trns=rgb[5][6]))
            out.append(write(folder, "grey_alpha%d%s" % (depth, tag), 4, depth, grid_of(2, depth, 4), interlaced))
            out.append(write(folder, "rgba%d%s" % (depth, tag), 6, depth, grid_of(4, depth, 5), interlaced))
    print("\n".join(out))


if __name__ == "__main__":
    main()
