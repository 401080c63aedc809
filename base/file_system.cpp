#include "base/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

#include <quenvarspell/types.h>

namespace quenvar {
namespace {

[[noreturn]] void ThrowFileError(int error, std::string_view what,
                                 const std::string& path) {
  throw std::system_error(error, std::generic_category(),
                          std::string(what) + " '" + path + "'");
}

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

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Names a new file beside path, uniquely, through make (which answers 0 or
// an errno for a candidate name, EEXIST to try another), and sets temp_path
// to the name. Throws std::system_error when no name can be made.
template <typename Make>
void NameSibling(const std::string& path, std::string& temp_path, Make make) {
  std::random_device random;
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.rfind('/') + 1);
  int error = EEXIST;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    temp_path = folder + "/." + base + "." + std::to_string(random()) + ".new";
    error = make(temp_path);
  }
  if (error != 0) ThrowFileError(error, "cannot create a file beside", path);
}

// The file a save replaces, as the kernel's walk of the given path found it.
struct Target {
  std::string path;      // the file's own path, links resolved; or the new file's
  bool exists = false;   // false for a new file at path
  bool created = false;  // made, empty, through a dangling link by this save
  struct stat info {};
};

// The name of the magic link in /proc through which fd's file is reached.
std::string ProcPathOf(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// Opens path as a program writing it in place would, so that the kernel
// follows its links under its own protection (fs.protected_symlinks) and
// checks the permissions. The file is looked at first without opening it
// (O_PATH), so that a device or FIFO is refused unopened; a dangling link
// gets its target created through it.
Target OpenTarget(const FileSystem& files, const std::string& path) {
  Target target{path};
  int fd = files.Open(path.c_str(), O_PATH | O_CLOEXEC, 0);
  if (fd < 0) {
    if (errno != ENOENT) ThrowFileError(errno, "cannot open", path);
    struct stat link;
    if (files.Lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return target;
    fd = files.Open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) ThrowFileError(errno, "cannot create", path);
    target.created = true;
  }
  FileDescriptor found(fd, files);
  auto fail = [&](int error, std::string_view what) {
    if (target.created) files.Unlink(target.path.c_str());
    ThrowFileError(error, what, path);
  };
  char buffer[PATH_MAX];
  const ssize_t length = files.ReadLink(ProcPathOf(fd).c_str(), buffer, sizeof buffer);
  if (length < 0 || static_cast<std::size_t>(length) == sizeof buffer) {
    ThrowFileError(length < 0 ? errno : ENAMETOOLONG, "cannot follow", path);
  }
  target.path.assign(buffer, static_cast<std::size_t>(length));
  if (files.Fstat(fd, &target.info) != 0) fail(errno, "cannot open");
  if (!S_ISREG(target.info.st_mode)) fail(EINVAL, "not a regular file:");
  // A new file in place of one of several names would part it from the
  // others, which would keep the old content.
  if (target.info.st_nlink > 1) {
    throw std::system_error(EMLINK, std::generic_category(),
                            "cannot save '" + path + "': it has " +
                                std::to_string(target.info.st_nlink) +
                                " hard links, which a save would part (make the others "
                                "symbolic links)");
  }
  target.exists = true;
  if (!target.created) {
    // Write permission, as writing in place needs it, checked by the
    // kernel on this very file.
    FileDescriptor writable(
        files.Open(ProcPathOf(fd).c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0),
        files);
    if (writable.get() < 0) fail(errno, "cannot write");
  }
  return target;
}

// Opens the new file a save writes: unnamed in target's folder where the
// file system can make one (temp_path stays empty), else a uniquely named
// file beside target.
int CreateNewFile(const FileSystem& files, const std::string& target,
                  std::string& temp_path) {
  const int fd = files.Open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd >= 0) return fd;
  // Kernels and file systems without unnamed files answer one of these.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    ThrowFileError(errno, "cannot create a file beside", target);
  }
  int named = -1;
  NameSibling(target, temp_path, [&](const std::string& name) {
    named = files.Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                       0666);
    return named >= 0 ? 0 : errno;
  });
  return named;
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

int FileSystem::Fstat(int fd, struct stat* info) const { return ::fstat(fd, info); }

int FileSystem::Lstat(const char* path, struct stat* info) const {
  return ::lstat(path, info);
}

ssize_t FileSystem::ReadLink(const char* path, char* buffer, std::size_t size) const {
  return ::readlink(path, buffer, size);
}

int FileSystem::Fchmod(int fd, mode_t mode) const { return ::fchmod(fd, mode); }

int FileSystem::Fchown(int fd, uid_t owner, gid_t group) const {
  return ::fchown(fd, owner, group);
}

int FileSystem::Flock(int fd, int operation) const { return ::flock(fd, operation); }

off_t FileSystem::Lseek(int fd, off_t offset, int whence) const {
  return ::lseek(fd, offset, whence);
}

int FileSystem::MemfdCreate(const char* name, unsigned int flags) const {
  return ::memfd_create(name, flags);
}

int FileSystem::Mkdir(const char* path, mode_t mode) const { return ::mkdir(path, mode); }

int FileSystem::LinkOpenFile(int fd, const char* path) const {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, path, AT_SYMLINK_FOLLOW);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), files_(other.files_) {}

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) files_.Close(fd_);
}

int FileDescriptor::Close() {
  const int result = files_.Close(fd_);
  fd_ = -1;
  return result == 0 ? 0 : errno;
}

std::string FileSystemPath(std::u16string_view path) {
  const std::string utf8 = ToUtf8(path);
  if (utf8.find('\0') != std::string::npos) {
    ThrowFileError(EINVAL, "path holds a NUL character:", utf8.c_str());
  }
  return utf8;
}

namespace {

// Replaces content (a std::string or a ByteArray) with the bytes of the
// regular file open as fd from its current offset, reading straight into it
// as far as the size the file has now, so that storage content already has
// is reused without being cleared; anything written to the file since goes
// through a buffer. path names the file in errors.
template <typename Bytes>
void ReadOpenFile(const FileSystem& files, int fd, const std::string& path, Bytes& content) {
  struct stat info;
  if (files.Fstat(fd, &info) != 0) ThrowFileError(errno, "cannot read", path);
  if (S_ISDIR(info.st_mode)) ThrowFileError(EISDIR, "cannot read", path);
  if (!S_ISREG(info.st_mode)) ThrowFileError(EINVAL, "not a regular file:", path);
  content.resize(static_cast<std::size_t>(info.st_size));
  std::size_t filled = 0;
  char buffer[65536];
  for (;;) {
    const bool into_content = filled < content.size();
    const ssize_t got =
        into_content ? files.Read(fd, content.data() + filled, content.size() - filled)
                     : files.Read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowFileError(errno, "cannot read", path);
    }
    if (got == 0) break;
    if (!into_content) content.insert(content.end(), buffer, buffer + got);
    filled += static_cast<std::size_t>(got);
  }
  content.resize(filled);
}

// ReadOpenFile of the file at path.
template <typename Bytes>
void ReadInto(const FileSystem& files, const std::string& path, Bytes& content) {
  // Without blocking, so that opening a FIFO does not wait for a writer.
  FileDescriptor fd(files.Open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0), files);
  if (fd.get() < 0) ThrowFileError(errno, "cannot open", path);
  ReadOpenFile(files, fd.get(), path, content);
}

}  // namespace

std::string ReadFile(const FileSystem& files, const std::string& path) {
  std::string content;
  ReadInto(files, path, content);
  return content;
}

void ReadFile(const FileSystem& files, const std::string& path, ByteArray& content) {
  ReadInto(files, path, content);
}

void ReadFile(const FileSystem& files, int fd, const std::string& name, ByteArray& content) {
  if (files.Lseek(fd, 0, SEEK_SET) != 0) ThrowFileError(errno, "cannot read", name);
  ReadOpenFile(files, fd, name, content);
}

void ReplaceFile(const FileSystem& files, const std::string& path,
                 std::string_view bytes) {
  const Target target = OpenTarget(files, path);
  std::string temp_path;
  int new_fd;
  try {
    new_fd = CreateNewFile(files, target.path, temp_path);
  } catch (...) {
    if (target.created) files.Unlink(target.path.c_str());
    throw;
  }
  FileDescriptor fd(new_fd, files);

  auto fail = [&](int error, std::string_view what) {
    if (!temp_path.empty()) files.Unlink(temp_path.c_str());
    if (target.created) files.Unlink(target.path.c_str());
    ThrowFileError(error, what, path);
  };
  if (target.exists) {
    // The owner first: changing it may clear the set-user-ID bits.
    const struct stat& info = target.info;
    if ((info.st_uid != ::geteuid() || info.st_gid != ::getegid()) &&
        files.Fchown(fd.get(), info.st_uid, info.st_gid) != 0) {
      fail(errno, "cannot keep the owner of");
    }
    if (files.Fchmod(fd.get(), info.st_mode & 07777) != 0) {
      fail(errno, "cannot keep the permissions of");
    }
  }
  if (const int error = WriteAll(files, fd.get(), bytes)) {
    fail(error, "cannot write");
  }
  if (files.Fsync(fd.get()) != 0) fail(errno, "cannot flush");
  if (temp_path.empty()) {
    // The unnamed file gets a name only now, complete: a save cut short
    // before this point leaves nothing behind.
    try {
      NameSibling(target.path, temp_path, [&](const std::string& name) {
        return files.LinkOpenFile(fd.get(), name.c_str()) == 0 ? 0 : errno;
      });
    } catch (const std::system_error& e) {
      temp_path.clear();
      fail(e.code().value(), "cannot create a file beside");
    }
  }
  if (const int error = fd.Close()) fail(error, "cannot write");
  if (files.Rename(temp_path.c_str(), target.path.c_str()) != 0) {
    fail(errno, "cannot replace");
  }
  // Make the rename itself durable; the new file is in place either way.
  FileDescriptor folder(
      files.Open(FolderOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0),
      files);
  if (folder.get() >= 0) files.Fsync(folder.get());
}

FileLock::FileLock(const FileSystem& files, const std::string& path)
    : files_(files) {
  const std::string lock_path = path + ".lock";
  // Read access is enough for flock, so any user who may read the lock file
  // can take the lock. An existing file is opened without O_CREAT, which
  // fs.protected_regular refuses for another user's file in a shared
  // folder; neither a link nor a FIFO is followed or waited for.
  constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  fd_ = files.Open(lock_path.c_str(), kFlags, 0);
  if (fd_ < 0 && errno == ENOENT) {
    fd_ = files.Open(lock_path.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
    if (fd_ < 0 && errno == EEXIST) fd_ = files.Open(lock_path.c_str(), kFlags, 0);
  }
  if (fd_ < 0) ThrowFileError(errno, "cannot open the lock file", lock_path);
  auto fail = [&](int error, std::string_view what) {
    files.Close(fd_);
    ThrowFileError(error, what, lock_path);
  };
  struct stat info;
  if (files.Fstat(fd_, &info) != 0) fail(errno, "cannot open the lock file");
  if (!S_ISREG(info.st_mode)) fail(EINVAL, "the lock file is not a regular file:");
  // The lock is held only while a process reads, merges and saves; one
  // held longer belongs to a process that does something else with it.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point give_up = Clock::now() + kLockWait;
  std::chrono::milliseconds pause(1);
  while (files.Flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) fail(errno, "cannot lock");
    if (Clock::now() >= give_up) {
      fail(EWOULDBLOCK, "another process has held the lock for " +
                            std::to_string(kLockWait.count()) + " seconds:");
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(100));
  }
}

FileLock::~FileLock() { files_.Close(fd_); }

FileDescriptor CreateExclusively(const FileSystem& files, const std::string& path) {
  FileDescriptor fd(
      files.Open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600),
      files);
  if (fd.get() < 0) ThrowFileError(errno, "cannot create", path);
  return fd;
}

FileDescriptor CreateMemoryFile(const FileSystem& files, const std::string& name) {
  FileDescriptor fd(files.MemfdCreate(name.c_str(), MFD_CLOEXEC), files);
  if (fd.get() < 0) ThrowFileError(errno, "cannot create the file in memory", name);
  return fd;
}

void WriteFile(const FileSystem& files, int fd, const std::string& name,
               std::string_view bytes) {
  if (const int error = WriteAll(files, fd, bytes)) ThrowFileError(error, "cannot write", name);
}

void WriteNewFile(const FileSystem& files, const std::string& path,
                  std::string_view bytes) {
  FileDescriptor fd = CreateExclusively(files, path);
  int error = WriteAll(files, fd.get(), bytes);
  if (error == 0) error = fd.Close();
  if (error != 0) {
    files.Unlink(path.c_str());
    ThrowFileError(error, "cannot write", path);
  }
}

void CreateFolders(const FileSystem& files, const std::string& path) {
  if (path.empty() || path == "/" || path == ".") return;
  if (files.Mkdir(path.c_str(), 0777) == 0) return;
  if (errno == EEXIST) return;
  if (errno != ENOENT) ThrowFileError(errno, "cannot create the folder", path);
  CreateFolders(files, FolderOf(path));
  if (files.Mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    ThrowFileError(errno, "cannot create the folder", path);
  }
}

bool RemoveFile(const FileSystem& files, const std::string& path) noexcept {
  return files.Unlink(path.c_str()) == 0;
}

}  // namespace quenvar
