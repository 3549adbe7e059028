#include "containers/int_list.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "test_util.h"

namespace {

// 0 <= first <= last <= lastIndexMax, and -1 in every slot outside the elements.
void expectInvariants(const IntList& list) {
  ASSERT_LE(0, list.first);
  ASSERT_LE(list.first, list.last);
  ASSERT_LE(list.last, list.lastIndexMax);
  for (int i = 0; i < list.first; ++i) EXPECT_EQ(-1, list.items[i]) << "slot " << i;
  for (int i = list.last; i < list.lastIndexMax; ++i) EXPECT_EQ(-1, list.items[i]) << "slot " << i;
}

std::vector<int> slots(const IntList& list) {
  return std::vector<int>(list.items.get(), list.items.get() + list.lastIndexMax);
}

}  // namespace

TEST(IntListTest, NewListIsEmptyWithAllRoomBelowTheFirstEnd) {
  IntList list(10);
  EXPECT_EQ(0, list.getSize());
  EXPECT_EQ(-1, list.removeFirst());
  EXPECT_EQ(-1, list.removeLast());
  EXPECT_EQ(10, list.first);
  EXPECT_EQ(10, list.last);
  EXPECT_EQ(10, list.lastIndexMax);
  EXPECT_EQ(std::vector<int>(10, -1), slots(list));
}

TEST(IntListTest, NewestAtFirstEndOldestAtLastEnd) {
  IntList list(10);
  list.addFirst(5);
  list.addFirst(6);
  EXPECT_EQ(5, list.items[9]);
  EXPECT_EQ(6, list.items[8]);
  EXPECT_EQ((std::vector<int>{5, 6}), readList(list));
  EXPECT_EQ(5, list.oldest());
  EXPECT_EQ(5, list.removeLast());
  EXPECT_EQ(6, list.removeFirst());
  EXPECT_EQ(0, list.getSize());
  EXPECT_EQ(-1, list.removeLast());
  expectInvariants(list);
}

// addFirst at slot 0 first reuses the room freed at the last end, and grows the
// array only when that room is at most a tenth of it.
TEST(IntListTest, AddFirstAtSlotZeroShiftsOrGrows) {
  const std::string kWarning =
      "ATTENTION : il est possible que cela soit source d'erreur et que shiftUp ne fonctionne "
      "pas\n";
  struct Case {
    int added;  // ids 1..added, then the oldest removed
    int removed;
    int first, last, lastIndexMax;
    std::string output;
  };
  const std::vector<Case> cases = {
      {10, 0, 19, 30, 30, ""},        // full: grow, elements up into 20..29
      {10, 1, 20, 30, 30, ""},        // one free slot above: 10 x 1 <= 10 still grows
      {10, 2, 1, 10, 10, ""},         // two free slots: shift only
      {10, 7, 6, 10, 10, ""},         // elements 0..2 move to 7..9
      {10, 9, 8, 10, 10, ""},         // a single element moves to the top slot
      {10, 10, 9, 10, 10, kWarning},  // empty with first at 0: warning, restart at the top
      {30, 0, 59, 90, 90, ""},        // second growth: 30 -> 90
      {90, 0, 179, 270, 270, ""},     // third growth: 90 -> 270
      {30, 27, 26, 30, 30, ""},       // room above after growth: shift, no growth
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "added " << c.added << ", removed " << c.removed);
    IntList list(10);
    std::vector<int> expected;
    for (int id = 1; id <= c.added; ++id) {
      list.addFirst(id);
      expected.push_back(id);
    }
    for (int k = 0; k < c.removed; ++k) list.removeLast();
    expected.erase(expected.begin(), expected.begin() + c.removed);
    ASSERT_EQ(0, list.first);
    CoutCapture out;
    list.addFirst(99);
    expected.push_back(99);
    EXPECT_EQ(c.output, out.str());
    EXPECT_EQ(c.first, list.first);
    EXPECT_EQ(c.last, list.last);
    EXPECT_EQ(c.lastIndexMax, list.lastIndexMax);
    EXPECT_EQ(99, list.items[list.first]);
    EXPECT_EQ(expected, readList(list));
    expectInvariants(list);
  }
}

// The stimuli memory slides: one id in at the first end, one out at the last.
// It must keep its array while its elements fill less than nine tenths of it.
TEST(IntListTest, SlidingListGrowsOnlyWhenNearlyFull) {
  const std::vector<std::pair<int, int>> cases = {{1, 10}, {5, 10}, {8, 10}, {9, 30}, {10, 30}};
  for (const auto& [window, lastIndexMax] : cases) {
    SCOPED_TRACE(testing::Message() << "window " << window);
    IntList list(10);
    std::deque<int> expected;
    for (int id = 1; id <= 200; ++id) {
      list.addFirst(id);
      expected.push_back(id);
      if (static_cast<int>(expected.size()) > window) {
        EXPECT_EQ(expected.front(), list.removeLast());
        expected.pop_front();
      }
    }
    EXPECT_EQ(lastIndexMax, list.lastIndexMax);
    EXPECT_EQ(std::vector<int>(expected.begin(), expected.end()), readList(list));
    expectInvariants(list);
  }
}

TEST(IntListTest, ReallocateTriplesAndCentresTheElements) {
  IntList list(10);
  fillList(list, {1, 2, 3, 4, 5});  // slots 5..9
  list.removeLast();
  list.removeLast();  // 3, 4, 5 left in slots 5..7
  list.reallocate();
  EXPECT_EQ(30, list.lastIndexMax);
  EXPECT_EQ(15, list.first);
  EXPECT_EQ(18, list.last);
  EXPECT_EQ((std::vector<int>{3, 4, 5}), readList(list));
  expectInvariants(list);
}

TEST(IntListTest, ClearToTopKeepsTheGrownArray) {
  IntList list(10);
  for (int id = 1; id <= 11; ++id) list.addFirst(id);
  list.clearToTop();
  EXPECT_EQ(30, list.lastIndexMax);
  EXPECT_EQ(30, list.first);
  EXPECT_EQ(30, list.last);
  EXPECT_EQ(std::vector<int>(30, -1), slots(list));
}

// Occurrences are taken from the newest end without overlap: in a run of equal
// ids the oldest one is left over.
TEST(IntListTest, ReplacePair) {
  struct Case {
    std::vector<int> list;
    int a, b;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {{7, 3, 7, 3, 9}, 7, 3, {12, 12, 9}},
      {{5, 5, 5}, 5, 5, {5, 12}},
      {{5, 5, 5, 5}, 5, 5, {12, 12}},
      {{5, 5, 5, 5, 5}, 5, 5, {5, 12, 12}},
      {{3, 7}, 7, 3, {3, 7}},  // order matters
      {{7, 3, 7}, 7, 3, {12, 7}},
      {{1, 7, 3, 2}, 7, 3, {1, 12, 2}},
      {{7, 3, 3}, 3, 3, {7, 12}},
      {{7}, 7, 3, {7}},
      {{}, 7, 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.list) + " (" + std::to_string(c.a) + ", " +
                 std::to_string(c.b) + ")");
    IntList list(10);
    fillList(list, c.list);
    list.replaceCoocc(c.a, c.b, 12);
    EXPECT_EQ(c.expected, readList(list));
    EXPECT_EQ(10, list.last);
    expectInvariants(list);
  }
}

// Counting scans from the oldest end, but gives as many pairs as the
// replacement makes.
TEST(IntListTest, CountPair) {
  struct Case {
    std::vector<int> list;
    int a, b;
    int count;
  };
  const std::vector<Case> cases = {
      {{5, 5, 5}, 5, 5, 1},
      {{5, 5, 5, 5}, 5, 5, 2},
      {{5, 5, 5, 5, 5}, 5, 5, 2},
      {{7, 3, 7, 3, 9}, 7, 3, 2},
      {{7, 3, 7, 3, 9}, 3, 7, 1},
      {{7, 3, 7, 3, 9}, 3, 9, 1},
      {{7, 3, 7, 3, 9}, 9, 7, 0},
      {{5, 6, 5, 5, 6}, 5, 5, 1},
      {{3, 7}, 7, 3, 0},
      {{7}, 7, 7, 0},
      {{}, 7, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.list) + " (" + std::to_string(c.a) + ", " +
                 std::to_string(c.b) + ")");
    IntList list(10);
    fillList(list, c.list);
    EXPECT_EQ(c.count, list.countCoocc(c.a, c.b));
    EXPECT_EQ(c.list, readList(list));
  }
}

// Of two overlapping occurrences the newer one is replaced; patterns of fewer
// than two elements change nothing.
TEST(IntListTest, ReplaceSequence) {
  struct Case {
    std::vector<int> list;
    std::vector<int> pattern;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {{4, 8, 2, 4, 8, 2, 6}, {4, 8, 2}, {20, 20, 6}},
      {{4, 4, 4, 4}, {4, 4, 4}, {4, 20}},
      {{9, 6, 1, 2}, {6, 1, 2}, {9, 20}},
      {{1, 2, 1, 2, 1}, {1, 2, 1}, {1, 2, 20}},
      {{1, 2, 3}, {1, 2, 3}, {20}},
      {{5, 1, 2, 6}, {1, 2}, {5, 20, 6}},
      {{2, 1}, {1, 2}, {2, 1}},
      {{1, 2, 4}, {1, 2, 3}, {1, 2, 4}},
      {{1, 2}, {1, 2, 3}, {1, 2}},
      {{9, 9}, {9}, {9, 9}},
      {{9, 9}, {}, {9, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.list) + " pattern " + testing::PrintToString(c.pattern));
    IntList list(10);
    fillList(list, c.list);
    IntList pattern(10);
    fillList(pattern, c.pattern);
    list.replaceCoocc(std::move(pattern), 20);
    EXPECT_EQ(c.expected, readList(list));
    EXPECT_EQ(10, list.last);
    expectInvariants(list);
  }
}

// The pattern is located by its own first end, wherever its array puts it.
TEST(IntListTest, ReplaceSequenceWithGrownPattern) {
  IntList list(10);
  fillList(list, {3, 4, 5, 6});
  IntList pattern(10);
  for (int id = 1; id <= 11; ++id) pattern.addFirst(id);
  pattern.clearToTop();
  fillList(pattern, {4, 5, 6});  // slots 27..29 of a 30-slot array
  ASSERT_EQ((std::vector<int>{4, 5, 6}), readList(pattern));
  list.replaceCoocc(std::move(pattern), 20);
  EXPECT_EQ((std::vector<int>{3, 20}), readList(list));
  expectInvariants(list);
}

TEST(IntListTest, ShiftUpWholeListGrowsWhenShort) {
  IntList list(10);
  for (int id = 1; id <= 10; ++id) list.addFirst(id);
  list.shiftUp(0, 5);
  EXPECT_EQ(30, list.lastIndexMax);
  EXPECT_EQ(15, list.first);
  EXPECT_EQ(25, list.last);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), readList(list));
  expectInvariants(list);
}

// Shifting from inside the list opens a gap of empty slots in it.
TEST(IntListTest, ShiftInsideListOpensGap) {
  IntList up(10);
  fillList(up, {1, 2, 3, 4, 5});
  up.removeLast();
  up.removeLast();  // slots 5, 6, 7 hold 5, 4, 3
  up.shiftUp(6, 2);
  EXPECT_EQ((std::vector<int>{-1, -1, -1, -1, -1, 5, -1, -1, 4, 3}), slots(up));
  EXPECT_EQ(5, up.first);
  EXPECT_EQ(10, up.last);

  IntList down(10);
  fillList(down, {1, 2, 3, 4, 5});
  down.removeLast();
  down.removeLast();
  down.shiftDown(6, 2);
  EXPECT_EQ((std::vector<int>{-1, -1, -1, 5, 4, -1, -1, 3, -1, -1}), slots(down));
  EXPECT_EQ(3, down.first);
  EXPECT_EQ(8, down.last);

  // A range reaching past the last element carries the last end along.
  IntList whole(10);
  fillList(whole, {1, 2, 3, 4, 5});
  whole.removeLast();
  whole.removeLast();
  whole.shiftDown(8, 2);
  EXPECT_EQ(3, whole.first);
  EXPECT_EQ(6, whole.last);
  EXPECT_EQ((std::vector<int>{3, 4, 5}), readList(whole));
  expectInvariants(whole);
}

// Refused shifts write their message, if any, and leave the list as it was.
TEST(IntListTest, RefusedShiftsChangeNothing) {
  const std::string kUpMessage = "ERREUR : indice du shiftUp inferieur a 0.\n";
  const std::string kDownMessage = "ERREUR : indice du shiftDown superieur a lastIndexMax.\n";
  struct Case {
    bool up;
    int index, distance;
    std::string output;
  };
  const std::vector<Case> cases = {
      {true, -1, 2, kUpMessage},
      {true, -100, 1, kUpMessage},
      {true, 5, 0, ""},
      {true, 5, -3, ""},
      {true, 8, 2, ""},  // at or above last
      {false, 10, 2, kDownMessage},
      {false, 25, 1, kDownMessage},
      {false, 7, 0, ""},
      {false, 7, -1, ""},
      {false, 4, 2, ""},  // below first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.up ? "shiftUp(" : "shiftDown(") << c.index << ", " << c.distance << ")");
    IntList list(10);
    fillList(list, {1, 2, 3, 4, 5});
    list.removeLast();
    list.removeLast();  // slots 5..7, room at both ends
    const std::vector<int> before = slots(list);
    CoutCapture out;
    if (c.up) {
      list.shiftUp(c.index, c.distance);
    } else {
      list.shiftDown(c.index, c.distance);
    }
    EXPECT_EQ(c.output, out.str());
    EXPECT_EQ(before, slots(list));
    EXPECT_EQ(5, list.first);
    EXPECT_EQ(8, list.last);
  }
}

// A long mixed run against a plain reference model, so that replacements and
// removals meet arrays at every offset and size.
TEST(IntListTest, MixedOperationsMatchReferenceModel) {
  std::mt19937 random(12345);
  IntList list(10);
  std::vector<int> model;  // oldest first
  for (int step = 0; step < 5000; ++step) {
    const int op = static_cast<int>(random() % 10);
    const int a = 1 + static_cast<int>(random() % 3);
    const int b = 1 + static_cast<int>(random() % 3);
    if (op < 4) {
      list.addFirst(a);
      model.push_back(a);
    } else if (op == 4) {
      EXPECT_EQ(model.empty() ? -1 : model.back(), list.removeFirst());
      if (!model.empty()) model.pop_back();
    } else if (op == 5 || op == 6) {
      EXPECT_EQ(model.empty() ? -1 : model.front(), list.removeLast());
      if (!model.empty()) model.erase(model.begin());
    } else if (op == 7) {
      int count = 0;
      for (size_t i = 0; i + 1 < model.size(); ++i) {
        if (model[i] == a && model[i + 1] == b) {
          ++count;
          ++i;
        }
      }
      EXPECT_EQ(count, list.countCoocc(a, b));
    } else if (op == 8) {
      // v = 4 is neither a nor b, as for every caller.
      for (size_t j = model.size(); j >= 2; --j) {
        if (model[j - 2] == a && model[j - 1] == b) {
          model[j - 2] = 4;
          model.erase(model.begin() + static_cast<long>(j) - 1);
          --j;
        }
      }
      list.replaceCoocc(a, b, 4);
    } else if (random() % 10 == 0) {
      list.clearToTop();
      model.clear();
    }
    ASSERT_EQ(model, readList(list)) << "step " << step;
    expectInvariants(list);
    if (HasFailure()) return;
  }
}
