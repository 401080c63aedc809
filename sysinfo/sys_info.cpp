#include "sysinfo/sys_info.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include <quenvarspell/types.h>

#include "base/file_system.h"
#include "base/text.h"
#include "sysinfo/system_services.h"

namespace quenvar {
namespace {

// The first n characters (not bytes) of UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t n) {
  std::size_t end = 0;
  for (std::size_t count = 0; end < text.size() && count < n; ++count) {
    ++end;
    while (end < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[end]))) {
      ++end;
    }
  }
  return text.substr(0, end);
}

// Creates an empty file, mode 0600, named folder + prefix + four hex digits
// + ".TMP" for the first number from a random start that no file of the
// folder has, and answers its name. Throws std::system_error naming the
// folder when no such file can be created.
std::string CreateUniqueFile(const FileSystem& files, const std::string& folder,
                             std::string_view prefix) {
  if (folder.empty()) {
    throw std::system_error(ENOENT, std::generic_category(),
                            "no folder given for a temp file");
  }
  const std::string stem =
      (folder.back() == '/' ? folder : folder + '/') + std::string(prefix);
  constexpr unsigned kNumbers = 0xFFFF;  // 1 to FFFF; 0 stands for "pick one"
  const unsigned start = std::random_device()() % kNumbers;
  int error = EEXIST;
  for (unsigned i = 0; i < kNumbers && error == EEXIST; ++i) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%04X.TMP",
                  (start + i) % kNumbers + 1);
    std::string name = stem + suffix;
    const int fd =
        files.Open(name.c_str(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      files.Close(fd);
      return name;
    }
    error = errno;
  }
  throw std::system_error(error, std::generic_category(),
                          "cannot create a temp file in '" + folder + "'");
}

}  // namespace

SysInfo::~SysInfo() { DeleteTempFiles(); }

std::string SysInfo::TempPath() const {
  std::string buffer(kServiceBufferLength, '\0');
  services_.TempPath(buffer);
  return AddTrailingSeparator(TrimAtNull(buffer));
}

std::string SysInfo::SystemDirectory() const {
  std::string buffer(kServiceBufferLength, '\0');
  services_.SystemDirectory(buffer);
  return AddTrailingSeparator(TrimAtNull(buffer));
}

std::string SysInfo::CreateTempFile(const std::string& sPathName,
                                    std::string_view sPrefix, bool bCreate) {
  std::string name =
      CreateUniqueFile(files_, sPathName, FirstCharacters(sPrefix, 3));
  if (!RemoveFile(files_, name)) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot delete '" + name + "'");
  }
  if (bCreate) sTempFiles.push_back(name);
  return name;
}

void SysInfo::ForgetTempFile(const std::string& name) noexcept {
  std::erase(sTempFiles, name);
}

void SysInfo::DeleteTempFiles() noexcept {
  for (const std::string& name : sTempFiles) RemoveFile(files_, name);
  std::vector<std::string>().swap(sTempFiles);
}

std::string SysInfo::TrimAtNull(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul == std::string_view::npos) {
    throw Error("TrimAtNull: the text holds no NUL character");
  }
  return std::string(text.substr(0, nul));
}

std::string SysInfo::AddTrailingSeparator(std::string text) {
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

}  // namespace quenvar
