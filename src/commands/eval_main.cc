// syllex-eval: scores a segmentation against a gold one.
#include <iostream>

#include "commands/command_line.h"
#include "research/corpus.h"
#include "research/output.h"
#include "research/scores.h"

namespace {

const char kFooter[] =
    R"(Both files are in the gold format: one utterance a line, words separated by
blanks, the syllables of a word by "/"; blank lines are skipped. The n-th
utterances of TEXT and GOLD must hold the same syllables in the same order.

Output: one "name<TAB>value" row a score, values as %.4g, None when undefined
(a zero denominator): token_, type_, boundary_all_ and boundary_noedge_, each
precision, recall and fscore. With --json, an object of the same keys in the
same order, at full precision, null when undefined.

  token: a word is the span of syllables it covers in its utterance; correct
    when both files have it. precision = correct / TEXT words, recall =
    correct / GOLD words, fscore = 2 correct / (TEXT + GOLD words).
  type: the same on the distinct words (syllables joined by "/") of each file.
  boundary_all: every utterance's word starts and ends, 0 and its length
    included; boundary_noedge: the word starts above 0.

--summary FILE writes, for each GOLD word in order of first occurrence, how
its tokens fare. Each utterance is cut into the smallest runs of words on which
both files share both ends: a run of one GOLD and one TEXT word is correct, of
one GOLD and several TEXT words over-segmented, of several GOLD words and one
TEXT word under-segmented, else mis-segmented; every GOLD word of the run counts
in the run's class. Layout:
  {"words": [{"word": "kI/ti", "correct": 3, "over": 0, "under": 1, "mis": 0},
             ...],
   "totals": {"correct": ..., "over": ..., "under": ..., "mis": ...}}

Exit status: 0, 1 for unreadable or malformed input or an unwritable summary
(nothing is written then), 2 for a usage error.)";

std::string nameOf(const std::string& path) { return path == "-" ? "standard input" : path; }

Corpus readGold(const std::string& path) {
  return parseCorpus(readInput(path), Format::kGold, nameOf(path));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"", "syllex-eval"};
  setUpCommand(app, "Scores the segmentation TEXT against the gold segmentation GOLD.");
  app.footer(kFooter);
  std::string textPath, goldPath, summaryPath;
  bool json = false;
  app.add_option("TEXT", textPath, "segmentation to score, - for standard input")
      ->required()
      ->type_name("FILE");
  app.add_option("GOLD", goldPath, "gold segmentation, - for standard input")
      ->required()
      ->type_name("FILE");
  app.add_flag("--json", json, "print the scores as a JSON object at full precision");
  app.add_option("--summary", summaryPath, "write per-word outcomes to FILE (JSON)")
      ->type_name("FILE");

  return runCommand(app, argc, argv, [&] {
    if (textPath == "-" && goldPath == "-") {
      throw UsageError("TEXT and GOLD cannot both be standard input");
    }
    if (summaryPath == "-") {
      throw UsageError("--summary needs a file: standard output holds the scores");
    }
    const Corpus text = readGold(textPath), gold = readGold(goldPath);
    const std::vector<Score> scores = evaluate(text, gold, nameOf(textPath), nameOf(goldPath));
    // The summary first, so that a failure to write it leaves no scores.
    if (!summaryPath.empty()) writeOutput(summaryPath, wordOutcomesJson(wordOutcomes(text, gold)));
    writeOutput("-", json ? scoresJson(scores) : formatScores(scores));
    return 0;
  });
}
