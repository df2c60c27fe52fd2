#include "isa/micro_texts.h"

#include <cstdio>

#include "machine/micro_word.h"

namespace edumac8 {

std::string StateText(std::uint8_t stepCount, std::uint32_t w) {
  if (IsEmptyWord(w)) return "";
  return " T" + std::to_string(stepCount);
}

std::string AddressText(int a, bool current) {
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", a & 0xFF);
  return std::string(current ? "-> " : "   ") + hex;
}

std::string HexText(std::uint32_t w) {
  char hex[7];
  std::snprintf(hex, sizeof hex, "%06X", w & kWordMask);
  return hex;
}

std::string DataOutText(std::uint32_t w) {
  static const char* const kSources[8] = {"用户IN ", "中断地址IA ", "堆栈寄存器ST ", "PC值 ",
                                          "ALU直通 ", "ALU右移 ", "ALU左移 ", ""};
  std::string text = kSources[SourceCode(w)];
  int drivers = SourceCode(w) != 7;
  if (Asserted(w, Signal::RRD)) {
    text += "寄存器值R? ";
    ++drivers;
  }
  if (Asserted(w, Signal::EMEN) && !Asserted(w, Signal::EMWR)) {
    text += "存贮器值EM ";
    ++drivers;
  }
  if (drivers > 1) text = "错误: " + text;
  return text.empty() ? "浮空" : text;
}

std::string DataInText(std::uint32_t w) {
  struct Piece { Signal signal; const char* text; };
  static constexpr Piece kPieces[] = {
      {Signal::RWR, "寄存器R? "},       {Signal::AEN, "寄存器A "},
      {Signal::WEN, "寄存器W "},        {Signal::IREN, "指令寄存器IR "},
      {Signal::FEN, "标志位C,Z "},      {Signal::OUTEN, "用户OUT "},
      {Signal::MAREN, "地址寄存器MAR "}, {Signal::STEN, "堆栈寄存器ST "},
      {Signal::EMWR, "存贮器EM "},      {Signal::ELP, "寄存器PC "},
  };
  std::string text;
  for (const Piece& p : kPieces)
    if (Asserted(w, p.signal)) text += p.text;
  return text;
}

std::string AddressOutText(std::uint32_t w) {
  const bool pc = Asserted(w, Signal::PCOE), mar = Asserted(w, Signal::MAROE);
  if (pc && mar) return "错误: PC输出 MAR输出";
  if (pc) return "PC输出";
  if (mar) return "MAR输出";
  return "浮空";
}

std::string AluText(std::uint32_t w) {
  static const char* const kTexts[8] = {"加运算 ",       "减运算 ",       "或运算 ", "与运算",
                                        "带进位加运算 ", "带进位减运算 ", "A取反",   "A输出"};
  return kTexts[AluCode(w)];
}

std::string ShiftText(std::uint32_t w) {
  const bool cn = Asserted(w, Signal::CN);
  switch (SourceCode(w)) {
    case 5: return cn ? "带进位右移" : "右移";
    case 6: return cn ? "带进位左移" : "左移";
    default: return "";
  }
}

std::string UpcText(std::uint32_t w) { return Asserted(w, Signal::IREN) ? "写入" : " +1"; }

std::string PcText(std::uint32_t w) {
  if (Asserted(w, Signal::ELP)) return "写入";
  if (Asserted(w, Signal::PCOE)) return " +1";
  return "";
}

}  // namespace edumac8
