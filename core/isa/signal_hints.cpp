#include "isa/signal_hints.h"

#include "machine/micro_word.h"

namespace edumac8 {
namespace {

constexpr const char* kSourceCodes =
    "000 用户IN，001 中断地址IA，010 堆栈寄存器ST，011 PC值，"
    "100 ALU直通，101 ALU右移，110 ALU左移，111 浮空";
constexpr const char* kAluCodes =
    "000 加运算，001 减运算，010 或运算，011 与运算，"
    "100 带进位加运算，101 带进位减运算，110 A取反，111 A输出";

// What each bit does, bit 0 first.
constexpr const char* kMeanings[24] = {
    "运算器功能选择 S2 S1 S0 的最低位：",                                               // S0
    "运算器功能选择 S2 S1 S0 的中间位：",                                               // S1
    "运算器功能选择 S2 S1 S0 的最高位：",                                               // S2
    "寄存器A打入：数据总线DBUS的值写入A",                                               // AEN
    "寄存器W打入：数据总线DBUS的值写入W（ALU的第二操作数）",                            // WEN
    "数据输出选择 X2 X1 X0 的最低位：",                                                 // X0
    "数据输出选择 X2 X1 X0 的中间位：",                                                 // X1
    "数据输出选择 X2 X1 X0 的最高位：",                                                 // X2
    "标志位C,Z打入：锁存本步运算器/移位器结果的进位和零标志",                           // FEN
    "移位控制：1 带进位移位（通过进位标志C），0 移入0",                                 // CN
    "寄存器R?打入：数据总线DBUS的值写入R?（? = IR 的低两位）",                          // RWR
    "寄存器值R?输出：R?（? = IR 的低两位）送数据总线DBUS",                              // RRD
    "堆栈寄存器ST打入：数据总线DBUS的值写入ST",                                         // STEN
    "用户OUT打入：数据总线DBUS的值写入输出寄存器OUT",                                   // OUTEN
    "MAR输出：地址寄存器MAR送地址总线ABUS",                                             // MAROE
    "地址寄存器MAR打入：数据总线DBUS的值写入MAR",                                       // MAREN
    "寄存器PC打入：转移条件成立时数据总线DBUS的值写入PC",                               // ELP
    "中断结束：清除中断请求和中断响应",                                                 // EINT
    "指令寄存器IR打入，uPC写入：指令总线IBUS的值写入IR，IBUS AND FCH 写入uPC（取指）",  // IREN
    "存贮器EM与数据总线DBUS连通：EMWR 为1时读出（存贮器值EM），为0时写入",              // EMEN
    "PC输出：PC送地址总线ABUS，本步之后PC +1",                                          // PCOE
    "存贮器EM读出：地址总线ABUS所指的EM单元送指令总线IBUS",                             // EMRD
    "存贮器EM写入：数据总线DBUS的值写入地址总线ABUS所指的EM单元",                       // EMWR
    "外部I/O读：外部设备送数据总线（仿真时不模拟）",                                    // XRD
};

bool IsCodeBit(int bit) { return bit <= 2 || (bit >= 5 && bit <= 7); }

}  // namespace

std::string SignalHint(int bit) {
  if (bit < 0 || bit > 23) return {};
  std::string hint = std::string(SignalName(bit)) + "：" + kMeanings[bit];
  if (bit <= 2)
    hint += kAluCodes;
  else if (bit >= 5 && bit <= 7)
    hint += kSourceCodes;
  if (bit == static_cast<int>(Signal::CN))
    hint += "\n高电平有效：勾选（1）时带进位移位";
  else if (!IsCodeBit(bit))
    hint += "\n低电平有效：不勾选（0）时有效，勾选（1）时无效";
  return hint;
}

std::string MicroColumnHint(int column) {
  static constexpr const char* kHints[11] = {
      "助记符：微程序窗口中为这一组（4个微地址）所属的指令，跟踪窗口中为取指时取得的指令",
      "状态：T 后的数字是本条指令取指之前还要执行的微步数；空微指令无状态",
      "微地址：微指令在uM中的地址；-> 标出当前的微地址",
      "微程序：24位微指令，十六进制 MH MM ML",
      "数据输出：驱动数据总线DBUS的部件（X2 X1 X0、RRD、EMEN）；多于一个即为错误，无则浮空",
      "数据打入：从数据总线（IR 从指令总线）打入数据的寄存器",
      "地址输出：驱动地址总线ABUS的部件（PCOE、MAROE）",
      "运算器：ALU的功能（S2 S1 S0）",
      "移位控制：移位器的操作（X2 X1 X0 为 101 或 110 时，由 CN 选择是否带进位）",
      "uPC：取指（IREN）时写入，否则 +1",
      "PC：ELP 时写入；否则 PCOE 时 +1",
  };
  if (column < 0 || column > 10) return {};
  return kHints[column];
}

}  // namespace edumac8
