// The FPGA board mode: the components placed on the drawing area, the eight fixed columns of
// data ports and keys in the bottom row, and what the mode file stores besides. The mode is a
// description only; nothing of it reaches the experiment box.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fpga/io_groups.h"

namespace edumac8 {

enum ComponentKind : int {
  kLed = 1,
  kTwoDigits = 2,
  kTwoDigitsWithLeds = 3,
  kSegmentDigit = 4,
  kEightDigits = 5,
  kButton = 6,
  kPlaceholder = 7,
};

// A kind read from a file may be any number; one outside 1-7 acts as the placeholder.
inline int EffectiveKind(int kind) { return kind >= kLed && kind <= kPlaceholder ? kind : 7; }

// One placed component. Texts are kept as the file's bytes (GBK), so names a file carries in
// another code page survive a save untouched.
struct CList {
  int X = 0;
  int Y = 0;
  int Kind = 0;
  int SetupMode = 0;  // the settings dialog's mode last applied: 5, 7, 1, 2 or 6; 0 never
  std::uint32_t Value = 0;
  std::uint32_t ShownValue = 0;  // the value the picture was last drawn for; not stored
  std::uint8_t Colour = 0;       // LED colour 0-3, or a button's key kind 0-4
  std::uint32_t ClockCount = 0;
  int IOGroup = 0;
  int Bit = 0;
  std::string Label;      // the signal name under the picture (GBK bytes)
  std::string LabelHint;  // what the name's hint tells of the connection (UTF-8)
};

// Column i of the bottom row: data port i and key i.
struct BoardColumn {
  std::uint8_t KeyType = 0;
  int KeyClockCount = 0;
  std::uint16_t KeyIO = 0;
  int KeyFreq = 3;  // index into kClockFrequencyNames: "1MHz"
  std::string KeyLabel;
  std::string PortText;
  std::string PortLabel;
  int PortIO = 0;
  std::uint16_t ClockBusy = 0;  // bit 0: the key's clock is running; not stored
};

// The columns of a new mode: level keys on "K0"-"K7", ports on "D0"-"D7".
BoardColumn DefaultColumn(int i);

struct BoardMode {
  std::vector<CList> components;
  std::array<BoardColumn, kBoardColumns> columns;
  std::uint8_t BoardReserved = 0;  // stored and read back, used by nothing else
  std::string ModeFileName = "New";
  // Changed by editing since the mode was created, opened or saved. Not stored.
  bool Modified = false;

  BoardMode();
  // Default columns; ClockBusy keeps its bits.
  void ResetColumns();
};

// Placement: the mouse and the dialogs keep components within 0-900 x 0-640, the area a mode
// file keeps.
inline constexpr int kBoardMaxX = 900;
inline constexpr int kBoardMaxY = 640;
inline bool WithinBoard(long long x, long long y) {
  return x >= 0 && y >= 0 && x <= kBoardMaxX && y <= kBoardMaxY;
}
// Pointer positions snap down to multiples of 10.
inline int SnapToGrid(int v) { return v >= 0 ? v / 10 * 10 : -((-v + 9) / 10 * 10); }

// A new component of `kind` at (x, y): colour 0, group 0, the name "-.-.-." with hint "-.-".
CList CreateNewRec(int x, int y, int kind);

// The name's hint of a component read from a file: "IO: " + group name, and for an LED
// " Bit:" + bit.
std::string LoadedHint(const CList& c);
// The name's hint after the settings dialog: as LoadedHint for kinds 1-5, "Pin: K???" for a
// button.
std::string SetupHint(const CList& c);

// The last component whose 32 x 32 square around its position holds (x, y) strictly inside.
std::optional<int> ComponentAt(const BoardMode& mode, int x, int y);

// One test-mode draw: every component takes the number of its group (0 outside 0-47).
void ApplyTestValues(BoardMode& mode, const std::array<std::uint32_t, kIOGroupCount>& numbers);

}  // namespace edumac8
