#include "guide/pin_table.h"

#include "machine/micro_word.h"

namespace edumac8 {
namespace {

constexpr std::string_view kRegisters = "寄存器组 R0-R3";
constexpr std::string_view kShifter = "移位门 L D R";
constexpr std::string_view kFlags = "标志 C Z";
constexpr std::string_view kAlu = "运算器 ALU";
constexpr std::string_view kControl = "控制器 IR 与中断";

// Pins 24-69 in order, grouped as the graphic help places them.
constexpr Pin kControlInputs[kPinCount - kSwitchPins] = {
    {"RRD", kRegisters},
    {"RWR", kRegisters},
    {"CK", kRegisters},  // 24-26
    {"CN", kShifter},
    {"FEN", kFlags},  // 27-28
    {"X0", kShifter},
    {"X1", kShifter},
    {"X2", kShifter},  // 29-31
    {"RCy", kAlu},
    {"CK", kFlags},  // 32-33
    {"S0", kAlu},
    {"S1", kAlu},
    {"S2", kAlu},  // 34-36
    {"AEN", "寄存器 A"},
    {"CK", "寄存器 A"},  // 37-38
    {"WEN", "寄存器 W"},
    {"CK", "寄存器 W"},  // 39-40
    {"IREN", kControl},
    {"EINT", kControl},
    {"RZ", kControl},  // 41-43
    {"RT0", kControl},
    {"RT1", kControl},
    {"PC+1", kControl},  // 44-46
    {"ELPC", kControl},
    {"ICOE", kControl},
    {"IACK", kControl},  // 47-49
    {"CK", kControl},
    {"IREQ", kControl},  // 50-51
    {"MAREN", "地址寄存器 MAR"},
    {"MAROE", "地址寄存器 MAR"},
    {"CK", "地址寄存器 MAR"},  // 52-54
    {"EMEN", "存储器 EM"},
    {"EMRD", "存储器 EM"},
    {"EMWR", "存储器 EM"},  // 55-57
    {"XRD", "存储器 EM"},   // 58
    {"PCOE", "程序计数器 PC"},
    {"ELP", "程序计数器 PC"},  // 59-60
    {"STEN", "堆栈 ST"},
    {"CK", "堆栈 ST"},  // 61-62
    {"OUTEN", "输出 OUT"},
    {"CK", "输出 OUT"},  // 63-64
    {"IREN", "微地址 uPC"},
    {"CK", "微地址 uPC"},  // 65-66
    {"X0", "数据源选择 IN IA ST PC"},
    {"X1", "数据源选择 IN IA ST PC"},  // 67-68
    {"X2", "数据源选择 IN IA ST PC"},  // 69
};

}  // namespace

Pin PinAt(int n) {
  if (n < 0 || n >= kPinCount) return {};
  if (n < kSwitchPins) return {SignalName(n), "微指令开关"};
  return kControlInputs[n - kSwitchPins];
}

}  // namespace edumac8
