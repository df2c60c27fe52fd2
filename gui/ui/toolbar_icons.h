// The toolbar's pictures, drawn rather than shipped so they stay sharp at any scale.
#pragma once

#include <QIcon>

namespace edumac8 {

enum class ToolIcon {
  Refresh,
  Open,
  Save,
  Make,
  Cut,
  Copy,
  Paste,
  Reset,
  Pause,
  Run,
  Trace,
  Step,
  Vhdl,
  Interrupt,
  Buses,
  Animate,
  Fpga,
};

QIcon ToolbarIcon(ToolIcon icon);

}  // namespace edumac8
