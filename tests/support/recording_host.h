// A Host that records the hooks it receives and answers the reassembly question as told.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "machine/host.h"

namespace edumac8::test {

class RecordingHost : public Host {
 public:
  std::vector<std::string> calls;
  Answer answer = Answer::Yes;
  int asked = 0;
  int makes = 0;
  std::function<void()> onMake;

  void DecodeTransfer() override { calls.push_back("DecodeTransfer"); }
  void RefreshDiagram() override { calls.push_back("RefreshDiagram"); }
  void RefreshMicroViews() override { calls.push_back("RefreshMicroViews"); }
  void BuildLAChannels() override { calls.push_back("BuildLAChannels"); }
  void ResetLAView() override { calls.push_back("ResetLAView"); }
  void RepaintMemory() override { calls.push_back("RepaintMemory"); }
  void ShowDisassemblyAt(std::uint32_t a) override {
    calls.push_back("ShowDisassemblyAt " + std::to_string(a));
  }
  void ClearDisassemblyCache() override { calls.push_back("ClearDisassemblyCache"); }
  void UpdateButtons() override { calls.push_back("UpdateButtons"); }
  void OpenSource(const std::string& path, int line, int mark, int) override {
    calls.push_back("OpenSource " + path + ":" + std::to_string(line) + " mark " +
                    std::to_string(mark));
  }
  Answer AskReassemble() override {
    ++asked;
    return answer;
  }
  void Make() override {
    ++makes;
    if (onMake) onMake();
  }
  void RunLoopEnded() override {
    std::lock_guard lock(mutex_);
    ended_ = true;
    cv_.notify_all();
  }
  void WaitRunLoopEnded() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [&] { return ended_; });
    ended_ = false;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool ended_ = false;
};

// A program map standing in for the assembler.
class FakeProgramMap : public ProgramMap {
 public:
  bool ok = true;
  std::vector<std::pair<std::uint32_t, SourceLine>> lines;
  bool AssembledOK() const override { return ok; }
  std::optional<SourceLine> AddressToLine(std::uint32_t address) const override {
    for (const auto& [a, l] : lines)
      if (a == address) return l;
    return std::nullopt;
  }
};

}  // namespace edumac8::test
