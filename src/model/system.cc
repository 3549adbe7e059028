#include "model/system.h"

#include <fstream>
#include <iostream>

#include "containers/messages.h"
#include "model/text_file.h"

namespace {
// Target-item counts beyond this cannot come from a sensible parameter file.
constexpr int kMaxTargetItems = 10000;
}  // namespace

System::System()
    : focusSizeMax(25),
      stimuliChunksSizeMax(150.0),
      resultFileMode(1),
      stimuliChunks(10),
      focus(10),
      inputStream(10),
      counts_(chunks, listingOrder_, deletionCandidates_),
      matcher_(chunks, counts_) {}

void System::loadParametersFromFile(std::string fileName) {
  std::ifstream file;
  if (!isFolder(fileName)) file.open(fileName);
  if (!file.is_open()) {
    engineMessages() << "ERREUR : impossible d'ouvrir le fichier des parametres en lecture" << '\n';
    return;
  }
  LineReader reader(file);
  reader.next();
  resultFileMode = parseNumberLine(reader.next());
  reader.next();
  reader.next();
  stimuliChunksSizeMax = parseNumberLine(reader.next());
  focusSizeMax = parseNumberLine(reader.next());
  for (int line = 7; line <= 14; ++line) reader.next();
  const int count = parseNumberLine(reader.next());
  if (count < 0 || count > kMaxTargetItems) {
    engineMessages() << "ERREUR : nombre d'items cibles impossible : " << count << '\n';
    return;
  }
  specialItems.buildSpecialItems(count);
  for (int i = 0; i < count; ++i) specialItems.itemArray[i].name = reader.next();
}

std::string System::readInputFromFile(std::string fileName) const {
  std::string text;
  std::ifstream file;
  if (!isFolder(fileName)) file.open(fileName);
  if (!file.is_open()) {
    engineMessages() << "ERREUR : impossible d'ouvrir le fichier en lecture" << '\n';
    return text;
  }
  LineReader reader(file);
  while (!reader.atEnd()) text += reader.next();
  return text;
}

void System::loadInputFromString(std::string text) {
  processedSyllables = 0;
  processedCharacters = 0;
  progressbarPosition = 0;
  bool afterBoundary = true;
  size_t start = 0;
  for (size_t slash = text.find('/'); slash != std::string::npos; slash = text.find('/', start)) {
    if (slash > start) {
      const int id = chunks.addCanonical(text.substr(start, slash + 1 - start));
      if (id >= 0) {
        inputStream.addFirst(id);
        afterBoundary = false;
      }
    } else if (!afterBoundary) {
      inputStream.addFirst(0);
      afterBoundary = true;
    }
    start = slash + 1;
  }
  inputSize = inputStream.getSize();
  specialItems.buildAllSpecialItems(inputSize);
  updateCodelengths();  // starts the kept counts
}
