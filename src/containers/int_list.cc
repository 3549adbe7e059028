#include "containers/messages.h"
#include "containers/int_list.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <vector>

IntList::IntList(int slots)
    : items(new int[std::max(slots, 1)]),
      first(std::max(slots, 1)),
      last(first),
      lastIndexMax(first) {
  std::fill(items.get(), items.get() + lastIndexMax, -1);
}

IntList::IntList(IntList&& other) noexcept
    : items(std::move(other.items)),
      first(other.first),
      last(other.last),
      lastIndexMax(other.lastIndexMax) {
  other.first = other.last = other.lastIndexMax = 0;
}

void IntList::clearToTop() {
  // Every other slot holds -1 already: a list that once grew large stays
  // cheap to empty.
  std::fill(items.get() + first, items.get() + last, -1);
  first = last = lastIndexMax;
}

void IntList::addFirst(int id) {
  if (first <= 0) {
    shiftToTop();
    // An empty list whose first end reached slot 0 has nothing to shift:
    // start it afresh at the top, as clearToTop would.
    if (first <= 0) first = last = lastIndexMax;
  }
  items[--first] = id;
}

int IntList::removeFirst() {
  if (first >= last) return -1;
  int id = items[first];
  items[first++] = -1;
  return id;
}

int IntList::removeLast() {
  if (first >= last) return -1;
  int id = items[--last];
  items[last] = -1;
  return id;
}

void IntList::replaceCoocc(int a, int b, int v) {
  // A pair is the sequence of two ids: a read first, then b.
  const int pair[2] = {a, b};
  replaceSequence(pair, 2, v);
}

void IntList::replaceCoocc(IntList pattern, int v) {
  std::vector<int> reading(pattern.getSize());
  for (int k = 0; k < pattern.getSize(); ++k) reading[k] = pattern.items[pattern.last - 1 - k];
  replaceSequence(reading.data(), pattern.getSize(), v);
}

void IntList::replaceSequence(const int* pattern, int m, int v) {
  if (m <= 1) return;
  if (std::find(pattern, pattern + m, v) != pattern + m) {
    replaceSequenceShifting(pattern, m, v);
    return;
  }
  // With v not among the pattern's ids, no window that holds v can match, so
  // after an occurrence the scan resumes just past it: find the occurrences
  // first, then close the list up in one sweep from the last end.
  std::vector<int> starts;
  for (int i = first; i <= last - m;) {
    if (matchesAt(i, pattern, m)) {
      starts.push_back(i);
      i += m;
    } else {
      ++i;
    }
  }
  if (starts.empty()) return;
  int write = last - 1;
  int occurrence = static_cast<int>(starts.size()) - 1;
  for (int read = last - 1; read >= first;) {
    if (occurrence >= 0 && read == starts[occurrence] + m - 1) {
      items[write--] = v;
      read -= m;
      --occurrence;
    } else {
      items[write--] = items[read--];
    }
  }
  std::fill(items.get() + first, items.get() + write + 1, -1);
  first = write + 1;
}

// Slot i holds the newest element of the window, matched with the pattern's
// last element.
bool IntList::matchesAt(int i, const int* pattern, int m) const {
  int k = 0;
  while (k < m && items[i + k] == pattern[m - 1 - k]) ++k;
  return k == m;
}

// Replaces each occurrence where it is found, moving every newer element up;
// the next windows then see v, which matters only when v is in the pattern.
void IntList::replaceSequenceShifting(const int* pattern, int m, int v) {
  const int d = m - 1;
  for (int i = first; i <= last - m; ++i) {
    if (!matchesAt(i, pattern, m)) continue;
    const int oldFirst = first;
    for (int j = i; j >= oldFirst; --j) items[j + d] = items[j];
    items[i + d] = v;
    first = oldFirst + d;
    std::fill(items.get() + oldFirst, items.get() + first, -1);
  }
}

int IntList::countCoocc(int a, int b) const {
  int count = 0;
  int i = last - 1;
  while (i > first) {
    if (items[i] == a && items[i - 1] == b) {
      ++count;
      i -= 2;
    } else {
      --i;
    }
  }
  return count;
}

void IntList::shiftUp(int index, int distance) {
  for (;;) {
    if (last <= index) return;
    if (index < 0) {
      engineMessages() << "ERREUR : indice du shiftUp inferieur a 0." << '\n';
      return;
    }
    if (distance <= 0) return;
    if (static_cast<long long>(last) + distance <= lastIndexMax) break;
    reallocate();
  }
  for (int j = last - 1; j >= index; --j) {
    items[j + distance] = items[j];
    items[j] = -1;
  }
  last += distance;
  if (first >= index) first += distance;
}

void IntList::shiftDown(int index, int distance) {
  for (;;) {
    if (first > index) return;
    if (index >= lastIndexMax) {
      engineMessages() << "ERREUR : indice du shiftDown superieur a lastIndexMax." << '\n';
      return;
    }
    if (distance <= 0) return;
    if (first >= distance) break;
    reallocate();
  }
  for (int j = first; j <= index; ++j) {
    items[j - distance] = items[j];
    items[j] = -1;
  }
  first -= distance;
  // A range that reaches the last element carries the last end along.
  if (index >= last - 1) last -= distance;
}

void IntList::shiftToTop() {
  // Integer test: the double form misjudges the case of equality.
  if (10LL * (lastIndexMax - last) <= lastIndexMax) reallocate();
  if (first == last) {
    engineMessages() << "ATTENTION : il est possible que cela soit source d'erreur et que shiftUp ne "
                 "fonctionne pas"
              << '\n';
  }
  shiftUp(0, lastIndexMax - last);
}

void IntList::reallocate() {
  const int length = lastIndexMax;
  std::unique_ptr<int[]> grown(new int[3 * static_cast<size_t>(length)]);
  std::fill(grown.get(), grown.get() + 3 * static_cast<size_t>(length), -1);
  std::copy(items.get() + first, items.get() + last, grown.get() + first + length);
  items = std::move(grown);
  first += length;
  last += length;
  lastIndexMax = 3 * length;
}
