#!/usr/bin/env python3
"""Extracts the Spanish prose corpus tests/data/prosa_es.txt from fortunes-es.

Usage: make_prosa_es.py [FORTUNES_DIR] > prosa_es.txt
       (default FORTUNES_DIR: /usr/share/games/fortunes/es, Debian fortunes-es)

Takes the quotations of six general themes, drops the attributions (the
"-- Author" lines that close each quotation) and writes one quotation per
line in UTF-8, in file order, without repeats. The text is cleaned to plain
prose as a typist would type it: typographic quotes and dashes become their
keyboard forms, the "/" that marks verse breaks becomes a space, runs of
blanks become one space. Spelling mistakes of the source are corrected by
the table below (missing or wrong written accents, typos, words out of
place), so that the text is correctly spelled Spanish: every word that the
program's word check rejected was read and either corrected here or kept as
correct (names, Latin, words missing from the word list).
"""

import re
import sys

THEMES = ["amistad", "familia", "filosofia", "libertad", "verdad", "vida"]

# Mistakes of the source -> correct text, applied in order to whole words
# or phrases, case-sensitive: missing or wrong written accents, typos and a
# few words put in the wrong place.
CORRECTIONS = [
    ("cuando yo . asiento Mi sombra", "cuando yo asiento. Mi sombra"),
    ("su . crueldad Siempre", "su crueldad. Siempre"),
    ("Nos. llama La seguimos", "Nos llama. La seguimos"),
    ("espejos. sonríales", "espejos. Sonríales"),
    ("Deje de creer", "Dejé de creer"),
    ("Ryunosuke Agutawa", "Ryunosuke Akutagawa"),
    ("por un ley", "por una ley"),
    ("El mundo esta lleno", "El mundo está lleno"),
    ("el numero de", "el número de"),
    ("mas", "más"),
    ("Mas vale", "Más vale"),
    ("aafirmar", "afirmar"),
    ("Aqui", "Aquí"),
    ("aqui", "aquí"),
    ("ahi", "ahí"),
    ("alegria", "alegría"),
    ("alegrias", "alegrías"),
    ("alli", "allí"),
    ("anarquia", "anarquía"),
    ("Asi", "Así"),
    ("asi", "así"),
    ("atreverian", "atreverían"),
    ("autografo", "autógrafo"),
    ("bahia", "bahía"),
    ("caracter", "carácter"),
    ("cesped", "césped"),
    ("debil", "débil"),
    ("deberian", "deberían"),
    ("demas", "demás"),
    ("despues", "después"),
    ("dia", "día"),
    ("dias", "días"),
    ("dificilmente", "difícilmente"),
    ("duo", "dúo"),
    ("egoismo", "egoísmo"),
    ("eleccion", "elección"),
    ("enmedio", "en medio"),
    ("estan", "están"),
    ("estuvieramos", "estuviéramos"),
    ("fué", "fue"),
    ("habitos", "hábitos"),
    ("incertuidumbre", "incertidumbre"),
    ("Jóven", "Joven"),
    ("jóven", "joven"),
    ("mansion", "mansión"),
    ("maritimos", "marítimos"),
    ("mayoria", "mayoría"),
    ("movil", "móvil"),
    ("ningun", "ningún"),
    ("ofuzcan", "ofuscan"),
    ("oir", "oír"),
    ("oirla", "oírla"),
    ("pais", "país"),
    ("paises", "países"),
    ("pelicula", "película"),
    ("picardia", "picardía"),
    ("poseido", "poseído"),
    ("preferirias", "preferirías"),
    ("prohiben", "prohíben"),
    ("quedandose", "quedándose"),
    ("raices", "raíces"),
    ("reido", "reído"),
    ("rie", "ríe"),
    ("segun", "según"),
    ("seguiran", "seguirán"),
    ("tambien", "también"),
    ("terminaria", "terminaría"),
    ("tí", "ti"),
    ("tomeís", "toméis"),
    ("unico", "único"),
    ("veniamos", "veníamos"),
    ("verguenzas", "vergüenzas"),
    ("verpertina", "vespertina"),
    ("viscicitudes", "vicisitudes"),
]

TYPOGRAPHY = {
    "\u201c": '"', "\u201d": '"', "\u00ab": '"', "\u00bb": '"',
    "\u2018": "'", "\u2019": "'", "\u2014": "-", "\u2013": "-",
    "\u2026": "...", "\u00a0": " ", "/": " ", "\t": " ",
}


def quotations(path):
    """Yields the text of each quotation of a fortune file, attribution cut."""
    with open(path, encoding="utf-8") as f:
        body, in_attribution = [], False
        for line in f:
            line = line.rstrip("\n")
            if line == "%":
                if body:
                    yield " ".join(body)
                body, in_attribution = [], False
            elif re.match(r"\s*--", line):
                in_attribution = True
            elif not in_attribution:
                body.append(line)
        if body:
            yield " ".join(body)


def clean(text):
    for old, new in TYPOGRAPHY.items():
        text = text.replace(old, new)
    text = " ".join(text.split())
    for wrong, right in CORRECTIONS:
        text = re.sub(r"(?<!\w)%s(?!\w)" % re.escape(wrong), right, text)
    # "amor ." -> "amor.": punctuation that the source set apart from its word.
    return re.sub(r" ([.,;:!?]+)(?= |$)", r"\1", text)


def main(argv):
    folder = argv[1] if len(argv) > 1 else "/usr/share/games/fortunes/es"
    seen = set()
    out = []
    for theme in THEMES:
        for quote in quotations("%s/%s.fortunes" % (folder, theme)):
            text = clean(quote)
            if text and text not in seen:
                seen.add(text)
                out.append(text)
    sys.stdout.write("".join(line + "\n" for line in out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
