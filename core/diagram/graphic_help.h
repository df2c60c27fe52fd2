// The graphic help's model: where the box's wiring pins and micro-word switches are drawn,
// and the stepping through an experiment's wiring steps (a wire between two pins) and
// operating steps (switch positions), with the enable state of the page's buttons.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diagram/flow_layout.h"
#include "guide/experiment.h"
#include "guide/pin_table.h"

namespace edumac8 {

// Pins 0 … kPinCount - 1: circles of 8 × 8, except 67–69, which are 28 × 8 bars.
constexpr int kPinSize = 8;
// The top left corner of pin `pin`'s circle; the bars reach from 10 pixels left of it.
DrawPoint PinCorner(int pin);
DrawRect PinRect(int pin);
DrawPoint PinCentre(int pin);

// The 24 switches of the micro-word, switch i for bit i, where the uM block lies; each lies
// under its output pin.
constexpr int kSwitchCount = kSwitchPins;
DrawRect SwitchRect(int i);
DrawRect KnobRect(int i, bool up);

// The two indicators above pins 50 and 51 show switch pairs beyond the micro-word: bits
// 31–30 and 29–28 of an operating step's masks.
enum class Arrow : std::uint8_t { None, Down, Up };
constexpr int kIndicatorPins[2] = {50, 51};
Arrow IndicatorArrow(std::uint32_t marked, std::uint32_t position, int indicator);

class GraphicHelp {
 public:
  struct Buttons {
    bool requirement = false, purpose = false, notes = false;  // sbYQ, sbMD, sbSM
    bool circuit = false, timing = false;                      // sbDL, sbBX
    bool opBack = false, opForward = false;                    // sbCB, sbCF
    bool wireBack = false, wireForward = false;                // sbBACK, sbFWD
    bool operator==(const Buttons&) const = default;
  };

  // After the selection dialog: `chosen` is the entry taken on OK, nothing on Cancel. Both
  // restart the current experiment's steps before their first step.
  void Select(ExperimentCatalogue& catalogue, std::optional<int> chosen);
  void WireForward();
  void WireBack();
  void OpForward();
  void OpBack();

  Buttons Enabled() const;
  int WireStepIndex() const { return wire_.index; }  // -1: none shown
  int OpStepIndex() const { return op_.index; }
  // The two pins of the wiring step shown, -1 for none. A number above 69 names no pin.
  int FirstPin() const { return pins_[0]; }
  int SecondPin() const { return pins_[1]; }
  std::uint32_t MarkedMask() const { return marked_; }
  std::uint32_t PositionMask() const { return position_; }
  // A blank, then the text of the step shown last (the catalogue's GB2312 bytes).
  const std::string& Status() const { return status_; }

  static bool PinExists(int pin) { return pin >= 0 && pin < kPinCount; }

 private:
  // One sequence of steps and its two buttons.
  struct StepCursor {
    int count = 0;
    int index = -1;
    bool back = false, forward = false;
    void Restart(int n);
    void Forward();
    void Back();
  };
  void ShowWire();
  void ShowOp();

  std::vector<WireStep> wires_;
  std::vector<OpStep> ops_;
  StepCursor wire_, op_;
  std::array<int, 2> pins_{-1, -1};
  std::uint32_t marked_ = 0;
  std::uint32_t position_ = 0;
  std::string status_ = " ";
  Buttons texts_;  // the text and picture buttons
};

}  // namespace edumac8
