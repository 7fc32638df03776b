#!/usr/bin/env python3
"""Measures how well the spelling suggestions find the word that was meant,
against hunspell on the same typing errors.

The errors are made from the correctly spelled words of a prose file with a
fixed start for the random numbers, ERRORS_PER_KIND of each kind:
  tilde        every accent, diaeresis and tilde of the word dropped (canción -> cancion)
  vecina       one letter replaced by a neighbouring key of the Spanish layout
  intercambio  two different neighbouring letters swapped
  doble        one letter doubled
  falta        one letter left out
Only errors that are not themselves words of the word list are kept, so the
word check marks each of them. For each error, the figures say whether the
meant word (compared in lower case) is the first suggestion and whether it is
among the first five, for quirtel-score (--json) and for `hunspell -d es_ES -a`.

Usage: measure_suggestions.py QUIRTEL_SCORE DICTIONARY PROSE [--list]
"""

import json
import random
import subprocess
import sys
import tempfile
import unicodedata

RANDOM_START = 20240901
ERRORS_PER_KIND = 120
KINDS = ["tilde", "vecina", "intercambio", "doble", "falta"]
LETTERS = set("abcdefghijklmnopqrstuvwxyzáéíóúüñ")
PLAIN = str.maketrans("áéíóúüñ", "aeiouun")

# The Spanish layout's letter keys, each row a quarter key further right than
# the one above, as on the keyboard.
ROWS = ["qwertyuiop", "asdfghjklñ", "zxcvbnm"]
OFFSETS = [0, 1, 3]
PLACE = {c: (r, i * 4 + OFFSETS[r]) for r, row in enumerate(ROWS) for i, c in enumerate(row)}


def neighbours(letter):
    if letter not in PLACE:
        return []
    r, x = PLACE[letter]
    return sorted(c for c, (r2, x2) in PLACE.items()
                  if (r2 == r and abs(x2 - x) == 4) or (abs(r2 - r) == 1 and abs(x2 - x) < 4))


def make_error(word, kind, rng):
    """One error of `kind` in `word`, or None when the word has no such error."""
    n = len(word)
    if kind == "tilde":
        plain = word.translate(PLAIN)
        return plain if plain != word else None
    if kind == "vecina":
        spots = [i for i in range(n) if neighbours(word[i].translate(PLAIN)) or word[i] == "ñ"]
        if not spots:
            return None
        i = rng.choice(spots)
        key = word[i] if word[i] == "ñ" else word[i].translate(PLAIN)
        return word[:i] + rng.choice(neighbours(key)) + word[i + 1:]
    if kind == "intercambio":
        spots = [i for i in range(n - 1) if word[i] != word[i + 1]]
        if not spots:
            return None
        i = rng.choice(spots)
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    i = rng.randrange(n)
    if kind == "doble":
        return word[:i + 1] + word[i] + word[i + 1:]
    return word[:i] + word[i + 1:]  # falta


def prose_words(path, known):
    words = set()
    with open(path, encoding="utf-8") as f:
        for token in f.read().split():
            word = unicodedata.normalize("NFC", token.strip("¡¿!?.,;:\"'()«»-")).lower()
            if len(word) >= 3 and set(word) <= LETTERS and word in known:
                words.add(word)
    return sorted(words)


def make_errors(words, known):
    rng = random.Random(RANDOM_START)
    order = list(words)
    rng.shuffle(order)
    errors = []
    for kind in KINDS:
        made = 0
        for word in order:
            if made == ERRORS_PER_KIND:
                break
            typo = make_error(word, kind, rng)
            if typo and typo != word and typo not in known:
                errors.append((kind, word, typo))
                made += 1
    return errors


def ours(score, dictionary, errors):
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".txt") as text:
        text.write("".join(typo + "\n" for _, _, typo in errors))
        text.flush()
        done = subprocess.run([score, "--json", "--dictionary", dictionary, text.name],
                              stdout=subprocess.PIPE, check=True)
    found = {t["line"]: t["suggestions"] for t in json.loads(done.stdout)["faultyTokens"]}
    return [found.get(i + 1, []) for i in range(len(errors))]


def hunspell(errors):
    # "^" keeps a line from being read as a command; each line's answer ends
    # with an empty line.
    text = "".join("^" + typo + "\n" for _, _, typo in errors)
    done = subprocess.run(["hunspell", "-d", "es_ES", "-a", "-i", "utf-8"],
                          input=text.encode("utf-8"), stdout=subprocess.PIPE, check=True)
    blocks = done.stdout.decode("utf-8").split("\n\n")
    lines = [b.strip().split("\n") for b in blocks]
    answers = []
    for block in lines[: len(errors)]:
        answer = block[-1] if block else ""
        if answer.startswith("&"):
            answers.append([s.strip() for s in answer.split(":", 1)[1].split(",")])
        else:
            answers.append([])
    if len(answers) != len(errors):
        sys.exit("measure_suggestions.py: hunspell gave %d answers for %d words"
                 % (len(answers), len(errors)))
    return answers


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    score, dictionary, prose = sys.argv[1:4]
    with open(dictionary, "rb") as f:
        known = set(f.read().decode("cp1252").split("\n"))
    errors = make_errors(prose_words(prose, known), known)
    results = {"quirtel": ours(score, dictionary, errors), "hunspell": hunspell(errors)}

    def figures(name, kind=None):
        picked = [(e, s) for e, s in zip(errors, results[name]) if kind in (None, e[0])]
        first = sum(1 for (_, w, _), s in picked if s and s[0].lower() == w)
        five = sum(1 for (_, w, _), s in picked if w in [x.lower() for x in s[:5]])
        return len(picked), first, five

    print("%d errors from %s, random start %d" % (len(errors), prose, RANDOM_START))
    print("%-12s %5s  %-22s %-22s" % ("kind", "n", "quirtel first / five", "hunspell first / five"))
    for kind in KINDS + [None]:
        row = []
        for name in ("quirtel", "hunspell"):
            n, first, five = figures(name, kind)
            row.append("%5.1f%% / %5.1f%%" % (100.0 * first / n, 100.0 * five / n))
        print("%-12s %5d  %-22s %-22s" % (kind or "all", figures("quirtel", kind)[0], *row))
    if "--list" in sys.argv:
        for (kind, word, typo), q, h in zip(errors, results["quirtel"], results["hunspell"]):
            print("%-11s %-16s %-16s | %-50s | %s" % (kind, typo, word, ", ".join(q), ", ".join(h[:5])))


if __name__ == "__main__":
    main()
