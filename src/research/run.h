// A learning run over a corpus, and the segmentation it gives.
//
// online: the chunks that the learning steps consume, in order, an utterance
//   ending at each boundary; the syllables no step consumed (those left in
//   the focus when the input runs out) as that last focus factorized them.
// final: every utterance factorized with the final lexicon as the focus is
//   factorized (Learner::factorize), with no capacity limit.
#ifndef SYLLEX_RESEARCH_RUN_H_
#define SYLLEX_RESEARCH_RUN_H_

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/learner.h"
#include "research/corpus.h"

enum class SegmentationMode { kOnline, kFinal };

struct RunOptions {
  LearnerParameters parameters;  // targets in the input format, kI/ti/
  SegmentationMode mode = SegmentationMode::kOnline;
};

struct RunSummary {
  std::string input;  // the corpus's name
  int memory = 0, focus = 0;
  std::vector<std::string> targets;
  SegmentationMode mode = SegmentationMode::kOnline;
  long syllables = 0, distinctSyllables = 0, utterances = 0;
  long steps = 0, lexiconSize = 0, compositesAlive = 0, compositesCreated = 0;
  double seconds = 0.0;
};

// The learner after the corpus, with what came out of it.
struct Run {
  std::unique_ptr<Learner> learner;
  Corpus segmentation;  // same inventory order as the input; words are chunks
  std::vector<LexiconEntry> lexicon;
  std::vector<TargetCurve> curves;
  RunSummary summary;
};

// The lexicon's limit on distinct syllables (the table's 9,999 chunks).
constexpr long kMaxSyllables = 9999;

// Throws InputError (file name, line 0) when the corpus has more distinct
// syllables than the lexicon holds.
void checkLearnable(const Corpus& corpus, const std::string& name);

// Learns the corpus. progress, if given, hears (syllables consumed, total)
// now and then. Throws InputError (file name, line 0) when the corpus has
// more distinct syllables than the lexicon holds.
Run learnCorpus(
    const Corpus& corpus, const RunOptions& options, const std::string& name,
    std::ostream& messages,
    const std::function<void(long, long)>& progress = std::function<void(long, long)>());

// A target given in gold form (kI/ti) or input form (kI/ti/), in input form.
std::string targetInInputForm(const std::string& target);

// TSV "rank word codelength frequency syllables id", codelengths %.17g.
std::string lexiconTsv(const std::vector<LexiconEntry>& lexicon);
// TSV "target block value", one row per completed block.
std::string curvesTsv(const std::vector<TargetCurve>& curves);
// The summary as a JSON object, with the program's version.
std::string summaryJson(const RunSummary& summary);
// A chunk's text (kI/ti/) in gold form (kI/ti).
std::string goldWord(const std::string& text);

#endif  // SYLLEX_RESEARCH_RUN_H_
