#include "fpga/board_mode.h"

namespace edumac8 {

BoardColumn DefaultColumn(int i) {
  BoardColumn c;
  c.KeyIO = static_cast<std::uint16_t>(kFirstKeyGroup + i);
  c.KeyLabel = "K" + std::to_string(i);
  c.PortText = "0x12345678";
  c.PortLabel = "D" + std::to_string(i);
  c.PortIO = i;
  return c;
}

BoardMode::BoardMode() { ResetColumns(); }

void BoardMode::ResetColumns() {
  for (int i = 0; i < kBoardColumns; ++i) {
    const std::uint16_t busy = columns[i].ClockBusy;
    columns[i] = DefaultColumn(i);
    columns[i].ClockBusy = busy;
  }
}

CList CreateNewRec(int x, int y, int kind) {
  CList c;
  c.X = x;
  c.Y = y;
  c.Kind = kind;
  c.Label = "-.-.-.";
  c.LabelHint = "-.-";
  return c;
}

std::string LoadedHint(const CList& c) {
  std::string hint = "IO: " + IOGroupName(c.IOGroup);
  if (c.Kind == kLed) hint += " Bit:" + std::to_string(c.Bit);
  return hint;
}

std::string SetupHint(const CList& c) { return c.Kind == kButton ? "Pin: K???" : LoadedHint(c); }

std::optional<int> ComponentAt(const BoardMode& mode, int x, int y) {
  for (int i = static_cast<int>(mode.components.size()) - 1; i >= 0; --i) {
    const CList& c = mode.components[i];
    // 64-bit: a position read from a file may lie anywhere in the int range.
    const long long left = c.X, top = c.Y;
    if (x > left && x < left + 32 && y > top && y < top + 32) return i;
  }
  return std::nullopt;
}

void ApplyTestValues(BoardMode& mode, const std::array<std::uint32_t, kIOGroupCount>& numbers) {
  for (CList& c : mode.components) c.Value = ValidIOGroup(c.IOGroup) ? numbers[c.IOGroup] : 0;
}

}  // namespace edumac8
