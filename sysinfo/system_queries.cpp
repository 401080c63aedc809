// SysInfo's system queries: one service call each, plus its conversion.

#include <cinttypes>
#include <cstdio>
#include <limits>
#include <string>

#include <quenvarspell/types.h>

#include "base/text.h"
#include "sysinfo/sys_info.h"
#include "sysinfo/system_services.h"

namespace quenvar {
namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// A count as a signed 32-bit field: itself when it fits, else the largest
// such value (it never wraps to a negative or smaller one).
std::int32_t Saturated(std::uint64_t count) {
  return count > static_cast<std::uint64_t>(kInt32Max)
             ? kInt32Max
             : static_cast<std::int32_t>(count);
}

// A byte count as a Currency holding that many units. Throws Error when the
// count is beyond the Currency range.
Currency ToCurrency(std::uint64_t bytes) {
  constexpr std::int64_t kScale = 10'000;
  constexpr std::uint64_t kLargest =
      std::numeric_limits<std::int64_t>::max() / kScale;
  if (bytes > kLargest) {
    throw Error("disk space: " + std::to_string(bytes) +
                " bytes overflow the currency type");
  }
  return Currency{static_cast<std::int64_t>(bytes) * kScale};
}

// bytes / 2^20, rounded to the nearest whole number, an exact half to the
// even neighbour.
std::uint64_t RoundedMebibytes(std::uint64_t bytes) {
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 19;
  const std::uint64_t whole = bytes >> 20;
  const std::uint64_t rest = bytes & ((std::uint64_t{1} << 20) - 1);
  return rest > kHalf || (rest == kHalf && whole % 2 == 1) ? whole + 1 : whole;
}

// The number of characters (not bytes) of UTF-8 text.
std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) count += !IsUtf8Continuation(static_cast<unsigned char>(c));
  return count;
}

}  // namespace

SysInfo::SysInfo(const FileSystem& files)
    : SysInfo(RunningSystemServices(), files) {}

SysInfo::SysInfo(const SystemServices& services, const FileSystem& files)
    : services_(services), files_(files) {}

Variant SysInfo::SerialNumber(const std::string& sDrive, bool AsString) const {
  const std::uint32_t serial =
      services_.VolumeSerialNumber(AddTrailingSeparator(sDrive));
  if (!AsString) return static_cast<std::int32_t>(serial);
  char text[10];
  std::snprintf(text, sizeof text, "%04" PRIX32 ":%04" PRIX32, serial >> 16,
                serial & 0xFFFF);
  return FromUtf8(text);
}

void SysInfo::VolumeName(const std::string& sDrive,
                         const std::string& vData) const {
  services_.SetVolumeLabel(sDrive, vData);
}

std::string SysInfo::VolumeName(const std::string& sDrive) const {
  return services_.VolumeLabel(AddTrailingSeparator(sDrive));
}

std::int32_t SysInfo::DriveType(const std::string& sDrive) const {
  if (CharacterCount(sDrive) > 3) return kDriveUnknown;
  return services_.DriveTypeOf(AddTrailingSeparator(sDrive));
}

void SysInfo::DblClickTime(std::int32_t vData) const {
  services_.SetDoubleClickTime(vData);
}

std::int32_t SysInfo::DblClickTime() const {
  return services_.DoubleClickTime();
}

std::string SysInfo::WinVersion(std::int32_t& PlatformId,
                                std::int32_t& MajorVer, std::int32_t& MinorVer,
                                std::int32_t& BuildNumber,
                                std::string& CSDVer) const {
  const VersionRecord record = services_.Version();
  MajorVer = static_cast<std::int32_t>(record.major_version);
  MinorVer = static_cast<std::int32_t>(record.minor_version);
  PlatformId = static_cast<std::int32_t>(record.platform_id);
  BuildNumber = static_cast<std::int32_t>(
      record.platform_id == kPlatformWholeBuildNumber
          ? record.build_number
          : record.build_number & 0xFFFF);
  CSDVer = TrimAtNull(record.csd_version);
  return std::to_string(MajorVer) + "." + std::to_string(MinorVer) + "." +
         std::to_string(BuildNumber) + CSDVer;
}

std::int32_t SysInfo::KeyboardFKeys() const {
  return services_.KeyboardType(2);
}

Variant SysInfo::KeyboardType(bool AsString) const {
  const std::int32_t code = services_.KeyboardType(0);
  if (!AsString) return code;
  static constexpr const char16_t* kTexts[] = {
      u"IBM PC/XT or compatible (83-key) keyboard",
      u"Olivetti \"ICO\" (102-key) keyboard",
      u"IBM PC/AT (84-key) or similar keyboard",
      u"IBM enhanced (101 or 102-key) keyboard",
      u"Nokia 1050 and similar keyboard",
      u"Nokia 9140 and similar keyboard",
      u"Japanese keyboard",
  };
  if (code < 1 || code > static_cast<std::int32_t>(std::size(kTexts))) {
    return std::monostate();
  }
  return std::u16string(kTexts[code - 1]);
}

std::string SysInfo::KeyboardSubtype() const {
  return std::to_string(services_.KeyboardType(1));
}

std::string SysInfo::WindowsDirectory() const {
  std::string buffer(kServiceBufferLength, '\0');
  services_.WindowsDirectory(buffer);
  return AddTrailingSeparator(TrimAtNull(buffer));
}

std::string SysInfo::UserName() const {
  std::string buffer(kServiceBufferLength, '\0');
  services_.UserName(buffer);
  return TrimAtNull(buffer);
}

void SysInfo::ComputerName(const std::string& vData) const {
  services_.SetComputerName(vData);
}

std::string SysInfo::ComputerName() const {
  std::string buffer(kServiceBufferLength, '\0');
  services_.ComputerName(buffer);
  return TrimAtNull(buffer);
}

void SysInfo::DiskSpace(const std::string& sDirectory,
                        Variant& BytesAvailableToCaller, Variant& TotalSize,
                        Variant& TotalFreeSize) const {
  const DiskSpaceCounts counts =
      services_.DiskFreeSpace(AddTrailingSeparator(sDirectory));
  const Currency available = ToCurrency(counts.available_to_caller);
  const Currency total = ToCurrency(counts.total);
  const Currency free = ToCurrency(counts.total_free);
  BytesAvailableToCaller = available;
  TotalSize = total;
  TotalFreeSize = free;
}

std::int32_t SysInfo::GetMemory(std::int32_t& MemoryLoad,
                                std::int32_t& PhysicalTotal,
                                std::int32_t& PhysicalFree,
                                std::int32_t& PageFileTotal,
                                std::int32_t& PageFileFree,
                                std::int32_t& VirtualTotal,
                                std::int32_t& VirtualFree) const {
  const MemoryStatus status = services_.GlobalMemoryStatus();
  MemoryLoad = Saturated(status.memory_load);
  PhysicalTotal = Saturated(status.physical_total);
  PhysicalFree = Saturated(status.physical_free);
  PageFileTotal = Saturated(status.page_file_total);
  PageFileFree = Saturated(status.page_file_free);
  VirtualTotal = Saturated(status.virtual_total);
  VirtualFree = Saturated(status.virtual_free);
  return Saturated(RoundedMebibytes(status.physical_total));
}

}  // namespace quenvar
