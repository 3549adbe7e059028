// Helpers shared by the unit tests.
#ifndef SYLLEX_TESTS_TEST_UTIL_H_
#define SYLLEX_TESTS_TEST_UTIL_H_

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "containers/int_list.h"

// Captures what std::cout receives while it lives.
class CoutCapture {
 public:
  CoutCapture() : old_(std::cout.rdbuf(text_.rdbuf())) {}
  ~CoutCapture() { std::cout.rdbuf(old_); }
  std::string str() const { return text_.str(); }

 private:
  std::ostringstream text_;
  std::streambuf* old_;
};

// The whole content of a file, or the empty text if it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The elements of a list in reading order, oldest first.
inline std::vector<int> readList(const IntList& list) {
  std::vector<int> ids;
  for (int i = list.last - 1; i >= list.first; --i) ids.push_back(list.items[i]);
  return ids;
}

// Fills an empty list so that it reads ids in the given order, oldest first.
inline void fillList(IntList& list, const std::vector<int>& ids) {
  for (int id : ids) list.addFirst(id);
}

#endif  // SYLLEX_TESTS_TEST_UTIL_H_
