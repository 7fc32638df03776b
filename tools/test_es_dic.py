#!/usr/bin/env python3
"""Tests of the word-list generator and of the shipped datos/es.dic.

Run: python3 -m unittest tools/test_es_dic.py   (from the repository root)
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(TOOLS)
sys.path.insert(0, TOOLS)

import expand_affixes  # noqa: E402
import normalize_words  # noqa: E402

HUNSPELL_AFF = "/usr/share/hunspell/es_ES.aff"
HUNSPELL_DIC = "/usr/share/hunspell/es_ES.dic"


def expand(aff_text, dic_lines):
    """All forms (as a set) of a small dictionary written to temporary files."""
    with tempfile.TemporaryDirectory() as tmp:
        aff_path = os.path.join(tmp, "t.aff")
        dic_path = os.path.join(tmp, "t.dic")
        with open(aff_path, "w", encoding="utf-8") as f:
            f.write(aff_text)
        with open(dic_path, "w", encoding="utf-8") as f:
            f.write("%d\n" % len(dic_lines) + "".join(l + "\n" for l in dic_lines))
        aff = expand_affixes.AffixFile(aff_path)
        forms = set()
        for word, flags in expand_affixes.read_dic(dic_path, aff):
            forms.update(expand_affixes.expand_entry(word, flags, aff))
        return forms


SPANISH_LIKE = """SET UTF-8
FLAG UTF-8
SFX S Y 2
SFX S 0 s [aeo]
SFX S ón ones ón
SFX R Y 2
SFX R ar ación/S ar
SFX R r rlo [ae]r
SFX N N 1
SFX N 0 s a
PFX p Y 1
PFX p 0 re .
PFX q N 1
PFX q 0 des .
SFX À Y 1
SFX À er ámelo er
"""


class ExpandTest(unittest.TestCase):
    def test_forms(self):
        cases = [
            # entry, forms that must exist, forms that must not
            ("casa/S", {"casa", "casas"}, {"casaes"}),
            ("canción/S", {"canciones"}, {"cancións"}),
            ("mar/S", {"mar"}, {"mars"}),  # no rule's condition fits
            # twofold suffix: the plural rule applies to the first suffix's form
            ("activar/R", {"activación", "activaciones", "activarlo"}, set()),
            # cross product on both sides, also over the twofold form
            ("activar/Rp", {"reactivar", "reactivación", "reactivaciones"}, set()),
            # no cross product: the prefix does not combine with the suffix
            ("casa/qN", {"descasa", "casas"}, {"descasas"}),
            # a multi-byte flag is one flag, not two
            ("comer/À", {"comámelo"}, set()),
            # the strip must leave something of the stem
            ("ar/R", {"ar"}, {"ación", "aciones"}),
        ]
        for entry, present, absent in cases:
            with self.subTest(entry=entry):
                forms = expand(SPANISH_LIKE, [entry])
                self.assertTrue(present <= forms, present - forms)
                self.assertFalse(absent & forms, absent & forms)

    def test_dictionary_lines(self):
        forms = expand(SPANISH_LIKE, ["Ascope ", "a\\/b", "casa/S\tpo:nombre",
                                      "ojo/S po:nombre"])
        self.assertEqual(forms, {"Ascope", "a/b", "casa", "casas", "ojo", "ojos"})

    def test_flag_types(self):
        for flag_line, flag, entry in [("FLAG long", "Zz", "casa/AbZz"),
                                       ("FLAG num", "120", "casa/7,120")]:
            with self.subTest(flag_line=flag_line):
                aff = "SET UTF-8\n%s\nSFX %s Y 1\nSFX %s 0 s a\n" % (flag_line, flag, flag)
                self.assertEqual(expand(aff, [entry]), {"casa", "casas"})

    def test_refuses_what_it_cannot_expand(self):
        for aff in ["SET UTF-8\nCOMPOUNDFLAG X\n", "SET UTF-8\nNEEDAFFIX X\n",
                    "SET UTF-8\nSFX S Y 2\nSFX S 0 s a\n",  # one rule short
                    "SET UTF-8\nSFX S Y 1\nSFX S 0 s [ae\n"]:
            with self.subTest(aff=aff):
                with self.assertRaises(expand_affixes.AffixError):
                    expand(aff, ["casa/S"])

    @unittest.skipUnless(os.path.exists(HUNSPELL_DIC) and shutil.which("hunspell"),
                         "hunspell-es not installed")
    def test_real_dictionary_agrees_with_hunspell(self):
        aff = expand_affixes.AffixFile(HUNSPELL_AFF)
        forms = []
        for word, flags in expand_affixes.read_dic(HUNSPELL_DIC, aff):
            forms.extend(expand_affixes.expand_entry(word, flags, aff))
        unique = set(forms)
        self.assertGreater(len(unique), 700000)
        missing = {"dámelo", "acciones", "reactivaciones", "vergüenza"} - unique
        self.assertEqual(missing, set())
        # Every form hunspell itself reads as one word must be accepted, except
        # the stems whose dictionary line ends in a blank: hunspell keeps the
        # blank, the expansion drops it.
        with open(HUNSPELL_DIC, encoding="utf-8") as f:
            blank_ended = {l.split("/")[0].strip() for l in f if l.rstrip("\n") != l.rstrip()}
        sample = sorted(f for f in unique if f.isalpha())[::97]
        result = subprocess.run(["hunspell", "-d", "es_ES", "-i", "utf-8", "-l"],
                                input="\n".join(sample).encode(), capture_output=True,
                                check=True)
        rejected = [w for w in result.stdout.decode().split() if w not in blank_ended]
        self.assertEqual(rejected, [])


class NormalizeTest(unittest.TestCase):
    def test_entries(self):
        cases = [
            ("casa", b"casa"),
            ("Árbol", b"\xe1rbol"),
            ("ÑANDÚ", b"\xf1and\xfa"),
            ("Pingüino", b"ping\xfcino"),
            ("e-mail", b"e-mail"),
            ("l'home", b"l'home"),
            ("1990", b"1990"),
            ("Über", None),  # ü is no word character at the ends
            ("pingü", None),
            ("DD.HH.", None),
            ("-ción", None),
            ("Mala Pascua", None),
            ("papeler\u00ed\u00ado", None),  # soft hyphen
            ("Anco_Huallo", None),
            ("Łódź", None),  # not in Windows-1252
            ("façade", None),
            ("", None),
        ]
        for word, entry in cases:
            with self.subTest(word=word):
                self.assertEqual(normalize_words.to_entry(word), entry)

    def test_case_mapping_matches_the_word_check(self):
        self.assertEqual(bytes([0x41, 0xC0, 0xD6, 0xD7, 0xD8, 0xDE, 0xDF, 0x8A, 0x9F])
                         .translate(normalize_words.LOWER),
                         bytes([0x61, 0xE0, 0xF6, 0xD7, 0xF8, 0xFE, 0xDF, 0x9A, 0xFF]))


class ShippedListTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(os.path.join(ROOT, "datos", "es.dic"), "rb") as f:
            cls.data = f.read()

    def test_layout(self):
        self.assertTrue(self.data.endswith(b"\n"))
        self.assertNotIn(b"\r", self.data)
        lines = self.data[:-1].split(b"\n")
        self.assertGreater(len(lines), 1000000)
        self.assertEqual(lines, sorted(set(lines)), "not sorted by bytes or not unique")
        bad = [l for l in lines if normalize_words.to_entry(l.decode("cp1252")) != l]
        self.assertEqual(bad[:10], [])

    def test_common_words(self):
        lines = set(self.data.split(b"\n"))
        for word in ["y", "a", "o", "qué", "dámelo", "pingüino", "españa", "méxico",
                     "acciones", "también", "está", "niño"]:
            with self.subTest(word=word):
                self.assertIn(word.encode("cp1252"), lines)


if __name__ == "__main__":
    unittest.main()
