// Fuzzes IntList against a plain model: a deque in reading order, oldest
// first. Each input byte picks an operation, the following bytes its ids;
// after every operation the list must read as the model does and keep its
// invariants.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "containers/int_list.h"
#include "fuzz_support.h"

namespace {

using Model = std::deque<int>;

// Few distinct ids, so that pairs and patterns match often.
constexpr int kIds = 8;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  int byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int id() { return byte() % kIds; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// An id for v among 0..kIds+1 that is none of the excluded ones, as the
// learner never replaces by an id of the pair or pattern itself.
int idOutside(int seed, const std::vector<int>& excluded) {
  for (int v = seed % (kIds + 2);; v = (v + 1) % (kIds + 2)) {
    bool taken = false;
    for (int id : excluded) taken |= id == v;
    if (!taken) return v;
  }
}

// Occurrences of the run taken from the newest end without overlap, each
// becoming v.
void modelReplace(Model& model, const std::vector<int>& run, int v) {
  const int m = static_cast<int>(run.size());
  if (m < 2) return;
  Model newestFirst;
  for (int j = static_cast<int>(model.size()) - 1; j >= 0;) {
    bool match = j - m + 1 >= 0;
    for (int k = 0; match && k < m; ++k) match = model[j - m + 1 + k] == run[k];
    if (match) {
      newestFirst.push_front(v);
      j -= m;
    } else {
      newestFirst.push_front(model[j]);
      --j;
    }
  }
  model.swap(newestFirst);
}

// Pairs counted from the oldest end without overlap.
int modelCount(const Model& model, int a, int b) {
  int count = 0;
  for (size_t i = 0; i + 1 < model.size();) {
    if (model[i] == a && model[i + 1] == b) {
      ++count;
      i += 2;
    } else {
      ++i;
    }
  }
  return count;
}

void checkList(const IntList& list, const Model& model) {
  fuzz::check(0 <= list.first && list.first <= list.last && list.last <= list.lastIndexMax,
              "list ends out of order");
  for (int i = 0; i < list.lastIndexMax; ++i) {
    if (i < list.first || i >= list.last) fuzz::check(list.items[i] == -1, "stale slot");
  }
  fuzz::check(list.getSize() == static_cast<int>(model.size()), "size differs from the model");
  for (int k = 0; k < list.getSize(); ++k) {
    fuzz::check(list.items[list.last - 1 - k] == model[k], "element differs from the model");
  }
}

// The array triples, and only when addFirst finds no room below first and at
// most a tenth of the array free above last. An empty list at slot 0 may make
// room as it likes, short of shrinking.
void checkGrowth(int before, int after, bool full, bool emptyAtZero) {
  fuzz::check(after >= before, "array shrank");
  if (emptyAtZero) return;
  fuzz::check(after == (full ? 3 * before : before), "array grew when not needed, or not enough");
}

void addFirst(IntList& list, Model& model, int id) {
  const int before = list.lastIndexMax;
  const bool emptyAtZero = list.first == 0 && list.getSize() == 0;
  const bool full = list.first == 0 && 10LL * (list.lastIndexMax - list.last) <= list.lastIndexMax;
  list.addFirst(id);
  model.push_back(id);
  checkGrowth(before, list.lastIndexMax, full, emptyAtZero);
}

void removeFirst(IntList& list, Model& model) {
  const int expected = model.empty() ? -1 : model.back();
  if (!model.empty()) model.pop_back();
  fuzz::check(list.removeFirst() == expected, "removeFirst returned another id");
}

void removeLast(IntList& list, Model& model) {
  const int expected = model.empty() ? -1 : model.front();
  if (!model.empty()) model.pop_front();
  fuzz::check(list.removeLast() == expected, "removeLast returned another id");
}

void replacePair(IntList& list, Model& model, Input& input) {
  const int a = input.id();
  const int b = input.id();
  const int v = idOutside(input.byte(), {a, b});
  list.replaceCoocc(a, b, v);
  modelReplace(model, {a, b}, v);
}

void replacePattern(IntList& list, Model& model, Input& input) {
  std::vector<int> run(input.byte() % 5);  // empty and single-id patterns too
  for (int& id : run) id = input.id();
  const int v = idOutside(input.byte(), run);
  IntList pattern;
  for (int id : run) pattern.addFirst(id);
  list.replaceCoocc(std::move(pattern), v);
  modelReplace(model, run, v);
}

void count(const IntList& list, const Model& model, Input& input) {
  const int a = input.id();
  const int b = input.id();
  fuzz::check(list.countCoocc(a, b) == modelCount(model, a, b), "countCoocc differs");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::silenceCout();  // addFirst warns there when an empty list sits at slot 0
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  IntList list;
  Model model;
  while (!input.done()) {
    const int before = list.lastIndexMax;
    const int op = input.byte() % 8;
    switch (op) {
      case 0:
      case 1:  // twice as likely, so that lists grow
        addFirst(list, model, input.id());
        break;
      case 2:
        removeFirst(list, model);
        break;
      case 3:
        removeLast(list, model);
        break;
      case 4:
        list.clearToTop();
        model.clear();
        break;
      case 5:
        replacePair(list, model, input);
        break;
      case 6:
        replacePattern(list, model, input);
        break;
      default:
        count(list, model, input);
        break;
    }
    if (op > 1) fuzz::check(list.lastIndexMax == before, "array resized outside addFirst");
    checkList(list, model);
  }
  return 0;
}
