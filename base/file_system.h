// The component's file operations. Every one of them takes the FileSystem
// through which it makes its system calls, so that a test can make any call
// fail. Each failure throws std::system_error carrying errno, with the path
// named in what().

#ifndef QUENVARSPELL_BASE_FILE_SYSTEM_H_
#define QUENVARSPELL_BASE_FILE_SYSTEM_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "base/byte_coding.h"

namespace quenvar {

// The system calls through which the operations below, and every other file
// operation of the component, read and change files. Each method makes the
// call of its name and answers as it does: on failure -1, with errno set. A
// test derives from this class to make any of them fail on cue.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int Open(const char* path, int flags, mode_t mode) const;
  virtual ssize_t Read(int fd, void* buffer, std::size_t size) const;
  virtual ssize_t Write(int fd, const void* data, std::size_t size) const;
  virtual int Fsync(int fd) const;
  virtual int Close(int fd) const;
  virtual int Rename(const char* from, const char* to) const;
  virtual int Unlink(const char* path) const;
  virtual int Fstat(int fd, struct stat* info) const;
  virtual int Lstat(const char* path, struct stat* info) const;
  virtual ssize_t ReadLink(const char* path, char* buffer, std::size_t size) const;
  virtual int Fchmod(int fd, mode_t mode) const;
  virtual int Fchown(int fd, uid_t owner, gid_t group) const;
  virtual int Flock(int fd, int operation) const;
  virtual int Mkdir(const char* path, mode_t mode) const;
  virtual off_t Lseek(int fd, off_t offset, int whence) const;
  // Makes an anonymous file in memory, as memfd_create does.
  virtual int MemfdCreate(const char* name, unsigned int flags) const;
  // Gives the unnamed file fd (opened with O_TMPFILE) the name path, as
  // linkat through /proc/self/fd does.
  virtual int LinkOpenFile(int fd, const char* path) const;
};

// A descriptor of files, closed when the object ends unless closed before.
class FileDescriptor {
 public:
  FileDescriptor(int fd, const FileSystem& files) : fd_(fd), files_(files) {}
  FileDescriptor(FileDescriptor&& other) noexcept;
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and answers errno of the close, or 0.
  int Close();

 private:
  int fd_;
  const FileSystem& files_;
};

// The file system of the component's operations on the calling thread: one
// object for the thread's life, which makes the system calls themselves
// unless SetThreadFileSystem put in another.
const FileSystem& ThreadFileSystem();

// From now on, ThreadFileSystem() forwards every call of this thread to
// files; nullptr goes back to the system calls. For tests.
void SetThreadFileSystem(std::unique_ptr<const FileSystem> files);

// The file-system path (UTF-8) of a path given as UTF-16. Throws
// std::system_error (EINVAL) for a path holding a NUL character, which the
// system would silently cut short.
std::string FileSystemPath(std::u16string_view path);

// The whole content of the regular file at path (through symbolic links).
// Anything else (a device, FIFO, socket or directory) is refused at once,
// without waiting for a writer or reading endlessly.
std::string ReadFile(const FileSystem& files, const std::string& path);

// As above, into content, whose storage is reused: when it already holds as
// many bytes as the file, none of it is allocated or cleared again.
void ReadFile(const FileSystem& files, const std::string& path, ByteArray& content);

// As above, from the start of the regular file open as fd; name stands for
// the file in errors.
void ReadFile(const FileSystem& files, int fd, const std::string& name, ByteArray& content);

// Replaces the regular file at path with bytes, atomically, reaching it as a
// program writing path would: the kernel follows path's symbolic links
// (which stay links) under its own protection (fs.protected_symlinks) and
// checks that the caller may write the file, so a save fails wherever
// opening path for writing would. The bytes go to a new unnamed file in the
// file's folder (or, where the file system cannot make one, a uniquely named
// one), which is flushed, named and renamed over it, and the folder is
// flushed. The replaced file's owner, group and mode are kept; a new file
// gets the permissions the process's umask gives, and a dangling link gets
// its target created through it. Refuses, leaving the file as it was: a
// target that is not a regular file (EINVAL), one with other hard links,
// which a new file would part it from (EMLINK), one the caller may not write
// (EACCES, also for root-owned protection the process lacks) and one whose
// owner it cannot keep (EPERM). On any failure the old file is left exactly
// as it was and no new file remains; only a save killed after creating a
// dangling link's target leaves that target behind, empty.
void ReplaceFile(const FileSystem& files, const std::string& path,
                 std::string_view bytes);

// How long FileLock waits for a lock that another process holds.
inline constexpr std::chrono::seconds kLockWait(5);

// An advisory lock (flock) on the file "<path>.lock" beside the name path
// gives (also when path is a link), held for the object's life; the file is
// created when missing. Waits at most kLockWait for another process that
// holds it, then throws std::system_error (EWOULDBLOCK) saying so. Throws
// at once when the lock file cannot be opened or is not a regular file
// (EINVAL): a link is not followed, nor a FIFO waited on.
class FileLock {
 public:
  FileLock(const FileSystem& files, const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  const FileSystem& files_;
  int fd_;
};

// Creates the file at path, open for reading and writing, mode 0600,
// failing if any file or link of that name exists already (so no planted
// link is followed).
FileDescriptor CreateExclusively(const FileSystem& files, const std::string& path);

// An anonymous file in memory (memfd_create), open for reading and writing,
// which no name in any folder reaches; name labels it for the system.
FileDescriptor CreateMemoryFile(const FileSystem& files, const std::string& name);

// Writes all of bytes to fd; name stands for the file in errors.
void WriteFile(const FileSystem& files, int fd, const std::string& name,
               std::string_view bytes);

// Creates the file at path with bytes, mode 0600, failing if any file or
// link of that name exists already (so no planted link is followed). A file
// created but not completely written is removed again.
void WriteNewFile(const FileSystem& files, const std::string& path,
                  std::string_view bytes);

// Creates the folder at path and each missing folder above it, with the
// permissions the process's umask gives; an existing folder is left as it
// is. Throws std::system_error naming the folder that cannot be made.
void CreateFolders(const FileSystem& files, const std::string& path);

// Deletes the file at path; answers false when that fails, for any reason.
bool RemoveFile(const FileSystem& files, const std::string& path) noexcept;

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_FILE_SYSTEM_H_
