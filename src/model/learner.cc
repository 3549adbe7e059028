#include "model/learner.h"

#include <algorithm>
#include <sstream>

#include "containers/messages.h"
#include "model/system.h"

Learner::Learner(std::ostream& messages) : system_(new System), messages_(&messages) {
  system_->drawsProgressbar = false;
}

Learner::Learner(const LearnerParameters& parameters, std::ostream& messages) : Learner(messages) {
  System& system = *system_;
  system.resultFileMode = 0;  // no result file
  system.stimuliChunksSizeMax = parameters.memory;
  system.focusSizeMax = parameters.focus;
  const int count = static_cast<int>(parameters.targets.size());
  system.specialItems.buildSpecialItems(count);
  for (int i = 0; i < count; ++i) system.specialItems.itemArray[i].name = parameters.targets[i];
}

Learner::~Learner() = default;

void Learner::showProgressbar(bool shown) { system_->drawsProgressbar = shown; }

void Learner::loadParameterFile(const std::string& path) {
  MessageRedirect redirect(*messages_);
  system_->loadParametersFromFile(path);
}

void Learner::loadCorpusFile(const std::string& path) {
  MessageRedirect redirect(*messages_);
  system_->loadInputFromString(system_->readInputFromFile(path));
}

void Learner::writeFixedReports(const std::string& resultFile, const std::string& curvesFile) {
  MessageRedirect redirect(*messages_);
  if (system_->resultFileMode == 2) system_->writeResultToFile(resultFile, 1);
  system_->writeTimeCourseToFile(curvesFile);
}

void Learner::loadCorpus(const std::string& text) {
  MessageRedirect redirect(*messages_);
  system_->loadInputFromString(text);
}

bool Learner::step(StepRecord* record) {
  if (exhausted_) return false;
  MessageRedirect redirect(*messages_);
  System& system = *system_;
  // Step numbers go on from the fixed program's count: the result file of
  // mode 1 is emptied by step 1.
  if (!system.beginStep(4, steps_ + 1)) {
    exhausted_ = true;
    return false;
  }
  ++steps_;
  if (record != nullptr) {
    const IntList& focus = system.focus;
    record->number = steps_;
    record->focus.assign(focus.items.get() + focus.first, focus.items.get() + focus.last);
    std::reverse(record->focus.begin(), record->focus.end());
    record->consumed = focus.oldest();
    record->gain = system.lastGain;
    record->created = system.lastCreated;
    record->revived = system.lastRevived;
  }
  system.endStep();
  if (record != nullptr) {
    const IntList& input = system.inputStream;
    record->utteranceEnd = input.getSize() == 0 || input.oldest() == 0;
  }
  return true;
}

void Learner::run() {
  while (step(nullptr)) {
  }
}

int Learner::consumedSyllables() const { return system_->processedSyllables; }

std::vector<int> Learner::leftover() const {
  if (!exhausted_) return {};
  const IntList& focus = system_->focus;
  std::vector<int> ids(focus.items.get() + focus.first, focus.items.get() + focus.last);
  std::reverse(ids.begin(), ids.end());
  return ids;
}

std::vector<LexiconEntry> Learner::lexicon() const {
  const System& system = *system_;
  const Chunks& chunks = system.chunks;
  std::vector<LexiconEntry> entries;
  for (int id = 1; id < chunks.lastChunk; ++id) {
    const Chunk& chunk = chunks.chunks[id];
    if (chunk.isDeleted) continue;
    entries.push_back({id, chunks.text(id), system.currentCodelength(id), chunk.frequency,
                       static_cast<int>(chunks.definition(id).size())});
  }
  // Stable on ids, which come in increasing order.
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const LexiconEntry& a, const LexiconEntry& b) { return a.codelength < b.codelength; });
  return entries;
}

std::vector<TargetCurve> Learner::curves() const {
  const SpecialItems& items = system_->specialItems;
  std::vector<TargetCurve> curves(items.itemCount);
  for (int i = 0; i < items.itemCount; ++i) {
    const SpecialItem& item = items.itemArray[i];
    curves[i].name = item.name;
    if (item.averagedTimeCourse) {
      curves[i].blocks.assign(item.averagedTimeCourse.get(),
                              item.averagedTimeCourse.get() + item.averagedTimeCourseSize);
    }
  }
  return curves;
}

// Replacing chunk after chunk in the list comes to this: in priority order,
// each chunk takes those of its occurrences, newest first, whose syllables
// nothing has taken yet (an occurrence that spans a piece already placed no
// longer reads as the chunk's syllables). Only the chunks that some run of
// the syllables spells can take anything, and the trie of definitions finds
// them with their occurrences.
std::vector<int> Learner::factorize(const std::vector<int>& syllables) const {
  const System& system = *system_;
  const Chunks& chunks = system.chunks;
  struct Occurrence {
    double codelength;
    int id;
    int end;
  };
  std::vector<Occurrence> occurrences;
  const int n = static_cast<int>(syllables.size());
  for (int start = 0; start < n; ++start) {
    int node = chunks.childNode(0, syllables[start]);
    for (int end = start + 1; end < n && node >= 0; ++end) {
      node = chunks.childNode(node, syllables[end]);
      if (node < 0) break;
      for (int id : chunks.nodeIds(node)) {
        if (!chunks.chunks[id].isDeleted) {
          occurrences.push_back({system.currentCodelength(id), id, end});
        }
      }
    }
  }
  std::sort(occurrences.begin(), occurrences.end(), [](const Occurrence& a, const Occurrence& b) {
    if (a.codelength != b.codelength) return a.codelength < b.codelength;
    if (a.id != b.id) return a.id < b.id;
    return a.end > b.end;
  });
  std::vector<int> owner(n, -1);  // the piece's id at its first position
  std::vector<char> taken(n, 0);
  for (const Occurrence& occurrence : occurrences) {
    const int length = static_cast<int>(chunks.definition(occurrence.id).size());
    const int start = occurrence.end - length + 1;
    if (std::find(taken.begin() + start, taken.begin() + occurrence.end + 1, 1) !=
        taken.begin() + occurrence.end + 1) {
      continue;
    }
    std::fill(taken.begin() + start, taken.begin() + occurrence.end + 1, 1);
    owner[start] = occurrence.id;
  }
  std::vector<int> pieces;
  for (int position = 0; position < n;) {
    if (owner[position] > 0) {
      pieces.push_back(owner[position]);
      position += static_cast<int>(chunks.definition(owner[position]).size());
    } else {
      pieces.push_back(syllables[position]);
      ++position;
    }
  }
  return pieces;
}

int Learner::syllableId(const std::string& text) const {
  return system_->chunks.findTerminal(text);
}

const std::string& Learner::text(int id) const { return system_->chunks.text(id); }

int Learner::syllableCount(int id) const {
  return static_cast<int>(system_->chunks.definition(id).size());
}

double Learner::codelength(int id) const { return system_->currentCodelength(id); }

int Learner::chunkCount() const { return system_->chunks.lastChunk - 1; }

int Learner::terminalCount() const {
  const Chunks& chunks = system_->chunks;
  int count = 0;
  for (int id = 1; id < chunks.lastChunk; ++id) count += chunks.chunks[id].isTerminal;
  return count;
}

int Learner::liveCount() const {
  const Chunks& chunks = system_->chunks;
  int count = 0;
  for (int id = 1; id < chunks.lastChunk; ++id) count += !chunks.chunks[id].isDeleted;
  return count;
}

double Learner::memoryBits() const { return system_->memorySize(); }

int Learner::liveChunkId(const std::string& name) const { return system_->liveChunkNamed(name); }

std::string Learner::readParameterFile(const std::string& path, LearnerParameters* parameters) {
  std::ostringstream messages;
  MessageRedirect redirect(messages);
  System system;
  system.loadParametersFromFile(path);
  parameters->memory = static_cast<int>(system.stimuliChunksSizeMax);
  parameters->focus = system.focusSizeMax;
  parameters->targets.clear();
  for (int i = 0; i < system.specialItems.itemCount; ++i) {
    parameters->targets.push_back(system.specialItems.itemArray[i].name);
  }
  return messages.str();
}
