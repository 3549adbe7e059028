#include "research/stats.h"

#include <cstdio>
#include <unordered_set>

CorpusStats corpusStats(const Corpus& corpus) {
  CorpusStats stats;
  stats.utterances = static_cast<long>(corpus.utteranceEnds.size());
  stats.syllables = static_cast<long>(corpus.syllables.size());
  stats.distinctSyllables = static_cast<long>(corpus.inventory.size());
  stats.words = static_cast<long>(corpus.wordEnds.size());
  std::unordered_set<std::string> words;
  std::string word;
  size_t start = 0;
  for (size_t end : corpus.wordEnds) {
    word.clear();
    for (size_t i = start; i < end; ++i) {
      if (i > start) word += '/';
      word += corpus.inventory[corpus.syllables[i]];
    }
    words.insert(word);
    stats.oneSyllableWords += end - start == 1;
    start = end;
  }
  stats.distinctWords = static_cast<long>(words.size());
  return stats;
}

namespace {
std::string ratio(long a, long b) {
  if (b == 0) return "None";
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(a) / static_cast<double>(b));
  return text;
}
}  // namespace

std::string statsTsv(const CorpusStats& s) {
  return "utterances\t" + std::to_string(s.utterances) + "\nwords\t" + std::to_string(s.words) +
         "\nsyllables\t" + std::to_string(s.syllables) + "\ndistinct_syllables\t" +
         std::to_string(s.distinctSyllables) + "\ndistinct_words\t" +
         std::to_string(s.distinctWords) + "\nwords_per_utterance\t" +
         ratio(s.words, s.utterances) + "\nsyllables_per_word\t" + ratio(s.syllables, s.words) +
         "\none_syllable_share\t" + ratio(s.oneSyllableWords, s.words) + "\n";
}
