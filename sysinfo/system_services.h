// The operating-system services that SysInfo's system queries ask, behind an
// interface so that the queries' conversion rules can run against a fake.

#ifndef QUENVARSPELL_SYSINFO_SYSTEM_SERVICES_H_
#define QUENVARSPELL_SYSINFO_SYSTEM_SERVICES_H_

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quenvar {

// A text service fills a buffer of this many NULs with NUL-terminated text,
// never touching its last character, and leaves it all NUL when it fails.
inline constexpr std::size_t kServiceBufferLength = PATH_MAX;

// The length of the service-pack text buffer of a VersionRecord.
inline constexpr std::size_t kVersionTextLength = 128;

// Drive-type codes, numbered as the component's original platform numbers
// them.
inline constexpr std::int32_t kDriveUnknown = 0;
inline constexpr std::int32_t kDriveNoRootDir = 1;
inline constexpr std::int32_t kDriveRemovable = 2;
inline constexpr std::int32_t kDriveFixed = 3;
inline constexpr std::int32_t kDriveRemote = 4;
inline constexpr std::int32_t kDriveCdRom = 5;
inline constexpr std::int32_t kDriveRamDisk = 6;

// The platform identifier whose build field is a whole build number; on any
// other platform only the field's low 16 bits are the build number.
inline constexpr std::uint32_t kPlatformWholeBuildNumber = 2;

// The system's version. csd_version is a buffer of kVersionTextLength
// characters holding NUL-terminated text.
struct VersionRecord {
  std::uint32_t major_version = 0;
  std::uint32_t minor_version = 0;
  std::uint32_t build_number = 0;
  std::uint32_t platform_id = 0;
  std::string csd_version = std::string(kVersionTextLength, '\0');
};

// Byte counts of the file system holding a folder; all 0 when unknown.
struct DiskSpaceCounts {
  std::uint64_t available_to_caller = 0;
  std::uint64_t total = 0;
  std::uint64_t total_free = 0;
};

// The memory status of the system and the calling process, in bytes except
// memory_load (the percentage of physical memory in use); all 0 when unknown.
struct MemoryStatus {
  std::uint32_t memory_load = 0;
  std::uint64_t physical_total = 0;
  std::uint64_t physical_free = 0;
  std::uint64_t page_file_total = 0;
  std::uint64_t page_file_free = 0;
  std::uint64_t virtual_total = 0;
  std::uint64_t virtual_free = 0;
};

// One operation per operating-system service. No operation reports a
// failure: a failed service shows only as a zero, empty or all-NUL answer.
// Folder arguments end in '/'. Text is UTF-8.
class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // The serial number of the volume holding root; 0 when unknown.
  virtual std::uint32_t VolumeSerialNumber(const std::string& root) const = 0;

  // The label of the volume holding root; empty when it has none.
  virtual std::string VolumeLabel(const std::string& root) const = 0;

  // Asks the system to label the volume of root with label.
  virtual void SetVolumeLabel(const std::string& root,
                              const std::string& label) const = 0;

  // One of the kDrive codes for the volume whose root is root.
  virtual std::int32_t DriveTypeOf(const std::string& root) const = 0;

  // The double-click time in milliseconds; 0 when unknown.
  virtual std::int32_t DoubleClickTime() const = 0;

  // Asks the system to take milliseconds as the double-click time.
  virtual void SetDoubleClickTime(std::int32_t milliseconds) const = 0;

  // The system's version; an all-zero record when unknown.
  virtual VersionRecord Version() const = 0;

  // With type_flag 0 the keyboard's type code, with 1 its subtype code,
  // with 2 its number of function keys; 0 when unknown.
  virtual std::int32_t KeyboardType(int type_flag) const = 0;

  // These fill buffer with the folder for temporary files, the folder of
  // the system's libraries, the operating system's folder, the name of the
  // user the process runs as, and the computer's name; the folders need not
  // end in '/'. REQUIRES: buffer holds kServiceBufferLength NULs.
  virtual void TempPath(std::string& buffer) const = 0;
  virtual void SystemDirectory(std::string& buffer) const = 0;
  virtual void WindowsDirectory(std::string& buffer) const = 0;
  virtual void UserName(std::string& buffer) const = 0;
  virtual void ComputerName(std::string& buffer) const = 0;

  // Asks the system to take name as the computer's name.
  virtual void SetComputerName(const std::string& name) const = 0;

  // The byte counts of the file system holding directory.
  virtual DiskSpaceCounts DiskFreeSpace(const std::string& directory) const = 0;

  // The current memory status.
  virtual MemoryStatus GlobalMemoryStatus() const = 0;
};

// Whether name may become the host name: 1 to HOST_NAME_MAX letters,
// digits, '-' and '.', starting with a letter or digit, so that no control
// character or blank reaches the programs that print it. The running
// system's SetComputerName passes on no other name.
bool IsHostName(const std::string& name);

// The services of the running system. The object holds no state and lives
// as long as the process.
const SystemServices& RunningSystemServices();

}  // namespace quenvar

#endif  // QUENVARSPELL_SYSINFO_SYSTEM_SERVICES_H_
