#include "containers/chunks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

const char kFullMessage[] =
    "ERREUR : la table des chunks est pleine (9999 chunks), aucun nouveau chunk ne peut etre "
    "cree.\n";

std::string syllable(int k) { return "s" + std::to_string(k) + "/"; }

}  // namespace

TEST(ChunksTest, NewTableIsEmpty) {
  Chunks table;
  EXPECT_EQ(1, table.lastChunk);
  EXPECT_EQ("", table.chunks[0].syllable);
  // With no chunk, no priority slot and no codelength is written.
  table.priority[0] = 42;
  table.priority[1] = 42;
  table.chunks[0].codelength = 5.0;
  table.updateChunkPriority();
  EXPECT_EQ(42, table.priority[0]);
  EXPECT_EQ(42, table.priority[1]);
  EXPECT_EQ(5.0, table.chunks[0].codelength);
}

TEST(ChunksTest, AddCanonicalFindsOrCreatesByExactText) {
  Chunks table;
  EXPECT_EQ(1, table.addCanonical("ba/"));
  EXPECT_EQ(2, table.addCanonical("bi/"));
  EXPECT_EQ(1, table.addCanonical("ba/"));
  EXPECT_EQ(3, table.lastChunk);
  // The empty text is entry 0's: nothing is created.
  EXPECT_EQ(0, table.addCanonical(""));
  EXPECT_EQ(3, table.lastChunk);
  // Byte-for-byte comparison: blanks and case make different syllables.
  EXPECT_EQ(3, table.addCanonical(" ba/"));
  EXPECT_EQ(4, table.addCanonical("ba /"));
  EXPECT_EQ(5, table.addCanonical("BA/"));
  EXPECT_EQ(6, table.lastChunk);

  const Chunk& ba = table.chunks[1];
  EXPECT_TRUE(ba.isTerminal);
  EXPECT_FALSE(ba.isDeleted);
  EXPECT_EQ(0, ba.idChild1);
  EXPECT_EQ(0, ba.idChild2);
  EXPECT_EQ("ba/", ba.syllable);
  EXPECT_EQ("ba/", table.getSyllables(1));

  // Composite chunks have empty texts too; entry 0 is still the one found.
  table.addChunk(1, 2);
  EXPECT_EQ(0, table.addCanonical(""));
}

TEST(ChunksTest, AddChunkFindsOrCreatesByOrderedChildren) {
  Chunks table;
  table.addCanonical("ba/");
  table.addCanonical("bi/");
  CoutCapture out;
  EXPECT_EQ(3, table.addChunk(1, 2));
  EXPECT_EQ(3, table.addChunk(1, 2));
  EXPECT_EQ(4, table.lastChunk);
  EXPECT_EQ(4, table.addChunk(2, 1));
  EXPECT_EQ(5, table.addChunk(3, 3));
  EXPECT_EQ(6, table.lastChunk);
  EXPECT_EQ("", out.str());

  const Chunk& c = table.chunks[3];
  EXPECT_FALSE(c.isTerminal);
  EXPECT_FALSE(c.isDeleted);
  EXPECT_EQ(1, c.idChild1);
  EXPECT_EQ(2, c.idChild2);
  EXPECT_EQ("", c.syllable);
  EXPECT_EQ("ba/bi/", table.getSyllables(3));
  EXPECT_EQ("bi/ba/", table.getSyllables(4));
  EXPECT_EQ("ba/bi/ba/bi/", table.getSyllables(5));
}

// Reviving touches only the deletion mark: frequency and codelength wait for
// the next recomputation.
TEST(ChunksTest, AddChunkRevivesDeletedChunk) {
  Chunks table;
  table.addCanonical("ba/");
  table.addCanonical("bi/");
  table.addChunk(1, 2);
  table.chunks[3].isDeleted = true;
  table.chunks[3].frequency = 7;
  table.chunks[3].codelength = 10000.0;
  EXPECT_EQ(1, table.countCoocc(1, 2));
  EXPECT_EQ(3, table.addChunk(1, 2));
  EXPECT_FALSE(table.chunks[3].isDeleted);
  EXPECT_EQ(7, table.chunks[3].frequency);
  EXPECT_EQ(10000.0, table.chunks[3].codelength);
  EXPECT_EQ(4, table.lastChunk);
  EXPECT_EQ(1, table.countCoocc(1, 2));
}

TEST(ChunksTest, AddChunkWithImpossibleChildren) {
  struct Case {
    int c1, c2;
    std::string output;
  };
  const std::vector<Case> cases = {
      {0, 2,
       "ERREUR : l'id d'un des chunks fils est impossible : idChild1=0, idChild2=2 "
       "lastChunk=3\n"},
      {2, 0,
       "ERREUR : l'id d'un des chunks fils est impossible : idChild1=2, idChild2=0 "
       "lastChunk=3\n"},
      {1, 3,
       "ERREUR : l'id d'un des chunks fils est impossible : idChild1=1, idChild2=3 "
       "lastChunk=3\n"},
      {-1, 1,
       "ERREUR : l'id d'un des chunks fils est impossible : idChild1=-1, idChild2=1 "
       "lastChunk=3\n"},
      // The pair (0, 0) is found at entry 0 before the ids are checked.
      {0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "addChunk(" << c.c1 << ", " << c.c2 << ")");
    Chunks table;
    table.addCanonical("ba/");
    table.addCanonical("bi/");
    CoutCapture out;
    EXPECT_EQ(0, table.addChunk(c.c1, c.c2));
    EXPECT_EQ(c.output, out.str());
    EXPECT_EQ(3, table.lastChunk);
  }
}

TEST(ChunksTest, CanonicalDefinitionReadsTerminalIdsInOrder) {
  Chunks table;
  table.addCanonical("ba/");
  table.addCanonical("bi/");
  table.addChunk(1, 2);
  table.addChunk(3, 2);
  EXPECT_EQ((std::vector<int>{1, 2, 2}), readList(table.getCanonicalDefinition(4)));
  EXPECT_EQ("ba/bi/bi/", table.getSyllables(4));
  IntList single = table.getCanonicalDefinition(1);
  EXPECT_EQ((std::vector<int>{1}), readList(single));
  EXPECT_EQ(10, single.lastIndexMax);

  // A deleted chunk expands like any other.
  table.chunks[4].isDeleted = true;
  EXPECT_EQ((std::vector<int>{1, 2, 2}), readList(table.getCanonicalDefinition(4)));
}

// Definitions longer than the 10 slots a list starts with, nested either way.
TEST(ChunksTest, CanonicalDefinitionOfTwelveSyllables) {
  Chunks table;
  std::vector<int> terminals;
  std::string text;
  for (int k = 1; k <= 12; ++k) {
    terminals.push_back(table.addCanonical(syllable(k)));
    text += syllable(k);
  }
  int leftDeep = 1;
  for (int k = 2; k <= 12; ++k) leftDeep = table.addChunk(leftDeep, k);
  int rightDeep = 12;
  for (int k = 11; k >= 1; --k) rightDeep = table.addChunk(k, rightDeep);
  const int halves = table.addChunk(table.addChunk(1, 2), table.addChunk(3, 4));
  const int doubled = table.addChunk(leftDeep, leftDeep);

  for (int id : {leftDeep, rightDeep}) {
    SCOPED_TRACE(id);
    IntList definition = table.getCanonicalDefinition(id);
    EXPECT_EQ(terminals, readList(definition));
    EXPECT_EQ(30, definition.lastIndexMax);
    for (int i = 0; i < definition.first; ++i) EXPECT_EQ(-1, definition.items[i]);
    for (int i = definition.last; i < definition.lastIndexMax; ++i) {
      EXPECT_EQ(-1, definition.items[i]);
    }
    EXPECT_EQ(text, table.getSyllables(id));
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), readList(table.getCanonicalDefinition(halves)));
  std::vector<int> twice = terminals;
  twice.insert(twice.end(), terminals.begin(), terminals.end());
  EXPECT_EQ(twice, readList(table.getCanonicalDefinition(doubled)));
  EXPECT_EQ(text + text, table.getSyllables(doubled));
}

// Entry 0 is not counted, deleted chunks are; (0, 0) counts the terminals.
TEST(ChunksTest, CountChildPairs) {
  Chunks table;
  table.addCanonical("ba/");
  table.addCanonical("bi/");
  table.addCanonical("bo/");
  table.addChunk(1, 2);
  table.addChunk(2, 1);
  table.chunks[5].isDeleted = true;
  EXPECT_EQ(3, table.countCoocc(0, 0));
  EXPECT_EQ(1, table.countCoocc(1, 2));
  EXPECT_EQ(1, table.countCoocc(2, 1));
  EXPECT_EQ(0, table.countCoocc(2, 2));
  EXPECT_EQ(0, table.countCoocc(-5, 70000));
}

// Increasing codelength, ties to the lower id; chunks at or above 10001.0 or
// NaN are never picked, and a slot with nothing left takes 0 and marks entry 0.
TEST(ChunksTest, PriorityOrder) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<double> codelengths;  // of ids 1, 2, ...
    std::vector<int> priority;
    bool entryZeroMarked;
  };
  const std::vector<Case> cases = {
      {{3.0, 1.5, 3.0, 10000.0}, {2, 1, 3, 4}, false},
      {{2.0, 2.0, 2.0}, {1, 2, 3}, false},
      {{10000.0, 10000.0, 0.5}, {3, 1, 2}, false},  // deleted chunks last, by id
      {{0.0, 9999.5, 10000.0}, {1, 2, 3}, false},
      {{kNaN, 1.0, 10001.0, 10000.5}, {2, 4, 0, 0}, true},
      {{1.0}, {1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.codelengths));
    Chunks table;
    const int n = static_cast<int>(c.codelengths.size());
    for (int k = 1; k <= n; ++k) {
      table.addCanonical(syllable(k));
      table.chunks[k].codelength = c.codelengths[k - 1];
    }
    table.chunks[0].codelength = 123.0;
    table.priority[n + 1] = 42;
    table.updateChunkPriority();
    EXPECT_EQ(c.priority, std::vector<int>(&table.priority[1], &table.priority[n + 1]));
    EXPECT_EQ(42, table.priority[n + 1]);
    EXPECT_EQ(c.entryZeroMarked ? 10001.0 : 123.0, table.chunks[0].codelength);
    // Every chunk picked has spent its codelength.
    for (int k = 1; k <= n; ++k) {
      const double before = c.codelengths[k - 1];
      if (before < 10001.0) {
        EXPECT_EQ(10001.0, table.chunks[k].codelength) << "id " << k;
      } else if (std::isnan(before)) {
        EXPECT_TRUE(std::isnan(table.chunks[k].codelength)) << "id " << k;
      }
    }
  }
}

// A full table refuses new chunks but still finds existing ones; only the
// first refusal is reported.
TEST(ChunksTest, FullTableRefusesNewTerminalsFirst) {
  Chunks table;
  for (int k = 1; k <= 9999; ++k) ASSERT_EQ(k, table.addCanonical(syllable(k)));
  ASSERT_EQ(10000, table.lastChunk);
  {
    CoutCapture out;
    EXPECT_EQ(-1, table.addCanonical("new/"));
    EXPECT_EQ(kFullMessage, out.str());
  }
  CoutCapture out;
  EXPECT_EQ(-1, table.addCanonical("other/"));
  EXPECT_EQ(0, table.addChunk(1, 2));
  EXPECT_EQ(9999, table.addCanonical(syllable(9999)));
  EXPECT_EQ(0, table.addCanonical(""));
  EXPECT_EQ("", out.str());
  EXPECT_EQ(10000, table.lastChunk);
}

TEST(ChunksTest, FullTableRefusesNewCompositesFirst) {
  Chunks table;
  for (int k = 1; k <= 100; ++k) table.addCanonical(syllable(k));
  int revived = 0;
  for (int a = 1; a <= 100 && table.lastChunk < Chunks::kSize; ++a) {
    for (int b = 1; b <= 100 && table.lastChunk < Chunks::kSize; ++b) {
      const int id = table.addChunk(a, b);
      if (a == 50 && b == 50) revived = id;
    }
  }
  ASSERT_EQ(10000, table.lastChunk);  // the pairs (99, 100) and (100, x) are left out
  {
    CoutCapture out;
    EXPECT_EQ(0, table.addChunk(100, 100));
    EXPECT_EQ(kFullMessage, out.str());
  }
  CoutCapture out;
  EXPECT_EQ(0, table.addChunk(99, 100));
  EXPECT_EQ(-1, table.addCanonical("bo/"));
  EXPECT_EQ("", out.str());
  // Existing and deleted pairs are still found and revived.
  table.chunks[revived].isDeleted = true;
  EXPECT_EQ(revived, table.addChunk(50, 50));
  EXPECT_FALSE(table.chunks[revived].isDeleted);
  EXPECT_EQ(2, table.addCanonical(syllable(2)));
  EXPECT_EQ(10000, table.lastChunk);
  // Impossible children are reported as such, not as a full table.
  CoutCapture impossible;
  EXPECT_EQ(0, table.addChunk(0, 1));
  EXPECT_EQ(
      "ERREUR : l'id d'un des chunks fils est impossible : idChild1=0, idChild2=1 "
      "lastChunk=10000\n",
      impossible.str());
}
