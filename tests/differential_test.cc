// Drives the learner through long random runs and, before every step, checks
// what it keeps incrementally (frequencies, total, codelengths, the priority
// order, the factorized focus) against a naive recount done here from scratch;
// and checks the factorization of any focus against chunk-by-chunk replacement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/system.h"
#include "test_util.h"

class SystemInspector {
 public:
  static int total(const System& system) { return system.counts_.total(); }
  static double codelength(const System& system, int id) { return system.codelengthOf(id); }
  static bool fillFocus(System& system) { return system.fillFocus(); }
  static int prepareLexiconListing(System& system) { return system.prepareLexiconListing(); }
};

namespace {

struct Recount {
  std::vector<int> frequency;
  std::vector<double> codelength;
  int total = 0;
};

// The counts of the system's table with this memory.
Recount recount(const System& system, const IntList& memory) {
  const Chunks& table = system.chunks;
  Recount result;
  result.frequency.assign(table.lastChunk, 0);
  result.codelength.assign(table.lastChunk, 10000.0);
  for (int i = 1; i < table.lastChunk; ++i) {
    if (table.chunks[i].isDeleted) continue;
    int uses = 0;
    for (int s = memory.first; s < memory.last; ++s) uses += memory.items[s] == i;
    for (int k = 1; k < table.lastChunk; ++k) {
      const Chunk& other = table.chunks[k];
      if (other.isTerminal || other.isDeleted) continue;
      uses += (other.idChild1 == i) + (other.idChild2 == i);
    }
    result.frequency[i] = uses + 1;
    result.total += uses + 1;
  }
  for (int i = 1; i < table.lastChunk; ++i) {
    if (!table.chunks[i].isDeleted) {
      result.codelength[i] = std::log2(static_cast<double>(result.total) / result.frequency[i]);
    }
  }
  return result;
}

Recount recount(const System& system) { return recount(system, system.stimuliChunks); }

// Selection: the lowest codelength first, ties to the lower id.
std::vector<int> naivePriority(const std::vector<double>& codelength) {
  std::vector<double> left = codelength;
  std::vector<int> order;
  for (size_t slot = 1; slot < left.size(); ++slot) {
    double best = 10001.0;
    int bestId = 0;
    for (size_t j = 1; j < left.size(); ++j) {
      if (left[j] < best) {
        best = left[j];
        bestId = static_cast<int>(j);
      }
    }
    order.push_back(bestId);
    left[bestId] = 10001.0;
  }
  return order;
}

// Rebuilds the focus pass after pass, each time factorized with every live
// chunk in priority order, exactly as a learner without shortcuts does.
bool naiveFocusing(const System& system, const Recount& counts, const std::vector<int>& order,
                   std::vector<int>& focusOut) {
  const IntList& stream = system.inputStream;
  int oldest = stream.last - 1;
  while (oldest >= stream.first && stream.items[oldest] == 0) --oldest;
  const int available = oldest - stream.first + 1;
  bool exhausted = false;
  bool growing = true;
  IntList focus(10);
  for (int n = 1; growing; ++n) {
    focus.clearToTop();
    for (int j = 0; j < n; ++j) {
      if (j >= available) {
        exhausted = true;
        growing = false;
      } else if (stream.items[oldest - j] <= 0) {
        growing = false;
      } else {
        focus.addFirst(stream.items[oldest - j]);
      }
    }
    auto factorize = [&] {
      for (int id : order) {
        if (!system.chunks.chunks[id].isDeleted) {
          focus.replaceCoocc(system.chunks.getCanonicalDefinition(id), id);
        }
      }
    };
    factorize();
    double size = 0.0;
    for (int i = focus.first; i < focus.last; ++i) size += counts.codelength[focus.items[i]];
    if (size >= system.focusSizeMax) {
      growing = false;
      if (n > 1) {
        focus.removeFirst();
        factorize();
      }
    }
  }
  focusOut = readList(focus);
  return exhausted;
}

std::string randomCorpus(std::mt19937& random) {
  // A small lexicon with repeated and reduplicated syllables, so that chunks
  // are made, forgotten, deleted and revived.
  const std::vector<std::string> syllables = {"ba/", "bi/", "ku/", "do/", "ma/", "ti/", "lo/"};
  std::vector<std::string> words;
  const int wordCount = 2 + random() % 5;
  for (int w = 0; w < wordCount; ++w) {
    std::string word;
    const int length = 2 + random() % 3;
    const std::string repeated = syllables[random() % syllables.size()];
    for (int s = 0; s < length; ++s) {
      word += random() % 3 == 0 ? repeated : syllables[random() % syllables.size()];
    }
    words.push_back(word);
  }
  std::string corpus;
  // Some runs have no boundary at all, so that large capacities give long foci.
  const bool boundaries = random() % 3 != 0;
  const int length = 100 + random() % 300;
  for (int w = 0; w < length; ++w) {
    corpus += words[random() % words.size()];
    if (boundaries && random() % 5 == 0) corpus += "/";
  }
  return corpus;
}

TEST(Differential, KeptCountsAndFocusMatchNaiveRecountEveryStep) {
  std::mt19937 random(20261211);
  const int memories[] = {150, 80, 40, 0, -4, 400, 1500};
  const int foci[] = {25, 12, 5, 3, 0, 60, 200};
  long steps = 0;
  for (int run = 0; run < 40; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    CoutCapture quiet;
    System system;
    system.stimuliChunksSizeMax = memories[random() % 7];
    system.focusSizeMax = foci[random() % 7];
    system.loadInputFromString(randomCorpus(random));
    for (int step = 1;; ++step) {
      const Recount counts = recount(system);
      ASSERT_EQ(SystemInspector::total(system), counts.total) << "step " << step;
      for (int i = 1; i < system.chunks.lastChunk; ++i) {
        const double kept = SystemInspector::codelength(system, i);
        ASSERT_EQ(std::memcmp(&kept, &counts.codelength[i], sizeof kept), 0)
            << "codelength of " << i << " at step " << step;
        if (!system.chunks.chunks[i].isDeleted) {
          ASSERT_EQ(system.chunks.chunks[i].frequency, counts.frequency[i]) << "step " << step;
        }
      }
      const std::vector<int> order = naivePriority(counts.codelength);
      for (int i = 1; i < system.chunks.lastChunk; ++i) {
        system.chunks.chunks[i].codelength = counts.codelength[i];
      }
      system.chunks.updateChunkPriority();
      ASSERT_EQ(std::vector<int>(system.chunks.priority.get() + 1,
                                 system.chunks.priority.get() + system.chunks.lastChunk),
                order)
          << "step " << step;
      // The listing's kept frequency order must give the same priority order.
      int live = 0;
      for (int i = 1; i < system.chunks.lastChunk; ++i) live += !system.chunks.chunks[i].isDeleted;
      ASSERT_EQ(SystemInspector::prepareLexiconListing(system), live) << "step " << step;
      ASSERT_EQ(std::vector<int>(system.chunks.priority.get() + 1,
                                 system.chunks.priority.get() + system.chunks.lastChunk),
                order)
          << "listing order at step " << step;
      std::vector<int> expectedFocus;
      const bool expectedEnd = naiveFocusing(system, counts, order, expectedFocus);
      ASSERT_EQ(SystemInspector::fillFocus(system), expectedEnd) << "step " << step;
      ASSERT_EQ(readList(system.focus), expectedFocus) << "step " << step;
      if (system.processOneStep(0, step)) break;
      ++steps;
    }
  }
  EXPECT_GT(steps, 3000);
}

// Any focus, its syllables mixed with composite chunks and its elements
// anywhere in its array, factorizes as replacing every live chunk's
// occurrences in priority order does: the same elements, closed up towards the
// oldest end, free slots holding -1.
TEST(Differential, FactorizeFocusMatchesReplacementInPriorityOrder) {
  std::mt19937 random(20261212);
  long factorized = 0;
  long changed = 0;
  for (int run = 0; run < 30; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    CoutCapture quiet;
    System system;
    system.focusSizeMax = 3 + random() % 20;
    system.stimuliChunksSizeMax = 40 + random() % 200;
    system.loadInputFromString(randomCorpus(random));
    for (int step = 1; !system.processOneStep(0, step); ++step) {
      if (random() % 4 != 0) continue;
      const Chunks& table = system.chunks;
      // Runs that spell chunks, so that definitions overlap and compete, with
      // now and then a composite chunk standing as an element of its own.
      std::vector<int> elements;
      const int pieces = random() % 12;
      for (int piece = 0; piece < pieces; ++piece) {
        const int id = 1 + random() % (table.lastChunk - 1);
        if (!table.chunks[id].isTerminal && random() % 6 == 0) {
          elements.push_back(id);
        } else {
          const std::vector<int>& syllables = table.definition(id);
          elements.insert(elements.end(), syllables.begin(), syllables.end());
        }
      }
      const int dropped = random() % 3;  // so that the last end is not the array's top
      IntList& focus = system.focus;
      focus.clearToTop();
      fillList(focus, std::vector<int>(dropped, 1));
      fillList(focus, elements);
      for (int i = 0; i < dropped; ++i) focus.removeLast();
      const int last = focus.last;

      IntList naive(10);
      fillList(naive, elements);
      for (int id : naivePriority(recount(system).codelength)) {
        if (!table.chunks[id].isDeleted) naive.replaceCoocc(table.getCanonicalDefinition(id), id);
      }
      system.factorizeFocus();
      ++factorized;
      changed += readList(naive) != elements;
      ASSERT_EQ(readList(focus), readList(naive)) << "step " << step;
      ASSERT_EQ(focus.last, last) << "step " << step;
      ASSERT_EQ(focus.first, last - naive.getSize()) << "step " << step;
      for (int i = 0; i < focus.lastIndexMax; ++i) {
        if (i < focus.first || i >= focus.last) {
          ASSERT_EQ(focus.items[i], -1) << "slot " << i;
        }
      }
    }
  }
  EXPECT_GT(factorized, 1000);
  EXPECT_GT(changed, 500);
}

// The public trimming and deletion, which recount and then run the step's own
// versions, against their definitions: drop the oldest element while the
// memory's size, recounted and added up newest first, exceeds the capacity;
// delete every composite chunk whose recounted frequency is 1. Memories of
// hundreds of elements take the trimming's estimated sizes.
TEST(Differential, TrimmingAndDeletionMatchTheirRecountingDefinitions) {
  std::mt19937 random(20261213);
  long trimmed = 0;
  long deleted = 0;
  for (int run = 0; run < 30; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    CoutCapture quiet;
    System system;
    system.focusSizeMax = 3 + random() % 20;
    system.stimuliChunksSizeMax = 1500;
    system.loadInputFromString(randomCorpus(random));
    const Chunks& table = system.chunks;
    for (int step = 1; !system.processOneStep(0, step); ++step) {
      if (random() % 4 != 0 || system.stimuliChunks.getSize() == 0) continue;
      // Forgetting some of the oldest elements leaves chunks without a use.
      for (int drop = random() % 4; drop > 0; --drop) system.stimuliChunks.removeLast();
      const double capacity = random() % 1600 - 20;
      std::vector<int> memory = readList(system.stimuliChunks);
      for (;;) {
        IntList list(10);
        fillList(list, memory);
        const Recount counts = recount(system, list);
        double size = 0.0;
        for (auto id = memory.rbegin(); id != memory.rend(); ++id) size += counts.codelength[*id];
        if (memory.empty() || !(size > capacity)) break;
        memory.erase(memory.begin());
      }
      trimmed += system.stimuliChunks.getSize() - static_cast<int>(memory.size());
      system.stimuliChunksSizeMax = capacity;
      system.removeChunksExceedingSimuliChunksSize();
      system.stimuliChunksSizeMax = 1500;
      ASSERT_EQ(readList(system.stimuliChunks), memory) << "step " << step;

      const Recount counts = recount(system);
      std::vector<char> expected(table.lastChunk, 0);
      for (int id = 1; id < table.lastChunk; ++id) {
        const Chunk& chunk = table.chunks[id];
        expected[id] = chunk.isDeleted || (!chunk.isTerminal && counts.frequency[id] == 1);
        deleted += expected[id] && !chunk.isDeleted;
      }
      system.deleteUnusedChunks();
      const Recount after = recount(system);
      for (int id = 1; id < table.lastChunk; ++id) {
        ASSERT_EQ(table.chunks[id].isDeleted, expected[id] != 0) << id << " at step " << step;
        const double field = table.chunks[id].codelength;
        ASSERT_EQ(std::memcmp(&field, &after.codelength[id], sizeof field), 0) << id;
      }
    }
  }
  EXPECT_GT(trimmed, 1000);
  EXPECT_GT(deleted, 100);
}

}  // namespace
