#!/usr/bin/env python3
"""Makes word_list.txt, the built-in English word list, and word_details.txt,
the size class and written form of each of its entries, from SCOWL.

Reads the SCOWL lists of Debian's `scowl` package (sizes 60 and below; the
english, american, british, canadian and british_z spellings; kinds words,
upper, proper-names, abbreviations and contractions) and writes one entry a
line: every entry lower-cased, possessives ending in 's dropped (the word
cleaning strips them before lookup, so they add nothing), entries Windows-1252
cannot hold dropped, duplicates removed, sorted by the bytes of their
Windows-1252 form, lines joined with CR LF and no line end after the last.

word_details.txt has one line for each line of word_list.txt, in the same
order, joined the same way, in Windows-1252:

  SIZE           the entry is written in lower case
  SIZE^          it is written with a capital first letter (britain: Britain)
  SIZE=          it is written all in capitals (nasa: NASA)
  SIZE FORM      it is written as FORM (mcdonald: McDonald)

SIZE is the smallest SCOWL size class (10 commonest ... 60) of a list that
holds the entry in any of its forms. An entry gets a written form with
capitals only when no list of size 60 or below holds it in lower case; among
several such forms the one of the smallest size class, then the first in
byte order, is kept.

Usage: make_word_list.py [SCOWL_FOLDER [OUTPUT [DETAILS_OUTPUT]]]
Defaults: /usr/share/dict/scowl, and word_list.txt and word_details.txt
beside this script.
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
    """(size, path) of every list to read, in name order."""
    pattern = re.compile(r"^(%s)-(%s)\.(\d+)$" %
                         ("|".join(SPELLINGS), "|".join(KINDS)))
    files = [(int(m.group(3)), p) for p in folder.iterdir()
             if (m := pattern.match(p.name)) and int(m.group(3)) <= MAX_SIZE]
    if not files:
        sys.exit(f"no SCOWL lists found in {folder}")
    return sorted(files, key=lambda f: f[1])


def details_line(word, forms):
    """The word_details.txt line of one entry (bytes, Windows-1252), from the
    smallest size class of each form SCOWL writes it in."""
    size = min(forms.values())
    if word in forms:
        return b"%d" % size
    form = min(forms, key=lambda f: (forms[f], f))
    if form == word[:1].upper() + word[1:]:
        return b"%d^" % size
    if form == word.upper():
        return b"%d=" % size
    return b"%d %s" % (size, form)


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1
                          else "/usr/share/dict/scowl")
    here = pathlib.Path(__file__)
    output = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else
                          here.with_name("word_list.txt"))
    details_output = pathlib.Path(sys.argv[3] if len(sys.argv) > 3 else
                                  here.with_name("word_details.txt"))
    # entry (lower-cased Windows-1252) -> {form as written: smallest size}
    words = {}
    for size, path in source_files(folder):
        for entry in read_entries(path):
            lower = entry.lower()
            if lower.endswith("'s"):
                continue
            try:
                key = lower.encode("cp1252")
                form = entry.encode("cp1252")
            except UnicodeEncodeError:
                continue
            forms = words.setdefault(key, {})
            forms[form] = min(size, forms.get(form, size))
    ordered = sorted(words)
    output.write_bytes(b"\r\n".join(ordered))
    details_output.write_bytes(
        b"\r\n".join(details_line(w, words[w]) for w in ordered))
    print(f"{output}: {len(words)} lines, "
          f"{sum(len(w) >= 2 for w in words)} of two or more characters")
    print(f"{details_output}: "
          f"{sum(w not in words[w] for w in words)} with capitals")


if __name__ == "__main__":
    main()
