"""What a screen reader reads of the shipped window."""
import time
import unittest

from gi.repository import GLib

import atspi_view as a11y
import x_input as x
from gui_session import Session, isolated_main, wait_until
from theolink_window import ENGLISH, STEP_TIMEOUT_S, Window

# Roles a person operates or reads; containers and scroll bars carry no text of their own.
CONTROL_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box", "text",
                 "password text", "spin button", "slider", "table", "tree", "list", "label",
                 "page tab", "entry"}

CHINESE = {"title": "全站仪传输软件 v1.5", "port_group": "串口设置"}


def unnamed_controls(root):
    """The controls below root that a screen reader would read as nothing, each as its
    role, its description and its parent's role and name."""
    return ["%s %r in %s %r" % (a11y.role(c), a11y.description(c), a11y.role(c.get_parent()),
                                a11y.name(c.get_parent()))
            for c in a11y.descendants(root)
            if a11y.role(c) in CONTROL_ROLES and a11y.showing(c) and not a11y.name(c).strip()
            # A combo box's own drop-down list is read through the box.
            and not (a11y.role(c) == "list" and a11y.role(c.get_parent()) == "combo box")]


def labels_of(acc):
    names = []
    for relation in acc.get_relation_set():
        if relation.get_relation_type() == a11y.Atspi.RelationType.LABELLED_BY:
            names += [a11y.name(relation.get_target(i)) for i in range(relation.get_n_targets())]
    return names


class NameChanges:
    """Collects the name changes the program announces on the bus."""

    def __init__(self):
        self.seen = []
        self._listener = a11y.Atspi.EventListener.new(self._on_event)
        self._listener.register("object:property-change:accessible-name")

    def _on_event(self, event):
        try:
            self.seen.append(a11y.name(event.source))
        except Exception:
            pass

    def wait_for(self, text, timeout_s=STEP_TIMEOUT_S):
        context = GLib.MainContext.default()
        deadline = time.monotonic() + timeout_s
        while text not in self.seen and time.monotonic() < deadline:
            context.iteration(False)
            time.sleep(0.02)
        return text in self.seen

    def close(self):
        self._listener.deregister("object:property-change:accessible-name")


class ScreenReader(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def start(self, texts, language):
        self.session.write_ini("[Form]\nLanguage=%d\n[Setting]\nAngleUnit=0\nLengthUnit=0\n" % language)
        fake = self.session.fake_tty_class(["ttyUSB0"])
        return Window(self.session, self.session.start_program(fake), texts, test=self)

    def test_status_panels_read_their_text_and_every_control_has_a_name(self):
        w = self.start(ENGLISH, 1)
        self.assertEqual([a11y.name(w.panel(i)) for i in range(3)],
                         ["Welcome", "Total: 0", "Current Unit: DMS, Meter"])
        self.assertEqual([a11y.description(w.panel(i)) for i in range(3)], ["Message", "Count", "Hint"])
        # A selected port is read as the box's value, so its caption comes from its label.
        self.assertIn("ComPort", labels_of(w.port_box()))
        self.assertIn("BaudRate", labels_of(w.baud_box()))
        self.assertEqual(unnamed_controls(w.frame), [])

        changes = NameChanges()
        self.addCleanup(changes.close)
        # Panel 2 holds the units from the start: the hint comes first, so both are changes.
        self.hover_reads(w, changes, "Receive", 'Receive data:Click "Receive" button within 20 seconds after '
                                                'the instrument click the "Export" button')
        self.hover_reads(w, changes, "Setting", "Current Unit: DMS, Meter")

        w.click("Setting")
        dialog = wait_until(lambda: next((t for t in a11y.top_windows(w.app) if a11y.name(t) == "Setting"), None),
                            STEP_TIMEOUT_S, "the settings dialog")
        self.assertEqual(unnamed_controls(dialog), [])
        self.assertEqual([labels_of(c) for c in a11y.find_all(dialog, "combo box")],
                         [["Angle Unit"], ["Dist Unit"], ["K Option"], ["Coord Order"], ["Coord System"]])
        x.click(a11y.find_one(dialog, "push button", "Confirm"))
        wait_until(lambda: a11y.enabled(w.button("Coord")), STEP_TIMEOUT_S, "the window to take input again")

        w.click("Coord")
        w.button("Append")
        self.assertEqual(unnamed_controls(w.frame), [])
        self.assertEqual(w.close(), 0)
        self.assertEqual(self.session.sanitizer_report(w.process), "")

    def test_chinese_captions_are_read_in_chinese(self):
        w = self.start(CHINESE, 0)
        buttons = sorted(a11y.name(b) for b in a11y.find_all(w.frame, "push button"))
        self.assertEqual(buttons, sorted(["接收", "发送", "停止", "坐标", "编码", "打开", "最近文件", "保存", "设置", "帮助"]))
        self.assertIn("串口号", labels_of(w.port_box()))
        self.assertEqual([a11y.name(w.panel(i)) for i in range(3)], ["Welcome", "总计: 0", "当前单位: 度分秒, 米"])
        self.assertEqual([a11y.description(w.panel(i)) for i in range(3)], ["消息", "计数", "提示"])
        self.assertEqual(unnamed_controls(w.frame), [])
        changes = NameChanges()
        self.addCleanup(changes.close)
        self.hover_reads(w, changes, "接收", '接收数据: 单击界面中的 "接收" 按钮后,20秒内按下仪器上的 "导出" 按钮')
        self.hover_reads(w, changes, "设置", "当前单位: 度分秒, 米")
        self.assertEqual(w.close(), 0)
        self.assertEqual(self.session.sanitizer_report(w.process), "")

    def hover_reads(self, w, changes, button, text):
        """The pointer on button puts text in status panel 2, and the change is announced."""
        left, top, _, _ = a11y.extents(w.button(button))
        # Within the part of the button that shows a hint; two steps, so there is a motion
        # even when the pointer was left on this spot.
        x.move_to(left + 15, top + 8)
        x.move_to(left + 20, top + 10)
        w.wait_panel(2, text)
        self.assertTrue(changes.wait_for(text), "%r was not announced; announced: %r" % (text, changes.seen))



if __name__ == "__main__":
    isolated_main(time_limit_s=600)
