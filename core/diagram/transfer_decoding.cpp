#include "diagram/transfer_decoding.h"

#include "machine/machine_state.h"
#include "machine/micro_word.h"

namespace edumac8 {
namespace {

constexpr std::uint8_t kEM = 30;

void Frame(TransferHighlights& h, std::uint8_t code, FrameColour colour) {
  if (const auto block = BlockOfRegister(code); block && HasFrame(*block))
    h.frames[Index(*block)] = colour;
}

}  // namespace

std::uint8_t SourceRegister(std::uint32_t word) {
  static constexpr std::uint8_t kSources[8] = {11, 14, 10, 6, 18, 20, 19, kNoRegister};
  return kSources[SourceCode(word)];
}

bool JumpConditionHolds(std::uint8_t ir, std::uint8_t flags) {
  switch (ir & 0x0C) {
    case 0x00:
      return flags & flag::RCy;
    case 0x04:
      return flags & flag::RZ;
    default:
      return true;
  }
}

TransferHighlights DecodeWord(const DecodedWord& d) {
  const std::uint32_t w = d.word;
  const auto on = [w](Signal s) { return Asserted(w, s); };
  const std::uint8_t selected = d.IR & 3;
  TransferHighlights h;

  h.source = SourceRegister(w);
  if (on(Signal::RRD)) h.source = selected;
  if (on(Signal::EMEN) && !on(Signal::EMWR)) h.source = kEM;

  // A later load overrides an earlier one, as the order of the latch rules has it.
  if (on(Signal::RWR)) h.destination = selected;
  if (on(Signal::AEN)) h.destination = 4;
  if (on(Signal::WEN)) h.destination = 5;
  if (on(Signal::OUTEN)) h.destination = 12;
  if (on(Signal::MAREN)) h.destination = 13;
  if (on(Signal::STEN)) h.destination = 10;
  if (on(Signal::EMWR) && on(Signal::EMEN)) h.destination = kEM;
  if (on(Signal::ELP)) h.destination = 6;

  h.instructionPath = on(Signal::IREN);
  h.pcAddressPath = on(Signal::PCOE);
  h.marAddressPath = on(Signal::MAROE);
  h.jumpTaken = on(Signal::ELP) && JumpConditionHolds(d.IR, d.F);

  Frame(h, SourceRegister(w), FrameColour::Red);
  if (on(Signal::RRD)) Frame(h, selected, FrameColour::Red);
  if (on(Signal::EMRD) && !on(Signal::EMWR)) Frame(h, kEM, FrameColour::Red);

  const auto yellow = [&h](std::uint8_t code) { Frame(h, code, FrameColour::Yellow); };
  if (on(Signal::RWR)) yellow(selected);
  if (on(Signal::AEN)) yellow(4);
  if (on(Signal::WEN)) yellow(5);
  if (on(Signal::OUTEN)) yellow(12);
  if (on(Signal::MAREN)) yellow(13);
  if (on(Signal::STEN)) yellow(10);
  if (on(Signal::EMWR) && on(Signal::EMEN)) yellow(kEM);
  if (h.jumpTaken) yellow(6);
  if (on(Signal::IREN)) {
    yellow(8);
    yellow(7);
  }
  return h;
}

}  // namespace edumac8
