#include "conversions.h"

#include <algorithm>

#include "research/run.h"

std::vector<std::vector<std::string>> utteranceWords(const Corpus& corpus) {
  std::vector<std::vector<std::string>> utterances;
  size_t word = 0;
  for (size_t u = 0; u < corpus.utteranceEnds.size(); ++u) {
    std::vector<std::string> words;
    std::string text;
    const size_t end = corpus.utteranceEnds[u];
    for (size_t i = corpus.utteranceStart(u); i < end; ++i) {
      if (!text.empty()) text += '/';
      text += corpus.inventory[corpus.syllables[i]];
      const bool wordEnds = corpus.hasWords() ? corpus.wordEnds[word] == i + 1 : i + 1 == end;
      if (wordEnds) {
        words.push_back(std::move(text));
        text.clear();
        if (corpus.hasWords()) ++word;
      }
    }
    utterances.push_back(std::move(words));
  }
  return utterances;
}

std::string goldLine(const std::vector<std::string>& words, const std::string& name, int line) {
  std::string text;
  for (size_t w = 0; w < words.size(); ++w) {
    const std::string& word = words[w];
    const std::string which = "word " + std::to_string(w + 1);
    if (word.empty()) throw InputError(name, line, which + " is empty");
    if (std::any_of(word.begin(), word.end(), [](char c) { return isBlank(c) || c == '\n'; })) {
      throw InputError(name, line, which + " holds a blank, which would split it");
    }
    if (w > 0) text += ' ';
    text += word;
  }
  return text;
}

void checkGoldLine(const std::string& utterance, const std::string& name, int line) {
  if (utterance.find('\n') != std::string::npos) {
    throw InputError(name, line, "the utterance holds a line feed, which would split it");
  }
}
