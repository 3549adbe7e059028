// Fuzzes a whole learning run: parameters, corpus, steps and both reports.
//
// Input layout: byte 0 picks the result-file mode (0, 1 or 2), byte 1 the
// stimuli capacity (-64 to 191 bits), byte 2 the focus capacity (-16 to 63
// bits), byte 3 the number of target items (0 to 3); then one line per item
// name; the rest is the corpus text. Missing bytes read as 0.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/system.h"

namespace {

// Enough for realistic corpora to finish while runs stay short.
constexpr int kMaxSteps = 300;
// A run must advance: this many complete steps in a row with no syllable
// consumed means it never will.
constexpr int kMaxIdleSteps = 16;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  int byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::string line() {
    std::string text;
    while (pos_ < size_ && data_[pos_] != '\n') text += static_cast<char>(data_[pos_++]);
    if (pos_ < size_) ++pos_;
    return text;
  }
  std::string rest() {
    std::string text(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
    pos_ = size_;
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The 15 fixed lines of a parameter file and the item names, from the header.
std::string parameterText(Input& input) {
  const int mode = input.byte() % 3;
  const int stimuliCapacity = input.byte() - 64;
  const int focusCapacity = input.byte() % 80 - 16;
  const int items = input.byte() % 4;
  std::string text = "fuzz run\n" + std::to_string(mode) + "\n\n\n";
  text += std::to_string(stimuliCapacity) + "  bits\n" + std::to_string(focusCapacity) + "\n";
  text += std::string(8, '\n') + std::to_string(items) + "\n";
  for (int i = 0; i < items; ++i) text += input.line() + "\n";
  return text;
}

void checkSlots(const IntList& list) {
  fuzz::check(0 <= list.first && list.first <= list.last && list.last <= list.lastIndexMax,
              "list ends out of order");
  for (int i = 0; i < list.lastIndexMax; ++i) {
    if (i < list.first || i >= list.last) fuzz::check(list.items[i] == -1, "stale slot");
  }
}

// Every id in a chunk slot names a chunk: the memory holds live chunks only (a
// use keeps a chunk alive), the input stream syllables and boundary markers.
void checkIds(const System& system) {
  const Chunks& chunks = system.chunks;
  const IntList& stimuli = system.stimuliChunks;
  for (int i = stimuli.first; i < stimuli.last; ++i) {
    const int id = stimuli.items[i];
    fuzz::check(id >= 1 && id < chunks.lastChunk, "stimuli hold a non-chunk");
    fuzz::check(!chunks.chunks[id].isDeleted, "stimuli hold a deleted chunk");
  }
  const IntList& input = system.inputStream;
  for (int i = input.first; i < input.last; ++i) {
    const int id = input.items[i];
    fuzz::check(id >= 0 && id < chunks.lastChunk, "input stream holds a non-chunk");
    fuzz::check(id == 0 || chunks.chunks[id].isTerminal, "input stream holds a composite");
  }
}

void checkState(const System& system) {
  checkSlots(system.stimuliChunks);
  checkSlots(system.focus);
  checkSlots(system.inputStream);
  const int lastChunk = system.chunks.lastChunk;
  fuzz::check(lastChunk >= 1 && lastChunk <= 10000, "lastChunk out of 1..10000");
  checkIds(system);
}

void learn(System& system) {
  int idle = 0;
  for (int step = 1; step <= kMaxSteps; ++step) {
    const int before = system.inputStream.getSize();
    if (system.processOneStep(0, step)) return;
    idle = system.inputStream.getSize() < before ? 0 : idle + 1;
    fuzz::check(idle < kMaxIdleSteps, "steps consume nothing");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::silenceCout();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string parameters = fuzz::scratchPath("param03.tmp");
  static const std::string result = fuzz::scratchPath("result03.tmp");
  static const std::string curves = fuzz::scratchPath("graph03.tmp");
  Input input(data, size);
  const std::string text = parameterText(input);
  fuzz::writeFile(parameters, text.data(), text.size());

  System system;
  system.loadParametersFromFile(parameters);
  system.loadInputFromString(input.rest());
  learn(system);
  system.writeResultToFile(result, 1);
  system.writeTimeCourseToFile(curves);
  checkState(system);
  // The curves file is appended to by every run.
  ::unlink(curves.c_str());
  return 0;
}
