#!/usr/bin/env python3
"""Builds the release twice, from two copies of this checkout at different paths, and
compares every byte: the zip, SHA256SUMS and each file in the zip.

    reproducible.py [--keep]

The copies hold the tracked files (git ls-files) with their working-tree content, so
uncommitted edits are judged too. The two builds run side by side under different locales,
time zones and umasks; only the commit's time is shared (SOURCE_DATE_EPOCH). When a file
differs, its name and the first differing offset are printed and the check fails. Also
judges the release itself: the zip's layout, SHA256SUMS against the files, readme.txt's bytes,
no build time in the programs.
Exit code 77 (skipped) outside a git checkout.
"""

import argparse
import hashlib
import io
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
sys.path.insert(0, str(HERE))
import dist_checks  # noqa: E402

SKIP = 77

# Two builds that differ in everything the release must not depend on.
BUILDS = [
    ("a/src", {"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8", "TZ": "UTC"}, 0o022),
    ("second-copy/brisvane-checkout", {"LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8",
                                       "TZ": "Asia/Tokyo"}, 0o077),
]


def git(*args):
    return subprocess.run(["git", "-C", str(REPO), *args], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, check=True).stdout


def copy_tracked(dest):
    """The tracked files as they are in the working tree (deleted ones left out)."""
    for raw in git("ls-files", "-z").split(b"\0"):
        if not raw:
            continue
        rel = os.fsdecode(raw)
        src = REPO / rel
        if not src.exists() and not src.is_symlink():
            continue
        target = dest / rel
        target.parent.mkdir(parents=True, exist_ok=True)
        if src.is_symlink():
            os.symlink(os.readlink(src), target)
        else:
            shutil.copy2(src, target)


def start_build(tree, env_changes, umask, epoch):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch), **env_changes)
    log = open(tree.parent / "dist.log", "wb")
    return subprocess.Popen([sys.executable, str(tree / "tools" / "dist"), "--jobs", "1"], env=env,
                            stdout=log, stderr=subprocess.STDOUT, preexec_fn=lambda: os.umask(umask))


def outputs(tree):
    """name -> bytes of everything the release consists of."""
    dist = tree / "dist"
    zips = sorted(dist.glob("brisvane-*.zip"))
    if len(zips) != 1:
        raise AssertionError(f"{dist}: expected one zip, found {[z.name for z in zips]}")
    found = {zips[0].name: zips[0].read_bytes(), "SHA256SUMS": (dist / "SHA256SUMS").read_bytes()}
    with zipfile.ZipFile(io.BytesIO(found[zips[0].name])) as z:
        for info in z.infolist():
            if not info.is_dir():
                found[info.filename] = z.read(info)
    return found


def release_problems(found):
    """The release judged on its own: the zip's layout, the sums, readme.txt."""
    zip_name = next(n for n in found if n.endswith(".zip"))
    problems = []
    with tempfile.NamedTemporaryFile(suffix=".zip") as f:
        f.write(found[zip_name])
        f.flush()
        problems += [f"{zip_name}: {p}" for p in dist_checks.zip_problems(f.name)]
    expected_sums = "".join(f"{hashlib.sha256(found[n]).hexdigest()}  {n}\n"
                            for n in (zip_name, "brisvane.exe", "x64/brisvane.exe")).encode()
    if found["SHA256SUMS"] != expected_sums:
        problems.append(f"SHA256SUMS says\n{found['SHA256SUMS'].decode()}but the files give\n"
                        f"{expected_sums.decode()}")
    problems += [f"readme.txt: {p}" for p in dist_checks.readme_problems(found["readme.txt"])]
    # The two builds may well link within the same second; a time stamp must not hide there.
    for name in ("brisvane.exe", "x64/brisvane.exe"):
        problems += [f"{name}: {p}" for p in dist_checks.program_problems(found[name])]
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--keep", action="store_true", help="keep the two copies and say where")
    args = parser.parse_args()
    try:
        git("rev-parse", "--git-dir")
    except (OSError, subprocess.CalledProcessError):
        print(f"SKIP: {REPO} is not a git checkout, so there are no tracked files to copy")
        return SKIP
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH") or git("log", "-1", "--format=%ct").strip() or 0)

    root = Path(tempfile.mkdtemp(prefix="brisvane-reproducible-"))
    started = time.time()
    try:
        trees = []
        for rel, _, _ in BUILDS:
            tree = root / rel
            copy_tracked(tree)
            trees.append(tree)
        procs = [start_build(tree, env, umask, epoch) for tree, (_, env, umask) in zip(trees, BUILDS)]
        codes = [p.wait() for p in procs]
        for tree, code in zip(trees, codes):
            if code != 0:
                print(f"the build in {tree} failed ({code}):\n"
                      + (tree.parent / "dist.log").read_text(errors="replace"))
                return 1
        print(f"two builds in {time.time() - started:.0f} s, in {trees[0]} and {trees[1]}")

        first, second = outputs(trees[0]), outputs(trees[1])
        failed = False
        if sorted(first) != sorted(second):
            print(f"the builds made different files: {sorted(first)} and {sorted(second)}")
            failed = True
        for name in sorted(set(first) & set(second), key=lambda n: (not n.endswith(".zip"), n)):
            offset = dist_checks.first_difference(first[name], second[name])
            digest = hashlib.sha256(first[name]).hexdigest()
            if offset is None:
                print(f"identical  {name:<22} {len(first[name]):>7} bytes  sha256 {digest}")
                continue
            failed = True
            a = first[name][offset:offset + 8].hex() or "(end)"
            b = second[name][offset:offset + 8].hex() or "(end)"
            print(f"DIFFERENT  {name}: first at offset {offset:#x} ({offset}): {a} vs {b} "
                  f"({len(first[name])} and {len(second[name])} bytes)")
        for problem in release_problems(first):
            print(f"PROBLEM    {problem}")
            failed = True
        return 1 if failed else 0
    finally:
        if args.keep:
            print(f"kept {root}")
        else:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
