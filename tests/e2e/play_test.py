#!/usr/bin/env python3
"""A whole game through the real window and real X input.

Usage, under its own X server:
    tests/hardening/with-xvfb.sh play_test.py build/src/engine/vesk .
"""
import math
import sys
import time

from xsession import (ALL_CELLS, GOLD, SILVER, VERY_EASY, Failure, Game, backdrop_shown,
                      cell_centre, check, is_gold_text, is_neutral_bright, is_red, is_warm,
                      is_white, log, menu_shown)

PASS_CENTRE = (130, 768 - 130)          # Gold's stock and the pass ring
RESULT_TEXT = (440, 288, 640, 326)      # "... Wins" / "Tie"
PASS_LABEL = (94, 538, 170, 568)        # "Pass"
SILVER_STOCK = (824, 568, 964, 708)


def highlighted(s, colour):
    return [c for c in ALL_CELLS if s.ring_matches(*cell_centre(*c), 68.5, colour, 16) >= 20]


def stack_points(cell, count):
    """Token centres of a stack of 2 to 9 tokens on a cell."""
    x, y = cell_centre(*cell)
    return [(x + 25 * math.cos(math.radians(i * 360 // count)),
             y - 25 * math.sin(math.radians(i * 360 // count))) for i in range(count)]


def pass_ring_lit(s):
    return s.ring_matches(*PASS_CENTRE, 61.5, GOLD, 10)


def main():
    game = Game([sys.argv[1]], cwd=sys.argv[2])
    try:
        game.wait_window()
        game.move(600, 600)
        s = game.wait_for("the menu", lambda s: menu_shown(s) and backdrop_shown(s))
        check(s.count(*VERY_EASY, is_red) < 10, "no menu entry is red before the pointer comes")
        game.move(210, 300)
        game.wait_for("'Very Easy' in red", lambda s: s.count(*VERY_EASY, is_red) > 150)

        game.click(210, 300)
        s = game.wait_for("the game screen", lambda s: not menu_shown(s) and
                          s.count(10, 10, 110, 40, is_white) > 100)   # "Player"
        check(not highlighted(s, GOLD) and not highlighted(s, SILVER), "no cell is highlighted")

        # Press on the middle cell and drag 160 units away: five tokens.
        middle = (2, 2)
        mx, my = cell_centre(*middle)
        game.move(mx, my)
        game.xdo("mousedown", 1)
        game.move(mx + 80, my)
        game.move(mx + 160, my)
        five = stack_points(middle, 5)
        s = game.wait_for("five gold tokens in a gold ring on the dragged cell",
                          lambda s: highlighted(s, GOLD) == [middle] and
                          all(is_warm(s.pixel(*p)) for p in five))
        check(not is_warm(s.pixel(mx, my)), "the five lie on a ring, not on the centre")
        game.xdo("mouseup", 1)
        released = time.monotonic()
        s = game.wait_for("Silver's reply", lambda s: len(highlighted(s, SILVER)) == 1,
                          timeout=60)
        check(time.monotonic() - released > 0.45, "Silver replies after its half-second pause")
        check(not highlighted(s, GOLD), "Gold's highlight is gone once Silver has played")
        reply = highlighted(s, SILVER)[0]
        if reply == middle:
            check(all(is_neutral_bright(s.pixel(*p)) for p in stack_points(middle, 6)),
                  "Silver's six tokens replace Gold's five")
        else:
            check(all(is_warm(s.pixel(*p)) for p in five), "Gold's five tokens stay placed")
            check(is_neutral_bright(s.pixel(*cell_centre(*reply))), "Silver's token is placed")
        log("Silver replied on cell", reply)

        # The pass ring: dim (stock tokens may match a few points), full
        # gold with "Pass" under the pointer.
        game.move(600, 700)
        s = game.wait_for("the pass ring dim", lambda s: pass_ring_lit(s) < 18)
        check(s.count(*PASS_LABEL, is_gold_text) < 10, "no 'Pass' label away from the ring")
        game.move(*PASS_CENTRE)
        s = game.wait_for("the pass ring in full gold", lambda s: pass_ring_lit(s) >= 32)
        check(s.count(*PASS_LABEL, is_gold_text) > 40, "'Pass' shows over the ring")
        before = s.count(*RESULT_TEXT, is_white)

        # Pass until the game is over: Silver either passes too and ends it
        # or places, which always changes its stock.
        def result_shown(s):
            return s.count(*RESULT_TEXT, is_white) > before + 150

        for _ in range(20):
            stock = s.region(*SILVER_STOCK)
            game.click(*PASS_CENTRE)
            s = game.wait_for("Silver's answer to a pass",
                              lambda s: result_shown(s) or s.region(*SILVER_STOCK) != stock)
            if result_shown(s):
                break
        else:
            raise Failure("the game did not end after repeated passes")
        log("ok: the result is written in the middle of the board")
        check(pass_ring_lit(s) < 18, "the pass ring is dim once the game is over")

        game.key("Escape")
        game.wait_for("the menu after Escape", menu_shown)
        game.key("Escape")
        status = game.wait_exit()
        check(status == 0, "Escape on the menu quits with status 0 (got %s)" % status)
        return 0
    except Failure as e:
        log("FAILED:", e)
        return 1
    finally:
        game.kill()


if __name__ == "__main__":
    sys.exit(main())
