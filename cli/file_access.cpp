#include "cli/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "base/text.h"
#include "base/word_delimiters.h"

namespace quenvar::cli {
namespace {

[[noreturn]] void ThrowFileError(int error, const std::string& name) {
  throw std::system_error(error, std::generic_category(), name);
}

// Closes the descriptor when the scope ends, whatever happened.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string ReadAll(int fd, const std::string& name) {
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return bytes;
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, name);
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

// Where a piece of a full buffer ends: after its last blank line, else
// after its last LF, else after its last ASCII word delimiter, else before
// the last character that starts in it (so no UTF-8 sequence is split; a
// buffer without one is taken whole).
std::size_t PieceEnd(std::string_view bytes) {
  const std::size_t lf = bytes.rfind('\n');
  for (std::size_t end = lf; end != std::string_view::npos && end > 0;
       end = bytes.rfind('\n', end - 1)) {
    std::size_t i = end;
    while (i > 0 && (bytes[i - 1] == ' ' || bytes[i - 1] == '\t' || bytes[i - 1] == '\r')) --i;
    if (i > 0 && bytes[i - 1] == '\n') return end + 1;
    if (end < bytes.size() / 2) break;  // a short piece costs more than a blank line saves
  }
  if (lf != std::string_view::npos) return lf + 1;
  for (std::size_t i = bytes.size(); i-- > 0;) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80 && IsWordDelimiter(byte)) return i + 1;
  }
  for (std::size_t i = bytes.size(); i-- > 1;) {
    if (!IsUtf8Continuation(static_cast<unsigned char>(bytes[i]))) return i;
  }
  return bytes.size();
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) ThrowFileError(errno, path);
  struct stat status;
  if (::fstat(file.get(), &status) != 0) ThrowFileError(errno, path);
  if (S_ISDIR(status.st_mode)) ThrowFileError(EISDIR, path);
  return ReadAll(file.get(), path);
}

InputPieces::InputPieces(const std::string& path, bool by_line)
    : name_(path == "-" ? "<stdin>" : path),
      fd_(path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC)),
      by_line_(by_line) {
  if (fd_ < 0) ThrowFileError(errno, path);
  struct stat status;
  int error = ::fstat(fd_, &status) != 0 ? errno : 0;
  if (error == 0 && S_ISDIR(status.st_mode)) error = EISDIR;
  if (error != 0) {
    if (fd_ != STDIN_FILENO) ::close(fd_);
    ThrowFileError(error, path);
  }
}

InputPieces::~InputPieces() {
  if (fd_ != STDIN_FILENO) ::close(fd_);
}

bool InputPieces::Next(std::string& piece) {
  const auto line_end = [&](std::size_t from) {
    return by_line_ ? buffer_.find('\n', from) : std::string::npos;
  };
  std::size_t lf = line_end(start_);
  if (lf == std::string::npos) {
    buffer_.erase(0, start_);
    start_ = 0;
    char chunk[1 << 16];
    while (!at_end_ && buffer_.size() < kPieceBytes && lf == std::string::npos) {
      const ssize_t got =
          ::read(fd_, chunk, std::min(sizeof chunk, kPieceBytes - buffer_.size()));
      if (got < 0) {
        if (errno == EINTR) continue;
        ThrowFileError(errno, name_);
      }
      at_end_ = got == 0;
      const std::size_t old_size = buffer_.size();
      buffer_.append(chunk, static_cast<std::size_t>(got));
      lf = line_end(old_size);
    }
  }
  if (start_ == buffer_.size()) return false;
  const std::string_view rest = std::string_view(buffer_).substr(start_);
  std::size_t end = lf != std::string::npos ? lf + 1 - start_
                    : at_end_             ? rest.size()
                                          : PieceEnd(rest);
  piece.assign(rest.substr(0, end));
  start_ += end;
  return true;
}

}  // namespace quenvar::cli
