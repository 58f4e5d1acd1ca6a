"""The running main window as a person meets it: found by role and caption on the
accessibility bus, worked with real clicks and keys."""
import time

import atspi_view as a11y
import x_input as x
from gui_session import Fatal, wait_until

# A program built with sanitizers starts and answers several times slower.
START_TIMEOUT_S = 90
STEP_TIMEOUT_S = 30

# The captions the window is found by.
ENGLISH = {"title": "Theolink II v1.5", "port_group": "ComPort Setup"}


# The text view's accessible name in both languages.
TEXT_VIEW_NAMES = ("Measurement data", "\u6d4b\u91cf\u6570\u636e")

class StartBlocked(Fatal):
    pass


class Window:
    def __init__(self, session, process, texts=ENGLISH, test=None):
        self.session = session
        self.process = process
        if test is not None:
            test.addCleanup(session.stop, process)
        self.texts = texts
        self.app = a11y.application(process.pid, START_TIMEOUT_S)
        self.frame = wait_until(self._main_frame, START_TIMEOUT_S, "the main window")
        # The first paint loads the help text into the text view; steps taken before that
        # would race with it.
        wait_until(self._started, START_TIMEOUT_S, "the help text")

    def _started(self):
        self._no_box_at_start()
        return bool(self.text_view_text())

    def _no_box_at_start(self):
        if self.boxes():
            shown = [[a11y.name(label) for label in a11y.find_all(b, "label")] for b in self.boxes()]
            raise StartBlocked("a box is up at start: %r" % shown)

    def _main_frame(self):
        self._no_box_at_start()
        for w in a11y.top_windows(self.app):
            if a11y.name(w) == self.texts["title"]:
                return w
        return None

    # --- finding controls -----------------------------------------------------------------

    def button(self, caption):
        return a11y.find_one(self.frame, "push button", caption, timeout_s=STEP_TIMEOUT_S)

    def click(self, caption):
        b = self.button(caption)
        wait_until(lambda: a11y.enabled(b), STEP_TIMEOUT_S, "button %r to be enabled" % caption)
        x.click(b)

    def _port_group_boxes(self):
        group = a11y.find_one(self.frame, "panel", self.texts["port_group"], timeout_s=STEP_TIMEOUT_S)
        boxes = [c for c in a11y.children(group) if a11y.role(c) == "combo box"]
        if len(boxes) != 2:
            raise AssertionError("the port group holds %d boxes:\n%s" % (len(boxes), a11y.describe_tree(group)))
        return boxes

    def port_box(self):
        return self._port_group_boxes()[0]

    def baud_box(self):
        return self._port_group_boxes()[1]

    def panel(self, index):
        bars = a11y.find_all(self.frame, "status bar")
        if len(bars) != 1:
            raise AssertionError("expected one status bar")
        panels = [c for c in a11y.children(bars[0]) if a11y.role(c) == "label"]
        return panels[index]

    def panel_text(self, index):
        return a11y.name(self.panel(index))

    def wait_panel(self, index, wanted, timeout_s=STEP_TIMEOUT_S):
        """Waits until status panel index reads wanted; gives what it read last on failure."""
        seen = []

        def reads():
            seen.append(self.panel_text(index))
            return seen[-1] == wanted
        try:
            wait_until(reads, timeout_s, "status panel %d to read %r" % (index, wanted))
        except AssertionError as e:
            raise AssertionError("%s; it read %r" % (e, seen[-1] if seen else None)) from None

    def grid(self):
        tables = [t for t in a11y.find_all(self.frame, "table") if a11y.name(t) not in TEXT_VIEW_NAMES]
        if len(tables) != 1:
            raise AssertionError("expected one grid on the screen, found %d" % len(tables))
        return tables[0]

    def grid_cell_text(self, row, column):
        return a11y.name(a11y.cell(self.grid(), row, column))

    def grid_rows(self):
        table = self.grid()
        columns = a11y.column_count(table)
        return [[a11y.name(a11y.cell(table, r, c)) for c in range(columns)]
                for r in range(a11y.row_count(table))]

    def text_view(self):
        # A table of lines: a job of millions of lines is drawn a screen at a time.
        views = [t for t in a11y.find_all(self.frame, "table") if a11y.name(t) in TEXT_VIEW_NAMES]
        return views[0] if len(views) == 1 else None

    def text_view_text(self, max_lines=80):
        """The first lines of the text view, joined by LF."""
        view = self.text_view()
        if view is None:
            return ""
        rows = min(a11y.row_count(view), max_lines)
        return "\n".join(a11y.name(a11y.cell(view, r, 0)) for r in range(rows))

    # --- message boxes --------------------------------------------------------------------

    def boxes(self):
        return [w for w in a11y.top_windows(self.app) if a11y.role(w) == "alert"]

    def message_box(self, text, timeout_s=STEP_TIMEOUT_S):
        """The box showing text, once it is up; fails naming any other box that came."""
        def up():
            for box in self.boxes():
                if any(a11y.name(label) == text for label in a11y.find_all(box, "label")):
                    return box
            return None
        try:
            return wait_until(up, timeout_s, "a box saying %r" % text)
        except AssertionError as e:
            shown = [[a11y.name(label) for label in a11y.find_all(b, "label")] for b in self.boxes()]
            raise AssertionError("%s; boxes up: %r; program %s" % (e, shown, self.state())) from None

    def answer(self, box, button_caption=None):
        """Answers box with a click on button_caption, or with the Return key."""
        if button_caption is None:
            x.key("Return")
        else:
            x.click(a11y.find_one(box, "push button", button_caption))
        wait_until(lambda: not self._still_up(box), STEP_TIMEOUT_S, "the box to go")

    @staticmethod
    def _still_up(box):
        try:
            return a11y.showing(box)
        except Exception:  # a closed box leaves the bus
            return False

    def dialogs(self):
        return [w for w in a11y.top_windows(self.app) if a11y.role(w) == "dialog"]

    def no_box_up(self):
        return not self.boxes()

    # --- the process ------------------------------------------------------------------------

    def state(self):
        code = self.process.poll()
        return "running" if code is None else "ended with status %d" % code

    def assert_alive(self):
        time.sleep(0.3)
        if self.process.poll() is not None:
            raise AssertionError("the program %s:\n%s" % (self.state(), self.session.log(self.process)[-4000:]))

    def close(self, timeout_s=START_TIMEOUT_S):
        """Closes the window as its close button does; returns the exit status. The title
        names the file opened or saved last, so it is read as it is now."""
        x.close_window(a11y.name(self.frame))
        return self.process.wait(timeout_s)

    # --- typing -------------------------------------------------------------------------------

    def type_port(self, device):
        """Types a device path into the port box, as a person picks a port not listed."""
        left, top, _, height = a11y.extents(self.port_box())
        x.click_at(left + 20, top + height // 2)
        x.key("ctrl+a")
        x.type_text(device)
        x.key("Return")
        wait_until(lambda: a11y.name(self.port_box()) == device, STEP_TIMEOUT_S,
                   "the port box to show %r (it shows %r)" % (device, a11y.name(self.port_box())))

    def open_port_list(self):
        """Opens the port box's list with a click on its arrow; returns the list and its item texts."""
        box = self.port_box()
        left, top, width, height = a11y.extents(box)
        x.click_at(left + width - 8, top + height // 2)
        popup = wait_until(lambda: next((c for c in a11y.children(box)
                                         if a11y.role(c) == "list" and a11y.showing(c)), None),
                           STEP_TIMEOUT_S, "the port list to open")
        return popup, [a11y.name(item) for item in a11y.children(popup)]
