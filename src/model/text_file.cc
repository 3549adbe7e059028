#include "model/text_file.h"

#include <sys/stat.h>

#include <climits>

const std::string& LineReader::next() {
  if (atEnd_) return line_;
  std::getline(in_, line_);
  // A read error ends the file too, or a caller reading to the end would wait
  // forever for an end that never comes.
  if (in_.eof() || in_.fail()) {
    atEnd_ = true;
  } else if (!line_.empty() && line_.back() == '\r') {
    line_.pop_back();
  }
  return line_;
}

int parseNumberLine(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  if (i >= line.size() || line[i] < '0' || line[i] > '9') return 0;
  long long value = 0;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > limit) value = limit;
  }
  return static_cast<int>(negative ? -value : value);
}

bool isFolder(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
