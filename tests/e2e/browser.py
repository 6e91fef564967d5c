#!/usr/bin/python3
"""The web build played in Debian's Chromium (headless, WebGL on SwiftShader),
step by step beside the desktop game under X, through the same steps as
xsession.py: each frame the browser shows is compared with the desktop's
frame for the same input. Run on the X display of tests/hardening/with-xvfb.sh:
  browser.py SITE_DIR VESK SOURCE_DIR
SITE_DIR is build-web/ (scripts/web build), VESK the desktop program and
SOURCE_DIR the folder holding its Data/.
"""
import base64
import contextlib
import functools
import http.server
import io
import os
import shutil
import sys
import tempfile
import threading
import time

from PIL import Image, ImageChops, ImageDraw
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xsession  # noqa: E402
from xsession import Failure, Screen, centre, check  # noqa: E402

# A pixel differs when a channel differs by more than LEVEL; a frame differs
# when some 16 by 16 tile has more than TILE of its pixels differing. The two
# renderers (Mesa's llvmpipe, SwiftShader under WebGL) round texture
# filtering and polygon edges differently: that touches one-pixel seams at
# the edges of glyphs, tokens and rings, a few pixels a tile. A glyph drawn
# black, a token missing or misplaced, a wrong colour or a garbled quad
# changes most of the tiles it touches.
LEVEL, TILE = 48, 0.25
REPLY = "Silver's reply"   # Silver breaks ties at random: its cell may differ


def compare(desktop, browser, steps, masked=()):
    """Each step's two frames, tile by tile; masked: Silver's cells, as each side chose them."""
    for step in steps:
        images = [Image.frombytes("RGB", (1024, 768), game.frames[step].data) for game in (desktop, browser)]
        over = functools.reduce(ImageChops.lighter, [c.point(lambda v: 255 if v > LEVEL else 0)
                                                     for c in ImageChops.difference(*images).split()])
        for x, y in (centre(*cell) for cell in masked):
            ImageDraw.Draw(over).ellipse((x - 75, y - 75, x + 75, y + 75), fill=0)
        tiles = over.resize((64, 48), Image.BOX).getdata()
        worst, count = max(tiles) / 255, sum(t > TILE * 255 for t in tiles)
        check(worst <= TILE, "the browser's frame matches the desktop's at '%s' (worst tile %.0f %% "
              "differing, %d tiles over %.0f %%)" % (step, worst * 100, count, TILE * 100))


class Page(xsession.Game):
    """One page of the site in Chromium, played through xsession's steps as
    the desktop game is: it takes xdotool's words, its canvas is the screen."""

    def __init__(self, url, flags=(), size=(1024, 768)):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                     "--autoplay-policy=document-user-activation-required", "--no-first-run", "--disable-quic", "--disable-sync",
                     "--disable-background-networking", "--disable-component-update") + tuple(flags):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.cdp("Emulation.setDeviceMetricsOverride", width=size[0], height=size[1], deviceScaleFactor=1, mobile=False)
        self.driver.get(url)
        self.frames, self.console = {}, []
        self.x = self.y = self.buttons = 0
        self.canvas = None   # where the game's 1024 by 768 lie on the page, once shown

    def __exit__(self, *error):
        self.driver.quit()

    def cdp(self, command, **args):
        return self.driver.execute_cdp_cmd(command, args)

    def js(self, expression):
        return self.driver.execute_script("return " + expression)

    def message(self):   # what the page says instead of the game, or ""
        return self.js("document.getElementById('message').hidden ? '' : document.getElementById('text').textContent")

    def running(self):
        return self.js("!document.getElementById('canvas').hidden")

    def place(self, x, y):   # the page's point for the game's (x, y)
        if not self.canvas:
            self.canvas = self.js("document.getElementById('canvas').getBoundingClientRect().toJSON()")
        scale = self.canvas["width"] / 1024
        return self.canvas["x"] + x * scale, self.canvas["y"] + y * scale

    def screen(self):
        x, y = self.place(0, 0)
        clip = {"x": x, "y": y, "width": self.canvas["width"], "height": self.canvas["height"],
                "scale": 1024 / self.canvas["width"]}
        image = Image.open(io.BytesIO(base64.b64decode(self.cdp("Page.captureScreenshot", format="png", clip=clip)["data"])))
        return Screen(image.convert("RGB").resize((1024, 768)).tobytes())

    def mouse(self, kind, button="none"):
        x, y = self.place(self.x, self.y)
        self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, buttons=self.buttons, clickCount=1)

    def xdo(self, *words):
        words = list(words)
        while words:
            word = words.pop(0)
            if word == "mousemove":
                self.x, self.y = round(words.pop(0)), round(words.pop(0))
                self.mouse("mouseMoved", "left" if self.buttons else "none")
            elif word in ("mousedown", "mouseup", "click"):
                button = {1: "left", 3: "right"}[words.pop(0)]
                bit = 1 if button == "left" else 2
                if word != "mouseup":
                    self.buttons |= bit
                    self.mouse("mousePressed", button)
                if word != "mousedown":
                    self.buttons &= ~bit
                    self.mouse("mouseReleased", button)
            elif word == "key":
                key = words.pop(0)
                for kind in ("rawKeyDown", "keyUp"):
                    self.cdp("Input.dispatchKeyEvent", type=kind, key=key, code=key, windowsVirtualKeyCode=27)
            else:
                raise ValueError(word)

    def errors(self, tolerated=()):
        self.console += [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        return [m for m in self.console if not any(t in m for t in tolerated)]

    def exit(self, tolerated=()):
        """0 for the ended page, 1 for a failed start; and the console's errors."""
        end = time.monotonic() + xsession.TIMEOUT
        while not self.message() and time.monotonic() < end:
            time.sleep(0.1)
        said = self.message()
        status = 0 if said.startswith("The game has ended") else 1 if said.startswith("vesk: ") else None
        return status, self.errors(tolerated) + ([] if status is not None else ["the page says %r" % said])


@contextlib.contextmanager
def serving(folder):
    """The site's folder on a free loopback port, for as long as the with block: its URL."""
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *args: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


def sounds_playing(page):
    return page.js("SDL.channels.filter(function (c) { return c.audio; }).length")


def play(url, desktop):
    """A whole game, as xsession plays it on the desktop, with the sounds held
    back until the first click and the ended page at the end."""
    with Page(url) as page:
        page.xdo("mousemove", 200, 410)
        page.wait_for("the menu", lambda s: s.menu())
        check(page.js("document.title") == "Vesk", "the caption is the page's title")
        check(page.js("SDL.audioContext.state") == "suspended" and sounds_playing(page) == 0,
              "before the first click the sound is off, and the hover's sound was dropped, not queued")
        xsession.play(page)   # ends with Escape on the menu: the ended page
        check(page.js("document.querySelector('#message button').textContent") == "Play again",
              "the ended page offers to play again")
        check(page.js("SDL.audioContext.state") == "running", "the first click started the sound")
        mine, theirs = page.frames[REPLY].rings(xsession.SILVER), desktop.frames[REPLY].rings(xsession.SILVER)
        compare(desktop, page, [s for s in desktop.frames if s in page.frames], masked=mine + theirs)
        return page.frames


def scaled(url):
    """In a wider window the picture is letterboxed, and the mouse and a right
    click act on the game's own coordinates."""
    with Page(url, size=(1600, 1000)) as page:
        page.wait_for("the menu", lambda s: s.menu())
        placed = (page.canvas["x"], page.canvas["y"], page.canvas["width"], page.canvas["height"])
        check(all(abs(a - b) < 0.5 for a, b in zip(placed, (400 / 3, 0, 4000 / 3, 1000))),
              "the canvas fills the height, centred, in its own proportions (%s)" % page.canvas)
        page.xdo("mousemove", 200, 410)
        page.wait_for("'Hard' red under the pointer", lambda s: s.count(xsession.HARD, xsession.RED, 55) > 150)
        mx, my = centre(2, 2)
        page.xdo("click", 1, "mousemove", mx, my, "mousedown", 1, "mousemove", mx + 160, my)
        page.wait_for("a drag on the middle cell", lambda s: s.rings(xsession.GOLD) == [(2, 2)])
        page.xdo("click", 3)
        page.wait_for("the drag cancelled by a right click", lambda s: not s.rings(xsession.GOLD))
        page.xdo("mouseup", 1)
        time.sleep(1)   # a placement would have Silver answer by now
        check(not page.screen().rings(xsession.SILVER), "the release after the cancel places nothing")
        check(not page.errors(), "no error on the console (%s)" % page.errors())


def refusals(site_dir):
    """What the page says when it cannot run the game."""
    with serving(site_dir) as url, Page(url, ["--disable-webgl"]) as page:
        status, errors = page.exit()
        said = page.message()
        check(status == 1 and said == "vesk: cannot open a window of 1024 by 768 at 32 bits per pixel with OpenGL: "
              "this browser offers no WebGL" and said in " ".join(errors),
              "without WebGL the page and the console give the start's one line (%r)" % said)
    with tempfile.TemporaryDirectory() as run:
        shutil.copytree(site_dir, run + "/site")
        os.remove(run + "/site/vesk.data")
        with serving(run + "/site") as url, Page(url) as page:
            page.exit()
            check("could not" in page.message(), "a failed download says so (%r)" % page.message())
        with Page("file://%s/site/index.html" % run) as page:
            check("served" in page.message() and "scripts/web" in page.message(),
                  "opened from a file, the page says to serve it (%r)" % page.message())


def main(site_dir, vesk, source):
    site_dir, vesk, source = (os.path.abspath(a) for a in (site_dir, vesk, source))
    with xsession.Game([vesk], source) as desktop:
        xsession.play(desktop)
    with serving(site_dir) as url:
        play(url, desktop)
        scaled(url)
    refusals(site_dir)


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except (Failure, OSError) as e:
        print("FAILED:", e, flush=True)
        sys.exit(1)
