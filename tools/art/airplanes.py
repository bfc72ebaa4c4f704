#!/usr/bin/env python3
"""Draws the main window's five airplane pictures (64 x 48, 24-bit BMP) into res/."""
import os
import struct
import sys

W, H = 64, 48

# Side view of a small high-wing airplane, nose to the right, in picture units.
FUSELAGE = [(8, 26), (14, 22), (44, 21), (52, 23), (55, 26), (52, 29), (40, 30), (14, 29)]
FIN = [(8, 26), (10, 13), (15, 13), (18, 22)]
WING = [(22, 19), (44, 19), (44, 21), (22, 21)]
STRUT = [(30, 21), (31, 21), (36, 28), (35, 28)]
TAILPLANE = [(6, 25), (20, 25), (20, 27), (6, 27)]
PROPELLER = [(55, 17), (57, 17), (57, 35), (55, 35)]
WHEEL = [(34, 32), (38, 32), (38, 36), (34, 36)]

SCENES = [  # sky top, sky bottom, ground, airplane, trim
    ((90, 150, 230), (200, 225, 250), (90, 160, 70), (230, 40, 40), (250, 250, 250)),
    ((250, 150, 80), (255, 220, 150), (110, 140, 60), (40, 70, 200), (255, 230, 60)),
    ((20, 30, 80), (70, 80, 140), (40, 60, 40), (240, 240, 240), (250, 60, 60)),
    ((140, 190, 250), (230, 240, 255), (230, 230, 235), (250, 200, 20), (30, 30, 30)),
    ((120, 60, 150), (240, 130, 110), (70, 110, 60), (60, 160, 80), (250, 250, 250)),
]


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def pixel(scene, index, x, y):
    top, bottom, ground, body, trim = scene
    if x == 0 or y == 0 or x == W - 1 or y == H - 1:
        return (60, 60, 60)
    if y >= 38:
        colour = ground
    else:
        t = y / 38
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
    # Each picture shows the airplane a little higher and climbing more steeply.
    lift = index * 2
    px, py = x + 0.0, y + lift + (x - 32) * index * 0.06
    for poly, paint in ((PROPELLER, (40, 40, 40)), (WHEEL, (30, 30, 30)), (STRUT, trim),
                        (TAILPLANE, body), (FIN, body), (FUSELAGE, body), (WING, trim)):
        if inside(poly, px, py):
            colour = paint
    if inside(FUSELAGE, px, py) and 23 <= py <= 24 and 30 <= px <= 46:
        colour = (170, 220, 250)  # windows
    return colour


def write_bmp(path, scene, index):
    row_bytes = (W * 3 + 3) & ~3
    body = bytearray()
    for y in range(H - 1, -1, -1):
        row = bytearray()
        for x in range(W):
            r, g, b = pixel(scene, index, x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        body += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + body)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "res")
    for index, scene in enumerate(SCENES):
        write_bmp(os.path.join(folder, "airplane%d.bmp" % (index + 1)), scene, index)


main()
