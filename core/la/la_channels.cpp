#include "la/la_channels.h"

#include <cmath>

namespace edumac8 {
namespace {

struct FixedChannel {
  const char* name;
  Rgb colour;
  std::array<const char*, 8> bitNames;  // all null: the name, a point and the bit number
};

constexpr std::array<const char*, 8> kNumbered{};

constexpr FixedChannel kTable[kLAChannelCount] = {
    {"IBUS", 0x000080, kNumbered},
    {"ABUS", 0xFF0000, kNumbered},
    {"DBUS", 0x008080, kNumbered},
    {"PC", 0x000000, kNumbered},
    {"uPC", 0x0000FF, kNumbered},
    {"STATUS", 0x008000, {"CK", "RT0", "RT1", "PC+1", "ELPC", "ICOE", "IACK", "IREQ"}},
    {"MH", 0x000000, {"ELP", "EINT", "IREN", "EMEN", "PCOE", "EMRD", "EMWR", "XRD"}},
    {"MM", 0x000000, {"FEN", "CN", "RWR", "RRD", "STEN", "OUTEN", "MAROE", "MAREN"}},
    {"ML", 0x000000, {"S0", "S1", "S2", "AEN", "WEN", "X0", "X1", "X2"}},
    {"F",
     0xFFFF00,
     {kLAUnusedBitName, kLAUnusedBitName, kLAUnusedBitName, kLAUnusedBitName, "CZ", "Cy", "RZ",
      "RCy"}},
    {"A", 0x000000, kNumbered},
    {"W", 0x000000, kNumbered},
    {"D", 0x0000FF, kNumbered},
    {"L", 0x0000FF, kNumbered},
    {"R", 0x0000FF, kNumbered},
    {"R0", 0x008080, kNumbered},
    {"R1", 0x008080, kNumbered},
    {"R2", 0x008080, kNumbered},
    {"R3", 0x008080, kNumbered},
    {"MAR", 0x000000, kNumbered},
    {"IR", 0xFF0000, kNumbered},
    {"ST", 0x000000, kNumbered},
    {"IA", 0x0000FF, kNumbered},
    {"IN", 0xFFFF00, kNumbered},
    {"OUT", 0x008000, kNumbered},
};

constexpr std::array<Rgb, 8> kBitColours = {0xFF0000, 0x800000, 0xFFFF00, 0x008000,
                                            0x0000FF, 0x800080, 0x808000, 0xFFFFFF};

}  // namespace

LAChannelTable InitLAChannels() {
  LAChannelTable channels;
  for (int k = 0; k < kLAChannelCount; ++k) {
    const FixedChannel& fixed = kTable[k];
    TLAChannel& c = channels[k];
    c.Name = fixed.name;
    c.Colour = fixed.colour;
    for (int bit = 0; bit < 8; ++bit)
      c.BitNames[bit] = fixed.bitNames[bit] ? std::string(fixed.bitNames[bit])
                                            : c.Name + "." + std::to_string(bit);
    c.BitColours = kBitColours;
    c.Top = (k + 1) * kLABusRowHeight;
  }
  // The status signals are what a student looks at first; HitHeight stays that of a bus row
  // until the first double-click.
  channels[kLAStatusChannel].ShowAsBus = false;
  return channels;
}

void ToggleShowAsBus(TLAChannel& channel) {
  channel.ShowAsBus = !channel.ShowAsBus;
  const int expanded = static_cast<int>(std::lround(channel.LineUnit * 8 * 1.3)) + 10;
  channel.HitHeight = channel.ShowAsBus ? channel.LineUnit + 10 : expanded;
}

int LayOutRows(LAChannelTable& channels) {
  int y = kLABusRowHeight;
  for (TLAChannel& c : channels) {
    c.Top = y;
    y += c.ShowAsBus ? kLABusRowHeight : kLAExpandedRowHeight;
  }
  return y;
}

}  // namespace edumac8
