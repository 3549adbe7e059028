#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/system.h"
#include "model/text_file.h"
#include "test_util.h"

namespace fs = std::filesystem;

namespace {

const char kParamOpenError[] =
    "ERREUR : impossible d'ouvrir le fichier des parametres en lecture\n";
const char kCorpusOpenError[] = "ERREUR : impossible d'ouvrir le fichier en lecture\n";

std::vector<std::string> itemNames(const System& system) {
  std::vector<std::string> names;
  for (int i = 0; i < system.specialItems.itemCount; ++i) {
    names.push_back(system.specialItems.itemArray[i].name);
  }
  return names;
}

// Each test gets a folder of its own, removed afterwards.
class LoadingTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("syllex-loading-" + std::string(info->name()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    ASSERT_TRUE(fs::create_directories(folder_));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Writes the bytes as they are (binary, so no line-end translation).
  std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // A parameter file of 15 lines, then the extra lines, each ended by "\n".
  std::string writeParams(const std::string& mode, const std::string& stimuli,
                          const std::string& focus, const std::string& count,
                          const std::vector<std::string>& extra = {}) {
    std::string text = "comment 7\n" + mode + "\n99\n-4\n" + stimuli + "\n" + focus + "\n";
    for (int line = 7; line <= 14; ++line) text += "123\n";
    text += count + "\n";
    for (const std::string& line : extra) text += line + "\n";
    return writeFile("param03.tmp", text);
  }

  fs::path folder_;
};

}  // namespace

TEST_F(LoadingTest, ConstructionValues) {
  System system;
  EXPECT_EQ(25, system.focusSizeMax);
  EXPECT_EQ(150.0, system.stimuliChunksSizeMax);
  EXPECT_EQ(1, system.resultFileMode);
  EXPECT_EQ(0, system.inputSize);
  EXPECT_EQ(1, system.chunks.lastChunk);
  EXPECT_EQ(0, system.specialItems.itemCount);
  for (const IntList* list : {&system.stimuliChunks, &system.focus, &system.inputStream}) {
    EXPECT_EQ(0, list->getSize());
    EXPECT_EQ(10, list->lastIndexMax);
  }
}

// Lines 1, 3, 4 and 7 to 14 hold numbers that must not leak into any field.
TEST_F(LoadingTest, ParameterFile) {
  System system;
  const std::string path = writeParams("2", "300", "40", "3", {"ba/bi/", "  bo/ ", "", "not read"});
  CoutCapture out;
  system.loadParametersFromFile(path);
  EXPECT_EQ("", out.str());
  EXPECT_EQ(2, system.resultFileMode);
  EXPECT_EQ(300.0, system.stimuliChunksSizeMax);
  EXPECT_EQ(40, system.focusSizeMax);
  // Names are whole lines, nothing trimmed.
  EXPECT_EQ((std::vector<std::string>{"ba/bi/", "  bo/ ", ""}), itemNames(system));
}

TEST_F(LoadingTest, ParameterFileWithCarriageReturns) {
  System system;
  std::string text = "x\r\n2\r\n\r\n\r\n300\r\n40\r\n";
  for (int line = 7; line <= 14; ++line) text += "\r\n";
  text += "2\r\nba/\r\nbi/ \r\n";
  system.loadParametersFromFile(writeFile("param03.tmp", text));
  EXPECT_EQ(2, system.resultFileMode);
  EXPECT_EQ(300.0, system.stimuliChunksSizeMax);
  EXPECT_EQ(40, system.focusSizeMax);
  EXPECT_EQ((std::vector<std::string>{"ba/", "bi/ "}), itemNames(system));
}

// The same text on lines 2, 5 and 6: the leading integer, or 0, clamped to 32 bits.
TEST_F(LoadingTest, NumberLines) {
  struct Case {
    std::string line;
    int value;
  };
  const std::vector<Case> cases = {
      {"30", 30},
      {"  30 bits, comment", 30},
      {"\t7", 7},
      {"x30", 0},
      {"", 0},
      {"   ", 0},
      {"-5", -5},
      {"+7", 7},
      {"- 5", 0},
      {"+-5", 0},
      {"--5", 0},
      {"007", 7},
      {"3.9", 3},
      {"12 34", 12},
      {"-0", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("line \"" + c.line + "\"");
    System system;
    system.loadParametersFromFile(writeParams(c.line, c.line, c.line, "0"));
    EXPECT_EQ(c.value, system.resultFileMode);
    EXPECT_EQ(static_cast<double>(c.value), system.stimuliChunksSizeMax);
    EXPECT_EQ(c.value, system.focusSizeMax);
    EXPECT_EQ(0, system.specialItems.itemCount);
  }
}

// Reads past the end give empty lines after a final line feed, and repeats of
// the last line without one. An empty file replaces every construction value.
TEST_F(LoadingTest, ParameterFileShorterThanExpected) {
  struct Case {
    std::string name;
    std::string text;
    int mode;
    int stimuli;
    int focus;
    std::vector<std::string> items;
  };
  std::string fifteen;
  for (int line = 1; line <= 14; ++line) fifteen += "5\n";
  const std::vector<Case> cases = {
      {"empty", "", 0, 0, 0, {}},
      {"six lines", "a\n1\nb\nc\n300\n40\n", 1, 300, 40, {}},
      {"six lines, no final line feed", "a\n1\nb\nc\n300\n3", 1, 300, 3, {"3", "3", "3"}},
      {"count ends the file", fifteen + "2", 5, 5, 5, {"2", "2"}},
      {"count ends the file with a line feed", fifteen + "2\n", 5, 5, 5, {"", ""}},
      {"one of three items, line feed", fifteen + "3\nba/\n", 5, 5, 5, {"ba/", "", ""}},
      {"one of three items, no line feed", fifteen + "3\nba/", 5, 5, 5, {"ba/", "ba/", "ba/"}},
      {"items with carriage returns", fifteen + "2\r\nba/\r\n", 5, 5, 5, {"ba/", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System system;
    CoutCapture out;
    system.loadParametersFromFile(writeFile("param03.tmp", c.text));
    EXPECT_EQ("", out.str());
    EXPECT_EQ(c.mode, system.resultFileMode);
    EXPECT_EQ(c.stimuli, system.stimuliChunksSizeMax);
    EXPECT_EQ(c.focus, system.focusSizeMax);
    EXPECT_EQ(c.items, itemNames(system));
  }
}

// A count outside 0..10000 is reported; the other lines still count.
TEST_F(LoadingTest, TargetItemCount) {
  struct Case {
    std::string count;
    int items;
    std::string output;
  };
  const std::vector<Case> cases = {
      {"0", 0, ""},
      {"-1", 0, "ERREUR : nombre d'items cibles impossible : -1\n"},
      {"-2147483649", 0, "ERREUR : nombre d'items cibles impossible : -2147483648\n"},
      {"10001", 0, "ERREUR : nombre d'items cibles impossible : 10001\n"},
      {"99999999999", 0, "ERREUR : nombre d'items cibles impossible : 2147483647\n"},
      {"10000", 10000, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("count " + c.count);
    System system;
    CoutCapture out;
    system.loadParametersFromFile(writeParams("2", "300", "40", c.count, {"ba/"}));
    EXPECT_EQ(c.output, out.str());
    ASSERT_EQ(c.items, system.specialItems.itemCount);
    EXPECT_EQ(2, system.resultFileMode);
    EXPECT_EQ(300.0, system.stimuliChunksSizeMax);
    EXPECT_EQ(40, system.focusSizeMax);
    if (c.items > 0) {
      EXPECT_EQ("ba/", system.specialItems.itemArray[0].name);
      EXPECT_EQ("", system.specialItems.itemArray[c.items - 1].name);
    }
    // Loading the corpus afterwards must cope with whatever items there are.
    system.loadInputFromString("ba/bi/");
    EXPECT_EQ(2, system.inputSize);
  }
}

// A missing file and a folder both keep every construction value.
TEST_F(LoadingTest, ParameterFileThatCannotBeOpened) {
  for (const std::string& path : {(folder_ / "missing.tmp").string(), folder_.string()}) {
    SCOPED_TRACE(path);
    System system;
    CoutCapture out;
    system.loadParametersFromFile(path);
    EXPECT_EQ(kParamOpenError, out.str());
    EXPECT_EQ(1, system.resultFileMode);
    EXPECT_EQ(150.0, system.stimuliChunksSizeMax);
    EXPECT_EQ(25, system.focusSizeMax);
    EXPECT_EQ(0, system.specialItems.itemCount);
  }
}

// Lines are joined with nothing between them, whatever their line ends.
TEST_F(LoadingTest, CorpusFile) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"ba/bi/", "ba/bi/"},
      {"ba/\n", "ba/"},
      {"ba/\nbi/\n", "ba/bi/"},
      {"ba/\r\nbi/\r\n", "ba/bi/"},
      {"ba/\r\nbi/", "ba/bi/"},
      {"ba/bi\nbo/", "ba/bibo/"},  // a syllable split across lines
      {"ba/\n\n\nbi/\n", "ba/bi/"},
      {"\n", ""},
      {"ba\r/bi/\n", "ba\r/bi/"},  // a carriage return inside a line is text
      {"ba/\r", "ba/\r"},          // so is one that no line feed follows
      {"ba/ \n bi/", "ba/  bi/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    System system;
    CoutCapture out;
    EXPECT_EQ(c.text, system.readInputFromFile(writeFile("corpus.tmp", c.bytes)));
    EXPECT_EQ("", out.str());
  }
}

TEST_F(LoadingTest, CorpusFileThatCannotBeOpened) {
  for (const std::string& path : {(folder_ / "missing.tmp").string(), folder_.string()}) {
    SCOPED_TRACE(path);
    System system;
    CoutCapture out;
    EXPECT_EQ("", system.readInputFromFile(path));
    EXPECT_EQ(kCorpusOpenError, out.str());
  }
}

// One id per syllable, oldest first; a boundary marker 0 only directly after a
// syllable; text after the last "/" dropped.
TEST_F(LoadingTest, InputStreamFromText) {
  struct Case {
    std::string text;
    std::vector<int> stream;             // oldest first
    std::vector<std::string> syllables;  // of ids 1, 2, ...
  };
  const std::vector<Case> cases = {
      {"ba/bi//bo/", {1, 2, 0, 3}, {"ba/", "bi/", "bo/"}},
      {"/ba/", {1}, {"ba/"}},
      {"//ba/", {1}, {"ba/"}},
      {"ba///bi/", {1, 0, 2}, {"ba/", "bi/"}},
      {"ba//", {1, 0}, {"ba/"}},
      {"ba//bi//", {1, 0, 2, 0}, {"ba/", "bi/"}},
      {"ba/bi", {1}, {"ba/"}},
      {"ba/ba/", {1, 1}, {"ba/"}},
      {" ba/ba/", {1, 2}, {" ba/", "ba/"}},
      {"ba/bi/ba/bo/bi/", {1, 2, 1, 3, 2}, {"ba/", "bi/", "bo/"}},
      {"", {}, {}},
      {"///", {}, {}},
      {"ba", {}, {}},
      {" /", {1}, {" /"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    System system;
    system.loadInputFromString(c.text);
    EXPECT_EQ(c.stream, readList(system.inputStream));
    EXPECT_EQ(static_cast<int>(c.stream.size()), system.inputSize);
    ASSERT_EQ(static_cast<int>(c.syllables.size()) + 1, system.chunks.lastChunk);
    for (size_t k = 0; k < c.syllables.size(); ++k) {
      EXPECT_EQ(c.syllables[k], system.chunks.chunks[k + 1].syllable);
      EXPECT_TRUE(system.chunks.chunks[k + 1].isTerminal);
    }
  }
}

// Loading resets the progress counters and sizes the target items for the
// stream, boundary markers included.
TEST_F(LoadingTest, LoadingPreparesCountersAndTargetItems) {
  System system;
  system.loadParametersFromFile(writeParams("1", "150", "25", "2", {"ba/", "bi/"}));
  system.processedSyllables = 5;
  system.processedCharacters = 17;
  system.progressbarPosition = 3;
  std::string text;
  for (int k = 0; k < 12; ++k) text += "ba/bi//";  // 36 ids
  system.loadInputFromString(text);
  EXPECT_EQ(36, system.inputSize);
  EXPECT_EQ(0, system.processedSyllables);
  EXPECT_EQ(0, system.processedCharacters);
  EXPECT_EQ(0, system.progressbarPosition);
  ASSERT_EQ(2, system.specialItems.itemCount);
  for (int i = 0; i < 2; ++i) {
    const SpecialItem& item = system.specialItems.itemArray[i];
    EXPECT_EQ(3, item.timeCourseSize);
    ASSERT_EQ(10, item.averagedTimeCourseSizeMax);
    EXPECT_EQ(0, item.averagedTimeCourseSize);
    EXPECT_EQ(0, item.timeCourseIndex);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(0.0, item.averagedTimeCourse[k]);
  }
}

// Syllables beyond the 9999th are skipped, and the boundary flag is left as it
// was: a refused syllable neither makes nor prevents a marker.
TEST_F(LoadingTest, CorpusOverflowingTheChunkTable) {
  std::string text;
  std::vector<int> stream;
  for (int k = 1; k <= 9999; ++k) {
    text += "s" + std::to_string(k) + "/";
    stream.push_back(k);
  }
  text +=
      "/new/"
      "/"
      "s1/new2/"
      "/"
      "s2/";
  stream.insert(stream.end(), {0, 1, 0, 2});
  System system;
  CoutCapture out;
  system.loadInputFromString(text);
  EXPECT_EQ(
      "ERREUR : la table des chunks est pleine (9999 chunks), aucun nouveau chunk ne peut etre "
      "cree.\n",
      out.str());
  EXPECT_EQ(10000, system.chunks.lastChunk);
  EXPECT_EQ(stream, readList(system.inputStream));
  EXPECT_EQ(10003, system.inputSize);
}

// A stream that fails without reaching its end (a read error) must still end
// the reading, or reading a corpus to its end would never stop.
TEST(LineReaderTest, ReadErrorEndsTheText) {
  std::istringstream in("ba/\nbi/\n");
  LineReader reader(in);
  EXPECT_EQ("ba/", reader.next());
  EXPECT_FALSE(reader.atEnd());
  in.setstate(std::ios::badbit);
  reader.next();
  EXPECT_TRUE(reader.atEnd());
}
