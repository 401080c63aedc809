#include <gtest/gtest.h>

#include <quenvarspell/dispatch.h>
#include <quenvarspell/spell_check.h>

#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::TempDir;

TEST(SpellCheck, ObjectsOfAThreadShareTheLists) {
  OnFreshThread([] {
    SpellCheck first;
    first.AddToCustom(u"Quenvar");
    SpellCheck second;
    EXPECT_EQ(second.CheckWord(u"quenvar"), kTrue);
    EXPECT_EQ(second.CheckWord(u"quenvar", kFalse), kFalse);
    // Any non-zero value counts as True.
    EXPECT_EQ(second.CheckWord(u"quenvar", 7), kTrue);
  });
}

TEST(SpellCheck, ThreadsDoNotSeeEachOthersLists) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.AddToCustom(u"threadword");
    speller.Init();
    OnFreshThread([] {
      EXPECT_EQ(SpellCheck().CheckWord(u"threadword"), kFalse);
      EXPECT_FALSE(SpellCheck().IsMainListLoaded());
    });
    EXPECT_EQ(speller.CheckWord(u"threadword"), kTrue);
    EXPECT_TRUE(SpellCheck().IsMainListLoaded());
  });
}

TEST(SpellCheck, ResultsOfTheVariantMethods) {
  TempDir dir;
  OnFreshThread([&] {
    SpellCheck speller;
    EXPECT_EQ(speller.AddToCustom(u"word"), Variant());
    const std::u16string file = FromUtf8(dir.File("c.dic"));
    EXPECT_EQ(speller.SaveCustom(file), Variant());
    EXPECT_EQ(speller.LoadCustom(file), kFalse);  // even though it loaded
    EXPECT_THROW(speller.LoadCustom(FromUtf8(dir.File("missing.dic"))),
                 std::system_error);
  });
}

TEST(SpellCheck, AnyStringIsSafeInput) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.Init();
    const std::u16string inputs[] = {
        std::u16string(1 << 20, u'x'),
        std::u16string(1 << 20, u'\xD800'),
        std::u16string(u"a\0b\0c", 5),
        u"\xDC00\xD800\xDBFF",
        std::u16string(100000, u'.') + u"ab",
        std::u16string(u"r\xD800" u"ecieve\0", 9),
        u"\u0440\u0435\u0441\u0438\u0432\u0435",  // Cyrillic
    };
    for (const std::u16string& input : inputs) {
      EXPECT_EQ(speller.CheckWord(input, kFalse) == kTrue,
                speller.CheckWord(input, kTrue) == kTrue);
      const WordArray ranked = speller.GetRankedSuggestions(input, 1000);
      EXPECT_TRUE(!ranked || !ranked->empty());
      speller.AddToCustom(input);
      EXPECT_EQ(speller.CheckWord(input), kTrue);
    }
  });
}

TEST(SpellCheck, UnadviseOfAnUnknownCookieThrows) {
  SpellCheck speller;
  SpellCheckEvents sink;
  const std::uint32_t cookie = speller.Advise(sink);
  EXPECT_NE(speller.Advise(sink), cookie);
  speller.Unadvise(cookie);
  EXPECT_THROW(speller.Unadvise(cookie), Error);
}

TEST(TypeDescription, MethodsInInterfaceOrderWithTheirHelp) {
  const TypeDescription& type = SpellCheckType();
  EXPECT_EQ(type.class_name, "SpellCheck");
  EXPECT_EQ(type.interface_name, "_SpellCheck");
  EXPECT_EQ(type.event_interface_name, "__SpellCheck");
  std::vector<std::string_view> names;
  for (const MemberDescription& m : type.methods) names.push_back(m.name);
  EXPECT_EQ(names, (std::vector<std::string_view>{
                       "CheckWord", "GetSuggestions", "AddToCustom",
                       "SaveCustom", "LoadCustom", "ShowSuggestionDialog",
                       "CheckText", "Init"}));
  EXPECT_EQ(type.methods[0].help_string,
            "Checks if a word is in the dictionary, if CheckCustom is True - "
            "it will also look in the user dictionary.");
  EXPECT_EQ(type.methods[1].params[1].name, "bCheckCustom");
  EXPECT_TRUE(type.methods[1].params[1].optional);
  EXPECT_EQ(type.methods[1].params[1].default_value, Variant(kTrue));
  EXPECT_TRUE(type.methods[6].params[0].by_reference);
  EXPECT_EQ(type.methods[7].help_string, "");

  ASSERT_EQ(type.events.size(), 2u);
  EXPECT_EQ(type.events[0].name, "SpellReplace");
  EXPECT_EQ(type.events[0].dispatch_id, 1);
  EXPECT_TRUE(type.events[0].help_string.ends_with("to the text.\r\n"));
  EXPECT_EQ(type.events[1].name, "SpellWordNotInDic");
  EXPECT_EQ(type.events[1].params[2].name, "Cancel");
  EXPECT_TRUE(type.events[1].params[2].by_reference);
}

TEST(Invoke, CallsByNameAndAppliesDefaults) {
  OnFreshThread([] {
    SpellCheck speller;
    std::vector<Variant> add = {std::u16string(u"Quenvar")};
    EXPECT_EQ(Invoke(speller, "AddToCustom", add), Variant());

    auto check = [&](std::string_view name, std::vector<Variant> args) {
      return Invoke(speller, name, args);
    };
    const Variant word = std::u16string(u"quenvar");
    EXPECT_EQ(check("checkword", {word}), Variant(kTrue));
    EXPECT_EQ(check("CheckWord", {word, std::int32_t{0}}), Variant(kFalse));
    // Non-zero, though its low 16 bits are zero.
    EXPECT_EQ(check("CheckWord", {word, std::int32_t{65536}}), Variant(kTrue));
    EXPECT_EQ(check("CheckWord", {word, Variant()}), Variant(kTrue));
  });
}

// sText is in and out through the late-bound call too: the walk reads the
// caller's argument, so a handler's edit steers the rest of the walk and
// stays when the call returns.
TEST(Invoke, CheckTextWalksTheCallersText) {
  OnFreshThread([] {
    SpellCheck speller;
    std::vector<Variant> args = {std::u16string(u"qqq rrr sss"), kFalse};
    struct Editor : SpellCheckEvents {
      void SpellWordNotInDic(const std::u16string& word, std::int32_t,
                             Boolean&) override {
        seen.push_back(word);
        if (word == u"qqq") std::get<std::u16string>((*args)[0]) = u"qqq ttt";
      }
      std::vector<Variant>* args;
      std::vector<std::u16string> seen;
    } editor;
    editor.args = &args;
    speller.Advise(editor);
    EXPECT_EQ(Invoke(speller, "CheckText", args), Variant());
    EXPECT_EQ(editor.seen, (std::vector<std::u16string>{u"qqq", u"ttt"}));
    EXPECT_EQ(args[0], Variant(u"qqq ttt"));
  });
}

// These tests run without the widgets library beside them: the dialog is
// refused with an error naming it, and the walk without the dialog works.
TEST(SpellCheck, DialogWithoutTheWidgetsLibraryNamesIt) {
  try {
    SpellCheck().ShowSuggestionDialog(u"word");
    ADD_FAILURE() << "no exception";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("libquenvarspell-widgets.so"),
              std::string::npos)
        << error.what();
  }
}

TEST(Invoke, RejectsBadCalls) {
  SpellCheck speller;
  std::vector<Variant> none;
  EXPECT_THROW(Invoke(speller, "Spell", none), Error);
  EXPECT_THROW(Invoke(speller, "CheckWord", none), Error);
  std::vector<Variant> wrong_type = {std::int32_t{1}};
  EXPECT_THROW(Invoke(speller, "CheckWord", wrong_type), Error);
  std::vector<Variant> too_many = {std::u16string(u"a"), kTrue, kTrue};
  EXPECT_THROW(Invoke(speller, "CheckWord", too_many), Error);
}

}  // namespace
}  // namespace quenvar
