#include "diagram/diagram_readout.h"

#include <cstdio>

namespace edumac8 {
namespace {

std::string Hex2(std::uint8_t value) {
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", value);
  return hex;
}

}  // namespace

std::string BlockCaption(BlockId id, const MachineState& s) {
  const BlockSpec& b = BlockOf(id);
  if (id == BlockId::ALU) return b.name;
  if (id == BlockId::uM)
    return "uM: " + Hex2(s[Field::MH]) + " " + Hex2(s[Field::MM]) + " " + Hex2(s[Field::ML]);
  return std::string(b.name) + ":" + Hex2(s.bytes[b.code]);
}

std::array<std::string, kBlockCount> StartupCaptions() {
  std::array<std::string, kBlockCount> captions;
  for (const BlockSpec& b : Blocks())
    captions[Index(b.id)] = b.id == BlockId::ALU ? b.name : std::string(b.name) + ":";
  return captions;
}

DiagramReadout ReadDiagram(const MachineState& s) {
  DiagramReadout r;
  for (const BlockSpec& b : Blocks()) r.captions[Index(b.id)] = BlockCaption(b.id, s);
  const std::uint8_t f = s[Field::F], st = s[Field::STATUS];
  r.lamps = {bool(f & flag::RCy),     bool(f & flag::RZ),     bool(st & status::IREQ),
             bool(st & status::IACK), bool(st & status::RT1), bool(st & status::RT0)};
  return r;
}

std::uint8_t RemainingSteps(const StepCounts& table, std::uint8_t upc) {
  const std::uint8_t a = static_cast<std::uint8_t>(table[upc & 0xFC] - (upc & 3));
  return a >= 0xFC ? 0 : a;
}

void WriteRemainingSteps(MachineState& s, const StepCounts& table) {
  const std::uint8_t a = RemainingSteps(table, s[Field::uPC]);
  std::uint8_t st = s[Field::STATUS] & ~(status::RT1 | status::RT0);
  if (a & 2) st |= status::RT1;
  if (a & 1) st |= status::RT0;
  s[Field::STATUS] = st;
}

}  // namespace edumac8
