"""Runs the real Kalvora in its own Xvfb and drives it with real key and mouse events (xdotool).

Usage: smoke.py PATH_TO_KALVORA   (with the Python that has pyatspi: Debian's /usr/bin/python3)

Results are read back by selecting the result label with the mouse and fetching the X PRIMARY
selection (the label's accessible name hides its text from the accessibility bus); focus, cell
texts and the label's position come from the accessibility bus. Each process started here leads
its own process group and is ended by that id on the way out.
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
# Order 2: an outer size of 1400 x 2010 twips (93 x 134 pixels) less the nominal frame of a fixed
# tool window, 3 pixels each side and a 17-pixel title bar.
ENTRY_SIZE_ORDER_2 = (87, 111)
ORDER_BOX, FIRST_CELL = "Anzahl der Zeilen/Spalten", "Zeile 1, Spalte 1"
EINGABE, BEENDEN = "Eingabe der Kalvora D", "Beenden"
OVERALL_SECONDS = 105  # below the ctest TIMEOUT, so that the clean-up here always runs

started, x_connections, failures = [], [], []
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
    """Polls probe() until it returns something truthy, for at most `seconds`."""
    deadline = min(time.monotonic() + seconds, end_of_test)
    while not (result := probe()):
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out waiting for {what}")
        time.sleep(0.25)
    return result


def remaining(at_most=30):
    """Seconds a single command may take, so that the whole test keeps its time limit."""
    return max(1.0, min(at_most, end_of_test - time.monotonic()))


def start(args, **kwargs):
    proc = subprocess.Popen(args, env=env, start_new_session=True, **kwargs)
    started.append(proc)
    return proc


def stop_all():
    for xconn in x_connections:
        xconn.x.XCloseDisplay(xconn.display)
    for proc in reversed(started):
        for sig in (signal.SIGTERM, signal.SIGKILL):  # SIGKILL ends whatever of the group is left
            try:
                os.killpg(proc.pid, sig)
            except ProcessLookupError:
                pass
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                print(f"warning: process {proc.pid} has not ended", file=sys.stderr)


def first_line_from(args, what):
    """Starts a program that writes one line (display, address) to a pipe, and reads it."""
    read_end, write_end = os.pipe()
    start(args + [str(write_end)], pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    data, deadline = b"", time.monotonic() + 30
    while not data.endswith(b"\n"):
        if not select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise StepFailed(f"timed out waiting for {what}")
        if not (chunk := os.read(read_end, 512)):
            raise StepFailed(f"no {what}")
        data += chunk
    os.close(read_end)
    return data.decode().strip()


def run(*args, check=True):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=remaining())
    if check and done.returncode != 0:
        raise StepFailed(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done


def key(*keys):
    run("xdotool", "key", "--delay", "80", *keys)


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
    """The focused object, the text boxes' texts and the result label's box, or None."""
    done = subprocess.run([sys.executable, __file__, "--probe"], env=env, capture_output=True,
                          text=True, timeout=remaining())
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
        if role == "label" and name == "Ergebnis":
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
    """What xdotool cannot do: send WM_DELETE_WINDOW and read the PRIMARY selection."""

    def __init__(self):
        x = self.x = ctypes.CDLL("libX11.so.6")
        ul, vp, i, p = ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int, ctypes.POINTER
        for name, result, args in [
                ("XOpenDisplay", vp, [ctypes.c_char_p]), ("XDefaultRootWindow", ul, [vp]),
                ("XInternAtom", ul, [vp, ctypes.c_char_p, i]),
                ("XCreateSimpleWindow", ul, [vp, ul, i, i, i, i, i, ul, ul]),
                ("XSetSelectionOwner", i, [vp, ul, ul, ul]),
                ("XConvertSelection", i, [vp, ul, ul, ul, ul, ul]),
                ("XSendEvent", i, [vp, ul, i, ctypes.c_long, vp]), ("XPending", i, [vp]),
                ("XNextEvent", i, [vp, vp]), ("XSync", i, [vp, i]), ("XCloseDisplay", i, [vp]),
                ("XFree", i, [vp]), ("XGetWindowProperty", i, [vp, ul, ul, ctypes.c_long,
                 ctypes.c_long, i, ul, p(ul), p(i), p(ul), p(ul), p(vp)])]:
            getattr(x, name).restype, getattr(x, name).argtypes = result, args
        self.display = x.XOpenDisplay(env["DISPLAY"].encode())
        if not self.display:
            raise StepFailed("cannot connect to the X server")
        x_connections.append(self)
        self.window = x.XCreateSimpleWindow(self.display, x.XDefaultRootWindow(self.display),
                                            0, 0, 1, 1, 0, 0, 0)
        self.primary, self.utf8, self.prop, self.protocols, self.delete = (
            x.XInternAtom(self.display, name, 0) for name in
            (b"PRIMARY", b"UTF8_STRING", b"KALVORA_SMOKE", b"WM_PROTOCOLS", b"WM_DELETE_WINDOW"))

    def close_box(self, window):
        """Sends WM_DELETE_WINDOW, as a window manager does for the close box."""
        event = (ctypes.c_long * 24)()  # an XClientMessageEvent in an XEvent
        event[0], event[2], event[4], event[5], event[6] = 33, 1, window, self.protocols, 32
        event[7] = self.delete
        self.x.XSendEvent(self.display, window, 0, 0, event)
        self.x.XSync(self.display, 0)

    def primary_text(self, clear=False):
        """Clears PRIMARY, or returns its text (None when nobody holds it or it times out)."""
        if clear:
            self.x.XSetSelectionOwner(self.display, self.primary, 0, 0)
            self.x.XSync(self.display, 0)
            return None
        self.x.XConvertSelection(self.display, self.primary, self.utf8, self.prop, self.window, 0)
        self.x.XSync(self.display, 0)
        event, deadline = (ctypes.c_long * 24)(), time.monotonic() + 5
        while not (self.x.XPending(self.display) and self.x.XNextEvent(self.display, event) == 0
                   and event[0] & 0xFFFFFFFF == 31):  # SelectionNotify
            if time.monotonic() > deadline:
                return None
            time.sleep(0.02)
        if event[7] == 0:  # no property: the selection was not converted
            return None
        kind, fmt, count, after, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(),
                                         ctypes.c_ulong(), ctypes.c_void_p())
        self.x.XGetWindowProperty(self.display, self.window, self.prop, 0, 4096, 1, 0, kind, fmt,
                                  count, after, data)
        if not data.value:
            return None
        text = ctypes.string_at(data.value, count.value).decode("utf-8", "replace")
        self.x.XFree(data)
        return text


def check_result(xconn, expected):
    """Selects the result label with a mouse drag from its right end and reads the selection."""
    state = wait_for("the result label on the accessibility bus",
                     lambda: (s := accessible_state()) and s["result_box"] and s, 15)
    x, y, w, h = state["result_box"]
    row, seen = str(y + min(h // 2, 10)), []

    def selected():
        xconn.primary_text(clear=True)
        run("xdotool", "mousemove", str(x + w - 3), row, "mousedown", "1", "sleep", "0.1",
            "mousemove", str(x + w // 2), row, "sleep", "0.1", "mousemove", str(x + 1), row,
            "sleep", "0.1", "mouseup", "1")
        seen.append(xconn.primary_text())
        return seen[-1] == expected
    try:
        wait_for(f"the result '{expected}'", selected, 15)
    except StepFailed:
        raise StepFailed(f"expected the result '{expected}', read {seen[-1]!r}") from None
    print(f"   ok: the result reads '{expected}'", flush=True)


def viewable(window):
    return (info := window_info(window)) is not None and info[2] == "IsViewable"


def open_entry_window(app):
    """Alt+E puts the focus on the Eingabe button (checked first), Space presses it."""
    key("alt+e")
    wait_for_focus("push button", EINGABE)
    key("space")
    entry = wait_for("the entry window 'Eingabe:'", lambda: visible_windows("Eingabe:"), 15)[0]
    focus_window(entry)
    return entry, wait_for_focus("text", FIRST_CELL)


def check_running(app):
    if app.poll() is not None:
        raise StepFailed(f"the program has ended (exit code {app.returncode})")


def smoke(program, launcher):
    step("start Xvfb, a session D-Bus and the accessibility bus")
    env["DISPLAY"] = ":" + first_line_from(
        ["Xvfb", "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp", "-noreset",
         "-displayfd"], "the display number from Xvfb")
    print(f"   display {env['DISPLAY']}", flush=True)
    env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="kalvora-smoke-")
    env["DBUS_SESSION_BUS_ADDRESS"] = first_line_from(
        ["dbus-daemon", "--session", "--nofork", "--print-address"], "the D-Bus address")
    start([launcher, "--launch-immediately", "--a11y=1"], stdout=subprocess.DEVNULL,
          stderr=subprocess.DEVNULL)
    wait_for("org.a11y.Bus on the session bus", lambda: "true" in run(
        "dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
        "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus",
        check=False).stdout, 30)

    step("start Kalvora; its main window appears")
    env.update(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
               LANG="C.UTF-8")
    app = start([program])
    main = wait_for("a viewable window named 'Kalvora'",
                    lambda: check_running(app) or visible_windows("Kalvora"), 30)[0]
    xconn = XConnection()
    size = window_info(main)[:2]
    soft_check(size == MAIN_SIZE, f"the main window is {size[0]} x {size[1]}, expected "
                                  f"{MAIN_SIZE[0]} x {MAIN_SIZE[1]}")

    step("the order box has the focus and reads '2'; Alt+B computes det(D) = 0")
    focus_window(main)
    state = wait_for_focus("text", ORDER_BOX)
    soft_check(state["texts"].get(ORDER_BOX) == "2", f"order box reads {state['texts']}")
    key("alt+b")
    check_result(xconn, "det(D) = 0")

    step("Alt+E, Space open the entry window; Escape does not close it")
    entry, _ = open_entry_window(app)
    size = window_info(entry)[:2]
    soft_check(size == ENTRY_SIZE_ORDER_2, f"the entry window for order 2 is {size[0]} x "
               f"{size[1]}, expected {ENTRY_SIZE_ORDER_2[0]} x {ENTRY_SIZE_ORDER_2[1]}")
    key("Escape")
    time.sleep(1)
    soft_check(viewable(entry), "the entry window is still open after Escape")

    step("type 1 Tab 2 Tab 3 Tab 4, Alt+F takes them; Alt+B computes det(D) = -2")
    key("1", "Tab", "2", "Tab", "3", "Tab", "4", "alt+f")
    wait_for("the entry window to disappear", lambda: not viewable(entry), 15)
    check_running(app)
    focus_window(main)  # without a window manager, nobody gives the main window the focus back
    key("alt+b")
    check_result(xconn, "det(D) = -2")

    step("reopened, the entry window shows 1 2 3 4; its close box cancels, the program goes on")
    entry, state = open_entry_window(app)
    cells = [state["texts"].get(f"Zeile {r}, Spalte {c}") for r in (1, 2) for c in (1, 2)]
    soft_check(cells == ["1", "2", "3", "4"], f"the cells read {cells}")
    key("9")  # had the close box taken it, the determinant would be 30
    wait_for("'9' in the first cell",
             lambda: (s := accessible_state()) and s["texts"].get(FIRST_CELL) == "9", 15)
    xconn.close_box(entry)
    wait_for("the entry window to disappear", lambda: not viewable(entry), 15)
    time.sleep(1)
    check_running(app)
    if main not in visible_windows("Kalvora"):
        raise StepFailed("the main window is no longer viewable")
    focus_window(main)
    key("alt+b")
    check_result(xconn, "det(D) = -2")

    step("Alt+E twice puts the focus on Beenden; Space ends the program with exit code 0")
    key("alt+e")
    wait_for_focus("push button", EINGABE)
    key("alt+e")
    wait_for_focus("push button", BEENDEN)
    key("space")
    try:
        code = app.wait(timeout=remaining(15))
    except subprocess.TimeoutExpired:
        raise StepFailed("the program has not ended within 15 s") from None
    if code != 0:
        raise StepFailed(f"the program ended with exit code {code}")
    print("   ok: exit code 0", flush=True)


def main():
    if sys.argv[1:] == ["--probe"]:
        return probe_accessibility()
    if len(sys.argv) != 2:
        sys.exit("usage: smoke.py PATH_TO_KALVORA")
    launcher = next((p for p in ("/usr/libexec/at-spi-bus-launcher",
                                 "/usr/lib/at-spi2-core/at-spi-bus-launcher")
                     if os.access(p, os.X_OK)), None)
    missing = [t for t in ("Xvfb", "xdotool", "xwininfo", "dbus-daemon", "dbus-send")
               if not shutil.which(t)] + ([] if launcher else ["at-spi-bus-launcher"])
    if subprocess.run([sys.executable, "-c", "import pyatspi"], capture_output=True).returncode:
        missing.append(f"pyatspi for {sys.executable}")
    if missing:
        print("SKIPPED: missing " + ", ".join(missing), flush=True)
        sys.exit(77)
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda *_: sys.exit(f"FAILED at step '{current_step}': interrupted"))
    try:
        smoke(os.path.abspath(sys.argv[1]), launcher)
    except Exception as error:  # any error fails the step it happened in
        failures.append(f"{current_step}: {error!r}" if not isinstance(error, StepFailed)
                        else f"{current_step}: {error}")
    finally:
        stop_all()
        shutil.rmtree(env.get("XDG_RUNTIME_DIR", ""), ignore_errors=True)
    if failures:
        print("FAILED steps:\n  " + "\n  ".join(failures), flush=True)
        sys.exit(1)
    print("PASSED", flush=True)


if __name__ == "__main__":
    main()
