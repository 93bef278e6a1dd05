#!/usr/bin/env python3
"""Makes the program's .ico from its text drawing.

    make_icon.py icon.txt mizona.ico

The drawing is 32 lines of 32 characters: '.' is transparent, 0-9 and A-F
pick one of the 16 Windows colours. The icon holds one image, 32 x 32 in 16
colours, as an uncompressed 4-bit bitmap: the only kind every Windows from 95
on can show (PNG images in icons came with Vista).
"""
import struct
import sys

SIZE = 32
PALETTE = [  # the 16 colours of the Windows VGA palette, as (red, green, blue)
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def read_drawing(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii") if not line.startswith("#")]
    rows = [row for row in rows if row.strip()]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: the drawing must be {SIZE} lines of {SIZE} characters")
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != "." and c.upper() not in "0123456789ABCDEF":
                sys.exit(f"{path}: line {y + 1}, column {x + 1}: '{c}' is not '.' or a colour 0-F")
    return rows


def icon_bytes(rows):
    # Bitmap rows go bottom-up; each row of the colour (XOR) image is 16 bytes
    # of two pixels each, each row of the transparency (AND) mask 4 bytes.
    xor, mask = b"", b""
    for row in reversed(rows):
        pixels = [0 if c == "." else int(c, 16) for c in row]
        xor += bytes(pixels[i] << 4 | pixels[i + 1] for i in range(0, SIZE, 2))
        bits = "".join("1" if c == "." else "0" for c in row)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    # BITMAPINFOHEADER: the height counts the colour image and the mask.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_icon.py icon.txt out.ico")
    data = icon_bytes(read_drawing(sys.argv[1]))
    with open(sys.argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
