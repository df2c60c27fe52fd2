// libFuzzer target: the logic analyser's capture and rows. The bytes give a micro-program, a
// trace history of any length and contents and the connection mode, then a sequence of view
// actions (zoom buttons, "Zoom All", boxes, cursor and name drags, resizes, double-clicks);
// after each action one channel's rows are built into cells at the view's zoom as a repaint
// builds them, and every row after the last. Any read outside the buffers, a cell list too
// short, a cell that contradicts its samples, or a view state outside its range stops the run.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "la/la_cells.h"
#include "la/la_view.h"
#include "la/vcd_writer.h"

namespace edumac8 {
namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void FillHistory(FuzzedDataProvider& in, Machine& m) {
  for (std::uint32_t& cell : m.uM) cell = in.ConsumeIntegral<std::uint32_t>();
  const int records = in.ConsumeIntegralInRange(0, 300);
  m.history.Clear();
  for (int j = 0; j < records && in.remaining_bytes() > 0; ++j) {
    TraceRecord r;
    const auto bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 48));
    std::copy(bytes.begin(), bytes.end(), r.state.bytes.begin());
    m.history.Append(r);
  }
}

// A channel's bus row and one of its bit lines at the view's zoom, the way the window draws
// them.
void BuildRow(LASamples& samples, LACellList& cells, const LAView& view, int k, int bit) {
  const CellGeometry g = view.Geometry();
  const int width = view.BitmapWidth();
  const int n = cells.CellsFor(width, g.busWidth);
  Check(n == (width + g.busWidth - 1) / g.busWidth + 1);
  const auto bus = cells.BuildBusCells(samples, k, view.ViewStart, g.busSamples, n);
  Check(bus.size() == std::size_t(n) + 1);
  for (std::size_t i = 1; i < bus.size(); ++i) {
    const long last = long(view.ViewStart) + long(i) * g.busSamples - 1;
    Check((bus[i].kind == CellKind::NoData) == (last >= samples.LASampleCount()));
    if (bus[i].kind != CellKind::NoData) Check(bus[i].value == samples.Channel(k)[last]);
  }
  ForEachBusLabel(bus, g.busWidth, 16, [&](int x, std::uint8_t) { Check(x > -g.busWidth); });
  const int bits = cells.CellsFor(width, g.bitWidth);
  const auto line = cells.BuildBitCells(samples, k, bit, view.ViewStart, g.bitSamples, bits);
  Check(line.size() == std::size_t(bits) + 1);
  for (std::size_t i = 1; i < line.size(); ++i) {
    const long last = long(view.ViewStart) + long(i) * g.bitSamples - 1;
    Check(line[i].value <= 1);
    Check((line[i].kind == CellKind::NoData) == (last >= samples.LASampleCount()));
    if (line[i].kind != CellKind::NoData)
      Check(line[i].value == ((samples.Channel(k)[last] >> bit) & 1));
  }
}

void Act(FuzzedDataProvider& in, LAView& view, LACellList& cells, LAChannelTable& channels) {
  const int x = in.ConsumeIntegralInRange(-50, 4000), y = in.ConsumeIntegralInRange(-50, 1200);
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
      view.ZoomIn();
      break;
    case 1:
      view.ZoomOut();
      break;
    case 2:
      view.ZoomAll();
      break;
    case 3:
      view.ApplyZoomLevel(in.ConsumeIntegralInRange(-3, 20));
      break;
    case 4:
      view.Press(x, y);
      break;
    case 5:
      view.Move(x, y, in.ConsumeBool());
      break;
    case 6:
      view.Release();
      break;
    case 7: {
      const int width = in.ConsumeIntegralInRange(1, 4000);
      view.Resize(width, in.ConsumeIntegralInRange(1, 1200));
      cells.SizeFor(width);
      break;
    }
    case 8:
      view.CursorSample = in.ConsumeIntegralInRange(0, 600);
      view.Follow();
      break;
    case 9:
      if (const auto k = view.ChannelAt(channels, x, y)) ToggleShowAsBus(channels[*k]);
      LayOutRows(channels);
      break;
  }
  view.PlaceCursor();
  Check(view.PixelScale > 0 && view.Level() >= kLAMinLevel && view.Level() <= kLAMaxLevel);
  Check(view.ViewStart >= 0 && view.ViewStart <= LAView::kMaxViewStart);
  Check(view.NameWidth >= LAView::kMinNameWidth && view.NameWidth <= LAView::kMaxNameWidth);
}

}  // namespace
}  // namespace edumac8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8;
  static const auto machine = std::make_unique<Machine>();
  static LASamples samples;
  FuzzedDataProvider in(data, size);
  Machine& m = *machine;
  FillHistory(in, m);
  const int count = samples.Capture(m, in.ConsumeBool());
  Check(count == (m.history.Count() > 0 ? 2 * m.history.Count() - 1 : 0));
  samples.CopyToDisplay();
  Check(samples.Channel(0).size() == std::size_t(count));
  if (in.ConsumeBool()) (void)VcdText(samples, in.ConsumeBool() ? VcdForm::Bits : VcdForm::Vectors);

  LAView view;
  LACellList cells;
  LAChannelTable channels = InitLAChannels();
  const int width = in.ConsumeIntegralInRange(1, 3840);
  view.Resize(width, in.ConsumeIntegralInRange(1, 1200));
  cells.SizeFor(width);
  for (int action = 0; action < 16 && in.remaining_bytes() > 0; ++action) {
    Act(in, view, cells, channels);
    BuildRow(samples, cells, view, in.ConsumeIntegralInRange(0, kLAChannelCount - 1),
             in.ConsumeIntegralInRange(0, 7));
  }
  for (int k = 0; k < kLAChannelCount; ++k)
    for (int bit = 0; bit < 8; ++bit) BuildRow(samples, cells, view, k, bit);
  return 0;
}
