// System: the whole learner of one run.
//
// Owns the chunk table, the three id lists (stimuli memory, focus, input
// stream) and the target items. The input stream holds one id per syllable
// and the boundary marker 0, oldest at its last end; the focus reads the same
// way and never spans a boundary. Frequencies and codelengths are a cache that
// updateCodelengths rebuilds from the stimuli memory and the live composite
// chunks; every decision that reads them refreshes it first.
#ifndef SYLLEX_MODEL_SYSTEM_H_
#define SYLLEX_MODEL_SYSTEM_H_

#include <string>

#include "containers/chunks.h"
#include "containers/int_list.h"
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
  void loadFocusToStimuliChunks();
  void removeChunksExceedingSimuliChunksSize();
  void deleteUnusedChunks();
  void updateProgressbar();

  // Reports.
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

 private:
  // Writes the bar up to the position that the counters give.
  void drawProgressbar();
  std::string traceWith(int stepNumber, double gain, const std::string& chunkListing);
};

#endif  // SYLLEX_MODEL_SYSTEM_H_
