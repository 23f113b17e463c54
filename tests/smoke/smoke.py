"""Runs the real Kalvora in its own Xvfb and drives it with real key and mouse events (xdotool).

Usage: smoke.py PATH_TO_KALVORA   (run with the Python that has pyatspi, Debian's /usr/bin/python3)

Results are read by selecting the result label with the mouse and fetching the X PRIMARY
selection; focus, cell texts and the label's position come from the accessibility bus. Every
process started here runs in its own process group and is ended by that id on the way out.
Exit status: 0 passed, 1 failed (the failed steps are named), 77 a needed tool is missing.
"""

import ctypes
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

MAIN_SIZE = (401, 242)
ENTRY_SIZE_ORDER_2 = (87, 140)
RESULT_LABEL = "Ergebnis"
ORDER_BOX = "Anzahl der Zeilen/Spalten"
EINGABE, BEENDEN = "Eingabe der Kalvora D", "Beenden"
OVERALL_SECONDS = 105  # below the ctest TIMEOUT, so the clean-up here always runs

started = []  # Popen objects, each the leader of its own process group
x_connections = []
failures = []
current_step = "preparation"
end_of_test = time.monotonic() + OVERALL_SECONDS
env = {k: v for k, v in os.environ.items()
       if not k.startswith(("QT_", "LC_", "DBUS_", "AT_SPI")) and k not in ("DISPLAY", "LANGUAGE")}


class StepFailed(Exception):
    pass


def step(name):
    global current_step
    current_step = name
    print(f"== {name}", flush=True)


def soft_check(ok, message):
    """A check whose failure does not keep the later steps from running."""
    print(("   ok: " if ok else "   FAILED: ") + message, flush=True)
    if not ok:
        failures.append(f"{current_step}: {message}")


def wait_for(what, probe, seconds):
    """Polls probe() until it returns something truthy; fails the step after `seconds`."""
    deadline = min(time.monotonic() + seconds, end_of_test)
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out waiting for {what}")
        time.sleep(0.25)


def start(args, **kwargs):
    proc = subprocess.Popen(args, env=env, start_new_session=True, **kwargs)
    started.append(proc)
    return proc


def stop_all():
    for xconn in x_connections:
        xconn.x.XCloseDisplay(xconn.display)
    for proc in reversed(started):
        try:
            os.killpg(proc.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            pass
        try:
            os.killpg(proc.pid, signal.SIGKILL)  # whatever of the group is left
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            print(f"warning: process {proc.pid} did not end", file=sys.stderr)


def read_line_from(fd, seconds, what):
    data = b""
    deadline = time.monotonic() + seconds
    while not data.endswith(b"\n"):
        if not select.select([fd], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise StepFailed(f"timed out waiting for {what}")
        chunk = os.read(fd, 512)
        if not chunk:
            raise StepFailed(f"{what}: the process closed its output")
        data += chunk
    return data.decode().strip()


def run(*args, check=True):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=30)
    if check and done.returncode != 0:
        raise StepFailed(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done


def key(*keys):
    run("xdotool", "key", "--delay", "80", *keys)


def type_text(text):
    run("xdotool", "type", "--delay", "80", text)


def visible_windows(title):
    found = run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check=False)
    return [int(w) for w in found.stdout.split()]


def window_info(window):
    """(width, height, map state) of a window, or None once it is destroyed."""
    done = run("xwininfo", "-id", str(window), check=False)
    if done.returncode != 0:
        return None
    fields = dict(line.strip().split(": ", 1) for line in done.stdout.splitlines() if ": " in line)
    return int(fields["Width"]), int(fields["Height"]), fields["Map State"]


def focus_window(window):
    """Gives a window the X input focus, as a window manager would on activation."""
    def focused():
        run("xdotool", "windowfocus", str(window), check=False)
        return run("xdotool", "getwindowfocus", check=False).stdout.strip() == str(window)
    wait_for(f"the X input focus on window {window}", focused, 10)


def accessible_state():
    """Focused object, texts of the text boxes and the result label's box, from the a11y bus."""
    done = subprocess.run([sys.executable, __file__, "--probe"], env=env, capture_output=True,
                          text=True, timeout=30)
    return json.loads(done.stdout) if done.returncode == 0 and done.stdout.strip() else None


def probe_accessibility():
    import pyatspi
    state = {"focused": None, "texts": {}, "result_box": None}

    def walk(node):
        role, name = node.getRoleName(), node.name
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            state["focused"] = [role, name]
        if role == "text":
            state["texts"][name] = node.queryText().getText(0, -1)
        if role == "label" and name == RESULT_LABEL:
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            state["result_box"] = [box.x, box.y, box.width, box.height]
        for child in node:
            if child is not None:
                walk(child)

    apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Kalvora"]
    if apps:
        walk(apps[0])
        print(json.dumps(state))


def wait_for_focus(role, name):
    def focused():
        state = accessible_state()
        return state and state["focused"] == [role, name] and state
    try:
        return wait_for(f"the focus on {role} '{name}'", focused, 15)
    except StepFailed:
        state = accessible_state()
        raise StepFailed(f"expected the focus on {role} '{name}', it is on "
                         f"{state and state['focused']}") from None


class XConnection:
    """The two things xdotool cannot do: close a window politely and read the PRIMARY selection."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        ul, vp = ctypes.c_ulong, ctypes.c_void_p
        self.x.XOpenDisplay.restype = vp
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        for name, res, args in [("XDefaultRootWindow", ul, [vp]), ("XInternAtom", ul, [vp, ctypes.c_char_p, ctypes.c_int]),
                                ("XCreateSimpleWindow", ul, [vp, ul, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ul, ul]),
                                ("XSetSelectionOwner", ctypes.c_int, [vp, ul, ul, ul]),
                                ("XConvertSelection", ctypes.c_int, [vp, ul, ul, ul, ul, ul]),
                                ("XSendEvent", ctypes.c_int, [vp, ul, ctypes.c_int, ctypes.c_long, vp]),
                                ("XPending", ctypes.c_int, [vp]), ("XNextEvent", ctypes.c_int, [vp, vp]),
                                ("XSync", ctypes.c_int, [vp, ctypes.c_int]), ("XCloseDisplay", ctypes.c_int, [vp]),
                                ("XFree", ctypes.c_int, [vp]),
                                ("XGetWindowProperty", ctypes.c_int, [vp, ul, ul, ctypes.c_long, ctypes.c_long, ctypes.c_int, ul,
                                 ctypes.POINTER(ul), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ul), ctypes.POINTER(ul), ctypes.POINTER(vp)])]:
            getattr(self.x, name).restype, getattr(self.x, name).argtypes = res, args
        self.display = self.x.XOpenDisplay(env["DISPLAY"].encode())
        if not self.display:
            raise StepFailed("cannot connect to the X server")
        x_connections.append(self)
        self.window = self.x.XCreateSimpleWindow(self.display, self.x.XDefaultRootWindow(self.display),
                                                 0, 0, 1, 1, 0, 0, 0)
        atom = lambda name: self.x.XInternAtom(self.display, name, 0)
        self.primary, self.utf8, self.prop = atom(b"PRIMARY"), atom(b"UTF8_STRING"), atom(b"KALVORA_SMOKE")
        self.protocols, self.delete_window = atom(b"WM_PROTOCOLS"), atom(b"WM_DELETE_WINDOW")

    def close_box(self, window):
        """Sends WM_DELETE_WINDOW, which is what a window manager does for the close box."""
        event = (ctypes.c_long * 24)()  # XClientMessageEvent laid over an XEvent
        event[0], event[2], event[4], event[5], event[6] = 33, 1, window, self.protocols, 32
        event[7], event[8] = self.delete_window, 0
        self.x.XSendEvent(self.display, window, 0, 0, event)
        self.x.XSync(self.display, 0)

    def clear_primary(self):
        self.x.XSetSelectionOwner(self.display, self.primary, 0, 0)
        self.x.XSync(self.display, 0)

    def primary_text(self):
        """The PRIMARY selection as text, or None when nobody holds it or it cannot be had."""
        self.x.XConvertSelection(self.display, self.primary, self.utf8, self.prop, self.window, 0)
        self.x.XSync(self.display, 0)
        event = (ctypes.c_long * 24)()
        deadline = time.monotonic() + 5
        while True:
            if self.x.XPending(self.display):
                self.x.XNextEvent(self.display, event)
                if event[0] & 0xFFFFFFFF == 31:  # SelectionNotify
                    break
            elif time.monotonic() > deadline:
                return None
            else:
                time.sleep(0.02)
        if event[7] == 0:  # no property: the selection could not be converted
            return None
        kind, fmt, count, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        self.x.XGetWindowProperty(self.display, self.window, self.prop, 0, 4096, 1, 0, ctypes.byref(kind),
                                  ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if not data.value:
            return None
        text = ctypes.string_at(data.value, count.value).decode("utf-8", "replace")
        self.x.XFree(data)
        return text


def check_result(xconn, expected):
    """Selects the result label with a mouse drag (right to left) and reads it back."""
    state = wait_for("the result label on the accessibility bus",
                     lambda: (s := accessible_state()) and s["result_box"] and s, 15)
    x, y, w, h = state["result_box"]
    seen = []

    def selected():
        xconn.clear_primary()
        row = y + min(h // 2, 10)
        run("xdotool", "mousemove", str(x + w - 3), str(row), "mousedown", "1", "sleep", "0.1",
            "mousemove", str(x + w // 2), str(row), "sleep", "0.1", "mousemove", str(x + 1), str(row),
            "sleep", "0.1", "mouseup", "1")
        seen.append(xconn.primary_text())
        return seen[-1] == expected
    try:
        wait_for(f"the result '{expected}'", selected, 15)
    except StepFailed:
        raise StepFailed(f"expected the result '{expected}', read {seen[-1]!r}") from None
    print(f"   ok: result reads '{expected}'", flush=True)


def wait_until_gone(window, what):
    wait_for(f"{what} to disappear",
             lambda: (info := window_info(window)) is None or info[2] != "IsViewable", 15)


def open_entry_window(app_proc):
    """Alt+E puts the focus on the Eingabe button (checked), Space presses it."""
    key("alt+e")
    wait_for_focus("push button", EINGABE)
    key("space")
    windows = wait_for("the entry window 'Eingabe:'", lambda: visible_windows("Eingabe:"), 15)
    if app_proc.poll() is not None:
        raise StepFailed(f"the program ended (exit code {app_proc.returncode})")
    return windows[0]


def smoke(program):
    step("start Xvfb")
    read_end, write_end = os.pipe()
    start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-dpi", "96",
           "-nolisten", "tcp", "-noreset"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    env["DISPLAY"] = ":" + read_line_from(read_end, 30, "Xvfb to report its display")
    print(f"   display {env['DISPLAY']}", flush=True)

    step("start a session D-Bus and the accessibility bus")
    env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="kalvora-smoke-")
    read_end, write_end = os.pipe()
    start(["dbus-daemon", "--session", "--nofork", f"--print-address={write_end}"], pass_fds=[write_end],
          stderr=subprocess.DEVNULL)
    os.close(write_end)
    env["DBUS_SESSION_BUS_ADDRESS"] = read_line_from(read_end, 30, "dbus-daemon to report its address")
    start([launcher, "--launch-immediately", "--a11y=1"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for("org.a11y.Bus on the session bus", lambda: "true" in run(
        "dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
        "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus", check=False).stdout, 30)

    step("start Kalvora and wait for its main window")
    env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
               LANG="C.UTF-8")
    app = start([program])
    main = wait_for("a viewable window named 'Kalvora'",
                    lambda: app.poll() is None and visible_windows("Kalvora"), 30)[0]
    xconn = XConnection()
    size = window_info(main)[:2]
    soft_check(size == MAIN_SIZE, f"main window is {size[0]} x {size[1]} (expected {MAIN_SIZE[0]} x {MAIN_SIZE[1]})")

    step("initial state: the order box has the focus and reads '2'")
    focus_window(main)
    state = wait_for_focus("text", ORDER_BOX)
    soft_check(state["texts"].get(ORDER_BOX) == "2", f"order box reads {state['texts'].get(ORDER_BOX)!r}")

    step("Alt+B computes the determinant of the initial matrix")
    key("alt+b")
    check_result(xconn, "det(D) = 0")

    step("Alt+E and Space open the entry window")
    entry = open_entry_window(app)
    size = window_info(entry)[:2]
    soft_check(size == ENTRY_SIZE_ORDER_2,
               f"entry window for order 2 is {size[0]} x {size[1]} (expected {ENTRY_SIZE_ORDER_2[0]} x {ENTRY_SIZE_ORDER_2[1]})")
    focus_window(entry)
    wait_for_focus("text", "Zeile 1, Spalte 1")
    key("Escape")
    time.sleep(1)
    soft_check(window_info(entry) is not None and window_info(entry)[2] == "IsViewable",
               "Escape leaves the entry window open")

    step("type 1 2 3 4 into the cells and take them with Alt+F")
    for i, value in enumerate("1234"):
        if i:
            key("Tab")
        type_text(value)
    key("alt+f")
    wait_until_gone(entry, "the entry window")
    if app.poll() is not None:
        raise StepFailed(f"the program ended (exit code {app.returncode})")
    focus_window(main)  # without a window manager, nobody gives the main window the focus back
    key("alt+b")
    check_result(xconn, "det(D) = -2")

    step("reopen the entry window; it keeps the values; its close box cancels")
    entry = open_entry_window(app)
    focus_window(entry)
    state = wait_for_focus("text", "Zeile 1, Spalte 1")
    cells = [state["texts"].get(f"Zeile {r}, Spalte {c}") for r in (1, 2) for c in (1, 2)]
    soft_check(cells == ["1", "2", "3", "4"], f"cells read {cells}")
    type_text("9")  # would make the determinant 30, had the close box taken it
    wait_for("'9' in the first cell", lambda: (s := accessible_state()) and
             s["texts"].get("Zeile 1, Spalte 1") == "9", 15)
    xconn.close_box(entry)
    wait_until_gone(entry, "the entry window after its close box")
    time.sleep(1)
    if app.poll() is not None:
        raise StepFailed(f"closing the entry window ended the program (exit code {app.returncode})")
    if main not in visible_windows("Kalvora"):
        raise StepFailed("the main window is no longer viewable")
    focus_window(main)
    key("alt+b")
    check_result(xconn, "det(D) = -2")

    step("Alt+E twice puts the focus on Beenden, Space ends the program with exit code 0")
    key("alt+e")
    wait_for_focus("push button", EINGABE)
    key("alt+e")
    wait_for_focus("push button", BEENDEN)
    key("space")
    try:
        code = app.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise StepFailed("the program did not end within 15 s") from None
    if code != 0:
        raise StepFailed(f"the program ended with exit code {code}")
    print("   ok: exit code 0", flush=True)


if __name__ == "__main__":
    if sys.argv[1:] == ["--probe"]:
        probe_accessibility()
        sys.exit(0)
    if len(sys.argv) != 2:
        sys.exit("usage: smoke.py PATH_TO_KALVORA")
    launcher = next((p for p in ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")
                     if os.access(p, os.X_OK)), None)
    missing = [t for t in ("Xvfb", "xdotool", "xwininfo", "dbus-daemon", "dbus-send") if not shutil.which(t)]
    missing += [] if launcher else ["at-spi-bus-launcher"]
    missing += [] if subprocess.run([sys.executable, "-c", "import pyatspi"], capture_output=True).returncode == 0 \
        else [f"pyatspi for {sys.executable}"]
    if missing:
        print("SKIPPED: missing " + ", ".join(missing), flush=True)
        sys.exit(77)
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda *_: sys.exit(f"FAILED at step '{current_step}': interrupted"))
    status = 0
    try:
        smoke(os.path.abspath(sys.argv[1]))
    except Exception as error:  # noqa: BLE001 - any error fails the step it happened in
        failures.append(f"{current_step}: {error}")
    finally:
        stop_all()
        if "XDG_RUNTIME_DIR" in env:
            shutil.rmtree(env["XDG_RUNTIME_DIR"], ignore_errors=True)
    if failures:
        print("FAILED steps:\n  " + "\n  ".join(failures), flush=True)
        sys.exit(1)
    print("PASSED", flush=True)
