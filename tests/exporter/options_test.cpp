#include "exporter/options.h"

#include <gtest/gtest.h>

#include "exporter/routes.h"

namespace exporter {
namespace {

bool Parse(std::vector<std::string> args, Options* o, std::string* error) { return ParseOptions(args, o, error); }

TEST(Options, BothFlagStylesAndTheDefaults) {
  Options o;
  std::string error;
  ASSERT_TRUE(Parse({}, &o, &error));
  EXPECT_EQ(o.listen_address, "127.0.0.1:9817");
  EXPECT_EQ(o.telemetry_path, "/metrics");
  EXPECT_FALSE(o.devices);

  ASSERT_TRUE(Parse({"--web.listen-address=:0", "--web.telemetry-path", "/m", "--devices=TALVSTRM3,TALVSTRM10"},
                    &o, &error));
  EXPECT_EQ(o.listen_address, ":0");
  EXPECT_EQ(o.telemetry_path, "/m");
  EXPECT_EQ(*o.devices, (std::vector<std::string>{"TALVSTRM3", "TALVSTRM10"}));
}

TEST(Options, MalformedValuesAreRefusedWithTheReason) {
  Options o;
  std::string error;
  EXPECT_FALSE(Parse({"--devices=TALVSTRM16"}, &o, &error));
  EXPECT_NE(error.find("TALVSTRM16"), std::string::npos);
  EXPECT_FALSE(Parse({"--devices=,"}, &o, &error));
  EXPECT_FALSE(Parse({"--web.listen-address=9817"}, &o, &error));
  EXPECT_FALSE(Parse({"--web.listen-address=host:70000"}, &o, &error));
  EXPECT_FALSE(Parse({"--web.telemetry-path=/"}, &o, &error));
  EXPECT_FALSE(Parse({"--web.listen-address"}, &o, &error));
  EXPECT_FALSE(Parse({"--verbose"}, &o, &error));
}

TEST(Options, ListenAddresses) {
  const auto v6 = ParseListenAddress("[::1]:9817");
  ASSERT_TRUE(v6);
  EXPECT_TRUE(v6->ipv6);
  EXPECT_EQ(v6->host, "::1");
  EXPECT_EQ(v6->port, 9817u);
  const auto any = ParseListenAddress(":0");
  ASSERT_TRUE(any);
  EXPECT_EQ(any->host, "");
  EXPECT_EQ(any->port, 0u);
  EXPECT_FALSE(ParseListenAddress("::1:9817"));
}

TEST(Routes, ScrapeDeadlineFollowsTheScrapersTimeoutWithinBounds) {
  using std::chrono::milliseconds;
  EXPECT_EQ(ScrapeDeadline(""), kMaxScrapeDeadline);
  EXPECT_EQ(ScrapeDeadline("nonsense"), kMaxScrapeDeadline);
  EXPECT_EQ(ScrapeDeadline("1"), milliseconds(750));
  EXPECT_EQ(ScrapeDeadline("0.1"), milliseconds(100));
  EXPECT_EQ(ScrapeDeadline("120"), kMaxScrapeDeadline);
}

class NoCards : public CardDriver {
 public:
  std::unique_ptr<DeviceHandle> open(std::string_view, uint32_t* error) override {
    *error = kErrorDeviceNotFound;
    return nullptr;
  }
};

TEST(Routes, LandingPageMetricsAndEverythingElse) {
  NoCards driver;
  Collector collector(driver, std::vector<std::string>{"TALVSTRM0"});
  const std::string path = "/m\"><script>";

  const HttpResponse landing = Route({"GET", "/", "", ""}, path, collector);
  EXPECT_EQ(landing.status, 200u);
  EXPECT_NE(landing.body.find("href=\"/m&quot;&gt;&lt;script&gt;\""), std::string::npos) << landing.body;

  const HttpResponse metrics = Route({"GET", path, "application/openmetrics-text", ""}, path, collector);
  EXPECT_EQ(metrics.status, 200u);
  EXPECT_EQ(metrics.content_type, kOpenMetricsContentType);
  EXPECT_NE(metrics.body.find("talvlink_up{device=\"TALVSTRM0\"} 0\n"), std::string::npos);

  EXPECT_EQ(Route({"GET", "/metrics", "", ""}, path, collector).status, 404u);
  EXPECT_EQ(Route({"POST", path, "", ""}, path, collector).status, 405u);
}

}  // namespace
}  // namespace exporter
