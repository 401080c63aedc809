// quenvarspell: the component's spell checking at the terminal and for
// editors. The commands live in the files named after them; this file holds
// the command line.

#include <unistd.h>

#include <cerrno>
#include <cstddef>
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

// What the command line gives, filled in by parsing it.
struct Options {
  std::string personal;
  std::string mode;
  std::string lang;
  IspellFlags ispell;
  std::vector<std::string> inputs;  // check, list
  std::vector<std::string> words;   // suggest, add
  std::string fix_file;
};

struct Commands {
  CLI::App* check;
  CLI::App* list;
  CLI::App* suggest;
  CLI::App* add;
  CLI::App* pipe;
  CLI::App* fix;
  CLI::App* lsp;
};

Commands DeclareCommands(CLI::App& app, Options& options) {
  Commands commands{};
  commands.check = app.add_subcommand(
      "check",
      "Report each unknown word as FILE:LINE:COLUMN: WORD: suggestions "
      "(standard input when no FILE or -)");
  commands.check->add_option("FILE", options.inputs, "UTF-8 text files")->type_name("");
  commands.list = app.add_subcommand(
      "list", "Print each unknown word on a line of its own, nothing else");
  commands.list->add_option("FILE", options.inputs, "UTF-8 text files")->type_name("");
  commands.suggest = app.add_subcommand("suggest", "Print WORD: suggestions for each word");
  commands.suggest->add_option("WORD", options.words, "Words to find suggestions for")
      ->type_name("")
      ->required();
  commands.add = app.add_subcommand("add", "Add words to the personal dictionary and save it");
  commands.add->add_option("WORD", options.words, "Words to add")->type_name("")->required();
  commands.pipe = app.add_subcommand(
      "pipe", "Speak the Ispell pipe protocol on standard input and output");
  commands.pipe->add_option("-p", options.personal, "Personal dictionary file, as --personal")
      ->type_name("FILE");
  commands.fix = app.add_subcommand("fix", "Correct FILE interactively in the suggestion dialog");
  commands.fix->add_option("FILE", options.fix_file, "UTF-8 text file to correct")
      ->type_name("")
      ->required();
  commands.lsp = app.add_subcommand(
      "lsp", "Serve the Language Server Protocol on standard input and output");
  // Clients built on vscode-languageclient add it to the command line.
  commands.lsp->add_flag("--stdio")->description(
      "Accepted: standard input and output are the channel");
  return commands;
}

// The options every command takes, --mode where text is read, and the
// footers of the commands' help.
void DeclareSharedOptions(CLI::App& app, const Commands& commands, Options& options) {
  const Commands& c = commands;
  for (CLI::App* command : {c.check, c.list, c.suggest, c.add, c.pipe, c.fix, c.lsp}) {
    command->add_option("--personal", options.personal, kPersonalHelp)->type_name("FILE");
    command->add_option("-d,--lang", options.lang, kLangHelp)->type_name("TAG");
    command->footer("");
  }
  for (CLI::App* command : {&app, c.check, c.list, c.pipe}) {
    command->add_option("--mode", options.mode, kModeHelp)->type_name("MODE");
  }
  c.check->footer(
      "Each line: FILE:LINE:COLUMN: WORD: s1, s2, ... (or WORD: no "
      "suggestions); lines and columns count characters from 1.\n"
      "Exit status: 0 nothing found, 1 unknown words found, 2 error.");
  c.list->footer("Exit status: 0, or 2 on an error.");
  c.pipe->footer(
      "Commands: *WORD add to the personal dictionary, @WORD accept for this "
      "session, # save, ! terse, % verbose, ^LINE check LINE.");
  c.fix->footer(
      "Cancel in the dialog stops and keeps the changes made before it; the "
      "file is rewritten in one step. Needs a display (X11 or Wayland).");
}

// Runs the command the parsed command line chose (the Ispell flags -v, -a
// and -l stand for commands too); 2 with the help text when it chose none.
int RunChosen(const CLI::App& app, const Commands& commands, const Options& options) {
  const IspellFlags& ispell = options.ispell;
  const auto personal = [&] { return quenvar::cli::PersonalDictionaryPath(options.personal); };
  const std::optional<quenvar::DocumentFormat> mode = ModeOf(options.mode);
  const quenvar::DocumentFormat pipe_format = mode.value_or(
      ispell.html ? quenvar::DocumentFormat::kHtml
                  : ispell.tex ? quenvar::DocumentFormat::kTex : quenvar::DocumentFormat::kText);
  if (ispell.version > 0) {
    std::cout << quenvar::cli::IspellVersionLine() << '\n';
    return 0;
  }
  const quenvar::Spelling spelling = quenvar::cli::ChooseSpelling(options.lang);
  if (ispell.pipe || commands.pipe->parsed()) {
    const std::size_t accepted_length =
        ispell.accepted_length.empty() ? 0 : quenvar::cli::ParseAcceptedLength(ispell.accepted_length);
    return quenvar::cli::RunPipe(personal(), {pipe_format, accepted_length, spelling});
  }
  const std::vector<std::string>& inputs = options.inputs;
  const std::vector<std::string>& words = options.words;
  if (ispell.list) return quenvar::cli::RunIspellList(personal(), pipe_format, spelling);
  if (commands.check->parsed()) return quenvar::cli::RunCheck(inputs, personal(), mode, spelling);
  if (commands.list->parsed()) return quenvar::cli::RunList(inputs, personal(), mode, spelling);
  if (commands.suggest->parsed()) return quenvar::cli::RunSuggest(words, personal(), spelling);
  if (commands.add->parsed()) return quenvar::cli::RunAdd(words, personal(), spelling);
  if (commands.fix->parsed()) return quenvar::cli::RunFix(options.fix_file, personal(), spelling);
  if (commands.lsp->parsed()) {
    return quenvar::lsp::RunLanguageServer(STDIN_FILENO, STDOUT_FILENO, options.personal,
                                           spelling);
  }
  std::cerr << app.help();
  return 2;
}

int Run(int argc, char** argv) {
  CLI::App app{"Spell checking with QuenvarSpell's English word list.", "quenvarspell"};
  app.set_version_flag("--version", std::string("quenvarspell ") + QUENVAR_VERSION);
  app.require_subcommand(0, 1);
  app.footer(
      "Run `quenvarspell COMMAND --help` for a command's options.\n"
      "Exit status: 0 nothing found, 1 `check` found unknown words, 2 error.");
  Options options;
  app.add_option("--personal", options.personal, kPersonalHelp)->type_name("FILE");
  app.add_option("-d,--lang", options.lang, kLangHelp)->type_name("TAG");
  AddIspellFlags(app, options.ispell, options.personal);
  const Commands commands = DeclareCommands(app, options);
  DeclareSharedOptions(app, commands, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }
  return RunChosen(app, commands, options);
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
