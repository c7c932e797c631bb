#!/usr/bin/python3
"""A drag source for the tests of the real program.

Shows a small window titled "Drag Source" at the given place; dragging from
it offers one URI as text/uri-list and as text/plain, as a file manager or
another browser would. Appends "asked" to the report file each time a drop
target asks for the data, and "ended" once the drag is over, whatever its
outcome.

    drag_source.py URI REPORT_FILE X Y
"""
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gtk  # noqa: E402

URI_LIST, TEXT = 0, 1


def main():
    uri, report, x, y = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])

    def note(text):
        with open(report, "a", encoding="utf-8") as out:
            out.write(text + "\n")

    window = Gtk.Window(title="Drag Source")
    window.set_default_size(140, 80)
    window.move(x, y)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="drag me"))
    window.add(area)

    targets = Gtk.TargetList.new([])
    targets.add_uri_targets(URI_LIST)
    targets.add_text_targets(TEXT)
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [],
                         Gdk.DragAction.COPY | Gdk.DragAction.LINK | Gdk.DragAction.MOVE)
    area.drag_source_set_target_list(targets)

    def give_data(_widget, _context, data, info, _time):
        note("asked")
        if info == URI_LIST:
            data.set_uris([uri])
        else:
            data.set_text(uri, -1)

    area.connect("drag-data-get", give_data)
    area.connect("drag-end", lambda *_: note("ended"))
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
