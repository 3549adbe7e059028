// The result file: one block per step, or the final lexicon.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "model/system.h"

void System::writeResultToFile(std::string fileName, int stepNumber) {
  std::ofstream file(fileName, std::ios::app);
  // The appending stream has written nothing yet, so after this its writes
  // start at the beginning of the emptied file.
  if (stepNumber == 1) std::ofstream(fileName, std::ios::trunc).close();
  if (!file.is_open()) {
    std::cout << "ERREUR : impossible d'ouvrir le fichier de sortie en ecriture." << '\n';
    return;
  }
  std::ostringstream block;
  if (resultFileMode == 1) {
    block << " " << stepNumber << " \n";
    block << " " << processedCharacters + 1 << " \n";
    drawProgressbar();
    std::string spaced;
    std::string joined;
    for (int i = focus.last - 1; i >= focus.first; --i) {
      const std::string& text = chunks.text(focus.items[i]);
      spaced += " ";
      spaced += text;
      joined += text;
    }
    block << spaced << "  <------  " << joined << "\n";
    if (focus.getSize() > 0) {
      block << " " << chunks.definition(focus.oldest()).size() << " \n";
      block << chunks.text(focus.oldest()) << "\n";
    } else {
      block << " 0 \n\n";
    }
  }
  refreshCodelengths();
  chunks.updateChunkPriority();
  refreshCodelengths();
  int live = 0;
  for (int id = 1; id < chunks.lastChunk; ++id) {
    if (!chunks.chunks[id].isDeleted) ++live;
  }
  block << " " << live << " \n";
  file << block.str() << chunks.toString4();
  file.close();
  if (file.fail()) std::cout << "ERREUR : echec de l'ecriture du fichier de sortie." << '\n';
}

std::string Chunks::toString4() const {
  std::string listing;
  // Neighbours in priority order mostly share a codelength: format it once.
  double formattedValue = 0.0;
  char formatted[64] = "";
  bool haveFormatted = false;
  for (int position = 1; position < lastChunk; ++position) {
    const int id = priority[position];
    if (chunks[id].isDeleted) continue;
    const double codelength = chunks[id].codelength;
    if (!haveFormatted || std::memcmp(&codelength, &formattedValue, sizeof codelength) != 0) {
      // %g is what a stream's default formatting of a double writes.
      std::snprintf(formatted, sizeof formatted, "%g", codelength);
      formattedValue = codelength;
      haveFormatted = true;
    }
    listing += texts_[id];
    listing += "\n ";
    listing += formatted;
    listing += " \n";
  }
  return listing;
}
