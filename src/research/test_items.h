// Test items: words, part-words and non-words of an artificial language,
// measured against what a learner ends with.
#ifndef SYLLEX_RESEARCH_TEST_ITEMS_H_
#define SYLLEX_RESEARCH_TEST_ITEMS_H_

#include <string>
#include <vector>

#include "model/learner.h"

struct TestItem {
  std::string item;   // gold form, tu/pi/ro (input form tu/pi/ro/ accepted on reading)
  std::string label;  // its class (word, part-word, non-word), or empty
};

// TSV "item class" (a header row "item class" is skipped), or one item a
// line. Blank lines are skipped. Throws InputError naming file and line.
std::vector<TestItem> parseTestItems(const std::string& text, const std::string& name);

// One item as a line of such a file gives it: input form accepted, empty
// syllables refused (InputError naming file and line).
TestItem parseTestItem(const std::string& item, const std::string& label, const std::string& name,
                       int line);

struct TestItemMeasure {
  TestItem item;
  bool live = false;       // a live chunk spells the item
  double codelength = 10;  // what a target item of that name would record
  bool heard = false;      // every syllable of the item was heard
  double bits = 0;         // the item factorized with the final lexicon
  int pieces = 0;
};

std::vector<TestItemMeasure> measureTestItems(const Learner& learner,
                                              const std::vector<TestItem>& items);
// TSV "item class live codelength bits pieces"; live as true/false, numbers
// %.17g, bits and pieces NA for an item with an unheard syllable.
std::string testItemsTsv(const std::vector<TestItemMeasure>& measures);

#endif  // SYLLEX_RESEARCH_TEST_ITEMS_H_
