#include "containers/chunks.h"

#include <iostream>

Chunks::Chunks() : chunks(new Chunk[kSize]), lastChunk(1), priority(new int[kSize]()) {
  // Entry 0 expands to itself, so that no expansion of it can recurse.
  chunks[0].isTerminal = true;
}

void Chunks::reportFull() {
  if (fullReported_) return;
  fullReported_ = true;
  std::cout << "ERREUR : la table des chunks est pleine (9999 chunks), aucun nouveau chunk ne "
               "peut etre cree."
            << '\n';
}

int Chunks::addCanonical(std::string text) {
  for (int i = 0; i < lastChunk; ++i) {
    if (chunks[i].syllable == text) return i;
  }
  if (lastChunk >= kSize) {
    reportFull();
    return -1;
  }
  Chunk& chunk = chunks[lastChunk];
  chunk.idChild1 = 0;
  chunk.idChild2 = 0;
  chunk.isTerminal = true;
  chunk.syllable = std::move(text);
  chunk.isDeleted = false;
  return lastChunk++;
}

int Chunks::addChunk(int c1, int c2) {
  for (int i = 0; i < lastChunk; ++i) {
    if (chunks[i].idChild1 == c1 && chunks[i].idChild2 == c2) {
      chunks[i].isDeleted = false;
      return i;
    }
  }
  if (c1 < 1 || c1 >= lastChunk || c2 < 1 || c2 >= lastChunk) {
    std::cout << "ERREUR : l'id d'un des chunks fils est impossible : idChild1=" << c1
              << ", idChild2=" << c2 << " lastChunk=" << lastChunk << '\n';
    return 0;
  }
  if (lastChunk >= kSize) {
    reportFull();
    return 0;
  }
  Chunk& chunk = chunks[lastChunk];
  chunk.idChild1 = c1;
  chunk.idChild2 = c2;
  chunk.isTerminal = false;
  chunk.syllable.clear();
  chunk.isDeleted = false;
  return lastChunk++;
}

IntList Chunks::getCanonicalDefinition(int id) const {
  IntList definition(10);
  const Chunk& chunk = chunks[id];
  if (chunk.isTerminal) {
    definition.addFirst(id);
    return definition;
  }
  for (int child : {chunk.idChild1, chunk.idChild2}) {
    IntList part = getCanonicalDefinition(child);
    for (int i = part.last - 1; i >= part.first; --i) definition.addFirst(part.items[i]);
  }
  return definition;
}

std::string Chunks::getSyllables(int id) const {
  const Chunk& chunk = chunks[id];
  if (chunk.isTerminal) return chunk.syllable;
  return getSyllables(chunk.idChild1) + getSyllables(chunk.idChild2);
}

int Chunks::countCoocc(int c1, int c2) const {
  int count = 0;
  for (int j = 1; j < lastChunk; ++j) {
    if (chunks[j].idChild1 == c1 && chunks[j].idChild2 == c2) ++count;
  }
  return count;
}

void Chunks::updateChunkPriority() {
  for (int k = 1; k < lastChunk; ++k) {
    double best = 10001.0;
    int bestId = 0;
    for (int j = 1; j < lastChunk; ++j) {
      if (chunks[j].codelength < best) {
        best = chunks[j].codelength;
        bestId = j;
      }
    }
    priority[k] = bestId;
    chunks[bestId].codelength = 10001.0;
  }
}
