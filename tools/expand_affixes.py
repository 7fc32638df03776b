#!/usr/bin/env python3
"""Expands a spelling dictionary made of stems and affix rules into full forms.

Usage: expand_affixes.py FILE.aff FILE.dic > forms.txt

Prints every form the affix rules allow, one per line, in UTF-8, in the order
they are made (duplicates included; sort afterwards). Handles what the
Spanish dictionaries shipped by Debian use:

- SET (file encoding) and FLAG (char, UTF-8, long, num);
- PFX and SFX classes with strip, append, conditions and cross products;
- continuation flags on suffixes (a second suffix after the first, as in
  acción -> acciones), with a cross-product prefix on top of them;
- a prefix may also be allowed by the continuation flags of a suffix.

Directives that would change which forms exist but are not handled here
(compounding, NEEDAFFIX, CIRCUMFIX and the like) stop the run with an error
rather than yield a silently wrong list.
"""

import sys

# Directives that only steer suggestions or morphology: safe to ignore.
IGNORED = {
    "TRY", "REP", "MAP", "KEY", "PHONE", "NOSUGGEST", "MAXNGRAMSUGS",
    "NOSPLITSUGS", "SUGSWITHDOTS", "MAXCPDSUGS", "MAXDIFF", "ONLYMAXDIFF",
    "WORDCHARS", "LANG", "AM", "NAME", "VERSION", "HOME", "DESC",
    "SUBSTANDARD", "WARN", "FORBIDWARN", "BREAK", "KEEPCASE", "CHECKSHARPS",
}

# Directives that change the set of accepted forms and are not implemented.
UNSUPPORTED = {
    "COMPLEXPREFIXES", "COMPOUNDFLAG", "COMPOUNDBEGIN", "COMPOUNDMIDDLE",
    "COMPOUNDLAST", "COMPOUNDRULE", "COMPOUNDMIN", "ONLYINCOMPOUND",
    "NEEDAFFIX", "PSEUDOROOT", "CIRCUMFIX", "FORBIDDENWORD", "FULLSTRIP",
    "ICONV", "OCONV", "IGNORE", "AF", "LEMMA_PRESENT", "COMPOUNDPERMITFLAG",
    "COMPOUNDFORBIDFLAG", "COMPOUNDWORDMAX", "CHECKCOMPOUNDDUP",
}


class AffixError(Exception):
    pass


def split_flags(text, flag_type):
    """Splits a flag string into flags according to the FLAG directive."""
    if flag_type == "long":
        if len(text) % 2:
            raise AffixError("odd length of long flags: %r" % text)
        return [text[i:i + 2] for i in range(0, len(text), 2)]
    if flag_type == "num":
        return [f for f in text.split(",") if f]
    # "char" and "UTF-8": after decoding, one character is one flag.
    return list(text)


def parse_condition(cond):
    """Turns a condition into a list with one entry per position: None for
    '.', else (negated, set of characters)."""
    if cond == ".":
        return []
    positions = []
    i = 0
    while i < len(cond):
        c = cond[i]
        if c == "[":
            end = cond.find("]", i + 1)
            if end < 0:
                raise AffixError("unclosed bracket in condition %r" % cond)
            body = cond[i + 1:end]
            negated = body.startswith("^")
            if negated:
                body = body[1:]
            positions.append((negated, frozenset(body)))
            i = end + 1
        elif c == ".":
            positions.append(None)
            i += 1
        else:
            positions.append((False, frozenset(c)))
            i += 1
    return positions


def position_matches(pos, ch):
    if pos is None:
        return True
    negated, chars = pos
    return (ch in chars) != negated


class Rule:
    def __init__(self, flag, strip, append, cont, cond):
        self.flag = flag
        self.strip = strip
        self.append = append
        self.cont = cont
        self.cond = parse_condition(cond)

    def suffix_fits(self, word):
        # The stem must keep at least one character after the strip, and the
        # condition is tested on the end of the unstripped stem.
        n = len(self.cond)
        if len(word) <= len(self.strip) or len(word) < n:
            return False
        if self.strip and not word.endswith(self.strip):
            return False
        tail = word[len(word) - n:]
        return all(position_matches(p, c) for p, c in zip(self.cond, tail))

    def prefix_fits(self, word):
        n = len(self.cond)
        if len(word) <= len(self.strip) or len(word) < n:
            return False
        if self.strip and not word.startswith(self.strip):
            return False
        return all(position_matches(p, c) for p, c in zip(self.cond, word))

    def apply_suffix(self, word):
        return word[:len(word) - len(self.strip)] + self.append

    def apply_prefix(self, word):
        return self.append + word[len(self.strip):]


class AffixClass:
    def __init__(self, cross):
        self.cross = cross
        self.rules = []


def read_lines(path, encoding):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    return data.decode(encoding).splitlines()


def python_encoding(name):
    name = name.upper()
    if name in ("UTF-8", "UTF8"):
        return "utf-8"
    if name.startswith("ISO8859-"):
        return "iso8859-" + name[len("ISO8859-"):]
    if name.startswith("ISO-8859-"):
        return name.lower()
    if name in ("KOI8-R", "KOI8-U", "CP1251", "MICROSOFT-CP1251"):
        return name.replace("MICROSOFT-", "").lower()
    raise AffixError("unknown SET encoding %r" % name)


class AffixFile:
    def __init__(self, path):
        self.encoding = "iso8859-1"
        self.flag_type = "char"
        self.prefixes = {}
        self.suffixes = {}
        # SET must be known before anything else is decoded; it is plain ASCII.
        with open(path, "rb") as f:
            for raw in f:
                fields = raw.split()
                if len(fields) >= 2 and fields[0] == b"SET":
                    self.encoding = python_encoding(fields[1].decode("ascii"))
                    break
        self._parse(read_lines(path, self.encoding))

    def _parse(self, lines):
        pending = {}  # (kind, flag) -> rule lines still expected
        for number, line in enumerate(lines, 1):
            fields = line.split()
            if not fields or fields[0].startswith("#"):
                continue
            key = fields[0]
            if key == "SET":
                continue
            if key == "FLAG":
                if len(fields) < 2 or fields[1] not in ("long", "num", "UTF-8"):
                    raise AffixError("line %d: unknown FLAG type" % number)
                self.flag_type = fields[1]
            elif key in ("PFX", "SFX"):
                self._parse_affix(key, fields, pending, number)
            elif key in UNSUPPORTED:
                raise AffixError("line %d: %s is not supported" % (number, key))
            elif key in IGNORED:
                continue
            else:
                raise AffixError("line %d: unknown directive %s" % (number, key))
        missing = {k: v for k, v in pending.items() if v}
        if missing:
            raise AffixError("affix classes with missing rules: %r" % missing)

    def _parse_affix(self, key, fields, pending, number):
        table = self.prefixes if key == "PFX" else self.suffixes
        if len(fields) < 4:
            raise AffixError("line %d: short %s line" % (number, key))
        flag = fields[1]
        if (key, flag) not in pending:
            # Header: PFX flag cross_product count
            if fields[2] not in ("Y", "N"):
                raise AffixError("line %d: bad cross-product field" % number)
            if flag in table:
                raise AffixError("line %d: class %s defined twice" % (number, flag))
            table[flag] = AffixClass(fields[2] == "Y")
            pending[(key, flag)] = int(fields[3])
            return
        if pending[(key, flag)] == 0:
            raise AffixError("line %d: more rules than announced" % number)
        pending[(key, flag)] -= 1
        if len(fields) < 5:
            raise AffixError("line %d: %s rule without condition" % (number, key))
        strip = "" if fields[2] == "0" else fields[2]
        append, _, cont_text = fields[3].partition("/")
        if append == "0":
            append = ""
        cont = frozenset(split_flags(cont_text, self.flag_type))
        table[flag].rules.append(Rule(flag, strip, append, cont, fields[4]))


def read_dic(path, aff):
    """Yields (word, flags) for each entry of a .dic file."""
    lines = read_lines(path, aff.encoding)
    for line in lines[1:]:  # the first line is the entry count
        # A tab starts the morphological fields; trailing blanks are noise.
        line = line.split("\t", 1)[0].rstrip()
        if not line:
            continue
        # "\/" is a literal slash in the word; the first other "/" starts the flags.
        i = 0
        word = []
        flags = ""
        while i < len(line):
            if line[i] == "\\" and i + 1 < len(line) and line[i + 1] == "/":
                word.append("/")
                i += 2
            elif line[i] == "/":
                flags = line[i + 1:]
                break
            else:
                word.append(line[i])
                i += 1
        # Flags end at the first blank (a morphological field may follow).
        flags = flags.split(" ", 1)[0]
        yield "".join(word), frozenset(split_flags(flags, aff.flag_type))


def expand_entry(word, flags, aff):
    """Returns the list of forms of one dictionary entry."""
    forms = [word]
    # (form, cross product allowed, continuation flags that enable prefixes)
    suffixed = []
    for flag in flags:
        cls = aff.suffixes.get(flag)
        if cls is None:
            continue
        for rule in cls.rules:
            if not rule.suffix_fits(word):
                continue
            form = rule.apply_suffix(word)
            forms.append(form)
            suffixed.append((form, cls.cross, rule.cont))
            for cont_flag in rule.cont:
                cont_cls = aff.suffixes.get(cont_flag)
                if cont_cls is None:
                    continue
                for rule2 in cont_cls.rules:
                    if rule2.suffix_fits(form):
                        form2 = rule2.apply_suffix(form)
                        forms.append(form2)
                        suffixed.append((form2, cls.cross and cont_cls.cross,
                                         rule.cont | rule2.cont))
    for flag, cls in aff.prefixes.items():
        on_stem = flag in flags
        for rule in cls.rules:
            if on_stem and rule.prefix_fits(word):
                forms.append(rule.apply_prefix(word))
            if not cls.cross:
                continue
            for form, cross, cont in suffixed:
                if (on_stem and cross) or flag in cont:
                    if rule.prefix_fits(form):
                        forms.append(rule.apply_prefix(form))
    return forms


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: expand_affixes.py FILE.aff FILE.dic\n")
        return 2
    try:
        aff = AffixFile(argv[1])
        out = sys.stdout.buffer
        for word, flags in read_dic(argv[2], aff):
            for form in expand_entry(word, flags, aff):
                out.write(form.encode("utf-8"))
                out.write(b"\n")
    except (AffixError, OSError, UnicodeDecodeError, ValueError) as e:
        sys.stderr.write("expand_affixes.py: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
