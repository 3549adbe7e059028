#include "model/deletion_candidates.h"

#include "model/kept_counts.h"

DeletionCandidates::DeletionCandidates() : held_(Chunks::kSize, 0) {}

const std::vector<int>& DeletionCandidates::takeUnused(const Chunks& table,
                                                       const KeptCounts& counts) {
  unused_.clear();
  for (int id : ids_) {
    held_[id] = 0;
    const Chunk& chunk = table.chunks[id];
    if (!chunk.isTerminal && !chunk.isDeleted && counts.uses(id) == 0) unused_.push_back(id);
  }
  ids_.clear();
  return unused_;
}
