#include <gtest/gtest.h>
#include <pwd.h>
#include <quenvarspell/spell_check.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "sysinfo/sys_info.h"
#include "sysinfo/system_services.h"

namespace quenvar {
namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// Answers what its fields say and records every argument it is handed, so
// that no test reaches the real system's settings.
class FakeServices final : public SystemServices {
 public:
  std::uint32_t serial = 0;
  std::string label;
  std::int32_t drive_type = kDriveFixed;
  std::int32_t double_click = 0;
  VersionRecord version;
  std::int32_t keyboard[3] = {};  // by type flag
  std::string temp_path, system_directory, windows_directory, user_name,
      computer_name;
  DiskSpaceCounts disk;
  MemoryStatus memory;

  mutable std::vector<std::string> asked;  // paths, in order
  mutable std::vector<std::string> set;    // settings asked for, in order

  std::uint32_t VolumeSerialNumber(const std::string& root) const override {
    asked.push_back(root);
    return serial;
  }
  std::string VolumeLabel(const std::string& root) const override {
    asked.push_back(root);
    return label;
  }
  void SetVolumeLabel(const std::string& root,
                      const std::string& text) const override {
    set.push_back("label " + root + "=" + text);
  }
  std::int32_t DriveTypeOf(const std::string& root) const override {
    asked.push_back(root);
    return drive_type;
  }
  std::int32_t DoubleClickTime() const override { return double_click; }
  void SetDoubleClickTime(std::int32_t milliseconds) const override {
    set.push_back("double-click " + std::to_string(milliseconds));
  }
  VersionRecord Version() const override { return version; }
  std::int32_t KeyboardType(int type_flag) const override {
    return keyboard[type_flag];
  }
  void TempPath(std::string& buffer) const override { Fill(buffer, temp_path); }
  void SystemDirectory(std::string& buffer) const override {
    Fill(buffer, system_directory);
  }
  void WindowsDirectory(std::string& buffer) const override {
    Fill(buffer, windows_directory);
  }
  void UserName(std::string& buffer) const override { Fill(buffer, user_name); }
  void ComputerName(std::string& buffer) const override {
    Fill(buffer, computer_name);
  }
  void SetComputerName(const std::string& name) const override {
    set.push_back("computer " + name);
  }
  DiskSpaceCounts DiskFreeSpace(const std::string& directory) const override {
    asked.push_back(directory);
    return disk;
  }
  MemoryStatus GlobalMemoryStatus() const override { return memory; }

  static void Fill(std::string& buffer, const std::string& text) {
    ASSERT_EQ(buffer, std::string(kServiceBufferLength, '\0'));
    text.copy(buffer.data(), text.size());
  }
};

VersionRecord Version(std::uint32_t platform, std::uint32_t major,
                      std::uint32_t minor, std::uint32_t build,
                      const std::string& csd) {
  VersionRecord record;
  record.platform_id = platform;
  record.major_version = major;
  record.minor_version = minor;
  record.build_number = build;
  csd.copy(record.csd_version.data(), csd.size());
  return record;
}

TEST(SystemQueries, SerialNumberAsNumberAndAsPaddedText) {
  FakeServices fake;
  const SysInfo info(fake, ThreadFileSystem());
  struct Case {
    std::uint32_t serial;
    std::int32_t number;
    const char16_t* text;
  } cases[] = {
      {0x8000ABCD, -2147439667, u"8000:ABCD"},
      {0x1A2B3C4D, 0x1A2B3C4D, u"1A2B:3C4D"},
      {0xABC, 0xABC, u"0000:0ABC"},  // the halves never overlap
      {0, 0, u"0000:0000"},
  };
  for (const Case& c : cases) {
    fake.serial = c.serial;
    EXPECT_EQ(info.SerialNumber("C:", false), Variant(c.number)) << c.serial;
    EXPECT_EQ(info.SerialNumber("C:", true), Variant(std::u16string(c.text)));
  }
  EXPECT_EQ(fake.asked.back(), "C:/");
}

TEST(SystemQueries, VolumeNameReadsTheRootAndWritesSDriveUnchanged) {
  FakeServices fake;
  fake.label = "DATA";
  const SysInfo info(fake, ThreadFileSystem());
  EXPECT_EQ(info.VolumeName("/media/x"), "DATA");
  EXPECT_EQ(fake.asked, std::vector<std::string>{"/media/x/"});
  info.VolumeName("/media/x", "BACKUP");
  EXPECT_EQ(fake.set, std::vector<std::string>{"label /media/x=BACKUP"});
}

TEST(SystemQueries, DriveTypeAsksOnlyForNamesOfAtMostThreeCharacters) {
  FakeServices fake;
  fake.drive_type = kDriveRemote;
  const SysInfo info(fake, ThreadFileSystem());
  EXPECT_EQ(info.DriveType("C:"), kDriveRemote);
  EXPECT_EQ(info.DriveType("C:/"), kDriveRemote);
  EXPECT_EQ(info.DriveType("/"), kDriveRemote);
  EXPECT_EQ(info.DriveType("\u00E9\u00E9/"), kDriveRemote);  // 5 bytes
  EXPECT_EQ(fake.asked,
            (std::vector<std::string>{"C:/", "C:/", "/", "\u00E9\u00E9/"}));
  fake.asked.clear();
  EXPECT_EQ(info.DriveType("C:/Temp"), 0);
  EXPECT_EQ(info.DriveType("/tmp"), 0);
  EXPECT_TRUE(fake.asked.empty());
}

TEST(SystemQueries, DblClickTimeAndComputerNameGoToTheServices) {
  FakeServices fake;
  fake.double_click = 500;
  fake.computer_name = "vm";
  const SysInfo info(fake, ThreadFileSystem());
  EXPECT_EQ(info.DblClickTime(), 500);
  info.DblClickTime(250);
  EXPECT_EQ(info.ComputerName(), "vm");
  info.ComputerName("other");
  EXPECT_EQ(fake.set,
            (std::vector<std::string>{"double-click 250", "computer other"}));
}

TEST(SystemQueries, WinVersionKeepsTheWholeBuildOnlyOnPlatformTwo) {
  FakeServices fake;
  const SysInfo info(fake, ThreadFileSystem());
  std::int32_t platform = -1, major = -1, minor = -1, build = -1;
  std::string csd = "old";

  fake.version = Version(1, 4, 10, 0x04000950, "");
  EXPECT_EQ(info.WinVersion(platform, major, minor, build, csd), "4.10.2384");
  EXPECT_EQ(platform, 1);
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 10);
  EXPECT_EQ(build, 2384);
  EXPECT_EQ(csd, "");

  fake.version = Version(2, 5, 1, 0x04000950, " Service Pack 3");
  EXPECT_EQ(info.WinVersion(platform, major, minor, build, csd),
            "5.1.67111248 Service Pack 3");
  EXPECT_EQ(build, 0x04000950);
  EXPECT_EQ(csd, " Service Pack 3");

  fake.version = Version(2, 5, 1, 2600, "");
  EXPECT_EQ(info.WinVersion(platform, major, minor, build, csd), "5.1.2600");

  fake.version = VersionRecord();  // a failed service
  EXPECT_EQ(info.WinVersion(platform, major, minor, build, csd), "0.0.0");
}

TEST(SystemQueries, KeyboardTextsForKnownCodesOnly) {
  FakeServices fake;
  fake.keyboard[1] = 3;
  fake.keyboard[2] = 12;
  const SysInfo info(fake, ThreadFileSystem());
  EXPECT_EQ(info.KeyboardFKeys(), 12);
  EXPECT_EQ(info.KeyboardSubtype(), "3");

  const std::pair<std::int32_t, const char16_t*> known[] = {
      {1, u"IBM PC/XT or compatible (83-key) keyboard"},
      {2, u"Olivetti \"ICO\" (102-key) keyboard"},
      {4, u"IBM enhanced (101 or 102-key) keyboard"},
      {7, u"Japanese keyboard"},
  };
  for (const auto& [code, text] : known) {
    fake.keyboard[0] = code;
    EXPECT_EQ(info.KeyboardType(true), Variant(std::u16string(text)));
    EXPECT_EQ(info.KeyboardType(false), Variant(code));
  }
  for (std::int32_t code : {0, 8, -1}) {
    fake.keyboard[0] = code;
    EXPECT_EQ(info.KeyboardType(true), Variant()) << code;
    EXPECT_EQ(info.KeyboardType(false), Variant(code));
  }
}

TEST(SystemQueries, TextAnswersAreTrimmedAndFoldersSeparatorTerminated) {
  FakeServices fake;
  const SysInfo info(fake, ThreadFileSystem());
  for (const auto& [answer, folder] :
       {std::pair{"/etc", "/etc/"}, {"/etc/", "/etc/"}, {"", "/"}}) {
    fake.temp_path = fake.system_directory = fake.windows_directory = answer;
    EXPECT_EQ(info.TempPath(), folder);
    EXPECT_EQ(info.SystemDirectory(), folder);
    EXPECT_EQ(info.WindowsDirectory(), folder);
  }
  fake.user_name = "alice";
  EXPECT_EQ(info.UserName(), "alice");
  fake.user_name.clear();  // a failed service
  EXPECT_EQ(info.UserName(), "");
  EXPECT_EQ(info.ComputerName(), "");
}

TEST(SystemQueries, DiskSpaceGivesByteCountsAsCurrency) {
  FakeServices fake;
  fake.disk = {1'000, 5'000'000'000'000, 2'000};
  const SysInfo info(fake, ThreadFileSystem());
  Variant available, total, free;
  info.DiskSpace("/srv", available, total, free);
  EXPECT_EQ(fake.asked, std::vector<std::string>{"/srv/"});
  EXPECT_EQ(available, Variant(Currency{1'000 * 10'000}));
  EXPECT_EQ(total, Variant(Currency{5'000'000'000'000 * 10'000}));
  EXPECT_EQ(free, Variant(Currency{2'000 * 10'000}));

  fake.disk = {};  // a failed service
  info.DiskSpace("/srv", available, total, free);
  EXPECT_EQ(total, Variant(Currency{0}));
}

TEST(SystemQueries, DiskSpaceBeyondTheCurrencyRangeThrowsAndChangesNothing) {
  constexpr std::uint64_t kLargest =
      std::numeric_limits<std::int64_t>::max() / 10'000;
  FakeServices fake;
  const SysInfo info(fake, ThreadFileSystem());
  Variant available, total, free;
  fake.disk = {0, kLargest, 0};
  info.DiskSpace("/", available, total, free);
  EXPECT_EQ(total,
            Variant(Currency{static_cast<std::int64_t>(kLargest) * 10'000}));

  available = total = free = Variant();
  for (const DiskSpaceCounts& counts :
       {DiskSpaceCounts{1, kLargest + 1, 1},
        DiskSpaceCounts{1, 1, std::numeric_limits<std::uint64_t>::max()}}) {
    fake.disk = counts;
    EXPECT_THROW(info.DiskSpace("/", available, total, free), Error);
    EXPECT_EQ(available, Variant());
    EXPECT_EQ(total, Variant());
    EXPECT_EQ(free, Variant());
  }
}

TEST(SystemQueries, GetMemorySetsFieldsInOrderAndAnswersMebibytes) {
  FakeServices fake;
  fake.memory = {37, 536'870'912, 2, 3, 4, 5, 6};
  const SysInfo info(fake, ThreadFileSystem());
  std::int32_t f[7];
  EXPECT_EQ(info.GetMemory(f[0], f[1], f[2], f[3], f[4], f[5], f[6]), 512);
  EXPECT_EQ(std::vector<std::int32_t>(f, f + 7),
            (std::vector<std::int32_t>{37, 536'870'912, 2, 3, 4, 5, 6}));

  constexpr std::uint64_t kMiB = 1 << 20;
  const std::pair<std::uint64_t, std::int32_t> rounding[] = {
      {512 * kMiB + kMiB / 2, 512},  // a half goes to the even neighbour
      {513 * kMiB + kMiB / 2, 514},
      {512 * kMiB + kMiB / 2 + 1, 513},  // above a half goes up
      {512 * kMiB + kMiB / 2 - 1, 512},
      {0, 0},
  };
  for (const auto& [bytes, mebibytes] : rounding) {
    fake.memory.physical_total = bytes;
    EXPECT_EQ(info.GetMemory(f[0], f[1], f[2], f[3], f[4], f[5], f[6]),
              mebibytes)
        << bytes;
  }
}

TEST(SystemQueries, GetMemorySaturatesFieldsButCountsTheWholeMemory) {
  constexpr std::uint64_t kGiB = 1 << 30;
  FakeServices fake;
  fake.memory = {90,           24 * kGiB, 4 * kGiB,         2 * kGiB + 1,
                 2 * kGiB - 1, ~0ull,     128 * 1024 * kGiB};
  const SysInfo info(fake, ThreadFileSystem());
  std::int32_t load, physical_total, physical_free, page_total, page_free,
      virtual_total, virtual_free;
  EXPECT_EQ(info.GetMemory(load, physical_total, physical_free, page_total,
                           page_free, virtual_total, virtual_free),
            24 * 1024);
  EXPECT_EQ(load, 90);
  EXPECT_EQ(physical_total, kInt32Max);
  EXPECT_EQ(physical_free, kInt32Max);
  EXPECT_EQ(page_total, kInt32Max);
  EXPECT_EQ(page_free, kInt32Max);  // 2^31 - 1 fits exactly
  EXPECT_EQ(virtual_total, kInt32Max);
  EXPECT_EQ(virtual_free, kInt32Max);

  fake.memory.physical_total = ~0ull;  // more MiB than the result holds
  EXPECT_EQ(info.GetMemory(load, physical_total, physical_free, page_total,
                           page_free, virtual_total, virtual_free),
            kInt32Max);
}

TEST(SystemQueries, OnlyPlainHostNamesMayBecomeTheComputerName) {
  for (const char* name : {"vm", "build-01.example.org", "A", "9lives"}) {
    EXPECT_TRUE(IsHostName(name)) << name;
  }
  for (const std::string& name :
       {std::string(), std::string("-rf"), std::string(".hidden"),
        std::string("two words"), std::string("a\nb"), std::string("a/b"),
        std::string("a\0b", 3), std::string(HOST_NAME_MAX + 1, 'a')}) {
    EXPECT_FALSE(IsHostName(name)) << name;
  }
  EXPECT_TRUE(IsHostName(std::string(HOST_NAME_MAX, 'a')));
}

// The real system is asked only for what reading it cannot change.

TEST(SystemQueriesOnThisSystem, FoldersExistAndEndInASeparator) {
  const SysInfo info(ThreadFileSystem());
  for (const std::string& folder : {info.TempPath(), info.WindowsDirectory()}) {
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  }
}

TEST(SystemQueriesOnThisSystem, DiskSpaceOfTheRootIsConsistent) {
  const SysInfo info(ThreadFileSystem());
  Variant available, total, free;
  info.DiskSpace("/", available, total, free);
  const std::int64_t all = std::get<Currency>(total).ten_thousandths;
  EXPECT_GT(all, 0);
  EXPECT_EQ(all % 10'000, 0);
  EXPECT_LE(std::get<Currency>(available).ten_thousandths,
            std::get<Currency>(free).ten_thousandths);
  EXPECT_LE(std::get<Currency>(free).ten_thousandths, all);

  info.DiskSpace("/no/such/folder", available, total, free);
  EXPECT_EQ(total, Variant(Currency{0}));
}

TEST(SystemQueriesOnThisSystem, GetMemoryAgreesWithProcMeminfo) {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::int64_t kib = 0;
  ASSERT_TRUE(meminfo >> key >> kib);
  ASSERT_EQ(key, "MemTotal:");

  std::int32_t load, physical_total, physical_free, page_total, page_free,
      virtual_total, virtual_free;
  const std::int32_t mebibytes =
      SysInfo(ThreadFileSystem())
          .GetMemory(load, physical_total, physical_free, page_total,
                     page_free, virtual_total, virtual_free);
  EXPECT_NEAR(mebibytes, static_cast<double>(kib) / 1024.0, 1.0);
  EXPECT_EQ(physical_total, std::min<std::int64_t>(kib * 1024, kInt32Max));
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
  EXPECT_GE(physical_free, 0);
  EXPECT_GE(virtual_free, 0);
}

TEST(SystemQueriesOnThisSystem, NamesVersionAndRootAnswerFromTheSystem) {
  const SysInfo info(ThreadFileSystem());
  char host[256] = {};
  ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(info.ComputerName(), host);
  const passwd* user = ::getpwuid(::geteuid());
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(info.UserName(), user->pw_name);

  utsname names;
  ASSERT_EQ(::uname(&names), 0);
  std::int32_t platform, major, minor, build;
  std::string csd;
  const std::string version =
      info.WinVersion(platform, major, minor, build, csd);
  EXPECT_EQ(platform, 2);
  if (std::regex_search(names.release,
                        std::regex("^[0-9]+\\.[0-9]+\\.[0-9]+"))) {
    EXPECT_EQ(version, names.release);
  }

  const std::int32_t serial =
      std::get<std::int32_t>(info.SerialNumber("/", false));
  char text[10];
  std::snprintf(text, sizeof text, "%04X:%04X",
                static_cast<std::uint32_t>(serial) >> 16, serial & 0xFFFF);
  EXPECT_EQ(info.SerialNumber("/", true), Variant(FromUtf8(text)));

  const std::int32_t root = info.DriveType("/");
  EXPECT_GE(root, kDriveUnknown);
  EXPECT_LE(root, kDriveRamDisk);
  EXPECT_NE(root, kDriveNoRootDir);
}

}  // namespace
}  // namespace quenvar
