"""Shows TEXT in a GtkTextView with gspell's inline checking for LANGUAGE
and prints the words gspell marks as misspelled, one a line.

Usage: gspell_marks.py LANGUAGE TEXT (under a display, e.g. xvfb-run)"""

import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gspell", "1")
from gi.repository import GLib, Gspell, Gtk  # noqa: E402

view = Gtk.TextView()
buffer = view.get_buffer()
buffer.set_text(sys.argv[2])
checker = Gspell.Checker.new(Gspell.Language.lookup(sys.argv[1]))
Gspell.TextBuffer.get_from_gtk_text_buffer(buffer).set_spell_checker(checker)
Gspell.TextView.get_from_gtk_text_view(view).set_inline_spell_checking(True)
window = Gtk.Window()
window.add(view)
window.show_all()
# gspell checks in idle time once the view is shown.
loop = GLib.MainLoop()
GLib.timeout_add(500, loop.quit)
loop.run()

tag = buffer.get_tag_table().lookup("gspell-misspelled")
at = buffer.get_start_iter()
while True:
    if at.starts_tag(tag):
        end = at.copy()
        end.forward_to_tag_toggle(tag)
        print(buffer.get_text(at, end, False))
    if not at.forward_to_tag_toggle(tag):
        break
