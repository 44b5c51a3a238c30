#!/usr/bin/env python3
"""Checks the artwork generator: its RLE8 encoder against an independent
decoder, and the files it writes against what the setup program loads.

Run:  python3 -m unittest discover -s tools/artgen
"""

import os
import struct
import tempfile
import unittest

import make_art as art


def rle8_decode(data, width, height):
    """Plain RLE8 reader, written from the format rather than the encoder.
    Returns rows top first; fails on anything malformed."""
    rows = [[None] * width for _ in range(height)]
    x, y, i = 0, 0, 0     # y counts from the bottom row
    while True:
        count, value = data[i], data[i + 1]
        i += 2
        if count:
            for _ in range(count):
                rows[height - 1 - y][x] = value
                x += 1
        elif value == 0:
            if x != width:
                raise ValueError("row %d ends at %d of %d" % (y, x, width))
            x, y = 0, y + 1
        elif value == 1:
            if i != len(data) or y != height:
                raise ValueError("end of bitmap at row %d, byte %d of %d" % (y, i, len(data)))
            return rows
        elif value == 2:
            raise ValueError("delta not expected")
        else:
            for k in range(value):
                rows[height - 1 - y][x] = data[i + k]
                x += 1
            i += value + (value & 1)


def read_bmp(data):
    """Header fields, colour table and rows of palette indices (top first)."""
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (hsize, w, h, planes, bpp, comp, size_image, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    table = []
    for k in range(used or (1 << bpp)):
        b, g, r, _ = struct.unpack_from("<BBBB", data, 14 + hsize + 4 * k)
        table.append((r, g, b))
    pixels = data[offset:]
    if comp == 1:
        rows = rle8_decode(pixels, w, h)
    else:
        stride = (w * bpp + 31) // 32 * 4
        rows = []
        for y in range(h - 1, -1, -1):
            line = pixels[y * stride:(y + 1) * stride]
            if bpp == 8:
                rows.append(list(line[:w]))
            else:
                rows.append([(line[x // 2] >> (0 if x % 2 else 4)) & 15 for x in range(w)])
    return dict(magic=magic, size=size, offset=offset, hsize=hsize, w=w, h=h, planes=planes,
                bpp=bpp, comp=comp, size_image=size_image, used=used, table=table,
                pixels=len(pixels), rows=rows)


class Rle8Encoding(unittest.TestCase):
    def test_rows_survive_a_round_trip(self):
        cases = [
            [7] * 345,                           # one value, longer than a run can be
            list(range(200)) + [3] * 2 + list(range(55)),
            [1, 2, 1, 2, 1],                     # odd literal stretch: needs a pad byte
            [1, 2, 3, 4],
            [9],
            [5, 6],                              # too short for absolute mode
            [4, 4, 1, 2, 2, 3, 3, 3, 8, 9, 9],
            [k % 251 for k in range(600)],       # literal stretch split over chunks
            [0] * 256 + [1] + [0] * 255,
        ]
        for row in cases:
            with self.subTest(row=row[:12]):
                line = art.rle8_line(row)
                self.assertEqual(line[-2:], b"\0\0")
                got = rle8_decode(line + b"\0\1", len(row), 1)
                self.assertEqual(got, [row])
                # No absolute-mode stretch may be shorter than three bytes:
                # 00 01 and 00 02 mean end of bitmap and delta.
                i = 0
                while i < len(line) - 2:
                    if line[i] == 0:
                        self.assertGreaterEqual(line[i + 1], 3)
                        i += 2 + line[i + 1] + (line[i + 1] & 1)
                    else:
                        i += 2

    def test_repeats_are_packed(self):
        # A flat row must cost a handful of bytes, not one pair per pixel.
        self.assertLessEqual(len(art.rle8_line([3] * 345)), 6)
        mixed = [k % 7 for k in range(100)]
        self.assertLess(len(art.rle8_line(mixed)), 2 * len(mixed))


class ColourReduction(unittest.TestCase):
    def test_few_colours_are_kept_exactly(self):
        hist = {(0, 0, 64): 500, (255, 255, 255): 3, (200, 30, 30): 1, (10, 200, 10): 40}
        self.assertEqual(sorted(art.median_cut(hist, 16)), sorted(hist))

    def test_many_colours_reduce_to_the_count(self):
        hist = {(r, g, 100): 1 + (r + g) % 5 for r in range(0, 256, 8) for g in range(0, 256, 8)}
        pal = art.median_cut(hist, 20)
        self.assertEqual(len(pal), 20)
        self.assertEqual(len(set(pal)), 20)

    def test_flat_table_colour_is_not_dithered(self):
        cv = art.Canvas(20, 10, art.BG)
        rows = art.error_diffuse(cv, art.BILL16)
        self.assertEqual({i for r in rows for i in r}, {art.BILL16.index(art.BG)})


class WrittenFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        art.main(["make_art.py", cls.tmp.name])
        cls.files = {}
        for name in os.listdir(cls.tmp.name):
            with open(os.path.join(cls.tmp.name, name), "rb") as f:
                cls.files[name] = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def bmp(self, name):
        return read_bmp(self.files[name])

    def test_bitmap_headers(self):
        expect = {
            "gauge_fill.bmp": (300, 30, 4, 0),
            "billboard_256.bmp": (345, 380, 8, 1),
            "background_256.bmp": (1, 1, 8, 0),
            "billboard_16.bmp": (345, 380, 4, 0),
            "pattern_16.bmp": (48, 48, 4, 0),
        }
        for name, (w, h, bpp, comp) in expect.items():
            with self.subTest(name):
                b = self.bmp(name)
                self.assertEqual(b["magic"], b"BM")
                self.assertEqual(b["size"], len(self.files[name]))
                self.assertEqual((b["hsize"], b["planes"]), (40, 1))
                self.assertEqual((b["w"], b["h"], b["bpp"], b["comp"]), (w, h, bpp, comp))
                self.assertEqual(b["used"], 1 << bpp)
                self.assertEqual(b["offset"], 14 + 40 + 4 * (1 << bpp))
                self.assertEqual(b["size_image"], b["pixels"])
                if not comp:
                    self.assertEqual(b["pixels"], (w * bpp + 31) // 32 * 4 * h)

    def test_billboards_sit_on_the_window_colour(self):
        for name in ("billboard_256.bmp", "billboard_16.bmp"):
            with self.subTest(name):
                b = self.bmp(name)
                rows, t, w, h = b["rows"], b["table"], b["w"], b["h"]
                edge = rows[0] + rows[-1] + [r[0] for r in rows] + [r[-1] for r in rows]
                self.assertEqual({t[i] for i in edge}, {art.BG})
                # ...and show a picture, not a flat field.
                self.assertGreater(len({i for r in rows for i in r}), 12)

    def test_256_colour_table_is_the_palette_of_both_pictures(self):
        bill, back = self.bmp("billboard_256.bmp"), self.bmp("background_256.bmp")
        self.assertEqual(bill["table"], back["table"])
        self.assertEqual(back["table"][back["rows"][0][0]], art.BG)
        self.assertEqual(bill["table"][:10], art.STATIC_LOW)
        self.assertEqual(bill["table"][-10:], art.STATIC_HIGH)
        # Compression has to be worth it on a picture with this much flat field.
        self.assertLess(bill["pixels"], 345 * 380 // 2)

    def test_pattern_tiles_without_seams(self):
        rows = self.bmp("pattern_16.bmp")["rows"]
        t = self.bmp("pattern_16.bmp")["table"]
        # Opposite edges meet like any two neighbouring columns or rows do:
        # the relief is faint, so neighbours never differ by much.
        def lum(i):
            return sum(t[i])

        def step(a, b):
            return max(abs(lum(p) - lum(q)) for p, q in zip(a, b))
        inner = max(step(rows[y], rows[y + 1]) for y in range(47))
        self.assertLessEqual(step(rows[47], rows[0]), inner)
        cols = [[r[x] for r in rows] for x in range(48)]
        inner = max(step(cols[x], cols[x + 1]) for x in range(47))
        self.assertLessEqual(step(cols[47], cols[0]), inner)
        self.assertIn(art.BG, t)

    def test_gauge_keeps_text_readable(self):
        b = self.bmp("gauge_fill.bmp")
        t = b["table"]
        # Yellow text with a black shadow is written across the middle rows:
        # the bar there must stay well below yellow's brightness.
        for y in range(8, 22):
            for i in b["rows"][y]:
                r, g, bl = t[i]
                self.assertLess(0.3 * r + 0.59 * g + 0.11 * bl, 150)

    def test_icon_directory_and_images(self):
        data = self.files["install.ico"]
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind), (0, 1))
        seen = set()
        for k in range(count):
            w, h, ncol, _, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
            seen.add((w, bpp))
            hsize, iw, ih, _, ibpp = struct.unpack_from("<IiiHH", data, offset)
            self.assertEqual((hsize, iw, ih, ibpp), (40, w, 2 * h, bpp))
            colours = (1 << bpp) if bpp <= 8 else 0
            xor = (w * bpp + 31) // 32 * 4 * h
            mask = (w + 31) // 32 * 4 * h
            self.assertEqual(size, 40 + 4 * colours + xor + mask)
            self.assertEqual(ncol, 16 if bpp == 4 else 0)
            # Wherever the mask lets the screen through, the colour bits
            # must be zero or they would tint it.
            if bpp == 4:
                bits = data[offset + 40 + 64:offset + 40 + 64 + xor]
                andm = data[offset + 40 + 64 + xor:offset + size]
                stride, mstride = xor // h, mask // h
                opaque = 0
                for y in range(h):
                    for x in range(w):
                        through = andm[y * mstride + x // 8] >> (7 - x % 8) & 1
                        index = bits[y * stride + x // 2] >> (0 if x % 2 else 4) & 15
                        if through:
                            self.assertEqual(index, 0)
                        else:
                            opaque += 1
                # The picture fills most of the square; it is not all mask.
                self.assertGreater(opaque, w * h // 2)
        self.assertTrue({(32, 4), (16, 4), (32, 8), (16, 8)} <= seen)

    def test_output_is_repeatable(self):
        with tempfile.TemporaryDirectory() as again:
            art.main(["make_art.py", again])
            for name, data in self.files.items():
                with open(os.path.join(again, name), "rb") as f:
                    self.assertEqual(f.read(), data, name)


if __name__ == "__main__":
    unittest.main()
