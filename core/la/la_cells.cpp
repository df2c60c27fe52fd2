#include "la/la_cells.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace edumac8 {
namespace {

constexpr std::array<int, kLAZoomLevels> kCodes = {-16, -8, -4,  -2,  1,   2,    4,    8,   16,
                                                   32,  64, 128, 256, 512, 1024, 2048, 4096};
constexpr std::array<int, kLAZoomLevels> kLeads = {0,   1,   2,  3,  4,  5,  1920, 960, 480,
                                                   240, 120, 60, 40, 20, 10, 5,    2};

int ClampLevel(int level) { return std::clamp(level, kLAMinLevel, kLAMaxLevel); }

}  // namespace

double PixelScaleOf(int level) { return std::ldexp(1.0, ClampLevel(level) - 9); }
int ZoomCodeOf(int level) { return kCodes[kLAMaxLevel - ClampLevel(level)]; }
int FollowLead(int level) { return kLeads[ClampLevel(level)]; }

CellGeometry CellGeometryOf(int zoomCode) {
  if (zoomCode < 0) return {-8 * zoomCode, 1, -8 * zoomCode, 1};
  if (zoomCode <= 4) return {8, zoomCode, 8 / zoomCode, 1};
  return {8, zoomCode, 1, zoomCode / 8};
}

void LACellList::SizeFor(int bitmapWidth) {
  cells_.resize(static_cast<std::size_t>(std::max(bitmapWidth, 0)) + 2);
}

int LACellList::CellsFor(int bitmapWidth, int cellWidth) const {
  const int n = (std::max(bitmapWidth, 0) + cellWidth - 1) / cellWidth;
  return std::min(n + 1, Capacity() - 1);
}

std::span<const LACell> LACellList::BuildBusCells(LASamples& samples, int channel, int viewStart,
                                                  int samplesPerCell, int cells) {
  if (cells < 0 || cells >= Capacity()) return {};
  int b = viewStart;
  std::uint8_t c = b > 0 ? samples.LASample(channel, b - 1) : 0;
  cells_[0] = {CellKind::NoData, c};
  for (int i = 1; i <= cells; ++i) {
    bool changed = false;
    for (int t = 0; t < samplesPerCell; ++t) {
      const std::uint8_t v = samples.LASample(channel, b + t);
      if (samples.LAPastEnd()) break;
      if (v != c) {
        changed = true;
        break;
      }
    }
    b += samplesPerCell;
    c = samples.LASample(channel, b - 1);
    const CellKind kind = samples.LAPastEnd() ? CellKind::NoData
                          : changed           ? CellKind::Change
                                              : CellKind::Steady;
    cells_[i] = {kind, c};
  }
  return {cells_.data(), static_cast<std::size_t>(cells) + 1};
}

std::span<const LACell> LACellList::BuildBitCells(LASamples& samples, int channel, int bit,
                                                  int viewStart, int samplesPerCell, int cells) {
  if (cells < 0 || cells >= Capacity()) return {};
  const std::uint8_t mask = static_cast<std::uint8_t>(1u << bit);
  const auto level = [&](int index) -> std::uint8_t {
    return (samples.LASample(channel, index) & mask) ? 1 : 0;
  };
  int b = viewStart;
  std::uint8_t d = level(b);
  cells_[0] = {CellKind::NoData, d};
  for (int i = 1; i <= cells; ++i) {
    bool changed = false;
    for (int t = 0; t < samplesPerCell; ++t) {
      const std::uint8_t v = level(b + t);
      if (samples.LAPastEnd()) break;
      if (v != d) {
        changed = true;
        break;
      }
    }
    b += samplesPerCell;
    const std::uint8_t next = level(b - 1);
    CellKind kind;
    if (samples.LAPastEnd())
      kind = CellKind::NoData;
    else if (changed)
      kind = d ? CellKind::FallFrom : CellKind::RiseFrom;
    else
      kind = d ? CellKind::High : CellKind::Low;
    cells_[i] = {kind, next};
    d = next;
  }
  return {cells_.data(), static_cast<std::size_t>(cells) + 1};
}

}  // namespace edumac8
