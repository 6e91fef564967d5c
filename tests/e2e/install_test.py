#!/usr/bin/env python3
"""Installs the game as a player would and starts it through its launcher
from an unrelated folder: with `cmake --install` into a fresh prefix, or
from the Debian package unpacked (not installed) into a fresh folder, which
shows the installed tree runs wherever it lies.

Usage, under its own X server:
    tests/hardening/with-xvfb.sh install_test.py build
    tests/hardening/with-xvfb.sh install_test.py --deb vesk_1.0_amd64.deb
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from xsession import VERY_EASY, Failure, Game, backdrop_shown, check, is_red, log, menu_shown


def main():
    root = tempfile.mkdtemp(prefix="vesk-install-")
    elsewhere = tempfile.mkdtemp(prefix="vesk-elsewhere-")
    game = None
    try:
        if sys.argv[1] == "--deb":
            subprocess.run(["dpkg-deb", "-x", sys.argv[2], root], check=True)
            # The desktop entry names the place the package installs to.
            prefix, installed, layout = os.path.join(root, "usr"), "/usr", \
                ("games", "lib/games/vesk", "share/games/vesk")
        else:
            subprocess.run(["cmake", "--install", os.path.abspath(sys.argv[1]), "--prefix", root],
                           check=True, stdout=subprocess.DEVNULL)
            prefix, installed, layout = root, root, ("bin", "libexec/vesk", "share/vesk")
        bin_dir, exe_dir, data_dir = (os.path.join(prefix, d) for d in layout)
        launcher, lab = os.path.join(bin_dir, "vesk"), os.path.join(bin_dir, "vesk-lab")
        program = os.path.join(exe_dir, "vesk")
        check(all(os.access(p, os.X_OK) for p in (launcher, program, lab)),
              "launcher, program and vesk-lab are executable")
        move = subprocess.run([lab, "move", "--pos", "---/----/-----/----/--- g 0", "--depth", "1",
                               "--noise", "0"], capture_output=True, text=True, cwd=elsewhere)
        check(move.returncode == 0 and move.stdout.startswith("move "), "vesk-lab answers a move")
        # Every file the lists name (Windows separators), the icon and the font.
        wanted = ["Vesk.bmp", "Data/36DAYSAG.TTF", "Data/36DAYSAG.LICENSE"]
        for name in ("Data/sprites.dat", "Data/sounds.dat"):
            with open(os.path.join(data_dir, name), encoding="ascii") as f:
                wanted += [line.strip().replace("\\", "/") for line in f if line.strip()]
        missing = [rel for rel in wanted if not os.path.isfile(os.path.join(data_dir, rel))]
        check(len(wanted) == 10 and not missing, "the data are installed (missing: %s)" % missing)
        for n in (16, 24, 32, 48, 64, 128, 256):
            with open(os.path.join(prefix, "share/icons/hicolor/%dx%d/apps/vesk.png" % (n, n)),
                      "rb") as f:
                head = f.read(24)
            check(head[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", head[16:]) == (n, n),
                  "the %d-pixel menu icon is a PNG of that size" % n)
        with open(os.path.join(prefix, "share", "applications", "vesk.desktop")) as f:
            keys = dict(l.split("=", 1) for l in f.read().splitlines() if "=" in l)
        check(keys.get("Icon") == "vesk" and os.path.realpath(keys.get("Exec", "").strip('"'))
              == os.path.realpath(os.path.join(installed, layout[0], "vesk")),
              "the desktop entry starts the launcher")

        # The launcher hands its arguments to the program it replaces.
        game = Game([launcher, "-fullscreen", "two words"], cwd=elsewhere)
        game.wait_window()
        pid = game.proc.pid
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            argv = f.read().split(b"\0")[:-1]
        check(os.path.realpath(argv[0].decode()) == os.path.realpath(program)
              and argv[1:] == [b"-fullscreen", b"two words"],
              "the program runs in the launcher's place with its arguments")
        check(os.path.realpath(os.readlink("/proc/%d/cwd" % pid)) == os.path.realpath(data_dir),
              "the program runs in its data folder")

        # The installed data are found: backdrop, font and a hover.
        game.move(600, 600)
        game.wait_for("the menu on its backdrop", lambda s: menu_shown(s) and backdrop_shown(s))
        game.move(210, 300)
        game.wait_for("'Very Easy' in red", lambda s: s.count(*VERY_EASY, is_red) > 150)
        game.key("Escape")
        status = game.wait_exit()
        check(status == 0, "Escape quits with status 0 (got %s)" % status)
        return 0
    except (Failure, subprocess.CalledProcessError, OSError) as e:
        log("FAILED:", e)
        return 1
    finally:
        if game:
            game.kill()
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(elsewhere, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
