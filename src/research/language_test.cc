#include "research/language.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::vector<Word> kSaffran = {
    {"tu", "pi", "ro"}, {"go", "la", "bu"}, {"bi", "da", "ku"}, {"pa", "do", "ti"}};

// Each utterance of the stream as one "/"-joined run of syllables.
std::vector<std::string> utterances(const Language& language) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t end : language.utteranceEnds) {
    std::string text;
    for (size_t t = start; t < end; ++t) {
      for (const std::string& syllable : language.words[language.tokens[t]]) {
        text += syllable + "/";
      }
    }
    out.push_back(text);
    start = end;
  }
  return out;
}

bool occurs(const Language& language, const std::string& item) {
  for (const std::string& utterance : utterances(language)) {
    // Bounded by "/" on both sides so that "a/b" does not match "ka/b".
    if (("/" + utterance).find("/" + item + "/") != std::string::npos) return true;
  }
  return false;
}

std::vector<std::string> itemsOf(const std::vector<TestItem>& items, const std::string& label) {
  std::vector<std::string> out;
  for (const TestItem& item : items) {
    if (item.label == label) out.push_back(item.item);
  }
  return out;
}

TEST(RandomTest, GivesSplitmix64sNumbers) {
  // The published first outputs for state 0: the same bytes on any machine.
  Random random(0);
  EXPECT_EQ(random.next(), 0xe220a8397b1dcdafULL);
  EXPECT_EQ(random.next(), 0x6e789e6aa1b965f4ULL);
  Random small(7);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(small.below(3), 3u);
  EXPECT_EQ(small.below(1), 0u);
}

TEST(LanguageTest, ParsesWordListsAndRefusesBrokenOnes) {
  EXPECT_EQ(parseWords("tu/pi/ro,go/la/bu"),
            (std::vector<Word>{{"tu", "pi", "ro"}, {"go", "la", "bu"}}));
  EXPECT_EQ(parseWords("a"), (std::vector<Word>{{"a"}}));
  const std::vector<std::pair<std::string, std::string>> broken = {
      {"", "empty word in \"\""},
      {"a,,b", "empty word in \"a,,b\""},
      {"a,", "empty word in \"a,\""},
      {"a//b", "empty syllable in word \"a//b\""},
      {"a/", "empty syllable in word \"a/\""},
      {"a b/c", "blank in word \"a b/c\""},
  };
  for (const auto& [list, message] : broken) {
    try {
      parseWords(list);
      ADD_FAILURE() << "accepted: " << list;
    } catch (const LanguageError& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
  }
}

TEST(LanguageTest, RefusesImpossibleRequests) {
  struct Case {
    LanguageOptions options;
    std::string message;
  };
  auto given = [](std::vector<Word> words, long tokens) {
    LanguageOptions options;
    options.words = words;
    options.tokens = tokens;
    return options;
  };
  auto random = [](int words, int k, bool reuse) {
    LanguageOptions options;
    options.randomWords = words;
    options.syllablesPerWord = k;
    options.reuseSyllables = reuse;
    return options;
  };
  LanguageOptions negative = given(kSaffran, 10);
  negative.boundaryEvery = -1;
  const std::vector<Case> cases = {
      {given({{"a", "b"}, {"c"}}, 5),
       "words of different lengths (\"a/b\" and \"c\") are not supported"},
      {given({{"a"}, {"b"}, {"a"}}, 5), "word \"a\" given twice"},
      {given({{"a"}}, 2), "with one word, 2 tokens need --allow-repeats"},
      {given(kSaffran, 0), "--tokens must be at least 1"},
      {negative, "--boundary-every must not be negative"},
      {random(0, 3, false), "--random-words must be at least 1"},
      {random(2, 0, false), "--syllables-per-word must be at least 1"},
      {random(29, 3, false),
       "29 words of 3 syllables need 87 syllables; the inventory has 85 (see --reuse-syllables)"},
      {random(86, 1, true), "the inventory spells only 85 distinct words of 1 syllables"},
  };
  for (const Case& c : cases) {
    try {
      makeLanguage(c.options);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const LanguageError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
  // The limits themselves are met.
  EXPECT_NO_THROW(makeLanguage(random(17, 5, false)));
  EXPECT_NO_THROW(makeLanguage(random(85, 1, true)));
  EXPECT_NO_THROW(makeLanguage(given({{"a"}}, 1)));
}

TEST(LanguageTest, StreamHasTheTokensUtterancesAndNoRepeats) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    LanguageOptions options;
    options.words = kSaffran;
    options.tokens = 181;
    options.boundaryEvery = 20;
    options.seed = seed;
    const Language language = makeLanguage(options);
    ASSERT_EQ(language.tokens.size(), 181u);
    std::vector<size_t> ends;
    for (size_t end = 20; end < 181; end += 20) ends.push_back(end);
    ends.push_back(181);
    EXPECT_EQ(language.utteranceEnds, ends);
    for (size_t t = 1; t < language.tokens.size(); ++t) {
      ASSERT_NE(language.tokens[t], language.tokens[t - 1]) << "seed " << seed << " token " << t;
    }
    std::set<int> used(language.tokens.begin(), language.tokens.end());
    EXPECT_EQ(used.size(), 4u) << "every word appears in 181 tokens";
  }
}

TEST(LanguageTest, RepeatsOnlyWhenAllowed) {
  LanguageOptions options;
  options.words = {{"a"}, {"b"}};
  options.tokens = 50;
  // Without repeats two words can only alternate.
  const Language alternating = makeLanguage(options);
  for (size_t t = 1; t < 50; ++t) EXPECT_NE(alternating.tokens[t], alternating.tokens[t - 1]);
  options.allowRepeats = true;
  const Language free = makeLanguage(options);
  int repeats = 0;
  for (size_t t = 1; t < 50; ++t) repeats += free.tokens[t] == free.tokens[t - 1];
  EXPECT_GT(repeats, 0);  // 49 fair coin flips never all differ but once in 2^49
  options.words = {{"a"}};
  EXPECT_EQ(makeLanguage(options).tokens, std::vector<int>(50, 0));
}

TEST(LanguageTest, RandomWordsUseDistinctSyllablesOfTheInventory) {
  EXPECT_EQ(syllableInventory().size(), 85u);
  EXPECT_EQ(syllableInventory().front(), "ba");
  EXPECT_EQ(syllableInventory().back(), "zu");
  LanguageOptions options;
  options.randomWords = 6;
  options.syllablesPerWord = 3;
  options.seed = 11;
  const Language language = makeLanguage(options);
  ASSERT_EQ(language.words.size(), 6u);
  const std::set<std::string> inventory(syllableInventory().begin(), syllableInventory().end());
  std::set<std::string> seen;
  for (const Word& word : language.words) {
    ASSERT_EQ(word.size(), 3u);
    for (const std::string& syllable : word) {
      EXPECT_TRUE(inventory.count(syllable)) << syllable;
      EXPECT_TRUE(seen.insert(syllable).second) << syllable << " used twice";
    }
  }
  // Words come from their own sequence: more tokens, the same words.
  options.tokens = 1000;
  EXPECT_EQ(makeLanguage(options).words, language.words);
  options.seed = 12;
  EXPECT_NE(makeLanguage(options).words, language.words);
}

TEST(LanguageTest, SameOptionsGiveTheSameLanguageAndItems) {
  LanguageOptions options;
  options.randomWords = 5;
  options.syllablesPerWord = 2;
  options.reuseSyllables = true;
  options.boundaryEvery = 7;
  options.seed = 99;
  const Language first = makeLanguage(options), second = makeLanguage(options);
  EXPECT_EQ(first.words, second.words);
  EXPECT_EQ(first.tokens, second.tokens);
  EXPECT_EQ(testItemsText(languageTestItems(first, 99)),
            testItemsText(languageTestItems(second, 99)));
  options.seed = 100;
  EXPECT_NE(makeLanguage(options).tokens, first.tokens);
}

// a/b c/d a/b, worked by hand: the junctions give b/c and d/a; of the twelve
// orders of two distinct syllables out of a, b, c, d, the stream holds a/b,
// b/c, c/d and d/a, which leaves eight non-words.
TEST(LanguageTest, TestItemsOfAHandWorkedStream) {
  Language language;
  language.words = {{"a", "b"}, {"c", "d"}};
  language.tokens = {0, 1, 0};
  language.utteranceEnds = {3};
  EXPECT_EQ(toGoldText(languageCorpus(language)), "a/b c/d a/b\n");
  EXPECT_EQ(toCorpusText(languageCorpus(language)), "a/b/c/d/a/b//\n");
  const std::set<std::string> free = {"a/c", "a/d", "b/a", "b/d", "c/a", "c/b", "d/b", "d/c"};
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const std::vector<TestItem> items = languageTestItems(language, seed);
    EXPECT_EQ(itemsOf(items, "word"), (std::vector<std::string>{"a/b", "c/d"}));
    EXPECT_EQ(itemsOf(items, "part-word"), (std::vector<std::string>{"b/c", "d/a"}));
    const std::vector<std::string> nonWords = itemsOf(items, "non-word");
    ASSERT_EQ(nonWords.size(), 2u);
    EXPECT_NE(nonWords[0], nonWords[1]);
    for (const std::string& item : nonWords) EXPECT_TRUE(free.count(item)) << item;
    ASSERT_EQ(items.size(), 6u);
  }
  // A boundary between the first two tokens: b/c is no longer heard, so it
  // is no part-word but may be a non-word.
  language.utteranceEnds = {1, 3};
  EXPECT_EQ(toGoldText(languageCorpus(language)), "a/b\nc/d a/b\n");
  EXPECT_EQ(toCorpusText(languageCorpus(language)), "a/b//\nc/d/a/b//\n");
  std::set<std::string> drawn;
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    const std::vector<TestItem> items = languageTestItems(language, seed);
    EXPECT_EQ(itemsOf(items, "part-word"), (std::vector<std::string>{"d/a"}));
    for (const std::string& item : itemsOf(items, "non-word")) drawn.insert(item);
  }
  EXPECT_TRUE(drawn.count("b/c"));
  EXPECT_FALSE(drawn.count("d/a"));
}

TEST(LanguageTest, ThreeSyllablePartWordsTakeBothSplitsInStreamOrder) {
  Language language;
  language.words = kSaffran;
  language.tokens = {0, 1, 0};  // tu/pi/ro go/la/bu tu/pi/ro
  language.utteranceEnds = {3};
  EXPECT_EQ(itemsOf(languageTestItems(language, 1), "part-word"),
            (std::vector<std::string>{"pi/ro/go", "ro/go/la", "la/bu/tu", "bu/tu/pi"}));
}

TEST(LanguageTest, PartWordsOccurAtJunctionsAndNonWordsNowhere) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    LanguageOptions options;
    options.words = kSaffran;
    options.tokens = 60;
    options.boundaryEvery = seed % 3 == 0 ? 0 : 5;
    options.seed = seed;
    const Language language = makeLanguage(options);
    const std::vector<TestItem> items = languageTestItems(language, seed);
    std::set<std::string> distinct;
    std::set<std::string> words;
    for (const Word& word : kSaffran) words.insert(word[0] + "/" + word[1] + "/" + word[2]);
    for (const TestItem& item : items) {
      EXPECT_TRUE(distinct.insert(item.item).second) << item.item << " listed twice";
      if (item.label == "part-word") {
        EXPECT_TRUE(occurs(language, item.item)) << item.item;
        EXPECT_FALSE(words.count(item.item));
      } else if (item.label == "non-word") {
        EXPECT_FALSE(occurs(language, item.item)) << item.item;
        EXPECT_FALSE(words.count(item.item));
      }
    }
    EXPECT_EQ(itemsOf(items, "non-word").size(), 4u);
    // Every junction inside an utterance is listed through both its splits.
    const std::vector<std::string> parts = itemsOf(items, "part-word");
    const std::set<std::string> partSet(parts.begin(), parts.end());
    size_t start = 0;
    for (size_t end : language.utteranceEnds) {
      for (size_t t = start; t + 1 < end; ++t) {
        const Word& a = kSaffran[language.tokens[t]];
        const Word& b = kSaffran[language.tokens[t + 1]];
        EXPECT_TRUE(partSet.count(a[1] + "/" + a[2] + "/" + b[0]));
        EXPECT_TRUE(partSet.count(a[2] + "/" + b[0] + "/" + b[1]));
      }
      start = end;
    }
  }
}

TEST(LanguageTest, RefusesWhenTooFewNonWordsExist) {
  Language language;
  language.words = {{"a", "b"}, {"b", "a"}};  // the only two orders of a and b
  language.tokens = {0, 1};
  language.utteranceEnds = {2};
  try {
    languageTestItems(language, 1);
    ADD_FAILURE() << "accepted";
  } catch (const LanguageError& e) {
    EXPECT_EQ(std::string(e.what()),
              "only 0 non-words exist for 2 words: no other order of 2 distinct syllables is "
              "absent from the stream");
  }
}

TEST(LanguageTest, LargeInventoriesDrawNonWordsByGuessing) {
  // 60 words of 4 syllables from 85 syllables with reuse: far more orders than
  // are enumerated, so non-words are guessed; they must still be absent.
  LanguageOptions options;
  options.randomWords = 60;
  options.syllablesPerWord = 4;
  options.reuseSyllables = true;
  options.tokens = 300;
  options.seed = 5;
  const Language language = makeLanguage(options);
  const std::vector<TestItem> items = languageTestItems(language, 5);
  const std::vector<std::string> nonWords = itemsOf(items, "non-word");
  ASSERT_EQ(nonWords.size(), 60u);
  for (const std::string& item : nonWords) EXPECT_FALSE(occurs(language, item)) << item;
}

TEST(LanguageTest, TestItemsTextIsATable) {
  EXPECT_EQ(testItemsText({{"a/b", "word"}, {"b/c", "part-word"}}),
            "item\tclass\na/b\tword\nb/c\tpart-word\n");
  EXPECT_EQ(testItemsText({}), "item\tclass\n");
}

}  // namespace
