#!/usr/bin/python3
"""browser.py SITE_DIR VESK SOURCE_DIR [chromium|firefox|webkit...] on with-xvfb.sh's display: the web build in
each engine, each step of xsession.py's game against the desktop VESK's (run in SOURCE_DIR); then a wider window,
phones by touch, the page installed and offline, the refusals and a broken picture."""
import base64, contextlib, functools, http.server, io, json, os, pathlib, shutil, subprocess, sys, tempfile  # noqa: E401
import threading, time  # noqa: E401

from PIL import Image, ImageChops, ImageDraw
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import xsession  # noqa: E402
from xsession import Failure, Screen, centre, check  # noqa: E402

# Per 16 by 16 tile: a pixel differs when a channel differs by more than LEVEL, and a tile fails when more than
# SHARE of its pixels differ (text drawn black, a token or a ring missing) or a channel's mean difference passes MEAN:
# a missing disc (about 58,72,79 on a backdrop of 90,112,124) stays under LEVEL but averages about 40. The renderers
# differ in one-pixel seams at glyphs, tokens and rings: at worst 1 % of a tile and a mean of 7.
LEVEL, SHARE, MEAN = 48, 0.25, 16
REPLY = "Silver's reply"   # Silver breaks ties at random: its cell may differ
DRAG = "five gold tokens in a gold ring on the middle cell"


def compare(desktop, other, steps, masked=()):
    """Each step's two frames, tile by tile; masked: Silver's cells, as each side chose them."""
    for step in steps:
        diff = ImageChops.difference(*[Image.frombytes("RGB", (1024, 768), g.frames[step].data) for g in (desktop, other)])
        for x, y in (centre(*cell) for cell in masked):
            ImageDraw.Draw(diff).ellipse((x - 75, y - 75, x + 75, y + 75), fill=0)
        over = functools.reduce(ImageChops.lighter, [c.point(lambda v: 255 if v > LEVEL else 0) for c in diff.split()])
        share = max(over.resize((64, 48), Image.BOX).getdata()) / 255
        mean = max(max(t) for t in diff.resize((64, 48), Image.BOX).getdata())
        check(share <= SHARE and mean <= MEAN, "the frames match at '%s' (worst tile %.0f %% differing, worst mean %d; "
              "limits %.0f %%, %d)" % (step, share * 100, mean, SHARE * 100, MEAN))


class Page(xsession.Game):
    """A page played as xsession plays the desktop game (xdotool's words; its canvas is the screen): Chromium through
    ChromeDriver (mobile: a phone's screen, touched); the engines below replace what selenium does not reach."""
    engine = "chromium"

    def __init__(self, url=None, size=(1024, 768), flags=(), mobile=False, desktop=None):
        self.frames, self.console, self.size, self.mobile, self.desktop = {}, [], size, mobile, desktop
        self.blank, self.x, self.y, self.touching = Screen(bytes(1024 * 768 * 3)), 0, 0, False
        self.canvas = None   # where the game's 1024 by 768 lie on the page, once shown
        self.start(flags)
        if url: self.driver.get(url)

    def start(self, flags):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                     "--autoplay-policy=document-user-activation-required", "--no-first-run", "--disable-quic", "--disable-sync",
                     "--disable-background-networking", "--disable-component-update") + tuple(flags):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.cdp("Emulation.setDeviceMetricsOverride", width=self.size[0], height=self.size[1],
                 deviceScaleFactor=3 if self.mobile else 1, mobile=self.mobile)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=self.mobile)

    def __exit__(self, *error): self.driver.quit()

    def wait_for(self, what, predicate):   # the faults injected into the held drag, whose frame is known
        screen = super().wait_for(what, predicate)
        if what == DRAG and self.desktop: faults(self, self.desktop)
        return screen

    def cdp(self, command, **args): return self.driver.execute_cdp_cmd(command, args)

    def js(self, expression): return self.driver.execute_script("return " + expression)

    def message(self):   # what the page says instead of the game, or ""
        return self.js("document.getElementById('message').hidden ? '' : document.getElementById('text').textContent")

    def running(self): return self.js("!document.getElementById('canvas').hidden")

    def place(self, x, y):   # the page's point for the game's (x, y)
        if not self.canvas:
            self.canvas, self.ratio = self.js("[document.getElementById('canvas').getBoundingClientRect().toJSON(), devicePixelRatio]")
        scale = self.canvas["width"] / 1024
        return self.canvas["x"] + x * scale, self.canvas["y"] + y * scale

    def screen(self):   # the canvas, cut out of a picture of the page
        shot = Image.open(io.BytesIO(self.shot())).convert("RGB")
        return Screen(shot.crop([round(v * self.ratio) for v in self.place(0, 0) + self.place(1024, 768)]).resize((1024, 768)).tobytes())

    def shot(self): return self.driver.get_screenshot_as_png()

    def act(self, kind, button=0):   # "move" to (x, y), "down" or "up" a button (0 left, 2 right), "key" Escape
        if self.mobile:   # a finger: down touches, a move while down drags, up lifts
            if kind != "move" or self.touching:
                self.touching, point = kind != "up", dict(zip("xy", self.place(self.x, self.y)))
                self.cdp("Input.dispatchTouchEvent", type={"down": "touchStart", "move": "touchMove", "up": "touchEnd"}[kind],
                         touchPoints=[point] if kind != "up" else [])
            return
        actions = ActionBuilder(self.driver, duration=0)
        if kind == "move": actions.pointer_action.move_to_location(*map(round, self.place(self.x, self.y)))
        elif kind == "key": actions.key_action.key_down(Keys.ESCAPE).key_up(Keys.ESCAPE)
        else: getattr(actions.pointer_action, "pointer_" + kind)(button)
        actions.perform()

    def xdo(self, *words):   # xsession's words: mousemove X Y, mousedown/mouseup/click 1 or 3, key Escape
        words = list(words)
        while words:
            word, arg = words.pop(0), words.pop(0)
            if word == "mousemove":
                self.x, self.y = arg, words.pop(0)
            for kind in {"mousemove": ["move"], "key": ["key"], "mousedown": ["down"], "mouseup": ["up"], "click": ["down", "up"]}[word]:
                self.act(kind, {1: 0, 3: 2}.get(arg, 0))

    def errors(self, tolerated=()):   # page-hook.js's, and Chromium's console
        self.console += self.js("window.vesk ? vesk.errors.splice(0) : []") + [
            e["message"] for e in (self.driver.get_log("browser") if self.engine == "chromium" else []) if e["level"] == "SEVERE"]
        return [m for m in self.console if not any(t in m for t in tolerated)]

    def exit(self, tolerated=()):
        """0 for the ended page, 1 for a failed start; and the console's errors."""
        any(self.message() or time.sleep(0.1) for _ in range(10 * xsession.TIMEOUT))
        said = self.message()
        status = 0 if said.startswith("The game has ended") else 1 if said.startswith("vesk: ") else None
        return status, self.errors(tolerated) + ([] if status is not None else ["the page says %r" % said])


class Firefox(Page):
    """Firefox ESR through puppeteer-core: firefox.mjs, a line of JSON a call."""
    engine = "firefox"

    def start(self, flags):
        self.bridge = subprocess.Popen(["node", HERE + "/firefox.mjs", *map(str, self.size)], cwd=HERE, text=True,
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.driver = self   # of selenium's calls, the page needs get
        self.call()   # the bridge's first answer: Firefox is up

    def call(self, *call):
        self.bridge.stdin.write(json.dumps(call) + "\n" if call else ""), self.bridge.stdin.flush()
        reply = json.loads(self.bridge.stdout.readline() or '{"error": "firefox.mjs ended"}')
        if "error" in reply: raise Failure("Firefox: " + reply["error"])
        return reply["value"]

    def __exit__(self, *error): self.bridge.stdin.close(), self.bridge.wait(60)

    def get(self, url): self.call("page.goto", url)

    def js(self, expression): return self.call("page.evaluate", expression)

    def shot(self): return base64.b64decode(self.call("page.screenshot", {"encoding": "base64"}))

    def act(self, kind, button=0):
        where = self.place(self.x, self.y) if kind == "move" else [{"button": ["left", "", "right"][button]}]
        self.call(*(["page.keyboard.press", "Escape"] if kind == "key" else ["page.mouse." + kind, *where]))


class WebKit(Page):
    """WebKitGTK's MiniBrowser through its WebDriver, a window on the X display."""
    engine = "webkit"

    def start(self, flags):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        self.driver.set_window_rect(0, 0, *self.size)   # then grown by its toolbar, for a page of self.size
        self.driver.set_window_rect(0, 0, self.size[0], 2 * self.size[1] - self.js("innerHeight"))


@contextlib.contextmanager
def serving(folder):
    """The site's folder on a free loopback port, for as long as the with block: its URL."""
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *args: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield "http://127.0.0.1:%d/" % server.server_address[1]
    finally:
        server.shutdown(), server.server_close()


@contextlib.contextmanager
def hooked(site_dir, hook=None):
    """A copy of the site whose page runs hook (page-hook.js) ahead of its own scripts: its folder."""
    with tempfile.TemporaryDirectory() as run:
        page, hook = pathlib.Path(shutil.copytree(site_dir, run + "/site"), "index.html"), hook or pathlib.Path(HERE, "page-hook.js").read_text()
        page.write_text(page.read_text().replace("<head>", "<head><script>%s</script>" % hook, 1))
        yield run + "/site"


def faults(page, desktop):
    """Each fault page-hook.js injects into the drag fails the comparison; none passes again."""
    for fault in ("discs", "rings", "text", "token", ""):
        page.js("vesk.inject('%s')" % fault)
        try:
            compare(desktop, type("Faulty", (), {"frames": {DRAG: page.screen()}}), [DRAG])
            check(not fault, "%s: the comparison passes the frame drawn again without fault" % page.engine)
        except Failure as e:
            check(fault, "%s: with '%s' injected the comparison refuses the frame (%s)" % (page.engine, fault, e))


def play(url, desktop, engine):
    """A whole game as xsession plays the desktop's, the faults injected at the drag, sound after the first click."""
    with engine(url, desktop=desktop) as page:
        page.wait_for("the menu", lambda s: s.menu())
        page.xdo("mousemove", 200, 410)   # on the loaded page: a move to where the pointer is may be no event
        page.wait_for("'Hard' red under the pointer", lambda s: s.count(xsession.HARD, xsession.RED, 55) > 150)
        check(page.js("document.title") == "Vesk", "%s: the caption is the page's title (%s)" % (page.engine, page.js("navigator.userAgent")))
        check(page.js("SDL.audioContext.state") == "suspended" and page.js("SDL.channels.filter(c => c.audio).length") == 0,
              "before the first click the sound is off, and the hover's sound was dropped, not queued")
        xsession.play(page)   # ends with Escape on the menu: the ended page, no error
        check(page.js("document.querySelector('#message button').textContent") == "Play again",
              "the ended page offers to play again")
        if page.engine != "firefox":   # which finds no audio device here (no sound server, no card)
            check(page.js("SDL.audioContext.state") == "running", "the first click started the sound")
        mine, theirs = page.frames[REPLY].rings(xsession.SILVER), desktop.frames[REPLY].rings(xsession.SILVER)
        compare(desktop, page, [s for s in desktop.frames if s in page.frames], masked=mine + theirs)


def sized(site, size, mobile=False, offline=False):
    """The picture as large as fits, centred, played with the server gone: by mouse (a right click cancels a drag) or
    touch; the page neither scrolls nor zooms. offline: installable, then reloaded (its worker serves it)."""
    with Page(size=size, mobile=mobile) as page:
        with serving(site) as url:
            page.driver.get(url)
            page.wait_for("the menu", lambda s: s.menu())
            if offline:
                check(page.cdp("Page.getInstallabilityErrors")["installabilityErrors"] == [] and
                      page.cdp("Page.getAppManifest")["errors"] == [], "Chromium finds the page installable")
                keys = page.js("navigator.serviceWorker.ready.then(() => caches.keys())")
                check(len(keys) == 1 and keys[0].startswith("vesk-"), "the worker keeps the build in one cache (%s)" % keys)
        if offline:
            page.driver.refresh()
            page.wait_for("the menu, offline", lambda s: s.menu())
        fit = min(size[0] / 1024, size[1] / 768)
        box = ((size[0] - 1024 * fit) / 2, (size[1] - 768 * fit) / 2, 1024 * fit, 768 * fit)
        check(all(abs(page.canvas[k] - v) < 0.5 for k, v in zip(("x", "y", "width", "height"), box)),
              "on %s the picture fills %s, centred" % (size, box[2:]))
        mx, my = centre(2, 2)
        page.xdo("mousemove", 200, 410, "click", 1, "mousemove", mx, my, "mousedown", 1, "mousemove", mx + 80, my,
                 "mousemove", mx + 160, my)
        page.wait_for(DRAG, lambda s: s.rings(xsession.GOLD) == [(2, 2)])
        if mobile:
            page.xdo("mouseup", 1), page.wait_for(REPLY, lambda s: len(s.rings(xsession.SILVER)) == 1 and not s.rings(xsession.GOLD))
        else:
            page.xdo("click", 3), page.wait_for("the drag cancelled by a right click", lambda s: not s.rings(xsession.GOLD))
            page.xdo("mouseup", 1), time.sleep(1)   # a placement would have Silver answer by now
            check(not page.screen().rings(xsession.SILVER), "the release after the cancel places nothing")
        check(page.js("[scrollX, scrollY, visualViewport.scale]") == [0, 0, 1] and not page.errors(),
              "the page neither scrolled nor zoomed; no error on the console (%s)" % page.errors())


def broken_picture(site, vesk, source):
    """Gold's token picture broken in both builds' data: both show the same (the pictures after it move up a number, so
    Gold's tokens are drawn with the background). In WebKit, which draws those 38 full-screen quads fastest."""
    broken = bytes(b ^ 0x5A for b in pathlib.Path(source, "Data/gold.png").read_bytes())   # same length: the index holds
    with tempfile.TemporaryDirectory() as run:
        shutil.copytree(source + "/Data", run + "/Data"), shutil.copy(source + "/Vesk.bmp", run)
        pathlib.Path(run, "Data/gold.png").write_bytes(broken)
        with xsession.Game([vesk], run) as desktop: xsession.play_blind(desktop)
    script = pathlib.Path(site, "vesk.js").read_text()   # where the picture lies in vesk.data
    files = json.JSONDecoder().raw_decode(script, script.index('loadPackage({"files"') + len("loadPackage("))[0]["files"]
    with open(site + "/vesk.data", "r+b") as f:
        f.seek(next(e for e in files if e["filename"] == "/Data/gold.png")["start"]), f.write(broken)
    with serving(site) as url, WebKit(url) as page:
        xsession.play_blind(page)   # the placement's frame left out: it may show Silver's reply on one side only
        compare(desktop, page, [s for s in desktop.frames if not s.startswith("a token placed")])


def refusals(site):
    """What the page says when it cannot run the game."""
    with serving(site) as url, Page(url, flags=["--disable-webgl"]) as page:
        status, errors = page.exit()
        said = page.message()
        check(status == 1 and said == "vesk: cannot open a window of 1024 by 768 at 32 bits per pixel with OpenGL: "
              "this browser offers no WebGL" and said in " ".join(errors),
              "without WebGL the page and the console give the start's one line (%r)" % said)
    os.remove(site + "/vesk.data")
    with serving(site) as url, Page(url) as page:
        page.exit()
        check("could not" in page.message(), "a failed download says so (%r)" % page.message())
    with Page("file://%s/index.html" % site) as page:
        check("served" in page.message() and "scripts/web" in page.message(),
              "opened from a file, the page says to serve it (%r)" % page.message())


def main(site_dir, vesk, source, *engines):
    vesk, source, engines = os.path.abspath(vesk), os.path.abspath(source), engines or ("chromium", "firefox", "webkit")
    with xsession.Game([vesk], source) as desktop: xsession.play(desktop)
    with hooked(site_dir) as site:
        with serving(site) as url:
            for engine in (e for e in (Page, Firefox, WebKit) if e.engine in engines):
                play(url, desktop, engine)
        if "chromium" in engines:
            for size, mobile, offline in (((1600, 1000), False, False), ((390, 844), True, False), ((844, 390), True, True)):
                sized(site, size, mobile, offline)
        if "webkit" in engines:
            broken_picture(site, vesk, source)
        if "chromium" in engines:
            refusals(site)   # last: it takes the data away


if __name__ == "__main__":
    try:
        main(*sys.argv[1:])
    except (Failure, OSError) as e:
        print("FAILED:", e, flush=True)
        sys.exit(1)
