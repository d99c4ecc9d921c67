#include <gtest/gtest.h>

#include "monitor/core/settings.h"
#include "tests/monitor/core/core_fixture.h"

using SettingsTest = CoreTest;

TEST_F(SettingsTest, MissingFileGivesDefaults) {
  ProfileFile f(ini_path_);
  MonitorSettings s = LoadSettings(f);
  EXPECT_EQ(s.loop_count, 20000u);
  EXPECT_EQ(s.tick_interval_ms, 100);
  EXPECT_TRUE(s.use_system_timer);
  EXPECT_EQ(s.default_device, "TALVSTRM0");
  EXPECT_TRUE(s.auto_arrange_on_resize);
}

TEST_F(SettingsTest, ValuesAreBroughtIntoTheDialogsRange) {
  struct Case {
    const char* file;
    uint32_t loop_count;
    uint16_t ms;
    bool timer;
  };
  const Case cases[] = {
      {"[Polling]\ntick_interval=5\ntick_interval_ms=250\nuse_system_timer=0\n", 5000, 250, false},
      {"[Polling]\ntick_interval=0\n", 20000, 100, true},
      {"[Polling]\ntick_interval=-7\n", 20000, 100, true},
      {"[Polling]\ntick_interval=junk\n", 20000, 100, true},
      {"[Polling]\ntick_interval=65536\n", 65535000, 100, true},
      {"[Polling]\ntick_interval=99999999999999999999\n", 65535000, 100, true},
      {"[Polling]\ntick_interval_ms=70000\n", 20000, 65535, true},
      {"[Polling]\ntick_interval_ms=65600\nuse_system_timer=0\n", 20000, 65535, false},
      {"[Polling]\ntick_interval_ms=0\n", 20000, 100, true},
      {"[Polling]\ntick_interval_ms=0\nuse_system_timer=0\n", 20000, 0, false},
      {"[Polling]\nuse_system_timer=256\n", 20000, 100, false},
      {"[Polling]\nuse_system_timer=257\n", 20000, 100, true},
      // Duplicate keys and sections: the first one counts.
      {"[Polling]\ntick_interval=3\ntick_interval=9\n[Polling]\ntick_interval=4\n", 3000, 100, true},
      // No line end at all, odd case and blanks.
      {"[polling]\r\n  TICK_INTERVAL = 7 ", 7000, 100, true},
  };
  for (const auto& c : cases) {
    writeIni(c.file);
    MonitorSettings s = LoadSettings(ProfileFile(ini_path_));
    EXPECT_EQ(s.loop_count, c.loop_count) << c.file;
    EXPECT_EQ(s.tick_interval_ms, c.ms) << c.file;
    EXPECT_EQ(s.use_system_timer, c.timer) << c.file;
  }
}

TEST_F(SettingsTest, DeviceNameIsCutTo48Characters) {
  writeIni("[Hardware]\ndefault_device=" + std::string(60, 'X') + "\n[Options]\nauto_arrange_on_resize=0\n");
  MonitorSettings s = LoadSettings(ProfileFile(ini_path_));
  EXPECT_EQ(s.default_device, std::string(48, 'X'));
  EXPECT_FALSE(s.auto_arrange_on_resize);
}

TEST_F(SettingsTest, WriteChangesOnlyItsKey) {
  const std::string before =
      "; monitor settings\r\n[Polling]\r\ntick_interval=20\r\n; keep me\r\ntick_interval_ms=100\r\n"
      "\r\n[Hardware]\r\ndefault_device=TALVSTRM0\r\n";
  writeIni(before);
  ProfileFile f(ini_path_);
  ASSERT_TRUE(f.write("polling", "TICK_INTERVAL_MS", "250"));
  EXPECT_EQ(readIni(),
            "; monitor settings\r\n[Polling]\r\ntick_interval=20\r\n; keep me\r\nTICK_INTERVAL_MS=250\r\n"
            "\r\n[Hardware]\r\ndefault_device=TALVSTRM0\r\n");
  ASSERT_TRUE(f.write("Polling", "use_system_timer", "0"));
  ASSERT_TRUE(f.write("Options", "auto_arrange_on_resize", "1"));
  EXPECT_EQ(f.read("Polling", "use_system_timer"), "0");
  EXPECT_EQ(f.read("Options", "auto_arrange_on_resize"), "1");
  EXPECT_EQ(f.read("Hardware", "default_device"), "TALVSTRM0");
  EXPECT_NE(readIni().find("; keep me\r\n"), std::string::npos);
}

TEST_F(SettingsTest, WriteToAFileWithoutLineEndAndToAMissingFile) {
  writeIni("[Polling]\ntick_interval=20");
  ProfileFile f(ini_path_);
  ASSERT_TRUE(f.write("Polling", "tick_interval_ms", "5"));
  EXPECT_EQ(readIni(), "[Polling]\ntick_interval=20\ntick_interval_ms=5\n");
  std::filesystem::remove(ini_path_);
  ASSERT_TRUE(f.write("Hardware", "default_device", "TALVSTRM3"));
  EXPECT_EQ(readIni(), "[Hardware]\ndefault_device=TALVSTRM3\n");
}

TEST_F(SettingsTest, WriteKeepsALinkedPrivateFile) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links and POSIX modes";
#endif
  const std::string target = ini_path_ + ".real";
  std::ofstream(target) << "; mine\n[Polling]\ntick_interval_ms=100\n";
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::remove(ini_path_);
  std::filesystem::create_symlink(target, ini_path_);
  ProfileFile f(ini_path_);
  ASSERT_TRUE(f.write("Polling", "tick_interval_ms", "250"));
  EXPECT_TRUE(std::filesystem::is_symlink(ini_path_));
  EXPECT_EQ(readIni(), "; mine\n[Polling]\ntick_interval_ms=250\n");
  EXPECT_EQ(std::filesystem::status(target).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::remove(ini_path_);
  std::filesystem::remove(target);
}

TEST(ProfileIntegerTest, LeadingNumberOnly) {
  EXPECT_EQ(ProfileInteger("  42abc"), 42);
  EXPECT_EQ(ProfileInteger("-3"), -3);
  EXPECT_EQ(ProfileInteger("abc"), std::nullopt);
  EXPECT_EQ(ProfileInteger(""), std::nullopt);
  EXPECT_EQ(ProfileInteger("-"), std::nullopt);
}
