#!/usr/bin/env python3
"""Draws the program's skin: every picture of the folder "image" beside the
program. Deterministic (no randomness, no clock), so the same sources always
give the same files.

    make_skin.py OUTPUT_FOLDER
    make_skin.py --icon OUTPUT.ico     the application icon (the program's mark)

One look throughout: a dark slate title band, white and pale-grey surfaces,
one blue accent, 1-px hairlines. Shapes are drawn at four times the size and
reduced with a box filter: edges on the pixel grid stay crisp, curves and
diagonals come out smooth.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

S = 4  # supersampling factor

# Palette
BAND_TOP = (36, 52, 71)
BAND_BOTTOM = (24, 37, 51)
ACCENT = (22, 132, 204)
ACCENT_HOVER = (48, 156, 224)
ACCENT_DOWN = (14, 104, 166)
ACCENT_PALE = (231, 243, 251)
INK = (31, 45, 61)
MUTED = (104, 120, 137)
HAIRLINE = (220, 227, 234)
BORDER = (197, 208, 219)
SURFACE = (255, 255, 255)
PAGE = (244, 247, 250)        # also the message pane's fill
DISABLED_FILL = (236, 239, 242)
DISABLED_INK = (168, 178, 189)
DANGER = (214, 69, 65)
DANGER_DOWN = (178, 48, 45)
WARN = (240, 160, 32)
SUCCESS = (46, 170, 92)
WHITE = (255, 255, 255)
BUBBLE_IN = (216, 216, 216)   # fills fixed by the message pane
BUBBLE_OUT = (136, 193, 33)

FONT_DIRS = ["/usr/share/fonts/truetype/liberation", "/usr/share/fonts/truetype/dejavu"]
FONT_FILES = {
    "regular": ["LiberationSans-Regular.ttf", "DejaVuSans.ttf"],
    "bold": ["LiberationSans-Bold.ttf", "DejaVuSans-Bold.ttf"],
}


def font(size, weight="regular"):
    for name in FONT_FILES[weight]:
        for folder in FONT_DIRS:
            path = os.path.join(folder, name)
            if os.path.exists(path):
                return ImageFont.truetype(path, round(size))
    raise SystemExit("make_skin: no Liberation Sans or DejaVu Sans font found")


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


class Canvas:
    """A picture drawn at S times its size; coordinates are final pixels."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        if len(fill) == 3:
            fill = rgba(fill)
        self.img = Image.new("RGBA", (w * S, h * S), fill)
        self.d = ImageDraw.Draw(self.img)

    @staticmethod
    def _s(v):
        return [round(x * S) for x in v]

    def rect(self, x0, y0, x1, y1, fill):
        """Fills [x0, x1) x [y0, y1)."""
        self.d.rectangle([round(x0 * S), round(y0 * S), round(x1 * S) - 1, round(y1 * S) - 1], fill=rgba_of(fill))

    def rrect(self, x0, y0, x1, y1, r, fill, outline=None, width=1):
        box = [round(x0 * S), round(y0 * S), round(x1 * S) - 1, round(y1 * S) - 1]
        if outline is not None:
            self.d.rounded_rectangle(box, radius=r * S, fill=rgba_of(outline))
            inner = [box[0] + width * S, box[1] + width * S, box[2] - width * S, box[3] - width * S]
            self.d.rounded_rectangle(inner, radius=max(0, (r - width)) * S, fill=rgba_of(fill))
        else:
            self.d.rounded_rectangle(box, radius=r * S, fill=rgba_of(fill))

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.d.ellipse(self._s((x0, y0, x1, y1)), fill=rgba_of(fill) if fill else None,
                       outline=rgba_of(outline) if outline else None, width=round(width * S))

    def line(self, points, fill, width=1.0):
        self.d.line(self._s([c for p in points for c in p]), fill=rgba_of(fill), width=round(width * S),
                    joint="curve")
        # Round caps: PIL lines end square.
        r = width * S / 2
        for p in (points[0], points[-1]):
            cx, cy = p[0] * S, p[1] * S
            self.d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=rgba_of(fill))

    def polygon(self, points, fill):
        self.d.polygon(self._s([c for p in points for c in p]), fill=rgba_of(fill))

    def arc(self, box, start, end, fill, width):
        self.d.arc(self._s(box), start, end, fill=rgba_of(fill), width=round(width * S))

    def text(self, x, y, text, size, colour, weight="regular", anchor="la"):
        self.d.text((x * S, y * S), text, font=font(size * S, weight), fill=rgba_of(colour), anchor=anchor)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for yy in range(round(y0 * S), round(y1 * S)):
            t = (yy - y0 * S) / max(1, (y1 - y0) * S - 1)
            c = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
            self.d.line([(round(x0 * S), yy), (round(x1 * S) - 1, yy)], fill=rgba(c))

    def paste(self, other, x, y):
        """Composites another Canvas at (x, y)."""
        self.img.alpha_composite(other.img, (round(x * S), round(y * S)))

    def final(self):
        return self.img.resize((self.w, self.h), Image.BOX)


def rgba_of(c):
    if c is None:
        return None
    return c if len(c) == 4 else rgba(c)


def hline(img, x0, x1, y, colour):
    """A crisp 1-px line straight on the final picture."""
    for x in range(x0, x1):
        img.putpixel((x, y), rgba_of(colour))


def vline(img, x, y0, y1, colour):
    for y in range(y0, y1):
        img.putpixel((x, y), rgba_of(colour))


# ---------------------------------------------------------------- glyphs
# Each glyph draws into a Canvas inside the box (x, y, size) in colour c.

def glyph_close(cv, x, y, s, c, w=1.6):
    m = s * 0.3
    cv.line([(x + m, y + m), (x + s - m, y + s - m)], c, w)
    cv.line([(x + s - m, y + m), (x + m, y + s - m)], c, w)


def glyph_min(cv, x, y, s, c):
    cv.line([(x + s * 0.3, y + s * 0.62), (x + s * 0.7, y + s * 0.62)], c, 1.6)


def glyph_menu(cv, x, y, s, c):
    for f in (0.33, 0.5, 0.67):
        cv.line([(x + s * 0.28, y + s * f), (x + s * 0.72, y + s * f)], c, 1.4)


def glyph_home(cv, x, y, s, c):
    cv.line([(x + s * 0.2, y + s * 0.5), (x + s * 0.5, y + s * 0.22), (x + s * 0.8, y + s * 0.5)], c, 1.5)
    cv.line([(x + s * 0.3, y + s * 0.45), (x + s * 0.3, y + s * 0.78), (x + s * 0.7, y + s * 0.78),
             (x + s * 0.7, y + s * 0.45)], c, 1.4)


def glyph_help(cv, x, y, s, c):
    cv.ellipse(x + s * 0.18, y + s * 0.18, x + s * 0.82, y + s * 0.82, outline=c, width=1.3)
    cv.text(x + s * 0.5, y + s * 0.52, "?", s * 0.48, c, "bold", anchor="mm")


def glyph_back(cv, x, y, s, c, w=2.2):
    cv.line([(x + s * 0.62, y + s * 0.25), (x + s * 0.37, y + s * 0.5), (x + s * 0.62, y + s * 0.75)], c, w)


def glyph_recover(cv, x, y, s, c, w=2.0):
    cv.line([(x + s * 0.5, y + s * 0.2), (x + s * 0.5, y + s * 0.58)], c, w)
    cv.line([(x + s * 0.36, y + s * 0.45), (x + s * 0.5, y + s * 0.59), (x + s * 0.64, y + s * 0.45)], c, w)
    cv.line([(x + s * 0.25, y + s * 0.62), (x + s * 0.25, y + s * 0.78), (x + s * 0.75, y + s * 0.78),
             (x + s * 0.75, y + s * 0.62)], c, w)


def glyph_pause(cv, x, y, s, c):
    cv.rrect(x + s * 0.29, y + s * 0.22, x + s * 0.43, y + s * 0.78, 1.5, c)
    cv.rrect(x + s * 0.57, y + s * 0.22, x + s * 0.71, y + s * 0.78, 1.5, c)


def glyph_resume(cv, x, y, s, c):
    cv.polygon([(x + s * 0.32, y + s * 0.2), (x + s * 0.8, y + s * 0.5), (x + s * 0.32, y + s * 0.8)], c)


def glyph_stop(cv, x, y, s, c):
    cv.rrect(x + s * 0.25, y + s * 0.25, x + s * 0.75, y + s * 0.75, 2.5, c)


def glyph_refresh(cv, x, y, s, c, w=1.6):
    cv.arc((x + s * 0.2, y + s * 0.2, x + s * 0.8, y + s * 0.8), 300, 240, c, w)
    # arrow head at the arc's end (240 degrees)
    ex, ey = x + s * 0.5 + s * 0.3 * math.cos(math.radians(240)), y + s * 0.5 + s * 0.3 * math.sin(math.radians(240))
    cv.polygon([(ex - s * 0.05, ey - s * 0.17), (ex + s * 0.17, ey), (ex - s * 0.05, ey + s * 0.15)], c)


def glyph_check(cv, x, y, s, c, w=1.8):
    cv.line([(x + s * 0.27, y + s * 0.52), (x + s * 0.43, y + s * 0.68), (x + s * 0.74, y + s * 0.34)], c, w)


def glyph_logo(cv, x, y, s):
    """The program's mark: a white fern leaf on an accent tile."""
    cv.rrect(x, y, x + s, y + s, s * 0.22, ACCENT)
    cx, top, bottom = x + s * 0.5, y + s * 0.16, y + s * 0.86
    cv.line([(cx, top + s * 0.1), (cx, bottom)], WHITE, max(1.0, s * 0.07))
    for i in range(4):
        fy = top + s * (0.14 + i * 0.15)
        span = s * (0.16 + 0.05 * (3 - abs(i - 1.5)))
        cv.line([(cx, fy + s * 0.1), (cx - span, fy)], WHITE, max(1.0, s * 0.06))
        cv.line([(cx, fy + s * 0.1), (cx + span, fy)], WHITE, max(1.0, s * 0.06))


# ---------------------------------------------------------------- strips

def strip(frames, fw, fh, draw):
    """A picture strip: draw(canvas, x0, frame index) for each frame."""
    cv = Canvas(fw * frames, fh)
    for i in range(frames):
        draw(cv, i * fw, i)
    return cv.final()


def title_button(glyph, fw=18, fh=18, frames=4, danger=False):
    """Buttons on the dark title band: light glyph, a soft plate on hover."""
    def draw(cv, x0, i):
        plate = {1: (DANGER if danger else (255, 255, 255, 40)),
                 2: (DANGER_DOWN if danger else (255, 255, 255, 70))}.get(i)
        if plate is not None:
            cv.rrect(x0, 0, x0 + fw, fh, 3, plate)
        colour = {0: (214, 223, 232), 1: WHITE, 2: WHITE, 3: (110, 126, 143)}[i]
        gx = x0 + (fw - fh) / 2
        glyph(cv, gx, 0, fh, colour)
    return strip(frames, fw, fh, draw)


def tool_button(glyph, size=40):
    """Tool-bar tiles: white tile with a hairline border and an accent glyph."""
    def draw(cv, x0, i):
        fill, edge, ink = [(SURFACE, BORDER, ACCENT), (ACCENT_PALE, ACCENT_HOVER, ACCENT),
                           (ACCENT, ACCENT_DOWN, WHITE), (DISABLED_FILL, HAIRLINE, DISABLED_INK)][i]
        cv.rrect(x0, 0, x0 + size, size, 6, fill, outline=edge)
        glyph(cv, x0 + 8, 8, size - 16, ink)
    return strip(4, size, size, draw)


def text_button(label, w, h, primary, glyph=None):
    """Push buttons with a caption: primary in accent, secondary outlined."""
    def draw(cv, x0, i):
        if primary:
            fill, edge, ink = [(ACCENT, ACCENT, WHITE), (ACCENT_HOVER, ACCENT_HOVER, WHITE),
                               (ACCENT_DOWN, ACCENT_DOWN, WHITE), ((201, 210, 219), (201, 210, 219), WHITE)][i]
        else:
            fill, edge, ink = [(SURFACE, BORDER, INK), ((238, 245, 251), ACCENT_HOVER, INK),
                               ((220, 234, 246), ACCENT, INK), (DISABLED_FILL, HAIRLINE, DISABLED_INK)][i]
        cv.rrect(x0, 0, x0 + w, h, 4, fill, outline=edge)
        cx = x0 + w / 2
        if glyph:
            g = h * 0.62
            glyph(cv, cx - 34, (h - g) / 2, g, ink)
            cx += 9
        cv.text(cx, h / 2 + 0.5, label, 13, ink, "bold", anchor="mm")
    return strip(4, w, h, draw)


def check_strip(frames_spec, size=14):
    """Check boxes: each frame is 'off', 'hover', 'down', 'on' or 'disabled'."""
    def draw(cv, x0, i):
        kind = frames_spec[i]
        if kind == "on":
            cv.rrect(x0, 0, x0 + size, size, 3, ACCENT)
            glyph_check(cv, x0, 0, size, WHITE, 1.7)
        elif kind == "disabled":
            cv.rrect(x0, 0, x0 + size, size, 3, DISABLED_FILL, outline=(203, 211, 219))
        else:
            fill = {"off": SURFACE, "hover": SURFACE, "down": ACCENT_PALE}[kind]
            edge = {"off": (150, 165, 180), "hover": ACCENT_HOVER, "down": ACCENT}[kind]
            cv.rrect(x0, 0, x0 + size, size, 3, fill, outline=edge)
    return strip(len(frames_spec), size, size, draw)


# ---------------------------------------------------------------- icons

def icon(size, draw):
    cv = Canvas(size, size)
    draw(cv, size)
    return cv.final()


def draw_phone(cv, x, y, w, h, c, screen=None, width=1.4):
    cv.rrect(x, y, x + w, y + h, w * 0.18, c)
    cv.rrect(x + width, y + width, x + w - width, y + h - width, max(0, w * 0.18 - width), screen or WHITE)
    cv.rrect(x + w * 0.35, y + h - width - h * 0.07, x + w * 0.65, y + h - width - h * 0.035, 1, c)


def tree_icons():
    out = {}
    out["treeroot.png"] = icon(18, lambda cv, s: (
        draw_phone(cv, 4.5, 1, 9, 16, (61, 163, 93), (232, 246, 236)),))
    out["contacts.png"] = icon(18, lambda cv, s: (
        cv.ellipse(6, 2.5, 12, 8.5, fill=ACCENT),
        cv.rrect(3, 10, 15, 17.5, 5, ACCENT)))

    def message(cv, s):
        cv.rrect(1.5, 2.5, 16.5, 13, 3.5, (242, 153, 46))
        cv.polygon([(4.5, 12), (8.5, 12), (4.5, 16)], (242, 153, 46))
        for fx in (5.5, 9, 12.5):
            cv.ellipse(fx - 1, 6.8, fx + 1, 8.8, fill=WHITE)
    out["message.png"] = icon(18, message)

    def disk(cv, s):
        cv.polygon([(4, 1.5), (11, 1.5), (15, 5.5), (15, 16.5), (4, 16.5)], (91, 105, 122))
        for gx in (6, 8.5, 11):
            cv.rect(gx, 3, gx + 1.5, 6, (248, 201, 72))
        cv.rect(6, 10, 13, 14, (130, 144, 160))
    out["disk.png"] = icon(18, disk)

    def folder(cv, s):
        cv.rrect(1.5, 3, 8, 7, 1.5, (230, 170, 40))
        cv.rrect(1.5, 5, 16.5, 15.5, 2, (246, 192, 66))
        cv.rect(1.5, 7, 16.5, 8, (230, 170, 40))
    out["folder.png"] = icon(18, folder)
    return out


def status_icon(kind):
    def draw(cv, s):
        if kind == "warn":
            cv.polygon([(20, 3), (38, 36), (2, 36)], WARN)
            cv.rrect(18.5, 13, 21.5, 27, 1.5, INK)
            cv.ellipse(18.4, 29.5, 21.6, 32.7, fill=INK)
        elif kind == "error":
            cv.ellipse(2, 2, 38, 38, fill=DANGER)
            glyph_close(cv, 6, 6, 28, WHITE, 3.2)
        elif kind == "info":
            cv.ellipse(2, 2, 38, 38, fill=ACCENT)
            cv.ellipse(18, 9.5, 22, 13.5, fill=WHITE)
            cv.rrect(18.2, 16.5, 21.8, 30.5, 1.5, WHITE)
        else:
            cv.ellipse(2, 2, 38, 38, fill=SUCCESS)
            glyph_check(cv, 4, 5, 32, WHITE, 3.4)
    return icon(40, draw)


def contact_person():
    def draw(cv, s):
        cv.ellipse(0, 0, 62, 62, fill=ACCENT_PALE)
        cv.ellipse(20, 12, 42, 34, fill=ACCENT)
        cv.d.pieslice(cv._s((9, 37, 53, 79)), 180, 360, fill=rgba(ACCENT))
    img = icon(62, draw)
    # Keep the figure inside the circle.
    mask = Image.new("L", (62 * S, 62 * S), 0)
    ImageDraw.Draw(mask).ellipse([0, 0, 62 * S - 1, 62 * S - 1], fill=255)
    mask = mask.resize((62, 62), Image.BOX)
    img.putalpha(Image.composite(img.getchannel("A"), Image.new("L", (62, 62), 0), mask))
    return img


def deleted_mark():
    def draw(cv, s):
        cv.rrect(3, 3.5, 11, 5, 0.5, DANGER)
        cv.rect(5.5, 1.5, 8.5, 3.5, DANGER)
        cv.polygon([(3.8, 5.5), (10.2, 5.5), (9.5, 13), (4.5, 13)], DANGER)
        for fx in (5.9, 8.1):
            cv.rect(fx - 0.4, 7, fx + 0.4, 11.5, WHITE)
    return icon(14, draw)


def file_mark():
    def draw(cv, s):
        cv.polygon([(2.5, 0.5), (8.5, 0.5), (11.5, 3.5), (11.5, 13.5), (2.5, 13.5)], ACCENT)
        cv.polygon([(3.7, 1.7), (8, 1.7), (10.3, 4), (10.3, 12.3), (3.7, 12.3)], WHITE)
        cv.polygon([(8, 0.5), (11.5, 4), (8, 4)], ACCENT)
        for fy in (7, 9.5):
            cv.rect(5, fy, 9, fy + 1, ACCENT)
    return icon(14, draw)


def sort_arrow(up):
    def draw(cv, s):
        pts = [(0.5, 5), (4.5, 1), (8.5, 5)] if up else [(0.5, 1), (4.5, 5), (8.5, 1)]
        cv.polygon(pts, MUTED)
    cv = Canvas(9, 6)
    draw(cv, 9)
    return cv.final()


def expand_glyph(opened):
    cv = Canvas(9, 9, SURFACE)
    if opened:
        cv.polygon([(1, 2.5), (8, 2.5), (4.5, 6.5)], MUTED)
    else:
        cv.polygon([(2.5, 1), (6.5, 4.5), (2.5, 8)], MUTED)
    return cv.final().convert("RGB")


def list_header():
    """The header's background; the header stretches its column x = 2."""
    img = Image.new("RGB", (4, 30))
    for y in range(29):
        t = y / 28
        c = tuple(round(SURFACE[k] + (PAGE[k] - SURFACE[k]) * t) for k in range(3))
        img.paste(c, (0, y, 4, y + 1))
    img.paste((210, 210, 210), (0, 29, 4, 30))
    return img


# ---------------------------------------------------------------- bubbles

def bubble_pieces(prefix, fill, left, right, top, bottom, tail_left):
    """Draws one whole bubble on the pane colour and cuts it into the eight
    pieces the message pane assembles: four corners and four one-pixel
    edge slices that it stretches."""
    w, h = left + 20 + right, top + 20 + bottom
    cv = Canvas(w, h, PAGE)
    inset_l = 6 if tail_left else 0
    inset_r = 0 if tail_left else 6
    cv.rrect(inset_l, 0, w - inset_r, h, 9, fill)
    if tail_left:
        cv.polygon([(0.5, 4), (inset_l + 4, 2.5), (inset_l + 4, 12)], fill)
    else:
        cv.polygon([(w - 0.5, 4), (w - inset_r - 4, 2.5), (w - inset_r - 4, 12)], fill)
    img = cv.final().convert("RGB")
    boxes = {
        "lefttop": (0, 0, left, top),
        "righttop": (w - right, 0, w, top),
        "leftbottom": (0, h - bottom, left, h),
        "rightbottom": (w - right, h - bottom, w, h),
        "topline": (left, 0, left + 1, top),
        "bottomline": (left, h - bottom, left + 1, h),
        "leftline": (0, top, left, top + 1),
        "rightline": (w - right, top, w, top + 1),
    }
    return {f"{prefix}_{name}.bmp": img.crop(box) for name, box in boxes.items()}


# ---------------------------------------------------------------- backgrounds

def title_band(cv, width, height, title=None):
    cv.vgradient(0, 0, width, height, BAND_TOP, BAND_BOTTOM)
    glyph_logo(cv, 12, (height - 18) / 2, 18)
    if title:
        cv.text(38, height / 2, title, 13, WHITE, "bold", anchor="lm")


def window_frame(img, band_height):
    """A hairline around the window body below the title band."""
    w, h = img.size
    edge = (176, 189, 202)
    hline(img, 0, w, h - 1, edge)
    vline(img, 0, band_height, h, edge)
    vline(img, w - 1, band_height, h, edge)


def dialog_canvas(w, h, hero_bottom=None):
    """A dialog's background: white body under a 30 px title band, with a
    pale accent wash fading out below the band down to `hero_bottom`."""
    cv = Canvas(w, h, SURFACE)
    title_band(cv, w, 30)
    if hero_bottom:
        cv.vgradient(0, 30, w, hero_bottom, ACCENT_PALE, SURFACE)
    return cv


def dialog_finish(cv, hairlines):
    """Reduces the drawing and adds the crisp lines (x0, x1, y) and the frame."""
    img = cv.final()
    for x0, x1, y in hairlines:
        hline(img, x0, x1, y, HAIRLINE)
    window_frame(img, 30)
    return img


def msgbox_background():
    w, h = 420, 200
    cv = dialog_canvas(w, h)
    cv.rect(0, 142, w, h, PAGE)
    return dialog_finish(cv, [(0, w, 142)])


def about_background():
    w, h = 500, 380
    cv = dialog_canvas(w, h, 122)
    glyph_logo(cv, 40, 46, 60)
    cv.text(116, 50, "Quillfern", 30, INK, "bold")
    cv.text(117, 88, "Contacts, messages and files back from your Android phone", 13, MUTED)
    # Three feature chips under the version line.
    x = 40
    for label, draw in (("Contacts", lambda c, gx, gy: (c.ellipse(gx + 4, gy + 1, gx + 10, gy + 7, fill=ACCENT),
                                                         c.rrect(gx + 1.5, gy + 8, gx + 12.5, gy + 13.5, 4, ACCENT))),
                        ("Messages", lambda c, gx, gy: (c.rrect(gx + 1, gy + 1.5, gx + 13, gy + 10.5, 3, ACCENT),
                                                         c.polygon([(gx + 3.5, gy + 10), (gx + 7, gy + 10), (gx + 3.5, gy + 13.5)], ACCENT))),
                        ("Files on SD cards", lambda c, gx, gy: c.polygon(
                            [(gx + 3, gy + 1), (gx + 9, gy + 1), (gx + 12, gy + 4), (gx + 12, gy + 13), (gx + 3, gy + 13)], ACCENT))):
        tw = font(12).getlength(label)
        cw = 14 + 6 + tw + 22
        cv.rrect(x, 200, x + cw, 228, 14, ACCENT_PALE)
        draw(cv, x + 10, 207)
        cv.text(x + 30, 214.5, label, 12, INK, anchor="lm")
        x += cw + 10
    cv.rect(0, 326, w, h, PAGE)
    return dialog_finish(cv, [(40, w - 40, 168), (0, w, 326)])


def progress_background():
    w, h = 370, 245
    cv = dialog_canvas(w, h, 118)
    cv.rrect(20, 48, 68, 96, 12, ACCENT)
    glyph_recover(cv, 26, 54, 36, WHITE, 3.2)
    cv.text(84, 56, "Recovering your data", 17, INK, "bold")
    cv.text(84, 82, "Keep the phone and the card connected.", 12, MUTED)
    return dialog_finish(cv, [(20, w - 20, 121)])


def main_background(page):
    w, h = 984, 674
    cv = Canvas(w, h, SURFACE)
    title_band(cv, w, 32, "Tarnwick Quillfern for Android")
    if page == 2:
        cv.vgradient(222, 32, w, 118, SURFACE, PAGE)
        cv.rect(0, 630, w, h, PAGE)
        cv.rect(1, 32, 222, 630, SURFACE)
    else:
        cv.rect(0, 528, w, h, PAGE)
    img = cv.final()
    if page == 2:
        hline(img, 222, w - 1, 118, HAIRLINE)
        vline(img, 222, 32, 630, HAIRLINE)
        vline(img, 742, 118, 630, HAIRLINE)
        hline(img, 1, w - 1, 630, HAIRLINE)
    else:
        hline(img, 1, w - 1, 528, HAIRLINE)
    window_frame(img, 32)
    return img


def step_strip():
    w, h = 982, 110
    cv = Canvas(w, h)
    labels = ["Connect your phone", "Read contacts and messages", "Recover what you choose"]
    xs = [w / 2 - 260, w / 2, w / 2 + 260]
    for i in range(2):
        cv.rect(xs[i] + 22, 35.5, xs[i + 1] - 22, 36.5, BORDER)
    for i, (x, label) in enumerate(zip(xs, labels)):
        if i == 0:
            cv.ellipse(x - 18, 18, x + 18, 54, fill=ACCENT)
            cv.text(x, 36.5, "1", 16, WHITE, "bold", anchor="mm")
            cv.text(x, 74, label, 14, INK, "bold", anchor="mm")
        else:
            cv.ellipse(x - 18, 18, x + 18, 54, fill=BORDER)
            cv.ellipse(x - 17, 19, x + 17, 53, fill=SURFACE)
            cv.text(x, 36.5, str(i + 1), 16, MUTED, "bold", anchor="mm")
            cv.text(x, 74, label, 14, MUTED, anchor="mm")
    return cv.final()


STATUS_W, STATUS_H = 785, 331   # the connect page's status area


def spinner_frames(count=12):
    frames = []
    cx, cy, radius = STATUS_W / 2, 118, 30
    for f in range(count):
        cv = Canvas(STATUS_W, STATUS_H)
        for i in range(count):
            age = (f - i) % count
            shade = max(0.0, 1.0 - age / (count * 0.75))
            colour = tuple(round(HAIRLINE[k] + (ACCENT[k] - HAIRLINE[k]) * shade) for k in range(3))
            a = math.radians(i * 360 / count - 90)
            px, py = cx + radius * math.cos(a), cy + radius * math.sin(a)
            cv.ellipse(px - 5, py - 5, px + 5, py + 5, fill=colour)
        cv.text(cx, 190, "Looking for your Android phone\u2026", 20, INK, "bold", anchor="mm")
        cv.text(cx, 220, "Connect it with a USB cable and switch on USB debugging.", 14, MUTED, anchor="mm")
        frames.append(cv.final())
    return frames


def save_gif(frames, path, delay_ms):
    """Animated GIF on a transparent background (index 0 is transparent)."""
    palette_frames = []
    for fr in frames:
        alpha = fr.getchannel("A")
        # Flatten onto white for the colours; alpha decides transparency.
        flat = Image.alpha_composite(Image.new("RGBA", fr.size, rgba(SURFACE)), fr).convert("RGB")
        p = flat.quantize(colors=255, method=Image.MEDIANCUT, dither=Image.NONE)
        pal = p.getpalette()[:255 * 3]
        shifted = p.point(lambda v: v + 1)
        shifted.putpalette([255, 255, 255] + pal + [0] * (3 * (256 - 256)))
        mask = alpha.point(lambda a: 255 if a < 128 else 0)
        shifted.paste(0, mask=mask)
        palette_frames.append(shifted)
    palette_frames[0].save(path, save_all=True, append_images=palette_frames[1:], duration=delay_ms,
                           loop=0, transparency=0, disposal=2, optimize=False)


def load_fail():
    cv = Canvas(STATUS_W, STATUS_H)
    cx = STATUS_W / 2
    draw_phone(cv, cx - 32, 40, 64, 110, (150, 165, 180), (241, 244, 247), 3)
    cv.ellipse(cx + 14, 112, cx + 50, 148, fill=SURFACE)
    cv.ellipse(cx + 17, 115, cx + 47, 145, fill=DANGER)
    glyph_close(cv, cx + 20, 118, 24, WHITE, 2.6)
    cv.text(cx, 190, "No Android phone found", 20, INK, "bold", anchor="mm")
    cv.text(cx, 220, "Check the cable and USB debugging, then press Refresh.", 14, MUTED, anchor="mm")
    return cv.final()


def rsa_tip():
    cv = Canvas(STATUS_W, STATUS_H)
    cx = STATUS_W / 2 - 90
    px, py, pw, ph = cx - 75, 34, 150, 250
    draw_phone(cv, px, py, pw, ph, INK, (241, 244, 247), 5)
    # The phone's question, as the phone shows it.
    dx0, dy0, dx1, dy1 = px + 14, py + 70, px + pw - 14, py + 190
    cv.rrect(dx0, dy0, dx1, dy1, 6, SURFACE, outline=BORDER)
    cv.text(dx0 + 9, dy0 + 12, "Allow USB debugging?", 10, INK, "bold")
    cv.text(dx0 + 10, dy0 + 32, "The computer's RSA key", 9, MUTED)
    cv.text(dx0 + 10, dy0 + 45, "fingerprint is shown here.", 9, MUTED)
    cv.rrect(dx0 + 10, dy0 + 66, dx0 + 20, dy0 + 76, 2, ACCENT)
    glyph_check(cv, dx0 + 10, dy0 + 66, 10, WHITE, 1.2)
    cv.text(dx0 + 26, dy0 + 71, "Always allow", 9, INK, anchor="lm")
    cv.text(dx0 + 30, dy1 - 16, "CANCEL", 10, MUTED, "bold", anchor="mm")
    cv.rrect(dx1 - 46, dy1 - 26, dx1 - 8, dy1 - 6, 4, ACCENT)
    cv.text(dx1 - 27, dy1 - 16, "OK", 10, WHITE, "bold", anchor="mm")
    # Pointer to the button.
    ax = dx1 + 34
    cv.line([(ax + 70, dy1 - 16), (dx1 + 2, dy1 - 16)], ACCENT, 2)
    cv.polygon([(dx1 - 2, dy1 - 16), (dx1 + 8, dy1 - 22), (dx1 + 8, dy1 - 10)], ACCENT)
    cv.text(ax + 82, dy1 - 28, "Tap OK on the phone", 16, INK, "bold")
    cv.text(ax + 82, dy1 - 6, "then wait a moment here.", 13, MUTED)
    return cv.final()


# ---------------------------------------------------------------- all files

def build(out):
    os.makedirs(out, exist_ok=True)
    files = {}
    files["close.png"] = title_button(glyph_close, danger=True)
    files["min.png"] = title_button(glyph_min)
    files["menu.png"] = title_button(glyph_menu, frames=3)
    files["btn_home.png"] = title_button(glyph_home, fw=22)
    files["btn_help.png"] = title_button(glyph_help, fw=22)
    for name, glyph in (("back.png", glyph_back), ("recover.png", glyph_recover), ("pause.png", glyph_pause),
                        ("resume.png", glyph_resume), ("stop_toolbar.png", glyph_stop)):
        files[name] = tool_button(glyph)
    files["refresh.png"] = text_button("Refresh", 100, 30, True, glyph=glyph_refresh)
    files["stop.png"] = text_button("Stop", 76, 28, False)
    files["close_dlg.png"] = text_button("Close", 76, 28, True)
    files["ok.png"] = text_button("OK", 80, 28, True)
    files["yes.png"] = text_button("Yes", 80, 28, True)
    files["cancel.png"] = text_button("Cancel", 80, 28, False)
    files["no.png"] = text_button("No", 80, 28, False)
    files["msgbox.png"] = msgbox_background()
    for kind, name in (("warn", "warn.png"), ("info", "info.png"), ("error", "error.png"), ("right", "right.png")):
        files[name] = status_icon(kind)
    files["aboutbk.png"] = about_background()
    files["progressbg.png"] = progress_background()
    files["mainbg1.png"] = main_background(1)
    files["mainbg2.png"] = main_background(2)
    files["step1.png"] = step_strip()
    files["loadfail.png"] = load_fail()
    files["rsa_tip.png"] = rsa_tip()
    files.update(tree_icons())
    files["tree_opened.bmp"] = expand_glyph(True)
    files["tree_closed.bmp"] = expand_glyph(False)
    files["checkboxes.png"] = check_strip(["off", "hover", "down", "on", "disabled"])
    files["checkbox.png"] = check_strip(["off", "hover", "on", "disabled"])
    files["deleted.png"] = deleted_mark()
    files["file.png"] = file_mark()
    files["inc.png"] = sort_arrow(True)
    files["dec.png"] = sort_arrow(False)
    files["list_hearder.bmp"] = list_header()
    files["contactperson.png"] = contact_person()
    files.update(bubble_pieces("in", BUBBLE_IN, left=18, right=12, top=15, bottom=18, tail_left=True))
    files.update(bubble_pieces("out", BUBBLE_OUT, left=12, right=18, top=18, bottom=18, tail_left=False))
    for name, img in files.items():
        path = os.path.join(out, name)
        if name.endswith(".bmp"):
            img.convert("RGB").save(path, "BMP")
        else:
            img.save(path, "PNG", optimize=True)
    save_gif(spinner_frames(), os.path.join(out, "loaddata.gif"), delay_ms=80)


ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def build_icon(path):
    """The program's mark drawn afresh at each icon size, so small sizes stay
    crisp instead of being scaled down from the large one."""
    frames = [icon(size, lambda cv, s: glyph_logo(cv, 0, 0, s)) for size in ICON_SIZES]
    largest = frames[-1]
    largest.save(path, "ICO", sizes=[(s, s) for s in ICON_SIZES], append_images=frames[:-1])


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--icon":
        build_icon(sys.argv[2])
    elif len(sys.argv) == 2:
        build(sys.argv[1])
    else:
        raise SystemExit("usage: make_skin.py OUTPUT_FOLDER | make_skin.py --icon OUTPUT.ico")
