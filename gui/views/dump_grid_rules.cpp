#include "views/dump_grid_rules.h"

#include <algorithm>

namespace edumac8 {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Hex2Text(unsigned value) {
  return {kHexDigits[value >> 4 & 15], kHexDigits[value & 15]};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string DumpCellText(const ProgramMemory& em, int row, int column) {
  if (column == 0) return "  " + Hex2Text(row * 16);
  if (column < kDumpTextColumn) return Hex2Text(em[row * 16 + column - 1]);
  std::string text;
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t b = em[row * 16 + i];
    text += b >= 32 && b <= 126 ? static_cast<char>(b) : '.';
  }
  return text;
}

bool InDumpSelection(DumpCell start, DumpCell end, int row, int column) {
  if (start.row > end.row) std::swap(start, end);
  if (row < start.row || row > end.row) return false;
  if (start.row == end.row) {
    return column >= std::min(start.column, end.column) &&
           column <= std::max(start.column, end.column);
  }
  if (row == start.row) return column >= start.column;
  if (row == end.row) return column <= end.column;
  return true;
}

DumpCell AdvanceDumpCursor(DumpCell cell) {
  if (cell.column < 16) return {cell.row, cell.column + 1};
  if (cell.row < kDumpRows - 1) return {cell.row + 1, 1};
  return cell;
}

std::optional<std::uint8_t> ParseDumpEntry(const std::string& typed) {
  if (typed.empty()) return std::nullopt;
  unsigned value = 0;
  for (char c : typed) {
    const int digit = HexValue(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4 | static_cast<unsigned>(digit)) & 0xFFFF;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace edumac8
