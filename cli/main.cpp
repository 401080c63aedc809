// quenvarspell: the component's spell checking at the terminal and for
// editors. The commands live in the files named after them; this file holds
// the command line.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <system_error>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/fix_command.h"
#include "cli/ispell_pipe.h"
#include "cli/personal_dictionary.h"
#include "cli/report_commands.h"
#include "cli/spelling_choice.h"
#include "cli/text_encoding.h"
#include "lsp/server.h"

namespace {

constexpr const char* kPersonalHelp =
    "Personal dictionary file (default: "
    "$XDG_DATA_HOME/quenvarspell/personal.dic, ~/.local/share/... when "
    "XDG_DATA_HOME is unset)";

const std::string kLangHelp =
    std::string("Spelling to check and suggest: ") + quenvar::cli::kSpellingTags +
    " (en: all of them; en_GB: -ise, en_GB-ize: Oxford -ize). Default: "
    "the first of DICTIONARY, LC_ALL, LC_MESSAGES and LANG that is set, as "
    "Hunspell and Aspell read them, or en when it names no English spelling";

// The flags Ispell clients may pass: -a, -l, -v/-vv, -p, -t, -H and -W have
// a meaning here (and -d, which every command takes), the others are
// accepted and ignored.
struct IspellFlags {
  bool pipe = false;
  bool list = false;
  int version = 0;
  bool tex = false;
  bool html = false;
  std::string accepted_length;
  int ignored_flags = 0;
  std::string ignored_value;
};

void AddIspellFlags(CLI::App& app, IspellFlags& flags, std::string& personal) {
  const std::string group = "Ispell compatibility";
  app.add_flag("-a", flags.pipe, "Speak the Ispell pipe protocol (as `pipe`)")
      ->group(group);
  app.add_flag("-l", flags.list,
               "Ispell list mode: the unknown words of standard input")
      ->group(group);
  app.add_flag("-v", flags.version, "Print the Ispell version line")->group(group);
  app.add_option("-p", personal, "Personal dictionary file, as --personal")
      ->type_name("FILE")
      ->group(group);
  app.add_flag("-t", flags.tex, "TeX mode: skip control sequences, references and math")
      ->group(group);
  app.add_flag("-H", flags.html, "HTML mode: skip tags, comments and code")->group(group);
  app.add_option("-W", flags.accepted_length, "Accept every word of at most N characters")
      ->type_name("N")
      ->allow_extra_args(false)
      ->group(group);
  for (const char* ignored : {"-B", "-C", "-m", "-S", "-P", "-n", "-x", "-o"}) {
    app.add_flag(ignored, flags.ignored_flags, "Accepted and ignored")->group(group);
  }
  for (const char* ignored : {"-T", "-i", "-w", "--encoding"}) {
    app.add_option(ignored, flags.ignored_value, "Accepted and ignored")
        ->type_name("VALUE")
        ->group(group);
  }
}

constexpr const char* kModeHelp =
    "Read the text as none or text, markdown, html, sgml or tex (default: "
    "from the file's extension; standard input and the pipe: text)";

// The format --mode names; none when it is not given. Throws for a name
// that is not a mode.
std::optional<quenvar::DocumentFormat> ModeOf(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (const auto format = quenvar::FormatOfModeName(name)) return format;
  throw quenvar::Error("unknown mode \"" + name +
                       "\" (modes: none, text, markdown, html, sgml, tex)");
}

int Run(int argc, char** argv) {
  CLI::App app{"Spell checking with QuenvarSpell's English word list.",
               "quenvarspell"};
  app.set_version_flag("--version", std::string("quenvarspell ") + QUENVAR_VERSION);
  app.require_subcommand(0, 1);
  app.footer(
      "Run `quenvarspell COMMAND --help` for a command's options.\n"
      "Exit status: 0 nothing found, 1 `check` found unknown words, 2 error.");

  std::string personal_option;
  std::string mode_option;
  std::string lang_option;
  IspellFlags ispell;
  app.add_option("--personal", personal_option, kPersonalHelp)->type_name("FILE");
  app.add_option("-d,--lang", lang_option, kLangHelp)->type_name("TAG");
  AddIspellFlags(app, ispell, personal_option);

  std::vector<std::string> inputs;
  CLI::App* check = app.add_subcommand(
      "check",
      "Report each unknown word as FILE:LINE:COLUMN: WORD: suggestions "
      "(standard input when no FILE or -)");
  check->add_option("FILE", inputs, "UTF-8 text files")->type_name("");
  CLI::App* list = app.add_subcommand(
      "list", "Print each unknown word on a line of its own, nothing else");
  list->add_option("FILE", inputs, "UTF-8 text files")->type_name("");

  std::vector<std::string> words;
  CLI::App* suggest = app.add_subcommand(
      "suggest", "Print WORD: suggestions for each word");
  suggest->add_option("WORD", words, "Words to find suggestions for")
      ->type_name("")
      ->required();
  CLI::App* add = app.add_subcommand(
      "add", "Add words to the personal dictionary and save it");
  add->add_option("WORD", words, "Words to add")->type_name("")->required();

  CLI::App* pipe = app.add_subcommand(
      "pipe", "Speak the Ispell pipe protocol on standard input and output");
  pipe->add_option("-p", personal_option, "Personal dictionary file, as --personal")
      ->type_name("FILE");

  std::string fix_file;
  CLI::App* fix = app.add_subcommand(
      "fix", "Correct FILE interactively in the suggestion dialog");
  fix->add_option("FILE", fix_file, "UTF-8 text file to correct")
      ->type_name("")
      ->required();

  CLI::App* lsp = app.add_subcommand(
      "lsp", "Serve the Language Server Protocol on standard input and output");
  // Clients built on vscode-languageclient add it to the command line.
  lsp->add_flag("--stdio")->description("Accepted: standard input and output are the channel");

  for (CLI::App* command : {check, list, suggest, add, pipe, fix, lsp}) {
    command->add_option("--personal", personal_option, kPersonalHelp)
        ->type_name("FILE");
    command->add_option("-d,--lang", lang_option, kLangHelp)->type_name("TAG");
    command->footer("");
  }
  for (CLI::App* command : {&app, check, list, pipe}) {
    command->add_option("--mode", mode_option, kModeHelp)->type_name("MODE");
  }
  check->footer(
      "Each line: FILE:LINE:COLUMN: WORD: s1, s2, ... (or WORD: no "
      "suggestions); lines and columns count characters from 1.\n"
      "Exit status: 0 nothing found, 1 unknown words found, 2 error.");
  list->footer("Exit status: 0, or 2 on an error.");
  pipe->footer(
      "Commands: *WORD add to the personal dictionary, @WORD accept for this "
      "session, # save, ! terse, % verbose, ^LINE check LINE.");
  fix->footer(
      "Cancel in the dialog stops and keeps the changes made before it; the "
      "file is rewritten in one step. Needs a display (X11 or Wayland).");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }

  const auto personal = [&] {
    return quenvar::cli::PersonalDictionaryPath(personal_option);
  };
  const std::optional<quenvar::DocumentFormat> mode = ModeOf(mode_option);
  const quenvar::DocumentFormat pipe_format = mode.value_or(
      ispell.html ? quenvar::DocumentFormat::kHtml
                  : ispell.tex ? quenvar::DocumentFormat::kTex : quenvar::DocumentFormat::kText);
  if (ispell.version > 0) {
    std::cout << quenvar::cli::IspellVersionLine() << '\n';
    return 0;
  }
  const quenvar::Spelling spelling = quenvar::cli::ChooseSpelling(lang_option);
  if (ispell.pipe || pipe->parsed()) {
    return quenvar::cli::RunPipe(
        personal(), {pipe_format,
                     ispell.accepted_length.empty()
                         ? 0
                         : quenvar::cli::ParseAcceptedLength(ispell.accepted_length),
                     spelling});
  }
  if (ispell.list) return quenvar::cli::RunIspellList(personal(), pipe_format, spelling);
  if (check->parsed()) return quenvar::cli::RunCheck(inputs, personal(), mode, spelling);
  if (list->parsed()) return quenvar::cli::RunList(inputs, personal(), mode, spelling);
  if (suggest->parsed()) return quenvar::cli::RunSuggest(words, personal(), spelling);
  if (add->parsed()) return quenvar::cli::RunAdd(words, personal(), spelling);
  if (fix->parsed()) return quenvar::cli::RunFix(fix_file, personal(), spelling);
  if (lsp->parsed()) {
    return quenvar::lsp::RunLanguageServer(STDIN_FILENO, STDOUT_FILENO, personal_option,
                                           spelling);
  }
  std::cerr << app.help();
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  // A failed write to standard output (a full disk, a device that refuses
  // it) throws at once, so the run stops and says so.
  std::cout.exceptions(std::ios::badbit);
  try {
    const int status = Run(argc, argv);
    std::cout.flush();
    // Some file systems report a failed write only when the file is closed.
    if (::close(STDOUT_FILENO) != 0 && errno != EBADF) {
      throw std::system_error(errno, std::generic_category(), "standard output");
    }
    return status;
  } catch (const std::ios_base::failure&) {
    const int error = errno;
    std::cout.exceptions(std::ios::goodbit);  // the flush at exit fails quietly
    std::cerr << "quenvarspell: cannot write standard output"
              << (error != 0 ? std::string(": ") + std::strerror(error) : "") << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cout.exceptions(std::ios::goodbit);  // the error below is what matters
    std::cout.flush();
    std::cerr << "quenvarspell: " << e.what() << '\n';
    return 2;
  }
}
