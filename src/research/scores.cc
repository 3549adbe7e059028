#include "research/scores.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "research/output.h"

namespace {

// Each text syllable's index in the gold inventory, -1 when gold lacks it, so
// utterances compare as integers.
std::vector<int> goldIndexes(const Corpus& text, const Corpus& gold) {
  std::unordered_map<std::string, int> index;
  index.reserve(gold.inventory.size());
  for (size_t i = 0; i < gold.inventory.size(); ++i) {
    index.emplace(gold.inventory[i], static_cast<int>(i));
  }
  std::vector<int> indexes;
  indexes.reserve(text.inventory.size());
  for (const std::string& syllable : text.inventory) {
    const auto found = index.find(syllable);
    indexes.push_back(found == index.end() ? -1 : found->second);
  }
  return indexes;
}

std::string counted(size_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

std::string located(const std::string& file, int line) {
  return line > 0 ? file + ":" + std::to_string(line) : file;
}

// What sets utterance u of text apart from gold's, to follow "differs from
// g.txt:9", or "" when nothing does.
std::string difference(const Corpus& text, const Corpus& gold, const std::vector<int>& toGold,
                       size_t u) {
  const size_t t0 = text.utteranceStart(u), g0 = gold.utteranceStart(u);
  const size_t tn = text.utteranceEnds[u] - t0, gn = gold.utteranceEnds[u] - g0;
  for (size_t i = 0; i < std::min(tn, gn); ++i) {
    const int t = text.syllables[t0 + i], g = gold.syllables[g0 + i];
    if (toGold[t] != g) {
      return " at syllable " + std::to_string(i + 1) + ": " + jsonString(text.inventory[t]) +
             " against " + jsonString(gold.inventory[g]);
    }
  }
  if (tn == gn) return "";
  return ": " + counted(tn, "syllable") + " against " + std::to_string(gn);
}

// A word's identity: its syllables joined by "/".
std::string wordText(const Corpus& corpus, size_t start, size_t end) {
  std::string word = corpus.inventory[corpus.syllables[start]];
  for (size_t i = start + 1; i < end; ++i) {
    word += '/';
    word += corpus.inventory[corpus.syllables[i]];
  }
  return word;
}

std::unordered_set<std::string> wordTypes(const Corpus& corpus) {
  std::unordered_set<std::string> types;
  size_t start = 0;
  for (size_t end : corpus.wordEnds) {
    types.insert(wordText(corpus, start, end));
    start = end;
  }
  return types;
}

// The counts behind one family of ratios.
struct Counts {
  long correct = 0, text = 0, gold = 0;
};

Score ratio(const std::string& name, long numerator, long denominator) {
  Score score;
  score.name = name;
  if (denominator > 0) {
    score.value = static_cast<double>(numerator) / static_cast<double>(denominator);
    score.defined = true;
  }
  return score;
}

void addFamily(const std::string& family, const Counts& c, std::vector<Score>* scores) {
  scores->push_back(ratio(family + "_precision", c.correct, c.text));
  scores->push_back(ratio(family + "_recall", c.correct, c.gold));
  scores->push_back(ratio(family + "_fscore", 2 * c.correct, c.text + c.gold));
}

// Walks the word ends of both sides in step. Since the utterances hold the
// same syllables, an utterance end is an end in both, and a global position
// stands for the same place on either side. onCommon(prevText, prevGold, i, j)
// is called at each end the two share, text.wordEnds[i] == gold.wordEnds[j],
// with the end before it on each side.
template <typename F>
void forEachCommonEnd(const Corpus& text, const Corpus& gold, F onCommon) {
  const std::vector<size_t>& t = text.wordEnds;
  const std::vector<size_t>& g = gold.wordEnds;
  size_t i = 0, j = 0, prevText = 0, prevGold = 0;
  while (i < t.size() && j < g.size()) {
    if (t[i] == g[j]) {
      onCommon(prevText, prevGold, i, j);
      prevText = prevGold = t[i];
      ++i;
      ++j;
    } else if (t[i] < g[j]) {
      prevText = t[i++];
    } else {
      prevGold = g[j++];
    }
  }
}

}  // namespace

void checkSameUtterances(const Corpus& text, const Corpus& gold, const std::string& textName,
                         const std::string& goldName) {
  const std::vector<int> toGold = goldIndexes(text, gold);
  const size_t nt = text.utteranceEnds.size(), ng = gold.utteranceEnds.size();
  for (size_t u = 0; u < std::min(nt, ng); ++u) {
    const std::string why = difference(text, gold, toGold, u);
    if (!why.empty()) {
      throw InputError(textName, text.utteranceLines[u],
                       "utterance " + std::to_string(u + 1) + " differs from " +
                           located(goldName, gold.utteranceLines[u]) + why);
    }
  }
  if (nt > ng) {
    throw InputError(textName, text.utteranceLines[ng],
                     "utterance " + std::to_string(ng + 1) + " is past the end of " + goldName +
                         ", which holds " + counted(ng, "utterance"));
  }
  if (nt < ng) {
    throw InputError(textName, 0,
                     counted(nt, "utterance") + " against " + std::to_string(ng) + " in " +
                         goldName + ", whose utterance " + std::to_string(nt + 1) + " is on " +
                         located(goldName, gold.utteranceLines[nt]));
  }
}

std::vector<Score> evaluate(const Corpus& text, const Corpus& gold, const std::string& textName,
                            const std::string& goldName) {
  checkSameUtterances(text, gold, textName, goldName);
  const long utterances = static_cast<long>(gold.utteranceEnds.size());
  const long textWords = static_cast<long>(text.wordEnds.size());
  const long goldWords = static_cast<long>(gold.wordEnds.size());

  long commonEnds = 0, commonWords = 0;
  forEachCommonEnd(text, gold, [&](size_t prevText, size_t prevGold, size_t, size_t) {
    ++commonEnds;
    if (prevText == prevGold) ++commonWords;
  });

  const std::unordered_set<std::string> textTypes = wordTypes(text);
  const std::unordered_set<std::string> goldTypes = wordTypes(gold);
  long commonTypes = 0;
  for (const std::string& type : textTypes) commonTypes += goldTypes.count(type);

  // Every utterance adds its start, 0, to both sides of boundary_all; its
  // end is already a word end on both sides and is left out of noedge.
  std::vector<Score> scores;
  addFamily("token", {commonWords, textWords, goldWords}, &scores);
  addFamily("type",
            {commonTypes, static_cast<long>(textTypes.size()), static_cast<long>(goldTypes.size())},
            &scores);
  addFamily("boundary_all",
            {commonEnds + utterances, textWords + utterances, goldWords + utterances}, &scores);
  addFamily("boundary_noedge",
            {commonEnds - utterances, textWords - utterances, goldWords - utterances}, &scores);
  return scores;
}

std::string formatScores(const std::vector<Score>& scores) {
  std::string out;
  for (const Score& score : scores) {
    char value[32] = "None";
    if (score.defined) std::snprintf(value, sizeof value, "%.4g", score.value);
    out += score.name + "\t" + value + "\n";
  }
  return out;
}

std::string scoresJson(const std::vector<Score>& scores) {
  std::string out = "{";
  for (size_t i = 0; i < scores.size(); ++i) {
    out += i == 0 ? "\n  " : ",\n  ";
    out += jsonString(scores[i].name) + ": " +
           (scores[i].defined ? exactNumber(scores[i].value) : "null");
  }
  return out + "\n}\n";
}

std::vector<WordOutcome> wordOutcomes(const Corpus& text, const Corpus& gold) {
  std::vector<WordOutcome> outcomes;
  std::unordered_map<std::string, size_t> index;
  const std::vector<size_t>& g = gold.wordEnds;
  size_t firstGold = 0, firstText = 0;  // the first word of the current run
  forEachCommonEnd(text, gold, [&](size_t, size_t, size_t i, size_t j) {
    const size_t goldWords = j + 1 - firstGold, textWords = i + 1 - firstText;
    long WordOutcome::*kind = &WordOutcome::mis;
    if (goldWords == 1 && textWords == 1) {
      kind = &WordOutcome::correct;
    } else if (goldWords == 1) {
      kind = &WordOutcome::over;
    } else if (textWords == 1) {
      kind = &WordOutcome::under;
    }
    for (size_t w = firstGold; w <= j; ++w) {
      std::string word = wordText(gold, w == 0 ? 0 : g[w - 1], g[w]);
      auto found = index.find(word);
      if (found == index.end()) {
        found = index.emplace(word, outcomes.size()).first;
        outcomes.push_back(WordOutcome());
        outcomes.back().word = std::move(word);
      }
      ++(outcomes[found->second].*kind);
    }
    firstGold = j + 1;
    firstText = i + 1;
  });
  return outcomes;
}

std::string wordOutcomesJson(const std::vector<WordOutcome>& outcomes) {
  WordOutcome totals;
  std::string out = "{\n  \"words\": [";
  for (size_t i = 0; i < outcomes.size(); ++i) {
    const WordOutcome& o = outcomes[i];
    out += i == 0 ? "\n    " : ",\n    ";
    out += "{\"word\": " + jsonString(o.word) + ", \"correct\": " + std::to_string(o.correct) +
           ", \"over\": " + std::to_string(o.over) + ", \"under\": " + std::to_string(o.under) +
           ", \"mis\": " + std::to_string(o.mis) + "}";
    totals.correct += o.correct;
    totals.over += o.over;
    totals.under += o.under;
    totals.mis += o.mis;
  }
  out += outcomes.empty() ? "],\n" : "\n  ],\n";
  out += "  \"totals\": {\"correct\": " + std::to_string(totals.correct) +
         ", \"over\": " + std::to_string(totals.over) +
         ", \"under\": " + std::to_string(totals.under) +
         ", \"mis\": " + std::to_string(totals.mis) + "}\n}\n";
  return out;
}
