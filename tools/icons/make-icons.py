#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Draws the item and page icons of Printer Settings into resources/icons/ as 46 x 38 SVG
# files in one style: a light tile, a dark blue pictogram, one orange accent, and the
# program's square desktop icon into resources/desktop/. Run it after changing a pictogram;
# the SVG files are committed.
import os
import sys

INK = "#1d4f91"      # pictogram strokes and fills
ACCENT = "#e8791d"   # the one thing that changes or matters
PAPER = "#ffffff"
TILE_TOP, TILE_BOTTOM, TILE_EDGE = "#f4f8fc", "#dde7f3", "#7f9cc4"
INK_TOP, INK_BOTTOM, INK_EDGE = "#f3fbfb", "#d5eeee", "#5fa9ab"  # inkjet tiles


def tile(kind):
    top, bottom, edge = (INK_TOP, INK_BOTTOM, INK_EDGE) if kind == "ink" else (
        TILE_TOP, TILE_BOTTOM, TILE_EDGE)
    return (f'<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient></defs>'
            f'<rect x="0.75" y="0.75" width="44.5" height="36.5" rx="5" fill="url(#g)" '
            f'stroke="{edge}" stroke-width="1.5"/>')


def sheet(x=15, y=5, w=16, h=28, lines=True):
    s = f'<path d="M{x} {y}h{w - 5}l5 5v{h - 5}h-{w}z" fill="{PAPER}" stroke="{INK}" stroke-width="1.4" stroke-linejoin="round"/>'
    if lines:
        for i in range(3):
            yy = y + 9 + i * 5
            if yy < y + h - 3:
                s += f'<path d="M{x + 3} {yy}h{w - 6}" stroke="#9db3d3" stroke-width="1.2"/>'
    return s


def line(d, color=INK, width=1.8, cap="round"):
    return f'<path d="{d}" fill="none" stroke="{color}" stroke-width="{width}" stroke-linecap="{cap}" stroke-linejoin="round"/>'


def arrow_v(x, y1, y2, color=ACCENT, both=True):
    s = line(f"M{x} {y1}V{y2}", color, 1.8)
    s += line(f"M{x - 3} {y2 - 3 if y2 > y1 else y2 + 3}L{x} {y2}L{x + 3} {y2 - 3 if y2 > y1 else y2 + 3}", color, 1.8)
    if both:
        s += line(f"M{x - 3} {y1 + 3 if y2 > y1 else y1 - 3}L{x} {y1}L{x + 3} {y1 + 3 if y2 > y1 else y1 - 3}", color, 1.8)
    return s


def arrow_h(y, x1, x2, color=ACCENT, both=True):
    s = line(f"M{x1} {y}H{x2}", color, 1.8)
    d = -3 if x2 > x1 else 3
    s += line(f"M{x2 + d} {y - 3}L{x2} {y}L{x2 + d} {y + 3}", color, 1.8)
    if both:
        s += line(f"M{x1 - d} {y - 3}L{x1} {y}L{x1 - d} {y + 3}", color, 1.8)
    return s


def text(x, y, t, size=11, color=INK, weight="bold", anchor="middle", family="DejaVu Sans, Noto Sans CJK SC, sans-serif"):
    t = t.replace("&", "&amp;").replace("<", "&lt;")
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" font-weight="{weight}" '
            f'fill="{color}" text-anchor="{anchor}">{t}</text>')


def printer(y=12, paper_out=True):
    s = ""
    if paper_out:
        s += f'<rect x="15" y="{y - 8}" width="16" height="10" fill="{PAPER}" stroke="{INK}" stroke-width="1.3"/>'
    s += f'<rect x="8" y="{y}" width="30" height="13" rx="2.5" fill="{INK}"/>'
    s += f'<rect x="13" y="{y + 9}" width="20" height="9" fill="{PAPER}" stroke="{INK}" stroke-width="1.3"/>'
    s += f'<circle cx="33" cy="{y + 4}" r="1.5" fill="{ACCENT}"/>'
    return s


def drop(cx, cy, r, color=ACCENT):
    return (f'<path d="M{cx} {cy - 2.2 * r}C{cx + 0.4 * r} {cy - 1.3 * r} {cx + r} {cy - 0.6 * r} {cx + r} {cy}'
            f'A{r} {r} 0 0 1 {cx - r} {cy}C{cx - r} {cy - 0.6 * r} {cx - 0.4 * r} {cy - 1.3 * r} {cx} {cy - 2.2 * r}z" fill="{color}"/>')


def sparkle(cx, cy, r=3.5, color=INK):
    return (f'<path d="M{cx} {cy - r}L{cx + r * 0.28} {cy - r * 0.28}L{cx + r} {cy}L{cx + r * 0.28} {cy + r * 0.28}'
            f'L{cx} {cy + r}L{cx - r * 0.28} {cy + r * 0.28}L{cx - r} {cy}L{cx - r * 0.28} {cy - r * 0.28}z" fill="{color}"/>')


def gear(cx, cy, r, color=INK):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="none" stroke="{color}" stroke-width="{r * 0.55}" '
            f'stroke-dasharray="{r * 0.5} {r * 0.5}"/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r * 0.72}" fill="none" stroke="{color}" stroke-width="{r * 0.38}"/>')


def lock(cx, cy, color=ACCENT):
    return (line(f"M{cx - 3} {cy}v-3a3 3 0 0 1 6 0v3", color, 1.6) +
            f'<rect x="{cx - 5}" y="{cy}" width="10" height="8" rx="1.5" fill="{color}"/>')


def clock(cx, cy, r, color=INK):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{PAPER}" stroke="{color}" stroke-width="1.8"/>' +
            line(f"M{cx} {cy - r * 0.6}V{cy}L{cx + r * 0.5} {cy + r * 0.3}", ACCENT, 1.8))


def wave(x, y, pattern, step=4, high=7, color=INK):
    d = f"M{x} {y}"
    level = 0
    for bit in pattern:
        want = high if bit == "1" else 0
        if want != level:
            d += f"v{level - want}"
            level = want
        d += f"h{step}"
    return line(d, color, 1.7, "butt")


ICONS = {
    "00_ADVANCE": ("set", gear(19, 20, 9) + line("M33 9v10M28 14h10", ACCENT, 2.4)),
    "01_LINE_SPACING": ("set", line("M20 10h18M20 19h18M20 28h18", INK, 2.4) + arrow_v(11, 9, 29)),
    "02_FORM_LENGTH": ("set", sheet(17, 5, 16, 28) + arrow_v(10, 6, 32)),
    "03_FORM_LOCK": ("set", sheet(9, 5, 16, 28) + lock(33, 21)),
    "04_HEAD_BLANK": ("set", sheet(15, 5, 18, 28, lines=False) + line("M18 22h12M18 27h12", "#9db3d3", 1.2) + arrow_v(24, 7, 17)),
    "05_BACK_HEADBLANK": ("set", sheet(15, 5, 18, 28, lines=False) + line("M18 11h12M18 16h12", "#9db3d3", 1.2) + arrow_v(24, 31, 20, both=False) + line("M17 31h14", INK, 1.4)),
    "06_PEELING_POS": ("set", sheet(15, 4, 16, 30) + line("M11 20h24", ACCENT, 1.8, "butt").replace('stroke-linecap="butt"', 'stroke-linecap="butt" stroke-dasharray="3 2"') + line("M8 17l3 3-3 3", ACCENT, 1.6)),
    "07_COMPRESS": ("set", text(23, 24, "ABC", 10, family="DejaVu Sans Condensed, DejaVu Sans, sans-serif") + arrow_h(31, 5, 13, both=False) + arrow_h(31, 41, 33, both=False)),
    "08_PAGE_SKIP": ("set", sheet(8, 19, 14, 15, lines=False) + sheet(8, 4, 14, 13, lines=False) + line("M26 12c10 0 10 14 0 14", ACCENT, 1.8) + line("M29 23l-3 3 3 3", ACCENT, 1.8)),
    "09_PRT_SPEED": ("set", line("M9 28a14 14 0 0 1 28 0", INK, 2.6) + line("M23 28L31 16", ACCENT, 2.4) + '<circle cx="23" cy="28" r="2.5" fill="%s"/>' % INK),
    "10_PRT_DIRECTION": ("set", line("M7 27h32", INK, 2) + f'<rect x="18" y="17" width="10" height="8" rx="1.5" fill="{INK}"/>' + arrow_h(10, 9, 37)),
    "11_LOAD_PAPER": ("set", printer(18, paper_out=False) + sheet(17, 2, 12, 14, lines=False) + arrow_v(11, 3, 14, both=False)),
    "12_QUIET_MODE": ("set", f'<path d="M9 15h5l7-6v20l-7-6H9z" fill="{INK}"/>' + line("M27 13l9 12M36 13l-9 12", ACCENT, 2.2)),
    "13_AUTO_LF": ("set", line("M34 8v12H13", INK, 2.4) + line("M18 15l-5 5 5 5", ACCENT, 2.4) + text(34, 33, "LF", 8)),
    "14_COPY_MODE": ("set", sheet(9, 4, 16, 22) + sheet(20, 11, 16, 22).replace(PAPER, "#fff4e8")),
    "15_HIGH_QUALITY": ("set", f'<path d="M23 5l4.4 9 9.9 1.4-7.2 7 1.7 9.8-8.8-4.6-8.8 4.6 1.7-9.8-7.2-7 9.9-1.4z" fill="{ACCENT}" stroke="{INK}" stroke-width="1.3" stroke-linejoin="round"/>'),
    "16_EMULATION": ("set", f'<rect x="6" y="9" width="34" height="20" rx="3" fill="{PAPER}" stroke="{INK}" stroke-width="1.5"/>' + text(23, 23, "ESC", 10) + line("M10 33h26", ACCENT, 2)),
    "17_CHAR_MODE": ("set", text(17, 27, "A", 18) + text(32, 27, "a", 15, ACCENT)),
    "18_FONT": ("set", text(23, 28, "字", 20)),
    "19_ENG_PITCH": ("set", text(14, 22, "A", 13) + text(32, 22, "B", 13) + arrow_h(30, 9, 37)),
    "20_CHI_PITCH": ("set", text(14, 23, "中", 13) + text(32, 23, "文", 13) + arrow_h(31, 9, 37)),
    "21_SLASH_ZERO": ("set", f'<ellipse cx="23" cy="19" rx="8" ry="12" fill="none" stroke="{INK}" stroke-width="3"/>' + line("M16 30L30 8", ACCENT, 2.6)),
    "22_INTL_CHAR": ("set", f'<circle cx="18" cy="19" r="11" fill="{PAPER}" stroke="{INK}" stroke-width="1.6"/>' + line("M7 19h22M18 8c-6 6-6 16 0 22M18 8c6 6 6 16 0 22", INK, 1.2) + text(35, 33, "Ä", 12, ACCENT)),
    "23_CHAR_SET": ("set", f'<rect x="7" y="6" width="32" height="26" rx="2" fill="{PAPER}" stroke="{INK}" stroke-width="1.4"/>' + line("M7 19h32M18 6v26M28 6v26", "#9db3d3", 1) + text(12.5, 16, "A", 8) + text(23, 16, "B", 8) + text(33.5, 16, "C", 8) + text(12.5, 29, "1", 8) + text(23, 29, "2", 8) + text(33.5, 29, "€", 8, ACCENT)),
    "24_BAUD_RATE": ("set", wave(6, 18, "0101100110", 3.4) + text(23, 32, "bps", 9, ACCENT)),
    "25_PARITY": ("set", text(19, 17, "1011", 10) + f'<rect x="31" y="7" width="9" height="12" rx="1.5" fill="{ACCENT}"/>' + text(35.5, 16.5, "P", 8, PAPER) + line("M11 26l4 4 8-8", INK, 2.2)),
    "26_DATA_BIT": ("set", "".join(f'<rect x="{5 + i * 4.5}" y="12" width="3.5" height="14" fill="{INK if i % 3 else ACCENT}"/>' for i in range(8)) + text(23, 35, "8 bit", 7)),
    "27_STOP_BIT": ("set", wave(5, 20, "1010011", 3.6) + f'<rect x="31" y="9" width="9" height="14" fill="{ACCENT}"/>' + text(23, 33, "STOP", 7)),
    "28_PROTOCOL": ("set", f'<rect x="5" y="13" width="12" height="12" rx="2" fill="{INK}"/>' + f'<rect x="29" y="13" width="12" height="12" rx="2" fill="{INK}"/>' + line("M17 19h12", ACCENT, 2.4) + line("M8 17v4M11 17v4M14 17v4M32 17v4M35 17v4M38 17v4", PAPER, 1.2)),
    "29_HEAD_PIN": ("set", f'<rect x="13" y="5" width="20" height="28" rx="3" fill="{INK}"/>' + "".join(f'<circle cx="{20 + (i % 2) * 6}" cy="{9 + i * 2.8}" r="1.1" fill="{PAPER}"/>' for i in range(9))),
    "30_PIN_SWITCH": ("set", f'<rect x="7" y="5" width="14" height="28" rx="3" fill="{INK}"/>' + "".join(f'<circle cx="14" cy="{9 + i * 4}" r="1.3" fill="{ACCENT if i == 3 else PAPER}"/>' for i in range(6)) + line("M25 21h8M29 17l4 4-4 4", ACCENT, 1.8) + f'<circle cx="38" cy="21" r="2.2" fill="{INK}"/>'),
    "31_PAPER_SIGN": ("set", sheet(9, 5, 18, 28) + f'<rect x="22" y="22" width="5" height="7" fill="#111"/>' + f'<path d="M33 19l6-3v12l-6-3z" fill="{ACCENT}"/>'),
    "32_LEFT_SPACE": ("set", sheet(12, 5, 22, 28, lines=False) + line("M24 14h7M24 19h7M24 24h7", "#9db3d3", 1.2) + arrow_h(19, 14, 22)),
    "33_GRADIENT": ("set", "".join(f'<rect x="{6 + i * 9}" y="{26 - i * 5}" width="7" height="{6 + i * 5}" fill="{c}"/>' for i, c in enumerate(["#c9d6ea", "#8ea9d0", "#4f76b0", INK]))),
    "34_BLACK_SIGN": ("set", sheet(13, 5, 20, 28) + f'<rect x="14.5" y="26" width="17" height="5" fill="#111"/>'),
    "35_LANGUAGE": ("set", f'<path d="M6 7h34v19H20l-7 6v-6H6z" fill="{PAPER}" stroke="{INK}" stroke-width="1.5" stroke-linejoin="round"/>' + text(16, 21, "文", 10) + text(30, 21, "A", 11, ACCENT)),
    "36_BLACK_SIGN_POS": ("set", sheet(17, 5, 18, 28, lines=False) + f'<rect x="18.5" y="19" width="15" height="5" fill="#111"/>' + arrow_v(10, 7, 21, both=False) + line("M6 21.5h8", ACCENT, 1.4)),
    "37_EJECTDIR": ("set", printer(14, paper_out=False) + arrow_h(8, 21, 39, both=False) + arrow_h(8, 25, 7, both=False)),
    "40_CUT_POS_FEED": ("set", sheet(15, 4, 16, 30) + line("M10 14h26", ACCENT, 1.8) + arrow_v(38, 18, 31, both=False)),
    "41_COVER_DETECT": ("set", f'<rect x="7" y="17" width="32" height="14" rx="2.5" fill="{INK}"/>' + line("M9 16L29 7", INK, 2.6) + f'<circle cx="34" cy="12" r="2.5" fill="{ACCENT}"/>' + line("M30 9a5 5 0 0 1 7 0", ACCENT, 1.3)),
    "42_FORM_WIDTH": ("set", sheet(14, 10, 18, 24) + arrow_h(6, 9, 37)),
    "43_CUTTER_SET": ("set", f'<circle cx="12" cy="27" r="4.5" fill="none" stroke="{INK}" stroke-width="2"/><circle cx="24" cy="27" r="4.5" fill="none" stroke="{INK}" stroke-width="2"/>' + line("M15 24L33 8M21 24L9 10", INK, 2.4) + line("M30 30h10", ACCENT, 1.8).replace('stroke-linecap="round"', 'stroke-dasharray="2 2"')),
    "44_ERROR_BEEP": ("set", f'<path d="M7 15h5l7-6v20l-7-6H7z" fill="{INK}"/>' + line("M24 13a8 8 0 0 1 0 12M28 9a13 13 0 0 1 0 20", INK, 1.8) + text(37, 25, "!", 14, ACCENT)),
    "45_CODE_PAGE": ("set", sheet(11, 4, 24, 30, lines=False) + text(23, 24, "CP", 11) + line("M15 28h16", ACCENT, 1.6)),
    "46_SELF_CHECK_FONT": ("set", sheet(9, 4, 20, 30, lines=False) + text(19, 15, "Abc", 7) + line("M12 20h14M12 25h14", "#9db3d3", 1.2) + line("M28 24l4 4 8-9", ACCENT, 2.4)),
    "47_INVOICE_TYPE": ("set", sheet(6, 4, 18, 28) + f'<rect x="22" y="15" width="19" height="13" rx="2" fill="#fff4e8" stroke="{ACCENT}" stroke-width="1.5"/>' + line("M25 20h8M25 24h12", ACCENT, 1.2)),
    "99_MAINTENANCE": ("set", f'<path d="M30.5 6.5a7 7 0 0 0-8.6 9.1L8.5 29a2.5 2.5 0 0 0 3.5 3.5l13.4-13.4a7 7 0 0 0 9.1-8.6l-4.2 4.2-3.6-.9-.9-3.6z" fill="{INK}"/>' + f'<circle cx="10.3" cy="30.7" r="1.3" fill="{ACCENT}"/>'),
    "100_SETTINGS": ("set", line("M8 10h30M8 19h30M8 28h30", INK, 2.2) + "".join(f'<circle cx="{x}" cy="{y}" r="3.4" fill="{ACCENT if y == 19 else PAPER}" stroke="{INK}" stroke-width="1.6"/>' for x, y in [(16, 10), (30, 19), (21, 28)])),
    "INK_ADJUST": ("ink", drop(14, 23, 6) + line("M26 10h13M26 19h13M26 28h13", INK, 1.8) + f'<circle cx="31" cy="10" r="2.3" fill="{INK}"/><circle cx="36" cy="19" r="2.3" fill="{INK}"/><circle cx="29" cy="28" r="2.3" fill="{INK}"/>'),
    "INK_BEARING_CLEAN": ("ink", f'<rect x="7" y="13" width="26" height="12" rx="6" fill="{INK}"/>' + line("M11 19h18", "#6f95c8", 1.4) + sparkle(37, 10, 4.5, ACCENT) + sparkle(38, 27, 3, ACCENT)),
    "INK_BOTTOM_CLEAN": ("ink", f'<rect x="9" y="7" width="24" height="12" rx="2" fill="{INK}"/>' + "".join(f'<circle cx="{13 + i * 4}" cy="21" r="1" fill="{ACCENT}"/>' for i in range(5)) + line("M8 29h26", INK, 2.6) + sparkle(38, 27, 3.5, ACCENT)),
    "INK_CHANGEBOX": ("ink", f'<rect x="7" y="9" width="16" height="22" rx="2" fill="{INK}"/>' + drop(15, 23, 3.5) + line("M28 13h10l-3-3M38 25H28l3 3", ACCENT, 1.8)),
    "INK_CHANGEHEAD": ("ink", f'<rect x="7" y="8" width="17" height="16" rx="2" fill="{INK}"/>' + "".join(f'<circle cx="{10 + i * 3.6}" cy="27" r="1" fill="{ACCENT}"/>' for i in range(4)) + line("M29 13h10l-3-3M39 25H29l3 3", ACCENT, 1.8)),
    "INK_CLEAN": ("ink", drop(19, 24, 7.5) + sparkle(33, 11, 5, INK) + sparkle(36, 26, 3, INK)),
    "INK_DEEPCLEAN": ("ink", drop(14, 25, 6) + drop(26, 22, 7) + sparkle(37, 9, 4.5, INK) + sparkle(38, 27, 3, INK)),
    "INK_DRY": ("ink", drop(14, 24, 7) + line("M28 28c-3-4 3-6 0-10s3-6 0-10M35 28c-3-4 3-6 0-10s3-6 0-10", INK, 1.7)),
    "INK_HOLECHECK": ("ink", sheet(10, 4, 26, 30, lines=False) + "".join(line(f"M{14 + i * 4} {24 - i * 3}v5", ACCENT if i == 2 else INK, 1.6, "butt") for i in range(5)) + line("M14 12h18", "#9db3d3", 1.2)),
    "INK_HORIZONTAL": ("ink", line("M17 6v12M29 20v12", INK, 2.6) + line("M17 20v12M29 6v12", "#9db3d3", 2.6) + arrow_h(19, 8, 38, ACCENT)),
    "INK_SELFTEST": ("ink", sheet(9, 4, 22, 30, lines=False) + f'<rect x="12" y="11" width="5" height="5" fill="{INK}"/><rect x="18" y="11" width="5" height="5" fill="{ACCENT}"/><rect x="12" y="18" width="11" height="2" fill="{INK}"/>' + line("M28 25l4 4 8-9", ACCENT, 2.4)),
    "INK_TIMER": ("ink", clock(19, 19, 12) + drop(37, 28, 3.5)),
    "INKJET_FEEDPRECISION": ("ink", sheet(17, 4, 20, 30) + line("M8 5v28", INK, 1.6) + "".join(line(f"M8 {6 + i * 4.4}h{4 if i % 2 else 6}", INK, 1.2) for i in range(7)) + arrow_v(27, 12, 28, ACCENT)),
    # Device functions the schemes name although no bitmap of their own was listed for them;
    # without these they would all show the fallback.
    "INK_INQUIRY": ("ink", sheet(7, 4, 17, 30) + f'<rect x="22" y="13" width="19" height="12" rx="2" fill="{INK}"/>' + text(31.5, 22.5, "123", 7.5, PAPER) + line("M22 30h19", ACCENT, 2)),
    "INK_INQUIRY2": ("ink", sheet(7, 4, 17, 30) + f'<rect x="22" y="13" width="19" height="12" rx="2" fill="{INK}"/>' + text(31.5, 22.5, "123", 7.5, PAPER) + line("M22 30h19", ACCENT, 2)),
    "INK_LOCK": ("ink", f'<rect x="6" y="8" width="22" height="16" rx="2" fill="{PAPER}" stroke="{INK}" stroke-width="1.5"/>' + line("M10 13h14M10 18h9", "#9db3d3", 1.4) + line("M6 29h22", INK, 2.4) + lock(35, 20)),
    "INK_FIREWAREVERSION": ("ink", f'<rect x="12" y="8" width="22" height="22" rx="2" fill="{INK}"/>' + "".join(line(f"M{15 + i * 5} 4v4M{15 + i * 5} 30v4", INK, 1.6, "butt") for i in range(4)) + "".join(line(f"M8 {12 + i * 5}h4M34 {12 + i * 5}h4", INK, 1.6, "butt") for i in range(3)) + text(23, 23, "v1", 9, ACCENT)),
    "NORMALSET": ("ink", f'<rect x="6" y="11" width="34" height="16" rx="2" fill="{PAPER}" stroke="{INK}" stroke-width="1.5"/>' + "".join(f'<rect x="{9 + i * 8}" y="14" width="5" height="10" rx="1" fill="#d5dfec"/><rect x="{9 + i * 8}" y="{14 if i % 2 else 19}" width="5" height="5" rx="1" fill="{ACCENT if i == 1 else INK}"/>' for i in range(4))),
    "PROGRAM": ("set", printer(13) + gear(36, 28, 5.5, ACCENT)),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "resources", "icons")
    os.makedirs(out, exist_ok=True)
    for name, (kind, body) in ICONS.items():
        svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="46" height="38" viewBox="0 0 46 38">'
               f'<title>{name}</title>{tile(kind)}{body}</svg>\n')
        with open(os.path.join(out, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg)
    print(f"{len(ICONS)} icons written to {os.path.normpath(out)}")
    write_app_icon(os.path.join(os.path.dirname(__file__), "..", "..", "resources", "desktop"))


def write_app_icon(out):
    """The program's icon for the desktop: the PROGRAM pictogram on a square tile."""
    top, bottom, edge = TILE_TOP, TILE_BOTTOM, TILE_EDGE
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">'
           '<title>Printer Settings</title>'
           f'<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
           f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
           f'</linearGradient></defs>'
           f'<rect x="1" y="1" width="46" height="46" rx="7" fill="url(#g)" stroke="{edge}" '
           f'stroke-width="1.5"/>'
           f'<g transform="translate(1 5)">{ICONS["PROGRAM"][1]}</g></svg>\n')
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "printer-settings.svg"), "w", encoding="utf-8") as f:
        f.write(svg)


if __name__ == "__main__":
    main()
