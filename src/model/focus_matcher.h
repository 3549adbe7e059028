// FocusMatcher: the factorization of a growing run of syllables into chunks.
//
// The run grows one syllable at a time at its newest end. After every add the
// factorization is the one that applying every live chunk in priority order
// (increasing codelength, ties to the lower id) gives, each chunk replacing
// its occurrences from the newest end without overlap, an occurrence that
// spans a chunk already placed no longer matching.
//
// Only the chunks that some run of the syllables spells are considered (no
// other can match), and the factorization is kept as the chunk that took each
// syllable: a syllable that completes no chunk's definition just joins as
// itself, and one that does has the decisions revised from the newest end.
//
// The codelengths are read from the kept counts, which must not change between
// clear and the last read of the factorization.
#ifndef SYLLEX_MODEL_FOCUS_MATCHER_H_
#define SYLLEX_MODEL_FOCUS_MATCHER_H_

#include <cstddef>
#include <vector>

#include "containers/chunks.h"
#include "containers/int_list.h"
#include "model/kept_counts.h"

class FocusMatcher {
 public:
  // Both must outlive this object.
  FocusMatcher(const Chunks& table, const KeptCounts& counts);
  FocusMatcher(const FocusMatcher&) = delete;
  FocusMatcher& operator=(const FocusMatcher&) = delete;

  // Starts again from an empty run.
  void clear();
  // Appends a newer syllable (a terminal chunk's id) to the run.
  void add(int syllable);
  int syllables() const { return static_cast<int>(syllables_.size()); }
  // Whether the factorization's size, added up newest element first as a
  // list's size is, is at least the capacity.
  bool reachesCapacity(double capacity) const;
  // Adds the factorization's elements to the list's newest end, oldest first.
  void layOut(IntList& list) const;

 private:
  struct Candidate {
    double codelength;
    int id;
    size_t list;  // its occurrences' list in occurrences_
  };

  // Records an occurrence, ending at position end, of each live chunk filed at
  // a trie node, adding new chunks to the candidates; false if none.
  bool addCandidates(int node, int end);
  void updateClaims(int newest);
  bool precedes(int id, const Candidate& candidate) const;
  void claim(const Candidate& candidate, int start, int end);
  void release(const Candidate& candidate, int start, int end);
  void addToSize(double term);
  double exactSize() const;

  const Chunks& table_;
  const KeptCounts& counts_;
  // The run, oldest syllable at position 0.
  std::vector<int> syllables_;
  // Chunks spelled by runs of the syllables, in priority order, and the trie
  // nodes of the runs that end at the newest syllable and that some chunk's
  // definition may still continue.
  std::vector<Candidate> candidates_;
  std::vector<int> openNodes_;
  std::vector<unsigned> candidatePass_;  // the run (clear call) that took an id
  unsigned pass_ = 0;
  std::vector<size_t> candidateList_;  // an id's occurrence list, this run
  // Per candidate, the positions where its occurrences end, increasing, and
  // whether each is taken; lists are reused from run to run.
  std::vector<std::vector<int>> occurrences_;
  std::vector<std::vector<char>> takenOccurrences_;
  size_t usedOccurrenceLists_ = 0;
  // The chunk that took each position, or -1 for a syllable left alone; the
  // number of elements that makes; its size kept as terms come and go, with
  // the mass of those terms and their number, which bound its rounding.
  std::vector<int> owner_;
  int elements_ = 0;
  double size_ = 0.0;
  double mass_ = 0.0;
  double operations_ = 0.0;
};

#endif  // SYLLEX_MODEL_FOCUS_MATCHER_H_
