#include <fcntl.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "base/text.h"
#include "base/text_lines.h"
#include "compression/zlib_wrapper.h"
#include "dictionary/main_dictionary.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "sysinfo/sys_info.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::ScopedEnv;
using testing::TempDir;

ByteArray Blob() {
  const std::span<const std::uint8_t> blob = FindResource("DIC", 101);
  return ByteArray(blob.begin(), blob.end());
}

// The built-in word list text, as the blob holds it.
std::string BuiltInText() {
  ByteArray data = Blob();
  const std::int32_t size =
      data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24;
  ZlibWrapper wrapper(ThreadFileSystem());
  EXPECT_EQ(wrapper.DecompressByteArray(data, size, 4), Z_OK);
  EXPECT_EQ(static_cast<std::int32_t>(data.size()), size);
  return std::string(data.begin(), data.end());
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

TEST(BuiltInWordList, BlobIsLengthStreamAndZeroByte) {
  const ByteArray blob = Blob();
  ASSERT_GT(blob.size(), 7u);
  EXPECT_EQ(blob[4], 0x78);
  EXPECT_EQ(blob[5], 0xDA);
  EXPECT_EQ(blob.back(), 0);
  EXPECT_THROW(FindResource("DIC", 103), Error);
  EXPECT_THROW(FindResource("ZLIB.DLL", 101), Error);
}

TEST(BuiltInWordList, TextIsSortedUniqueLowerCaseCrLfLines) {
  const std::string text = BuiltInText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  const std::vector<std::string> lines = Lines(text);
  std::size_t crlf = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++crlf;
  }
  EXPECT_EQ(crlf + 1, lines.size());  // no other line ends
  std::int32_t stored = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(lines[i - 1], lines[i]) << "line " << i;  // bytes ascend
    }
    EXPECT_EQ(ToSingleByte(ToLower(FromSingleByte(lines[i]))), lines[i]);
    stored += lines[i].size() >= 2;
  }
  EXPECT_EQ(stored, kDicCapacity);
}

TEST(Init, StoresEveryLineOfTwoOrMoreCharactersInOrder) {
  TempDir tmp;
  ScopedEnv env("TMPDIR", tmp.path().string());
  OnFreshThread([&] {
    SpellCheck().Init();
    const MainWordList& list = ThreadDicWords();
    std::int32_t index = 0;
    for (const std::string& line : Lines(BuiltInText())) {
      if (line.size() < 2) continue;
      ASSERT_LT(index, kDicCapacity);
      ASSERT_EQ(list.Entry(index), line) << index;
      ++index;
    }
    EXPECT_EQ(index, kDicCapacity);
    EXPECT_EQ(list.Entry(0), "aa");
    EXPECT_TRUE(list.BucketContains("house"));

    // The temp file went again, and so did the record of its name: a file
    // another program makes under it later is not the thread's to delete.
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
    EXPECT_TRUE(ThreadSysInfo().TempFiles().empty());
  });
}

TEST(Init, SecondCallLeavesListAndIndexAsTheFirst) {
  TempDir tmp;
  ScopedEnv env("TMPDIR", tmp.path().string());
  OnFreshThread([&] {
    SpellCheck speller;
    speller.Init();
    const MainWordList& list = ThreadDicWords();
    std::vector<std::string> entries;
    for (std::int32_t i = 0; i < kDicCapacity; ++i) {
      entries.emplace_back(list.Entry(i));
    }
    std::vector<std::int32_t> starts, ends;
    for (std::uint32_t key = 0; key < 65536; ++key) {
      starts.push_back(list.PrefixStart(key));
      ends.push_back(list.PrefixEnd(key));
    }

    SpellCheck().Init();
    for (std::int32_t i = 0; i < kDicCapacity; ++i) {
      ASSERT_EQ(list.Entry(i), entries[static_cast<std::size_t>(i)]) << i;
    }
    for (std::uint32_t key = 0; key < 65536; ++key) {
      ASSERT_EQ(list.PrefixStart(key), starts[key]) << key;
      ASSERT_EQ(list.PrefixEnd(key), ends[key]) << key;
    }
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
    EXPECT_TRUE(ThreadSysInfo().TempFiles().empty());
  });
}

TEST(Init, RealWordsAndMisspellings) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.Init();
    for (const char16_t* word : {u"house", u"spelling", u"HOUSE", u"house's",
                                 u"receive", u"\u00E9tude"}) {
      EXPECT_EQ(speller.CheckWord(word, kFalse), kTrue) << ToUtf8(word);
    }
    for (const char16_t* word : {u"recieve", u"wrld", u"housse"}) {
      EXPECT_EQ(speller.CheckWord(word, kFalse), kFalse) << ToUtf8(word);
    }
  });
}

// Another user of a temp folder without the sticky bit, who renames a list
// of their own over the load's file once the load has created it; and a
// watch on the folder whenever a kill could strike during the writing and
// reading back of the text, when no file of the load may be named.
class RenamesOverTheLoadsFile : public FileSystem {
 public:
  RenamesOverTheLoadsFile(std::string folder, std::string planted)
      : folder_(std::move(folder)), planted_(std::move(planted)) {}
  int Open(const char* path, int flags, mode_t mode) const override {
    const int fd = FileSystem::Open(path, flags, mode);
    // The first creation of the name makes it unique, the second is the
    // load's own.
    if (fd >= 0 && (flags & O_CREAT) && std::string_view(path).starts_with(folder_ + "/qzv") &&
        ++creations == 2) {
      std::filesystem::rename(planted_, path);
    }
    return fd;
  }
  ssize_t Write(int fd, const void* data, std::size_t size) const override {
    named_while_busy += !std::filesystem::is_empty(folder_);
    return FileSystem::Write(fd, data, size);
  }
  ssize_t Read(int fd, void* buffer, std::size_t size) const override {
    named_while_busy += !std::filesystem::is_empty(folder_);
    return FileSystem::Read(fd, buffer, size);
  }

  mutable int creations = 0;
  mutable int named_while_busy = 0;

 private:
  std::string folder_;
  std::string planted_;
};

TEST(Init, ReadsBackItsOwnFileAndNamesNoneWhileItWorks) {
  TempDir tmp;
  TempDir elsewhere;
  ScopedEnv env("TMPDIR", tmp.path().string());
  const std::string planted = elsewhere.File("list");
  testing::WriteBytes(planted, "aa\r\nrecieve\r\n");
  OnFreshThread([&] {
    auto owned = std::make_unique<RenamesOverTheLoadsFile>(tmp.path(), planted);
    const RenamesOverTheLoadsFile& files = *owned;
    SetThreadFileSystem(std::move(owned));
    SpellCheck speller;
    speller.Init();
    EXPECT_EQ(files.creations, 2);  // the folder served: a named file, not memory
    EXPECT_EQ(files.named_while_busy, 0);
    SetThreadFileSystem(nullptr);
    EXPECT_FALSE(speller.CheckWord(u"recieve"));
    EXPECT_TRUE(speller.CheckWord(u"house"));
    EXPECT_TRUE(ThreadSysInfo().TempFiles().empty());
  });
}

TEST(LoadMainDictionaryFrom, RejectsDamagedBlobsAndChangesNothing) {
  TempDir tmp;
  ScopedEnv env("TMPDIR", tmp.path().string());
  OnFreshThread([&] {
    const ByteArray good = Blob();
    ByteArray truncated(good.begin(), good.begin() + std::ssize(good) / 2);
    ByteArray flipped = good;
    flipped[good.size() / 2] ^= 0x55;
    ByteArray wrong_length = good;
    wrong_length[0] ^= 1;
    for (const ByteArray& blob :
         {truncated, flipped, wrong_length, ByteArray{1, 0, 0}}) {
      EXPECT_THROW(LoadMainDictionaryFrom(blob), Error);
    }
    EXPECT_EQ(ThreadDicWords().Entry(0), "");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
  });
}

}  // namespace
}  // namespace quenvar
