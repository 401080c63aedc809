#include "lsp/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

namespace quenvar::lsp {

FileWatch::FileWatch(const std::vector<std::filesystem::path>& folders, std::string name)
    : name_(std::move(name)) {
  if (folders.empty()) return;
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  bool watching = false;
  for (const std::filesystem::path& folder : folders) {
    watching |= ::inotify_add_watch(fd_, folder.c_str(),
                                    IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                        IN_MOVED_TO) >= 0;
  }
  if (!watching) {
    ::close(fd_);
    fd_ = -1;
  }
}

FileWatch::~FileWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileWatch::Changed() {
  bool changed = false;
  alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + 256)];
  ssize_t got;
  while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
    for (char* at = buffer; at < buffer + got;) {
      inotify_event event;
      std::memcpy(&event, at, sizeof event);
      const char* event_name = at + sizeof event;
      changed |= event.len > 0 && name_ == event_name;
      at += sizeof event + event.len;
    }
  }
  return changed;
}

}  // namespace quenvar::lsp
