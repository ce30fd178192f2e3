#!/usr/bin/env python3
"""Draws the program's placeholder pictures and writes the resource list.

Every name in resources/pictures.txt becomes a simple drawing in
resources/images/, plus an "@2x" variant at twice the size (except the
splash pictures, which are shown at their own size only). The drawings are
plain shapes whose kind and colour follow the picture's name, so that a
reader can tell them apart on screen. Run it again after changing the list;
it also rewrites resources/tessaline.qrc.
"""
import hashlib
import os
import re
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources')
WITHOUT_2X = {'splash blank.png', 'splashkq.png'}

SIZES = [  # (pattern, (width, height)), first match wins
    (r'^splash blank', (480, 300)),
    (r'^splashkq', (400, 120)),
    (r'^about_box_logo', (300, 100)),
    (r'^display conneciton diagram', (400, 250)),
    (r'connectors_sm', (160, 45)),
    (r'^(activevideo|colorbar)', (256, 144)),
    (r'^layout wizard', (160, 240)),
    (r'^(white point color circle|cie_xy_control|white point adjustment xy)', (256, 256)),
    (r'^control ball', (16, 16)),
    (r'^small arrow', (8, 12)),
    (r'^tv-', (16, 16)),
    (r'^(eye_adjust|no_eye_adjust|kqe_|rgb 16|offset_target_20)', (20, 20)),
    (r'16x16', (16, 16)),
    (r'32x32', (32, 32)),
    (r'_12\.png$', (12, 12)),
    (r'(\b|_)16\.png$|16\.png$', (16, 16)),
    (r'(\b|_)20\.png$', (20, 20)),
    (r'(\b|_)24\.png$', (24, 24)),
    (r'(\b|_| )32\.png$', (32, 32)),
    (r'128\.png$', (128, 128)),
    (r'^sensor icon', (64, 64)),
    (r'^(Sumo|Target|Arrow)', (96, 96)),
    (r'(on display|on lcd|on_lcd|ambient|measure|zero ?cal|cover|desktop|outline|rotate|spyder|placement)', (160, 120)),
    (r'small', (16, 16)),
    (r'^(zoomin|zoomout|varkel icon\.png|help-tip|orientation_|frame|panel scan|contrast|gamut|gamma)', (32, 32)),
]

NAMED_COLOURS = [
    ('red', (200, 40, 40)), ('green', (40, 160, 60)), ('yellow', (230, 190, 30)),
    ('blue', (50, 90, 200)), ('black', (30, 30, 30)), ('white', (235, 235, 235)),
]


def size_of(name):
    for pattern, size in SIZES:
        if re.search(pattern, name):
            return size
    return (32, 32)


def colour_of(name):
    lowered = name.lower()
    for word, rgb in NAMED_COLOURS:
        if word in lowered:
            return rgb
    digest = hashlib.sha1(name.encode()).digest()
    return (60 + digest[0] % 160, 60 + digest[1] % 160, 60 + digest[2] % 160)


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def put(self, x, y, rgba):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = rgba

    def fill(self, inside, rgba):
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.px[y][x] = rgba

    def png(self):
        raw = b''.join(b'\x00' + b''.join(struct.pack('4B', *p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)

        header = struct.pack('>IIBBBBB', self.w, self.h, 8, 6, 0, 0, 0)
        return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
                + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def draw(name, width, height):
    c = Canvas(width, height)
    r, g, b = colour_of(name)
    solid, light = (r, g, b, 255), ((r + 255) // 2, (g + 255) // 2, (b + 255) // 2, 255)
    edge = max(1, min(width, height) // 16)
    lowered = name.lower()
    if 'circle icon' in lowered or 'ball' in lowered or 'circle' in lowered:
        cx, cy, rad = width / 2, height / 2, min(width, height) / 2 - edge
        c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= rad ** 2, solid)
        c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (rad * 0.6) ** 2, light)
    elif 'alerts' in lowered:
        c.fill(lambda x, y: y >= edge and abs(x - width / 2) <= (y - edge) * width / (2 * (height - edge)), solid)
        c.fill(lambda x, y: abs(x - width / 2) <= max(1, width / 12) and height * 0.4 <= y <= height * 0.75,
               (255, 255, 255, 255))
    elif 'arrow' in lowered:
        right = 'right' in lowered or 'from' in lowered
        c.fill(lambda x, y: abs(y - height / 2) <= ((x if right else width - x) * height / (2 * width)), solid)
    elif lowered.startswith('tv-'):
        shade = (0, 0, 0, 255) if 'invert' not in lowered else (255, 255, 255, 255)
        c.fill(lambda x, y: abs(x - width / 2) < 1, shade)
        if 'br' in lowered:
            c.fill(lambda x, y: abs(y - height / 2) < 1 and x >= width / 2, shade)
    else:
        c.fill(lambda x, y: True, solid)
        c.fill(lambda x, y: edge <= x < width - edge and edge <= y < height - edge, light)
        slope = height / width
        c.fill(lambda x, y: abs(y - x * slope) <= edge / 2 + 0.5, solid)
    return c


def main():
    names = [n.strip() for n in open(os.path.join(ROOT, 'pictures.txt')) if n.strip()]
    images = os.path.join(ROOT, 'images')
    os.makedirs(images, exist_ok=True)
    entries = []
    for name in names:
        width, height = size_of(name)
        variants = [(name, 1)] + ([] if name in WITHOUT_2X else [(name[:-4] + '@2x.png', 2)])
        for file_name, scale in variants:
            with open(os.path.join(images, file_name), 'wb') as out:
                out.write(draw(name, width * scale, height * scale).png())
            entries.append(file_name)
    with open(os.path.join(ROOT, 'tessaline.qrc'), 'w') as qrc:
        qrc.write('<!DOCTYPE RCC><RCC version="1.0">\n<qresource prefix="/images">\n')
        for file_name in entries:
            qrc.write('    <file alias="Resources/%s">images/%s</file>\n' % (file_name, file_name))
        qrc.write('</qresource>\n<qresource prefix="/files">\n')
        qrc.write('    <file alias="Resources/models.txt">files/models.txt</file>\n')
        qrc.write('</qresource>\n</RCC>\n')


if __name__ == '__main__':
    main()
