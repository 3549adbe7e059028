// Reports: the step trace, the diagnostic listings, the result and curves
// files, and how the run reports files it cannot open or write.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "model/system.h"
#include "test_util.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder that is the current directory while the object lives.
class ScopedWorkDir {
 public:
  explicit ScopedWorkDir(const std::string& tag)
      : old_(fs::current_path()),
        path_(fs::temp_directory_path() /
              ("syllex_reports_" + std::to_string(::getpid()) + "_" + tag)) {
    fs::remove_all(path_);
    fs::create_directories(path_);
    fs::current_path(path_);
  }
  ~ScopedWorkDir() {
    fs::current_path(old_);
    fs::remove_all(path_);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path old_;
  fs::path path_;
};

// Parameter file with the given result mode, default capacities, no targets.
void writeParameters(const fs::path& dir, int mode) {
  std::ofstream out(dir / "param03.tmp");
  out << "parameters\n" << mode << "\n-\n-\n150\n25\n";
  for (int line = 7; line <= 14; ++line) out << "-\n";
  out << "0\n";
}

std::string bar(int n) { return std::string(n, '_'); }

// The new-chunk line of a trace, from its leading end of line to its two.
std::string newChunkLine(const std::string& trace) {
  const size_t begin = trace.find("\n>>> ");
  const size_t end = trace.find("\n\n", begin + 1);
  if (begin == std::string::npos || end == std::string::npos) return "";
  return trace.substr(begin, end + 2 - begin);
}

const std::string kIteration = std::string(69, '#') + " ITERATION : ";

// ---------------------------------------------------------------------------
// Step trace

TEST(Trace, FirstStepWithNoGainHasEmptyMemoryAndReversedSign) {
  System sys;
  sys.loadInputFromString("ba/bi/");
  fillList(sys.focus, {1, 2});
  sys.updateCodelengths();
  const double gain = sys.optimize();  // empty memory: T = 2, no chunk
  sys.updateCodelengths();
  EXPECT_EQ(sys.toString3(1, gain),
            kIteration + "1\n\n" +
                "\n          STIMULI | CHUNKS:\t\t\t\t(0 bits)"
                "\n          CHUNKS:\n"
                "[1]  :  ba/\t\t\t0 + 0\t\t(1)   1\n"
                "[2]  :  bi/\t\t\t0 + 0\t\t(1)   1\n"
                "\n>>> new chunk = 1 + 2 does not decrease system size (increase = 6.09474 "
                "bits).\n\n"
                "          FOCUS:\t\t1  2  \t\t(2 bits)"
                "\n          INPUT STREAM:\t\t1  2  ");
}

TEST(Trace, PositiveGainNamesTheNewChunkAndItsChildren) {
  System sys;
  sys.loadInputFromString("ba/bi/");
  const int chunk = sys.chunks.addChunk(1, 2);
  ASSERT_EQ(chunk, 3);
  fillList(sys.stimuliChunks, {3, 1});
  fillList(sys.focus, {3, 2});
  sys.updateCodelengths();
  // Frequencies 3, 2, 2 of a total of 7.
  EXPECT_EQ(sys.toString3(12, 6.52191),
            kIteration + "12\n\n" +
                "\n          STIMULI | CHUNKS:\t\t3  1  \t\t(3.02975 bits)"
                "\n          CHUNKS:\n"
                "[1]  :  ba/\t\t\t0 + 0\t\t(3)   1.22239\n"
                "[2]  :  bi/\t\t\t0 + 0\t\t(2)   1.80735\n"
                "[3]  :  ba/bi/\t\t\t1 + 2\t\t(2)   1.80735\n"
                "\n>>> new chunk [3] = 1 + 2 decreases system size by 6.52191 bits.\n\n"
                "          FOCUS:\t\t3  2  \t\t(3.61471 bits)"
                "\n          INPUT STREAM:\t\t1  2  ");
}

TEST(Trace, NoGainLineNamesThePairOrTheEmptySlots) {
  struct Case {
    std::vector<int> focus;
    bool useOptimize;  // otherwise the gain is exactly 0
    std::string line;
  };
  const Case cases[] = {
      // A gain of exactly 0 creates nothing; its reversed sign shows.
      {{1, 2},
       false,
       "\n>>> new chunk = 1 + 2 does not decrease system size (increase = -0 bits).\n\n"},
      // No pair: the slot next to the lone element is empty (-1).
      {{2},
       true,
       "\n>>> new chunk = 2 + -1 does not decrease system size (increase = 1 bits).\n\n"},
      {{},
       true,
       "\n>>> new chunk = -1 + -1 does not decrease system size (increase = 1 bits).\n\n"},
  };
  for (const Case& c : cases) {
    System sys;
    sys.loadInputFromString("ba/bi/");
    fillList(sys.focus, c.focus);
    sys.updateCodelengths();
    const double gain = c.useOptimize ? sys.optimize() : 0.0;
    sys.updateCodelengths();
    EXPECT_EQ(newChunkLine(sys.toString3(3, gain)), c.line) << c.focus.size() << " elements";
  }
}

TEST(Trace, RunOfOneChunkShowsWhatTheOldestElementIsAfterMerging) {
  // Memory: 14 a (7 pairs) then 184 z, so T = 200 and merging (a, a) gains.
  struct Case {
    int run;
    std::string line;
    std::string focus;
  };
  const Case cases[] = {
      // Pairs form from the newest end: an odd run keeps a as its oldest.
      {3, "\n>>> new chunk [1] = 0 + 0 decreases system size by 3.29176 bits.\n\n", "1  3  "},
      {4, "\n>>> new chunk [3] = 1 + 1 decreases system size by 3.29176 bits.\n\n", "3  3  "},
  };
  for (const Case& c : cases) {
    System sys;
    sys.loadInputFromString("a/z/");
    fillList(sys.stimuliChunks, std::vector<int>(14, 1));
    for (int i = 0; i < 184; ++i) sys.stimuliChunks.addFirst(2);
    fillList(sys.focus, std::vector<int>(c.run, 1));
    sys.updateCodelengths();
    const double gain = sys.optimize();
    sys.updateCodelengths();
    const std::string trace = sys.toString3(5, gain);
    EXPECT_EQ(newChunkLine(trace), c.line) << "run of " << c.run;
    EXPECT_NE(trace.find("          FOCUS:\t\t" + c.focus + "\t\t("), std::string::npos) << trace;
  }
}

TEST(Trace, DisplayModeThreeTakesOneNonBlankCharacterPerStep) {
  ScopedWorkDir dir("mode3");
  System sys;
  sys.loadInputFromString("ba//bi//bo//bu//");
  std::istringstream keys("a b\nc\n");
  std::streambuf* oldIn = std::cin.rdbuf(keys.rdbuf());
  std::vector<std::streamsize> left;
  std::string out;
  {
    CoutCapture capture;
    for (int step = 1; step <= 4; ++step) {
      EXPECT_FALSE(sys.processOneStep(3, step));
      left.push_back(keys.rdbuf()->in_avail());
    }
    EXPECT_TRUE(sys.processOneStep(3, 5));
    out = capture.str();
  }
  std::cin.rdbuf(oldIn);
  std::cin.clear();
  // a, then b past the blank, then c past the line end; the fourth step
  // skips the last line end, meets the end and does not wait.
  EXPECT_EQ(left, (std::vector<std::streamsize>{5, 3, 1, 0}));
  // The trace and its end of line come before the step's part of the bar.
  const std::string firstStep =
      kIteration + "1\n\n" +
      "\n          STIMULI | CHUNKS:\t\t\t\t(0 bits)"
      "\n          CHUNKS:\n"
      "[1]  :  ba/\t\t\t0 + 0\t\t(1)   2\n"
      "[2]  :  bi/\t\t\t0 + 0\t\t(1)   2\n"
      "[3]  :  bo/\t\t\t0 + 0\t\t(1)   2\n"
      "[4]  :  bu/\t\t\t0 + 0\t\t(1)   2\n"
      "\n>>> new chunk = 1 + -1 does not decrease system size (increase = 1 bits).\n\n"
      "          FOCUS:\t\t1  \t\t(2 bits)"
      "\n          INPUT STREAM:\t\t1  0  2  0  3  0  4  0  \n" +
      bar(10) + kIteration + "2\n\n";
  EXPECT_EQ(out.substr(0, firstStep.size()), firstStep);
  size_t traces = 0;
  for (size_t at = out.find(kIteration); at != std::string::npos; at = out.find(kIteration, at + 1))
    ++traces;
  EXPECT_EQ(traces, 4u);
  // The trace mode writes no result file.
  EXPECT_FALSE(fs::exists(dir.path() / "result03.tmp"));
}

// ---------------------------------------------------------------------------
// Diagnostic listings

TEST(Listing, IdListLayouts) {
  IntList list(10);
  EXPECT_EQ(list.toString2(), "-1  -1  -1  -1  -1  -1  -1  -1  -1  -1  L=10 ; F=10");
  fillList(list, {5, 3, 8});
  EXPECT_EQ(list.toString(), "(empty : 0)      5  3  8      (empty : 7)\n");
}

TEST(Listing, ChunkTableAfterADeletion) {
  System sys;
  sys.loadInputFromString("ba/bi/bo/");
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 4);
  ASSERT_EQ(sys.chunks.addChunk(2, 3), 5);
  fillList(sys.stimuliChunks, {5, 5, 1});
  sys.updateCodelengths();
  sys.deleteUnusedChunks();  // 4 is used nowhere
  ASSERT_TRUE(sys.chunks.chunks[4].isDeleted);
  sys.updateCodelengths();
  sys.chunks.updateChunkPriority();
  sys.updateCodelengths();
  // Total 9: frequencies 2, 2, 2 and 3 for chunk 5; 4 keeps its last frequency.
  EXPECT_EQ(sys.chunks.toString(),
            "[1]  :  ba/    2  0  0  2.16993\n"
            "[2]  :  bi/    2  0  0  2.16993\n"
            "[3]  :  bo/    2  0  0  2.16993\n"
            "[4]  :  ba/bi/    1  1  2  10000\n"
            "[5]  :  bi/bo/    3  2  3  1.58496\n");
  EXPECT_EQ(sys.chunks.toString3(),
            "[1]  :  ba/\t\t\t0 + 0\t\t(2)   2.16993\n"
            "[2]  :  bi/\t\t\t0 + 0\t\t(2)   2.16993\n"
            "[3]  :  bo/\t\t\t0 + 0\t\t(2)   2.16993\n"
            "[5]  :  bi/bo/\t\t\t2 + 3\t\t(3)   1.58496\n");
  EXPECT_EQ(sys.chunks.toString5(),
            "[5]  :  bi/bo/\t\t\t2 + 3\t\t(3)   1.58496\n"
            "[1]  :  ba/\t\t\t0 + 0\t\t(2)   2.16993\n"
            "[2]  :  bi/\t\t\t0 + 0\t\t(2)   2.16993\n"
            "[3]  :  bo/\t\t\t0 + 0\t\t(2)   2.16993\n");
}

TEST(Listing, TargetItems) {
  SpecialItems items;
  EXPECT_EQ(items.toString(), "");
  items.buildSpecialItems(2);
  items.itemArray[0].name = "ba/bi/";
  items.itemArray[1].name = "bo/";
  items.buildAllSpecialItems(20);  // blocks of 2 values
  for (double value : {10.0, 10.0, 1.5, 2.0}) items.itemArray[0].addValue(value);
  EXPECT_EQ(items.itemArray[0].toString(), "ba/bi/ : 10 1.75 0 0 0 0 0 0 0 0 ");
  EXPECT_EQ(items.toString(), "ba/bi/ : 10 1.75 0 0 0 0 0 0 0 0 \nbo/ : 0 0 0 0 0 0 0 0 0 0 \n");
}

// ---------------------------------------------------------------------------
// Result and curves files

TEST(ReportFile, StepBlockOfACompositeOrAnEmptyFocusSkipsDeletedChunks) {
  struct Case {
    std::vector<int> focus;
    std::string head;
  };
  const Case cases[] = {
      {{5, 1}, " bi/bo/ ba/  <------  bi/bo/ba/\n 2 \nbi/bo/\n"},
      {{}, "  <------  \n 0 \n\n"},
  };
  for (const Case& c : cases) {
    ScopedWorkDir dir("block");
    System sys;
    sys.loadInputFromString("ba/bi/bo/");
    sys.chunks.addChunk(1, 2);
    sys.chunks.addChunk(2, 3);
    fillList(sys.stimuliChunks, {5, 5, 1});
    sys.updateCodelengths();
    sys.deleteUnusedChunks();
    fillList(sys.focus, c.focus);
    sys.processedSyllables = 1;
    sys.processedCharacters = 9;
    sys.updateCodelengths();
    std::string out;
    {
      CoutCapture capture;
      sys.writeResultToFile("result03.tmp", 4);
      out = capture.str();
    }
    // The bar catches up with the counters: 1 of 3 ids is 26 of 80.
    EXPECT_EQ(out, bar(26));
    EXPECT_EQ(sys.progressbarPosition, 26);
    EXPECT_EQ(readFile("result03.tmp"),
              " 4 \n 10 \n" + c.head +
                  " 4 \nbi/bo/\n 1.58496 \nba/\n 2.16993 \nbi/\n 2.16993 \nbo/\n 2.16993 \n");
  }
}

TEST(ReportFile, FocusLeftEmptyByCapacityShowsOldestSyllableAlone) {
  ScopedWorkDir dir("emptyfocus");
  System sys;
  sys.loadInputFromString("ba/bi//");
  ASSERT_EQ(sys.chunks.addChunk(1, 2), 3);
  // ba is cheap (0.46 bits) but ba/bi/ costs log2(11) bits: with a capacity
  // of 1 bit the second pass yields that one chunk, which the rule removes.
  fillList(sys.stimuliChunks, std::vector<int>(6, 1));
  sys.focusSizeMax = 1;
  sys.updateCodelengths();
  ASSERT_FALSE(sys.focusing());
  ASSERT_EQ(sys.focus.getSize(), 0);
  {
    CoutCapture quiet;
    ASSERT_FALSE(sys.processOneStep(4, 1));
  }
  EXPECT_EQ(readFile("result03.tmp"),
            " 1 \n 4 \n ba/  <------  ba/\n 1 \nba/\n"
            " 3 \nba/\n 0.459432 \nbi/\n 2.45943 \nba/bi/\n 3.45943 \n");
  EXPECT_EQ(readList(sys.inputStream), (std::vector<int>{2, 0}));
  EXPECT_EQ(sys.stimuliChunks.items[sys.stimuliChunks.first], 1);
}

TEST(Curves, MeanThatIsNotANumberReadsNanWhateverItsSign) {
  ScopedWorkDir dir("nan");
  System sys;
  sys.specialItems.buildSpecialItems(1);
  sys.specialItems.buildAllSpecialItems(30);
  sys.specialItems.itemArray[0].averagedTimeCourse[0] = std::numeric_limits<double>::quiet_NaN();
  sys.specialItems.itemArray[0].averagedTimeCourse[1] =
      std::copysign(std::numeric_limits<double>::quiet_NaN(), -1.0);
  sys.specialItems.itemArray[0].averagedTimeCourse[2] = 2.5;
  sys.writeTimeCourseToFile("graph03.tmp");
  EXPECT_EQ(readFile("graph03.tmp"),
            "curves\n nan \n nan \n 2.5 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n 0 \n");
}

TEST(ReportFile, UnopenableResultFileRecomputesNothing) {
  ScopedWorkDir dir("folder");
  fs::create_directory("result03.tmp");
  System sys;
  sys.loadInputFromString("ba/bi/");
  sys.updateCodelengths();
  sys.chunks.updateChunkPriority();  // leaves every codelength at 10001
  CoutCapture capture;
  sys.writeResultToFile("result03.tmp", 1);
  EXPECT_EQ(capture.str(), "ERREUR : impossible d'ouvrir le fichier de sortie en ecriture.\n");
  EXPECT_EQ(sys.chunks.chunks[1].codelength, 10001.0);
  EXPECT_TRUE(fs::is_directory("result03.tmp"));
}

// Whole runs whose output files cannot be opened (folders) or cannot take
// what is written (/dev/full): each failure is reported and the run ends
// normally. Corpus of 4 ids, two steps of one syllable: 20 "_" each.
TEST(ReportFile, RunReportsFilesItCannotOpenOrWrite) {
  const std::string writeResult = "ERREUR : echec de l'ecriture du fichier de sortie.\n";
  const std::string writeCurves = "ERREUR : echec de l'ecriture du fichier du decours temporel.\n";
  const std::string openResult = "ERREUR : impossible d'ouvrir le fichier de sortie en ecriture.\n";
  const std::string openCurves =
      "ERREUR : impossible d'ouvrir le fichier du decours temporel en ecriture.\n";
  struct Case {
    bool folders;  // otherwise links to /dev/full
    int mode;
    std::string out;
  };
  const Case cases[] = {
      {false, 1, bar(20) + writeResult + bar(20) + writeResult + writeCurves},
      {false, 2, bar(40) + writeResult + writeCurves},
      {true, 1, bar(20) + openResult + bar(20) + openResult + openCurves},
      {true, 2, bar(40) + openResult + openCurves},
  };
  for (const Case& c : cases) {
    ScopedWorkDir dir(std::string(c.folders ? "folders" : "full") + std::to_string(c.mode));
    writeParameters(dir.path(), c.mode);
    std::ofstream(dir.path() / "corpus.tmp") << "ba//bi//\n";
    for (const char* name : {"result03.tmp", "graph03.tmp"}) {
      if (c.folders) {
        fs::create_directory(dir.path() / name);
      } else {
        fs::create_symlink("/dev/full", dir.path() / name);
      }
    }
    const std::string command = std::string("'") + SYLLEX_BIN + "' < /dev/null > stdout.out";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFile(dir.path() / "stdout.out"), c.out)
        << (c.folders ? "folders" : "/dev/full") << ", mode " << c.mode;
  }
}

}  // namespace
