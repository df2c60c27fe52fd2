// The mutex type of OuterLock and InnerLock. The run worker holds both across many
// micro-steps and lets go between two steps as soon as another thread asks for either lock,
// so a waiting thread still gets in right after the step in progress, while a run without
// waiters does not pay for two lock round trips per step.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace edumac8 {

class StepMutex {
 public:
  // For every thread but the worker.
  void lock() {
    waiting_.fetch_add(1, std::memory_order_acq_rel);
    mutex_.lock();
    waiting_.fetch_sub(1, std::memory_order_acq_rel);
  }
  void unlock() { mutex_.unlock(); }

  // For the worker: taken without announcing itself.
  void LockForWorker() { mutex_.lock(); }
  bool Contended() const { return waiting_.load(std::memory_order_relaxed) != 0; }
  // After letting go: wait until the waiters have the lock, so the worker cannot take it back
  // before them.
  void YieldToWaiters() const {
    while (Contended()) std::this_thread::yield();
  }

 private:
  std::mutex mutex_;
  std::atomic<int> waiting_{0};
};

}  // namespace edumac8
