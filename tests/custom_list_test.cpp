#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "base/text.h"
#include "base/word_array.h"
#include "dictionary/custom_list.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

WordArray CustomWords() { return ThreadCustomWords().words(); }

TEST(CustomList, StartsWithoutStorageAndKeepsWordsAsAdded) {
  OnFreshThread([] {
    EXPECT_EQ(CustomWords(), std::nullopt);
    AddToCustom(u"Quenvar");
    AddToCustom(u"Quenvar");
    AddToCustom(u"");
    AddToCustom(u"New York");
    const std::vector<std::u16string> expected = {u"Quenvar", u"Quenvar", u"",
                                                  u"New York"};
    EXPECT_EQ(CustomWords(), expected);
  });
}

TEST(CustomList, LookupIgnoresCaseOnly) {
  OnFreshThread([] {
    EXPECT_FALSE(IsInCustom(u"anything"));
    AddToCustom(u"\u00C9cole");
    AddToCustom(u"McDonald's");
    EXPECT_TRUE(IsInCustom(u"\u00E9COLE"));
    EXPECT_TRUE(IsInCustom(u"mcdonald's"));
    EXPECT_FALSE(IsInCustom(u"mcdonald"));
    EXPECT_FALSE(IsInCustom(u"ecole"));
  });
}

// The index answers as a scan of every word would, while it grows and after
// a load, for words of any characters: those the custom file's code page
// holds and those it lacks, one that lower-cases into its range (the kelvin
// sign), line breaks, a lone surrogate, the empty word and duplicates.
TEST(CustomList, LookupAgreesWithAScanOfEveryWord) {
  OnFreshThread([] {
    std::vector<std::u16string> added;
    const std::vector<std::u16string> odd = {
        u"\u212Aelvin", u"\u03A9mega", u"two\nlines", u"cr\rhere",
        std::u16string(1, char16_t{0xD800}), u"", u"\u00C9COLE", u"\u0130stanbul"};
    for (int i = 0; i < 3000; ++i) {
      std::u16string word = u"w" + FromUtf8(std::to_string(i * 7919 % 3001));
      if (i % 3 == 0) word = ToUpper(word);
      if (i % 100 == 0) word = odd[static_cast<std::size_t>(i / 100) % odd.size()] + word;
      if (i % 250 == 0) word = odd[static_cast<std::size_t>(i / 250) % odd.size()];
      AddToCustom(word);
      added.push_back(word);
    }
    const auto scan = [](const std::vector<std::u16string>& words, std::u16string_view probe) {
      const std::u16string lowered = ToLower(probe);
      return std::any_of(words.begin(), words.end(),
                         [&](const std::u16string& word) { return ToLower(word) == lowered; });
    };
    const auto expect_agreement = [&](const std::vector<std::u16string>& words) {
      EXPECT_EQ(CustomWords(), words);
      for (int i = 0; i < 3200; i += 3) {
        for (const std::u16string& probe :
             {u"W" + FromUtf8(std::to_string(i)), u"w" + FromUtf8(std::to_string(i)) + u"x"}) {
          ASSERT_EQ(IsInCustom(probe), scan(words, probe)) << ToUtf8(probe);
        }
      }
      for (const std::u16string& probe : odd) {
        ASSERT_EQ(IsInCustom(ToUpper(probe)), scan(words, ToUpper(probe))) << ToUtf8(probe);
      }
      EXPECT_TRUE(IsInCustom(u"KELVIN"));
    };
    expect_agreement(added);

    TempDir dir;
    const std::string path = dir.File("custom.dic");
    WriteBytes(path, "\xC9" "cole\nKelvin\r\nx\r\r\nw17\rW17\n\nw5");
    LoadCustom(FromUtf8(path));
    expect_agreement({u"\u00C9cole", u"Kelvin", u"w17", u"W17", u"w5"});
  });
}

TEST(CustomFile, SavesWindows1252LinesEachEndedByCrLf) {
  TempDir dir;
  OnFreshThread([&] {
    const std::string path = dir.File("custom.dic");
    SaveCustom(FromUtf8(path));
    EXPECT_EQ(ReadBytes(path), "");  // an empty list still makes the file

    AddToCustom(u"caf\u00E9");
    AddToCustom(u"\u20ACuro");
    AddToCustom(u"x");
    AddToCustom(u"\u4E00\u4E8C");  // no Windows-1252 form
    SaveCustom(FromUtf8(path));
    EXPECT_EQ(ReadBytes(path), "caf\xE9\r\n\x80uro\r\nx\r\n??\r\n");
  });
}

TEST(CustomFile, SaveThenLoadGivesTheListBackLessShortEntries) {
  TempDir dir;
  OnFreshThread([&] {
    const std::u16string path = FromUtf8(dir.File("custom.dic"));
    for (const char16_t* word : {u"caf\u00E9", u"a", u"", u"two words", u"ok"}) {
      AddToCustom(word);
    }
    SaveCustom(path);
    AddToCustom(u"added later");
    LoadCustom(path);
    const std::vector<std::u16string> expected = {u"caf\u00E9", u"two words",
                                                  u"ok"};
    EXPECT_EQ(CustomWords(), expected);
  });
}

TEST(CustomFile, LoadReplacesTheListOnlyWhenTheFileHasWords) {
  TempDir dir;
  OnFreshThread([&] {
    AddToCustom(u"kept");
    const std::string empty = dir.File("empty.dic");
    WriteBytes(empty, "a\r\n\r\nb");
    LoadCustom(FromUtf8(empty));
    EXPECT_EQ(CustomWords(), std::vector<std::u16string>{u"kept"});

    const std::string mixed = dir.File("mixed.dic");
    WriteBytes(mixed, "one\ntwo\rthree\r\nfour");  // any line end, last none
    LoadCustom(FromUtf8(mixed));
    const std::vector<std::u16string> expected = {u"one", u"two", u"three",
                                                  u"four"};
    EXPECT_EQ(CustomWords(), expected);
  });
}

TEST(CustomFile, LoadFailuresThrowAndKeepTheList) {
  TempDir dir;
  OnFreshThread([&] {
    AddToCustom(u"kept");
    // Neither waits for a FIFO's writer nor reads a device endlessly.
    const std::string fifo = dir.File("fifo.dic");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
         {dir.File("missing.dic"), dir.path().string(), fifo, std::string("/dev/zero")}) {
      EXPECT_THROW(LoadCustom(FromUtf8(path)), std::system_error) << path;
    }
    EXPECT_THROW(LoadCustom(std::u16string(u"a\0b", 3)), std::system_error);
    EXPECT_EQ(CustomWords(), std::vector<std::u16string>{u"kept"});
  });
}

TEST(CustomFile, LoadTakesAnyBytes) {
  TempDir dir;
  OnFreshThread([&] {
    std::string bytes(100000, 'x');
    bytes += std::string("\r\n\0\0\r\n\xFF\x81", 8);
    const std::string path = dir.File("odd.dic");
    WriteBytes(path, bytes);
    LoadCustom(FromUtf8(path));
    ASSERT_EQ(SafeUpperBound(CustomWords()), 2);
    EXPECT_EQ((*CustomWords())[0].size(), 100000u);
    EXPECT_EQ((*CustomWords())[1], std::u16string(2, u'\0'));
    EXPECT_EQ((*CustomWords())[2], u"\u00FF\u0081");
  });
}

TEST(CustomFile, SaveReplacesAtomicallyAndKeepsOwnerAndPermissions) {
  TempDir dir;
  OnFreshThread([&] {
    const std::string path = dir.File("custom.dic");
    WriteBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0640);
    // Root saving a user's file leaves it the user's.
    const bool root = ::geteuid() == 0;
    if (root) {
      ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    AddToCustom(u"new");
    SaveCustom(FromUtf8(path));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    if (root) {
      EXPECT_EQ(info.st_uid, 65534u);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
  });
}

TEST(CustomFile, SaveFollowsLinksAndReplacesOnlyRegularFiles) {
  TempDir dir;
  OnFreshThread([&] {
    const std::string target = dir.File("real.dic");
    const std::string link = dir.File("link.dic");
    WriteBytes(target, "old\r\n");
    std::filesystem::create_symlink(target, link);
    AddToCustom(u"new");
    SaveCustom(FromUtf8(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    // A dangling link, relative, gets its target created.
    const std::string dangling = dir.File("dangling.dic");
    std::filesystem::create_symlink("made.dic", dangling);
    SaveCustom(FromUtf8(dangling));
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadBytes(dir.File("made.dic")), "new\r\n");
    const std::string fifo = dir.File("fifo.dic");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(SaveCustom(FromUtf8(fifo)), std::system_error);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  });
}

// The kernel's link protection (fs.protected_symlinks), for a system that
// has it off: a link in a sticky folder that every user may write is
// followed only by the link's owner or the folder's.
class ProtectedLinks : public FileSystem {
 public:
  int Open(const char* path, int flags, mode_t mode) const override {
    struct stat link;
    struct stat folder;
    if ((flags & O_NOFOLLOW) == 0 && ::lstat(path, &link) == 0 && S_ISLNK(link.st_mode) &&
        ::stat(std::filesystem::path(path).parent_path().c_str(), &folder) == 0 &&
        (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH) &&
        link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) {
      errno = EACCES;
      return -1;
    }
    return FileSystem::Open(path, flags, mode);
  }
};

// A link that another user plants in a shared folder, pointing at the
// victim's file, stops the victim's save as it stops any program writing
// through it.
TEST(CustomFile, SaveThroughALinkAnotherUserPlantedInASharedFolderFails) {
  if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link takes root";
  TempDir dir;
  const std::string shared = dir.File("shared");
  std::filesystem::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string notes = dir.File("notes.txt");
  WriteBytes(notes, "my notes\n");
  const std::string planted = shared + "/custom.dic";
  std::filesystem::create_symlink(notes, planted);
  ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);  // nobody's
  OnFreshThread([&] {
    if (ReadBytes("/proc/sys/fs/protected_symlinks") != "1\n") {
      SetThreadFileSystem(std::make_unique<ProtectedLinks>());
    }
    AddToCustom(u"word");
    try {
      SaveCustom(FromUtf8(planted));
      ADD_FAILURE() << "the save followed the planted link";
    } catch (const std::system_error& e) {
      EXPECT_EQ(e.code().value(), EACCES);
    }
    SetThreadFileSystem(nullptr);
  });
  EXPECT_EQ(ReadBytes(notes), "my notes\n");
}

TEST(CustomFile, FailedSaveThrowsLeavesTheTargetAndNoStrayFile) {
  TempDir dir;
  OnFreshThread([&] {
    AddToCustom(u"word");
    EXPECT_THROW(SaveCustom(FromUtf8(dir.File("no/such/folder.dic"))),
                 std::system_error);
    // The rename onto a folder fails after the new file was written.
    const std::string folder = dir.File("taken");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/inside", "kept");
    EXPECT_THROW(SaveCustom(FromUtf8(folder)), std::system_error);
    EXPECT_EQ(ReadBytes(folder + "/inside"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
  });
}

// What the tool's add, the pipe's # and the highlighter's Add to Dictionary
// share: every byte of the file stays, each new word comes once, and a word
// the file cannot keep stops the whole merge before anything is written.
TEST(CustomFile, MergeKeepsEveryLineAndAddsEachNewWordOnce) {
  TempDir dir;
  OnFreshThread([&] {
    const std::string path = dir.File("new/folder/personal.dic");
    const std::vector<std::u16string> first = {u"Zorblax", u"zorblax", u"Frimble"};
    EXPECT_EQ(MergeIntoCustomFile(path, first),
              (std::vector<std::u16string>{u"Zorblax", u"Frimble"}));
    EXPECT_EQ(ReadBytes(path), "Zorblax\r\nFrimble\r\n");

    WriteBytes(path, "x\nKeep\ncaf\xE9");  // a short line, LF ends, no last end
    const std::vector<std::u16string> second = {u"keep", u"CAF\u00C9", u"Qux"};
    EXPECT_EQ(MergeIntoCustomFile(path, second), std::vector<std::u16string>{u"Qux"});
    EXPECT_EQ(ReadBytes(path), "x\nKeep\ncaf\xE9\r\nQux\r\n");
    EXPECT_TRUE(MergeIntoCustomFile(path, second).empty());

    const std::vector<std::u16string> bad = {u"Fine", u"\u0141\u00F3d\u017A"};
    EXPECT_THROW(MergeIntoCustomFile(path, bad), Error);
    EXPECT_EQ(ReadBytes(path), "x\nKeep\ncaf\xE9\r\nQux\r\n");
    EXPECT_EQ(CustomWords(), std::nullopt);  // the thread's list is not touched
  });
}

TEST(CustomFile, DefaultFileLivesBesideTheComponent) {
  const std::string path = DefaultCustomFile();
  EXPECT_TRUE(path.ends_with("/qzvcust.dic")) << path;
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(
      std::filesystem::path(path).parent_path()));
}

}  // namespace
}  // namespace quenvar
