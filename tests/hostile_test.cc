// End-to-end runs of the program on hostile inputs: bytes that are no text,
// a full chunk table, giant lines and syllables, absurd parameter values and
// output files that cannot be written. Every run must end normally with exit
// code 0 and nothing on standard error (where a sanitizer would report), say
// what went wrong on standard output, and leave alone the files it could not
// or must not write.
//
// Inputs are made at run time in a fresh folder per case; the big ones never
// live in the repository.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "test_util.h"

namespace fs = std::filesystem;

namespace {

using namespace std::string_literals;

const std::string kTableFull =
    "ERREUR : la table des chunks est pleine (9999 chunks), aucun nouveau chunk ne peut etre "
    "cree.\n";
const std::string kBadItemCount = "ERREUR : nombre d'items cibles impossible : ";
const std::string kOpenResult = "ERREUR : impossible d'ouvrir le fichier de sortie en ecriture.\n";
const std::string kOpenCurves =
    "ERREUR : impossible d'ouvrir le fichier du decours temporel en ecriture.\n";
const std::string kFailResult = "ERREUR : echec de l'ecriture du fichier de sortie.\n";
const std::string kFailCurves = "ERREUR : echec de l'ecriture du fichier du decours temporel.\n";
const std::string kAveragesFull = "ERREUR : le tableau averagedTimeCourse depasse la borne sup.\n";
const std::string kShiftWarning =
    "ATTENTION : il est possible que cela soit source d'erreur et que shiftUp ne fonctionne pas\n";

// A run that hangs is killed, so that it fails instead of stalling the suite.
constexpr int kTimeoutSeconds = 60;

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string repeat(const std::string& piece, int times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

size_t countOf(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
    ++count;
  }
  return count;
}

// Standard output without the progress bar, which shares lines with messages.
std::string withoutBar(std::string out) {
  out.erase(std::remove(out.begin(), out.end(), '_'), out.end());
  return out;
}

std::string withoutWarnings(std::string out) {
  for (size_t at = out.find(kShiftWarning); at != std::string::npos; at = out.find(kShiftWarning)) {
    out.erase(at, kShiftWarning.size());
  }
  return out;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The 15 fixed lines of a parameter file (lines 2, 5, 6 and 15 used), then the
// item names.
std::vector<std::string> paramLines(const std::string& mode, const std::string& stimuli = "150",
                                    const std::string& focus = "25",
                                    const std::vector<std::string>& names = {}) {
  std::vector<std::string> lines = {"hostile", mode, "-", "-", stimuli, focus};
  for (int line = 7; line <= 14; ++line) lines.push_back("-");
  lines.push_back(std::to_string(names.size()));
  lines.insert(lines.end(), names.begin(), names.end());
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string params(const std::string& mode, const std::string& stimuli = "150",
                   const std::string& focus = "25", const std::vector<std::string>& names = {}) {
  return joinLines(paramLines(mode, stimuli, focus, names));
}

// Deterministic bytes of every value, the NUL byte and "/" included.
std::string garbage(uint32_t seed, size_t size) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// A final-form result file: the lexicon-size line, then text and codelength
// lines. Empty when the file does not have that shape.
struct Lexicon {
  bool wellFormed = false;
  std::vector<std::string> texts;
};

Lexicon parseLexicon(const std::string& result) {
  Lexicon lexicon;
  const std::vector<std::string> lines = splitLines(result);
  if (lines.empty() || result.back() != '\n') return lexicon;
  const std::string& sizeLine = lines[0];
  if (sizeLine.size() < 3 || sizeLine.front() != ' ' || sizeLine.back() != ' ') return lexicon;
  const size_t size = std::stoul(sizeLine.substr(1));
  if (lines.size() != 1 + 2 * size) return lexicon;
  for (size_t i = 0; i < size; ++i) {
    const std::string& codelength = lines[2 + 2 * i];
    if (codelength.size() < 3 || codelength.front() != ' ' || codelength.back() != ' ') {
      return lexicon;
    }
    lexicon.texts.push_back(lines[1 + 2 * i]);
  }
  lexicon.wellFormed = true;
  return lexicon;
}

// Whether text is a run of the given syllables (each with its "/").
bool spelledBy(const std::string& text, const std::vector<std::string>& syllables) {
  if (text.empty()) return true;
  for (const std::string& syllable : syllables) {
    if (text.compare(0, syllable.size(), syllable) == 0 &&
        spelledBy(text.substr(syllable.size()), syllables)) {
      return true;
    }
  }
  return false;
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  bool inputsIntact = true;
};

// What every run must give, whatever its input: exit code 0 (no crash, no
// sanitizer abort, no timeout), an empty standard error, input files unchanged.
testing::AssertionResult endedCleanly(const Outcome& run) {
  if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
    return testing::AssertionFailure()
           << "status " << run.status << " (exit code " << WEXITSTATUS(run.status)
           << "; 137 is a kill after " << kTimeoutSeconds << " s)\nstderr:\n"
           << run.err.substr(0, 4000);
  }
  if (!run.err.empty()) {
    return testing::AssertionFailure() << "standard error:\n" << run.err.substr(0, 4000);
  }
  if (!run.inputsIntact) return testing::AssertionFailure() << "an input file was changed";
  return testing::AssertionSuccess();
}

// A fresh folder for one case: the program runs in work/, its standard output
// and error are kept beside it. Removed with everything in it at the end.
class Sandbox {
 public:
  Sandbox() {
    static int serial = 0;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() / ("syllex_hostile_" + std::to_string(::getpid()) + "_" +
                                         test->name() + "_" + std::to_string(++serial));
    fs::remove_all(root_);
    fs::create_directories(root_ / "work");
    // Open to others, for the runs under an unprivileged user.
    fs::permissions(root_, fs::perms(0755));
    fs::permissions(root_ / "work", fs::perms(0755));
  }
  ~Sandbox() {
    std::error_code ignored;
    fs::permissions(root_ / "work", fs::perms(0755), ignored);
    fs::remove_all(root_, ignored);
  }

  fs::path path(const std::string& name) const { return root_ / "work" / name; }
  void write(const std::string& name, const std::string& text) const {
    writeFile(path(name), text);
  }
  std::string read(const std::string& name) const { return readFile(path(name)); }

  // Runs the program in work/, behind prefix (a command that runs it as
  // another user, or nothing).
  Outcome run(const std::string& prefix = "") const {
    const std::string param = snapshot("param03.tmp");
    const std::string corpus = snapshot("corpus.tmp");
    const std::string command = "cd '" + (root_ / "work").string() + "' && timeout -s KILL " +
                                std::to_string(kTimeoutSeconds) + " " + prefix + "'" + SYLLEX_BIN +
                                "' > ../stdout.out 2> ../stderr.out < /dev/null";
    Outcome run;
    run.status = std::system(command.c_str());
    run.out = readFile(root_ / "stdout.out");
    run.err = readFile(root_ / "stderr.out");
    run.inputsIntact = snapshot("param03.tmp") == param && snapshot("corpus.tmp") == corpus;
    return run;
  }

 private:
  std::string snapshot(const std::string& name) const {
    return fs::is_regular_file(path(name)) ? read(name) : std::string("<none>");
  }

  fs::path root_;
};

// Bytes that are no text: NUL bytes, invalid UTF-8, lone carriage returns.
// Syllables and item names are compared byte for byte, so a name holding
// such bytes must still find its syllable.
TEST(HostileBytes, RunsCompleteAndOddBytesStillMatch) {
  struct Case {
    const char* name;
    std::string param;
    std::string corpus;
    bool finalLexicon;                   // the parameters ask for the final lexicon
    std::vector<std::string> syllables;  // all of the corpus's, when known
    int matchedItems;                    // items that name a syllable, so never read 10
  };
  const std::string nulSyllables[] = {"ka\0/"s, "mi/", "\0/"s};
  const std::string utf8Syllables[] = {"\xff\xfe/", "\xc3\x28/", "\xed\xa0\x80/", "\xc0\xaf/"};
  const std::vector<Case> cases = {
      {"garbage corpus", params("2"), garbage(1, 20000), true, {}, 0},
      {"garbage parameters", garbage(2, 3000), repeat("ba/bi/bu//", 40), false, {}, 0},
      {"garbage in both", garbage(3, 3000), garbage(4, 20000), false, {}, 0},
      {"NUL bytes",
       "p\n2\0x\n-\n-\n150\0\n25\n-\n-\n-\n-\n-\n-\n-\n-\n2\n"s + nulSyllables[0] + "\n" +
           nulSyllables[2] + "\n",
       repeat(nulSyllables[0] + nulSyllables[1] + nulSyllables[2] + "/", 40),
       true,
       {nulSyllables[0], nulSyllables[1], nulSyllables[2]},
       2},
      {"invalid UTF-8 and lone carriage returns",
       params("2", "150", "25", {utf8Syllables[0], utf8Syllables[3]}),
       repeat(utf8Syllables[0] + utf8Syllables[1] + "\r" + utf8Syllables[2] + utf8Syllables[3] +
                  "/\r\n",
              40),
       true,
       {utf8Syllables[0], utf8Syllables[1], "\r" + utf8Syllables[2], utf8Syllables[3]},
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    box.write("param03.tmp", c.param);
    box.write("corpus.tmp", c.corpus);
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    const std::string curves = box.read("graph03.tmp");
    EXPECT_EQ(curves.compare(0, 7, "curves\n"), 0) << curves.substr(0, 100);
    if (c.finalLexicon) {
      const Lexicon lexicon = parseLexicon(box.read("result03.tmp"));
      ASSERT_TRUE(lexicon.wellFormed);
      for (const std::string& text : lexicon.texts) {
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '/');
      }
      if (!c.syllables.empty()) {
        for (const std::string& syllable : c.syllables) {
          EXPECT_EQ(std::count(lexicon.texts.begin(), lexicon.texts.end(), syllable), 1);
        }
        for (const std::string& text : lexicon.texts) EXPECT_TRUE(spelledBy(text, c.syllables));
      }
    }
    if (c.matchedItems > 0) {
      const std::vector<std::string> lines = splitLines(curves);
      EXPECT_EQ(lines.size(), 1u + 10u * c.matchedItems);
      EXPECT_EQ(std::count(lines.begin(), lines.end(), " 10 "), 0) << curves;
    }
  }
}

// Ids 1 to 9999 serve terminal and composite chunks together. A creation that
// finds the table full is refused, and only the first refusal of a run is
// reported; learning goes on.
TEST(HostileTableFull, FirstRefusalReportedOnceAndRunGoesOn) {
  std::string distinct;  // more syllables than the table holds, then a pair that recurs
  for (int i = 0; i < 10100; ++i) distinct += "s" + std::to_string(i) + "/";
  distinct += repeat("s1/s2/", 50);
  // 9990 syllables each between boundaries, then words over four more
  // syllables: terminals leave five free ids, and the words' pairs, recurring in
  // a large memory, become more chunks than that.
  std::string filling;
  for (int i = 0; i < 9990; ++i) filling += "s" + std::to_string(i) + "//";
  for (int i = 0; i < 20; ++i) {
    filling += "ka/mi//mi/po//po/tu//tu/ka//ka/po//mi/tu//ka/mi/po//po/tu/ka//tu/mi//po/ka//";
  }
  struct Case {
    const char* name;
    std::string stimuli;
    std::string corpus;
  };
  const Case cases[] = {
      {"terminal chunks overflow at loading", "150", distinct},
      {"composite chunks fill the table while learning", "1000", filling},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    // Result mode 0: no result file, whose lexicon would be large.
    box.write("param03.tmp", params("0", c.stimuli));
    box.write("corpus.tmp", c.corpus);
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), kTableFull);
    // The bar goes on after the message.
    const size_t message = run.out.find(kTableFull);
    ASSERT_NE(message, std::string::npos);
    EXPECT_NE(run.out.find('_', message), std::string::npos);
    EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
    EXPECT_FALSE(fs::exists(box.path("result03.tmp")));
  }
}

// A corpus of one line of 50 MB: without "/" it holds no syllable; text after
// the last "/" is dropped whatever its length.
TEST(HostileGiantInput, FiftyMegabyteLine) {
  const std::string line(50u << 20, 'x');
  struct Case {
    const char* name;
    std::string corpus;
    std::string out;
    std::string result;
  };
  const Case cases[] = {
      {"no slash at all", line, "", " 0 \n"},
      // One syllable and a boundary: one step, 1 of 2 ids gives 40 of 80.
      {"after the last slash", "ka//" + line, std::string(40, '_'), " 1 \nka/\n 0 \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    box.write("param03.tmp", params("2"));
    box.write("corpus.tmp", c.corpus);
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(box.read("result03.tmp"), c.result);
    EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
  }
}

// Syllables of several MB, in chunks, in the focus, in every listing and in a
// target item's name.
TEST(HostileGiantInput, MegabyteSyllables) {
  const std::string a = std::string(3u << 20, 'a') + "/";
  const std::string b = std::string(2u << 20, 'b') + "/";
  const std::string c = std::string(1u << 20, 'c') + "/";
  {
    SCOPED_TRACE("final lexicon");
    Sandbox box;
    box.write("param03.tmp", params("2", "150", "25", {a + b}));
    box.write("corpus.tmp", repeat(a + b + a + b + c + "/", 3));
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    // 18 ids make blocks of one value: the 15 syllables give 15 averages, of
    // which the 5 beyond the tenth are dropped.
    EXPECT_EQ(withoutBar(run.out), repeat(kAveragesFull, 5));
    const Lexicon lexicon = parseLexicon(box.read("result03.tmp"));
    ASSERT_TRUE(lexicon.wellFormed);
    for (const std::string& syllable : {a, b, c}) {
      EXPECT_EQ(std::count(lexicon.texts.begin(), lexicon.texts.end(), syllable), 1);
    }
    for (const std::string& text : lexicon.texts) EXPECT_TRUE(spelledBy(text, {a, b, c}));
    const std::vector<std::string> curves = splitLines(box.read("graph03.tmp"));
    ASSERT_EQ(curves.size(), 11u);
    EXPECT_EQ(curves[0], "curves");
  }
  {
    // Boundaries after every syllable: each step's focus is that syllable
    // alone, so every block is known but for codelengths and listing order.
    SCOPED_TRACE("a block per step");
    Sandbox box;
    box.write("param03.tmp", params("1"));
    box.write("corpus.tmp", a + "/" + b + "/" + c + "/");
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), "");
    const std::vector<std::string> lines = splitLines(box.read("result03.tmp"));
    ASSERT_EQ(lines.size(), 3u * 12u);
    size_t position = 1;
    int step = 0;
    for (const std::string& syllable : {a, b, c}) {
      const std::string* block = &lines[12 * step++];
      position += syllable.size();
      EXPECT_EQ(block[0], " " + std::to_string(step) + " ");
      EXPECT_EQ(block[1], " " + std::to_string(position) + " ");
      EXPECT_TRUE(block[2] == " " + syllable + "  <------  " + syllable);
      EXPECT_EQ(block[3], " 1 ");
      EXPECT_TRUE(block[4] == syllable);
      EXPECT_EQ(block[5], " 3 ");
      std::vector<std::string> listed = {block[6], block[8], block[10]};
      std::sort(listed.begin(), listed.end());
      EXPECT_TRUE(listed == std::vector<std::string>({a, b, c}));
    }
  }
}

// A corpus of 160 ids for the parameter cases: enough for all ten averages.
const std::string kWords = repeat("ba/bi/bu//", 40);

// Parameter files with giant lines, absurd item counts and missing lines.
TEST(HostileParameters, GiantLinesAbsurdCountsMissingLines) {
  std::vector<std::string> giantFirst = paramLines("2", "150", "25", {"ba/bi/"});
  giantFirst[0] = std::string(10u << 20, 'x');
  std::vector<std::string> count = paramLines("2");
  auto withCount = [&count](const std::string& value) {
    count[14] = value;
    return joinLines(count);
  };
  struct Case {
    const char* name;
    std::string param;
    std::string messages;  // standard output less the bar and memory warnings
    size_t items;          // target items written to the curves file
    bool mayWarn;          // capacities read as 0 or 1 may bring the memory warning
  };
  const Case cases[] = {
      {"10 MB first line", joinLines(giantFirst), "", 1, false},
      {"10 MB item name", params("2", "150", "25", {"ba/bi/" + std::string(10u << 20, 'z') + "/"}),
       "", 1, false},
      {"largest count", withCount("2147483647"), kBadItemCount + "2147483647\n", 0, false},
      {"negative count", withCount("-3"), kBadItemCount + "-3\n", 0, false},
      {"count above the limit", withCount("10001"), kBadItemCount + "10001\n", 0, false},
      {"count at the limit, names missing", withCount("10000"), "", 10000, false},
      {"count beyond 32 bits", withCount("99999999999999"), kBadItemCount + "2147483647\n", 0,
       false},
      {"count beyond 32 bits below zero", withCount("-99999999999999"),
       kBadItemCount + "-2147483648\n", 0, false},
      // Lines 4 to 15 read empty: capacities 0 and no items.
      {"three lines", "p\n2\nx\n", "", 0, true},
      // Without a final line feed, line 3 repeats: capacities 1, one item "1".
      {"three lines, no final line feed", "p\n2\n1", "", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    box.write("param03.tmp", c.param);
    box.write("corpus.tmp", kWords);
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    std::string messages = withoutBar(run.out);
    if (c.mayWarn) messages = withoutWarnings(messages);
    EXPECT_EQ(messages, c.messages);
    const std::string curves = box.read("graph03.tmp");
    EXPECT_EQ(curves.compare(0, 7, "curves\n"), 0);
    EXPECT_EQ(countOf(curves, "\n"), 1 + 10 * c.items);
    EXPECT_EQ(countOf(curves, "nan"), 0u);
    // Line 2 was read in every case: the final lexicon is written.
    EXPECT_TRUE(parseLexicon(box.read("result03.tmp")).wellFormed);
  }
}

// Number lines beyond 32 bits are clamped, not wrapped: each value below
// wraps to a small number that would show.
TEST(HostileParameters, OverflowingNumbersAreClamped) {
  const std::string noBoundary = repeat("ka/mi/po/", 30);
  struct Case {
    int line;
    std::string value;
    const std::string* corpus;
    bool steps;       // any step runs (the bar is drawn)
    bool resultKept;  // the earlier result file is left as it was
  };
  const Case cases[] = {
      // Focus capacity 2147483647: never full, so the input runs out in the
      // first focus and no step runs (wrapped, 4294967301 would give 5).
      {6, "99999999999999", &noBoundary, false, true},
      {6, "4294967301", &noBoundary, false, true},
      // Result mode 2147483647: no result file (wrapped: 1).
      {2, "4294967297", &kWords, true, true},
      {2, "99999999999999", &kWords, true, true},
      // Memory capacity 2147483647: never trimmed, no warning (wrapped: 0).
      {5, "4294967296", &kWords, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line " + std::to_string(c.line) + ": " + c.value);
    Sandbox box;
    std::vector<std::string> lines = paramLines("1");
    lines[c.line - 1] = c.value;
    box.write("param03.tmp", joinLines(lines));
    box.write("corpus.tmp", *c.corpus);
    box.write("result03.tmp", "earlier result\n");
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), "");
    EXPECT_EQ(run.out.empty(), !c.steps);
    EXPECT_EQ(box.read("result03.tmp") == "earlier result\n", c.resultKept);
    EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
  }
}

// An input file that is a folder cannot be opened: the run goes on without it
// (construction values, or an empty corpus) and leaves the folder alone.
TEST(HostileInputs, FoldersInsteadOfInputFiles) {
  const std::string paramMessage =
      "ERREUR : impossible d'ouvrir le fichier des parametres en lecture\n";
  const std::string corpusMessage = "ERREUR : impossible d'ouvrir le fichier en lecture\n";
  struct Case {
    const char* name;
    bool paramFolder;
    bool corpusFolder;
    std::string messages;
    std::string result;  // "<none>" when no result file may exist
  };
  const Case cases[] = {
      // Construction values: a block per step; the first consumes "ba/".
      {"parameter file", true, false, paramMessage, "blocks"},
      // The final lexicon of an empty table.
      {"corpus file", false, true, corpusMessage, " 0 \n"},
      // A block per step, but no step at all.
      {"both", true, true, paramMessage + corpusMessage, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    for (auto [name, folder, text] :
         {std::tuple<const char*, bool, std::string>{"param03.tmp", c.paramFolder, params("2")},
          std::tuple<const char*, bool, std::string>{"corpus.tmp", c.corpusFolder,
                                                     "ba//bi//ba//"}}) {
      if (folder) {
        fs::create_directory(box.path(name));
        writeFile(box.path(name) / "inside", "kept\n");
      } else {
        box.write(name, text);
      }
    }
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), c.messages);
    for (const char* name : {"param03.tmp", "corpus.tmp"}) {
      if (fs::is_directory(box.path(name))) {
        EXPECT_EQ(readFile(box.path(name) / "inside"), "kept\n");
      }
    }
    if (c.result == "<none>") {
      EXPECT_FALSE(fs::exists(box.path("result03.tmp")));
    } else if (c.result == "blocks") {
      EXPECT_EQ(box.read("result03.tmp").compare(0, 8, " 1 \n 4 \n"), 0);
    } else {
      EXPECT_EQ(box.read("result03.tmp"), c.result);
    }
    EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
  }
}

// Output files that cannot be opened or written: each attempt is reported,
// the run goes on, and what stands in their place is left alone.
TEST(HostileOutputs, FoldersAndFullDevice) {
  enum Kind { kNormal, kFolder, kFull };
  struct Case {
    const char* name;
    const char* mode;
    Kind result;
    Kind curves;
    std::string messages;
  };
  // Three syllables apart from each other: three steps, three block writes.
  const std::string corpus = "ba//bi//ba//";
  const Case cases[] = {
      {"result file is a folder, a block per step", "1", kFolder, kNormal, repeat(kOpenResult, 3)},
      {"result file is a folder, final lexicon", "2", kFolder, kNormal, kOpenResult},
      {"curves file is a folder", "2", kNormal, kFolder, kOpenCurves},
      {"both are folders", "1", kFolder, kFolder, repeat(kOpenResult, 3) + kOpenCurves},
      {"result file on a full device, a block per step", "1", kFull, kNormal,
       repeat(kFailResult, 3)},
      {"result file on a full device, final lexicon", "2", kFull, kNormal, kFailResult},
      {"curves file on a full device", "2", kNormal, kFull, kFailCurves},
      {"both on a full device", "2", kFull, kFull, kFailResult + kFailCurves},
  };
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    box.write("param03.tmp", params(c.mode));
    box.write("corpus.tmp", corpus);
    for (auto [name, kind] : {std::pair<const char*, Kind>{"result03.tmp", c.result},
                              std::pair<const char*, Kind>{"graph03.tmp", c.curves}}) {
      if (kind == kFolder) {
        fs::create_directory(box.path(name));
        writeFile(box.path(name) / "inside", "kept\n");
      } else if (kind == kFull) {
        fs::create_symlink("/dev/full", box.path(name));
      }
    }
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), c.messages);
    for (auto [name, kind] : {std::pair<const char*, Kind>{"result03.tmp", c.result},
                              std::pair<const char*, Kind>{"graph03.tmp", c.curves}}) {
      SCOPED_TRACE(name);
      if (kind == kFolder) {
        EXPECT_TRUE(fs::is_directory(box.path(name)));
        EXPECT_EQ(readFile(box.path(name) / "inside"), "kept\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(box.path(name)), fs::directory_iterator()),
                  1);
      } else if (kind == kFull) {
        EXPECT_TRUE(fs::is_symlink(box.path(name)));
        EXPECT_EQ(fs::read_symlink(box.path(name)), "/dev/full");
      }
    }
    if (c.curves == kNormal) {
      EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
    }
    if (c.result == kNormal) {
      const Lexicon lexicon = parseLexicon(box.read("result03.tmp"));
      EXPECT_TRUE(lexicon.wellFormed);
      EXPECT_EQ(lexicon.texts.size(), 2u);
    }
  }
}

// The command prefix that runs the program as an unprivileged user, so that
// file permissions apply; empty when not root. Sets why when that is impossible.
std::string unprivileged(const std::string& folder, std::string& why) {
  if (::geteuid() != 0) return "";
  const std::string prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  // The user must reach the folder and run the program.
  const std::string probe =
      prefix + "sh -c \"cd '" + folder + "' && test -x '" + SYLLEX_BIN + "'\" > /dev/null 2>&1";
  if (std::system(probe.c_str()) != 0) {
    why =
        "running as root and cannot run the program as an unprivileged user with setpriv, so "
        "write permission cannot be denied";
  }
  return prefix;
}

// Without write permission nothing can be created or emptied: earlier output
// files must come through whole, even the result file that the first step
// would empty.
TEST(HostileOutputs, NoWritePermission) {
  struct Case {
    const char* name;
    bool folderWritable;
    bool earlierOutputs;  // read-only result and curves files from an earlier run
  };
  const Case cases[] = {
      {"read-only folder", false, false},
      {"read-only folder and earlier outputs", false, true},
      {"read-only earlier outputs in a writable folder", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox box;
    std::string why;
    const std::string prefix = unprivileged(box.path("").string(), why);
    if (!why.empty()) GTEST_SKIP() << why;
    box.write("param03.tmp", params("1"));
    box.write("corpus.tmp", "ba//bi//ba//");
    fs::permissions(box.path("param03.tmp"), fs::perms(0444));
    fs::permissions(box.path("corpus.tmp"), fs::perms(0444));
    if (c.earlierOutputs) {
      box.write("result03.tmp", "earlier result\n");
      box.write("graph03.tmp", "curves\n 10 \n");
      fs::permissions(box.path("result03.tmp"), fs::perms(0444));
      fs::permissions(box.path("graph03.tmp"), fs::perms(0444));
    }
    fs::permissions(box.path(""), fs::perms(c.folderWritable ? 0777 : 0555));
    const Outcome run = box.run(prefix);
    EXPECT_TRUE(endedCleanly(run));
    EXPECT_EQ(withoutBar(run.out), repeat(kOpenResult, 3) + kOpenCurves);
    if (c.earlierOutputs) {
      EXPECT_EQ(box.read("result03.tmp"), "earlier result\n");
      EXPECT_EQ(box.read("graph03.tmp"), "curves\n 10 \n");
    } else {
      EXPECT_FALSE(fs::exists(box.path("result03.tmp")));
      EXPECT_FALSE(fs::exists(box.path("graph03.tmp")));
    }
  }
}

// Capacities of 0 and below: the memory is emptied after every step, so its
// list keeps restarting from an empty state (the warning), and no pair can
// recur in it, so no chunk is made; the lexicon ends with the three
// syllables, each of frequency 1 among a total of 3.
TEST(HostileCapacities, ZeroAndNegative) {
  struct Case {
    const char* stimuli;
    const char* focus;
  };
  const Case cases[] = {
      {"0", "25"}, {"-1", "25"}, {"-99999999999999", "25"}, {"0", "0"}, {"-7", "-7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("memory ") + c.stimuli + ", focus " + c.focus);
    Sandbox box;
    box.write("param03.tmp", params("2", c.stimuli, c.focus));
    box.write("corpus.tmp", repeat("ka/mi/po/", 30));
    const Outcome run = box.run();
    EXPECT_TRUE(endedCleanly(run));
    const std::string messages = withoutBar(run.out);
    EXPECT_GE(countOf(messages, kShiftWarning), 1u);
    EXPECT_EQ(messages, repeat(kShiftWarning, countOf(messages, kShiftWarning)));
    EXPECT_EQ(box.read("result03.tmp"), " 3 \nka/\n 1.58496 \nmi/\n 1.58496 \npo/\n 1.58496 \n");
    EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
  }
}

// One syllable throughout: its codelength is log2(1 / 1) = 0, so the focus
// never fills, the input runs out in the first focus and no step runs.
TEST(HostileDegenerateCorpus, OneSyllableRepeated) {
  Sandbox box;
  box.write("param03.tmp", params("2"));
  box.write("corpus.tmp", repeat("ka/", 20000));
  const Outcome run = box.run();
  EXPECT_TRUE(endedCleanly(run));
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(box.read("result03.tmp"), " 1 \nka/\n 0 \n");
  EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
}

// One syllable in 99: it takes almost all the total, so its codelength is
// tiny and the memory holds thousands of copies; the pair it forms with
// itself fails the gain's count check (three diagnostic lines each time),
// which is all the run may print besides the bar.
TEST(HostileDegenerateCorpus, OneSyllableDominating) {
  std::string corpus;
  for (int i = 0; i < 3000; ++i) corpus += i % 100 == 37 ? "mi/" : "ka/";
  Sandbox box;
  box.write("param03.tmp", params("2"));
  box.write("corpus.tmp", corpus);
  const Outcome run = box.run();
  EXPECT_TRUE(endedCleanly(run));
  const std::vector<std::string> lines = splitLines(withoutBar(run.out));
  ASSERT_EQ(lines.size() % 3, 0u);
  for (size_t i = 0; i < lines.size(); i += 3) {
    EXPECT_EQ(lines[i], "ERREUR : calcul du gain incorrect.");
    EXPECT_EQ(lines[i + 1].compare(0, 3, "(N="), 0) << lines[i + 1];
    EXPECT_EQ(lines[i + 2].compare(0, 4, "(P1="), 0) << lines[i + 2];
  }
  const Lexicon lexicon = parseLexicon(box.read("result03.tmp"));
  ASSERT_TRUE(lexicon.wellFormed);
  for (const char* syllable : {"ka/", "mi/"}) {
    EXPECT_EQ(std::count(lexicon.texts.begin(), lexicon.texts.end(), syllable), 1);
  }
  for (const std::string& text : lexicon.texts) EXPECT_TRUE(spelledBy(text, {"ka/", "mi/"}));
  EXPECT_EQ(box.read("graph03.tmp"), "curves\n");
}

}  // namespace
