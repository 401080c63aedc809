// The component's state, held once per thread and shared by every SpellCheck
// object of that thread. Different threads never see each other's state.
// Each subsystem declares the accessor of its own part next to its type;
// they are defined here together.

#include <memory>
#include <string>
#include <utility>

#include "base/file_system.h"
#include "component/widgets_library.h"
#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/ranked_suggestions.h"
#include "suggest/similarity.h"
#include "sysinfo/sys_info.h"

namespace quenvar {
namespace {

// The thread's file system: forwards each call to the one a test put in, or
// makes the system call itself. It stays one object for the thread's life,
// since the thread's SysInfo holds on to it.
class ThreadFiles final : public FileSystem {
 public:
  int Open(const char* path, int flags, mode_t mode) const override {
    return replacement ? replacement->Open(path, flags, mode)
                       : FileSystem::Open(path, flags, mode);
  }
  ssize_t Read(int fd, void* buffer, std::size_t size) const override {
    return replacement ? replacement->Read(fd, buffer, size)
                       : FileSystem::Read(fd, buffer, size);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) const override {
    return replacement ? replacement->Write(fd, data, size)
                       : FileSystem::Write(fd, data, size);
  }
  int Fsync(int fd) const override {
    return replacement ? replacement->Fsync(fd) : FileSystem::Fsync(fd);
  }
  int Close(int fd) const override {
    return replacement ? replacement->Close(fd) : FileSystem::Close(fd);
  }
  int Rename(const char* from, const char* to) const override {
    return replacement ? replacement->Rename(from, to)
                       : FileSystem::Rename(from, to);
  }
  int Unlink(const char* path) const override {
    return replacement ? replacement->Unlink(path) : FileSystem::Unlink(path);
  }
  int Fstat(int fd, struct stat* info) const override {
    return replacement ? replacement->Fstat(fd, info) : FileSystem::Fstat(fd, info);
  }
  int Lstat(const char* path, struct stat* info) const override {
    return replacement ? replacement->Lstat(path, info) : FileSystem::Lstat(path, info);
  }
  ssize_t ReadLink(const char* path, char* buffer, std::size_t size) const override {
    return replacement ? replacement->ReadLink(path, buffer, size)
                       : FileSystem::ReadLink(path, buffer, size);
  }
  int Fchmod(int fd, mode_t mode) const override {
    return replacement ? replacement->Fchmod(fd, mode) : FileSystem::Fchmod(fd, mode);
  }
  int Fchown(int fd, uid_t owner, gid_t group) const override {
    return replacement ? replacement->Fchown(fd, owner, group)
                       : FileSystem::Fchown(fd, owner, group);
  }
  int Flock(int fd, int operation) const override {
    return replacement ? replacement->Flock(fd, operation)
                       : FileSystem::Flock(fd, operation);
  }
  int Mkdir(const char* path, mode_t mode) const override {
    return replacement ? replacement->Mkdir(path, mode) : FileSystem::Mkdir(path, mode);
  }
  off_t Lseek(int fd, off_t offset, int whence) const override {
    return replacement ? replacement->Lseek(fd, offset, whence)
                       : FileSystem::Lseek(fd, offset, whence);
  }
  int MemfdCreate(const char* name, unsigned int flags) const override {
    return replacement ? replacement->MemfdCreate(name, flags)
                       : FileSystem::MemfdCreate(name, flags);
  }
  int LinkOpenFile(int fd, const char* path) const override {
    return replacement ? replacement->LinkOpenFile(fd, path)
                       : FileSystem::LinkOpenFile(fd, path);
  }

  std::unique_ptr<const FileSystem> replacement;
};

struct ThreadState {
  ThreadFiles files;  // first: sys_info holds on to it
  MainWordList sDicWords;
  CustomWordList sCustomWords;
  // Hands out the temp file names of the built-in list's load, and deletes
  // any such file still left when the thread's state ends.
  SysInfo sys_info{files};
  SimilarityArrays similarity;
  RankedState ranked;  // after sDicWords, whose entries it refers to
  std::string scratch_bytes;
  WidgetsEntryPoints widgets;
};

ThreadState& State() {
  // Held through a pointer so that the thread-local block stays small for
  // every thread of the host, not only those that use the component.
  thread_local const std::unique_ptr<ThreadState> state =
      std::make_unique<ThreadState>();
  return *state;
}

}  // namespace

const FileSystem& ThreadFileSystem() { return State().files; }

void SetThreadFileSystem(std::unique_ptr<const FileSystem> files) {
  State().files.replacement = std::move(files);
}

MainWordList& ThreadDicWords() { return State().sDicWords; }
CustomWordList& ThreadCustomWords() { return State().sCustomWords; }
SysInfo& ThreadSysInfo() { return State().sys_info; }
SimilarityArrays& ThreadSimilarityArrays() { return State().similarity; }
RankedState& ThreadRankedState() { return State().ranked; }
std::string& ThreadScratchBytes() { return State().scratch_bytes; }
WidgetsEntryPoints& ThreadWidgetsEntryPoints() { return State().widgets; }

}  // namespace quenvar
