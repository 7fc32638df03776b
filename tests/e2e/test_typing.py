"""A typing test from the user's side: the real program, real key events on a
Spanish keyboard, captions, the result dialog, the statistics log, the
clipboard, refused paste and the abort."""

import datetime
import os
import re
import unittest

from quirtel_e2e import (DATOS, PROMPT_10, QuirtelTestCase, clipboard, click, run,
                         set_selection)

SENTENCE = "¡Hola! ¿Qué tal? El pingüino come ñame."
# The words of SENTENCE as the spelling check looks them up: lower case,
# without the opening and closing marks.
SENTENCE_LOOKUPS = ["hola", "qué", "tal", "el", "pingüino", "come", "ñame"]
SENTENCE_CAPITALS = 3  # H, Q, E

TICK = re.compile(r"\(Total 10:00\) --- (\d\d):(\d\d) ---")
SPEED = r"(-?\d+\.\d\d) caracteres/min"
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
RECORD = re.compile(
    r"\r\n(\d\d)-(%s)-(\d{4}) (\d\d):(\d\d) --- %s --- (\d\d):(\d\d) minutos"
    r" --- Faltas: (\d+) --- Pulsaciones: %s" % ("|".join(MONTHS), SPEED, SPEED))


def speed_text(value):
    return "%.2f" % value


def word_list():
    with open(os.path.join(DATOS, "es.dic"), "rb") as f:
        return {line.rstrip(b"\r") for line in f.read().split(b"\n")}


def tick_seconds(caption):
    m = TICK.fullmatch(caption)
    return int(m.group(1)) * 60 + int(m.group(2)) if m else None


class TypingTest(QuirtelTestCase):

    def type_and_wait_for_tick(self, q, text, min_seconds=1):
        """Types `text` from the first key of a test and waits until the
        caption shows at least `min_seconds` elapsed; returns that caption."""
        q.type(text[0])
        q.wait_caption("¡Empezando!")
        q.type(text[1:])
        q.wait_typed_text(text)
        return q.wait_caption(lambda c: (tick_seconds(c) or 0) >= min_seconds)

    def test_prompt_at_start(self):
        q = self.launch()
        self.assertEqual(q.caption(), PROMPT_10)
        self.assertEqual(q.typed_text(), "")
        self.assertIsNone(q.read_file("estadistica.txt"))

    def test_spanish_text_with_dead_keys_runs_the_clock(self):
        q = self.launch()
        text = SENTENCE + "\nÑandú Ávila, ÜLTIMO ÉXITO."
        first = self.type_and_wait_for_tick(q, text)
        self.assertEqual(q.typed_text(), text)
        # The caption keeps counting once a second.
        later = q.wait_caption(lambda c: (tick_seconds(c) or 0) > tick_seconds(first),
                               timeout=5)
        self.assertRegex(later, TICK)

    def test_f2_shows_the_result_and_logs_one_record(self):
        q = self.launch()
        before = datetime.datetime.now().replace(second=0, microsecond=0)
        self.type_and_wait_for_tick(q, SENTENCE)
        q.key("F2")
        dialog = q.wait_window("Resultado final")
        # The rating sound plays before the dialog opens.
        q._wait(q.sound_played, "a rating sound in the audio output")

        shown = q.window_texts("Resultado final")
        names = [name for _, name, _ in shown]
        summary = next(n for n in names if "sin contar faltas" in n)
        m = re.fullmatch(r"%s sin contar faltas \(incluyen (\d+) mayúsculas\)\n"
                         r"Tiempo de escritura: (\d\d):(\d\d) minutos" % SPEED, summary)
        self.assertIsNotNone(m, summary)
        speed, capitals = float(m.group(1)), int(m.group(2))
        minutes, seconds = m.group(3), m.group(4)
        elapsed = int(minutes) * 60 + int(seconds)
        self.assertGreaterEqual(elapsed, 1)
        self.assertEqual(capitals, SENTENCE_CAPITALS)
        keystrokes = len(SENTENCE) + SENTENCE_CAPITALS
        self.assertEqual(m.group(1), speed_text(keystrokes * 60.0 / elapsed))

        known = word_list()
        faults = sum(1 for w in SENTENCE_LOOKUPS if w.encode("cp1252") not in known)
        self.assertIn("Faltas encontradas: %d. Reales:" % faults, names)
        self.assertIn("Pulsaciones finales: %s caracteres/min" % speed_text(speed - faults),
                      names)

        # The user confirms two faults more than were marked.
        q.activate(dialog)
        field = q.tab_to("Resultado final", lambda n: n.getRoleName() in ("text", "entry"))
        self.assertEqual(field.queryText().getText(0, -1), str(faults))
        confirmed = faults + 2
        q.key("ctrl+a")
        q.type(str(confirmed))
        q.key("Return")
        q.wait_window_gone(dialog)

        net = speed_text(speed - confirmed)
        q.wait_caption("Prueba acabada: %s caracteres/min en %s:%s minutos"
                       % (net, minutes, seconds))
        after = datetime.datetime.now()

        log = q.read_file("estadistica.txt")
        self.assertIsNotNone(log, "no estadistica.txt")
        record = RECORD.fullmatch(log.decode("cp1252"))
        self.assertIsNotNone(record, log)
        day, month, year, hour, minute = record.group(1, 2, 3, 4, 5)
        when = datetime.datetime(int(year), MONTHS.index(month) + 1, int(day),
                                 int(hour), int(minute))
        self.assertTrue(before <= when <= after, "%s not within %s..%s" % (when, before, after))
        self.assertEqual(record.group(6, 7, 8, 9, 10),
                         (m.group(1), minutes, seconds, str(confirmed), net))

    def test_copy_to_clipboard_gives_the_finished_text(self):
        q = self.launch()
        text = "Línea uno, ¿vale?\nSegunda línea: ñu."
        q.type(text)
        q.wait_typed_text(text)
        q.finish_and_accept()

        # A finished test refuses typing and editing keys.
        q.type("zz")
        q.key("BackSpace", "Delete", "Return")
        set_selection("antes")
        q.menu_command("Texto a portapapeles", "t")
        copied = q._wait(lambda: (clipboard() not in (None, "antes"), clipboard()),
                         "the clipboard to change")
        self.assertEqual(copied.replace("\r\n", "\n"), text)
        self.assertEqual(q.typed_text(), text)
        self.assertEqual(q.selection_count(), 0)

    def test_paste_and_clicks_insert_nothing(self):
        q = self.launch()
        set_selection("PEGADO", "clipboard")
        set_selection("PRIMARIA", "primary")
        # Ready, then Running: each round ends with a key whose arrival shows
        # that everything before it has been handled.
        for before, marker in (("", "a"), ("abc", "d")):
            with self.subTest(text=before):
                if before:
                    q.type(before[1:])
                    q.wait_typed_text(before)
                    x, y = q.screen_point_in_text(0)
                else:
                    x, y = q.text_area_centre()
                q.key("ctrl+v", "shift+Insert")
                click(2, x, y)
                click(1, x, y)
                q.activate(q.main)
                q.type(marker)
                q._wait(lambda: marker in q.typed_text(), "the marker key")
                self.assertEqual(q.typed_text(), before + marker)

    def test_escape_aborts_a_running_test(self):
        q = self.launch()
        # In Ready, Escape is a character like any other: it starts the clock.
        q.key("Escape")
        q.wait_caption("¡Empezando!")
        q.type("Hola")
        q.wait_typed_text("Hola")
        q.key("Escape")
        box = q.wait_window("Tapo")
        self.assertIn("Prueba abortada.", [name for _, name, _ in q.window_texts("Tapo")])
        q.activate(box)
        q.key("Return")
        q.wait_window_gone(box)
        q.wait_caption(PROMPT_10)
        self.assertEqual(q.typed_text(), "")
        # The new test starts with the next key; the aborted one left nothing.
        q.type("x")
        q.wait_caption("¡Empezando!")
        self.assertIsNone(q.read_file("estadistica.txt"))
        self.assertFalse(q.sound_played())

    def test_f2_after_a_finished_test_prepares_a_new_one(self):
        q = self.launch()
        # In Ready, F2 does nothing: no result dialog, no clock.
        q.key("F2")
        q.type("abc")
        q.wait_typed_text("abc")
        self.assertNotIn("Resultado final", q.windows().values())
        q.finish_and_accept()
        q.key("F2")
        q.wait_caption(PROMPT_10)
        self.assertEqual(q.typed_text(), "")
        q.type("x")
        q.wait_caption("¡Empezando!")
        self.assertEqual(q.read_file("estadistica.txt").count(b"\r\n"), 1)

    def title_bar_buttons(self, wid):
        """The buttons a window asks the window manager for, from its Motif
        hints, and whether the window manager lets it be resized."""
        hints = run(["xprop", "-id", str(wid), "_MOTIF_WM_HINTS"])
        values = [int(v, 0) for v in re.findall(r"0x[0-9a-f]+|\d+", hints.split("=")[-1])]
        decorations = values[2] if len(values) > 2 else 1
        buttons = {name for bit, name in ((0x20, "minimise"), (0x40, "maximise"))
                   if decorations & (bit | 1)}
        actions = run(["xprop", "-id", str(wid), "_NET_WM_ALLOWED_ACTIONS"])
        if "_NET_WM_ACTION_RESIZE" in actions or "_NET_WM_ACTION_MAXIMIZE" in actions:
            buttons.add("resize")
        if "_NET_WM_ACTION_CLOSE" in actions:
            buttons.add("close")
        return buttons

    def test_dead_key_first_is_a_character_and_dialogs_have_only_close(self):
        q = self.launch()
        # An accent alone starts the test, so F2 right after it finishes it.
        q.key("dead_acute")
        q.wait_caption("¡Empezando!")
        q.key("F2")
        dialog = q.wait_window("Resultado final")
        self.assertEqual(self.title_bar_buttons(dialog), {"close"})
        q.activate(dialog)
        q.key("Return")
        q.wait_window_gone(dialog)
        # After an accent, Escape aborts the test the accent started.
        q.key("F2")
        q.wait_caption(PROMPT_10)
        q.key("dead_acute")
        q.wait_caption("¡Empezando!")
        q.key("Escape")
        box = q.wait_window("Tapo")
        self.assertEqual(self.title_bar_buttons(box), {"close"})
        q.activate(box)
        q.key("Return")
        q.wait_window_gone(box)
        q.wait_caption(PROMPT_10)
        # Shift+Tab types a tab like Tab; the accent composes with its letter.
        q.key("a", "shift+Tab", "dead_acute", "e")
        q.wait_typed_text("a\té")
        self.assertEqual(q.read_file("estadistica.txt").count(b"\r\n"), 1)

    def test_log_that_cannot_grow_is_reported_and_kept(self):
        # Beyond the file-size limit (ulimit -f), then without any write
        # permission (refused also when run as root): the message with the
        # cause, the program goes on, the log keeps its bytes.
        for cause, limit, mode in ((13, 4096, 0o644), (5, None, 0o444)):
            with self.subTest(cause=cause):
                q = self.sandbox()
                before = b"\r\n" + b"x" * 4094
                with open(q.path("estadistica.txt"), "wb") as f:
                    f.write(before)
                os.chmod(q.path("estadistica.txt"), mode)
                q.start(file_size_limit=limit)
                q.type("hola")
                q.wait_typed_text("hola")
                q.finish_and_accept()
                box = q.wait_window("Tapo")
                shown = "\n".join(name for _, name, _ in q.window_texts("Tapo"))
                self.assertIn("No puedo escribir datos\n<CFileException(%d)>" % cause, shown)
                q.activate(box)
                q.key("Return")
                q.wait_window_gone(box)
                q.key("F2")
                q.wait_caption(PROMPT_10)
                self.assertEqual(q.read_file("estadistica.txt"), before)
                q.stop()


if __name__ == "__main__":
    unittest.main()
