#!/usr/bin/env python3
"""Turns UTF-8 words into word-list entries: lower-case Windows-1252 bytes.

Usage: normalize_words.py < words.txt > entries.cp1252

Reads one word per line and writes each word that can serve as an entry,
one per line with LF, in input order (sort and de-duplicate afterwards).
The word check lower-cases a typed token with the Windows-1252 case mapping
and looks it up only after its ends are word characters, so an entry is
kept only when, after the same mapping:

- every character exists in Windows-1252;
- its first and last byte are word characters (a-z, 0-9, á é í ó ú ñ);
- every inner byte is a word character, ü, or one of - . ' (nothing else
  occurs in real words; spaces, soft hyphens and the like are data noise).

Prints how many words were read and kept to stderr.
"""

import sys

WORD = frozenset(b"abcdefghijklmnopqrstuvwxyz0123456789") | frozenset(
    b"\xe1\xe9\xed\xf3\xfa\xf1")
INNER = WORD | frozenset(b"\xfc-.'")


def _lower_table():
    table = bytearray(range(256))
    for b in range(0x41, 0x5B):
        table[b] = b + 0x20
    for b in list(range(0xC0, 0xD7)) + list(range(0xD8, 0xDF)):
        table[b] = b + 0x20
    for upper, lower in ((0x8A, 0x9A), (0x8C, 0x9C), (0x8E, 0x9E), (0x9F, 0xFF)):
        table[upper] = lower
    return bytes(table)


LOWER = _lower_table()


def to_entry(word):
    """Returns the entry bytes for a word, or None when it is no useful entry."""
    try:
        raw = word.encode("cp1252")
    except UnicodeEncodeError:
        return None
    raw = raw.translate(LOWER)
    if not raw or raw[0] not in WORD or raw[-1] not in WORD:
        return None
    if any(b not in INNER for b in raw[1:-1]):
        return None
    return raw


def main():
    read = kept = 0
    out = sys.stdout.buffer
    for line in sys.stdin.buffer:
        read += 1
        word = line.rstrip(b"\r\n").decode("utf-8")
        entry = to_entry(word)
        if entry is not None:
            kept += 1
            out.write(entry + b"\n")
    sys.stderr.write("normalize_words.py: %d read, %d kept\n" % (read, kept))
    return 0


if __name__ == "__main__":
    sys.exit(main())
