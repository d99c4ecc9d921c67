// Saving the memory dump where the save cannot succeed: the "Dump File
// Error" box, and the blocks saved earlier left exactly as they were.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "monitor/core/menu_ids.h"
#include "monitor/line/memory_dump_dialog.h"
#include "tests/fault_injection/monitor_fixture.h"
#include "tests/support/file_size_limit.h"

namespace faults {
namespace {

using D = MemoryDumpDialog;
namespace fs = std::filesystem;

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

using fake::FileSizeLimit;

class DumpFolderTest : public MonitorOverDaemon {
 protected:
  void SetUp() override {
    const char* before = getenv("TALVMON_DUMP_DIR");
    if (before != nullptr) saved_env_ = before;
    connect("TALVSTRM0");
  }
  void TearDown() override {
    if (saved_env_) setenv("TALVMON_DUMP_DIR", saved_env_->c_str(), 1);
    else unsetenv("TALVMON_DUMP_DIR");
    if (fs::exists(folder())) fs::permissions(folder(), fs::perms::owner_all);
  }
  fs::path folder() const { return fs::path(dir_.path()) / "dumps"; }
  fs::path file() const { return folder() / "strmdump.wri"; }
  void useFolder(const fs::path& path) { setenv("TALVMON_DUMP_DIR", path.c_str(), 1); }

  // Runs the dump dialog: one read, then the steps.
  void inDumpDialog(std::function<void(fake::FakeForm&)> steps) {
    host_.onModal("MEMORYDUMP", [steps](fake::FakeForm& f) {
      f.click(D::kGetMemory);
      ASSERT_GT(f.listCount(D::kListing), 0);
      steps(f);
      f.click(D::kClose);
    });
    host_.command(kMenuMemoryDump);
  }
  void save(fake::FakeForm& f) {
    prompter_.clear();
    f.click(D::kSaveDump);
    ASSERT_EQ(prompter_.count(), 1u);
  }
  void expectSaved(const fs::path& path) {
    EXPECT_EQ(prompter_.last().text, "Memory dump saved in " + path.string() + ".");
  }
  void expectError(const std::string& what, const fs::path& path) {
    EXPECT_EQ(prompter_.last().text, what + path.string() + "\n");
    EXPECT_EQ(prompter_.last().caption, "Dump File Error");
    EXPECT_EQ(prompter_.last().icon, ui::Icon::Error);
  }

  std::optional<std::string> saved_env_;
};

TEST_F(DumpFolderTest, ADiskFillingUpMidSaveLeavesTheEarlierBlocksAsTheyWere) {
  useFolder(folder());
  inDumpDialog([&](fake::FakeForm& f) {
    save(f);
    expectSaved(file());
    save(f);
    expectSaved(file());
    const std::string earlier = Contents(file());
    {
      FileSizeLimit full(earlier.size() + 100);
      save(f);
    }
    expectError("Can not write the file ", file());
    EXPECT_EQ(Contents(file()).size(), earlier.size());
    EXPECT_TRUE(Contents(file()) == earlier);

    save(f);
    expectSaved(file());
    const std::string now = Contents(file());
    ASSERT_GT(now.size(), earlier.size());
    EXPECT_EQ(now.substr(0, earlier.size()), earlier);
    EXPECT_EQ(now.substr(earlier.size(), 14), "System date : ");
  });
}

TEST_F(DumpFolderTest, AFullDeviceAsTheDumpFileIsAWriteError) {
  useFolder(folder());
  fs::create_directories(folder());
  fs::create_symlink("/dev/full", file());
  inDumpDialog([&](fake::FakeForm& f) {
    save(f);
    expectError("Can not write the file ", file());
  });
}

TEST_F(DumpFolderTest, AFolderThatIsAFileCannotBeOpened) {
  const fs::path plain = fs::path(dir_.path()) / "plain";
  std::ofstream(plain) << "not a folder\n";
  useFolder(plain);
  inDumpDialog([&](fake::FakeForm& f) {
    save(f);
    expectError("Can not open the file ", plain / "strmdump.wri");
  });
  EXPECT_EQ(Contents(plain), "not a folder\n");
}

TEST_F(DumpFolderTest, AReadOnlyFolderCannotTakeANewFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  useFolder(folder());
  fs::create_directories(folder());
  fs::permissions(folder(), fs::perms::owner_read | fs::perms::owner_exec);
  inDumpDialog([&](fake::FakeForm& f) {
    save(f);
    expectError("Can not open the file ", file());
  });
  EXPECT_FALSE(fs::exists(file()));
}

}  // namespace
}  // namespace faults
