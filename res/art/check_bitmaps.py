#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""Checks the committed pictures against what the windows expect of them, without any imaging library:

- every bitmap a window loads is listed in res/bitmaps.rc, and nothing else is; those loaded by number are
  listed under their names from res/resource.h, and each of those names is defined there (the resource
  compiler would take an undefined one for a resource name, and the window would find no picture);
- each file is a Windows 3 DIB (40-byte header), bottom-up, uncompressed, 8 or 24 bits per pixel, of the
  exact pixel size it was drawn at;
- those sizes fit the controls and windows of the dialog templates in res/tamo_cd.rc: a picture leaves at
  most a column and two rows of what it is painted on uncovered (a wider strip would show whatever erasing
  left), a button's picture is no larger than its button, and a picture static lies inside its window;
- the icon holds 16, 32 and 48 pixel images;
- the whole set stays small enough for the disc.

    python3 res/art/check_bitmaps.py         # exit status 0 when everything holds, 1 with a list otherwise
"""

import os
import re
import struct
import sys

import dialog_layout as layout
from dialog_layout import BACKGROUND, CHOOSER_BUTTON, CONTACT, EXIT_BUTTON, QUESTION, RES, SMALL_BUTTON

MAX_TOTAL_BYTES = 2600 * 1024
ICON = "IDR_MAINFRAME"


def _states(prefix, langs):
    return ["%s%s%s" % (prefix, lang, st) for lang in langs for st in "UDF"]


def required_bitmaps():
    """Resource name (for one loaded by number, its name in resource.h) -> (width, height), as the dialog
    templates and the button table need."""
    req = {}
    for word, langs in (("CANCEL", "PC"), ("MENU", "P"), ("RUN", "PC"), ("INST", "P"), ("ZOT", "P"),
                        ("COPY", "PC"), ("HELP", "P"), ("ANUL", "PC"), ("EXPL", "PC")):
        for name in _states("BM_%s_" % word, langs):
            req[name] = SMALL_BUTTON
    for name in _states("BM_OK_", [""]):
        req[name] = SMALL_BUTTON
    req["BM_GRAYED"] = SMALL_BUTTON
    for name in _states("BM_PL", [""]) + _states("BM_CZ", [""]):
        req[name] = CHOOSER_BUTTON
    for name in _states("BM_TAK", "PC") + _states("BM_NIE", "PC"):
        req[name] = EXIT_BUTTON
    req["BM_TEXT_P"] = QUESTION["P"]
    req["BM_TEXT_C"] = QUESTION["C"]
    for place in ("LANGUAGE", "MAIN", "EXIT", "COPY"):
        req["IDB_BACKGROUND_" + place] = BACKGROUND
    req["IDB_CONTACT_POLISH"] = CONTACT
    req["IDB_CONTACT_CZECH"] = CONTACT
    return req


# Where the windows show pictures of each size: (size, template, controls; None for the whole client area).
PLACES = [
    (SMALL_BUTTON, "IDD_CATALOG",
     ("IDC_LANGUAGE", "IDC_RUN", "IDC_COPY", "IDC_INSTALL", "IDC_HELP_BUTTON", "IDC_ZOT", "IDCANCEL")),
    (SMALL_BUTTON, "IDD_COPY_TARGET", ("IDOK", "IDCANCEL", "IDC_BROWSE")),
    (SMALL_BUTTON, "IDD_FOLDER_BROWSE", ("IDOK", "IDCANCEL")),
    (CHOOSER_BUTTON, "IDD_LANGUAGE", ("IDC_POLISH", "IDC_CZECH")),
    (EXIT_BUTTON, "IDD_EXIT_CONFIRM", ("IDOK", "IDCANCEL")),
    (QUESTION["P"], "IDD_EXIT_CONFIRM", ("IDC_QUESTION",)),
    (QUESTION["C"], "IDD_EXIT_CONFIRM", ("IDC_QUESTION",)),
    (CONTACT, "IDD_ABOUT", (None,)),
] + [(BACKGROUND, d, (None,)) for d in ("IDD_CATALOG", "IDD_LANGUAGE", "IDD_EXIT_CONFIRM", "IDD_COPY_TARGET",
                                        "IDD_FOLDER_BROWSE")]


def fit_problems(dialogs):
    """How the pictures' sizes fail the templates' controls and windows; empty when they fit."""
    problems = []
    for (pw, ph), name, controls in PLACES:
        dialog = dialogs[name]
        cw, ch = dialog.size()
        for control in controls:
            what = "%dx%d on %s %s" % (pw, ph, name, control or "client area")
            x, y, w, h = dialog.rect(control) if control else (0, 0, cw, ch)
            if control and dialog.control(control).sized_by_picture():
                if x + pw > cw or y + ph > ch:
                    problems.append("%s: runs out of the %dx%d window" % (what, cw, ch))
                continue
            if pw < w - 1 or ph < h - 2:
                problems.append("%s: more than a column and two rows of %dx%d uncovered" % (what, w, h))
            if control and (pw > w or ph > h):
                problems.append("%s: larger than its %dx%d button" % (what, w, h))
    return problems


def numbered(name):
    """Whether the resource is loaded by number, and so named by its id in resource.h."""
    return name.startswith("ID")


def parse_bmp(data):
    """Reads the headers of a BMP file; raises ValueError when it is not one."""
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    file_size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    header_size, width, height, planes, bpp, compression, _, _, _, used, _ = struct.unpack_from(
        "<IiiHHIIiiII", data, 14)
    return {
        "file_size": file_size,
        "offset": offset,
        "header_size": header_size,
        "width": width,
        "height": abs(height),
        "top_down": height < 0,
        "planes": planes,
        "bpp": bpp,
        "compression": compression,
        "colours_used": used,
        "length": len(data),
    }


def bmp_problems(data, size):
    """What is wrong with a bitmap file that should be size pixels; empty when nothing is."""
    try:
        h = parse_bmp(data)
    except ValueError as e:
        return [str(e)]
    problems = []
    if h["header_size"] != 40:
        problems.append("header of %d bytes, not a Windows 3 DIB" % h["header_size"])
    if h["top_down"]:
        problems.append("top-down rows")
    if h["compression"] != 0:
        problems.append("compressed (method %d)" % h["compression"])
    if h["bpp"] not in (8, 24) or h["planes"] != 1:
        problems.append("%d bits per pixel in %d planes" % (h["bpp"], h["planes"]))
    if (h["width"], h["height"]) != tuple(size):
        problems.append("%dx%d, expected %dx%d" % (h["width"], h["height"], size[0], size[1]))
    if not problems:
        palette = 4 * (h["colours_used"] or 256) if h["bpp"] == 8 else 0
        stride = (h["width"] * h["bpp"] // 8 + 3) & ~3
        if h["offset"] != 54 + palette:
            problems.append("pixels at offset %d, expected %d" % (h["offset"], 54 + palette))
        if h["length"] < h["offset"] + stride * h["height"] or h["file_size"] != h["length"]:
            problems.append("file of %d bytes does not hold its pixels" % h["length"])
    return problems


def parse_rc(text):
    """Resource entries of the fragment: name -> (type, path)."""
    entries = {}
    for line in text.splitlines():
        line = line.split("//")[0].strip()
        if not line:
            continue
        m = re.fullmatch(r'(\w+)\s+(BITMAP|ICON)\s+"([^"]+)"', line)
        if not m:
            raise ValueError("unexpected line: " + line)
        if m.group(1) in entries:
            raise ValueError("listed twice: " + m.group(1))
        entries[m.group(1)] = (m.group(2), m.group(3))
    return entries


def ico_sizes(data):
    """(width, height, bits) of each image of an icon file; raises ValueError when it is not one."""
    if len(data) < 6:
        raise ValueError("not an icon file")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or len(data) < 6 + 16 * count:
        raise ValueError("not an icon file")
    sizes = []
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if offset + length > len(data):
            raise ValueError("image %d runs past the end" % i)
        sizes.append((w or 256, h or 256, bits))
    return sizes


def check(res_dir=RES):
    problems = []
    with open(os.path.join(res_dir, "bitmaps.rc"), encoding="ascii") as fh:
        entries = parse_rc(fh.read())
    with open(os.path.join(res_dir, "resource.h"), encoding="ascii") as fh:
        ids = layout.defines(fh.read())
    required = required_bitmaps()
    for name in sorted(n for n in list(required) + [ICON] if numbered(n) and n not in ids):
        problems.append("%s: not defined in resource.h" % name)
    bitmaps = {n: p for n, (t, p) in entries.items() if t == "BITMAP"}
    for name in sorted(set(required) - set(bitmaps)):
        problems.append("%s: not listed" % name)
    for name in sorted(set(bitmaps) - set(required)):
        problems.append("%s: listed but no window uses it" % name)
    total = 0
    for name in sorted(set(required) & set(bitmaps)):
        path = os.path.join(res_dir, bitmaps[name])
        if not os.path.isfile(path):
            problems.append("%s: %s missing" % (name, bitmaps[name]))
            continue
        with open(path, "rb") as fh:
            data = fh.read()
        total += len(data)
        problems += ["%s: %s" % (name, p) for p in bmp_problems(data, required[name])]
    try:
        problems += fit_problems(layout.load(res_dir))
    except (KeyError, ValueError) as e:
        problems.append("tamo_cd.rc: %s" % e)
    if total > MAX_TOTAL_BYTES:
        problems.append("bitmaps take %d bytes, more than %d" % (total, MAX_TOTAL_BYTES))
    icon = entries.get(ICON)
    if icon is None or icon[0] != "ICON":
        problems.append("%s: icon not listed" % ICON)
    else:
        try:
            with open(os.path.join(res_dir, icon[1]), "rb") as fh:
                sizes = {(w, h) for w, h, _ in ico_sizes(fh.read())}
            for s in (16, 32, 48):
                if (s, s) not in sizes:
                    problems.append("%s: no %dx%d image" % (ICON, s, s))
        except (OSError, ValueError) as e:
            problems.append("%s: %s" % (ICON, e))
    return problems


def main():
    problems = check()
    for p in problems:
        print(p)
    if problems:
        return 1
    print("%d bitmaps and the icon are as the windows expect" % len(required_bitmaps()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
