// Notice of changes to a file of a given name in some folders, through
// inotify: the project word lists at the workspace roots.

#ifndef QUENVARSPELL_LSP_FILE_WATCH_H_
#define QUENVARSPELL_LSP_FILE_WATCH_H_

#include <filesystem>
#include <string>
#include <vector>

namespace quenvar::lsp {

class FileWatch {
 public:
  // Watches the file name in each folder for being written, created,
  // replaced, moved or removed. Folders that cannot be watched are left out.
  FileWatch(const std::vector<std::filesystem::path>& folders, std::string name);
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // The descriptor that becomes readable when something happened; -1 when
  // nothing is watched.
  int fd() const { return fd_; }

  // Takes what happened, without waiting; true when it concerned the file.
  bool Changed();

 private:
  int fd_ = -1;
  std::string name_;
};

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_FILE_WATCH_H_
