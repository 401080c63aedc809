// An Enchant 2 provider: GTK programs (through gspell), WebKitGTK, LyX,
// python3-enchant and every other Enchant client check and correct English
// with QuenvarSpell. What it does is said here, the same under every
// Enchant interface (provider.h); it answers through the component's public
// API on the calling thread's lists: the built-in list is loaded once per
// thread, on its first call. Each tag is a dictionary of its own, following
// its spelling of English. Lists handed to Enchant are allocated with glib,
// which frees them.

#include "provider.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include <quenvarspell/spell_check.h>

namespace quenvar::enchant_provider {
namespace {

// The tags served, each a spelling the built-in list holds (en: all of
// them at once).
constexpr std::array<const char*, 6> kTags = {"en",        "en_US", "en_GB",
                                              "en_GB-ize", "en_CA", "en_AU"};

// A dictionary's spelling travels in its user_data, which Enchant leaves to
// the provider under every interface: the spelling's value itself, so that
// nothing is allocated beside the dictionary and nothing needs freeing.
void* SpellingData(quenvar::Spelling spelling) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(spelling));
}

quenvar::Spelling SpellingOf(const EnchantDict* dict) {
  return static_cast<quenvar::Spelling>(reinterpret_cast<std::uintptr_t>(dict->user_data));
}

struct LoadedSpeller {
  LoadedSpeller() { speller.Init(); }
  quenvar::SpellCheck speller;
};

// This thread's speller, the built-in list loaded on first use. Throws what
// Init throws (the next call tries again).
quenvar::SpellCheck& ThreadSpeller() {
  thread_local LoadedSpeller loaded;
  return loaded.speller;
}

// The word Enchant passes (UTF-8, validated by Enchant), with the
// typographic apostrophe read as the list's.
std::u16string WordOf(const char* word, std::size_t length) {
  std::u16string text = quenvar::FromUtf8(std::string_view(word, length));
  std::replace(text.begin(), text.end(), u'\u2019', u'\'');
  return text;
}

// Runs body; a failure becomes the dictionary's error, which Enchant
// reports to its client, and fallback is answered.
template <typename Body, typename Result>
Result Guarded(EnchantDict* dict, Result fallback, Body body) {
  try {
    return body();
  } catch (const std::exception& e) {
    enchant_dict_set_error(dict, e.what());
  } catch (...) {
    enchant_dict_set_error(dict, "unknown failure");
  }
  return fallback;
}

// 0 when the word is spelled correctly, 1 when not, -1 on a failure.
int Check(EnchantDict* dict, const char* const word, std::size_t length) {
  return Guarded(dict, -1, [&] {
    return ThreadSpeller().CheckWord(WordOf(word, length), SpellingOf(dict)) != quenvar::kFalse
               ? 0
               : 1;
  });
}

char** Suggest(EnchantDict* dict, const char* const word, std::size_t length,
               std::size_t* count) {
  *count = 0;
  return Guarded(dict, static_cast<char**>(nullptr), [&]() -> char** {
    const quenvar::WordArray words =
        ThreadSpeller().GetRankedSuggestions(WordOf(word, length), SpellingOf(dict));
    if (!words) return nullptr;
    char** list = g_new0(char*, words->size() + 1);
    for (const std::u16string& suggestion : *words) {
      list[(*count)++] = g_strdup(quenvar::ToUtf8(suggestion).c_str());
    }
    return list;
  });
}

// The spelling of a tag served. Enchant 2.3 asks for en_GB-ize as en_GB_IZE
// (it upper-cases all that follows the first '_', and lists no tag with a
// '-'); later releases pass the tag as it is.
std::optional<quenvar::Spelling> SpellingOfTag(std::string_view tag) {
  if (tag == "en_GB_IZE") tag = "en_GB-ize";
  const bool served = std::any_of(kTags.begin(), kTags.end(),
                                  [&](const char* known) { return known == tag; });
  return served ? quenvar::ParseSpelling(tag) : std::nullopt;
}

EnchantDict* RequestDict(EnchantProvider* provider, const char* const tag) {
  const std::optional<quenvar::Spelling> spelling = SpellingOfTag(tag);
  if (!spelling) return nullptr;
  EnchantDict* dict = NewDict(provider);
  dict->user_data = SpellingData(*spelling);
  dict->check = Check;
  dict->suggest = Suggest;
  // Enchant 2.5 onward also hands the words added to the personal list here.
  dict->add_to_session = AddWord;
  // A word removed from the session stays in the custom list: Enchant
  // itself then answers it as misspelled and leaves it out of suggestions.
  return dict;
}

int DictionaryExists(EnchantProvider*, const char* const tag) {
  return SpellingOfTag(tag) ? 1 : 0;
}

const char* Identify(EnchantProvider*) { return "quenvarspell"; }

const char* Describe(EnchantProvider*) { return "QuenvarSpell Provider"; }

char** ListDicts(EnchantProvider*, std::size_t* count) {
  char** list = g_new0(char*, kTags.size() + 1);
  for (std::size_t i = 0; i < kTags.size(); ++i) list[i] = g_strdup(kTags[i]);
  *count = kTags.size();
  return list;
}

}  // namespace

// Enchant keeps the personal list and the session's words itself as well;
// adding them to the thread's custom list lets this thread's checks and
// suggestions know them at once.
void AddWord(EnchantDict* dict, const char* const word, std::size_t length) {
  Guarded(dict, 0, [&] {
    ThreadSpeller().AddToCustom(WordOf(word, length));
    return 0;
  });
}

}  // namespace quenvar::enchant_provider

// The entry point Enchant looks up in each module of its provider folder.
extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider() {
  using namespace quenvar::enchant_provider;
  EnchantProvider* provider = NewProvider();
  provider->request_dict = RequestDict;
  provider->dictionary_exists = DictionaryExists;
  provider->identify = Identify;
  provider->describe = Describe;
  provider->list_dicts = ListDicts;
  return provider;
}
