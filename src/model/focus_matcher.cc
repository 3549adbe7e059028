#include "model/focus_matcher.h"

#include <algorithm>
#include <climits>
#include <cmath>

FocusMatcher::FocusMatcher(const Chunks& table, const KeptCounts& counts)
    : table_(table),
      counts_(counts),
      candidatePass_(Chunks::kSize, 0),
      candidateList_(Chunks::kSize, 0) {}

void FocusMatcher::clear() {
  syllables_.clear();
  candidates_.clear();
  openNodes_.clear();
  usedOccurrenceLists_ = 0;
  ++pass_;
  owner_.clear();
  elements_ = 0;
  size_ = 0.0;
  mass_ = 0.0;
  operations_ = 0;
}

void FocusMatcher::add(int syllable) {
  const int position = syllables();
  syllables_.push_back(syllable);
  // Runs that no chunk's definition continues are dropped for good.
  bool spelled = false;
  size_t kept = 0;
  for (int node : openNodes_) {
    node = table_.childNode(node, syllable);
    if (node < 0) continue;
    spelled |= addCandidates(node, position);
    openNodes_[kept++] = node;
  }
  openNodes_.resize(kept);
  openNodes_.push_back(table_.childNode(0, syllable));
  owner_.push_back(-1);
  ++elements_;
  addToSize(counts_.codelength(syllable));
  if (spelled) updateClaims(position);
}

// The running size adds and removes the same terms in another order than the
// newest-first sum; both stay within a small margin of the exact sum (a few
// units of rounding per term or operation, on the mass of all terms), so the
// newest-first sum is needed only when the capacity falls within that margin.
bool FocusMatcher::reachesCapacity(double capacity) const {
  if (elements_ < 32) return exactSize() >= capacity;
  const double unit = 1.0 / 9007199254740992.0;  // 2^-53
  const double margin = ((4.0 * elements_ + 8.0) + 2.0 * (operations_ + 1.0)) * unit * mass_;
  if (size_ + margin < capacity) return false;
  if (size_ - margin >= capacity) return true;
  return exactSize() >= capacity;
}

void FocusMatcher::addToSize(double term) {
  size_ += term;
  mass_ += std::fabs(term);
  ++operations_;
}

// The size as a list of the elements would add it up: newest element first.
double FocusMatcher::exactSize() const {
  double size = 0.0;
  for (int position = static_cast<int>(owner_.size()) - 1; position >= 0;) {
    const int id = owner_[position];
    if (id < 0) {
      size += counts_.codelength(syllables_[position]);
      --position;
    } else {
      size += counts_.codelength(id);
      position -= static_cast<int>(table_.definition(id).size());
    }
  }
  return size;
}

void FocusMatcher::layOut(IntList& list) const {
  for (int position = 0; position < syllables();) {
    const int id = owner_[position];
    if (id < 0) {
      list.addFirst(syllables_[position]);
      ++position;
    } else {
      list.addFirst(id);
      position += static_cast<int>(table_.definition(id).size());
    }
  }
}

bool FocusMatcher::addCandidates(int node, int end) {
  bool live = false;
  for (int id : table_.nodeIds(node)) {
    if (table_.chunks[id].isDeleted) continue;
    live = true;
    if (candidatePass_[id] != pass_) {
      candidatePass_[id] = pass_;
      const Candidate candidate{counts_.codelength(id), id, usedOccurrenceLists_};
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

// Brings the factorization up to date once the syllable at position newest
// has come with new occurrences. Applying the chunks one after another, each
// replacing its occurrences from the newest end without overlap, comes to
// this: in priority order, each chunk takes those of its occurrences, newest
// first, whose syllables no earlier chunk and none of its own occurrences took
// (an occurrence spanning a chunk already placed can no longer match).
// Decisions are taken again only from the newest end down: below the lowest
// position whose owner has changed, a chunk's remaining decisions repeat the
// previous ones as soon as its own last taken occurrence blocks the same ones
// as before.
void FocusMatcher::updateClaims(int newest) {
  int low = newest;
  for (const Candidate& candidate : candidates_) {
    const std::vector<int>& ends = occurrences_[candidate.list];
    std::vector<char>& taken = takenOccurrences_[candidate.list];
    const int length = static_cast<int>(table_.definition(candidate.id).size());
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

bool FocusMatcher::precedes(int id, const Candidate& candidate) const {
  const double codelength = counts_.codelength(id);
  return codelength < candidate.codelength ||
         (codelength == candidate.codelength && id < candidate.id);
}

void FocusMatcher::claim(const Candidate& candidate, int start, int end) {
  addToSize(candidate.codelength);
  ++elements_;
  for (int position = start; position <= end; ++position) {
    if (owner_[position] < 0) {
      addToSize(-counts_.codelength(syllables_[position]));
      --elements_;
    }
    owner_[position] = candidate.id;
  }
}

void FocusMatcher::release(const Candidate& candidate, int start, int end) {
  addToSize(-candidate.codelength);
  --elements_;
  for (int position = start; position <= end; ++position) {
    if (owner_[position] != candidate.id) continue;
    owner_[position] = -1;
    addToSize(counts_.codelength(syllables_[position]));
    ++elements_;
  }
}
