// The system-information object: the temp folder, the system folder, unique
// temp file names, and the clean-up of the temp files it has handed out; and
// thin queries and settings of the operating system, which the component
// itself does not use.

#ifndef QUENVARSPELL_SYSINFO_SYS_INFO_H_
#define QUENVARSPELL_SYSINFO_SYS_INFO_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/types.h>

namespace quenvar {

class FileSystem;      // base/file_system.h
class SystemServices;  // sysinfo/system_services.h

// One object per thread lives in the thread's state; a separately created
// object behaves the same with a list of its own. Folders it hands out always
// end in '/'. Paths are file-system paths (UTF-8).
class SysInfo {
 public:
  // Answers the system queries from the running system and makes and
  // deletes temp files through files. REQUIRES: files outlives the object.
  explicit SysInfo(const FileSystem& files);
  // Answers the system queries from services instead. REQUIRES: services
  // and files outlive the object.
  SysInfo(const SystemServices& services, const FileSystem& files);
  // Deletes every temp file still recorded, ignoring every failure.
  ~SysInfo();
  SysInfo(const SysInfo&) = delete;
  SysInfo& operator=(const SysInfo&) = delete;

  // The serial number of the volume holding AddTrailingSeparator(sDrive), 0
  // when unknown. With AsString: the text of its eight upper-case hex digits
  // split 4:4 ("8000:ABCD", "0000:0000"); otherwise the number taken as a
  // signed std::int32_t. On Linux: the file-system id of statvfs, its two
  // 32-bit halves folded into one.
  Variant SerialNumber(const std::string& sDrive, bool AsString) const;

  // Asks the system to label the volume whose root is sDrive (passed as
  // given) with vData. A running Linux program has no way to, so this does
  // nothing.
  void VolumeName(const std::string& sDrive, const std::string& vData) const;

  // The label of the volume holding AddTrailingSeparator(sDrive); empty when
  // it has none. On Linux: the name of the device's entry in
  // /dev/disk/by-label, with udev's \xHH escapes decoded.
  std::string VolumeName(const std::string& sDrive) const;

  // For an sDrive of at most three characters: the drive-type code (kDrive*
  // of sysinfo/system_services.h) of AddTrailingSeparator(sDrive); for a
  // longer one 0, without asking. On Linux: from the file-system type of
  // statfs and the removable flag of sysfs; 1 (no root folder) for a path
  // that does not exist.
  std::int32_t DriveType(const std::string& sDrive) const;

  // Asks the system to take vData milliseconds as the double-click time, and
  // reads it. Linux has no system-wide setting (each desktop toolkit keeps
  // its own): setting does nothing and reading answers 0.
  void DblClickTime(std::int32_t vData) const;
  std::int32_t DblClickTime() const;

  // The system's version as "major.minor.build" followed directly by
  // CSDVer, the service-pack text; each part is also handed out.
  // BuildNumber keeps only its low 16 bits unless PlatformId is
  // kPlatformWholeBuildNumber (2). On Linux: the kernel release of uname,
  // platform 2, so "6.1.0-18-amd64" gives 6, 1, 0 and "-18-amd64", and the
  // result is the release itself.
  std::string WinVersion(std::int32_t& PlatformId, std::int32_t& MajorVer,
                         std::int32_t& MinorVer, std::int32_t& BuildNumber,
                         std::string& CSDVer) const;

  // The keyboard's number of function keys; its type code (with AsString
  // the code's text, or the empty variant for a code without one); its
  // subtype code as decimal text. Linux reports none of them, so they answer
  // 0, 0 (the empty variant) and "0".
  std::int32_t KeyboardFKeys() const;
  Variant KeyboardType(bool AsString) const;
  std::string KeyboardSubtype() const;

  // The operating system's folder; "/" when unknown. On Linux: /etc/, the
  // folder of the system's settings files.
  std::string WindowsDirectory() const;

  // The folder for temporary files: $TMPDIR when it is set, not empty and
  // shorter than PATH_MAX, else /tmp.
  std::string TempPath() const;

  // The folder of the system's shared libraries: the folder the C library
  // the process runs with was loaded from; "/" when that cannot be found.
  std::string SystemDirectory() const;

  // The login name of the user the process runs as; empty when unknown. On
  // Linux: the user database's entry for the effective user id.
  std::string UserName() const;

  // Asks the system to take vData as the computer's name. On Linux:
  // sethostname, which only a process with CAP_SYS_ADMIN may call and whose
  // name lasts until the next boot; a vData other than 1 to HOST_NAME_MAX
  // letters, digits, '-' and '.', starting with a letter or digit, is
  // ignored.
  void ComputerName(const std::string& vData) const;

  // The computer's name; empty when unknown. On Linux: gethostname.
  std::string ComputerName() const;

  // Sets the out parameters to the bytes available to the caller, the total
  // bytes and the free bytes of the file system holding
  // AddTrailingSeparator(sDirectory), each as a Currency whose value is the
  // byte count (0 when unknown). Throws Error, changing none of them, when a
  // count is beyond the Currency range. On Linux: statvfs.
  void DiskSpace(const std::string& sDirectory,
                 Variant& BytesAvailableToCaller, Variant& TotalSize,
                 Variant& TotalFreeSize) const;

  // Sets the out parameters to the percentage of physical memory in use and
  // the bytes of physical memory, paging file and the process's virtual
  // address space, total and free each; a count above 2,147,483,647 is set
  // to 2,147,483,647. Returns the physical memory in MiB from its full
  // count, rounded half to even (saturated likewise). On Linux: sysinfo(2),
  // with MemAvailable of /proc/meminfo as the free physical memory and swap
  // as the paging file; the address space is RLIMIT_AS (unlimited counting
  // as 2^64 - 1) less the size in /proc/self/statm.
  std::int32_t GetMemory(std::int32_t& MemoryLoad, std::int32_t& PhysicalTotal,
                         std::int32_t& PhysicalFree,
                         std::int32_t& PageFileTotal,
                         std::int32_t& PageFileFree,
                         std::int32_t& VirtualTotal,
                         std::int32_t& VirtualFree) const;

  // A name that no file in folder sPathName has on return: the folder, up to
  // the first three characters of sPrefix, four upper-case hex digits and
  // ".TMP". The name is made unique by creating that file exclusively, which
  // is deleted again before returning; with bCreate it is also recorded for
  // DeleteTempFiles. Throws std::system_error when no file can be made in the
  // folder or the made file cannot be deleted; nothing is recorded then.
  // REQUIRES: sPrefix holds no '/'.
  std::string CreateTempFile(const std::string& sPathName,
                             std::string_view sPrefix, bool bCreate);

  // Deletes the file of every recorded name, in recording order, ignoring
  // every failure, and forgets all names.
  void DeleteTempFiles() noexcept;

  // Forgets every record of name, whose file has been deleted or never
  // became ours: a file another program makes under that name later must
  // not be deleted by DeleteTempFiles.
  void ForgetTempFile(const std::string& name) noexcept;

  // The names recorded by CreateTempFile and not forgotten since the last
  // DeleteTempFiles, oldest first; a name may occur twice.
  const std::vector<std::string>& TempFiles() const { return sTempFiles; }

 private:
  // The text before the first NUL of a service's buffer. Throws Error when
  // the text holds no NUL.
  static std::string TrimAtNull(std::string_view text);

  // text when it ends in '/', else text followed by '/' (so "" gives "/").
  static std::string AddTrailingSeparator(std::string text);

  std::vector<std::string> sTempFiles;
  const SystemServices& services_;
  const FileSystem& files_;
};

// This thread's system-information object, created on first use; it makes
// its files through ThreadFileSystem().
SysInfo& ThreadSysInfo();

}  // namespace quenvar

#endif  // QUENVARSPELL_SYSINFO_SYS_INFO_H_
