#include "research/run.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "containers/int_list.h"
#include "research/test_items.h"

namespace {

// One of the language's words; lo/mi/lo/ overlaps itself, and the order in
// which its occurrences are taken then matters.
std::string wordsOf(unsigned pick) {
  static const char* const words[] = {"pa/bi/ku/", "na/na/", "lo/mi/lo/", "da/", "ro/pi/"};
  return words[pick % 5];
}

// A corpus of those words, so that learning builds chunks.
std::string wordsCorpus(unsigned seed, int utterances) {
  std::mt19937 random(seed);
  std::string text;
  for (int u = 0; u < utterances; ++u) {
    const int length = 1 + static_cast<int>(random() % 5);
    for (int w = 0; w < length; ++w) text += wordsOf(random());
    text += "/";
  }
  return text;
}

// The syllable ids of a chunk's text.
std::vector<int> spelled(const Learner& learner, const std::string& text) {
  std::vector<int> ids;
  size_t start = 0;
  for (size_t slash = text.find('/'); slash != std::string::npos; slash = text.find('/', start)) {
    ids.push_back(learner.syllableId(text.substr(start, slash + 1 - start)));
    start = slash + 1;
  }
  return ids;
}

// Factorization as the focus does it: every live chunk, in priority order,
// replacing its occurrences in the list.
std::vector<int> replacedInTurn(const Learner& learner, const std::vector<int>& syllables) {
  IntList list;
  for (int id : syllables) list.addFirst(id);
  for (const LexiconEntry& entry : learner.lexicon()) {
    const std::vector<int> definition = spelled(learner, entry.text);
    list.replaceSequence(definition.data(), static_cast<int>(definition.size()), entry.id);
  }
  std::vector<int> pieces;
  for (int i = list.last - 1; i >= list.first; --i) pieces.push_back(list.items[i]);
  return pieces;
}

TEST(RunTest, FactorizeEqualsReplacingChunkAfterChunk) {
  int compared = 0;
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::ostringstream messages;
    ::Run run = learnCorpus(parseCorpus(wordsCorpus(seed, 300), Format::kCorpus, "c"), RunOptions(),
                            "c", messages);
    const Learner& learner = *run.learner;
    ASSERT_GT(learner.liveCount(), learner.terminalCount()) << "no chunk to test with";
    std::mt19937 random(seed);
    for (int trial = 0; trial < 50; ++trial) {
      // Runs of the language's words, or of lo and mi alone, where overlapping
      // occurrences of lo/mi/lo abound.
      std::string text;
      const int length = 1 + static_cast<int>(random() % 12);
      for (int w = 0; w < length; ++w) {
        if (trial % 2 == 0) {
          text += random() % 2 == 0 ? "lo/" : "mi/lo/";
        } else {
          text += random() % 4 == 0 ? "na/" : wordsOf(random());
        }
      }
      const std::vector<int> syllables = spelled(learner, text);
      EXPECT_EQ(learner.factorize(syllables), replacedInTurn(learner, syllables));
      ++compared;
    }
  }
  EXPECT_EQ(compared, 600);
}

TEST(RunTest, SegmentationsCoverTheCorpusAndKeepUtterances) {
  const Corpus corpus = parseCorpus(wordsCorpus(7, 200), Format::kCorpus, "c");
  for (SegmentationMode mode : {SegmentationMode::kOnline, SegmentationMode::kFinal}) {
    RunOptions options;
    options.mode = mode;
    std::ostringstream messages;
    const ::Run run = learnCorpus(corpus, options, "c", messages);
    const Corpus& segmentation = run.segmentation;
    EXPECT_EQ(segmentation.syllables, corpus.syllables);
    EXPECT_EQ(segmentation.utteranceEnds, corpus.utteranceEnds);
    ASSERT_FALSE(segmentation.wordEnds.empty());
    EXPECT_EQ(segmentation.wordEnds.back(), corpus.syllables.size());
    // Every utterance end is a word end: no word spans a boundary.
    size_t word = 0;
    for (size_t end : corpus.utteranceEnds) {
      while (segmentation.wordEnds[word] < end) ++word;
      EXPECT_EQ(segmentation.wordEnds[word], end);
    }
    EXPECT_EQ(messages.str(), "");
  }
}

TEST(RunTest, TestItemsParseBothLayouts) {
  const std::vector<TestItem> items =
      parseTestItems("item\tclass\nba/bi\tword\n\nbi/ko/\tpart-word\nko\n", "items");
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].item, "ba/bi");
  EXPECT_EQ(items[0].label, "word");
  EXPECT_EQ(items[1].item, "bi/ko");
  EXPECT_EQ(items[2].label, "");
  EXPECT_EQ(parseTestItems("tu/pi  x\n", "items")[0].label, "x");
  for (const char* bad : {"a//b\tword\n", "a\tb\tc\n"}) {
    EXPECT_THROW(parseTestItems(bad, "items"), InputError) << bad;
  }
}

}  // namespace
