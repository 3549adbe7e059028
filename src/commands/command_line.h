// What every research command shares: option parsing with CLI11, exit codes
// and messages in the habits of Unix tools.
//
// Exit codes: 0 success; 1 unreadable or malformed input, or an output that
// cannot be written (InputError, OutputError); 2 a usage error, with a
// one-line hint. Messages go to standard error, prefixed with the command's
// name; --help and --version print to standard output.
#ifndef SYLLEX_COMMANDS_COMMAND_LINE_H_
#define SYLLEX_COMMANDS_COMMAND_LINE_H_

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

// Sets the command's name, description and --version flag.
void setUpCommand(CLI::App& app, const std::string& description);

// Parses the arguments, then runs body, whose return value becomes the exit
// code; errors become messages and exit codes as above.
int runCommand(CLI::App& app, int argc, char** argv, const std::function<int()>& body);

// A usage error found after parsing (conflicting options, say): exit 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A stream that writes each line it receives to standard error as
// "NAME: line", for the engine's messages.
class PrefixedMessages {
 public:
  PrefixedMessages();
  ~PrefixedMessages();  // a last line without its end still goes out
  std::ostream& stream() { return stream_; }

 private:
  class Buffer : public std::streambuf {
   public:
    int overflow(int c) override;
    void flushLine();
    std::string line;
  };
  Buffer buffer_;
  std::ostream stream_;
};

// A progress bar on standard error (percent, rate, time left), drawn only
// when standard error is a terminal, at most ten times a second.
class ProgressBar {
 public:
  explicit ProgressBar(bool wanted);
  ~ProgressBar();  // clears the bar's line
  void update(long done, long total);

 private:
  bool shown_;
  bool drawn_ = false;
  double start_;
  double last_ = -1.0;
};

// Writes "NAME: message" to standard error.
void warn(const std::string& message);
const std::string& commandName();

#endif  // SYLLEX_COMMANDS_COMMAND_LINE_H_
