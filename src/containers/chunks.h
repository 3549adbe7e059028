// Chunks: the lexicon, a table of 10000 chunk records indexed by chunk id.
//
// Ids 1 to lastChunk - 1 are in use, handed out in increasing order and never
// reused; entry 0 is never a chunk and keeps its empty text. A terminal chunk
// stands for one syllable (its text, closing "/" included); a composite chunk
// for two earlier chunks, so its children always have smaller ids. No two
// entries share a text (terminals) or a pair of children (composites).
// Deleting only marks an entry; addChunk can revive it under the same id.
//
// The table indexes its entries by text and by pair of children, and keeps
// each chunk's definition and text, which never change once it exists; a trie
// of definitions finds the chunks that spell a given run of syllables. Entries
// must therefore be created through addCanonical and addChunk only.
#ifndef SYLLEX_CONTAINERS_CHUNKS_H_
#define SYLLEX_CONTAINERS_CHUNKS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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
  // The id of the terminal chunk with this text, or -1; changes nothing.
  int findTerminal(const std::string& text) const;
  // The id of the entry with these children, or -1; changes nothing.
  int findChunk(int c1, int c2) const;
  // Entries 1 to lastChunk - 1 with exactly these children, deleted included.
  int countCoocc(int c1, int c2) const;
  // Fills priority[1 .. lastChunk - 1] by increasing codelength (ties to the
  // lower id) and overwrites the codelength of every selected chunk with
  // 10001.0: callers recompute codelengths before reading any.
  void updateChunkPriority();

  std::string toString() const;
  std::string toString3() const;
  std::string toString4() const;
  // Writes the lexicon lines ("text\n codelength \n") of count ids that all
  // have this codelength into buffer from position used, and returns the new
  // end. The buffer only grows, so a caller can keep it from one listing to
  // the next; bytes past the returned end are scratch.
  size_t writeLexiconLines(std::string& buffer, size_t used, const int* ids, size_t count,
                           double codelength) const;
  std::string toString5() const;

  // The chunk's terminal ids in reading order, and its text, without copying.
  const std::vector<int>& definition(int id) const { return definitions_[id]; }
  const std::string& text(int id) const { return texts_[id]; }
  // Trie of definitions: node 0 is the empty run. childNode is -1 when no
  // chunk's definition extends the node's run by that syllable; nodeIds lists,
  // in increasing order, the chunks whose definition is exactly the run.
  int childNode(int node, int syllable) const;
  const std::vector<int>& nodeIds(int node) const { return nodeIds_[node]; }

  std::unique_ptr<Chunk[]> chunks;
  int lastChunk;
  std::unique_ptr<int[]> priority;

 private:
  static uint64_t key(int a, int b) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
  }
  // Records the new entry lastChunk in the indexes and caches.
  void index(int id);

  // Reports a refused creation; only the first refusal of a run is written.
  void reportFull();

  bool fullReported_ = false;
  int terminalCount_ = 0;
  std::unordered_map<std::string, int> byText_;
  std::unordered_map<uint64_t, int> byPair_;
  std::vector<std::vector<int>> definitions_;
  std::vector<std::string> texts_;
  std::unordered_map<uint64_t, int> trieChild_;
  std::vector<std::vector<int>> nodeIds_;
};

#endif  // SYLLEX_CONTAINERS_CHUNKS_H_
