// Following the target items over the run, and the curves file.
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "model/system.h"

void System::updateSpecialItems() {
  for (int item = 0; item < specialItems.itemCount; ++item) {
    SpecialItem& target = specialItems.itemArray[item];
    double value = 10.0;
    // No early exit: of several live chunks with the same text, the highest id wins.
    for (int id = 1; id < chunks.lastChunk; ++id) {
      if (!chunks.chunks[id].isDeleted && chunks.getSyllables(id) == target.name) {
        value = chunks.chunks[id].codelength;
      }
    }
    target.addValue(value);
  }
}

void System::updateSpecialItemsForNSteps() {
  if (focus.getSize() == 0) return;
  const int syllables = chunks.getCanonicalDefinition(focus.oldest()).getSize();
  for (int i = 0; i < syllables; ++i) updateSpecialItems();
}

void System::writeTimeCourseToFile(std::string fileName) {
  std::ofstream file(fileName, std::ios::app);
  if (!file.is_open()) {
    std::cout << "ERREUR : impossible d'ouvrir le fichier du decours temporel en ecriture." << '\n';
    return;
  }
  std::ostringstream section;
  section << "curves\n";
  for (int item = 0; item < specialItems.itemCount; ++item) {
    const SpecialItem& target = specialItems.itemArray[item];
    for (int slot = 0; slot < target.averagedTimeCourseSizeMax; ++slot) {
      const double value = target.averagedTimeCourse[slot];
      // Whatever its sign bit, a mean that is not a number reads "nan".
      if (std::isnan(value)) {
        section << " nan \n";
      } else {
        section << " " << value << " \n";
      }
    }
  }
  file << section.str();
  file.close();
  if (file.fail()) {
    std::cout << "ERREUR : echec de l'ecriture du fichier du decours temporel." << '\n';
  }
}
