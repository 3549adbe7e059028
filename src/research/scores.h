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

// The twelve scores in this order: token_, type_, boundary_all_,
// boundary_noedge_, each precision, recall, fscore. Throws InputError naming
// the text file and line when the utterances differ (in number or syllables).
std::vector<Score> evaluate(const Corpus& text, const Corpus& gold, const std::string& textName,
                            const std::string& goldName);

// "name<TAB>value" rows, values as %.4g, "None" when undefined.
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
// Gold words in order of first occurrence.
std::vector<WordOutcome> wordOutcomes(const Corpus& text, const Corpus& gold);
std::string wordOutcomesJson(const std::vector<WordOutcome>& outcomes);

#endif  // SYLLEX_RESEARCH_SCORES_H_
