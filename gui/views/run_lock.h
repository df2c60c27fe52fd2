// While a run is in progress the worker owns the machine between its micro-steps; a user
// action on the machine then takes OuterLock and InnerLock (in that order) so that it waits for
// the step in progress and the worker waits for it. Without a run nothing else touches the
// machine and no lock is taken.
#pragma once

#include <mutex>

#include "machine/execution_control.h"

namespace edumac8 {

class RunLock {
 public:
  explicit RunLock(ExecutionControl& control) {
    if (!control.Running()) return;
    outer_ = std::unique_lock(control.OuterLock);
    inner_ = std::unique_lock(control.InnerLock);
  }
  ~RunLock() {
    if (inner_.owns_lock()) inner_.unlock();  // InnerLock first, then OuterLock
  }
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

 private:
  std::unique_lock<decltype(ExecutionControl::OuterLock)> outer_;
  std::unique_lock<decltype(ExecutionControl::InnerLock)> inner_;
};

}  // namespace edumac8
