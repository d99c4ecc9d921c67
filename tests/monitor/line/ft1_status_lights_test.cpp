#include "monitor/line/ft1_status_lights.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::LightColour;
constexpr LightColour O = LightColour::Off;
constexpr LightColour G = LightColour::Green;
constexpr LightColour R = LightColour::Red;

TEST(LightTrackerTest, EachChangeCountsWhereItBelongs) {
  struct Case {
    LightColour from, to;
    unsigned green, red, green_to_red;
  };
  const Case cases[] = {
      {O, G, 1, 0, 0}, {O, R, 0, 1, 0}, {G, R, 0, 0, 1}, {G, O, 1, 0, 0},
      {R, G, 1, 0, 0}, {R, O, 0, 1, 0}, {G, G, 0, 0, 0}, {R, R, 0, 0, 0}, {O, O, 0, 0, 0},
  };
  for (const Case& c : cases) {
    LightTracker t;
    t.colour = c.from;
    t.feed(c.to);
    EXPECT_EQ(t.colour, c.to);
    EXPECT_EQ(t.green_changes, c.green) << int(c.from) << "->" << int(c.to);
    EXPECT_EQ(t.red_changes, c.red) << int(c.from) << "->" << int(c.to);
    EXPECT_EQ(t.green_to_red, c.green_to_red) << int(c.from) << "->" << int(c.to);
  }
}

TEST(LightTrackerTest, APeriodClosesWithThePatternOfItsChanges) {
  struct Case {
    std::vector<LightColour> fed;
    LightPattern pattern;
  };
  const Case cases[] = {
      {{}, LightPattern::Steady},
      {{G, G, G}, LightPattern::FlashingGreen},  // only the first change, from Off
      {{G, O, G, O}, LightPattern::FlashingGreen},
      {{R, O, R}, LightPattern::FlashingRed},
      {{G, R, G, R}, LightPattern::Mixed},
      {{R, G}, LightPattern::Mixed},
  };
  for (const Case& c : cases) {
    LightTracker t;
    for (LightColour colour : c.fed) t.feed(colour);
    LightColour before = t.colour;
    t.closePeriod();
    EXPECT_EQ(t.pattern, c.pattern) << c.fed.size();
    EXPECT_EQ(t.colour, before);
    EXPECT_EQ(t.green_changes + t.red_changes + t.green_to_red, 0u);
  }
  LightTracker only_green_to_red;
  only_green_to_red.colour = G;
  only_green_to_red.feed(R);
  only_green_to_red.closePeriod();
  EXPECT_EQ(only_green_to_red.pattern, LightPattern::Mixed);
}

// Status bytes with the given lights lit (active low), everything else off.
struct Lit {
  uint8_t a_low = 0, b_low = 0;
  uint8_t a() const { return static_cast<uint8_t>(~a_low); }
  uint8_t b() const { return static_cast<uint8_t>(~b_low); }
};

TEST(Ft1StatusTrackerTest, DecodesEveryLightFromItsBits) {
  struct Case {
    Lit lit;
    Ft1LightColours shown;
  };
  const Case cases[] = {
      {{}, {O, O, O, O, O, O, O, O}},
      {{0, 0x10}, {R, O, O, O, O, O, O, O}},
      {{0, 0x20}, {G, O, O, O, O, O, O, O}},
      {{0, 0x04}, {O, G, O, O, O, O, O, O}},
      {{0, 0x08}, {O, R, O, O, O, O, O, O}},
      {{0, 0x02}, {O, O, G, O, O, O, O, O}},
      {{0, 0x01}, {O, O, O, G, O, O, O, O}},
      {{0, 0x40}, {O, O, O, O, G, O, O, O}},
      {{0, 0x80}, {O, O, O, O, R, O, O, O}},
      {{0x08, 0}, {O, O, O, O, O, R, O, O}},
      {{0x04, 0}, {O, O, O, O, O, O, R, O}},
      {{0x01, 0}, {O, O, O, O, O, O, O, R}},
      {{0x02, 0}, {O, O, O, O, O, O, O, G}},
      // Both bits of a two-colour light: the later step wins.
      {{0x03, 0xFF}, {G, R, G, G, R, O, O, G}},
      {{0x0F, 0xFF}, {G, R, G, G, R, R, R, G}},
  };
  for (const Case& c : cases) {
    Ft1StatusTracker tracker;
    EXPECT_EQ(tracker.sample(c.lit.a(), c.lit.b()), c.shown) << int(c.lit.a_low) << "/" << int(c.lit.b_low);
  }
  Ft1StatusTracker unused_bits;
  EXPECT_EQ(unused_bits.sample(0x0F, 0xFF), (Ft1LightColours{O, O, O, O, O, O, O, O}));
}

TEST(Ft1StatusTrackerTest, BothInsBitsFeedRedThenGreenEverySample) {
  Ft1StatusTracker tracker;
  const Lit both{0, 0x30};
  tracker.sample(both.a(), both.b());
  const LightTracker& ins = tracker.tracker(Ft1Light::INS);
  EXPECT_EQ(ins.red_changes, 1u);
  EXPECT_EQ(ins.green_changes, 1u);
  EXPECT_EQ(ins.colour, G);
  tracker.sample(both.a(), both.b());
  EXPECT_EQ(ins.green_to_red, 1u);
  EXPECT_EQ(ins.green_changes, 2u);
  for (int period = 0; period < 3; ++period) {
    for (int i = 0; i < 8; ++i) tracker.sample(both.a(), both.b());
    tracker.closePeriod();
    EXPECT_EQ(ins.pattern, LightPattern::Mixed);
  }
}

TEST(Ft1StatusTrackerTest, EveryEighthTickClosesThePeriod) {
  Ft1StatusTracker tracker;
  const Lit normal{0, 0x20};
  int text = -1;
  for (int i = 0; i < 7; ++i) {
    tracker.sample(normal.a(), normal.b());
    EXPECT_FALSE(tracker.countTick(text));
  }
  tracker.sample(normal.a(), normal.b());
  ASSERT_TRUE(tracker.countTick(text));
  // Lit just now, from Off: flashing, so not yet the normal condition.
  EXPECT_EQ(tracker.tracker(Ft1Light::INS).pattern, LightPattern::FlashingGreen);
  EXPECT_EQ(text, 0);
  for (int i = 0; i < 7; ++i) EXPECT_FALSE(tracker.countTick(text));
  ASSERT_TRUE(tracker.countTick(text));  // reads failing all period: the last colours hold
  EXPECT_EQ(tracker.tracker(Ft1Light::INS).pattern, LightPattern::Steady);
  EXPECT_EQ(text, 10);
}

// One period of samples per step; the text chosen when it closes.
struct Sequence {
  const char* name;
  std::vector<std::vector<Lit>> periods;  // each period's samples, repeated to fill eight ticks
  int text;
};

int TextAfter(const Sequence& s) {
  Ft1StatusTracker tracker;
  int text = -1;
  for (const auto& period : s.periods)
    for (unsigned tick = 0; tick < Ft1StatusTracker::kTicksPerPeriod; ++tick) {
      const Lit& l = period[tick % period.size()];
      tracker.sample(l.a(), l.b());
      tracker.countTick(text);
    }
  return text;
}

TEST(Ft1StatusTrackerTest, EachTestStateGivesItsText) {
  const Lit none{};
  const Lit ins_green{0, 0x20}, ins_red{0, 0x10}, err_red{0, 0x08}, err_green{0, 0x04};
  auto with = [](Lit l, Lit more) { return Lit{uint8_t(l.a_low | more.a_low), uint8_t(l.b_low | more.b_low)}; };
  const Lit st_red{0, 0x80}, st_green{0, 0x40}, dl{0x08, 0}, ll{0x04, 0}, rt_red{0x01, 0}, rt_green{0x02, 0};
  const Sequence cases[] = {
      {"self test", {{st_red, none}, {st_red, none}}, 1},
      {"self test passed", {{st_green, none}, {st_green, none}}, 2},
      {"digital loop failed",
       {{with(err_red, with(ins_red, dl)), err_red}, {with(err_red, with(ins_red, dl)), err_red}}, 3},
      {"digital loop passed", {{with(ins_green, dl), ins_green}, {with(ins_green, dl), ins_green}}, 4},
      {"line loop running", {{with(ins_green, ll), with(ins_red, ll), ins_green}, {with(ins_green, ll), ins_red}}, 5},
      {"line loop passed", {{ins_green}, {with(ins_green, ll), ins_green}}, 6},
      {"remote test waiting", {{rt_red, none}, {rt_red, none}}, 7},
      {"remote test passed", {{rt_green, none}, {rt_green, none}}, 8},
      {"remote end testing", {{rt_green}, {rt_green}}, 9},
      {"normal, whatever ERR shows", {{with(ins_green, err_green)}, {with(ins_green, err_red), ins_green}}, 10},
      {"power-up", {{with(ins_red, err_red), err_red}, {with(ins_red, err_red), err_red}}, 11},
      {"ST flashing red with RT steady green", {{rt_green}, {with(st_red, rt_green), rt_green}}, 0},
      {"everything off", {{none}, {none}}, 0},
      {"first period after opening", {{ins_green}}, 0},
      {"ST steady red", {{st_red}, {st_red}}, 0},
  };
  for (const Sequence& s : cases) EXPECT_EQ(TextAfter(s), s.text) << s.name;
}

TEST(Ft1StatusTextTest, IndexesOutsideTheTableAreEmpty) {
  EXPECT_EQ(Ft1StatusText(0), "");
  EXPECT_EQ(Ft1StatusText(12), "");
  EXPECT_EQ(Ft1StatusText(-1), "");
  EXPECT_EQ(Ft1StatusText(10), "Talvora VR20/VR40 FT-1 unit is in normal condition. The line is operative.");
  for (int i = 1; i < kFt1TextCount; ++i) EXPECT_FALSE(Ft1StatusText(i).empty()) << i;
}

}  // namespace
