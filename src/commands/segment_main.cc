// syllex-segment: learns a corpus and writes the segmentation it gives.
#include <iostream>
#include <string>
#include <vector>

#include "commands/command_line.h"
#include "research/corpus.h"
#include "research/output.h"
#include "research/run.h"
#include "research/test_items.h"

namespace {

struct Options {
  std::string corpus = "-";
  std::string format = "corpus";
  int memory = 150;
  int focus = 25;
  std::vector<std::string> targets;
  std::string targetsFile;
  std::string params;
  std::string segmentation = "online";
  std::string output = "-";
  std::string lexicon, curves, summary, testItems, testOutput;
  bool quiet = false;
};

// Capacities and targets: the parameter file's, then the flags given.
LearnerParameters parameters(const Options& options, const CLI::App& app) {
  LearnerParameters parameters;
  if (!options.params.empty()) {
    readInput(options.params);  // a file that cannot be read is refused here
    const std::string complaint = Learner::readParameterFile(options.params, &parameters);
    if (!complaint.empty()) {
      std::string line = complaint.substr(0, complaint.find('\n'));
      throw InputError(options.params, 0, "not a usable parameter file (" + line + ")");
    }
  }
  if (app.count("--memory") > 0 || options.params.empty()) parameters.memory = options.memory;
  if (app.count("--focus") > 0 || options.params.empty()) parameters.focus = options.focus;
  if (app.count("--target") > 0 || app.count("--targets") > 0) {
    parameters.targets.clear();
    for (const std::string& target : options.targets) {
      parameters.targets.push_back(targetInInputForm(target));
    }
    if (!options.targetsFile.empty()) {
      for (const TestItem& item :
           parseTestItems(readInput(options.targetsFile), options.targetsFile)) {
        parameters.targets.push_back(targetInInputForm(item.item));
      }
    }
  }
  return parameters;
}

int segment(const Options& options, const CLI::App& app) {
  if (options.testItems.empty() != options.testOutput.empty()) {
    throw UsageError("--test-items and --test-output go together");
  }
  Format format;
  parseFormat(options.format, &format);
  RunOptions run;
  run.parameters = parameters(options, app);
  run.mode = options.segmentation == "final" ? SegmentationMode::kFinal : SegmentationMode::kOnline;
  std::vector<TestItem> items;
  if (!options.testItems.empty()) {
    items = parseTestItems(readInput(options.testItems), options.testItems);
  }
  const std::string name = options.corpus == "-" ? "standard input" : options.corpus;
  ReadOptions reading;
  reading.goldSyllablesOnly = true;
  const Corpus corpus = parseCorpus(readInput(options.corpus), format, name, reading);

  PrefixedMessages messages;
  Run result;
  {
    ProgressBar bar(!options.quiet);
    result = learnCorpus(corpus, run, name, messages.stream(),
                         [&bar](long done, long total) { bar.update(done, total); });
  }
  // Everything is ready before the first file appears.
  std::vector<std::pair<std::string, std::string>> outputs;
  if (!options.lexicon.empty()) outputs.emplace_back(options.lexicon, lexiconTsv(result.lexicon));
  if (!options.curves.empty()) outputs.emplace_back(options.curves, curvesTsv(result.curves));
  if (!options.testOutput.empty()) {
    outputs.emplace_back(options.testOutput,
                         testItemsTsv(measureTestItems(*result.learner, items)));
  }
  if (!options.summary.empty()) outputs.emplace_back(options.summary, summaryJson(result.summary));
  outputs.emplace_back(options.output, toGoldText(result.segmentation));
  for (const auto& output : outputs) writeOutput(output.first, output.second);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"", "syllex-segment"};
  setUpCommand(app,
               "Learns a corpus in one pass and writes the segmentation the learner gives it, in "
               "gold format: one utterance a line, words separated by a blank, the syllables of a "
               "word by \"/\".");
  Options options;
  app.add_option("CORPUS", options.corpus, "The corpus; \"-\" or none for standard input");
  app.add_option("--format", options.format, "Format of the corpus")
      ->check(CLI::IsMember({"corpus", "gold", "tagged"}));
  app.add_option("--memory", options.memory, "Capacity of the memory in bits");
  app.add_option("--focus", options.focus, "Capacity of the focus in bits");
  app.add_option("--target", options.targets,
                 "A target word whose codelength is followed (kI/ti or kI/ti/); repeatable")
      ->allow_extra_args(false);
  app.add_option("--targets", options.targetsFile, "Target words from a file, one a line");
  app.add_option("--params", options.params,
                 "Capacities and targets from a parameter file of syllex (param03.tmp); flags "
                 "given override it");
  app.add_option("--segmentation", options.segmentation,
                 "online: the chunks the learning steps consume; final: every utterance "
                 "factorized with the final lexicon")
      ->check(CLI::IsMember({"online", "final"}));
  app.add_option("-o,--output", options.output, "Where the segmentation goes");
  app.add_option("--lexicon", options.lexicon,
                 "TSV of the final lexicon: rank word codelength frequency syllables id");
  app.add_option("--curves", options.curves, "TSV of the target curves: target block value");
  app.add_option("--summary", options.summary, "JSON summary of the run");
  app.add_option("--test-items", options.testItems,
                 "Test items to measure after learning (TSV item class, or one a line)");
  app.add_option("--test-output", options.testOutput,
                 "TSV of the measures: item class live codelength bits pieces");
  app.add_flag("-q,--quiet", options.quiet, "No progress bar; only errors on standard error");
  return runCommand(app, argc, argv, [&] { return segment(options, app); });
}
