#include "diagram/graphic_help.h"

namespace edumac8 {
namespace {

// A group of pins placed from a block of the graphic help: the first pin at the block's
// corner plus (dx, dy), each further one `step` pixels on along x or y.
struct PinGroup {
  int first, last;
  BlockId anchor;
  int dx, dy;
  int stepX, stepY;
};

constexpr PinGroup kPinGroups[] = {
    {24, 28, BlockId::R0, -20, 50, 0, 9},  // left of R0 and R1
    {29, 31, BlockId::R, 26, 50, -9, 0},   // below R, right to left
    {32, 33, BlockId::R, 26, 59, -9, 0},
    {34, 36, BlockId::ALU, 0, 6, 0, 9},    // at the ALU's left edge
    {37, 40, BlockId::W, -33, -12, 9, 0},  // above W
    {41, 43, BlockId::A, -20, 0, 0, 9},    // left of A
    {44, 45, BlockId::A, -29, 4, 0, 9},
    {46, 48, BlockId::A, -20, 36, 0, 9},
    {49, 51, BlockId::A, 0, 54, 10, 0},      // below A
    {52, 54, BlockId::MAR, 60, 5, 0, 9},     // right of MAR
    {55, 58, BlockId::EM, 30, -12, 9, 0},    // above EM
    {59, 60, BlockId::PC, 0, 32, 9, 0},      // below PC
    {61, 62, BlockId::ST, 30, 32, 9, 0},     // below ST
    {63, 64, BlockId::OUT, 52, 5, 0, 9},     // right of OUT
    {65, 66, BlockId::uPC, 110, 5, 0, 9},    // right of uPC
    {67, 69, BlockId::EM, 120, 64, 0, -12},  // right of EM, upwards
};

DrawRect HelpRect(BlockId id) {
  const BlockSpec& b = BlockOf(id);
  return {b.help.x, b.help.y, b.flow.width, b.flow.height};
}

// The extra gap after every eighth pin or switch of the micro-word's row.
int ByteGap(int i) { return (i >= 8 ? 4 : 0) + (i >= 16 ? 4 : 0); }

}  // namespace

DrawPoint PinCorner(int pin) {
  const DrawRect uM = HelpRect(BlockId::uM);
  if (pin < kSwitchCount) return {uM.right() - 8 - 9 * pin - ByteGap(pin), uM.top - 10};
  for (const PinGroup& g : kPinGroups) {
    if (pin < g.first || pin > g.last) continue;
    const BlockSpec& b = BlockOf(g.anchor);
    const int k = pin - g.first;
    return {b.help.x + g.dx + k * g.stepX, b.help.y + g.dy + k * g.stepY};
  }
  return {};
}

DrawRect PinRect(int pin) {
  const DrawPoint p = PinCorner(pin);
  if (pin >= 67) return {p.x - 10, p.y, 28, kPinSize};
  return {p.x, p.y, kPinSize, kPinSize};
}

DrawPoint PinCentre(int pin) {
  const DrawPoint p = PinCorner(pin);
  return {p.x + kPinSize / 2, p.y + kPinSize / 2};
}

DrawRect SwitchRect(int i) {
  const DrawRect uM = HelpRect(BlockId::uM);
  return {uM.right() - 9 - 9 * i - ByteGap(i), uM.top + 2, 10, 19};
}

DrawRect KnobRect(int i, bool up) {
  const DrawRect s = SwitchRect(i);
  return {s.left + 1, up ? s.top + 1 : s.bottom() - 9, 8, 8};
}

Arrow IndicatorArrow(std::uint32_t marked, std::uint32_t position, int indicator) {
  const int shift = indicator == 0 ? 30 : 28;
  if (((marked >> shift) & 3) == 0) return Arrow::None;
  switch ((position >> shift) & 3) {
    case 2:
      return Arrow::Down;
    case 1:
      return Arrow::Up;
    default:
      return Arrow::None;
  }
}

void GraphicHelp::StepCursor::Restart(int n) {
  count = n;
  index = -1;
  back = false;
  forward = n > 0;
}

void GraphicHelp::StepCursor::Forward() {
  if (index < count - 1) {
    ++index;
    back = true;
  }
  if (index == count - 1) forward = false;
}

void GraphicHelp::StepCursor::Back() {
  if (index > 0) {
    --index;
    forward = true;
  }
  if (index <= 0) back = false;
}

void GraphicHelp::Select(ExperimentCatalogue& catalogue, std::optional<int> chosen) {
  if (chosen) catalogue.CurrentExp = *chosen;
  const TExperiment* e = catalogue.Current();
  if (chosen || !e) {
    // What the experiment has decides each button, both ways.
    texts_.requirement = e && !e->Requirement.empty();
    texts_.purpose = e && !e->Purpose.empty();
    texts_.notes = e && !e->Notes.empty();
    texts_.circuit = e && !e->SchematicPicture.empty();
    texts_.timing = e && !e->TimingPicture.empty();
  }
  wires_ = e ? e->Wires : std::vector<WireStep>{};
  ops_ = e ? e->Ops : std::vector<OpStep>{};
  wire_.Restart(static_cast<int>(wires_.size()));
  op_.Restart(static_cast<int>(ops_.size()));
  pins_ = {-1, -1};
  marked_ = position_ = 0;
  status_.assign(1, ' ');  // a single blank
}

GraphicHelp::Buttons GraphicHelp::Enabled() const {
  Buttons b = texts_;
  b.wireBack = wire_.back;
  b.wireForward = wire_.forward;
  b.opBack = op_.back;
  b.opForward = op_.forward;
  return b;
}

void GraphicHelp::ShowWire() {
  if (wire_.index < 0) return;
  const WireStep& step = wires_[wire_.index];
  pins_ = {step.first, step.second};
  status_ = " " + step.text;
}

void GraphicHelp::ShowOp() {
  if (op_.index < 0) return;
  const OpStep& step = ops_[op_.index];
  marked_ = static_cast<std::uint32_t>(step.marked);
  position_ = static_cast<std::uint32_t>(step.position);
  status_ = " " + step.text;
}

void GraphicHelp::WireForward() {
  wire_.Forward();
  ShowWire();
}

void GraphicHelp::WireBack() {
  wire_.Back();
  ShowWire();
}

void GraphicHelp::OpForward() {
  op_.Forward();
  ShowOp();
}

void GraphicHelp::OpBack() {
  op_.Back();
  ShowOp();
}

}  // namespace edumac8
