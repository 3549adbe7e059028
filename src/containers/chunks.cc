#include "containers/messages.h"
#include "containers/chunks.h"

#include <algorithm>
#include <iostream>

Chunks::Chunks()
    : chunks(new Chunk[kSize]),
      lastChunk(1),
      priority(new int[kSize]()),
      definitions_(1),
      texts_(1),
      nodeIds_(1) {
  // Entry 0 expands to itself, so that no expansion of it can recurse.
  chunks[0].isTerminal = true;
  byPair_[key(0, 0)] = 0;
}

void Chunks::reportFull() {
  if (fullReported_) return;
  fullReported_ = true;
  engineMessages() << "ERREUR : la table des chunks est pleine (9999 chunks), aucun nouveau chunk ne "
               "peut etre cree."
            << '\n';
}

int Chunks::addCanonical(std::string text) {
  if (text.empty()) return 0;  // entry 0's text: only it and composites have it
  auto found = byText_.find(text);
  if (found != byText_.end()) return found->second;
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
  index(lastChunk);
  return lastChunk++;
}

int Chunks::addChunk(int c1, int c2) {
  auto found = byPair_.find(key(c1, c2));
  if (found != byPair_.end()) {
    chunks[found->second].isDeleted = false;
    return found->second;
  }
  if (c1 < 1 || c1 >= lastChunk || c2 < 1 || c2 >= lastChunk) {
    engineMessages() << "ERREUR : l'id d'un des chunks fils est impossible : idChild1=" << c1
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
  index(lastChunk);
  return lastChunk++;
}

void Chunks::index(int id) {
  const Chunk& chunk = chunks[id];
  std::vector<int> definition;
  if (chunk.isTerminal) {
    ++terminalCount_;
    byText_.emplace(chunk.syllable, id);
    definition.push_back(id);
    texts_.push_back(chunk.syllable);
  } else {
    byPair_.emplace(key(chunk.idChild1, chunk.idChild2), id);
    definition = definitions_[chunk.idChild1];
    const std::vector<int>& second = definitions_[chunk.idChild2];
    definition.insert(definition.end(), second.begin(), second.end());
    texts_.push_back(texts_[chunk.idChild1] + texts_[chunk.idChild2]);
  }
  int node = 0;
  for (int syllable : definition) {
    auto inserted = trieChild_.emplace(key(node, syllable), static_cast<int>(nodeIds_.size()));
    if (inserted.second) nodeIds_.emplace_back();
    node = inserted.first->second;
  }
  nodeIds_[node].push_back(id);
  definitions_.push_back(std::move(definition));
}

int Chunks::findTerminal(const std::string& text) const {
  auto found = byText_.find(text);
  return found == byText_.end() ? -1 : found->second;
}

int Chunks::findChunk(int c1, int c2) const {
  auto found = byPair_.find(key(c1, c2));
  return found == byPair_.end() ? -1 : found->second;
}

int Chunks::childNode(int node, int syllable) const {
  auto found = trieChild_.find(key(node, syllable));
  return found == trieChild_.end() ? -1 : found->second;
}

IntList Chunks::getCanonicalDefinition(int id) const {
  IntList definition(10);
  for (int syllable : definitions_[id]) definition.addFirst(syllable);
  return definition;
}

std::string Chunks::getSyllables(int id) const { return texts_[id]; }

int Chunks::countCoocc(int c1, int c2) const {
  if (c1 == 0 && c2 == 0) return terminalCount_;
  return byPair_.count(key(c1, c2)) ? 1 : 0;
}

void Chunks::updateChunkPriority() {
  // Equivalent to selecting, slot by slot, the lowest codelength below
  // 10001.0 with ties to the lower id: group the ids by codelength in id
  // order, then lay the groups out by increasing codelength.
  std::vector<std::pair<double, std::vector<int>>> groups;
  std::unordered_map<double, size_t> groupOf;
  size_t group = 0;
  for (int j = 1; j < lastChunk; ++j) {
    const double codelength = chunks[j].codelength;
    if (!(codelength < 10001.0)) continue;
    // Neighbouring ids often share a codelength: skip the lookup then.
    if (groups.empty() || !(groups[group].first == codelength)) {
      auto found = groupOf.emplace(codelength, groups.size());
      if (found.second) groups.emplace_back(codelength, std::vector<int>());
      group = found.first->second;
    }
    groups[group].second.push_back(j);
  }
  std::sort(groups.begin(), groups.end(),
            [](const auto& x, const auto& y) { return x.first < y.first; });
  int slot = 1;
  for (const auto& group : groups) {
    for (int id : group.second) {
      priority[slot++] = id;
      chunks[id].codelength = 10001.0;
    }
  }
  if (slot < lastChunk) chunks[0].codelength = 10001.0;
  for (; slot < lastChunk; ++slot) priority[slot] = 0;
}
