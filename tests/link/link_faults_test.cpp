// Faults of the box during a run: the run ends at the failed exchange, the next tick returns
// to simulation, and what the workbench holds is left as the last good exchange left it.
#include <gtest/gtest.h>

#include "link_test_support.h"

namespace edumac8 {
namespace {

// Connection: 4 exchanges; download: 17; then each micro-step is CMD_STEP (even exchange
// numbers) and CMD_READ_STATE (odd ones).
const struct {
  const char* option;
  const char* exchange;
} kFaults[] = {
    {"--stop-after", "40"},       {"--bad-checksum-at", "41"}, {"--short-payload-at", "41"},
    {"--short-payload-at", "40"}, {"--wrong-echo-at", "40"},   {"--slow-at", "41"},
};

TEST(LinkFaults, EachFaultEndsTheRunAndKeepsTheWorkbenchIntact) {
  for (const auto& fault : kFaults) {
    SCOPED_TRACE(std::string(fault.option) + " " + fault.exchange);
    LinkRig rig;
    auto box = rig.StartBox({fault.option, fault.exchange});
    ASSERT_TRUE(box);
    rig.link.Tick();
    ASSERT_FALSE(rig.Simulation());
    Machine& m = rig.wb.machine;
    m.EM[0] = 0x7C;  // MOV A,#n; ADD A,#1 ... counts up in A
    m.EM[1] = 0x01;
    for (int a = 2; a < 200; a += 2) m.EM[a] = 0x1C, m.EM[a + 1] = 0x01;
    m.SnapshotTo(m.CurrentRecord);
    m.ResetMachine();
    rig.link.BoxDownload(m.uM, m.EM);
    const ProgramMemory em = m.EM;
    const MicroProgram um = m.uM;

    rig.wb.control.Run();
    ASSERT_TRUE(rig.host.WaitRunEnded(std::chrono::seconds(10)));
    rig.wb.control.FinishRun();
    EXPECT_TRUE(rig.link.LinkFailedFlag());
    EXPECT_EQ(m.EM, em);
    EXPECT_EQ(m.uM, um);

    // Every recorded step before the failed one is the engine's; the failed step recorded the
    // state as it was.
    Machine engine;
    engine.uM = um;
    engine.EM = em;
    engine.ResetMachine();
    const int count = m.history.Count();
    EXPECT_EQ(count, 1 + 10);
    for (int i = 1; i < count - 1; ++i) {
      engine.MicroStep();
      for (int b = 0; b <= 14; ++b)
        ASSERT_EQ(m.history[i].state.bytes[b], engine.state.bytes[b]) << "record " << i;
    }
    for (int b = 0; b <= 14; ++b)
      EXPECT_EQ(m.history[count - 1].state.bytes[b], m.history[count - 2].state.bytes[b]);

    rig.link.Tick();
    EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
    EXPECT_TRUE(rig.Simulation());
    EXPECT_FALSE(rig.wb.control.Running());
  }
}

TEST(LinkFaults, FailedHeartbeatEndsARunInProgress) {
  LinkRig rig;
  auto box = rig.StartBox({"--config", "2"});  // connected, but the own engine executes
  ASSERT_TRUE(box);
  rig.link.Tick();
  ASSERT_TRUE(rig.Simulation());
  rig.wb.control.Run();
  rig.link.Tick();  // skipped during the run: the box sees no heartbeat
  const std::size_t exchanges = box->Log().size();
  EXPECT_EQ(exchanges, 4u);
  rig.wb.control.Pause();
  ASSERT_TRUE(rig.host.WaitRunEnded(std::chrono::seconds(5)));
  rig.wb.control.FinishRun();
  box->Unplug();
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
}

}  // namespace
}  // namespace edumac8
