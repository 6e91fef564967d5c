#!/usr/bin/env python3
"""The one driver of the real game from outside, as a player would, on with-xvfb.sh's bare Xvfb (the window at 0,0):
input through xdotool, the screen read back with import (y down). Its uses:
  play VESK DATA_DIR [WRAPPER...]   a start without the icon fails; a game at Hard as a player sees it, quit silently
      with status 0; WRAPPER runs both (the leak session).
  deb PACKAGE   unpacked with the font it links to, played through the launcher from elsewhere.
  bad-data VESK SOURCE_DIR [CASE...]   each file missing ("each"), then all but the icon ("all") and all ("all+icon")
      missing, empty, halved, random: still a placement, Silver's answer, a silent quit; a bad icon fails the start.
"""
import math, os, random, shutil, subprocess, sys, tempfile, time, zlib  # noqa: E401

GOLD, SILVER, WHITE, RED = (216, 178, 120), (178, 178, 178), (255, 255, 255), (255, 0, 0)
ROW_XS = ((342, 512, 682), (257, 427, 597, 767), (172, 342, 512, 682, 852), (257, 427, 597, 767), (342, 512, 682))
CELLS = [(r, c) for r in range(5) for c in range(len(ROW_XS[r]))]
HARD, NEW_GAME, RESULT, PASS_LABEL = (131, 395, 289, 428), (90, 230, 240, 268), (440, 288, 640, 326), (94, 538, 170, 568)
PASS = (130, 638)   # Gold's stock and the pass ring
TIMEOUT = 180   # seconds for any one thing to show, under valgrind too


class Failure(Exception): pass


def check(condition, message):
    if not condition: raise Failure(message)
    print("ok:", message, flush=True)


def centre(row, col): return ROW_XS[row][col], 384 - (row - 2) * 85 * math.sqrt(3)


like = lambda p, colour, tolerance: all(abs(a - b) <= tolerance for a, b in zip(p, colour))
warm = lambda p: p[0] - p[2] > 45   # a gold token
neutral = lambda p: abs(p[0] - p[2]) < 30 and min(p) > 110   # a silver token


class Screen:
    def __init__(self, data=None):   # 1024*768 RGB bytes, row 0 at the top; the X screen by default
        self.data = data or subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                                           check=True, stdout=subprocess.PIPE).stdout

    def pixel(self, x, y):
        i = (int(round(y)) * 1024 + int(round(x))) * 3
        return tuple(self.data[i:i + 3])

    def count(self, rect, colour, tolerance=20):   # pixels about colour in an inclusive rectangle
        return sum(like(self.pixel(x, y), colour, tolerance)
                   for y in range(rect[1], rect[3] + 1) for x in range(rect[0], rect[2] + 1))

    def ring(self, x, y, radius, colour, tolerance):   # how many of 36 points on a circle are about colour
        return sum(like(self.pixel(x + radius * math.cos(k * math.pi / 18), y + radius * math.sin(k * math.pi / 18)),
                        colour, tolerance) for k in range(36))

    def rings(self, colour):   # the cells in a highlight ring of colour
        return [c for c in CELLS if self.ring(*centre(*c), 68.5, colour, 16) >= 20]

    def menu(self): return self.count(NEW_GAME, WHITE) > 150

    def backdrop(self):   # the picture covers both the clear colour (mid grey) and black
        return not any(like(p, (128, 128, 128), 2) or max(p) < 8
                       for p in map(self.pixel, (700, 900, 600, 20), (600, 300, 100, 700)))


class Game:
    """The game process and its stderr, kept in a file; killed on leaving a with block."""

    def __init__(self, argv, cwd):
        self.blank, self.err = Screen(), tempfile.TemporaryFile()
        self.proc = subprocess.Popen(argv, cwd=cwd, stderr=self.err, stdout=subprocess.DEVNULL)
        self.frames = {}   # what was waited for: the screen that showed it

    def running(self): return self.proc.poll() is None

    def screen(self): return Screen()

    def __enter__(self): return self

    def __exit__(self, *error): self.proc.kill()

    def xdo(self, *args):
        subprocess.run(["xdotool"] + [str(round(a)) if isinstance(a, float) else str(a) for a in args], check=True)

    def wait_for(self, what, predicate):
        end = time.monotonic() + TIMEOUT
        while self.running():
            s = self.screen()
            if predicate(s):
                print("seen:", what, flush=True)
                self.frames[what] = s
                return s
            if time.monotonic() > end: raise Failure("timed out waiting for " + what)
            time.sleep(0.2)
        status, err = self.exit()
        raise Failure("the game ended (status %s) waiting for %s: %r" % (status, what, err))

    def wait_change(self, what, old):
        last = [old]   # the screen must differ from old, then hold still

        def settled(s):
            done, last[0] = s.data != old.data and s.data == last[0].data, s
            return done
        return self.wait_for(what, settled)

    def exit(self, tolerated=()):
        status = self.proc.wait(TIMEOUT)   # TimeoutExpired: the game did not end
        self.err.seek(0)   # the lines on stderr, but those tolerated
        return status, [l for l in self.err.read().decode(errors="replace").splitlines() if not l.startswith(tolerated)]


def expect_start_failure(argv, cwd):
    with Game(argv, cwd) as game:
        status, err = game.exit()
    check(status == 1 and len(err) == 1 and err[0].startswith("vesk: "),
          "a failed start: status 1 and one line 'vesk: ...' (%s: %r)" % (status, err))


def escape_to_quit(game, tolerated=()):
    game.xdo("key", "Escape")
    status, err = game.exit(tolerated)
    check(status == 0 and not err, "Escape on the menu quits with status 0 and nothing on stderr (%s: %r)" % (status, err))


def play(game):
    """Hard, a drag of 5 on the middle cell, Silver's reply, the pass ring, a pass and the result, Escape twice."""
    game.xdo("mousemove", 200, 410)
    game.wait_for("the menu on its backdrop, 'Hard' red under the pointer",
                  lambda s: s.menu() and s.backdrop() and s.count(HARD, RED, 55) > 150)
    mx, my = centre(2, 2)
    five = [(mx + 25 * math.cos(i * 1.2566), my - 25 * math.sin(i * 1.2566)) for i in range(5)]
    game.xdo("click", 1, "mousemove", mx, my, "mousedown", 1, "mousemove", mx + 80, my, "mousemove", mx + 160, my)
    s = game.wait_for("five gold tokens in a gold ring on the middle cell",
                      lambda s: s.rings(GOLD) == [(2, 2)] and all(warm(s.pixel(*p)) for p in five))
    check(not warm(s.pixel(mx, my)), "the five lie on a ring, not on the centre")
    game.xdo("mouseup", 1)
    released = time.monotonic()
    s = game.wait_for("Silver's reply", lambda s: len(s.rings(SILVER)) == 1 and not s.rings(GOLD))
    check(time.monotonic() - released > 0.45, "Silver replies after its half-second pause")
    reply = s.rings(SILVER)[0]   # a neighbour of the middle: ties are drawn at random
    check(reply != (2, 2) and all(warm(s.pixel(*p)) for p in five) and neutral(s.pixel(*centre(*reply))),
          "Gold's five stay, Silver's token is placed on %s" % (reply,))
    check(s.ring(*PASS, 61.5, GOLD, 10) < 18 and s.count(PASS_LABEL, GOLD) < 10, "the pass ring dim away from the pointer")
    game.xdo("mousemove", *PASS)
    s = game.wait_for("the pass ring in full gold with 'Pass'",
                      lambda s: s.ring(*PASS, 61.5, GOLD, 10) >= 32 and s.count(PASS_LABEL, GOLD) > 40)
    before = s.count(RESULT, WHITE)
    game.xdo("click", 1)   # Silver passes too: the game is over
    s = game.wait_for("the result", lambda s: s.count(RESULT, WHITE) > before + 150)
    check(s.ring(*PASS, 61.5, GOLD, 10) < 18, "the pass ring is dim once the game is over")
    game.xdo("key", "Escape")
    game.wait_for("the menu after Escape", lambda s: s.menu() and not s.rings(SILVER))
    escape_to_quit(game)


def play_blind(game):
    """The same start on damaged data (pictures and texts may be anything or nothing): each step changes the screen."""
    menu = game.wait_change("a first frame", game.blank)
    game.xdo("mousemove", 200, 410, "click", 1)
    board = game.wait_change("the game screen after a click on 'Hard'", menu)
    game.xdo("mousemove", *centre(2, 2), "click", 1)
    game.wait_change("a token placed on the middle cell", board)
    time.sleep(1)   # Silver's pause and reply
    board = game.screen()
    game.xdo("key", "Escape")
    game.wait_change("the menu after Escape", board)
    escape_to_quit(game, "libpng ")   # damaged pictures make the library complain


def install(deb, root, elsewhere):   # the desktop entry names the place the package installs to
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    program, data = root + "/usr/lib/games/vesk/vesk", root + "/usr/share/games/vesk"
    font = os.path.normpath(os.path.join(data, "Data", os.readlink(data + "/Data/36DAYSAG.TTF")))
    os.makedirs(os.path.dirname(font)); shutil.copy(font[len(root):], font)   # its font package, as if unpacked there
    with open(root + "/usr/share/applications/vesk.desktop") as f: keys = dict(l.split("=", 1) for l in f.read().splitlines() if "=" in l)
    check(keys.get("Icon") == "vesk" and keys.get("Exec", "").strip('"') == "/usr/games/vesk",
          "the desktop entry starts the launcher")
    with Game([root + "/usr/games/vesk", "-fullscreen", "two words"], elsewhere) as game:
        game.wait_change("a first frame", game.blank)
        with open("/proc/%d/cmdline" % game.proc.pid, "rb") as f: argv = f.read().split(b"\0")[:-1]
        check(os.path.realpath(argv[0]) == os.path.realpath(program).encode() and argv[1:] == [b"-fullscreen", b"two words"]
              and os.path.realpath("/proc/%d/cwd" % game.proc.pid) == os.path.realpath(data),
              "the launcher runs the program in its place, with its arguments, in its data folder")
        play(game)   # the installed pictures and font are found


def bad_data(vesk, src, cases):
    files = ["Vesk.bmp", "Data/sprites.dat", "Data/sounds.dat", "Data/36DAYSAG.TTF"]
    for name in files[1:3]:
        with open(os.path.join(src, name), encoding="latin-1") as f: files += [line.strip().replace("\\", "/") for line in f if line.strip()]
    files, failed = list(dict.fromkeys(files)), []
    # One file at a time only missing: the game refuses a damaged file as it does an absent one. All at once, damaged
    # every way: "all" keeps the lists and the icon whole, so every file they name is read; "all+icon" damages all too.
    runs = [([f], "missing") for f in files] if "each" in (cases or ["each"]) else []
    for case in [c for c in cases or ["all", "all+icon"] if c != "each"]:
        targets = files[3:] if case == "all" else files if case == "all+icon" else [case]
        runs += [(targets, mode) for mode in ("missing", "empty", "truncated", "random")]
    for targets, mode in runs:
        with tempfile.TemporaryDirectory() as run:
            shutil.copytree(src + "/Data", run + "/Data"), shutil.copy(src + "/Vesk.bmp", run)
            for name in targets:
                size = os.path.getsize(os.path.join(run, name))
                with open(os.path.join(run, name), "r+b") as f:
                    f.truncate(size // 2 if mode == "truncated" else 0)
                    f.write(random.Random(zlib.crc32(name.encode())).randbytes(max(size, 64)) if mode == "random" else b"")
                if mode == "missing": os.remove(os.path.join(run, name))
            try:
                if "Vesk.bmp" in targets: expect_start_failure([vesk], run)
                else:
                    with Game([vesk], run) as game: play_blind(game)
            except (Failure, subprocess.SubprocessError) as e:
                failed.append("%s %s: %s" % (targets if len(targets) == 1 else "%d files" % len(targets), mode, e))
    check(not failed, "bad data: every case runs as it should %s" % failed)


def main(command, *args):
    with tempfile.TemporaryDirectory() as empty, tempfile.TemporaryDirectory() as elsewhere:
        if command == "play":
            expect_start_failure(list(args[2:]) + [os.path.abspath(args[0])], empty)   # no icon there
            with Game(list(args[2:]) + [os.path.abspath(args[0])], args[1]) as game: play(game)
        elif command == "bad-data":
            bad_data(os.path.abspath(args[0]), os.path.abspath(args[1]), args[2:])
        else:
            install(args[0], empty, elsewhere)


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except (Failure, subprocess.SubprocessError, OSError) as e:
        print("FAILED:", e, flush=True)
        sys.exit(1)
