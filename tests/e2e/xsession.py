"""Drives the real game under the X server of the current DISPLAY, as a
player would: X input through xdotool, the screen read back with import.

Screen coordinates have their origin at the top left (X and SDL); the game's
drawing space has it at the bottom left, so drawing y becomes 768 - y.
"""
import math
import os
import subprocess
import sys
import time

WIDTH, HEIGHT = 1024, 768

GOLD = (216, 178, 120)
SILVER = (178, 178, 178)
WHITE = (255, 255, 255)
RED = (255, 0, 0)

# Cell centres of the 5-row board in screen coordinates, by (row, col).
ROW_SPACING = 0.5 * 170 * math.tan(1.0471976)
ROW_XS = {0: (342, 512, 682), 1: (257, 427, 597, 767), 2: (172, 342, 512, 682, 852),
          3: (257, 427, 597, 767), 4: (342, 512, 682)}


def cell_centre(row, col):
    y = 384 - 2 * ROW_SPACING + row * ROW_SPACING
    return ROW_XS[row][col], HEIGHT - y


def all_cells():
    return [(r, c) for r in range(5) for c in range(len(ROW_XS[r]))]


def log(*args):
    print(*args, file=sys.stderr, flush=True)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    log("ok:", message)


class Screen:
    """One capture of the root window: 1024 x 768 RGB, row 0 at the top."""

    def __init__(self, data):
        if len(data) != WIDTH * HEIGHT * 3:
            raise Failure("screen capture has %d bytes" % len(data))
        self.data = data

    def pixel(self, x, y):
        i = (int(round(y)) * WIDTH + int(round(x))) * 3
        return tuple(self.data[i:i + 3])

    def count(self, x0, y0, x1, y1, match):
        """Pixels in the inclusive rectangle for which match(rgb) holds."""
        n = 0
        for y in range(y0, y1 + 1):
            row = y * WIDTH * 3
            for x in range(x0, x1 + 1):
                i = row + x * 3
                if match(self.data[i], self.data[i + 1], self.data[i + 2]):
                    n += 1
        return n

    def region(self, x0, y0, x1, y1):
        """The bytes of an inclusive rectangle, for comparing two captures."""
        return b"".join(self.data[(y * WIDTH + x0) * 3:(y * WIDTH + x1 + 1) * 3]
                        for y in range(y0, y1 + 1))

    def ring_matches(self, cx, cy, radius, colour, tolerance=14, samples=36):
        """How many points on a circle have about the given colour."""
        n = 0
        for k in range(samples):
            a = 2 * math.pi * (k + 0.5) / samples
            p = self.pixel(cx + radius * math.cos(a), cy + radius * math.sin(a))
            n += all(abs(p[i] - colour[i]) <= tolerance for i in range(3))
        return n

    def save(self, path):
        with open(path + ".rgb", "wb") as f:
            f.write(self.data)


def is_white(r, g, b):
    return r > 235 and g > 235 and b > 235


def is_red(r, g, b):
    return r > 200 and g < 60 and b < 60


def is_gold_text(r, g, b):
    return abs(r - GOLD[0]) < 20 and abs(g - GOLD[1]) < 20 and abs(b - GOLD[2]) < 20


def is_warm(rgb):
    return rgb[0] - rgb[2] > 45


def is_neutral_bright(rgb):
    return abs(rgb[0] - rgb[2]) < 30 and min(rgb) > 110


class Game:
    """The game process and the X display it shows on."""

    def __init__(self, argv, cwd, env_extra=None, artefacts=None):
        env = dict(os.environ)
        env["SDL_AUDIODRIVER"] = "dummy"
        env.update(env_extra or {})
        self.artefacts = artefacts
        self.proc = subprocess.Popen(argv, cwd=cwd, env=env)
        self.shots = 0

    # --- input -------------------------------------------------------------
    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def move(self, x, y):
        self.xdo("mousemove", int(round(x)), int(round(y)))

    def press(self, button=1):
        self.xdo("mousedown", button)

    def release(self, button=1):
        self.xdo("mouseup", button)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdo("click", button)

    def key(self, name):
        self.xdo("key", name)

    # --- output ------------------------------------------------------------
    def screen(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                              check=True, stdout=subprocess.PIPE).stdout
        shot = Screen(data)
        self.shots += 1
        if self.artefacts:
            shot.save(os.path.join(self.artefacts, "shot%02d" % self.shots))
        return shot

    def wait_for(self, what, predicate, timeout=30.0, pause=0.2):
        """Captures until predicate(screen) holds; returns that screen."""
        end = time.monotonic() + timeout
        while True:
            if self.proc.poll() is not None:
                raise Failure("the game ended (status %s) while waiting for %s"
                              % (self.proc.returncode, what))
            s = self.screen()
            if predicate(s):
                log("seen:", what)
                return s
            if time.monotonic() > end:
                raise Failure("timed out waiting for " + what)
            time.sleep(pause)

    def wait_window(self, timeout=30.0):
        end = time.monotonic() + timeout
        while subprocess.run(["xdotool", "search", "--name", "^Vesk$"],
                             stdout=subprocess.DEVNULL).returncode != 0:
            if self.proc.poll() is not None:
                raise Failure("the game ended (status %s) before its window opened"
                              % self.proc.returncode)
            if time.monotonic() > end:
                raise Failure("no window captioned Vesk")
            time.sleep(0.1)

    def wait_exit(self, timeout=20.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end")

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()


# --- what the menu looks like -----------------------------------------------

# Hover rectangle of "Very Easy" in screen coordinates (x 131..289, drawing y
# 451..484), and where its label's glyphs lie.
VERY_EASY = (131, 284, 289, 317)
NEW_GAME = (90, 230, 240, 268)


def menu_shown(s):
    return s.count(*VERY_EASY, is_white) > 150 and s.count(*NEW_GAME, is_white) > 150


def backdrop_shown(s):
    """The picture covers the clear colour (mid grey) and the black fill."""
    grey = black = 0
    for x, y in ((700, 600), (900, 300), (600, 100), (20, 700)):
        p = s.pixel(x, y)
        grey += all(abs(c - 128) <= 2 for c in p)
        black += max(p) < 8
    return grey == 0 and black == 0
