// FrequencyOrder: the live chunks grouped by frequency, highest first, ids
// increasing within a group. For one total T a codelength log2(T / f) falls
// as f grows, so this is the lexicon's priority order, kept from step to step
// instead of being sorted again for every listing.
//
// The order is brought up to date lazily: changes are only noted (touch) and
// applied when update runs, so runs that list rarely pay almost nothing.
#ifndef SYLLEX_REPORTS_FREQUENCY_ORDER_H_
#define SYLLEX_REPORTS_FREQUENCY_ORDER_H_

#include <functional>
#include <map>
#include <vector>

#include "containers/chunks.h"

class FrequencyOrder {
 public:
  using Groups = std::map<int, std::vector<int>, std::greater<int>>;

  FrequencyOrder();

  // The chunk's frequency or its deletion mark has changed.
  void touch(int id);
  // Anything may have changed.
  void invalidate() { stale_ = true; }
  // Regroups the chunks whose frequency or mark changed since the last call.
  void update(const Chunks& table);
  const Groups& groups() const { return groups_; }

 private:
  void rebuild(const Chunks& table);
  void remove(int id);
  void insert(int id, int frequency);

  Groups groups_;
  std::vector<int> groupOf_;  // the frequency an id is filed under; 0 if none
  std::vector<int> touched_;
  std::vector<char> isTouched_;
  bool stale_ = true;
};

#endif  // SYLLEX_REPORTS_FREQUENCY_ORDER_H_
