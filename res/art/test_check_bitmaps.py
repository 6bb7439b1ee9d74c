#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""Tests of the picture checker, and through it of the committed pictures and of the generator's writers.

    python3 -m unittest discover -s res/art -p 'test_*.py'
"""

import io
import os
import shutil
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_bitmaps as cb  # noqa: E402


def read_text(path):
    with open(path) as fh:
        return fh.read()


def write(path, data, mode="w"):
    with open(path, mode) as fh:
        fh.write(data)


def bmp(width=128, height=26, bpp=8, compression=0, header=40, colours=256, pixels=None, top_down=False):
    """A BMP file built field by field, so that each test can spoil exactly one field."""
    palette = 4 * colours if bpp == 8 else 0
    stride = (width * bpp // 8 + 3) & ~3
    body = pixels if pixels is not None else b"\0" * (stride * height)
    extra = b"\0" * (header - 40) if header > 40 else b""
    offset = 14 + header + palette
    info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1, bpp, compression,
                       len(body), 2835, 2835, colours if bpp == 8 else 0, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return head + info + extra + b"\0" * palette + body


class BmpProblemsTest(unittest.TestCase):
    CASES = [
        # (description, file bytes, expected size, expected problem fragments; none means accepted)
        ("8-bit bottom-up", bmp(), (128, 26), []),
        ("24-bit bottom-up", bmp(bpp=24), (128, 26), []),
        ("odd width pads rows", bmp(width=129, height=62), (129, 62), []),
        ("one pixel narrow", bmp(width=127), (128, 26), ["127x26, expected 128x26"]),
        ("size swapped", bmp(width=26, height=128), (128, 26), ["expected 128x26"]),
        ("RLE compressed", bmp(compression=1), (128, 26), ["compressed"]),
        ("top-down rows", bmp(top_down=True), (128, 26), ["top-down"]),
        ("version 5 header", bmp(header=124), (128, 26), ["header of 124 bytes"]),
        ("4-bit", bmp(bpp=4, colours=16), (128, 26), ["4 bits per pixel"]),
        ("32-bit", bmp(bpp=32), (128, 26), ["32 bits per pixel"]),
        ("truncated pixels", bmp(pixels=b"\0" * 100), (128, 26), ["does not hold its pixels"]),
        ("not a bitmap", b"\x89PNG\r\n\x1a\n" + b"\0" * 60, (128, 26), ["not a BMP file"]),
        ("empty file", b"", (128, 26), ["not a BMP file"]),
    ]

    def test_cases(self):
        for description, data, size, expected in self.CASES:
            with self.subTest(description):
                problems = cb.bmp_problems(data, size)
                if not expected:
                    self.assertEqual(problems, [])
                for fragment in expected:
                    self.assertTrue(any(fragment in p for p in problems), (fragment, problems))

    def test_truncated_file_size_field(self):
        data = bytearray(bmp())
        struct.pack_into("<I", data, 2, len(data) + 1)
        self.assertTrue(any("does not hold" in p for p in cb.bmp_problems(bytes(data), (128, 26))))


class ParseRcTest(unittest.TestCase):
    def test_entries(self):
        text = '// comment\n128 ICON "tamo_cd.ico"\n\nBM_RUN_PU BITMAP "bitmaps/BM_RUN_PU.bmp"  // run\n'
        self.assertEqual(cb.parse_rc(text), {"128": ("ICON", "tamo_cd.ico"),
                                             "BM_RUN_PU": ("BITMAP", "bitmaps/BM_RUN_PU.bmp")})

    def test_rejected(self):
        for text in ['BM_RUN_PU BITMAP bitmaps/x.bmp', 'BM_RUN_PU CURSOR "x.cur"',
                     'A BITMAP "a.bmp"\nA BITMAP "b.bmp"']:
            with self.subTest(text):
                with self.assertRaises(ValueError):
                    cb.parse_rc(text)


def ico(sizes):
    head = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    entries = b""
    for s in sizes:
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, 10, offset)
        offset += 10
    return head + entries + b"\0" * 10 * len(sizes)


class IcoTest(unittest.TestCase):
    def test_sizes(self):
        self.assertEqual(cb.ico_sizes(ico([48, 32, 16])), [(48, 48, 32), (32, 32, 32), (16, 16, 32)])
        self.assertEqual(cb.ico_sizes(ico([256])), [(256, 256, 32)])

    def test_rejected(self):
        for data in [b"", b"BM" + b"\0" * 60, ico([16])[:-5]]:
            with self.subTest(data[:8]):
                with self.assertRaises(ValueError):
                    cb.ico_sizes(data)


class RequiredTest(unittest.TestCase):
    def test_counts_and_samples(self):
        req = cb.required_bitmaps()
        self.assertEqual(len(req), 72)
        for name, size in [("BM_CANCEL_CF", (128, 26)), ("BM_OK_D", (128, 26)), ("BM_GRAYED", (128, 26)),
                           ("BM_CZF", (129, 62)), ("BM_NIECD", (130, 62)), ("BM_TEXT_C", (338, 29)),
                           ("IDB_BACKGROUND_COPY", (640, 480)), ("IDB_CONTACT_CZECH", (430, 480))]:
            self.assertEqual(req[name], size, name)
        for absent in ["BM_MENU_CU", "BM_HELP_CD", "BM_OK_PU", "BM_TAK_PU", "BM_PL_U", "BM_TEXT_PU"]:
            self.assertNotIn(absent, req)


class CommittedSetTest(unittest.TestCase):
    """The pictures in the repository, and the same set spoiled one way at a time."""

    def test_committed_pictures_pass(self):
        self.assertEqual(cb.check(), [])

    def spoiled(self, spoil):
        tmp = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, tmp)
        for item in ("bitmaps.rc", "tamo_cd.ico", "resource.h"):
            shutil.copy(os.path.join(cb.RES, item), tmp)
        shutil.copytree(os.path.join(cb.RES, "bitmaps"), os.path.join(tmp, "bitmaps"))
        spoil(tmp)
        return cb.check(tmp)

    def test_spoiled_sets(self):
        def drop_line(name):
            def spoil(d):
                path = os.path.join(d, "bitmaps.rc")
                lines = read_text(path).splitlines()
                write(path, "\n".join(ln for ln in lines if not ln.startswith(name + " ")) + "\n")
            return spoil

        def add_line(d):
            write(os.path.join(d, "bitmaps.rc"), 'BM_RUN_PX BITMAP "bitmaps/BM_RUN_PU.bmp"\n', "a")

        def remove_file(d):
            os.remove(os.path.join(d, "bitmaps", "BM_TEXT_C.bmp"))

        def wrong_size(d):
            folder = os.path.join(d, "bitmaps")
            shutil.copy(os.path.join(folder, "BM_TEXT_P.bmp"), os.path.join(folder, "BM_TEXT_C.bmp"))

        def small_icon(d):
            write(os.path.join(d, "tamo_cd.ico"), ico([32, 16]), "wb")

        def undefined_id(d):
            path = os.path.join(d, "resource.h")
            write(path, read_text(path).replace("IDB_BACKGROUND_EXIT ", "IDB_BACKGROUND_EXITS "))

        cases = [
            (drop_line("BM_GRAYED"), "BM_GRAYED: not listed"),
            (drop_line("IDB_BACKGROUND_MAIN"), "IDB_BACKGROUND_MAIN: not listed"),
            (drop_line("IDR_MAINFRAME"), "IDR_MAINFRAME: icon not listed"),
            (undefined_id, "IDB_BACKGROUND_EXIT: not defined in resource.h"),
            (add_line, "BM_RUN_PX: listed but no window uses it"),
            (remove_file, "BM_TEXT_C: bitmaps/BM_TEXT_C.bmp missing"),
            (wrong_size, "BM_TEXT_C: 344x32, expected 338x29"),
            (small_icon, "IDR_MAINFRAME: no 48x48 image"),
        ]
        for spoil, expected in cases:
            with self.subTest(expected):
                self.assertIn(expected, self.spoiled(spoil))


from PIL import Image  # noqa: E402  (python3-pil, installed by scripts/setup-deps.sh; the generator needs it)

import generate  # noqa: E402


class WriterTest(unittest.TestCase):
    """The generator's own BMP and ICO writers, read back pixel by pixel."""

    def test_bmp_round_trip(self):
        img = Image.new("RGB", (129, 62), (10, 20, 30))
        img.putpixel((0, 0), (255, 0, 0))  # top-left: must land in the last row of a bottom-up file
        img.putpixel((128, 61), (0, 0, 255))
        for image in (generate.to_palette(img), img):
            with self.subTest(image.mode):
                data = generate.bmp_bytes(image)
                self.assertEqual(cb.bmp_problems(data, (129, 62)), [])
                back = Image.open(io.BytesIO(data)).convert("RGB")
                self.assertEqual(back.getpixel((0, 0)), (255, 0, 0))
                self.assertEqual(back.getpixel((128, 61)), (0, 0, 255))
                self.assertEqual(back.getpixel((60, 30)), (10, 20, 30))

    def test_palette_keeps_few_colours_exactly(self):
        img = Image.new("RGB", (40, 10), (0, 0, 0))
        for x in range(40):
            img.putpixel((x, 5), (x * 6, 255 - x * 6, 7))
        q = generate.to_palette(img).convert("RGB")
        self.assertEqual(list(q.getdata()), list(img.getdata()))

    def test_ico_round_trip(self):
        data = generate.ico_bytes([generate.icon_image(s) for s in (48, 32, 16)])
        self.assertEqual(cb.ico_sizes(data), [(48, 48, 32), (32, 32, 32), (16, 16, 32)])
        ico_img = Image.open(io.BytesIO(data))
        ico_img.size = (16, 16)
        rgba = ico_img.convert("RGBA")
        self.assertEqual(rgba.getpixel((0, 0))[3], 0)  # the corner lies outside the disc
        self.assertEqual(rgba.getpixel((3, 8))[3], 255)  # the disc's surface


if __name__ == "__main__":
    unittest.main()
