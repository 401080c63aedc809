// Eight threads use the component at once, each with its own objects and
// files, for a few seconds. Every round's answers must equal those of the
// same work done alone. Run under ThreadSanitizer too.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::size_t kThreads = 8;
constexpr auto kStressTime = std::chrono::seconds(3);

const char16_t* const kWords[] = {
    u"hello", u"Hello", u"HELLO", u"wrold", u"the", u"recieve", u"o'clock",
    u"(quoted)", u"don't", u"1999", u"3.14", u"x", u"naïve", u"straße",
    u"définitely", u"seperate", u"occured", u"Quenvar"};

const char16_t* const kMisspellings[] = {u"helo", u"wrold", u"recieve",
                                         u"seperate", u"becuase", u"teh"};

// Records each unknown word and its position, and cancels the walk at the
// word "stopp".
class Recorder : public SpellCheckEvents {
 public:
  explicit Recorder(std::string& log) : log_(log) {}
  void SpellWordNotInDic(const std::u16string& word, std::int32_t position,
                         Boolean& cancel) override {
    log_ += ToUtf8(word) + "@" + std::to_string(position) + " ";
    if (word == u"stopp") cancel = kTrue;
  }

 private:
  std::string& log_;
};

// One round of thread n's work, on the files of folder, as a transcript of
// every answer. Each round starts from the seed file, so rounds repeat.
std::string Round(std::size_t n, const TempDir& folder) {
  const std::string id = std::to_string(n);
  const std::u16string seed = FromUtf8(folder.File("seed" + id + ".dic"));
  const std::u16string saved = FromUtf8(folder.File("saved" + id + ".dic"));
  std::string log;
  SpellCheck speller;
  speller.Init();
  speller.LoadCustom(seed);
  speller.AddToCustom(u"quenvar" + FromUtf8(id));
  speller.AddToCustom(u"Wrold");
  for (const char16_t* word : kWords) {
    log += speller.CheckWord(word) ? '+' : '-';
    log += speller.CheckWord(word, kFalse) ? '+' : '-';
  }
  for (const char16_t* word : kMisspellings) {
    log.append("\n").append(ToUtf8(word)).append(":");
    if (const WordArray found = speller.GetSuggestions(word)) {
      for (const std::u16string& suggestion : *found) {
        log.append(" ").append(ToUtf8(suggestion));
      }
    }
  }
  log += "\n";
  Recorder recorder(log);
  const std::uint32_t cookie = speller.Advise(recorder);
  std::u16string text = u"Teh quenvar" + FromUtf8(id) +
                        u" wrold, (recieve) seperate stopp nevr reached";
  speller.CheckText(text, kFalse);
  speller.Unadvise(cookie);
  speller.SaveCustom(saved);
  speller.LoadCustom(saved);
  log.append("\n").append(ReadBytes(folder.File("saved" + id + ".dic")));
  log += speller.CheckWord(u"quenvar" + FromUtf8(id)) ? "kept" : "lost";
  return log;
}

TEST(ThreadStress, ConcurrentThreadsAnswerAsASingleThreadDoes) {
  TempDir folder;
  std::vector<std::string> expected(kThreads);
  for (std::size_t n = 0; n < kThreads; ++n) {
    WriteBytes(folder.File("seed" + std::to_string(n) + ".dic"),
               "seedword" + std::to_string(n) + "\r\nAnother\r\n");
    OnFreshThread([&] { expected[n] = Round(n, folder); });
  }
  ASSERT_NE(expected[0], expected[1]);

  std::atomic<bool> go{false};
  std::vector<int> rounds(kThreads, 0);
  std::vector<std::string> mismatch(kThreads);
  std::vector<std::thread> threads;
  for (std::size_t n = 0; n < kThreads; ++n) {
    threads.emplace_back([&, n] {
      while (!go) std::this_thread::yield();
      const auto end = std::chrono::steady_clock::now() + kStressTime;
      // At least two rounds each, however slow the build.
      while (rounds[n] < 2 || std::chrono::steady_clock::now() < end) {
        std::string got;
        try {
          got = Round(n, folder);
        } catch (const std::exception& e) {
          got = std::string("threw: ") + e.what();
        }
        ++rounds[n];
        if (got != expected[n]) {
          mismatch[n] = got;
          return;
        }
      }
    });
  }
  go = true;
  for (std::thread& thread : threads) thread.join();
  for (std::size_t n = 0; n < kThreads; ++n) {
    EXPECT_EQ(mismatch[n], "") << "thread " << n << " in round " << rounds[n]
                               << "; alone it answered:\n" << expected[n];
  }
}

}  // namespace
}  // namespace quenvar
