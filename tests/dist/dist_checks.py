"""What a release must look like, shared by tools/dist (which refuses to write a bad one)
and the tests of the release (which judge what it wrote)."""

import struct
import zipfile

# Notepad's 80-column window shows 78 columns beside its frame and scroll bar. In Shift_JIS
# a full-width character takes two bytes and two columns, a half-width one byte and one
# column, so a line's width is its length in bytes.
README_WIDTH = 78

# The zip's entries, in their order.
ZIP_NAMES = ["brisvane.exe", "readme.txt", "LICENSE.txt", "x64/", "x64/brisvane.exe"]


def readme_problems(data):
    """What keeps `data` from opening cleanly in Notepad on a Japanese Windows: bytes that
    do not decode as CP932, a line end other than CR LF, a line wider than README_WIDTH, a
    tab (whose width depends on the viewer). An empty list when there is nothing."""
    problems = []
    try:
        data.decode("cp932")
    except UnicodeDecodeError as e:
        problems.append(f"byte {e.start} ({data[e.start:e.start + 2].hex()}) is not CP932")
    if not data.endswith(b"\r\n"):
        problems.append("the last line has no CR LF")
    lines = data.split(b"\r\n")
    for number, line in enumerate(lines, 1):
        if b"\r" in line or b"\n" in line:
            problems.append(f"line {number} has a bare CR or LF")
        if b"\t" in line:
            problems.append(f"line {number} has a tab")
        if len(line) > README_WIDTH:
            problems.append(f"line {number} is {len(line)} columns wide (at most {README_WIDTH})")
    return problems


def zip_problems(path):
    """Where the zip at `path` departs from the fixed layout: the entries' names and order,
    one time for all, fixed permissions, no extra fields, nothing outside the release."""
    problems = []
    with zipfile.ZipFile(path) as z:
        infos = z.infolist()
        names = [i.filename for i in infos]
        if names != ZIP_NAMES:
            problems.append(f"entries {names}, expected {ZIP_NAMES}")
        times = {i.date_time for i in infos}
        if len(times) != 1:
            problems.append(f"entries carry different times {sorted(times)}")
        for i in infos:
            mode = i.external_attr >> 16
            expected = 0o040755 if i.filename.endswith("/") else 0o100644
            if i.create_system != 3 or mode != expected:
                problems.append(f"{i.filename}: mode {mode:o} from system {i.create_system}, "
                                f"expected {expected:o} from Unix (3)")
            if i.extra:
                problems.append(f"{i.filename}: extra field {i.extra.hex()}")
            if i.comment:
                problems.append(f"{i.filename}: a comment")
        if z.comment:
            problems.append("the archive has a comment")
        bad = z.testzip()
        if bad:
            problems.append(f"{bad}: its data does not match its CRC")
    return problems


def first_difference(a, b):
    """The offset of the first byte where `a` and `b` differ (the shorter one's length when
    one is the start of the other), or None when they are equal."""
    if a == b:
        return None
    for offset, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return offset
    return min(len(a), len(b))


def pe_time_stamps(data):
    """The time stamps a PE file can carry, by where they sit: the file header's link time,
    the resource directory's, and the debug directory's entries."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    stamps = {"file header": struct.unpack_from("<I", data, pe + 8)[0]}
    optional = pe + 24
    directories = optional + (112 if struct.unpack_from("<H", data, optional)[0] == 0x20B else 96)
    table = optional + optional_size

    def file_offset(rva):
        for i in range(sections):
            _, virtual_size, address, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        return None

    resources, _ = struct.unpack_from("<II", data, directories + 8 * 2)
    if resources and file_offset(resources) is not None:
        stamps["resource directory"] = struct.unpack_from("<I", data, file_offset(resources) + 4)[0]
    debug, debug_size = struct.unpack_from("<II", data, directories + 8 * 6)
    if debug and file_offset(debug) is not None:
        for n in range(debug_size // 28):
            stamps[f"debug entry {n}"] = struct.unpack_from("<I", data, file_offset(debug) + 28 * n + 4)[0]
    return stamps


def program_problems(data):
    """Build times in a program: every stamp must be 0, so two builds give the same bytes
    however far apart they ran."""
    return [f"the {where} carries the time {value:#x}" for where, value in pe_time_stamps(data).items()
            if value != 0]
