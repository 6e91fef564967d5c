#!/usr/bin/env python3
"""A whole game, played through the real window with real X input.

Usage: play_test.py VESK_EXECUTABLE DATA_FOLDER [ARTEFACT_FOLDER]
Run it under its own X server:
    xvfb-run -a -s "-screen 0 1024x768x24" play_test.py build/src/engine/vesk .

Menu hover in red, a strength chosen, a stack of gold tokens dragged out on
the middle cell, Silver's reply after its pause, the pass ring lit under the
pointer, a pass that ends the game and its result, Escape back to the menu
and Escape out with exit status 0.
"""
import math
import sys

from xsession import (GOLD, SILVER, VERY_EASY, Failure, Game, all_cells, backdrop_shown,
                      cell_centre, check, is_gold_text, is_neutral_bright, is_red, is_warm,
                      is_white, log, menu_shown)

PASS_CENTRE = (130, 768 - 130)          # Gold's stock and the pass ring
RESULT_TEXT = (440, 288, 640, 326)      # "... Wins" / "Tie", baseline at drawing y 444
PASS_LABEL = (94, 538, 170, 568)        # "Pass", baseline at drawing (94, 200)
SILVER_STOCK = (824, 568, 964, 708)     # Silver's stock round drawing (894, 130)


def ring_of(s, cell, colour):
    x, y = cell_centre(*cell)
    return s.ring_matches(x, y, 68.5, colour, tolerance=16)


def highlighted(s, colour):
    return [cell for cell in all_cells() if ring_of(s, cell, colour) >= 20]


def stack_points(cell, count):
    """Screen positions of the token centres of a stack of 2 to 9 tokens."""
    x, y = cell_centre(*cell)
    pts = []
    for i in range(count):
        a = math.radians((i * 360) // count)
        pts.append((x + 25 * math.cos(a), y - 25 * math.sin(a)))
    return pts


def main():
    exe, data = sys.argv[1], sys.argv[2]
    artefacts = sys.argv[3] if len(sys.argv) > 3 else None
    game = Game([exe], cwd=data, artefacts=artefacts)
    try:
        game.wait_window()
        game.move(600, 600)
        s = game.wait_for("the menu", lambda s: menu_shown(s) and backdrop_shown(s))
        check(s.count(*VERY_EASY, is_red) < 10, "no menu entry is red before the pointer comes")

        # Hovering "Very Easy" turns it red; leaving it turns it white again.
        game.move(210, 300)
        game.wait_for("'Very Easy' in red", lambda s: s.count(*VERY_EASY, is_red) > 150)
        game.move(600, 600)
        game.wait_for("'Very Easy' white again",
                      lambda s: s.count(*VERY_EASY, is_red) < 10 and menu_shown(s))

        # Choose the strength: the game screen with an empty board.
        game.click(210, 300)
        middle = (2, 2)
        mx, my = cell_centre(*middle)
        s = game.wait_for("the game screen", lambda s: not menu_shown(s) and
                          s.count(10, 10, 110, 40, is_white) > 100)   # "Player"
        check(not highlighted(s, GOLD) and not highlighted(s, SILVER), "no cell is highlighted")

        # Press on the middle cell and drag 160 units away: five tokens.
        game.move(mx, my)
        game.press(1)
        game.move(mx + 80, my)
        game.move(mx + 160, my)
        five = stack_points(middle, 5)
        s = game.wait_for("five gold tokens in a gold ring on the dragged cell",
                          lambda s: highlighted(s, GOLD) == [middle] and
                          all(is_warm(s.pixel(*p)) for p in five))
        check(not is_warm(s.pixel(mx, my)), "the five lie on a ring, not on the centre")

        game.release(1)
        # Silver replies after its pause: its ring appears round one cell.
        s = game.wait_for("Silver's reply", lambda s: len(highlighted(s, SILVER)) == 1,
                          timeout=60)
        check(not highlighted(s, GOLD), "Gold's highlight is gone once Silver has played")
        reply = highlighted(s, SILVER)[0]
        rx, ry = cell_centre(*reply)
        if reply == middle:
            # Silver captured the stack with six tokens.
            check(all(is_neutral_bright(s.pixel(*p)) for p in stack_points(middle, 6)),
                  "Silver's six tokens replace Gold's five")
        else:
            check(all(is_warm(s.pixel(*p)) for p in five), "Gold's five tokens stay placed")
            check(is_neutral_bright(s.pixel(rx, ry)), "Silver's token lies on its cell")
        log("Silver replied on cell", reply)

        # The pass ring: half opacity, full gold under the pointer, with "Pass".
        px, py = PASS_CENTRE
        game.move(600, 700)
        # (Half-lit ring pixels over gold tokens of the stock may come
        # close to gold; most of the ring must not.)
        s = game.wait_for("the pass ring at half opacity",
                          lambda s: s.ring_matches(px, py, 61.5, GOLD, 10) < 18)
        check(s.count(*PASS_LABEL, is_gold_text) < 10, "no 'Pass' label away from the ring")
        game.move(px, py)
        s = game.wait_for("the pass ring in full gold",
                          lambda s: s.ring_matches(px, py, 61.5, GOLD, 10) >= 32)
        check(s.count(*PASS_LABEL, is_gold_text) > 40, "'Pass' shows over the ring")
        before = s.count(*RESULT_TEXT, is_white)

        # Pass until the game is over. Silver, when ahead, passes too and
        # ends it; otherwise it places, which always shrinks its stock, and
        # it is Gold's turn again.
        def result_shown(s):
            return s.count(*RESULT_TEXT, is_white) > before + 150

        for _ in range(20):
            stock = s.region(*SILVER_STOCK)
            game.click(px, py)
            s = game.wait_for("Silver's answer to a pass",
                              lambda s: result_shown(s) or s.region(*SILVER_STOCK) != stock)
            if result_shown(s):
                break
        else:
            raise Failure("the game did not end after repeated passes")
        check(True, "the result is written in the middle of the board")
        check(s.ring_matches(px, py, 61.5, GOLD, 10) < 18, "the pass ring is dim once the game is over")

        # Escape: back to the menu; Escape again: the program ends with 0.
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
