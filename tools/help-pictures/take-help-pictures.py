#!/usr/bin/python3
"""Takes the help page's pictures (resources/help/22101.png ... 22131.png) from the running viewer.

    tools/help-pictures/take-help-pictures.py [--only event,continuous,image] [OUTPUT_FOLDER]

The output folder is resources/help by default; --only takes the pictures of some scenes.

The viewer runs under Wine inside Wine's desktop window on a virtual display of its own (Xvfb),
from a copy of the generated sample card that Wine sees as a drive of its own (E: unless that
letter is taken), with SCENOVA.exe on the card the way the card restore puts it there: so
captions and dialogs show the card as a driver sees it, never a folder of this machine. It is
driven as a user would drive it, with keys and clicks through xdotool, and every step waits for
what the screen or the window list shows, within a generous deadline, never for a fixed time.

Each picture is cut to its control: the controls are found among the viewer's windows by what
they are (window class, control id, caption, order among their siblings, column), listed by
`scenova-probe windows`, never by fixed screen positions, so the pictures follow any change of
the skin or the layout. A control that the build does not have yet leaves its picture as it
was, and the script says which.

Needs a built tree (scripts/build) and Debian's xvfb, xdotool, imagemagick and python3-pil.
SCENOVA_BUILD_DIR chooses another build tree, as for the other scripts.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("SCENOVA_BUILD_DIR", os.path.join(TOP, "build"))
WINE = os.path.join(TOP, "scripts", "wine")
SCREEN = (1280, 800)
DESKTOP = "SCENOVA"  # the name of Wine's desktop window the viewer runs in
MARGIN = 6  # pixels of surroundings kept around a cut-out control


class Failure(Exception):
    pass


class Win:
    """One line of the window list."""

    def __init__(self, fields):
        self.depth = int(fields[0])
        self.handle = int(fields[1], 16)
        self.process = int(fields[2])
        self.cls = fields[3]
        self.id = int(fields[4])
        self.enabled = fields[5] == "1"
        self.visible = fields[6] == "1"
        self.rect = tuple(int(v) for v in fields[7:11])
        self.text = fields[11] if len(fields) > 11 else ""
        self.children = []
        self.parent = None

    @property
    def left(self):
        return self.rect[0]

    @property
    def top(self):
        return self.rect[1]

    @property
    def right(self):
        return self.rect[2]

    @property
    def bottom(self):
        return self.rect[3]

    @property
    def width(self):
        return self.rect[2] - self.rect[0]

    @property
    def height(self):
        return self.rect[3] - self.rect[1]

    def descendants(self):
        for child in self.children:
            yield child
            yield from child.descendants()

    def __repr__(self):
        return f"<{self.cls} id={self.id} {self.rect} {self.text!r}>"


def union(*rects):
    rects = [r.rect if isinstance(r, Win) else r for r in rects if r is not None]
    return (min(r[0] for r in rects), min(r[1] for r in rects), max(r[2] for r in rects), max(r[3] for r in rects))


def grow(rect, by=MARGIN):
    return (max(0, rect[0] - by), max(0, rect[1] - by), min(SCREEN[0], rect[2] + by), min(SCREEN[1], rect[3] + by))


class Viewer:
    """The display, the card drive and one running viewer at a time."""

    def __init__(self, out):
        self.out = out
        self.run = tempfile.mkdtemp(prefix="help-pictures-", dir=BUILD)
        self.xvfb = None
        self.viewer = None
        self.drive_link = None
        self.taken = {}
        self.missing = {}
        self.env = dict(os.environ, SCENOVA_BUILD_DIR=BUILD)

    # ---- set-up and tear-down ---------------------------------------------------------------

    def start_display(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"

    def map_card(self):
        """A copy of the sample card, with the viewer on it, as a Wine drive letter."""
        card = os.path.join(self.run, "card")
        shutil.copytree(os.path.join(BUILD, "sample-card"), card, symlinks=True)
        shutil.copy(os.path.join(BUILD, "bin", "SCENOVA.exe"), os.path.join(card, "SCENOVA.exe"))
        # The prefix exists once scripts/wine has run anything. Wine learns its drives when
        # its services start, so the drive goes in while no Wine process of the prefix runs.
        prefix = os.path.join(BUILD, "wineprefix")
        subprocess.run([WINE, "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        subprocess.run(["wineserver", "-w"], env=dict(self.env, WINEPREFIX=prefix), check=False)
        devices = os.path.join(prefix, "dosdevices")
        for letter in "efghijklmnop":
            link = os.path.join(devices, f"{letter}:")
            if not os.path.lexists(link):
                os.symlink(card, link)
                self.drive_link = link
                self.drive = letter.upper() + ":"
                return
        raise Failure("no free drive letter in the Wine prefix")

    def close(self):
        self.stop_viewer()
        if self.drive_link and os.path.islink(self.drive_link):
            os.unlink(self.drive_link)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.run, ignore_errors=True)

    # ---- looking ----------------------------------------------------------------------------

    def windows(self):
        """The visible top-level windows as trees of Win."""
        probe = os.path.join(BUILD, "bin", "scenova-probe.exe")
        listing = os.path.join(self.run, "windows.txt")
        # Into a file, not a pipe: Wine's helper processes would hold a pipe open.
        with open(listing, "wb") as output:
            subprocess.run([WINE, probe, "--desktop", DESKTOP, "windows"], env=self.env, stdin=subprocess.DEVNULL, stdout=output,
                           stderr=subprocess.DEVNULL, check=False, timeout=120)
        with open(listing, "rb") as output:
            text = output.read().decode("utf-8", "replace")
        tops, stack = [], []
        for line in text.splitlines():
            fields = line.split("\t")
            if len(fields) < 11 or not fields[0].isdigit():
                continue
            win = Win(fields)
            del stack[win.depth:]
            if win.depth == 0:
                tops.append(win)
            elif stack:
                win.parent = stack[-1]
                stack[-1].children.append(win)
            stack.append(win)
        return tops

    def screen(self):
        path = os.path.join(self.run, "screen.png")
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with Image.open(path) as image:
            return image.convert("RGB")

    def wait(self, seconds, what, condition):
        """Polls condition() until it returns something true; returns that."""
        deadline = time.monotonic() + seconds
        while True:
            result = condition()
            if result:
                return result
            if time.monotonic() > deadline:
                self.screen().save(os.path.join(BUILD, "help-pictures-failure.png"))
                raise Failure(f"{what} (the screen is in {BUILD}/help-pictures-failure.png)")
            time.sleep(0.3)

    def still_screen(self, seconds=60):
        """Waits until two looks in a row are the same, and returns that screen."""
        previous = [None]

        def same():
            now = self.screen()
            if previous[0] is not None and ImageChops.difference(previous[0], now).getbbox() is None:
                return now
            previous[0] = now
            return None

        return self.wait(seconds, "the screen never came to rest", same)

    def top_window(self, cls=None, text=None, process=None):
        for win in self.windows():
            if cls is not None and win.cls != cls:
                continue
            if text is not None and win.text != text:
                continue
            if process is not None and win.process != process:
                continue
            return win
        return None

    def main_window(self):
        return self.top_window(cls="MainWindow")

    # ---- acting -----------------------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=False)

    def x_window(self, title):
        """The X window of a Wine top-level window with this exact title."""
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(title)}$"], env=self.env,
                                capture_output=True, check=False)
        found = result.stdout.split()
        return found[0].decode() if found else None

    def keys(self, title, *keys):
        window = self.wait(30, f"no window \"{title}\" to type into", lambda: self.x_window(title))
        self.keys_to(window, *keys)

    def keys_to(self, window, *keys):
        for key in keys:
            self.xdotool("key", "--window", window, key)

    def type_text(self, title, text):
        window = self.wait(30, f"no window \"{title}\" to type into", lambda: self.x_window(title))
        self.xdotool("type", "--window", window, "--delay", "60", text)

    def click(self, win, button=1):
        x, y = (win.left + win.right) // 2, (win.top + win.bottom) // 2
        self.xdotool("mousemove", str(x), str(y))
        self.xdotool("click", str(button))

    def press_hold(self, win, seconds_until):
        """Presses the mouse button on win and holds it until seconds_until() says so."""
        x, y = (win.left + win.right) // 2, (win.top + win.bottom) // 2
        self.xdotool("mousemove", str(x), str(y))
        self.xdotool("mousedown", "1")
        try:
            seconds_until()
        finally:
            self.xdotool("mouseup", "1")

    def park_mouse(self):
        """Out of the way, so that no control shows its hover look or a tool tip."""
        self.xdotool("mousemove", str(SCREEN[0] - 1), str(SCREEN[1] - 1))

    # ---- the viewer -------------------------------------------------------------------------

    def start_viewer(self):
        self.stop_viewer()
        self.viewer = subprocess.Popen(
            [WINE, "explorer", f"/desktop={DESKTOP},{SCREEN[0]}x{SCREEN[1]}", f"{self.drive}\\SCENOVA.exe"],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main = self.wait(90, "the main window did not appear", self.main_window)
        self.process = main.process
        # Its X window stays the same while its caption changes with the record.
        self.main_x = self.wait(30, "the main window does not take keys", lambda: self.x_window("SCENOVA"))
        return main

    def stop_viewer(self):
        if self.viewer is None:
            return
        main = self.main_window()
        if main is not None:
            self.keys_to_main("alt+f", "x")
            question = self.wait_for_top(20, "確認", required=False)
            if question is not None:
                self.keys("確認", "Return")
        try:
            self.viewer.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.viewer.kill()
            self.viewer.wait()
        self.viewer = None

    def keys_to_main(self, *keys):
        self.keys_to(self.main_x, *keys)

    def wait_for_top(self, seconds, text=None, cls=None, required=True, new_since=()):
        def found():
            for win in self.windows():
                if win.process != self.process or win.handle in new_since:
                    continue
                if text is not None and win.text != text:
                    continue
                if cls is not None and win.cls != cls:
                    continue
                return win
            return None

        if required:
            return self.wait(seconds, f"no window {text or cls}", found)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            win = found()
            if win:
                return win
            time.sleep(0.3)
        return None

    def open_folder(self, kind, folder, mode_name):
        """ファイル → 開く..., the record's folder chosen in the folder dialog."""
        known = {w.handle for w in self.windows()}
        dialog = None
        for _ in range(6):
            self.keys_to_main("alt+f", "o")
            dialog = self.wait_for_top(10, cls="#32770", required=False, new_since=known)
            if dialog:
                break
            self.keys_to_main("Escape")
        if not dialog:
            raise Failure("the folder dialog did not appear")
        self.still_screen()
        # From the kind list back to the folder tree; there the card's drive, then down the
        # tree by typing each name (the tree finds an item by its first letters). Wine's
        # browser opens the tree at a drive's root without selecting it, so the drive is
        # typed too ("(E" for the item "(E:)"); where it is selected already, that finds
        # nothing and changes nothing.
        for _ in range(3):
            self.keys(dialog.text, "shift+Tab")
        self.type_text(dialog.text, "(" + self.drive[0].lower())
        for part in (kind, folder):
            time.sleep(0.6)  # the tree's type-ahead ends after a pause between letters
            self.keys(dialog.text, "Right")
            self.type_text(dialog.text, part)
        time.sleep(0.6)
        return dialog

    def confirm_folder(self, dialog, kind, folder, mode_name):
        self.keys(dialog.text, "Return")
        caption = f"{mode_name} {self.drive}\\{kind}\\{folder} - SCENOVA"

        def captioned():
            main = self.main_window()
            return main is not None and main.text == caption

        self.wait(60, f"the caption never became \"{caption}\"", captioned)

    # ---- pictures ---------------------------------------------------------------------------

    def save(self, picture_id, screen, rect, what):
        rect = (max(0, rect[0]), max(0, rect[1]), min(screen.width, rect[2]), min(screen.height, rect[3]))
        if rect[2] - rect[0] < 4 or rect[3] - rect[1] < 4:
            self.missing[picture_id] = f"{what}: nothing to cut ({rect})"
            return
        path = os.path.join(self.out, f"{picture_id}.png")
        screen.crop(rect).save(path, optimize=True)
        self.taken[picture_id] = what
        print(f"help-pictures: {picture_id}.png  {what}  {rect[2] - rect[0]}x{rect[3] - rect[1]}", flush=True)

    def lacks(self, picture_id, what):
        self.missing[picture_id] = what
        print(f"help-pictures: {picture_id}.png  lacks its control: {what}", flush=True)


# ---- the main window's panels, found by their columns ---------------------------------------

class Panels:
    """The main window's child windows sorted into the places of the layout: a left and a
    right column beside the picture, the picture with the console under it, and a strip
    across the whole width at the bottom."""

    def __init__(self, main):
        children = [c for c in main.children if c.visible and c.width > 0 and c.height > 0]
        self.main = main
        left_edge = min(c.left for c in children)
        right_edge = max(c.right for c in children)
        full = right_edge - left_edge
        self.strip = [c for c in children if c.width >= full - 4]
        rest = [c for c in children if c not in self.strip]
        side = min(c.width for c in rest)
        self.left = sorted((c for c in rest if c.left < left_edge + side // 2), key=lambda c: c.top)
        self.right = sorted((c for c in rest if c.right > right_edge - side // 2), key=lambda c: c.top)
        self.middle = sorted((c for c in rest if c not in self.left and c not in self.right), key=lambda c: c.top)

    def analog_meter(self):
        return self.left[0] if self.left else None

    def info(self):
        return self.left[1] if len(self.left) > 1 else None

    def circle(self):
        return self.left[2] if len(self.left) > 2 else None

    def digital_meter(self):
        return self.right[0] if self.right else None

    def config(self):
        return self.right[-1] if len(self.right) > 1 else None

    def stopwatch(self):
        return self.right[1] if len(self.right) > 2 else None

    def picture(self):
        return self.middle[0] if self.middle else None

    def console(self):
        return self.middle[1] if len(self.middle) > 1 else None

    def bottom_strip(self):
        """The line chart: the strip that holds no list of thumbnails."""
        charts = [c for c in self.strip if not any(w.cls == "SysListView32" for w in c.descendants())]
        return charts[0] if charts else None

    def thumbnail_strip(self):
        strips = [c for c in self.strip if any(w.cls == "SysListView32" for w in c.descendants())]
        return strips[0] if strips else None


def cursor_column(shot):
    """The rightmost column of the line chart showing its yellow cursor, or None."""
    for x in range(shot.width - 1, -1, -1):
        if any(shot.getpixel((x, y)) == (255, 255, 0) for y in range(0, shot.height, 3)):
            return x
    return None


# The console's controls in the order the console makes them.
CONSOLE_ORDER = ["play", "stop", "previous record", "next record", "step back", "step forward", "next chapter",
                 "previous chapter", "position bar", "volume bar", "brightness bar", "volume reset",
                 "brightness reset"]
# The stopwatch's buttons in the order it makes them.
STOPWATCH_ORDER = ["START/STOP", "LAP/RESET", "LAP LIST", "undo"]


def named_children(panel, names):
    if panel is None or len(panel.children) < len(names):
        return {}
    return dict(zip(names, panel.children))


def event_mode(v):
    main = v.start_viewer()
    v.park_mouse()
    main_screen = v.still_screen()
    # ファイル menu and 設定 menu, with the window under them.
    for picture_id, keys, what in ((22102, ("alt+f",), "ファイル menu"), (22127, ("alt+s",), "設定 menu")):
        known = {w.handle for w in v.windows()}
        v.keys_to_main(*keys)
        menu = v.wait_for_top(20, cls="#32768", new_since=known)
        shown = v.still_screen()
        main = v.main_window()
        # The menu with the window's corner and its menu bar beside it.
        right = max(menu.right, min(main.right, menu.left + 2 * menu.width))
        v.save(picture_id, shown, grow((main.left, main.top, right, menu.bottom)), what)
        v.keys_to_main("Escape", "Escape")
        v.wait(20, "the menu did not close", lambda: v.top_window(cls="#32768") is None)

    dialog = v.open_folder("EVENT", "EVT00003", "イベント記録表示モード")
    v.save(22103, v.still_screen(), grow(dialog.rect, 0), "folder dialog")
    v.confirm_folder(dialog, "EVENT", "EVT00003", "イベント記録表示モード")

    # The protected swerve, a few seconds after its event: the line chart's cursor past the
    # red event line, the circle with its trace, the protect icon in the info panel. Paused
    # there, so that every picture shows the same moment.
    main = v.main_window()
    panels = Panels(main)
    controls = named_children(panels.console(), CONSOLE_ORDER)

    def past_event():
        strip = panels.bottom_strip()
        if strip is None:
            return True
        shot = v.screen().crop(strip.rect)
        red = yellow = None
        for x in range(shot.width):
            column = [shot.getpixel((x, y)) for y in range(0, shot.height, 3)]
            if red is None and (255, 0, 0) in column:
                red = x
            if (255, 255, 0) in column:
                yellow = x
        return red is not None and yellow is not None and yellow > red + 3 * shot.width // 30

    v.wait(120, "the record never got past its event", past_event)
    if "play" in controls:
        v.click(controls["play"])  # pause
    v.park_mouse()
    # Without the console the record plays to its end and comes to rest on its first frame.
    shown = v.still_screen(120)
    main = v.main_window()
    panels = Panels(main)
    controls = named_children(panels.console(), CONSOLE_ORDER)
    v.save(22101, shown, main.rect, "main window, event record")
    for picture_id, panel, what in ((22104, panels.analog_meter(), "analog speed meter"),
                                    (22105, panels.info(), "info panel"),
                                    (22106, panels.circle(), "G circle chart"),
                                    (22107, panels.digital_meter(), "digital speed meter"),
                                    (22109, panels.config(), "open-folder panel"),
                                    (22110, panels.picture(), "picture"),
                                    (22111, panels.console(), "console"),
                                    (22121, panels.bottom_strip(), "line chart")):
        if panel is None:
            v.lacks(picture_id, f"{what}: no such window")
        else:
            v.save(picture_id, shown, panel.rect, what)
    if controls:
        console = panels.console()
        bar = controls["position bar"]
        for picture_id, parts, what in ((22112, ("play",), "play/pause button"),
                                        (22113, ("stop",), "stop button"),
                                        (22114, ("previous record", "next record"), "previous/next record"),
                                        (22115, ("step back", "step forward"), "step back/forward"),
                                        (22117, ("position bar",), "position bar"),
                                        (22119, ("volume reset", "volume bar"), "volume"),
                                        (22120, ("brightness reset", "brightness bar"), "brightness")):
            v.save(picture_id, shown, grow(union(*(controls[p] for p in parts))), what)
        # The seconds-from-event read-out is drawn by the console itself, right of the bar.
        v.save(22118, shown, (bar.right, console.top, console.right, bar.bottom + MARGIN), "seconds from event")
    else:
        for picture_id in (22112, 22113, 22114, 22115, 22117, 22118, 22119, 22120):
            v.lacks(picture_id, "the console has no controls in this build")

    # The dialogs of the menus, each cancelled again.
    about = open_from_menu(v, ("alt+h", "a"), text="バージョン情報")
    v.save(22130, v.still_screen(), about.rect, "About box")
    v.keys("バージョン情報", "Escape")
    v.wait(20, "the About box did not close", lambda: v.top_window(text="バージョン情報") is None)

    settings_dialog(v, 22128, ("alt+s", "s"), "本体設定")
    settings_dialog(v, 22129, ("alt+s", "c"), "日時設定")

    v.keys_to_main("alt+f", "x")
    question = v.wait_for_top(20, "確認")
    v.save(22131, v.still_screen(), question.rect, "exit question")
    v.keys("確認", "Escape")
    v.wait(20, "the question did not close", lambda: v.top_window(text="確認") is None)


def open_from_menu(v, keys, text=None, cls=None, seconds=30):
    known = {w.handle for w in v.windows()}
    v.keys_to_main(*keys)
    return v.wait_for_top(seconds, text=text, cls=cls, new_since=known)


def settings_dialog(v, picture_id, keys, title):
    """A settings dialog of the 設定 menu on the card's drive, cancelled again. On its way
    come the drive dialog and perhaps a message box (another copy holds the dialogs, the
    card's settings cannot be read): the drive dialog gets the card's drive, a message box
    its default button."""
    known = {w.handle for w in v.windows()}
    v.keys_to_main(*keys)

    def new_windows():
        return [w for w in v.windows() if w.process == v.process and w.handle not in known and w.cls == "#32770"]

    def answer(win):
        known.add(win.handle)
        v.still_screen()
        if any(w.cls == "SysTreeView32" for w in win.descendants()):
            v.type_text(win.text, "(" + v.drive[0].lower())  # the item "(E:)", as in the folder dialog
            time.sleep(0.6)
        v.keys(win.text, "Return")
        v.wait(30, f"\"{win.text}\" did not close", lambda: win.handle not in {w.handle for w in v.windows()})

    if not v.wait_for_top(20, cls="#32770", new_since=known, required=False):
        v.lacks(picture_id, f"{title}: the menu command opens nothing in this build")
        return
    dialog = None
    for _ in range(6):
        shown = new_windows()
        others = [w for w in shown if w.text != title]
        if others:
            answer(others[0])
            continue
        dialog = next((w for w in shown if w.text == title), None)
        v.still_screen()
        if dialog is not None and not [w for w in new_windows() if w.text != title]:
            break
    if dialog is None:
        v.lacks(picture_id, f"{title}: the dialog did not open")
        return
    v.save(picture_id, v.still_screen(), dialog.rect, f"{title} dialog")
    v.keys(title, "Escape")
    v.wait(20, f"{title} did not close", lambda: v.top_window(text=title) is None)


def continuous_mode(v):
    v.start_viewer()
    v.park_mouse()
    dialog = v.open_folder("CONTINUE", "CNT00001", "連続記録表示モード")
    v.confirm_folder(dialog, "CONTINUE", "CNT00001", "連続記録表示モード")
    main = v.main_window()
    panels = Panels(main)
    controls = named_children(panels.console(), CONSOLE_ORDER)
    buttons = named_children(panels.stopwatch(), STOPWATCH_ORDER)

    strip = panels.bottom_strip()

    def played_past(fraction):
        """The line chart's cursor lies past that fraction of the chapter."""
        if strip is None:
            return True
        cursor = cursor_column(v.screen().crop(strip.rect))
        return cursor is not None and cursor > strip.width * fraction

    # START a little into the chapter, three laps further on, then on to the picture.
    if buttons:
        for fraction, button in ((0.1, "START/STOP"), (0.2, "LAP/RESET"), (0.3, "LAP/RESET"), (0.4, "LAP/RESET")):
            v.wait(180, f"the chapter never played past {fraction:.0%}", lambda: played_past(fraction))
            v.click(buttons[button])
    v.wait(180, "the chapter never played past 45%", lambda: played_past(0.45))
    if "play" in controls:
        v.click(controls["play"])  # pause
        v.park_mouse()
        shown = v.still_screen()
    else:
        shown = v.screen()  # nothing pauses a build without the console
    main = v.main_window()
    panels = Panels(main)
    controls = named_children(panels.console(), CONSOLE_ORDER)
    v.save(22125, shown, main.rect, "main window, continuous record")
    if controls:
        v.save(22116, shown, grow(union(controls["previous chapter"], controls["next chapter"])), "chapter buttons")
    else:
        v.lacks(22116, "the console has no controls in this build")
    if panels.stopwatch() is None:
        v.lacks(22108, "no stopwatch in this build")
        v.lacks(22126, "no stopwatch in this build")
        return
    v.save(22108, shown, panels.stopwatch().rect, "stopwatch")
    buttons = named_children(panels.stopwatch(), STOPWATCH_ORDER)
    known = {w.handle for w in v.windows()}
    v.click(buttons["LAP LIST"])
    laps = v.wait_for_top(30, text="LAP LIST", new_since=known)
    v.park_mouse()
    v.save(22126, v.still_screen(), laps.rect, "LAP LIST")


def image_mode(v):
    v.start_viewer()
    v.park_mouse()
    dialog = v.open_folder("IMAGE", "IMG00001", "画像記録表示モード")
    v.confirm_folder(dialog, "IMAGE", "IMG00001", "画像記録表示モード")
    shown = v.still_screen(120)
    main = v.main_window()
    panels = Panels(main)
    strip = panels.thumbnail_strip()
    lists = [w for w in (strip.descendants() if strip else []) if w.cls == "SysListView32"]
    if lists:
        # A later thumbnail chosen, so the strip shows its frame away from the first.
        items = lists[0]
        v.xdotool("mousemove", str(items.left + items.width * 3 // 8), str((items.top + items.bottom) // 2))
        v.xdotool("click", "1")
        v.park_mouse()
        shown = v.still_screen(120)
        main = v.main_window()
        panels = Panels(main)
        strip = panels.thumbnail_strip()
    v.save(22122, shown, main.rect, "main window, image records")
    if lists:
        v.save(22123, shown, strip.rect, "thumbnail strip")
    else:
        # The best there is: the row the strip takes, under the picture and the columns.
        row_top = max(c.bottom for c in panels.left + panels.right + panels.middle)
        v.save(22123, shown, (main.left, row_top, main.right, main.bottom), "the thumbnail strip's empty row")
        v.lacks(22123, "no thumbnail strip in this build: its empty row instead")
    # The picture's context menu.
    picture = panels.picture()
    x, y = picture.left + picture.width // 3, picture.top + picture.height // 3
    known = {w.handle for w in v.windows()}
    v.xdotool("mousemove", str(x), str(y))
    v.xdotool("click", "3")
    menu = v.wait_for_top(20, cls="#32768", new_since=known)
    shown = v.still_screen()
    v.save(22124, shown, (x - 60, y - 40, menu.right + 60, menu.bottom + 40), "copy menu")
    v.xdotool("key", "Escape")
    v.wait(20, "the context menu did not close", lambda: v.top_window(cls="#32768") is None)


SCENES = {"event": event_mode, "continuous": continuous_mode, "image": image_mode}


def main():
    args = sys.argv[1:]
    scenes = list(SCENES.values())
    if len(args) >= 2 and args[0] == "--only":
        scenes = [SCENES[name] for name in args[1].split(",")]
        args = args[2:]
    out = os.path.abspath(args[0] if args else os.path.join(TOP, "resources", "help"))
    os.makedirs(out, exist_ok=True)
    for needed in ("bin/SCENOVA.exe", "bin/scenova-probe.exe", "sample-card/EVENT/EVT00003"):
        if not os.path.exists(os.path.join(BUILD, needed)):
            sys.exit(f"help-pictures: {BUILD}/{needed} is not built (scripts/build)")
    for tool in ("Xvfb", "xdotool", "import"):
        if shutil.which(tool) is None:
            sys.exit(f"help-pictures: {tool} is missing (apt-get install xvfb xdotool imagemagick)")
    v = Viewer(out)
    try:
        v.start_display()
        v.map_card()
        for scene in scenes:
            scene(v)
            v.stop_viewer()
    except Failure as failure:
        sys.exit(f"help-pictures: {failure}")
    finally:
        v.close()
    for picture_id in sorted(v.missing):
        print(f"help-pictures: {picture_id}.png still lacks its control: {v.missing[picture_id]}")


if __name__ == "__main__":
    main()
