#!/usr/bin/env python3
"""Makes word_list.txt, the built-in English word list, from SCOWL.

Reads the SCOWL lists of Debian's `scowl` package (sizes 60 and below; the
english, american, british, canadian and british_z spellings; kinds words,
upper, proper-names, abbreviations and contractions) and writes one entry a
line: every entry lower-cased, possessives ending in 's dropped (the word
cleaning strips them before lookup, so they add nothing), entries Windows-1252
cannot hold dropped, duplicates removed, sorted by the bytes of their
Windows-1252 form, lines joined with CR LF and no line end after the last.

Usage: make_word_list.py [SCOWL_FOLDER [OUTPUT]]
Defaults: /usr/share/dict/scowl and word_list.txt beside this script.
"""

import pathlib
import re
import sys

SPELLINGS = ("english", "american", "british", "canadian", "british_z")
KINDS = ("words", "upper", "proper-names", "abbreviations", "contractions")
MAX_SIZE = 60


def read_entries(path):
    """The lines of one SCOWL file. Current SCOWL releases are UTF-8; older
    ones were ISO-8859-1, which is read when the bytes are not UTF-8."""
    data = path.read_bytes()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("iso-8859-1")
    return [line for line in text.splitlines() if line]


def source_files(folder):
    pattern = re.compile(r"^(%s)-(%s)\.(\d+)$" %
                         ("|".join(SPELLINGS), "|".join(KINDS)))
    files = [p for p in folder.iterdir()
             if (m := pattern.match(p.name)) and int(m.group(3)) <= MAX_SIZE]
    if not files:
        sys.exit(f"no SCOWL lists found in {folder}")
    return sorted(files)


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1
                          else "/usr/share/dict/scowl")
    output = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else
                          pathlib.Path(__file__).with_name("word_list.txt"))
    words = set()
    for path in source_files(folder):
        for entry in read_entries(path):
            entry = entry.lower()
            if entry.endswith("'s"):
                continue
            try:
                words.add(entry.encode("cp1252"))
            except UnicodeEncodeError:
                continue
    output.write_bytes(b"\r\n".join(sorted(words)))
    print(f"{output}: {len(words)} lines, "
          f"{sum(len(w) >= 2 for w in words)} of two or more characters")


if __name__ == "__main__":
    main()
