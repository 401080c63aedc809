#include "lsp/line_check.h"

#include <array>
#include <utility>

namespace quenvar::lsp {

std::optional<TextKind> KindOfLanguage(std::string_view language_id) {
  using P = DocumentFormat;
  using S = SourceLanguage;
  static constexpr std::array<std::pair<std::string_view, TextKind>, 29> kKinds = {{
      {"plaintext", P::kText},      {"text", P::kText},
      {"markdown", P::kMarkdown},   {"latex", P::kTex},
      {"tex", P::kTex},             {"plaintex", P::kTex},
      {"html", P::kHtml},           {"xml", P::kHtml},
      {"xhtml", P::kHtml},          {"c", S::kC},
      {"cpp", S::kC},               {"c++", S::kC},
      {"java", S::kC},              {"rust", S::kC},
      {"go", S::kGo},               {"javascript", S::kJavaScript},
      {"js", S::kJavaScript},       {"javascriptreact", S::kJavaScript},
      {"typescript", S::kJavaScript}, {"typescriptreact", S::kJavaScript},
      {"python", S::kPython},       {"shellscript", S::kShell},
      {"shell", S::kShell},         {"sh", S::kShell},
      {"bash", S::kShell},          {"zsh", S::kShell},
      {"lua", S::kLua},             {"nxml", P::kHtml},
      {"mhtml", P::kHtml},
  }};
  for (const auto& [name, kind] : kKinds) {
    if (name == language_id) return kind;
  }
  return std::nullopt;
}

LineWords LineChecker::Check(std::uint32_t state, std::u16string_view line) const {
  LineWords words{{}, 0};
  const auto check = [&](std::size_t begin, std::size_t end) {
    ForEachSourceWord(line.substr(begin, end - begin),
                      [&](std::size_t offset, std::size_t length, std::u16string_view word) {
                        if (!vocabulary_.Accepts(word)) {
                          words.unknown.push_back({std::u16string(word), begin + offset, length});
                        }
                      });
  };
  if (const SourceLanguage* language = std::get_if<SourceLanguage>(&kind_)) {
    words.state_after = ScanSourceLine(*language, state, line, check);
  } else {
    DocumentSplitter splitter(std::get<DocumentFormat>(kind_), state);
    words.unknown = vocabulary_.UnknownWords(splitter, line);
    words.state_after = splitter.state();
  }
  return words;
}

}  // namespace quenvar::lsp
