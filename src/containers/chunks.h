// Chunks: the lexicon, a table of 10000 chunk records indexed by chunk id.
//
// Ids 1 to lastChunk - 1 are in use, handed out in increasing order and never
// reused; entry 0 is never a chunk and keeps its empty text. A terminal chunk
// stands for one syllable (its text, closing "/" included); a composite chunk
// for two earlier chunks, so its children always have smaller ids. No two
// entries share a text (terminals) or a pair of children (composites).
// Deleting only marks an entry; addChunk can revive it under the same id.
#ifndef SYLLEX_CONTAINERS_CHUNKS_H_
#define SYLLEX_CONTAINERS_CHUNKS_H_

#include <memory>
#include <string>

#include "containers/int_list.h"

struct Chunk {
  int idChild1 = 0;
  int idChild2 = 0;
  std::string syllable;
  bool isTerminal = false;
  int frequency = 1;
  double codelength = 0.0;
  bool isDeleted = false;
};

class Chunks {
 public:
  static constexpr int kSize = 10000;

  Chunks();
  Chunks(const Chunks&) = delete;
  Chunks& operator=(const Chunks&) = delete;

  // The id of the terminal chunk with this text, created if none has it.
  // -1 when the table is full.
  int addCanonical(std::string text);
  // The id of the chunk with these children, revived if deleted, created if
  // none has them. 0 when an id is impossible or the table is full.
  int addChunk(int c1, int c2);
  // A new list of the chunk's terminal ids in reading order.
  IntList getCanonicalDefinition(int id) const;
  std::string getSyllables(int id) const;
  // Entries 1 to lastChunk - 1 with exactly these children, deleted included.
  int countCoocc(int c1, int c2) const;
  // Fills priority[1 .. lastChunk - 1] by increasing codelength (ties to the
  // lower id) and overwrites the codelength of every selected chunk with
  // 10001.0: callers recompute codelengths before reading any.
  void updateChunkPriority();

  std::string toString() const;
  std::string toString3() const;
  std::string toString4() const;
  std::string toString5() const;

  std::unique_ptr<Chunk[]> chunks;
  int lastChunk;
  std::unique_ptr<int[]> priority;

 private:
  // Reports a refused creation; only the first refusal of a run is written.
  void reportFull();

  bool fullReported_ = false;
};

#endif  // SYLLEX_CONTAINERS_CHUNKS_H_
