#!/usr/bin/env python3
"""`kfx edit` in a real X server, driven with xdotool as a person would: a click on a
keyframe, a drag, a right-click menu choice, a typed value, undo, save and quit (and a drag
in the position dialog and one along the colour dialog's bar, each saved); then the
saved file is checked with kfx itself, and the X screen is compared with what the same state
draws without a display. A second session checks that quitting with unsaved changes asks
once and leaves the file alone. Then the keys of a day's work: track switches by key, undo
across tracks, a typed value followed by Right, an easing key, saving after a switch; play
and stop, the wheel's zoom; keyframes copied in one window and pasted in another; and
SIGTERM with unsaved changes, restored on the next open.

usage: edit_in_x_server.py --kfx KFX --work DIR [--screenshots DIR]
Exit codes: 0 passed, 1 failed, 77 skipped (no X server can be started here)."""
import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xpictures  # noqa: E402

SKIP = 77
SCREEN = (1280, 720)
# How long a step may take before the test gives up on it (a loaded machine is slow).
PATIENCE = 20.0
# The status line's background.
STATUS_COLOUR = (48, 52, 60)
# Pixels the drag moves a keyframe down.
DRAG = 80
# Evenly spaced colour samples read back: one every 0.01 of the story, 0.5 among them.
SAMPLES = 101


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(args, **kw):
    return subprocess.run(args, check=False, capture_output=True, text=True, **kw)


def wait_for(what, test, patience=PATIENCE):
    end = time.monotonic() + patience
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(0.05)
    raise Failure("gave up waiting for " + what)


class XServer:
    """An Xvfb server on a free display number, ended on exit."""

    def __init__(self):
        self.proc = None
        self.display = None

    def start(self):
        xvfb = shutil.which("Xvfb")
        if not xvfb:
            return "Xvfb is not installed (scripts/install-deps.sh installs it)"
        r, w = os.pipe()
        try:
            self.proc = subprocess.Popen([xvfb, "-displayfd", str(w), "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                                         pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except OSError as e:
            return "Xvfb cannot be started: %s" % e
        finally:
            os.close(w)
        text = b""
        end = time.monotonic() + PATIENCE
        while not text.endswith(b"\n") and time.monotonic() < end:
            ready, _, _ = select.select([r], [], [], 0.5)
            if ready:
                chunk = os.read(r, 64)
                if not chunk:
                    break
                text += chunk
        os.close(r)
        if not text.strip().isdigit():
            self.stop()
            return "Xvfb did not start (no display number came back)"
        self.display = ":" + text.strip().decode()
        return None

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait()


# Xvfb now and then drops a new connection before its first reply (seen with plain sockets,
# without kfx): a client that could not connect at all is started again, a few times.
CONNECT_TRIES = 3
REFUSED = ("no display to open it on", "Can't open display", "unable to open display")


class Refused(Exception):
    pass


def x_client(args, env):
    """Runs an X client (bytes out), again when the server dropped its connection."""
    for _ in range(CONNECT_TRIES):
        r = subprocess.run(args, env=env, check=False, capture_output=True)
        if not any(refused in r.stderr.decode(errors="replace") for refused in REFUSED):
            break
        print("note: the X server dropped the connection of %s; started again" % args[0], file=sys.stderr)
    return r


class Session:
    """kfx edit on one file in the X server, with the xdotool calls a person's hands make."""

    def __init__(self, kfx, display, path, track=0, extra=()):
        self.kfx, self.path = kfx, path
        self.env = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11")
        self.layout = snapshot_layout(kfx, path, track)
        for attempt in range(CONNECT_TRIES):
            self.proc = subprocess.Popen([kfx, "edit", path, "--track", str(track)] + list(extra), env=self.env,
                                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            try:
                self.window = wait_for("the window of kfx edit", lambda: self.find_window())
                break
            except Refused as e:
                if attempt + 1 == CONNECT_TRIES:
                    raise Failure("kfx edit ended early: " + str(e))
                print("note: the X server dropped the connection of kfx edit; started again", file=sys.stderr)
        # The pointer enters the new window the way a person's would before the first action.
        self.move(0, 0)
        self.move(SCREEN[0] // 2, SCREEN[1] // 2)
        self.settle()

    def find_window(self):
        if self.proc.poll() is not None:
            error = self.proc.stderr.read()
            if any(r in error for r in REFUSED):
                raise Refused(error)
            raise Failure("kfx edit ended early: " + error)
        name = re.escape(os.path.basename(self.path)) + " - kfx edit"
        found = self.xdotool("search", "--onlyvisible", "--name", name).split()
        return found[0] if found else None

    def xdotool(self, *args):
        return x_client(["xdotool"] + list(args), self.env).stdout.decode()

    def title(self):
        return self.xdotool("getwindowname", self.window).strip()

    def focus(self):
        # With two windows on a server without a window manager the keys go where the focus
        # was last put.
        self.xdotool("windowfocus", "--sync", self.window)

    def settle(self):
        # Gives kfx a moment to take what was sent; the checks after it poll for their state.
        time.sleep(0.3)

    def move(self, x, y):
        self.xdotool("mousemove", "--sync", str(x), str(y))

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool("click", str(button))
        self.settle()

    def drag(self, start, end, steps=8):
        self.move(*start)
        self.xdotool("mousedown", "1")
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.02)
        self.xdotool("mouseup", "1")
        self.settle()

    def keys(self, *names):
        for name in names:
            self.xdotool("key", name)
            self.settle()

    def type(self, text):
        self.xdotool("type", "--delay", "50", text)
        self.settle()

    def save_and_quit(self, what="kfx edit quits with 0 after a save"):
        self.keys("ctrl+s")
        wait_for("the saved title", lambda: not self.title().startswith("*"))
        self.keys("Escape")
        check(self.end() == 0, what)

    def screen(self):
        r = x_client(["xwd", "-root", "-silent"], self.env)
        check(r.returncode == 0, "xwd cannot read the screen: " + r.stderr.decode(errors="replace"))
        return xpictures.read_xwd(r.stdout)

    def end(self):
        try:
            self.proc.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            raise Failure("kfx edit did not quit")
        if self.proc.returncode not in (0, 128 + signal.SIGTERM):
            print(self.proc.stderr.read(), file=sys.stderr)
        return self.proc.returncode


def snapshot_layout(kfx, path, track, frame=None, png=None):
    """Where the parts of kfx edit's window are (and its picture when png is given)."""
    args = [kfx, "edit", path, "--track", str(track), "--size", "%dx%d" % SCREEN, "--snapshot", png or os.devnull]
    if frame is not None:
        args += ["--frame", str(frame)]
    r = run(args)
    check(r.returncode == 0, "kfx edit --snapshot failed: " + r.stderr)
    layout = {"key": {}, "value": {}}
    for line in r.stdout.splitlines():
        name, *numbers = line.split()
        numbers = [int(n) for n in numbers]
        if name in ("key", "value"):
            layout[name][numbers[0]] = numbers[1:]
        else:
            layout[name] = numbers
    return layout


def scalar_track_fields(kfx, path):
    """The stored fields of the file's first scalar track, from kfx info."""
    out = run([kfx, "info", path]).stdout.splitlines()
    start = next(i for i, line in enumerate(out) if line.endswith("CKivFXInsKeyFrmList"))
    fields = {}
    for line in out[start + 1:]:
        if "=" not in line or line.startswith("    ["):
            break
        key, value = (part.strip() for part in line.split("=", 1))
        fields[key] = value
    return fields


def track_lines(kfx, path, track_class):
    """(name, value) of each line kfx info prints for the file's first track of that class."""
    out = run([kfx, "info", path]).stdout.splitlines()
    start = next(i for i, line in enumerate(out) if line.endswith(track_class))
    for line in out[start + 1:]:
        if not line.startswith(" "):
            break
        key, _, value = line.strip().partition(" = ")
        yield key, value


def colour_track_locations(kfx, path):
    """The Locations of the keyframes of the file's first colour track, from kfx info."""
    return [float(value) for key, value in track_lines(kfx, path, "CKivFXColor32KeyFrmList") if key == "Location"]


def colour_samples(kfx, path, count, track):
    """kfx sample's evenly spaced rows of a colour track: (location, red, green, blue, alpha)."""
    r = run([kfx, "sample", path, "--count", str(count), "--track", str(track)])
    check(r.returncode == 0, "kfx sample failed: " + r.stderr)
    return [tuple(float(v) for v in line.split(",")[1:]) for line in r.stdout.splitlines()[1:]]


def sample(kfx, path, frame):
    r = run([kfx, "sample", path, "--frames", "%d:%d" % (frame, frame), "--track", "0"])
    check(r.returncode == 0, "kfx sample failed: " + r.stderr)
    return float(r.stdout.splitlines()[1].split(",")[1])


def person_edits_and_saves(kfx, display, work):
    path = os.path.join(work, "edited.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    s = Session(kfx, display, path)
    keys, value_box = s.layout["key"], s.layout["value"][0]
    check(len(keys) == 4, "the demo's curve has 4 keyframes, the window shows %d" % len(keys))
    check(not s.title().startswith("*"), "a freshly opened file is not marked unsaved")

    s.click(*keys[2])
    check(not s.title().startswith("*"), "a click on a keyframe that moves nothing is no change")

    moved_to = (keys[1][0], keys[1][1] + DRAG)
    s.drag(keys[1], moved_to)
    wait_for("the unsaved mark after a drag", lambda: s.title().startswith("*"))

    editor = s.layout["editor"]
    s.click((editor[0] + editor[2]) // 2, editor[3] - 40, button=3)
    s.keys("Down", "Return")  # the first item: "Linear Interpolation"

    s.keys("End")
    s.click((value_box[0] + value_box[2]) // 2, (value_box[1] + value_box[3]) // 2)
    s.type("42")
    s.keys("Return")
    s.keys("ctrl+z")
    live = s.screen()

    s.save_and_quit()

    fields = scalar_track_fields(kfx, path)
    check(fields.get("InsMode") == "0", "the menu's Linear Interpolation is saved (InsMode %s)" % fields.get("InsMode"))
    check(sample(kfx, path, 100) == 100.0, "the undone typed value is not in the file")
    after = snapshot_layout(kfx, path, 0, frame=100, png=os.path.join(work, "headless.png"))
    # The curve window's own mapping of the pixel it was dropped on: 4 pixels of margin at
    # the top and bottom, and half a value unit added to the value (not to the pixels).
    top, bottom = float(fields["MaxValue"]), float(fields["MinValue"])
    curve = s.layout["marks"]  # the curve window, below the curve dialog
    per_pixel = (top - bottom) / ((curve[3] - curve[1] - 4) - 4)
    dropped_value = top - ((moved_to[1] - curve[1] - 4) * per_pixel + 0.5)
    check(abs(sample(kfx, path, 25) - dropped_value) < 1e-3,
          "the dragged keyframe has the value of the pixel it was dropped on (%g, expected %g)" % (sample(kfx, path, 25), dropped_value))
    check(after["key"][1][0] == keys[1][0], "the drag changed the value only, not the frame")
    for i in (0, 2, 3):
        check(after["key"][i] == keys[i], "keyframe %d did not move" % i)

    headless = xpictures.read_png(os.path.join(work, "headless.png"))
    live_window = live.crop(*editor)
    differing = live_window.differences(headless.crop(*editor))
    if differing:
        xpictures.write_png(live, os.path.join(work, "live.png"))
    check(differing == 0, "the X screen's editor area equals what the same state draws headlessly "
                          "(%d pixels differ; see %s)" % (differing, os.path.join(work, "live.png")))


def quitting_unsaved_asks_once(kfx, display, work):
    path = os.path.join(work, "unsaved.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    before = open(path, "rb").read()
    s = Session(kfx, display, path)
    s.drag(s.layout["key"][2], (s.layout["key"][2][0], s.layout["key"][2][1] - DRAG // 2))
    wait_for("the unsaved mark", lambda: s.title().startswith("*"))
    # A smaller window: the layout follows, the status line (dark) on its new bottom edge.
    s.xdotool("windowsize", s.window, "1000", "600")
    wait_for("the layout at the new size", lambda: s.screen().rows[595][5] == STATUS_COLOUR)
    s.keys("Escape")
    time.sleep(0.5)
    check(s.proc.poll() is None, "the first Escape with unsaved changes only asks")
    s.keys("Escape")
    check(s.end() == 0, "the second Escape quits")
    check(open(path, "rb").read() == before, "quitting without saving leaves the file as it was")


def position_dialog_drag_is_saved(kfx, display, work):
    """The position track in its dialog: a keyframe dragged in the X-Y view, saved, reopened."""
    path = os.path.join(work, "path.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    s = Session(kfx, display, path, track=1)
    keys = s.layout["key"]
    check(len(keys) == 3, "the demo's path has 3 keyframes, the dialog shows %d" % len(keys))
    s.drag(keys[1], (keys[1][0] - DRAG, keys[1][1] + DRAG // 2))
    wait_for("the unsaved mark after a drag", lambda: s.title().startswith("*"))
    s.save_and_quit()
    after = snapshot_layout(kfx, path, 1)["key"]
    check(after[1] != keys[1], "the dragged position keyframe moved in the saved file")
    for i in (0, 2):
        check(after[i] == keys[i], "position keyframe %d did not move" % i)


def colour_dialog_drag_is_saved(kfx, display, work):
    """The colour track in its dialog: the middle keyframe's dot dragged along the bar, saved;
    the file holds it at the location of the pixel it was dropped on, and the colours follow."""
    path = os.path.join(work, "colours.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    track = 2
    before = colour_samples(kfx, path, SAMPLES, track)
    s = Session(kfx, display, path, track=track)
    keys = s.layout["key"]
    check(len(keys) == 3, "the demo's colour track has 3 keyframes, the dialog shows %d" % len(keys))
    # The dots stand at locations 0, 0.5 and 1: the first at the strip's left end, the last
    # one pixel inside its right end.
    left, width = keys[0][0], keys[2][0] - keys[0][0] + 1
    dropped = (keys[1][0] + 2 * DRAG, keys[1][1])
    s.drag(keys[1], dropped)
    wait_for("the unsaved mark after a drag", lambda: s.title().startswith("*"))
    s.save_and_quit()
    locations = colour_track_locations(kfx, path)
    expected = (dropped[0] - left) / width
    check(len(locations) == 3, "the drag neither adds nor drops keyframes (%d saved)" % len(locations))
    check(locations[0] == 0.0 and locations[2] == 1.0, "the other keyframes did not move: %s" % locations)
    check(abs(locations[1] - expected) < 1e-9,
          "the dragged keyframe is saved at the location it was dropped on (%r, expected %r)" % (locations[1], expected))
    after = colour_samples(kfx, path, SAMPLES, track)
    middle = SAMPLES // 2
    check(after[0] == before[0] and after[-1] == before[-1], "the colours at both ends stay")
    # At 0.5 the colour now lies on the way from the first keyframe's to the moved one's
    # (within a unit: the samples place keyframes on their grid and truncate channels).
    red = before[0][1] + (before[middle][1] - before[0][1]) * 0.5 / expected
    check(abs(after[middle][1] - red) <= 1.0,
          "the red at location 0.5 follows the moved keyframe (%g, expected %g)" % (after[middle][1], red))


def scalar_keys(kfx, path):
    """The keyframes of the file's first scalar track, from kfx info: a dict per keyframe with
    Frame, Value and the handles' offsets (fore and after, value and position)."""
    keys = []
    for key, value in track_lines(kfx, path, "CKivFXInsKeyFrmList"):
        if key.startswith("[") and "CKivFXValueKeyFrm" in key:
            keys.append({})
        elif keys and key in ("Frame", "Value"):
            keys[-1][key] = float(value)
        elif keys and key in ("PtFore", "PtAfter"):
            numbers = re.findall(r"-?\d+(?:\.\d+)?(?:e[-+]?\d+)?", value)
            keys[-1][key] = (float(numbers[0]), float(numbers[1]))
    return keys


def key_at(keys, frame):
    found = [k for k in keys if k["Frame"] == frame]
    check(len(found) == 1, "one keyframe at frame %d (frames %s)" % (frame, [k["Frame"] for k in keys]))
    return found[0]


def go_to_frame(s, frame):
    """From frame 0, as a person would: Shift+Right for tens, Right for ones."""
    s.keys(*(["shift+Right"] * (frame // 10) + ["Right"] * (frame % 10)))


def white_runs(picture, y, x0, x1):
    """Centres of the runs of white (keyframe squares) on a row of the screen."""
    centres, start = [], None
    for x in range(x0, x1 + 1):
        white = x < x1 and picture.rows[y][x] == (255, 255, 255)
        if white and start is None:
            start = x
        elif not white and start is not None:
            centres.append((start + x - 1) / 2)
            start = None
    return centres


def a_days_keys(kfx, display, work):
    """Undo after a track switch undoes the other track's edit; a typed value is followed by
    Right; an easing key; a switch by key and Ctrl+S saves (the file checked)."""
    path = os.path.join(work, "keys.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    s = Session(kfx, display, path)
    keys, box = s.layout["key"], s.layout["value"][0]
    s.drag(keys[2], (keys[2][0], keys[2][1] - DRAG))
    wait_for("the unsaved mark after a drag", lambda: s.title().startswith("*"))
    s.keys("Down", "Right", "ctrl+z")
    wait_for("the drag on track 1 undone from track 2", lambda: not s.title().startswith("*"))
    s.click((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)
    s.type("42")
    s.keys("Return")
    # Right goes on stepping frames after Enter: the second value lands on frame 25.
    go_to_frame(s, 25)
    s.click((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)
    s.type("55")
    s.keys("Return", "4", "Down", "ctrl+s")
    wait_for("the saved title after a switch by key and Ctrl+S", lambda: not s.title().startswith("*"))
    s.keys("Escape")
    check(s.end() == 0, "kfx edit quits with 0 after a save")
    saved = scalar_keys(kfx, path)
    check(key_at(saved, 0)["Value"] == 42, "the typed value is saved at frame 0")
    check(key_at(saved, 60)["Value"] == 20, "the drag undone from another track is not saved")
    eased = key_at(saved, 25)
    check(eased["Value"] == 55, "Right after Enter stepped frames: the second value is at frame 25 (%g)" % eased["Value"])
    check(eased["PtFore"][0] == 0 and eased["PtAfter"][0] == 0, "ease in-out flattens both handles: %s" % eased)
    check(abs(eased["PtFore"][1] + 25 / 3) < 1e-6 and abs(eased["PtAfter"][1] - 35 / 3) < 1e-6,
          "each handle reaches a third of the way to its neighbour: %s" % eased)
    check(scalar_track_fields(kfx, path).get("InsMode") == "1", "easing keeps the track Bezier")


def play_and_wheel(kfx, display, work):
    """Space plays and moves the marker, Escape stops, the file stays as it was; the wheel
    zooms the curve window around the pointer."""
    path = os.path.join(work, "play.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    before = open(path, "rb").read()
    s = Session(kfx, display, path, extra=["--fps", "50"])
    editor = s.layout["editor"]
    still = s.screen().crop(*editor)
    s.keys("space")
    time.sleep(0.5)
    s.keys("Escape")
    check(s.proc.poll() is None, "Escape while playing stops, it does not quit")
    stopped = s.screen().crop(*editor)
    check(stopped.differences(still) > 0, "the marker moved while playing")
    time.sleep(0.5)
    check(s.screen().crop(*editor).differences(stopped) == 0, "after Escape the marker stays where it stopped")
    check(not s.title().startswith("*"), "playing changes nothing")

    keys, marks = s.layout["key"], s.layout["marks"]
    s.move(*keys[2])
    s.xdotool("click", "4")  # the wheel, away from the person: zoom in
    s.settle()
    shot = s.screen()
    near = [x for x in white_runs(shot, keys[2][1], marks[0], marks[2]) if abs(x - keys[2][0]) <= 8]
    check(near, "the keyframe under the pointer stays under it after the zoom")
    later = white_runs(shot, keys[3][1], marks[0], marks[2])
    check(not later or later[0] - near[0] > (keys[3][0] - keys[2][0]) * 1.1,
          "the zoom spread the keyframes apart (%s, was %d)" % (later, keys[3][0]))
    s.keys("Escape")
    check(s.end() == 0, "nothing unsaved: Escape quits at once")
    check(open(path, "rb").read() == before, "play and zoom leave the file as it was")


def copy_between_windows(kfx, display, work):
    """Keyframe 25 copied in one window, pasted at frame 40 in another file's window."""
    source, target = os.path.join(work, "copy-from.kfa"), os.path.join(work, "paste-into.kfa")
    for p in (source, target):
        shutil.copy(os.path.join(work, "demo", "demo.kfa"), p)
    a = Session(kfx, display, source)
    go_to_frame(a, 25)
    a.keys("ctrl+c")
    b = Session(kfx, display, target)  # over the first; the first keeps the clipboard
    check(b.window != a.window, "two windows")
    b.focus()
    go_to_frame(b, 40)
    b.keys("ctrl+v")
    wait_for("the unsaved mark after a paste", lambda: b.title().startswith("*"))
    b.save_and_quit("the second window quits after its save")
    a.focus()
    a.keys("Escape")
    check(a.end() == 0, "the first window had nothing unsaved")
    pasted, copied = key_at(scalar_keys(kfx, target), 40), key_at(scalar_keys(kfx, source), 25)
    check(pasted["Value"] == copied["Value"] and pasted["PtFore"] == copied["PtFore"] and pasted["PtAfter"] == copied["PtAfter"],
          "the pasted keyframe has the copied one's value and handles: %s, %s" % (pasted, copied))
    check(len(scalar_keys(kfx, target)) == 5, "one keyframe added by the paste")


def sigterm_keeps_unsaved_changes(kfx, display, work):
    """SIGTERM with unsaved changes and a menu open: a recovery file beside the file, which stays as it was;
    the next open offers it, R restores it and Ctrl+S saves it (the recovery file goes)."""
    path = os.path.join(work, "ended.kfa")
    recovery = os.path.join(work, "ended.recovery.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    before = open(path, "rb").read()
    s = Session(kfx, display, path)
    s.drag(s.layout["key"][2], (s.layout["key"][2][0], s.layout["key"][2][1] - DRAG))
    wait_for("the unsaved mark", lambda: s.title().startswith("*"))
    # With the right-button menu open: the menu gives way, it does not hold the signal back.
    editor = s.layout["editor"]
    s.click((editor[0] + editor[2]) // 2, editor[3] - 40, button=3)
    s.proc.send_signal(signal.SIGTERM)
    check(s.end() == 128 + signal.SIGTERM, "kfx edit ends promptly on SIGTERM, even with a menu open")
    check(open(path, "rb").read() == before, "the file is left as it was")
    check(os.path.exists(recovery), "the unsaved changes are in " + recovery)
    dragged = key_at(scalar_keys(kfx, recovery), 60)["Value"]
    check(dragged != 20, "the recovery file holds the drag")

    s = Session(kfx, display, path)
    time.sleep(0.5)
    check(not s.title().startswith("*"), "the recovery file is offered, not restored silently")
    s.keys("r")
    wait_for("the restored changes", lambda: s.title().startswith("*"))
    s.save_and_quit()
    check(key_at(scalar_keys(kfx, path), 60)["Value"] == dragged, "the restored drag is saved")
    check(not os.path.exists(recovery), "a save removes the recovery file")


def screenshots(kfx, display, work, out):
    """The pictures docs/EDITING.md shows, taken from the X server."""
    path = os.path.join(work, "pictures.kfa")
    shutil.copy(os.path.join(work, "demo", "demo.kfa"), path)
    s = Session(kfx, display, path)
    save = lambda name: xpictures.write_png(s.screen(), os.path.join(out, name))
    s.keys("Right", "Right")
    save("edit-scalar.png")
    editor = s.layout["editor"]
    s.click((editor[0] + editor[2]) // 2, editor[3] - 200, button=3)
    s.keys("Down")
    save("edit-menu.png")
    s.keys("Escape", "F1")
    save("edit-keys.png")
    s.keys("F1", "Down")
    save("edit-position.png")
    s.keys("Down")
    save("edit-colour.png")
    s.keys("Up", "Up", "Home")
    go_to_frame(s, 25)
    s.keys("4")
    save("edit-ease.png")
    s.keys("Escape", "Escape")
    s.end()
    # A recovery file newer than the file: the next open offers it in the status line.
    time.sleep(0.05)
    shutil.copy(path, os.path.join(work, "pictures.recovery.kfa"))
    s = Session(kfx, display, path)
    save("edit-recovery.png")
    s.keys("d", "Escape")
    s.end()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kfx", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--screenshots")
    args = parser.parse_args()
    server = XServer()
    why = server.start()
    if why:
        print("SKIPPED: no X server can be started here: " + why)
        return SKIP
    try:
        for tool in ("xdotool", "xwd"):
            check(shutil.which(tool), tool + " is not installed (scripts/install-deps.sh installs it)")
        shutil.rmtree(args.work, ignore_errors=True)
        os.makedirs(args.work)
        r = run([args.kfx, "demo", os.path.join(args.work, "demo")])
        check(r.returncode == 0, "kfx demo failed: " + r.stderr)
        if args.screenshots:
            screenshots(args.kfx, server.display, args.work, args.screenshots)
            print("pictures written to " + args.screenshots)
            return 0
        person_edits_and_saves(args.kfx, server.display, args.work)
        quitting_unsaved_asks_once(args.kfx, server.display, args.work)
        position_dialog_drag_is_saved(args.kfx, server.display, args.work)
        colour_dialog_drag_is_saved(args.kfx, server.display, args.work)
        a_days_keys(args.kfx, server.display, args.work)
        play_and_wheel(args.kfx, server.display, args.work)
        copy_between_windows(args.kfx, server.display, args.work)
        sigterm_keeps_unsaved_changes(args.kfx, server.display, args.work)
        print("passed: kfx edit in the X server " + server.display)
        return 0
    except Failure as e:
        print("FAILED: %s" % e)
        return 1
    finally:
        server.stop()


if __name__ == "__main__":
    sys.exit(main())
