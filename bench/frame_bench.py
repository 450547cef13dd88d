#!/usr/bin/env python3
"""Frame cost of every screen against the cheapest full-screen frame.

Runs, in one go and alternating, bench/pelta_minimal_frame (clear, one
1920 x 1030 picture, present) and the game with --frame-stats, which a
scripted key sequence (xdotool) leads through every screen: the menu with its
ticker, the instructions, the top ten, a saved game at level 200 (200 white
and 40 black enemies) from its countdown through play, a crash, game over and
the name entry; then, in a second copy of the game, level 1 played with
captures until the level-complete screen shows. For each screen it prints the
game's median frame work, the minimal frame's, and their ratio (medians over
the rounds), the countdown's wall-clock length and the CPU use of the static
top-ten screen.

Without DISPLAY it starts its own Xvfb (-noreset) for each of --sizes
(default a 1920x1080 and a 1280x1024 screen; "3840x2160+1920x1080" lists a
1920x1080 mode beside the screen's own, as big monitors do); with DISPLAY it
measures on that display only. With --window WxH the game plays in a window
of that size (e.g. 3840x2160: twice the 1920x1080 mode) and the minimal
frame is a window of that size too.
Every copy of the game runs as `unshare -n` from a scratch folder holding a
copy of the built data/, which is also its user folder (PELTA_USER_DIR), with
HOME and the XDG folders inside it.

    bench/frame_bench.py [--build build] [--rounds 3] [--seconds 5]
                         [--sizes 3840x2160+1920x1080] [--window 3840x2160]
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

VERBOSE = False
VIEWS = ["menu", "instructions", "top-ten", "name-entry", "countdown", "play", "crash",
         "level-complete"]


def log(*args):
    print(*args, file=sys.stderr, flush=True)


class Display:
    """An X display: our own Xvfb, ended by its own pid, or the one given."""

    def __init__(self, size=None):
        self.proc = None
        if size is None:
            self.name = os.environ["DISPLAY"]
            return
        size, _, mode = size.partition("+")
        for _ in range(100):
            n = random.randint(150, 900)
            if not os.path.exists(f"/tmp/.X{n}-lock"):
                break
        self.name = f":{n}"
        self.proc = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", f"{size}x24", "-noreset", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if subprocess.run(["xdpyinfo", "-display", self.name], capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("Xvfb did not start")
        if mode:
            w, h = mode.split("x")
            env = dict(os.environ, DISPLAY=self.name)
            # CVT-like timings; Xvfb only lists the mode, any clock will do.
            subprocess.run(["xrandr", "--newmode", mode, "148.5", w, str(int(w) + 88), str(int(w) + 132),
                            str(int(w) + 280), h, str(int(h) + 4), str(int(h) + 9), str(int(h) + 45)],
                           env=env, check=True)
            subprocess.run(["xrandr", "--addmode", "screen", mode], env=env, check=True)

    def size(self):
        out = subprocess.run(["xdpyinfo", "-display", self.name], capture_output=True,
                             text=True).stdout
        for line in out.splitlines():
            if "dimensions:" in line:
                w, h = line.split()[1].split("x")
                return int(w), int(h)
        return 1920, 1080

    def close(self):
        if self.proc:
            self.proc.terminate()
            self.proc.wait()


def parse_stats(text):
    """The rows of a --frame-stats report: view -> dict of its figures."""
    rows = {}
    for line in text.splitlines():
        f = line.split()
        if len(f) == 7 and f[1].isdigit():
            rows[f[0]] = {"frames": int(f[1]), "median": float(f[2]), "p95": float(f[3]),
                          "over": float(f[4]), "visits": int(f[5]), "per_visit": float(f[6])}
    return rows


class Game:
    """One copy of the game in a scratch folder, driven with xdotool."""

    def __init__(self, args, display, scratch):
        self.args = args
        self.display = display
        self.dir = scratch
        self.env = dict(os.environ, DISPLAY=display.name, SDL_AUDIODRIVER="dummy",
                        PELTA_USER_DIR=scratch, HOME=scratch, XDG_DATA_HOME=os.path.join(scratch, "xdg-data"),
                        XDG_CONFIG_HOME=os.path.join(scratch, "xdg-config"))
        self.proc = None

    def run_tool(self, *cmd):
        subprocess.run(cmd, cwd=self.dir, env=self.env, check=True)

    def start(self):
        self.err = open(os.path.join(self.dir, "game.log"), "w")
        window = ["--window"] if self.args.window else []
        self.proc = subprocess.Popen(["unshare", "-n", self.args.game, "--frame-stats"] + window,
                                     cwd=self.dir, env=self.env, stdout=self.err,
                                     stderr=self.err)
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                "^Pelta 2.0$"], env=self.env, capture_output=True, text=True,
                               timeout=20).stdout.split()
        if self.args.window and found:
            w, h = self.args.window.split("x")
            subprocess.run(["xdotool", "windowsize", found[0], w, h], env=self.env)
        time.sleep(0.5)

    def key(self, *keys, hold=0.15, gap=0.1):
        subprocess.run(["xdotool", "keydown", *keys], env=self.env)
        time.sleep(hold)
        subprocess.run(["xdotool", "keyup", *reversed(keys)], env=self.env)
        time.sleep(gap)

    def cpu_seconds(self):
        with open(f"/proc/{self.proc.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def end(self):
        """Ends this copy by its pid if it still runs (after a failure)."""
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def finish(self):
        """Pause ends the game through its normal shutdown; returns its stats."""
        self.key("Pause")
        try:
            self.proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.err.close()
        with open(os.path.join(self.dir, "game.log")) as f:
            return parse_stats(f.read())

    # ---- screenshots, for steering the level-1 captures ----
    def screenshot(self):
        before = set(self.shot_files())
        self.key("ctrl", "p", hold=0.12, gap=0.0)
        for _ in range(60):
            new = set(self.shot_files()) - before
            if new:
                path = new.pop()
                time.sleep(0.05)
                return Picture(path, *self.display.size())
            time.sleep(0.05)
        return None

    def shot_files(self):
        found = []
        for root, _, files in os.walk(self.dir):
            found += [os.path.join(root, f) for f in files
                      if f.startswith("scr_") and f.endswith(".bmp")]
        return found


class Picture:
    """A Ctrl+P bitmap, read in the game's cell coordinates."""

    def __init__(self, path, screen_w, screen_h):
        with open(path, "rb") as f:
            data = f.read()
        os.remove(path)
        self.w = int.from_bytes(data[18:22], "little")
        self.h = int.from_bytes(data[22:26], "little")
        self.data = data
        self.scale = self.w / 1920.0
        # The layout's vertical offset, as the game works it out.
        self.offset = 0.0 if self.w == 1920 and self.h != 1200 else (
            60.0 if self.w == 1920 else float(int(((1920.0 / self.w) * self.h - 1080.0) * 0.5 + 0.5)))

    def rgb(self, px, py):
        px = min(max(int(px), 0), self.w - 1)
        py = min(max(int(py), 0), self.h - 1)
        i = 54 + ((self.h - 1 - py) * self.w + px) * 4
        return self.data[i + 2], self.data[i + 1], self.data[i]

    def cell(self, cx, cy):
        """Colour at the middle of playfield cell (cx, cy)."""
        return self.rgb((2 * cx + 1) * self.scale, (2 * cy + 1 + self.offset) * self.scale)

    def bright_in(self, x0, y0, x1, y1, step=3):
        """Near-white pixels in a rectangle of the virtual layout (sampled)."""
        n = 0
        for vy in range(y0, y1, step):
            for vx in range(x0, x1, step):
                r, g, b = self.rgb(vx * self.scale, (vy + self.offset) * self.scale)
                n += r > 230 and g > 230 and b > 230
        return n

    def level_complete(self):
        return self.bright_in(500, 70, 1420, 170) > 150

    def countdown(self):
        return self.bright_in(860, 330, 1060, 660) > 100

    def crash_screen(self):
        return self.bright_in(560, 790, 1360, 840) > 100

    def player(self):
        """Cell position of the player standing on the top or bottom frame, or None."""
        need = max(4, int(7 * self.scale))
        for cy0, cy1 in ((0, 15), (500, 515)):
            y0 = int((2 * cy0 + self.offset) * self.scale)
            y1 = int((2 * cy1 + self.offset) * self.scale)
            for py in range(y0, y1):
                run = 0
                for px in range(self.w):
                    r, g, b = self.rgb(px, py)
                    run = run + 1 if min(r, g, b) >= 235 else 0
                    if run == need and self.square_at(px - need + 1, py):
                        x = (px - need + 1) / self.scale / 2
                        return int(round(x)), (0 if cy0 == 0 else 1)
        return None

    def square_at(self, px, py):
        """The player's 10 x 10 square is light all over; a bounce flash on the
        frame is a bar of three."""
        size = max(3, int(10 * self.scale))
        light = sum(min(self.rgb(px + i, py + j)) >= 195 for i in range(size) for j in range(size))
        return light >= 0.8 * size * size

    def free_columns(self):
        """Interior columns with free (black) cells, as runs (first, last)."""
        runs, start = [], None
        for cx in range(15, 945):
            free = any(max(self.cell(cx, cy)) < 20 for cy in range(20, 496, 25))
            if free and start is None:
                start = cx
            if not free and start is not None:
                runs.append((start, cx - 1))
                start = None
        if start is not None:
            runs.append((start, 944))
        return runs


def capture_level_one(game, deadline):
    """Cuts the field with vertical tracks, each in the middle half of the
    free strip the white enemy is in, until the level-complete screen shows.
    True when it did."""
    game.key("Return")
    while time.time() < deadline:
        pic = game.screenshot()
        if pic is None:
            return False
        if pic.level_complete():
            return True
        if pic.crash_screen():
            game.key("Return")  # continue, or a new game after the last life
            continue
        if pic.countdown():
            time.sleep(0.5)
            continue
        where = pic.player()
        runs = pic.free_columns()
        if where is None or not runs:
            time.sleep(0.3)  # out in the free area, or crashed
            continue
        first, last = max(runs, key=lambda r: r[1] - r[0])
        quarter = (last - first) // 4
        lo, hi = first + quarter, last - quarter - 4
        if VERBOSE:
            log(f"    player at {where}, free {runs}, cut between {lo} and {hi}")
        if walk_into(game, where, lo, hi):
            game.key("Down" if where[1] == 0 else "Up", hold=0.25, gap=0.0)
            time.sleep(1.0)
    return False


def walk_into(game, where, lo, hi):
    """Along the frame until the player stands between columns lo and hi;
    False when it was lost on the way (crashed, or stopped elsewhere)."""
    for _ in range(40):
        x = where[0]
        if lo <= x <= hi:
            return True
        game.key("Right" if x < lo else "Left", hold=0.1, gap=0.0)
        pic = game.screenshot()
        where = pic.player() if pic else None
        if where is None:
            return False
    return False


def tour(game, seconds, cpu):
    """Every screen but the level-complete one, `seconds` on each."""
    wait = time.sleep
    wait(seconds)                 # menu with the ticker
    game.key("i"); wait(seconds)  # instructions
    game.key("Escape")
    game.key("t")                 # top ten, still: its CPU use
    wait(1.0)
    c0, t0 = game.cpu_seconds(), time.time()
    wait(seconds)
    cpu.append(100.0 * (game.cpu_seconds() - c0) / (time.time() - t0))
    game.key("Escape")
    game.key("l")                 # the saved game at level 200: countdown, play
    wait(seconds + 15.0)          # a slow countdown may take 13 s
    game.key("Down")              # out into 200 white enemies: a crash
    wait(seconds + 2.0)
    game.key("Return")            # the last life
    wait(2.0)
    game.key("Down")
    wait(seconds + 2.0)           # game over
    game.key("Return")            # a top-ten place: the name entry
    wait(1.0)
    for letter in "bench":
        game.key(letter, hold=0.1)
    wait(seconds)
    game.key("Return")
    wait(1.0)


def minimal(args, display):
    size = args.window.split("x") if args.window else []
    out = subprocess.run(["unshare", "-n", args.minimal, str(args.seconds)] + size, capture_output=True,
                         text=True, env=dict(os.environ, DISPLAY=display.name)).stdout
    log("   ", out.strip().splitlines()[0] if out.strip() else "minimal: no output")
    return parse_stats(out).get("minimal", {}).get("median")


def one_pass(args, display):
    w, h = display.size()
    log(f"== {display.name} {w}x{h}")
    data = os.path.join(args.build, "data")
    mins, games, cpu = [], [], []
    mins.append(minimal(args, display))
    for r in range(args.rounds):
        stats = {}
        with tempfile.TemporaryDirectory(prefix="pelta-bench-") as scratch:
            shutil.copytree(data, os.path.join(scratch, "data"))
            game = Game(args, display, scratch)
            game.run_tool(args.save_tool, "200", "2", "900000000")
            try:
                game.start()
                tour(game, args.seconds, cpu)
                stats.update(game.finish())
            finally:
                game.end()
        with tempfile.TemporaryDirectory(prefix="pelta-bench-") as scratch:
            shutil.copytree(data, os.path.join(scratch, "data"))
            game = Game(args, display, scratch)
            try:
                game.start()
                if capture_level_one(game, time.time() + args.capture_limit):
                    time.sleep(args.seconds)
                else:
                    log("    level 1 was not completed in time")
                done = game.finish()
            finally:
                game.end()
            if "level-complete" in done:
                stats["level-complete"] = done["level-complete"]
        games.append(stats)
        mins.append(minimal(args, display))
        log(f"    round {r + 1}: " + ", ".join(
            f"{v} {stats[v]['median']:.2f}" for v in VIEWS if v in stats))
    label = f"{w}x{h}" + (f", in a {args.window} window" if args.window else "")
    return summarise(label, mins, games, cpu)


def summarise(label, mins, games, cpu):
    lines = [f"\n{label}: medians over {len(games)} rounds (ms of work per frame)",
             f"{'screen':<16}{'game ms':>9}{'minimal ms':>12}{'ratio':>8}{'game p95':>10}"]
    for view in VIEWS:
        g, m, ratios, p95 = [], [], [], []
        for r, stats in enumerate(games):
            if view in stats and mins[r] and mins[r + 1]:
                base = (mins[r] + mins[r + 1]) / 2
                g.append(stats[view]["median"])
                p95.append(stats[view]["p95"])
                m.append(base)
                ratios.append(stats[view]["median"] / base)
        if g:
            lines.append(f"{view:<16}{statistics.median(g):9.2f}{statistics.median(m):12.2f}"
                         f"{statistics.median(ratios):8.2f}{statistics.median(p95):10.2f}")
        else:
            lines.append(f"{view:<16}{'not reached':>9}")
    countdown = [s["countdown"]["per_visit"] for s in games if "countdown" in s]
    if countdown:
        lines.append(f"countdown lasts {statistics.median(countdown):.2f} s (180 frames)")
    if cpu:
        lines.append(f"top ten, static: {statistics.median(cpu):.0f} % of one core")
    return "\n".join(lines)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--build", default=os.path.join(here, "..", "build"))
    p.add_argument("--game", help="the game to measure (default: BUILD/pelta)")
    p.add_argument("--rounds", type=int, default=3)
    p.add_argument("--seconds", type=float, default=5.0, help="time on each screen")
    p.add_argument("--capture-limit", type=float, default=240.0,
                   help="seconds allowed to complete level 1")
    p.add_argument("--verbose", action="store_true", help="log the level-1 captures")
    p.add_argument("--sizes", default="1920x1080,1280x1024",
                   help="screens, comma-separated; +WxH adds a mode beside the screen's own")
    p.add_argument("--window", help="play in a window of this size (WxH) instead")
    args = p.parse_args()
    global VERBOSE
    VERBOSE = args.verbose
    args.build = os.path.abspath(args.build)
    args.game = os.path.abspath(args.game or os.path.join(args.build, "pelta"))
    args.minimal = os.path.join(args.build, "bench", "pelta_minimal_frame")
    args.save_tool = os.path.join(args.build, "bench", "pelta_bench_save")
    for tool in ("Xvfb", "xdotool", "xdpyinfo", "unshare"):
        if shutil.which(tool) is None:
            sys.exit(f"frame_bench: {tool} is missing")
    reports = []
    sizes = [None] if os.environ.get("DISPLAY") else args.sizes.split(",")
    for size in sizes:
        display = Display(size)
        try:
            reports.append(one_pass(args, display))
        finally:
            display.close()
    print("\n".join(reports))


if __name__ == "__main__":
    main()
