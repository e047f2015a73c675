#!/usr/bin/env python3
"""Compares the icon images in two sets of .ico files, as groups of image data.

Usage: ico_images.py OURS_DIR THEIRS_DIR
Each .ico file is one group: the ordered list of its images' bytes, with the
image-size field of a bitmap header (bytes 20 to 23) taken as 0, since writers
differ there. Files named like wrestool's output (FILE_14_NAME_LANG.ico) are
counted once per FILE and NAME (the first language), as one group is read per
name. Prints the counts; exit status 0 when both hold the same groups (as a
multiset), 1 otherwise, 2 when a file is not a well-formed .ico file.
"""
import collections
import hashlib
import os
import re
import struct
import sys

WRESTOOL_NAME = re.compile(r"^(?P<group>.+_14_.+)_(?P<lang>\d+)\.ico$")


def group_of(path):
    data = open(path, "rb").read()
    if len(data) < 6:
        raise ValueError("shorter than the header")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or len(data) < 6 + 16 * count:
        raise ValueError("bad header")
    images = []
    for i in range(count):
        size, offset = struct.unpack_from("<II", data, 6 + 16 * i + 8)
        if offset + size > len(data):
            raise ValueError("image %d outside the file" % i)
        image = bytearray(data[offset:offset + size])
        if not image.startswith(b"\x89PNG") and len(image) >= 24:
            image[20:24] = b"\0\0\0\0"
        images.append(hashlib.sha1(image).hexdigest())
    return tuple(images)


def groups_in(folder):
    chosen = {}
    for name in sorted(os.listdir(folder)):
        if not name.lower().endswith(".ico"):
            continue
        match = WRESTOOL_NAME.match(name)
        key = match.group("group") if match else name
        lang = int(match.group("lang")) if match else 0
        if key not in chosen or lang < chosen[key][0]:
            chosen[key] = (lang, os.path.join(folder, name))
    return collections.Counter(group_of(path) for _, path in chosen.values())


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        ours, theirs = groups_in(sys.argv[1]), groups_in(sys.argv[2])
    except (OSError, ValueError, struct.error) as e:
        print("not a well-formed .ico file: %s" % e, file=sys.stderr)
        return 2
    images = sum(len(g) * n for g, n in ours.items())
    print("groups: ours %d, theirs %d; images: ours %d, theirs %d" % (
        sum(ours.values()), sum(theirs.values()), images, sum(len(g) * n for g, n in theirs.items())))
    missing, extra = theirs - ours, ours - theirs
    if missing or extra:
        print("differ: %d groups only theirs, %d only ours" % (sum(missing.values()), sum(extra.values())))
        return 1
    print("same icon images")
    return 0


if __name__ == "__main__":
    sys.exit(main())
