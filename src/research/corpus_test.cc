#include "research/corpus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The corpus as gold-like text with "|" between utterances, to compare whole
// readings at a glance; syllables of a word joined by "/", words by " ".
std::string shape(const Corpus& corpus) {
  if (corpus.syllables.empty()) return "";
  Corpus copy = corpus;
  if (!copy.hasWords()) {
    for (size_t i = 1; i <= copy.syllables.size(); ++i) copy.wordEnds.push_back(i);
  }
  std::string gold = toGoldText(copy);
  for (char& c : gold) c = c == '\n' ? '|' : c;
  return gold;
}

struct Case {
  Format format;
  std::string text;
  std::string expected;
};

TEST(CorpusTest, ReadsEveryFormat) {
  const std::vector<Case> cases = {
      // The learner's reading: lines joined, an open syllable dropped, runs
      // of empty fields one boundary, leading empty fields none.
      {Format::kCorpus, "ba/bi//\r\nku/", "ba bi|ku|"},
      {Format::kCorpus, "//ba/b\ni/////ku/x", "ba bi|ku|"},
      {Format::kCorpus, " ba/ba /\r", " ba ba |"},
      {Format::kCorpus, "", ""},
      {Format::kGold, "hir D^ kI/ti mcr/gi\n\n  \t\nkI/ti\r\n", "hir D^ kI/ti mcr/gi|kI/ti|"},
      {Format::kGold, "a", "a|"},
      {Format::kTagged, "y uw ;esyll ;eword k uh d ;esyll ;eword\n", "yuw kuhd|"},
      {Format::kTagged, "\n b a ;esyll k i ;esyll ;eword  \n", "ba/ki|"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shape(parseCorpus(c.text, c.format, "f")), c.expected) << c.text;
  }
}

TEST(CorpusTest, KeepsInventoryAndLinesInOrder) {
  const Corpus corpus = parseCorpus("\nb/a\nb\n\nc/a", Format::kGold, "f");
  EXPECT_EQ(corpus.inventory, (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(corpus.syllables, (std::vector<int>{0, 1, 0, 2, 1}));
  EXPECT_EQ(corpus.utteranceEnds, (std::vector<size_t>{2, 3, 5}));
  EXPECT_EQ(corpus.wordEnds, (std::vector<size_t>{2, 3, 5}));
  EXPECT_EQ(corpus.utteranceLines, (std::vector<int>{2, 3, 5}));
}

TEST(CorpusTest, RefusesBrokenLinesNamingFileAndLine) {
  const std::vector<Case> cases = {
      {Format::kGold, "ok\na//b\n", "g.txt:2: empty syllable in word \"a//b\""},
      {Format::kGold, "a/\n", "g.txt:1: empty syllable in word \"a/\""},
      {Format::kGold, "x /a", "g.txt:1: empty syllable in word \"/a\""},
      {Format::kTagged, "y uw ;esyll ;eword k uh\n",
       "g.txt:1: phones \"k uh\" after the last \";esyll\" of the line"},
      {Format::kTagged, "a ;esyll b ;eword\n",
       "g.txt:1: phones \"b\" after the word's last \";esyll\""},
      {Format::kTagged, "\n\na/b ;esyll ;eword\n", "g.txt:3: phone \"a/b\" contains \"/\""},
      {Format::kTagged, ";esyll ;eword\n", "g.txt:1: \";esyll\" closes an empty syllable"},
      {Format::kTagged, "a ;esyll ;eword ;eword\n", "g.txt:1: \";eword\" closes an empty word"},
      {Format::kTagged, "a ;esyll\n", "g.txt:1: the line's last word is not closed by \";eword\""},
  };
  for (const Case& c : cases) {
    try {
      parseCorpus(c.text, c.format, "g.txt");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const InputError& e) {
      EXPECT_EQ(std::string(e.what()), c.expected);
    }
  }
}

TEST(CorpusTest, SyllablesWithBlanksAreRefusedOnlyWhenGoldMustHoldThem) {
  const std::string text = "ba/\nk i/";
  EXPECT_EQ(parseCorpus(text, Format::kCorpus, "c").inventory[1], "k i");
  ReadOptions gold;
  gold.goldSyllablesOnly = true;
  try {
    parseCorpus(text, Format::kCorpus, "c", gold);
    ADD_FAILURE() << "accepted";
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()),
              "c:2: syllable \"k i\" (syllable 2 of the corpus) contains a blank, which the gold "
              "format cannot write");
  }
}

TEST(CorpusTest, WritesCorpusAndGold) {
  const Corpus corpus = parseCorpus("hir D^ kI/ti\n\nmcr/gi\n", Format::kGold, "g");
  EXPECT_EQ(toCorpusText(corpus), "hir/D^/kI/ti//\nmcr/gi//\n");
  EXPECT_EQ(toGoldText(corpus), "hir D^ kI/ti\nmcr/gi\n");
  // The learner reads the corpus text back into the same syllables.
  const Corpus back = parseCorpus(toCorpusText(corpus), Format::kCorpus, "c");
  EXPECT_EQ(back.syllables, corpus.syllables);
  EXPECT_EQ(back.utteranceEnds, corpus.utteranceEnds);
}

}  // namespace
