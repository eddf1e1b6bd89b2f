#!/usr/bin/env python3
"""Reads every #include of src/ and fails on one that goes up a floor.

The floors, bottom to top: the portable core (src/core: base, settings, sim,
draw, scene, policy) and the Windows shell on it (src/shell: common, then
desktop and ui side by side, then app). A file includes its own floor or
lower ones; desktop/ and ui/ never include each other. A file that includes
<windows.h> is Windows code and says so in its name (_win32), unless it is
the GDI+ drawing backend.

Usage: check_includes.py [SOURCE_ROOT]   (default: the checkout this lives in)
"""
import pathlib
import re
import sys

ROOTS = ("src/core", "src/shell")
FLOORS = {
    "base": 0, "settings": 1, "sim": 2, "draw": 3, "scene": 4, "policy": 5,
    "common": 6, "desktop": 7, "ui": 7, "app": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def room_of(path: pathlib.Path, source: pathlib.Path) -> str:
    for root in ROOTS:
        try:
            return path.relative_to(source / root).parts[0]
        except ValueError:
            continue
    raise ValueError(f"{path} lies outside {ROOTS}")


def check(source: pathlib.Path) -> list:
    problems = []
    files = sorted(p for root in ROOTS for p in (source / root).rglob("*") if p.suffix in (".h", ".cpp"))
    for path in files:
        name = path.relative_to(source)
        room = room_of(path, source)
        if room not in FLOORS:
            problems.append(f"{name}: folder '{room}' is on no floor; add it to the floors")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, target = match.groups()
            closing = ">" if quote == "<" else '"'
            where = f"{name}:{number}: #include {quote}{target}{closing}"
            if quote == "<":
                windows_code = "_win32" in path.stem or "gdiplus" in path.parts
                if target.lower() == "windows.h" and not windows_code:
                    problems.append(f"{where}: Windows code belongs in a *_win32 file")
                continue
            found = [source / root / target for root in ROOTS if (source / root / target).is_file()]
            if not found:
                problems.append(f"{where}: no such file under {' or '.join(ROOTS)}")
                continue
            target_room = room_of(found[0], source)
            if target_room not in FLOORS:
                continue  # reported for the file itself
            if FLOORS[target_room] > FLOORS[room]:
                problems.append(f"{where}: {room}/ may not include {target_room}/, a floor above it")
            elif FLOORS[target_room] == FLOORS[room] and target_room != room:
                problems.append(f"{where}: {room}/ and {target_room}/ stand side by side and include neither")
    return problems


def main() -> int:
    source = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    problems = check(source)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check_includes: {len(problems)} include(s) against the floors", file=sys.stderr)
        return 1
    print("check_includes: every include points down a floor or stays on its own")
    return 0


if __name__ == "__main__":
    sys.exit(main())
