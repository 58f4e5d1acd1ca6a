"""Reads the program as a screen reader does: through the accessibility bus."""
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

from gui_session import Fatal, wait_until  # noqa: E402

def application(pid, timeout_s=60):
    """The accessible application of process pid, once it shows a window."""
    # Nothing cached: the program changes its tree while we look, and without a running
    # main loop the cache would never hear of it.
    Atspi.get_desktop(0).set_cache_mask(Atspi.Cache.NONE)

    def find():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                return app
        return None
    return wait_until(find, timeout_s, "the program on the accessibility bus")


def role(acc):
    return acc.get_role_name()


def name(acc):
    return acc.get_name() or ""


def description(acc):
    return acc.get_description() or ""


def children(acc):
    out = []
    for i in range(acc.get_child_count()):
        c = acc.get_child_at_index(i)
        if c is not None:
            out.append(c)
    return out


def descendants(acc, max_depth=12, skip_roles=("table cell", "list item")):
    """Every accessible below acc, depth first; cells and items only on request."""
    stack = [(acc, 0)]
    while stack:
        node, depth = stack.pop()
        if node is not acc:
            yield node
        if depth >= max_depth or (node is not acc and role(node) in skip_roles):
            continue
        if role(node) in ("table", "list") and node is not acc:
            continue
        kids = children(node)
        stack.extend((k, depth + 1) for k in reversed(kids))


def showing(acc):
    states = acc.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def enabled(acc):
    return acc.get_state_set().contains(Atspi.StateType.ENABLED)


def find_all(root, role_name=None, name_is=None, description_is=None, visible_only=True):
    found = []
    for a in descendants(root):
        if role_name is not None and role(a) != role_name:
            continue
        if name_is is not None and name(a) != name_is:
            continue
        if description_is is not None and description(a) != description_is:
            continue
        if visible_only and not showing(a):
            continue
        found.append(a)
    return found


def find_one(root, role_name=None, name_is=None, description_is=None, timeout_s=20):
    """The single visible accessible that matches; waits for it to appear."""
    what = "%s %r%s" % (role_name or "control", name_is,
                        " described %r" % description_is if description_is else "")

    def pick():
        hits = find_all(root, role_name, name_is, description_is)
        if len(hits) > 1:
            raise Fatal("more than one %s" % what)
        return hits[0] if hits else None
    return wait_until(pick, timeout_s, what)


def top_windows(app):
    return [w for w in children(app) if showing(w)]


def text(acc):
    """What the control shows as text: its Text interface, else its name."""
    if "Text" in acc.get_interfaces():
        return Atspi.Text.get_text(acc, 0, Atspi.Text.get_character_count(acc))
    return name(acc)


def centre(acc):
    r = acc.get_extents(Atspi.CoordType.SCREEN)
    if r.width <= 0 or r.height <= 0:
        raise AssertionError("%s %r has no area on the screen" % (role(acc), name(acc)))
    return r.x + r.width // 2, r.y + r.height // 2


def extents(acc):
    r = acc.get_extents(Atspi.CoordType.SCREEN)
    return r.x, r.y, r.width, r.height


def cell(table, row, column):
    """Cell (row from 0 below the header, column) of a table."""
    return Atspi.Table.get_accessible_at(table, row, column)


def row_count(table):
    return Atspi.Table.get_n_rows(table)


def column_count(table):
    return Atspi.Table.get_n_columns(table)


def row_selected(table, row):
    return Atspi.Table.is_row_selected(table, row)


def describe_tree(acc, depth=0, max_depth=12):
    """The tree as text, for failure messages."""
    lines = ["%s%s %r %r" % ("  " * depth, role(acc), name(acc), description(acc))]
    if depth < max_depth and role(acc) not in ("table", "list"):
        for c in children(acc):
            lines.append(describe_tree(c, depth + 1, max_depth))
    return "\n".join(lines)
