"""The fault review from the user's side: a real typed test, the tooltip over
a marked word, "Revisar faltas..." ticking a word the typist knows is right,
the personal word list it goes into, and that word unmarked now and in the
next run."""

import os
import unittest

import pyatspi

from quirtel_e2e import QuirtelTestCase, xdotool

TEXT = "Una cancion de Akutagawa"
CANCION = TEXT.index("cancion")
AKUTAGAWA = TEXT.index("Akutagawa")
REVIEW = "Revisión de faltas"


def marked(q, offset):
    """Whether the character at `offset` of the text area carries the fault
    mark, as a screen reader hears of it: underlined, in the mark's colour."""
    attributes, _, _ = q.text_area().queryText().getAttributeRun(offset, False)
    joined = ";".join(attributes)
    return "underline" in joined and "200,100,100" in joined


class ReviewTest(QuirtelTestCase):

    def launch_with_data_home(self, q):
        """Starts the program with its personal word list in the sandbox."""
        previous = os.environ.get("XDG_DATA_HOME")
        os.environ["XDG_DATA_HOME"] = os.path.join(q.root, "data")
        try:
            return q.start()
        finally:
            if previous is None:
                del os.environ["XDG_DATA_HOME"]
            else:
                os.environ["XDG_DATA_HOME"] = previous

    def finish(self, q, text):
        q.type(text)
        q.wait_typed_text(text)
        q.finish_and_accept()

    def test_a_ticked_word_joins_the_personal_list_and_loses_its_mark(self):
        q = self.sandbox()
        personal = os.path.join(q.root, "data", "quirtel", "personal.dic")
        self.launch_with_data_home(q)
        self.finish(q, TEXT)
        record = q.read_file("estadistica.txt")
        self.assertTrue(marked(q, CANCION) and marked(q, AKUTAGAWA))
        self.assertFalse(marked(q, 0))

        # The pointer resting on the marked word shows why it is marked.
        x, y = q.screen_point_in_text(CANCION + 2)
        q.activate(q.main)
        xdotool("mousemove", x - 1, y)
        xdotool("mousemove", x, y)

        def tooltip():
            for node in q.a11y_app():
                if node is not None and node.getRole() == pyatspi.ROLE_TOOL_TIP:
                    return True, node.name
            return False, None
        self.assertTrue(q._wait(tooltip, "a tooltip").startswith(
            "Falta de tilde\nSugerencias: canción, "))

        q.menu_command("Revisar faltas...", "r")
        dialog = q.wait_window(REVIEW)
        q.activate(dialog)
        cells = [name for role, name, _ in q.window_texts(REVIEW) if role == "table cell"]
        for shown in ("cancion", "Falta de tilde", "Akutagawa", "Palabra desconocida"):
            self.assertIn(shown, cells)
        self.assertTrue(any(c.startswith("canción") for c in cells), cells)
        # The first row, "cancion", is the current one: Space ticks it.
        q.key("space")
        q.key("Return")
        q.wait_window_gone(dialog)

        q._wait(lambda: os.path.exists(personal), "the personal word list")
        with open(personal, "rb") as f:
            self.assertEqual(f.read(), b"cancion\n")
        q._wait(lambda: not marked(q, CANCION), "the mark of cancion to go")
        self.assertTrue(marked(q, AKUTAGAWA))
        self.assertEqual(q.read_file("estadistica.txt"), record)

        # The next run loads the list: the word is no fault any more.
        q.stop()
        self.launch_with_data_home(q)
        self.finish(q, TEXT)
        self.assertFalse(marked(q, CANCION))
        self.assertTrue(marked(q, AKUTAGAWA))

    def test_the_review_before_the_result_takes_its_ticks_into_the_count(self):
        q = self.sandbox()
        self.launch_with_data_home(q)
        # "&Abortar" is disabled: the first "a" highlights the item.
        q.menu_command("Revisar antes del resultado", "a")
        settings = os.path.join(q.config_home, "quirtel", "registry.reg")

        def kept():
            try:
                with open(settings, "rb") as f:
                    return b'"reviewBeforeResult"=hex:01,00,00,00' in f.read()
            except FileNotFoundError:
                return False
        q._wait(kept, "the choice in the settings file")
        q.activate(q.main)
        q.wait_text_area_focused()
        q.type(TEXT)
        q.wait_typed_text(TEXT)
        q.key("F2")

        review = q.wait_window(REVIEW)
        self.assertNotIn("Resultado final", q.windows().values())
        q.activate(review)
        q.key("space")  # "cancion", the first row
        q.key("Return")
        q.wait_window_gone(review)

        result = q.wait_window("Resultado final")
        names = [name for _, name, _ in q.window_texts("Resultado final")]
        self.assertIn("Faltas encontradas: 1. Reales:", names)
        q.activate(result)
        field = q.tab_to("Resultado final", lambda n: n.getRoleName() in ("text", "entry"))
        self.assertEqual(field.queryText().getText(0, -1), "1")
        q.key("Return")
        q.wait_window_gone(result)
        q._wait(lambda: b" --- Faltas: 1 --- " in (q.read_file("estadistica.txt") or b""),
                "the record with one fault")
        self.assertFalse(marked(q, CANCION))
        self.assertTrue(marked(q, AKUTAGAWA))


if __name__ == "__main__":
    unittest.main()
