#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Draws the maintenance pictures of Printer Settings into resources/pictures/ as 346 x 194 SVG
# files, in the style of the item icons (tools/icons/make-icons.py): a light inkjet tile, the
# printer in dark blue, the part the user handles in orange. Page pictures are "Img_" + variant;
# step pictures are variant + step number and show what the step's text asks the user to do.
# Run it after changing a drawing; the SVG files are committed.
import os
import sys

W, H = 346, 194
INK = "#1d4f91"
ACCENT = "#e8791d"
PAPER = "#ffffff"
BODY = "#e9f0f8"
COVER = "#d3e0f0"
INSIDE = "#9fb5d4"
PALE = "#9db3d3"
GOOD = "#2e8b57"
TILE_TOP, TILE_BOTTOM, TILE_EDGE = "#f3fbfb", "#d5eeee", "#5fa9ab"

# Printer geometry: the body, the top cover over the inside, the carriage rail inside.
BX, BY, BW, BH = 70, 112, 206, 62
CX, CY, CW, CH = 78, 96, 190, 18
RAIL_Y = 110
HEAD_X, HEAD_W, HEAD_H = 112, 42, 34
BOX_X, BOX_W, BOX_H = 210, 30, 34
FRONT_X, FRONT_Y = 82, 146  # the ink box drawer on the front (front-loading variants)


def fmt(v):
    return f"{v:.1f}".rstrip("0").rstrip(".")


def path(d, color=INK, width=2.0, fill="none", dash=None, cap="round"):
    extra = f' stroke-dasharray="{dash}"' if dash else ""
    return (f'<path d="{d}" fill="{fill}" stroke="{color}" stroke-width="{fmt(width)}" '
            f'stroke-linecap="{cap}" stroke-linejoin="round"{extra}/>')


def rect(x, y, w, h, fill, stroke=INK, width=2.0, rx=3, dash=None, opacity=None):
    extra = f' stroke-dasharray="{dash}"' if dash else ""
    if opacity is not None:
        extra += f' opacity="{opacity}"'
    return (f'<rect x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}" rx="{fmt(rx)}" '
            f'fill="{fill}" stroke="{stroke}" stroke-width="{fmt(width)}"{extra}/>')


def circle(cx, cy, r, fill, stroke="none", width=0):
    return (f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{fmt(width)}"/>')


def text(x, y, t, size=14, color=INK, weight="bold"):
    return (f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="DejaVu Sans, sans-serif" '
            f'font-size="{size}" font-weight="{weight}" fill="{color}" '
            f'text-anchor="middle">{t}</text>')


def arrow(x1, y1, x2, y2, color=ACCENT, width=3.0):
    """A straight arrow from (x1, y1) to (x2, y2) with its head at the end."""
    dx, dy = x2 - x1, y2 - y1
    length = max((dx * dx + dy * dy) ** 0.5, 1)
    ux, uy = dx / length, dy / length
    hx, hy = x2 - ux * 9, y2 - uy * 9
    px, py = -uy * 6, ux * 6
    return (path(f"M{fmt(x1)} {fmt(y1)}L{fmt(hx)} {fmt(hy)}", color, width) +
            f'<path d="M{fmt(x2)} {fmt(y2)}L{fmt(hx + px)} {fmt(hy + py)}L{fmt(hx - px)} '
            f'{fmt(hy - py)}z" fill="{color}"/>')


def curved_arrow(x1, y1, cx, cy, x2, y2, color=ACCENT, width=3.0):
    """A quadratic curve with an arrow head at its end."""
    dx, dy = x2 - cx, y2 - cy
    length = max((dx * dx + dy * dy) ** 0.5, 1)
    ux, uy = dx / length, dy / length
    hx, hy = x2 - ux * 9, y2 - uy * 9
    px, py = -uy * 6, ux * 6
    return (path(f"M{fmt(x1)} {fmt(y1)}Q{fmt(cx)} {fmt(cy)} {fmt(hx)} {fmt(hy)}", color, width) +
            f'<path d="M{fmt(x2)} {fmt(y2)}L{fmt(hx + px)} {fmt(hy + py)}L{fmt(hx - px)} '
            f'{fmt(hy - py)}z" fill="{color}"/>')


def drop(cx, cy, r, color=ACCENT):
    return (f'<path d="M{fmt(cx)} {fmt(cy - 2.2 * r)}C{fmt(cx + 0.4 * r)} {fmt(cy - 1.3 * r)} '
            f'{fmt(cx + r)} {fmt(cy - 0.6 * r)} {fmt(cx + r)} {fmt(cy)}A{fmt(r)} {fmt(r)} 0 0 1 '
            f'{fmt(cx - r)} {fmt(cy)}C{fmt(cx - r)} {fmt(cy - 0.6 * r)} {fmt(cx - 0.4 * r)} '
            f'{fmt(cy - 1.3 * r)} {fmt(cx)} {fmt(cy - 2.2 * r)}z" fill="{color}"/>')


def sparkle(cx, cy, r, color=ACCENT):
    k = 0.28
    return (f'<path d="M{fmt(cx)} {fmt(cy - r)}L{fmt(cx + r * k)} {fmt(cy - r * k)}L{fmt(cx + r)} '
            f'{fmt(cy)}L{fmt(cx + r * k)} {fmt(cy + r * k)}L{fmt(cx)} {fmt(cy + r)}L'
            f'{fmt(cx - r * k)} {fmt(cy + r * k)}L{fmt(cx - r)} {fmt(cy)}L{fmt(cx - r * k)} '
            f'{fmt(cy - r * k)}z" fill="{color}"/>')


def check(cx, cy, r=14):
    return (circle(cx, cy, r, GOOD) +
            path(f"M{fmt(cx - r * 0.45)} {fmt(cy)}l{fmt(r * 0.3)} {fmt(r * 0.32)} "
                 f"{fmt(r * 0.55)} {fmt(-r * 0.62)}", PAPER, 3))


def badge(n):
    """The step number in the top left corner."""
    return circle(24, 24, 14, INK) + text(24, 29.5 if n < 10 else 29, str(n), 15 if n < 10 else 12, PAPER)


def ok_key(x, y):
    """The printer's OK key, as the step text names it."""
    return rect(x, y, 40, 22, PAPER, INK, 2, 6) + text(x + 20, y + 16, "OK", 12, INK)


# ---- the printer and its parts ----------------------------------------------------------

def body():
    s = rect(BX, BY, BW, BH, BODY, INK, 2.2, 9)
    # paper entry at the front and its guide
    s += path(f"M{BX + 24} {BY + 24}H{BX + 150}", INK, 3)
    s += path(f"M{BX + 20} {BY + 30}H{BX + 154}", PALE, 1.6)
    # control panel with its keys and the lamp
    s += rect(BX + 164, BY + 14, 32, 30, PAPER, INK, 1.6, 4)
    s += rect(BX + 169, BY + 32, 9, 7, INK, "none", 0, 2) + rect(BX + 182, BY + 32, 9, 7, INK, "none", 0, 2)
    s += circle(BX + 173.5, BY + 22, 3, ACCENT)
    # feet
    s += rect(BX + 14, BY + BH - 1, 22, 5, INK, "none", 0, 2) + rect(BX + BW - 36, BY + BH - 1, 22, 5, INK, "none", 0, 2)
    return s


def cover_closed(highlight=False):
    return rect(CX, CY, CW, CH, "#fbe3cf" if highlight else COVER, ACCENT if highlight else INK, 2.2, 5)


def cover_open():
    """The top cover swung up at its rear hinge, and the inside it leaves open."""
    lid = (f'<path d="M{CX + 6} {CY + 4}L{CX + CW - 6} {CY + 4}L{CX + CW - 20} {CY - 70}'
           f'L{CX + 20} {CY - 70}z" fill="{COVER}" stroke="{INK}" stroke-width="2.2" '
           f'stroke-linejoin="round"/>')
    inside = rect(CX, CY, CW, CH, INSIDE, INK, 2.2, 4)
    rail = path(f"M{CX + 8} {RAIL_Y - 4}H{CX + CW - 8}", INK, 3)
    return lid + inside + rail


def head(x, y, color=INK, with_box=False, label=None, nozzles=True, outline=False):
    """The print head (a carriage block with its nozzles underneath)."""
    if outline:
        return rect(x, y, HEAD_W, HEAD_H, "none", PALE, 2, 4, dash="5 4")
    s = rect(x, y, HEAD_W, HEAD_H, color, INK, 2, 4)
    s += rect(x + 6, y + 6, HEAD_W - 12, 9, PAPER, "none", 0, 2, opacity=0.85)
    if nozzles:
        for i in range(5):
            s += circle(x + 7 + i * 7, y + HEAD_H + 3, 1.8, ACCENT)
    if with_box:
        s += drop(x + HEAD_W / 2, y + 27, 4, PAPER)
    if label:
        s += text(x + HEAD_W / 2, y + 28, label, 11, PAPER)
    return s


def head_in_carriage(color=INK):
    return head(HEAD_X, RAIL_Y - HEAD_H - 2, color)


def ink_box(x, y, color=INK, outline=False, w=BOX_W, h=BOX_H):
    if outline:
        return rect(x, y, w, h, "none", PALE, 2, 4, dash="5 4")
    r = min(w, h) * 0.18
    return rect(x, y, w, h, color, INK, 2, 4) + drop(x + w / 2, y + h / 2 + r * 0.7, r, PAPER)


def box_in_bay(color=INK):
    return ink_box(BOX_X, RAIL_Y - BOX_H - 2, color)


def head_flap(open_=False, x=HEAD_X, y=RAIL_Y - HEAD_H - 2):
    """The cover on top of the head: closed flat, or standing up at its rear."""
    if open_:
        return path(f"M{x + 2} {y - 2}L{x + 10} {y - 26}H{x + HEAD_W + 4}", ACCENT, 4)
    return path(f"M{x - 2} {y - 3}H{x + HEAD_W + 2}", INK, 4)


def valve(x, y, up=False):
    """The transparent check valve on the head's ink line."""
    dy = -22 if up else 0
    return (rect(x + HEAD_W / 2 - 6, y - 16 + dy, 12, 16, "#dff1fb", ACCENT if up else INK, 2, 3) +
            path(f"M{x + HEAD_W / 2} {y - 16 + dy}V{y - 30 + dy}", INK, 2))


def tape(x, y, peeling=True):
    """The protective tape over the nozzles of a new head."""
    if not peeling:
        return rect(x - 2, y + HEAD_H - 2, HEAD_W + 4, 7, ACCENT, "none", 0, 2)
    return (path(f"M{x - 2} {y + HEAD_H + 3}H{x + 18}Q{x + 34} {y + HEAD_H + 2} {x + 52} {y + HEAD_H - 14}",
                 ACCENT, 6) +
            arrow(x + 54, y + HEAD_H - 12, x + 78, y + HEAD_H - 30))


def package(x, y):
    """A new head in its box."""
    return (rect(x, y, 64, 44, "#fff4e8", ACCENT, 2, 4) +
            path(f"M{x} {y + 12}H{x + 64}", ACCENT, 2) + head(x + 11, y + 5, INK, nozzles=False))


def lock_cover(x, y, state="closed"):
    """The ink cartridge lock cover over the head (QP7): closed, pulled out, lifted, turned back."""
    if state == "closed":
        return rect(x - 6, y - 8, HEAD_W + 12, 10, PAPER, INK, 2, 3)
    if state == "pulled":
        return rect(x + 10, y - 8, HEAD_W + 12, 10, "#fbe3cf", ACCENT, 2, 3)
    if state == "lifted":
        return rect(x + 10, y - 46, HEAD_W + 12, 10, "#fbe3cf", ACCENT, 2, 3)
    return path(f"M{x + 14} {y - 34}L{x} {y - 62}", ACCENT, 9, cap="butt")  # turned back


def screw(x, y):
    return (circle(x, y, 7, PAPER, INK, 2) + path(f"M{x - 4} {y - 4}L{x + 4} {y + 4}", INK, 2) +
            path(f"M{x + 10} {y - 10}L{x + 34} {y - 34}", ACCENT, 5) +
            path(f"M{x + 30} {y - 38}L{x + 46} {y - 54}", INK, 8))


def sheet(x, y, w, h, lines=3, fill=PAPER):
    s = rect(x, y, w, h, fill, INK, 1.8, 2)
    for i in range(lines):
        yy = y + 10 + i * 8
        if yy < y + h - 4:
            s += path(f"M{x + 6} {yy}H{x + w - 6}", PALE, 1.5)
    return s


def staircase(x, y, groups):
    """A printed nozzle check pattern: one staircase per nozzle group."""
    s = rect(x, y, 96, 26 + 22 * len(groups), PAPER, INK, 1.8, 2)
    for g, color in enumerate(groups):
        for block in range(3):
            for n in range(6):
                xx = x + 8 + block * 28 + n * 4
                yy = y + 10 + g * 22 + n * 2.5
                s += path(f"M{fmt(xx)} {fmt(yy)}h3", color, 1.8, cap="butt")
        s += rect(x + 8, y + 28 + g * 22, 80, 3, color, "none", 0, 0)
    return s


def svg(name, body_svg):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" '
            f'viewBox="0 0 {W} {H}"><title>{name}</title>'
            f'<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{TILE_TOP}"/><stop offset="1" stop-color="{TILE_BOTTOM}"/>'
            f'</linearGradient></defs>'
            f'<rect x="1" y="1" width="{W - 2}" height="{H - 2}" rx="10" fill="url(#g)" '
            f'stroke="{TILE_EDGE}" stroke-width="2"/>{body_svg}</svg>\n')


# ---- scenes ------------------------------------------------------------------------------

HEAD_Y = RAIL_Y - HEAD_H - 2
BOX_Y = RAIL_Y - BOX_H - 2


def printer_closed(highlight_cover=False):
    return body() + cover_closed(highlight_cover)


def printer_open(head_state="in", box_state="in", head_color=INK):
    s = body() + cover_open()
    if head_state == "in":
        s += head_in_carriage(head_color)
    elif head_state == "empty":
        s += head(HEAD_X, HEAD_Y, outline=True)
    if box_state == "in":
        s += box_in_bay()
    elif box_state == "empty":
        s += ink_box(BOX_X, BOX_Y, outline=True)
    return s


def open_cover_step():
    return printer_open() + curved_arrow(292, 96, 300, 52, 262, 30)


def close_cover_step(check_mark=False):
    s = printer_closed(True) + curved_arrow(258, 22, 300, 40, 284, 90)
    # the cover coming down: its outline still up
    s += (f'<path d="M{CX + 6} {CY}L{CX + CW - 6} {CY}L{CX + CW - 20} {CY - 70}L{CX + 20} {CY - 70}z" '
          f'fill="none" stroke="{PALE}" stroke-width="2" stroke-dasharray="5 4"/>')
    if check_mark:
        s += check(310, 150)
    return s


def head_out_step(new=False):
    """The old head lifted out of the carriage, or a new one going in."""
    if new:
        return (printer_open("empty") + head(HEAD_X, 20, ACCENT) +
                arrow(HEAD_X + HEAD_W / 2, 62, HEAD_X + HEAD_W / 2, 82))
    return (printer_open("empty") + head(HEAD_X, 20, INK) +
            arrow(HEAD_X + HEAD_W + 14, 80, HEAD_X + HEAD_W + 14, 30))


def box_step(new=False, where="top", ok=False):
    """An ink box coming out of its bay, or a new one going in (top, side or front bay)."""
    if where == "top":
        s = printer_open(box_state="empty")
        bx, by = BOX_X, 22
        s += ink_box(bx, by, ACCENT if new else INK)
        s += (arrow(BOX_X + BOX_W + 16, 60, BOX_X + BOX_W + 16, 84) if new else
              arrow(BOX_X + BOX_W + 16, 84, BOX_X + BOX_W + 16, 30))
    elif where == "side":
        s = printer_closed() + rect(BX + BW - 4, BY + 8, 8, 40, INSIDE, INK, 2, 2)
        bx = BX + BW + 26
        s += ink_box(bx, BY + 10, ACCENT if new else INK)
        s += (arrow(bx - 4, BY + 62, BX + BW + 8, BY + 62) if new else
              arrow(BX + BW + 8, BY + 62, bx + 24, BY + 62))
    else:  # front: a drawer on the front, the box comes out to the left
        s = printer_closed() + rect(FRONT_X, FRONT_Y, 56, 22, INSIDE, INK, 2, 3)
        s += ink_box(8, FRONT_Y, ACCENT if new else INK, w=50, h=22)
        s += (arrow(22, FRONT_Y - 8, FRONT_X + 34, FRONT_Y - 8) if new else
              arrow(FRONT_X + 34, FRONT_Y - 8, 22, FRONT_Y - 8))
    if ok:
        # the OK key where the bay leaves room
        s += ok_key(292, 156) if where == "front" else ok_key(14, 156)
    return s


def confirm_box_step(where="top"):
    if where == "top":
        return printer_open() + box_in_bay(ACCENT) + check(300, 52)
    if where == "side":
        return (printer_closed() + rect(BX + BW - 4, BY + 8, 8, 40, ACCENT, INK, 2, 2) +
                check(304, 60))
    return printer_closed() + ink_box(FRONT_X, FRONT_Y, ACCENT, w=56, h=22) + check(304, 60)


def box_steps(where):
    """Open, take out, put in, confirm, close: the five ink box steps."""
    if where == "top":
        return [open_cover_step(), box_step(False, where), box_step(True, where),
                confirm_box_step(where), close_cover_step()]
    # side and front bays have a door of their own
    door_open = {
        "side": printer_closed() + rect(BX + BW - 4, BY + 8, 8, 40, INSIDE, INK, 2, 2) +
        path(f"M{BX + BW + 4} {BY + 8}L{BX + BW + 30} {BY - 8}", ACCENT, 5) +
        curved_arrow(BX + BW + 40, BY + 30, BX + BW + 52, BY + 4, BX + BW + 36, BY - 12),
        "front": printer_closed() + rect(FRONT_X, FRONT_Y, 56, 22, INSIDE, INK, 2, 3) +
        f'<path d="M{FRONT_X} {FRONT_Y + 22}H{FRONT_X + 56}L{FRONT_X + 64} {FRONT_Y + 38}'
        f'H{FRONT_X - 8}z" fill="#fbe3cf" stroke="{ACCENT}" stroke-width="2.4" '
        f'stroke-linejoin="round"/>' +
        curved_arrow(FRONT_X + 74, FRONT_Y + 4, FRONT_X + 84, FRONT_Y + 26, FRONT_X + 70, FRONT_Y + 36),
    }[where]
    closing = {
        "side": printer_closed() + rect(BX + BW - 4, BY + 8, 8, 40, COVER, ACCENT, 2.4, 2) +
        curved_arrow(BX + BW + 36, BY - 12, BX + BW + 52, BY + 4, BX + BW + 16, BY + 28),
        "front": printer_closed() + rect(FRONT_X, FRONT_Y, 56, 22, COVER, ACCENT, 2.4, 3) +
        curved_arrow(FRONT_X + 70, FRONT_Y + 36, FRONT_X + 84, FRONT_Y + 26, FRONT_X + 72, FRONT_Y + 2),
    }[where]
    return [door_open, box_step(False, where), box_step(True, where), confirm_box_step(where),
            closing]


def flap_steps():
    """Head cover open, tape off the new head, head in and cover closed (A, C, D variants)."""
    flap_open = printer_open() + head_flap(True) + curved_arrow(HEAD_X - 10, HEAD_Y + 4, HEAD_X - 14, HEAD_Y - 24, HEAD_X + 4, HEAD_Y - 34)
    peel = (printer_open("empty") + head_flap(True, HEAD_X, HEAD_Y) + head(HEAD_X + 120, 22, ACCENT, nozzles=False) +
            tape(HEAD_X + 120, 22) + head(HEAD_X, HEAD_Y, outline=True))
    seat = (printer_open("in", head_color=ACCENT) + head_flap(False) +
            curved_arrow(HEAD_X + 8, HEAD_Y - 34, HEAD_X - 14, HEAD_Y - 24, HEAD_X - 8, HEAD_Y))
    return flap_open, peel, seat


def b_steps():
    """The ten steps of ChangeheadB: valve up, old head out, nozzles out one by one, new in."""
    steps = []
    steps.append(printer_open() + valve(HEAD_X, HEAD_Y, up=True) +
                 arrow(HEAD_X + HEAD_W + 14, HEAD_Y - 10, HEAD_X + HEAD_W + 14, HEAD_Y - 46))
    steps.append(printer_open("empty") + head_flap(True) + head(HEAD_X + 60, 24, INK) +
                 arrow(HEAD_X + 30, HEAD_Y - 6, HEAD_X + 62, 52))
    # three nozzle units beside the printer, the one coming out in orange
    for k in range(3):
        s = printer_open("empty")
        for i in range(3):
            y = 10 + i * 30
            s += rect(290, y, 40, 24, ACCENT if i == k else INK, INK, 2, 4)
            s += text(310, y + 17, str(i + 1), 13, PAPER)
        s += arrow(HEAD_X + HEAD_W + 4, HEAD_Y + 6, 284, 22 + k * 30)
        steps.append(s)
    # the new head: out of its package, cap off, into the slot, pressed home, cover closed
    steps.append(printer_open("empty") + package(200, 20) + arrow(196, 40, 168, 40))
    steps.append(printer_open("empty") + head(HEAD_X + 120, 18, ACCENT, nozzles=False) +
                 tape(HEAD_X + 120, 18))
    steps.append(printer_open("empty") + head(HEAD_X, 18, ACCENT) +
                 arrow(HEAD_X + HEAD_W / 2, 58, HEAD_X + HEAD_W / 2, 80))
    steps.append(printer_open("in", head_color=ACCENT) +
                 arrow(HEAD_X + HEAD_W / 2, HEAD_Y - 40, HEAD_X + HEAD_W / 2, HEAD_Y - 6) +
                 path(f"M{HEAD_X - 14} {HEAD_Y + 10}l-8 -4M{HEAD_X - 14} {HEAD_Y + 18}h-9M{HEAD_X + HEAD_W + 14} {HEAD_Y + 10}l8 -4M{HEAD_X + HEAD_W + 14} {HEAD_Y + 18}h9", ACCENT, 2.4))
    steps.append(printer_open("in", head_color=ACCENT) + head_flap(False) + valve(HEAD_X, HEAD_Y) +
                 check(300, 52))
    return steps


def qp7_steps():
    """Lock cover out, up and back; nozzle out and in; cover forward, down, in; the screw."""
    hx, hy = HEAD_X, HEAD_Y
    base = lambda state="in": printer_open(state)
    return [
        base() + lock_cover(hx, hy, "pulled") + arrow(hx + 70, hy - 3, hx + 100, hy - 3),
        base() + lock_cover(hx, hy, "lifted") + arrow(hx + 78, hy - 6, hx + 78, hy - 40),
        base() + lock_cover(hx, hy, "back") + curved_arrow(hx + 74, hy - 30, hx + 66, hy - 66, hx + 14, hy - 62),
        base("empty") + head(hx + 124, 20, INK) + arrow(hx + 50, hy + 6, hx + 118, 40) +
        drop(hx + 146, 70, 5) + path(f"M{hx + 160} 72l10 6", INK, 2),
        base("empty") + head(hx, 18, ACCENT) + arrow(hx + HEAD_W / 2, 58, hx + HEAD_W / 2, 80),
        base("in") + lock_cover(hx, hy, "back") + curved_arrow(hx + 14, hy - 66, hx + 66, hy - 70, hx + 74, hy - 34),
        base("in") + lock_cover(hx, hy, "lifted") + arrow(hx + 78, hy - 40, hx + 78, hy - 8),
        base("in") + lock_cover(hx, hy, "pulled") + arrow(hx + 100, hy + 12, hx + 70, hy + 12),
        base("in") + lock_cover(hx, hy, "closed") + screw(hx + HEAD_W / 2, hy - 4),
    ]


def changehead_steps():
    """Head out, ink cartridge out of the head, new cartridge in, head in, finished."""
    cart_out = (printer_open("empty") + head(HEAD_X, 40, INK) + ink_box(HEAD_X + 70, 14, INK, w=24, h=30) +
                arrow(HEAD_X + 50, 56, HEAD_X + 68, 30))
    cart_in = (printer_open("empty") + head(HEAD_X, 40, INK) + ink_box(HEAD_X + 70, 14, ACCENT, w=24, h=30) +
               arrow(HEAD_X + 68, 30, HEAD_X + 50, 56))
    return [head_out_step(False), cart_out, cart_in, head_out_step(True),
            printer_closed() + check(300, 52)]


def pictures():
    p = {}
    flap_open, peel, seat = flap_steps()
    # step pictures
    for i, s in enumerate(changehead_steps(), 1):
        p[f"Changehead{i}"] = badge(i) + s
    for i, s in enumerate([open_cover_step(), flap_open, peel, seat], 1):
        p[f"ChangeheadA{i}"] = badge(i) + s
    for i, s in enumerate(b_steps(), 1):
        p[f"ChangeheadB{i}"] = badge(i) + s
    for i, s in enumerate([open_cover_step(), head_out_step(False), head_out_step(True)], 1):
        p[f"ChangeheadC{i}"] = badge(i) + s
    for i, s in enumerate([open_cover_step(), flap_open, peel, seat, box_step(True, "top", ok=True)], 1):
        p[f"ChangeheadD{i}"] = badge(i) + s
    for i, s in enumerate(qp7_steps(), 1):
        p[f"Changehead_QP7{i}"] = badge(i) + s
    for i, s in enumerate(box_steps("top"), 1):
        p[f"Changebox{i}"] = badge(i) + s
    for i, s in enumerate(box_steps("side"), 1):
        p[f"ChangeboxC{i}"] = badge(i) + s
    for i, s in enumerate(box_steps("front"), 1):
        p[f"ChangeboxC_B{i}"] = badge(i) + s
    p["ChangeboxA1"] = badge(1) + box_step(True, "top", ok=True)
    p["ChangeboxB1"] = badge(1) + box_step(True, "side", ok=True)
    p["ChangeboxD1"] = badge(1) + box_step(True, "front", ok=True)

    # page pictures
    nozzle_spray = "".join(drop(HEAD_X + 8 + i * 8, RAIL_Y + 12, 2.6) for i in range(4))
    p["Img_Clean"] = printer_open() + nozzle_spray + sparkle(300, 44, 12) + sparkle(318, 76, 7)
    p["Img_Deepclean"] = (printer_open() + nozzle_spray + drop(300, 60, 12) + drop(322, 90, 8) +
                          sparkle(284, 30, 9) + sparkle(326, 40, 6))
    sheet_in = lambda w, h, label: (printer_closed() + sheet(BX + 44, BY + 20 - h, w, h, 0, "#fff4e8") +
                                    arrow(BX + 44 + w + 16, BY + 20 - h + 6, BX + 44 + w + 16, BY + 18) +
                                    (text(BX + 44 + w / 2, BY + 20 - h / 2 + 5, label, 14) if label else "") +
                                    sparkle(300, 40, 10))
    p["Img_Bearing_Clean"] = sheet_in(80, 92, "")
    p["Img_Bearing_CleanA4"] = sheet_in(64, 92, "A4")
    p["Img_Bearing_CleanA5"] = sheet_in(64, 66, "A5")
    p["Img_Bottom_Clean"] = (printer_open("empty", "in") + rect(CX + 10, RAIL_Y + 2, 120, 6, PALE, INK, 1.5, 2) +
                             rect(CX + 60, RAIL_Y - 16, 40, 16, "#fff4e8", ACCENT, 2, 4) +
                             arrow(CX + 108, RAIL_Y - 8, CX + 140, RAIL_Y - 8) + sparkle(300, 44, 10))
    p["Img_SelfTest"] = (printer_closed() + sheet(BX + 50, BY - 84 + 10, 100, 84, 0) +
                         text(BX + 100, BY - 52, "Abc 123", 13) +
                         rect(BX + 60, BY - 44, 20, 14, INK, "none", 0, 1) +
                         rect(BX + 84, BY - 44, 20, 14, ACCENT, "none", 0, 1) +
                         path(f"M{BX + 60} {BY - 22}H{BX + 140}", PALE, 2) + check(300, 52))
    nozzle_page = lambda groups: (printer_closed() + staircase(BX + 52, BY - 30 - 22 * len(groups), groups) +
                                  arrow(BX + 162, BY - 30, BX + 162, BY - 70))
    p["Img_Holecheck4E17"] = nozzle_page([INK])
    p["Img_Holecheck5C90"] = nozzle_page([INK])
    p["Img_Holecheck6A3C"] = nozzle_page([INK, "#c0392b"])
    p["Img_Holecheck6B22"] = nozzle_page([INK, "#c0392b"])
    p["Img_Holecheck7D05"] = nozzle_page([INK, INK, "#c0392b"])
    def head_page(extra=""):
        # the old head out, the new one in
        return (printer_open("empty") + head(HEAD_X - 36, 20, INK) +
                arrow(HEAD_X - 50, 80, HEAD_X - 50, 30) + head(HEAD_X + 52, 16, ACCENT) +
                arrow(HEAD_X + 73, 56, HEAD_X + 73, 80) + extra)
    p["Img_Changehead"] = head_page()
    p["Img_ChangeheadA"] = head_page(head_flap(True))
    p["Img_ChangeheadB"] = head_page(valve(HEAD_X + 120, HEAD_Y, up=True))
    p["Img_ChangeheadC"] = head_page()
    p["Img_ChangeheadD"] = head_page(head_flap(True) + box_in_bay(ACCENT))
    p["Img_Changehead_QP7"] = head_page(lock_cover(HEAD_X + 120, HEAD_Y, "lifted"))
    box_page = lambda where: box_step(True, where) + (sparkle(310, 40, 9) if where != "side" else "")
    p["Img_Changebox"] = box_page("top")
    p["Img_ChangeboxA"] = box_page("top")
    p["Img_ChangeboxB"] = box_page("side")
    p["Img_ChangeboxC"] = box_page("side")
    p["Img_ChangeboxC_B"] = box_page("front")
    p["Img_ChangeboxD"] = box_page("front")
    p["Img_ChangeboxE"] = box_page("top")
    return p


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "resources", "pictures")
    os.makedirs(out, exist_ok=True)
    drawn = pictures()
    for name, body_svg in drawn.items():
        with open(os.path.join(out, name.upper() + ".svg"), "w", encoding="utf-8") as f:
            f.write(svg(name.upper(), body_svg))
    print(f"{len(drawn)} pictures written to {os.path.normpath(out)}")


if __name__ == "__main__":
    main()
