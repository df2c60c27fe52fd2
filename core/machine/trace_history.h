// TraceHistory: the last 256 trace records, oldest first. Stored as a ring so that appending
// to a full history costs one record copy, while readers see the sliding array: record 0 is
// the oldest kept, record Count()-1 the newest.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "machine/machine_state.h"

namespace edumac8 {

class TraceHistory {
 public:
  static constexpr int kCapacity = 256;

  TraceHistory() : ring_(std::make_unique<TraceRecord[]>(kCapacity)) {}

  int Count() const { return count_; }  // TraceCount
  void Clear() {
    start_ = 0;
    count_ = 0;
    appended_.store(0, std::memory_order_relaxed);
  }
  // Records appended since the last Clear, also those dropped since. Safe to read while the
  // run worker appends.
  std::uint64_t Appended() const { return appended_.load(std::memory_order_relaxed); }

  // AppendTrace: once full, the oldest record is dropped.
  void Append(const TraceRecord& record) {
    if (count_ == kCapacity) {
      start_ = (start_ + 1) % kCapacity;
      --count_;
    }
    ring_[(start_ + count_) % kCapacity] = record;
    ++count_;
    appended_.store(appended_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  }

  TraceRecord& operator[](int i) { return ring_[(start_ + i) % kCapacity]; }
  const TraceRecord& operator[](int i) const { return ring_[(start_ + i) % kCapacity]; }
  TraceRecord& Newest() { return (*this)[count_ - 1]; }
  const TraceRecord& Newest() const { return (*this)[count_ - 1]; }

 private:
  std::unique_ptr<TraceRecord[]> ring_;
  int start_ = 0;
  int count_ = 0;
  std::atomic<std::uint64_t> appended_{0};
};

}  // namespace edumac8
