#include "cli/tex_filter.h"

#include <algorithm>
#include <span>

namespace quenvar::cli {
namespace {

// The arguments of a command, in order: 'p' a {} argument that names
// something and is skipped, 'o' a [] option that is skipped (it may be left
// out), 'P' the first argument that is prose again. The walk stops at a
// 'P': what follows is read as ordinary text.
struct Command {
  std::u16string_view name;
  std::string_view arguments;
};

constexpr Command kCommands[] = {
    {u"addtocounter", "pp"},    {u"addtolength", "pp"},     {u"autoref", "p"},
    {u"begin", "p"},            {u"bibliography", "p"},     {u"bibliographystyle", "p"},
    {u"cite", "op"},            {u"citeauthor", "p"},       {u"citep", "oop"},
    {u"citet", "oop"},          {u"color", "op"},           {u"cref", "p"},
    {u"Cref", "p"},             {u"documentclass", "op"},   {u"end", "p"},
    {u"eqref", "p"},            {u"fontsize", "pp"},        {u"hspace", "p"},
    {u"href", "pP"},            {u"hyphenation", "p"},      {u"include", "p"},
    {u"includegraphics", "op"}, {u"includeonly", "p"},      {u"input", "p"},
    {u"label", "p"},            {u"linespread", "p"},       {u"newcommand", "poP"},
    {u"newcounter", "po"},      {u"newenvironment", "poP"}, {u"newtheorem", "poP"},
    {u"nocite", "p"},           {u"pageref", "p"},          {u"pagenumbering", "p"},
    {u"pagestyle", "p"},        {u"ref", "p"},              {u"renewcommand", "poP"},
    {u"renewenvironment", "poP"}, {u"setcounter", "pp"},    {u"setlength", "pp"},
    {u"settowidth", "pp"},      {u"textcolor", "opP"},      {u"thispagestyle", "p"},
    {u"url", "p"},              {u"usepackage", "op"},      {u"vspace", "p"},
    {u"bibitem", "op"},         {u"lstinputlisting", "op"}, {u"definecolor", "ppp"},
};

// What \begin{NAME} takes after the name: a table's column layout, widths
// and float placements.
constexpr Command kEnvironments[] = {
    {u"array", "op"},    {u"figure", "o"},   {u"longtable", "op"},
    {u"minipage", "op"}, {u"table", "o"},    {u"tabular", "op"},
    {u"tabular*", "pop"}, {u"tabularx", "pp"}, {u"wrapfigure", "opp"},
};

// The arguments of name in table; none for a name it lacks.
std::string_view ArgumentsOf(std::span<const Command> table, std::u16string_view name) {
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&](const Command& c) { return c.name == name; });
  return found == table.end() ? std::string_view() : found->arguments;
}

bool IsCommandLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'@';
}

class Masker {
 public:
  explicit Masker(std::u16string_view line) : line_(line), out_(line) {}

  std::u16string Run() {
    std::size_t i = 0;
    while (i < line_.size()) {
      const char16_t c = line_[i];
      if (c == u'%') {
        Blank(i, line_.size());
        break;
      }
      if (c == u'\\') {
        i = ControlSequence(i);
      } else if (c == u'$') {
        const bool display = At(i + 1) == u'$';
        i = Blank(i, Find(display ? u"$$" : u"$", i + (display ? 2 : 1)));
      } else {
        if (c == u'{' || c == u'}') out_[i] = u' ';
        ++i;
      }
    }
    return std::move(out_);
  }

 private:
  char16_t At(std::size_t i) const { return i < line_.size() ? line_[i] : u'\0'; }

  // Blanks [from, to) and answers to.
  std::size_t Blank(std::size_t from, std::size_t to) {
    std::fill(out_.begin() + static_cast<std::ptrdiff_t>(from),
              out_.begin() + static_cast<std::ptrdiff_t>(to), u' ');
    return to;
  }

  // One past the end of the first unescaped closing text from from on, or
  // the line's end.
  std::size_t Find(std::u16string_view closing, std::size_t from) const {
    for (std::size_t i = from; i < line_.size(); ++i) {
      if (line_.substr(i, closing.size()) == closing) return i + closing.size();
      if (line_[i] == u'\\') ++i;  // an escaped character closes nothing
    }
    return line_.size();
  }

  // One past the group that opens at i with open, nested groups and escaped
  // characters included, or the line's end.
  std::size_t GroupEnd(std::size_t i, char16_t open, char16_t close) const {
    int depth = 0;
    for (; i < line_.size(); ++i) {
      if (line_[i] == u'\\') {
        ++i;
      } else if (line_[i] == open) {
        ++depth;
      } else if (line_[i] == close && --depth == 0) {
        return i + 1;
      }
    }
    return line_.size();
  }

  std::size_t SkipSpaces(std::size_t i) const {
    while (i < line_.size() && line_[i] == u' ') ++i;
    return i;
  }

  // Blanks the control sequence at i and the arguments it takes that are
  // not prose; answers where reading goes on.
  std::size_t ControlSequence(std::size_t i) {
    const char16_t next = At(i + 1);
    if (next == u'(' || next == u'[') {
      return Blank(i, Find(next == u'(' ? u"\\)" : u"\\]", i + 2));
    }
    if (!IsCommandLetter(next)) return Blank(i, std::min(i + 2, line_.size()));
    std::size_t end = i + 1;
    while (end < line_.size() && IsCommandLetter(line_[end])) ++end;
    const std::u16string_view name = line_.substr(i + 1, end - i - 1);
    if (At(end) == u'*') ++end;
    Blank(i, end);
    if (name == u"verb" && end < line_.size()) {
      return Blank(end, Find(line_.substr(end, 1), end + 1));
    }
    const std::size_t at = Arguments(end, ArgumentsOf(kCommands, name));
    if (name != u"begin") return at;
    return Arguments(at, ArgumentsOf(kEnvironments, Environment(end)));
  }

  // The name in the {} argument at i, or nothing.
  std::u16string_view Environment(std::size_t i) const {
    i = SkipSpaces(i);
    if (At(i) != u'{') return {};
    const std::size_t end = GroupEnd(i, u'{', u'}');
    return line_.substr(i + 1, end - i - 2);
  }

  std::size_t Arguments(std::size_t i, std::string_view arguments) {
    for (const char kind : arguments) {
      const std::size_t start = SkipSpaces(i);
      if (kind == 'P') return start;
      if (kind == 'o') {
        if (At(start) == u'[') i = Blank(start, GroupEnd(start, u'[', u']'));
      } else if (At(start) == u'{') {
        i = Blank(start, GroupEnd(start, u'{', u'}'));
      } else {
        return start;  // a required argument left out: nothing to skip
      }
    }
    return i;
  }

  std::u16string_view line_;
  std::u16string out_;
};

}  // namespace

std::u16string MaskTex(std::u16string_view line) { return Masker(line).Run(); }

}  // namespace quenvar::cli
