#!/usr/bin/env python3
"""How far a CD drive's head travels while the browser loads the catalogue from an image: the files the load
reads, in the order it reads them (the settings file, the language's category file, the program list, then
each program's description file in program-list order), with where each lies in the image. A backward jump
and every block skipped forward cost a seek on a real drive, about a tenth of a second each.

Block numbers come from xorriso's report of the image; the load order from the disc folder the image was
made of (its settings and program list, in code page 1250 or UTF-8).

Usage: disc_layout.py DISC-FOLDER IMAGE.iso
"""
import os
import re
import subprocess
import sys


def read_text(path):
    data = open(path, "rb").read()
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1250")


def settings(disc):
    values = {"kat_pl": ".\\kat1.txt", "kat_cz": ".\\kat2.txt", "prog": ".\\prog.txt",
              "def_opis_pl": "opis\\opis1.txt", "def_opis_cz": "opis\\opis2.txt"}
    path = os.path.join(disc, "tamo_cd.ini")
    if os.path.exists(path):
        for line in read_text(path).splitlines():
            key, equals, value = line.partition("=")
            if equals and key.strip() in values:
                values[key.strip()] = value
    return values


def on_disc(path):
    """The image's name for a path on the disc, lower case (names match without regard to case)."""
    path = path.replace("\\", "/")
    parts = [p for p in path.split("/") if p not in ("", ".")]
    return "/" + "/".join(parts).lower()


def load_order(disc, polish):
    values = settings(disc)
    files = ["tamo_cd.ini", values["kat_pl" if polish else "kat_cz"], values["prog"]]
    option = "op1" if polish else "op2"
    default = values["def_opis_pl" if polish else "def_opis_cz"]
    lines = [line.lstrip() for line in read_text(os.path.join(disc, on_disc(values["prog"])[1:])).splitlines()]
    i = 0
    while i < len(lines):
        if not lines[i]:
            i += 1
            continue
        folder = lines[i]
        i += 2
        description = None
        while i < len(lines) and lines[i]:
            if len(lines[i]) >= 5 and lines[i][:3] == option:
                description = lines[i][4:]
            i += 1
        if description is None:
            description = default
        files.append(description if description.startswith("\\") else folder + "\\" + description)
    return [on_disc(f) for f in files]


def blocks(image):
    report = subprocess.run(["xorriso", "-indev", image, "-find", "/", "-exec", "report_lba"],
                            capture_output=True, text=True, check=True).stdout
    where = {}
    for line in report.splitlines():
        m = re.match(r"File data lba:\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*\d+\s*,\s*'(.*)'$", line)
        if m and m.group(1) == "0":
            where[m.group(4).lower()] = (int(m.group(2)), int(m.group(3)))
    return where


def main():
    disc, image = sys.argv[1], sys.argv[2]
    where = blocks(image)
    for polish in (True, False):
        backward = forward = gap = missing = 0
        end = None
        files = load_order(disc, polish)
        for name in files:
            start, count = where.get(name, (None, 0))
            if start is None:
                missing += 1
                continue
            if end is not None and start < end:
                backward += 1
            elif end is not None and start > end:
                forward += 1
                gap += start - end
            end = start + max(count, 1)
        print("%s load: %d files, %d backward jumps, %d forward jumps skipping %d blocks in all%s"
              % ("Polish" if polish else "Czech", len(files), backward, forward, gap,
                 ", %d not in the image" % missing if missing else ""))


if __name__ == "__main__":
    main()
