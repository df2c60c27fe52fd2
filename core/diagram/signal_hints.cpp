#include "diagram/signal_hints.h"

#include "isa/micro_texts.h"
#include "machine/micro_word.h"

namespace edumac8 {
namespace {

// Bits hi … lo of `value` as the digits 0 and 1.
std::string Bits(std::uint32_t value, int hi, int lo) {
  std::string digits;
  for (int bit = hi; bit >= lo; --bit) digits += (value >> bit) & 1 ? '1' : '0';
  return digits;
}

class HintWriter {
 public:
  explicit HintWriter(std::uint32_t u) : u_(u) {}

  // "X2 X1 X0 = bbb, " and what the gate does with this bus source code.
  std::string Source(const char* title, unsigned code, const char* gate) const {
    const bool on = SourceCode(u_) == code;
    return std::string(title) + "\nX2 X1 X0 = " + Bits(u_, 7, 5) + ", " + gate +
           (on ? "输出允许" : "输出禁止");
  }
  // "NAME = b, " and the text for 0 or for 1.
  std::string Line(const char* name, int bit, const std::string& whenZero,
                   const std::string& whenOne) const {
    const bool one = (u_ >> bit) & 1;
    return std::string("\n") + name + " = " + (one ? "1" : "0") + ", " + (one ? whenOne : whenZero);
  }
  // The usual pair of an enable signal: "…允许" when 0, "…禁止" when 1.
  std::string Enable(const char* name, int bit, const std::string& what) const {
    return Line(name, bit, what + "允许", what + "禁止");
  }

 private:
  std::uint32_t u_;
};

}  // namespace

SignalHints StartupHints() {
  SignalHints hints;
  for (const BlockSpec& b : Blocks()) hints[Index(b.id)] = b.name;
  return hints;
}

SignalHints UpdateSignalHints(std::uint32_t u, std::uint8_t ir) {
  const HintWriter h(u);
  SignalHints hints;
  const auto set = [&hints](BlockId id, std::string text) { hints[Index(id)] = std::move(text); };

  set(BlockId::IA, h.Source("中断向量(001)", 1, "中断向量"));
  set(BlockId::ST, h.Source("堆栈(010)", 2, "堆栈") + h.Enable("ST_EN", 12, "堆栈打入"));
  set(BlockId::PC, h.Source("程序记数器PC(011)", 3, "PC") + h.Enable("PC_OE", 20, "PC输出地址") +
                       h.Enable("ELP", 16, "PC打入"));
  set(BlockId::MAR, "地址寄存器MAR" + h.Enable("MAR_OE", 14, "地址寄存器MAR输出") +
                        h.Enable("MAR_EN", 15, "地址寄存器MAR打入"));
  set(BlockId::L, h.Source("左移门(110)", 6, "左移门"));
  set(BlockId::R, h.Source("右移门(101)", 5, "右移门"));
  set(BlockId::D, h.Source("直通门(100)", 4, "直通门"));
  static constexpr BlockId kRegisters[4] = {BlockId::R0, BlockId::R1, BlockId::R2, BlockId::R3};
  for (int n = 0; n < 4; ++n) {
    const std::string reg = "R" + std::to_string(n);
    set(kRegisters[n], "寄存器" + reg + "\nSB SA = " + Bits(ir, 1, 0) + ", " +
                           ((ir & 3) == n ? "选中" : "未选中") + reg + h.Enable("RWR", 10, "写") +
                           h.Enable("RRD", 11, "读"));
  }
  set(BlockId::IN, h.Source("输入门(000)", 0, "输入门"));
  set(BlockId::OUT, "输出寄存器" + h.Enable("OUT_EN", 13, "输出寄存器打入"));
  set(BlockId::EM, "存贮器EM" +
                       h.Line("EM_EN", 19, "存贮器与数据总线相通", "存贮器与数据总线不通") +
                       h.Enable("EM_RD", 21, "存贮器读") + h.Enable("EM_WR", 22, "存贮器写"));
  set(BlockId::uPC,
      "微指令记数器uPC" + h.Line("IR_EN", 18, "微指令记数器uPC打入允许", "微指令记数器uPC加一"));
  set(BlockId::IR, "指令寄存器" + h.Enable("IR_EN", 18, "指令寄存器打入"));
  set(BlockId::A, "寄存器A" + h.Enable("A_EN", 3, "寄存器A打入"));
  set(BlockId::W, "寄存器W" + h.Enable("W_EN", 4, "寄存器W打入"));
  set(BlockId::uM, "微程序存贮器uM");
  set(BlockId::DBUS, "数据总线\n" + DataOutText(u));
  set(BlockId::ABUS, "地址总线\n" + AddressOutText(u));
  set(BlockId::IBUS, std::string("指令总线\n") + ((u >> 21) & 1 ? "浮空" : "存贮器EM"));
  set(BlockId::ALU, "运算器\nS2 S1 S0 = " + Bits(u, 2, 0) + ", " + AluText(u));
  return hints;
}

}  // namespace edumac8
