#!/usr/bin/env python3
"""Writes the hand-made regression files of tests/data/regress/: headers announcing far more
than their files hold, and parts whose declared length runs past the end. Each must read as
unreadable, quickly and without a large allocation (tst_regressions replays them)."""
import os
import struct
import zlib

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data')


def chunk(kind, data, length=None):
    length = len(data) if length is None else length
    return struct.pack('>I', length) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png(width, height, depth, colour, interlaced, raw):
    header = struct.pack('>IIBBBBB', width, height, depth, colour, 0, 0, interlaced)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def jpeg_claiming(width, height):
    seed = open(os.path.join(root, 'fuzz', 'picture', 'seed.jpg'), 'rb').read()
    frame = seed.index(b'\xff\xc0')
    return seed[:frame + 5] + struct.pack('>HH', height, width) + seed[frame + 9:]


def gif_claiming(width, height):
    size = struct.pack('<HH', width, height)
    return (b'GIF89a' + size + b'\x80\x00\x00\x00\x00\x00\xff\xff\xff'
            + b'\x2c\x00\x00\x00\x00' + size + b'\x00' + b'\x02\x02\x44\x01\x00\x3b')


def bmp_claiming(width, height):
    row = b'\x40' * 64
    return (b'BM' + struct.pack('<IIII', 54 + len(row), 0, 54, 40)
            + struct.pack('<iiHHII', width, height, 1, 24, 0, 0) + bytes(16) + row)


def sun_raster(map_length):
    return struct.pack('>8I', 0x59a66a95, 100, 100, 8, 10000, 1, 1, map_length) + bytes(16)


def photoshop(resources_length):
    return (b'8BPS' + struct.pack('>H6xHIIHH', 1, 3, 100, 100, 8, 3)
            + struct.pack('>II', 0, resources_length) + bytes(16))


def animated_cursor(list_length):
    body = (b'ACON' + b'anih' + struct.pack('<10I', 36, 36, 1, 1, 32, 32, 32, 1, 10, 1)
            + b'LIST' + struct.pack('<I', list_length) + b'fram' + b'icon'
            + struct.pack('<I', list_length) + bytes(16))
    return b'RIFF' + struct.pack('<I', len(body)) + body


def mng(chunk_length):
    return (b'\x8aMNG\r\n\x1a\n' + chunk(b'MHDR', struct.pack('>7I', 100, 100, 1, 1, 1, 1, 1))
            + struct.pack('>I', chunk_length) + b'IHDR' + bytes(32))


seed_png = open(os.path.join(root, 'fuzz', 'picture', 'seed.png'), 'rb').read()
pictures = {
    'png-claims-60000-square.png': png(60000, 60000, 8, 2, 0, bytes(64)),
    'png-interlaced-40000-square-nearly-empty.png': png(40000, 40000, 8, 6, 1, bytes(1 << 20)),
    'png-chunk-past-the-end.png':
        seed_png[:33] + chunk(b'zTXt', b'Comment\0\0x', 0x7ffffff0) + seed_png[33:],
    'jpeg-claims-30000-square.jpg': jpeg_claiming(30000, 30000),
    'gif-claims-30000-square.gif': gif_claiming(30000, 30000),
    'bmp-claims-11862032-by-12.bmp': bmp_claiming(11862032, 12),
    'ras-colour-map-past-the-end.ras': sun_raster(0x7ffffff0),
    'psd-resources-past-the-end.psd': photoshop(0x7ffffff0),
    'ani-list-past-the-end.ani': animated_cursor(0x7ffffff0),
    'mng-chunk-past-the-end.mng': mng(0x7ffffff0),
}
for target in ('picture', 'thumbnail'):
    os.makedirs(os.path.join(root, 'regress', target), exist_ok=True)
    for name, data in pictures.items():
        with open(os.path.join(root, 'regress', target, name), 'wb') as out:
            out.write(data)

# The largest frames a scanner can announce, for the page assembly's arithmetic.
scan = os.path.join(root, 'regress', 'scan')
os.makedirs(scan, exist_ok=True)
largest = 0x7fffffff
with open(os.path.join(scan, 'largest-band-frames'), 'wb') as out:
    out.write(struct.pack('<BBiiiBH', 2, 0, 1, 1, largest, 8, 1) + b'\x7f'
              + struct.pack('<BBiiiBH', 3, 0, largest, 1, largest, 8, 4) + b'\x10' * 4)
