#include "cli/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

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

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) ThrowFileError(errno, path);
  struct stat status;
  if (::fstat(file.get(), &status) != 0) ThrowFileError(errno, path);
  if (S_ISDIR(status.st_mode)) ThrowFileError(EISDIR, path);
  return ReadAll(file.get(), path);
}

std::string ReadStandardInput() { return ReadAll(STDIN_FILENO, "<stdin>"); }

}  // namespace quenvar::cli
