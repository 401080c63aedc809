#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <system_error>

#include "base/file_system.h"
#include "sysinfo/sys_info.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteBytes;

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

TEST(SysInfo, TempPathIsTmpdirOrTmpEndingInOneSeparator) {
  const SysInfo info(ThreadFileSystem());
  struct Case {
    std::optional<std::string> tmpdir;
    const char* expected;
  } cases[] = {
      {"/var/tmp/x", "/var/tmp/x/"},
      {"/var/tmp/x/", "/var/tmp/x/"},
      {"", "/tmp/"},
      {std::nullopt, "/tmp/"},
      {std::string(PATH_MAX, 'a'), "/tmp/"},  // cannot be a folder's path
  };
  for (const Case& c : cases) {
    ScopedEnv env("TMPDIR", c.tmpdir);
    EXPECT_EQ(info.TempPath(), c.expected) << c.tmpdir.value_or("(unset)");
  }
}

TEST(SysInfo, SystemDirectoryIsTheCLibrarysFolder) {
  const std::string folder = SysInfo(ThreadFileSystem()).SystemDirectory();
  ASSERT_GT(folder.size(), 1u);
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_NE(folder.substr(folder.size() - 2), "//");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(SysInfo, CreateTempFileNamesAFreeFileAndRecordsItOnRequest) {
  TempDir dir;
  const std::string folder = dir.path().string() + "/";
  SysInfo info(ThreadFileSystem());

  const std::string name = info.CreateTempFile(folder, "qzv", true);
  EXPECT_TRUE(std::regex_match(name.substr(folder.size()),
                               std::regex("qzv[0-9A-F]{4}\\.TMP")))
      << name;
  EXPECT_EQ(name.substr(0, folder.size()), folder);
  EXPECT_FALSE(Exists(name));
  ASSERT_EQ(info.TempFiles().size(), 1u);
  EXPECT_EQ(info.TempFiles().back(), name);

  info.CreateTempFile(folder, "qzv", false);
  EXPECT_EQ(info.TempFiles().size(), 1u);

  // The folder gets its separator; the prefix keeps three characters.
  const std::string other =
      info.CreateTempFile(dir.path().string(), "\u00E9t\u00E9s", true);
  EXPECT_TRUE(std::regex_match(other.substr(folder.size()),
                               std::regex("\u00E9t\u00E9[0-9A-F]{4}\\.TMP")))
      << other;
  EXPECT_EQ(info.TempFiles().back(), other);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SysInfo, CreateTempFileFailsForAMissingFolderAndRecordsNothing) {
  TempDir dir;
  SysInfo info(ThreadFileSystem());
  for (const std::string& folder : {dir.File("missing/"), std::string()}) {
    try {
      info.CreateTempFile(folder, "qzv", true);
      ADD_FAILURE() << "made a name in '" << folder << "'";
    } catch (const std::system_error& e) {
      EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
      EXPECT_NE(std::string(e.what()).find(folder), std::string::npos);
    }
  }
  EXPECT_TRUE(info.TempFiles().empty());
}

TEST(SysInfo, DeleteTempFilesToleratesFilesAlreadyGone) {
  TempDir dir;
  SysInfo info(ThreadFileSystem());
  // Each file is made at once, so that the next name differs.
  const std::string first = info.CreateTempFile(dir.File(""), "qzv", true);
  WriteBytes(first, "left behind");
  const std::string second = info.CreateTempFile(dir.File(""), "qzv", true);
  WriteBytes(second, "left behind");
  std::filesystem::remove(first);

  info.DeleteTempFiles();
  EXPECT_FALSE(Exists(second));
  EXPECT_TRUE(info.TempFiles().empty());
  info.DeleteTempFiles();
  EXPECT_TRUE(info.TempFiles().empty());
}

TEST(SysInfo, EndOfTheObjectDeletesRecordedFilesOnly) {
  TempDir dir;
  std::string recorded, unrecorded;
  {
    SysInfo info(ThreadFileSystem());
    recorded = info.CreateTempFile(dir.File(""), "qzv", true);
    WriteBytes(recorded, "x");
    unrecorded = info.CreateTempFile(dir.File(""), "qzv", false);
    WriteBytes(unrecorded, "x");
  }
  EXPECT_FALSE(Exists(recorded));
  EXPECT_TRUE(Exists(unrecorded));
}

}  // namespace
}  // namespace quenvar
