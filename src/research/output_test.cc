#include "research/output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(OutputTest, ReplacesFilesWholeAndKeepsDevicesAndLinks) {
  const fs::path dir = fs::temp_directory_path() / ("syllex_output_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path file = dir / "out.tsv";
  writeOutput(file.string(), "first\n");
  writeOutput(file.string(), "second\n");
  EXPECT_EQ(contents(file), "second\n");
  // A link keeps pointing at the file, which gets the new text.
  fs::create_symlink(file, dir / "link.tsv");
  writeOutput((dir / "link.tsv").string(), "third\n");
  EXPECT_TRUE(fs::is_symlink(dir / "link.tsv"));
  EXPECT_EQ(contents(file), "third\n");
  // A device is written in place, never renamed over.
  writeOutput("/dev/null", "gone\n");
  struct stat status;
  ASSERT_EQ(::stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
  // A failed write leaves the earlier file and no temporary beside it.
  EXPECT_THROW(writeOutput((dir / "missing" / "x").string(), "x"), OutputError);
  EXPECT_THROW(writeOutput(dir.string(), "x"), OutputError);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  fs::remove_all(dir);
}

}  // namespace
