// The learning cycle: codelengths, focusing, chunk creation by gain, the step.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/system.h"
#include "test_util.h"

namespace {

// Adds the ids in reading order, oldest first, `times` times over.
void repeat(std::vector<int>& ids, const std::vector<int>& run, int times) {
  for (int i = 0; i < times; ++i) ids.insert(ids.end(), run.begin(), run.end());
}

std::vector<int> repeated(int id, int times) { return std::vector<int>(times, id); }

// Doubles as every report writes them: six significant digits.
std::string sixDigits(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Terminal chunks "a/", "b/", ... with ids 1, 2, ...
void addTerminals(System& sys, int count) {
  for (int i = 0; i < count; ++i) sys.chunks.addCanonical(std::string(1, char('a' + i)) + "/");
}

}  // namespace

// ---------------------------------------------------------------- codelengths

TEST(CodelengthTest, WorkedExampleCountsMemoryAndChildrenOnly) {
  System sys;
  addTerminals(sys, 3);
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
  fillList(sys.stimuliChunks, {4, 3, 4});
  // The focus and the input stream must not count.
  fillList(sys.focus, {1, 1, 4});
  fillList(sys.inputStream, {2, 2, 3});

  EXPECT_EQ(sys.updateCodelengths(), 9);
  const int frequencies[] = {0, 2, 2, 2, 3};
  for (int id = 1; id <= 4; ++id) EXPECT_EQ(sys.chunks.chunks[id].frequency, frequencies[id]);
  for (int id = 1; id <= 3; ++id) EXPECT_NEAR(sys.chunks.chunks[id].codelength, 2.169925, 1e-5);
  EXPECT_NEAR(sys.chunks.chunks[4].codelength, 1.584963, 1e-5);
  EXPECT_NEAR(sys.getStimuliChunksSize(), 5.339850, 1e-5);
  // Sizes recompute first, so a spent priority order does not leak into them.
  sys.chunks.updateChunkPriority();
  EXPECT_NEAR(sys.getFocusSize(), 2 * 2.169925 + 1.584963, 1e-5);
}

TEST(CodelengthTest, EmptyMemoryGivesEveryChunkLog2OfTheCount) {
  System sys;
  sys.loadInputFromString("a/b/c/d/e/f/g/h/i/j/k/l/");
  EXPECT_EQ(sys.updateCodelengths(), 12);
  for (int id = 1; id <= 12; ++id) EXPECT_NEAR(sys.chunks.chunks[id].codelength, 3.584963, 1e-5);
  EXPECT_EQ(sys.getStimuliChunksSize(), 0.0);
  EXPECT_EQ(sys.getFocusSize(), 0.0);
}

TEST(CodelengthTest, DeletedChunkCountsForNobody) {
  System sys;
  addTerminals(sys, 3);
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
  ASSERT_EQ(sys.chunks.addChunk(4, 3), 5);
  ASSERT_EQ(sys.chunks.addChunk(3, 3), 6);  // both children the same: two uses of 3
  fillList(sys.stimuliChunks, {5, 4});
  EXPECT_EQ(sys.updateCodelengths(), 14);
  const int before[] = {0, 2, 2, 4, 3, 2, 1};
  for (int id = 1; id <= 6; ++id) EXPECT_EQ(sys.chunks.chunks[id].frequency, before[id]) << id;

  // Chunk 4 stays in the memory and is still named by chunk 5, yet gets no
  // credit, and its own children lose the use it gave them.
  sys.chunks.chunks[4].isDeleted = true;
  EXPECT_EQ(sys.updateCodelengths(), 9);
  const int after[] = {0, 1, 1, 4, 3, 2, 1};
  for (int id = 1; id <= 6; ++id) EXPECT_EQ(sys.chunks.chunks[id].frequency, after[id]) << id;
  EXPECT_EQ(sys.chunks.chunks[4].codelength, 10000.0);
  EXPECT_NEAR(sys.chunks.chunks[5].codelength, std::log2(9.0 / 2), 1e-9);
}

// ------------------------------------------------------------------- focusing

// Stream p q r // p with chunks 4 = p q and 5 = q r competing for q: the
// chunk applied first takes it.
TEST(FocusTest, PriorityOrderDecidesBetweenCompetingChunks) {
  struct Case {
    const char* name;
    int usesOf4, usesOf5;
    std::vector<int> deleted;
    std::vector<int> focus;
  };
  const Case cases[] = {
      {"shorter codelength of 5 wins", 3, 4, {}, {1, 5}},
      {"shorter codelength of 4 wins", 4, 3, {}, {4, 3}},
      {"tie goes to the lower id", 3, 3, {}, {4, 3}},
      {"deleted chunks are never applied", 3, 4, {4, 5}, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System sys;
    sys.loadInputFromString("p/q/r//p/");
    ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
    ASSERT_EQ(sys.chunks.addChunk(2, 3), 5);
    fillList(sys.stimuliChunks, concat(repeated(4, c.usesOf4), repeated(5, c.usesOf5)));
    for (int id : c.deleted) sys.chunks.chunks[id].isDeleted = true;
    sys.updateCodelengths();

    EXPECT_FALSE(sys.focusing());
    EXPECT_EQ(readList(sys.focus), c.focus);
    EXPECT_EQ(readList(sys.inputStream), (std::vector<int>{1, 2, 3, 0, 1}));
  }
}

TEST(FocusTest, FactorizationAppliesChunksInPriorityOrder) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> composites;  // created in order from id 4
    std::vector<int> memory;
    std::vector<int> focus;
    std::vector<int> after;
    int firstInPriority;
  };
  const Case cases[] = {
      {"earlier chunk takes the shared syllable",
       {{1, 2}, {2, 3}},
       {4, 4, 4, 5, 5, 5, 5},
       {1, 2, 3},
       {1, 5},
       5},
      {"of overlapping occurrences the newer one", {{1, 1}}, {4, 4, 4}, {1, 1, 1}, {1, 4}, 4},
      // Chunk 5 spells p q r, but chunk 4 has already taken p q.
      {"no match across a replaced run", {{1, 2}, {4, 3}}, {4, 4}, {1, 2, 3}, {4, 3}, 4},
      // The memory gives 4 frequency 4, 1 and 2 frequency 2: 4 comes first.
      {"a composite element divides the syllables", {{1, 2}}, {4, 4, 4}, {1, 4, 2}, {1, 4, 2}, 4},
      {"runs on both sides of a composite", {{1, 2}}, {4, 4, 4}, {1, 2, 4, 1, 2}, {4, 4, 4}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System sys;
    addTerminals(sys, 3);
    for (const auto& [child1, child2] : c.composites) sys.chunks.addChunk(child1, child2);
    fillList(sys.stimuliChunks, c.memory);
    fillList(sys.focus, c.focus);
    sys.updateCodelengths();
    std::vector<double> codelengths;
    for (int id = 1; id < sys.chunks.lastChunk; ++id) {
      codelengths.push_back(sys.chunks.chunks[id].codelength);
    }

    sys.factorizeFocus();
    EXPECT_EQ(readList(sys.focus), c.after);
    EXPECT_EQ(sys.chunks.priority[1], c.firstInPriority);
    // Building the priority order spends the codelengths; they come back.
    for (int id = 1; id < sys.chunks.lastChunk; ++id) {
      EXPECT_EQ(sys.chunks.chunks[id].codelength, codelengths[id - 1]) << id;
    }
  }
}

// Four syllables and an empty memory: every codelength is exactly 2 bits, so
// two syllables make exactly 4. A single syllable is taken whatever the
// capacity.
TEST(FocusTest, CapacityRuleCountsEqualAsFull) {
  struct Case {
    int capacity;
    std::vector<int> focus;
  };
  const Case cases[] = {
      {-1, {1}}, {2, {1}}, {4, {1}}, {5, {1, 2}}, {6, {1, 2}}, {7, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    System sys;
    sys.loadInputFromString("a/b/c/d/a/b/c/d/");
    sys.focusSizeMax = c.capacity;
    sys.updateCodelengths();
    EXPECT_FALSE(sys.focusing());
    EXPECT_EQ(readList(sys.focus), c.focus);
    EXPECT_EQ(sys.inputStream.getSize(), 8);
  }
}

TEST(FocusTest, CapacityRuleRemovesTheWholeNewestChunk) {
  System sys;
  sys.loadInputFromString("p/q/r/p/");
  ASSERT_EQ(sys.chunks.addChunk(2, 3), 4);
  // Codelengths: p log2 6, q and r log2 3, chunk 4 log2 6. Two syllables
  // make 4.17 bits, three (p, chunk 4) 5.17 bits.
  sys.focusSizeMax = 5;
  sys.updateCodelengths();
  EXPECT_FALSE(sys.focusing());
  EXPECT_EQ(readList(sys.focus), (std::vector<int>{1}));
}

TEST(FocusTest, BoundariesAndEndOfStream) {
  struct Case {
    const char* name;
    std::vector<int> stream;
    bool exhausted;
    std::vector<int> focus;
    std::vector<int> streamAfter;
  };
  const Case cases[] = {
      {"empty stream", {}, true, {}, {}},
      {"only markers", {0, 0}, true, {}, {}},
      {"everything fits", {1, 2}, true, {1, 2}, {1, 2}},
      {"leading markers dropped, later ones kept", {0, 0, 1, 2, 0, 3}, false, {1, 2}, {1, 2, 0, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System sys;
    addTerminals(sys, 3);
    fillList(sys.inputStream, c.stream);
    sys.updateCodelengths();
    EXPECT_EQ(sys.focusing(), c.exhausted);
    EXPECT_EQ(readList(sys.focus), c.focus);
    EXPECT_EQ(readList(sys.inputStream), c.streamAfter);
  }
}

// ---------------------------------------------------------- chunk creation

// a = 1 and b = 2 with frequency 8 each, the pair 6 times in the memory, the
// rest of the total made up by filler chunk 3.
TEST(GainTest, WorkedExamplesCreateFindOrReviveTheChunk) {
  enum Entry { kNone, kLive, kDeleted };
  struct Case {
    const char* name;
    Entry entry;
    int fillers;
    int total;
    const char* gain;
  };
  const Case cases[] = {
      {"new chunk", kNone, 43, 60, "6.52191"},
      {"live entry found", kLive, 22, 40, "10.6611"},
      {"deleted entry revived", kDeleted, 23, 40, "10.6611"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System sys;
    addTerminals(sys, 3);
    if (c.entry != kNone) {
      ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
      if (c.entry == kDeleted) {
        sys.deleteUnusedChunks();  // nothing uses it yet
        ASSERT_TRUE(sys.chunks.chunks[4].isDeleted);
      }
    }
    // A live entry gives a and b one use each; otherwise a trailing b, a
    // (not a pair) makes up the eighth use.
    const std::vector<int> extra = c.entry == kLive ? std::vector<int>{} : std::vector<int>{2, 1};
    std::vector<int> memory = repeated(3, c.fillers);
    repeat(memory, {1, 2}, 6);
    fillList(sys.stimuliChunks, concat(memory, extra));
    fillList(sys.focus, {1, 2, 1});
    ASSERT_EQ(sys.updateCodelengths(), c.total);
    ASSERT_EQ(sys.chunks.chunks[1].frequency, 8);
    ASSERT_EQ(sys.chunks.chunks[2].frequency, 8);

    EXPECT_EQ(sixDigits(sys.optimize()), c.gain);
    EXPECT_EQ(sys.chunks.lastChunk, 5);
    EXPECT_EQ(sys.chunks.chunks[4].idChild1, 1);
    EXPECT_EQ(sys.chunks.chunks[4].idChild2, 2);
    EXPECT_FALSE(sys.chunks.chunks[4].isDeleted);
    std::vector<int> replaced = repeated(3, c.fillers);
    repeat(replaced, {4}, 6);
    EXPECT_EQ(readList(sys.stimuliChunks), concat(replaced, extra));
    EXPECT_EQ(readList(sys.focus), (std::vector<int>{4, 1}));
  }
}

TEST(GainTest, FirstStepOfTwelveSyllablesCreatesNothing) {
  System sys;
  sys.loadInputFromString("a/b/c/d/e/f/g/h/i/j/k/l/");
  ASSERT_FALSE(sys.focusing());
  CoutCapture out;
  EXPECT_EQ(sixDigits(sys.optimize()), "-8.88968");
  EXPECT_EQ(sys.chunks.lastChunk, 13);
  EXPECT_EQ(sys.stimuliChunks.getSize(), 0);
  EXPECT_EQ(out.str(), "");
}

namespace {

// a = 1 seven times in the memory (the pair (a, a) 3 times), total 10: the
// other chunks hold too little for the merged counts to make sense.
void buildDominatingState(System& sys, const std::vector<int>& focus) {
  addTerminals(sys, 3);
  fillList(sys.stimuliChunks, repeated(1, 7));
  fillList(sys.focus, focus);
  sys.updateCodelengths();
}

}  // namespace

TEST(GainTest, DominatingSelfPairPrintsDiagnosticAndCreatesNothing) {
  System sys;
  buildDominatingState(sys, {1, 1});
  CoutCapture out;
  const double gain = sys.optimize();
  EXPECT_EQ(sixDigits(gain), "-8.96153");
  EXPECT_EQ(out.str(),
            "ERREUR : calcul du gain incorrect.\n"
            "(N=12  A=9  B=9  AB=4)\n"
            "(P1=1.22971  P2=2.29716  P3=2.29716  P4=2.88644   P5=0.251062)\n");
  EXPECT_EQ(sys.chunks.lastChunk, 4);
  EXPECT_EQ(readList(sys.stimuliChunks), repeated(1, 7));
}

TEST(GainTest, FewerThanTwoFocusElementsComputeNothing) {
  // In the dominating state any gain computation would print.
  for (const std::vector<int>& focus : {std::vector<int>{}, std::vector<int>{1}}) {
    SCOPED_TRACE(focus.size());
    System sys;
    buildDominatingState(sys, focus);
    CoutCapture out;
    EXPECT_EQ(sys.optimize(), -1.0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(readList(sys.focus), focus);
    EXPECT_EQ(sys.chunks.lastChunk, 4);
  }
}

// Pairs of equal ids are merged from the newest end: an odd run keeps its
// oldest element.
TEST(GainTest, RunsOfTheSameChunkMergeFromTheNewestEnd) {
  struct Case {
    std::vector<int> focus;
    std::vector<int> after;
  };
  const Case cases[] = {
      {{1, 1, 1, 2}, {1, 4, 2}},
      {{1, 1, 1, 1}, {4, 4}},
  };
  for (const Case& c : cases) {
    System sys;
    addTerminals(sys, 3);
    // 13 copies of a (6 pairs) among 186 fillers: large enough a total for a
    // positive gain.
    fillList(sys.stimuliChunks, concat(repeated(3, 186), repeated(1, 13)));
    fillList(sys.focus, c.focus);
    sys.updateCodelengths();
    EXPECT_GT(sys.optimize(), 0.0);
    EXPECT_EQ(sys.chunks.lastChunk, 5);
    EXPECT_EQ(readList(sys.focus), c.after);
    EXPECT_EQ(readList(sys.stimuliChunks), concat(concat(repeated(3, 186), {1}), repeated(4, 6)));
  }
}

TEST(GainTest, FullTableSubstitutesNothingButReturnsTheGain) {
  System sys;
  addTerminals(sys, 2);
  // Fill the table with pairs of 100 other syllables, keeping a and b unused.
  for (int i = 3; i <= 102; ++i) sys.chunks.addCanonical("t" + std::to_string(i) + "/");
  for (int i = 3; i <= 102 && sys.chunks.lastChunk < Chunks::kSize; ++i) {
    for (int j = 3; j <= 102 && sys.chunks.lastChunk < Chunks::kSize; ++j) {
      ASSERT_GT(sys.chunks.addChunk(i, j), 0);
    }
  }
  ASSERT_EQ(sys.chunks.lastChunk, Chunks::kSize);
  std::vector<int> memory;
  repeat(memory, {1, 2}, 6);
  fillList(sys.stimuliChunks, memory);
  fillList(sys.focus, {1, 2});
  sys.updateCodelengths();
  const double expected = sys.gainForChunk(1, 2);
  ASSERT_GT(expected, 0.0);

  CoutCapture out;
  EXPECT_DOUBLE_EQ(sys.optimize(), expected);
  EXPECT_EQ(sys.chunks.lastChunk, Chunks::kSize);
  EXPECT_EQ(readList(sys.stimuliChunks), memory);
  EXPECT_EQ(readList(sys.focus), (std::vector<int>{1, 2}));
}

// ---------------------------------------------------------------- the step

TEST(StepTest, EmptyInputEndsAtOnce) {
  System sys;
  sys.loadInputFromString("");
  CoutCapture out;
  EXPECT_TRUE(sys.processOneStep(0, 1));
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(sys.processedSyllables, 0);
  EXPECT_EQ(sys.stimuliChunks.getSize(), 0);
}

// The first worked gain example reached through a whole step: the new chunk
// is the focus's oldest element, so the step consumes both its syllables.
TEST(StepTest, CreatedChunkIsConsumedWhole) {
  System sys;
  sys.loadInputFromString("a/b/a/b/c//");
  std::vector<int> memory = repeated(3, 43);
  repeat(memory, {1, 2}, 6);
  memory = concat(memory, {2, 1});
  fillList(sys.stimuliChunks, memory);
  sys.updateCodelengths();

  CoutCapture out;
  EXPECT_FALSE(sys.processOneStep(0, 1));
  ASSERT_EQ(sys.chunks.lastChunk, 5);
  EXPECT_EQ(sys.chunks.getSyllables(4), "a/b/");
  std::vector<int> expected = repeated(3, 43);
  repeat(expected, {4}, 6);
  EXPECT_EQ(readList(sys.stimuliChunks), concat(expected, {2, 1, 4}));
  EXPECT_EQ(readList(sys.inputStream), (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(sys.processedSyllables, 2);
  EXPECT_EQ(sys.processedCharacters, 4);
}

TEST(StepTest, ProgressBarAdvancesWithConsumedSyllables) {
  struct Case {
    const char* corpus;
    int focusCapacity;
    std::vector<int> underscoresPerStep;
  };
  const Case cases[] = {
      {"p/q/r/", 0, {26, 27, 27}},  // one syllable per step
      // The marker counts in the input size, so the bar stops at 60.
      {"p/q/r//", 25, {20, 20, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corpus);
    System sys;
    sys.loadInputFromString(c.corpus);
    sys.focusSizeMax = c.focusCapacity;
    sys.updateCodelengths();
    int step = 0;
    for (int expected : c.underscoresPerStep) {
      CoutCapture out;
      ASSERT_FALSE(sys.processOneStep(0, ++step));
      EXPECT_EQ(out.str(), std::string(expected, '_')) << "step " << step;
    }
    CoutCapture out;
    EXPECT_TRUE(sys.processOneStep(0, ++step));
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(sys.processedSyllables, 3);
  }
}

TEST(StepTest, ProgressBarDrawsAllSyllablesOfAChunkAtOnce) {
  System sys;
  sys.loadInputFromString("ba/bi/bo/");
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
  fillList(sys.focus, {4, 3});
  sys.updateCodelengths();
  CoutCapture out;
  sys.updateProgressbar();
  EXPECT_EQ(out.str(), std::string(53, '_'));
  EXPECT_EQ(sys.progressbarPosition, 53);
  EXPECT_EQ(sys.processedSyllables, 2);
  EXPECT_EQ(sys.processedCharacters, 6);  // closing slashes included
  EXPECT_EQ(readList(sys.focus), (std::vector<int>{4, 3}));
}

TEST(StepTest, TrimmingDropsOldestWhileStrictlyOverCapacity) {
  struct Case {
    const char* name;
    int terminals;
    std::vector<int> memory;
    double capacity;
    std::vector<int> after;
  };
  const Case cases[] = {
      // Four chunks used once each: 2 bits apiece, 8 bits in all.
      {"size equal to capacity kept", 4, {1, 2, 3, 4}, 8.0, {1, 2, 3, 4}},
      {"oldest goes first", 4, {1, 2, 3, 4}, 7.5, {2, 3, 4}},
      {"size re-measured after each removal", 4, {1, 2, 3, 4}, 5.0, {3, 4}},
      {"zero capacity", 4, {1, 2, 3, 4}, 0.0, {}},
      // A lone chunk costs 0 bits, which a zero capacity holds.
      {"zero capacity, zero size", 1, {1, 1}, 0.0, {1, 1}},
      {"negative capacity empties", 1, {1, 1}, -5.0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System sys;
    addTerminals(sys, c.terminals);
    fillList(sys.stimuliChunks, c.memory);
    sys.stimuliChunksSizeMax = c.capacity;
    sys.updateCodelengths();
    sys.removeChunksExceedingSimuliChunksSize();
    EXPECT_EQ(readList(sys.stimuliChunks), c.after);
  }
}

// The step consumes a, after which a, b, c and d are used once each: 8 bits.
TEST(StepTest, StepTrimsOnlyWhenStrictlyOverCapacity) {
  struct Case {
    double capacity;
    std::vector<int> memory;
  };
  const Case cases[] = {
      {8.0, {2, 3, 4, 1}},
      {7.99, {3, 4, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capacity);
    System sys;
    sys.loadInputFromString("a/b/c/d/");
    fillList(sys.stimuliChunks, {2, 3, 4});
    sys.focusSizeMax = 0;  // one syllable per step
    sys.stimuliChunksSizeMax = c.capacity;
    sys.updateCodelengths();
    CoutCapture out;
    ASSERT_FALSE(sys.processOneStep(0, 1));
    EXPECT_EQ(readList(sys.stimuliChunks), c.memory);
  }
}

TEST(StepTest, ChildrenOfADeletedChunkAreDeletedOneStepLater) {
  System sys;
  std::string corpus;
  for (int i = 0; i < 10; ++i) corpus += "s/t/";
  sys.loadInputFromString(corpus);
  for (const char* syllable : {"p/", "q/", "r/"}) sys.chunks.addCanonical(syllable);
  ASSERT_EQ(sys.chunks.addChunk(3, 4), 6);
  ASSERT_EQ(sys.chunks.addChunk(6, 5), 7);
  fillList(sys.stimuliChunks, {7});
  sys.stimuliChunksSizeMax = -1.0;  // every step forgets the whole memory
  sys.updateCodelengths();

  CoutCapture out;
  ASSERT_FALSE(sys.processOneStep(0, 1));
  EXPECT_TRUE(sys.chunks.chunks[7].isDeleted);
  EXPECT_EQ(sys.chunks.chunks[7].codelength, 10000.0);
  EXPECT_FALSE(sys.chunks.chunks[6].isDeleted);  // still a child when 7 was judged

  ASSERT_FALSE(sys.processOneStep(0, 2));
  EXPECT_TRUE(sys.chunks.chunks[6].isDeleted);
  for (int id = 1; id <= 5; ++id) EXPECT_FALSE(sys.chunks.chunks[id].isDeleted) << id;
  EXPECT_EQ(sys.chunks.lastChunk, 8);
}

// A chunk that covers the whole focus and reaches the capacity is removed,
// leaving the focus empty; the step then consumes the oldest syllable alone.
TEST(StepTest, FocusEmptiedByCapacityConsumesOldestSyllable) {
  System sys;
  sys.loadInputFromString("p/q/r/");
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
  sys.focusSizeMax = 2;  // p costs log2 3 bits, chunk 4 log2 6
  sys.updateCodelengths();
  EXPECT_FALSE(sys.focusing());
  EXPECT_EQ(sys.focus.getSize(), 0);

  CoutCapture out;
  ASSERT_FALSE(sys.processOneStep(0, 1));
  EXPECT_EQ(readList(sys.stimuliChunks), (std::vector<int>{1}));
  EXPECT_EQ(readList(sys.inputStream), (std::vector<int>{2, 3}));
  EXPECT_EQ(sys.processedSyllables, 1);
  EXPECT_EQ(out.str(), std::string(26, '_'));

  int step = 1;
  while (!sys.processOneStep(0, ++step)) ASSERT_LT(step, 10) << "the run must end";
  EXPECT_EQ(sys.processedSyllables, 3);
}

// ------------------------------------------------------------- whole run

namespace {

// Four three-syllable words in random order, never one word twice in a row:
// within words the next syllable is certain, across words it is not.
const std::vector<std::string> kWords = {"ba/di/ku/", "go/la/tu/", "pi/ro/me/", "ne/so/fa/"};

std::string artificialLanguage(int wordCount) {
  std::mt19937 rng(20240611u);
  std::string corpus;
  int previous = 0;
  for (int i = 0; i < wordCount; ++i) {
    const int word = (previous + 1 + static_cast<int>(rng() % 3)) % 4;
    corpus += kWords[word];
    previous = word;
  }
  return corpus;
}

}  // namespace

TEST(LearningTest, FindsTheWordsOfAnArtificialLanguage) {
  System sys;
  sys.loadInputFromString(artificialLanguage(400));
  CoutCapture out;
  int step = 0;
  while (!sys.processOneStep(0, ++step)) {
  }
  EXPECT_EQ(out.str().find("ERREUR"), std::string::npos);

  std::set<std::string> lexicon;
  for (int id = 1; id < sys.chunks.lastChunk; ++id) {
    if (!sys.chunks.chunks[id].isDeleted) lexicon.insert(sys.chunks.getSyllables(id));
  }
  for (const std::string& word : kWords) EXPECT_EQ(lexicon.count(word), 1u) << word;
}

// The step may keep its counts as it goes; a twin that recounts everything
// after every step must learn exactly the same. A small memory makes chunks
// be forgotten, deleted and revived along the way.
TEST(LearningTest, KeptCountsAgreeWithAFullRecountAtEveryStep) {
  const std::string corpus = artificialLanguage(400);
  System kept;
  System recounted;
  for (System* sys : {&kept, &recounted}) {
    sys->loadInputFromString(corpus);
    sys->stimuliChunksSizeMax = 120.0;
    sys->updateCodelengths();
  }
  CoutCapture out;
  int deletions = 0;
  int revivals = 0;
  std::vector<bool> wasDeleted(Chunks::kSize, false);
  for (int step = 1;; ++step) {
    const bool done = kept.processOneStep(0, step);
    ASSERT_EQ(recounted.processOneStep(0, step), done) << "step " << step;
    if (done) break;
    recounted.updateCodelengths();
    ASSERT_EQ(kept.chunks.lastChunk, recounted.chunks.lastChunk) << "step " << step;
    ASSERT_EQ(readList(kept.stimuliChunks), readList(recounted.stimuliChunks)) << "step " << step;
    for (int id = 1; id < kept.chunks.lastChunk; ++id) {
      const Chunk& chunk = kept.chunks.chunks[id];
      ASSERT_EQ(chunk.isDeleted, recounted.chunks.chunks[id].isDeleted) << "step " << step;
      ASSERT_EQ(chunk.frequency, recounted.chunks.chunks[id].frequency)
          << "chunk " << id << ", step " << step;
      if (chunk.isDeleted && !wasDeleted[id]) ++deletions;
      if (!chunk.isDeleted && wasDeleted[id]) ++revivals;
      wasDeleted[id] = chunk.isDeleted;
    }
  }
  EXPECT_GT(deletions, 0);
  EXPECT_GT(revivals, 0);
}
