"""Counts the 16-bit samples louder than 500 in the data chunk of a WAV file."""
import struct
import sys

data = open(sys.argv[1], "rb").read() if len(sys.argv) > 1 else b""
at, loud = 12, 0
while at + 8 <= len(data):
    chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
    if chunk == b"data":
        body = data[at + 8:at + 8 + size]
        body = body[:len(body) // 2 * 2]
        loud = sum(1 for (s,) in struct.iter_unpack("<h", body) if s > 500 or s < -500)
        break
    at += 8 + size
print(loud)
