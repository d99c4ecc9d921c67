#include "cardsim/card_description.h"

#include <gtest/gtest.h>

#include "cardsim/daemon_options.h"

namespace {

using cardsim::CardDescription;
using cardsim::FrontEnd;

TEST(CardDescriptionTest, DemoSet) {
  auto cards = cardsim::DemoCards();
  ASSERT_EQ(cards.size(), 4u);
  EXPECT_EQ(cards[0].hardware.card_type, HardwareInfo::kIsaCard);
  EXPECT_EQ(cards[0].hardware.io_port, 0x360u);
  EXPECT_EQ(cards[0].hardware.memory_base, 0xD0000u);
  EXPECT_EQ(cards[0].hardware.irq, 10u);
  EXPECT_TRUE(cards[0].ft1_unit);
  EXPECT_EQ(cards[0].front_end, FrontEnd::kNone);
  EXPECT_EQ(cards[1].front_end, FrontEnd::kT1);
  EXPECT_EQ(cards[1].hardware.slot_number, 9u);
  EXPECT_EQ(cards[1].hardware.cpu, 0);
  EXPECT_EQ(cards[1].hardware.comm_port, 0);
  EXPECT_EQ(cards[2].front_end, FrontEnd::kE1);
  EXPECT_EQ(cards[2].hardware.cpu, 1);
  EXPECT_EQ(cards[2].hardware.comm_port, 1);
  EXPECT_EQ(cards[3].front_end, FrontEnd::k56K);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cards[i].index, i);
    EXPECT_FALSE(cards[i].initial_config);
    if (i > 0) {
      EXPECT_EQ(cards[i].hardware.card_type, HardwareInfo::kPciCard);
    }
  }
  EXPECT_TRUE(cardsim::CheckCardSet(cards, nullptr));
}

TEST(CardDescriptionTest, CardLines) {
  CardDescription s;
  ASSERT_TRUE(cardsim::ParseCardLine("TALVSTRM15 isa io=0x300 mem=851968 irq=0xB ft1 version=9.9",
                                     &s, nullptr));
  EXPECT_EQ(s.index, 15);
  EXPECT_EQ(s.hardware.io_port, 0x300u);
  EXPECT_EQ(s.hardware.memory_base, 851968u);
  EXPECT_EQ(s.hardware.irq, 11u);
  EXPECT_TRUE(s.ft1_unit);
  EXPECT_EQ(s.code_version, "9.9");
  EXPECT_FALSE(s.initial_config);

  ASSERT_TRUE(cardsim::ParseCardLine("\tTALVSTRM4  pci bus=2 slot=3 cpu=B port=secondary e1 "
                                     "configured\r",
                                     &s, nullptr));
  EXPECT_EQ(s.index, 4);
  EXPECT_EQ(s.hardware.card_type, HardwareInfo::kPciCard);
  EXPECT_EQ(s.hardware.bus_number, 2u);
  EXPECT_EQ(s.hardware.cpu, 1);
  EXPECT_EQ(s.hardware.comm_port, 1);
  EXPECT_EQ(s.front_end, FrontEnd::kE1);
  ASSERT_TRUE(s.initial_config);
  EXPECT_EQ(s.initial_config->baud_rate, 0u);

  ASSERT_TRUE(cardsim::ParseCardLine("TALVSTRM1 pci 56k baud=56000", &s, nullptr));
  EXPECT_EQ(s.initial_config->baud_rate, 56000u);
}

TEST(CardDescriptionTest, BadCardLinesAreRefusedWithAReason) {
  const char* bad[] = {
      "",
      "TALVSTRM0",
      "TALVSTRM16 isa",
      "TALVSTRM01 isa",
      "../x isa",
      "TALVSTRM0 eisa",
      "TALVSTRM0 isa bus=1",      // PCI key on an ISA card
      "TALVSTRM0 pci irq=5",      // ISA key on a PCI card
      "TALVSTRM0 isa io=0x",      // no digits
      "TALVSTRM0 isa io=12z",
      "TALVSTRM0 isa io=4294967296",
      "TALVSTRM0 pci cpu=C",
      "TALVSTRM0 pci port=third",
      "TALVSTRM0 pci t1 ft1",     // an FT1 unit sits on a plain serial line
      "TALVSTRM0 isa version=",
      "TALVSTRM0 isa version=12345678901234567890123456789012",
      "TALVSTRM0 isa t1=1",
      "TALVSTRM0 isa baud",
  };
  for (const char* line : bad) {
    CardDescription s;
    std::string error;
    EXPECT_FALSE(cardsim::ParseCardLine(line, &s, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(CardDescriptionTest, CardFileSkipsCommentsAndNamesTheBadLine) {
  std::vector<CardDescription> cards;
  std::string error;
  ASSERT_TRUE(cardsim::ParseCardFile("# cards\n\nTALVSTRM2 isa irq=5 # trailing\n"
                                     "   \nTALVSTRM7 pci t1",
                                     &cards, &error))
      << error;
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[0].index, 2);
  EXPECT_EQ(cards[0].hardware.irq, 5u);
  EXPECT_EQ(cards[1].index, 7);

  EXPECT_FALSE(cardsim::ParseCardFile("TALVSTRM2 isa\n#\nTALVSTRM3 xyz\n", &cards, &error));
  EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;

  EXPECT_FALSE(cardsim::CheckCardSet({}, &error));
  CardDescription a, b;
  a.index = b.index = 3;
  EXPECT_FALSE(cardsim::CheckCardSet({a, b}, &error));
  EXPECT_NE(error.find("TALVSTRM3"), std::string::npos);
}

TEST(DaemonOptionsTest, CardsComeFromOptionsOrTheDemoSet) {
  cardsim::DaemonOptions o;
  std::string error;
  ASSERT_TRUE(cardsim::ParseDaemonArguments({}, &o, &error));
  EXPECT_EQ(o.cards.size(), 4u);
  EXPECT_FALSE(o.directory.empty());

  std::vector<std::string> args = {"--dir", "/tmp/x", "--card", "TALVSTRM5 isa", "--card",
                                   "TALVSTRM6 pci e1"};
  ASSERT_TRUE(cardsim::ParseDaemonArguments(args, &o, &error)) << error;
  EXPECT_EQ(o.directory, "/tmp/x");
  ASSERT_EQ(o.cards.size(), 2u);
  EXPECT_EQ(o.cards[1].index, 6);

  const std::vector<std::vector<std::string>> bad = {
      {"--card", "TALVSTRM5 isa", "--card", "TALVSTRM5 pci"},
      {"--card", "nonsense"},
      {"--cards", "/nonexistent/cards"},
      {"--dir"},
      {"--verbose"},
  };
  for (const auto& a : bad) EXPECT_FALSE(cardsim::ParseDaemonArguments(a, &o, &error)) << a[0];
}

}  // namespace
