#include "commands/command_line.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <new>

#include "research/corpus.h"
#include "research/output.h"

namespace {
std::string name = "syllex";
}  // namespace

const std::string& commandName() { return name; }

void warn(const std::string& message) { std::cerr << name << ": " << message << '\n'; }

void setUpCommand(CLI::App& app, const std::string& description) {
  name = app.get_name();
  app.description(description);
  app.set_version_flag("--version", name + " " SYLLEX_VERSION);
  app.option_defaults()->always_capture_default();
}

int runCommand(CLI::App& app, int argc, char** argv, const std::function<int()>& body) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    warn(e.what());
    std::cerr << "Run '" << name << " --help' for the options.\n";
    return 2;
  }
  try {
    return body();
  } catch (const UsageError& e) {
    warn(e.what());
    std::cerr << "Run '" << name << " --help' for the options.\n";
    return 2;
  } catch (const InputError& e) {
    warn(e.what());
  } catch (const OutputError& e) {
    warn(e.what());
  } catch (const std::bad_alloc&) {
    warn("out of memory");
  }
  return 1;
}

PrefixedMessages::PrefixedMessages() : stream_(&buffer_) {}

PrefixedMessages::~PrefixedMessages() {
  if (!buffer_.line.empty()) buffer_.flushLine();
}

int PrefixedMessages::Buffer::overflow(int c) {
  if (c == traits_type::eof()) return traits_type::not_eof(c);
  if (c == '\n') {
    flushLine();
  } else {
    line += static_cast<char>(c);
  }
  return c;
}

void PrefixedMessages::Buffer::flushLine() {
  std::cerr << name << ": " << line << '\n';
  line.clear();
}

namespace {
double now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

ProgressBar::ProgressBar(bool wanted) : shown_(wanted && ::isatty(STDERR_FILENO)), start_(now()) {}

ProgressBar::~ProgressBar() {
  if (drawn_) std::fprintf(stderr, "\r\033[K");
}

void ProgressBar::update(long done, long total) {
  if (!shown_ || total <= 0) return;
  const double t = now();
  if (last_ >= 0 && t - last_ < 0.1 && done < total) return;
  last_ = t;
  drawn_ = true;
  const double elapsed = t - start_;
  const double rate = elapsed > 0 ? done / elapsed : 0.0;
  const double left = rate > 0 ? (total - done) / rate : 0.0;
  const int width = 30;
  const int filled = static_cast<int>(static_cast<double>(done) / total * width);
  std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%  %.0f syllables/s  %.0f s left\033[K", name.c_str(),
               filled, "##############################", width - filled, "",
               static_cast<int>(100.0 * done / total), rate, left);
  std::fflush(stderr);
}
