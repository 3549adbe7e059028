// Log2Cache: log2(total / frequency) for small frequencies, remembered.
//
// Codelengths are read far more often than the counts behind them change, and
// most chunks have small frequencies, so each small frequency keeps the value
// it last had together with the total it was computed for. A value is reused
// only for that very total, so every answer is bit for bit the plain
// std::log2(double(total) / double(frequency)). Frequencies outside the table
// (negative, or kSlots and above) are computed each time and not kept.
#ifndef SYLLEX_MODEL_LOG2_CACHE_H_
#define SYLLEX_MODEL_LOG2_CACHE_H_

#include <cmath>
#include <vector>

class Log2Cache {
 public:
  static constexpr int kSlots = 1 << 12;

  Log2Cache();

  // log2(total / frequency), as std::log2 computes it.
  double ratio(int total, int frequency) const {
    const bool cached = frequency >= 0 && frequency < kSlots;
    if (cached && totalOf_[frequency] == total) return value_[frequency];
    const double value = std::log2(static_cast<double>(total) / static_cast<double>(frequency));
    if (cached) {
      value_[frequency] = value;
      totalOf_[frequency] = total;
    }
    return value;
  }

 private:
  // value_[f] is valid exactly when totalOf_[f] holds the total it was
  // computed for; -1, which no total equals, marks a slot never filled.
  mutable std::vector<double> value_;
  mutable std::vector<int> totalOf_;
};

#endif  // SYLLEX_MODEL_LOG2_CACHE_H_
