#include "isa/disassembler.h"

#include "platform/text_codec.h"

namespace edumac8 {
namespace {

std::string OperandText(const InstrEntry& e, std::uint8_t opcode, std::uint8_t byte1,
                        std::uint8_t byte2) {
  const char reg = static_cast<char>('0' + (opcode & 3));
  const std::uint8_t bytes[2] = {byte1, byte2};
  int next = 0;
  std::string text;
  const auto operand = [&](std::uint8_t kind, bool second) {
    const std::string sep = second ? ", " : "";
    switch (kind) {
      case OpA: text += sep + "A"; break;
      case OpReg: text += sep + "R" + reg; break;
      case OpIndirect: text += sep + "@R" + reg; break;
      case OpImm: text += sep + "#" + Hex2(bytes[next++]); break;
      case OpMem: text += sep + Hex2(bytes[next++]); break;
      default: break;
    }
  };
  operand(e.kind1, false);
  operand(e.kind2, true);
  return text;
}

std::string MnemonicField(const InstrEntry& e, std::size_t width) {
  std::string field = e.defined ? e.mnemonic.substr(0, 7) : "UNDEF";
  field.resize(width, ' ');
  return Gb2312ToUtf8(field);
}

std::string Body(const InstructionSystem& isa, std::size_t width, std::uint8_t opcode,
                 std::uint8_t byte1, std::uint8_t byte2) {
  const InstrEntry& e = isa.InstrTable[opcode / 4];
  return MnemonicField(e, width) +
         (e.defined ? OperandText(e, opcode, byte1, byte2) : Hex2(opcode));
}

}  // namespace

DisassembledLine DisassembleAt(const InstructionSystem& isa, const ProgramMemory& em,
                               std::uint8_t address) {
  const std::uint8_t b = em[address];
  const auto at = [&](int offset) { return em[static_cast<std::uint8_t>(address + offset)]; };
  const int length = isa.OpLengthTable[b];
  std::string code = Hex2(address) + " ";
  for (int i = 0; i < length; ++i) code += Hex2(at(i));
  code += std::string(length >= 3 ? 1 : length == 2 ? 3 : 5, ' ');
  return {code + Body(isa, 7, b, at(1), at(2)), length};
}

std::string FormatInstruction(const InstructionSystem& isa, std::uint8_t address,
                              std::uint8_t opcode, std::uint8_t operand1, std::uint8_t operand2) {
  return Hex2(address) + " " + Body(isa, 6, opcode, operand1, operand2);
}

}  // namespace edumac8
