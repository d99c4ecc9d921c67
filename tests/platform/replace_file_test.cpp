#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

mode_t Mode(const std::string& path) {
  struct stat s {};
  ::stat(path.c_str(), &s);
  return s.st_mode & 07777;
}

size_t Entries(const std::string& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(ReplaceFileTest, WritesThroughLinksAndKeepsTheMode) {
  const std::string real_dir = dir_.path("dotfiles");
  fs::create_directory(real_dir);
  const std::string target = real_dir + "/talvmon.ini";
  std::ofstream(target) << "old";
  ::chmod(target.c_str(), 0600);
  // A relative link, then a link to that link.
  const std::string link = dir_.path("talvmon.ini");
  fs::create_symlink("dotfiles/talvmon.ini", link);
  const std::string second = dir_.path("second.ini");
  fs::create_symlink(link, second);

  ASSERT_TRUE(platform::ReplaceFileContents(second, "new contents\n"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(second));
  EXPECT_EQ(Contents(target), "new contents\n");
  EXPECT_EQ(Mode(target), 0600u);
  // No temporary file left beside it.
  EXPECT_EQ(Entries(real_dir), 1u);
}

TEST_F(ReplaceFileTest, ADanglingLinkCreatesItsTarget) {
  const std::string link = dir_.path("link.ini");
  fs::create_symlink("made.ini", link);
  ASSERT_TRUE(platform::ReplaceFileContents(link, "x"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(dir_.path("made.ini")), "x");
}

TEST_F(ReplaceFileTest, AFailedWriteLeavesTheOldFileWhole) {
  const std::string path = dir_.path("talvmon.ini");
  std::ofstream(path) << "old settings";
  {
    fake::FileSizeLimit limit(16);
    EXPECT_FALSE(platform::ReplaceFileContents(path, std::string(100, 'n')));
  }
  EXPECT_EQ(Contents(path), "old settings");
  EXPECT_EQ(Entries(dir_.path("")), 1u);
  EXPECT_FALSE(platform::ReplaceFileContents(dir_.path("no-such-dir/x.ini"), "x"));
}

}  // namespace
