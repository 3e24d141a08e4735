#!/usr/bin/env python3
"""What the scripts need to know of a Windows executable before they run it: the CPU it is
built for, and where its image lies once loaded. tools/wine-run calls it to pick a Wine
loader; tests/e2e/harness.py imports it.

    tools/pe_header.py machine FILE   prints i386, x86_64 or unknown
"""

import sys
from pathlib import Path

# IMAGE_FILE_MACHINE_I386 and IMAGE_FILE_MACHINE_AMD64, by the names the scripts use.
MACHINES = {0x14C: "i386", 0x8664: "x86_64"}
PE32_PLUS = 0x20B  # the optional header's magic in a 64-bit image

# The headers sit in the first page of any executable the MinGW linker writes.
HEADER_BYTES = 4096


def _pe_header(path):
    """The file's first page and the offset of its "PE\\0\\0" signature, or None for a file
    that is not a PE executable."""
    data = Path(path).read_bytes()[:HEADER_BYTES]
    if data[:2] != b"MZ" or len(data) < 64:
        return data, None
    offset = int.from_bytes(data[60:64], "little")  # e_lfanew
    if data[offset:offset + 4] != b"PE\0\0":
        return data, None
    return data, offset


def machine(path):
    """"i386" or "x86_64" from the COFF header's Machine field; "unknown" for anything else."""
    data, offset = _pe_header(path)
    if offset is None:
        return "unknown"
    return MACHINES.get(int.from_bytes(data[offset + 4:offset + 6], "little"), "unknown")


def image_range(path):
    """The addresses the image occupies once loaded, (ImageBase, ImageBase + SizeOfImage):
    MinGW's executables are loaded at their preferred base under Wine, never relocated."""
    data, offset = _pe_header(path)
    if offset is None:
        raise ValueError(f"{path} is not a Windows program")
    optional = offset + 24
    magic = int.from_bytes(data[optional:optional + 2], "little")
    if magic == PE32_PLUS:
        base = int.from_bytes(data[optional + 24:optional + 32], "little")
    else:
        base = int.from_bytes(data[optional + 28:optional + 32], "little")
    size = int.from_bytes(data[optional + 56:optional + 60], "little")
    return base, base + size


def main(argv):
    if len(argv) != 3 or argv[1] != "machine":
        print("usage: tools/pe_header.py machine FILE", file=sys.stderr)
        return 2
    try:
        print(machine(argv[2]))
    except OSError as e:
        print(f"pe_header: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
