// Failures of the system calls under the custom file's save, the built-in
// list's load and the compression wrapper's files, made on cue: each must
// throw, keep the old data, and leave no file behind; a temp folder that
// cannot serve the built-in list's load must not stop it.

#include <gtest/gtest.h>
#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "compression/zlib_wrapper.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "sysinfo/sys_info.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteBytes;

enum class Step { kCreate, kWrite, kFsync, kLink, kClose, kRename, kRead };

// Makes one step fail with error; a failing write first writes half of what
// it was given, as a disk that fills up midway does.
class FaultyFileSystem : public FileSystem {
 public:
  FaultyFileSystem(Step step, int error) : step_(step), error_(error) {}

  int Open(const char* path, int flags, mode_t mode) const override {
    const bool creates = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    if (step_ == Step::kCreate && creates) return Fail();
    return FileSystem::Open(path, flags, mode);
  }
  int MemfdCreate(const char* name, unsigned int flags) const override {
    return step_ == Step::kCreate ? Fail() : FileSystem::MemfdCreate(name, flags);
  }
  ssize_t Read(int fd, void* buffer, std::size_t size) const override {
    return step_ == Step::kRead ? Fail() : FileSystem::Read(fd, buffer, size);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) const override {
    if (step_ != Step::kWrite) return FileSystem::Write(fd, data, size);
    if (size > 1 && !wrote_half_) {
      wrote_half_ = true;
      return FileSystem::Write(fd, data, size / 2);
    }
    return Fail();
  }
  int Fsync(int fd) const override {
    return step_ == Step::kFsync ? Fail() : FileSystem::Fsync(fd);
  }
  int Close(int fd) const override {
    const int result = FileSystem::Close(fd);
    return step_ == Step::kClose ? Fail() : result;
  }
  int LinkOpenFile(int fd, const char* path) const override {
    return step_ == Step::kLink ? Fail() : FileSystem::LinkOpenFile(fd, path);
  }
  int Rename(const char* from, const char* to) const override {
    return step_ == Step::kRename ? Fail() : FileSystem::Rename(from, to);
  }

 private:
  int Fail() const {
    errno = error_;
    return -1;
  }

  Step step_;
  int error_;
  mutable bool wrote_half_ = false;
};

struct Fault {
  Step step;
  int error;
};

constexpr Fault kFaults[] = {
    {Step::kCreate, EACCES}, {Step::kCreate, ENOSPC}, {Step::kWrite, ENOSPC},
    {Step::kFsync, EIO},     {Step::kLink, ENOSPC},   {Step::kClose, EIO},
    {Step::kRename, EXDEV},
};

std::size_t FilesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(folder),
                    std::filesystem::directory_iterator()));
}

// Runs body with this thread's file operations failing as fault says.
template <typename Body>
void WithFault(Fault fault, Body body) {
  SetThreadFileSystem(
      std::make_unique<FaultyFileSystem>(fault.step, fault.error));
  body();
  SetThreadFileSystem(nullptr);
}

TEST(FileFaults, FailedSaveKeepsTheOldFileByteForByte) {
  TempDir dir;
  const std::string path = dir.File("custom.dic");
  const std::string old_bytes = "first\r\nsecond\r\n\xE9t\xE9\r\n";
  OnFreshThread([&] {
    for (int word = 0; word < 1000; ++word) {
      AddToCustom(u"word" + FromUtf8(std::to_string(word)));
    }
    for (const Fault fault : kFaults) {
      SCOPED_TRACE(std::strerror(fault.error));
      WriteBytes(path, old_bytes);
      WithFault(fault, [&] {
        try {
          SaveCustom(FromUtf8(path));
          ADD_FAILURE() << "a failed save reported success";
        } catch (const std::system_error& e) {
          EXPECT_EQ(e.code().value(), fault.error);
          EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
      });
      EXPECT_EQ(ReadBytes(path), old_bytes);
      EXPECT_EQ(FilesIn(dir.path()), 1u);
    }
    // A dangling link's target, made by the save, goes again.
    const std::string link = dir.File("link.dic");
    std::filesystem::create_symlink("made.dic", link);
    for (const Fault fault : kFaults) {
      SCOPED_TRACE(std::strerror(fault.error));
      WithFault(fault, [&] { EXPECT_THROW(SaveCustom(FromUtf8(link)), std::system_error); });
      EXPECT_EQ(FilesIn(dir.path()), 2u);
    }
    // With the faults gone the same list saves.
    SaveCustom(FromUtf8(path));
    EXPECT_EQ(ReadBytes(path).substr(0, 7), "word0\r\n");
  });
}

// A temp folder that cannot serve the load: creating a file in it fails
// with create_error (EEXIST: every name is taken), or, when that is 0, a
// write to a file made in it fails as on a full disk.
class UnusableTempFolder : public FileSystem {
 public:
  UnusableTempFolder(std::string folder, int create_error)
      : folder_(std::move(folder)), create_error_(create_error) {}
  int Open(const char* path, int flags, mode_t mode) const override {
    if (!(flags & O_CREAT) || !std::string_view(path).starts_with(folder_)) {
      return FileSystem::Open(path, flags, mode);
    }
    if (create_error_ != 0) {
      errno = create_error_;
      return -1;
    }
    const int fd = FileSystem::Open(path, flags, mode);
    if (fd >= 0) in_folder_.insert(fd);
    return fd;
  }
  ssize_t Write(int fd, const void* data, std::size_t size) const override {
    if (!in_folder_.contains(fd)) return FileSystem::Write(fd, data, size);
    errno = ENOSPC;
    return -1;
  }
  int Close(int fd) const override {
    in_folder_.erase(fd);
    return FileSystem::Close(fd);
  }

 private:
  std::string folder_;
  int create_error_;
  mutable std::set<int> in_folder_;
};

TEST(FileFaults, InitLoadsThroughMemoryWhenTheTempFolderCannotServe) {
  TempDir tmp;
  OnFreshThread([&] {
    SpellCheck speller;
    {
      ScopedEnv missing("TMPDIR", tmp.File("missing"));
      speller.Init();
      EXPECT_TRUE(speller.CheckWord(u"hello"));
    }
    ScopedEnv env("TMPDIR", tmp.path().string());
    for (const int error : {EEXIST, EACCES, EROFS, 0}) {
      SCOPED_TRACE(error == 0 ? "full" : std::strerror(error));
      ThreadDicWords() = MainWordList();
      SetThreadFileSystem(std::make_unique<UnusableTempFolder>(tmp.path(), error));
      speller.Init();
      SetThreadFileSystem(nullptr);
      EXPECT_TRUE(speller.CheckWord(u"hello"));
      EXPECT_FALSE(speller.CheckWord(u"helllo"));
      EXPECT_EQ(FilesIn(tmp.path()), 0u);
      EXPECT_TRUE(ThreadSysInfo().TempFiles().empty());
    }
  });
}

TEST(FileFaults, FailedInitThrowsAndKeepsTheLoadedList) {
  TempDir tmp;
  ScopedEnv env("TMPDIR", tmp.path().string());
  OnFreshThread([&] {
    SpellCheck speller;
    // Writes failing everywhere, on the first load, leave the list empty.
    WithFault({Step::kWrite, ENOSPC}, [&] {
      EXPECT_THROW(speller.Init(), std::system_error);
    });
    EXPECT_EQ(ThreadDicWords().Entry(0), "");
    EXPECT_EQ(FilesIn(tmp.path()), 0u);

    speller.Init();
    const std::string first = std::string(ThreadDicWords().Entry(0));
    for (const Fault fault : {Fault{Step::kCreate, EMFILE},
                              Fault{Step::kWrite, EIO},
                              Fault{Step::kRead, EIO}}) {
      SCOPED_TRACE(std::strerror(fault.error));
      WithFault(fault, [&] {
        try {
          speller.Init();
          ADD_FAILURE() << "a failed load reported success";
        } catch (const std::system_error& e) {
          EXPECT_EQ(e.code().value(), fault.error);
        }
      });
      EXPECT_EQ(ThreadDicWords().Entry(0), first);
      EXPECT_TRUE(speller.CheckWord(u"hello"));
      EXPECT_FALSE(speller.CheckWord(u"helllo"));
      EXPECT_EQ(FilesIn(tmp.path()), 0u);
    }
  });
}

TEST(FileFaults, WrapperFilesFailWithTheSystemsErrorAndLeaveNoOutput) {
  TempDir dir;
  const std::u16string plain = FromUtf8(dir.File("plain"));
  const std::u16string packed = FromUtf8(dir.File("packed"));
  const std::u16string out = FromUtf8(dir.File("out"));
  OnFreshThread([&] {
    WriteBytes(dir.File("plain"), std::string(5000, 'q'));
    ZlibWrapper wrapper(ThreadFileSystem());
    wrapper.CompressFile(plain, packed, 9);
    for (const Fault fault : {Fault{Step::kRead, EIO},
                              Fault{Step::kCreate, EACCES},
                              Fault{Step::kWrite, ENOSPC},
                              Fault{Step::kClose, EIO}}) {
      SCOPED_TRACE(std::strerror(fault.error));
      WithFault(fault, [&] {
        for (const bool compress : {true, false}) {
          try {
            compress ? wrapper.CompressFile(plain, out, 9)
                     : wrapper.DecompressFile(packed, out);
            ADD_FAILURE() << "a failed file operation reported success";
          } catch (const std::system_error& e) {
            EXPECT_EQ(e.code().value(), fault.error);
          }
          EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
        }
      });
    }
  });
}

}  // namespace
}  // namespace quenvar
