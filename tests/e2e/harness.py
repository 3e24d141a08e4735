"""Runs brisvane.exe under Wine on a private X display and watches it as a user would.

Shared by the end-to-end suite (run_e2e.py), tools/demo, tools/screenshot and tools/bench.
Everything happens in a Wine prefix of our own inside the build folder, on an Xvfb display
of our own: never ~/.wine, never the user's screen, never a real boot file.
"""

import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
TOOLS = REPO / "tools"
sys.path.insert(0, str(TOOLS))
import pe_header  # noqa: E402

# The titles the program shows, as Wine hands them to X (UTF-8).
DIALOG_TITLE = "どのOSに切り替えますか？"
ABOUT_TITLE = "About"
BOOTMENU_TITLE = "OS選択方法の変更"
ERROR_TITLE = "Brisvane"


def read_defines(path):
    """The #defines of a C header whose value is a plain number."""
    found = re.findall(r"^#define\s+(\w+)\s+(0x[0-9a-fA-F]+|\d+)\s*$", Path(path).read_text(), re.M)
    return {name: int(value, 0) for name, value in found}


# The dialog's ids, as the program and its template take them from res/resource.h.
_RESOURCE = read_defines(REPO / "res" / "resource.h")
IDD_SELECT = _RESOURCE["IDD_SELECT"]
IDC_OSLIST = _RESOURCE["IDC_OSLIST"]
IDC_BOOTMENU = _RESOURCE["IDC_BOOTMENU"]
IDC_ABOUT = _RESOURCE["IDC_ABOUT"]
# windows.h's, which the template gives the switch and cancel buttons.
IDOK, IDCANCEL = 1, 2


def read_wine_env(path):
    """tools/wine-env's settings: KEY=VALUE lines taken literally, # comments."""
    settings = {}
    for line in Path(path).read_text().splitlines():
        if line and not line.startswith("#"):
            key, _, value = line.partition("=")
            settings[key] = value
    return settings


# What every Wine program of ours runs with; a trace or a case varies WINEDEBUG or
# WINEDLLOVERRIDES on top.
WINE_ENV = read_wine_env(TOOLS / "wine-env")

SKIP = 77  # CTest's SKIP_RETURN_CODE

# The calls the relay trace records. ReadFile is there for the benchmark's count; the rest
# are what the program is judged by.
TRACED_CALLS = [
    "kernel32.WritePrivateProfileStringA",
    "kernel32.ReadFile",
    "kernel32.SetFileAttributesA",
    "user32.ExitWindowsEx",
    "user32.CreateDialogParamA",
    "user32.MessageBoxA",
    "user32.EndDialog",
    "user32.PostQuitMessage",
]

# Replacements for the fonts the dialog and Wine's boxes ask for, so Japanese text renders
# with IPA glyphs instead of boxes. Wine draws its own caption and frame ("Managed"="N"), so
# that screenshots look like Windows without a window manager, and the close box is Wine's.
PREFIX_REGISTRY = r"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐ明朝"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\Debug]
"RelayInclude"="%s"
""" % ";".join(TRACED_CALLS)


class Skip(Exception):
    """This host cannot run the program under test (CTest reports the test as skipped)."""


class Failure(Exception):
    """A case's expectation did not hold; the message says what was expected and what happened."""


def log(*parts):
    print(*parts, flush=True)


def tool(name):
    path = shutil.which(name)
    if not path:
        raise Failure(f"{name} is not installed (make deps installs it)")
    return path


def wine64_loader():
    for path in ("/usr/lib/wine/wine64", shutil.which("wine64") or ""):
        if path and os.access(path, os.X_OK):
            return path
    raise Skip("Wine (64-bit) is not installed")


def wineserver_binary():
    for path in ("/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver", shutil.which("wineserver") or ""):
        if path and os.access(path, os.X_OK):
            return path
    raise Skip("wineserver is not installed")


def runner_for(exe):
    """The command that starts a Windows program on this host: the 64-bit loader for x86-64,
    tools/wine32 for i386 (when another part of the build has provided it)."""
    machine = pe_header.machine(exe)
    if machine == "x86_64":
        return [wine64_loader()]
    if machine == "i386":
        if wine32_usable():
            return [str(TOOLS / "wine32")]
        raise Skip(f"{exe} is a 32-bit program and this host has no way to run it "
                   "(32-bit Linux binaries do not execute here, and tools/wine32 is missing "
                   "or says it cannot run them)")
    raise Failure(f"{exe} is not a Windows program")


_wine32_checked = None


def wine32_usable():
    global _wine32_checked
    if _wine32_checked is None:
        wine32 = TOOLS / "wine32"
        _wine32_checked = os.access(wine32, os.X_OK) and subprocess.run(
            [str(wine32), "--check"], env=dict(os.environ, WINEPREFIX="/nonexistent"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600).returncode == 0
    return _wine32_checked


# ---------------------------------------------------------------------------------------------
# The relay trace


def _unescape(text):
    """Wine's debugstr_a escapes back into bytes."""
    out = bytearray()
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out += c.encode("latin-1", "replace") if ord(c) < 256 else c.encode()
            i += 1
            continue
        n = text[i + 1] if i + 1 < len(text) else ""
        if n == "x":
            out.append(int(text[i + 2:i + 4], 16))
            i += 4
        elif n in "01234567" and n:
            j = i + 1
            while j < len(text) and j < i + 4 and text[j] in "01234567":
                j += 1
            out.append(int(text[i + 1:j], 8) & 0xFF)
            i = j
        else:
            out += {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\", '"': b'"'}.get(n, n.encode())
            i += 2
    return bytes(out)


_CALL = re.compile(r"^(?:([0-9a-f]+):)?([0-9a-f]+):Call ([\w.]+)\.(\w+)\((.*)\) ret=([0-9a-f]+)\s*$")
_RET = re.compile(r"^(?:([0-9a-f]+):)?([0-9a-f]+):Ret  ([\w.]+)\.(\w+)\(\) retval=([0-9a-f]+) ret=([0-9a-f]+)\s*$")
_ARG = re.compile(r'([0-9a-f]+)(?: (L?)"((?:[^"\\]|\\.)*)")?')


class Call:
    def __init__(self, name, args, ret_address):
        self.name = name
        self.args = args        # str (decoded from CP932) for string arguments, int otherwise
        self.ret_address = ret_address
        self.retval = None

    def __repr__(self):
        shown = ", ".join(repr(a) if isinstance(a, str) else hex(a) for a in self.args)
        result = "" if self.retval is None else f" -> {self.retval:#x}"
        return f"{self.name}({shown}){result}"


def parse_trace(path, image):
    """The traced calls made by the program's own code, in order, with their results.

    The trace file also holds lines of other processes started from the program (a restart
    request starts wineboot, which inherits the trace settings and whose image may even sit
    at the same address), so only the first process in the file counts, and of its calls
    only those that return into its own image (the DLLs call each other too)."""
    lo, hi = image
    calls, open_calls = [], {}
    first_pid = None
    try:
        raw = Path(path).read_bytes()
    except FileNotFoundError:
        return calls
    for line in raw.decode("latin-1").splitlines():
        m = _CALL.match(line)
        if m:
            pid, tid, _, name, args, ret = m.groups()
            if first_pid is None:
                first_pid = pid
            if pid != first_pid or not lo <= int(ret, 16) < hi:
                continue
            parsed = []
            for a in _ARG.finditer(args):
                value, wide, text = a.groups()
                if text is None:
                    parsed.append(int(value, 16))
                elif wide:
                    parsed.append(_unescape(text).decode("latin-1"))
                else:
                    parsed.append(_unescape(text).decode("cp932", "replace"))
            call = Call(name, parsed, ret)
            calls.append(call)
            open_calls.setdefault((tid, name), []).append(call)
            continue
        m = _RET.match(line)
        if m:
            pid, tid, _, name, retval, ret = m.groups()
            pending = open_calls.get((tid, name))
            if pid == first_pid and pending:
                pending.pop().retval = int(retval, 16)
    return calls


# ---------------------------------------------------------------------------------------------
# Boot files


def boot_ini(loader, systems, eol=b"\r\n"):
    """A boot.ini in the plain layout Wine's profile writer keeps byte for byte: CR LF, no
    blank lines, no blanks around '='. `loader` is a list of (key, value) pairs, `systems` a
    list of (boot path, description, switches); descriptions are written as Shift_JIS."""
    lines = [b"[boot loader]"]
    lines += [f"{k}={v}".encode("cp932") for k, v in loader]
    lines.append(b"[operating systems]")
    for path, description, switches in systems:
        line = f'{path}="{description}"'
        if switches:
            line += " " + switches
        lines.append(line.encode("cp932"))
    return eol.join(lines) + eol


def with_loader_keys(data, **keys):
    """`data` with the given keys of [boot loader] set in place, as the profile writer does
    to a file in the plain layout."""
    lines = data.split(b"\r\n")
    section = None
    for i, line in enumerate(lines):
        if line.startswith(b"["):
            section = line
            continue
        if section == b"[boot loader]" and b"=" in line:
            key = line.split(b"=", 1)[0].decode()
            if key in keys:
                lines[i] = f"{key}={keys.pop(key)}".encode("cp932")
    if keys:
        raise ValueError(f"fixture lacks {sorted(keys)}")
    return b"\r\n".join(lines)


def show_bytes(data):
    if data is None:
        return "(no file)"
    return data.decode("cp932", "replace").replace("\r\n", "⏎\n    ").rstrip()


# ---------------------------------------------------------------------------------------------
# The session: prefix, display, Wine server


class Session:
    """One Wine prefix with its display. `start()` makes what is missing; the state is kept in
    workdir/session.json so that separate CTest tests share one Xvfb and one Wine server."""

    def __init__(self, prefix, workdir, program=None, width=1024, height=768, user=None,
                 helpers=None):
        self.user = user  # (uid, gid) to run Wine as, or None for ourselves
        self.prefix = Path(prefix).resolve()
        self.workdir = Path(workdir).resolve()
        self.workdir.mkdir(parents=True, exist_ok=True)
        self.helpers = Path(helpers).resolve() if helpers else self.workdir
        self.registry = PREFIX_REGISTRY
        self.extra_env = {}
        self.program = Path(program).resolve() if program else None
        self.size = (width, height)
        self.display = None
        self.xvfb_pid = None
        self.state_file = self.workdir / "session.json"

    # -- environment

    def as_user(self):
        """subprocess arguments that run a Wine program as the session's user."""
        if not self.user:
            return {}
        return dict(user=self.user[0], group=self.user[1], extra_groups=[])

    def give(self, path):
        """Hands a file we made to the session's user, who must own what Wine writes."""
        if self.user:
            os.chown(path, *self.user)

    def env(self, trace=False):
        env = dict(os.environ)
        if self.user:
            env["HOME"] = str(self.prefix.parent / "home")
        for var in ("WAYLAND_DISPLAY", "WINELOADERNOEXEC"):
            env.pop(var, None)
        env.update(WINE_ENV, WINEPREFIX=str(self.prefix))
        if trace:
            env["WINEDEBUG"] = "+pid,+relay"
        env.update(self.extra_env)
        if self.display:
            env["DISPLAY"] = self.display
        else:
            env.pop("DISPLAY", None)
        return env

    @property
    def boot_path(self):
        return self.prefix / "drive_c" / "boot.ini"

    # -- prefix

    def ensure_prefix(self, wow64=False):
        """Makes the prefix once; `wow64`: one that also runs 32-bit programs (through
        tools/wine32, which must then make it: a prefix first booted by plain wine64 never
        gets its 32-bit half)."""
        stamp = self.prefix / ".brisvane-e2e"
        digest = hashlib.sha256(self.registry.encode()).hexdigest()
        if wow64 and (self.prefix / "system.reg").exists() and \
                not (self.prefix / "drive_c/windows/syswow64/kernel32.dll").exists():
            log(f"e2e: {self.prefix} cannot run 32-bit programs; making it anew")
            self.server("-k")
            shutil.rmtree(self.prefix)
        if (self.prefix / "system.reg").exists() and stamp.exists() and stamp.read_text() == digest:
            return
        fresh = not (self.prefix / "system.reg").exists()
        if fresh:
            log(f"e2e: making the Wine prefix {self.prefix} (once; about half a minute)")
            self.prefix.mkdir(parents=True, exist_ok=True)
            if self.user:
                home = self.prefix.parent / "home"
                home.mkdir(parents=True, exist_ok=True)
                self.give(home)
                self.give(self.prefix)
            if wow64:
                made = subprocess.run([str(TOOLS / "wine32"), "--setup"], env=self.env(),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=900,
                                      **self.as_user())
                if made.returncode != 0:
                    raise Failure(f"tools/wine32 --setup failed: {made.stderr.decode().strip()}")
            else:
                subprocess.run([wine64_loader(), "wineboot", "--init"], env=self.env(),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300,
                               **self.as_user())
        reg = self.prefix / "drive_c" / "windows" / "temp" / "brisvane-e2e.reg"
        reg.parent.mkdir(parents=True, exist_ok=True)
        reg.write_bytes(b"\xff\xfe" + self.registry.replace("\n", "\r\n").encode("utf-16-le"))
        self.give(reg)
        subprocess.run([wine64_loader(), "regedit", "/S", r"C:\windows\temp\brisvane-e2e.reg"],
                       env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120,
                       **self.as_user())
        # The registry reaches the files only when the server flushes or ends.
        self.server("-k")
        self.server("-w")
        if not (self.prefix / "system.reg").exists():
            raise Failure(f"could not make the Wine prefix {self.prefix}")
        if b"IPAPGothic" not in (self.prefix / "user.reg").read_bytes():
            raise Failure("the font replacements did not reach the prefix's registry")
        stamp.write_text(digest)

    def windows_version(self, version, programs):
        """Makes Wine report `version` (its own names: "win2k", "nt40"; None: its default) to
        the programs of these file names, through the prefix's per-program settings. Both
        setting and clearing are one registry import, which a running server takes at once."""
        lines = ["Windows Registry Editor Version 5.00", ""]
        for name in programs:
            lines += [rf"[HKEY_CURRENT_USER\Software\Wine\AppDefaults\{name}]",
                      f'"Version"="{version}"' if version else '"Version"=-', ""]
        reg = self.prefix / "drive_c" / "windows" / "temp" / "brisvane-e2e-version.reg"
        reg.write_bytes(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
        self.give(reg)
        subprocess.run([wine64_loader(), "regedit", "/S", r"C:\windows\temp\brisvane-e2e-version.reg"],
                       env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=120, **self.as_user())

    # -- display and server

    def start(self):
        """Prefix, Xvfb on a free display, persistent Wine server, and a warm-up."""
        tool("Xvfb")
        tool("xdotool")
        self.ensure_prefix(wow64=bool(self.program and pe_header.machine(self.program) == "i386"))
        self.stop(quiet=True)  # anything a killed earlier run left behind
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            [tool("Xvfb"), "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % self.size,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_fd)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            xvfb.kill()
            raise Failure("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.xvfb_pid = xvfb.pid
        self.state_file.write_text(json.dumps({"display": self.display, "xvfb_pid": self.xvfb_pid}))
        self.start_server()
        log(f"e2e: display {self.display}, prefix {self.prefix}")

    def server(self, *args):
        subprocess.run([wineserver_binary()] + list(args), env=self.env(), stderr=subprocess.DEVNULL,
                       check=False, **self.as_user())

    def start_server(self):
        # One server for the whole run: every program start then skips the server's start-up.
        # It ends by itself ten minutes after its last program should nobody stop it.
        self.server("-p600")
        # The first windowed program starts the desktop process; do it here, not in a case.
        self.probe("text", "brisvane-e2e warm-up", check=False)

    def attach(self):
        """Join the session that start() left (in another process)."""
        try:
            state = json.loads(self.state_file.read_text())
        except (FileNotFoundError, ValueError):
            raise Failure(f"no e2e session is running ({self.state_file} is missing): "
                          "run the e2e_session_start test first")
        self.display, self.xvfb_pid = state["display"], state["xvfb_pid"]
        try:
            os.kill(self.xvfb_pid, 0)
        except ProcessLookupError:
            raise Failure(f"the session's Xvfb (pid {self.xvfb_pid}) is gone")

    def stop(self, quiet=False):
        if self.prefix.exists():
            self.server("-k")
            self.server("-w")
        try:
            state = json.loads(self.state_file.read_text())
            os.killpg(state["xvfb_pid"], signal.SIGTERM)
            if not quiet:
                log(f"e2e: stopped Xvfb {state['display']}")
        except (FileNotFoundError, ValueError, ProcessLookupError, PermissionError):
            pass
        self.state_file.unlink(missing_ok=True)

    # -- Windows programs

    def run(self, exe, *args, trace=None, timeout=60, check=True):
        cmd = runner_for(exe) + [str(exe)] + [str(a) for a in args]
        with open(trace or os.devnull, "wb") as err:
            done = subprocess.run(cmd, env=self.env(trace=bool(trace)), stdout=subprocess.PIPE,
                                  stderr=err, timeout=timeout, **self.as_user())
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(cmd)} exited {done.returncode}")
        return done

    def launch(self, exe, *args, trace=None, env=None):
        cmd = runner_for(exe) + [str(exe)] + [str(a) for a in args]
        full_env = self.env(trace=bool(trace))
        full_env.update(env or {})
        err = open(trace or os.devnull, "wb")
        proc = subprocess.Popen(cmd, env=full_env, stdout=subprocess.PIPE, stderr=err, **self.as_user())
        err.close()
        return proc

    def probe(self, *args, check=True, raw=False):
        """Runs the helper that looks at windows and files from inside the Wine session: its
        output lines (or, raw, its whole output), None when it found nothing."""
        probe = self.helper("e2e_probe.exe")
        done = self.run(probe, *args, check=False, timeout=60)
        if check and done.returncode != 0:
            return None
        out = done.stdout.decode("utf-8", "replace")
        return out if raw else out.splitlines()

    def restart_server(self):
        """A new Wine session after a restart request has ended the old one's programs: a
        program started while Wine's shutdown is still under way would be killed by it."""
        self.server("-k")
        self.server("-w")
        self.start_server()

    def helper(self, name):
        """One of the helper programs built beside this suite (see CMakeLists.txt)."""
        return self.helpers / name

    def write_boot(self, data):
        """Lays down c:\\boot.ini (None: no file), with normal attributes."""
        path = self.boot_path
        if path.exists() or path.is_symlink():
            path.unlink()
        if data is not None:
            path.write_bytes(data)
            self.give(path)

    def read_boot(self):
        try:
            return self.boot_path.read_bytes()
        except FileNotFoundError:
            return None

    # -- X: windows, keys, mouse, pictures

    def xdotool(self, *args, check=True):
        done = subprocess.run([tool("xdotool")] + [str(a) for a in args], env=self.env(),
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if check and done.returncode != 0:
            raise Failure(f"xdotool {' '.join(map(str, args))}: {done.stderr.decode().strip()}")
        return done.stdout.decode().split()

    def find_windows(self, title):
        ids = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title), check=False)
        return [int(i) for i in ids]

    def wait_window(self, title, timeout=20):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.find_windows(title)
            if found:
                return found[0]
            time.sleep(0.1)
        return None

    def wait_gone(self, title, timeout=10):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if not self.find_windows(title):
                return True
            time.sleep(0.1)
        return False

    def keys(self, window, *keys):
        """Real key presses (XTEST) with the X focus on `window`."""
        self.xdotool("windowfocus", "--sync", window)
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)
            time.sleep(0.12)

    def click(self, x, y, double=False):
        # Not "mousemove --sync": it waits for a motion that never comes when the pointer is
        # already there.
        self.xdotool("mousemove", x, y)
        deadline = time.time() + 5
        while time.time() < deadline:
            where = dict(kv.split(":") for kv in self.xdotool("getmouselocation")[:2])
            if (int(where["x"]), int(where["y"])) == (x, y):
                break
            time.sleep(0.05)
        if double:
            self.xdotool("click", "--repeat", 2, "--delay", 90, 1)
        else:
            self.xdotool("click", 1)
        time.sleep(0.15)

    def screenshot(self, path, window=None):
        """A PNG of the whole screen, or cropped to one window (frame and caption included)."""
        Path(path).parent.mkdir(parents=True, exist_ok=True)
        shot = subprocess.run(["import", "-window", "root", str(path)], env=self.env(),
                              stderr=subprocess.PIPE, timeout=60)
        if shot.returncode != 0:
            raise Failure(f"import failed: {shot.stderr.decode().strip()}")
        if window is not None:
            geometry = {}
            for line in subprocess.run([tool("xdotool"), "getwindowgeometry", "--shell", str(window)],
                                       env=self.env(), stdout=subprocess.PIPE).stdout.decode().splitlines():
                k, _, v = line.partition("=")
                geometry[k] = int(v) if v.isdigit() else v
            crop = "%dx%d+%d+%d" % (geometry["WIDTH"], geometry["HEIGHT"], geometry["X"], geometry["Y"])
            subprocess.run(["convert", str(path), "-crop", crop, "+repage", str(path)],
                           env=self.env(), check=True, timeout=60)
        return Path(path)


class Dialog:
    """The program's dialog as a user sees it: where its controls are, what its list says."""

    def __init__(self, session, window):
        self.session = session
        self.window = window
        self.controls = {}
        self.close_box = None
        lines = session.probe("rects", DIALOG_TITLE) or []
        for line in lines:
            name, *numbers = line.split()
            if name == "close":
                self.close_box = tuple(int(n) for n in numbers)
            elif name != "window":
                left, top, right, bottom = (int(n) for n in numbers)
                self.controls[int(name)] = (left, top, right, bottom)
        if IDC_OSLIST not in self.controls:
            raise Failure(f"the dialog's controls could not be located (probe said {lines!r})")

    def centre(self, control):
        left, top, right, bottom = self.controls[control]
        return (left + right) // 2, (top + bottom) // 2

    def click(self, control, double=False):
        self.session.click(*self.centre(control), double=double)

    def click_line(self, row, double=False):
        """The list's row `row` (0-based, among the rows shown from the top)."""
        left, top, _, _ = self.controls[IDC_OSLIST]
        height = self.list_state()[1]
        self.session.click(left + 20, top + 1 + height * row + height // 2, double=double)

    def list_state(self):
        """(count, item height, selected row) of the list."""
        lines = self.session.probe("list", DIALOG_TITLE)
        if not lines:
            raise Failure("the dialog's list could not be read")
        return tuple(int(n) for n in lines[0].split())

    def click_close_box(self):
        self.session.click(*self.close_box)

    def listing(self):
        lines = self.session.probe("list", DIALOG_TITLE)
        if lines is None:
            return None
        return lines[1:1 + int(lines[0].split()[0])]
