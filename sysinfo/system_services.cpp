#include "sysinfo/system_services.h"

#include <gnu/libc-version.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "base/code_location.h"

namespace quenvar {
namespace {

// Writes text into a service buffer of NULs, keeping its last character NUL;
// text that does not fit leaves the buffer all NUL.
void FillBuffer(std::string& buffer, std::string_view text) {
  if (text.size() < buffer.size()) text.copy(buffer.data(), text.size());
}

// blocks * unit, or the largest count when the product does not fit.
std::uint64_t Bytes(std::uint64_t blocks, std::uint64_t unit) {
  std::uint64_t bytes;
  return __builtin_mul_overflow(blocks, unit, &bytes)
             ? std::numeric_limits<std::uint64_t>::max()
             : bytes;
}

// The label a name of /dev/disk/by-label stands for: udev writes each byte
// that is unsafe in a file name as \xHH.
std::string DecodeUdevName(std::string_view name) {
  std::string label;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name.substr(i, 2) == "\\x" && i + 4 <= name.size()) {
      unsigned value = 0;
      const char* digits = name.data() + i + 2;
      if (std::from_chars(digits, digits + 2, value, 16).ptr == digits + 2) {
        label += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    label += name[i];
  }
  return label;
}

// Whether the block device dev, or the disk it is a partition of, is marked
// removable in sysfs. Devices without a sysfs entry (overlay, btrfs and
// network file systems have none) are not.
bool IsRemovable(dev_t dev) {
  const std::string device = "/sys/dev/block/" + std::to_string(major(dev)) +
                             ":" + std::to_string(minor(dev));
  for (const char* flag_file : {"/removable", "/../removable"}) {
    std::ifstream in(device + flag_file);
    char flag;
    if (in.get(flag)) return flag == '1';
  }
  return false;
}

// Memory that programs can be given without swapping (free or reclaimable),
// in bytes, from the MemAvailable line of /proc/meminfo.
std::optional<std::uint64_t> AvailableMemory() {
  std::ifstream in("/proc/meminfo");
  std::string key;
  std::uint64_t kib;
  while (in >> key >> kib) {
    if (key == "MemAvailable:") return Bytes(kib, 1024);
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return std::nullopt;
}

// The calling process's virtual size in bytes, from /proc/self/statm.
std::optional<std::uint64_t> ProcessVirtualSize() {
  std::ifstream in("/proc/self/statm");
  std::uint64_t pages;
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (!(in >> pages) || page_size <= 0) return std::nullopt;
  return Bytes(pages, static_cast<std::uint64_t>(page_size));
}

class LinuxSystemServices final : public SystemServices {
 public:
  // The file system's id from statvfs, its two 32-bit halves folded into
  // one. For ext4, btrfs and xfs the id is derived from the volume's UUID,
  // so, like a volume serial number, it is fixed when the volume is made.
  std::uint32_t VolumeSerialNumber(const std::string& root) const override {
    struct statvfs fs;
    if (::statvfs(root.c_str(), &fs) != 0) return 0;
    const std::uint64_t id = fs.f_fsid;
    return static_cast<std::uint32_t>(id ^ (id >> 32));
  }

  // The entry of /dev/disk/by-label that names the block device holding
  // root; empty where udev keeps no such folder.
  std::string VolumeLabel(const std::string& root) const override {
    struct stat folder;
    if (::stat(root.c_str(), &folder) != 0) return {};
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator it("/dev/disk/by-label", error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
      struct stat device;
      if (::stat(it->path().c_str(), &device) == 0 && S_ISBLK(device.st_mode) &&
          device.st_rdev == folder.st_dev) {
        return DecodeUdevName(it->path().filename().string());
      }
    }
    return {};
  }

  // Labels are written to an unmounted block device by the file system's own
  // tools, with privileges; a running program has no service for it.
  void SetVolumeLabel(const std::string&, const std::string&) const override {}

  // From the file-system type of statfs: network file systems are remote,
  // ISO 9660 and UDF are CD-ROMs, tmpfs and ramfs are RAM disks, the
  // kernel's pseudo file systems are unknown; the rest is removable when
  // sysfs marks its disk so, otherwise fixed. A root that does not exist has
  // no root directory.
  std::int32_t DriveTypeOf(const std::string& root) const override {
    struct statfs fs;
    struct stat folder;
    if (::statfs(root.c_str(), &fs) != 0 ||
        ::stat(root.c_str(), &folder) != 0) {
      return kDriveNoRootDir;
    }
    switch (static_cast<std::uint32_t>(fs.f_type)) {
      case NFS_SUPER_MAGIC:
      case SMB_SUPER_MAGIC:
      case CIFS_SUPER_MAGIC:
      case SMB2_SUPER_MAGIC:
      case AFS_SUPER_MAGIC:
      case CODA_SUPER_MAGIC:
      case CEPH_SUPER_MAGIC:
      case V9FS_MAGIC:
        return kDriveRemote;
      case ISOFS_SUPER_MAGIC:
      case UDF_SUPER_MAGIC:
        return kDriveCdRom;
      case TMPFS_MAGIC:
      case RAMFS_MAGIC:
        return kDriveRamDisk;
      case PROC_SUPER_MAGIC:
      case SYSFS_MAGIC:
      case DEVPTS_SUPER_MAGIC:
      case CGROUP2_SUPER_MAGIC:
        return kDriveUnknown;
      default:
        return IsRemovable(folder.st_dev) ? kDriveRemovable : kDriveFixed;
    }
  }

  // Linux has no system-wide double-click time (each desktop toolkit keeps
  // its own setting), so it is unknown and cannot be set.
  std::int32_t DoubleClickTime() const override { return 0; }
  void SetDoubleClickTime(std::int32_t) const override {}

  // The kernel release of uname, such as "6.1.0-18-amd64": its first three
  // dot-separated numbers are major, minor and build number (a missing one
  // is 0), the rest of the text is the service-pack text. The platform is
  // kPlatformWholeBuildNumber.
  VersionRecord Version() const override {
    VersionRecord record;
    struct utsname names;
    if (::uname(&names) != 0) return record;
    record.platform_id = kPlatformWholeBuildNumber;
    std::string_view rest = names.release;
    std::uint32_t* fields[] = {&record.major_version, &record.minor_version,
                               &record.build_number};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      std::string_view number = rest;
      if (i > 0) {
        if (!number.starts_with('.')) break;
        number.remove_prefix(1);
      }
      const char* end = number.data() + number.size();
      const auto [after, error] =
          std::from_chars(number.data(), end, *fields[i]);
      if (error != std::errc()) break;
      rest = std::string_view(after, static_cast<std::size_t>(end - after));
    }
    FillBuffer(record.csd_version, rest);
    return record;
  }

  // Linux reports no keyboard type, subtype or function-key count.
  std::int32_t KeyboardType(int) const override { return 0; }

  // $TMPDIR when it is set, not empty and fits the buffer, else /tmp.
  void TempPath(std::string& buffer) const override {
    const char* tmpdir = std::getenv("TMPDIR");
    FillBuffer(buffer, tmpdir != nullptr && tmpdir[0] != '\0' &&
                               std::strlen(tmpdir) < buffer.size()
                           ? tmpdir
                           : "/tmp");
  }

  // The folder of the file the C library was loaded from, without its
  // trailing '/' (so the root folder leaves the text empty).
  void SystemDirectory(std::string& buffer) const override {
    const std::string file = FileHoldingCode(
        reinterpret_cast<const void*>(&::gnu_get_libc_version));
    FillBuffer(buffer, std::string_view(file).substr(0, file.rfind('/')));
  }

  // /etc: the folder of the system's own settings files, the role the
  // operating system's folder has for programs.
  void WindowsDirectory(std::string& buffer) const override {
    FillBuffer(buffer, "/etc");
  }

  // The login name of the effective user, from the user database.
  void UserName(std::string& buffer) const override {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> scratch(
        suggested > 0 ? static_cast<std::size_t>(suggested) : 4096);
    struct passwd entry;
    struct passwd* found = nullptr;
    int error;
    while ((error = ::getpwuid_r(::geteuid(), &entry, scratch.data(),
                                 scratch.size(), &found)) == ERANGE &&
           scratch.size() < (1u << 20)) {
      scratch.resize(scratch.size() * 2);
    }
    if (error == 0 && found != nullptr) FillBuffer(buffer, found->pw_name);
  }

  // The host name of gethostname.
  void ComputerName(std::string& buffer) const override {
    if (::gethostname(buffer.data(), buffer.size() - 1) != 0) {
      buffer.assign(buffer.size(), '\0');
    }
  }

  // sethostname: takes effect only for a process allowed to (CAP_SYS_ADMIN
  // in its UTS namespace), until the next boot; nothing is written to
  // /etc/hostname. A name that IsHostName rejects is not passed on.
  void SetComputerName(const std::string& name) const override {
    if (IsHostName(name)) (void)::sethostname(name.data(), name.size());
  }

  // statvfs: available blocks, all blocks and free blocks, in bytes.
  DiskSpaceCounts DiskFreeSpace(const std::string& directory) const override {
    struct statvfs fs;
    if (::statvfs(directory.c_str(), &fs) != 0) return {};
    return {Bytes(fs.f_bavail, fs.f_frsize), Bytes(fs.f_blocks, fs.f_frsize),
            Bytes(fs.f_bfree, fs.f_frsize)};
  }

  // sysinfo(2) for physical memory and swap (the paging file), with
  // MemAvailable of /proc/meminfo as the free physical memory; the load is
  // the rounded percentage not available. The virtual address space is the
  // process's RLIMIT_AS (unlimited counts as the largest count), its free
  // part that limit less the process's virtual size.
  MemoryStatus GlobalMemoryStatus() const override {
    MemoryStatus status;
    struct sysinfo system;
    if (::sysinfo(&system) == 0) {
      const std::uint64_t unit = system.mem_unit;
      status.physical_total = Bytes(system.totalram, unit);
      status.physical_free =
          AvailableMemory().value_or(Bytes(system.freeram, unit));
      status.page_file_total = Bytes(system.totalswap, unit);
      status.page_file_free = Bytes(system.freeswap, unit);
      if (status.physical_total > 0 &&
          status.physical_free <= status.physical_total) {
        status.memory_load = static_cast<std::uint32_t>(std::lround(
            100.0 *
            static_cast<double>(status.physical_total - status.physical_free) /
            static_cast<double>(status.physical_total)));
      }
    }
    struct rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) == 0) {
      status.virtual_total = limit.rlim_cur;
      const std::optional<std::uint64_t> size = ProcessVirtualSize();
      if (size && *size < status.virtual_total) {
        status.virtual_free = status.virtual_total - *size;
      }
    }
    return status;
  }
};

}  // namespace

bool IsHostName(const std::string& name) {
  auto is_alnum = [](char c) {
    return IsAsciiLetter(static_cast<unsigned char>(c)) ||
           (c >= '0' && c <= '9');
  };
  if (name.empty() || name.size() > HOST_NAME_MAX || !is_alnum(name[0])) {
    return false;
  }
  for (char c : name) {
    if (!is_alnum(c) && c != '-' && c != '.') return false;
  }
  return true;
}

const SystemServices& RunningSystemServices() {
  static const LinuxSystemServices services{};
  return services;
}

}  // namespace quenvar
