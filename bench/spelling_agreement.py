#!/usr/bin/env python3
"""How often `quenvarspell list -d TAG` and `aspell -d TAG list` agree on
the words whose spelling differs between American, British and Canadian
English.

The words are the forms SCOWL keeps apart from its english lists (sizes 60
and below): those of the american, british, british_z and canadian lists,
as SCOWL writes them, less possessives and the forms that are not one word
of ASCII letters (so that both tools see each line as one word). A second
list holds the forms of SCOWL's variant lists of those spellings
(variant_1, british_variant_1, canadian_variant_1), which neither tool's
dictionaries of size 60 take in. For each tag, a word agrees when both
tools flag it or neither does.

Usage: spelling_agreement.py TOOL [SCOWL_FOLDER]
(TOOL: the built quenvarspell, e.g. build/cli/quenvarspell; SCOWL_FOLDER
defaults to /usr/share/dict/scowl, from Debian's scowl package.)
"""

import os
import pathlib
import re
import subprocess
import sys

TAGS = ("en_US", "en_GB", "en_GB-ize", "en_CA", "en_AU")
MAX_SIZE = 60
LISTS = {
    "spellings' own forms": ("american", "british", "british_z", "canadian"),
    "variant forms": ("variant_1", "british_variant_1", "canadian_variant_1"),
}


def forms(folder, categories):
    """The one-word ASCII forms of the lists of those categories."""
    pattern = re.compile(r"^(%s)-\w+\.(\d+)$" % "|".join(categories))
    words = set()
    for path in folder.iterdir():
        m = pattern.match(path.name)
        if not m or int(m.group(2)) > MAX_SIZE:
            continue
        for word in path.read_bytes().decode("utf-8").splitlines():
            if re.fullmatch(r"[A-Za-z]+", word):
                words.add(word)
    return sorted(words)


def flagged(command, words):
    """The words of the list that command prints as unknown."""
    env = dict(os.environ, LANG="C.UTF-8")
    for name in ("DICTIONARY", "LC_ALL", "LC_MESSAGES"):
        env.pop(name, None)
    out = subprocess.run(command, input="\n".join(words) + "\n", env=env,
                         capture_output=True, text=True, check=True).stdout
    return set(out.split())


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    tool = sys.argv[1]
    folder = pathlib.Path(sys.argv[2] if len(sys.argv) > 2
                          else "/usr/share/dict/scowl")
    for title, categories in LISTS.items():
        words = forms(folder, categories)
        print(f"{title}: {len(words)} words")
        print(f"  {'tag':10} {'merged (en)':>12} {'own tag':>9}  "
              "disagreements (tool flags / aspell flags)")
        merged = flagged([tool, "list", "-d", "en"], words)
        for tag in TAGS:
            aspell = flagged(["aspell", "-d", tag, "list"], words)
            ours = flagged([tool, "list", "-d", tag], words)

            def share(mine):
                return 100 * (1 - len(mine ^ aspell) / len(words))

            only_ours = sorted(ours - aspell)
            only_aspell = sorted(aspell - ours)
            print(f"  {tag:10} {share(merged):11.1f}% {share(ours):8.1f}%  "
                  f"{len(only_ours)} {only_ours[:6]} / "
                  f"{len(only_aspell)} {only_aspell[:6]}")


if __name__ == "__main__":
    main()
