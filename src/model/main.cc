// syllex: one learning run over corpus.tmp with the parameters of param03.tmp,
// in the current folder. Takes no arguments and always returns 0.
#include <iostream>

#include "model/learner.h"

int main() {
  Learner learner(std::cout);
  learner.showProgressbar(true);
  learner.loadParameterFile("param03.tmp");
  learner.loadCorpusFile("corpus.tmp");
  learner.run();
  learner.writeFixedReports("result03.tmp", "graph03.tmp");
  return 0;
}
