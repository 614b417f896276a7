#!/usr/bin/env python3
"""Writes the program's artwork as SVG files into resources/artwork/.

One script draws every picture so that the 33 button pictures, the headings and
the window background keep one style. Run it after changing a drawing:

    python3 resources/make_artwork.py

Sizes are the controls' sizes in twips (15 twips = 1 pixel). Only what Qt's SVG
renderer draws (SVG Tiny 1.2: paths, shapes, gradients, opacity, text) is used.
"""

import math
import pathlib

OUT = pathlib.Path(__file__).resolve().parent / "artwork"
FONT = "Liberation Sans"

# Palette
INK = "#0e151c"          # outlines and the darkest surfaces
NIGHT_TOP = "#2c3e51"
NIGHT_BOTTOM = "#141d27"
PANEL = "#ffffff"
EDGE = "#56708a"
AMBER = "#f5a623"
AMBER_DARK = "#b86e06"
TEAL = "#3cc4c0"
PAPER = "#eef2f5"
GREEN = "#5ccf5c"
RED = "#ff5b4d"
BLUE = "#5aa8e6"


def px(twips):
    return round(twips / 15)


def svg(width, height, body, defs=""):
    head = (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n')
    if defs:
        head += f"<defs>\n{defs}</defs>\n"
    return head + body + "</svg>\n"


def vgradient(ident, stops):
    inner = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{ident}" x1="0" y1="0" x2="0" y2="1">{inner}</linearGradient>\n'


def text(x, y, size, content, fill="#ffffff", anchor="middle", weight="bold", extra=""):
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" font-weight="{weight}" '
            f'text-anchor="{anchor}" fill="{fill}"{extra}>{content}</text>\n')


def shadowed_text(x, y, size, content, fill="#ffffff", shadow=INK, anchor="middle", weight="bold"):
    return (text(x + 1, y + 1, size, content, shadow, anchor, weight, ' fill-opacity="0.7"')
            + text(x, y, size, content, fill, anchor, weight))


def wave(x0, x1, y, amplitude, periods, phase=0.0, steps=160):
    points = []
    for i in range(steps + 1):
        t = i / steps
        x = x0 + (x1 - x0) * t
        envelope = math.sin(math.pi * t)
        yy = y - amplitude * envelope * math.sin(2 * math.pi * periods * t + phase)
        points.append(f"{x:.1f},{yy:.1f}")
    return "M" + " L".join(points)


# --- Button glyphs, drawn in a 16 x 16 box -------------------------------------------

def glyph_add():
    return (f'<path d="M6.3 1.5h3.4v4.8h4.8v3.4h-4.8v4.8h-3.4v-4.8h-4.8v-3.4h4.8z" '
            f'fill="{GREEN}" stroke="{INK}" stroke-width="0.9" stroke-linejoin="round"/>\n')


def glyph_delete():
    return (f'<rect x="6" y="0.8" width="4" height="2.4" rx="0.6" fill="none" stroke="{PAPER}" stroke-width="1.1"/>\n'
            f'<rect x="2.3" y="2.6" width="11.4" height="2.2" rx="0.6" fill="{PAPER}" stroke="{INK}" stroke-width="0.7"/>\n'
            f'<path d="M3.6 5.4h8.8l-0.9 9.6h-7z" fill="{PAPER}" stroke="{INK}" stroke-width="0.7" stroke-linejoin="round"/>\n'
            f'<path d="M6 7v6.3M8 7v6.3M10 7v6.3" stroke="{RED}" stroke-width="1.1" stroke-linecap="round"/>\n')


def glyph_new():
    return (f'<path d="M2.5 0.8h6.7l3.8 3.8v10.6h-10.5z" fill="{PAPER}" stroke="{INK}" stroke-width="0.8" stroke-linejoin="round"/>\n'
            f'<path d="M9.2 0.8v3.8h3.8z" fill="#b9c6d2" stroke="{INK}" stroke-width="0.6" stroke-linejoin="round"/>\n'
            f'<circle cx="11.6" cy="11.8" r="4" fill="{AMBER}" stroke="{INK}" stroke-width="0.8"/>\n'
            f'<path d="M11.6 9.5v4.6M9.3 11.8h4.6" stroke="#ffffff" stroke-width="1.5" stroke-linecap="round"/>\n')


def glyph_save():
    return (f'<path d="M1.5 1.5h10.5l2.5 2.5v10.5h-13z" fill="{BLUE}" stroke="{INK}" stroke-width="0.8" stroke-linejoin="round"/>\n'
            f'<rect x="4.2" y="1.5" width="6.6" height="4.4" fill="{PAPER}" stroke="{INK}" stroke-width="0.6"/>\n'
            f'<rect x="8.4" y="2.3" width="1.5" height="2.8" fill="{INK}"/>\n'
            f'<rect x="3.5" y="8.4" width="9" height="6.1" fill="#ffffff" stroke="{INK}" stroke-width="0.6"/>\n'
            f'<path d="M5 10.4h6M5 12.4h6" stroke="#8a9bab" stroke-width="0.8"/>\n')


def _tray():
    return (f'<path d="M1.5 9.5v5h13v-5" fill="none" stroke="{INK}" stroke-width="3" stroke-linejoin="round" stroke-linecap="round"/>\n'
            f'<path d="M1.5 9.5v5h13v-5" fill="none" stroke="{PAPER}" stroke-width="1.6" stroke-linejoin="round" stroke-linecap="round"/>\n')


def glyph_import():
    return _tray() + (f'<path d="M6.4 0.8h3.2v5h2.9l-4.5 5.2l-4.5-5.2h2.9z" fill="{AMBER}" stroke="{INK}" '
                      f'stroke-width="0.8" stroke-linejoin="round"/>\n')


def glyph_export():
    return _tray() + (f'<path d="M6.4 11.2h3.2v-5h2.9l-4.5-5.2l-4.5 5.2h2.9z" fill="{AMBER}" stroke="{INK}" '
                      f'stroke-width="0.8" stroke-linejoin="round"/>\n')


def _arrow(d, fill=AMBER):
    return f'<path d="{d}" fill="{fill}" stroke="{INK}" stroke-width="0.8" stroke-linejoin="round"/>\n'


def glyph_move():
    return _arrow("M0.8 5.6h7.6v-4.4l6.8 6.8l-6.8 6.8v-4.4h-7.6z")


def glyph_up():
    return _arrow("M8 0.8l6.8 6.8h-4.3v7.6h-5v-7.6h-4.3z")


def glyph_down():
    return _arrow("M8 15.2l6.8-6.8h-4.3v-7.6h-5v7.6h-4.3z")


def glyph_x():
    cross = "M3 3L13 13M13 3L3 13"
    return (f'<path d="{cross}" stroke="{INK}" stroke-width="4.6" stroke-linecap="round"/>\n'
            f'<path d="{cross}" stroke="{RED}" stroke-width="3" stroke-linecap="round"/>\n')


def glyph_transfer():
    # An arrow into a small unit with its pads.
    return (_arrow("M0.5 6.2h4.6v-3l4 4.8l-4 4.8v-3h-4.6z")
            + f'<rect x="9.6" y="2.6" width="6" height="10.8" rx="1" fill="{PAPER}" stroke="{INK}" stroke-width="0.7"/>\n'
            + f'<rect x="10.6" y="3.6" width="4" height="2.2" fill="{TEAL}"/>\n'
            + "".join(f'<rect x="{10.6 + 2.2 * (i % 2)}" y="{7 + 2.1 * (i // 2)}" width="1.8" height="1.5" fill="{AMBER}"/>\n'
                      for i in range(6)))


# --- Buttons ------------------------------------------------------------------------

FACES = {
    # state: (top colour, bottom colour, border, highlight opacity)
    "normal": ("#5a7591", "#324659", INK, 0.35),
    "hover": ("#84a3c0", "#4d6984", "#1d2a36", 0.5),
    "pressed": ("#1f2a35", "#2f4154", "#05090d", 0.0),
}

BUTTONS = [
    # key, twips width, twips height, glyph, caption
    ("add", 440, 480, glyph_add, "Add"),
    ("delete", 635, 480, glyph_delete, "Delete"),
    ("new", 400, 480, glyph_new, "New"),
    ("save", 430, 480, glyph_save, "Save"),
    ("import", 740, 480, glyph_import, "Import"),
    ("export", 670, 480, glyph_export, "Export"),
    ("move", 500, 480, glyph_move, None),
    ("up", 500, 480, glyph_up, None),
    ("down", 500, 480, glyph_down, None),
    ("X", 500, 480, glyph_x, None),
    ("transfer", 3100, 690, glyph_transfer, "Transfer to Kivo"),
]

SUFFIX = {"normal": "", "hover": "_01", "pressed": "_02"}


def button(w, h, state, glyph, caption):
    top, bottom, border, highlight = FACES[state]
    sunk = 1 if state == "pressed" else 0
    defs = vgradient("face", [(0, top), (1, bottom)])
    body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="4" fill="url(#face)" stroke="{border}"/>\n'
    if highlight:
        body += (f'<path d="M3 1.5H{w - 3}" stroke="#ffffff" stroke-opacity="{highlight}" '
                 f'stroke-linecap="round"/>\n')
    else:
        # A pressed button is sunk: a shadow along its top and left inner edges.
        body += (f'<path d="M1.5 {h - 3}V2.5Q1.5 1.5 2.5 1.5H{w - 3}" fill="none" stroke="#000000" '
                 f'stroke-opacity="0.55" stroke-width="1.6"/>\n')
    if caption and w > 100:
        # The wide transfer button: a large glyph on the left, the caption beside it.
        scale = (h - 14) / 16
        gx, gy = 10 + sunk, 7 + sunk
        body += f'<g transform="translate({gx},{gy}) scale({scale:.3f})">\n{glyph()}</g>\n'
        cx = 10 + 16 * scale + (w - 10 - 16 * scale) / 2 + sunk
        body += shadowed_text(round(cx, 1), h / 2 + 6 + sunk, 16, caption)
    elif caption:
        scale = 15 / 16
        gx, gy = (w - 15) / 2 + sunk, 2.5 + sunk
        body += f'<g transform="translate({gx:.2f},{gy}) scale({scale:.4f})">\n{glyph()}</g>\n'
        body += shadowed_text(w / 2 + sunk, h - 4 + sunk, 9, caption)
    else:
        size = min(w, h) - 10
        scale = size / 16
        gx, gy = (w - size) / 2 + sunk, (h - size) / 2 + sunk
        body += f'<g transform="translate({gx:.2f},{gy:.2f}) scale({scale:.4f})">\n{glyph()}</g>\n'
    return svg(w, h, body, defs)


# --- Headings and the status strip --------------------------------------------------

HEADINGS = [
    # name, twips width, twips height, caption
    ("Image4", 1350, 360, "Library"),
    ("Image5", 1575, 360, "Load List"),
    ("Image3", 990, 255, "File Path"),
    ("Image2", 795, 270, "Tag"),
]


def heading(w, h, caption):
    defs = vgradient("plate", [(0, "#1b2733"), (1, INK)])
    size = 15 if h >= 22 else 11
    body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{min(6, h / 3):.1f}" fill="url(#plate)" '
            f'stroke="{EDGE}"/>\n'
            f'<rect x="2" y="{h * 0.22:.1f}" width="3" height="{h * 0.56:.1f}" rx="1" fill="{AMBER}"/>\n')
    body += text(w / 2 + 2, h / 2 + size * 0.36, size, caption, AMBER)
    return svg(w, h, body, defs)


def status_strip(w, h):
    defs = vgradient("strip", [(0, "#0a1016"), (1, "#121b24")])
    body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#strip)" stroke="{EDGE}"/>\n'
            f'<path d="M6 {h - 2.5}H{w - 6}" stroke="{AMBER}" stroke-opacity="0.6"/>\n')
    return svg(w, h, body, defs)


# --- The unit, the icon, the background, the splash and the About picture -----------

def unit(x, y, w, h):
    """A Kivo unit seen from the front: display, twelve location pads, two knobs."""
    pad_w = (w * 0.55) / 6 - 3
    pad_h = (h - 26) / 2 - 3
    px0 = x + w * 0.40
    out = (f'<rect x="{x + 0.5}" y="{y + 0.5}" width="{w - 1}" height="{h - 1}" rx="7" fill="url(#unitbody)" '
           f'stroke="#000000"/>\n'
           f'<path d="M{x + 6} {y + 2.5}H{x + w - 6}" stroke="#ffffff" stroke-opacity="0.35"/>\n'
           f'<rect x="{x + 10}" y="{y + 12}" width="{w * 0.28:.1f}" height="{h * 0.36:.1f}" rx="3" fill="#0b2a2a" '
           f'stroke="#000000"/>\n')
    out += text(round(x + 10 + w * 0.14, 1), round(y + 12 + h * 0.18 + 6, 1), 15, "KIVO", TEAL)
    for i, kx in enumerate((x + 10 + w * 0.07, x + 10 + w * 0.21)):
        ky = y + h * 0.72
        out += (f'<circle cx="{kx:.1f}" cy="{ky:.1f}" r="{h * 0.13:.1f}" fill="#2a3745" stroke="#000000"/>\n'
                f'<path d="M{kx:.1f} {ky:.1f}L{kx + h * 0.08 * (1 if i else -1):.1f} {ky - h * 0.09:.1f}" '
                f'stroke="{PAPER}" stroke-width="2" stroke-linecap="round"/>\n')
    for i in range(12):
        col, row = i % 6, i // 6
        lit = i in (0, 1, 2, 6, 7)
        fill = AMBER if lit else "#3b4a5a"
        xx = px0 + col * (pad_w + 3)
        yy = y + 12 + row * (pad_h + 3)
        out += f'<rect x="{xx:.1f}" y="{yy:.1f}" width="{pad_w:.1f}" height="{pad_h:.1f}" rx="2" fill="{fill}" stroke="#000000"/>\n'
    out += (f'<rect x="{px0:.1f}" y="{y + h - 12:.1f}" width="{w * 0.55 - 3:.1f}" height="3" rx="1.5" fill="{TEAL}" '
            f'fill-opacity="0.8"/>\n')
    return out


UNIT_DEFS = vgradient("unitbody", [(0, "#4a5b6c"), (0.12, "#28333f"), (1, "#161e27")])


def icon_body(size):
    s = size / 64
    defs = (vgradient("iconface", [(0, "#3d6185"), (1, "#142230")])
            + vgradient("iconpad", [(0, "#ffd27a"), (1, AMBER)]))
    body = f'<g transform="scale({s:.4f})">\n'
    body += '<rect x="2" y="2" width="60" height="60" rx="12" fill="url(#iconface)" stroke="#000000" stroke-width="2"/>\n'
    # Twelve locations, three of them filled, beneath a sound wave.
    for i in range(12):
        col, row = i % 4, i // 4
        fill = "url(#iconpad)" if i in (0, 5, 10) else "#5b7189"
        out = f'<rect x="{10 + col * 11.5}" y="{31 + row * 9}" width="9" height="6.5" rx="1.5" fill="{fill}"/>\n'
        body += out
    body += (f'<path d="{wave(8, 56, 17, 10, 2.5)}" fill="none" stroke="{INK}" stroke-width="6" stroke-linecap="round"/>\n'
             f'<path d="{wave(8, 56, 17, 10, 2.5)}" fill="none" stroke="{TEAL}" stroke-width="3.5" stroke-linecap="round"/>\n')
    body += "</g>\n"
    return defs, body


def icon(size):
    defs, body = icon_body(size)
    return svg(size, size, body, defs)


def background(w, h):
    defs = (vgradient("night", [(0, NIGHT_TOP), (1, NIGHT_BOTTOM)])
            + vgradient("well", [(0, "#d9e1e8"), (1, "#f4f7f9")]))
    body = f'<rect width="{w}" height="{h}" fill="url(#night)"/>\n'
    # Faint sound waves across the window.
    for i, (amp, per, ph) in enumerate(((60, 3.5, 0.0), (40, 5.0, 1.2), (80, 2.2, 2.5))):
        body += (f'<path d="{wave(0, w, h * 0.55, amp, per, ph)}" fill="none" stroke="{TEAL}" '
                 f'stroke-opacity="{0.07 + 0.02 * i:.2f}" stroke-width="2"/>\n')
    # Panels: the library, the load list, the unit.
    for x0, y0, x1, y1 in ((8, 12, 222, 322), (230, 12, 496, 322), (500, 4, 732, 242)):
        body += (f'<rect x="{x0 + 0.5}" y="{y0 + 0.5}" width="{x1 - x0}" height="{y1 - y0}" rx="8" fill="{PANEL}" '
                 f'fill-opacity="0.06" stroke="{EDGE}" stroke-opacity="0.8"/>\n')
    # The wells in which the file path and the tag are shown (black text on a light ground).
    for top in (119, 183):
        body += f'<rect x="501.5" y="{top + 0.5}" width="206" height="34" rx="4" fill="url(#well)" stroke="{INK}"/>\n'
    # A band that carries the progress of a transfer.
    body += (f'<rect x="492.5" y="332.5" width="225" height="33" rx="6" fill="#000000" fill-opacity="0.35" '
             f'stroke="{EDGE}" stroke-opacity="0.8"/>\n')
    return svg(w, h, body, defs)


def picture3(w, h):
    body = unit(2, 4, w - 4, h - 8)
    return svg(w, h, body, UNIT_DEFS)


def splash(w, h):
    defs = (vgradient("night", [(0, "#34506c"), (0.6, "#17222e"), (1, "#0d141b")])
            + vgradient("band", [(0, "#e3e9ee"), (1, "#f7f9fb")])
            + UNIT_DEFS)
    body = f'<rect width="{w}" height="{h}" fill="url(#night)"/>\n'
    for i, (amp, per, ph, col) in enumerate(((55, 3.0, 0.0, TEAL), (35, 4.5, 1.1, AMBER), (70, 2.0, 2.2, TEAL))):
        body += (f'<path d="{wave(0, w, 150, amp, per, ph)}" fill="none" stroke="{col}" '
                 f'stroke-opacity="{0.18 + 0.05 * i:.2f}" stroke-width="2.5"/>\n')
    # The maker's name at the top, the program's name large in the middle.
    body += text(24, 36, 15, "T U L V E X", AMBER, "start")
    body += '<path d="M24 44H150" stroke="#f5a623" stroke-opacity="0.7"/>\n'
    body += shadowed_text(w / 2, 118, 50, "Kivo Rudovaz", "#ffffff", "#000000")
    body += text(w / 2, 146, 14, "Sound image library and load lists for your Kivo", "#c9d6e2", "middle", "normal")
    body += unit(w / 2 - 120, 160, 240, 68)
    # A light band at the bottom for the status line and the version line.
    body += (f'<rect x="0" y="{h - 50}" width="{w}" height="50" fill="url(#band)"/>\n'
             f'<path d="M0 {h - 50.5}H{w}" stroke="{AMBER}" stroke-width="2"/>\n'
             f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" fill="none" stroke="#000000"/>\n')
    return svg(w, h, body, defs)


def about(w, h):
    defs = vgradient("paper", [(0, "#f7f9fb"), (1, "#dfe6ec")])
    icon_defs, icon_drawing = icon_body(48)
    defs += icon_defs
    body = f'<rect width="{w}" height="{h}" fill="url(#paper)"/>\n'
    body += (f'<path d="{wave(0, w, h - 60, 30, 2.5)}" fill="none" stroke="{TEAL}" stroke-opacity="0.25" '
             f'stroke-width="2"/>\n'
             f'<path d="{wave(0, w, h - 60, 18, 4.0, 1.0)}" fill="none" stroke="{AMBER}" stroke-opacity="0.3" '
             f'stroke-width="2"/>\n')
    body += f'<rect x="0" y="0" width="6" height="{h}" fill="{AMBER}"/>\n'
    body += f'<g transform="translate(16,16)">\n{icon_drawing}</g>\n'
    return svg(w, h, body, defs)


def main():
    OUT.mkdir(exist_ok=True)
    files = {}
    for key, tw, th, glyph, caption in BUTTONS:
        for state, suffix in SUFFIX.items():
            files[key + suffix] = button(px(tw), px(th), state, glyph, caption)
    for name, tw, th, caption in HEADINGS:
        files[name] = heading(px(tw), px(th), caption)
    files["Image1"] = status_strip(px(6510), px(450))
    files["Picture3"] = picture3(px(3680), px(1310))
    files["background"] = background(px(11070), px(5550))
    files["icon"] = icon(64)
    files["splash"] = splash(502, 293)
    files["about"] = about(391, 293)
    for name, content in files.items():
        (OUT / f"{name}.svg").write_text(content, encoding="utf-8")


if __name__ == "__main__":
    main()
