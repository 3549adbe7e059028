// IntList: a list of chunk ids kept in one array with free room on both sides.
//
// The oldest element sits at the last end (slot last - 1), the newest at the
// first end (slot first); lists are read from the last end to the first end.
// Invariants after every operation: 0 <= first <= last <= lastIndexMax, and
// every slot below first and from last upward holds -1.
//
// The array only grows (by tripling, elements kept in the middle third) and a
// list is never copied: it can only be moved, which hands the array over.
#ifndef SYLLEX_CONTAINERS_INT_LIST_H_
#define SYLLEX_CONTAINERS_INT_LIST_H_

#include <memory>
#include <string>

class IntList {
 public:
  explicit IntList(int slots = 10);
  ~IntList() = default;
  IntList(IntList&& other) noexcept;
  IntList(const IntList&) = delete;
  IntList& operator=(const IntList&) = delete;
  IntList& operator=(IntList&&) = delete;

  void clearToTop();
  void addFirst(int id);
  int removeFirst();  // -1 when empty
  int removeLast();   // -1 when empty
  int getSize() const { return last - first; }

  // Every occurrence of a read just before b becomes v, taken from the newest
  // end without overlap.
  void replaceCoocc(int a, int b, int v);
  // Every occurrence of the pattern's elements becomes v, taken from the
  // newest end without overlap. The pattern is left unchanged.
  void replaceCoocc(IntList pattern, int v);
  // The same on a pattern given as m ids in reading order (oldest first).
  void replaceSequence(const int* pattern, int m, int v);
  // Non-overlapping occurrences of the pair, counted from the oldest end.
  int countCoocc(int a, int b) const;

  void shiftUp(int index, int distance);
  void shiftDown(int index, int distance);
  void shiftToTop();
  void reallocate();

  std::string toString() const;
  std::string toString2() const;
  std::string toString3() const;

  // The oldest element, or -1 when the list is empty.
  int oldest() const { return first < last ? items[last - 1] : -1; }

 private:
  bool matchesAt(int i, const int* pattern, int m) const;
  void replaceSequenceShifting(const int* pattern, int m, int v);

 public:
  std::unique_ptr<int[]> items;
  int first;
  int last;
  int lastIndexMax;
};

#endif  // SYLLEX_CONTAINERS_INT_LIST_H_
