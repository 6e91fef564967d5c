#!/usr/bin/python3
"""wine.py BUILD_WINDOWS VESK SOURCE_DIR on with-xvfb.sh's display, in a scratch Wine prefix: vesk-lab.exe's bench; the zip's game
by xsession's steps, each frame against the desktop VESK's; a start without the icon; a broken picture; the installer."""
import glob, os, shutil, subprocess, sys, tempfile, time, zipfile  # noqa: E401
from browser import REPLY, compare
from xsession import SILVER, Failure, Game, check, play, play_blind

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesk"
wine = lambda *args: subprocess.run(["wine"] + list(args), capture_output=True, text=True)  # noqa: E731
files = lambda prefix: {p for p in glob.glob("**", root_dir=prefix, recursive=True) if "Temp" not in p}  # noqa: E731


def main(build, vesk, source, run):
    drive, game = run + "/prefix/drive_c", run + "/Vesk"
    os.environ.update(WINEPREFIX=run + "/prefix", WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", SDL_VIDEO_WINDOW_POS="0,0")
    wine("wineboot", "--init")
    zipfile.ZipFile(glob.glob(build + "/vesk-*-windows-x64.zip")[0]).extractall(run)
    bench = wine(game + "/vesk-lab.exe", "bench").stdout
    check("nodes 1827463\n" in bench and "signature aea37e641283d49a\n" in bench, "vesk-lab.exe bench: %s" % bench.split())
    with Game(["wine", "vesk.exe"], game) as windows: play(windows)

    [shutil.copytree(game, run + case) for case in ("/noicon", "/broken")]
    os.remove(run + "/noicon/Vesk.bmp")
    with Game(["wine", "vesk.exe"], run + "/noicon") as start:
        start.wait_for("a message box", lambda s: s.count((340, 356, 680, 430), (240, 240, 240)) > 15000)
        start.xdo("mousemove", 512, 400, "key", "Return")   # keys go to the window under the pointer
        status, said = start.exit()[0], open(run + "/noicon/stderr.txt").read()
    check(status == 1 and said.startswith('vesk: cannot open the window icon "Vesk.bmp"') and said.count("\n") == 1,
          "a failed start: a message box, status 1 and its line in stderr.txt (%r)" % said)
    os.truncate(run + "/broken/Data/gold.png", 1000)
    with Game(["wine", "vesk.exe"], run + "/broken") as broken: play_blind(broken)

    before = files(drive)
    wine(glob.glob(build + "/vesk-*-setup.exe")[0], "/S")
    entry = wine("reg", "query", UNINSTALL).stdout
    check(sorted(os.listdir(drive + "/Program Files/Vesk")) == sorted(os.listdir(game) + ["uninstall.exe"]) and all(
          k in entry for k in ("DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "EstimatedSize")),
          "the installer puts the zip's files, an uninstaller and an apps entry: %s" % entry.split())
    with Game(["wine", "start", r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Vesk.lnk"], run) as started:
        started.running = lambda: subprocess.call(["pgrep", "-f", r"Files\\Vesk\\vesk"], stdout=subprocess.DEVNULL) == 0
        any(started.running() or time.sleep(0.2) for _ in range(300))   # start returns at once
        started.wait_for("the installed game, from its shortcut", lambda s: s.menu() and s.backdrop())
        started.xdo("key", "Escape"), subprocess.run(["wineserver", "-w"])
        check(not started.running(), "it quits on Escape")
    wine(drive + "/Program Files/Vesk/uninstall.exe", "/S"), subprocess.run(["wineserver", "-w"])
    check(files(drive) == before and wine("reg", "query", UNINSTALL).returncode,
          "the uninstaller leaves nothing: %s" % sorted(files(drive) ^ before))
    with Game([vesk], source) as desktop: play(desktop)   # last: its end leaves X with no focus to follow the pointer
    compare(desktop, windows, [s for s in desktop.frames if s in windows.frames],
            masked=desktop.frames[REPLY].rings(SILVER) + windows.frames[REPLY].rings(SILVER))


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as scratch:
        try:
            main(*sys.argv[1:], scratch)
        except (Failure, OSError, subprocess.SubprocessError) as e:
            sys.exit("FAILED: %s" % e)
        finally:
            subprocess.run(["wineserver", "-k"])
