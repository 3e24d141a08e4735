#!/usr/bin/env python3
"""Writes the fuzz targets' starting inputs into tests/fuzz/corpus/<target>/seed-*.

The seeds are boot files as setup and users leave them, and runs of the dialog along its
main paths and failures, each in the byte layout its target reads (see the comment at the
top of each *_fuzzer.cpp). Inputs that fuzzing found to break something are stored beside
them under other names and are never touched here.

    tests/fuzz/make_corpus.py           rewrite the seeds
    tests/fuzz/make_corpus.py --check   fail when the stored seeds differ from these
"""
import re
import struct
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
XP = b"multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS"
W2K = b"multi(0)disk(0)rdisk(0)partition(2)\\WINNT"
SJIS_NAME = "Windows XP 日本語版".encode("cp932")


def ini(*lines, end=b"\r\n"):
    return b"".join(line + end for line in lines)


LOADER = [b"[boot loader]", b"timeout=30", b"default=" + XP]
BOOT_FILES = {
    "xp": ini(*LOADER, b"[operating systems]",
              XP + b'="Microsoft Windows XP Professional" /noexecute=optin /fastdetect'),
    "dual-boot-sjis": ini(*LOADER, b"[operating systems]",
                          XP + b'="' + SJIS_NAME + b'" /fastdetect',
                          W2K + b'="Windows 2000 Professional" /fastdetect',
                          b'C:\\="Microsoft Windows"', b"C:\\CMDCONS\\BOOTSECT.DAT=\"Recovery\" /cmdcons"),
    "lf-only-no-final-end": ini(*LOADER, b"[operating systems]", XP + b'="XP"', end=b"\n")[:-1],
    "more-than-16": ini(*LOADER, b"[operating systems]",
                        *[b"multi(0)disk(0)rdisk(0)partition(%d)\\WINDOWS=\"System %d\"" % (i, i)
                          for i in range(1, 19)]),
    "long-lines": ini(*LOADER, b"[operating systems]", b"x" * 256, b"y" * 257 + b'="z"',
                      XP + b'="' + b"d" * 300 + b'"', b"=" * 2 + b"e" * 254),
    "sections-after": ini(b"[operating systems]", XP + b'="XP"', *LOADER, b"; comment",
                          b"[Debug]", b"x=1"),
    "blank-before-header": ini(*LOADER, b"", b"[operating systems]", XP + b'="XP"'),
    "separators": ini(b"[operating systems]", b'a==b', b'=="only description"', b'c= "d"',
                      b'e="f"g"h"', b'i"j"k', b'l===m', b"\x00hidden", b"n\x00=\"o\""),
    "empty": b"",
}

LINES = [
    XP + b'="Microsoft Windows XP Professional" /fastdetect',
    b'C:\\="Microsoft Windows"', b"C:\\=", b'=="description only"', b'a="b"c"d"', b"x" * 256,
    b"x" * 255 + b"=", b'=="' + b"d" * 254, b'path "desc"', b'"quoted"', b"a\x00=\"b\"",
    b"", SJIS_NAME,
]


def reader_seeds():
    # [max chars low byte] [flags: 1 +256, 2 open fails, 4 no file, 8 read limit] [limit]
    seeds = {"xp-256": bytes([0, 1, 0]) + BOOT_FILES["xp"]}
    seeds["short-lines"] = bytes([5, 0, 0]) + b"ab\r\ncdefghij\n\nk\r\r\nlmnop\n"
    seeds["zero-room"] = bytes([0, 0, 0]) + b"a\nbc\n\n"
    seeds["read-fails"] = bytes([3, 8, 9]) + b"abc\r\ndefgh\r\nij\r\n"
    seeds["open-fails"] = bytes([0, 3, 0]) + BOOT_FILES["xp"]
    seeds["no-file"] = bytes([0, 5, 0])
    seeds["long-lines-256"] = bytes([0, 1, 0]) + BOOT_FILES["long-lines"]
    return seeds


def table_seeds():
    # [flags: 1 open fails, 2 no file, 4 read limit] [limit, 2 bytes] [file...]
    seeds = {name: bytes([0, 0, 0]) + data for name, data in BOOT_FILES.items()}
    seeds["read-fails-in-section"] = bytes([4]) + struct.pack("<H", 100) + BOOT_FILES["dual-boot-sjis"]
    seeds["open-fails"] = bytes([1, 0, 0]) + BOOT_FILES["xp"]
    seeds["no-file"] = bytes([2, 0, 0])
    return seeds


FUZZER = HERE / "dialog_session_fuzzer.cpp"


def fuzzer_part(pattern, what):
    """The first group of `pattern` in the session fuzzer's source; stops the script, naming
    `what`, when the source no longer has it."""
    found = re.search(pattern, FUZZER.read_text(), re.S)
    if not found:
        sys.exit("make_corpus: no %s in %s" % (what, FUZZER.name))
    return found.group(1)


def fuzzer_table(name):
    """The entries of the session fuzzer's array `name`, as written in its source with blanks
    and comments removed. The input's bytes index these tables."""
    body = fuzzer_part(r"\b%s\[\]\s*=\s*\{(.*?)\};" % name, "%s table" % name)
    body = re.sub(r"//[^\n]*|/\*.*?\*/|\s+", "", body, flags=re.S)
    entries, depth, start = [], 0, 0
    for at, c in enumerate(body):
        depth += {"(": 1, ")": -1}.get(c, 0)
        if c == "," and depth == 0:
            entries.append(body[start:at])
            start = at + 1
    entries.append(body[start:])
    return [entry for entry in entries if entry]


def fuzzer_flags():
    """The session fuzzer's input flag bits by name (kReadOnly: 1, ...)."""
    body = fuzzer_part(r"\benum\s+Flag\s*\{(.*?)\}", "enum Flag")
    return {name: int(value, 0) for name, value in re.findall(r"(k\w+)\s*=\s*(\w+)", body)}


def failable_calls():
    """The session fuzzer's kFailable: the names of the calls a run may see fail, indexed by
    the input's failing-call byte (None: nothing fails)."""
    return [None if entry == "nullptr" else entry.strip('"')
            for entry in fuzzer_table("kFailable")]


def odd_selection_byte(selection):
    """The smallest selection byte that makes the session fuzzer select `selection` out of its
    kOddSelections (bytes below its first-rows bound select those rows directly)."""
    odd = fuzzer_table("kOddSelections")
    bound = int(fuzzer_part(r"\w+\s*<\s*(\d+)\s*\?\s*\w+\s*:\s*kOddSelections", "first-rows bound"))
    return next(b for b in range(bound, 256) if b % len(odd) == odd.index(selection))


# dialog_session: [flags] [failing call] [which call] [selection] [message count] [messages]
# [command line length, command line] [file...]. Indexes into the target's tables:
FLAGS = fuzzer_flags()
READ_ONLY, HIDDEN, SYSTEM, MISSING, COMMAND_LINE = (
    FLAGS[name] for name in ("kReadOnly", "kHidden", "kSystem", "kMissing", "kCommandLine"))
FAILABLE = failable_calls()
NOTHING = FAILABLE.index(None)
WRITE = FAILABLE.index("WritePrivateProfileStringA")
SET_ATTRIBUTES = FAILABLE.index("SetFileAttributesA")
GET_ATTRIBUTES = FAILABLE.index("GetFileAttributesA")
EXIT_WINDOWS = FAILABLE.index("ExitWindowsEx")
ADJUST_PRIVILEGES = FAILABLE.index("AdjustTokenPrivileges")
READ_FILE = FAILABLE.index("ReadFile")
REGISTER_CLASS = FAILABLE.index("RegisterClassA")
CREATE_DIALOG = FAILABLE.index("CreateDialogParamA")
NO_SELECTION = odd_selection_byte("LB_ERR")
COMMANDS = fuzzer_table("kCommands")
SWITCH, CANCEL, BOOT_MENU, ABOUT, DOUBLE_CLICK = (
    COMMANDS.index(entry) for entry in
    ("IDOK", "IDCANCEL", "IDC_BOOTMENU", "IDC_ABOUT", "MAKEWPARAM(IDC_OSLIST,LBN_DBLCLK)"))


def session(flags=0, failing=NOTHING, nth=1, selection=0, commands=(), command_line=None,
            file=BOOT_FILES["dual-boot-sjis"]):
    out = bytes([flags, failing, nth - 1, selection, len(commands)])
    for command in commands:
        out += bytes([1, command])  # through IsDialogMessageA, as Enter and clicks arrive
    if command_line is not None:
        out += bytes([len(command_line)]) + command_line
    return out + file


def session_seeds():
    setup = READ_ONLY | HIDDEN | SYSTEM
    return {
        "switch": session(setup, commands=[SWITCH]),
        "switch-second-row": session(selection=1, commands=[SWITCH]),
        "switch-first-write-fails": session(setup, WRITE, 1, 1, [SWITCH, CANCEL]),
        "switch-second-write-fails": session(setup, WRITE, 2, 0, [SWITCH, CANCEL]),
        "switch-hidden-system": session(HIDDEN | SYSTEM, selection=1, commands=[SWITCH]),
        "switch-restart-refused": session(0, EXIT_WINDOWS, 1, 0, [SWITCH]),
        "switch-no-privilege": session(0, ADJUST_PRIVILEGES, 1, 0, [SWITCH]),
        "switch-nothing-selected": session(0, NOTHING, 1, NO_SELECTION, [SWITCH, ABOUT, CANCEL]),
        "boot-menu": session(setup, selection=2, commands=[BOOT_MENU]),
        "boot-menu-nothing-selected": session(selection=NO_SELECTION, commands=[BOOT_MENU]),
        "boot-menu-second-write-fails": session(setup, WRITE, 2, 1, [BOOT_MENU, CANCEL]),
        "boot-menu-second-lift-fails": session(setup, SET_ATTRIBUTES, 3, 1, [BOOT_MENU, CANCEL]),
        "boot-menu-lift-fails": session(setup, SET_ATTRIBUTES, 1, 0, [BOOT_MENU, CANCEL]),
        "boot-menu-restore-fails": session(setup, SET_ATTRIBUTES, 2, 0, [BOOT_MENU]),
        "boot-menu-attributes-unreadable": session(setup, GET_ATTRIBUTES, 1, 0, [BOOT_MENU]),
        "about-double-click-cancel": session(commands=[ABOUT, DOUBLE_CLICK, CANCEL]),
        "no-file": session(MISSING, commands=[BOOT_MENU]),
        "load-fails": session(0, READ_FILE, 1, 0, [SWITCH]),
        "class-fails": session(0, REGISTER_CLASS, 1, 0, [SWITCH]),
        "dialog-fails": session(0, CREATE_DIALOG, 1, 0, [SWITCH]),
        "reset": session(setup | COMMAND_LINE, command_line=b"/reset"),
        "reset-fails": session(COMMAND_LINE, WRITE, 1, command_line=b"x"),
        "reset-read-only-lift-fails": session(setup | COMMAND_LINE, SET_ATTRIBUTES, 1,
                                              command_line=b"-"),
    }


# command_line: the process command line as the start-up code gets it (without its NUL).
TOOL_FOLDER = "C:\\ツール\\brisvane.exe".encode("cp932")
COMMAND_LINES = {
    "name-alone": b"brisvane.exe",
    "argument": b"brisvane.exe x",
    "quoted-name-blanks-argument": b'"C:\\Program Files\\Brisvane\\brisvane.exe" \t /s',
    "quoted-name-no-blank": b'"C:\\brisvane.exe"x',
    "japanese-folder": TOOL_FOLDER,
    "quoted-japanese-folder": b'"' + TOOL_FOLDER + b'"',
    "japanese-argument": b"brisvane.exe " + "漢".encode("cp932"),
    "unclosed-quote-lead-byte-last": b'"C:\\\x83',
    "controls-after-name": b"brisvane.exe \x01\x1f\x7f",
}


def all_seeds():
    return {
        "os_line": {"line-%02d" % i: line for i, line in enumerate(LINES)},
        "line_reader": reader_seeds(),
        "os_table": table_seeds(),
        "dialog_session": session_seeds(),
        "command_line": COMMAND_LINES,
    }


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for target, seeds in all_seeds().items():
        folder = HERE / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        wanted = {"seed-" + name: data for name, data in seeds.items()}
        for path in folder.glob("seed-*"):
            if path.name not in wanted:
                stale.append(path)
                if not check:
                    path.unlink()
        for name, data in wanted.items():
            path = folder / name
            if path.exists() and path.read_bytes() == data:
                continue
            stale.append(path)
            if not check:
                path.write_bytes(data)
    if check and stale:
        for path in stale:
            print("make_corpus: out of date: %s" % path.relative_to(HERE.parent), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
