// Reading the learner's input files: lines and number lines.
#ifndef SYLLEX_MODEL_TEXT_FILE_H_
#define SYLLEX_MODEL_TEXT_FILE_H_

#include <istream>
#include <string>

// Hands out the lines of a text stream one at a time. A line ends at a line
// feed, and a carriage return just before it belongs to the end of line. A
// read that starts at the end of the stream yields the empty text; once a read
// has reached the end, every further read yields that read's text again, so a
// file with too few lines reads as empty lines, or as repeats of a last line
// that has no line feed.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in) {}

  const std::string& next();
  bool atEnd() const { return atEnd_; }

 private:
  std::istream& in_;
  std::string line_;
  bool atEnd_ = false;
};

// The leading decimal integer of a line: white space skipped, an optional sign,
// then digits; anything after them is ignored. 0 when the line does not start
// that way; values beyond 32 bits are clamped.
int parseNumberLine(const std::string& line);

// True when the name is a folder: it opens as a stream here but yields no text.
bool isFolder(const std::string& name);

#endif  // SYLLEX_MODEL_TEXT_FILE_H_
