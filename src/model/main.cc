// syllex: one learning run over corpus.tmp with the parameters of param03.tmp,
// in the current folder. Takes no arguments and always returns 0.
#include "model/system.h"

int main() {
  System system;
  system.loadParametersFromFile("param03.tmp");
  system.loadInputFromString(system.readInputFromFile("corpus.tmp"));
  int stepNumber = 0;
  while (!system.processOneStep(4, ++stepNumber)) {
  }
  if (system.resultFileMode == 2) system.writeResultToFile("result03.tmp", 1);
  system.writeTimeCourseToFile("graph03.tmp");
  return 0;
}
