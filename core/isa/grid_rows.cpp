#include "isa/grid_rows.h"

#include "isa/disassembler.h"
#include "isa/micro_texts.h"

namespace edumac8 {
namespace {

// Columns 1 and 3-10 of a micro-word's row; column 0 and 2 differ between the windows.
void FillWordColumns(MicroGridRow& row, std::uint8_t stepCount, std::uint32_t w) {
  row[1] = StateText(stepCount, w);
  row[3] = HexText(w);
  row[4] = DataOutText(w);
  row[5] = DataInText(w);
  row[6] = AddressOutText(w);
  row[7] = AluText(w);
  row[8] = ShiftText(w);
  row[9] = UpcText(w);
  row[10] = PcText(w);
}

const char* ByteKindText(std::uint8_t kind) {
  return kind == OpImm ? "II" : kind == OpMem ? "MM" : "";
}

bool TakesByte(std::uint8_t kind) { return kind == OpImm || kind == OpMem; }

}  // namespace

InstrGridRow InstrGridHeader() { return {"助记符", "机器码1", "机器码2", "机器码3", "注释"}; }

std::string OpcodeBinaryText(std::uint8_t opcode) {
  std::string bits;
  for (int b = 7; b >= 2; --b) bits += ((opcode >> b) & 1) ? '1' : '0';
  return bits + "xx    " + Hex2(opcode) + " - " + Hex2(opcode | 3);
}

std::string OperandByteText(std::uint8_t kind1, std::uint8_t kind2) {
  return TakesByte(kind1) ? ByteKindText(kind1) : ByteKindText(kind2);
}

std::string SecondOperandByteText(std::uint8_t kind1, std::uint8_t kind2) {
  return TakesByte(kind1) && TakesByte(kind2) ? ByteKindText(kind2) : "";
}

InstrGridRow InstrGridRowOf(const InstructionSystem& isa, int entry) {
  const InstrEntry& e = isa.InstrTable[entry];
  const std::uint8_t opcode = static_cast<std::uint8_t>(entry * 4);
  if (!e.defined) return {"", OpcodeBinaryText(opcode), "", "", "未使用"};
  return {isa.EntryText(entry), OpcodeBinaryText(e.opcode), OperandByteText(e.kind1, e.kind2),
          SecondOperandByteText(e.kind1, e.kind2), isa.CommentText(entry)};
}

MicroGridRow MicroGridHeader() {
  return {"助记符",   "状态",     "微地址", "微程序", "数据输出", "数据打入",
          "地址输出", "运算器",   "移位控制", "uPC", "PC"};
}

MicroGridRow MicroGridRowOf(const InstructionSystem& isa, const Machine& m, int a) {
  MicroGridRow row;
  const std::uint32_t w = m.uM[a] & kWordMask;
  if (a % 4 == 0) row[0] = isa.InstrTextTable[a / 4];
  FillWordColumns(row, m.StepCountTable[a], w);
  row[2] = AddressText(a, a == m.state[Field::uPC]);
  return row;
}

MicroGridRow TraceGridRowOf(const InstructionSystem& isa, const Machine& m, int i) {
  MicroGridRow row;
  if (i >= m.history.Count()) return row;
  const TraceRecord& rec = m.history[i];
  const std::uint8_t p = rec.state[Field::PC], u = rec.state[Field::uPC];
  const std::uint32_t w = WordOf(rec.state);
  if ((u & 3) == 0) {
    std::uint8_t a = p == 0 ? 0 : static_cast<std::uint8_t>(p - 1);
    std::uint8_t b0 = rec.EM[static_cast<std::uint8_t>(p - 1)];
    if (!(rec.state[Field::STATUS] & status::ICOE)) {
      b0 = 0xB8;
      a = static_cast<std::uint8_t>(a + 1);
    }
    row[0] = FormatInstruction(isa, a, b0, rec.EM[p], rec.EM[static_cast<std::uint8_t>(p + 1)]);
  }
  FillWordColumns(row, m.StepCountTable[u], w);
  row[2] = AddressText(u, i == m.history.Count() - 1);
  return row;
}

}  // namespace edumac8
