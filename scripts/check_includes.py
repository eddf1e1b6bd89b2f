#!/usr/bin/env python3
"""Reads every #include of src/ and fails on one that goes up a floor.

The floors, bottom to top: the portable core (src/core: base, settings, sim,
draw, scene, policy) and the two shells on it, the Windows shell (src/shell)
and the Linux shell (src/linux), each with common, then desktop and ui side
by side, then app. A file includes its own floor or lower ones; desktop/ and
ui/ never include each other; neither shell includes the other. A file that
includes <windows.h> is Windows code and says so in its name (_win32), unless
it is the GDI+ drawing backend; the Linux shell includes no Windows header.

Usage: check_includes.py [SOURCE_ROOT]   (default: the checkout this lives in)
"""
import pathlib
import re
import sys

ROOTS = ("src/core", "src/shell", "src/linux")
SHELLS = ("src/shell", "src/linux")
FLOORS = {
    "base": 0, "settings": 1, "sim": 2, "draw": 3, "scene": 4, "policy": 5,
    "common": 6, "desktop": 7, "ui": 7, "app": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def root_of(path: pathlib.Path, source: pathlib.Path) -> str:
    for root in ROOTS:
        if path.is_relative_to(source / root):
            return root
    raise ValueError(f"{path} lies outside {ROOTS}")


def room_of(path: pathlib.Path, source: pathlib.Path) -> str:
    return path.relative_to(source / root_of(path, source)).parts[0]


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
            own_root = root_of(path, source)
            if target.endswith(".moc"):
                continue  # made by the build (Qt's moc) beside the object files
            if quote == "<":
                windows_code = "_win32" in path.stem or "gdiplus" in path.parts
                if target.lower() == "windows.h" and (not windows_code or own_root == "src/linux"):
                    problems.append(f"{where}: Windows code belongs in a *_win32 file of the Windows shell")
                continue
            # A shell sees the core and itself: its own file first, then the core's.
            visible = [root for root in ROOTS if root == "src/core" or root == own_root]
            found = [source / root / target for root in visible if (source / root / target).is_file()]
            if not found:
                other = [root for root in SHELLS if root != own_root and (source / root / target).is_file()]
                if other:
                    problems.append(f"{where}: {own_root}/ may not include {other[0]}/, the other shell")
                else:
                    problems.append(f"{where}: no such file under {' or '.join(visible)}")
                continue
            found.sort(key=lambda f: 0 if root_of(f, source) == own_root else 1)
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
