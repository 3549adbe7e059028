// DeletionCandidates: live composite chunks that may have lost their last use.
//
// A composite chunk that nothing uses (no occurrence in the stimuli memory,
// no live parent) is deleted at the end of the learning step. Rather than scan
// the table every step, the count keeping proposes a chunk here whenever its
// uses may have reached zero, and the step deletes those still unused.
//
// Invariants: an id is held at most once, in the order it was first proposed;
// a proposal is kept only for a live composite whose uses are zero at that
// moment (its uses may rise again before the step takes the candidates).
#ifndef SYLLEX_MODEL_DELETION_CANDIDATES_H_
#define SYLLEX_MODEL_DELETION_CANDIDATES_H_

#include <vector>

#include "containers/chunks.h"

class KeptCounts;

class DeletionCandidates {
 public:
  DeletionCandidates();

  // Holds the chunk if it is a live composite with no use and not yet held.
  void propose(int id, const Chunk& chunk, int uses) {
    if (chunk.isTerminal || chunk.isDeleted || uses != 0 || held_[id]) return;
    held_[id] = 1;
    ids_.push_back(id);
  }

  // Empties the set and returns those held chunks that are still live
  // composites without a use, in the order proposed. The list stays valid
  // until the next call. Deciding them all first, on the counts as they
  // stand, means that a child losing its last use to these deletions goes at
  // a later step.
  const std::vector<int>& takeUnused(const Chunks& table, const KeptCounts& counts);

 private:
  std::vector<int> ids_;
  std::vector<char> held_;  // per id: whether ids_ holds it
  std::vector<int> unused_;
};

#endif  // SYLLEX_MODEL_DELETION_CANDIDATES_H_
