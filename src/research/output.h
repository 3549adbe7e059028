// Output files that appear whole or not at all.
//
// An OutputFile collects its text in memory; commit() writes it to a
// temporary file beside the target and renames it over the target, so a
// failed or interrupted run leaves any earlier file as it was and never a
// truncated one. An OutputFile destroyed without commit writes nothing. The
// path "-" is standard output, written at commit. While a temporary file
// exists, SIGINT, SIGTERM and SIGHUP remove it before the process ends.
#ifndef SYLLEX_RESEARCH_OUTPUT_H_
#define SYLLEX_RESEARCH_OUTPUT_H_

#include <sstream>
#include <stdexcept>
#include <string>

// An output that could not be written: what() names the file and the reason.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OutputFile {
 public:
  explicit OutputFile(std::string path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::string& text() { return text_; }
  const std::string& path() const { return path_; }
  // Throws OutputError; the target is then left as it was.
  void commit();

 private:
  std::string path_;
  std::string text_;
};

// Writes text to the path at once, as an OutputFile would.
void writeOutput(const std::string& path, const std::string& text);

// %.17g, the shortest form that reads back as the same double for most
// values; "nan" for any NaN, "inf" and "-inf".
std::string exactNumber(double value);
// A JSON string literal.
std::string jsonString(const std::string& text);

#endif  // SYLLEX_RESEARCH_OUTPUT_H_
