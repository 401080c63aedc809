// Helpers shared by the unit tests.

#ifndef QUENVARSPELL_TESTS_TEST_SUPPORT_H_
#define QUENVARSPELL_TESTS_TEST_SUPPORT_H_

#include <filesystem>
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

std::string ReadBytes(const std::string& path);
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
