"""Drives the real quirtel program as a user would, on the X server that
run_e2e.sh prepares: keys typed with xdotool on the Spanish layout, captions
read from the window manager's view of the windows, dialog texts read through
the accessibility bus, the clipboard through xclip.

Every wait polls for what it expects and fails with what it saw last; nothing
sleeps for a fixed time.
"""

import os
import resource
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unicodedata
import unittest

import pyatspi
from gi.repository import GLib

BINARY = os.environ.get("QUIRTEL_E2E_BINARY", "")
DATOS = os.environ.get("QUIRTEL_E2E_DATOS", "")
WORK = os.environ.get("QUIRTEL_E2E_WORK", "")

TIMEOUT = 10.0  # seconds for any one wait
POLL = 0.05
KEY_DELAY_MS = 25

PROMPT_10 = ("Empieza a escribir cuando quieras... (tiempo total 10:00 minutos) "
             "F2 para acabar y ESC para abortar - Quirtel")


def prompt_caption(minutes):
    """The caption of a test made ready with a length of `minutes`."""
    return ("Empieza a escribir cuando quieras... (tiempo total %02d:00 minutos) "
            "F2 para acabar y ESC para abortar - Quirtel" % minutes)


class WaitTimeout(AssertionError):
    pass


def poll(probe, what, timeout=TIMEOUT):
    """Calls probe() until it returns something true and returns that.
    probe may return (done, seen) to report what it saw on failure, and
    must for an accessible object, which is false when it has no children."""
    deadline = time.monotonic() + timeout
    seen = None
    while True:
        result = probe()
        if isinstance(result, tuple) and len(result) == 2 and isinstance(result[0], bool):
            done, seen = result
            if done:
                return seen
        else:
            seen = result
            if result:
                return result
        if time.monotonic() >= deadline:
            raise WaitTimeout("waited %.1f s for %s; last seen: %r" % (timeout, what, seen))
        _pump_events()
        time.sleep(POLL)


def _pump_events():
    # Lets the accessibility library take in the signals it has received.
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def run(argv, timeout=10, check=True):
    """Runs a short command and returns its standard output as text."""
    done = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=timeout)
    if check and done.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(argv), done.returncode,
                                                   done.stderr.decode(errors="replace")))
    return done.stdout.decode("utf-8", errors="replace")


def xdotool(*args, timeout=10, check=True):
    return run(["xdotool", *[str(a) for a in args]], timeout=timeout, check=check)


# ---------------------------------------------------------------------------
# Keyboard: text to the keys a person presses on a Spanish keyboard.

_SYMBOLS = {
    " ": "space", "\n": "Return", "\t": "Tab",
    "!": "exclam", "¡": "exclamdown", "?": "question", "¿": "questiondown",
    ".": "period", ",": "comma", ";": "semicolon", ":": "colon",
    "-": "minus", "_": "underscore", "'": "apostrophe", '"': "quotedbl",
    "(": "parenleft", ")": "parenright", "/": "slash", "&": "ampersand",
    "$": "dollar", "%": "percent", "+": "plus", "*": "asterisk", "=": "equal",
    "<": "less", ">": "greater", "ª": "ordfeminine", "º": "masculine",
    "ñ": "ntilde", "Ñ": "shift+ntilde", "ç": "ccedilla",
    "Ç": "shift+ccedilla",
}
_DEAD_KEYS = {"\u0301": "dead_acute", "\u0308": "dead_diaeresis",
              "\u0300": "dead_grave", "\u0302": "dead_circumflex"}


def keys_for(text):
    """The xdotool key names that type `text` on the es layout: accented
    vowels through their dead key, capitals with shift."""
    keys = []
    for ch in text:
        if ch in _SYMBOLS:
            keys.append(_SYMBOLS[ch])
            continue
        base, *marks = unicodedata.normalize("NFD", ch)
        if len(marks) > 1 or (marks and marks[0] not in _DEAD_KEYS):
            raise ValueError("no key sequence for %r" % ch)
        if marks:
            keys.append(_DEAD_KEYS[marks[0]])
        if "a" <= base <= "z" or "0" <= base <= "9":
            keys.append(base)
        elif "A" <= base <= "Z":
            keys.append("shift+" + base.lower())
        else:
            raise ValueError("no key sequence for %r" % ch)
    return keys


# ---------------------------------------------------------------------------
# Selections and pointer.

def clipboard(selection="clipboard"):
    """The text of an X selection, or None when no one owns it."""
    done = subprocess.run(["xclip", "-o", "-selection", selection, "-t", "UTF8_STRING"],
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=5)
    return done.stdout.decode("utf-8") if done.returncode == 0 else None


def set_selection(text, selection="clipboard"):
    """Makes a forked xclip own the selection with `text` and waits until the
    selection reads back. Its output goes nowhere, or this call would wait
    for the fork to end."""
    subprocess.run(["xclip", "-selection", selection, "-i"], input=text.encode("utf-8"),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=5,
                   check=True)
    poll(lambda: (clipboard(selection) == text, clipboard(selection)),
         "the %s selection to hold %r" % (selection, text))


def click(button, x, y):
    """Moves the pointer to screen position (x, y) and clicks `button`."""
    xdotool("mousemove", int(x), int(y), "click", button)


# ---------------------------------------------------------------------------
# Accessibility tree.

# This process runs no main loop, so cached names and children could lag
# behind the program: read everything from the program itself.
pyatspi.Registry.getDesktop(0).setCacheMask(pyatspi.cache.NONE)


def _children(node):
    try:
        return [c for c in node if c is not None]
    except Exception:  # an object that went away while it was read
        return []


def walk(node, depth=0, limit=40):
    """node and all its descendants, depth first."""
    yield node
    if depth < limit:
        for child in _children(node):
            yield from walk(child, depth + 1, limit)


def role_of(node):
    try:
        return node.getRole()
    except Exception:
        return None


def name_of(node):
    try:
        return node.name or ""
    except Exception:
        return ""


def states_of(node):
    try:
        return set(node.getState().getStates())
    except Exception:
        return set()


def text_of(node):
    """The whole text of a node that offers the text interface, else None."""
    try:
        text = node.queryText()
    except Exception:
        return None
    try:
        return text.getText(0, -1)
    except Exception:
        return None


def describe(node):
    """What a person sees of a window: (role name, name, text) of every
    node below it that shows something."""
    shown = []
    for n in walk(node):
        name, text = name_of(n), text_of(n)
        if name or text:
            try:
                role = n.getRoleName()
            except Exception:
                role = "?"
            shown.append((role, name, text))
    return shown


# ---------------------------------------------------------------------------
# One sandbox per test: a working folder with datos/, a config folder, logs.

class Quirtel:
    """The program in a sandbox of its own. start() may be called again after
    stop(): the working folder and the settings folder are kept."""

    def __init__(self, label):
        self.root = tempfile.mkdtemp(prefix=label + "-", dir=WORK or None)
        self.cwd = os.path.join(self.root, "run")
        self.config_home = os.path.join(self.root, "config")
        os.makedirs(self.cwd)
        os.makedirs(self.config_home)
        os.symlink(DATOS, os.path.join(self.cwd, "datos"))
        self.audio_file = os.path.join(self.root, "audio.raw")
        self.log_path = os.path.join(self.root, "quirtel.log")
        self.proc = None
        self.main = None
        self.starts = 0

    # -- life cycle ---------------------------------------------------------

    def start(self, *args, timeout=TIMEOUT, wait=True, file_size_limit=None):
        """Starts the program and waits until its main window is shown,
        active, and its text area has the keyboard focus (unless `wait` is
        false). `file_size_limit` sets the process's limit on file sizes in
        bytes, as `ulimit -f` does."""
        assert self.proc is None, "already running"
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = self.config_home
        env["SDL_AUDIODRIVER"] = "disk"
        env["SDL_DISKAUDIOFILE"] = self.audio_file
        self.starts += 1
        log = open(self.log_path, "ab")
        log.write(b"--- start %d\n" % self.starts)
        log.flush()
        self.started_at = time.monotonic()
        limit = None
        if file_size_limit is not None:
            def limit():
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size_limit, file_size_limit))
        self.proc = subprocess.Popen([BINARY, *args], cwd=self.cwd, env=env,
                                     stdin=subprocess.DEVNULL, stdout=log,
                                     stderr=subprocess.STDOUT, preexec_fn=limit)
        log.close()
        if not wait:
            return self
        self.main = self._wait(self._main_window, "the main window", timeout)
        self.activate(self.main)
        self.wait_text_area_focused(timeout)
        self.startup_seconds = time.monotonic() - self.started_at
        return self

    def stop(self, timeout=5):
        """Ends the program if it still runs (after a failed test)."""
        if self.proc is None:
            return
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout)
        self.proc = None
        self.main = None

    def wait_exit(self, timeout=TIMEOUT):
        """Waits until the program ends by itself and returns its exit code."""
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout("the program did not end within %.1f s" % timeout)
        self.proc = None
        self.main = None
        return code

    def close(self):
        self.stop()
        shutil.rmtree(self.root, ignore_errors=True)

    @property
    def pid(self):
        return self.proc.pid

    def log(self):
        try:
            with open(self.log_path, "rb") as f:
                return f.read().decode("utf-8", errors="replace")
        except OSError:
            return ""

    def _wait(self, probe, what, timeout=TIMEOUT):
        def checked():
            if self.proc is not None and self.proc.poll() is not None:
                raise AssertionError("the program ended (code %s) while waiting for %s; log:\n%s"
                                     % (self.proc.returncode, what, self.log()))
            return probe()
        try:
            return poll(checked, what, timeout)
        except WaitTimeout as e:
            raise WaitTimeout("%s\nprogram log:\n%s" % (e, self.log())) from None

    # -- windows ------------------------------------------------------------

    def windows(self):
        """{window id: caption} of the program's visible top-level windows
        (menus that are open included)."""
        out = xdotool("search", "--onlyvisible", "--pid", self.pid, check=False)
        found = {}
        for line in out.split():
            wid = int(line)
            name = xdotool("getwindowname", wid, check=False)
            found[wid] = name[:-1] if name.endswith("\n") else name
        return found

    def _main_window(self):
        # Its caption is the document title followed by the program's name.
        shown = self.windows()
        hits = [w for w, n in shown.items() if n.endswith(" - Quirtel")]
        return (True, hits[0]) if hits else (False, shown)

    def caption(self, wid=None):
        name = xdotool("getwindowname", wid or self.main)
        return name[:-1] if name.endswith("\n") else name

    def wait_caption(self, expected, timeout=TIMEOUT, wid=None):
        """Waits until the caption equals `expected` (a string), matches it
        (a compiled pattern) or satisfies it (a function); returns it."""
        if isinstance(expected, str):
            test = lambda c: c == expected
        elif isinstance(expected, re.Pattern):
            test = lambda c: expected.fullmatch(c) is not None
        else:
            test = expected

        def probe():
            c = self.caption(wid)
            return test(c), c
        return self._wait(probe, "the caption %r" % (expected,), timeout)

    def wait_window(self, title, timeout=TIMEOUT):
        """Waits for a top-level window with caption `title` (other than the
        main window) and returns its id."""
        def probe():
            shown = self.windows()
            hits = [w for w, n in shown.items() if n == title and w != self.main]
            return bool(hits), (hits[0] if hits else shown)
        return self._wait(probe, "a window %r" % title, timeout)

    def wait_window_gone(self, wid, timeout=TIMEOUT):
        self._wait(lambda: (wid not in self.windows(), self.windows()),
                   "window %s to close" % wid, timeout)

    def wait_new_window(self, known, timeout=TIMEOUT):
        """Waits for a visible window not in `known` (an open menu, say)."""
        def probe():
            new = set(self.windows()) - set(known)
            return bool(new), new
        return self._wait(probe, "a new window", timeout)

    def active_window(self):
        out = xdotool("getactivewindow", check=False).strip()
        return int(out) if out.isdigit() else None

    def activate(self, wid, timeout=TIMEOUT):
        """Makes `wid` the active window (keys go to it)."""
        def probe():
            if self.active_window() == wid:
                return True
            xdotool("windowactivate", wid, check=False)
            return False
        self._wait(probe, "window %s to become active" % wid, timeout)

    def geometry(self, wid=None):
        """Outer rectangle (x, y, width, height) of a window, frame included,
        from its client rectangle and the frame extents the window manager
        publishes."""
        wid = wid or self.main
        info = run(["xwininfo", "-id", str(wid)])
        get = lambda key: int(re.search(r"%s:\s+(-?\d+)" % key, info).group(1))
        x, y = get("Absolute upper-left X"), get("Absolute upper-left Y")
        w, h = get("Width"), get("Height")
        left, right, top, bottom = self.frame_extents(wid)
        return x - left, y - top, w + left + right, h + top + bottom

    def frame_extents(self, wid=None):
        out = run(["xprop", "-id", str(wid or self.main), "_NET_FRAME_EXTENTS"])
        m = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in m.groups()) if m else (0, 0, 0, 0)

    # -- keyboard -----------------------------------------------------------

    def key(self, *keys, delay=KEY_DELAY_MS):
        """Presses keys by their X names ("F2", "Escape", "ctrl+v")."""
        xdotool("key", "--delay", delay, *keys, timeout=60)

    def type(self, text, delay=KEY_DELAY_MS):
        """Types `text` with real key events, dead keys and shift included."""
        keys = keys_for(text)
        for i in range(0, len(keys), 40):
            self.key(*keys[i:i + 40], delay=delay)

    def finish_and_accept(self):
        """F2, then Enter in the result dialog; returns the result caption."""
        self.key("F2")
        dialog = self.wait_window("Resultado final")
        self.activate(dialog)
        self.key("Return")
        self.wait_window_gone(dialog)
        return self.wait_caption(re.compile(
            r"Prueba acabada: -?\d+\.\d\d caracteres/min en \d\d:\d\d minutos"))

    def menu_command(self, label, *keys):
        """Opens the menu "&Menú" with Alt+M and presses `keys` in it: either
        they give the command (its mnemonic), or they highlight the item
        `label` (its text up to the tab) and Enter gives it."""
        self.activate(self.main)
        before = self.windows()
        self.key("alt+m")
        popups = self.wait_new_window(before)
        self.key(*keys)

        def probe():
            # "Salir" may end the program before the menu is seen to close.
            if self.proc.poll() is not None or not popups & set(self.windows()):
                return True, "closed"
            states = self.menu_item_states(label)
            if states and pyatspi.STATE_FOCUSED in states:
                return True, "highlighted"
            return False, states
        if poll(probe, "the menu to give or highlight %r" % label) == "highlighted":
            self.key("Return")
            self._wait(lambda: not popups & set(self.windows()), "the menu to close")

    # -- accessibility ------------------------------------------------------

    def a11y_app(self):
        def probe():
            desktop = pyatspi.Registry.getDesktop(0)
            for app in _children(desktop):
                try:
                    if app.get_process_id() == self.pid:
                        app.clearCache()
                        return True, app
                except Exception:
                    continue
            return False, None
        return self._wait(probe, "the program on the accessibility bus")

    def a11y_window(self, title, timeout=TIMEOUT):
        """The accessible top-level window with the caption `title`."""
        def probe():
            app = self.a11y_app()
            tops = _children(app)
            for top in tops:
                if name_of(top) == title:
                    return True, top
            return False, [name_of(t) for t in tops]
        return self._wait(probe, "an accessible window %r" % title, timeout)

    def window_texts(self, title, timeout=TIMEOUT):
        """(role, name, text) of everything the window `title` shows."""
        return describe(self.a11y_window(title, timeout))

    def text_area(self):
        """The main window's multi-line text area."""
        def probe():
            app = self.a11y_app()
            for top in _children(app):
                if role_of(top) != pyatspi.ROLE_FRAME:
                    continue
                for node in walk(top):
                    states = states_of(node)
                    if (pyatspi.STATE_MULTI_LINE in states
                            and pyatspi.STATE_EDITABLE in states
                            and text_of(node) is not None):
                        return True, node
            return False, None
        return self._wait(probe, "the text area")

    def typed_text(self):
        return text_of(self.text_area())

    def wait_typed_text(self, expected, timeout=TIMEOUT):
        area = self.text_area()

        def probe():
            t = text_of(area)
            return t == expected, t
        return self._wait(probe, "the text %r" % expected, timeout)

    def wait_text_area_focused(self, timeout=TIMEOUT):
        area = self.text_area()
        self._wait(lambda: (pyatspi.STATE_FOCUSED in states_of(area),
                            sorted(str(s) for s in states_of(area))),
                   "the text area to have the keyboard focus", timeout)
        return area

    def selection_count(self):
        return self.text_area().queryText().getNSelections()

    def screen_point_in_text(self, offset):
        """Screen coordinates of the middle of character `offset` of the text."""
        text = self.text_area().queryText()
        x, y, w, h = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        return x + max(w, 1) // 2, y + max(h, 1) // 2

    def text_area_centre(self):
        """Screen coordinates of the middle of the text area."""
        x, y, w, h = self.text_area().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return x + w // 2, y + h // 2

    def focused_node(self, top):
        for node in walk(top):
            if pyatspi.STATE_FOCUSED in states_of(node):
                return node
        return None

    def tab_to(self, title, wanted, max_presses=10):
        """Presses Tab in window `title` until the focused node satisfies
        wanted(node); returns that node. Each press waits for the focus to
        move before looking again."""
        top = self.a11y_window(title)
        ident = lambda n: None if n is None else n.path
        for _ in range(max_presses):
            node = self.focused_node(top)
            if node is not None and wanted(node):
                return node
            self.key("Tab")
            self._wait(lambda: ident(self.focused_node(top)) != ident(node),
                       "the focus to move in %r" % title)
        raise AssertionError("Tab never reached the wanted control in %r; shown: %r"
                             % (title, describe(top)))

    def menu_item_states(self, label):
        """The states of the menu item called `label`, or None."""
        app = self.a11y_app()
        for node in walk(app):
            if (role_of(node) == pyatspi.ROLE_MENU_ITEM
                    and name_of(node).split("\t")[0] == label):
                return states_of(node)
        return None

    # -- files --------------------------------------------------------------

    def path(self, name):
        return os.path.join(self.cwd, name)

    def read_file(self, name):
        """Contents of a file in the working folder, or None."""
        try:
            with open(self.path(name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def sound_played(self):
        """True once the audio output file holds a sample other than silence."""
        try:
            with open(self.audio_file, "rb") as f:
                data = f.read()
        except FileNotFoundError:
            return False
        return data.strip(b"\0") != b""


class QuirtelTestCase(unittest.TestCase):
    """A test case whose sandboxes are removed after each test."""

    @classmethod
    def setUpClass(cls):
        if not (BINARY and DATOS and WORK):
            raise unittest.SkipTest("run through run_e2e.sh")

    def sandbox(self):
        q = Quirtel(self._testMethodName)
        self.addCleanup(q.close)
        return q

    def launch(self, *args):
        return self.sandbox().start(*args)
