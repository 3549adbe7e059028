// Descriptive statistics of a corpus with word boundaries.
#ifndef SYLLEX_RESEARCH_STATS_H_
#define SYLLEX_RESEARCH_STATS_H_

#include <string>

#include "research/corpus.h"

struct CorpusStats {
  long utterances = 0, words = 0, syllables = 0, distinctSyllables = 0, distinctWords = 0;
  long oneSyllableWords = 0;  // tokens
};

CorpusStats corpusStats(const Corpus& corpus);
// TSV "statistic value": the counts, then words_per_utterance,
// syllables_per_word and one_syllable_share (of word tokens) as %.6g, "None"
// when the corpus is empty.
std::string statsTsv(const CorpusStats& stats);

#endif  // SYLLEX_RESEARCH_STATS_H_
