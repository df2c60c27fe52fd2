// Decoding a micro-word into the diagram's transfer and highlights.
#include "diagram/transfer_decoding.h"

#include <gtest/gtest.h>

#include <vector>

#include "machine/machine_state.h"
#include "support/machine_fixture.h"

using namespace edumac8;
using edumac8::test::Word;
using S = Signal;
using B = BlockId;

namespace {

std::vector<BlockId> FramesIn(const TransferHighlights& h, FrameColour colour) {
  std::vector<BlockId> blocks;
  for (const BlockSpec& b : Blocks())
    if (h.frames[Index(b.id)] == colour) blocks.push_back(b.id);
  return blocks;
}

struct Case {
  const char* what;
  std::uint32_t word;
  std::uint8_t ir;
  std::uint8_t source, destination;
  std::vector<BlockId> red, yellow;
  bool instruction = false, pcAddress = false, marAddress = false;
};

}  // namespace

TEST(TransferDecoding, Table) {
  const std::vector<Case> cases = {
      {"fetch CBFFFF",
       0xCBFFFF,
       0,
       kNoRegister,
       kNoRegister,
       {B::EM},
       {B::uPC, B::IR},
       true,
       true,
       false},
      {"X=000 IN to A", Word({S::AEN}, 0), 0, 11, 4, {B::IN}, {B::A}},
      {"X=001 IA to W", Word({S::WEN}, 1), 0, 14, 5, {B::IA}, {B::W}},
      {"X=010 ST to OUT", Word({S::OUTEN}, 2), 0, 10, 12, {B::ST}, {B::OUT}},
      {"X=011 PC to ST", Word({S::STEN}, 3), 0, 6, 10, {B::PC}, {B::ST}},
      {"X=100 D to MAR", Word({S::MAREN}, 4), 0, 18, 13, {B::D}, {B::MAR}},
      {"X=101 R to A", Word({S::AEN}, 5), 0, 20, 4, {B::R}, {B::A}},
      {"X=110 L to A", Word({S::AEN}, 6), 0, 19, 4, {B::L}, {B::A}},
      {"X=111 drives nothing", Word({S::AEN}, 7), 0, kNoRegister, 4, {}, {B::A}},
      {"RRD and RWR on R2", Word({S::RRD, S::RWR}), 0x16, 2, 2, {}, {B::R2}},
      {"RRD R1 to W", Word({S::RRD, S::WEN}), 0x81, 1, 5, {B::R1}, {B::W}},
      {"RWR R3 from D", Word({S::RWR}, 4), 0x0B, 18, 3, {B::D}, {B::R3}},
      {"memory read to A",
       Word({S::EMEN, S::EMRD, S::MAROE, S::AEN}),
       0,
       30,
       4,
       {B::EM},
       {B::A},
       false,
       false,
       true},
      {"memory read without EMRD",
       Word({S::EMEN, S::PCOE, S::AEN}),
       0,
       30,
       4,
       {},
       {B::A},
       false,
       true,
       false},
      {"memory write from R0",
       Word({S::EMEN, S::EMWR, S::MAROE, S::RRD}),
       0x04,
       0,
       30,
       {B::R0},
       {B::EM},
       false,
       false,
       true},
      {"two sources: X and RRD", Word({S::RRD, S::AEN}, 4), 0x03, 3, 4, {B::D, B::R3}, {B::A}},
      {"two sources: X and memory",
       Word({S::EMEN, S::EMRD, S::PCOE, S::AEN}, 0),
       0,
       30,
       4,
       {B::IN, B::EM},
       {B::A},
       false,
       true,
       false},
      {"a later load wins",
       Word({S::RWR, S::AEN, S::WEN, S::OUTEN, S::MAREN, S::STEN}, 4),
       1,
       18,
       10,
       {B::D},
       {B::ST, B::MAR, B::OUT, B::R1, B::A, B::W}},
      {"IREN with a transfer",
       Word({S::IREN, S::EMRD, S::PCOE, S::AEN}, 4),
       0,
       18,
       4,
       {B::D, B::EM},
       {B::uPC, B::IR, B::A},
       true,
       true,
       false},
      {"both address drivers",
       Word({S::PCOE, S::MAROE}),
       0,
       kNoRegister,
       kNoRegister,
       {},
       {},
       false,
       true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TransferHighlights h = DecodeWord({c.word, c.ir, 0});
    EXPECT_EQ(int(h.source), int(c.source));
    EXPECT_EQ(int(h.destination), int(c.destination));
    auto sorted = [](std::vector<BlockId> v) {
      std::sort(v.begin(), v.end());
      return v;
    };
    EXPECT_EQ(FramesIn(h, FrameColour::Red), sorted(c.red));
    EXPECT_EQ(FramesIn(h, FrameColour::Yellow), sorted(c.yellow));
    EXPECT_EQ(h.instructionPath, c.instruction);
    EXPECT_EQ(h.pcAddressPath, c.pcAddress);
    EXPECT_EQ(h.marAddressPath, c.marAddress);
  }
}

TEST(TransferDecoding, JumpCodesAgainstFlags) {
  // ELP loads PC from the bus; IR bits 3-2 choose the condition.
  const std::uint32_t w = Word({S::EMEN, S::EMRD, S::PCOE, S::ELP});
  const std::uint8_t flagSets[4] = {0, flag::RCy, flag::RZ, flag::RCy | flag::RZ};
  for (std::uint8_t code : {0x00, 0x04, 0x08, 0x0C}) {
    for (std::uint8_t f : flagSets) {
      const bool taken = code == 0x00   ? (f & flag::RCy) != 0
                         : code == 0x04 ? (f & flag::RZ) != 0
                                        : true;
      SCOPED_TRACE("IR " + std::to_string(0xA0 | code) + " F " + std::to_string(f));
      // The combinational flag bits never decide.
      const TransferHighlights h =
          DecodeWord({w, std::uint8_t(0xA0 | code | 2), std::uint8_t(f | flag::Cy | flag::CZ)});
      EXPECT_EQ(h.jumpTaken, taken);
      EXPECT_EQ(int(h.destination), 6) << "the route to PC animates either way";
      EXPECT_EQ(h.frames[Index(B::PC)], taken ? FrameColour::Yellow : FrameColour::Gray);
      EXPECT_EQ(h.frames[Index(B::EM)], FrameColour::Red);
    }
  }
}

TEST(TransferDecoding, BusAndMemoryBlocksAreNeverFramed) {
  // All signals asserted: every frame that can be set is set.
  const TransferHighlights h = DecodeWord({0x000000, 0, 0xFF});
  for (BlockId id : {B::uM, B::ALU, B::DBUS, B::ABUS, B::IBUS})
    EXPECT_EQ(h.frames[Index(id)], FrameColour::Gray) << BlockOf(id).name;
  EXPECT_TRUE(HasFrame(B::uPC));
  EXPECT_FALSE(HasFrame(B::uM));
}
