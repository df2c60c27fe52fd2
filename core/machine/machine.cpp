#include "machine/machine.h"

namespace edumac8 {
namespace {

// Driver counting: 1 means no driver, 0 exactly one, 2 a conflict.
inline void Bump(std::uint8_t& count) { count = count == 1 ? 0 : 2; }

}  // namespace

Machine::Machine() { ResetMachine(); }

void Machine::LoadMicroWord(std::uint32_t cell) { LoadWordInto(state, cell); }

void Machine::LoadWordInto(MachineState& s, std::uint32_t cell) {
  s[Field::MH] = static_cast<std::uint8_t>(cell >> 16);
  s[Field::MM] = static_cast<std::uint8_t>(cell >> 8);
  s[Field::ML] = static_cast<std::uint8_t>(cell);
}

void Machine::SnapshotTo(TraceRecord& record) const {
  record.state = state;
  record.reserved16 = 0;
  record.reserved8 = 0;
  record.EM = EM;
}

void Machine::RestoreFrom(const TraceRecord& record) {
  state = record.state;
  EM = record.EM;
}

std::uint8_t StepCountAt(const MicroProgram& uM, int a) {
  const std::uint32_t own = uM[a];
  if (IsEmptyWord(own) || Asserted(own, Signal::IREN)) return 0;
  std::uint8_t n = 0;
  for (int c = a; c <= (a | 3); ++c)
    if (!Asserted(uM[c], Signal::IREN) && uM[c] != kEmptyCell) ++n;
  return n;
}

void Machine::BuildStepCountTable() {
  for (int a = 0; a < 256; ++a) StepCountTable[a] = StepCountAt(uM, a);
}

void Machine::Evaluate() { EvaluateOn(state, EM); }
void Machine::Latch() { LatchOn(state, EM); }

void Machine::EvaluateOn(MachineState& s, const ProgramMemory& EM) {
  const std::uint32_t w = WordOf(s);
  s[Field::DBusDrivers] = s[Field::IBusDrivers] = s[Field::ABusDrivers] = 1;

  const unsigned a = s[Field::A], wr = s[Field::W];
  const unsigned cin = (s[Field::F] & flag::RCy) ? 1 : 0;
  unsigned d = 0, c = 0;
  switch (AluCode(w)) {
    case 0: d = a + wr; c = d >= 256; break;
    case 1: d = a - wr; c = a < wr; break;
    case 2: d = a | wr; break;
    case 3: d = a & wr; break;
    case 4: d = a + wr + cin; c = d >= 256; break;
    case 5: d = a - wr - cin; c = wr + cin > a; break;
    case 6: d = ~a; break;
    case 7: d = a; break;
  }
  d &= 0xFF;
  const bool cn = Asserted(w, Signal::CN);
  const unsigned sin = cn ? cin : 0;
  const unsigned left = ((d << 1) | sin) & 0xFF;
  const unsigned right = (d >> 1) | (sin << 7);
  s[Field::D] = static_cast<std::uint8_t>(d);
  s[Field::L] = static_cast<std::uint8_t>(left);
  s[Field::R] = static_cast<std::uint8_t>(right);

  unsigned carry = c, zero = d == 0;
  switch (SourceCode(w) & 3) {  // X1 X0; X2 plays no part in the flags
    case 1: carry = cn ? (d & 1) : cin; zero = right == 0; break;
    case 2: carry = cn ? (d >> 7) : cin; zero = left == 0; break;
    default: break;
  }
  s[Field::F] = static_cast<std::uint8_t>((s[Field::F] & ~(flag::Cy | flag::CZ)) |
                                          (carry ? flag::Cy : 0) | (zero ? flag::CZ : 0));

  const bool pcoe = Asserted(w, Signal::PCOE), maroe = Asserted(w, Signal::MAROE);
  s[Field::ABUS] = 0xFF;
  if (pcoe != maroe) {
    s[Field::ABUS] = pcoe ? s[Field::PC] : s[Field::MAR];
    Bump(s[Field::ABusDrivers]);
  }
  const std::uint8_t abus = s[Field::ABUS];

  s[Field::DBUS] = 0xFF;
  if (SourceCode(w) != 7) {
    static constexpr Field kSources[7] = {Field::IN, Field::IA, Field::ST, Field::PC,
                                          Field::D,  Field::R,  Field::L};
    s[Field::DBUS] = s[kSources[SourceCode(w)]];
    Bump(s[Field::DBusDrivers]);
  }
  if (Asserted(w, Signal::RRD)) {
    s[Field::DBUS] = s.bytes[s[Field::IR] & 3];
    Bump(s[Field::DBusDrivers]);
  }
  const bool emen = Asserted(w, Signal::EMEN), emwr = Asserted(w, Signal::EMWR);
  if (emen && !emwr) {
    s[Field::DBUS] = s[Field::EMData] = EM[abus];
    Bump(s[Field::DBusDrivers]);
  }

  s[Field::IBUS] = 0xFF;
  if (Asserted(w, Signal::EMRD)) {
    s[Field::IBUS] = s[Field::EMData] = EM[abus];
    Bump(s[Field::IBusDrivers]);
  }
  if (emen && emwr) {
    s[Field::IBUS] = s[Field::EMData] = s[Field::DBUS];
    Bump(s[Field::IBusDrivers]);
  }
}

void Machine::LatchOn(MachineState& s, ProgramMemory& EM) {
  const std::uint32_t w = WordOf(s);
  const std::uint8_t dbus = s[Field::DBUS];

  if (Asserted(w, Signal::RWR)) s.bytes[s[Field::IR] & 3] = dbus;
  if (Asserted(w, Signal::AEN)) s[Field::A] = dbus;
  if (Asserted(w, Signal::WEN)) s[Field::W] = dbus;
  const bool iren = Asserted(w, Signal::IREN);
  if (iren) s[Field::IR] = s[Field::IBUS];
  if (Asserted(w, Signal::FEN))
    s[Field::F] = static_cast<std::uint8_t>((s[Field::F] & 0x3F) | ((s[Field::F] << 2) & 0xC0));
  if (Asserted(w, Signal::OUTEN)) s[Field::OUT] = dbus;
  if (Asserted(w, Signal::MAREN)) s[Field::MAR] = dbus;
  if (Asserted(w, Signal::STEN)) s[Field::ST] = dbus;
  if (Asserted(w, Signal::EMWR)) {
    // Without EMEN the memory sees a floating bus.
    const std::uint8_t value = Asserted(w, Signal::EMEN) ? dbus : 0xFF;
    EM[s[Field::ABUS]] = value;
    s[Field::EMData] = value;
  }
  std::uint8_t& st = s[Field::STATUS];
  if (Asserted(w, Signal::EINT)) st &= static_cast<std::uint8_t>(~(status::IREQ | status::IACK));
  const bool entering = (st & status::IREQ) && !(st & status::IACK) && iren;
  if (entering) st |= status::IACK;

  const bool pcoe = Asserted(w, Signal::PCOE);
  st &= 0xC0;
  if (!entering) st |= status::ICOE;
  if (pcoe && !entering) st |= status::PCInc;

  if (!iren) {
    s[Field::uPC] = static_cast<std::uint8_t>(s[Field::uPC] + 1);
  } else {
    if (entering) {
      s[Field::uPC] = s[Field::IR] = s[Field::IBUS] = 0xB8;
    } else {
      s[Field::uPC] = s[Field::IBUS] & 0xFC;
      s[Field::IR] = s[Field::IBUS];
    }
    InstrAddr = s[Field::PC];
    InstrFetched = true;
  }

  bool load = false;
  if (Asserted(w, Signal::ELP)) {
    switch (s[Field::IR] & 0x0C) {
      case 0x00: load = s[Field::F] & flag::RCy; break;
      case 0x04: load = s[Field::F] & flag::RZ; break;
      default: load = true; break;
    }
  }
  if (load) s[Field::PC] = dbus;
  else if (pcoe && !entering) s[Field::PC] = static_cast<std::uint8_t>(s[Field::PC] + 1);
  if (!load) st |= status::ELPC;
}

void Machine::MicroStep() {
  StepCurrentRecord();
  RestoreFrom(CurrentRecord);
}

void Machine::StepCurrentRecord() {
  // Computed in CurrentRecord itself: the same result as restoring the live records,
  // stepping them and snapshotting them back, without the two copies.
  InstrFetched = false;
  MachineState& s = CurrentRecord.state;
  LoadWordInto(s, uM[s[Field::uPC]]);
  EvaluateOn(s, CurrentRecord.EM);
  LatchOn(s, CurrentRecord.EM);
  LoadWordInto(s, uM[s[Field::uPC]]);
  CurrentRecord.reserved16 = 0;
  CurrentRecord.reserved8 = 0;
  AppendTrace(CurrentRecord);
}

void Machine::ResetMachine() {
  IAckNow = IAckSeen = false;
  for (int i = 0; i <= 13; ++i) state.bytes[i] = 0;
  state[Field::IA] = 0xE0;
  for (int i = 15; i <= 21; ++i) state.bytes[i] = 0;
  state[Field::STATUS] = status::CK | status::PCInc | status::ELPC | status::ICOE;
  state[Field::EMData] = 0xFF;
  LoadMicroWord(uM[0]);
  Evaluate();
  SnapshotTo(CurrentRecord);
  history.Clear();
  AppendTrace(CurrentRecord);
}

}  // namespace edumac8
