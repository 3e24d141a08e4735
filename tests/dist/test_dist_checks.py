"""The checks a release is judged by, and the zip writer of tools/dist: a check that never
fails would let a broken readme.txt or a zip with the build machine's traces through."""

import importlib.machinery
import importlib.util
import io
import os
import struct
import tempfile
import time
import unittest
import zipfile
from pathlib import Path

import dist_checks

REPO = Path(__file__).resolve().parents[2]


def load_dist():
    loader = importlib.machinery.SourceFileLoader("dist_tool", str(REPO / "tools" / "dist"))
    found = importlib.util.spec_from_loader("dist_tool", loader)
    module = importlib.util.module_from_spec(found)
    loader.exec_module(module)
    return module


SJIS_LINE = "既定の OS を切り替えます。".encode("cp932")


class ReadmeProblems(unittest.TestCase):
    def test_each_fault_is_named(self):
        cases = [
            ("a clean file", SJIS_LINE + b"\r\n\r\nabc\r\n", []),
            ("LF line ends", SJIS_LINE + b"\nabc\n", ["the last line has no CR LF", "line 1 has a bare"]),
            ("one bare LF among CR LF", b"abc\r\ndef\nghi\r\n", ["line 2 has a bare CR or LF"]),
            ("a bare CR", b"abc\rdef\r\n", ["line 1 has a bare CR or LF"]),
            ("no line end at the end", b"abc\r\ndef", ["the last line has no CR LF"]),
            ("UTF-8 instead of Shift_JIS", "既定".encode("utf-8") + b"\r\n", ["is not CP932"]),
            ("a tab", b"a\tb\r\n", ["line 1 has a tab"]),
            ("78 half-width columns fit", b"x" * 78 + b"\r\n", []),
            ("79 half-width columns do not", b"x" * 79 + b"\r\n", ["line 1 is 79 columns wide"]),
            ("39 full-width characters fit", "あ".encode("cp932") * 39 + b"\r\n", []),
            ("40 full-width characters are 80 columns",
             b"ok\r\n" + "あ".encode("cp932") * 40 + b"\r\n", ["line 2 is 80 columns wide"]),
            ("half-width katakana count one column each", "ｱ".encode("cp932") * 78 + b"\r\n", []),
        ]
        for name, data, expected in cases:
            with self.subTest(name):
                problems = dist_checks.readme_problems(data)
                self.assertEqual(len(problems), len(expected), problems)
                for want, got in zip(expected, problems):
                    self.assertIn(want, got)


class FirstDifference(unittest.TestCase):
    def test_offsets(self):
        cases = [
            (b"same", b"same", None),
            (b"abcd", b"abXd", 2),
            (b"Xbcd", b"abcd", 0),
            (b"abc", b"abcd", 3),
            (b"", b"a", 0),
        ]
        for a, b, expected in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(dist_checks.first_difference(a, b), expected)


def pe_fixture(link_time, resource_time, debug_time):
    """A 32-bit PE file with one section holding a resource directory and a debug entry."""
    data = bytearray(0x400)
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, 0x40)
    data[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHI", data, 0x44, 0x14C, 1, link_time)
    struct.pack_into("<H", data, 0x54, 224)                 # optional header size
    optional = 0x58
    struct.pack_into("<H", data, optional, 0x10B)
    struct.pack_into("<II", data, optional + 96 + 8 * 2, 0x1000, 0x10)   # resources
    struct.pack_into("<II", data, optional + 96 + 8 * 6, 0x1010, 28)     # debug
    struct.pack_into("<8sIIII", data, optional + 224, b".rsrc", 0x100, 0x1000, 0x200, 0x200)
    struct.pack_into("<II", data, 0x200, 0, resource_time)
    struct.pack_into("<II", data, 0x210, 0, debug_time)
    return bytes(data)


class ProgramTimes(unittest.TestCase):
    def test_each_stamp_is_found(self):
        cases = [
            ((0, 0, 0), []),
            ((0x6B1C230E, 0, 0), ["the file header carries the time 0x6b1c230e"]),
            ((0, 5, 0), ["the resource directory carries the time 0x5"]),
            ((0, 0, 7), ["the debug entry 0 carries the time 0x7"]),
        ]
        for stamps, expected in cases:
            with self.subTest(stamps=stamps):
                self.assertEqual(dist_checks.program_problems(pe_fixture(*stamps)), expected)

    def test_not_a_program(self):
        with self.assertRaises(ValueError):
            dist_checks.pe_time_stamps(b"MZ" + bytes(0x100))


MEMBERS = [("brisvane.exe", b"MZ32"), ("readme.txt", b"r\r\n"), ("LICENSE.txt", b"l\r\n"),
           ("x64/brisvane.exe", b"MZ64")]
NOON = 1796990400  # 2026-12-11 12:00:00 UTC


class ZipLayout(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dist = load_dist()

    def write(self, when, tz="UTC", umask=0o022):
        old_tz, old_umask = os.environ.get("TZ"), os.umask(umask)
        os.environ["TZ"] = tz
        time.tzset()
        try:
            with tempfile.TemporaryDirectory() as d:
                path = Path(d) / "out.zip"
                self.dist.write_zip(path, MEMBERS, when)
                return path.read_bytes()
        finally:
            os.umask(old_umask)
            if old_tz is None:
                os.environ.pop("TZ", None)
            else:
                os.environ["TZ"] = old_tz
            time.tzset()

    def problems(self, data):
        with tempfile.NamedTemporaryFile(suffix=".zip") as f:
            f.write(data)
            f.flush()
            return dist_checks.zip_problems(f.name)

    def test_the_writer_makes_the_fixed_layout(self):
        data = self.write(NOON)
        self.assertEqual(self.problems(data), [])
        with zipfile.ZipFile(io.BytesIO(data)) as z:
            self.assertEqual([i.filename for i in z.infolist()],
                             ["brisvane.exe", "readme.txt", "LICENSE.txt", "x64/", "x64/brisvane.exe"])
            self.assertEqual({i.date_time for i in z.infolist()}, {(2026, 12, 11, 12, 0, 0)})
            self.assertEqual(z.read("x64/brisvane.exe"), b"MZ64")

    def test_time_zone_and_umask_leave_no_trace(self):
        self.assertEqual(self.write(NOON, "UTC", 0o022), self.write(NOON, "Asia/Tokyo", 0o077))

    def test_times_before_1980_become_1980(self):
        with zipfile.ZipFile(io.BytesIO(self.write(0))) as z:
            self.assertEqual({i.date_time for i in z.infolist()}, {(1980, 1, 1, 0, 0, 0)})

    def test_a_plain_zip_is_refused(self):
        # What zipfile makes by default: the files' own times and modes, another order.
        with tempfile.TemporaryDirectory() as d:
            for name, data in MEMBERS:
                (Path(d) / name).parent.mkdir(exist_ok=True)
                (Path(d) / name).write_bytes(data)
            os.chmod(Path(d) / "readme.txt", 0o600)
            os.utime(Path(d) / "LICENSE.txt", (NOON, NOON))
            buffer = io.BytesIO()
            with zipfile.ZipFile(buffer, "w") as z:
                for name, _ in reversed(MEMBERS):
                    z.write(Path(d) / name, name)
        problems = "\n".join(self.problems(buffer.getvalue()))
        self.assertIn("entries ['x64/brisvane.exe'", problems)
        self.assertIn("different times", problems)
        self.assertIn("readme.txt: mode 100600", problems)


if __name__ == "__main__":
    unittest.main()
