"""Counts the clearly red pixels of an XWD image (24-bit colour, 32 bits a pixel) read from standard input."""
import struct
import sys

data = sys.stdin.buffer.read()
header_size, = struct.unpack(">I", data[0:4])
fields = struct.unpack(">25I", data[0:100])
width, height, byte_order, bits_per_pixel, bytes_per_line, ncolors = (
    fields[4], fields[5], fields[7], fields[11], fields[12], fields[19])
pixels = data[header_size + ncolors * 12:]
red = 0
if bits_per_pixel == 32:
    order = "<I" if byte_order == 0 else ">I"
    for row in range(height):
        line = pixels[row * bytes_per_line: row * bytes_per_line + width * 4]
        for (value,) in struct.iter_unpack(order, line):
            r, g, b = (value >> 16) & 255, (value >> 8) & 255, value & 255
            red += r > 150 and g < 100 and b < 100
print(red)
