#!/usr/bin/env python3
"""Fails when a file includes a header of a library its own target does not link.

Every folder under src/ and tests/ is one library (or one test program) and
every library exports the whole src/ root, so the compiler accepts any
include. This check holds the includes to the link graph that CMake writes at
configure time (include_graph.txt: targets, their folders, sources and
direct links):

- a source file may include headers from the folders of the targets that
  compile it and of everything those targets link, directly or through
  other project targets; the headers it pulls in are held to the same set;
- a header under src/ is held to the links of its folder's library (or of
  its folder's program where there is no library, as for a desktop program
  in src/app), so a header nobody in its folder includes is checked too;
  headers under tests/ (hosts and fixtures) are checked through the test
  files that include them.

Targets come from the configured build, so a folder added later (src/app,
linking every core library) is checked as soon as CMake builds it.

Only quoted includes that name a file of the source tree count; system and
Qt headers (angle brackets) and generated headers are not project headers.

Usage: include_check.py GRAPH SOURCE_DIR [--assume FILE:HEADER ...]
--assume adds an include that is not in the sources, for the check's own test.
"""

import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
HEADER_SUFFIXES = (".h", ".hpp")
SOURCE_SUFFIXES = (".cpp", ".cc", ".cxx")


def read_graph(path):
    targets = {}  # name -> folder
    kinds = {}
    sources = defaultdict(set)
    links = defaultdict(set)
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if parts[0] == "target" and len(parts) == 4:
                targets[parts[1]] = os.path.normpath(parts[3])
                kinds[parts[1]] = parts[2]
            elif parts[0] == "source" and len(parts) == 3:
                sources[parts[1]].add(os.path.normpath(parts[2]))
            elif parts[0] == "link" and len(parts) == 3:
                links[parts[1]].add(parts[2])
    return targets, kinds, sources, links


def link_closure(name, targets, links):
    seen = set()
    stack = [name]
    while stack:
        t = stack.pop()
        if t in seen:
            continue
        seen.add(t)
        for dep in links.get(t, ()):
            # Link items may carry generator expressions such as $<LINK_ONLY:x>.
            m = re.fullmatch(r"\$<LINK_ONLY:([^>]+)>", dep)
            dep = m.group(1) if m else dep
            if dep in targets:
                stack.append(dep)
    return seen


def includes_of(path, assumed):
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            found = INCLUDE.findall(f.read())
    except OSError:
        found = []
    return found + assumed.get(path, [])


def resolve(include, including_file, roots):
    for base in [os.path.dirname(including_file)] + roots:
        candidate = os.path.normpath(os.path.join(base, include))
        if os.path.isfile(candidate):
            return candidate
    return None


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    graph, source_dir = argv[1], os.path.normpath(argv[2])
    assumed = defaultdict(list)
    rest = argv[3:]
    while rest:
        if rest[0] == "--assume" and len(rest) > 1:
            file, header = rest[1].rsplit(":", 1)
            assumed[os.path.normpath(os.path.join(source_dir, file))].append(header)
            rest = rest[2:]
        else:
            print("unknown argument: " + rest[0])
            return 2

    targets, kinds, sources, links = read_graph(graph)
    roots = [os.path.join(source_dir, "src"), os.path.join(source_dir, "tests")]

    def in_tree(path):
        return any(path.startswith(r + os.sep) for r in roots)

    # Folders each target may include from.
    allowed = {t: {targets[d] for d in link_closure(t, targets, links)} for t in targets}

    # Who compiles each source file; which library owns each folder's headers.
    compiled_by = defaultdict(set)
    for t, files in sources.items():
        for f in files:
            compiled_by[f].add(t)
    # A product folder's headers belong to its library, or to its program
    # when the folder has no library (the command-line tool, the desktop program).
    folder_library = defaultdict(set)
    folder_program = defaultdict(set)
    for t, folder in targets.items():
        if not folder.startswith(roots[0] + os.sep):
            continue
        if kinds[t].endswith("_LIBRARY"):
            folder_library[folder].add(t)
        else:
            folder_program[folder].add(t)

    problems = []

    def check(start, owners, folders):
        """Walks the project headers reachable from `start`, holding each include to `folders`."""
        seen = set()
        stack = [(start, ())]
        while stack:
            path, via = stack.pop()
            if path in seen:
                continue
            seen.add(path)
            for inc in includes_of(path, assumed):
                header = resolve(inc, path, roots)
                if header is None or not in_tree(header):
                    continue
                if os.path.dirname(header) in folders:
                    stack.append((header, via + (header,)))
                    continue
                where = os.path.relpath(start, source_dir)
                where += "".join(" -> " + os.path.relpath(v, source_dir) for v in via)
                problems.append('%s includes "%s", but %s links nothing in %s'
                                % (where, inc, " / ".join(sorted(owners)),
                                   os.path.relpath(os.path.dirname(header), source_dir)))

    checked = 0
    for root in roots:
        for folder, _, names in os.walk(root):
            folder = os.path.normpath(folder)
            for name in sorted(names):
                path = os.path.join(folder, name)
                if name.endswith(SOURCE_SUFFIXES):
                    owners = compiled_by.get(path)
                    if not owners:
                        continue  # not built in this configuration
                elif name.endswith(HEADER_SUFFIXES):
                    owners = folder_library.get(folder) or folder_program.get(folder)
                    if not owners:
                        continue  # fixture header: checked where it is included
                else:
                    continue
                folders = set.union(*(allowed[t] for t in owners))
                check(path, owners, folders)
                checked += 1

    for p in sorted(set(problems)):
        print(p)
    print("%d files checked against %d targets, %d wrong includes"
          % (checked, len(targets), len(set(problems))))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
