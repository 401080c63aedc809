// The component's file operations. Each failure throws std::system_error
// carrying errno, with the path named in what().

#ifndef QUENVARSPELL_COMPONENT_FILE_IO_H_
#define QUENVARSPELL_COMPONENT_FILE_IO_H_

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quenvar {

// The system calls through which the operations below change and read
// files. Each method makes the call of its name and answers as it does: on
// failure -1, with errno set. A test derives from this class to make any of
// them fail; the component's own calls go through the one in this thread's
// state.
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
};

// The file-system path (UTF-8) of a path given as UTF-16. Throws
// std::system_error (EINVAL) for a path holding a NUL character, which the
// system would silently cut short.
std::string FileSystemPath(std::u16string_view path);

// The whole content of the file at path.
std::string ReadFile(const std::string& path,
                     const FileSystem& files = FileSystem());

// Replaces the file at path (following a symbolic link to its target) with
// bytes, atomically: the bytes go to a new file in the same folder, which is
// flushed to disk and then renamed over the target. On any failure the old
// file is left exactly as it was and no new file remains. A new target gets
// the permissions the process's umask gives; an existing one keeps its own.
void ReplaceFile(const std::string& path, std::string_view bytes,
                 const FileSystem& files = FileSystem());

// Creates the file at path with bytes, mode 0600, failing if any file or
// link of that name exists already (so no planted link is followed). A file
// created but not completely written is removed again.
void WriteNewFile(const std::string& path, std::string_view bytes,
                  const FileSystem& files = FileSystem());

// Deletes the file at path; answers false when that fails, for any reason.
bool RemoveFile(const std::string& path,
                const FileSystem& files = FileSystem()) noexcept;

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_FILE_IO_H_
