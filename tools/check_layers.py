#!/usr/bin/env python3
"""Checks that includes run only downward: app -> gui -> core, score -> core,
and that no two folders inside core or inside gui include each other (directly
or through a longer cycle). Prints every offending include; exits 1 on any."""
import os
import re
import sys

RANK = {'core': 0, 'gui': 1, 'app': 2, 'score': 1}
ALLOWED = {'core': {'core'}, 'gui': {'core', 'gui'}, 'app': {'core', 'gui', 'app'},
           'score': {'core', 'score'}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder(path):
    """'core/spelling' for core/spelling/X.h, 'app' for app/X.h."""
    parts = path.split('/')
    return '/'.join(parts[:2]) if parts[0] in ('core', 'gui') else parts[0]


def main(src):
    bad = []
    edges = {}
    for root, _, files in os.walk(src):
        for name in files:
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.relpath(os.path.join(root, name), src)
            layer = path.split('/')[0]
            if layer not in ALLOWED:
                continue
            with open(os.path.join(root, name), encoding='utf-8') as f:
                text = f.read()
            for target in INCLUDE.findall(text):
                top = target.split('/')[0]
                if top not in RANK and top != 'res':
                    continue
                if top not in ALLOWED[layer]:
                    bad.append(f'{path}: includes {target} (upward or sideways)')
                a, b = folder(path), folder(target)
                if a != b:
                    edges.setdefault(a, set()).add(b)
    # Folder cycles: any folder that reaches itself again.
    def reaches(start, goal, seen):
        for nxt in edges.get(start, ()):
            if nxt == goal:
                return True
            if nxt not in seen:
                seen.add(nxt)
                if reaches(nxt, goal, seen):
                    return True
        return False
    cycles = sorted({a for a in edges if reaches(a, a, set())})
    for a in cycles:
        bad.append(f'{a}: part of a cycle of folders ({", ".join(sorted(edges[a]))})')
    for line in bad:
        print(line)
    print(f'{len(bad)} layering problems')
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else 'src'))
