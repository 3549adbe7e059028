// The result file: one block per step, or the final lexicon.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "containers/messages.h"
#include "model/system.h"

namespace {

// Writes all of the text; false on any failure.
bool writeAll(int fd, const char* text, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t written = ::write(fd, text + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

void System::writeResultToFile(std::string fileName, int stepNumber) {
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  // Nothing has gone through the appending descriptor yet, so after this its
  // writes start at the beginning of the emptied file.
  if (stepNumber == 1) {
    const int truncating = ::open(fileName.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (truncating >= 0) ::close(truncating);
  }
  if (fd < 0) {
    engineMessages() << "ERREUR : impossible d'ouvrir le fichier de sortie en ecriture." << '\n';
    return;
  }
  std::string block;
  if (resultFileMode == 1) {
    block += " " + std::to_string(stepNumber) + " \n";
    block += " " + std::to_string(processedCharacters + 1) + " \n";
    drawProgressbar();
    std::string joined;
    for (int i = focus.last - 1; i >= focus.first; --i) {
      const std::string& text = chunks.text(focus.items[i]);
      block += " ";
      block += text;
      joined += text;
    }
    block += "  <------  " + joined + "\n";
    if (focus.getSize() > 0) {
      block += " " + std::to_string(chunks.definition(focus.oldest()).size()) + " \n";
      block += chunks.text(focus.oldest()) + "\n";
    } else {
      block += " 0 \n\n";
    }
  }
  block += " " + std::to_string(prepareLexiconListing()) + " \n";
  // The buffer only grows: its bytes past the end of this block are scratch.
  if (resultBuffer_.size() < block.size()) resultBuffer_.resize(2 * block.size());
  resultBuffer_.replace(0, block.size(), block);
  const size_t used = writeLexicon(resultBuffer_, block.size());
  const bool written = writeAll(fd, resultBuffer_.data(), used);
  if (::close(fd) != 0 || !written) {
    engineMessages() << "ERREUR : echec de l'ecriture du fichier de sortie." << '\n';
  }
}

size_t System::writeLexicon(std::string& buffer, size_t used) const {
  if (!listingFromGroups_) {
    const std::string listing = chunks.toString4();
    if (buffer.size() < used + listing.size()) buffer.resize(used + listing.size());
    buffer.replace(used, listing.size(), listing);
    return used + listing.size();
  }
  for (const auto& group : listingOrder_.groups()) {
    const std::vector<int>& ids = group.second;
    used = chunks.writeLexiconLines(buffer, used, ids.data(), ids.size(),
                                    chunks.chunks[ids.front()].codelength);
  }
  return used;
}

int System::prepareLexiconListing() {
  listingOrder_.update(chunks);
  // The groups give the order of increasing codelength as long as each group's
  // codelength exceeds the previous one's, which log2(T / f) does; should
  // rounding ever say otherwise, sort the plain way.
  listingFromGroups_ = true;
  int slot = 1;
  double previous = -std::numeric_limits<double>::infinity();
  for (const auto& group : listingOrder_.groups()) {
    const double codelength = codelengthOf(group.second.front());
    if (!(codelength > previous)) {
      listingFromGroups_ = false;
      refreshCodelengths();
      chunks.updateChunkPriority();
      refreshCodelengths();
      int live = 0;
      for (int id = 1; id < chunks.lastChunk; ++id) live += !chunks.chunks[id].isDeleted;
      return live;
    }
    previous = codelength;
    for (int id : group.second) {
      chunks.priority[slot++] = id;
      chunks.chunks[id].codelength = codelength;
    }
  }
  const int live = slot - 1;
  // Deleted chunks all read 10000 and follow in increasing id order.
  for (int id = 1; id < chunks.lastChunk; ++id) {
    if (chunks.chunks[id].isDeleted) chunks.priority[slot++] = id;
  }
  return live;
}

std::string Chunks::toString4() const {
  std::string listing;
  size_t used = 0;
  std::vector<int> run;  // consecutive live entries of one codelength
  double runCodelength = 0.0;
  for (int position = 1; position < lastChunk; ++position) {
    const int id = priority[position];
    if (chunks[id].isDeleted) continue;
    const double codelength = chunks[id].codelength;
    if (!run.empty() && std::memcmp(&codelength, &runCodelength, sizeof codelength) != 0) {
      used = writeLexiconLines(listing, used, run.data(), run.size(), runCodelength);
      run.clear();
    }
    run.push_back(id);
    runCodelength = codelength;
  }
  if (!run.empty()) used = writeLexiconLines(listing, used, run.data(), run.size(), runCodelength);
  listing.resize(used);
  return listing;
}

namespace {

// Copies a few bytes without a library call; dst needs 16 bytes of room.
inline void copyShort(char* dst, const char* src, size_t n) {
  if (n > 16) {
    std::memcpy(dst, src, n);
  } else if (n >= 8) {
    uint64_t head, tail;
    std::memcpy(&head, src, 8);
    std::memcpy(&tail, src + n - 8, 8);
    std::memcpy(dst, &head, 8);
    std::memcpy(dst + n - 8, &tail, 8);
  } else {
    for (size_t i = 0; i < n; ++i) dst[i] = src[i];
  }
}

}  // namespace

size_t Chunks::writeLexiconLines(std::string& buffer, size_t used, const int* ids, size_t count,
                                 double codelength) const {
  // %g is what a stream's default formatting of a double writes.
  char value[64];
  size_t valueLength =
      static_cast<size_t>(std::snprintf(value, sizeof value - 2, "%g", codelength));
  value[valueLength++] = ' ';
  value[valueLength++] = '\n';
  char* out = &buffer[0] + used;
  char* limit = &buffer[0] + buffer.size();
  for (size_t i = 0; i < count; ++i) {
    const std::string& text = texts_[ids[i]];
    // 16 bytes of slack for copyShort's wide stores.
    if (static_cast<size_t>(limit - out) < text.size() + 2 + valueLength + 16) {
      used = static_cast<size_t>(out - &buffer[0]);
      buffer.resize(2 * (used + text.size() + valueLength + 32));
      out = &buffer[0] + used;
      limit = &buffer[0] + buffer.size();
    }
    copyShort(out, text.data(), text.size());
    out += text.size();
    out[0] = '\n';
    out[1] = ' ';
    copyShort(out + 2, value, valueLength);
    out += 2 + valueLength;
  }
  used = static_cast<size_t>(out - &buffer[0]);
  return used;
}
