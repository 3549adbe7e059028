// Artificial languages: a few words of one length, a stream of their tokens
// with no pause between them, and the test items that go with that stream.
//
// Everything random comes from Random (splitmix64) seeded from the options'
// seed, so the same options give the same language, stream and items on
// every machine and library. Words, stream and non-words draw from separate
// sequences: changing the number of tokens keeps the random words.
//
// A sequence "occurs in the stream" when it is a run of consecutive
// syllables inside one utterance: the learner's focus never crosses an
// utterance boundary, so neither does a junction.
#ifndef SYLLEX_RESEARCH_LANGUAGE_H_
#define SYLLEX_RESEARCH_LANGUAGE_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "research/corpus.h"
#include "research/test_items.h"

// A request that is malformed or cannot be met; what() says why.
class LanguageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// splitmix64: small, fast, and the same numbers everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // Uniform in [0, n), without modulo bias; n > 0.
  uint64_t below(uint64_t n);

 private:
  uint64_t state_;
};

using Word = std::vector<std::string>;  // its syllables, without "/"

struct LanguageOptions {
  std::vector<Word> words;  // given words; when empty, randomWords are drawn
  int randomWords = 0;
  int syllablesPerWord = 0;
  bool reuseSyllables = false;  // random words may share syllables
  long tokens = 180;
  bool allowRepeats = false;  // a word may follow itself
  long boundaryEvery = 0;     // an utterance every so many tokens; 0: one utterance
  uint64_t seed = 1;
};

// Invariants: at least one word; all words distinct, of one length, their
// syllables non-empty and free of "/" and blanks; tokens index words;
// utteranceEnds increase strictly and the last is tokens.size().
struct Language {
  std::vector<Word> words;
  std::vector<int> tokens;
  std::vector<size_t> utteranceEnds;  // one past each utterance's last token
};

// "tu/pi/ro,go/la/bu": words separated by ",", syllables by "/". Throws
// LanguageError on an empty word or syllable, or a blank in a syllable.
std::vector<Word> parseWords(const std::string& list);

// The consonant-vowel syllables random words are drawn from (85 of them).
const std::vector<std::string>& syllableInventory();

// The language and its stream. Throws LanguageError when the request cannot
// be met: no words, words of different lengths or repeated, fewer than one
// token, a negative boundary interval, more tokens than one with a single
// word and no repeats, or more syllables than the inventory holds (without
// reuse) or more words than distinct words of that length (with reuse).
Language makeLanguage(const LanguageOptions& options);

// The stream as a corpus with word boundaries (toCorpusText, toGoldText).
Corpus languageCorpus(const Language& language);

// The test items, in gold form: every word, in the language's order; every
// part-word (the last i syllables of a word and the first k - i of the
// next, 0 < i < k, for k syllables a word, at a junction inside an
// utterance; none equal to a word), in order of first occurrence; then as
// many non-words as words: k distinct syllables of the language in an order
// that occurs nowhere in the stream and is no word, drawn with the seed.
// Throws LanguageError when too few non-words exist.
std::vector<TestItem> languageTestItems(const Language& language, uint64_t seed);

// TSV with header "item\tclass", one item a line.
std::string testItemsText(const std::vector<TestItem>& items);

#endif  // SYLLEX_RESEARCH_LANGUAGE_H_
