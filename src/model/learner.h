// Learner: the engine as a library, for programs built on it.
//
// A Learner is one learning run: parameters given in code, one corpus in the
// learner's input format, then steps until the input is exhausted. It writes
// no file and nothing to standard output: the engine's messages go to the
// stream given at construction, and the progress bar is drawn there only when
// asked for. The fixed-file program is the one caller that asks for files
// (loadParameterFile, writeFixedReports).
//
// Ids are chunk ids of the engine's table: the syllables of the corpus are
// ids 1, 2, ... in the order they first occur, composites follow. A Learner is
// used by one thread at a time; learners on different threads are independent.
#ifndef SYLLEX_MODEL_LEARNER_H_
#define SYLLEX_MODEL_LEARNER_H_

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class System;

struct LearnerParameters {
  int memory = 150;  // capacity of the stimuli memory, in bits
  int focus = 25;    // capacity of the focus, in bits
  // Target words in the input format, each syllable closed by "/" (kI/ti/).
  std::vector<std::string> targets;
};

// What one learning step did.
struct StepRecord {
  int number = 0;          // 1 for the first step
  std::vector<int> focus;  // the focus as the step decided it, oldest first
  int consumed = 0;        // focus[0], which the step moved into the memory
  double gain = -1.0;      // of merging focus[0] and focus[1]; -1 with one element
  int created = 0;         // the chunk created or revived, 0 if none
  bool revived = false;
  bool utteranceEnd = false;  // a boundary or the end of the input follows
};

struct LexiconEntry {
  int id = 0;
  std::string text;  // syllables each closed by "/"
  double codelength = 0.0;
  int frequency = 0;
  int syllables = 0;
};

struct TargetCurve {
  std::string name;
  std::vector<double> blocks;  // the completed blocks' means, at most 10
};

class Learner {
 public:
  // The fixed program's defaults (result file mode 1, 150 and 25 bits), for
  // loadParameterFile to change.
  explicit Learner(std::ostream& messages);
  Learner(const LearnerParameters& parameters, std::ostream& messages);
  ~Learner();
  Learner(const Learner&) = delete;
  Learner& operator=(const Learner&) = delete;

  // Draws the 80-character bar of "_" to the messages as learning advances.
  void showProgressbar(bool shown);

  // The fixed program's files: param03.tmp's format, and the corpus read line
  // by line with its lines joined. Failures are reported to the messages.
  void loadParameterFile(const std::string& path);
  void loadCorpusFile(const std::string& path);
  // Writes the final result file if the parameter file asked for it, then
  // appends the curves.
  void writeFixedReports(const std::string& resultFile, const std::string& curvesFile);

  // Loads the corpus text (lines already joined). Call once, before stepping.
  void loadCorpus(const std::string& text);

  // Runs one step; false, with nothing done, once the input is exhausted.
  // The record may be null.
  bool step(StepRecord* record);
  void run();
  int steps() const { return steps_; }
  int consumedSyllables() const;
  // Once the input is exhausted: the syllables that no step consumed, as the
  // last focus factorized them, oldest first.
  std::vector<int> leftover() const;

  // The live chunks in the priority order: codelength increasing, ties to
  // the lower id.
  std::vector<LexiconEntry> lexicon() const;
  std::vector<TargetCurve> curves() const;
  // Factorizes a run of syllable ids as the focus is factorized, with no
  // capacity: every live chunk in priority order replaces its occurrences,
  // newest first, among the ids not yet replaced. Returns the pieces' ids.
  std::vector<int> factorize(const std::vector<int>& syllables) const;
  // The syllable id of a text such as "ka/", or -1 when it was never heard.
  int syllableId(const std::string& text) const;
  // The highest live chunk whose text is the name (kI/ti/), or 0: the chunk
  // whose codelength a target item of that name records (10 without one).
  int liveChunkId(const std::string& name) const;

  const std::string& text(int id) const;
  int syllableCount(int id) const;
  double codelength(int id) const;  // 10000 for a deleted chunk
  int chunkCount() const;           // ids handed out, deleted ones included
  int terminalCount() const;
  int liveCount() const;
  double memoryBits() const;  // the stimuli memory's size

  // Reads a parameter file of the fixed program into parameters (its result
  // file mode is not kept). Returns the engine's messages about the file: an
  // empty text when it was read without complaint.
  static std::string readParameterFile(const std::string& path, LearnerParameters* parameters);

 private:
  std::unique_ptr<System> system_;
  std::ostream* messages_;
  int steps_ = 0;
  bool exhausted_ = false;
};

#endif  // SYLLEX_MODEL_LEARNER_H_
