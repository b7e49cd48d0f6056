#!/usr/bin/env python3
"""Draws every image of the program's ":/images/" resource as SVG and renders it.

    python3 tools/images/generate.py            # write SVG sources, then render PNG/JPG
    python3 tools/images/generate.py --svg-only # write the SVG sources only

SVG sources go to resources/images/src/, rendered files to resources/images/ under their
exact resource names. Rendering needs rsvg-convert (Debian: librsvg2-bin), the JPG pictures
ImageMagick (Debian: imagemagick) and the texts the font "WenQuanYi Micro Hei"
(Debian: fonts-wqy-microhei). Only the Python 3 standard library is used.
"""

import math
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT_DIR = os.path.join(ROOT, "resources", "images")
SRC_DIR = os.path.join(OUT_DIR, "src")

# Palette shared by every image.
GREEN = "#22c063"        # buttons rgb(34, 192, 99)
GREEN_PRESS = "#1faf58"  # pressed rgb(31, 175, 88)
GREEN_TOP = "#2fd273"
RED = "#e70010"          # centre mark rgb(231, 0, 16)
RED_WARN = "#f10f01"     # level-2 text rgb(241, 15, 1)
ORANGE = "#f7941d"       # level-1 text rgb(247, 148, 29)
BLUE = "#2d8cf0"
INK = "#3a3b41"          # dark strokes on light pages
INK_SOFT = "#5d5f66"
TEXT_GREY = "#7b7b7b"    # rgb(123, 123, 123)
ICON_IDLE = "#c3c5cc"
FONT = "WenQuanYi Micro Hei"


def svg(w, h, body, defs=""):
    head = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">\n')
    if defs:
        head += f"<defs>\n{defs}\n</defs>\n"
    return head + body + "\n</svg>\n"


def fmt(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def pt(x, y):
    return f"{fmt(x)},{fmt(y)}"


def text(x, y, s, size, fill, anchor="middle", weight="normal", extra=""):
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return (f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="{FONT}" font-size="{fmt(size)}" '
            f'font-weight="{weight}" fill="{fill}" text-anchor="{anchor}" {extra}>{s}</text>')


def lin_grad(gid, stops, x1=0, y1=0, x2=0, y2=1):
    st = "".join(f'<stop offset="{o}" stop-color="{c}"' +
                 (f' stop-opacity="{a}"' if a is not None else "") + "/>"
                 for o, c, a in [(s + (None,))[:3] for s in stops])
    return (f'<linearGradient id="{gid}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">'
            f"{st}</linearGradient>")


def rad_grad(gid, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    fx = cx if fx is None else fx
    fy = cy if fy is None else fy
    st = "".join(f'<stop offset="{o}" stop-color="{c}"' +
                 (f' stop-opacity="{a}"' if a is not None else "") + "/>"
                 for o, c, a in [(s + (None,))[:3] for s in stops])
    return (f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}" fx="{fx}" fy="{fy}">'
            f"{st}</radialGradient>")


def arrow_arc(cx, cy, r, a0, sweep, color, width, head=None):
    """Arc of a circle from angle a0 (degrees, screen: clockwise positive) by sweep degrees,
    ending in a filled arrowhead. Positive sweep turns clockwise on screen."""
    head = head if head is not None else width * 2.6
    # leave room for the arrowhead
    back = math.degrees(head * 0.75 / r)
    a1 = a0 + sweep - math.copysign(back, sweep)
    t0, t1 = math.radians(a0), math.radians(a1)
    p0 = (cx + r * math.cos(t0), cy + r * math.sin(t0))
    p1 = (cx + r * math.cos(t1), cy + r * math.sin(t1))
    large = 1 if abs(a1 - a0) > 180 else 0
    sweepflag = 1 if sweep > 0 else 0
    out = (f'<path d="M{pt(*p0)} A{fmt(r)},{fmt(r)} 0 {large} {sweepflag} {pt(*p1)}" fill="none" '
           f'stroke="{color}" stroke-width="{fmt(width)}" stroke-linecap="round"/>')
    # arrowhead: tip on the circle at the end angle
    te = math.radians(a0 + sweep)
    tip = (cx + r * math.cos(te), cy + r * math.sin(te))
    # tangent direction at p1 for the direction of travel
    s = 1 if sweep > 0 else -1
    tx, ty = -math.sin(t1) * s, math.cos(t1) * s
    nx, ny = math.cos(t1), math.sin(t1)
    base = (tip[0] - tx * head, tip[1] - ty * head)
    w = head * 0.62
    b1 = (base[0] + nx * w, base[1] + ny * w)
    b2 = (base[0] - nx * w, base[1] - ny * w)
    out += f'<path d="M{pt(*tip)} L{pt(*b1)} L{pt(*b2)} Z" fill="{color}" stroke="{color}" stroke-width="0.6" stroke-linejoin="round"/>'
    return out


# ----------------------------------------------------------------------------------------
# Title bar: 24 x 25 buttons on the black title bar
# ----------------------------------------------------------------------------------------

def title_button(kind, state):
    w, h = 24, 25
    bg = ""
    if kind == "min":
        glyph_col = {"normal": "#b9bbc1", "hover": "#ffffff", "press": "#ffffff"}[state]
        bgc = {"hover": "#3b3c43", "press": GREEN_PRESS}.get(state)
        glyph = f'<rect x="7" y="12" width="10" height="1.8" rx="0.9" fill="{glyph_col}"/>'
    else:
        glyph_col = {"normal": "#b9bbc1", "hover": "#ffffff", "press": "#ffffff"}[state]
        bgc = {"hover": "#e5333f", "press": "#b8141f"}.get(state)
        glyph = (f'<path d="M8,8.5 L16,16.5 M16,8.5 L8,16.5" stroke="{glyph_col}" '
                 f'stroke-width="1.8" stroke-linecap="round" fill="none"/>')
    if bgc:
        bg = f'<rect x="1" y="1.5" width="22" height="22" rx="4" fill="{bgc}"/>'
    return svg(w, h, bg + glyph)


# ----------------------------------------------------------------------------------------
# Navigation strip 867 x 87
# ----------------------------------------------------------------------------------------

def mid_bar():
    w, h = 867, 87
    defs = (lin_grad("bg", [(0, "#35363d"), (1, "#2a2b30")]) +
            lin_grad("accent", [(0, GREEN, 0), (0.5, GREEN, 0.9), (1, GREEN, 0)], 0, 0, 1, 0) +
            rad_grad("glow", [(0, GREEN, 0.10), (1, GREEN, 0)], 0.5, 1.0, 0.6))
    body = [f'<rect width="{w}" height="{h}" fill="url(#bg)"/>',
            f'<rect width="{w}" height="{h}" fill="url(#glow)"/>']
    # faint contour lines of a field, low contrast, on the right half
    for i in range(7):
        y0 = 30 + i * 9
        body.append(f'<path d="M{430 + i * 14},{h} C{560 + i * 10},{y0 + 10} {700},{y0 - 6} {w},{y0 - 14}" '
                    f'fill="none" stroke="#ffffff" stroke-opacity="0.025" stroke-width="1.2"/>')
    body.append(f'<rect y="0" width="{w}" height="1" fill="#ffffff" fill-opacity="0.06"/>')
    body.append(f'<rect y="{h - 2}" width="{w}" height="1" fill="#1b1c20"/>')
    body.append(f'<rect y="{h - 1}" width="{w}" height="1" fill="url(#accent)"/>')
    return svg(w, h, "\n".join(body), defs)


# ----------------------------------------------------------------------------------------
# Connection indicator 120 x 34, text "   已连接" / "   未连接" drawn by Qt
# ----------------------------------------------------------------------------------------

CONNECT_W, CONNECT_H = 120, 34


def link_glyph(cx, cy, col, broken, gap_col=None):
    """A chain link of two stadium rings on the diagonal; when broken, crossed out by a
    slash with a thin gap in the badge colour on both sides."""
    g = [f'<g transform="translate({fmt(cx)},{fmt(cy)}) rotate(-45)" fill="none" stroke="{col}" '
         f'stroke-width="1.9" stroke-linecap="round" stroke-linejoin="round">',
         '<rect x="-7.6" y="-2.9" width="9" height="5.8" rx="2.9"/>',
         '<rect x="-1.4" y="-2.9" width="9" height="5.8" rx="2.9"/>']
    if broken:
        g.append(f'<path d="M0,-7.6 V7.6" stroke="{gap_col}" stroke-width="4.6"/>')
        g.append('<path d="M0,-7.6 V7.6"/>')
    g.append('</g>')
    return "".join(g)


def connect(on, state):
    w, h = CONNECT_W, CONNECT_H
    if on:
        top, bottom = {"normal": (GREEN_TOP, GREEN_PRESS), "hover": ("#45dc84", GREEN),
                       "press": (GREEN_PRESS, "#1a9c4e")}[state]
        badge = '<circle cx="19" cy="17" r="12" fill="#ffffff" fill-opacity="0.24"/>'
        rim = "#ffffff"
        rim_op = 0.18
    else:
        top, bottom = {"normal": ("#52535b", "#404148"), "hover": ("#5e5f68", "#4a4b53"),
                       "press": ("#3d3e45", "#35363c")}[state]
        badge = f'<circle cx="19" cy="17" r="12" fill="{RED}"/>'
        rim = "#ffffff"
        rim_op = 0.10
    defs = lin_grad("fill", [(0, top), (1, bottom)])
    body = [f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="{(h - 2) / 2}" fill="url(#fill)"/>',
            f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="{(h - 3) / 2}" fill="none" '
            f'stroke="{rim}" stroke-opacity="{rim_op}"/>',
            badge, link_glyph(19, 17, "#ffffff", not on, RED)]
    return svg(w, h, "\n".join(body), defs)


# ----------------------------------------------------------------------------------------
# Page buttons 78 x 70: icon in the upper part, Qt draws the text below
# ----------------------------------------------------------------------------------------

NAV_W, NAV_H = 78, 70
ICX, ICY = 39, 24  # icon centre
ICON_SCALE = 1.18  # icons are drawn for a 26 px box, shown a little larger


def gear_icon(col):
    cx, cy = ICX, ICY
    ro, ri, n = 13.0, 10.0, 8
    half_out, half_in = 9.0, 13.5  # half widths of a tooth in degrees at tip and root
    d = []
    for i in range(n):
        a = i * 360 / n - 90
        pts = [(ri, a - half_in), (ro, a - half_out), (ro, a + half_out), (ri, a + half_in)]
        for k, (r, ang) in enumerate(pts):
            t = math.radians(ang)
            x, y = cx + r * math.cos(t), cy + r * math.sin(t)
            if i == 0 and k == 0:
                d.append(f"M{pt(x, y)}")
            elif k == 0:
                d.append(f"A{fmt(ri)},{fmt(ri)} 0 0 1 {pt(x, y)}")
            else:
                d.append(f"L{pt(x, y)}")
    t = math.radians(-90 - half_in)
    d.append(f"A{fmt(ri)},{fmt(ri)} 0 0 1 {pt(cx + ri * math.cos(t), cy + ri * math.sin(t))} Z")
    hole = 4.6
    d.append(f"M{pt(cx + hole, cy)} A{hole},{hole} 0 1 0 {pt(cx - hole, cy)} "
             f"A{hole},{hole} 0 1 0 {pt(cx + hole, cy)} Z")
    return f'<path d="{" ".join(d)}" fill="{col}" fill-rule="evenodd"/>'


def spray_icon(col):
    g = [f'<rect x="{ICX - 13}" y="{ICY - 14}" width="26" height="4" rx="2" fill="{col}"/>',
         f'<rect x="{ICX - 1.6}" y="{ICY - 11}" width="3.2" height="4" fill="{col}"/>',
         f'<path d="M{ICX - 5},{ICY - 7.5} L{ICX + 5},{ICY - 7.5} L{ICX + 2.6},{ICY - 2} '
         f'L{ICX - 2.6},{ICY - 2} Z" fill="{col}" stroke="{col}" stroke-width="1" stroke-linejoin="round"/>']
    # fan of droplets
    ox, oy = ICX, ICY - 1
    rows = ((6.5, 1.15, (-25, 0, 25)), (11, 1.4, (-33, -11, 11, 33)),
            (15.5, 1.65, (-40, -20, 0, 20, 40)))
    for r, sz, angles in rows:
        for ang in angles:
            t = math.radians(90 + ang)
            g.append(f'<circle cx="{fmt(ox + r * math.cos(t))}" cy="{fmt(oy + r * math.sin(t))}" '
                     f'r="{fmt(sz)}" fill="{col}"/>')
    return "".join(g)


def update_icon(col):
    cx, cy, r = ICX, ICY, 11.5
    g = [arrow_arc(cx, cy, r, 200, 125, col, 2.2, head=5.0),
         arrow_arc(cx, cy, r, 20, 125, col, 2.2, head=5.0),
         f'<path d="M{cx},{cy - 5.5} L{cx},{cy + 4}" stroke="{col}" stroke-width="2.2" stroke-linecap="round"/>',
         f'<path d="M{cx - 4},{cy + 0.5} L{cx},{cy + 4.8} L{cx + 4},{cy + 0.5}" fill="none" stroke="{col}" '
         f'stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>']
    return "".join(g)


def nav_button(kind, state):
    w, h = NAV_W, NAV_H
    defs = ""
    body = []
    if state == "hover":
        body.append(f'<rect x="2" y="2" width="{w - 4}" height="{h - 4}" rx="8" fill="#ffffff" fill-opacity="0.08" '
                    f'stroke="#ffffff" stroke-opacity="0.14"/>')
        col, bg = "#ffffff", "#3a3b41"
    elif state == "checked":
        defs = lin_grad("sel", [(0, GREEN_TOP), (1, GREEN_PRESS)])
        body.append(f'<rect x="2" y="2" width="{w - 4}" height="{h - 4}" rx="8" fill="url(#sel)"/>')
        body.append(f'<rect x="2.5" y="2.5" width="{w - 5}" height="{h - 5}" rx="7.5" fill="none" '
                    f'stroke="#ffffff" stroke-opacity="0.18"/>')
        col, bg = "#ffffff", GREEN
    else:
        col, bg = ICON_IDLE, "#303136"
    k = ICON_SCALE
    body.append(f'<g transform="translate({ICX},{ICY}) scale({k}) translate({-ICX},{-ICY})">')
    if kind == "settings":
        body.append(gear_icon(col))
    elif kind == "tool":
        # the jaw's cut-outs are drawn in a mask so they stay transparent
        defs += ('<mask id="cut" maskUnits="userSpaceOnUse" x="0" y="0" width="78" height="70">'
                 '<rect width="78" height="70" fill="#ffffff"/>'
                 f'<g transform="translate({ICX - 1},{ICY + 1}) rotate(-45)">'
                 '<circle cx="-8.5" cy="0" r="1.4" fill="#000000"/>'
                 '<path d="M9,-2.6 L18,-2.6 L18,2.6 L9,2.6 Z" fill="#000000"/>'
                 '<circle cx="9" cy="0" r="2.6" fill="#000000"/></g></mask>')
        body.append(f'<g mask="url(#cut)"><g transform="translate({ICX - 1},{ICY + 1}) rotate(-45)">'
                    f'<circle cx="9" cy="0" r="7.4" fill="{col}"/>'
                    f'<rect x="-11" y="-2.9" width="20" height="5.8" rx="2.9" fill="{col}"/></g></g>')
    elif kind == "ActaPhytophySin":
        body.append(spray_icon(col))
    elif kind == "update":
        body.append(update_icon(col))
    body.append("</g>")
    return svg(w, h, "\n".join(body), defs)


# ----------------------------------------------------------------------------------------
# Status bar lamps 21 x 20 and language buttons 35 x 26
# ----------------------------------------------------------------------------------------

def lamp(kind):
    w, h = 21, 20
    cx, cy = 10.5, 10
    if kind == "red":
        c0, c1, c2, glow = "#ff8a8a", "#f01d2c", "#a10a14", "#ff3040"
    elif kind == "blue":
        c0, c1, c2, glow = "#9fd0ff", "#2f8ff2", "#175fb0", "#3c9bff"
    else:
        c0, c1, c2, glow = "#6d6f77", "#4a4c52", "#34353a", None
    defs = rad_grad("body", [(0, c0), (0.55, c1), (1, c2)], 0.42, 0.38, 0.62)
    body = []
    if glow:
        defs += rad_grad("glow", [(0.5, glow, 0.45), (1, glow, 0)])
        body.append(f'<circle cx="{cx}" cy="{cy}" r="10" fill="url(#glow)"/>')
    body.append(f'<circle cx="{cx}" cy="{cy}" r="7.8" fill="#17181b"/>')
    body.append(f'<circle cx="{cx}" cy="{cy}" r="6.8" fill="url(#body)"/>')
    body.append(f'<ellipse cx="{cx - 1.8}" cy="{cy - 2.9}" rx="2.9" ry="1.8" fill="#ffffff" '
                f'fill-opacity="{0.55 if glow else 0.18}"/>')
    return svg(w, h, "\n".join(body), defs)


def lan_button(lang, state):
    w, h = 35, 26
    if state == "checked":
        frame = f'<rect x="0.5" y="0.5" width="34" height="25" rx="5" fill="{GREEN}" stroke="{GREEN_PRESS}"/>'
        col = "#ffffff"
    elif state == "hover":
        frame = ('<rect x="0.5" y="0.5" width="34" height="25" rx="5" fill="#ffffff" fill-opacity="0.10" '
                 'stroke="#8a8c93"/>')
        col = "#ffffff"
    else:
        frame = '<rect x="0.5" y="0.5" width="34" height="25" rx="5" fill="none" stroke="#5c5e66"/>'
        col = "#b5b7bd"
    weight = f'stroke="{col}" stroke-width="0.45" stroke-linejoin="round"'
    if lang == "zh":
        glyph = text(17.5, 18.7, "中", 15, col, extra=weight)
    else:
        glyph = text(17.5, 17.9, "EN", 13, col, extra=weight + ' letter-spacing="0.4"')
    return svg(w, h, frame + glyph)


# ----------------------------------------------------------------------------------------
# Application icon 256 x 256
# ----------------------------------------------------------------------------------------

def drone_side(cx, cy, s, body, prop, mist=None, tank_level=None, detail="#000000", uid="d"):
    """Agricultural multirotor seen from the front: canopy, tank, arms, props, skids.
    Coordinates are in units of s around (cx, cy). Returns (defs, svg)."""
    def P(x, y):
        return pt(cx + x * s, cy + y * s)

    def L(v):
        return fmt(v * s)

    defs = []
    g = []
    if mist:
        defs.append(lin_grad(f"{uid}mist", [(0, mist, 0.85), (1, mist, 0.0)]))
        for nx in (-60, -22, 22, 60):
            g.append(f'<path d="M{P(nx - 3, 6)} L{P(nx + 3, 6)} L{P(nx + 20, 78)} L{P(nx - 20, 78)} Z" '
                     f'fill="url(#{uid}mist)"/>')
            for k in range(5):
                yy = 14 + k * 13
                spread = 4 + k * 3.4
                for j in (-1, 0, 1):
                    g.append(f'<circle cx="{fmt(cx + (nx + j * spread) * s)}" cy="{fmt(cy + (yy + (j % 2) * 4) * s)}" '
                             f'r="{L(1.7 - k * 0.15)}" fill="{mist}" fill-opacity="{fmt(0.95 - k * 0.17)}"/>')
    # spray boom and nozzles
    g.append(f'<path d="M{P(-64, 2)} L{P(64, 2)}" stroke="{body}" stroke-width="{L(3)}" stroke-linecap="round"/>')
    for nx in (-60, -22, 22, 60):
        g.append(f'<path d="M{P(nx - 3, 1)} L{P(nx + 3, 1)} L{P(nx + 1.6, 7)} L{P(nx - 1.6, 7)} Z" fill="{body}"/>')
    # arms
    for sgn in (-1, 1):
        g.append(f'<path d="M{P(sgn * 20, -12)} L{P(sgn * 80, -26)}" stroke="{body}" '
                 f'stroke-width="{L(7)}" stroke-linecap="round"/>')
        g.append(f'<path d="M{P(sgn * 20, -6)} L{P(sgn * 60, 0)}" stroke="{body}" '
                 f'stroke-width="{L(3.2)}" stroke-linecap="round"/>')
        # motor and prop
        g.append(f'<rect x="{fmt(cx + (sgn * 80 - 5.5) * s)}" y="{fmt(cy - 38 * s)}" width="{L(11)}" '
                 f'height="{L(12)}" rx="{L(2)}" fill="{body}"/>')
        g.append(f'<ellipse cx="{fmt(cx + sgn * 80 * s)}" cy="{fmt(cy - 40 * s)}" rx="{L(31)}" ry="{L(4.4)}" '
                 f'fill="{prop}" fill-opacity="0.6"/>')
        g.append(f'<rect x="{fmt(cx + (sgn * 80 - 1.8) * s)}" y="{fmt(cy - 43 * s)}" width="{L(3.6)}" '
                 f'height="{L(5)}" rx="{L(1)}" fill="{body}"/>')
    # legs and skids
    for sgn in (-1, 1):
        g.append(f'<path d="M{P(sgn * 14, 20)} L{P(sgn * 30, 50)}" stroke="{body}" '
                 f'stroke-width="{L(4)}" stroke-linecap="round"/>')
        g.append(f'<path d="M{P(sgn * 18, 50)} L{P(sgn * 44, 50)}" stroke="{body}" '
                 f'stroke-width="{L(4)}" stroke-linecap="round"/>')
    # tank
    g.append(f'<rect x="{fmt(cx - 19 * s)}" y="{fmt(cy - 4 * s)}" width="{L(38)}" height="{L(30)}" '
             f'rx="{L(6)}" fill="{body}"/>')
    if tank_level:
        g.append(f'<rect x="{fmt(cx - 14 * s)}" y="{fmt(cy + 8 * s)}" width="{L(28)}" height="{L(13)}" '
                 f'rx="{L(3)}" fill="{tank_level}"/>')
    # canopy
    g.append(f'<rect x="{fmt(cx - 27 * s)}" y="{fmt(cy - 26 * s)}" width="{L(54)}" height="{L(26)}" '
             f'rx="{L(12)}" fill="{body}"/>')
    g.append(f'<rect x="{fmt(cx - 15 * s)}" y="{fmt(cy - 20 * s)}" width="{L(30)}" height="{L(5)}" '
             f'rx="{L(2.5)}" fill="{detail}" fill-opacity="0.22"/>')
    return "".join(defs), "".join(g)


def app_icon():
    w = h = 256
    defs = [lin_grad("tile", [(0, "#36d57e"), (1, "#148a4a")], 0, 0, 0.6, 1),
            lin_grad("shine", [(0, "#ffffff", 0.22), (1, "#ffffff", 0)]),
            '<clipPath id="tc"><rect x="8" y="8" width="240" height="240" rx="54"/></clipPath>']
    g = ['<rect x="8" y="8" width="240" height="240" rx="54" fill="url(#tile)"/>',
         '<g clip-path="url(#tc)">']
    # crop rows in perspective at the bottom
    for i in range(-6, 7):
        g.append(f'<path d="M{128 + i * 9},{178} L{128 + i * 38},{260}" stroke="#0c6a36" '
                 f'stroke-opacity="0.45" stroke-width="5" stroke-linecap="round"/>')
    g.append('<rect x="0" y="0" width="256" height="120" fill="url(#shine)"/>')
    g.append('</g>')
    d2, body = drone_side(128, 108, 1.02, "#ffffff", "#ffffff", mist="#e8fff2",
                          tank_level="#1d9d56", detail="#0a5a2e", uid="ic")
    defs.append(d2)
    g.append(body)
    g.append('<rect x="8.5" y="8.5" width="239" height="239" rx="53.5" fill="none" stroke="#ffffff" '
             'stroke-opacity="0.16"/>')
    return svg(w, h, "\n".join(g), "\n".join(defs))


# ----------------------------------------------------------------------------------------
# Frame-type pictures 120 x 120 (for the 138 x 138 grid buttons)
# ----------------------------------------------------------------------------------------

JX = 120
CW_COL = GREEN     # clockwise seen from above
CCW_COL = BLUE     # counter-clockwise


def number(x, y, n, size, fill="#ffffff"):
    return text(x, y + size * 0.36, str(n), size, fill, weight="bold",
                extra='font-family="DejaVu Sans"').replace(f'font-family="{FONT}" ', "", 1)


def motor(cx, cy, r, cw, num):
    """Prop disc seen from above with its turning arrow and the motor number in the hub."""
    col = CW_COL if cw else CCW_COL
    g = [f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="#ffffff" stroke="{col}" stroke-width="1.4"/>']
    sweep = 250 if cw else -250
    a0 = -215 if cw else 35
    g.append(arrow_arc(cx, cy, r - 3.6, a0, sweep, col, 1.7, head=4.2))
    g.append(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="5.3" fill="{INK}"/>')
    g.append(number(cx, cy, num, 8))
    return "".join(g)


def lower_motor(cx, cy, r, cw, num, out_deg):
    """Lower prop of a coaxial pair, mostly hidden under the upper one: dashed disc, its
    arrow on the free outer rim and its number in a badge there."""
    col = CW_COL if cw else CCW_COL
    g = [f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="#f4f5f7" stroke="{col}" '
         f'stroke-width="1.3" stroke-dasharray="3 2"/>']
    if cw:
        g.append(arrow_arc(cx, cy, r - 2.2, out_deg - 80, 160, col, 1.6, head=4.0))
    else:
        g.append(arrow_arc(cx, cy, r - 2.2, out_deg + 80, -160, col, 1.6, head=4.0))
    t = math.radians(out_deg)
    bx, by = cx + (r - 7.6) * math.cos(t), cy + (r - 7.6) * math.sin(t)
    g.append(f'<circle cx="{fmt(bx)}" cy="{fmt(by)}" r="4.4" fill="{INK_SOFT}"/>')
    g.append(number(bx, by, num, 6.8))
    return "".join(g)


def body_plate(cx=60, cy=60):
    return (f'<rect x="{cx - 11}" y="{cy - 11}" width="22" height="22" rx="6" fill="{INK}"/>'
            f'<path d="M{cx},{cy - 7} L{cx + 5.5},{cy + 1} L{cx + 2},{cy + 1} L{cx + 2},{cy + 6.5} '
            f'L{cx - 2},{cy + 6.5} L{cx - 2},{cy + 1} L{cx - 5.5},{cy + 1} Z" fill="#ffffff"/>')


def arm(x0, y0, x1, y1, w=4.0):
    return (f'<path d="M{pt(x0, y0)} L{pt(x1, y1)}" stroke="{INK_SOFT}" stroke-width="{w}" '
            f'stroke-linecap="round"/>')


def radial_frame(n, offset_deg, length, r, first_cw=True, coax=False, gap=12.5):
    """n arms at equal spacing; offset 0 puts an arm on the nose. Motors are numbered
    clockwise from the nose (or from the first arm right of the nose); on a coaxial frame the
    upper props take 1..n and the lower ones n+1..2n."""
    c = JX / 2
    arms, lower, upper = [], [], []
    for i in range(n):
        a = offset_deg + i * 360 / n - 90  # screen angle, 0 = right
        t = math.radians(a)
        x, y = c + length * math.cos(t), c + length * math.sin(t)
        cw = first_cw if (coax and n == 3) or i % 2 == 0 else not first_cw
        if coax:
            lo = length + gap
            lx, ly = c + lo * math.cos(t), c + lo * math.sin(t)
            arms.append(arm(c, c, lx, ly))
            lower.append(lower_motor(lx, ly, r, not cw, i + 1 + n, a))
        else:
            arms.append(arm(c, c, x, y))
        upper.append(motor(x, y, r, cw, i + 1))
    return "".join(arms) + body_plate() + "".join(lower) + "".join(upper)


def jx_picture(code):
    c = JX / 2
    if code == 0:     # QuadI: plus layout, nose on an arm
        g = radial_frame(4, 0, 41, 15, first_cw=True)
    elif code == 1:   # QuadX
        g = radial_frame(4, 45, 41, 15, first_cw=False)
    elif code == 2:   # HexaY: coaxial Y6, two arms forward
        g = radial_frame(3, 60, 27, 13.5, first_cw=True, coax=True)
    elif code == 3:   # HexaIY: coaxial Y6 turned, one arm on the nose
        g = radial_frame(3, 0, 27, 13.5, first_cw=True, coax=True)
    elif code == 4:   # HexaI: nose on an arm
        g = radial_frame(6, 0, 42, 13, first_cw=True)
    elif code == 5:   # HexaV: nose between two arms
        g = radial_frame(6, 30, 42, 13, first_cw=False)
    elif code == 6:   # OctoI
        g = radial_frame(8, 0, 44, 11, first_cw=True)
    elif code == 7:   # OctoV
        g = radial_frame(8, 22.5, 44, 11, first_cw=False)
    elif code == 8:   # OctoX: coaxial X8
        g = radial_frame(4, 45, 30, 14.5, first_cw=False, coax=True)
    elif code == 9:   # AllotypeX: H frame, rectangle wider than long
        pts = [(c + 34, c - 27), (c + 34, c + 27), (c - 34, c + 27), (c - 34, c - 27)]
        g = (arm(c + 34, c - 27, c + 34, c + 27, 4.4) + arm(c - 34, c - 27, c - 34, c + 27, 4.4) +
             arm(c - 34, c, c + 34, c, 4.4) + body_plate())
        cws = [False, True, False, True]
        g += "".join(motor(x, y, 15, cws[i], i + 1) for i, (x, y) in enumerate(pts))
    elif code == 10:  # AllotypeI: long spine on the nose axis, short cross beam
        pts = [(c, c - 43), (c + 30, c), (c, c + 43), (c - 30, c)]
        g = (arm(c, c - 43, c, c + 43, 4.4) + arm(c - 30, c, c + 30, c, 4.4) + body_plate())
        cws = [True, False, True, False]
        g += "".join(motor(x, y, 14, cws[i], i + 1) for i, (x, y) in enumerate(pts))
    return svg(JX, JX, g)


JX_NAMES = {0: "JX1-1", 1: "JX1-2", 2: "JX1-3", 3: "JX2-1", 4: "JX2-2", 5: "JX2-3",
            6: "JX3-1", 7: "JX3-2", 8: "JX3-3", 9: "JX4-1", 10: "JX4-2"}


# ----------------------------------------------------------------------------------------
# Border images for the frame grid (138 x 138) and the page tabs (70 x 30)
# ----------------------------------------------------------------------------------------

def jixing_frame(checked):
    w = h = 138
    if not checked:
        return svg(w, h, f'<rect x="1" y="1" width="136" height="136" rx="8" fill="{GREEN}" fill-opacity="0.06" '
                         f'stroke="{GREEN}" stroke-width="2"/>')
    defs = '<clipPath id="c"><rect x="0" y="0" width="138" height="138" rx="9"/></clipPath>'
    g = [f'<rect x="1.5" y="1.5" width="135" height="135" rx="8" fill="{GREEN}" fill-opacity="0.12" '
         f'stroke="{GREEN}" stroke-width="3"/>',
         f'<g clip-path="url(#c)"><path d="M138,104 L138,138 L104,138 Z" fill="{GREEN}"/></g>',
         '<path d="M119,127.5 L123.5,132 L131.5,122.5" fill="none" stroke="#ffffff" stroke-width="2.2" '
         'stroke-linecap="round" stroke-linejoin="round"/>']
    return svg(w, h, "\n".join(g), defs)


def tab_image(checked):
    w, h = 70, 30
    if checked:
        g = ['<rect x="0" y="0" width="70" height="30" rx="4" fill="#f4f5f7"/>',
             f'<rect x="0" y="27" width="70" height="3" fill="{GREEN}"/>',
             '<rect x="0" y="0" width="70" height="30" rx="4" fill="none" stroke="#ffffff" stroke-opacity="0.6"/>']
        defs = '<clipPath id="c"><rect width="70" height="30" rx="4"/></clipPath>'
        return svg(w, h, f'<g clip-path="url(#c)">{"".join(g)}</g>', defs)
    return svg(w, h, '<rect x="0.5" y="0.5" width="69" height="29" rx="4" fill="#ffffff" fill-opacity="0.10" '
                     'stroke="#ffffff" stroke-opacity="0.28"/>')


# ----------------------------------------------------------------------------------------
# Battery level icons 46 x 24
# ----------------------------------------------------------------------------------------

def battery(level):
    w, h = 46, 24
    col = ORANGE if level == "mid" else RED_WARN
    bars = 2 if level == "mid" else 1
    g = [f'<rect x="1.5" y="3.5" width="38" height="17" rx="3.5" fill="#ffffff" stroke="{col}" stroke-width="2"/>',
         f'<rect x="40.5" y="8.5" width="4" height="7" rx="1.5" fill="{col}"/>']
    for i in range(4):
        x = 4.5 + i * 8.5
        if i < bars:
            g.append(f'<rect x="{fmt(x)}" y="6.5" width="7" height="11" rx="1.2" fill="{col}"/>')
        else:
            g.append(f'<rect x="{fmt(x)}" y="6.5" width="7" height="11" rx="1.2" fill="{col}" fill-opacity="0.12"/>')
    return svg(w, h, "\n".join(g))


# ----------------------------------------------------------------------------------------
# GPS antenna offset diagram 400 x 330 (Chinese / English)
# ----------------------------------------------------------------------------------------

GPS_TEXTS = {
    "CH": {"title": "GPS 天线安装位置（俯视）", "x": "X 轴（机头方向）", "y": "Y 轴（右侧）",
           "gps": "GPS 天线", "centre": "飞机中心", "nose": "机头",
           "neg": "绿色区域：负数", "pos": "蓝色区域：正数", "unit": "单位：厘米"},
    "EN": {"title": "GPS antenna position (top view)", "x": "X axis (nose)", "y": "Y axis (right)",
           "gps": "GPS antenna", "centre": "Aircraft centre", "nose": "Nose",
           "neg": "Green area: negative", "pos": "Blue area: positive", "unit": "Unit: cm"},
}


def gps_picture(lang):
    t = GPS_TEXTS[lang]
    w, h = 400, 330
    cx, cy = 200, 178
    defs = [lin_grad("card", [(0, "#ffffff"), (1, "#f5f6f8")])]
    g = [f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="10" fill="url(#card)" stroke="#d9dbe0"/>',
         text(20, 30, t["title"], 15, INK, anchor="start")]
    # coloured half-axes: green = negative, blue = positive
    band = 16
    L = 120
    g.append(f'<rect x="{cx - band / 2}" y="{cy - L}" width="{band}" height="{L}" fill="{BLUE}" fill-opacity="0.16"/>')
    g.append(f'<rect x="{cx - band / 2}" y="{cy}" width="{band}" height="{L - 20}" fill="{GREEN}" fill-opacity="0.18"/>')
    g.append(f'<rect x="{cx}" y="{cy - band / 2}" width="{L + 20}" height="{band}" fill="{BLUE}" fill-opacity="0.16"/>')
    g.append(f'<rect x="{cx - L - 20}" y="{cy - band / 2}" width="{L + 20}" height="{band}" fill="{GREEN}" fill-opacity="0.18"/>')
    # aircraft top view (quad X, grey)
    for a in (45, 135, 225, 315):
        tt = math.radians(a - 90)
        x, y = cx + 62 * math.cos(tt), cy + 62 * math.sin(tt)
        g.append(f'<path d="M{cx},{cy} L{pt(x, y)}" stroke="#b8bbc2" stroke-width="7" stroke-linecap="round"/>')
        g.append(f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="27" fill="#eceef1" fill-opacity="0.8" stroke="#c4c7cd" stroke-width="1.5"/>')
        g.append(f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="6" fill="#b8bbc2"/>')
    g.append(f'<rect x="{cx - 24}" y="{cy - 30}" width="48" height="60" rx="12" fill="#dfe1e5" stroke="#b8bbc2" stroke-width="1.5"/>')
    g.append(f'<path d="M{cx - 9},{cy - 19} L{cx},{cy - 27} L{cx + 9},{cy - 19}" fill="none" stroke="#9a9da5" '
             'stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>')
    # axes
    g.append(f'<path d="M{cx},{cy + L - 20} L{cx},{cy - L + 4}" stroke="{INK}" stroke-width="1.8"/>')
    g.append(f'<path d="M{cx},{cy - L - 4} L{cx - 6},{cy - L + 8} L{cx + 6},{cy - L + 8} Z" fill="{INK}"/>')
    g.append(f'<path d="M{cx - L - 20},{cy} L{cx + L + 16},{cy}" stroke="{INK}" stroke-width="1.8"/>')
    g.append(f'<path d="M{cx + L + 24},{cy} L{cx + L + 12},{cy - 6} L{cx + L + 12},{cy + 6} Z" fill="{INK}"/>')
    g.append(text(cx + 12, cy - L + 4, t["x"], 12.5, INK, anchor="start"))
    g.append(text(cx + L + 24, cy - 14, t["y"], 12.5, INK, anchor="end"))
    # sign marks at the band ends
    g.append(text(cx + 18, cy - L + 40, "+", 16, BLUE, weight="bold"))
    g.append(text(cx + 18, cy + L - 30, "−", 16, GREEN, weight="bold"))
    g.append(text(cx + L - 2, cy + 26, "+", 16, BLUE, weight="bold"))
    g.append(text(cx - L + 2, cy + 26, "−", 16, GREEN, weight="bold"))
    # centre
    g.append(f'<circle cx="{cx}" cy="{cy}" r="4" fill="#ffffff" stroke="{INK}" stroke-width="2"/>')
    g.append(text(cx + 10, cy + 22, t["centre"], 11.5, INK_SOFT, anchor="start",
                  extra='stroke="#ffffff" stroke-width="3.5" stroke-linejoin="round" paint-order="stroke"'))
    # example antenna ahead and to the left: X positive (blue), Y negative (green)
    ax, ay = cx - 62, cy - 78
    g.append(f'<path d="M{ax},{cy - 3} L{ax},{ay + 22}" stroke="{BLUE}" stroke-width="2" stroke-dasharray="5 3"/>')
    g.append(f'<path d="M{ax},{ay + 16} L{ax - 4.5},{ay + 25} L{ax + 4.5},{ay + 25} Z" fill="{BLUE}"/>')
    g.append(f'<path d="M{cx - 3},{ay} L{ax + 22},{ay}" stroke="{GREEN}" stroke-width="2" stroke-dasharray="5 3"/>')
    g.append(f'<path d="M{ax + 16},{ay} L{ax + 25},{ay - 4.5} L{ax + 25},{ay + 4.5} Z" fill="{GREEN}"/>')
    halo = 'stroke="#ffffff" stroke-width="4" stroke-linejoin="round" paint-order="stroke"'
    g.append(text(ax - 8, (ay + cy) / 2 + 4, "X+", 13, BLUE, anchor="end", weight="bold", extra=halo))
    g.append(text((ax + cx) / 2 + 6, ay + 19, "Y−", 13, GREEN, weight="bold", extra=halo))
    g.append(f'<circle cx="{ax}" cy="{ay}" r="14" fill="#ffffff" stroke="{INK}" stroke-width="2"/>')
    g.append(f'<circle cx="{ax}" cy="{ay}" r="9.5" fill="{INK}"/>')
    g.append(text(ax, ay + 3.2, "GPS", 8.5, "#ffffff", weight="bold",
                  extra='font-family="DejaVu Sans"').replace(f'font-family="{FONT}" ', "", 1))
    g.append(text(ax - 20, ay + 4, t["gps"], 12.5, INK, anchor="end"))
    # legend
    ly = h - 18
    g.append(f'<rect x="20" y="{ly - 10}" width="14" height="10" rx="2" fill="{GREEN}"/>')
    g.append(text(40, ly, t["neg"], 11.5, INK, anchor="start"))
    lx2 = 178 if lang == "CH" else 190
    g.append(f'<rect x="{lx2}" y="{ly - 10}" width="14" height="10" rx="2" fill="{BLUE}"/>')
    g.append(text(lx2 + 20, ly, t["pos"], 11.5, INK, anchor="start"))
    g.append(text(w - 20, 30, t["unit"], 11.5, TEXT_GREY, anchor="end"))
    return svg(w, h, "\n".join(g), "\n".join(defs))


# ----------------------------------------------------------------------------------------
# Return-to-home diagram 480 x 300 (Chinese / English), JPG
# ----------------------------------------------------------------------------------------

RTH_TEXTS = {
    "CH": {"home": "返航点", "work": "作业位置", "climb": "上升", "back": "返航", "land": "降落",
           "height": "返航高度", "range": "3～30 米"},
    "EN": {"home": "Home point", "work": "Working position", "climb": "Climb", "back": "Return",
           "land": "Land", "height": "Return height", "range": "3–30 m"},
}


def return_height_picture(lang):
    t = RTH_TEXTS[lang]
    w, h = 480, 300
    ground = 246
    top = 70
    hx, wx = 110, 378
    defs = [lin_grad("sky", [(0, "#e3f0fa"), (1, "#fbfdff")]),
            lin_grad("field", [(0, "#5fcf8c"), (1, "#2ea561")])]
    g = [f'<rect width="{w}" height="{h}" fill="url(#sky)"/>',
         f'<rect y="{ground}" width="{w}" height="{h - ground}" fill="url(#field)"/>',
         f'<rect y="{ground}" width="{w}" height="2" fill="#239152"/>']
    for i in range(-12, 13):
        g.append(f'<path d="M{240 + i * 14},{ground + 2} L{240 + i * 40},{h}" stroke="#1f8a4c" '
                 'stroke-opacity="0.35" stroke-width="3"/>')
    # faint clouds
    for x, y, s in ((70, 38, 1.0), (300, 30, 0.8), (430, 58, 0.6)):
        g.append(f'<g fill="#ffffff" fill-opacity="0.9"><ellipse cx="{x}" cy="{y}" rx="{28 * s}" ry="{9 * s}"/>'
                 f'<ellipse cx="{x - 10 * s}" cy="{y - 6 * s}" rx="{14 * s}" ry="{9 * s}"/>'
                 f'<ellipse cx="{x + 9 * s}" cy="{y - 8 * s}" rx="{12 * s}" ry="{9 * s}"/></g>')
    # home pad
    g.append(f'<ellipse cx="{hx}" cy="{ground + 8}" rx="30" ry="7" fill="#ffffff" stroke="{INK}" stroke-width="1.5"/>')
    g.append(text(hx, ground + 12.5, "H", 12, GREEN_PRESS, weight="bold",
                  extra='font-family="DejaVu Sans"').replace(f'font-family="{FONT}" ', "", 1))
    # path: climb, return at the set height, land
    path_col = GREEN_PRESS
    wy = 196
    g.append(f'<path d="M{wx},{wy - 26} L{wx},{top + 8} Q{wx},{top} {wx - 8},{top} L{hx + 8},{top} '
             f'Q{hx},{top} {hx},{top + 8} L{hx},{ground - 30}" fill="none" stroke="{path_col}" '
             'stroke-width="2.4" stroke-dasharray="7 5" stroke-linecap="round"/>')

    def head(x, y, dx, dy):
        nx, ny = -dy, dx
        return (f'<path d="M{pt(x + dx * 7, y + dy * 7)} L{pt(x - dx * 5 + nx * 6, y - dy * 5 + ny * 6)} '
                f'L{pt(x - dx * 5 - nx * 6, y - dy * 5 - ny * 6)} Z" fill="{path_col}"/>')
    g.append(head(wx, 122, 0, -1))
    g.append(head((wx + hx) / 2, top, -1, 0))
    g.append(head(hx, 170, 0, 1))
    g.append(text(wx + 12, 126, t["climb"], 13, INK, anchor="start"))
    g.append(text((wx + hx) / 2, top - 10, t["back"], 13, INK))
    g.append(text(hx + 12, 174, t["land"], 13, INK, anchor="start"))
    # aircraft: working (spraying) and at the return height
    d1, a1 = drone_side(wx, wy, 0.34, INK, "#8f939b", mist="#3aa0ff", uid="w")
    d2, a2 = drone_side(wx, top, 0.26, INK, "#8f939b", uid="t")
    d3, a3 = drone_side(hx, top, 0.26, INK, "#8f939b", uid="h")
    defs += [d1, d2, d3]
    g.append(f'<g opacity="0.45">{a2}</g>')
    g.append(f'<g opacity="0.45">{a3}</g>')
    g.append(a1)
    g.append(text(wx, ground + 26, t["work"], 12.5, "#ffffff"))
    g.append(text(hx, ground + 32, t["home"], 12.5, "#ffffff"))
    # height dimension
    dx = 36
    g.append(f'<path d="M{dx},{top} L{dx},{ground}" stroke="{INK}" stroke-width="1.4"/>')
    g.append(f'<path d="M{dx - 7},{top} L{dx + 7},{top} M{dx - 7},{ground} L{dx + 7},{ground}" stroke="{INK}" stroke-width="1.4"/>')
    g.append(f'<path d="M{dx},{top} L{dx - 4},{top + 9} L{dx + 4},{top + 9} Z" fill="{INK}"/>')
    g.append(f'<path d="M{dx},{ground} L{dx - 4},{ground - 9} L{dx + 4},{ground - 9} Z" fill="{INK}"/>')
    g.append(f'<path d="M{dx + 8},{top} L{hx - 30},{top}" stroke="{INK}" stroke-width="1" stroke-dasharray="2 3"/>')
    g.append(f'<rect x="{dx - 24}" y="{(top + ground) / 2 - 24}" width="{88 if lang == "EN" else 66}" height="46" rx="6" '
             f'fill="#ffffff" fill-opacity="0.92" stroke="#d3d6db"/>')
    g.append(text(dx - 16, (top + ground) / 2 - 5, t["height"], 12.5, INK, anchor="start", weight="bold"))
    g.append(text(dx - 16, (top + ground) / 2 + 14, t["range"], 12.5, RED, anchor="start"))
    return svg(w, h, "\n".join(g), "\n".join(defs))


# ----------------------------------------------------------------------------------------

def catalogue():
    """Resource name -> SVG text, in the order of the contact sheet."""
    imgs = {}
    for kind in ("min", "close"):
        for state, suffix in (("normal", ""), ("hover", "_hover"), ("press", "_press")):
            imgs[f"{kind}{suffix}.png"] = title_button(kind, state)
    imgs["mid_bar.png"] = mid_bar()
    for on, base in ((True, "connect"), (False, "no_connect")):
        for state, suffix in (("normal", ""), ("hover", "_hover"), ("press", "_press")):
            imgs[f"{base}{suffix}.png"] = connect(on, state)
    for kind in ("settings", "tool", "ActaPhytophySin", "update"):
        for state, suffix in (("normal", ""), ("hover", "_hover"), ("checked", "_checked")):
            imgs[f"{kind}{suffix}.png"] = nav_button(kind, state)
    imgs["red_light.png"] = lamp("red")
    imgs["blue_light.png"] = lamp("blue")
    imgs["no_light.png"] = lamp("none")
    for lang in ("zh", "en"):
        for state, suffix in (("normal", ""), ("hover", "_hover"), ("checked", "_checked")):
            imgs[f"lan_{lang}{suffix}.png"] = lan_button(lang, state)
    imgs["icon.png"] = app_icon()
    for code, name in JX_NAMES.items():
        imgs[f"{name}.png"] = jx_picture(code)
    imgs["jixing_select.PNG"] = jixing_frame(False)
    imgs["jixing_checked.PNG"] = jixing_frame(True)
    imgs["tab_hover.png"] = tab_image(False)
    imgs["tab_checked.png"] = tab_image(True)
    imgs["battery_mid.png"] = battery("mid")
    imgs["battery_low.png"] = battery("low")
    imgs["CH_GPSPosition.png"] = gps_picture("CH")
    imgs["EN_GPSPosition.png"] = gps_picture("EN")
    imgs["CH_ReturnHeight.jpg"] = return_height_picture("CH")
    imgs["EN_ReturnHeight.jpg"] = return_height_picture("EN")
    return imgs


def find_convert():
    for name in ("magick", "convert-im6.q16", "convert-im6"):
        p = shutil.which(name)
        if p:
            return [p] if name != "magick" else [p, "convert"]
    if os.path.exists("/usr/bin/convert"):
        return ["/usr/bin/convert"]
    p = shutil.which("convert")
    return [p] if p else None


def render(name, svg_path):
    out = os.path.join(OUT_DIR, name)
    if name.lower().endswith(".jpg"):
        conv = find_convert()
        if not conv:
            sys.exit("ImageMagick is needed for the JPG pictures (Debian: imagemagick)")
        with tempfile.TemporaryDirectory() as tmp:
            png = os.path.join(tmp, "p.png")
            subprocess.run(["rsvg-convert", "-f", "png", "-o", png, svg_path], check=True)
            subprocess.run(conv + [png, "-background", "white", "-flatten", "-strip",
                                   "-quality", "93", "-sampling-factor", "4:4:4", out], check=True)
    else:
        subprocess.run(["rsvg-convert", "-f", "png", "-o", out, svg_path], check=True)
        conv = find_convert()
        if conv:  # drop metadata so the files do not change between runs
            subprocess.run(conv + [out, "-strip", "-define", "png:exclude-chunks=date,time", out], check=True)


def main():
    svg_only = "--svg-only" in sys.argv[1:]
    if not svg_only and not shutil.which("rsvg-convert"):
        sys.exit("rsvg-convert is needed (Debian: librsvg2-bin), or run with --svg-only")
    os.makedirs(SRC_DIR, exist_ok=True)
    imgs = catalogue()
    for name, text_svg in imgs.items():
        base = os.path.splitext(name)[0]
        path = os.path.join(SRC_DIR, base + ".svg")
        with open(path, "w", encoding="utf-8") as f:
            f.write(text_svg)
        if not svg_only:
            render(name, path)
    # the CMake list must name every file
    cmake = open(os.path.join(ROOT, "resources", "CMakeLists.txt"), encoding="utf-8").read() \
        if os.path.exists(os.path.join(ROOT, "resources", "CMakeLists.txt")) else ""
    missing = [n for n in imgs if f"images/{n}" not in cmake]
    print(f"{len(imgs)} images written")
    if missing:
        print("not listed in resources/CMakeLists.txt:", " ".join(missing))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
