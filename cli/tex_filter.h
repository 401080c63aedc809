// The parts of a line of LaTeX that are not prose, for the pipe's TeX mode.

#ifndef QUENVARSPELL_CLI_TEX_FILTER_H_
#define QUENVARSPELL_CLI_TEX_FILTER_H_

#include <string>
#include <string_view>

namespace quenvar::cli {

// line with every character that is not prose replaced by a space, so that
// offsets stay where they were: control sequences (\emph, \%), the
// arguments of commands that name things rather than say them (\cite,
// \ref, \label, \begin, \end, \usepackage, ... as Aspell's TeX filter skips
// them), inline and display math ($...$, $$...$$, \(...\), \[...\]), braces
// and comments. Each line is taken on its own: math left open at its end
// ends there.
std::u16string MaskTex(std::u16string_view line);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_TEX_FILTER_H_
