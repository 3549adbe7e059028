// System: the whole learner of one run.
//
// Owns the chunk table, the three id lists (stimuli memory, focus, input
// stream) and the target items. The input stream holds one id per syllable
// and the boundary marker 0, oldest at its last end; the focus reads the same
// way and never spans a boundary.
//
// The learning step never recounts: KeptCounts keeps the frequencies in step
// with every change that System's operations make to the memory and the table
// and gives codelengths with the very expression of a full recount,
// DeletionCandidates holds the chunks that may have lost their last use, and
// FocusMatcher factorizes the focus as it grows. updateCodelengths is the full
// recount: it rewrites the frequency and codelength fields and resets the kept
// counts. Code that writes fields or lists directly must call it before using
// System again. Each public operation that the step also performs recounts,
// then runs the step's own version, so that the two cannot drift apart.
#ifndef SYLLEX_MODEL_SYSTEM_H_
#define SYLLEX_MODEL_SYSTEM_H_

#include <string>
#include <vector>

#include "containers/chunks.h"
#include "containers/int_list.h"
#include "model/deletion_candidates.h"
#include "model/focus_matcher.h"
#include "model/kept_counts.h"
#include "reports/frequency_order.h"
#include "reports/special_item.h"

class System {
 public:
  System();
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  // Input files and loading.
  void loadParametersFromFile(std::string fileName);
  std::string readInputFromFile(std::string fileName) const;
  void loadInputFromString(std::string text);

  // Codelengths and memory sizes. updateCodelengths returns the total T.
  int updateCodelengths();
  double getStimuliChunksSize();
  double getFocusSize();

  // Focusing: true when the input is exhausted.
  bool focusing();
  void factorizeFocus();

  // Chunk creation: the gain of the focus's two oldest elements, or -1.0.
  double optimize();
  double gainForChunk(int a, int b);

  // The learning step: true when the input is exhausted and nothing ran.
  bool processOneStep(int displayMode, int stepNumber);
  // processOneStep in two halves, for callers that watch each step: beginStep
  // runs it up to the move of the focus's oldest element into the memory
  // (false, with nothing done, when the input is exhausted) and leaves the
  // focus as the step decided it; endStep makes the move.
  bool beginStep(int displayMode, int stepNumber);
  void endStep();
  void loadFocusToStimuliChunks();
  void removeChunksExceedingSimuliChunksSize();
  void deleteUnusedChunks();
  void updateProgressbar();

  // Reports.
  // The highest live chunk whose text is the name (each syllable closed by
  // "/"), whose codelength a target item of that name records; 0 if none.
  int liveChunkNamed(const std::string& name) const;
  void updateSpecialItems();
  void updateSpecialItemsForNSteps();
  void writeTimeCourseToFile(std::string fileName);
  void writeResultToFile(std::string fileName, int stepNumber);

  // Listings.
  std::string toString() const;
  std::string toString2() const;
  std::string toString3(int stepNumber, double gain);
  std::string toString5(int stepNumber, double gain);

  int focusSizeMax;
  double stimuliChunksSizeMax;
  int resultFileMode;
  int processedSyllables = 0;
  int processedCharacters = 0;
  int inputSize = 0;
  int progressbarPosition = 0;
  Chunks chunks;
  IntList stimuliChunks;
  IntList focus;
  IntList inputStream;
  SpecialItems specialItems;
  // Whether the progress bar is drawn to the engine's messages.
  bool drawsProgressbar = true;
  // What the last step's chunk creation did: its gain (-1.0 when the focus
  // held one element), and the chunk it created or revived (0 if none).
  double lastGain = -1.0;
  int lastCreated = 0;
  bool lastRevived = false;

  // The stimuli memory's size from the kept counts, without a recount.
  double memorySize() const { return sizeOf(stimuliChunks); }
  // A chunk's codelength from the kept counts, 10000 for a deleted one.
  double currentCodelength(int id) const { return codelengthOf(id); }

 private:
  friend class SystemInspector;  // tests compare the kept counts with recounts

  // The learning step's own versions of the public operations: they read the
  // kept counts instead of recounting, and the public ones recount, then call
  // them.
  bool fillFocus();
  void layOutFocus();
  // The syllable at a raw position of the input stream, 0 being the oldest.
  int rawSyllable(int position) const { return inputStream.items[inputStream.last - 1 - position]; }
  double createChunk();
  double gainOf(int a, int b) const;
  void trimStimuli();
  bool memoryExceedsCapacity() const;
  void deleteUnused();
  void refreshCodelengths();

  double codelengthOf(int id) const { return counts_.codelength(id); }
  double sizeOf(const IntList& list) const;

  // Target items: the definition each name spells, resolved once.
  void resolveSpecialItems();
  double specialItemValue(int item);
  int trieNodeOf(const std::vector<int>& definition) const;  // -1 when no chunk continues it
  double valueAtNode(int node) const;
  int liveChunkAtNode(int node) const;  // 0 if none
  // The syllable ids a name spells; empty when it spells no run of known
  // syllables.
  std::vector<int> spellName(const std::string& name) const;

  // Refreshes the codelength fields and the priority order for a listing;
  // returns the number of live chunks.
  int prepareLexiconListing();
  // Writes the lexicon listing so prepared into buffer from position used;
  // returns the new end (bytes past it are scratch).
  size_t writeLexicon(std::string& buffer, size_t used) const;

  // Writes the bar up to the position that the counters give.
  void drawProgressbar();
  std::string traceWith(int stepNumber, double gain, const std::string& chunkListing);

  FrequencyOrder listingOrder_;
  DeletionCandidates deletionCandidates_;
  KeptCounts counts_;
  FocusMatcher matcher_;
  bool listingFromGroups_ = false;
  std::string resultBuffer_;  // kept from step to step: it only grows
  bool itemsResolved_ = false;
  std::vector<std::vector<int>> itemDefinitions_;
  std::vector<int> itemNodes_;
};

#endif  // SYLLEX_MODEL_SYSTEM_H_
