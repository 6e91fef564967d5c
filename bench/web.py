#!/usr/bin/python3
"""The web build's start and frame times in the browser test's engines, on demand,
on an X display (tests/hardening/with-xvfb.sh; Firefox and WebKit draw through it):
  bench/web.py [SITE_DIR] [RUNS] [chromium|firefox|webkit...]
(SITE_DIR: build-web, from scripts/web build; RUNS 5; Chromium alone by default)
For each run: from the page's request to the game's first frame (the first
time the game asks for the page's next frame), then, on the game screen with
a drag shown, the main thread's time per frame (from the page's frame to the
game asking for the next: events, Update and Draw) and the time between
frames. Prints each run and the medians."""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import browser  # noqa: E402
import xsession  # noqa: E402

# Times the game's frames from inside the page: the game waits for each frame
# with requestAnimationFrame, so its callbacks and requests mark the work.
PROBE = """
window.vesk = { first: null, work: [], gaps: [], start: null, last: null };
const raf = window.requestAnimationFrame.bind(window);
window.requestAnimationFrame = function (callback) {
  const now = performance.now(), v = window.vesk;
  if (v.first === null) v.first = now;
  if (v.start !== null) v.work.push(now - v.start);
  return raf(function (t) {
    const at = performance.now();
    if (v.last !== null) v.gaps.push(at - v.last);
    v.start = v.last = at;
    callback(t);
  });
};
"""


def run(url, engine):
    with engine(url) as page:
        page.wait_for("the menu", lambda s: s.menu())
        first = page.js("window.vesk.first")
        mx, my = xsession.centre(2, 2)
        page.xdo("mousemove", 200, 410, "click", 1, "mousemove", mx, my, "mousedown", 1, "mousemove", mx + 160, my)
        page.wait_for("a drag", lambda s: s.rings(xsession.GOLD) == [(2, 2)])
        page.js("(window.vesk.work = [], window.vesk.gaps = [])")
        time.sleep(3)
        work, gaps = page.js("window.vesk.work"), page.js("window.vesk.gaps")
        return first, statistics.median(work), statistics.median(gaps), len(gaps) / 3


def main(site_dir="build-web", runs="5", *engines):
    engines = [e for e in (browser.Page, browser.Firefox, browser.WebKit) if e.engine in (engines or ["chromium"])]
    results = {e: [] for e in engines}
    # The probe goes into a copy of the page, ahead of its scripts, as the test's hook does.
    with browser.hooked(os.path.abspath(site_dir), PROBE) as site, browser.serving(site) as url:
        for _ in range(int(runs)):   # the engines in turn, so that the machine's load falls on all alike
            for engine in engines:
                results[engine].append(run(url, engine))
                print("%s: first frame %.0f ms; a frame's work %.2f ms, frames %.1f ms apart (%.0f a second)"
                      % ((engine.engine,) + results[engine][-1]), flush=True)
    for engine in engines:
        print("%s medians: first frame %.0f ms; a frame's work %.2f ms, frames %.1f ms apart (%.0f a second)"
              % ((engine.engine,) + tuple(statistics.median(r[i] for r in results[engine]) for i in range(4))))


if __name__ == "__main__":
    main(*sys.argv[1:])
