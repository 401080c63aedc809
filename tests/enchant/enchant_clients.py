"""Real Enchant clients, none of them ours, against the QuenvarSpell
provider, which the calling script has installed and named first: Enchant's
own programs, python3-enchant and a gspell GtkTextView (under xvfb-run), all
of them through Enchant VERSION. Each check prints what it found; any failure
exits non-zero.

Usage: enchant_clients.py VERSION"""

import os
import shutil
import subprocess
import sys

import enchant
import enchant.checker

TEXT = "Ths house has a tset, doesn\u2019t it? 1984"
# Each tag follows its own spelling: the words each should mark.
SPELLINGS = "colour color organise organize"
MARKED = {"en": [], "en_US": ["colour", "organise"], "en_GB": ["color", "organize"],
          "en_GB-ize": ["color", "organise"], "en_CA": ["color", "organise"],
          "en_AU": ["color", "organize"]}


def run(args, text=""):
    return subprocess.run(args, input=text, capture_output=True, text=True,
                          check=True).stdout


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        sys.exit(1)


version = sys.argv[1]
check(run(["enchant-2", "-v"]).strip().endswith(f"Enchant {version})")
      and enchant.get_enchant_version() == version, f"the clients run Enchant {version}")
listed = run(["enchant-lsmod-2", "-list-dicts"]).splitlines()
# Enchant 2.3 lists no tag with a '-' (en_GB-ize), but asks for it.
check(all(f"{tag} (quenvarspell)" in listed for tag in MARKED if "-" not in tag),
      "enchant-lsmod-2 lists the tags as quenvarspell's")
check(all(run(["enchant-2", "-l", "-d", tag], SPELLINGS).split() == marked
          for tag, marked in MARKED.items()),
      "enchant-2 -l follows each tag's spelling")
check(run(["enchant-2", "-l", "-d", "en_US"], TEXT).split() == ["Ths", "tset"],
      "enchant-2 -l lists the misspelled words")
answers = run(["enchant-2", "-a", "-d", "en_US"],
              "recieve house\nquenvarword\n@quenvarword\nquenvarword\n").splitlines()
check(answers[1].startswith("& recieve 10 0: receive, ") and answers[2] == "*",
      "enchant-2 -a answers with ranked suggestions")
# Before it is added the word is a miss, with or without suggestions.
check(answers[4].split()[:2] in (["#", "quenvarword"], ["&", "quenvarword"]) and answers[6] == "*",
      "enchant-2 -a accepts a word added to the session")

broker = enchant.Broker()
dictionary = broker.request_dict("en_US")
check(dictionary.provider.name == "quenvarspell", "python3-enchant gets our dictionary")
check(dictionary.check("house") and dictionary.check("doesn\u2019t")
      and not dictionary.check("recieve"), "Dict.check")
check(dictionary.suggest("Recieve")[0] == "Receive", "Dict.suggest keeps the case")
british = broker.request_dict("en_GB")
check(british.check("colour") and not british.check("color")
      and not dictionary.check("colour") and dictionary.check("color")
      and british.suggest("color")[0] == "colour"
      and dictionary.suggest("colour")[0] == "color",
      "en_GB and en_US are dictionaries of their own")
dictionary.add_to_session("quenvarword")
check(dictionary.check("quenvarword"), "Dict.add_to_session")
dictionary.remove_from_session("quenvarword")
check(not dictionary.check("quenvarword")
      and "quenvarword" not in dictionary.suggest("quenvarwrod"), "Dict.remove_from_session")
dictionary.add("quenvarpersonal")
check(dictionary.check("quenvarpersonal") and dictionary.is_added("quenvarpersonal"),
      "Dict.add puts a word in the personal list")
# The checker's own tokenizer splits words at a typographic apostrophe.
checker = enchant.checker.SpellChecker(dictionary)
checker.set_text(TEXT.replace("\u2019", "'"))
check([error.word for error in checker] == ["Ths", "tset"], "enchant.checker.SpellChecker")

if shutil.which("xvfb-run") is None:
    print("skip gspell: no xvfb-run")
    sys.exit(0)
gspell = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gspell_marks.py")
marked = run(["xvfb-run", "-a", sys.executable, gspell, "en_US", TEXT]).split()
check(marked == ["Ths", "tset"], "a gspell GtkTextView underlines the misspelled words")
check(all(run(["xvfb-run", "-a", sys.executable, gspell, tag, SPELLINGS]).split()
          == MARKED[tag] for tag in ("en_US", "en_GB")),
      "gspell follows the spelling of its language")
