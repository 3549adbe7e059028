#include "reports/frequency_order.h"

#include <algorithm>

FrequencyOrder::FrequencyOrder() : groupOf_(Chunks::kSize, 0), isTouched_(Chunks::kSize, 0) {}

void FrequencyOrder::touch(int id) {
  if (stale_ || isTouched_[id]) return;
  isTouched_[id] = 1;
  touched_.push_back(id);
}

void FrequencyOrder::update(const Chunks& table) {
  // Past a point, regrouping everything is cheaper than moving ids one by one.
  if (stale_ || touched_.size() * 4 > static_cast<size_t>(table.lastChunk)) {
    rebuild(table);
    return;
  }
  for (int id : touched_) {
    isTouched_[id] = 0;
    const Chunk& chunk = table.chunks[id];
    const int frequency = chunk.isDeleted ? 0 : chunk.frequency;
    if (frequency == groupOf_[id]) continue;
    remove(id);
    if (frequency != 0) insert(id, frequency);
  }
  touched_.clear();
}

void FrequencyOrder::rebuild(const Chunks& table) {
  for (int id : touched_) isTouched_[id] = 0;
  touched_.clear();
  stale_ = false;
  groups_.clear();
  std::fill(groupOf_.begin(), groupOf_.end(), 0);
  for (int id = 1; id < table.lastChunk; ++id) {
    const Chunk& chunk = table.chunks[id];
    if (chunk.isDeleted) continue;
    groups_[chunk.frequency].push_back(id);
    groupOf_[id] = chunk.frequency;
  }
}

void FrequencyOrder::remove(int id) {
  auto group = groups_.find(groupOf_[id]);
  groupOf_[id] = 0;
  if (group == groups_.end()) return;
  std::vector<int>& ids = group->second;
  auto position = std::lower_bound(ids.begin(), ids.end(), id);
  if (position != ids.end() && *position == id) ids.erase(position);
  if (ids.empty()) groups_.erase(group);
}

void FrequencyOrder::insert(int id, int frequency) {
  std::vector<int>& ids = groups_[frequency];
  ids.insert(std::lower_bound(ids.begin(), ids.end(), id), id);
  groupOf_[id] = frequency;
}
