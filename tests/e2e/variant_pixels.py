"""What bmp_variants.py and png_variants.py share: packing samples into bytes,
widening narrow samples to 8 bits, and writing the expected pixels as PAM."""


def pack_samples(samples, depth):
    """Samples of 1, 2, 4 or 8 bits, the first in the high bits of a byte; a
    last partial byte is filled with zeros."""
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def widen(sample, bits):
    """A sample of fewer than 8 bits repeated to fill the byte (5 bits abcde:
    abcdeabc), so that full scale stays 255."""
    out, filled = 0, 0
    while filled < 8:
        out = (out << bits) | sample
        filled += bits
    return (out >> (filled - 8)) & 0xFF


def write_pam(path, width, height, rgba):
    """rgba: rows of (r, g, b, a) tuples, top row first."""
    with open(path, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (width, height))
        f.write(b"".join(bytes(px) for row in rgba for px in row))
