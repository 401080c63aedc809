#include <unicode/unorm2.h>

#include <algorithm>
#include <span>

#include "document/filter.h"
#include "document/prose_words.h"
#include "document/text_scan.h"

namespace quenvar::document {
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
    {u"path", "p"},             {u"nolinkurl", "p"},        {u"mintinline", "pp"},
    {u"inputminted", "opp"},    {u"includepdf", "op"},      {u"graphicspath", "p"},
    {u"addbibresource", "op"},  {u"crefrange", "pp"},       {u"autocite", "oop"},
    {u"parencite", "oop"},      {u"textcite", "oop"},       {u"footcite", "oop"},
    {u"DeclareMathOperator", "pp"}, {u"SI", "opp"},         {u"si", "op"},
    {u"num", "op"},
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

// Environments whose content is not prose: verbatim-like ones hold code or
// data, math ones formulas.
constexpr std::u16string_view kSkippedEnvironments[] = {
    u"verbatim",  u"verbatim*", u"Verbatim",   u"Verbatim*",  u"BVerbatim",  u"LVerbatim",
    u"lstlisting", u"minted",   u"comment",    u"filecontents", u"filecontents*",
    u"equation",  u"equation*", u"align",      u"align*",     u"alignat",    u"alignat*",
    u"flalign",   u"flalign*",  u"gather",     u"gather*",    u"multline",   u"multline*",
    u"eqnarray",  u"eqnarray*", u"displaymath", u"math",      u"dmath",      u"dmath*",
    u"tikzpicture", u"pgfpicture", u"pspicture", u"picture"};

// The index of name in kSkippedEnvironments plus one; 0 when absent.
std::size_t SkippedEnvironment(std::u16string_view name) {
  const auto* found = std::find(std::begin(kSkippedEnvironments),
                                std::end(kSkippedEnvironments), name);
  return found == std::end(kSkippedEnvironments)
             ? 0
             : static_cast<std::size_t>(found - std::begin(kSkippedEnvironments)) + 1;
}

// The combining marks of the accent commands: \'e is é.
char16_t AccentMark(char16_t command) {
  switch (command) {
    case u'\'': return 0x0301;
    case u'`': return 0x0300;
    case u'^': return 0x0302;
    case u'"': return 0x0308;
    case u'~': return 0x0303;
    case u'=': return 0x0304;
    case u'.': return 0x0307;
    case u'c': return 0x0327;
    case u'v': return 0x030C;
    case u'u': return 0x0306;
    case u'H': return 0x030B;
    case u'k': return 0x0328;
    case u'r': return 0x030A;
    default: return 0;
  }
}

// The letters written as commands: \ss is ß.
char16_t LetterCommand(std::u16string_view name) {
  constexpr std::pair<std::u16string_view, char16_t> kLetters[] = {
      {u"ss", u'ß'}, {u"ae", u'æ'}, {u"AE", u'Æ'}, {u"oe", u'œ'}, {u"OE", u'Œ'},
      {u"o", u'ø'},  {u"O", u'Ø'},  {u"aa", u'å'}, {u"AA", u'Å'}, {u"l", u'ł'},
      {u"L", u'Ł'},  {u"i", u'ı'}};
  for (const auto& [letter_name, letter] : kLetters) {
    if (letter_name == name) return letter;
  }
  return 0;
}

bool IsCommandLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'@';
}

// What the previous text left open.
enum class Open : std::uint32_t {
  kNothing,
  kInlineMath,   // $ (variant 0) or \( (1): ends with its paragraph
  kDisplayMath,  // $$ (0) or \[ (1)
  kEnvironment,  // a skipped environment (its index in the detail)
  kGroup,        // a skipped argument (its depth in the detail)
};

class TexFilter : public Filter {
 public:
  explicit TexFilter(std::uint32_t state)
      : open_(static_cast<Open>(state & 7)),
        variant_((state >> 3) & 1),
        detail_((state >> 4) & 63) {}

  std::uint32_t state() const override {
    return static_cast<std::uint32_t>(open_) | (variant_ ? 1u : 0u) << 3 |
           static_cast<std::uint32_t>(detail_) << 4;
  }

  void Mask(std::u16string_view text, std::u16string& prose) override {
    CopyProse(text, prose);
    text_ = text;
    out_ = &prose;
    TextScan scan(text);
    scan_ = &scan;
    std::size_t i = GoOn();
    while (i < text_.size()) {
      const char16_t c = text_[i];
      if (c == u'%') {
        i = Blank(i, LineEnd(text_, i));
      } else if (c == u'\\') {
        i = ControlSequence(i);
      } else if (c == u'$') {
        i = Math(i);
      } else {
        if (c == u'{' || c == u'}') prose[i] = u' ';
        ++i;
      }
    }
    scan_ = nullptr;
    out_ = nullptr;
  }

 private:
  char16_t At(std::size_t i) const { return i < text_.size() ? text_[i] : u'\0'; }

  // Blanks [from, to) and answers to.
  std::size_t Blank(std::size_t from, std::size_t to) {
    document::Blank(*out_, from, to);
    return to;
  }

  // Where inline constructs at i end at the latest: the end of the
  // paragraph, else of the text.
  std::size_t Limit(std::size_t i) { return std::min(scan_->ParagraphEnd(i), text_.size()); }

  // One past the end of the first unescaped closing text from from on,
  // before limit; kNowhere when none.
  std::size_t Find(std::u16string_view closing, std::size_t from, std::size_t limit) const {
    for (std::size_t i = from; i < limit; ++i) {
      if (text_.substr(i, closing.size()) == closing) return i + closing.size();
      if (text_[i] == u'\\') ++i;  // an escaped character closes nothing
    }
    return kNowhere;
  }

  // One past the group that opens at i with open (depth levels already
  // open), nested groups and escaped characters included; kNowhere when it
  // does not close before limit.
  std::size_t GroupEnd(std::size_t i, char16_t open, char16_t close, std::size_t limit,
                       std::size_t depth = 0) const {
    for (; i < limit; ++i) {
      if (text_[i] == u'\\') {
        ++i;
      } else if (text_[i] == open) {
        ++depth;
      } else if (text_[i] == close && depth > 0 && --depth == 0) {
        return i + 1;
      }
    }
    return kNowhere;
  }

  std::size_t SkipSpaces(std::size_t i) const {
    while (i < text_.size() && (text_[i] == u' ' || text_[i] == u'\t')) ++i;
    return i;
  }

  // Blanks what the previous text left open, up to its end; returns where
  // reading goes on.
  std::size_t GoOn() {
    std::size_t end = kNowhere;
    switch (open_) {
      case Open::kNothing:
        return 0;
      case Open::kInlineMath:
        end = Find(variant_ ? u"\\)" : u"$", 0, Limit(0));
        if (end == kNowhere && scan_->ParagraphEnd(0) != kNowhere) end = Limit(0);
        break;
      case Open::kDisplayMath:
        end = Find(variant_ ? u"\\]" : u"$$", 0, text_.size());
        break;
      case Open::kEnvironment:
        end = EnvironmentEnd(detail_, 0);
        break;
      case Open::kGroup:
        end = GroupEnd(0, u'{', u'}', Limit(0), detail_);
        if (end == kNowhere && scan_->ParagraphEnd(0) != kNowhere) end = Limit(0);
        break;
    }
    if (end == kNowhere) {
      if (open_ == Open::kGroup) detail_ = std::min<std::size_t>(Depth(0, text_.size(), detail_), 63);
      return Blank(0, text_.size());
    }
    open_ = Open::kNothing;
    variant_ = false;
    detail_ = 0;
    return Blank(0, end);
  }

  // The depth of braces at to, starting at depth at from.
  std::size_t Depth(std::size_t from, std::size_t to, std::size_t depth) const {
    for (std::size_t i = from; i < to; ++i) {
      if (text_[i] == u'\\') {
        ++i;
      } else if (text_[i] == u'{') {
        ++depth;
      } else if (text_[i] == u'}' && depth > 0) {
        --depth;
      }
    }
    return depth;
  }

  // One past "\end{NAME}" of skipped environment number index after from;
  // kNowhere when the text holds none.
  std::size_t EnvironmentEnd(std::size_t index, std::size_t from) {
    std::u16string end_tag = u"\\end{";
    end_tag += kSkippedEnvironments[index - 1];
    end_tag += u'}';
    // The search ignores ASCII case; \end{Verbatim} must not end verbatim.
    for (std::size_t at = scan_->Find(ToLowerAscii(end_tag), from); at != kNowhere;
         at = scan_->Find(ToLowerAscii(end_tag), at + 1)) {
      if (text_.substr(at, end_tag.size()) == end_tag) return at + end_tag.size();
    }
    return kNowhere;
  }

  static std::u16string ToLowerAscii(std::u16string text) {
    for (char16_t& c : text) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return text;
  }

  // Blanks a construct that opened at start and whose end is end
  // (kNowhere: not in the text): one never closed ends with its paragraph,
  // or stays open into the next text as open.
  std::size_t Close(std::size_t start, std::size_t end, Open open, bool variant,
                    std::size_t detail) {
    if (end != kNowhere) return Blank(start, end);
    const std::size_t paragraph_end = scan_->ParagraphEnd(start);
    if (paragraph_end != kNowhere) return Blank(start, paragraph_end);
    open_ = open;
    variant_ = variant;
    detail_ = detail;
    return Blank(start, text_.size());
  }

  std::size_t Math(std::size_t i) {
    if (At(i + 1) == u'$') {
      return Close(i, Find(u"$$", i + 2, text_.size()), Open::kDisplayMath, false, 0);
    }
    return Close(i, Find(u"$", i + 1, Limit(i)), Open::kInlineMath, false, 0);
  }

  // Blanks the control sequence at i and the arguments it takes that are
  // not prose; answers where reading goes on.
  std::size_t ControlSequence(std::size_t i) {
    const char16_t next = At(i + 1);
    if (next == u'(') return Close(i, Find(u"\\)", i + 2, Limit(i)), Open::kInlineMath, true, 0);
    if (next == u'[') {
      return Close(i, Find(u"\\]", i + 2, text_.size()), Open::kDisplayMath, true, 0);
    }
    if (next == u'-' || next == u'/' || next == u'@') {  // a hyphenation point, a spacing
      (*out_)[i] = kJoiner;
      (*out_)[i + 1] = kJoiner;
      return i + 2;
    }
    if (const char16_t mark = IsCommandLetter(next) ? u'\0' : AccentMark(next); mark != 0) {
      if (const std::size_t end = Accent(i, i + 2, mark); end != kNowhere) return end;
    }
    if (!IsCommandLetter(next)) return Blank(i, std::min(i + 2, text_.size()));
    std::size_t end = i + 1;
    while (end < text_.size() && IsCommandLetter(text_[end])) ++end;
    const std::u16string_view name = text_.substr(i + 1, end - i - 1);
    if (name.size() == 1) {
      if (const char16_t mark = AccentMark(name[0]); mark != 0) {
        if (const std::size_t accented = Accent(i, SkipSpaces(end), mark); accented != kNowhere) {
          return accented;
        }
      }
    }
    if (const char16_t letter = LetterCommand(name); letter != 0) {
      // A letter command inside a word: a\ss{}e, stra\ss e.
      std::fill(out_->begin() + static_cast<std::ptrdiff_t>(i),
                out_->begin() + static_cast<std::ptrdiff_t>(end), kJoiner);
      (*out_)[end - 1] = letter;
      if (At(end) == u'{' && At(end + 1) == u'}') {
        (*out_)[end] = kJoiner;
        (*out_)[end + 1] = kJoiner;
        return end + 2;
      }
      if (At(end) == u' ' && IsCommandLetter(At(end + 1))) {
        (*out_)[end] = kJoiner;  // the space that ends the command's name
        return end + 1;
      }
      return end;
    }
    if (At(end) == u'*') ++end;
    Blank(i, end);
    if ((name == u"verb" || name == u"lstinline") && end < text_.size()) {
      return Verbatim(end);
    }
    const std::size_t at = Arguments(end, ArgumentsOf(kCommands, name));
    if (name != u"begin") return at;
    const std::u16string_view environment = Environment(end);
    if (const std::size_t index = SkippedEnvironment(environment); index != 0) {
      return Close(i, EnvironmentEnd(index, at), Open::kEnvironment, false, index);
    }
    return Arguments(at, ArgumentsOf(kEnvironments, environment));
  }

  // The accented letter of the accent command at i whose letter (or {letter})
  // is at j: the letter composed with mark at the letter's place, the rest
  // joiners. kNowhere when no letter follows.
  std::size_t Accent(std::size_t i, std::size_t j, char16_t mark) {
    std::size_t letter = j;
    std::size_t end = j + 1;
    if (At(j) == u'{') {
      letter = j + 1;
      if (At(letter) == u'\\' && At(letter + 1) == u'i') ++letter;  // \'{\i}
      end = letter + 2;
      if (At(letter + 1) != u'}') return kNowhere;
    }
    const char16_t base = At(letter);
    if (!IsCommandLetter(base) || base == u'@') return kNowhere;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    const UChar32 composed = U_SUCCESS(status) ? unorm2_composePair(nfc, base, mark) : -1;
    std::fill(out_->begin() + static_cast<std::ptrdiff_t>(i),
              out_->begin() + static_cast<std::ptrdiff_t>(end), kJoiner);
    (*out_)[letter] = composed > 0 && composed < 0xFFFF ? static_cast<char16_t>(composed) : base;
    return end;
  }

  // Blanks the delimited code of \verb or \lstinline at i: |code|, or
  // {code} after options; one without its end delimiter ends with its line.
  std::size_t Verbatim(std::size_t i) {
    if (At(i) == u'[') {
      const std::size_t options = GroupEnd(i, u'[', u']', LineEnd(text_, i));
      if (options == kNowhere) return Blank(i, LineEnd(text_, i));
      i = Blank(i, options);
    }
    const std::size_t line_end = LineEnd(text_, i);
    const char16_t delimiter = At(i) == u'{' ? u'}' : At(i);
    const std::size_t close = text_.substr(0, line_end).find(delimiter, i + 1);
    return Blank(i, close == std::u16string_view::npos ? line_end : close + 1);
  }

  // The name in the {} argument at i, or nothing.
  std::u16string_view Environment(std::size_t i) const {
    i = SkipSpaces(i);
    if (At(i) != u'{') return {};
    const std::size_t close = text_.substr(0, LineEnd(text_, i)).find(u'}', i);
    if (close == std::u16string_view::npos) return {};
    return text_.substr(i + 1, close - i - 1);
  }

  std::size_t Arguments(std::size_t i, std::string_view arguments) {
    for (const char kind : arguments) {
      const std::size_t start = SkipSpaces(i);
      if (kind == 'P') return start;
      const char16_t open = kind == 'o' ? u'[' : u'{';
      if (At(start) != open) {
        if (kind == 'o') continue;  // an option left out
        return start;               // a required argument left out: nothing to skip
      }
      const std::size_t end = GroupEnd(start, open, kind == 'o' ? u']' : u'}', Limit(start));
      if (end == kNowhere) {
        const std::size_t depth = kind == 'o' ? 0 : Depth(start, text_.size(), 0);
        return Close(start, kNowhere, depth > 0 ? Open::kGroup : Open::kNothing, false,
                     std::min<std::size_t>(depth, 63));
      }
      i = Blank(start, end);
    }
    return i;
  }

  Open open_;
  bool variant_;
  std::size_t detail_;

  // During Mask.
  std::u16string_view text_;
  std::u16string* out_ = nullptr;
  TextScan* scan_ = nullptr;
};

}  // namespace

std::unique_ptr<Filter> MakeTexFilter(std::uint32_t state) {
  return std::make_unique<TexFilter>(state);
}

}  // namespace quenvar::document
