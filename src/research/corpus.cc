#include "research/corpus.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <unordered_map>

bool parseFormat(const std::string& name, Format* format) {
  if (name == "corpus") {
    *format = Format::kCorpus;
  } else if (name == "gold") {
    *format = Format::kGold;
  } else if (name == "tagged") {
    *format = Format::kTagged;
  } else {
    return false;
  }
  return true;
}

namespace {

std::string located(const std::string& file, int line, const std::string& message) {
  return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

// Quotes a text for a message, showing bytes that would not print as escapes.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// Builds a Corpus syllable by syllable, word by word, utterance by utterance.
class CorpusBuilder {
 public:
  void syllable(const std::string& text) {
    auto found = index_.find(text);
    if (found == index_.end()) {
      found = index_.emplace(text, static_cast<int>(corpus_.inventory.size())).first;
      corpus_.inventory.push_back(text);
    }
    corpus_.syllables.push_back(found->second);
  }
  void endWord() {
    if (corpus_.wordEnds.empty() || corpus_.wordEnds.back() < corpus_.syllables.size()) {
      corpus_.wordEnds.push_back(corpus_.syllables.size());
    }
  }
  // Closes the utterance begun on this line, if it holds any syllable.
  void endUtterance(int line) {
    const size_t start = corpus_.utteranceEnds.empty() ? 0 : corpus_.utteranceEnds.back();
    if (corpus_.syllables.size() == start) return;
    corpus_.utteranceEnds.push_back(corpus_.syllables.size());
    corpus_.utteranceLines.push_back(line);
  }
  Corpus take() { return std::move(corpus_); }

 private:
  Corpus corpus_;
  std::unordered_map<std::string, int> index_;
};

void checkGoldSyllable(const std::string& syllable, size_t number, const std::string& file,
                       int line, const ReadOptions& options) {
  if (!options.goldSyllablesOnly) return;
  for (char c : syllable) {
    if (isBlank(c)) {
      throw InputError(file, line,
                       "syllable " + quoted(syllable) + " (syllable " + std::to_string(number) +
                           " of the corpus) contains a blank, which the gold format cannot write");
    }
  }
}

// The learner's own reading: lines joined, a carriage return before a line
// feed dropped, syllables closed by "/", a boundary after a syllable only.
Corpus parseLearnerInput(const std::string& text, const std::string& file,
                         const ReadOptions& options) {
  CorpusBuilder builder;
  std::string syllable;
  int line = 1;
  int syllableLine = 1;
  int utteranceLine = 1;
  bool afterBoundary = true;
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c != '/') {
      if (syllable.empty()) syllableLine = line;
      syllable += c;
      continue;
    }
    if (!syllable.empty()) {
      checkGoldSyllable(syllable, ++count, file, syllableLine, options);
      if (afterBoundary) utteranceLine = syllableLine;
      builder.syllable(syllable);
      syllable.clear();
      afterBoundary = false;
    } else if (!afterBoundary) {
      builder.endWord();
      builder.endUtterance(utteranceLine);
      afterBoundary = true;
    }
  }
  // A syllable left open at the end is dropped.
  builder.endUtterance(utteranceLine);
  Corpus corpus = builder.take();
  corpus.lastUtteranceOpen = !afterBoundary;
  corpus.wordEnds.clear();  // this format marks no words
  return corpus;
}

// Calls f(line, number) for each line of the text, carriage return before a
// line feed excluded.
template <typename F>
void forEachLine(const std::string& text, F f) {
  size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    f(text.substr(start, end - start), ++number);
    start = next;
  }
}

template <typename F>
void forEachToken(const std::string& line, F f) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) f(line.substr(start, i - start));
  }
}

Corpus parseGold(const std::string& text, const std::string& file) {
  CorpusBuilder builder;
  forEachLine(text, [&](const std::string& line, int number) {
    forEachToken(line, [&](const std::string& word) {
      size_t start = 0;
      while (true) {
        const size_t slash = word.find('/', start);
        const size_t end = slash == std::string::npos ? word.size() : slash;
        if (end == start) {
          throw InputError(file, number, "empty syllable in word " + quoted(word));
        }
        builder.syllable(word.substr(start, end - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
      }
      builder.endWord();
    });
    builder.endUtterance(number);
  });
  return builder.take();
}

Corpus parseTagged(const std::string& text, const std::string& file) {
  CorpusBuilder builder;
  forEachLine(text, [&](const std::string& line, int number) {
    std::string phones;   // the open syllable's phones, joined
    std::string written;  // and as written, for messages
    int syllablesInWord = 0;
    forEachToken(line, [&](const std::string& token) {
      if (token == ";esyll") {
        if (phones.empty()) throw InputError(file, number, "\";esyll\" closes an empty syllable");
        builder.syllable(phones);
        phones.clear();
        written.clear();
        ++syllablesInWord;
      } else if (token == ";eword") {
        if (!phones.empty()) {
          throw InputError(file, number,
                           "phones " + quoted(written) + " after the word's last \";esyll\"");
        }
        if (syllablesInWord == 0) throw InputError(file, number, "\";eword\" closes an empty word");
        builder.endWord();
        syllablesInWord = 0;
      } else {
        if (token.find('/') != std::string::npos) {
          throw InputError(file, number, "phone " + quoted(token) + " contains \"/\"");
        }
        phones += token;
        written += written.empty() ? token : " " + token;
      }
    });
    if (!phones.empty()) {
      throw InputError(file, number,
                       "phones " + quoted(written) + " after the last \";esyll\" of the line");
    }
    if (syllablesInWord > 0) {
      throw InputError(file, number, "the line's last word is not closed by \";eword\"");
    }
    builder.endUtterance(number);
  });
  return builder.take();
}

}  // namespace

InputError::InputError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(located(file, line, message)),
      file_(file),
      line_(line),
      message_(message) {}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

Corpus parseCorpus(const std::string& text, Format format, const std::string& name,
                   const ReadOptions& options) {
  switch (format) {
    case Format::kGold:
      return parseGold(text, name);
    case Format::kTagged:
      return parseTagged(text, name);
    case Format::kCorpus:
      break;
  }
  return parseLearnerInput(text, name, options);
}

std::string readInput(const std::string& path) {
  const std::string name = path == "-" ? "standard input" : path;
  if (path == "-") {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (std::cin.bad()) throw InputError(name, 0, "cannot read: " + std::string(strerror(errno)));
    return text;
  }
  struct stat status;
  if (::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    throw InputError(name, 0, "cannot read: Is a directory");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) throw InputError(name, 0, "cannot read: " + std::string(strerror(errno)));
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) throw InputError(name, 0, "cannot read: " + std::string(strerror(errno)));
  return text.str();
}

std::string toCorpusText(const Corpus& corpus) {
  std::string text;
  size_t start = 0;
  for (size_t end : corpus.utteranceEnds) {
    for (size_t i = start; i < end; ++i) {
      text += corpus.inventory[corpus.syllables[i]];
      text += '/';
    }
    const bool last = end == corpus.syllables.size();
    text += last && corpus.lastUtteranceOpen ? "\n" : "/\n";
    start = end;
  }
  return text;
}

std::string learnerStream(const Corpus& corpus) {
  std::string stream = toCorpusText(corpus);
  stream.erase(std::remove(stream.begin(), stream.end(), '\n'), stream.end());
  return stream;
}

std::string toGoldText(const Corpus& corpus) {
  std::string text;
  size_t word = 0;
  size_t start = 0;
  for (size_t end : corpus.utteranceEnds) {
    for (size_t i = start; i < end; ++i) {
      text += corpus.inventory[corpus.syllables[i]];
      if (i + 1 == end) break;
      while (corpus.wordEnds[word] <= i) ++word;
      text += corpus.wordEnds[word] == i + 1 ? ' ' : '/';
    }
    text += '\n';
    start = end;
  }
  return text;
}
