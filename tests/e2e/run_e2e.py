#!/usr/bin/env python3
"""End-to-end cases: brisvane.exe under Wine, driven with real keys and clicks.

    run_e2e.py --program EXE --prefix DIR --workdir DIR --start      set up the session
    run_e2e.py ... --group NAME [--case TEXT]                        run one group of cases
    run_e2e.py ... --group NAME --windows-version win2k|nt40         ... as that Windows
    run_e2e.py ... --stop                                            tear the session down
    run_e2e.py ... --all                                             all three in one go
    run_e2e.py --list-groups                                         the groups, one a line

A case judges only what a user or the machine could see: the bytes of c:\\boot.ini, the
exit code, the windows and their texts, and the calls into Windows (Wine's relay trace).
A failing case prints what it expected and what happened, and leaves a screenshot and the
trace under WORKDIR/failures/.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness as h  # noqa: E402
from harness import (ABOUT_TITLE, BOOTMENU_TITLE, DIALOG_TITLE, ERROR_TITLE, IDC_ABOUT,  # noqa: E402
                     IDC_BOOTMENU, IDCANCEL, IDD_SELECT, IDOK, Failure, Skip)

sys.stdout.reconfigure(encoding="utf-8", errors="replace")

BOOT_FILE = "c:\\boot.ini"
TEXT_ABOUT = "Brisvane\n--------------------\nAuther: Kestrin\nkestrin@example.jp\n--------------------\n"
TEXT_BOOTMENU = "次回の起動時に、使用するOSをメニューから選ぶことができます。"
TEXT_NOT_WRITTEN_NO_RESTART = "c:\\boot.ini を書き換えられませんでした。再起動は行いません。"
TEXT_NOT_WRITTEN = "c:\\boot.ini を書き換えられませんでした。"
TEXT_RESTART_REFUSED = "再起動できませんでした。次回の起動時に、選択したOSが起動します。"

# The systems of the usual fixture, deliberately not in sorted order: the list must keep the
# file's order. One description is Japanese (Shift_JIS in the file).
SYSTEMS = [
    (r"multi(0)disk(0)rdisk(0)partition(2)\WINDOWS", "Windows XP Professional", "/fastdetect /noexecute=optin"),
    (r"multi(0)disk(0)rdisk(0)partition(1)\WINNT", "Microsoft Windows 2000 日本語版", "/fastdetect"),
    (r"C:\CMDCONS\BOOTSECT.DAT", "回復コンソール", "/cmdcons"),
]
PATHS = [s[0] for s in SYSTEMS]
LOADER = [("timeout", "5"), ("default", PATHS[0])]
FIXTURE = h.boot_ini(LOADER, SYSTEMS)

ANY = object()
WATCHED = {"WritePrivateProfileStringA", "ExitWindowsEx", "MessageBoxA", "CreateDialogParamA"}


def write_call(key, value):
    return ("WritePrivateProfileStringA", "boot loader", key, value, BOOT_FILE)


RESTART = ("ExitWindowsEx", 6, 0)
DIALOG = ("CreateDialogParamA", ANY, IDD_SELECT, ANY, ANY, ANY)


def box_call(caption):
    return ("MessageBoxA", ANY, ANY, caption, ANY)


# ---------------------------------------------------------------------------------------------


class App:
    """One run of the program under test."""

    def __init__(self, run, args, env=None):
        self.run = run
        self.trace = run.failures / f"{run.slug}-{len(run.apps)}.trace"
        self.trace.parent.mkdir(parents=True, exist_ok=True)
        self.proc = run.session.launch(run.program, *args, trace=self.trace, env=env)
        self.dialog = None

    def calls(self):
        return h.parse_trace(self.trace, h.pe_header.image_range(self.run.program))

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout=timeout)
        except Exception:
            return None


class Run:
    """The context of one case: the session, the program, the checks."""

    def __init__(self, session, program, workdir, slug):
        self.session = session
        self.program = program
        self.slug = slug
        self.failures = workdir / "failures"
        self.apps = []
        self.holder = None
        self.release = None
        self.restarted = False

    def after_restart(self):
        """Wine ends the session's programs on a restart request; the next look inside needs a
        session that is not still shutting down."""
        self.session.restart_server()
        self.restarted = True

    # -- setting up

    def start(self, fixture=FIXTURE, args=(), env=None):
        """Lays down the fixture (... keeps the file as it is) and starts the program; with
        no arguments, waits for its dialog and locates its controls."""
        if fixture is not ...:
            self.session.write_boot(fixture)
        self.before = self.session.read_boot()
        app = App(self, args, env)
        self.apps.append(app)
        if not args:
            window = self.session.wait_window(DIALOG_TITLE, timeout=30)
            if window is None:
                raise Failure(f"expected the dialog {DIALOG_TITLE!r} within 30 s; it did not appear "
                              f"(program {'exited ' + str(app.proc.poll()) if app.proc.poll() is not None else 'still running'})")
            app.dialog = h.Dialog(self.session, window)
        return app

    def hold_file(self):
        """Another program opens c:\\boot.ini without sharing, until release_file()."""
        self.release = self.session.prefix / "drive_c" / "windows" / "temp" / "e2e-release"
        self.release.unlink(missing_ok=True)
        self.holder = self.session.launch(self.session.helper("e2e_hold.exe"), BOOT_FILE,
                                          r"C:\windows\temp\e2e-release")
        line = self.holder.stdout.readline().decode().strip()
        if line != "held":
            raise Failure(f"the helper could not hold {BOOT_FILE} open (it said {line!r})")

    def release_file(self):
        if self.holder:
            self.release.write_bytes(b"")
            try:
                self.holder.wait(timeout=20)
            except Exception:
                self.holder.kill()
            self.holder = None

    def cleanup(self):
        self.release_file()
        for app in self.apps:
            if app.proc.poll() is None:
                app.proc.kill()
                app.proc.wait()
        if not self.restarted and any(c.name == "ExitWindowsEx" for app in self.apps for c in app.calls()):
            self.session.restart_server()
        self.session.wait_gone(DIALOG_TITLE, timeout=10)

    # -- checks

    def expect(self, condition, expected, happened):
        if not condition:
            raise Failure(f"expected {expected}\n  happened: {happened}")

    def expect_file(self, expected, what):
        actual = self.session.read_boot()
        if actual != expected:
            raise Failure(f"expected c:\\boot.ini {what}:\n    {h.show_bytes(expected)}\n"
                          f"  happened:\n    {h.show_bytes(actual)}")

    def expect_unchanged(self):
        self.expect_file(self.before, "unchanged")

    def expect_calls(self, app, expected):
        watched = [c for c in app.calls() if c.name in WATCHED]
        got = [(c.name, *c.args) for c in watched]
        ok = len(got) == len(expected) and all(
            len(g) == len(e) and all(ev is ANY or ev == gv for gv, ev in zip(g, e))
            for g, e in zip(got, expected))
        shown = lambda calls: "\n    ".join(  # noqa: E731
            "(" + ", ".join("…" if a is ANY else repr(a) for a in c) + ")" for c in calls) or "(none)"
        if not ok:
            raise Failure(f"expected these calls from the program, in order:\n    {shown(expected)}\n"
                          f"  happened:\n    {shown(got)}")
        return watched

    def expect_box(self, title, text):
        window = self.session.wait_window(title, timeout=15)
        if window is None:
            raise Failure(f"expected a box titled {title!r}; none appeared (windows now: {self.windows()})")
        shown = self.session.probe("text", title, raw=True)
        if shown != text:
            raise Failure(f"expected the box {title!r} to say {text!r}\n  happened: {shown!r}")
        return window

    def answer_box(self, box, title, key="Return"):
        """Answers a box with a key and sees it go."""
        self.session.keys(box, key)
        self.expect(self.session.wait_gone(title), f"the box {title!r} to close on {key}", "it stays")

    def expect_dialog(self, app):
        """The dialog is still up, and the program still running."""
        if not self.session.find_windows(DIALOG_TITLE):
            raise Failure(f"expected the dialog to stay; it is gone (program: {app.proc.poll()})")
        self.expect(app.proc.poll() is None, "the program still running", f"exited {app.proc.poll()}")

    def expect_no_boxes(self):
        for title in (ABOUT_TITLE, BOOTMENU_TITLE, ERROR_TITLE):
            self.expect(not self.session.find_windows(title), f"no box titled {title!r}", "it is on screen")

    def expect_exit(self, app, code, timeout=20):
        got = app.wait_exit(timeout)
        self.expect(got == code, f"the program to end with exit code {code}",
                    "still running after %d s" % timeout if got is None else f"exit code {got}")

    def windows(self):
        titles = []
        for title in (DIALOG_TITLE, ABOUT_TITLE, BOOTMENU_TITLE, ERROR_TITLE):
            if self.session.find_windows(title):
                titles.append(title)
        return titles or "none of ours"

    def settle(self):
        """Time for a command that should do nothing to show that it did something."""
        time.sleep(1.0)


# ---------------------------------------------------------------------------------------------
# Cases. Each group is one CTest test; a case is a function of a Run.

GROUPS = {}


def case(group, name):
    def register(fn):
        GROUPS.setdefault(group, []).append((name, fn))
        return fn
    return register


def cases_from_table(group, table, body):
    for row in table:
        case(group, row[0])(lambda run, row=row: body(run, *row[1:]))


# How a user selects a row and gives a command. Each takes (run, app) and returns the row
# that ends up selected.
def by_keys(*keys, row):
    def act(run, app):
        run.session.keys(app.dialog.window, *keys)
        return row
    return act


def click_line_then(row, control):
    def act(run, app):
        app.dialog.click_line(row)
        app.dialog.click(control)
        return row
    return act


def keys_then_click(keys, row, control):
    def act(run, app):
        run.session.keys(app.dialog.window, *keys)
        app.dialog.click(control)
        return row
    return act


# -- the switch

def switch_case(run, act):
    app = run.start()
    row = act(run, app)
    run.expect_exit(app, 0, timeout=30)
    run.expect_file(h.with_loader_keys(FIXTURE, default=PATHS[row], timeout="0"),
                    f"to name row {row} as default with timeout 0")
    calls = run.expect_calls(app, [DIALOG, write_call("default", PATHS[row]), write_call("timeout", "0"), RESTART])
    run.expect(all(c.retval == 1 for c in calls[1:3]), "both writes to succeed", calls)
    # The dialog is closed and the loop ended after the restart request.
    names = [c.name for c in app.calls()]
    run.expect(names[-2:] == ["EndDialog", "PostQuitMessage"],
               "EndDialog then PostQuitMessage after the restart request", names)


cases_from_table("switch", [
    ("Enter on the list after Home, Down switches to the second system",
     by_keys("Home", "Down", "Return", row=1)),
    ("a click on the third line and on the switch button switches to it",
     click_line_then(2, IDOK)),
    ("Tab to the switch button and Space switches to the selected system",
     by_keys("Down", "End", "Up", "Up", "Tab", "space", row=0)),
], switch_case)


@case("switch", "the switch without a selection does nothing, by Enter and by a click")
def switch_without_selection(run):
    app = run.start()
    run.expect(app.dialog.list_state()[2] == -1, "no line selected at start", app.dialog.list_state())
    run.session.keys(app.dialog.window, "Return")
    app.dialog.click(IDOK)
    run.settle()
    run.expect_dialog(app)
    run.expect_no_boxes()
    run.expect_unchanged()
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_calls(app, [DIALOG])


@case("switch", "a refused restart: both settings written, the box says so, then the program ends")
def switch_restart_refused(run):
    # Wine's ExitWindowsEx starts wineboot to end the session; with wineboot disabled the
    # request fails as a refused one would on Windows.
    app = run.start(env={"WINEDLLOVERRIDES": h.WINE_ENV["WINEDLLOVERRIDES"] + ";wineboot.exe=d"})
    run.session.keys(app.dialog.window, "Home", "Down", "Return")
    box = run.expect_box(ERROR_TITLE, TEXT_RESTART_REFUSED)
    run.expect_file(h.with_loader_keys(FIXTURE, default=PATHS[1], timeout="0"),
                    "to name row 1 as default with timeout 0")
    run.session.keys(box, "Return")
    run.expect_exit(app, 0)
    calls = run.expect_calls(app, [DIALOG, write_call("default", PATHS[1]), write_call("timeout", "0"),
                                   RESTART, box_call(ERROR_TITLE)])
    run.expect(calls[3].retval == 0, "ExitWindowsEx to have failed", calls[3])


# -- choose at start-up

def bootmenu_case(run, act, row):
    app = run.start()
    act(run, app)
    box = run.expect_box(BOOTMENU_TITLE, TEXT_BOOTMENU)
    run.expect(not run.session.find_windows(DIALOG_TITLE), "the dialog closed before the box shows",
               "the dialog is still on screen")
    if row is None:
        run.expect_file(h.with_loader_keys(FIXTURE, timeout="-1"), "with timeout -1 and the old default")
    else:
        run.expect_file(h.with_loader_keys(FIXTURE, default=PATHS[row], timeout="-1"),
                        f"to name row {row} as default with timeout -1")
    run.session.keys(box, "Return")
    run.expect_exit(app, 0)
    writes = [] if row is None else [write_call("default", PATHS[row])]
    run.expect_calls(app, [DIALOG] + writes + [write_call("timeout", "-1"), box_call(BOOTMENU_TITLE)])


cases_from_table("bootmenu", [
    ("a click on the second line and on the button", click_line_then(1, IDC_BOOTMENU), 1),
    ("Home, Tab, Tab and Space", by_keys("Home", "Tab", "Tab", "space", row=0), 0),
    ("Home, End, then a click on the button", keys_then_click(["Home", "End"], 2, IDC_BOOTMENU), 2),
    ("a click on the button with nothing selected leaves the default", lambda run, app: app.dialog.click(IDC_BOOTMENU), None),
], bootmenu_case)


# -- cancelling

def cancel_case(run, act):
    app = run.start()
    act(run, app)
    run.expect_exit(app, 0)
    run.expect(not run.session.find_windows(DIALOG_TITLE), "the dialog gone", "it is still on screen")
    run.expect_unchanged()
    run.expect_calls(app, [DIALOG])


cases_from_table("cancel", [
    ("Escape", by_keys("Escape", row=None)),
    ("Escape after selecting a line", by_keys("Down", "Down", "Escape", row=None)),
    ("a click on the close box", lambda run, app: app.dialog.click_close_box()),
    ("a click on the cancel button after selecting a line", click_line_then(1, IDCANCEL)),
    ("Tab to the cancel button and Space", by_keys("Tab", "Tab", "Tab", "space", row=None)),
], cancel_case)


# -- about

@case("about", "About twice, by a click and by Tab and Space; the dialog stays each time")
def about_twice(run):
    app = run.start()
    app.dialog.click(IDC_ABOUT)
    box = run.expect_box(ABOUT_TITLE, TEXT_ABOUT)
    run.expect_dialog(app)
    run.answer_box(box, ABOUT_TITLE)
    run.expect_dialog(app)
    app.dialog.click_line(0)
    run.session.keys(app.dialog.window, "Tab", "Tab", "Tab", "Tab", "space")
    box = run.expect_box(ABOUT_TITLE, TEXT_ABOUT)
    run.answer_box(box, ABOUT_TITLE, "Escape")
    run.expect_dialog(app)
    run.expect_unchanged()
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_unchanged()
    run.expect_calls(app, [DIALOG, box_call(ABOUT_TITLE), box_call(ABOUT_TITLE)])


# -- the list

@case("list", "the list shows every description in the file's order, Japanese included")
def list_order(run):
    app = run.start()
    listing = app.dialog.listing()
    run.expect(listing == [s[1] for s in SYSTEMS], [s[1] for s in SYSTEMS], listing)
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)


@case("list", "a double-click on a line selects it and does nothing else")
def double_click(run):
    app = run.start()
    app.dialog.click_line(1, double=True)
    run.settle()
    run.expect(app.dialog.list_state()[2] == 1, "the second line selected", app.dialog.list_state())
    run.expect_dialog(app)
    run.expect_no_boxes()
    run.expect_unchanged()
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_calls(app, [DIALOG])


MANY = [(rf"multi(0)disk(0)rdisk(1)partition({i + 1})\WINDOWS", f"システム {i + 1:02d}", "/fastdetect")
        for i in range(20)]


@case("list", "with 20 systems the first 16 are listed, and End then the command picks the 16th")
def more_than_sixteen(run):
    fixture = h.boot_ini(LOADER, MANY)
    app = run.start(fixture)
    listing = app.dialog.listing()
    expected = [s[1] for s in MANY[:16]]
    run.expect(listing == expected, expected, listing)
    # Wine's list takes the first key with nothing selected as a move to the first line.
    run.session.keys(app.dialog.window, "Home", "End")
    app.dialog.click(IDC_BOOTMENU)
    box = run.expect_box(BOOTMENU_TITLE, TEXT_BOOTMENU)
    run.session.keys(box, "Return")
    run.expect_exit(app, 0)
    run.expect_file(h.with_loader_keys(fixture, default=MANY[15][0], timeout="-1"),
                    "to name the 16th system as default")


def empty_list_case(run, fixture):
    app = run.start(fixture)
    count = app.dialog.list_state()[0]
    run.expect(count == 0, "an empty list", f"{count} lines")
    run.session.keys(app.dialog.window, "Return")
    app.dialog.click(IDOK)
    run.settle()
    run.expect_dialog(app)
    run.expect_unchanged()
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_unchanged()
    run.expect_calls(app, [DIALOG])


cases_from_table("list", [
    ("no c:\\boot.ini: an empty list, the switch does nothing, no file appears", None),
    ("no [operating systems] header: an empty list, the switch does nothing",
     b"[boot loader]\r\ntimeout=5\r\ndefault=" + PATHS[0].encode() + b"\r\n"),
    ("a header in other case is not the header",
     FIXTURE.replace(b"[operating systems]", b"[Operating Systems]")),
], empty_list_case)


@case("list", "an empty line ends the list")
def blank_line_ends_list(run):
    fixture = h.boot_ini(LOADER, SYSTEMS[:2]) + b"\r\n" + FIXTURE.split(b"\r\n")[-2] + b"\r\n"
    app = run.start(fixture)
    listing = app.dialog.listing()
    run.expect(listing == [s[1] for s in SYSTEMS[:2]], [s[1] for s in SYSTEMS[:2]], listing)
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_unchanged()


# -- the command-line reset

def reset_case(run, args):
    app = run.start(args=args)
    run.expect_exit(app, 0, timeout=30)
    run.expect_file(h.with_loader_keys(FIXTURE, timeout="30"), "with timeout 30 and nothing else changed")
    run.expect_calls(app, [write_call("timeout", "30")])


cases_from_table("reset", [
    ("argument x", ["x"]),
    ("argument /s", ["/s"]),
    ("one quoted argument with blanks", ["a b  c"]),
    ("two arguments", ["-y", "2"]),
], reset_case)


@case("reset", "an argument with no c:\\boot.ini creates none, writes nothing and exits 1")
def reset_no_file(run):
    app = run.start(None, args=["x"])
    run.expect_exit(app, 1, timeout=30)
    run.expect_unchanged()
    run.expect_calls(app, [])


# -- a file another program holds open

@case("held", "the switch on a held file shows the error, restarts nothing, changes nothing")
def held_switch(run):
    app = run.start()
    run.hold_file()
    app.dialog.click_line(1)
    app.dialog.click(IDOK)
    box = run.expect_box(ERROR_TITLE, TEXT_NOT_WRITTEN_NO_RESTART)
    run.answer_box(box, ERROR_TITLE)
    run.expect_dialog(app)
    run.expect_unchanged()
    # The other command on the same held file.
    app.dialog.click(IDC_BOOTMENU)
    box = run.expect_box(ERROR_TITLE, TEXT_NOT_WRITTEN)
    run.expect(not run.session.find_windows(BOOTMENU_TITLE), "no choose-at-start-up box", "it is on screen")
    run.answer_box(box, ERROR_TITLE)
    run.expect_dialog(app)
    run.release_file()
    run.session.keys(app.dialog.window, "Escape")
    run.expect_exit(app, 0)
    run.expect_unchanged()
    calls = run.expect_calls(app, [DIALOG, write_call("default", PATHS[1]), box_call(ERROR_TITLE),
                                   write_call("default", PATHS[1]), box_call(ERROR_TITLE)])
    run.expect(calls[1].retval == 0 and calls[3].retval == 0, "both writes to fail",
               [c for c in calls if c.name.startswith("Write")])


@case("held", "the command-line reset on a held file exits 1 and changes nothing")
def held_reset(run):
    run.session.write_boot(FIXTURE)
    run.hold_file()
    app = run.start(..., args=["x"])
    run.expect_exit(app, 1, timeout=30)
    run.release_file()
    run.expect_unchanged()


# -- a read-only file (Setup marks c:\boot.ini read-only, hidden and system)

RHS = 0x7


def attributes(run):
    lines = run.session.probe("attr", BOOT_FILE)
    return int(lines[0], 16) if lines else None


def readonly_case(run, act, row, timeout, args=()):
    run.session.write_boot(FIXTURE)
    run.session.probe("attr", BOOT_FILE, "%x" % RHS)
    # Hidden and system live in an extended attribute that not every file system keeps for
    # every user; read-only is what matters, and whatever the file had must come back.
    before = attributes(run)
    run.expect(before is not None and before & 1, "the fixture read-only", before)
    app = run.start(..., args=args)
    if act:
        act(run, app)
    if timeout == "-1":
        box = run.expect_box(BOOTMENU_TITLE, TEXT_BOOTMENU)
        run.session.keys(box, "Return")
    run.expect_exit(app, 0, timeout=30)
    if timeout == "0":
        run.after_restart()
    keys = {"timeout": timeout}
    if row is not None:
        keys["default"] = PATHS[row]
    run.expect_file(h.with_loader_keys(FIXTURE, **keys), f"with {keys}")
    after = attributes(run)
    run.expect(after == before, f"the attributes kept ({before:#x})", f"{after:#x}" if after is not None else after)


cases_from_table("readonly", [
    ("the switch writes a read-only file and keeps its attributes", click_line_then(1, IDOK), 1, "0"),
    ("choose at start-up writes a read-only file and keeps its attributes",
     click_line_then(2, IDC_BOOTMENU), 2, "-1"),
    ("the command-line reset writes a read-only file and keeps its attributes", None, None, "30", ["/s"]),
], readonly_case)


@case("readonly", "(this host) a read-only file refuses a plain write, so the cases above prove the lifting")
def readonly_is_enforced(run):
    run.session.write_boot(FIXTURE)
    run.session.probe("attr", BOOT_FILE, "1")
    # The helper opens for writing and, the signal folder existing, lets go at once.
    done = run.session.run(run.session.helper("e2e_hold.exe"), BOOT_FILE, "C:\\windows",
                           check=False, timeout=30)
    run.session.probe("attr", BOOT_FILE, "20")
    run.expect(done.returncode == 1, "the helper's open for writing to be refused",
               f"exit {done.returncode}: Wine lets this user write read-only files, so the read-only "
               "cases would pass without the attribute being lifted")


# ---------------------------------------------------------------------------------------------


def nonroot_session(main, args):
    """The read-only cases need a user whom permissions bind: root writes read-only files
    under Wine regardless. Such a user needs a prefix of its own."""
    if os.geteuid() != 0:
        return main, None
    user = (65534, 65534)
    base = Path(args.prefix).resolve().parent / (Path(args.prefix).name + "-nonroot")
    if subprocess.run(["test", "-x", str(base.parent)], user=user[0], group=user[1],
                      extra_groups=[]).returncode != 0:
        # The folders above the build folder are closed to that user.
        base = Path(tempfile.gettempdir()) / "brisvane-e2e-nonroot"
    base.mkdir(parents=True, exist_ok=True)
    os.chmod(base, 0o755)
    # Copies of the programs beside the prefix, where the user surely reaches them.
    bin_dir = base / "bin"
    bin_dir.mkdir(exist_ok=True)
    for f in [args.program, Path(args.workdir) / "e2e_probe.exe", Path(args.workdir) / "e2e_hold.exe"]:
        shutil.copy2(f, bin_dir / Path(f).name)
    session = h.Session(base / "prefix", Path(args.workdir) / "nonroot-work", user=user, helpers=bin_dir)
    session.display = main.display
    wow64 = h.pe_header.machine(args.program) == "i386"
    if wow64:
        # tools/wine32 keeps its copies of the loaders in a folder that user must own.
        state = base / "wine32"
        state.mkdir(exist_ok=True)
        for path in [state, *state.rglob("*")]:
            os.chown(path, *user, follow_symlinks=False)
        session.extra_env["BRISVANE_WINE32_DIR"] = str(state)
    session.ensure_prefix(wow64=wow64)
    session.start_server()
    return session, bin_dir / Path(args.program).name


# What GetVersionEx answers under each Windows version of Wine's that the suite asks for.
REPORTED_VERSION = {"win2k": "5.0", "nt40": "4.0"}


def pretend_windows(session, program, version):
    """Has Wine report `version` to the program (and to the probe, which checks that Wine took
    it); None puts Wine's default back, which also clears what a killed run left behind."""
    session.windows_version(version, [program.name, "e2e_probe.exe"])
    if version is None:
        return
    reported = session.probe("version")
    if reported != [REPORTED_VERSION[version]]:
        raise Failure(f"Wine did not take the Windows version {version!r}: a program is told "
                      f"{reported}, expected {REPORTED_VERSION[version]}")
    h.log(f"e2e: Wine reports Windows {reported[0]} ({version}) to {program.name}")


def run_group(args, group, only=None):
    program = Path(args.program).resolve()
    h.runner_for(program)  # skips here when the host cannot run it
    session = h.Session(args.prefix, args.workdir, helpers=args.workdir)
    session.attach()
    if group != "readonly":
        pretend_windows(session, program, args.windows_version)
    if group == "readonly":
        session, copied = nonroot_session(session, args)
        if copied:
            program = copied
            h.log(f"e2e: read-only cases run as uid {session.user[0]} (root writes read-only files)")
    passed = failed = 0
    workdir = Path(args.workdir)
    for name, fn in GROUPS[group]:
        if only and only not in name:
            continue
        slug = f"{group}-{passed + failed + 1}"
        run = Run(session, program, workdir, slug)
        started = time.time()
        try:
            fn(run)
            passed += 1
            h.log(f"PASS  {group}: {name}  ({time.time() - started:.1f} s)")
        except Failure as e:
            failed += 1
            shot = run.failures / f"{slug}.png"
            try:
                session.screenshot(shot)
            except Exception as shot_error:  # the screenshot must not hide the failure
                shot = f"(no screenshot: {shot_error})"
            h.log(f"FAIL  {group}: {name}\n  {e}\n  screenshot: {shot}\n"
                  f"  traces: {', '.join(str(a.trace) for a in run.apps) or '-'}")
        except Exception:
            failed += 1
            h.log(f"FAIL  {group}: {name}: the harness broke\n{traceback.format_exc()}")
        finally:
            run.cleanup()
    if session.user:
        session.server("-k")
    elif args.windows_version:
        pretend_windows(session, program, None)
    version = f" as {args.windows_version}" if args.windows_version else ""
    h.log(f"e2e {group}{version}: {passed} passed, {failed} failed")
    return 1 if failed else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program")
    parser.add_argument("--prefix")
    parser.add_argument("--workdir")
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--start", action="store_true")
    mode.add_argument("--stop", action="store_true")
    mode.add_argument("--group", choices=sorted(GROUPS))
    mode.add_argument("--all", action="store_true")
    # CMake makes one test of each group from this list, when it configures the build.
    mode.add_argument("--list-groups", action="store_true")
    parser.add_argument("--case", help="only the cases whose name contains this text")
    parser.add_argument("--windows-version", choices=sorted(REPORTED_VERSION),
                        help="the Windows version Wine reports to the program (default: Wine's own)")
    args = parser.parse_args()
    if args.list_groups:
        print("\n".join(GROUPS))
        return 0
    for needed in ("program", "prefix", "workdir"):
        if getattr(args, needed) is None:
            parser.error(f"--{needed} is required")
    try:
        h.runner_for(args.program)
        if args.stop:
            h.Session(args.prefix, args.workdir).stop()
            return 0
        if args.start:
            h.Session(args.prefix, args.workdir, program=args.program).start()
            return 0
        if args.group:
            return run_group(args, args.group, args.case)
        session = h.Session(args.prefix, args.workdir, program=args.program)
        session.start()
        try:
            return max(run_group(args, g, args.case) for g in GROUPS)
        finally:
            session.stop()
    except Skip as e:
        h.log(f"SKIP: {e}")
        return h.SKIP
    except Failure as e:
        h.log(f"e2e: {e}")
        return 1


if __name__ == "__main__":
    sys.exit(main())
