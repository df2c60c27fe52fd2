// The timing diagram's rows in cells: the 17 zoom levels, how many pixels and samples a cell
// of a bus row and of a bit line stands for, and the cell list of one row. A cell summarises
// its samples (steady or changing, the level or value it ends with), so a row costs the same
// whatever the zoom.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "la/la_samples.h"

namespace edumac8 {

constexpr int kLAZoomLevels = 17;  // levels 0 .. 16
constexpr int kLAMinLevel = 0;
constexpr int kLAMaxLevel = 16;

// 2^(level - 9) pixels per sample.
double PixelScaleOf(int level);
// The level's cell code: 4096 samples per bus cell at level 0 down to -16 (128 pixels per
// sample) at level 16.
int ZoomCodeOf(int level);
// How far the view stays behind the cursor when it follows it, in samples.
int FollowLead(int level);

struct CellGeometry {
  int busWidth;    // pixels
  int busSamples;  // samples per bus cell
  int bitWidth;
  int bitSamples;
};
CellGeometry CellGeometryOf(int zoomCode);

enum class CellKind : std::uint8_t {
  Low = 0,       // bit stays low
  High = 1,      // bit stays high
  RiseFrom = 2,  // bit changes, starting low
  FallFrom = 3,  // bit changes, starting high
  Change = 4,    // bus value changes within the cell
  Steady = 5,    // bus value stays
  NoData = 6,    // the cell's last sample lies past the data
};

struct LACell {
  CellKind kind;
  std::uint8_t value;  // bus: the value the cell ends with; bit: its level, 0 or 1
};

// The cells of one row: entry 0 holds what comes just before the view, entries 1 onward one
// cell each. Sized for a drawing of a given width so that building a row never allocates.
class LACellList {
 public:
  // Room for ceiling(width / cell width) + 2 entries at the narrowest cell (1 pixel).
  void SizeFor(int bitmapWidth);
  int Capacity() const { return static_cast<int>(cells_.size()); }

  // The number of cells after entry 0 for a drawing `bitmapWidth` wide: ceiling(width / cell
  // width) + 1, at most what the list holds.
  int CellsFor(int bitmapWidth, int cellWidth) const;

  // A bus row from sample `viewStart` on, `samplesPerCell` samples per cell.
  std::span<const LACell> BuildBusCells(LASamples& samples, int channel, int viewStart,
                                        int samplesPerCell, int cells);
  // Bit `bit` of a channel, compared as a level (bit 7 the same as bit 0).
  std::span<const LACell> BuildBitCells(LASamples& samples, int channel, int bit, int viewStart,
                                        int samplesPerCell, int cells);

 private:
  std::vector<LACell> cells_;
};

// Where a bus row writes its values: each run of steady cells between two crossings (or the
// row's ends) gets the value it holds, centred over the run, when the run is wider than the
// text plus 8 pixels. A run that ends where the data ends gets its value only when it is the
// row's first. `x` is counted from the left edge of the sample area; `textWidth` is the width
// of two hex digits.
template <typename Write>  // void(int x, std::uint8_t value)
void ForEachBusLabel(std::span<const LACell> cells, int cellWidth, int textWidth, Write write) {
  const int last = static_cast<int>(cells.size()) - 1;
  bool written = false;
  for (int a = 2; a <= last;) {
    int e = a;
    while (e <= last && cells[e].kind == CellKind::Steady) ++e;
    const int m = e - a + 1;
    const bool endsInData = e > last || cells[e].kind != CellKind::NoData;
    if (cells[a].kind != CellKind::NoData && m * cellWidth > textWidth + 8 &&
        (endsInData || !written)) {
      write((a - 1) * cellWidth + ((m - 1) * cellWidth - textWidth) / 2 - cellWidth / 2,
            cells[e - 1].value);
      written = true;
    }
    a = e + 1;
  }
}

}  // namespace edumac8
