// syllex-prep: converts corpora between formats, or describes one.
#include <string>

#include "commands/command_line.h"
#include "research/corpus.h"
#include "research/output.h"
#include "research/stats.h"

namespace {

struct Options {
  std::string input = "-";
  std::string from = "gold";
  std::string to = "corpus";
  std::string output = "-";
  bool stats = false;
};

int prepare(const Options& options) {
  Format from;
  parseFormat(options.from, &from);
  const std::string name = options.input == "-" ? "standard input" : options.input;
  const Corpus corpus = parseCorpus(readInput(options.input), from, name);
  std::string text;
  if (options.stats) {
    text = statsTsv(corpusStats(corpus));
  } else {
    text = options.to == "gold" ? toGoldText(corpus) : toCorpusText(corpus);
  }
  writeOutput(options.output, text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"", "syllex-prep"};
  setUpCommand(app,
               "Converts a corpus: gold to the learner's input (corpus), tagged to its gold "
               "standard (gold) or to the learner's input. With --stats, prints TSV statistics "
               "instead: utterances, words, syllables, distinct syllables, distinct words, words "
               "per utterance, syllables per word, share of one-syllable words.");
  Options options;
  app.add_option("INPUT", options.input, "The corpus; \"-\" or none for standard input");
  app.add_option("--from", options.from, "Format of the input")
      ->check(CLI::IsMember({"gold", "tagged"}));
  app.add_option("--to", options.to, "Format of the output")
      ->check(CLI::IsMember({"corpus", "gold"}));
  app.add_option("-o,--output", options.output, "Where the result goes");
  app.add_flag("--stats", options.stats, "Print statistics of the input instead");
  return runCommand(app, argc, argv, [&] { return prepare(options); });
}
