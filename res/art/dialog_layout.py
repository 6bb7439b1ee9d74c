# -*- coding: utf-8 -*-
"""The windows' geometry in pixels, read from the dialog templates of res/tamo_cd.rc (control ids from
res/resource.h) and converted as the program converts it, so that the pictures and their checks follow the
templates instead of a copy of them.

The program lays every dialog out at fixed base units of 6 by 13 pixels, whatever the dialog font: the client
area and each control at MulDiv(x, 6, 4), MulDiv(y, 13, 8), the sizes alike, MulDiv rounding to the nearest
integer with halves away from zero. A picture static keeps the size of its picture instead.
"""

import os
import re

RES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

BASE_UNITS = (6, 13)

# The pictures' own sizes in pixels, which no template gives: a picture static takes its picture's size
# whatever the template says, and bitmap buttons, backgrounds and the contact picture are painted one to one
# from the corner of their control or window, never stretched. The pictures were drawn at these sizes; the
# checker holds them to the templates, which they must cover to within a column and two rows.
SMALL_BUTTON = (128, 26)
CHOOSER_BUTTON = (129, 62)
EXIT_BUTTON = (130, 62)
QUESTION = {"P": (344, 32), "C": (338, 29)}
BACKGROUND = (640, 480)
CONTACT = (430, 480)

# Ids that the templates take from windows.h.
_SYSTEM_IDS = {"IDOK": 1, "IDCANCEL": 2}


def mul_div(number, numerator, denominator):
    """MulDiv of a positive denominator: rounded to the nearest integer, halves away from zero."""
    product = number * numerator
    quotient, remainder = divmod(abs(product), denominator)
    if 2 * remainder >= denominator:
        quotient += 1
    return quotient if product >= 0 else -quotient


def to_pixels(x, y, cx, cy):
    """Dialog units to pixels (left, top, width, height); the width is converted on its own, not as the
    difference of two converted edges."""
    bx, by = BASE_UNITS
    return (mul_div(x, bx, 4), mul_div(y, by, 8), mul_div(cx, bx, 4), mul_div(cy, by, 8))


def defines(text):
    """Names that a header defines as numbers: name -> number."""
    return {m.group(1): int(m.group(2)) for m in re.finditer(r"^\s*#define\s+(\w+)\s+(\d+)\b", text, re.M)}


class Control:
    def __init__(self, text, id_, cls, style, units):
        self.text, self.id, self.cls, self.style, self.units = text, id_, cls, style, units

    def pixels(self):
        return to_pixels(*self.units)

    def sized_by_picture(self):
        return self.cls.lower() == "static" and "SS_BITMAP" in self.style


class Dialog:
    def __init__(self, name, units, controls, ids):
        self.name, self.units, self.controls, self._ids = name, units, controls, ids

    def size(self):
        """The client area in pixels."""
        return to_pixels(*self.units)[2:]

    def control(self, id_name):
        """The first control of the id, as the program finds it."""
        for c in self.controls:
            if c.id == self._ids.get(id_name):
                return c
        raise KeyError("%s has no control %s" % (self.name, id_name))

    def rect(self, id_name):
        """Where the control lies in the client area, in pixels (left, top, width, height)."""
        return self.control(id_name).pixels()


def _strip_comment(line):
    quoted = False
    for i, ch in enumerate(line):
        if ch == '"':
            quoted = not quoted
        elif ch == "/" and not quoted and line.startswith("//", i):
            return line[:i]
    return line


def _split(args):
    """Comma-separated arguments, commas inside quotes kept."""
    return [a.strip() for a in re.findall(r'(?:"[^"]*"|[^,"])+|(?<=,)(?=,|$)|^(?=,)', args)]


def _ints(values, what):
    try:
        return tuple(int(v) for v in values)
    except ValueError:
        raise ValueError("%s: not numbers: %s" % (what, ", ".join(values))) from None


def _control(statement, ids, dialog):
    args = _split(statement[len("CONTROL"):])
    if len(args) not in (8, 9):
        raise ValueError("%s: a control needs 8 or 9 arguments: %s" % (dialog, statement))
    text, id_, cls, style = args[:4]
    if re.fullmatch(r"-?\d+", id_):
        number = int(id_)
    elif id_ in ids:
        number = ids[id_]
    else:
        raise ValueError("%s: unknown id %s" % (dialog, id_))
    flags = frozenset(f.strip() for f in style.split("|"))
    return Control(text.strip('"'), number, cls.strip('"'), flags, _ints(args[4:8], dialog))


def parse(rc_text, ids):
    """The DIALOGEX templates of a resource script: name -> Dialog. Their bodies may hold only CONTROL
    statements, each over as many lines as it likes."""
    ids = dict(_SYSTEM_IDS, **ids)
    dialogs = {}
    lines = iter(_strip_comment(ln).strip() for ln in rc_text.splitlines())
    for line in lines:
        head = re.fullmatch(r"(\w+)\s+DIALOGEX\s+(.*)", line)
        if not head:
            continue
        name = head.group(1)
        units = _ints(_split(head.group(2))[:4], name)
        if len(units) != 4:
            raise ValueError("%s: no place and size" % name)
        body = None
        for line in lines:
            if body is None:
                body = [] if line == "BEGIN" else None
            elif line == "END":
                break
            else:
                body.append(line)
        else:
            raise ValueError("%s: no END" % name)
        statements = re.split(r"(?:^|\s)(?=CONTROL\s)", " ".join(body))
        if statements[0].strip():
            raise ValueError("%s: not a CONTROL statement: %s" % (name, statements[0].strip()))
        dialogs[name] = Dialog(name, units, [_control(s.strip(), ids, name) for s in statements[1:]], ids)
    return dialogs


def load(res_dir=RES):
    """The templates of tamo_cd.rc in a resource folder, by name."""
    with open(os.path.join(res_dir, "resource.h"), encoding="ascii") as fh:
        ids = defines(fh.read())
    with open(os.path.join(res_dir, "tamo_cd.rc"), encoding="utf-8") as fh:
        return parse(fh.read(), ids)
