#!/usr/bin/env python3
"""Draws the spraying page's four pictures as SVG and renders them to PNG beside this folder.

    python3 ui/spraying/images/src/generate.py

Needs rsvg-convert (Debian: librsvg2-bin). The pictures carry no text, so one set serves both
languages. The SVG files are outputs: change the drawing here.
"""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)
GREEN = "#22c063"
GREEN_SOFT = "#bfeed2"
BLUE = "#2d8cf0"
BLUE_SOFT = "#d5e8fd"
INK = "#3a3b41"
INK_SOFT = "#8a8c93"
SOIL = "#e9dfcf"
ROW = "#9fd3a8"
RED = "#e70010"


def svg(w, h, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n'
            '<defs><marker id="a" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" '
            f'orient="auto-start-reverse"><path d="M0,0 L10,5 L0,10 z" fill="{INK}"/></marker>'
            '<marker id="g" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" '
            f'orient="auto-start-reverse"><path d="M0,0 L10,5 L0,10 z" fill="{GREEN}"/></marker></defs>\n'
            + body + "\n</svg>\n")


def quad_top(cx, cy, r=26):
    """Quad X seen from above, nose up."""
    parts = []
    for dx, dy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        x, y = cx + dx * r, cy + dy * r
        parts.append(f'<line x1="{cx}" y1="{cy}" x2="{x}" y2="{y}" stroke="{INK}" stroke-width="5" stroke-linecap="round"/>')
        parts.append(f'<circle cx="{x}" cy="{y}" r="{r * 0.62:.1f}" fill="{BLUE_SOFT}" fill-opacity="0.85" stroke="{BLUE}" stroke-width="2"/>')
        parts.append(f'<circle cx="{x}" cy="{y}" r="3.5" fill="{INK}"/>')
    parts.append(f'<rect x="{cx - 13}" y="{cy - 15}" width="26" height="30" rx="7" fill="{INK}"/>')
    parts.append(f'<path d="M{cx},{cy - 10} l6,9 h-12 z" fill="white"/>')
    return "\n".join(parts)


def quad_side(cx, cy, w=120):
    """Multirotor seen from the side, with its tank below the body."""
    half = w / 2
    return "\n".join([
        f'<line x1="{cx - half}" y1="{cy}" x2="{cx + half}" y2="{cy}" stroke="{INK}" stroke-width="5" stroke-linecap="round"/>',
        f'<rect x="{cx - half - 22}" y="{cy - 12}" width="44" height="5" rx="2.5" fill="{BLUE}"/>',
        f'<rect x="{cx + half - 22}" y="{cy - 12}" width="44" height="5" rx="2.5" fill="{BLUE}"/>',
        f'<rect x="{cx - half - 2}" y="{cy - 10}" width="4" height="10" fill="{INK}"/>',
        f'<rect x="{cx + half - 2}" y="{cy - 10}" width="4" height="10" fill="{INK}"/>',
        f'<rect x="{cx - 22}" y="{cy - 8}" width="44" height="20" rx="6" fill="{INK}"/>',
        f'<rect x="{cx - 16}" y="{cy + 12}" width="32" height="22" rx="4" fill="white" stroke="{INK}" stroke-width="2.5"/>',
        f'<rect x="{cx - 14}" y="{cy + 22}" width="28" height="10" rx="2" fill="{GREEN_SOFT}"/>',
        f'<line x1="{cx - half + 10}" y1="{cy + 30}" x2="{cx + half - 10}" y2="{cy + 30}" stroke="{INK_SOFT}" stroke-width="3"/>',
        f'<line x1="{cx - half + 10}" y1="{cy + 30}" x2="{cx - half + 10}" y2="{cy + 36}" stroke="{INK_SOFT}" stroke-width="3"/>',
        f'<line x1="{cx + half - 10}" y1="{cy + 30}" x2="{cx + half - 10}" y2="{cy + 36}" stroke="{INK_SOFT}" stroke-width="3"/>',
        f'<line x1="{cx - 30}" y1="{cy + 4}" x2="{cx - 30}" y2="{cy + 40}" stroke="{INK}" stroke-width="2"/>',
        f'<line x1="{cx + 30}" y1="{cy + 4}" x2="{cx + 30}" y2="{cy + 40}" stroke="{INK}" stroke-width="2"/>',
    ])


def spray_cone(x, y, length=60, spread=26, colour=GREEN):
    """Spray below a nozzle at (x, y); the droplets stay inside the cone."""
    f, g = spread / 26, length / 60
    return (f'<path d="M{x},{y} L{x - spread},{y + length} L{x + spread},{y + length} z" '
            f'fill="{colour}" fill-opacity="0.22"/>'
            + "".join(f'<circle cx="{x + dx}" cy="{y + dy}" r="2" fill="{colour}"/>'
                      for dx, dy in ((-6 * f, 18 * g), (5 * f, 26 * g), (-12 * f, 38 * g), (10 * f, 44 * g),
                                     (0, 50 * g), (-17 * f, 54 * g), (16 * f, 56 * g))))


def spray_width():
    w, h = 420, 240
    b = [f'<rect x="0" y="0" width="{w}" height="{h}" rx="8" fill="{SOIL}"/>']
    for i in range(9):
        x = 30 + i * 45
        b.append(f'<line x1="{x}" y1="14" x2="{x}" y2="{h - 14}" stroke="{ROW}" stroke-width="7" stroke-linecap="round"/>')
    # Two neighbouring passes: the swath of each, the flight line dashed.
    for x, done in ((140, True), (280, False)):
        b.append(f'<rect x="{x - 62}" y="14" width="124" height="{h - 28}" fill="{GREEN}" fill-opacity="{0.28 if done else 0.14}"/>')
        b.append(f'<line x1="{x}" y1="14" x2="{x}" y2="{h - 14}" stroke="{BLUE}" stroke-width="2.5" stroke-dasharray="8 6"/>')
    b.append(f'<path d="M140,{h - 14} C140,{h + 10} 280,{h + 10} 280,{h - 14}" fill="none" stroke="{BLUE}" stroke-width="2.5" stroke-dasharray="8 6"/>')
    b.append(quad_top(280, 92))
    b.append(f'<line x1="146" y1="188" x2="274" y2="188" stroke="{INK}" stroke-width="3" marker-start="url(#a)" marker-end="url(#a)"/>')
    b.append(f'<line x1="140" y1="172" x2="140" y2="204" stroke="{INK}" stroke-width="2"/>')
    b.append(f'<line x1="280" y1="172" x2="280" y2="204" stroke="{INK}" stroke-width="2"/>')
    return svg(w, h, "\n".join(b))


def work_speed():
    w, h = 420, 240
    b = [f'<rect x="0" y="0" width="{w}" height="{h}" rx="8" fill="#eef6fd"/>',
         f'<rect x="0" y="176" width="{w}" height="{h - 176}" fill="{SOIL}"/>']
    for i in range(14):
        x = 18 + i * 30
        b.append(f'<path d="M{x},180 q6,-18 12,0" fill="{ROW}" stroke="{GREEN}" stroke-width="1.5"/>')
    b.append(quad_side(250, 78))
    b.append(spray_cone(220, 118, 56, 22))
    b.append(spray_cone(280, 118, 56, 22))
    for y, x0 in ((62, 90), (82, 70), (102, 100)):
        b.append(f'<line x1="{x0}" y1="{y}" x2="{x0 + 60}" y2="{y}" stroke="{INK_SOFT}" stroke-width="3" stroke-linecap="round"/>')
    b.append(f'<line x1="330" y1="40" x2="400" y2="40" stroke="{GREEN}" stroke-width="5" stroke-linecap="round" marker-end="url(#g)"/>')
    # A speedometer dial.
    b.append(f'<path d="M40,160 A34,34 0 0 1 108,160" fill="none" stroke="{INK}" stroke-width="5" stroke-linecap="round"/>')
    b.append(f'<line x1="74" y1="160" x2="96" y2="138" stroke="{RED}" stroke-width="4" stroke-linecap="round"/>')
    b.append(f'<circle cx="74" cy="160" r="5" fill="{INK}"/>')
    return svg(w, h, "\n".join(b))


def pump_calibration():
    w, h = 420, 210
    b = [f'<rect x="0" y="0" width="{w}" height="{h}" rx="8" fill="#f3f8f4"/>']
    # Tank with liquid.
    b.append(f'<rect x="30" y="40" width="90" height="120" rx="12" fill="white" stroke="{INK}" stroke-width="4"/>')
    b.append(f'<rect x="34" y="90" width="82" height="66" rx="9" fill="{GREEN}" fill-opacity="0.45"/>')
    b.append(f'<rect x="60" y="28" width="30" height="14" rx="4" fill="{INK}"/>')
    # Pipe to the pump.
    b.append(f'<path d="M120,140 H170" stroke="{BLUE}" stroke-width="8" fill="none"/>')
    # Pump with impeller.
    b.append(f'<circle cx="200" cy="140" r="32" fill="white" stroke="{INK}" stroke-width="4"/>')
    for angle in range(0, 360, 60):
        b.append(f'<path d="M200,140 q14,-6 24,-22" transform="rotate({angle} 200 140)" stroke="{GREEN}" stroke-width="4" fill="none" stroke-linecap="round"/>')
    b.append(f'<circle cx="200" cy="140" r="6" fill="{INK}"/>')
    b.append(f'<path d="M186,100 A44,44 0 0 1 236,112" fill="none" stroke="{GREEN}" stroke-width="3" marker-end="url(#g)"/>')
    # Pipe to two nozzles with spray.
    b.append(f'<path d="M232,140 H390" stroke="{BLUE}" stroke-width="8" fill="none"/>')
    for x in (300, 370):
        b.append(f'<rect x="{x - 8}" y="142" width="16" height="14" rx="2" fill="{INK}"/>')
        b.append(spray_cone(x, 156, 44, 20))
    # Speed percentage bar above.
    b.append(f'<rect x="250" y="40" width="140" height="12" rx="6" fill="#dcdcdc"/>')
    b.append(f'<rect x="250" y="40" width="92" height="12" rx="6" fill="{GREEN}"/>')
    b.append(f'<path d="M342,58 l8,12 h-16 z" fill="{GREEN}"/>')
    return svg(w, h, "\n".join(b))


def external_switch():
    w, h = 420, 210
    b = [f'<rect x="0" y="0" width="{w}" height="{h}" rx="8" fill="#eef6fd"/>',
         f'<rect x="0" y="172" width="{w}" height="{h - 172}" fill="{SOIL}"/>']
    for i in range(14):
        x = 18 + i * 30
        b.append(f'<path d="M{x},176 q6,-16 12,0" fill="{ROW}" stroke="{GREEN}" stroke-width="1.5"/>')
    b.append(quad_side(150, 52))
    # Radar under the body, its beam and the measured height.
    b.append(f'<rect x="138" y="86" width="24" height="8" rx="2" fill="{BLUE}"/>')
    b.append(f'<path d="M150,94 L124,160 L176,160 z" fill="{BLUE}" fill-opacity="0.18"/>')
    for r in (16, 30, 44):
        b.append(f'<path d="M{150 - r * 0.45:.1f},{94 + r} q{r * 0.45:.1f},{r * 0.18:.1f} {r * 0.9:.1f},0" fill="none" stroke="{BLUE}" stroke-width="2.5"/>')
    b.append(f'<line x1="214" y1="66" x2="214" y2="166" stroke="{INK}" stroke-width="3" marker-start="url(#a)" marker-end="url(#a)"/>')
    b.append(f'<line x1="198" y1="60" x2="230" y2="60" stroke="{INK}" stroke-width="2" stroke-dasharray="4 3"/>')
    # Liquid-level sensor: a tank cut open with its float switch and a level mark.
    b.append(f'<rect x="290" y="40" width="92" height="112" rx="10" fill="white" stroke="{INK}" stroke-width="4"/>')
    b.append(f'<rect x="294" y="104" width="84" height="44" rx="7" fill="{GREEN}" fill-opacity="0.45"/>')
    b.append(f'<line x1="336" y1="44" x2="336" y2="120" stroke="{INK}" stroke-width="3"/>')
    b.append(f'<rect x="326" y="96" width="20" height="16" rx="5" fill="{BLUE}"/>')
    b.append(f'<line x1="282" y1="120" x2="296" y2="120" stroke="{RED}" stroke-width="3"/>')
    b.append(f'<line x1="376" y1="120" x2="390" y2="120" stroke="{RED}" stroke-width="3"/>')
    return svg(w, h, "\n".join(b))


PICTURES = {"spray_width": spray_width, "work_speed": work_speed,
            "pump_calibration": pump_calibration, "external_switch": external_switch}

if __name__ == "__main__":
    for name, draw in PICTURES.items():
        source = os.path.join(HERE, name + ".svg")
        with open(source, "w", encoding="utf-8") as f:
            f.write(draw())
        subprocess.run(["rsvg-convert", "-o", os.path.join(OUT, name + ".png"), source], check=True)
        print(name)
