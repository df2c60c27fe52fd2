#include "experiments.h"

#include "machine/micro_word.h"

namespace edumac8::pictures {
namespace {

using Kind = TimingRow::Kind;

TimingRow Clock(const char* label = "CK") { return {Kind::Clock, label}; }
TimingRow Bit(Signal s) {
  return {Kind::Signal, SignalName(static_cast<int>(s)), static_cast<int>(s)};
}
TimingRow Word(const char* label) { return {Kind::Word, label}; }
TimingRow Bus(const char* label, Field f) { return {Kind::Bus, label, static_cast<int>(f)}; }
TimingRow Reg(const char* label, Field f) { return {Kind::Register, label, static_cast<int>(f)}; }
TimingRow Flag(const char* label, std::uint8_t mask) { return {Kind::FlagBit, label, mask}; }
TimingRow Status(const char* label, std::uint8_t mask) { return {Kind::StatusBit, label, mask}; }

// Fetch, MOV A,#12H, OUT, JMP START: the program of the controller experiments.
const char* const kControllerProgram =
    "        ORG     0\n"
    "START:  MOV     A, #12H\n"
    "        OUT\n"
    "        JMP     START\n"
    "        END\n";

}  // namespace

const std::vector<ExperimentDrawing>& ExperimentDrawings() {
  static const std::vector<ExperimentDrawing> drawings = {
      {"ALU_SCH.JPG",
       "ALU_WAVE.JPG",
       "数据通路：输入开关 IN → DBUS → A、W → ALU → 直通门 D → DBUS → OUT，标志 C、Z 由 FEN 锁存",
       {0x35, 0x48, -1, -1, -1, -1},
       "",
       0,
       0,
       {},
       {Clock(), Bit(Signal::X2), Bit(Signal::X1), Bit(Signal::X0), Bit(Signal::S2),
        Bit(Signal::S1), Bit(Signal::S0), Bit(Signal::AEN), Bit(Signal::WEN), Bit(Signal::FEN),
        Bit(Signal::OUTEN), Reg("IN", Field::IN), Bus("DBUS", Field::DBUS), Bus("D", Field::D),
        Reg("A", Field::A), Reg("W", Field::W), Reg("OUT", Field::OUT), Flag("C", flag::RCy),
        Flag("Z", flag::RZ)}},
      {"SHIFT_SCH.JPG",
       "SHIFT_WAVE.JPG",
       "数据通路：IN → DBUS → A → ALU（S=111 直通 A）→ 左移门 L / 右移门 R → DBUS → A，进位 C "
       "参与移位",
       {0x81, -1, -1, -1, -1, -1},
       "",
       0,
       0,
       {},
       {Clock(), Bit(Signal::X2), Bit(Signal::X1), Bit(Signal::X0), Bit(Signal::CN),
        Bit(Signal::AEN), Bit(Signal::FEN), Bit(Signal::OUTEN), Bus("D", Field::D),
        Bus("L", Field::L), Bus("R", Field::R), Bus("DBUS", Field::DBUS), Reg("A", Field::A),
        Reg("OUT", Field::OUT), Flag("C", flag::RCy), Flag("Z", flag::RZ)}},
      {"MEM_SCH.JPG",
       "MEM_WAVE.JPG",
       "数据通路：IN → DBUS → MAR → ABUS → EM；IN → DBUS → EM[MAR]；EM[MAR] → DBUS → OUT",
       {0x10, 0x5A, 0x11, 0xA5, 0x10, -1, 0x11, -1},
       "",
       0,
       0,
       {},
       {Clock(), Bit(Signal::X2), Bit(Signal::X1), Bit(Signal::X0), Bit(Signal::MAREN),
        Bit(Signal::MAROE), Bit(Signal::EMEN), Bit(Signal::EMWR), Bit(Signal::OUTEN),
        Reg("IN", Field::IN), Bus("DBUS", Field::DBUS), Bus("ABUS", Field::ABUS),
        Reg("MAR", Field::MAR), Bus("EM 数据", Field::EMData), Reg("OUT", Field::OUT)}},
      {"UPC_SCH.JPG",
       "UPC_WAVE.JPG",
       "控制器：PC → ABUS → EM → IBUS → IR、uPC → uM → 24 位微指令 → 各部件",
       {},
       kControllerProgram,
       0,
       12,
       {},
       {Clock(), Reg("uPC", Field::uPC), Word("微指令"), Bit(Signal::IREN), Bit(Signal::EMRD),
        Bit(Signal::PCOE), Bit(Signal::EMEN), Bit(Signal::ELP), Bus("ABUS", Field::ABUS),
        Bus("IBUS", Field::IBUS), Reg("IR", Field::IR), Reg("PC", Field::PC),
        Bus("DBUS", Field::DBUS), Reg("A", Field::A), Reg("OUT", Field::OUT)}},
      {"INT_SCH.JPG",
       "INT_WAVE.JPG",
       "整机：运算器、存储器、寄存器组、堆栈和控制器全部由微指令控制；中断请求在取指时响应",
       {},
       "interrupt.asm",
       1,
       21,
       {3},
       {Clock(), Reg("uPC", Field::uPC), Word("微指令"), Bit(Signal::IREN), Bit(Signal::EINT),
        Status("IREQ", status::IREQ), Status("IACK", status::IACK), Reg("IR", Field::IR),
        Reg("PC", Field::PC), Reg("ST", Field::ST), Bus("DBUS", Field::DBUS), Reg("R0", Field::R0),
        Reg("OUT", Field::OUT)}},
      {"FPGA_SCH.JPG",
       "FPGA_WAVE.JPG",
       "",
       {},
       kControllerProgram,
       0,
       12,
       {},
       // The rows carry the generated design's signal names, as a GHDL wave shows them.
       {Clock("clk"), Reg("uPC", Field::uPC), Word("uM"), Reg("IR", Field::IR),
        Reg("PC", Field::PC), Bus("A_BUS", Field::ABUS), Bus("I_BUS", Field::IBUS),
        Bus("D_BUS", Field::DBUS), Reg("A", Field::A), Reg("OT", Field::OUT)}},
  };
  return drawings;
}

}  // namespace edumac8::pictures
