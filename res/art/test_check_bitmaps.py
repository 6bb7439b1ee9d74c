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
import dialog_layout as layout  # noqa: E402


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


class DialogLayoutTest(unittest.TestCase):
    """The templates read and placed as the program places them: MulDiv(x, 6, 4) across and MulDiv(y, 13, 8)
    down, each of left, top, width and height on its own, halves rounded up. The pixels below are worked out
    by hand from the units in tamo_cd.rc."""

    PLACES = [
        # (template, number of controls, control (None: the client area), pixels (left, top, width, height))
        ("IDD_ABOUT", 0, None, (0, 0, 431, 478)),  # 430.5 across
        ("IDD_CATALOG", 11, None, (0, 0, 639, 478)),  # 477.75 down
        ("IDD_CATALOG", 11, "IDC_LIST", (53, 76, 437, 284)),  # 52.5, 76.375, 436.5, 284.375
        ("IDD_CATALOG", 11, "IDC_DESCRIPTION", (54, 385, 435, 85)),  # 385.125, 84.5
        ("IDD_CATALOG", 11, "IDC_CATEGORY_TITLE", (53, 41, 428, 20)),  # 40.625, 427.5, 19.5
        ("IDD_CATALOG", 11, "IDC_ZOT", (501, 384, 129, 28)),  # 383.5, 27.625
        ("IDD_CATALOG", 11, "IDCANCEL", (501, 445, 129, 28)),  # 445.25
        ("IDD_LANGUAGE", 3, "IDC_CZECH", (333, 203, 129, 63)),  # 203.125, 63.375
        ("IDD_COPY_TARGET", 5, None, (0, 0, 446, 109)),  # 445.5, 108.875
        ("IDD_COPY_TARGET", 5, "IDC_DESTINATION", (15, 16, 413, 24)),  # 16.25, 412.5, 24.375
        ("IDD_EXIT_CONFIRM", 4, "IDOK", (333, 205, 131, 62)),  # the right one: 204.75, 130.5, 61.75
        ("IDD_EXIT_CONFIRM", 4, "IDC_QUESTION", (158, 171, 120, 24)),  # 157.5, 170.625
        ("IDD_FOLDER_BROWSE", 5, None, (0, 0, 326, 314)),  # 325.5, 313.625
        ("IDD_FOLDER_BROWSE", 5, "IDC_FOLDER_LIST", (23, 57, 278, 203)),  # 22.5, 56.875, 277.5, 203.125
    ]

    def test_committed_templates(self):
        dialogs = layout.load()
        self.assertEqual(len(dialogs), 6)
        for name, count, control, pixels in self.PLACES:
            with self.subTest(name=name, control=control):
                dialog = dialogs[name]
                self.assertEqual(len(dialog.controls), count)
                self.assertEqual(dialog.rect(control) if control else (0, 0) + dialog.size(), pixels)
        question = dialogs["IDD_EXIT_CONFIRM"].control("IDC_QUESTION")
        self.assertEqual((question.text, question.cls, question.sized_by_picture()),
                         ("BM_TEXT_P", "Static", True))

    def test_statement_forms(self):
        rc = ('X DIALOGEX 0, 0, 10, 10  // a comment\nSTYLE WS_POPUP\nBEGIN\n'
              '  CONTROL "a, // b", 7, "Button",\n      BS_PUSHBUTTON | WS_TABSTOP, 1, 2, 3, 4 // note\n'
              '  CONTROL PICTURE, IDC_A, "Static", SS_BITMAP, -1, 0, 0, 0, WS_EX_TRANSPARENT\nEND\n')
        x = layout.parse(rc, {"IDC_A": 9})["X"]
        self.assertEqual([(c.text, c.id, c.pixels()) for c in x.controls],
                         [("a, // b", 7, (2, 3, 5, 7)), ("PICTURE", 9, (-2, 0, 0, 0))])
        self.assertEqual(x.controls[0].style, {"BS_PUSHBUTTON", "WS_TABSTOP"})

    def test_rejected(self):
        for body, fragment in [('CONTROL "", IDC_B, "Edit", 0, 1, 2, 3, 4', "unknown id IDC_B"),
                               ('LTEXT "a", 1, 1, 2, 3, 4', "not a CONTROL statement"),
                               ('CONTROL "", 1, "Edit", 0, 1, 2, 3', "8 or 9 arguments"),
                               ('CONTROL "", 1, "Edit", 0, 1, 2, three, 4', "not numbers")]:
            with self.subTest(body):
                with self.assertRaisesRegex(ValueError, fragment):
                    layout.parse("X DIALOGEX 0, 0, 1, 1\nBEGIN\n%s\nEND\n" % body, {})
        with self.assertRaisesRegex(ValueError, "no END"):
            layout.parse("X DIALOGEX 0, 0, 1, 1\nBEGIN\n", {})


class CommittedSetTest(unittest.TestCase):
    """The pictures in the repository, and the same set spoiled one way at a time."""

    def test_committed_pictures_pass(self):
        self.assertEqual(cb.check(), [])

    def spoiled(self, spoil):
        tmp = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, tmp)
        for item in ("bitmaps.rc", "tamo_cd.ico", "resource.h", "tamo_cd.rc"):
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

        def replace(name, old, new):
            def spoil(d):
                path = os.path.join(d, name)
                text = read_text(path)
                self.assertEqual(text.count(old), 1, old)
                write(path, text.replace(old, new))
            return spoil

        cases = [
            (drop_line("BM_GRAYED"), "BM_GRAYED: not listed"),
            (drop_line("IDB_BACKGROUND_MAIN"), "IDB_BACKGROUND_MAIN: not listed"),
            (drop_line("IDR_MAINFRAME"), "IDR_MAINFRAME: icon not listed"),
            (replace("resource.h", "IDB_BACKGROUND_EXIT ", "IDB_BACKGROUND_EXITS "),
             "IDB_BACKGROUND_EXIT: not defined in resource.h"),
            (add_line, "BM_RUN_PX: listed but no window uses it"),
            (remove_file, "BM_TEXT_C: bitmaps/BM_TEXT_C.bmp missing"),
            (wrong_size, "BM_TEXT_C: 344x32, expected 338x29"),
            (small_icon, "IDR_MAINFRAME: no 48x48 image"),
            # the templates moved or resized under the pictures (90 units: 135 pixels; 85: 127.5, so 128)
            (replace("tamo_cd.rc", "334, 86, 86, 17", "334, 86, 90, 17"),
             "128x26 on IDD_CATALOG IDC_RUN: more than a column and two rows of 135x28 uncovered"),
            (replace("tamo_cd.rc", "222, 126, 87, 38", "222, 126, 85, 38"),
             "130x62 on IDD_EXIT_CONFIRM IDOK: larger than its 128x62 button"),
            (replace("tamo_cd.rc", "105, 105, 80, 15", "200, 105, 80, 15"),
             "344x32 on IDD_EXIT_CONFIRM IDC_QUESTION: runs out of the 639x478 window"),
            (replace("tamo_cd.rc", "DIALOGEX 0, 0, 287, 294", "DIALOGEX 0, 0, 300, 294"),
             "430x480 on IDD_ABOUT client area: more than a column and two rows of 450x478 uncovered"),
            (replace("tamo_cd.rc", "IDC_RUN, ", "IDC_RUNS, "),
             "tamo_cd.rc: IDD_CATALOG: unknown id IDC_RUNS"),
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
