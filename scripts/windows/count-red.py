"""Counts the clearly red pixels of an XWD image (true colour) read from standard input."""
import struct
import sys

data = sys.stdin.buffer.read()
fields = struct.unpack(">25I", data[0:100])
header_size, width, height, byte_order = fields[0], fields[4], fields[5], fields[7]
bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
masks = fields[14:17]
pixels = data[header_size + ncolors * 12:]
step = bits_per_pixel // 8
endian = "little" if byte_order == 0 else "big"


def channel(value, mask):
    shift = (mask & -mask).bit_length() - 1
    return ((value & mask) >> shift) * 255 // max(1, mask >> shift)


red = 0
for row in range(height):
    line = pixels[row * bytes_per_line: row * bytes_per_line + width * step]
    for at in range(0, len(line) - step + 1, step):
        value = int.from_bytes(line[at:at + step], endian)
        r, g, b = (channel(value, mask) for mask in masks)
        red += r > 150 and g < 100 and b < 100
print(red)
