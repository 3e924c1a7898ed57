#!/usr/bin/env python3
"""The include graph of src/: which folders depend on which, and the cycles.

A unit is a class's header with its source files (Foo.h, Foo.cpp); an edge A -> B means a file of A
includes B's header. Prints the folder graph, the strongly connected groups of units (include cycles)
and whether any cycle crosses folders. Exit status 1 when folders include each other (directly or
round about) or a cycle joins units of different folders.

    python3 scripts/include-graph.py            # summary
    python3 scripts/include-graph.py --edges    # every folder-to-folder include, with its files
    python3 scripts/include-graph.py --dot > graph.dot
"""
import argparse
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def scan(src):
    files = []
    for root, _, names in os.walk(src):
        for name in names:
            if name.endswith((".h", ".cpp")):
                files.append(os.path.relpath(os.path.join(root, name), src))
    return sorted(files)


def resolver(src, files):
    by_name = defaultdict(list)
    for f in files:
        by_name[os.path.basename(f)].append(f)
    known = set(files)

    def resolve(includer, target):
        for candidate in (os.path.normpath(os.path.join(os.path.dirname(includer), target)), target):
            if candidate in known:
                return candidate
        matches = by_name.get(os.path.basename(target), [])
        return matches[0] if len(matches) == 1 else None

    return resolve


def unit(path):
    return os.path.splitext(path)[0]


def folder(path):
    return os.path.dirname(path) or "."


def strongly_connected(nodes, edges):
    index, low, stack, on_stack, groups = {}, {}, [], set(), []
    counter = [0]
    sys.setrecursionlimit(10000)

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in edges[v]:
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            groups.append(sorted(group))

    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return groups


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--src", default=os.path.join(os.path.dirname(__file__), "..", "src"))
    parser.add_argument("--edges", action="store_true", help="list every folder-to-folder include")
    parser.add_argument("--dot", action="store_true", help="print the folder graph in Graphviz form")
    args = parser.parse_args()

    src = os.path.normpath(args.src)
    files = scan(src)
    resolve = resolver(src, files)
    unit_edges = defaultdict(set)
    folder_edges = defaultdict(list)
    for f in files:
        with open(os.path.join(src, f), encoding="utf-8", errors="replace") as handle:
            for target in INCLUDE.findall(handle.read()):
                to = resolve(f, target)
                if to is None or unit(to) == unit(f):
                    continue
                unit_edges[unit(f)].add(unit(to))
                if folder(f) != folder(to):
                    folder_edges[(folder(f), folder(to))].append(f"{f} -> {to}")
    units = {unit(f) for f in files}
    for u in units:
        unit_edges.setdefault(u, set())

    if args.dot:
        print("digraph folders {")
        for (a, b), why in sorted(folder_edges.items()):
            print(f'  "{a}" -> "{b}" [label="{len(why)}"];')
        print("}")
        return 0

    folders = sorted({folder(f) for f in files})
    print(f"{len(files)} files, {len(units)} units, {len(folders)} folders, "
          f"{sum(len(v) for v in unit_edges.values())} unit includes")
    print("\nfolder -> folders it includes (number of includes)")
    for a in folders:
        targets = sorted((b, len(why)) for (x, b), why in folder_edges.items() if x == a)
        print(f"  {a}: " + (", ".join(f"{b} ({n})" for b, n in targets) or "-"))
        if args.edges:
            for b, _ in targets:
                for line in sorted(folder_edges[(a, b)]):
                    print(f"      {line}")

    folder_graph = defaultdict(set)
    for a, b in folder_edges:
        folder_graph[a].add(b)
    folder_cycles = [g for g in strongly_connected(folders, folder_graph) if len(g) > 1]
    print("\nfolders that include each other (directly or round about): "
          + ("; ".join(" <-> ".join(g) for g in folder_cycles) or "none"))

    groups = [g for g in strongly_connected(units, unit_edges) if len(g) > 1]
    crossing = [g for g in groups if len({folder(u) for u in g}) > 1]
    print(f"\ninclude cycles: {len(groups)} groups, largest {max((len(g) for g in groups), default=0)} units; "
          f"{len(crossing)} join units of different folders")
    for g in sorted(groups, key=len, reverse=True):
        kind = "across folders" if g in crossing else "within a folder"
        print(f"  {len(g)} units, {kind}: " + ", ".join(g))
    return 1 if crossing or folder_cycles else 0


if __name__ == "__main__":
    sys.exit(main())
