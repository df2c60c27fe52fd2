// The logic analyser's 25 channels: the byte of a trace record each one samples, its colours
// and bit names, and whether it is drawn as one bus row or as eight bit lines.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "machine/machine_state.h"

namespace edumac8 {

using Rgb = std::uint32_t;  // 0xRRGGBB

constexpr int kLAChannelCount = 25;
constexpr int kLAStatusChannel = 5;
constexpr int kLAFlagsChannel = 9;
// Bits without a signal behind them (F's reserved bits 0-3).
constexpr const char* kLAUnusedBitName = "NULL";

// The state-block byte that each channel samples.
constexpr std::array<Field, kLAChannelCount> kLAChannelSources = {
    Field::IBUS, Field::ABUS, Field::DBUS, Field::PC,  Field::uPC, Field::STATUS, Field::MH,
    Field::MM,   Field::ML,   Field::F,    Field::A,   Field::W,   Field::D,      Field::L,
    Field::R,    Field::R0,   Field::R1,   Field::R2,  Field::R3,  Field::MAR,    Field::IR,
    Field::ST,   Field::IA,   Field::IN,   Field::OUT,
};

// Heights in pixels of a bus row and of a row expanded into eight bit lines.
constexpr int kLABusRowHeight = 25;
constexpr int kLAExpandedRowHeight = 165;

struct TLAChannel {
  std::string Name;
  Rgb Colour = 0;
  std::array<std::string, 8> BitNames;  // bit 0 first
  std::array<Rgb, 8> BitColours{};
  bool ShowAsBus = true;
  int Top = 0;  // where the last layout put the row
  // The band of the name column that answers a double-click: LineUnit + 10 for a bus row,
  // LineUnit * 8 * 1.3 (rounded) + 10 for an expanded one.
  int HitHeight = 25;
  int LineUnit = 15;
};

using LAChannelTable = std::array<TLAChannel, kLAChannelCount>;

// The fixed table; STATUS starts expanded, every other channel as a bus.
LAChannelTable InitLAChannels();

// Double-click on a row's name: a bus expands into its bits, bit lines collapse into a bus.
void ToggleShowAsBus(TLAChannel& channel);

// Places the rows one below the other from y = 25 (Top of each) and returns the height of
// them all, the first row's offset included.
int LayOutRows(LAChannelTable& channels);

}  // namespace edumac8
