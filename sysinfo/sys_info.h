// The system-information object: the temp folder, the system folder, unique
// temp file names, and the clean-up of the temp files it has handed out.

#ifndef QUENVARSPELL_SYSINFO_SYS_INFO_H_
#define QUENVARSPELL_SYSINFO_SYS_INFO_H_

#include <string>
#include <string_view>
#include <vector>

namespace quenvar {

// One object per thread lives in the thread's state; a separately created
// object behaves the same with a list of its own. Folders it hands out always
// end in '/'. Paths are file-system paths (UTF-8).
class SysInfo {
 public:
  SysInfo() = default;
  // Deletes every temp file still recorded, ignoring every failure.
  ~SysInfo();
  SysInfo(const SysInfo&) = delete;
  SysInfo& operator=(const SysInfo&) = delete;

  // The folder for temporary files: $TMPDIR when it is set, not empty and
  // shorter than PATH_MAX, else /tmp.
  std::string TempPath() const;

  // The folder of the system's shared libraries: the folder the C library
  // the process runs with was loaded from; "/" when that cannot be found.
  std::string SystemDirectory() const;

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

  // The names recorded by CreateTempFile since the last DeleteTempFiles,
  // oldest first; a name may occur twice.
  const std::vector<std::string>& TempFiles() const { return sTempFiles; }

 private:
  // The text before the first NUL of a service's buffer. Throws Error when
  // the text holds no NUL.
  static std::string TrimAtNull(std::string_view text);

  // text when it ends in '/', else text followed by '/' (so "" gives "/").
  static std::string AddTrailingSeparator(std::string text);

  std::vector<std::string> sTempFiles;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SYSINFO_SYS_INFO_H_
