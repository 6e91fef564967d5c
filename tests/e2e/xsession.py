"""Drives the real game on the current DISPLAY as a player would: input
through xdotool, the screen read back with import. Screen y runs down from
the top; the game's drawing y runs up, so drawing y becomes 768 - y."""
import math
import os
import subprocess
import sys
import time

WIDTH, HEIGHT = 1024, 768
GOLD = (216, 178, 120)
SILVER = (178, 178, 178)

# Cell centres of the 5-row board on screen, by (row, col).
ROW_SPACING = 0.5 * 170 * math.tan(1.0471976)
ROW_XS = {0: (342, 512, 682), 1: (257, 427, 597, 767), 2: (172, 342, 512, 682, 852),
          3: (257, 427, 597, 767), 4: (342, 512, 682)}
ALL_CELLS = [(r, c) for r in range(5) for c in range(len(ROW_XS[r]))]

# "Very Easy"'s hover rectangle and the "New Game" title on the menu.
VERY_EASY = (131, 284, 289, 317)
NEW_GAME = (90, 230, 240, 268)


def cell_centre(row, col):
    return ROW_XS[row][col], HEIGHT - (384 - 2 * ROW_SPACING + row * ROW_SPACING)


def log(*args):
    print(*args, file=sys.stderr, flush=True)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    log("ok:", message)


def is_white(r, g, b):
    return r > 235 and g > 235 and b > 235


def is_red(r, g, b):
    return r > 200 and g < 60 and b < 60


def is_gold_text(r, g, b):
    return all(abs(v - c) < 20 for v, c in zip((r, g, b), GOLD))


def is_warm(rgb):
    return rgb[0] - rgb[2] > 45


def is_neutral_bright(rgb):
    return abs(rgb[0] - rgb[2]) < 30 and min(rgb) > 110


class Screen:
    """One 1024 x 768 RGB capture of the root window."""

    def __init__(self, data):
        if len(data) != WIDTH * HEIGHT * 3:
            raise Failure("screen capture has %d bytes" % len(data))
        self.data = data

    def pixel(self, x, y):
        i = (int(round(y)) * WIDTH + int(round(x))) * 3
        return tuple(self.data[i:i + 3])

    def region(self, x0, y0, x1, y1):
        """The bytes of an inclusive rectangle."""
        return b"".join(self.data[(y * WIDTH + x0) * 3:(y * WIDTH + x1 + 1) * 3]
                        for y in range(y0, y1 + 1))

    def count(self, x0, y0, x1, y1, match):
        """Pixels of the inclusive rectangle for which match(r, g, b) holds."""
        d = self.region(x0, y0, x1, y1)
        return sum(1 for i in range(0, len(d), 3) if match(d[i], d[i + 1], d[i + 2]))

    def ring_matches(self, cx, cy, radius, colour, tolerance=14, samples=36):
        """How many of `samples` points on a circle are about `colour`."""
        n = 0
        for k in range(samples):
            a = 2 * math.pi * (k + 0.5) / samples
            p = self.pixel(cx + radius * math.cos(a), cy + radius * math.sin(a))
            n += all(abs(p[i] - colour[i]) <= tolerance for i in range(3))
        return n


def menu_shown(s):
    return s.count(*VERY_EASY, is_white) > 150 and s.count(*NEW_GAME, is_white) > 150


def backdrop_shown(s):
    """The picture covers both the clear colour (mid grey) and black."""
    return not any(all(abs(c - 128) <= 2 for c in p) or max(p) < 8
                   for p in (s.pixel(x, y) for x, y in ((700, 600), (900, 300), (600, 100),
                                                         (20, 700))))


class Game:
    """The game process and the X display it shows on."""

    def __init__(self, argv, cwd):
        self.proc = subprocess.Popen(argv, cwd=cwd, env=dict(os.environ, SDL_AUDIODRIVER="dummy"))

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def move(self, x, y):
        self.xdo("mousemove", int(round(x)), int(round(y)))

    def click(self, x, y):
        self.move(x, y)
        self.xdo("click", 1)

    def key(self, name):
        self.xdo("key", name)

    def wait_for(self, what, predicate, timeout=30.0):
        """Captures the screen until predicate(screen) holds; returns it."""
        end = time.monotonic() + timeout
        while True:
            if self.proc.poll() is not None:
                raise Failure("the game ended (status %s) while waiting for %s"
                              % (self.proc.returncode, what))
            s = Screen(subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                                      check=True, stdout=subprocess.PIPE).stdout)
            if predicate(s):
                log("seen:", what)
                return s
            if time.monotonic() > end:
                raise Failure("timed out waiting for " + what)
            time.sleep(0.2)

    def wait_window(self, timeout=30.0):
        end = time.monotonic() + timeout
        while subprocess.run(["xdotool", "search", "--name", "^Vesk$"],
                             stdout=subprocess.DEVNULL).returncode != 0:
            if self.proc.poll() is not None or time.monotonic() > end:
                raise Failure("no window captioned Vesk (game status %s)" % self.proc.poll())
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
