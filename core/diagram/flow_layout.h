// The geometry of the structure diagram and the graphic help: the 23 blocks, the 59 bus
// segments and the lamps, in drawing-area pixels. The views scale the whole drawing by one
// factor, so nothing here is ever recomputed for a window size.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace edumac8 {

// The drawing areas: the structure diagram, and the graphic help between its button row and
// its status line.
constexpr int kFlowWidth = 550;
constexpr int kFlowHeight = 280;
constexpr int kHelpWidth = 550;
constexpr int kHelpHeight = 230;

// A rectangle of drawing pixels: it covers left … left + width − 1.
struct DrawRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }  // first pixel past the rectangle
  int bottom() const { return top + height; }
  bool operator==(const DrawRect&) const = default;
};

struct DrawPoint {
  int x = 0, y = 0;
  bool operator==(const DrawPoint&) const = default;
};

// Blocks by index; the index is also the block button's tag.
enum class BlockId : std::uint8_t {
  IA,
  ST,
  PC,
  MAR,
  L,
  D,
  R,
  R0,
  IN,
  OUT,
  EM,
  ALU,
  R1,
  uPC,
  R2,
  IR,
  A,
  W,
  R3,
  uM,
  DBUS,
  ABUS,
  IBUS,
};
constexpr int kBlockCount = 23;

// Register codes name blocks in the decoding; each equals the register's MachineState offset.
constexpr std::uint8_t kNoRegister = 0xFF;

struct BlockSpec {
  BlockId id;
  const char* name;
  DrawRect flow;         // structure diagram
  DrawPoint help;        // graphic help (same size)
  std::uint8_t code;     // register code, the MachineState byte shown; kNoRegister for the ALU
  const char* picture;   // schematic picture; empty for the bus blocks
  char sourceStub;       // data segment where the block drives the data bus, 0 for none
  char destinationStub;  // data segment where the block is loaded from it, 0 for none
};

const std::array<BlockSpec, kBlockCount>& Blocks();
inline const BlockSpec& BlockOf(BlockId id) { return Blocks()[static_cast<int>(id)]; }
inline int Index(BlockId id) { return static_cast<int>(id); }

// The block a register code names; none for codes without a block and for kNoRegister.
std::optional<BlockId> BlockOfRegister(std::uint8_t code);

// Blocks that carry a frame: every register block, but neither uM, the ALU nor a bus.
bool HasFrame(BlockId id);
// The three bus blocks, shown pressed.
bool IsBusBlock(BlockId id);

enum class SegmentKind : std::uint8_t { Data, Address, Instruction, Other };

struct BusSegment {
  char name;
  DrawPoint from, to;
  SegmentKind kind;
};
constexpr int kSegmentCount = 59;

const std::array<BusSegment, kSegmentCount>& Segments();
// Index of the segment with this name, or -1.
int SegmentIndex(char name);
// The pixels a segment covers: its end points ordered, widened to a bus 4 pixels wide.
DrawRect SegmentRect(const BusSegment& segment);
// The pixels of a block's frame: the band 1 and 2 pixels outside the block.
DrawRect FrameOuterRect(const DrawRect& block);

// The fixed paths: PC and MAR address paths, and the instruction path from EM to IR and uPC.
constexpr std::string_view kPcAddressPath = "nre";
constexpr std::string_view kMarAddressPath = "iue";
constexpr std::string_view kInstructionPath = "Zz";

// The six lamps, in the order RCy, RZ, IREQ, IACK, RT1, RT0: each is a 10 × 10 circle below
// its label's text.
enum class Lamp : std::uint8_t { RCy, RZ, IREQ, IACK, RT1, RT0 };
constexpr int kLampCount = 6;
constexpr int kLampSize = 10;
struct LampLabel {
  const char* names[2];
  DrawPoint place;  // the label's top left corner
};
const std::array<LampLabel, 3>& LampLabels();
DrawRect LampRect(Lamp lamp);

}  // namespace edumac8
