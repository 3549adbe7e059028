#include "research/scores.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Corpus gold(const std::string& text) { return parseCorpus(text, Format::kGold, "g.txt"); }

std::string scores(const std::string& text, const std::string& reference) {
  return formatScores(evaluate(gold(text), gold(reference), "t.txt", "g.txt"));
}

// The twelve rows with values in the order precision, recall, fscore of
// token, type, boundary_all and boundary_noedge.
std::string rows(const std::vector<std::string>& values) {
  static const char* const kNames[] = {"token", "type", "boundary_all", "boundary_noedge"};
  static const char* const kRatios[] = {"precision", "recall", "fscore"};
  std::string out;
  for (size_t i = 0; i < values.size(); ++i) {
    out += std::string(kNames[i / 3]) + "_" + kRatios[i % 3] + "\t" + values[i] + "\n";
  }
  return out;
}

struct ScoreCase {
  const char* what;
  std::string text, gold;
  std::vector<std::string> expected;
};

TEST(ScoresTest, HandWorkedSegmentations) {
  const std::vector<ScoreCase> cases = {
      // Text joins "the dog": tokens 4 correct of 5 and 6; types the, is, on,
      // boat shared of 5 and 5; boundaries 0..6 all in gold, 2..6 in text.
      {"check value",
       "the/dog is on the boat",
       "the dog is on the boat",
       {"0.8", "0.6667", "0.7273", "0.8", "0.8", "0.8", "1", "0.8571", "0.9231", "1", "0.8",
        "0.8889"}},
      {"identical",
       "ba/bi ku\nku",
       "ba/bi ku\nku",
       {"1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}},
      // Gold words ba/bi ku ba/bi | ku ba/bi, text ba/bi ku ba bi | ku/ba/bi.
      // Tokens: ba/bi and ku of the first utterance, 2 of 5 and 5. Types: text
      // ba/bi ku ba bi ku/ba/bi, gold ba/bi ku, 2 shared. Boundaries: first
      // utterance text {0,2,3,4,5} gold {0,2,3,5}, second {0,3} and {0,1,3}:
      // 6 shared of 7 and 7; without edges {2,3,4},{} and {2,3},{1}: 2 of 3.
      {"repeated words",
       "ba/bi ku ba bi\nku/ba/bi",
       "ba/bi ku ba/bi\nku ba/bi",
       {"0.4", "0.4", "0.4", "0.4", "1", "0.5714", "0.8571", "0.8571", "0.8571", "0.6667", "0.6667",
        "0.6667"}},
      // A word is a span: the same syllables elsewhere do not make it correct,
      // though they share its type.
      {"same word elsewhere",
       "a b/a",
       "a/b a",
       {"0", "0", "0", "0.5", "0.5", "0.5", "0.6667", "0.6667", "0.6667", "0", "0", "0"}},
      {"nothing at all",
       "",
       "\n\n",
       {"None", "None", "None", "None", "None", "None", "None", "None", "None", "None", "None",
        "None"}},
      // Single-word utterances have no boundary above 0 inside them.
      {"no inner boundary",
       "a/b\nc",
       "a/b\nc",
       {"1", "1", "1", "1", "1", "1", "1", "1", "1", "None", "None", "None"}},
      // Text has no inner boundary, gold one: precision alone undefined.
      {"text without inner boundary",
       "a/b",
       "a b",
       {"0", "0", "0", "0", "0", "0", "1", "0.6667", "0.8", "None", "0", "0"}},
  };
  for (const ScoreCase& c : cases) {
    EXPECT_EQ(scores(c.text, c.gold), rows(c.expected)) << c.what;
  }
}

TEST(ScoresTest, BlankLinesAndLayoutDoNotMatter) {
  EXPECT_EQ(scores("\n  the/dog\tis on\r\n\nthe boat \n", "the dog is on\nthe boat"),
            scores("the/dog is on\nthe boat", "the dog is on\nthe boat"));
}

TEST(ScoresTest, FormatsAsPrintedAndAsJson) {
  std::vector<Score> list = {{"a", 2.0 / 3, true}, {"b", 0, false}, {"c", 1, true},
                             {"d", 1e-5, true},    {"e", 0, true},  {"f", 123456, true}};
  EXPECT_EQ(formatScores(list), "a\t0.6667\nb\tNone\nc\t1\nd\t1e-05\ne\t0\nf\t1.235e+05\n");
  EXPECT_EQ(scoresJson(list),
            "{\n  \"a\": 0.66666666666666663,\n  \"b\": null,\n  \"c\": 1,\n  \"d\": "
            "1.0000000000000001e-05,\n  \"e\": 0,\n  \"f\": 123456\n}\n");
  EXPECT_EQ(scoresJson({}), "{\n}\n");
}

struct MismatchCase {
  std::string text, gold, message;
};

TEST(ScoresTest, RefusesDifferentUtterancesNamingBothPlaces) {
  const std::vector<MismatchCase> cases = {
      {"a b\n\nc/d e", "a b\nc d f",
       "t.txt:3: utterance 2 differs from g.txt:2 at syllable 3: \"e\" against \"f\""},
      {"x", "a", "t.txt:1: utterance 1 differs from g.txt:1 at syllable 1: \"x\" against \"a\""},
      {"a b c", "\na b", "t.txt:1: utterance 1 differs from g.txt:2: 3 syllables against 2"},
      {"a", "a b", "t.txt:1: utterance 1 differs from g.txt:1: 1 syllable against 2"},
      {"a\nb", "a", "t.txt:2: utterance 2 is past the end of g.txt, which holds 1 utterance"},
      {"a", "", "t.txt:1: utterance 1 is past the end of g.txt, which holds 0 utterances"},
      {"a", "a\n\nb", "t.txt: 1 utterance against 2 in g.txt, whose utterance 2 is on g.txt:3"},
      {"", "a", "t.txt: 0 utterances against 1 in g.txt, whose utterance 1 is on g.txt:1"},
      // A differing utterance is found before the counts are compared.
      {"a\nb\nc", "a\nx",
       "t.txt:2: utterance 2 differs from g.txt:2 at syllable 1: \"b\" against "
       "\"x\""},
  };
  for (const MismatchCase& c : cases) {
    try {
      evaluate(gold(c.text), gold(c.gold), "t.txt", "g.txt");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const InputError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

std::string outcomes(const std::string& text, const std::string& reference) {
  const Corpus t = gold(text), g = gold(reference);
  checkSameUtterances(t, g, "t.txt", "g.txt");
  return wordOutcomesJson(wordOutcomes(t, g));
}

struct OutcomeCase {
  const char* what;
  std::string text, gold, json;
};

TEST(ScoresTest, ClassifiesGoldWordsByTheirRuns) {
  const std::vector<OutcomeCase> cases = {
      // Runs: a | b/c against b c | d e against d/e | f g/h against f/g h, then
      // a b/c against a/b/c: one run of each class, and a repeated word in two.
      {"every class", "a b c d/e f/g h\na/b/c", "a b/c d e f g/h\na b/c",
       "{\n  \"words\": [\n"
       "    {\"word\": \"a\", \"correct\": 1, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"b/c\", \"correct\": 0, \"over\": 1, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"d\", \"correct\": 0, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"e\", \"correct\": 0, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"f\", \"correct\": 0, \"over\": 0, \"under\": 0, \"mis\": 1},\n"
       "    {\"word\": \"g/h\", \"correct\": 0, \"over\": 0, \"under\": 0, \"mis\": 1}\n"
       "  ],\n"
       "  \"totals\": {\"correct\": 1, \"over\": 1, \"under\": 4, \"mis\": 2}\n}\n"},
      // An utterance's end closes a run even when the next starts the same way.
      {"runs stop at utterances", "a/b\nc", "a b\nc",
       "{\n  \"words\": [\n"
       "    {\"word\": \"a\", \"correct\": 0, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"b\", \"correct\": 0, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"c\", \"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0}\n"
       "  ],\n"
       "  \"totals\": {\"correct\": 1, \"over\": 0, \"under\": 2, \"mis\": 0}\n}\n"},
      // "the" is correct once, and under-segmented once inside "the/dog".
      {"check value", "the/dog is on the boat", "the dog is on the boat",
       "{\n  \"words\": [\n"
       "    {\"word\": \"the\", \"correct\": 1, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"dog\", \"correct\": 0, \"over\": 0, \"under\": 1, \"mis\": 0},\n"
       "    {\"word\": \"is\", \"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0},\n"
       "    {\"word\": \"on\", \"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0},\n"
       "    {\"word\": \"boat\", \"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0}\n"
       "  ],\n"
       "  \"totals\": {\"correct\": 4, \"over\": 0, \"under\": 2, \"mis\": 0}\n}\n"},
      {"empty", "", "",
       "{\n  \"words\": [],\n  \"totals\": {\"correct\": 0, \"over\": 0, \"under\": 0, \"mis\": "
       "0}\n}\n"},
  };
  for (const OutcomeCase& c : cases) EXPECT_EQ(outcomes(c.text, c.gold), c.json) << c.what;
}

TEST(ScoresTest, WordsWithQuotesAreEscapedInJson) {
  EXPECT_EQ(outcomes("\"a", "\"a"),
            "{\n  \"words\": [\n"
            "    {\"word\": \"\\\"a\", \"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0}\n"
            "  ],\n"
            "  \"totals\": {\"correct\": 1, \"over\": 0, \"under\": 0, \"mis\": 0}\n}\n");
}

}  // namespace
