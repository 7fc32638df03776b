#!/usr/bin/env python3
"""Measures how well the spelling suggestions find the word that was meant on
a hand-written set of misspellings (tests/data/faltas_reales.txt), against
hunspell on the same words.

The set holds one "error word" pair per line (UTF-8) under "## kind"
headings; other lines starting with "#" are comments.
Errors the word check accepts are left out and listed. For each error, the
figures say whether the meant word (compared in lower case) is the first
suggestion and whether it is among the first five.

Usage: measure_real_misspellings.py QUIRTEL_SCORE DICTIONARY SET [--list]
"""

import sys

from measure_suggestions import hunspell, ours


def read_set(path):
    errors = []
    kind = "?"
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("## "):
                kind = line[3:]
            elif line and not line.startswith("#"):
                typo, word = line.split()
                errors.append((kind, word, typo))
    return errors


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    score, dictionary, path = sys.argv[1:4]
    with open(dictionary, "rb") as f:
        known = set(f.read().decode("cp1252").split("\n"))
    errors = []
    for error in read_set(path):
        if error[2].lower() in known:
            print("accepted by the check, left out: %s" % error[2])
        else:
            errors.append(error)
    kinds = list(dict.fromkeys(kind for kind, _, _ in errors))
    results = {"quirtel": ours(score, dictionary, errors), "hunspell": hunspell(errors)}

    def figures(name, kind=None):
        picked = [(e, s) for e, s in zip(errors, results[name]) if kind in (None, e[0])]
        first = sum(1 for (_, w, _), s in picked if s and s[0].lower() == w)
        five = sum(1 for (_, w, _), s in picked if w in [x.lower() for x in s[:5]])
        return len(picked), first, five

    print("%d misspellings from %s" % (len(errors), path))
    print("%-24s %4s  %-22s %-22s" % ("kind", "n", "quirtel first / five", "hunspell first / five"))
    for kind in kinds + [None]:
        row = []
        for name in ("quirtel", "hunspell"):
            n, first, five = figures(name, kind)
            row.append("%5.1f%% / %5.1f%%" % (100.0 * first / n, 100.0 * five / n))
        print("%-24s %4d  %-22s %-22s" % ((kind or "all")[:24], figures("quirtel", kind)[0], *row))
    if "--list" in sys.argv:
        for (kind, word, typo), q, h in zip(errors, results["quirtel"], results["hunspell"]):
            mark = "" if q and q[0].lower() == word else ("*" if word in [x.lower() for x in q] else "X")
            print("%-2s %-14s %-14s | %-60s | %s" % (mark, typo, word, ", ".join(q), ", ".join(h[:5])))


if __name__ == "__main__":
    main()
