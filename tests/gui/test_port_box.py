"""The shipped window lists the serial ports present and keeps the one picked."""
import os
import re
import unittest

import atspi_view as a11y
import x_input as x
from gui_session import Session, isolated_main, wait_until
from theolink_window import STEP_TIMEOUT_S, Window


class PortBox(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def start(self, fake_tty):
        return Window(self.session, self.session.start_program(fake_tty), test=self)

    def assert_closes_cleanly(self, window):
        self.assertEqual(window.close(), 0, self.session.log(window.process)[-4000:])
        self.assertEqual(self.session.sanitizer_report(window.process), "")

    def test_lists_the_ports_present_and_the_next_start_selects_the_one_picked(self):
        self.session.write_ini("[Form]\nLanguage=1\nPort=1\n")
        fake = self.session.fake_tty_class(["ttyUSB0", "ttyACM0"])
        w = self.start(fake)
        self.assertEqual(a11y.name(w.port_box()), "/dev/ttyUSB0")
        _, items = w.open_port_list()
        self.assertEqual(items, ["/dev/ttyACM0", "/dev/ttyUSB0"])
        x.key("Escape")

        # A cable plugged in while the window runs shows at the next opening; the port
        # chosen stays chosen although its place in the list moved.
        os.makedirs(os.path.join(fake, "ttyACM1", "device"))
        popup, items = w.open_port_list()
        self.assertEqual(items, ["/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyUSB0"])
        self.assertEqual(a11y.name(w.port_box()), "/dev/ttyUSB0")
        x.click(next(i for i in a11y.children(popup) if a11y.name(i) == "/dev/ttyACM0"))
        wait_until(lambda: a11y.name(w.port_box()) == "/dev/ttyACM0", STEP_TIMEOUT_S, "the pick to show")
        self.assert_closes_cleanly(w)
        self.assertRegex(self.session.read_ini(), re.compile(r"^Port=0\r$", re.M))

        w = self.start(fake)
        self.assertEqual(a11y.name(w.port_box()), "/dev/ttyACM0")
        self.assert_closes_cleanly(w)


if __name__ == "__main__":
    isolated_main(time_limit_s=600)
