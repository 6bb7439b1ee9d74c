#!/usr/bin/env python3
# -*- coding: utf-8 -*-
"""Draws every picture of the program: the button images, the window backgrounds, the contact pictures and
the icon, and writes the resource-script fragment that lists them.

Needs only Debian packages: python3, python3-pil, fonts-dejavu-core, fonts-liberation.

    python3 res/art/generate.py              # rewrites res/bitmaps/*.bmp, res/tamo_cd.ico, res/bitmaps.rc
    python3 res/art/generate.py --preview D  # also writes a contact sheet and window mock-ups (PNG) into D

The output is committed, so building the program needs only the resource compiler. Texts live in texts.py;
where the controls lie on each background is read from the dialog templates (dialog_layout.py), so after
moving a control in res/tamo_cd.rc run this script again.

Bitmaps are written as plain Windows 3 DIBs (40-byte header, bottom-up, uncompressed) with a 256-colour
palette: LoadBitmap on every Windows version and on Wine accepts exactly that, and the palette keeps the
disc small.
"""

import argparse
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import dialog_layout  # noqa: E402
from dialog_layout import (  # noqa: E402
    BACKGROUND, CHOOSER_BUTTON, CONTACT, EXIT_BUTTON, QUESTION, SMALL_BUTTON)
import texts  # noqa: E402

RES = os.path.dirname(HERE)
BITMAP_DIR = os.path.join(RES, "bitmaps")

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
LIBERATION = "/usr/share/fonts/truetype/liberation/"
FONT_FILES = {
    "sans": DEJAVU + "DejaVuSans.ttf",
    "sans-bold": DEJAVU + "DejaVuSans-Bold.ttf",
    "narrow-bold": LIBERATION + "LiberationSansNarrow-Bold.ttf",
    "narrow": LIBERATION + "LiberationSansNarrow-Regular.ttf",
}

# Supersampling factor for shapes; text is rendered by FreeType directly at its final size.
SS = 4

# ---------------------------------------------------------------------------------------------------------
# Palette of the whole product: a dark disc-catalogue look, cyan for the normal accent, amber for focus.
INK = (6, 9, 16)
NIGHT_TOP = (20, 28, 48)
NIGHT_BOTTOM = (7, 10, 18)
PANEL = (18, 25, 42)
PANEL_EDGE = (44, 58, 90)
PANEL_LIGHT = (66, 84, 128)
WELL = (0, 0, 0)
WELL_EDGE = (52, 68, 104)
CYAN = (64, 200, 230)
AMBER = (255, 186, 64)
TEXT = (242, 245, 250)
TEXT_DIM = (150, 164, 190)
TEXT_FAINT = (96, 110, 140)

# ---------------------------------------------------------------------------------------------------------
# Where the controls lie on the backgrounds, in pixels (x, y, width, height), as the program places them.
DIALOGS = dialog_layout.load(RES)
MAIN = DIALOGS["IDD_CATALOG"]
MAIN_TITLE = MAIN.rect("IDC_CATEGORY_TITLE")
MAIN_LIST = MAIN.rect("IDC_LIST")
MAIN_DESCRIPTION = MAIN.rect("IDC_DESCRIPTION")
# Top to bottom: language, run, copy, install, help, maker, leave.
MAIN_BUTTONS = {word: MAIN.rect(control) for word, control in (
    ("MENU", "IDC_LANGUAGE"), ("RUN", "IDC_RUN"), ("COPY", "IDC_COPY"), ("INST", "IDC_INSTALL"),
    ("HELP", "IDC_HELP_BUTTON"), ("ZOT", "IDC_ZOT"), ("CANCEL", "IDCANCEL"))}

CHOOSER_PL = DIALOGS["IDD_LANGUAGE"].rect("IDC_POLISH")[:2]
CHOOSER_CZ = DIALOGS["IDD_LANGUAGE"].rect("IDC_CZECH")[:2]
EXIT_QUESTION = DIALOGS["IDD_EXIT_CONFIRM"].rect("IDC_QUESTION")[:2]
# The images put yes on button 1 and no on button 2.
EXIT_NO = DIALOGS["IDD_EXIT_CONFIRM"].rect("IDCANCEL")[:2]
EXIT_YES = DIALOGS["IDD_EXIT_CONFIRM"].rect("IDOK")[:2]

# The copy dialog and the folder browser show top-left parts of one background, as large as their windows.
COPY = DIALOGS["IDD_COPY_TARGET"]
BROWSE = DIALOGS["IDD_FOLDER_BROWSE"]
COPY_BUTTONS = [COPY.rect(c)[:2] for c in ("IDOK", "IDCANCEL", "IDC_BROWSE")]
COPY_EDIT = COPY.rect("IDC_DESTINATION")
BROWSE_BUTTONS = [BROWSE.rect(c)[:2] for c in ("IDOK", "IDCANCEL")]
BROWSE_EDIT = BROWSE.rect("IDC_FOLDER_PATH")
BROWSE_LIST = BROWSE.rect("IDC_FOLDER_LIST")


# ---------------------------------------------------------------------------------------------------------
# Drawing helpers.

_font_cache = {}


def font(name, size):
    key = (name, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(FONT_FILES[name], size)
    return _font_cache[key]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vgradient(size, stops):
    """Vertical gradient through (position 0..1, colour) stops."""
    w, h = size
    col = Image.new("RGB", (1, h))
    px = col.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            (p0, c0), (p1, c1) = stops[i], stops[i + 1]
            if t <= p1 or i == len(stops) - 2:
                px[0, y] = mix(c0, c1, min(1.0, max(0.0, (t - p0) / max(1e-9, p1 - p0))))
                break
    return col.resize((w, h), Image.NEAREST)


def mask(size, draw_fn):
    """An antialiased coverage mask: draw_fn(draw, s) draws in white at s times the final scale."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize((w, h), Image.BOX)


def scaled(m, opacity):
    if opacity >= 1.0:
        return m
    return m.point(lambda v: int(v * opacity + 0.5))


def paint(img, m, fill, opacity=1.0):
    """Lays fill (a colour or an image of img's size) over img through mask m."""
    layer = fill if isinstance(fill, Image.Image) else Image.new("RGB", img.size, fill)
    img.paste(Image.composite(layer, img, scaled(m, opacity)))


def rrect_mask(size, box, radius, width=0):
    """Mask of a rounded rectangle (filled, or a ring of the given width) in final-scale coordinates."""

    def draw(d, s):
        x0, y0, x1, y1 = box
        b = [x0 * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1]
        if width:
            d.rounded_rectangle(b, radius * s, outline=255, width=int(width * s))
        else:
            d.rounded_rectangle(b, radius * s, fill=255)

    return mask(size, draw)


def text_width(text, f):
    return f.getlength(text)


def draw_text(img, xy, text, f, fill, anchor="lm", shadow=None, shadow_offset=(0, 1)):
    d = ImageDraw.Draw(img)
    if shadow is not None:
        d.text((xy[0] + shadow_offset[0], xy[1] + shadow_offset[1]), text, font=f, fill=shadow, anchor=anchor)
    d.text(xy, text, font=f, fill=fill, anchor=anchor)


def glow(img, m, colour, radius, opacity):
    """Soft halo of colour around mask m."""
    halo = m.filter(ImageFilter.GaussianBlur(radius))
    paint(img, halo, colour, opacity)


# ---------------------------------------------------------------------------------------------------------
# Icons, drawn in a unit square and scaled into a size x size mask.


def icon_mask(name, size):
    def draw(d, s):
        u = size * s

        def p(x, y):
            return (x * u, y * u)

        lw = max(1, int(0.13 * u))
        if name == "play":
            d.polygon([p(0.24, 0.12), p(0.24, 0.88), p(0.9, 0.5)], fill=255)
        elif name == "copy":
            d.rounded_rectangle([*p(0.08, 0.04), *p(0.62, 0.66)], 0.08 * u, outline=255, width=int(0.11 * u))
            d.rounded_rectangle([*p(0.26, 0.24), *p(0.96, 0.96)], 0.08 * u, fill=0)
            d.rounded_rectangle([*p(0.36, 0.34), *p(0.92, 0.96)], 0.08 * u, outline=255, width=int(0.11 * u))
            d.rectangle([*p(0.48, 0.52), *p(0.80, 0.59)], fill=255)
            d.rectangle([*p(0.48, 0.70), *p(0.80, 0.77)], fill=255)
        elif name == "power":
            d.arc([*p(0.1, 0.14), *p(0.9, 0.94)], -58, 238, fill=255, width=lw)
            d.rounded_rectangle([*p(0.435, 0.02), *p(0.565, 0.52)], 0.06 * u, fill=255)
        elif name == "globe":
            w = int(0.09 * u)
            d.ellipse([*p(0.04, 0.04), *p(0.96, 0.96)], outline=255, width=w)
            d.ellipse([*p(0.30, 0.04), *p(0.70, 0.96)], outline=255, width=w)
            d.rectangle([*p(0.04, 0.46), *p(0.96, 0.54)], fill=255)
            d.rectangle([*p(0.14, 0.24), *p(0.86, 0.30)], fill=255)
            d.rectangle([*p(0.14, 0.70), *p(0.86, 0.76)], fill=255)
        elif name == "install":
            d.rectangle([*p(0.42, 0.02), *p(0.58, 0.44)], fill=255)
            d.polygon([p(0.18, 0.38), p(0.82, 0.38), p(0.5, 0.70)], fill=255)
            d.rectangle([*p(0.04, 0.58), *p(0.16, 0.96)], fill=255)
            d.rectangle([*p(0.84, 0.58), *p(0.96, 0.96)], fill=255)
            d.rectangle([*p(0.04, 0.84), *p(0.96, 0.96)], fill=255)
        elif name == "help":
            d.ellipse([*p(0.0, 0.0), *p(1.0, 1.0)], fill=255)
            f = ImageFont.truetype(FONT_FILES["sans-bold"], int(0.82 * u))
            d.text(p(0.5, 0.54), "?", font=f, fill=0, anchor="mm")
        elif name == "person":
            d.ellipse([*p(0.30, 0.02), *p(0.70, 0.44)], fill=255)
            d.chord([*p(0.06, 0.52), *p(0.94, 1.40)], 180, 360, fill=255)
        elif name == "check":
            d.line([p(0.08, 0.52), p(0.38, 0.82), p(0.94, 0.18)], fill=255, width=int(0.17 * u),
                   joint="curve")
        elif name == "cross":
            w = int(0.17 * u)
            d.line([p(0.14, 0.14), p(0.86, 0.86)], fill=255, width=w)
            d.line([p(0.86, 0.14), p(0.14, 0.86)], fill=255, width=w)
        elif name == "folder":
            d.polygon([p(0.04, 0.14), p(0.40, 0.14), p(0.50, 0.26), p(0.04, 0.26)], fill=255)
            d.rounded_rectangle([*p(0.04, 0.24), *p(0.96, 0.88)], 0.08 * u, fill=255)
            d.rectangle([*p(0.04, 0.34), *p(0.96, 0.40)], fill=0)
        else:
            raise ValueError("unknown icon " + name)

    return mask((size, size), draw)


# ---------------------------------------------------------------------------------------------------------
# The disc: the product's emblem, a pressed CD with the rainbow sheen of its data side.


def hsv(h, s, v):
    i = int(h * 6) % 6
    f = h * 6 - int(h * 6)
    p, q, t = v * (1 - s), v * (1 - f * s), v * (1 - (1 - f) * s)
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i]
    return (int(r * 255), int(g * 255), int(b * 255))


def disc(diameter, dark=False):
    """RGBA image of a CD seen from its data side."""
    n = diameter
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    px = img.load()
    c = (n - 1) / 2.0
    r_out = n / 2.0
    r_hole = n * 0.075
    r_hub = n * 0.16
    r_data = n * 0.22
    for y in range(n):
        for x in range(n):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            a_out = min(1.0, max(0.0, r_out - d))
            a_in = min(1.0, max(0.0, d - r_hole))
            a = a_out * a_in
            if a <= 0:
                continue
            th = math.atan2(dy, dx)
            if d < r_hub:
                base = (150, 160, 178) if not dark else (60, 68, 86)
                light = (210, 218, 232) if not dark else (92, 102, 124)
                col = mix(base, light, 0.5 + 0.5 * math.cos(th * 2 + 0.6))
            elif d < r_data:
                col = (92, 104, 128) if not dark else (30, 38, 56)
            else:
                sheen = 0.5 + 0.5 * math.cos(2 * (th - 0.9))
                hue = ((th / (2 * math.pi)) * 2 + d / n * 0.9) % 1.0
                rainbow = hsv(hue, 0.55, 1.0)
                silver = (176, 186, 204) if not dark else (40, 50, 72)
                col = mix(silver, rainbow, 0.55 * sheen ** 3 if not dark else 0.35 * sheen ** 3)
                col = mix(col, (255, 255, 255) if not dark else (120, 140, 180), 0.25 * sheen ** 8)
                # faint grooves so the surface does not look like plastic
                if int(d) % 3 == 0:
                    col = mix(col, (0, 0, 0), 0.05)
            px[x, y] = (*col, int(255 * a))
    return img


def paste_rgba(img, rgba, xy, opacity=1.0):
    a = rgba.getchannel("A")
    if opacity < 1.0:
        a = scaled(a, opacity)
    img.paste(rgba.convert("RGB"), xy, a)


# ---------------------------------------------------------------------------------------------------------
# Buttons.

STATES = ("U", "D", "F")


def plate(img, state, radius):
    """The button's body over whatever img already holds."""
    w, h = img.size
    box = (0, 0, w - 1, h - 1)
    body = rrect_mask((w, h), box, radius)
    if state == "U":
        paint(img, body, vgradient((w, h), [(0, (58, 76, 118)), (0.5, (38, 51, 82)), (1, (26, 35, 58))]))
        paint(img, rrect_mask((w, h), box, radius, 1), (92, 112, 160))
        paint(img, rrect_mask((w, h), (1, 1, w - 2, h - 2), radius - 1, 1), (120, 142, 196), 0.25)
    elif state == "F":
        paint(img, body, vgradient((w, h), [(0, (76, 98, 150)), (0.5, (52, 70, 112)), (1, (36, 48, 80))]))
        paint(img, rrect_mask((w, h), box, radius, 1), AMBER)
        paint(img, rrect_mask((w, h), (1, 1, w - 2, h - 2), radius - 1, 1), AMBER, 0.45)
        paint(img, rrect_mask((w, h), (2, 2, w - 3, h - 3), max(1, radius - 2), 1), AMBER, 0.15)
    elif state == "D":
        paint(img, body, vgradient((w, h), [(0, (12, 17, 30)), (1, (30, 40, 66))]))
        paint(img, rrect_mask((w, h), box, radius, 1), (40, 52, 82))
        inner = rrect_mask((w, h), (1, 1, w - 2, h - 2), radius - 1, 2)
        shade = vgradient((w, h), [(0, (0, 0, 0)), (1, (20, 26, 44))])
        top_half = rrect_mask((w, h), (1, 1, w - 2, h // 2), radius - 1)
        paint(img, ImageChops.multiply(inner, top_half), shade, 0.8)
    elif state == "G":
        paint(img, body, (20, 25, 38))
        hatch = Image.new("L", (w, h), 0)
        hd = ImageDraw.Draw(hatch)
        for x in range(-h, w, 6):
            hd.line([(x, h), (x + h, 0)], fill=255)
        paint(img, ImageChops.multiply(hatch, rrect_mask((w, h), (2, 2, w - 3, h - 3), radius - 2)),
              (30, 37, 55))
        paint(img, rrect_mask((w, h), box, radius, 1), (40, 48, 68))
    return body


def state_colours(state):
    if state == "F":
        return {"text": (255, 240, 212), "second": (255, 205, 120), "icon": AMBER}
    if state == "D":
        return {"text": (196, 206, 226), "second": (140, 156, 186), "icon": (44, 150, 176)}
    return {"text": TEXT, "second": (170, 190, 222), "icon": CYAN}


def draw_label(img, text, f, x, y, colours, anchor="lm"):
    """Draws a label; in a two-language label ("Pomoc / Nápověda") the second language is set a shade
    dimmer, so that each reader finds his own word first."""
    parts = text.split(" / ")
    if len(parts) == 1:
        draw_text(img, (x, y), text, f, colours["text"], anchor, shadow=(0, 0, 0))
        return
    segments = [(parts[0], colours["text"]), (" / ", colours["second"]), (parts[1], colours["second"])]
    total = sum(text_width(s, f) for s, _ in segments)
    if anchor[0] == "m":
        x -= total / 2.0
    for s, c in segments:
        draw_text(img, (x, y), s, f, c, "l" + anchor[1], shadow=(0, 0, 0))
        x += text_width(s, f)


def fit_font(name, sizes, labels, width):
    """The largest size at which every label of a family fits, so that a column of buttons shares one
    type size."""
    for s in sizes:
        f = font(name, s)
        if all(text_width(t, f) <= width for t in labels):
            return f
    raise SystemExit("labels do not fit in %d px: %r" % (width, labels))


def small_button(bg, state, label, icon, f, align):
    """A 128x26 button. align "left": icon at a fixed place and the label after it (the main window's
    column reads as a menu); "centre": icon and label centred as a group (dialog buttons)."""
    img = bg.copy()
    w, h = img.size
    plate(img, state, 5)
    if state == "G":
        return img
    dx = 1 if state == "D" else 0
    colours = state_colours(state)
    isz = 14
    if align == "left":
        ix = 8
        tx = ix + isz + 7
    else:
        group = isz + 6 + text_width(label, f)
        ix = int(round((w - group) / 2.0))
        tx = ix + isz + 6
    iy = (h - isz) // 2
    im = icon_mask(icon, isz)
    shadow = Image.new("L", (w, h), 0)
    shadow.paste(im, (ix + dx, iy + dx + 1))
    paint(img, shadow, (0, 0, 0), 0.6)
    m = Image.new("L", (w, h), 0)
    m.paste(im, (ix + dx, iy + dx))
    paint(img, m, colours["icon"])
    draw_label(img, label, f, tx + dx, h / 2.0 + dx, colours)
    return img


def big_button(bg, state, label, icon_or_flag, f):
    """The large buttons (language chooser 129x62, yes and no 130x62): a flag or a symbol beside a big
    word, centred together."""
    img = bg.copy()
    w, h = img.size
    plate(img, state, 9)
    dx = 1 if state == "D" else 0
    colours = state_colours(state)
    if isinstance(icon_or_flag, Image.Image):
        sym = icon_or_flag
        sw, sh = sym.size
    else:
        sw = sh = 22
    gap = 10
    group = sw + gap + text_width(label, f)
    x0 = int(round((w - group) / 2.0))
    sy = (h - sh) // 2
    if isinstance(icon_or_flag, Image.Image):
        frame = Image.new("L", (w, h), 0)
        ImageDraw.Draw(frame).rectangle([x0 + dx - 1, sy + dx - 1, x0 + dx + sw, sy + dx + sh], fill=255)
        paint(img, frame, (0, 0, 0), 0.7)
        img.paste(sym if state != "D" else Image.eval(sym, lambda v: int(v * 0.82)), (x0 + dx, sy + dx))
    else:
        im = icon_mask(icon_or_flag, sw)
        sh_m = Image.new("L", (w, h), 0)
        sh_m.paste(im, (x0 + dx, sy + dx + 1))
        paint(img, sh_m, (0, 0, 0), 0.6)
        m = Image.new("L", (w, h), 0)
        m.paste(im, (x0 + dx, sy + dx))
        paint(img, m, colours["icon"])
    draw_label(img, label, f, x0 + sw + gap + dx, h / 2.0 + dx, colours)
    return img


def flag(code, size=(36, 24)):
    w, h = size
    img = Image.new("RGB", size, (255, 255, 255))
    d = ImageDraw.Draw(img)
    red = (212, 33, 61)
    if code == "PL":
        d.rectangle([0, h // 2, w, h], fill=red)
    else:
        big = Image.new("RGB", (w * SS, h * SS), (255, 255, 255))
        bd = ImageDraw.Draw(big)
        bd.rectangle([0, h * SS // 2, w * SS, h * SS], fill=(215, 20, 26))
        bd.polygon([(0, 0), (w * SS // 2, h * SS // 2), (0, h * SS)], fill=(17, 69, 126))
        img = big.resize(size, Image.BOX)
    # a touch of shading so the flag sits on the button rather than on the screen
    shade = vgradient(size, [(0, (255, 255, 255)), (1, (205, 205, 215))])
    return ImageChops.multiply(img, shade)


# ---------------------------------------------------------------------------------------------------------
# Backgrounds.


def night(size):
    img = vgradient(size, [(0, NIGHT_TOP), (1, NIGHT_BOTTOM)])
    # fine diagonal pinstripes, quiet enough not to fight the text
    stripes = Image.new("L", size, 0)
    sd = ImageDraw.Draw(stripes)
    w, h = size
    for x in range(-h, w, 4):
        sd.line([(x, h), (x + h, 0)], fill=255)
    paint(img, stripes, (255, 255, 255), 0.018)
    return img


def header(img, emblem):
    """The strip with the product's name across the top of the full-screen windows."""
    w = img.size[0]
    hh = 30
    img.paste(vgradient((w, hh), [(0, (32, 44, 74)), (1, (16, 23, 40))]), (0, 0))
    line = Image.new("L", img.size, 0)
    ImageDraw.Draw(line).line([(0, hh), (w, hh)], fill=255)
    paint(img, line, CYAN, 0.7)
    line2 = Image.new("L", img.size, 0)
    ImageDraw.Draw(line2).line([(0, hh + 1), (w, hh + 1)], fill=255)
    paint(img, line2, (0, 0, 0), 0.8)
    paste_rgba(img, emblem, (9, 3))
    draw_text(img, (42, 15), texts.PRODUCT, font("sans-bold", 17), TEXT, "lm", shadow=(0, 0, 0))
    draw_text(img, (w - 12, 16), texts.TAGLINE, font("sans", 11), TEXT_DIM, "rm", shadow=(0, 0, 0))


def well(img, rect, margin=3, radius=4):
    """A black recess for a control that paints itself white on black."""
    x, y, w, h = rect
    box = (x - margin, y - margin, x + w - 1 + margin, y + h - 1 + margin)
    outer = (box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1)
    paint(img, rrect_mask(img.size, (outer[0], outer[1] + 1, outer[2], outer[3] + 1), radius + 1, 1),
          PANEL_LIGHT, 0.5)
    paint(img, rrect_mask(img.size, outer, radius + 1), (0, 0, 0), 0.9)
    paint(img, rrect_mask(img.size, box, radius), WELL)
    paint(img, rrect_mask(img.size, box, radius, 1), WELL_EDGE)
    return box


def panel(img, box, radius=8):
    m = rrect_mask(img.size, box, radius)
    glow(img, m, (0, 0, 0), 4, 0.8)
    x0, y0, x1, y1 = box
    grad = Image.new("RGB", img.size, PANEL)
    grad.paste(vgradient((x1 - x0 + 1, y1 - y0 + 1), [(0, (26, 35, 58)), (1, PANEL)]), (x0, y0))
    paint(img, m, grad)
    paint(img, rrect_mask(img.size, box, radius, 1), PANEL_EDGE)
    paint(img, rrect_mask(img.size, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), radius - 1, 1), PANEL_LIGHT, 0.25)


def caption(img, xy, text, anchor="ls"):
    f = font("sans-bold", 10)
    parts = text.split("  /  ")
    x, y = xy
    if len(parts) == 2:
        draw_text(img, (x, y), parts[0].upper(), f, CYAN, anchor, shadow=(0, 0, 0))
        x += text_width(parts[0].upper(), f)
        draw_text(img, (x, y), "  /  " + parts[1].upper(), f, TEXT_FAINT, anchor, shadow=(0, 0, 0))
    else:
        draw_text(img, (x, y), text.upper(), f, CYAN, anchor, shadow=(0, 0, 0))


def main_background():
    img = night(BACKGROUND)
    header(img, disc(24))
    spine(img, (6, 35, 31, 478))
    panel(img, (38, 35, 496, 478))
    panel(img, (498, 35, 637, 478))
    # The title field, the list and the description pane are of slightly different widths; their recesses
    # all take the list's left and right edges so that the three line up.
    left, right = MAIN_LIST[0], MAIN_LIST[0] + MAIN_LIST[2]
    well(img, (left, MAIN_TITLE[1], right - left, MAIN_TITLE[3]))
    well(img, MAIN_LIST)
    well(img, (left, MAIN_DESCRIPTION[1], right - left, MAIN_DESCRIPTION[3]))
    caption(img, (left + 1, MAIN_DESCRIPTION[1] - 7), texts.DESCRIPTION_CAPTION)
    # One black slot per button: the images are a column and two rows smaller than the controls, and the
    # strip they leave shows the window's black control colour, which the slot swallows.
    for rect in MAIN_BUTTONS.values():
        well(img, rect, margin=2)
    bx = MAIN_BUTTONS["MENU"][0]
    # the little emblem over the button column, level with the title field
    em = disc(26)
    ty = MAIN_TITLE[1]
    paste_rgba(img, em, (bx + 4, ty - 2))
    draw_text(img, (bx + 36, ty + 11), "ZoT", font("sans-bold", 14), TEXT, "lm", shadow=(0, 0, 0))
    draw_text(img, (bx + 70, ty + 12), "software", font("sans", 10), TEXT_DIM, "lm", shadow=(0, 0, 0))
    return img


def spine(img, box):
    """The margin left of the list, drawn like the spine of a disc's jewel case."""
    panel(img, box, radius=6)
    x0, y0, x1, y1 = box
    w, h = x1 - x0 + 1, y1 - y0 + 1
    em = disc(18)
    paste_rgba(img, em, (x0 + (w - 18) // 2, y1 - 26))
    paste_rgba(img, em, (x0 + (w - 18) // 2, y0 + 8))
    f = font("sans-bold", 12)
    label = texts.PRODUCT + "   •   ZoT Software"
    strip = Image.new("RGB", (h, w), PANEL)
    strip.paste(img.crop((x0, y0, x1 + 1, y1 + 1)).rotate(-90, expand=True))
    draw_text(strip, (h / 2.0, w / 2.0), label, f, TEXT_FAINT, "mm", shadow=(0, 0, 0))
    img.paste(strip.rotate(90, expand=True), (x0, y0))


def card(img, box):
    """The raised card that carries a question or a choice in the full-screen dialogs."""
    panel(img, box, radius=12)
    x0, y0, x1, y1 = box
    band = Image.new("L", img.size, 0)
    ImageDraw.Draw(band).line([(x0 + 14, y0 + 1), (x1 - 14, y0 + 1)], fill=255)
    paint(img, band, CYAN, 0.5)


def exit_background(main_bg):
    img = Image.eval(main_bg, lambda v: int(v * 0.38))
    box = (128, 112, 511, 292)
    card(img, box)
    im = icon_mask("power", 28)
    m = Image.new("L", img.size, 0)
    m.paste(im, (320 - 14, 128))
    glow(img, m, CYAN, 5, 0.5)
    paint(img, m, CYAN)
    return img


def chooser_background():
    img = night(BACKGROUND)
    # the card hides the disc's hub, whose dark rings would otherwise look like a stain around it
    big = disc(400)
    paste_rgba(img, big, (120, 11), 0.16)
    header(img, disc(24))
    card(img, (140, 122, 502, 300))
    f = font("sans-bold", 15)
    draw_text(img, (320, 170), texts.LANGUAGE_HEADING, f, TEXT, "mm", shadow=(0, 0, 0))
    hint = texts.LANGUAGE_HINT
    draw_text(img, (320, 330), hint[0], font("sans", 11), TEXT_DIM, "mm", shadow=(0, 0, 0))
    draw_text(img, (320, 347), hint[1], font("sans", 11), TEXT_DIM, "mm", shadow=(0, 0, 0))
    return img


def dialog_texture():
    """IDB_BACKGROUND_COPY. Two dialogs show different top-left crops of it, so it carries no layout: a quiet
    texture of one tone, whose colour the dialog buttons' corners are blended against."""
    # lit from the top, fading out above the browser's list so both crops show the same top edge
    img = Image.new("RGB", BACKGROUND, (22, 30, 50))
    img.paste(vgradient((BACKGROUND[0], 120), [(0, (32, 43, 72)), (1, (22, 30, 50))]), (0, 0))
    rnd = random.Random(150)
    noise = Image.new("L", BACKGROUND, 0)
    npx = noise.load()
    for y in range(BACKGROUND[1]):
        for x in range(BACKGROUND[0]):
            npx[x, y] = rnd.randrange(256)
    paint(img, noise, (40, 52, 82), 0.25)
    stripes = Image.new("L", BACKGROUND, 0)
    sd = ImageDraw.Draw(stripes)
    for x in range(-BACKGROUND[1], BACKGROUND[0], 4):
        sd.line([(x, BACKGROUND[1]), (x + BACKGROUND[1], 0)], fill=255)
    paint(img, stripes, (255, 255, 255), 0.025)
    return img


def contact_picture(lang):
    data = texts.CONTACT[lang]
    w, h = CONTACT
    img = night(CONTACT)
    paste_rgba(img, disc(300, dark=True), (230, 250), 0.6)
    # heading band
    img.paste(vgradient((w, 64), [(0, (32, 44, 74)), (1, (16, 23, 40))]), (0, 0))
    line = Image.new("L", img.size, 0)
    ImageDraw.Draw(line).line([(0, 64), (w, 64)], fill=255)
    paint(img, line, CYAN, 0.7)
    paste_rgba(img, disc(44), (16, 10))
    draw_text(img, (72, 24), data["title"], font("sans-bold", 22), TEXT, "lm", shadow=(0, 0, 0))
    draw_text(img, (72, 47), "ZoT Software  •  " + texts.PRODUCT, font("sans", 12), TEXT_DIM, "lm",
              shadow=(0, 0, 0))
    y = 92
    for title, lines in data["sections"]:
        draw_text(img, (28, y), title.upper(), font("sans-bold", 11), CYAN, "ls", shadow=(0, 0, 0))
        rule = Image.new("L", img.size, 0)
        ImageDraw.Draw(rule).line([(28, y + 5), (w - 28, y + 5)], fill=255)
        paint(img, rule, PANEL_EDGE)
        y += 26
        for i, item in enumerate(lines):
            if isinstance(item, tuple):
                draw_text(img, (40, y), item[0], font("sans", 12), TEXT_DIM, "ls", shadow=(0, 0, 0))
                draw_text(img, (120, y), item[1], font("sans-bold", 13), TEXT, "ls", shadow=(0, 0, 0))
            else:
                f = font("sans-bold", 15) if i == 0 else font("sans", 13)
                draw_text(img, (40, y), item, f, TEXT, "ls", shadow=(0, 0, 0))
            y += 21
        y += 18
    # the picture closes on a click; say so at the foot
    foot = Image.new("L", img.size, 0)
    ImageDraw.Draw(foot).line([(28, h - 38), (w - 28, h - 38)], fill=255)
    paint(img, foot, PANEL_EDGE)
    draw_text(img, (w / 2.0, h - 20), data["close_hint"], font("sans", 11), TEXT_DIM, "mm", shadow=(0, 0, 0))
    return img


# ---------------------------------------------------------------------------------------------------------
# Output.


def to_palette(img):
    """256 colours chosen for this picture alone; each bitmap carries its own palette. A picture with no
    more colours than that keeps them exactly. The large pictures are dithered, since their long, gentle
    gradients would otherwise show bands; the buttons are not, so that no letter edge turns grainy."""
    img = img.convert("RGB")
    colours = img.getcolors(256)
    if colours is not None:
        pal = Image.new("P", (1, 1))
        flat = [v for _, c in sorted(colours, key=lambda nc: nc[1]) for v in c]
        pal.putpalette(flat + [0] * (768 - len(flat)))
        return img.quantize(palette=pal, dither=Image.Dither.NONE)
    large = img.size[0] * img.size[1] > 100000
    pal = img.quantize(256, method=Image.Quantize.MAXCOVERAGE, kmeans=3, dither=Image.Dither.NONE)
    return img.quantize(palette=pal, dither=Image.Dither.FLOYDSTEINBERG if large else Image.Dither.NONE)


def bmp_bytes(img):
    """A Windows 3 DIB file: 40-byte info header, bottom-up rows, no compression; 8-bit with a palette
    when the image has one, 24-bit otherwise."""
    w, h = img.size
    if img.mode == "P":
        bpp = 8
        pal = img.getpalette()[:768]
        pal += [0] * (768 - len(pal))
        palette = b"".join(struct.pack("<BBBB", pal[i + 2], pal[i + 1], pal[i], 0) for i in range(0, 768, 3))
        colours = 256
        raw = img.tobytes()
        row_len = w
    else:
        img = img.convert("RGB")
        bpp = 24
        palette = b""
        colours = 0
        raw = img.tobytes("raw", "BGR")
        row_len = w * 3
    stride = (row_len + 3) & ~3
    pad = b"\0" * (stride - row_len)
    pixels = b"".join(raw[y * row_len:(y + 1) * row_len] + pad for y in range(h - 1, -1, -1))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(pixels), 2835, 2835, colours, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def ico_bytes(images):
    """An icon file with one 32-bit (alpha) image per size, each stored as a DIB with its AND mask."""
    entries = []
    blobs = []
    for im in images:
        w, h = im.size
        rgba = im.convert("RGBA")
        raw = rgba.tobytes("raw", "BGRA")
        xor = b"".join(raw[y * w * 4:(y + 1) * w * 4] for y in range(h - 1, -1, -1))
        mask_stride = ((w + 31) // 32) * 4
        alpha = rgba.getchannel("A").load()
        and_rows = []
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(w):
                if alpha[x, y] < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            and_rows.append(bytes(bits))
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + mask_stride * h, 0, 0, 0, 0)
        blobs.append(info + xor + b"".join(and_rows))
        entries.append((w, h))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h), blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def icon_image(size):
    big = disc(size * SS)
    # a dark rim keeps the silver disc visible on a white desktop or a light task bar
    rim = Image.new("RGBA", big.size, (0, 0, 0, 0))
    rw = max(SS, size * SS // 24)
    ImageDraw.Draw(rim).ellipse([0, 0, big.size[0] - 1, big.size[1] - 1], outline=(40, 48, 70, 255), width=rw)
    big.alpha_composite(rim)
    return big.resize((size, size), Image.BOX)


class Output:
    def __init__(self):
        # (name: a button image's own, or the resource.h name of a numbered one; image; heading in the .rc)
        self.bitmaps = []

    def add(self, name, img, group):
        self.bitmaps.append((name, img, group))

    def write(self):
        os.makedirs(BITMAP_DIR, exist_ok=True)
        wanted = set()
        for name, img, _ in self.bitmaps:
            fname = file_name(name)
            wanted.add(fname)
            data = bmp_bytes(to_palette(img))
            with open(os.path.join(BITMAP_DIR, fname), "wb") as fh:
                fh.write(data)
        for stale in sorted(os.listdir(BITMAP_DIR)):
            if stale.endswith(".bmp") and stale not in wanted:
                os.remove(os.path.join(BITMAP_DIR, stale))
        with open(os.path.join(RES, "tamo_cd.ico"), "wb") as fh:
            fh.write(ico_bytes([icon_image(s) for s in (48, 32, 16)]))
        self.write_rc()

    def write_rc(self):
        lines = [
            "// Bitmaps and icon of the program. Generated by res/art/generate.py from the sources in",
            "// res/art; edit those and run the script again rather than changing this file.",
            "//",
            "// The button images are loaded by name. The others are loaded by number and appear here under",
            "// their names from resource.h, which the script including this one includes first.",
            "",
            "IDR_MAINFRAME ICON \"tamo_cd.ico\"",
        ]
        group = None
        for name, _, g in self.bitmaps:
            if g != group:
                lines += ["", "// " + g]
                group = g
            fname = file_name(name)
            lines.append('%s BITMAP "bitmaps/%s"' % (name, fname))
        with open(os.path.join(RES, "bitmaps.rc"), "w", encoding="ascii", newline="\n") as fh:
            fh.write("\n".join(lines) + "\n")


# The files of the bitmaps loaded by number, by the names of their ids in resource.h; a button image's file is
# named after the image.
_numbered_file = {
    "IDB_BACKGROUND_LANGUAGE": "background_language",
    "IDB_BACKGROUND_MAIN": "background_main",
    "IDB_BACKGROUND_EXIT": "background_exit",
    "IDB_BACKGROUND_COPY": "background_dialog",
    "IDB_CONTACT_POLISH": "contact_pl",
    "IDB_CONTACT_CZECH": "contact_cz",
}


def file_name(name):
    return _numbered_file.get(name, name) + ".bmp"


def crop(img, xy, size):
    return img.crop((xy[0], xy[1], xy[0] + size[0], xy[1] + size[1]))


def build():
    out = Output()

    # -- main window
    main_bg = main_background()
    labels = [t for b in texts.MAIN_BUTTONS.values() for t, _ in b.values()]
    main_font = fit_font("narrow-bold", [14, 13, 12], labels, SMALL_BUTTON[0] - 29 - 4)
    for word in ("CANCEL", "MENU", "RUN", "INST", "ZOT", "COPY", "HELP"):
        bg = crop(main_bg, MAIN_BUTTONS[word], SMALL_BUTTON)
        for lang, (label, icon) in texts.MAIN_BUTTONS[word].items():
            for st in STATES:
                out.add("BM_%s_%s%s" % (word, lang, st), small_button(bg, st, label, icon, main_font, "left"),
                        "Main window buttons")
    out.add("BM_GRAYED", small_button(crop(main_bg, MAIN_BUTTONS["RUN"], SMALL_BUTTON), "G",
                                      "", None, main_font, "left"), "Main window buttons")
    out.add("IDB_BACKGROUND_MAIN", main_bg, "Main window background")

    # -- copy destination and folder browser
    tex = dialog_texture()
    labels = [t for b in texts.DIALOG_BUTTONS.values() for t, _ in b.values()]
    dlg_font = fit_font("sans-bold", [12, 11], labels, SMALL_BUTTON[0] - 14 - 6 - 8)
    bg = crop(tex, COPY_BUTTONS[0], SMALL_BUTTON)
    for word in ("OK", "ANUL", "EXPL"):
        for lang, (label, icon) in texts.DIALOG_BUTTONS[word].items():
            for st in STATES:
                name = "BM_%s_%s" % (word, st) if lang == "" else "BM_%s_%s%s" % (word, lang, st)
                out.add(name, small_button(bg, st, label, icon, dlg_font, "centre"),
                        "Copy destination and folder browser")
    out.add("IDB_BACKGROUND_COPY", tex, "Copy destination and folder browser")

    # -- language chooser
    ch_bg = chooser_background()
    ch_font = fit_font("sans-bold", [17, 16, 15], list(texts.LANGUAGE_NAMES.values()),
                       CHOOSER_BUTTON[0] - 36 - 10 - 12)
    baked = ch_bg.copy()
    for code, xy in (("PL", CHOOSER_PL), ("CZ", CHOOSER_CZ)):
        bg = crop(ch_bg, xy, CHOOSER_BUTTON)
        for st in STATES:
            b = big_button(bg, st, texts.LANGUAGE_NAMES[code], flag(code), ch_font)
            out.add("BM_%s%s" % (code, st), b, "Language chooser")
            if st == "U":
                baked.paste(b, xy)
    out.add("IDB_BACKGROUND_LANGUAGE", baked, "Language chooser")

    # -- exit confirmation: the background shows the Polish question and buttons where the pictures lie
    q_font = font("sans-bold", 17)
    ex_bg = exit_background(main_bg)
    baked = ex_bg.copy()
    yes_font = font("sans-bold", 22)
    for lang in ("P", "C"):
        size = QUESTION[lang]
        q = crop(ex_bg, EXIT_QUESTION, size)
        # Both questions share one baseline, so switching language does not make the text jump.
        draw_text(q, (size[0] / 2.0, 21), texts.QUESTION[lang], q_font, TEXT, "ms", shadow=(0, 0, 0))
        # The Czech picture is smaller than the Polish one and lies over the Polish question printed on the
        # background, so that question has to stay inside the Czech picture's bounds.
        inked = ImageChops.difference(q, crop(ex_bg, EXIT_QUESTION, size)).getbbox()
        limit = QUESTION["C"]
        if inked is None or min(inked[:2]) < 1 or inked[2] > limit[0] - 1 or inked[3] > limit[1] - 1:
            raise SystemExit("question does not fit: " + texts.QUESTION[lang])
        out.add("BM_TEXT_%s" % lang, q, "Exit confirmation")
        if lang == "P":
            baked.paste(q, EXIT_QUESTION)
        for word, xy, words, icon in (("TAK", EXIT_YES, texts.YES, "check"),
                                      ("NIE", EXIT_NO, texts.NO, "cross")):
            bg = crop(ex_bg, xy, EXIT_BUTTON)
            for st in STATES:
                b = big_button(bg, st, words[lang], icon, yes_font)
                out.add("BM_%s%s%s" % (word, lang, st), b, "Exit confirmation")
                if lang == "P" and st == "U":
                    baked.paste(b, xy)
    out.add("IDB_BACKGROUND_EXIT", baked, "Exit confirmation")

    # -- the maker's contact picture
    for name, lang in (("IDB_CONTACT_POLISH", "P"), ("IDB_CONTACT_CZECH", "C")):
        pic = contact_picture(lang)
        out.add(name, pic, "The maker's contact picture")
    return out


# ---------------------------------------------------------------------------------------------------------
# Preview: the pictures as the windows will show them, for a look before committing.


def preview(out, directory):
    os.makedirs(directory, exist_ok=True)

    def load(name):
        return Image.open(os.path.join(BITMAP_DIR, file_name(name))).convert("RGB")

    def mock(background, placements, name, size=None, fields=(), white=()):
        img = load(background)
        if size:
            img = img.crop((0, 0) + size)
        d = ImageDraw.Draw(img)
        # stand-ins for the controls that paint themselves: white on black in the main window, the
        # system's colours (white fields with a sunken border) in the copy dialogs
        for (x, y, w, h), lines in fields:
            d.rectangle([x, y, x + w - 1, y + h - 1], fill=(0, 0, 0))
            for i, t in enumerate(lines):
                d.text((x + 2, y + 1 + 13 * i), t, font=font("sans", 11), fill=(255, 255, 255))
        for x, y, w, h in white:
            d.rectangle([x, y, x + w - 1, y + h - 1], fill=(255, 255, 255), outline=(128, 128, 128))
        for bm, xy in placements:
            img.paste(load(bm), xy)
        img.save(os.path.join(directory, name))
        return img

    at = {word: rect[:2] for word, rect in MAIN_BUTTONS.items()}
    for lang in ("P", "C"):
        run = "BM_RUN_%sU" % lang
        mock("IDB_BACKGROUND_MAIN", [("BM_MENU_PU", at["MENU"]), (run, at["RUN"]),
                   ("BM_COPY_%sF" % lang, at["COPY"]),
                   ("BM_GRAYED", at["INST"]), ("BM_HELP_PU", at["HELP"]),
                   ("BM_ZOT_PD", at["ZOT"]), ("BM_CANCEL_%sU" % lang, at["CANCEL"])],
             "main_%s.png" % lang,
             fields=[(MAIN_TITLE, ["Grafika"]),
                     (MAIN_LIST, ["..", "Edytory", "Przeglądarki zdjęć", "GIMP 1.0"]),
                     (MAIN_DESCRIPTION, ["GIMP 1.0", "Program do obróbki zdjęć."])])
        mock("IDB_BACKGROUND_EXIT", [("BM_TEXT_%s" % lang, EXIT_QUESTION), ("BM_NIE%sF" % lang, EXIT_NO),
                   ("BM_TAK%sU" % lang, EXIT_YES)], "exit_%s.png" % lang)
        mock("IDB_BACKGROUND_COPY", [("BM_OK_U", COPY_BUTTONS[0]), ("BM_ANUL_%sF" % lang, COPY_BUTTONS[1]),
                   ("BM_EXPL_%sU" % lang, COPY_BUTTONS[2])], "copy_%s.png" % lang, COPY.size(),
             white=[COPY_EDIT])
        mock("IDB_BACKGROUND_COPY",
             [("BM_OK_D", BROWSE_BUTTONS[0]), ("BM_ANUL_%sU" % lang, BROWSE_BUTTONS[1])],
             "browse_%s.png" % lang, BROWSE.size(),
             white=[BROWSE_EDIT, BROWSE_LIST])
    mock("IDB_BACKGROUND_LANGUAGE", [("BM_PLF", CHOOSER_PL), ("BM_CZU", CHOOSER_CZ)], "chooser.png")

    # every button state side by side, enlarged twice so that the pixels can be judged
    names = [n for n, _, _ in out.bitmaps if n not in _numbered_file]
    cell_w, cell_h = 140, 80
    cols = 6
    rows = (len(names) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell_w, rows * cell_h), (60, 60, 60))
    for i, n in enumerate(names):
        im = load(n)
        cx, cy = (i % cols) * cell_w, (i // cols) * cell_h
        if im.size[0] > cell_w - 4:
            im = im.resize((cell_w - 4, int(im.size[1] * (cell_w - 4) / im.size[0])), Image.LANCZOS)
        sheet.paste(im, (cx + 2, cy + 2))
        ImageDraw.Draw(sheet).text((cx + 2, cy + cell_h - 14), n, font=font("sans", 10), fill=(230, 230, 230))
    sheet.save(os.path.join(directory, "sheet.png"))
    sheet2x = sheet.resize((sheet.size[0] * 2, sheet.size[1] * 2), Image.NEAREST)
    sheet2x.save(os.path.join(directory, "sheet2x.png"))
    for name in ("IDB_CONTACT_POLISH", "IDB_CONTACT_CZECH"):
        load(name).save(os.path.join(directory, _numbered_file[name] + ".png"))
    # the icon as written, on a dark and on a white ground
    icon_strip = Image.new("RGB", (200, 120), (40, 40, 40))
    icon_strip.paste((255, 255, 255), (0, 60, 200, 120))
    ico = Image.open(os.path.join(RES, "tamo_cd.ico"))
    for y0 in (4, 64):
        x0 = 4
        for s in (48, 32, 16):
            ico.size = (s, s)
            im = ico.convert("RGBA")
            icon_strip.paste(im, (x0, y0), im)
            x0 += s + 10
    icon_strip.resize((600, 360), Image.NEAREST).save(os.path.join(directory, "icon.png"))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--preview", metavar="DIR", help="also write a contact sheet and window mock-ups here")
    args = ap.parse_args()
    out = build()
    out.write()
    if args.preview:
        preview(out, args.preview)


if __name__ == "__main__":
    main()
