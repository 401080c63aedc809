#include "base/file_system.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>

#include <quenvarspell/types.h>

namespace quenvar {
namespace {

[[noreturn]] void ThrowFileError(int error, std::string_view what,
                                 const std::string& path) {
  throw std::system_error(error, std::generic_category(),
                          std::string(what) + " '" + path + "'");
}

// Closes a descriptor on scope exit unless closed already.
class FileDescriptor {
 public:
  FileDescriptor(int fd, const FileSystem& files) : fd_(fd), files_(files) {}
  ~FileDescriptor() {
    if (fd_ >= 0) files_.Close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and answers errno of the close, or 0.
  int Close() {
    const int result = files_.Close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
  const FileSystem& files_;
};

// Writes all of bytes; answers 0 or the errno of the failing write.
int WriteAll(const FileSystem& files, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = files.Write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// The target a save writes: path itself, or the file a symbolic link at path
// leads to.
std::string ResolveLink(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Opens a new, uniquely named file beside path and sets temp_path to its
// name. Throws std::system_error when no such file can be created.
int CreateSibling(const FileSystem& files, const std::string& path,
                  std::string& temp_path) {
  std::random_device random;
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.rfind('/') + 1);
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    temp_path = folder + "/." + base + "." + std::to_string(random()) + ".new";
    const int fd = files.Open(
        temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
        0666);
    if (fd >= 0) return fd;
    error = errno;
  }
  ThrowFileError(error, "cannot create a file beside", path);
}

}  // namespace

int FileSystem::Open(const char* path, int flags, mode_t mode) const {
  return ::open(path, flags, mode);
}

ssize_t FileSystem::Read(int fd, void* buffer, std::size_t size) const {
  return ::read(fd, buffer, size);
}

ssize_t FileSystem::Write(int fd, const void* data, std::size_t size) const {
  return ::write(fd, data, size);
}

int FileSystem::Fsync(int fd) const { return ::fsync(fd); }

int FileSystem::Close(int fd) const { return ::close(fd); }

int FileSystem::Rename(const char* from, const char* to) const {
  return ::rename(from, to);
}

int FileSystem::Unlink(const char* path) const { return ::unlink(path); }

std::string FileSystemPath(std::u16string_view path) {
  const std::string utf8 = ToUtf8(path);
  if (utf8.find('\0') != std::string::npos) {
    ThrowFileError(EINVAL, "path holds a NUL character:", utf8.c_str());
  }
  return utf8;
}

std::string ReadFile(const FileSystem& files, const std::string& path) {
  FileDescriptor fd(files.Open(path.c_str(), O_RDONLY | O_CLOEXEC, 0), files);
  if (fd.get() < 0) ThrowFileError(errno, "cannot open", path);
  std::string content;
  struct stat info;
  if (::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)) {
    content.reserve(static_cast<std::size_t>(info.st_size));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = files.Read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, "cannot read", path);
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  return content;
}

void ReplaceFile(const FileSystem& files, const std::string& path,
                 std::string_view bytes) {
  const std::string target = ResolveLink(path);
  std::string temp_path;
  FileDescriptor fd(CreateSibling(files, target, temp_path), files);

  auto fail = [&](int error, std::string_view what) {
    files.Unlink(temp_path.c_str());
    ThrowFileError(error, what, target);
  };
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0 &&
      ::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
    fail(errno, "cannot keep the permissions of");
  }
  if (const int error = WriteAll(files, fd.get(), bytes)) {
    fail(error, "cannot write");
  }
  if (files.Fsync(fd.get()) != 0) fail(errno, "cannot flush");
  if (const int error = fd.Close()) fail(error, "cannot write");
  if (files.Rename(temp_path.c_str(), target.c_str()) != 0) {
    fail(errno, "cannot replace");
  }
  // Make the rename itself durable; the new file is in place either way.
  FileDescriptor folder(
      files.Open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC,
                 0),
      files);
  if (folder.get() >= 0) files.Fsync(folder.get());
}

void WriteNewFile(const FileSystem& files, const std::string& path,
                  std::string_view bytes) {
  FileDescriptor fd(
      files.Open(path.c_str(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600),
      files);
  if (fd.get() < 0) ThrowFileError(errno, "cannot create", path);
  int error = WriteAll(files, fd.get(), bytes);
  if (error == 0) error = fd.Close();
  if (error != 0) {
    files.Unlink(path.c_str());
    ThrowFileError(error, "cannot write", path);
  }
}

bool RemoveFile(const FileSystem& files, const std::string& path) noexcept {
  return files.Unlink(path.c_str()) == 0;
}

std::string FileHoldingCode(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
  }
  // The main program reports the name it was started by, which may not be
  // a path; the kernel knows its file.
  char executable[PATH_MAX];
  const ssize_t length =
      ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) return {};
  return std::string(executable, static_cast<std::size_t>(length));
}

}  // namespace quenvar
