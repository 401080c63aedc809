#include "suggest/sound_key.h"

#include "suggest/error_model.h"
#include "suggest/letters.h"

namespace quenvar {
namespace {

// The base letters of a word, other bytes dropped, with zeros past the end
// so that the rules may look three letters ahead.
class Letters {
 public:
  explicit Letters(std::string_view bytes) {
    for (const char c : bytes) {
      const char b = BaseLetter(c);
      if (b != 0 && size_ < kMaxRankedLength) letters_[size_++] = b;
    }
  }
  std::size_t size() const { return size_; }
  char operator[](std::size_t i) const { return letters_[i]; }
  bool VowelAt(std::size_t i) const { return i < size_ && IsVowel(letters_[i]); }

 private:
  std::array<char, kMaxRankedLength + 3> letters_{};
  std::size_t size_ = 0;
};

bool IsSoftVowel(char c) { return c == 'e' || c == 'i' || c == 'y'; }

// Whether the letters after i are ia or io, which make si and ti sound sh.
bool BeforeIaOrIo(const Letters& s, std::size_t i) {
  return s[i + 1] == 'i' && (s[i + 2] == 'o' || s[i + 2] == 'a');
}

// Pushes what the first letters of a word sound like, when a rule of their
// own applies, and returns the index of the first letter left: the silent
// first letter of kn, gn, pn, wr and ps, wh as w, x as s, a first vowel as
// A.
std::size_t PushStart(const Letters& s, SoundKey& key) {
  if (s.size() >= 2) {
    const char a = s[0], b = s[1];
    if ((a == 'k' && b == 'n') || (a == 'g' && b == 'n') ||
        (a == 'p' && b == 'n') || (a == 'w' && b == 'r') ||
        (a == 'p' && b == 's')) {
      return 1;
    }
    if (a == 'w' && b == 'h') {
      key.Push('w');
      return 2;
    }
  }
  if (s.size() > 0 && s[0] == 'x') {
    key.Push('s');
    return 1;
  }
  if (s.VowelAt(0) && s[0] != 'y') {
    key.Push('A');
    return 1;
  }
  return 0;
}

// The letters of several sounds: each pushes the symbol of the letter at i
// and returns how many letters it took, two where the next letter only
// made its sound (ch, gh, ph, sh, th).

std::size_t PushC(const Letters& s, std::size_t i, SoundKey& key) {
  if (s[i + 1] == 'h') {
    key.Push(i > 0 && s[i - 1] == 's' ? 'k' : 'x');  // school, church
    return 2;
  }
  if (s[i + 1] == 'i' && s[i + 2] == 'a') {
    key.Push('x');  // special
  } else {
    key.Push(IsSoftVowel(s[i + 1]) ? 's' : 'k');
  }
  return 1;
}

std::size_t PushG(const Letters& s, std::size_t i, SoundKey& key) {
  const char next = s[i + 1];
  if (next == 'h') {
    if (i == 0) key.Push('k');  // ghost; silent in night
    return 2;
  }
  const bool final_gn = next == 'n' && (i + 2 == s.size() || (s[i + 2] == 'e' && s[i + 3] == 'd'));
  const bool dge = i > 0 && s[i - 1] == 'd' && IsSoftVowel(next);
  // A final gn is an n (sign, signed); in dge the d made the sound.
  if (!final_gn && !dge) key.Push(IsSoftVowel(next) ? 'j' : 'k');
  return 1;
}

std::size_t PushS(const Letters& s, std::size_t i, SoundKey& key) {
  if (s[i + 1] == 'h') {
    key.Push('x');
    return 2;
  }
  key.Push(BeforeIaOrIo(s, i) ? 'x' : 's');  // mission
  return 1;
}

std::size_t PushT(const Letters& s, std::size_t i, SoundKey& key) {
  if (BeforeIaOrIo(s, i)) {
    key.Push('x');  // nation
  } else if (s[i + 1] == 'h') {
    key.Push('0');
    return 2;
  } else if (!(s[i + 1] == 'c' && s[i + 2] == 'h')) {
    key.Push('t');  // silent in tch
  }
  return 1;
}

// One case a letter: pushes the symbol of the letter at i and returns how
// many letters it took.
std::size_t PushLetter(const Letters& s, std::size_t i, SoundKey& key) {
  const char c = s[i];
  switch (c) {
    case 'a': case 'e': case 'i': case 'o': case 'u':
      return 1;
    case 'b':  // silent in a final mb (lamb)
      if (!(i + 1 == s.size() && i > 0 && s[i - 1] == 'm')) key.Push('p');
      return 1;
    case 'c':
      return PushC(s, i, key);
    case 'd':  // dge, dgi, dgy
      key.Push(s[i + 1] == 'g' && IsSoftVowel(s[i + 2]) ? 'j' : 't');
      return 1;
    case 'g':
      return PushG(s, i, key);
    case 'h':  // heard before a vowel, after a vowel or at the start
      if (s.VowelAt(i + 1) && (i == 0 || s.VowelAt(i - 1))) key.Push('h');
      return 1;
    case 'k':  // silent after c
      if (!(i > 0 && s[i - 1] == 'c')) key.Push('k');
      return 1;
    case 'p':
      key.Push(s[i + 1] == 'h' ? 'f' : 'p');
      return s[i + 1] == 'h' ? 2 : 1;
    case 's':
      return PushS(s, i, key);
    case 't':
      return PushT(s, i, key);
    case 'w': case 'y':  // consonants only before a vowel
      if (s.VowelAt(i + 1)) key.Push(c);
      return 1;
    case 'x':
      key.Push('k');
      key.Push('s');
      return 1;
    case 'q':
      key.Push('k');
      return 1;
    case 'v':
      key.Push('f');
      return 1;
    case 'z':
      key.Push('s');
      return 1;
    default:  // f j l m n r
      key.Push(c);
      return 1;
  }
}

}  // namespace

SoundKey KeyOf(std::string_view bytes) {
  const Letters s(bytes);
  SoundKey key;
  std::size_t i = PushStart(s, key);
  while (i < s.size()) {
    // A doubled letter sounds once, but for cc (accept).
    if (i > 0 && s[i] == s[i - 1] && s[i] != 'c') {
      ++i;
    } else {
      i += PushLetter(s, i, key);
    }
  }
  return key;
}

}  // namespace quenvar
