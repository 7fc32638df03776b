"""Copy practice from the user's side: "Copiar un texto..." from the menu with
keys, the first built-in text, its first words typed with a missing accent, a
joined pair and a missing word, "Resultado de la copia" read through the
accessibility tree, and the copy's record in the log."""

import os
import re
import unittest

from quirtel_e2e import DATOS, QuirtelTestCase

RESULT = "Resultado de la copia"
WORDS = 16
ACCENTS = str.maketrans("áéíóú", "aeiou")


def first_text():
    """Title and words of the first built-in text, as the chooser lists it."""
    folder = os.path.join(DATOS, "textos")
    name = sorted(n for n in os.listdir(folder) if n.endswith(".txt"))[0]
    with open(os.path.join(folder, name), encoding="utf-8") as f:
        title, _, passage = f.read().partition("\n")
    return title.strip(), passage.split()


def with_slips(words):
    """The words typed with an accent left out, two words joined and one word
    missing, each apart from the others; the kinds they should be given."""
    accent = next(i for i in range(1, len(words) - 1)
                  if words[i].translate(ACCENTS) != words[i])
    joined = next(i for i in range(1, len(words) - 2)
                  if words[i].isalpha() and words[i + 1].isalpha() and accent not in (i, i + 1))
    missing = next(i for i in range(2, len(words) - 1)
                   if words[i].isalpha() and abs(i - accent) > 1
                   and i not in range(joined - 1, joined + 3))
    typed = []
    for i, word in enumerate(words):
        if i == missing or i == joined + 1:
            continue
        if i == joined:
            word += words[i + 1]
        elif i == accent:
            word = word.translate(ACCENTS)
        typed.append(word)
    return " ".join(typed) + " "


class CopyTest(QuirtelTestCase):

    def test_a_copied_text_is_judged_and_logged(self):
        title, words = first_text()
        words = words[:WORDS]
        typed = with_slips(words)

        q = self.launch()
        q.menu_command("Copiar un texto...", "x")
        chooser = q.wait_window("Texto para copiar")
        q.activate(chooser)
        # The first row is chosen; Enter is "Empezar".
        q.key("Return")
        q.wait_window_gone(chooser)

        q.activate(q.main)
        q.type(typed)
        q.wait_typed_text(typed)
        q.key("F2")
        dialog = q.wait_window(RESULT)

        shown = q.window_texts(RESULT)
        names = [name for _, name, _ in shown]
        self.assertIn("Errores: 3", names)
        cells = [name for role, name, _ in shown if role == "table cell"]
        for kind in ("tilde", "unidas", "omitida"):
            self.assertIn(kind, cells)
        # Of the words reached, four are not typed as the model has them.
        accuracy = "%.2f %%" % ((WORDS - 4) * 100.0 / WORDS)
        self.assertIn("Precisión: " + accuracy, names)

        q.activate(dialog)
        q.key("Return")
        q.wait_window_gone(dialog)
        q.wait_caption(re.compile(
            r"Prueba acabada: -?\d+\.\d\d caracteres/min en \d\d:\d\d minutos"))

        log = q.read_file("estadistica.txt")
        self.assertIsNotNone(log, "no estadistica.txt")
        record = log.decode("cp1252")
        self.assertEqual(record.count("\r\n"), 1)
        self.assertIn(" --- Faltas: 3 --- ", record)
        self.assertTrue(record.endswith(" --- Copia: %s --- Precisión: %s" % (title, accuracy)),
                        record)


if __name__ == "__main__":
    unittest.main()
