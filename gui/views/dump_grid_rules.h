// The layout rules of the program-memory dump, free of drawing: what each cell says, which
// cells a selection covers and where the cursor goes after an edit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "machine/machine_state.h"

namespace edumac8 {

constexpr int kDumpRows = 16;
constexpr int kDumpColumns = 18;  // address, 16 bytes, text
constexpr int kDumpTextColumn = 17;

struct DumpCell {
  int row = 0;
  int column = 1;
  bool operator==(const DumpCell&) const = default;
};

// Column 0: two blanks and the row's address; 1-16: the byte in hex; 17: the row as text.
std::string DumpCellText(const ProgramMemory& em, int row, int column);
// Whether a byte cell lies in the selection from `start` to `end` in reading order.
bool InDumpSelection(DumpCell start, DumpCell end, int row, int column);
// The cell after an edit: the next column, the next row's first, or the last cell kept.
DumpCell AdvanceDumpCursor(DumpCell cell);
// A typed entry read as a hexadecimal number; nothing when it is empty or holds a character
// that is not a hex digit. Only the low 8 bits are kept.
std::optional<std::uint8_t> ParseDumpEntry(const std::string& typed);
// The EM address of a byte cell.
inline int DumpAddress(DumpCell cell) { return cell.row * 16 + cell.column - 1; }

}  // namespace edumac8
