// A small host: checks each word given on the command line and prints the
// suggestions for the ones that are not spelled correctly.
//
//   check_words recieve house wrld

#include <iostream>

#include <quenvarspell/spell_check.h>

int main(int argc, char** argv) {
  try {
    quenvar::SpellCheck speller;
    speller.Init();
    int unknown = 0;
    for (int i = 1; i < argc; ++i) {
      const std::u16string word = quenvar::FromUtf8(argv[i]);
      if (speller.CheckWord(word)) {
        std::cout << argv[i] << ": correct\n";
        continue;
      }
      ++unknown;
      std::cout << argv[i] << ": not in the dictionary";
      const quenvar::WordArray suggestions = speller.GetSuggestions(word);
      if (suggestions) {
        const char* separator = "; suggestions: ";
        for (const std::u16string& suggestion : *suggestions) {
          std::cout << separator << quenvar::ToUtf8(suggestion);
          separator = ", ";
        }
      }
      std::cout << '\n';
    }
    return unknown == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "check_words: " << e.what() << '\n';
    return 2;
  }
}
