#include "diagram/flow_layout.h"

#include <algorithm>

namespace edumac8 {
namespace {

using B = BlockId;
constexpr SegmentKind kD = SegmentKind::Data;
constexpr SegmentKind kA = SegmentKind::Address;
constexpr SegmentKind kI = SegmentKind::Instruction;
constexpr SegmentKind kO = SegmentKind::Other;

// Register codes: the MachineState offsets.
constexpr std::uint8_t kEMData = 30;

constexpr std::array<BlockSpec, kBlockCount> kBlocks = {{
    {B::IA, "IA", {24, 24, 50, 25}, {20, 20}, 14, "IA.JPG", 'a', 0},
    {B::ST, "ST", {80, 24, 50, 25}, {80, 20}, 10, "ST.JPG", 'b', 'b'},
    {B::PC, "PC", {136, 24, 50, 25}, {136, 20}, 6, "PC.JPG", 'c', 'c'},
    {B::MAR, "MAR", {192, 24, 50, 25}, {192, 20}, 13, "MAR.JPG", 0, 'd'},
    {B::L, "L", {288, 24, 50, 25}, {288, 20}, 19, "L.JPG", 'f', 0},
    {B::D, "D", {344, 24, 50, 25}, {344, 20}, 18, "D.JPG", 'g', 0},
    {B::R, "R", {400, 24, 50, 25}, {400, 20}, 20, "Rr.JPG", 'h', 0},
    {B::R0, "R0", {472, 24, 50, 25}, {472, 20}, 0, "R.JPG", 'j', 'y'},
    {B::IN, "IN", {24, 72, 50, 25}, {20, 64}, 11, "IN.JPG", 'o', 0},
    {B::OUT, "OUT", {80, 72, 50, 25}, {80, 64}, 12, "OUT.JPG", 0, 'p'},
    {B::EM, "EM", {144, 72, 98, 73}, {144, 64}, kEMData, "EM.JPG", 'q', 'q'},
    {B::ALU, "ALU", {303, 72, 133, 75}, {303, 64}, kNoRegister, "ALU.JPG", 0, 0},
    {B::R1, "R1", {472, 72, 50, 25}, {472, 64}, 1, "R.JPG", 'k', 'x'},
    {B::uPC, "uPC", {24, 120, 105, 73}, {20, 108}, 7, "uPC.JPG", 0, 0},
    {B::R2, "R2", {472, 120, 50, 25}, {472, 108}, 2, "R.JPG", 'l', 'w'},
    {B::IR, "IR", {144, 168, 98, 25}, {140, 154}, 8, "IR.JPG", 0, 0},
    {B::A, "A", {304, 168, 50, 25}, {304, 154}, 4, "A.JPG", 0, 's'},
    {B::W, "W", {384, 168, 50, 25}, {384, 154}, 5, "W.JPG", 0, 't'},
    {B::R3, "R3", {472, 168, 50, 25}, {472, 154}, 3, "R.JPG", 'm', 'v'},
    {B::uM, "uM", {24, 216, 218, 49}, {20, 200}, 15, "uM.JPG", 0, 0},
    {B::DBUS, "DBUS", {310, 232, 65, 33}, {310, 208}, 26, "", 0, 0},
    {B::ABUS, "ABUS", {382, 232, 65, 33}, {382, 208}, 28, "", 0, 0},
    {B::IBUS, "IBUS", {454, 232, 65, 33}, {454, 208}, 27, "", 0, 0},
}};

constexpr std::array<BusSegment, kSegmentCount> kSegments = {{
    {'A', {12, 12}, {49, 12}, kD},     {'B', {49, 12}, {105, 12}, kD},
    {'C', {105, 12}, {161, 12}, kD},   {'D', {161, 12}, {217, 12}, kD},
    {'E', {217, 12}, {254, 12}, kD},   {'F', {254, 12}, {313, 12}, kD},
    {'G', {313, 12}, {369, 12}, kD},   {'H', {369, 12}, {425, 12}, kD},
    {'I', {425, 12}, {534, 12}, kD},   {'J', {534, 12}, {534, 36}, kD},
    {'K', {534, 36}, {534, 84}, kD},   {'L', {534, 84}, {534, 132}, kD},
    {'M', {534, 132}, {534, 180}, kD}, {'N', {12, 12}, {12, 60}, kD},
    {'O', {12, 60}, {49, 60}, kD},     {'P', {49, 60}, {105, 60}, kD},
    {'Q', {254, 12}, {254, 108}, kD},  {'R', {254, 108}, {254, 204}, kD},
    {'S', {254, 204}, {329, 204}, kD}, {'T', {329, 204}, {409, 204}, kD},
    {'U', {409, 204}, {460, 204}, kD}, {'V', {460, 204}, {460, 180}, kD},
    {'W', {460, 180}, {460, 132}, kD}, {'X', {460, 132}, {460, 84}, kD},
    {'Y', {460, 84}, {460, 36}, kD},   {'Z', {131, 156}, {193, 156}, kI},
    {'a', {49, 12}, {49, 22}, kD},     {'b', {105, 12}, {105, 22}, kD},
    {'c', {161, 12}, {161, 22}, kD},   {'d', {217, 12}, {217, 22}, kD},
    {'e', {193, 69}, {193, 60}, kA},   {'f', {313, 12}, {313, 22}, kD},
    {'g', {369, 12}, {369, 22}, kD},   {'h', {425, 12}, {425, 22}, kD},
    {'i', {217, 51}, {217, 60}, kA},   {'j', {524, 36}, {534, 36}, kD},
    {'k', {524, 84}, {534, 84}, kD},   {'l', {524, 132}, {534, 132}, kD},
    {'m', {524, 180}, {534, 180}, kD}, {'n', {161, 51}, {161, 60}, kA},
    {'o', {49, 60}, {49, 70}, kD},     {'p', {105, 60}, {105, 70}, kD},
    {'q', {244, 108}, {254, 108}, kD}, {'r', {161, 60}, {193, 60}, kA},
    {'s', {329, 204}, {329, 195}, kD}, {'t', {409, 204}, {409, 195}, kD},
    {'u', {193, 60}, {217, 60}, kA},   {'v', {470, 180}, {460, 180}, kD},
    {'w', {470, 132}, {460, 132}, kD}, {'x', {470, 84}, {460, 84}, kD},
    {'y', {470, 36}, {460, 36}, kD},   {'z', {193, 147}, {193, 165}, kI},
    {'1', {329, 166}, {329, 148}, kO}, {'2', {409, 166}, {409, 148}, kO},
    {'3', {313, 51}, {313, 61}, kO},   {'4', {369, 51}, {369, 70}, kO},
    {'5', {425, 51}, {425, 61}, kO},   {'6', {313, 61}, {425, 61}, kO},
    {'7', {76, 195}, {76, 214}, kO},
}};

// Labels are placed from the L and DBUS blocks.
constexpr std::array<LampLabel, 3> kLampLabels = {{
    {{"RCy", "Rz"}, {288 - 10, 24 + 45}},
    {{"IReq", "IAck"}, {310 - 60, 232 - 20}},
    {{"RT1", "RT0"}, {310 - 60, 232 + 10}},
}};

}  // namespace

const std::array<BlockSpec, kBlockCount>& Blocks() { return kBlocks; }

std::optional<BlockId> BlockOfRegister(std::uint8_t code) {
  if (code >= 15 && code <= 17) return BlockId::uM;
  for (const BlockSpec& b : kBlocks)
    if (b.code == code && code != kNoRegister) return b.id;
  return std::nullopt;
}

bool HasFrame(BlockId id) { return id != BlockId::ALU && id != BlockId::uM && !IsBusBlock(id); }

bool IsBusBlock(BlockId id) {
  return id == BlockId::DBUS || id == BlockId::ABUS || id == BlockId::IBUS;
}

const std::array<BusSegment, kSegmentCount>& Segments() { return kSegments; }

int SegmentIndex(char name) {
  for (int i = 0; i < kSegmentCount; ++i)
    if (kSegments[i].name == name) return i;
  return -1;
}

DrawRect SegmentRect(const BusSegment& s) {
  const int x1 = std::min(s.from.x, s.to.x), x2 = std::max(s.from.x, s.to.x);
  const int y1 = std::min(s.from.y, s.to.y), y2 = std::max(s.from.y, s.to.y);
  return {x1 - 2, y1 - 2, x2 - x1 + 4, y2 - y1 + 4};
}

DrawRect FrameOuterRect(const DrawRect& b) {
  return {b.left - 2, b.top - 2, b.width + 4, b.height + 4};
}

const std::array<LampLabel, 3>& LampLabels() { return kLampLabels; }

DrawRect LampRect(Lamp lamp) {
  const int i = static_cast<int>(lamp);
  const LampLabel& label = kLampLabels[i / 2];
  // The carry lamps sit closer together: their label is the shorter one.
  const int second = i / 2 == 0 ? 30 : 35;
  return {label.place.x + (i % 2 == 0 ? 5 : second), label.place.y + 13, kLampSize, kLampSize};
}

}  // namespace edumac8
