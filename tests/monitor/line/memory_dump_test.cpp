#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "monitor/line/dump_file.h"
#include "monitor/line/memory_dump_dialog.h"
#include "monitor/line/memory_listing.h"
#include "tests/monitor/line/line_fixture.h"

namespace {

using D = MemoryDumpDialog;
namespace fs = std::filesystem;

std::string Entries(const std::vector<uint8_t>& bytes) {
  std::string s;
  char e[4];
  for (uint8_t b : bytes) {
    std::snprintf(e, sizeof e, "%02X ", b);
    s += e;
  }
  return s;
}

std::vector<uint8_t> Bytes(size_t n, uint8_t first = 0) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(first + i);
  return b;
}

TEST(MemoryListingTest, LinesFollowTheAddresses) {
  EXPECT_TRUE(MemoryListing(0x100, {}).empty());
  EXPECT_EQ(MemoryListing(0x10, Bytes(16)),
            (std::vector<std::string>{"00010:\t" + Entries(Bytes(16))}));
  // Not a multiple of 16: the first line is padded with zeros that use no data.
  EXPECT_EQ(MemoryListing(0x8, Bytes(16, 0xA0)),
            (std::vector<std::string>{"00000:\t" + Entries(std::vector<uint8_t>(8)) + Entries(Bytes(8, 0xA0)),
                                      "00010:\t" + Entries(Bytes(8, 0xA8))}));
  EXPECT_EQ(MemoryListing(0x1FFFF, {std::vector<uint8_t>{0xFE}}),
            (std::vector<std::string>{"1FFF0:\t" + Entries(std::vector<uint8_t>(15)) + "FE "}));
  // Ending mid-line leaves the last line short.
  EXPECT_EQ(MemoryListing(0xABC3, Bytes(5, 0xF0)),
            (std::vector<std::string>{"0ABC0:\t00 00 00 F0 F1 F2 F3 F4 "}));
  EXPECT_EQ(MemoryListing(0x20, Bytes(20)),
            (std::vector<std::string>{"00020:\t" + Entries(Bytes(16)), "00030:\t10 11 12 13 "}));
}

class FixedClock : public DumpClock {
 public:
  DumpStamp now() const override { return stamp; }
  DumpStamp stamp{"03/07/24", "09:05:01"};
};

// Points TALVMON_DUMP_DIR somewhere for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(old_); }

 private:
  void set(const std::optional<std::string>& value) {
    if (value) ::setenv(name_, value->c_str(), 1);
    else ::unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};

class MemoryDumpTest : public LineTest {
 protected:
  void SetUp() override {
    LineTest::SetUp();
    dump_dir = fs::temp_directory_path() / ("talvmon-dump-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dump_dir);
    dump_env.emplace("TALVMON_DUMP_DIR", (dump_dir / "drivers").string());
    app->frontEndUtilities().setClock(clock);
  }
  void TearDown() override {
    dump_env.reset();
    fs::remove_all(dump_dir);
  }

  // Runs the dialog; the script acts in it while it is open.
  void dialog(std::function<void(fake::FakeForm&)> script) {
    host.onModal("MEMORYDUMP", [script](fake::FakeForm& f) {
      script(f);
      f.click(D::kClose);
    });
    host.command(kMenuMemoryDump);
    EXPECT_EQ(host.pendingModalScripts(), 0u);
  }
  // Types both fields and presses Get Memory.
  static void get(fake::FakeForm& f, std::string_view address, std::string_view length) {
    f.type(D::kAddress, address);
    f.type(D::kLength, length);
    f.click(D::kGetMemory);
  }
  std::vector<MemoryReadRequest> reads() const {
    std::vector<MemoryReadRequest> out;
    for (const auto& r : driver.requests)
      if (r.code == IOCTL_READ_MEMORY) {
        MemoryReadRequest q;
        EXPECT_EQ(r.in.size(), MemoryReadRequest::kSize);
        std::copy(r.in.begin(), r.in.end(), q.bytes().begin());
        out.push_back(q);
      }
    return out;
  }
  std::vector<std::string> expectedListing(uint32_t offset, size_t length) const {
    return MemoryListing(offset, std::span(memory).subspan(offset, length));
  }
  std::string dumpFile() const {
    std::ifstream in(dump_dir / "drivers" / kDumpFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dumpPath() const { return (dump_dir / "drivers" / kDumpFileName).string(); }

  FixedClock clock;
  fs::path dump_dir;
  std::optional<ScopedEnv> dump_env;
};

TEST_F(MemoryDumpTest, NotConnectedShowsTheBoxOnly) {
  host.command(kMenuMemoryDump);
  ASSERT_EQ(prompter.count(), 1u);
  EXPECT_EQ(prompter.last().text,
            "The application is not connected to the driver. Please use File->Open Device to connect to the driver.");
  EXPECT_EQ(prompter.last().caption, "Memory Dump");
  EXPECT_EQ(prompter.last().icon, ui::Icon::Information);
  EXPECT_TRUE(host.modalsRun().empty());
  EXPECT_TRUE(driver.requests.empty());
}

TEST_F(MemoryDumpTest, InitialFieldsListSixteenLines) {
  connectWith(kFrontEndNone);
  std::vector<std::string> listing;
  dialog([&](fake::FakeForm& f) {
    EXPECT_EQ(f.title(), "Adapter Memory Dump - for expert use only!");
    EXPECT_EQ(f.text(D::kAddress), "e000");
    EXPECT_EQ(f.text(D::kLength), "100");
    f.click(D::kGetMemory);
    listing = f.lines(D::kListing);
  });
  ASSERT_EQ(listing.size(), 16u);
  EXPECT_EQ(listing.front().substr(0, 7), "0E000:\t");
  EXPECT_EQ(listing.back().substr(0, 7), "0E0F0:\t");
  EXPECT_EQ(listing, expectedListing(0xE000, 0x100));
  auto r = reads();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].status(), 0xAA);
  EXPECT_EQ(r[0].offset(), 0xE000u);
  EXPECT_EQ(r[0].length(), 0x100);
  // Everything else goes out cleared.
  EXPECT_TRUE(std::all_of(r[0].bytes().begin() + 10, r[0].bytes().end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(r[0].bytes()[1] | r[0].bytes()[2] | r[0].bytes()[3], 0);
  // Not a mailbox command.
  EXPECT_TRUE(driver.commands().empty());
}

TEST_F(MemoryDumpTest, FieldsAndCuts) {
  struct Case {
    const char *address, *length;
    uint32_t offset;
    uint16_t read;
    const char* length_field_after;
  };
  const Case cases[] = {
      {"8", "10", 0x8, 0x10, "10"},
      {"1FFFF", "1", 0x1FFFF, 1, "1"},
      {"1ffff", "10", 0x1FFFF, 1, "1"},          // past the end: shortened, field rewritten
      {"1FF00", "FFF", 0x1FF00, 0x100, "100"},   // the end cut comes before the 1350 cut
      {"0", "FFF", 0, 1350, "FFF"},              // the 1350 cut keeps the field
      {"1FFFF0", "1", 0x1FFFF, 1, "1"},          // five characters read
      {"10", "1000", 0x10, 0x100, "1000"},       // three characters read
      {"G0", "1", 0x100, 1, "1"},
      {"ABC3", "5", 0xABC3, 5, "5"},
  };
  connectWith(kFrontEndNone);
  for (const Case& c : cases) {
    std::vector<std::string> listing;
    std::string length_field;
    dialog([&](fake::FakeForm& f) {
      get(f, c.address, c.length);
      listing = f.lines(D::kListing);
      length_field = f.text(D::kLength);
    });
    EXPECT_EQ(prompter.count(), 0u) << c.address;
    auto r = reads();
    ASSERT_EQ(r.size(), 1u) << c.address;
    EXPECT_EQ(r[0].offset(), c.offset) << c.address;
    EXPECT_EQ(r[0].length(), c.read) << c.address;
    EXPECT_EQ(length_field, c.length_field_after) << c.address;
    EXPECT_EQ(listing, expectedListing(c.offset, c.read)) << c.address;
    driver.requests.clear();
  }
}

TEST_F(MemoryDumpTest, MaximalReadIsEightyFiveLines) {
  connectWith(kFrontEndNone);
  std::vector<std::string> listing;
  dialog([&](fake::FakeForm& f) {
    get(f, "0", "FFF");
    listing = f.lines(D::kListing);
  });
  ASSERT_EQ(listing.size(), 85u);
  EXPECT_EQ(listing.back(), "00540:\t" + Entries(std::vector<uint8_t>(memory.begin() + 0x540, memory.begin() + 0x546)));
}

TEST_F(MemoryDumpTest, BadOffsetOrLengthWarnsAndSendsNothing) {
  const std::pair<const char*, const char*> offset_cases[] = {{"20000", "1"}, {"FFFFF", "10"}, {"2000G", "1"}};
  const std::pair<const char*, const char*> length_cases[] = {{"0", "0"}, {"0", ""}, {"100", "000"}};
  connectWith(kFrontEndNone);
  for (const auto& [address, length] : offset_cases) {
    dialog([&](fake::FakeForm& f) { get(f, address, length); });
    ASSERT_EQ(prompter.count(), 1u) << address;
    EXPECT_EQ(prompter.last().text, "Incorrect Memory dump offset! Maximum is 0x1FFFF, minimum is 0x00");
    EXPECT_EQ(prompter.last().caption, "Memory Dump");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
    EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
    prompter.clear();
  }
  for (const auto& [address, length] : length_cases) {
    dialog([&](fake::FakeForm& f) { get(f, address, length); });
    ASSERT_EQ(prompter.count(), 1u) << length;
    EXPECT_EQ(prompter.last().text, "Incorrect Memory dump length!");
    EXPECT_EQ(prompter.last().caption, "Memory Dump");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Warning);
    prompter.clear();
  }
  EXPECT_TRUE(driver.requests.empty());
}

TEST_F(MemoryDumpTest, AnyTextGivesAListingOrAWarning) {
  const char* texts[] = {"", " ", "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", "-1", "~~~",
                         "\xC3\xA9\xC3\xA9\xC3\xA9", "1 a", "\t\n", "ffffffffffffffffffff", "0x10", "@", "!!!!!"};
  connectWith(kFrontEndNone);
  for (const char* address : texts)
    for (const char* length : texts) {
      size_t lines = 0;
      dialog([&](fake::FakeForm& f) {
        get(f, address, length);
        lines = f.lines(D::kListing).size();
      });
      EXPECT_TRUE((lines > 0) != (prompter.count() == 1)) << '"' << address << "\" \"" << length << '"';
      prompter.clear();
    }
  for (const auto& r : reads()) {
    EXPECT_LT(r.offset(), 0x20000u);
    EXPECT_GE(r.length(), 1);
    EXPECT_LE(r.length(), 1350);
    EXPECT_LE(r.offset() + r.length(), 0x20000u);
  }
}

TEST_F(MemoryDumpTest, FailedReadKeepsTheOldListing) {
  connectWith(kFrontEndNone);
  dialog([&](fake::FakeForm& f) {
    get(f, "100", "20");
    const auto before = f.lines(D::kListing);
    ASSERT_EQ(before.size(), 2u);
    memory_status = 0x01;
    get(f, "200", "20");
    EXPECT_EQ(f.lines(D::kListing), before);
    memory_status = 0;
    memory_answers = false;
    get(f, "300", "20");
    EXPECT_EQ(f.lines(D::kListing), before);
  });
  EXPECT_EQ(reads().size(), 3u);
  EXPECT_EQ(prompter.count(), 0u);
}

TEST_F(MemoryDumpTest, SavesAppendBlocksWithCrLf) {
  connectWith(kFrontEndNone);
  const std::vector<std::string> first = expectedListing(0x8, 0x10);
  dialog([&](fake::FakeForm& f) {
    get(f, "8", "10");
    f.click(D::kSaveDump);
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "Memory dump saved in " + dumpPath() + ".");
    EXPECT_EQ(prompter.last().caption, "Memory Dump");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Information);
    EXPECT_EQ(prompter.last().owner, ui::Owner::MainWindow);
    clock.stamp = {"12/31/99", "23:59:59"};
    f.listClear(D::kListing);
    f.click(D::kSaveDump);  // an empty listing is saved too
  });
  const std::string expected = "System date : 03/07/24 System time : 09:05:01\r\n"
                               "\r\n----Memory Dump----\r\n"
                               "\r\n" + first[0] + "\r\n" + first[1] +
                               "\r\n\r\n----End of Memory Dump----\r\n"
                               "System date : 12/31/99 System time : 23:59:59\r\n"
                               "\r\n----Memory Dump----\r\n"
                               "\r\n\r\n----End of Memory Dump----\r\n";
  EXPECT_EQ(dumpFile(), expected);
}

TEST_F(MemoryDumpTest, SavesNeverOverwriteTheFile) {
  fs::create_directories(dump_dir / "drivers");
  std::ofstream(dump_dir / "drivers" / kDumpFileName, std::ios::binary) << "earlier dump\r\n";
  connectWith(kFrontEndNone);
  dialog([&](fake::FakeForm& f) { f.click(D::kSaveDump); });
  EXPECT_EQ(dumpFile().substr(0, 14), "earlier dump\r\n");
  EXPECT_GT(dumpFile().size(), 14u);
}

TEST_F(MemoryDumpTest, AFolderThatCannotBeMadeIsReportedAndTheListingStays) {
  fs::create_directories(dump_dir);
  // A file where the folder should be.
  std::ofstream(dump_dir / "drivers") << "in the way";
  connectWith(kFrontEndNone);
  dialog([&](fake::FakeForm& f) {
    get(f, "8", "10");
    f.click(D::kSaveDump);
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "Can not open the file " + dumpPath() + "\n");
    EXPECT_EQ(prompter.last().caption, "Dump File Error");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
    EXPECT_EQ(prompter.last().owner, ui::Owner::Form);
    EXPECT_EQ(prompter.last().owner_form, &f);
    EXPECT_EQ(f.lines(D::kListing).size(), 2u);
    // With the way cleared the same listing is saved.
    fs::remove(dump_dir / "drivers");
    f.click(D::kSaveDump);
    EXPECT_EQ(prompter.last().caption, "Memory Dump");
  });
  EXPECT_NE(dumpFile().find(expectedListing(0x8, 0x10)[1]), std::string::npos);
}

TEST_F(MemoryDumpTest, AFullDiskIsNotReportedAsSaved) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_directories(dump_dir / "drivers");
  fs::create_symlink("/dev/full", dump_dir / "drivers" / kDumpFileName);
  connectWith(kFrontEndNone);
  dialog([&](fake::FakeForm& f) {
    get(f, "0", "100");
    f.click(D::kSaveDump);
    ASSERT_EQ(prompter.count(), 1u);
    EXPECT_EQ(prompter.last().text, "Can not write the file " + dumpPath() + "\n");
    EXPECT_EQ(prompter.last().caption, "Dump File Error");
    EXPECT_EQ(prompter.last().icon, ui::Icon::Error);
    EXPECT_EQ(f.lines(D::kListing).size(), 16u);
  });
}

TEST(DumpFilePathTest, FollowsTheDataFolderUnlessOverridden) {
  {
    ScopedEnv dump("TALVMON_DUMP_DIR", "/tmp/x/drivers");
    EXPECT_EQ(DumpFilePath(), fs::path("/tmp/x/drivers/strmdump.wri"));
  }
  ScopedEnv no_dump("TALVMON_DUMP_DIR", std::nullopt);
  {
    ScopedEnv data("XDG_DATA_HOME", "/data");
    EXPECT_EQ(DumpFilePath(), fs::path("/data/talvmon/drivers/strmdump.wri"));
  }
  ScopedEnv home("HOME", "/home/someone");
  for (std::optional<std::string> data : {std::optional<std::string>(), std::optional<std::string>(""),
                                          std::optional<std::string>("relative")}) {
    ScopedEnv xdg("XDG_DATA_HOME", data);
    EXPECT_EQ(DumpFilePath(), fs::path("/home/someone/.local/share/talvmon/drivers/strmdump.wri"));
  }
}

}  // namespace
