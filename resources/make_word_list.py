#!/usr/bin/env python3
"""Makes word_list.txt, the built-in English word list, and word_details.txt,
the size class, written form and spellings of each of its entries, from
SCOWL.

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

followed, for an entry that not every spelling holds, by a tab and the
spellings that do, by the tags' country parts, in the order US GB GB-ize CA
AU (colour: "10\tGB CA AU").

SIZE is the smallest SCOWL size class (10 commonest ... 60) of a list that
holds the entry in any of its forms. An entry gets a written form with
capitals only when no list of size 60 or below holds it in lower case; among
several such forms the one of the smallest size class, then the first in
byte order, is kept.

The spellings are those of SCOWL's own dictionaries of size 60 (its en_US,
en_GB-ise, en_GB-ize, en_CA and en_AU; also Aspell's): a spelling holds an
entry when a list of size 60 or below of the english category or of the
spelling's own category holds it in lower case, or, for an entry no list
holds in lower case, in some form (grey is British although the name Grey
is in every spelling). Those dictionaries also take in the special hacker
list, which every spelling holds (grovelled and groveled alike), and no
variant list at that size. The australian and hacker lists only mark
entries; they add none to the list.

Usage: make_word_list.py [SCOWL_FOLDER [OUTPUT [DETAILS_OUTPUT]]]
Defaults: /usr/share/dict/scowl, and word_list.txt and word_details.txt
beside this script.
"""

import pathlib
import re
import sys

SPELLINGS = ("english", "american", "british", "canadian", "british_z")
# The spellings of the details, each with its marker; english holds an entry
# for all of them.
MARKED_SPELLINGS = (("american", b"US"), ("british", b"GB"),
                    ("british_z", b"GB-ize"), ("canadian", b"CA"),
                    ("australian", b"AU"))
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
    """(spelling, size, path) of every list to read, in name order."""
    spellings = SPELLINGS + ("australian", "special")
    pattern = re.compile(r"^(%s)-(%s)\.(\d+)$" %
                         ("|".join(spellings), "|".join(KINDS + ("hacker",))))
    files = [(m.group(1), int(m.group(3)), p) for p in folder.iterdir()
             if (m := pattern.match(p.name)) and int(m.group(3)) <= MAX_SIZE]
    if not files:
        sys.exit(f"no SCOWL lists found in {folder}")
    return sorted(files, key=lambda f: f[2])


def list_key(entry):
    """The list's form of a SCOWL entry (lower-cased Windows-1252), or None
    for a possessive or an entry Windows-1252 cannot hold."""
    lower = entry.lower()
    if lower.endswith("'s"):
        return None
    try:
        return lower.encode("cp1252")
    except UnicodeEncodeError:
        return None


def details_line(word, forms, spellings):
    """The word_details.txt line of one entry (bytes, Windows-1252), from the
    smallest size class of each form SCOWL writes it in and the categories
    of the lists that hold it."""
    size = min(forms.values())
    if word in forms:
        line = b"%d" % size
    else:
        form = min(forms, key=lambda f: (forms[f], f))
        if form == word[:1].upper() + word[1:]:
            line = b"%d^" % size
        elif form == word.upper():
            line = b"%d=" % size
        else:
            line = b"%d %s" % (size, form)
    markers = [marker for name, marker in MARKED_SPELLINGS
               if name in spellings or "english" in spellings]
    if len(markers) == len(MARKED_SPELLINGS):
        return line
    return line + b"\t" + b" ".join(markers)


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
    # entry -> the categories of the lists that hold it
    spellings = {}
    files = source_files(folder)
    for spelling, size, path in files:
        if spelling not in SPELLINGS:
            continue
        for entry in read_entries(path):
            if (key := list_key(entry)) is None:
                continue
            forms = words.setdefault(key, {})
            form = entry.encode("cp1252")
            forms[form] = min(size, forms.get(form, size))
    for spelling, size, path in files:
        for entry in read_entries(path):
            key = list_key(entry)
            if key in words and (entry.encode("cp1252") == key or
                                 key not in words[key]):
                spellings.setdefault(key, set()).add(
                    "english" if spelling == "special" else spelling)
    ordered = sorted(words)
    output.write_bytes(b"\r\n".join(ordered))
    details_output.write_bytes(b"\r\n".join(
        details_line(w, words[w], spellings[w]) for w in ordered))
    print(f"{output}: {len(words)} lines, "
          f"{sum(len(w) >= 2 for w in words)} of two or more characters")
    print(f"{details_output}: "
          f"{sum(w not in words[w] for w in words)} with capitals")
    for name, marker in MARKED_SPELLINGS:
        missing = sum(not spellings[w] & {"english", name} for w in words)
        print(f"  {missing} not held by {marker.decode()}")


if __name__ == "__main__":
    main()
