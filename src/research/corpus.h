// Corpus formats: reading the learner's input format, the gold format and the
// tagged format into one representation, and writing it back out.
//
// corpus: syllables each closed by "/", an empty field marking a boundary;
//   lines are joined with nothing between them (a carriage return before a
//   line feed belongs to the end of line), and a syllable left open at the end
//   is dropped, exactly as the learner reads its input. No word boundaries.
// gold: one utterance a line, words separated by blanks, the syllables of a
//   word by "/". Blank lines are skipped.
// tagged: one utterance a line, phones separated by blanks, ";esyll" after
//   each syllable and ";eword" after each word's last syllable. A syllable's
//   text is its phones joined with nothing between them.
//
// Blanks are space, tab, carriage return, vertical tab and form feed.
#ifndef SYLLEX_RESEARCH_CORPUS_H_
#define SYLLEX_RESEARCH_CORPUS_H_

#include <stdexcept>
#include <string>
#include <vector>

enum class Format { kCorpus, kGold, kTagged };

// "corpus", "gold", "tagged"; false when the name is none of them.
bool parseFormat(const std::string& name, Format* format);

// Bad input: the file's name, the 1-based line (0 when no line applies) and
// what is wrong. what() gives "FILE:LINE: message".
class InputError : public std::runtime_error {
 public:
  InputError(const std::string& file, int line, const std::string& message);
  const std::string& file() const { return file_; }
  int line() const { return line_; }
  const std::string& message() const { return message_; }

 private:
  std::string file_;
  int line_;
  std::string message_;
};

// Utterances of syllables, with word boundaries where the format marks them.
// Invariants: utteranceEnds and wordEnds increase strictly; the last of each
// equals syllables.size(); every utterance holds at least one syllable; every
// utterance end is a word end when hasWords(); syllables index inventory.
struct Corpus {
  std::vector<std::string> inventory;  // distinct syllables without "/", first occurrence first
  std::vector<int> syllables;          // indexes into inventory, in corpus order
  std::vector<size_t> utteranceEnds;   // one past each utterance's last syllable
  std::vector<size_t> wordEnds;        // one past each word's last syllable; empty for corpus
  std::vector<int> utteranceLines;     // the input line each utterance starts on
  // The learner's input may end without a boundary after its last utterance,
  // and the learner then treats that utterance's end differently: kept so
  // that the stream the learner hears is exactly the one read.
  bool lastUtteranceOpen = false;

  bool hasWords() const { return !syllables.empty() && !wordEnds.empty(); }
  size_t utteranceStart(size_t u) const { return u == 0 ? 0 : utteranceEnds[u - 1]; }
};

struct ReadOptions {
  // Refuse syllables that the gold format cannot hold (a blank in them).
  bool goldSyllablesOnly = false;
};

// Parses text in the given format; name is the file's name for messages.
// Throws InputError.
Corpus parseCorpus(const std::string& text, Format format, const std::string& name,
                   const ReadOptions& options = ReadOptions());

// The whole content of a file, "-" being standard input. Throws InputError
// (line 0) when it cannot be read.
std::string readInput(const std::string& path);

// The learner's input format: each utterance's syllables closed by "/", one
// more "/" at the end of the utterance (but after an open last utterance),
// one utterance a line.
std::string toCorpusText(const Corpus& corpus);
// The stream the learner hears: the corpus text with its lines joined (no
// syllable holds a line feed).
std::string learnerStream(const Corpus& corpus);
// The gold format; needs word boundaries (hasWords, or an empty corpus).
std::string toGoldText(const Corpus& corpus);

bool isBlank(char c);

#endif  // SYLLEX_RESEARCH_CORPUS_H_
