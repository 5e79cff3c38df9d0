#!/usr/bin/env python3
"""Writes the small samples of formats no plug-in on the machine can write, so that the
format walk of tst_decoderpool reads every format through a helper. GIF, MNG, PSD, HDR and
Sun raster come from ImageMagick's convert, sample.avif (read as an AVIF sequence) from the
AVIF plug-in's own writer; the rest are put together here."""
import gzip
import io
import os
import struct
import subprocess
import zipfile
import zlib

here = os.path.dirname(os.path.abspath(__file__))
W, H = 24, 16


def pixel(x, y):
    return (x * 10 % 256, y * 15 % 256, (x + y) * 5 % 256, 255)


def png():
    raw = b''.join(b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(W)) for y in range(H))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', W, H, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def layered(name, mimetype, stack):
    with zipfile.ZipFile(os.path.join(here, name), 'w') as z:
        # The type stands first and uncompressed, where readers look for it.
        z.writestr(zipfile.ZipInfo('mimetype'), mimetype, compress_type=zipfile.ZIP_STORED)
        if stack:
            z.writestr('stack.xml', stack)
            z.writestr('data/layer0.png', png())
        z.writestr('mergedimage.png', png())


def svgz():
    svg = (b"<svg xmlns='http://www.w3.org/2000/svg' width='60' height='20'>"
           b"<rect width='60' height='20' fill='navy'/></svg>")
    with open(os.path.join(here, 'sample.svgz'), 'wb') as f:
        f.write(gzip.compress(svg, mtime=0))


def ani():
    with open(os.path.join(here, 'frame.png'), 'wb') as f:
        f.write(png())
    subprocess.run(['convert', os.path.join(here, 'frame.png'), os.path.join(here, 'frame.ico')],
                   check=True)
    icon = open(os.path.join(here, 'frame.ico'), 'rb').read()
    os.remove(os.path.join(here, 'frame.png'))
    os.remove(os.path.join(here, 'frame.ico'))
    frames = b''
    for _ in range(2):
        frames += b'icon' + struct.pack('<I', len(icon)) + icon + (b'\0' if len(icon) % 2 else b'')
    body = (b'ACON' + b'anih' + struct.pack('<I9I', 36, 36, 2, 2, W, H, 32, 1, 10, 1)
            + b'LIST' + struct.pack('<I', 4 + len(frames)) + b'fram' + frames)
    with open(os.path.join(here, 'sample.ani'), 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


def xcf():
    def rle(plane):
        out = b''
        for i in range(0, len(plane), 127):
            part = plane[i:i + 127]
            out += bytes([256 - len(part)]) + part
        return out
    pixels = [pixel(x, y) for y in range(H) for x in range(W)]
    tile = b''.join(rle(bytes(p[c] for p in pixels)) for c in range(4))
    name = b'Background\0'
    head = b'gimp xcf file\0' + struct.pack('>III', W, H, 0)
    props = struct.pack('>IIB', 17, 1, 1) + struct.pack('>II', 0, 0)
    layer_at = len(head) + len(props) + 8 + 4
    layer = (struct.pack('>III', W, H, 1) + struct.pack('>I', len(name)) + name
             + struct.pack('>IIii', 15, 8, 0, 0) + struct.pack('>III', 8, 4, 1)
             + struct.pack('>III', 6, 4, 255) + struct.pack('>II', 0, 0))
    hierarchy_at = layer_at + len(layer) + 8
    level_at = hierarchy_at + 20
    tile_at = level_at + 16
    data = (head + props + struct.pack('>II', layer_at, 0) + struct.pack('>I', 0)
            + layer + struct.pack('>II', hierarchy_at, 0)
            + struct.pack('>IIIII', W, H, 4, level_at, 0)
            + struct.pack('>IIII', W, H, tile_at, 0) + tile)
    with open(os.path.join(here, 'sample.xcf'), 'wb') as f:
        f.write(data)


def dng():
    # A raw reader takes nothing smaller than 22 pixels a side.
    w, h = 32, 24
    bayer = ((0, 1), (1, 2))
    strip = b''.join(struct.pack('<H', pixel(x, y)[bayer[y % 2][x % 2]] * 257)
                     for y in range(h) for x in range(w))
    entries = []
    extra = b''
    base = 8

    def tag(code, kind, values):
        entries.append((code, kind, values))
    tag(254, 4, [0])
    tag(256, 4, [w])
    tag(257, 4, [h])
    tag(258, 3, [16])
    tag(259, 3, [1])
    tag(262, 3, [32803])
    tag(271, 2, b'Lumo\0')
    tag(272, 2, b'Test\0')
    tag(273, 4, [0])
    tag(277, 3, [1])
    tag(278, 4, [h])
    tag(279, 4, [len(strip)])
    tag(284, 3, [1])
    tag(33421, 3, [2, 2])
    tag(33422, 1, [0, 1, 1, 2])
    tag(50706, 1, [1, 4, 0, 0])
    tag(50708, 2, b'Lumo Test\0')
    tag(50710, 1, [0, 1, 2])
    tag(50711, 3, [1])
    tag(50717, 4, [65535])
    tag(50721, 10, [1, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0, 1, 0, 1, 0, 1, 1, 1])
    tag(50728, 5, [1, 1, 1, 1, 1, 1])
    sizes = {1: 1, 2: 1, 3: 2, 4: 4, 5: 8, 10: 8}
    formats = {1: 'B', 3: 'H', 4: 'I', 5: 'I', 10: 'i'}
    ifd_size = 2 + 12 * len(entries) + 4
    extra_at = base + ifd_size
    strip_at = None
    packed = []
    for code, kind, values in entries:
        if kind == 2:
            blob, count = values, len(values)
        else:
            count = len(values) // (2 if kind in (5, 10) else 1)
            blob = b''.join(struct.pack('<' + formats[kind], v) for v in values)
        packed.append((code, kind, count, blob))
    total_extra = sum(len(b) + len(b) % 2 for _, _, _, b in packed if len(b) > 4)
    strip_at = extra_at + total_extra
    ifd = struct.pack('<H', len(packed))
    for code, kind, count, blob in packed:
        if code == 273:
            blob = struct.pack('<I', strip_at)
        if len(blob) > 4:
            ifd += struct.pack('<HHII', code, kind, count, extra_at + len(extra))
            extra += blob + (b'\0' if len(blob) % 2 else b'')
        else:
            ifd += struct.pack('<HHI', code, kind, count) + blob.ljust(4, b'\0')
    ifd += struct.pack('<I', 0)
    with open(os.path.join(here, 'sample.dng'), 'wb') as f:
        f.write(b'II*\0' + struct.pack('<I', base) + ifd + extra + strip)


def exr():
    def attr(name, kind, value):
        return name + b'\0' + kind + b'\0' + struct.pack('<i', len(value)) + value
    channels = b''.join(c + b'\0' + struct.pack('<iB3xii', 2, 0, 1, 1) for c in (b'B', b'G', b'R')) + b'\0'
    box = struct.pack('<4i', 0, 0, W - 1, H - 1)
    header = (b'\x76\x2f\x31\x01' + struct.pack('<I', 2) + attr(b'channels', b'chlist', channels)
              + attr(b'compression', b'compression', b'\0') + attr(b'dataWindow', b'box2i', box)
              + attr(b'displayWindow', b'box2i', box) + attr(b'lineOrder', b'lineOrder', b'\0')
              + attr(b'pixelAspectRatio', b'float', struct.pack('<f', 1))
              + attr(b'screenWindowCenter', b'v2f', struct.pack('<ff', 0, 0))
              + attr(b'screenWindowWidth', b'float', struct.pack('<f', 1)) + b'\0')
    lines = []
    for y in range(H):
        data = b''.join(struct.pack('<f', pixel(x, y)[c] / 255) for c in (2, 1, 0) for x in range(W))
        lines.append(struct.pack('<ii', y, len(data)) + data)
    at = len(header) + 8 * H
    table = b''
    for line in lines:
        table += struct.pack('<Q', at)
        at += len(line)
    with open(os.path.join(here, 'sample.exr'), 'wb') as f:
        f.write(header + table + b''.join(lines))


layered('sample.ora', b'image/openraster',
        '<?xml version="1.0" encoding="UTF-8"?><image w="%d" h="%d"><stack>'
        '<layer src="data/layer0.png" name="Background" x="0" y="0"/></stack></image>' % (W, H))
layered('sample.kra', b'application/x-krita', None)
svgz()
ani()
xcf()
dng()
exr()
with open(os.path.join(here, 'source.png'), 'wb') as f:
    f.write(png())
for suffix in ('gif', 'mng', 'psd', 'hdr', 'ras'):
    subprocess.run(['convert', os.path.join(here, 'source.png'), os.path.join(here, 'sample.' + suffix)],
                   check=True)
os.remove(os.path.join(here, 'source.png'))
