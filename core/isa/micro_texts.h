// The Chinese texts that spell out what a micro-word does, column by column, shared by the
// micro-program and trace windows and their CSV exports. Every piece brings its own trailing
// blank; the texts are exact.
#pragma once

#include <cstdint>
#include <string>

namespace edumac8 {

std::string StateText(std::uint8_t stepCount, std::uint32_t w);
std::string AddressText(int a, bool current);
std::string HexText(std::uint32_t w);
std::string DataOutText(std::uint32_t w);
std::string DataInText(std::uint32_t w);
std::string AddressOutText(std::uint32_t w);
std::string AluText(std::uint32_t w);
std::string ShiftText(std::uint32_t w);
std::string UpcText(std::uint32_t w);
std::string PcText(std::uint32_t w);

}  // namespace edumac8
