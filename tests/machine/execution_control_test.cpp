#include "machine/execution_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/machine_fixture.h"
#include "support/recording_host.h"

namespace edumac8 {
namespace {

using test::DefaultMachine;
using test::FakeProgramMap;
using test::RecordingHost;

struct ControlFixture : ::testing::Test {
  DefaultMachine d;
  RecordingHost host;
  BoxOperations box;
  FakeProgramMap program;
  ExecutionControl control{d.m, host, box, program};
  int Steps() const { return d.m.history.Count() - 1; }
};

TEST_F(ControlFixture, StepExecutesOneInstruction) {
  d.Load({0x10, 0xE0});  // ADD A,R0; NOP
  control.Step();
  EXPECT_EQ(Steps(), 1) << "the fetch word at micro-address 0 ends the first step";
  control.Step();
  EXPECT_EQ(Steps(), 4) << "ADD A,R? is RRD->W, add, fetch";
  EXPECT_TRUE(control.Stepped);
}

TEST_F(ControlFixture, StepStopsAfterFourMicroStepsWithoutAFetch) {
  d.m.uM.fill(kEmptyCell);
  d.m.ResetMachine();
  control.Step();
  EXPECT_EQ(Steps(), 4);
  EXPECT_FALSE(d.m.InstrFetched);
}

TEST_F(ControlFixture, HistoryKeepsTheLast256Records) {
  d.Load({0x7C, 0x01, 0x1C, 0x01, 0xAC, 0x02});  // MOV A,#1; loop: ADD A,#1; JMP loop
  std::vector<MachineState> after;  // after[k] = state after micro-step k
  after.push_back(d.m.state);
  for (int k = 1; k <= 300; ++k) {
    control.DoMicroStep();
    after.push_back(d.m.state);
  }
  ASSERT_EQ(d.m.history.Count(), 256);
  EXPECT_EQ(d.m.history[0].state, after[45]);
  EXPECT_EQ(d.m.history[255].state, after[300]);
}

TEST_F(ControlFixture, GotoPcPointsTheViewsAtTheSourceLine) {
  control.SourcePath = "/tmp/P.ASM";
  program.lines = {{0x04, SourceLine{1, 7}}};
  control.GotoPC(0x04, kProgramCounterMark);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"UpdateButtons", "ShowDisassemblyAt 4",
                                                  "OpenSource /tmp/P.ASM:7 mark 14",
                                                  "ShowDisassemblyAt 4"}));
}

TEST_F(ControlFixture, GotoPcWithoutALineShowsTheAddressTwiceUnlessZero) {
  control.GotoPC(0x09, kProgramCounterMark);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"UpdateButtons", "ShowDisassemblyAt 9",
                                                  "ShowDisassemblyAt 9"}));
  host.calls.clear();
  control.GotoPC(0, kProgramCounterMark);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"UpdateButtons", "ShowDisassemblyAt 0"}));
}

TEST_F(ControlFixture, TraceRefreshesTheViewsInOrder) {
  control.Trace();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"DecodeTransfer", "RepaintMemory",
                                                  "RefreshMicroViews", "BuildLAChannels",
                                                  "RefreshDiagram", "UpdateButtons",
                                                  "ShowDisassemblyAt 0"}));
  EXPECT_TRUE(control.AnimationEnabled);
}

TEST_F(ControlFixture, CheckDebugWithoutSourceNeitherAsksNorAssembles) {
  program.ok = false;
  control.SourceModified = true;
  control.Stepped = true;
  EXPECT_TRUE(control.CheckDebug());
  EXPECT_EQ(host.asked, 0);
  EXPECT_EQ(host.makes, 0);
}

TEST_F(ControlFixture, CheckDebugAssemblesAnEditWithoutAskingWhenNotStepped) {
  control.SourcePath = "/tmp/P.ASM";
  control.SourceModified = true;
  host.onMake = [&] { control.SourceModified = false; };
  EXPECT_TRUE(control.CheckDebug());
  EXPECT_EQ(host.asked, 0);
  EXPECT_EQ(host.makes, 1);
}

TEST_F(ControlFixture, CheckDebugAnswers) {
  struct Case {
    Answer answer;
    int makes;
    bool allowed;
    bool stillModified;
  };
  for (const Case& c : {Case{Answer::Yes, 1, true, false}, Case{Answer::No, 0, true, false},
                        Case{Answer::Cancel, 0, false, true}}) {
    RecordingHost h;
    h.answer = c.answer;
    ExecutionControl ec(d.m, h, box, program);
    ec.SourcePath = "/tmp/P.ASM";
    ec.SourceModified = true;
    ec.Stepped = true;
    h.onMake = [&] { ec.SourceModified = false; };
    EXPECT_EQ(ec.CheckDebug(), c.allowed);
    EXPECT_EQ(h.asked, 1);
    EXPECT_EQ(h.makes, c.makes);
    EXPECT_EQ(ec.SourceModified, c.stillModified);
  }
}

TEST_F(ControlFixture, NeverAssembledSourceAssemblesWithoutAsking) {
  program.ok = false;
  control.SourcePath = "/tmp/P.ASM";
  control.Stepped = true;
  control.SourceModified = true;
  EXPECT_FALSE(control.CheckDebug()) << "the fake assembly still fails";
  EXPECT_EQ(host.asked, 0);
  EXPECT_EQ(host.makes, 1);
}

TEST_F(ControlFixture, InterruptWhileStoppedReachesRecordAndNextStep) {
  d.Load({0xE0, 0xE0});
  control.Interrupt();
  EXPECT_TRUE(d.m.history.Newest().state[Field::STATUS] & status::IREQ);
  EXPECT_TRUE(d.m.CurrentRecord.state[Field::STATUS] & status::IREQ);
  control.DoMicroStep();
  EXPECT_EQ(d[Field::uPC], 0xB8);
}

TEST_F(ControlFixture, ResetStartsTheHistoryAgain) {
  for (int i = 0; i < 300; ++i) control.DoMicroStep();
  EXPECT_EQ(d.m.MicroStepsSinceReset(), 300u) << "also the steps the history has dropped";
  control.Reset();
  EXPECT_EQ(d.m.history.Count(), 1);
  EXPECT_EQ(d.m.MicroStepsSinceReset(), 0u);
  EXPECT_EQ(d.m.InstrAddr, 0u);
  EXPECT_EQ(host.calls.front(), "ClearDisassemblyCache");
  // The memory page shows EM after a reset without waiting for a step.
  EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "RepaintMemory"), host.calls.end());
}

// Every record of the history must be one engine step from the record before it.
void ExpectConsistentHistory(const Machine& m) {
  Machine replay;
  replay.uM = m.uM;
  for (int i = 1; i < m.history.Count(); ++i) {
    replay.CurrentRecord = m.history[i - 1];
    replay.MicroStep();
    ASSERT_EQ(replay.CurrentRecord, m.history[i]) << "record " << i;
  }
}

// Waits, for at most ten seconds, until `done` holds of the machine, looking only between two
// steps of the worker (with both locks held), as the windows do.
template <class Condition>
bool WaitBetweenSteps(ExecutionControl& control, Condition done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard outer(control.OuterLock);
      std::lock_guard inner(control.InnerLock);
      if (done()) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

TEST_F(ControlFixture, PauseEndsARunWithEveryStepRecorded) {
  d.Load({0x7C, 0x01, 0x1C, 0x01, 0xAC, 0x02});
  control.Run();
  EXPECT_TRUE(control.Running());
  ASSERT_TRUE(WaitBetweenSteps(control, [&] { return d.m.history.Count() == 256; }));
  ASSERT_TRUE(WaitBetweenSteps(control, [&] { return d[Field::A] > 0x80; })) << "still running";
  control.Pause();
  host.WaitRunLoopEnded();
  EXPECT_FALSE(control.Running());
  control.FinishRun();
  EXPECT_EQ(d.m.CurrentRecord, d.m.history.Newest()) << "the step in progress was recorded";
  ExpectConsistentHistory(d.m);
  EXPECT_EQ(host.calls.back(), "ShowDisassemblyAt " + std::to_string(d.m.InstrAddr));
}

TEST_F(ControlFixture, RunEpilogueRefreshesTheViewsInOrder) {
  d.Load({0xAC, 0x00});  // JMP 00 forever
  control.Run();
  ASSERT_TRUE(WaitBetweenSteps(control, [&] { return d.m.history.Count() > 10; }));
  control.Pause();
  host.WaitRunLoopEnded();
  host.calls.clear();
  control.FinishRun();
  ASSERT_GE(host.calls.size(), 8u);
  // The diagram follows the analyser; the buttons, then GotoPC as after every step.
  EXPECT_EQ(std::vector<std::string>(host.calls.begin(), host.calls.begin() + 8),
            (std::vector<std::string>{"RepaintMemory", "RefreshMicroViews", "BuildLAChannels",
                                      "DecodeTransfer", "RefreshDiagram", "UpdateButtons",
                                      "UpdateButtons",
                                      "ShowDisassemblyAt " + std::to_string(d.m.InstrAddr)}));
}

TEST_F(ControlFixture, InterruptDuringARunIsNotLost) {
  d.Load({0xAC, 0x00});  // JMP 00 forever; the routine at E0 is NOP NOP ...
  control.Run();
  ASSERT_TRUE(WaitBetweenSteps(control, [&] { return d.m.history.Count() > 100; }));
  control.Interrupt();
  ASSERT_TRUE(WaitBetweenSteps(control, [&] {
    return d.m.CurrentRecord.state[Field::STATUS] & status::IACK;
  })) << "the request was lost";
  control.Pause();
  host.WaitRunLoopEnded();
  control.FinishRun();
  EXPECT_TRUE(d[Field::STATUS] & status::IACK) << "the request was taken";
  EXPECT_EQ(d[Field::ST] & 0xFE, 0x00) << "the interrupted loop's address was saved";
}

// A box that reports a fixed state reply.
class ScriptedBox : public BoxOperations {
 public:
  MachineState reply;
  int pulses = 0;
  void BoxReadState(MachineState& s) override {
    std::copy(reply.bytes.begin(), reply.bytes.begin() + 32, s.bytes.begin());
  }
  void BoxIntPulse() override { ++pulses; }
};

TEST(BoxMode, DerivedFieldsOfTheStateReply) {
  Machine m;
  RecordingHost host;
  ScriptedBox box;
  FakeProgramMap program;
  ExecutionControl control(m, host, box, program);
  control.Simulation = false;
  box.reply[Field::PC] = 0x10;
  box.reply[Field::MAR] = 0x20;
  const std::uint32_t w = test::Word({Signal::PCOE, Signal::MAROE});
  box.reply[Field::MH] = w >> 16;
  box.reply[Field::MM] = w >> 8 & 0xFF;
  box.reply[Field::ML] = w & 0xFF;
  box.reply[Field::STATUS] = status::IACK;
  box.reply[Field::BoxStatus] = 0x01;
  box.IntRequest = true;
  control.DoMicroStep();
  EXPECT_EQ(m.state[Field::ABUS], 0x20) << "MAR wins when both drive the address bus";
  EXPECT_EQ(m.state[Field::IBUS], 0xB8) << "the first step with IACK is the entry";
  EXPECT_EQ(m.state[Field::STATUS] & (status::ICOE | status::PCInc | status::ELPC),
            status::PCInc);
  EXPECT_TRUE(m.InstrFetched);
  EXPECT_EQ(m.InstrAddr, 0x10u);
  EXPECT_EQ(box.pulses, 1);
  EXPECT_FALSE(box.IntRequest);
  EXPECT_EQ(m.history.Newest().state, m.state);
  control.DoMicroStep();
  EXPECT_NE(m.state[Field::STATUS] & status::ICOE, 0) << "IACK still set is no new entry";
}

}  // namespace
}  // namespace edumac8
