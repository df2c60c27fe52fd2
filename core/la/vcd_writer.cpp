#include "la/vcd_writer.h"

#include <vector>

#include "platform/file_io.h"

namespace edumac8 {
namespace {

constexpr const char* kEol = "\r\n";

struct Variable {
  int channel;
  int bit;  // -1: the whole byte as a vector
  std::string name;
  std::string code;
};

// Identifier codes from the printable characters '!' to '~', shortest first. '#' and '$'
// are left out: some readers take a token that starts with them for a time stamp or a
// keyword.
std::string CodeOf(int index) {
  static const std::string kAlphabet = [] {
    std::string chars;
    for (char c = '!'; c <= '~'; ++c)
      if (c != '#' && c != '$') chars += c;
    return chars;
  }();
  const int count = static_cast<int>(kAlphabet.size());
  std::string code;
  do {
    code += kAlphabet[index % count];
    index = index / count - 1;
  } while (index >= 0);
  return code;
}

bool NamedBit(const std::string& name) { return name != kLAUnusedBitName; }

// The channels whose bits the vector form also shows one by one, those whose bits carry signal
// names: STATUS, MH, MM, ML and F, next to each other in the table.
bool HasSignalNames(int channel) {
  return kLAStatusChannel <= channel && channel <= kLAFlagsChannel;
}

std::vector<Variable> VariablesOf(VcdForm form) {
  const LAChannelTable channels = InitLAChannels();
  std::vector<Variable> vars;
  const auto add = [&](int channel, int bit, std::string name) {
    vars.push_back({channel, bit, std::move(name), CodeOf(static_cast<int>(vars.size()))});
  };
  if (form == VcdForm::Vectors)
    for (int k = 0; k < kLAChannelCount; ++k) add(k, -1, channels[k].Name);
  for (int k = 0; k < kLAChannelCount; ++k) {
    if (form == VcdForm::Vectors && !HasSignalNames(k)) continue;
    for (int bit = 0; bit < 8; ++bit)
      if (NamedBit(channels[k].BitNames[bit])) add(k, bit, channels[k].BitNames[bit]);
  }
  return vars;
}

void AppendValue(std::string& out, const Variable& v, std::uint8_t sample) {
  if (v.bit < 0) {
    out += 'b';
    for (int bit = 7; bit >= 0; --bit) out += ((sample >> bit) & 1) ? '1' : '0';
    out += ' ';
  } else {
    out += ((sample >> v.bit) & 1) ? '1' : '0';
  }
  out += v.code;
  out += kEol;
}

bool Differs(const Variable& v, std::uint8_t before, std::uint8_t now) {
  const std::uint8_t mask = v.bit < 0 ? 0xFF : static_cast<std::uint8_t>(1u << v.bit);
  return (before ^ now) & mask;
}

}  // namespace

std::string VcdText(const LASamples& samples, VcdForm form) {
  const std::vector<Variable> vars = VariablesOf(form);
  std::string out;
  const auto line = [&out](const std::string& text) {
    out += text;
    out += kEol;
  };
  line("$version EDUMAC8 workbench logic analyser $end");
  line("$comment one time unit per half micro-step: CK high at even times, low at odd $end");
  line("$timescale 1 ns $end");
  line("$scope module EDUMAC8 $end");
  for (const Variable& v : vars)
    line("$var wire " + std::string(v.bit < 0 ? "8 " : "1 ") + v.code + " " + v.name +
         (v.bit < 0 ? " [7:0]" : "") + " $end");
  line("$upscope $end");
  line("$enddefinitions $end");

  const int count = samples.LASampleCount();
  if (count > 0) {
    line("#0");
    line("$dumpvars");
    for (const Variable& v : vars) AppendValue(out, v, samples.Channel(v.channel)[0]);
    line("$end");
  }
  for (int i = 1; i < count; ++i) {
    line("#" + std::to_string(i));
    for (const Variable& v : vars) {
      const auto channel = samples.Channel(v.channel);
      if (Differs(v, channel[i - 1], channel[i])) AppendValue(out, v, channel[i]);
    }
  }
  line("#" + std::to_string(count));
  return out;
}

std::optional<std::string> WriteVcdFile(const std::string& path, const LASamples& samples,
                                        VcdForm form) {
  if (!WriteFileAtomic(path, VcdText(samples, form))) return "写文件错误：" + path;
  return std::nullopt;
}

}  // namespace edumac8
