// The Enchant provider in two halves. enchant_provider.cpp says what it does
// (the tags it serves, check, suggest, the words added), the same under every
// Enchant; one interface_*.cpp, chosen by the build from the installed
// Enchant's version, makes and frees the provider and dictionary objects of
// that Enchant's interface. <enchant-provider.h> is the installed one for
// Enchant 2.3 to 2.6 and the copy in enchant-2.8.2/ for 2.7 onward.
#pragma once

#include <enchant-provider.h>

#include <cstddef>

namespace quenvar::enchant_provider {

// interface_*.cpp: a provider whose dispose and dispose_dict free what the
// interface leaves to the provider.
EnchantProvider* NewProvider();

// interface_*.cpp: an empty dictionary of provider, freed by dispose_dict.
EnchantDict* NewDict(EnchantProvider* provider);

// enchant_provider.cpp: adds a word the user added to the session or the
// personal list to the calling thread's custom list.
void AddWord(EnchantDict* dict, const char* word, std::size_t length);

}  // namespace quenvar::enchant_provider
