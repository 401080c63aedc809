// Helpers shared by the unit tests.

#ifndef QUENVARSPELL_TESTS_TEST_SUPPORT_H_
#define QUENVARSPELL_TESTS_TEST_SUPPORT_H_

#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace quenvar::testing {

// A fresh folder, removed with everything in it when the object ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable (or unsets it, for std::nullopt) for the
// object's life, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

std::string ReadBytes(const std::string& path);

// The path of a file of tests/data.
std::string TestDataFile(const std::string& name);
// The path of a file of the corpus kept beside the repository
// (../shared/corpus, as scripts/bench reads it), which may be absent.
std::string SharedCorpusFile(const std::string& name);
void WriteBytes(const std::string& path, const std::string& bytes);

// Runs body on a new thread and waits for it, so that it starts from fresh
// per-thread component state. Exceptions thrown by body fail the test.
template <typename Body>
void OnFreshThread(Body body) {
  std::thread thread([&] { body(); });
  thread.join();
}

}  // namespace quenvar::testing

#endif  // QUENVARSPELL_TESTS_TEST_SUPPORT_H_
