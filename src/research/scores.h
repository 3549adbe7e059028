// Segmentation scores against a gold standard, with the field's standard
// definitions.
//
// Both sides are read in the gold format (blank lines skipped); the n-th
// utterances must hold the same syllables in the same order. Positions count
// syllables; a word is the span of positions it covers in its utterance.
//   token: correct = spans in both; precision = correct / text words, recall =
//     correct / gold words, F = 2 correct / (text words + gold words).
//   type: the same on the sets of distinct words of each whole file.
//   boundary_all: per utterance the set of all word starts and ends (0 and
//     the utterance's length included), counts summed over utterances.
//   boundary_noedge: per utterance the word starts above 0.
// A ratio with a zero denominator is undefined.
#ifndef SYLLEX_RESEARCH_SCORES_H_
#define SYLLEX_RESEARCH_SCORES_H_

#include <string>
#include <vector>

#include "research/corpus.h"

struct Score {
  std::string name;  // token_precision, ..., boundary_noedge_fscore
  double value = 0.0;
  bool defined = false;
};

// Throws InputError unless the n-th utterances of text and gold hold the same
// syllables in the same order and both hold as many utterances. The message
// names the text file and the line of its differing utterance, and the gold
// file and line it differs from ("t.txt:7: utterance 5 differs from g.txt:9
// at syllable 2: ..."); when the text runs out first, it names the text file
// and the gold file and line of the first unmatched utterance.
void checkSameUtterances(const Corpus& text, const Corpus& gold, const std::string& textName,
                         const std::string& goldName);

// The twelve scores in this order: token_, type_, boundary_all_,
// boundary_noedge_, each precision, recall, fscore. Throws InputError naming
// the text file and line when the utterances differ (in number or syllables),
// as checkSameUtterances does.
std::vector<Score> evaluate(const Corpus& text, const Corpus& gold, const std::string& textName,
                            const std::string& goldName);

// "name<TAB>value" rows, values as %.4g, "None" when undefined.
// A word's identity, for type scores and outcomes, is its syllables joined by
// "/" (kI/ti), so words of the same syllables in either file are one type.
std::string formatScores(const std::vector<Score>& scores);
// A JSON object of the scores at full double precision, null when undefined.
std::string scoresJson(const std::vector<Score>& scores);

// Per gold word type, how its tokens fare. Each utterance is cut into the
// smallest runs of words on which text and gold share both ends; a run with
// one gold and one text word is correct, one gold and several text words
// over-segmented, several gold and one text word under-segmented, anything
// else mis-segmented; every gold word of the run counts in the run's class.
struct WordOutcome {
  std::string word;  // gold form, kI/ti
  long correct = 0, over = 0, under = 0, mis = 0;
};
// Gold words in order of first occurrence; the counts of a word sum to its
// gold tokens. Text and gold must have passed checkSameUtterances.
std::vector<WordOutcome> wordOutcomes(const Corpus& text, const Corpus& gold);
// {"words": [{"word": "kI/ti", "correct": 3, "over": 0, "under": 1, "mis": 0},
// ...], "totals": {"correct": ..., "over": ..., "under": ..., "mis": ...}},
// one word a line, words in the order given, totals their sums.
std::string wordOutcomesJson(const std::vector<WordOutcome>& outcomes);

#endif  // SYLLEX_RESEARCH_SCORES_H_
