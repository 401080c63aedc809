// The Ispell protocols that editors speak: the pipe (`pipe`, `-a`), the list
// mode (`-l`) and the version line (`-v`, `-vv`).

#ifndef QUENVARSPELL_CLI_ISPELL_PIPE_H_
#define QUENVARSPELL_CLI_ISPELL_PIPE_H_

#include <filesystem>
#include <string>

namespace quenvar::cli {

// "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell X)",
// the form Ispell clients parse to accept a speller.
std::string IspellVersionLine();

// Speaks Ispell's pipe protocol on standard input and output until the input
// ends: prints the version line, then answers each input line with one line
// per word ("*" for a correct word, "& WORD COUNT OFFSET: s1, s2, ..." or
// "# WORD OFFSET" for an unknown one; OFFSET counts characters from the
// start of the input line) and an empty line. Lines starting with "*" or "&"
// add a word to the personal dictionary, "@" accepts one for this session,
// "#" saves the words added, "!" and "%" turn terse mode (no "*" lines) on
// and off, "^" checks the rest of the line, and "~", "+", "-" and "$$"
// (Ispell's mode and option commands) are accepted without effect. A line
// that is not UTF-8 is read as ISO-8859-1, what Ispell clients send by
// default, and answered in it. Returns 0; throws when the dictionaries
// cannot be loaded.
int RunPipe(const std::filesystem::path& personal);

// Ispell's list mode: prints each unknown word of standard input on a line
// of its own, in text order; lines that are not UTF-8 are read and answered
// as ISO-8859-1, as in the pipe. Returns 0.
int RunIspellList(const std::filesystem::path& personal);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_ISPELL_PIPE_H_
