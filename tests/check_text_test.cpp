#include "textcheck/check_text.h"

#include <gtest/gtest.h>
#include <quenvarspell/spell_check.h>

#include "dictionary/word_list.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::TempDir;
using testing::WriteBytes;

struct Event {
  std::string kind;
  std::u16string word;
  std::u16string replacement;
  std::int32_t position;
  friend bool operator==(const Event&, const Event&) = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << e.kind << "(" << ToUtf8(e.word) << ", " << ToUtf8(e.replacement)
             << ", " << e.position << ")";
}

// Records every event; optionally answers SpellWordNotInDic with a Cancel
// value and runs an extra action.
class Recorder : public SpellCheckEvents {
 public:
  void SpellReplace(const std::u16string& word, const std::u16string& with,
                    std::int32_t position, WordArray& sSuggestions) override {
    events.push_back({"replace", word, with, position});
    arrived_suggestions = sSuggestions;
  }
  void SpellWordNotInDic(const std::u16string& word, std::int32_t position,
                         Boolean& Cancel) override {
    events.push_back({"unknown", word, u"", position});
    received_cancel.push_back(Cancel);
    if (cancel_with) Cancel = *cancel_with;
    if (on_unknown) on_unknown(word);
  }

  std::vector<Event> events;
  WordArray arrived_suggestions = std::vector<std::u16string>{u"none yet"};
  std::vector<Boolean> received_cancel;
  std::optional<Boolean> cancel_with;
  std::function<void(const std::u16string&)> on_unknown;
};

// The walk without a user: no dialog may be asked for.
WalkUserInterface NoUser() {
  return {[](const std::u16string&) -> Variant {
            throw std::logic_error("the walk asked for the dialog");
          },
          [] {}};
}

Event Unknown(const char16_t* word, std::int32_t position) {
  return {"unknown", word, u"", position};
}

// The words of a small English list, loaded into this thread's main list.
void LoadSmallList(const TempDir& dir) {
  const std::string path = dir.File("words.txt");
  WriteBytes(path,
             "cat\r\ndon't\r\nknown\r\nthe\r\nwell\r\nwell-known\r\nworld");
  LoadWordList(path, {});
}

TEST(FindDelimiter, FindsTheFirstDelimiterAtOrAfterStart) {
  EXPECT_EQ(FindDelimiter(1, u"Helo, wrld!"), 5);
  EXPECT_EQ(FindDelimiter(6, u"Helo, wrld!"), 6);
  EXPECT_EQ(FindDelimiter(7, u"Helo, wrld!"), 11);
  EXPECT_EQ(FindDelimiter(12, u"Helo, wrld!"), -1);
  EXPECT_EQ(FindDelimiter(1, u""), -1);
  EXPECT_EQ(FindDelimiter(1, u"don't-stop"), -1);
  const std::u16string all = u"\t\n\r \"/?.;:,\\()[]{}<>|!";
  ASSERT_EQ(all.size(), 22u);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(FindDelimiter(1, u"ab" + all.substr(i, 1)), 3) << i;
  }
  // Look-alikes are word characters.
  EXPECT_EQ(FindDelimiter(1, u"a\u00A0b\u3002c'-_#"), -1);
}

TEST(CheckText, ReportsEachUnknownWordWithItsOffset) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    Recorder recorder;
    std::u16string text = u"Helo, wrld!";
    CheckText(text, false, recorder, NoUser());
    EXPECT_EQ(recorder.events,
              (std::vector<Event>{Unknown(u"Helo", 0), Unknown(u"wrld", 6)}));
    EXPECT_EQ(text, u"Helo, wrld!");
  });
}

TEST(CheckText, WordsBetweenAnyDelimitersAndTheFinalWord) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    Recorder recorder;
    std::u16string text =
        u"  ((Teh)) well-known don't 1999 HELLO x\r\nthe\tcaat";
    CheckText(text, false, recorder, NoUser());
    EXPECT_EQ(recorder.events,
              (std::vector<Event>{Unknown(u"Teh", 4), Unknown(u"HELLO", 32),
                                  Unknown(u"caat", 45)}));
  });
}

TEST(CheckText, EmptyTextAndTextOfDelimitersRaiseNothing) {
  OnFreshThread([] {
    Recorder recorder;
    std::u16string empty;
    CheckText(empty, false, recorder, NoUser());
    std::u16string delimiters = u"...\r\n!!";
    CheckText(delimiters, false, recorder, NoUser());
    EXPECT_TRUE(recorder.events.empty());
  });
}

TEST(CheckText, OnlyMinusOneCancels) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    std::u16string text = u"aaa bbb ccc";

    Recorder cancelling;
    cancelling.cancel_with = kTrue;
    CheckText(text, false, cancelling, NoUser());
    EXPECT_EQ(cancelling.events, std::vector<Event>{Unknown(u"aaa", 0)});

    // Another non-zero value goes on, and reaches the next event as set.
    Recorder other;
    other.cancel_with = 1;
    CheckText(text, false, other, NoUser());
    EXPECT_EQ(other.events.size(), 3u);
    EXPECT_EQ(other.received_cancel, (std::vector<Boolean>{kFalse, 1, 1}));
  });
}

TEST(CheckText, HandlerEditsAreReadByTheRestOfTheWalk) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    std::u16string text = u"Teh cat sat";
    Recorder recorder;
    // The host replaces the word in its own text: "Teh" -> "The mat".
    recorder.on_unknown = [&](const std::u16string& word) {
      if (word == u"Teh") text.replace(0, 3, u"The mat");
    };
    CheckText(text, false, recorder, NoUser());
    // The walk goes on at the old word's end plus one, in the edited text:
    // "The mat cat sat" is read from offset 4 on ("mat", "cat", "sat").
    EXPECT_EQ(recorder.events,
              (std::vector<Event>{Unknown(u"Teh", 0), Unknown(u"mat", 4),
                                  Unknown(u"sat", 12)}));
  });
}

TEST(CheckText, EventsReachEveryConnectedSinkInOrder) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    SpellCheck speller;
    Recorder first, second, third;
    second.cancel_with = 1;
    speller.Advise(first);
    const std::uint32_t cookie = speller.Advise(second);
    speller.Advise(third);
    std::u16string text = u"aaa bbb";
    EXPECT_EQ(speller.CheckText(text, kFalse), Variant());
    EXPECT_EQ(first.events.size(), 2u);
    EXPECT_EQ(third.events, first.events);
    // Cancel passes from sink to sink within one event.
    EXPECT_EQ(third.received_cancel, (std::vector<Boolean>{1, 1}));

    speller.Unadvise(cookie);
    first.events.clear();
    third.events.clear();
    // The free walk reaches only its own sink.
    CheckText(text, false, first, NoUser());
    speller.CheckText(text, kFalse);
    EXPECT_EQ(first.events.size(), 4u);
    EXPECT_EQ(third.events.size(), 2u);
    EXPECT_EQ(second.events.size(), 2u);
  });
}

TEST(CheckText, ASinkMayDisconnectAnotherDuringAnEvent) {
  OnFreshThread([] {
    SpellCheck speller;
    Recorder first, second;
    const std::uint32_t second_cookie = [&] {
      speller.Advise(first);
      return speller.Advise(second);
    }();
    first.on_unknown = [&](const std::u16string&) {
      speller.Unadvise(second_cookie);
      first.on_unknown = nullptr;
    };
    std::u16string text = u"qqq";
    speller.CheckText(text, kFalse);
    EXPECT_EQ(first.events.size(), 1u);
    EXPECT_TRUE(second.events.empty());
  });
}

// A user interface that answers the dialog with the given results in turn
// and counts the rounds of pending events.
struct ScriptedUser {
  explicit ScriptedUser(std::vector<Variant> dialog_answers)
      : answers(std::move(dialog_answers)) {}
  WalkUserInterface Interface() {
    return {[this](const std::u16string& word) {
              shown.push_back(word);
              return answers.at(shown.size() - 1);
            },
            [this] { ++event_rounds; }};
  }
  std::vector<Variant> answers;
  std::vector<std::u16string> shown;
  int event_rounds = 0;
};

TEST(CheckTextWithDialog, ReportsTheUsersReplacements) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    Recorder recorder;
    ScriptedUser user({Variant(u"The")});
    std::u16string text = u"Teh cat";
    CheckText(text, true, recorder, user.Interface());
    EXPECT_EQ(recorder.events,
              (std::vector<Event>{Unknown(u"Teh", 0),
                                  {"replace", u"Teh", u"The", 0}}));
    EXPECT_EQ(recorder.arrived_suggestions, std::nullopt);  // never filled
    EXPECT_EQ(text, u"Teh cat");
    EXPECT_EQ(user.event_rounds, 2);  // once per word
  });
}

TEST(CheckTextWithDialog, IgnoreShortAndCancelledChoices) {
  TempDir dir;
  OnFreshThread([&] {
    LoadSmallList(dir);
    Recorder recorder;
    ScriptedUser user({Variant(u"aaa"),    // Ignore hands back the word
                       Variant(u"b"),      // too short
                       Variant(u"CCC"),    // a change of case is reported
                       Variant(kFalse)});  // Cancel ends the walk
    std::u16string text = u"aaa bbb ccc ddd eee";
    CheckText(text, true, recorder, user.Interface());
    EXPECT_EQ(recorder.events,
              (std::vector<Event>{Unknown(u"aaa", 0),
                                  Unknown(u"bbb", 4),
                                  Unknown(u"ccc", 8),
                                  {"replace", u"ccc", u"CCC", 8},
                                  Unknown(u"ddd", 12)}));
    EXPECT_EQ(user.shown, (std::vector<std::u16string>{u"aaa", u"bbb", u"ccc",
                                                       u"ddd"}));
  });
}

}  // namespace
}  // namespace quenvar
