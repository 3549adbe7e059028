// What the Python module needs between Python's shapes of data and the
// research library's, kept free of Python so that it reads as plain C++.
#ifndef SYLLEX_PYTHON_CONVERSIONS_H_
#define SYLLEX_PYTHON_CONVERSIONS_H_

#include <string>
#include <vector>

#include "research/corpus.h"

// The words of each utterance, in gold form (kI/ti). A corpus without word
// boundaries gives each utterance as one word.
std::vector<std::vector<std::string>> utteranceWords(const Corpus& corpus);

// One line of the gold format from a list of words. Throws InputError (name,
// line) for an empty word or one holding a blank, which the line could not
// keep apart.
std::string goldLine(const std::vector<std::string>& words, const std::string& name, int line);
// Checks that an utterance given as one string stays one line.
void checkGoldLine(const std::string& utterance, const std::string& name, int line);

#endif  // SYLLEX_PYTHON_CONVERSIONS_H_
