// The learning cycle: codelengths, focusing, chunk creation and the step.
//
// The public operations behave as whole recounts would; the step itself runs
// on the kept counts (see system.h), which every change below updates.
#include <algorithm>
#include <climits>
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

// Grows the focus one syllable per pass, giving the focus that a rebuild and
// refactorization from scratch gives at every pass, but only the chunks that
// some run of its syllables spells are considered (no other chunk can match),
// and the factorization is kept as the raw positions each chunk took: a new
// syllable that completes no chunk's definition just joins as itself, and one
// that does has the decisions revised from the newest end (updateClaims). The
// list itself is laid out once, when focusing stops. Refactorizing after the
// capacity rule removes the newest element changes nothing, since every chunk
// has already replaced all its occurrences, so it is skipped.
bool System::fillFocus() {
  while (inputStream.getSize() > 0 && inputStream.oldest() == 0) inputStream.removeLast();
  const int available = inputStream.getSize();
  candidates_.clear();
  openNodes_.clear();
  usedOccurrenceLists_ = 0;
  ++focusPass_;
  owner_.clear();
  focusElements_ = 0;
  focusSize_ = 0.0;
  focusMass_ = 0.0;
  focusOperations_ = 0;
  for (int taken = 0;; ++taken) {
    // At the end of the stream or at a boundary the focus stays that of the
    // previous pass, which was below capacity.
    if (taken >= available || rawSyllable(taken) <= 0) {
      buildFocus(taken);
      return taken >= available;
    }
    const int syllable = rawSyllable(taken);
    // Runs that no chunk's definition continues are dropped for good.
    bool spelled = false;
    size_t kept = 0;
    for (int node : openNodes_) {
      node = chunks.childNode(node, syllable);
      if (node < 0) continue;
      spelled |= addCandidates(node, taken);
      openNodes_[kept++] = node;
    }
    openNodes_.resize(kept);
    openNodes_.push_back(chunks.childNode(0, syllable));
    owner_.push_back(-1);
    ++focusElements_;
    addToFocusSize(codelengthOf(syllable));
    if (spelled) updateClaims(taken);
    if (focusReachesCapacity()) {
      buildFocus(taken + 1);
      if (taken > 0) focus.removeFirst();
      return false;
    }
  }
}

// Whether the focus's size, added up newest first, is at least the capacity.
// The running size adds and removes the same terms in another order; both it
// and the newest-first sum stay within a small margin of the exact sum (a few
// units of rounding per term or operation, on the mass of all terms), so the
// newest-first sum is needed only when the capacity falls within that margin.
bool System::focusReachesCapacity() const {
  const double capacity = focusSizeMax;
  if (focusElements_ < 32) return exactFocusSize() >= capacity;
  const double unit = 1.0 / 9007199254740992.0;  // 2^-53
  const double margin =
      ((4.0 * focusElements_ + 8.0) + 2.0 * (focusOperations_ + 1.0)) * unit * focusMass_;
  if (focusSize_ + margin < capacity) return false;
  if (focusSize_ - margin >= capacity) return true;
  return exactFocusSize() >= capacity;
}

void System::addToFocusSize(double term) {
  focusSize_ += term;
  focusMass_ += std::fabs(term);
  ++focusOperations_;
}

// The focus's size as its list would add it up: newest element first.
double System::exactFocusSize() const {
  double size = 0.0;
  for (int position = static_cast<int>(owner_.size()) - 1; position >= 0;) {
    const int id = owner_[position];
    if (id < 0) {
      size += codelengthOf(rawSyllable(position));
      --position;
    } else {
      size += codelengthOf(id);
      position -= static_cast<int>(chunks.definition(id).size());
    }
  }
  return size;
}

// Lays the factorization of the count oldest syllables out in the focus.
void System::buildFocus(int count) {
  focus.clearToTop();
  for (int position = 0; position < count;) {
    const int id = owner_[position];
    if (id < 0) {
      focus.addFirst(rawSyllable(position));
      ++position;
    } else {
      focus.addFirst(id);
      position += static_cast<int>(chunks.definition(id).size());
    }
  }
}

bool System::addCandidates(int node, int end) {
  bool live = false;
  for (int id : chunks.nodeIds(node)) {
    if (chunks.chunks[id].isDeleted) continue;
    live = true;
    if (candidatePass_[id] != focusPass_) {
      candidatePass_[id] = focusPass_;
      const Candidate candidate{codelengthOf(id), id, usedOccurrenceLists_};
      if (occurrences_.size() <= usedOccurrenceLists_) {
        occurrences_.emplace_back();
        takenOccurrences_.emplace_back();
      }
      occurrences_[usedOccurrenceLists_].clear();
      takenOccurrences_[usedOccurrenceLists_++].clear();
      auto position = std::upper_bound(candidates_.begin(), candidates_.end(), candidate,
                                       [](const Candidate& x, const Candidate& y) {
                                         return x.codelength < y.codelength ||
                                                (x.codelength == y.codelength && x.id < y.id);
                                       });
      candidateList_[id] = candidate.list;
      candidates_.insert(position, candidate);
    }
    occurrences_[candidateList_[id]].push_back(end);
    takenOccurrences_[candidateList_[id]].push_back(0);
  }
  return live;
}

// Brings the factorization up to date once the syllable at raw position
// newest has come with new occurrences. Applying the chunks one after another,
// each replacing its occurrences from the newest end without overlap, comes
// to this: in priority order, each chunk takes those of its occurrences,
// newest first, whose syllables no earlier chunk and none of its own
// occurrences took (an occurrence spanning a chunk already placed can no
// longer match). Decisions are taken again only from the newest end down:
// below the lowest position whose owner has changed, a chunk's remaining
// decisions repeat the previous ones as soon as its own last taken occurrence
// blocks the same ones as before.
void System::updateClaims(int newest) {
  int low = newest;
  for (const Candidate& candidate : candidates_) {
    const std::vector<int>& ends = occurrences_[candidate.list];
    std::vector<char>& taken = takenOccurrences_[candidate.list];
    const int length = static_cast<int>(chunks.definition(candidate.id).size());
    int lastNew = INT_MAX;  // start of the last occurrence taken, this time
    int lastOld = INT_MAX;  // and the time before
    for (int i = static_cast<int>(ends.size()) - 1; i >= 0; --i) {
      const int end = ends[i];
      const int start = end - length + 1;
      if (end < low && (lastNew == lastOld || (lastNew > end && lastOld > end))) break;
      const bool wasTaken = taken[i];
      bool takes = lastNew > end;
      for (int position = start; takes && position <= end; ++position) {
        const int owner = owner_[position];
        // Owners after this chunk in priority order, or earlier occurrences of
        // its own, are left from the time before and decided again later.
        if (owner >= 0 && owner != candidate.id && precedes(owner, candidate)) takes = false;
      }
      if (takes != wasTaken) {
        if (takes) {
          claim(candidate, start, end);
        } else {
          release(candidate, start, std::min(end, lastNew - 1));
        }
        taken[i] = takes;
        low = std::min(low, start);
      }
      if (takes) lastNew = start;
      if (wasTaken) lastOld = start;
    }
  }
}

bool System::precedes(int id, const Candidate& candidate) const {
  const double codelength = codelengthOf(id);
  return codelength < candidate.codelength ||
         (codelength == candidate.codelength && id < candidate.id);
}

void System::claim(const Candidate& candidate, int start, int end) {
  addToFocusSize(candidate.codelength);
  ++focusElements_;
  for (int position = start; position <= end; ++position) {
    if (owner_[position] < 0) {
      addToFocusSize(-codelengthOf(rawSyllable(position)));
      --focusElements_;
    }
    owner_[position] = candidate.id;
  }
}

void System::release(const Candidate& candidate, int start, int end) {
  addToFocusSize(-candidate.codelength);
  --focusElements_;
  for (int position = start; position <= end; ++position) {
    if (owner_[position] != candidate.id) continue;
    owner_[position] = -1;
    addToFocusSize(codelengthOf(rawSyllable(position)));
    ++focusElements_;
  }
}

void System::factorizeFocus() {
  updateCodelengths();
  chunks.updateChunkPriority();
  for (int slot = 1; slot < chunks.lastChunk; ++slot) {
    const int id = chunks.priority[slot];
    if (chunks.chunks[id].isDeleted) continue;
    focus.replaceCoocc(chunks.getCanonicalDefinition(id), id);
  }
  updateCodelengths();
}

double System::optimize() {
  if (focus.getSize() >= 2) updateCodelengths();
  return optimizeCounted();
}

double System::optimizeCounted() {
  if (focus.getSize() < 2) return -1.0;
  const int a = focus.items[focus.last - 1];
  const int b = focus.items[focus.last - 2];
  const double gain = gainWithTotal(a, b, counts_.total());
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

double System::gainForChunk(int a, int b) { return gainWithTotal(a, b, updateCodelengths()); }

double System::gainWithTotal(int a, int b, int total) {
  const double N = total + 2;
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
  lastGain = optimizeCounted();
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
  while (stimuliChunks.getSize() > 0 && getStimuliChunksSize() > stimuliChunksSizeMax) {
    stimuliChunks.removeLast();
  }
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

void System::deleteUnusedChunks() {
  updateCodelengths();
  for (int i = 1; i < chunks.lastChunk; ++i) {
    Chunk& chunk = chunks.chunks[i];
    if (chunk.frequency == 1 && !chunk.isTerminal) {
      chunk.isDeleted = true;
      chunk.codelength = 10000.0;
    }
  }
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
