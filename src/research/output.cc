#include "research/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The temporary files in existence, for the signal handler. A fixed table of
// fixed buffers keeps the handler free of allocation.
constexpr int kSlots = 64;
constexpr size_t kPathSize = 4096;
char pending[kSlots][kPathSize];
std::atomic<bool> used[kSlots];
std::once_flag handlersInstalled;

void removePending(int signalNumber) {
  for (int i = 0; i < kSlots; ++i) {
    if (used[i].load()) ::unlink(pending[i]);
  }
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

int track(const std::string& path) {
  std::call_once(handlersInstalled, [] {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) std::signal(signalNumber, removePending);
  });
  if (path.size() >= kPathSize) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (used[i].compare_exchange_strong(expected, true)) {
      std::memcpy(pending[i], path.c_str(), path.size() + 1);
      return i;
    }
  }
  return -1;
}

void untrack(int slot) {
  if (slot >= 0) used[slot].store(false);
}

bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

[[noreturn]] void fail(const std::string& path, int error) {
  throw OutputError(path + ": cannot write: " + std::strerror(error));
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {}

void OutputFile::commit() {
  if (path_ == "-") {
    if (!writeAll(STDOUT_FILENO, text_)) fail("standard output", errno);
    return;
  }
  // A device, a pipe or a terminal (/dev/null, /dev/stdout) is written in
  // place: renaming over it would replace it with a plain file.
  struct stat status;
  if (::stat(path_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    if (S_ISDIR(status.st_mode)) fail(path_, EISDIR);
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) fail(path_, errno);
    const bool written = writeAll(fd, text_);
    const int error = errno;
    if (::close(fd) != 0 || !written) fail(path_, written ? errno : error);
    return;
  }
  // Through a link to a file, the file is replaced and the link kept.
  std::string target = path_;
  if (char* real = ::realpath(path_.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  std::string temporary = target + ".XXXXXX";
  const size_t slash = target.rfind('/');
  temporary.insert(slash == std::string::npos ? 0 : slash + 1, ".");
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) fail(path_, errno);
  const int slot = track(name.data());
  // mkstemp makes the file private; give it the mode a new file would have.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  const bool written = writeAll(fd, text_);
  const int error = errno;
  if (::close(fd) != 0 || !written || ::rename(name.data(), target.c_str()) != 0) {
    const int reason = written ? errno : error;
    ::unlink(name.data());
    untrack(slot);
    fail(path_, reason);
  }
  untrack(slot);
}

void writeOutput(const std::string& path, const std::string& text) {
  OutputFile file(path);
  file.text() = text;
  file.commit();
}

std::string exactNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}
