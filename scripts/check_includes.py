#!/usr/bin/env python3
"""Checks how the folders of src/ include each other.

- The folders form no cycle: if a includes b (directly or through others), b never
  includes a. A cycle is printed as a chain of folders with one include that makes each step.
- The portable core stays portable: a file that is not Win32 code (named *_win.*, or in
  ui/, platform/win32/ or res/) includes no Windows header and no Win32 code of ours.
Exit status 1 when either rule is broken.
"""
import os
import re
import sys

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
WIN32_FOLDERS = ("ui", "platform/win32", "res")
WINDOWS_HEADERS = {"windows.h", "windowsx.h", "commctrl.h", "shellapi.h", "shlobj.h",
                   "objbase.h", "winhttp.h", "shlwapi.h", "uxtheme.h"}


def is_win32(rel):
    name = os.path.basename(rel)
    return "_win." in name or any(rel.startswith(f + "/") for f in WIN32_FOLDERS)


def folder_of(rel):
    parts = rel.split("/")
    if parts[0] == "platform" and len(parts) > 2 and parts[1] == "win32":
        return "platform/win32"
    return parts[0] if len(parts) > 1 else "."


def main():
    edges = {}  # (from folder, to folder) -> first "file: include" that makes it
    problems = []
    for root, _, files in os.walk(SRC):
        for name in files:
            if not name.endswith((".h", ".cpp", ".rc", ".in")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, SRC).replace(os.sep, "/")
            with open(path, encoding="utf-8") as f:
                text = f.read()
            for kind, target in INCLUDE.findall(text):
                if kind == "<":
                    if not is_win32(rel) and target.lower() in WINDOWS_HEADERS:
                        problems.append(f"{rel}: portable code includes <{target}>")
                    continue
                if "/" not in target:
                    continue
                if not is_win32(rel) and is_win32(target):
                    problems.append(f"{rel}: portable code includes Win32 code \"{target}\"")
                a, b = folder_of(rel), folder_of(target)
                if a != b:
                    edges.setdefault((a, b), f"{rel}: {target}")
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
    # Depth-first search for a back edge.
    state, stack = {}, []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                cycle = stack[stack.index(nxt):] + [nxt]
                steps = [edges[(x, y)] for x, y in zip(cycle, cycle[1:])]
                problems.append("include cycle " + " -> ".join(cycle) + "\n    " +
                                "\n    ".join(steps))
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = "done"

    for node in sorted(graph):
        if node not in state:
            visit(node)
    for p in problems:
        print(p, file=sys.stderr)
    if not problems:
        print(f"includes: {len(graph)} folders, {len(edges)} folder dependencies, no cycle")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
