// The Ispell protocols that editors speak: the pipe (`pipe`, `-a`), the list
// mode (`-l`) and the version line (`-v`, `-vv`).

#ifndef QUENVARSPELL_CLI_ISPELL_PIPE_H_
#define QUENVARSPELL_CLI_ISPELL_PIPE_H_

#include <cstddef>
#include <filesystem>
#include <string>

namespace quenvar::cli {

// How the pipe reads its lines, from the flags Ispell clients pass.
struct PipeOptions {
  bool tex = false;                 // -t: TeX mode from the start
  std::u16string word_characters;   // -w: characters that are part of words
  std::size_t accepted_length = 0;  // -W: shorter words are always accepted
};

// "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell X)",
// the form Ispell clients parse to accept a speller.
std::string IspellVersionLine();

// Speaks Ispell's pipe protocol on standard input and output until the input
// ends: prints the version line, then answers each input line with one line
// per word ("*" for a correct word, "& WORD COUNT OFFSET: s1, s2, ..." or
// "# WORD OFFSET" for an unknown one; OFFSET counts characters from the
// start of the input line) and an empty line. A piece without a letter
// (a number, a dash, an emoji) is no word and gets no line; words of at
// most options.accepted_length characters count as correct. Lines starting
// with "*" add a word to the personal dictionary as typed, "&" in lower
// case, "@" accepts one for this session, "#" saves the words added, "!"
// and "%" turn terse mode (no "*" lines) on and off, "+" and "-" TeX mode
// (MaskTex: control sequences, reference arguments and math are not
// checked) on and off, "^" checks the rest of the line, and "~" and "$$"
// (Ispell's other mode and option commands) are accepted without effect. A
// line that is not UTF-8 is read as ISO-8859-1, what Ispell clients send by
// default, and answered in it. Returns 0, or 2 when a "#" failed and no
// later one saved its words; throws when the dictionaries cannot be loaded.
int RunPipe(const std::filesystem::path& personal, const PipeOptions& options);

// Ispell's list mode: prints each unknown word of standard input on a line
// of its own, in text order; lines that are not UTF-8 are read and answered
// as ISO-8859-1, as in the pipe. Returns 0.
int RunIspellList(const std::filesystem::path& personal);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_ISPELL_PIPE_H_
