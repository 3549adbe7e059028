// The learning cycle: codelengths, focusing, chunk creation and the step.
//
// The public operations behave as whole recounts would: they recount, then do
// what the step does on the kept counts (see system.h), which every change
// below updates.
#include <algorithm>
#include <cmath>
#include <iostream>

#include "containers/messages.h"
#include "model/system.h"

int System::updateCodelengths() {
  const int total = counts_.recount(stimuliChunks);
  refreshCodelengths();
  return total;
}

void System::refreshCodelengths() {
  for (int i = 1; i < chunks.lastChunk; ++i) chunks.chunks[i].codelength = codelengthOf(i);
}

double System::sizeOf(const IntList& list) const {
  // Newest to oldest, the order in which a recount adds them up.
  double size = 0.0;
  for (int i = list.first; i < list.last; ++i) size += codelengthOf(list.items[i]);
  return size;
}

double System::getStimuliChunksSize() {
  updateCodelengths();
  return sizeOf(stimuliChunks);
}

double System::getFocusSize() {
  updateCodelengths();
  return sizeOf(focus);
}

bool System::focusing() {
  updateCodelengths();
  const bool exhausted = fillFocus();
  // The priority order of the last factorization, and valid codelengths.
  chunks.updateChunkPriority();
  updateCodelengths();
  return exhausted;
}

// Grows the focus one syllable per pass, giving at every pass the focus that
// a rebuild and factorization from scratch gives; the matcher keeps the
// factorization, and the list is laid out once, when focusing stops.
// Factorizing again after the capacity rule removes the newest element changes
// nothing, since every chunk has already replaced all its occurrences, so it
// is skipped.
bool System::fillFocus() {
  while (inputStream.getSize() > 0 && inputStream.oldest() == 0) inputStream.removeLast();
  const int available = inputStream.getSize();
  matcher_.clear();
  for (int taken = 0;; ++taken) {
    // At the end of the stream or at a boundary the focus stays that of the
    // previous pass, which was below capacity.
    if (taken >= available || rawSyllable(taken) <= 0) {
      layOutFocus();
      return taken >= available;
    }
    matcher_.add(rawSyllable(taken));
    if (matcher_.reachesCapacity(focusSizeMax)) {
      layOutFocus();
      if (taken > 0) focus.removeFirst();
      return false;
    }
  }
}

void System::layOutFocus() {
  focus.clearToTop();
  matcher_.layOut(focus);
}

// Chunks spell syllables only, so any other element of the focus stands
// between runs of syllables that are factorized apart, and stays as it is.
// The result closes up towards the oldest end, as replacing in place does.
void System::factorizeFocus() {
  updateCodelengths();
  chunks.updateChunkPriority();  // the order of the factorization, for callers
  std::vector<int> elements;     // oldest first
  IntList run(10);
  auto flush = [&] {
    run.clearToTop();
    matcher_.layOut(run);
    for (int i = run.last - 1; i >= run.first; --i) elements.push_back(run.items[i]);
    matcher_.clear();
  };
  matcher_.clear();
  for (int i = focus.last - 1; i >= focus.first; --i) {
    const int id = focus.items[i];
    if (id >= 1 && id < chunks.lastChunk && chunks.chunks[id].isTerminal) {
      matcher_.add(id);
    } else {
      flush();
      elements.push_back(id);
    }
  }
  flush();
  const int oldFirst = focus.first;
  focus.first = focus.last - static_cast<int>(elements.size());
  for (int k = 0; k < static_cast<int>(elements.size()); ++k) {
    focus.items[focus.last - 1 - k] = elements[k];
  }
  std::fill(focus.items.get() + oldFirst, focus.items.get() + focus.first, -1);
  updateCodelengths();
}

double System::optimize() {
  if (focus.getSize() >= 2) updateCodelengths();
  return createChunk();
}

double System::createChunk() {
  if (focus.getSize() < 2) return -1.0;
  const int a = focus.items[focus.last - 1];
  const int b = focus.items[focus.last - 2];
  const double gain = gainOf(a, b);
  if (gain > 0) {
    const int existing = chunks.findChunk(a, b);
    const bool revived = existing > 0 && chunks.chunks[existing].isDeleted;
    const int c = chunks.addChunk(a, b);
    if (c > 0) {
      if (c != existing || revived) {
        counts_.becameLive(c);
        lastCreated = c;
        lastRevived = revived;
      }
      const int before = stimuliChunks.getSize();
      stimuliChunks.replaceCoocc(a, b, c);
      // Each replacement takes one a and one b and puts one c.
      const int replaced = before - stimuliChunks.getSize();
      counts_.memoryChanged(a, -replaced);
      counts_.memoryChanged(b, -replaced);
      counts_.memoryChanged(c, replaced);
      focus.replaceCoocc(a, b, c);
    }
  }
  return gain;
}

double System::gainForChunk(int a, int b) {
  updateCodelengths();
  return gainOf(a, b);
}

double System::gainOf(int a, int b) const {
  const double N = counts_.total() + 2;
  const double A = chunks.chunks[a].frequency + 1;
  const double B = chunks.chunks[b].frequency + 1;
  const double AB = stimuliChunks.countCoocc(a, b) + chunks.countCoocc(a, b) + 1;
  const double A2 = A - AB;
  const double B2 = B - AB;
  const double R = N - A - B + AB;
  const double N2 = N + 1 + 2 - AB;
  const double P1 = AB * (std::log2(N2 / (AB + 1)) - std::log2(N / A) - std::log2(N / B));
  const double P2 = A2 * (std::log2(N2 / (A2 + 1)) - std::log2(N / A));
  const double P3 = B2 * (std::log2(N2 / (B2 + 1)) - std::log2(N / B));
  const double P4 = std::log2(N2 / (AB + 1)) + std::log2(N2 / (A2 + 1)) + std::log2(N2 / (B2 + 1));
  const double P5 = R * std::log2(N2 / N);
  if (N <= 0 || A <= 0 || B <= 0 || A2 < 0 || B2 < 0 || R < 0 || N2 <= 0) {
    engineMessages() << "ERREUR : calcul du gain incorrect." << '\n';
    engineMessages() << "(N=" << N << "  A=" << A << "  B=" << B << "  AB=" << AB << ")" << '\n';
    engineMessages() << "(P1=" << P1 << "  P2=" << P2 << "  P3=" << P3 << "  P4=" << P4
                     << "   P5=" << P5 << ")" << '\n';
  }
  return -(P1 + P2 + P3 + P4 + P5);
}

bool System::processOneStep(int displayMode, int stepNumber) {
  if (!beginStep(displayMode, stepNumber)) return true;
  endStep();
  return false;
}

bool System::beginStep(int displayMode, int stepNumber) {
  if (fillFocus()) return false;
  // The capacity rule can leave the focus empty; the step then works on the
  // oldest syllable alone so that the run always advances.
  if (focus.getSize() == 0) focus.addFirst(inputStream.oldest());
  lastCreated = 0;
  lastRevived = false;
  lastGain = createChunk();
  updateSpecialItemsForNSteps();
  if (displayMode == 3) {
    refreshCodelengths();
    chunks.updateChunkPriority();
    refreshCodelengths();
    engineMessages() << toString3(stepNumber, lastGain) << '\n';
    char key;
    std::cin >> key;
  }
  updateProgressbar();
  if (displayMode == 4 && resultFileMode == 1) writeResultToFile("result03.tmp", stepNumber);
  return true;
}

void System::endStep() {
  loadFocusToStimuliChunks();
  trimStimuli();
  deleteUnused();
}

void System::loadFocusToStimuliChunks() {
  if (focus.getSize() == 0) return;
  const int consumed = focus.removeLast();
  stimuliChunks.addFirst(consumed);
  counts_.memoryChanged(consumed, 1);
  const size_t syllables = chunks.definition(consumed).size();
  for (size_t i = 0; i < syllables; ++i) {
    if (inputStream.getSize() == 0) {
      engineMessages() << "ERREUR : impossible d'enlever la syllabe, inputStream est vide." << '\n';
    }
    inputStream.removeLast();
  }
}

void System::removeChunksExceedingSimuliChunksSize() {
  updateCodelengths();
  trimStimuli();
  updateCodelengths();
}

void System::trimStimuli() {
  while (stimuliChunks.getSize() > 0 && memoryExceedsCapacity()) {
    counts_.memoryChanged(stimuliChunks.removeLast(), -1);
  }
}

// The memory's size is added up newest first; a large memory is first sized
// from its count of each id, which lands within a small margin of that sum
// (see reaches), and added up in full only when the capacity is that close.
bool System::memoryExceedsCapacity() const {
  const int terms = stimuliChunks.getSize();
  if (terms < 32) return sizeOf(stimuliChunks) > stimuliChunksSizeMax;
  double size = 0.0;
  const std::vector<int>& ids = counts_.memoryIds();
  for (int id : ids) size += counts_.memoryCount(id) * codelengthOf(id);
  const double margin =
      (4.0 * (terms + static_cast<double>(ids.size())) + 8.0) * (size / 9007199254740992.0);
  if (size - margin > stimuliChunksSizeMax) return true;
  if (size + margin <= stimuliChunksSizeMax) return false;
  return sizeOf(stimuliChunks) > stimuliChunksSizeMax;
}

// After a recount every live composite chunk without a use is a candidate.
void System::deleteUnusedChunks() {
  updateCodelengths();
  deleteUnused();
  updateCodelengths();
}

void System::deleteUnused() {
  for (int id : deletionCandidates_.takeUnused(chunks, counts_)) counts_.becameDeleted(id);
}

void System::updateProgressbar() {
  if (focus.getSize() == 0) return;
  const int consumed = focus.oldest();
  processedSyllables += static_cast<int>(chunks.definition(consumed).size());
  processedCharacters += static_cast<int>(chunks.text(consumed).size());
  drawProgressbar();
}

void System::drawProgressbar() {
  if (inputSize <= 0 || !drawsProgressbar) return;
  const int target = static_cast<int>(static_cast<double>(processedSyllables) /
                                      static_cast<double>(inputSize) * 80.0);
  for (int position = progressbarPosition; position < target; ++position) {
    engineMessages() << '_' << std::flush;
  }
  progressbarPosition = target;
}
