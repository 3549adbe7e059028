#include "research/language.h"

#include <algorithm>
#include <set>
#include <unordered_set>

uint64_t Random::next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

uint64_t Random::below(uint64_t n) {
  // Values under 2^64 mod n would favour the low residues: draw again.
  const uint64_t threshold = (0 - n) % n;
  for (;;) {
    const uint64_t r = next();
    if (r >= threshold) return r % n;
  }
}

namespace {

// Separate sequences for words, stream and non-words, from one seed.
enum Stream : uint64_t { kWordStream = 1, kTokenStream = 2, kItemStream = 3 };

Random randomFor(uint64_t seed, Stream stream) {
  Random mixer(seed ^ (stream * 0xd1b54a32d192ed03ULL));
  return Random(mixer.next());
}

std::string joined(const Word& word) {
  std::string text;
  for (const std::string& syllable : word) {
    if (!text.empty()) text += '/';
    text += syllable;
  }
  return text;
}

void checkWords(const std::vector<Word>& words) {
  if (words.empty()) throw LanguageError("the language has no words");
  std::set<Word> seen;
  for (const Word& word : words) {
    if (word.size() != words[0].size()) {
      throw LanguageError("words of different lengths (\"" + joined(words[0]) + "\" and \"" +
                          joined(word) + "\") are not supported");
    }
    if (!seen.insert(word).second) throw LanguageError("word \"" + joined(word) + "\" given twice");
  }
}

// How many distinct words of k syllables the inventory spells, capped at cap.
long wordsPossible(long syllables, int k, long cap) {
  long count = 1;
  for (int i = 0; i < k && count < cap; ++i) count *= syllables;
  return std::min(count, cap);
}

std::vector<Word> randomWords(const LanguageOptions& options) {
  const int n = options.randomWords, k = options.syllablesPerWord;
  if (n < 1) throw LanguageError("--random-words must be at least 1");
  if (k < 1) throw LanguageError("--syllables-per-word must be at least 1");
  const std::vector<std::string>& inventory = syllableInventory();
  const long size = static_cast<long>(inventory.size());
  Random random = randomFor(options.seed, kWordStream);
  std::vector<Word> words;
  if (!options.reuseSyllables) {
    if (static_cast<long>(n) * k > size) {
      throw LanguageError(std::to_string(n) + " words of " + std::to_string(k) +
                          " syllables need " + std::to_string(static_cast<long>(n) * k) +
                          " syllables; the inventory has " + std::to_string(size) +
                          " (see --reuse-syllables)");
    }
    std::vector<std::string> shuffled = inventory;
    for (size_t i = shuffled.size() - 1; i > 0; --i) {
      std::swap(shuffled[i], shuffled[random.below(i + 1)]);
    }
    for (int w = 0; w < n; ++w) {
      words.emplace_back(shuffled.begin() + w * k, shuffled.begin() + (w + 1) * k);
    }
    return words;
  }
  if (wordsPossible(size, k, n) < n) {
    throw LanguageError("the inventory spells only " + std::to_string(wordsPossible(size, k, n)) +
                        " distinct words of " + std::to_string(k) + " syllables");
  }
  std::set<Word> seen;
  while (static_cast<int>(words.size()) < n) {
    Word word;
    for (int i = 0; i < k; ++i) word.push_back(inventory[random.below(size)]);
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

std::vector<int> drawTokens(const LanguageOptions& options, int wordCount) {
  if (options.tokens < 1) throw LanguageError("--tokens must be at least 1");
  if (wordCount == 1 && options.tokens > 1 && !options.allowRepeats) {
    throw LanguageError("with one word, " + std::to_string(options.tokens) +
                        " tokens need --allow-repeats");
  }
  Random random = randomFor(options.seed, kTokenStream);
  std::vector<int> tokens;
  tokens.reserve(options.tokens);
  for (long t = 0; t < options.tokens; ++t) {
    int word;
    if (options.allowRepeats || tokens.empty()) {
      word = static_cast<int>(random.below(wordCount));
    } else {
      // Draw among the others: skip over the previous word.
      word = static_cast<int>(random.below(wordCount - 1));
      if (word >= tokens.back()) ++word;
    }
    tokens.push_back(word);
  }
  return tokens;
}

// The syllables of one utterance, in order.
std::vector<std::string> utteranceSyllables(const Language& language, size_t u) {
  const size_t start = u == 0 ? 0 : language.utteranceEnds[u - 1];
  std::vector<std::string> syllables;
  for (size_t t = start; t < language.utteranceEnds[u]; ++t) {
    const Word& word = language.words[language.tokens[t]];
    syllables.insert(syllables.end(), word.begin(), word.end());
  }
  return syllables;
}

// Every run of k syllables inside an utterance, in gold form.
std::unordered_set<std::string> runsOfLength(const Language& language, size_t k) {
  std::unordered_set<std::string> runs;
  for (size_t u = 0; u < language.utteranceEnds.size(); ++u) {
    const std::vector<std::string> syllables = utteranceSyllables(language, u);
    for (size_t i = 0; i + k <= syllables.size(); ++i) {
      runs.insert(joined(Word(syllables.begin() + i, syllables.begin() + i + k)));
    }
  }
  return runs;
}

// Enumerating every candidate is cheaper than guessing below this many.
constexpr long kEnumerationLimit = 200000;

// Ordered choices of k distinct items out of n, capped at cap.
long arrangements(long n, size_t k, long cap) {
  long count = 1;
  for (size_t i = 0; i < k && count < cap; ++i) count *= std::max(0L, n - static_cast<long>(i));
  return std::min(count, cap);
}

void enumerate(const std::vector<std::string>& syllables, size_t k, Word* prefix,
               std::vector<bool>* used, std::vector<Word>* out) {
  if (prefix->size() == k) {
    out->push_back(*prefix);
    return;
  }
  for (size_t s = 0; s < syllables.size(); ++s) {
    if ((*used)[s]) continue;
    (*used)[s] = true;
    prefix->push_back(syllables[s]);
    enumerate(syllables, k, prefix, used, out);
    prefix->pop_back();
    (*used)[s] = false;
  }
}

std::vector<std::string> nonWords(const Language& language, const std::set<std::string>& excluded,
                                  uint64_t seed) {
  const size_t k = language.words[0].size(), wanted = language.words.size();
  std::vector<std::string> syllables;  // the language's, in order of first use
  std::set<std::string> seen;
  for (const Word& word : language.words) {
    for (const std::string& syllable : word) {
      if (seen.insert(syllable).second) syllables.push_back(syllable);
    }
  }
  const std::unordered_set<std::string> heard = runsOfLength(language, k);
  auto allowed = [&](const std::string& item) {
    return !heard.count(item) && !excluded.count(item);
  };
  Random random = randomFor(seed, kItemStream);
  std::vector<std::string> chosen;
  const long possible = arrangements(static_cast<long>(syllables.size()), k, kEnumerationLimit + 1);
  if (possible <= kEnumerationLimit) {
    std::vector<Word> all;
    Word prefix;
    std::vector<bool> used(syllables.size(), false);
    enumerate(syllables, k, &prefix, &used, &all);
    std::vector<std::string> candidates;
    for (const Word& word : all) {
      if (allowed(joined(word))) candidates.push_back(joined(word));
    }
    if (candidates.size() < wanted) {
      throw LanguageError("only " + std::to_string(candidates.size()) + " non-words exist for " +
                          std::to_string(wanted) + " words: no other order of " +
                          std::to_string(k) + " distinct syllables is absent from the stream");
    }
    // A partial shuffle: the first wanted places are a uniform draw.
    for (size_t i = 0; i < wanted; ++i) {
      std::swap(candidates[i], candidates[i + random.below(candidates.size() - i)]);
      chosen.push_back(candidates[i]);
    }
    return chosen;
  }
  // So many orders that the stream holds few of them: guess until enough.
  std::set<std::string> taken;
  for (long attempt = 0; chosen.size() < wanted; ++attempt) {
    if (attempt >= 1000000) throw LanguageError("could not find enough non-words");
    Word word;
    std::vector<bool> used(syllables.size(), false);
    while (word.size() < k) {
      const size_t s = random.below(syllables.size());
      if (used[s]) continue;
      used[s] = true;
      word.push_back(syllables[s]);
    }
    const std::string item = joined(word);
    if (allowed(item) && taken.insert(item).second) chosen.push_back(item);
  }
  return chosen;
}

}  // namespace

std::vector<Word> parseWords(const std::string& list) {
  std::vector<Word> words;
  size_t start = 0;
  for (;;) {
    const size_t comma = std::min(list.find(',', start), list.size());
    const std::string text = list.substr(start, comma - start);
    if (text.empty()) throw LanguageError("empty word in \"" + list + "\"");
    Word word;
    size_t from = 0;
    for (;;) {
      const size_t slash = std::min(text.find('/', from), text.size());
      const std::string syllable = text.substr(from, slash - from);
      if (syllable.empty()) throw LanguageError("empty syllable in word \"" + text + "\"");
      if (std::any_of(syllable.begin(), syllable.end(), isBlank)) {
        throw LanguageError("blank in word \"" + text + "\"");
      }
      word.push_back(syllable);
      if (slash == text.size()) break;
      from = slash + 1;
    }
    words.push_back(word);
    if (comma == list.size()) break;
    start = comma + 1;
  }
  return words;
}

const std::vector<std::string>& syllableInventory() {
  static const std::vector<std::string> inventory = [] {
    std::vector<std::string> syllables;
    for (char consonant : std::string("bdfghjklmnprstvwz")) {
      for (char vowel : std::string("aeiou")) syllables.push_back({consonant, vowel});
    }
    return syllables;
  }();
  return inventory;
}

Language makeLanguage(const LanguageOptions& options) {
  Language language;
  language.words = options.words.empty() ? randomWords(options) : options.words;
  checkWords(language.words);
  if (options.boundaryEvery < 0) throw LanguageError("--boundary-every must not be negative");
  language.tokens = drawTokens(options, static_cast<int>(language.words.size()));
  const size_t every = options.boundaryEvery > 0 ? static_cast<size_t>(options.boundaryEvery)
                                                 : language.tokens.size();
  for (size_t end = every; end < language.tokens.size(); end += every) {
    language.utteranceEnds.push_back(end);
  }
  language.utteranceEnds.push_back(language.tokens.size());
  return language;
}

Corpus languageCorpus(const Language& language) {
  Corpus corpus;
  std::vector<std::string> text;  // syllables in stream order, to index below
  size_t token = 0;
  for (size_t u = 0; u < language.utteranceEnds.size(); ++u) {
    for (; token < language.utteranceEnds[u]; ++token) {
      for (const std::string& syllable : language.words[language.tokens[token]]) {
        auto found = std::find(corpus.inventory.begin(), corpus.inventory.end(), syllable);
        if (found == corpus.inventory.end()) {
          found = corpus.inventory.insert(corpus.inventory.end(), syllable);
        }
        corpus.syllables.push_back(static_cast<int>(found - corpus.inventory.begin()));
      }
      corpus.wordEnds.push_back(corpus.syllables.size());
    }
    corpus.utteranceEnds.push_back(corpus.syllables.size());
    corpus.utteranceLines.push_back(static_cast<int>(u) + 1);
  }
  return corpus;
}

std::vector<TestItem> languageTestItems(const Language& language, uint64_t seed) {
  std::vector<TestItem> items;
  std::set<std::string> listed;
  for (const Word& word : language.words) {
    items.push_back({joined(word), "word"});
    listed.insert(joined(word));
  }
  const size_t k = language.words[0].size();
  size_t start = 0;
  for (size_t end : language.utteranceEnds) {
    for (size_t t = start; t + 1 < end; ++t) {
      const Word& left = language.words[language.tokens[t]];
      const Word& right = language.words[language.tokens[t + 1]];
      for (size_t i = k - 1; i >= 1; --i) {  // the earliest start first
        Word part(left.end() - i, left.end());
        part.insert(part.end(), right.begin(), right.begin() + (k - i));
        if (listed.insert(joined(part)).second) items.push_back({joined(part), "part-word"});
      }
    }
    start = end;
  }
  for (const std::string& item : nonWords(language, listed, seed)) {
    items.push_back({item, "non-word"});
  }
  return items;
}

std::string testItemsText(const std::vector<TestItem>& items) {
  std::string text = "item\tclass\n";
  for (const TestItem& item : items) text += item.item + "\t" + item.label + "\n";
  return text;
}
