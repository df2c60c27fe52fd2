// What pass 1 remembers of every source line, for the listing pass to replay: a compact byte
// stream of at most 4096 bytes. Plain lines and instruction lines are bits, eight to a byte,
// in runs of up to 239 lines; other lines are markers.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace edumac8 {

namespace marker {
constexpr std::uint8_t Db = 241;         // + byte count
constexpr std::uint8_t Org = 243;        // + address, high byte then low byte
constexpr std::uint8_t FileStart = 244;  // + file number
constexpr std::uint8_t FileEnd = 245;
constexpr std::uint8_t End = 248;
}  // namespace marker

class LineRecords {
 public:
  static constexpr std::size_t kCapacity = 4096;
  static constexpr int kMaxRun = 239;

  void Clear();
  void Line(bool instruction);  // a plain line (false) or an instruction line (true)
  void Marker(std::uint8_t marker);
  void Marker(std::uint8_t marker, std::uint8_t a);
  void Marker(std::uint8_t marker, std::uint8_t a, std::uint8_t b);
  void Close() { CloseRun(); }

  struct Visitor {
    std::function<bool(bool instruction)> line;  // return false to stop replaying
    std::function<bool(std::uint8_t marker, const std::uint8_t* args)> marker;
  };
  void Replay(const Visitor& visitor) const;

 private:
  void CloseRun();
  void Put(std::initializer_list<std::uint8_t> bytes);

  std::vector<std::uint8_t> stream_;
  std::uint8_t runBits_[30] = {};
  int runLength_ = 0;
};

}  // namespace edumac8
