"""Drives the real vornick.exe under Wine the way a person would, and reads what a person would see.

Runs inside the environment that scripts/test or scripts/e2e make (WINEPREFIX, HOME, DISPLAY with
openbox). Two ways in:
  - as a person: xdotool mouse moves, clicks and keys on the real window (click_control, key, type_text);
  - as a program: probe.exe, a Win32 helper that reads and writes controls by their form names and
    posts messages (text, set_text, press, menu, close, message_box ...).

    class MyTest(VornickTestCase):
        def test_something(self):
            app = self.start_vornick()          # fresh Documents folder; window waited for
            app.set_text("X坐标1", "300")
            app.press("一键清空")
            self.assertEqual(app.wait_text("状态标签", "坐标已清空！"), "坐标已清空！")
            app.close()
            self.assertEqual(app.wait_exit(), 0)
"""

import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import screen

REPO = Path(__file__).resolve().parents[2]
BUILD_DIR = Path(os.environ.get("VORNICK_BUILD_DIR", REPO / "build" / "mingw"))
ARTIFACTS_DIR = Path(os.environ.get("VORNICK_ARTIFACTS", REPO / "build" / "e2e-artifacts"))
TITLE_PREFIX = "Vornick："
SETTINGS_FILE_NAME = "重要配置.ini"

# Generous: Wine on a shared 2-core machine can be slow; every wait polls and returns as soon as it can.
WINDOW_TIMEOUT = 60.0
PROBE_TIMEOUT = 60.0
EXIT_TIMEOUT = 30.0


class HarnessError(AssertionError):
    """The harness could not do what a test asked (no window, probe failure, time-out)."""


def exe_path():
    return Path(os.environ.get("VORNICK_EXE", BUILD_DIR / "vornick.exe"))


def helper_path(name):
    """A helper exe built from tests/e2e/helpers/NAME.cpp or bench/helpers/NAME.cpp."""
    return BUILD_DIR / f"{name}.exe"


def wait_until(condition, timeout, what, interval=0.2):
    """Polls condition() until it returns something truthy, and returns that; HarnessError after timeout s."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except HarnessError as e:  # not there yet (no window, no box): try again
            last_error = e
        if time.monotonic() >= deadline:
            detail = f" (last: {last_error})" if last_error else ""
            raise HarnessError(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


def _run(command, timeout, check=True):
    try:
        result = subprocess.run(command, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired as e:
        raise HarnessError(f"{command[0]} did not finish within {timeout} s: {command}") from e
    if check and result.returncode != 0:
        raise HarnessError(f"{command} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    return result


def xdotool(*args, timeout=30):
    """Runs xdotool on the test display; returns its stdout as text."""
    return _run(["xdotool", *map(str, args)], timeout).stdout.decode().strip()


# A person's mouse and keyboard (xdotool); coordinates are screen pixels, as the probe reports them.

def mouse_move(x, y):
    xdotool("mousemove", "--sync", x, y)


def mouse_click(button=1, repeat=1):
    """Presses and releases a button where the pointer is (held about 1 ms), repeat times 50 ms apart
    (2 makes a double click). Buttons: 1 left, 2 middle, 3 right."""
    xdotool("click", "--repeat", repeat, "--delay", 50, button)


def click_at(x, y, button=1):
    mouse_move(x, y)
    mouse_click(button)


def press_keys(*keys):
    """Key presses (xdotool names: alt+a, Escape, Return) to whichever window has the focus."""
    xdotool("key", *keys)


def find_x_windows(pid, title_regex):
    """Visible X windows of a Wine process (its Linux pid) whose title matches."""
    found = _run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", title_regex], 30, check=False)
    return found.stdout.decode().split()


def windows_path(path):
    """The Windows path under which a Wine program sees a Linux path (Z: is /)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


# ------------------------------------------------------------------------------------------ probe

class ProbeError(HarnessError):
    def __init__(self, reply):
        super().__init__(f"probe {reply['query']} {reply['args']}: {reply['error']}: {reply['message']}")
        self.error = reply["error"]  # no-window, no-control, no-msgbox, timeout, failed, usage


class Probe:
    """probe.exe with a fixed target window (see tests/e2e/helpers/probe.cpp for the queries)."""

    def __init__(self, title=TITLE_PREFIX, window_class=None, hwnd=None, form=None, timeout_ms=5000):
        self.options = []
        if hwnd is not None:
            self.options += ["--hwnd", str(hwnd)]
        elif window_class is not None:
            self.options += ["--class", window_class]
        else:
            self.options += ["--title", title]
        if form is not None:
            self.options += ["--form", form]
        self.options += ["--timeout", str(timeout_ms)]

    def replies(self, *query_words):
        """Runs the queries in one probe process; one dict per query (ok, value or error, message)."""
        probe = helper_path("probe")
        if not probe.exists():
            raise HarnessError(f"{probe} is missing: build the mingw preset")
        result = _run(["wine", str(probe), *self.options, *map(str, query_words)], PROBE_TIMEOUT, check=False)
        if result.returncode == 2:
            raise HarnessError(f"probe usage error: {result.stderr.decode(errors='replace')}")
        lines = [line for line in result.stdout.decode("utf-8").splitlines() if line.startswith("{")]
        return [json.loads(line) for line in lines]

    def value(self, *query_words):
        """The value of a single query; ProbeError when it failed."""
        (reply,) = self.replies(*query_words)
        if not reply["ok"]:
            raise ProbeError(reply)
        return reply["value"]


class TextWatch:
    """A probe waiting for a control's text (see Vornick.watch_text)."""

    def __init__(self, probe, name, expected, timeout):
        self.timeout = timeout
        command = ["wine", str(helper_path("probe")), *probe.options, "text", name, "wait-text", name, expected]
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        stdin=subprocess.DEVNULL)
        # The first answer comes when the probe has found the control; the watching starts right after it.
        if not self.process.stdout.readline():
            raise HarnessError(f"the probe watching {name} ended at once (exit code {self.process.wait()})")

    def tick(self):
        """GetTickCount() when the text showed; HarnessError when it did not show in time."""
        try:
            out, _ = self.process.communicate(timeout=self.timeout + PROBE_TIMEOUT)
        except subprocess.TimeoutExpired as e:
            self.process.kill()
            raise HarnessError("the probe watching a text did not end") from e
        reply = json.loads(out.decode("utf-8").splitlines()[-1])
        if not reply["ok"]:
            raise ProbeError(reply)
        return reply["value"]["tick"]


# ------------------------------------------------------------------------------------ programs

def _wine_user_dir():
    users = Path(os.environ["WINEPREFIX"]) / "drive_c" / "users"
    candidates = [d for d in users.iterdir() if d.name != "Public" and (d / "Documents").is_symlink()]
    if not candidates:
        raise HarnessError(f"no user folder with a Documents link in {users}")
    return candidates[0]


def point_documents_at(folder):
    """Makes the Wine user's Documents folder (CSIDL_PERSONAL) the given Linux folder."""
    link = _wine_user_dir() / "Documents"
    link.unlink()
    link.symlink_to(Path(folder).resolve(), target_is_directory=True)


class WineProgram:
    """A Windows program started under Wine, with its output in a log file."""

    def __init__(self, exe, args=(), log_path=None):
        self.exe = Path(exe)
        self.log_path = Path(log_path or ARTIFACTS_DIR / f"{self.exe.stem}.log")
        self.log_path.parent.mkdir(parents=True, exist_ok=True)
        self._log = open(self.log_path, "wb")
        # Output to a file, never a pipe: a wineserver started from here would hold a pipe open.
        self.process = subprocess.Popen(["wine", str(self.exe), *map(str, args)], stdout=self._log,
                                        stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """The program's exit code once it has ended; HarnessError if it is still running after timeout s."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired as e:
            raise HarnessError(f"{self.exe.name} still running {timeout:.0f} s later") from e

    def kill(self):
        if self.running():
            self.process.kill()
            self.process.wait(30)
        self._log.close()


class Vornick(WineProgram):
    """The real vornick.exe, with its own Documents folder (where it keeps its settings file).

    Only one Vornick at a time: the Documents folder is the Wine user's, shared by the prefix.
    """

    def __init__(self, documents, exe=None, log_path=None):
        self.documents = Path(documents)
        self.documents.mkdir(parents=True, exist_ok=True)
        point_documents_at(self.documents)
        super().__init__(exe or exe_path(), log_path=log_path)
        self.probe = Probe()
        self.x_window = None

    @property
    def settings_path(self):
        return self.documents / SETTINGS_FILE_NAME

    # -------------------------------------------------------------------- the window

    def wait_window(self, timeout=WINDOW_TIMEOUT):
        """Waits until the main window is mapped and answers the probe; returns its X window id."""
        def mapped():
            if not self.running():
                raise AssertionError(f"vornick.exe exited with {self.process.returncode} before its window appeared")
            found = find_x_windows(self.process.pid, f"^{TITLE_PREFIX}")
            return found[0] if found else None
        self.x_window = wait_until(mapped, timeout, "the main window to appear")
        wait_until(lambda: self.probe.value("window")["visible"], timeout, "the main window to answer the probe")
        # The probe finds the window by its title: a second Vornick would make that ambiguous.
        others = [w for w in self.windows(TITLE_PREFIX) if w["class"] != "#32770"]
        if len(others) != 1:
            raise HarnessError(f"{len(others)} Vornick windows are open; the tests expect one at a time: {others}")
        return self.x_window

    def window(self):
        """The main window's state: title, rect, client, visible, enabled, minimised, topmost, foreground ..."""
        return self.probe.value("window")

    def x_geometry(self):
        """(left, top, width, height) of the X window (the client and menu bar, without the frame), from xwininfo."""
        out = _run(["xwininfo", "-id", self.x_window], 30).stdout.decode()
        fields = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def frame_box(self):
        """(left, top, right, bottom) of the window with its window-manager frame, on the screen."""
        left, top, width, height = self.x_geometry()
        extents = _run(["xprop", "-id", self.x_window, "_NET_FRAME_EXTENTS"], 30, check=False).stdout.decode()
        try:
            frame_left, frame_right, frame_top, frame_bottom = (int(v) for v in extents.split("=")[1].split(","))
        except (IndexError, ValueError):
            frame_left = frame_right = frame_top = frame_bottom = 0
        return (left - frame_left, top - frame_top, left + width + frame_right, top + height + frame_bottom)

    # -------------------------------------------------------------------- controls, by form name

    def text(self, name):
        return self.probe.value("text", name)

    def set_text(self, name, text):
        self.probe.value("set-text", name, text)

    def set_texts(self, texts):
        """Sets several texts ({name: text}) in one probe run."""
        replies = self.probe.replies(*[w for name, text in texts.items() for w in ("set-text", name, text)])
        for reply in replies:
            if not reply["ok"]:
                raise ProbeError(reply)

    def checked(self, name):
        return self.probe.value("checked", name)

    def selected(self, name):
        return self.probe.value("selected", name)

    def select(self, name, index):
        self.probe.value("select", name, index)

    def visible(self, name):
        return self.probe.value("visible", name) == 1

    def enabled(self, name):
        return self.probe.value("enabled", name) == 1

    def rect(self, name):
        """[left, top, right, bottom] of a control on the screen."""
        return self.probe.value("rect", name)

    def control(self, name):
        return self.probe.value("control", name)

    def texts(self, *names):
        """Several texts read in one probe run: {name: text}."""
        replies = self.probe.replies(*[w for name in names for w in ("text", name)])
        for reply in replies:
            if not reply["ok"]:
                raise ProbeError(reply)
        return {name: reply["value"] for name, reply in zip(names, replies)}

    def wait_text(self, name, expected, timeout=PROBE_TIMEOUT):
        """Waits until the control shows expected (a string, or a predicate on the text); returns the text."""
        matches = expected if callable(expected) else (lambda text: text == expected)
        last = []

        def shown():
            last[:] = [self.text(name)]
            return matches(last[0])
        try:
            wait_until(shown, timeout, f"{name} to show {expected!r}")
        except HarnessError as e:
            raise HarnessError(f"{e}; it shows {last[0] if last else None!r}") from None
        return last[0]

    def watch_text(self, name, expected, timeout=PROBE_TIMEOUT):
        """Starts a probe that looks at the control every millisecond until it shows expected, and returns
        once it is looking; the watch's tick() is GetTickCount() when the text showed, the clock of the
        click target's message_time."""
        return TextWatch(Probe(timeout_ms=int(timeout * 1000)), name, expected, timeout)

    # -------------------------------------------------------------------- acting

    def press(self, name):
        """Clicks a button or check box by message (BM_CLICK, posted: returns at once, even during a run)."""
        self.probe.value("click", name)

    def menu(self, caption):
        """Chooses a menu item by its caption (WM_COMMAND with the item's ID, posted)."""
        self.probe.value("menu", caption)

    def activate(self):
        """Gives the main window the focus, as clicking its title bar would."""
        xdotool("windowactivate", "--sync", self.x_window)

    def click_control(self, name, button=1):
        """A real mouse click in the middle of a control."""
        left, top, right, bottom = self.rect(name)
        click_at((left + right) // 2, (top + bottom) // 2, button)

    def type_into(self, name, text):
        """Clicks into an edit box, selects what it holds and types text over it (ASCII), as a person would."""
        self.click_control(name)
        press_keys("End", "shift+Home")
        self.type_text(text)
        self.wait_text(name, text)

    def key(self, *keys, activate=True):
        """Real key presses (xdotool names: alt+a, Escape, Return), by default with the main window focused
        first; activate=False sends them to whichever window has the focus (say, during a minimised run)."""
        if activate:
            self.activate()
        press_keys(*keys)

    def type_text(self, text):
        """Types ASCII text into the focused control."""
        xdotool("type", "--delay", 20, text)

    # -------------------------------------------------------------------- other windows

    def windows(self, title_prefix=""):
        """Visible top-level windows (of any program) whose title starts with the prefix."""
        return self.probe.value("windows", title_prefix)

    def other_windows(self):
        """Vornick's visible top-level windows other than the main one (an overlay, a message box ...);
        read or drive one with Probe(hwnd=w["hwnd"])."""
        main = self.window()
        return [w for w in self.windows("") if w["pid"] == main["pid"] and w["hwnd"] != main["hwnd"]]

    def message_box(self, title, timeout=PROBE_TIMEOUT):
        """Waits for the message box with this title; returns {hwnd, title, text, buttons, owner}."""
        return wait_until(lambda: self.probe.value("msgbox", title), timeout, f"message box {title!r}")

    def no_message_box(self, title):
        try:
            self.probe.value("msgbox", title)
        except ProbeError as e:
            if e.error == "no-msgbox":
                return True
            raise
        return False

    def press_ok(self, title):
        """Presses OK on the message box with this title and waits until it is gone."""
        self.probe.value("msgbox-ok", title)
        wait_until(lambda: self.no_message_box(title), PROBE_TIMEOUT, f"message box {title!r} to close")

    # -------------------------------------------------------------------- closing

    def close(self):
        """Closes the main window with WM_CLOSE, as the close box would."""
        self.probe.value("close")

    def close_with_alt_f4(self):
        """Closes the main window the way a person at the keyboard would (openbox's Alt+F4)."""
        self.key("alt+F4")

    # -------------------------------------------------------------------- screenshots

    def screenshot(self, path, region="window"):
        """Saves a PNG of the window with its frame ("window"), its client area ("client") or the screen."""
        box = {"window": self.frame_box, "client": lambda: self.window()["client"], "screen": lambda: None}[region]()
        return screen.capture(path, box)


class ClickTarget(WineProgram):
    """tests/e2e/helpers/click_target.exe: a frameless window at box = (left, top, width, height) on the
    screen that records every mouse button message it gets. Keep it clear of Vornick's window."""

    TITLE = "Vornick click target"

    def __init__(self, events_path, box=(10, 10, 360, 360), log_path=None):
        self.events_path = Path(events_path)
        self.box = box
        super().__init__(helper_path("click_target"), [windows_path(self.events_path), *box], log_path=log_path)

    def wait_window(self, timeout=WINDOW_TIMEOUT):
        def shown():
            if not self.running():
                raise AssertionError(f"click_target.exe exited with {self.process.returncode}; see {self.log_path}")
            return find_x_windows(self.process.pid, f"^{self.TITLE}$")
        self.x_window = wait_until(shown, timeout, "the click target's window")[0]
        return self.x_window

    def focus(self):
        """Gives the target the keyboard focus. Keys reach Wine (and Vornick's Alt+A) only while a Wine window
        has the X focus, and with Vornick minimised openbox may leave the focus on a window of its own."""
        xdotool("windowfocus", "--sync", self.x_window)

    def point(self, x, y):
        """Screen coordinates of a point given relative to the target's top-left corner."""
        return self.box[0] + x, self.box[1] + y

    def events(self):
        """Every button message so far: dicts with t_ms, event (down, up, dblclk), button (left, right,
        middle), x, y (client), screen_x, screen_y, message_time (the tick count when the input was made)."""
        if not self.events_path.exists():
            return []
        lines = self.events_path.read_text().splitlines()
        return [json.loads(line) for line in lines if line.endswith("}")]

    def presses(self, button=None):
        """The presses: downs and the double-click messages that stand for the second press of a pair."""
        return [e for e in self.events()
                if e["event"] in ("down", "dblclk") and (button is None or e["button"] == button)]

    def wait_received(self, timeout=PROBE_TIMEOUT):
        """Returns once every click made so far has been recorded: a middle click of ours into the target's
        corner queues up behind any still on their way, so when it shows, they have too. Leave the middle
        button out when counting."""
        markers = len(self.presses("middle"))
        click_at(*self.point(2, 2), button=2)
        wait_until(lambda: len(self.presses("middle")) > markers, timeout, "the middle click to arrive")

    def wait_presses(self, count, timeout=PROBE_TIMEOUT):
        """Waits until at least count presses have arrived; returns them."""
        return wait_until(lambda: len(self.presses()) >= count and self.presses(), timeout, f"{count} presses")


# ------------------------------------------------------------------------------------ test case

class WineTestCase(unittest.TestCase):
    """A test in the Wine environment: an artifacts folder (build/e2e-artifacts/<test>/) and a scratch
    folder per test; every program it starts is stopped after it."""

    def setUp(self):
        for variable in ("WINEPREFIX", "DISPLAY"):
            if not os.environ.get(variable):
                self.fail(f"{variable} is not set: run the end-to-end tests through scripts/e2e or scripts/test")
        self.artifacts = ARTIFACTS_DIR / self.id().split(".", 1)[-1]
        shutil.rmtree(self.artifacts, ignore_errors=True)
        self.artifacts.mkdir(parents=True)
        self.work_dir = Path(tempfile.mkdtemp(prefix="e2e-", dir=os.environ.get("WINE_ENV_ROOT")))
        self.addCleanup(shutil.rmtree, self.work_dir, True)

    def start_helper(self, name, *args):
        """Starts a helper exe (tests/e2e/helpers/NAME.cpp) under Wine."""
        program = WineProgram(helper_path(name), args, log_path=self.artifacts / f"{name}.log")
        self.addCleanup(self._stop, program)
        return program

    def start_click_target(self, box=(10, 10, 360, 360)):
        """Starts a click target (see ClickTarget) and waits for its window."""
        target = ClickTarget(self.work_dir / "clicks.jsonl", box, log_path=self.artifacts / "click_target.log")
        self.addCleanup(self._stop, target)
        target.wait_window()
        return target

    @staticmethod
    def _stop(program):
        if program.running() and isinstance(program, Vornick):
            try:
                program.close()
                program.wait_exit(10)
            except HarnessError:
                pass
        program.kill()


class VornickTestCase(WineTestCase):
    """A test of the real vornick.exe. Skips when it has not been built, unless VORNICK_E2E_REQUIRE_EXE=1
    (scripts/test sets it once the program has an entry point), then fails."""

    def setUp(self):
        super().setUp()
        if not exe_path().exists():
            message = f"{exe_path()} has not been built"
            if os.environ.get("VORNICK_E2E_REQUIRE_EXE") == "1":
                self.fail(message)
            self.skipTest(message)

    def start_vornick(self, settings=None, wait=True):
        """Starts vornick.exe with an empty Documents folder (or one holding `settings`, the file's bytes)
        and waits for its window."""
        documents = Path(tempfile.mkdtemp(prefix="documents-", dir=self.work_dir))
        if settings is not None:
            (documents / SETTINGS_FILE_NAME).write_bytes(settings)
        app = Vornick(documents, log_path=self.artifacts / "vornick.log")
        self.addCleanup(self._stop, app)
        if wait:
            app.wait_window()
        return app
