// End-to-end: every folder under tests/fixtures/{reasoned,golden}/ is a case.
//
// A case holds the input files (param03.tmp, corpus.tmp, either may be absent),
// optionally before/ with output files left by an earlier run, optionally a
// file "runs" with the number of runs (default 1), and expected/ with the
// complete standard output of all runs ("stdout") and the files result03.tmp
// and graph03.tmp as they must end; a file absent from expected/ must not exist.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "test_util.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  for (const char* group : {"reasoned", "golden"}) {
    const fs::path dir = fs::path(SYLLEX_FIXTURES) / group;
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.is_directory())
        names.push_back(std::string(group) + "/" + entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

class EndToEnd : public testing::TestWithParam<std::string> {};

TEST_P(EndToEnd, OutputsMatchByteForByte) {
  const fs::path source = fs::path(SYLLEX_FIXTURES) / GetParam();
  const fs::path work =
      fs::temp_directory_path() /
      ("syllex_e2e_" + std::to_string(::getpid()) + "_" + source.parent_path().filename().string() +
       "_" + source.filename().string());
  fs::remove_all(work);
  fs::create_directories(work);
  for (const char* input : {"param03.tmp", "corpus.tmp"}) {
    if (fs::exists(source / input)) fs::copy_file(source / input, work / input);
  }
  if (fs::exists(source / "before")) {
    for (const auto& entry : fs::directory_iterator(source / "before")) {
      fs::copy_file(entry.path(), work / entry.path().filename());
    }
  }
  int runs = 1;
  if (fs::exists(source / "runs")) runs = std::stoi(readFile(source / "runs"));
  const std::string stdinFile =
      fs::exists(source / "stdin") ? (source / "stdin").string() : std::string("/dev/null");
  for (int run = 0; run < runs; ++run) {
    const std::string command =
        "cd '" + work.string() + "' && '" + SYLLEX_BIN + "' < '" + stdinFile + "' >> stdout.out";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  const fs::path expected = source / "expected";
  EXPECT_EQ(readFile(work / "stdout.out"), readFile(expected / "stdout")) << "standard output";
  for (const char* output : {"result03.tmp", "graph03.tmp"}) {
    if (fs::exists(expected / output)) {
      ASSERT_TRUE(fs::exists(work / output)) << output << " was not written";
      EXPECT_EQ(readFile(work / output), readFile(expected / output)) << output;
    } else {
      EXPECT_FALSE(fs::exists(work / output)) << output << " should not exist";
    }
  }
  if (!HasFailure()) fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EndToEnd, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
