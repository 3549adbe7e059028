// The learning cycle: codelengths, focusing, chunk creation and the step.
#include <cmath>
#include <iostream>
#include <vector>

#include "model/system.h"

int System::updateCodelengths() {
  std::vector<int> uses(chunks.lastChunk, 0);
  for (int i = stimuliChunks.first; i < stimuliChunks.last; ++i) {
    const int id = stimuliChunks.items[i];
    if (id >= 1 && id < chunks.lastChunk) ++uses[id];
  }
  for (int k = 1; k < chunks.lastChunk; ++k) {
    const Chunk& chunk = chunks.chunks[k];
    if (chunk.isTerminal || chunk.isDeleted) continue;
    ++uses[chunk.idChild1];
    ++uses[chunk.idChild2];
  }
  int total = 0;
  for (int i = 1; i < chunks.lastChunk; ++i) {
    Chunk& chunk = chunks.chunks[i];
    if (chunk.isDeleted) continue;
    chunk.frequency = uses[i] + 1;
    total += chunk.frequency;
  }
  for (int i = 1; i < chunks.lastChunk; ++i) {
    Chunk& chunk = chunks.chunks[i];
    chunk.codelength = chunk.isDeleted
                           ? 10000.0
                           : std::log2(static_cast<double>(total) / static_cast<double>(chunk.frequency));
  }
  return total;
}

namespace {
double sumOfCodelengths(const IntList& list, const Chunks& chunks) {
  double size = 0.0;
  for (int i = list.first; i < list.last; ++i) size += chunks.chunks[list.items[i]].codelength;
  return size;
}
}  // namespace

double System::getStimuliChunksSize() {
  updateCodelengths();
  return sumOfCodelengths(stimuliChunks, chunks);
}

double System::getFocusSize() {
  updateCodelengths();
  return sumOfCodelengths(focus, chunks);
}

bool System::focusing() {
  while (inputStream.getSize() > 0 && inputStream.oldest() == 0) inputStream.removeLast();
  int n = 0;
  bool exhausted = false;
  bool growing = true;
  while (growing) {
    ++n;
    focus.clearToTop();
    for (int j = 0; j < n; ++j) {
      if (j >= inputStream.getSize()) {
        exhausted = true;
        growing = false;
      } else if (inputStream.items[inputStream.last - 1 - j] <= 0) {
        growing = false;
      } else {
        focus.addFirst(inputStream.items[inputStream.last - 1 - j]);
      }
    }
    factorizeFocus();
    if (getFocusSize() >= focusSizeMax) {
      growing = false;
      if (n > 1) {
        focus.removeFirst();
        factorizeFocus();
      }
    }
  }
  return exhausted;
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
  if (focus.getSize() < 2) return -1.0;
  const int a = focus.items[focus.last - 1];
  const int b = focus.items[focus.last - 2];
  const double gain = gainForChunk(a, b);
  if (gain > 0) {
    const int c = chunks.addChunk(a, b);
    if (c > 0) {
      stimuliChunks.replaceCoocc(a, b, c);
      focus.replaceCoocc(a, b, c);
    }
  }
  return gain;
}

double System::gainForChunk(int a, int b) {
  const double N = updateCodelengths() + 2;
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
    std::cout << "ERREUR : calcul du gain incorrect." << '\n';
    std::cout << "(N=" << N << "  A=" << A << "  B=" << B << "  AB=" << AB << ")" << '\n';
    std::cout << "(P1=" << P1 << "  P2=" << P2 << "  P3=" << P3 << "  P4=" << P4
              << "   P5=" << P5 << ")" << '\n';
  }
  return -(P1 + P2 + P3 + P4 + P5);
}

bool System::processOneStep(int displayMode, int stepNumber) {
  if (focusing()) return true;
  // The capacity rule can leave the focus empty; the step then works on the
  // oldest syllable alone so that the run always advances.
  if (focus.getSize() == 0) focus.addFirst(inputStream.oldest());
  updateCodelengths();
  const double gain = optimize();
  updateCodelengths();
  updateSpecialItemsForNSteps();
  if (displayMode == 3) {
    updateCodelengths();
    chunks.updateChunkPriority();
    updateCodelengths();
    std::cout << toString3(stepNumber, gain) << '\n';
    char key;
    std::cin >> key;
  }
  updateProgressbar();
  if (displayMode == 4 && resultFileMode == 1) writeResultToFile("result03.tmp", stepNumber);
  loadFocusToStimuliChunks();
  removeChunksExceedingSimuliChunksSize();
  deleteUnusedChunks();
  return false;
}

void System::loadFocusToStimuliChunks() {
  const int consumed = focus.removeLast();
  stimuliChunks.addFirst(consumed);
  const int syllables = chunks.getCanonicalDefinition(consumed).getSize();
  for (int i = 0; i < syllables; ++i) {
    if (inputStream.getSize() == 0) {
      std::cout << "ERREUR : impossible d'enlever la syllabe, inputStream est vide." << '\n';
    }
    inputStream.removeLast();
  }
}

void System::removeChunksExceedingSimuliChunksSize() {
  while (stimuliChunks.getSize() > 0 && getStimuliChunksSize() > stimuliChunksSizeMax) {
    stimuliChunks.removeLast();
  }
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

void System::updateProgressbar() {
  const int consumed = focus.oldest();
  processedSyllables += chunks.getCanonicalDefinition(consumed).getSize();
  processedCharacters += static_cast<int>(chunks.getSyllables(consumed).size());
  drawProgressbar();
}

void System::drawProgressbar() {
  if (inputSize <= 0) return;
  const int target = static_cast<int>(static_cast<double>(processedSyllables) /
                                      static_cast<double>(inputSize) * 80.0);
  for (int position = progressbarPosition; position < target; ++position) {
    std::cout << '_' << std::flush;
  }
  progressbarPosition = target;
}
