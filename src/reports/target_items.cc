// Following the target items over the run, and the curves file.
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "containers/messages.h"
#include "model/system.h"

// A name equals a chunk's text exactly when it spells the chunk's syllables,
// each closed by "/", so each name is resolved once into syllable ids. A name
// that spells no run of known syllables never matches: learning creates no
// syllables.
std::vector<int> System::spellName(const std::string& name) const {
  std::vector<int> definition;
  size_t start = 0;
  while (start < name.size()) {
    const size_t slash = name.find('/', start);
    const int id = slash == std::string::npos
                       ? -1
                       : chunks.findTerminal(name.substr(start, slash + 1 - start));
    if (id <= 0) return {};
    definition.push_back(id);
    start = slash + 1;
  }
  return definition;
}

int System::trieNodeOf(const std::vector<int>& definition) const {
  int node = 0;
  for (size_t i = 0; i < definition.size() && node >= 0; ++i) {
    node = chunks.childNode(node, definition[i]);
  }
  return node;
}

int System::liveChunkAtNode(int node) const {
  if (node < 0) return 0;
  const std::vector<int>& ids = chunks.nodeIds(node);
  for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
    if (!chunks.chunks[*id].isDeleted) return *id;
  }
  return 0;
}

double System::valueAtNode(int node) const {
  const int id = liveChunkAtNode(node);
  return id > 0 ? codelengthOf(id) : 10.0;
}

int System::liveChunkNamed(const std::string& name) const {
  const std::vector<int> definition = spellName(name);
  return definition.empty() ? 0 : liveChunkAtNode(trieNodeOf(definition));
}

void System::resolveSpecialItems() {
  itemsResolved_ = true;
  itemDefinitions_.assign(specialItems.itemCount, std::vector<int>());
  itemNodes_.assign(specialItems.itemCount, -1);
  for (int item = 0; item < specialItems.itemCount; ++item) {
    itemDefinitions_[item] = spellName(specialItems.itemArray[item].name);
  }
}

// The codelength of the highest live chunk whose text is the item's name, or
// 10.0 when there is none.
double System::specialItemValue(int item) {
  const std::vector<int>& definition = itemDefinitions_[item];
  if (definition.empty()) return 10.0;
  // Trie nodes are never removed: once reached, a node stays valid.
  int& node = itemNodes_[item];
  if (node < 0) node = trieNodeOf(definition);
  return valueAtNode(node);
}

void System::updateSpecialItems() {
  if (!itemsResolved_) resolveSpecialItems();
  for (int item = 0; item < specialItems.itemCount; ++item) {
    specialItems.itemArray[item].addValue(specialItemValue(item));
  }
}

void System::updateSpecialItemsForNSteps() {
  if (focus.getSize() == 0) return;
  const size_t syllables = chunks.definition(focus.oldest()).size();
  for (size_t i = 0; i < syllables; ++i) updateSpecialItems();
}

void System::writeTimeCourseToFile(std::string fileName) {
  std::ofstream file(fileName, std::ios::app);
  if (!file.is_open()) {
    engineMessages() << "ERREUR : impossible d'ouvrir le fichier du decours temporel en ecriture."
                     << '\n';
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
    engineMessages() << "ERREUR : echec de l'ecriture du fichier du decours temporel." << '\n';
  }
}
