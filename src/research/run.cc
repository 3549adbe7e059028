#include "research/run.h"

#include <chrono>

#include "research/output.h"

namespace {

// The engine's id of each inventory entry.
std::vector<int> engineIds(const Corpus& corpus, const Learner& learner) {
  std::vector<int> ids(corpus.inventory.size());
  for (size_t i = 0; i < ids.size(); ++i) ids[i] = learner.syllableId(corpus.inventory[i] + "/");
  return ids;
}

// Word ends from the steps' consumed chunks, then from the last focus.
std::vector<size_t> learnOnline(Learner& learner, long total,
                                const std::function<void(long, long)>& progress) {
  std::vector<size_t> wordEnds;
  size_t position = 0;
  StepRecord record;
  while (learner.step(&record)) {
    position += static_cast<size_t>(learner.syllableCount(record.consumed));
    wordEnds.push_back(position);
    // Cheap enough to ask often; the caller decides when to draw.
    if (progress && (record.number & 1023) == 0) progress(learner.consumedSyllables(), total);
  }
  for (int id : learner.leftover()) {
    position += static_cast<size_t>(learner.syllableCount(id));
    wordEnds.push_back(position);
  }
  return wordEnds;
}

std::vector<size_t> segmentFinal(const Corpus& corpus, const Learner& learner) {
  const std::vector<int> ids = engineIds(corpus, learner);
  std::vector<size_t> wordEnds;
  std::vector<int> utterance;
  size_t start = 0;
  for (size_t end : corpus.utteranceEnds) {
    utterance.clear();
    for (size_t i = start; i < end; ++i) utterance.push_back(ids[corpus.syllables[i]]);
    size_t position = start;
    for (int piece : learner.factorize(utterance)) {
      position += static_cast<size_t>(learner.syllableCount(piece));
      wordEnds.push_back(position);
    }
    start = end;
  }
  return wordEnds;
}

const char* modeName(SegmentationMode mode) {
  return mode == SegmentationMode::kFinal ? "final" : "online";
}

}  // namespace

void checkLearnable(const Corpus& corpus, const std::string& name) {
  const long distinct = static_cast<long>(corpus.inventory.size());
  if (distinct > kMaxSyllables) {
    throw InputError(name, 0,
                     std::to_string(distinct) + " distinct syllables, more than the " +
                         std::to_string(kMaxSyllables) + " the lexicon holds");
  }
}

Run learnCorpus(const Corpus& corpus, const RunOptions& options, const std::string& name,
                std::ostream& messages, const std::function<void(long, long)>& progress) {
  checkLearnable(corpus, name);
  const long distinct = static_cast<long>(corpus.inventory.size());
  const auto started = std::chrono::steady_clock::now();
  Run run;
  run.learner.reset(new Learner(options.parameters, messages));
  Learner& learner = *run.learner;
  learner.loadCorpus(learnerStream(corpus));
  const long total = static_cast<long>(corpus.syllables.size());
  std::vector<size_t> online = learnOnline(learner, total, progress);
  if (progress) progress(total, total);

  run.segmentation.inventory = corpus.inventory;
  run.segmentation.syllables = corpus.syllables;
  run.segmentation.utteranceEnds = corpus.utteranceEnds;
  run.segmentation.utteranceLines = corpus.utteranceLines;
  run.segmentation.wordEnds =
      options.mode == SegmentationMode::kFinal ? segmentFinal(corpus, learner) : std::move(online);
  run.lexicon = learner.lexicon();
  run.curves = learner.curves();

  RunSummary& summary = run.summary;
  summary.input = name;
  summary.memory = options.parameters.memory;
  summary.focus = options.parameters.focus;
  summary.targets = options.parameters.targets;
  summary.mode = options.mode;
  summary.syllables = total;
  summary.distinctSyllables = distinct;
  summary.utterances = static_cast<long>(corpus.utteranceEnds.size());
  summary.steps = learner.steps();
  summary.lexiconSize = static_cast<long>(run.lexicon.size());
  summary.compositesAlive = summary.lexiconSize - learner.terminalCount();
  summary.compositesCreated = learner.chunkCount() - learner.terminalCount();
  summary.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return run;
}

std::string targetInInputForm(const std::string& target) {
  if (target.empty() || target.back() == '/') return target;
  return target + "/";
}

std::string goldWord(const std::string& text) {
  if (!text.empty() && text.back() == '/') return text.substr(0, text.size() - 1);
  return text;
}

std::string lexiconTsv(const std::vector<LexiconEntry>& lexicon) {
  std::string tsv = "rank\tword\tcodelength\tfrequency\tsyllables\tid\n";
  long rank = 0;
  for (const LexiconEntry& entry : lexicon) {
    tsv += std::to_string(++rank) + '\t' + goldWord(entry.text) + '\t' +
           exactNumber(entry.codelength) + '\t' + std::to_string(entry.frequency) + '\t' +
           std::to_string(entry.syllables) + '\t' + std::to_string(entry.id) + '\n';
  }
  return tsv;
}

std::string curvesTsv(const std::vector<TargetCurve>& curves) {
  std::string tsv = "target\tblock\tvalue\n";
  for (const TargetCurve& curve : curves) {
    for (size_t block = 0; block < curve.blocks.size(); ++block) {
      tsv += goldWord(curve.name) + '\t' + std::to_string(block + 1) + '\t' +
             exactNumber(curve.blocks[block]) + '\n';
    }
  }
  return tsv;
}

std::string summaryJson(const RunSummary& summary) {
  std::string targets;
  for (const std::string& target : summary.targets) {
    targets += (targets.empty() ? "" : ", ") + jsonString(goldWord(target));
  }
  const auto field = [](const char* key, long value) {
    return std::string("  \"") + key + "\": " + std::to_string(value) + ",\n";
  };
  return "{\n  \"version\": " + jsonString(SYLLEX_VERSION) +
         ",\n  \"parameters\": {\"memory\": " + std::to_string(summary.memory) +
         ", \"focus\": " + std::to_string(summary.focus) + ", \"targets\": [" + targets +
         "], \"segmentation\": \"" + modeName(summary.mode) +
         "\"},\n  \"input\": {\"file\": " + jsonString(summary.input) +
         ", \"syllables\": " + std::to_string(summary.syllables) +
         ", \"distinct_syllables\": " + std::to_string(summary.distinctSyllables) +
         ", \"utterances\": " + std::to_string(summary.utterances) + "},\n" +
         field("steps", summary.steps) + field("lexicon_size", summary.lexiconSize) +
         field("composites_alive", summary.compositesAlive) +
         field("composites_created", summary.compositesCreated) +
         "  \"seconds\": " + exactNumber(summary.seconds) + "\n}\n";
}
