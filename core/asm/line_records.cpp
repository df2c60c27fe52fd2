#include "asm/line_records.h"

#include "asm/assemble_error.h"

namespace edumac8 {

void LineRecords::Clear() {
  stream_.clear();
  stream_.reserve(kCapacity);
  runLength_ = 0;
}

void LineRecords::Put(std::initializer_list<std::uint8_t> bytes) {
  if (stream_.size() + bytes.size() > kCapacity) throw EAssembleException(348);
  stream_.insert(stream_.end(), bytes);
}

void LineRecords::CloseRun() {
  if (runLength_ == 0) return;
  const int bytes = (runLength_ + 7) / 8;
  if (stream_.size() + 1 + bytes > kCapacity) throw EAssembleException(348);
  stream_.push_back(static_cast<std::uint8_t>(runLength_));
  stream_.insert(stream_.end(), runBits_, runBits_ + bytes);
  runLength_ = 0;
}

void LineRecords::Line(bool instruction) {
  if (runLength_ % 8 == 0) runBits_[runLength_ / 8] = 0;
  if (instruction) runBits_[runLength_ / 8] |= static_cast<std::uint8_t>(1 << (runLength_ % 8));
  if (++runLength_ == kMaxRun) CloseRun();
}

void LineRecords::Marker(std::uint8_t m) { CloseRun(); Put({m}); }
void LineRecords::Marker(std::uint8_t m, std::uint8_t a) { CloseRun(); Put({m, a}); }
void LineRecords::Marker(std::uint8_t m, std::uint8_t a, std::uint8_t b) {
  CloseRun();
  Put({m, a, b});
}

void LineRecords::Replay(const Visitor& visitor) const {
  std::size_t i = 0;
  while (i < stream_.size()) {
    const std::uint8_t b = stream_[i++];
    if (b <= kMaxRun) {
      for (int n = 0; n < b; ++n)
        if (!visitor.line((stream_[i + n / 8] >> (n % 8)) & 1)) return;
      i += (b + 7) / 8;
      continue;
    }
    const std::size_t args = b == marker::Org ? 2 : (b == marker::Db || b == marker::FileStart) ? 1 : 0;
    if (!visitor.marker(b, stream_.data() + i)) return;
    i += args;
  }
}

}  // namespace edumac8
