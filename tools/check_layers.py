#!/usr/bin/env python3
"""Checks that every include between the program's libraries follows their links.

The libraries and their links are read from src/CMakeLists.txt, so the links stay the one
statement of the allowed direction: a file may include headers of its own library and of the
libraries its library links, directly or through others. Prints each include that runs the
wrong way and exits with 1 when there is any.
"""
import re
import sys
from pathlib import Path

top = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
src = top / 'src'
cmake = (src / 'CMakeLists.txt').read_text()

libs = {}   # library -> (files, linked libraries)
for m in re.finditer(r'orvel_library\((\w+)\s+SOURCES\s+(.*?)\s+LINKS\s+([^)]*)\)', cmake, re.S):
    name, files, links = m.group(1), m.group(2).split(), m.group(3).split()
    libs[name] = (files, [l for l in links if l in cmake and l.startswith('orvel_')])
if not libs:
    sys.exit('no libraries found in src/CMakeLists.txt')

reach = {}
def reachable(lib, seen=()):
    if lib in reach:
        return reach[lib]
    if lib in seen:
        sys.exit(f'the links of {lib} run in a circle')
    out = {lib}
    for dep in libs[lib][1]:
        out |= reachable(dep, seen + (lib,))
    reach[lib] = out
    return out

owner = {}
for lib, (files, _) in libs.items():
    for f in files:
        owner[f] = lib

problems = []
listed = set(owner)
for path in sorted(src.rglob('*')):
    if path.suffix not in ('.h', '.cpp') or path.parent.name not in ('core', 'ui'):
        continue
    rel = path.relative_to(src).as_posix()
    if rel not in listed:
        problems.append(f'{rel}: not in any library of src/CMakeLists.txt')
        continue
    allowed = reachable(owner[rel])
    for n, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
        if not m or m.group(1) not in owner:
            continue
        target = owner[m.group(1)]
        if target not in allowed:
            problems.append(f'{rel}:{n}: includes {m.group(1)} of {target}, '
                            f'which {owner[rel]} does not link')
for p in problems:
    print(p)
sys.exit(1 if problems else 0)
