#include "model/kept_counts.h"

#include <algorithm>

KeptCounts::KeptCounts(Chunks& table, FrequencyOrder& listingOrder, DeletionCandidates& candidates)
    : table_(table),
      listingOrder_(listingOrder),
      candidates_(candidates),
      uses_(Chunks::kSize, 0),
      memoryCount_(Chunks::kSize, 0),
      memorySlot_(Chunks::kSize, 0) {}

int KeptCounts::recount(const IntList& memory) {
  const int lastChunk = table_.lastChunk;
  std::fill(uses_.begin(), uses_.begin() + lastChunk, 0);
  for (int id : memoryIds_) memoryCount_[id] = 0;
  memoryIds_.clear();
  for (int i = memory.first; i < memory.last; ++i) {
    const int id = memory.items[i];
    if (id < 1 || id >= lastChunk) continue;
    ++uses_[id];
    countInMemory(id, 1);
  }
  for (int k = 1; k < lastChunk; ++k) {
    const Chunk& chunk = table_.chunks[k];
    if (chunk.isTerminal || chunk.isDeleted) continue;
    ++uses_[chunk.idChild1];
    ++uses_[chunk.idChild2];
  }
  int total = 0;
  for (int i = 1; i < lastChunk; ++i) {
    Chunk& chunk = table_.chunks[i];
    if (chunk.isDeleted) continue;
    chunk.frequency = uses_[i] + 1;
    total += chunk.frequency;
  }
  total_ = total;
  listingOrder_.invalidate();
  for (int i = 1; i < lastChunk; ++i) candidates_.propose(i, table_.chunks[i], uses_[i]);
  return total;
}

void KeptCounts::memoryChanged(int id, int delta) {
  countInMemory(id, delta);
  addUses(id, delta);
}

void KeptCounts::becameLive(int id) {
  Chunk& chunk = table_.chunks[id];
  chunk.frequency = uses_[id] + 1;
  total_ += chunk.frequency;
  listingOrder_.touch(id);
  addUses(chunk.idChild1, 1);
  addUses(chunk.idChild2, 1);
  candidates_.propose(id, chunk, uses_[id]);
}

void KeptCounts::becameDeleted(int id) {
  Chunk& chunk = table_.chunks[id];
  chunk.isDeleted = true;
  chunk.codelength = 10000.0;
  total_ -= chunk.frequency;
  listingOrder_.touch(id);
  addUses(chunk.idChild1, -1);
  addUses(chunk.idChild2, -1);
}

void KeptCounts::addUses(int id, int delta) {
  if (id < 1 || id >= table_.lastChunk || delta == 0) return;
  uses_[id] += delta;
  Chunk& chunk = table_.chunks[id];
  if (chunk.isDeleted) return;
  chunk.frequency += delta;
  total_ += delta;
  listingOrder_.touch(id);
  candidates_.propose(id, chunk, uses_[id]);
}

void KeptCounts::countInMemory(int id, int delta) {
  if (id < 1 || id >= table_.lastChunk || delta == 0) return;
  if (memoryCount_[id] == 0) {
    memorySlot_[id] = static_cast<int>(memoryIds_.size());
    memoryIds_.push_back(id);
  }
  memoryCount_[id] += delta;
  if (memoryCount_[id] == 0) {
    const int moved = memoryIds_.back();
    memoryIds_[memorySlot_[id]] = moved;
    memorySlot_[moved] = memorySlot_[id];
    memoryIds_.pop_back();
  }
}
