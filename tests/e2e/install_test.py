#!/usr/bin/env python3
"""Installs the built game into a fresh prefix and starts it as a player
would, through the launcher, from an unrelated folder.

Usage: install_test.py BUILD_FOLDER
Run it under its own X server:
    xvfb-run -a -s "-screen 0 1024x768x24" install_test.py build
"""
import os
import shutil
import subprocess
import sys
import tempfile

from xsession import (VERY_EASY, Failure, Game, backdrop_shown, check, is_red, log,
                      menu_shown)

DATA_LISTS = ("Data/sprites.dat", "Data/sounds.dat")


def listed_files(data_dir, list_name):
    """The files a list names, mapped from the game's Windows separators."""
    with open(os.path.join(data_dir, list_name), encoding="ascii") as f:
        return [line.rstrip("\n").replace("\\", "/") for line in f if line.strip()]


def desktop_exec(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    check(lines[0] == "[Desktop Entry]", "the desktop entry starts with its group header")
    keys = dict(line.split("=", 1) for line in lines[1:] if "=" in line)
    check(keys.get("Type") == "Application" and keys.get("Name") == "Vesk",
          "the desktop entry is an application named Vesk")
    check(keys.get("Icon") == "vesk", "the desktop entry names the icon 'vesk'")
    return keys.get("Exec", "").strip('"')


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

        for path in (launcher, program):
            check(os.access(path, os.X_OK), path + " is executable")
        for rel in ("Vesk.bmp", "Data/36DAYSAG.TTF", "Data/36DAYSAG.LICENSE") + DATA_LISTS:
            check(os.path.isfile(os.path.join(data_dir, rel)), rel + " is installed")
        for name in DATA_LISTS:
            for rel in listed_files(data_dir, name):
                check(os.path.isfile(os.path.join(data_dir, rel)),
                      "%s, named in %s, is installed" % (rel, name))
        icon = os.path.join(prefix, "share", "icons", "hicolor", "64x64", "apps", "vesk.png")
        with open(icon, "rb") as f:
            check(f.read(8) == b"\x89PNG\r\n\x1a\n", "the menu icon is a PNG")
        entry = os.path.join(prefix, "share", "applications", "vesk.desktop")
        check(os.path.realpath(desktop_exec(entry)) == os.path.realpath(launcher),
              "the desktop entry starts the installed launcher")

        # Start from an unrelated folder with arguments for the game; the
        # launcher must hand both over to the program it replaces.
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

        # The installed data are found: backdrop, font (menu texts) and a hover.
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
