"""The progress window from the user's side: two tests finished in the real
window, then "Progreso" from the menu shows both in its table and describes
its chart, read through the accessibility tree."""

import re
import unittest

import pyatspi

from quirtel_e2e import PROMPT_10, QuirtelTestCase, name_of, role_of, walk

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
RECORD = re.compile(
    r"(\d\d)-(%s)-(\d{4}) (\d\d:\d\d) --- (-?\d+\.\d\d) caracteres/min --- (\d\d:\d\d) minutos"
    r" --- Faltas: (\d+) --- Pulsaciones: (-?\d+\.\d\d) caracteres/min" % "|".join(MONTHS))


def table_rows(table):
    """The cell texts of an accessible table, row by row."""
    grid = table.queryTable()
    return [[name_of(grid.getAccessibleAt(row, column)) for column in range(grid.nColumns)]
            for row in range(grid.nRows)]


class ProgressTest(QuirtelTestCase):

    def finish_test(self, q, text):
        """Types `text`, finishes at once with F2 and accepts the result."""
        q.type(text[0])
        q.wait_caption("¡Empezando!")
        q.type(text[1:])
        q.wait_typed_text(text)
        q.finish_and_accept()

    def test_two_finished_tests_are_rows_of_the_progress_table(self):
        q = self.launch()
        self.finish_test(q, "hola mundo")
        q.key("F2")
        q.wait_caption(PROMPT_10)
        self.finish_test(q, "casa xq")
        log = q.read_file("estadistica.txt").decode("cp1252")
        records = [RECORD.fullmatch(line) for line in log.split("\r\n")[1:]]
        self.assertEqual(len(records), 2, log)
        self.assertTrue(all(records), log)

        q.menu_command("Progreso...", "p")
        window = q.wait_window("Progreso")
        top = q.a11y_window("Progreso")
        table = q._wait(lambda: next(((True, n) for n in walk(top)
                                      if role_of(n) == pyatspi.ROLE_TABLE), (False, None)),
                        "the table of tests")
        self.assertEqual(name_of(table), "Pruebas")
        # Newest first: the second test heads the table.
        expected = [[
            "%s/%02d/%s %s" % (r.group(1), MONTHS.index(r.group(2)) + 1, r.group(3), r.group(4)),
            r.group(6), r.group(5), r.group(7), r.group(8)] for r in reversed(records)]
        self.assertEqual(table_rows(table), expected)

        chart = next(n for n in walk(top) if name_of(n) == "Gráfico de progreso")
        self.assertTrue(chart.description.startswith("2 pruebas. Velocidad neta de la "
                                                     "primera: %s caracteres/min"
                                                     % records[0].group(8)), chart.description)

        q.activate(window)
        q.key("Escape")
        q.wait_window_gone(window)


if __name__ == "__main__":
    unittest.main()
