// KeptCounts: the frequencies and the total, kept in step with every change
// to the stimuli memory and the table, so that the learning step never
// recounts.
//
// A chunk's uses are its occurrences in the stimuli memory plus its uses as a
// child of live composite chunks; a live chunk's frequency field is its uses
// + 1 and the total T is the sum of those frequencies. A codelength is then
// log2(T / f), with the very expression of a full recount, or 10000 for a
// deleted chunk.
//
// Invariants, after recount and after every call below:
// - uses(id) and the frequency fields of live chunks are those a recount of
//   the memory and the table would give; total() is their sum;
// - the memory's distinct ids, with their numbers of occurrences, are those
//   of the memory that the calls described (ids outside 1 .. lastChunk - 1
//   are not counted);
// - every change of a chunk's frequency or deletion mark is noted to the
//   listing order, and every chunk whose uses may have reached zero is
//   proposed to the deletion candidates.
// Code that writes the table's fields or the memory directly breaks these
// until the next recount.
#ifndef SYLLEX_MODEL_KEPT_COUNTS_H_
#define SYLLEX_MODEL_KEPT_COUNTS_H_

#include <vector>

#include "containers/chunks.h"
#include "containers/int_list.h"
#include "model/deletion_candidates.h"
#include "model/log2_cache.h"
#include "reports/frequency_order.h"

class KeptCounts {
 public:
  // The three are the learner's; they must outlive this object.
  KeptCounts(Chunks& table, FrequencyOrder& listingOrder, DeletionCandidates& candidates);
  KeptCounts(const KeptCounts&) = delete;
  KeptCounts& operator=(const KeptCounts&) = delete;

  // Counts everything again from the memory and the table: rewrites the
  // frequency field of every live chunk, marks the listing order stale,
  // proposes every chunk for deletion and returns the total.
  int recount(const IntList& memory);

  // delta occurrences of id have entered (or, negative, left) the memory.
  void memoryChanged(int id, int delta);
  // The chunk has just been created or revived: it is live again, with the
  // uses it kept, and uses its children once more.
  void becameLive(int id);
  // Deletes the live chunk: marks it, and its children lose a use.
  void becameDeleted(int id);

  int uses(int id) const { return uses_[id]; }
  int total() const { return total_; }
  // A chunk's codelength from these counts, 10000 for a deleted one.
  double codelength(int id) const {
    const Chunk& chunk = table_.chunks[id];
    if (chunk.isDeleted) return 10000.0;
    return log2_.ratio(total_, chunk.frequency);
  }
  // The memory's distinct ids, in no particular order, and each one's number
  // of occurrences there.
  const std::vector<int>& memoryIds() const { return memoryIds_; }
  int memoryCount(int id) const { return memoryCount_[id]; }

 private:
  void countInMemory(int id, int delta);
  void addUses(int id, int delta);

  Chunks& table_;
  FrequencyOrder& listingOrder_;
  DeletionCandidates& candidates_;
  Log2Cache log2_;
  std::vector<int> uses_;
  int total_ = 0;
  // memorySlot_[id] is id's index in memoryIds_ while memoryCount_[id] > 0.
  std::vector<int> memoryCount_;
  std::vector<int> memoryIds_;
  std::vector<int> memorySlot_;
};

#endif  // SYLLEX_MODEL_KEPT_COUNTS_H_
