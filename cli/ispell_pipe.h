// The Ispell protocols that editors speak: the pipe (`pipe`, `-a`), the list
// mode (`-l`) and the version line (`-v`, `-vv`).

#ifndef QUENVARSPELL_CLI_ISPELL_PIPE_H_
#define QUENVARSPELL_CLI_ISPELL_PIPE_H_

#include <cstddef>
#include <filesystem>
#include <string>

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/types.h>

namespace quenvar::cli {

// How the pipe reads its lines, from the flags Ispell clients pass.
struct PipeOptions {
  DocumentFormat format = DocumentFormat::kText;  // -t TeX, -H HTML, --mode
  std::size_t accepted_length = 0;  // -W: shorter words are always accepted
  Spelling spelling = Spelling::kEnglish;  // -d: what is checked and offered
};

// The value of -W, a count of characters, read as Aspell reads it. Throws
// Error with Aspell's message for anything but digits that fit.
std::size_t ParseAcceptedLength(const std::string& value);

// "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell X)",
// the form Ispell clients parse to accept a speller.
std::string IspellVersionLine();

// Speaks Ispell's pipe protocol on standard input and output until the input
// ends: prints the version line, then answers each input line with one line
// per word the document splitter yields in options.format ("*" for a word
// options.spelling accepts, "& WORD COUNT OFFSET: s1, s2, ..." or "# WORD
// OFFSET" for another, WORD as the line holds it; OFFSET counts characters
// from the start of the input line) and an empty line; what a line leaves
// open (a comment, a code block) goes on into the next. Words of at most
// options.accepted_length characters count as correct. Lines starting with
// "*" add a word to the personal dictionary as typed, "&" in lower case,
// "@" accepts one for this session, "#" saves the words added, "!" and "%"
// turn terse mode (no "*" lines) on and off, "+" reads on in TeX and "-" in
// plain text, "^" checks the rest of the line, and "~" and "$$" (Ispell's
// other mode and option commands) are accepted without effect. A line that
// is not UTF-8 is read as ISO-8859-1, what Ispell clients send by default,
// and answered in it. A line longer than InputPieces::kPieceBytes is read
// and answered in pieces, so memory stays bounded. Returns 0, or 2 when a
// "#" failed and no later one saved its words; throws when the dictionaries
// cannot be loaded.
int RunPipe(const std::filesystem::path& personal, const PipeOptions& options);

// Ispell's list mode: prints each word of standard input, read in format,
// that spelling does not accept on a line of its own, in text order; input that is not UTF-8 is
// read and answered as ISO-8859-1, as in the pipe. Reads in pieces, so
// memory stays bounded. Returns 0.
int RunIspellList(const std::filesystem::path& personal, DocumentFormat format,
                  Spelling spelling);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_ISPELL_PIPE_H_
