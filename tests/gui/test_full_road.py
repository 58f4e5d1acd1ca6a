"""A surveyor's whole road through the shipped window, with real clicks and keys: receive
a job from the simulated instrument, turn it into points, pick one on the plan, edit them
(refused keys included), save them, send them back, edit a code list (a change undone and
done again), save it, close."""
import os
import unittest

import atspi_view as a11y
import x_input as x
from gui_session import Session, isolated_main, wait_until
from theolink_window import STEP_TIMEOUT_S, Window

EXTRACT_QUESTION = "Are you sure to extraction coordinate points? The measurement data will be cleared."
CLEAR_QUESTION = "This operation will clear all data. Sure to continue?"

# The job's station S1 (XYZ: east, north, elevation) and coordinate shot P8 (ENZ), then
# the point typed in: north 1234.5, east 2345.25, elevation -3.5, code NEW.
EXTRACTED_ROWS = [["#1", "S1", "3000.0000", "5000.0000", "100.0000", "BASE"],
                  ["#2", "P8", "2998.7654", "5012.3456", "101.2345", "TREE"]]
TYPED_ROW = ["#3", "P10", "1234.5000", "2345.2500", "-3.5000", "NEW"]
# CASS text: name, code, east, north, elevation.
SAVED_POINTS = (b"S1,BASE,5000.0000,3000.0000,100.0000\r\n"
                b"P8,TREE,5012.3456,2998.7654,101.2345\r\n"
                b"P10,NEW,2345.2500,1234.5000,-3.5000\r\n")
# Upload lines: name, code, 0, north, east, elevation in metres, 0.
SENT_POINTS = (b"S1 BASE 0 3000.000000 5000.000000 100.000000 0\r\n"
               b"P8 TREE 0 2998.765400 5012.345600 101.234500 0\r\n"
               b"P10 NEW 0 1234.500000 2345.250000 -3.500000 0\r\n")
SAVED_CODES = b"TREE\r\nWALL\r\n"


class FullRoad(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def test_receive_extract_edit_save_send_and_close(self):
        s = self.session
        s.write_ini("[Form]\nLanguage=1\n[Setting]\nAngleUnit=0\nLengthUnit=0\nCoordOrder=0\n")
        w = self.w = Window(s, s.start_program(s.fake_tty_class(["ttyUSB0"])), test=self)

        instrument, device = s.start_simulator("export", os.path.join(s.data_dir, "e2e", "job.wkj"))
        w.type_port(device)
        w.click("Receive")
        w.wait_panel(1, "Total: 6", timeout_s=60)
        self.assertTrue(w.text_view_text().startswith("JOB     SITE7"), w.text_view_text()[:200])
        self.assertEqual(instrument.wait(STEP_TIMEOUT_S), 0, s.log(instrument))
        s.screenshot("1-job-received")

        w.click("Coord")
        w.answer(w.message_box(EXTRACT_QUESTION))
        w.wait_panel(1, "Total: 2")
        self.assertEqual(w.grid_rows(), EXTRACTED_ROWS)
        self.pick_on_plan()
        w.click("Coord")
        w.click("Append")
        self.edit_typed_point()
        s.screenshot("3-points-edited")
        w.click("Return")
        w.wait_panel(1, "Total: 3")
        self.assertEqual(w.grid_rows(), EXTRACTED_ROWS + [TYPED_ROW])

        self.assertEqual(self.save_as("points.dat"), SAVED_POINTS)
        wait_until(lambda: a11y.name(w.frame) == "points.dat - Theolink II v1.5", STEP_TIMEOUT_S,
                   "the title to name the saved file")

        out = s.path("uploaded.txt")
        # A generous wait for each answer: a sanitizer build on a busy machine is slow.
        instrument, device = s.start_simulator("import", out, "--answer-timeout", "5000")
        w.type_port(device)
        w.click("Send")
        self.assertEqual(instrument.wait(60), 0, s.log(instrument))
        with open(out, "rb") as f:
            self.assertEqual(f.read(), SENT_POINTS)
        w.wait_panel(0, "Operation is complete!")

        w.click("Code")
        w.answer(w.message_box(CLEAR_QUESTION), "OK")
        self.click_cell(0, 1)
        self.refuse(0, 1, "CODE1234", "5", "Too many char!", "OK")
        self.type_accepted(0, 1, "TREE")
        # The cell's keystrokes are one step: undone, the cell holds what it kept before them.
        x.key("ctrl+z")
        self.cell_reads(0, 1, "CODE1234", "ctrl+z")
        x.key("ctrl+shift+z")
        self.cell_reads(0, 1, "TREE", "ctrl+shift+z")
        w.click("Append")
        self.click_cell(1, 1)
        self.type_accepted(1, 1, "WALL")
        w.click("Return")
        w.wait_panel(1, "Total: 2")
        self.assertEqual(self.save_as("codes.txt"), SAVED_CODES)
        s.screenshot("4-codes-saved")

        self.assertEqual(w.close(), 0, s.log(w.process)[-4000:])
        for process in (w.process, instrument):
            self.assertEqual(s.sanitizer_report(process), "")

    def pick_on_plan(self):
        """Plan shows the two points beside the grid; a click on P8 there selects its row.
        Plan again hides the plan."""
        w = self.w
        # Plan stays down while the plan shows (a toggle, whatever role the bus gives it).
        plan_button = a11y.find_one(w.frame, None, "Plan")
        x.click(plan_button)
        plan = a11y.find_one(w.frame, None, "Plan of the points")
        seen = []

        def settled():
            seen.append(a11y.extents(plan))
            return len(seen) > 2 and seen[-1] == seen[-2] == seen[-3] and seen[-1][2] > 100
        wait_until(settled, STEP_TIMEOUT_S, "the plan to take its place")
        left, top, width, height = seen[-1]
        # The plan fits its points with 40 pixels around them and room for labels on the
        # right (100 pixels, at most a quarter of its width).
        (n1, e1), (n2, e2) = (3000.0, 5000.0), (2998.7654, 5012.3456)
        labels = min(100, width // 4)
        scale = min((width - 80 - labels) / (e2 - e1), (height - 80) / (n1 - n2))
        centre_e = (e1 + e2) / 2 + labels / 2 / scale
        centre_n = (n1 + n2) / 2
        x.click_at(int(round(left + width / 2 + (e2 - centre_e) * scale)),
                   int(round(top + height / 2 - (n2 - centre_n) * scale)))
        wait_until(lambda: a11y.row_selected(w.grid(), 1), STEP_TIMEOUT_S, "P8's row to be selected")
        self.session.screenshot("2-plan")
        x.click(plan_button)
        wait_until(lambda: not a11y.find_all(w.frame, None, "Plan of the points"), STEP_TIMEOUT_S,
                   "the plan to go")

    def edit_typed_point(self):
        """Types the new point into row 3, running into every check of every column on the
        way; each refusal is answered by key or by click, alternately."""
        row = 2
        self.click_cell(row, 1)
        self.refuse(row, 1, "ABCDEFGH", "I", "Too many char!", None, picture="2-refused-key")
        self.type_accepted(row, 1, "P10")

        self.click_cell(row, 2)
        self.refuse(row, 2, "12", "x", "Illegal data type!", "OK")
        self.refuse(row, 2, "10000000", "0", "Oversize or Undersize!", None)
        self.type_accepted(row, 2, "1234.5")

        self.click_cell(row, 3)
        self.refuse(row, 3, "", "z", "Illegal data type!", "OK")
        self.refuse(row, 3, "1.00000000000", "1", "Too many data!", None)
        self.type_accepted(row, 3, "2345.25")

        self.click_cell(row, 4)
        self.refuse(row, 4, "", "y", "Illegal data type!", "OK")
        # The sign goes in front once there are digits; one more digit is out of range.
        self.type_accepted(row, 4, "99999999")
        x.key("Home")
        self.type_accepted(row, 4, "-", expect="-99999999")
        x.key("End")
        self.refuse(row, 4, "", "9", "Oversize or Undersize!", "OK", kept="-99999999")
        self.type_accepted(row, 4, "3.5")
        x.key("Home")
        self.type_accepted(row, 4, "-", expect="-3.5")

        self.click_cell(row, 5)
        self.refuse(row, 5, "NEWCODE1", "2", "Too many char!", None)
        self.type_accepted(row, 5, "NEW")

    def click_cell(self, row, column):
        x.click(a11y.cell(self.w.grid(), row, column))

    def cell_reads(self, row, column, wanted, after):
        seen = []

        def reads():
            seen.append(self.w.grid_cell_text(row, column))
            return seen[-1] == wanted
        try:
            wait_until(reads, STEP_TIMEOUT_S, "cell (%d, %d) to hold %r after %s" % (row, column, wanted, after))
        except AssertionError as e:
            raise AssertionError("%s; it holds %r; program %s" % (e, seen[-1] if seen else None,
                                                                 self.w.state())) from None

    def type_accepted(self, row, column, keys, expect=None):
        x.type_text(keys)
        self.cell_reads(row, column, expect if expect is not None else keys, "typing %r" % keys)
        self.assertTrue(self.w.no_box_up(), "a box came up for %r" % keys)

    def refuse(self, row, column, accepted, refused, message, answer_button, kept=None, picture=None):
        """Types accepted (taken), then the refused key: the box says message, goes with the
        answer, the program lives on and the cell keeps what it held before the key (kept,
        else accepted). Ctrl+A then selects that, so the next keys replace it."""
        if accepted:
            self.type_accepted(row, column, accepted)
        x.type_text(refused)
        box = self.w.message_box(message)
        if picture:
            self.session.screenshot(picture)
        self.w.answer(box, answer_button)
        self.w.assert_alive()
        self.cell_reads(row, column, accepted if kept is None else kept, "%r refused" % (accepted + refused))
        x.key("ctrl+a")

    def save_as(self, name):
        """Saves through the window's own file dialog, typing the path; returns the bytes."""
        target = self.session.path(name)
        self.w.click("Save")
        dialog = wait_until(lambda: next(iter(self.w.dialogs()), None), STEP_TIMEOUT_S, "the save dialog")
        x.click(a11y.find_one(dialog, "text", "File name:"))
        x.type_text(target)
        x.key("Return")
        wait_until(lambda: os.path.exists(target) and not self.w.dialogs(), STEP_TIMEOUT_S,
                   "%s to be written and the dialog to go" % name)
        self.assertTrue(self.w.no_box_up())
        with open(target, "rb") as f:
            return f.read()


if __name__ == "__main__":
    isolated_main(time_limit_s=900)
