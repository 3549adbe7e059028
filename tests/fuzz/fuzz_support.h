// Shared by the fuzz targets: a silent std::cout, a private scratch folder and
// a check that aborts, so that libFuzzer records the input that broke it.
#ifndef SYLLEX_TESTS_FUZZ_FUZZ_SUPPORT_H_
#define SYLLEX_TESTS_FUZZ_FUZZ_SUPPORT_H_

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

namespace fuzz {

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The engine writes its progress bar and messages to std::cout; they would
// bury libFuzzer's own report.
inline void silenceCout() {
  static NullBuffer buffer;
  std::cout.rdbuf(&buffer);
}

inline void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Never destroyed, so that the exit handler can still read them.
inline std::string& scratchFolder() {
  static std::string* folder = new std::string;
  return *folder;
}
inline std::vector<std::string>& scratchFiles() {
  static std::vector<std::string>* files = new std::vector<std::string>;
  return *files;
}

inline void removeScratch() {
  for (const std::string& file : scratchFiles()) ::unlink(file.c_str());
  ::rmdir(scratchFolder().c_str());
}

// Absolute path of a file in a folder of this process's own. Absolute rather
// than a chdir: libFuzzer writes its crash files to the working folder.
inline std::string scratchPath(const std::string& name) {
  std::string& folder = scratchFolder();
  if (folder.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/syllex-fuzz-XXXXXX";
    check(::mkdtemp(&pattern[0]) != nullptr, "mkdtemp");
    folder = pattern;
    std::atexit(removeScratch);
  }
  const std::string path = folder + "/" + name;
  scratchFiles().push_back(path);
  return path;
}

inline void writeFile(const std::string& path, const void* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  check(file != nullptr, "cannot create a scratch file");
  check(std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0,
        "cannot write a scratch file");
}

}  // namespace fuzz

#endif  // SYLLEX_TESTS_FUZZ_FUZZ_SUPPORT_H_
