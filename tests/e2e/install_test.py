#!/usr/bin/env python3
"""Installs the build into a fresh prefix and starts the game through its
launcher from an unrelated folder, as a player would.

Usage, under its own X server:
    tests/hardening/with-xvfb.sh install_test.py build
"""
import os
import shutil
import subprocess
import sys
import tempfile

from xsession import VERY_EASY, Failure, Game, backdrop_shown, check, is_red, log, menu_shown


def main():
    build = os.path.abspath(sys.argv[1])
    prefix = tempfile.mkdtemp(prefix="vesk-install-")
    elsewhere = tempfile.mkdtemp(prefix="vesk-elsewhere-")
    game = None
    try:
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        data_dir = os.path.join(prefix, "share", "vesk")
        launcher = os.path.join(prefix, "bin", "vesk")
        program = os.path.join(prefix, "libexec", "vesk", "vesk")
        check(os.access(launcher, os.X_OK) and os.access(program, os.X_OK),
              "launcher and program are executable")
        # Every file the lists name (Windows separators), the icon and the font.
        wanted = ["Vesk.bmp", "Data/36DAYSAG.TTF", "Data/36DAYSAG.LICENSE"]
        for name in ("Data/sprites.dat", "Data/sounds.dat"):
            with open(os.path.join(data_dir, name), encoding="ascii") as f:
                wanted += [line.strip().replace("\\", "/") for line in f if line.strip()]
        missing = [rel for rel in wanted if not os.path.isfile(os.path.join(data_dir, rel))]
        check(len(wanted) == 10 and not missing, "the data are installed (missing: %s)" % missing)
        icon = os.path.join(prefix, "share", "icons", "hicolor", "64x64", "apps", "vesk.png")
        with open(icon, "rb") as f:
            check(f.read(8) == b"\x89PNG\r\n\x1a\n", "the menu icon is a PNG")
        with open(os.path.join(prefix, "share", "applications", "vesk.desktop")) as f:
            keys = dict(l.split("=", 1) for l in f.read().splitlines() if "=" in l)
        check(keys.get("Icon") == "vesk" and os.path.realpath(keys.get("Exec", "").strip('"'))
              == os.path.realpath(launcher), "the desktop entry starts the launcher")

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
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(elsewhere, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
