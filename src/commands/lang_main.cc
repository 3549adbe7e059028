// syllex-lang: writes the stream of an artificial language, and its test items.
#include <cstdint>
#include <string>

#include "commands/command_line.h"
#include "research/corpus.h"
#include "research/language.h"
#include "research/output.h"

int main(int argc, char** argv) {
  CLI::App app{"", "syllex-lang"};
  setUpCommand(app,
               "Writes a stream of words of an artificial language, in random order with no "
               "pause between them. The same arguments and seed give the same bytes.");
  std::string words, format = "corpus", output = "-", testItems;
  LanguageOptions options;
  uint64_t seed = 1;
  auto* given = app.add_option("--words", words,
                               "The words, separated by \",\", their syllables by \"/\": "
                               "tu/pi/ro,go/la/bu (all of one length)");
  auto* random = app.add_option("--random-words", options.randomWords,
                                "Draw N words of consonant-vowel syllables instead, each "
                                "syllable used once unless --reuse-syllables");
  given->excludes(random);
  app.add_option("--syllables-per-word", options.syllablesPerWord, "Syllables of a random word")
      ->needs(random);
  app.add_flag("--reuse-syllables", options.reuseSyllables, "Random words may share syllables")
      ->needs(random);
  app.add_option("--tokens", options.tokens, "Word tokens in the stream");
  app.add_flag("--allow-repeats", options.allowRepeats,
               "A word may follow itself (by default it never does)");
  auto* every =
      app.add_option("--boundary-every", options.boundaryEvery,
                     "End an utterance every K tokens (default: the stream is one utterance)");
  app.add_option("--seed", seed, "Seed of the random choices");
  app.add_option("--format", format, "corpus (the learner's input) or gold (words separated)")
      ->check(CLI::IsMember({"corpus", "gold"}));
  app.add_option("--output", output, "Where the stream goes (- is standard output)");
  app.add_option("--test-items", testItems,
                 "Also write TSV \"item class\": every word (word), every part-word heard at a "
                 "junction (part-word: the end of one word and the start of the next, as long "
                 "as a word), and as many non-words as words (non-word: distinct syllables of "
                 "the language in an order heard nowhere in the stream)");

  return runCommand(app, argc, argv, [&]() {
    if (given->count() == 0 && random->count() == 0) {
      throw UsageError("give --words or --random-words");
    }
    if (random->count() > 0 && app.count("--syllables-per-word") == 0) {
      throw UsageError("--random-words needs --syllables-per-word");
    }
    if (every->count() > 0 && options.boundaryEvery < 1) {
      throw UsageError("--boundary-every must be at least 1");
    }
    options.seed = seed;
    Language language;
    std::vector<TestItem> items;
    try {
      if (!words.empty()) options.words = parseWords(words);
      language = makeLanguage(options);
      if (!testItems.empty()) items = languageTestItems(language, seed);
    } catch (const LanguageError& e) {
      throw UsageError(e.what());
    }
    const Corpus corpus = languageCorpus(language);
    // Both outputs are built before either is written.
    OutputFile stream(output);
    stream.text() = format == "gold" ? toGoldText(corpus) : toCorpusText(corpus);
    if (!testItems.empty()) {
      OutputFile itemFile(testItems);
      itemFile.text() = testItemsText(items);
      itemFile.commit();
    }
    stream.commit();
    return 0;
  });
}
