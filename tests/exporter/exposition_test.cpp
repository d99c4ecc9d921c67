#include "exporter/exposition.h"

#include <gtest/gtest.h>

namespace exporter {
namespace {

std::vector<MetricFamily> UpAndFrames() {
  return {
      {"talvlink_up", "1 when the device answered.", MetricType::kGauge, {{{{"device", "TALVSTRM0"}}, 1}}},
      {"talvlink_frames_received_total",
       "Frames received.",
       MetricType::kCounter,
       {{{{"device", "TALVSTRM0"}}, 4294967301.0}, {{{"device", "TALVSTRM1"}}, 0}}},
  };
}

TEST(Exposition, TextFormatNamesEveryFamilyWithHelpAndType) {
  EXPECT_EQ(Render(UpAndFrames(), ExpositionFormat::kText),
            "# HELP talvlink_up 1 when the device answered.\n"
            "# TYPE talvlink_up gauge\n"
            "talvlink_up{device=\"TALVSTRM0\"} 1\n"
            "# HELP talvlink_frames_received_total Frames received.\n"
            "# TYPE talvlink_frames_received_total counter\n"
            "talvlink_frames_received_total{device=\"TALVSTRM0\"} 4294967301\n"
            "talvlink_frames_received_total{device=\"TALVSTRM1\"} 0\n");
}

TEST(Exposition, OpenMetricsNamesCounterFamiliesWithoutTotalAndEndsWithEof) {
  EXPECT_EQ(Render(UpAndFrames(), ExpositionFormat::kOpenMetrics),
            "# HELP talvlink_up 1 when the device answered.\n"
            "# TYPE talvlink_up gauge\n"
            "talvlink_up{device=\"TALVSTRM0\"} 1\n"
            "# HELP talvlink_frames_received Frames received.\n"
            "# TYPE talvlink_frames_received counter\n"
            "talvlink_frames_received_total{device=\"TALVSTRM0\"} 4294967301\n"
            "talvlink_frames_received_total{device=\"TALVSTRM1\"} 0\n"
            "# EOF\n");
}

TEST(Exposition, OddLabelValuesAndHelpTextsAreEscaped) {
  const std::vector<MetricFamily> families = {
      {"talvlink_info", "Back\\slash and \"quotes\"\non two lines.", MetricType::kGauge,
       {{{{"device", "odd \"name\"\\with\nbreak"}, {"code_version", "{}=,#"}}, 1}}}};
  EXPECT_EQ(Render(families, ExpositionFormat::kText),
            "# HELP talvlink_info Back\\\\slash and \"quotes\"\\non two lines.\n"
            "# TYPE talvlink_info gauge\n"
            "talvlink_info{device=\"odd \\\"name\\\"\\\\with\\nbreak\",code_version=\"{}=,#\"} 1\n");
  EXPECT_NE(Render(families, ExpositionFormat::kOpenMetrics)
                .find("# HELP talvlink_info Back\\\\slash and \\\"quotes\\\"\\non two lines.\n"),
            std::string::npos);
}

TEST(Exposition, ValuesKeepTheirPrecisionAndFamiliesWithoutSamplesAreLeftOut) {
  const std::vector<MetricFamily> families = {
      {"a", "A.", MetricType::kGauge, {{{}, 0.0125}, {{}, 44.4}, {{}, 9007199254740992.0}}},
      {"empty", "Nothing.", MetricType::kGauge, {}}};
  EXPECT_EQ(Render(families, ExpositionFormat::kText),
            "# HELP a A.\n# TYPE a gauge\na 0.0125\na 44.4\na 9007199254740992\n");
}

TEST(Exposition, OpenMetricsOnlyWhenTheScraperAsksForIt) {
  // What Prometheus itself sends.
  EXPECT_EQ(NegotiateFormat("application/openmetrics-text;version=1.0.0,application/openmetrics-text;"
                            "version=0.0.1;q=0.75,text/plain;version=0.0.4;q=0.5,*/*;q=0.1"),
            ExpositionFormat::kOpenMetrics);
  EXPECT_EQ(NegotiateFormat("Application/OpenMetrics-Text"), ExpositionFormat::kOpenMetrics);
  EXPECT_EQ(NegotiateFormat(""), ExpositionFormat::kText);
  EXPECT_EQ(NegotiateFormat("*/*"), ExpositionFormat::kText);
  EXPECT_EQ(NegotiateFormat("text/plain;version=0.0.4"), ExpositionFormat::kText);
  EXPECT_EQ(NegotiateFormat("application/openmetrics-text; q=0"), ExpositionFormat::kText);
  EXPECT_EQ(NegotiateFormat("application/openmetrics-text;version=0.0.1"), ExpositionFormat::kText);
  EXPECT_STREQ(ContentType(ExpositionFormat::kText), "text/plain; version=0.0.4; charset=utf-8");
}

}  // namespace
}  // namespace exporter
