#include "research/test_items.h"

#include "research/corpus.h"
#include "research/output.h"
#include "research/run.h"

namespace {

// Splits a line into its fields: at tabs when it has any, else at blanks.
std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  const char separator = line.find('\t') != std::string::npos ? '\t' : ' ';
  size_t i = 0;
  while (i <= line.size()) {
    size_t end = i;
    while (end < line.size() && line[end] != separator &&
           (separator == '\t' || !isBlank(line[end]))) {
      ++end;
    }
    size_t first = i, last = end;
    while (first < last && isBlank(line[first])) ++first;
    while (last > first && isBlank(line[last - 1])) --last;
    if (last > first || separator == '\t') out.push_back(line.substr(first, last - first));
    i = end + 1;
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

}  // namespace

std::vector<TestItem> parseTestItems(const std::string& text, const std::string& name) {
  std::vector<TestItem> items;
  size_t start = 0;
  int number = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::vector<std::string> row = fields(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (row.empty()) continue;
    const bool header = first && row.size() == 2 && row[0] == "item" && row[1] == "class";
    first = false;
    if (header) continue;
    if (row.size() > 2) throw InputError(name, number, "more than two fields (item, class)");
    items.push_back(parseTestItem(row[0], row.size() > 1 ? row[1] : "", name, number));
  }
  return items;
}

TestItem parseTestItem(const std::string& item, const std::string& label, const std::string& name,
                       int line) {
  const std::string gold = goldWord(item);
  size_t start = 0;
  while (true) {
    const size_t slash = gold.find('/', start);
    const size_t end = slash == std::string::npos ? gold.size() : slash;
    if (end == start) {
      throw InputError(name, line,
                       item.empty() ? "empty item" : "empty syllable in item \"" + item + "\"");
    }
    if (slash == std::string::npos) return TestItem{gold, label};
    start = slash + 1;
  }
}

std::vector<TestItemMeasure> measureTestItems(const Learner& learner,
                                              const std::vector<TestItem>& items) {
  std::vector<TestItemMeasure> measures;
  for (const TestItem& item : items) {
    TestItemMeasure measure;
    measure.item = item;
    const std::string name = targetInInputForm(item.item);
    const int chunk = learner.liveChunkId(name);
    measure.live = chunk > 0;
    measure.codelength = chunk > 0 ? learner.codelength(chunk) : 10.0;
    std::vector<int> syllables;
    measure.heard = true;
    size_t begin = 0;
    while (begin < name.size()) {
      const size_t slash = name.find('/', begin);
      const int id = learner.syllableId(name.substr(begin, slash + 1 - begin));
      if (id <= 0) measure.heard = false;
      syllables.push_back(id);
      begin = slash + 1;
    }
    if (measure.heard) {
      for (int piece : learner.factorize(syllables)) {
        measure.bits += learner.codelength(piece);
        ++measure.pieces;
      }
    }
    measures.push_back(measure);
  }
  return measures;
}

std::string testItemsTsv(const std::vector<TestItemMeasure>& measures) {
  std::string tsv = "item\tclass\tlive\tcodelength\tbits\tpieces\n";
  for (const TestItemMeasure& m : measures) {
    tsv += m.item.item + '\t' + m.item.label + '\t' + (m.live ? "true" : "false") + '\t' +
           exactNumber(m.codelength) + '\t' + (m.heard ? exactNumber(m.bits) : "NA") + '\t' +
           (m.heard ? std::to_string(m.pieces) : "NA") + '\n';
  }
  return tsv;
}
