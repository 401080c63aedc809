// Reading the tool's inputs, with errors that name the file.

#ifndef QUENVARSPELL_CLI_FILE_ACCESS_H_
#define QUENVARSPELL_CLI_FILE_ACCESS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace quenvar::cli {

// Returns the whole content of the file at path. Throws std::system_error
// whose what() is "PATH: reason" when the file cannot be opened or read, and
// with EISDIR for a directory.
std::string ReadFileBytes(const std::string& path);

// One input of the tool (a file, or "-" for standard input) read in pieces
// of at most kPieceBytes, so that memory stays bounded whatever the input's
// size. A piece ends after a blank line, else at a line end (LF); a longer
// line is cut after its last ASCII word delimiter, or, with none, between
// two characters. With by_line, each line is a piece of its own as soon as
// it has arrived (the pipe answers line by line), cut as above when longer.
class InputPieces {
 public:
  static constexpr std::size_t kPieceBytes = 1 << 20;

  // Opens path ("-": standard input, named "<stdin>"). Throws
  // std::system_error whose what() is "PATH: reason", with EISDIR for a
  // directory.
  explicit InputPieces(const std::string& path, bool by_line = false);
  ~InputPieces();
  InputPieces(const InputPieces&) = delete;
  InputPieces& operator=(const InputPieces&) = delete;

  const std::string& name() const { return name_; }

  // Sets piece to the next piece and answers true, or answers false at the
  // end of the input. Throws std::system_error ("PATH: reason") when
  // reading fails.
  bool Next(std::string& piece);

 private:
  std::string name_;
  int fd_;
  bool by_line_;
  bool at_end_ = false;
  std::string buffer_;
  std::size_t start_ = 0;  // of what buffer_ holds that is not handed out yet
};

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_FILE_ACCESS_H_
