// Text listings of the lists, the chunk table and the learner.
#include <sstream>

#include "model/system.h"

std::string IntList::toString() const {
  std::ostringstream out;
  out << "(empty : " << lastIndexMax - last << ")      ";
  for (int i = last - 1; i >= first; --i) out << items[i] << "  ";
  out << "    (empty : " << first << ")\n";
  return out.str();
}

std::string IntList::toString2() const {
  std::ostringstream out;
  for (int i = lastIndexMax - 1; i >= 0; --i) out << items[i] << "  ";
  out << "L=" << last << " ; F=" << first;
  return out.str();
}

std::string IntList::toString3() const {
  std::ostringstream out;
  for (int i = last - 1; i >= first; --i) out << items[i] << "  ";
  return out.str();
}

std::string Chunks::toString() const {
  std::ostringstream out;
  for (int id = 1; id < lastChunk; ++id) {
    const Chunk& chunk = chunks[id];
    out << "[" << id << "]  :  " << getSyllables(id) << "    " << chunk.frequency << "  "
        << chunk.idChild1 << "  " << chunk.idChild2 << "  " << chunk.codelength << "\n";
  }
  return out.str();
}

namespace {
void appendChunkLine(std::ostringstream& out, const Chunks& table, int id) {
  const Chunk& chunk = table.chunks[id];
  out << "[" << id << "]  :  " << table.getSyllables(id) << "\t\t\t" << chunk.idChild1 << " + "
      << chunk.idChild2 << "\t\t(" << chunk.frequency << ")   " << chunk.codelength << "\n";
}
}  // namespace

std::string Chunks::toString3() const {
  std::ostringstream out;
  for (int id = 1; id < lastChunk; ++id) {
    if (!chunks[id].isDeleted) appendChunkLine(out, *this, id);
  }
  return out.str();
}

std::string Chunks::toString5() const {
  std::ostringstream out;
  for (int position = 1; position < lastChunk; ++position) {
    const int id = priority[position];
    if (!chunks[id].isDeleted) appendChunkLine(out, *this, id);
  }
  return out.str();
}

std::string System::toString() const {
  return "\n          CHUNKS:\n" + chunks.toString() + "\n          STIMULI | CHUNKS:\n" +
         stimuliChunks.toString() + "\n          FOCUS:\n" + focus.toString() +
         "\n          INPUT STREAM:\n" + inputStream.toString();
}

std::string System::toString2() const {
  return "\n          CHUNKS:\n" + chunks.toString() + "\n          STIMULI | CHUNKS:\n" +
         stimuliChunks.toString2() + "\n          FOCUS:\n" + focus.toString2() +
         "\n          INPUT STREAM:\n" + inputStream.toString2();
}

std::string System::toString3(int stepNumber, double gain) {
  return traceWith(stepNumber, gain, chunks.toString3());
}

std::string System::toString5(int stepNumber, double gain) {
  return traceWith(stepNumber, gain, chunks.toString5());
}

std::string System::traceWith(int stepNumber, double gain, const std::string& chunkListing) {
  std::ostringstream out;
  out << std::string(69, '#') << " ITERATION : " << stepNumber << "\n\n";
  out << "\n          STIMULI | CHUNKS:\t\t" << stimuliChunks.toString3() << "\t\t("
      << getStimuliChunksSize() << " bits)";
  out << "\n          CHUNKS:\n" << chunkListing;
  // Slots next to the elements hold -1, which is what an absent element shows.
  const int oldest = focus.items[focus.last - 1 < 0 ? 0 : focus.last - 1];
  const int second = focus.last - 2 >= 0 ? focus.items[focus.last - 2] : -1;
  if (gain > 0) {
    const Chunk& chunk = chunks.chunks[oldest];
    out << "\n>>> new chunk [" << oldest << "] = " << chunk.idChild1 << " + " << chunk.idChild2
        << " decreases system size by " << gain << " bits.\n\n";
  } else {
    out << "\n>>> new chunk = " << oldest << " + " << second
        << " does not decrease system size (increase = " << -gain << " bits).\n\n";
  }
  out << "          FOCUS:\t\t" << focus.toString3() << "\t\t(" << getFocusSize() << " bits)";
  out << "\n          INPUT STREAM:\t\t" << inputStream.toString3();
  return out.str();
}
