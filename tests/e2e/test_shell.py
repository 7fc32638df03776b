"""The program's shell from the user's side: the remembered window placement,
closing through the menu, the options dialog, saving the document and the
about box."""

import os
import re
import struct
import unittest

from quirtel_e2e import PROMPT_10, QuirtelTestCase, prompt_caption, xdotool

SETTINGS = os.path.join("quirtel", "registry.reg")
WINDOW_KEY = "[HKEY_CURRENT_USER\\Software\\Quelvo,S.A.\\Tapo\\Window]"
DEFAULT_RECT = (0, 0, 640, 480)  # x, y, width, height of the outer frame


def stored_placement(config_home):
    """{"x1": .., "y1": .., "x2": .., "y2": ..} from the settings file's
    Window key; values are 4-byte little-endian signed integers."""
    with open(os.path.join(config_home, SETTINGS), encoding="utf-8") as f:
        text = f.read()
    section = text[text.index(WINDOW_KEY) + len(WINDOW_KEY):]
    section = section.split("\n[", 1)[0]
    values = {}
    for name, data in re.findall(r'^"(x1|y1|x2|y2)"=hex:([0-9a-fA-F,]+)\s*$', section, re.M):
        raw = bytes(int(b, 16) for b in data.split(","))
        assert len(raw) == 4, (name, data)
        values[name] = struct.unpack("<i", raw)[0]
    return values


def write_placement(config_home, x1, y1, x2, y2):
    """A settings file as the program writes it, with the four edges."""
    os.makedirs(os.path.join(config_home, "quirtel"), exist_ok=True)
    lines = ["Windows Registry Editor Version 5.00", "", WINDOW_KEY]
    for name, value in (("x1", x1), ("y1", y1), ("x2", x2), ("y2", y2)):
        data = ",".join("%02x" % b for b in struct.pack("<i", value))
        lines.append('"%s"=hex:%s' % (name, data))
    with open(os.path.join(config_home, SETTINGS), "w", encoding="utf-8") as f:
        f.write("\r\n".join(lines) + "\r\n")


class ShellTest(QuirtelTestCase):

    def quit_through_menu(self, q):
        q.menu_command("Salir", "s")
        self.assertEqual(q.wait_exit(), 0)

    def test_first_start_opens_the_default_window(self):
        q = self.launch()
        self.assertEqual(q.geometry(), DEFAULT_RECT)
        self.assertEqual(q.caption(), PROMPT_10)
        shown = [name for _, name, _ in q.window_texts(PROMPT_10)]
        self.assertIn("Preparado", shown)

    def test_placement_is_remembered_across_runs(self):
        q = self.launch()
        q.type("abc")  # typed text never makes closing ask anything
        q.wait_typed_text("abc")
        xdotool("windowsize", q.main, 700, 500)
        xdotool("windowmove", q.main, 100, 60)
        moved = q._wait(lambda: (q.geometry()[0] >= 50 and q.geometry()[2] > 640,
                                 q.geometry()), "the window to move and grow")
        self.quit_through_menu(q)

        x, y, w, h = moved
        self.assertEqual(stored_placement(q.config_home),
                         {"x1": x, "y1": y, "x2": x + w, "y2": y + h})
        q.start()
        self.assertEqual(q.geometry(), moved)
        self.assertEqual(q.caption(), PROMPT_10)

    def test_stored_placement_is_used_unless_unusable(self):
        cases = [
            ("inside the screen", (120, 80, 820, 580), (120, 80, 700, 500)),
            ("outside every screen", (5000, 5000, 5640, 5480), DEFAULT_RECT),
            ("zero width", (100, 100, 100, 580), DEFAULT_RECT),
            ("negative height", (100, 580, 740, 100), DEFAULT_RECT),
            ("wider than the desktop", (0, 0, 40000, 480), DEFAULT_RECT),
        ]
        for label, edges, expected in cases:
            with self.subTest(label):
                q = self.sandbox()
                write_placement(q.config_home, *edges)
                q.start()
                self.assertEqual(q.geometry(), expected)
                q.stop()

    def test_options_set_the_test_length(self):
        q = self.launch()
        q.menu_command("Opciones", "o")
        dialog = q.wait_window("Opciones")
        field = q.tab_to("Opciones", lambda n: n.getRoleName() in ("text", "entry"))
        self.assertEqual(field.queryText().getText(0, -1), "10")

        # Out of range: a message, and the dialog stays open.
        q.key("ctrl+a")
        q.type("31")
        q.key("Return")
        box = q.wait_window("Tapo")
        self.assertIn("Introduzca un número entero entre 1 y 30.",
                      [name for _, name, _ in q.window_texts("Tapo")])
        q.activate(box)
        q.key("Return")
        q.wait_window_gone(box)
        self.assertIn(dialog, q.windows())
        # The field keeps the refused text and has the focus again.
        top = q.a11y_window("Opciones")
        q._wait(lambda: (q.focused_node(top) is not None
                         and q.focused_node(top).getRoleName() in ("text", "entry"),
                         q.focused_node(top)), "the focus back on the minutes")
        self.assertEqual(q.focused_node(top).queryText().getText(0, -1), "31")

        q.activate(dialog)
        q.key("ctrl+a")
        q.type("2")
        q.key("Return")
        q.wait_window_gone(dialog)
        q.wait_caption(prompt_caption(2))
        q.type("a")
        q.wait_caption(re.compile(r"\(Total 02:00\) --- 00:0[1-9] ---"))

    def test_ctrl_s_writes_an_empty_file(self):
        q = self.launch()
        q.type("texto que no se guarda")
        q.wait_typed_text("texto que no se guarda")
        target = q.path("vacio.txt")
        q.key("ctrl+s")
        chooser = q.wait_window("Guardar como")
        q.activate(chooser)
        q.type(target)
        q.key("Return")
        q.wait_window_gone(chooser)
        q._wait(lambda: os.path.exists(target), "the saved file")
        self.assertEqual(os.path.getsize(target), 0)

        # A second save goes to the same file without asking: the next key
        # still reaches the text area.
        q.activate(q.main)
        q.key("ctrl+s")
        q.type("x")
        q._wait(lambda: q.typed_text().endswith("x"), "the key after the second save")
        self.assertNotIn("Guardar como", q.windows().values())
        self.assertEqual(os.path.getsize(target), 0)

    def test_named_pipe_as_document_is_refused_without_hanging(self):
        q = self.sandbox()
        fifo = q.path("tuberia")
        os.mkfifo(fifo)
        # On the command line: the message, then the program ends.
        q.start(fifo, wait=False)
        box = q.wait_window("Tapo")
        shown = "\n".join(name for _, name, _ in q.window_texts("Tapo"))
        self.assertIn(fifo + "\nNo es un archivo normal", shown)
        q.activate(box)
        q.key("Return")
        self.assertEqual(q.wait_exit(), 1)
        # Chosen with Ctrl+O in a running program: the message, and the
        # program goes on with its test.
        q.start()
        q.type("ab")
        q.wait_typed_text("ab")
        q.key("ctrl+o")
        chooser = q.wait_window("Abrir")
        q.activate(chooser)
        q.type(fifo)
        q.key("Return")
        box = q.wait_window("Tapo")
        self.assertIn("No es un archivo normal",
                      "\n".join(name for _, name, _ in q.window_texts("Tapo")))
        q.activate(box)
        q.key("Return")
        q.wait_window_gone(box)
        q.activate(q.main)
        q.type("c")
        q.wait_typed_text("abc")

    def test_about_box_opens_and_closes_with_the_keyboard(self):
        q = self.launch()
        for close_key in ("Return", "Escape"):
            with self.subTest(close_key):
                # "&Abortar" shares the mnemonic but is disabled: the first
                # "a" highlights "Revisar &antes del resultado", the second
                # "Acerca de".
                q.menu_command("Acerca de Quirtel...", "a", "a")
                about = q.wait_window("Acerca de Quirtel")
                shown = [name for _, name, _ in q.window_texts("Acerca de Quirtel")]
                self.assertIn("Quirtel Versión 2.0", shown)
                self.assertIn("Aceptar", shown)
                q.activate(about)
                q.key(close_key)
                q.wait_window_gone(about)
        # The test was not disturbed.
        self.assertEqual(q.caption(), PROMPT_10)


if __name__ == "__main__":
    unittest.main()
