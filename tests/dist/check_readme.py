#!/usr/bin/env python3
"""readme.txt as `make dist` ships it: writes it to FILE through tools/dist and judges its
bytes (CP932, CR LF only, within Notepad's width), then what it must tell a user.

    check_readme.py FILE
"""

import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
sys.path.insert(0, str(HERE))
import dist_checks  # noqa: E402

# What the readme must say, as it says it: contact, licence, the reset's exit code, the
# command for the start-up folder, that no real Windows was used.
MUST_SAY = [
    "kestrin@example.jp",
    "Copyright (c) 2026 Kestrin",
    "MIT ライセンス",
    "brisvane.exe /reset",
    "スタートアップ",
    "本物の Windows では確認していません",
    "x64\\brisvane.exe",
    "管理者の権限",
]


def main():
    out = Path(sys.argv[1])
    done = subprocess.run([sys.executable, str(REPO / "tools" / "dist"), "--readme", str(out)])
    if done.returncode != 0:
        return 1
    data = out.read_bytes()
    problems = dist_checks.readme_problems(data)
    text = data.decode("cp932", "replace")
    version = next(line for line in (REPO / "CMakeLists.txt").read_text().splitlines()
                   if line.startswith("project(")).split("VERSION")[1].split()[0]
    if not text.startswith(f"Brisvane {version}\r\n"):
        problems.append(f"the first line does not name version {version}")
    problems += [f"says nowhere {phrase!r}" for phrase in MUST_SAY if phrase not in text]
    for problem in problems:
        print(f"readme.txt: {problem}")
    if not problems:
        print(f"readme.txt: {len(data)} bytes, {text.count(chr(13) + chr(10))} lines, CP932, CR LF, "
              f"at most {dist_checks.README_WIDTH} columns")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
