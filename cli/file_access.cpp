#include "cli/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
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
  // Closes now, reporting the error that close gives.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

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

void WriteAll(int fd, std::string_view bytes, const std::string& name) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, name);
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
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

void ReplaceFile(const std::string& path, std::string_view bytes) {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(path, error);
  if (error) ThrowFileError(error.value(), path);
  struct stat status;
  if (::stat(target.c_str(), &status) != 0) ThrowFileError(errno, path);

  std::string temp_name = ".";
  temp_name += target.filename().string();
  temp_name += ".XXXXXX";
  std::string temp = (target.parent_path() / temp_name).string();
  Descriptor file(::mkstemp(temp.data()));
  if (file.get() < 0) ThrowFileError(errno, path);
  try {
    WriteAll(file.get(), bytes, path);
    if (::fchmod(file.get(), status.st_mode & 07777) != 0 ||
        ::fsync(file.get()) != 0 || file.Close() != 0 ||
        ::rename(temp.c_str(), target.c_str()) != 0) {
      ThrowFileError(errno, path);
    }
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
}

}  // namespace quenvar::cli
