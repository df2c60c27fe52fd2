// The connection step and box-mode execution against the software box over a pseudo-terminal.
#include "link/box_link.h"

#include <gtest/gtest.h>

#include "link_test_support.h"

namespace edumac8 {
namespace {

constexpr const char* kMicroProgrammed = "已连接 EDUMAC8 实验仪(微程序控制器实验)";

// Exercises the ALU, both conditional jumps taken and not taken, memory writes and a loop.
ProgramMemory TestProgram() {
  ProgramMemory em{};
  const std::uint8_t code[] = {
      0x7C, 0x05,  // 00 MOV A,#05
      0x8C, 0x03,  // 02 MOV R0,#03
      0x10,        // 04 ADD A,R0
      0x3C, 0x08,  // 05 SUB A,#08      A = 0, Z
      0xA4, 0x0B,  // 07 JZ 0B          taken
      0xAC, 0x00,  // 09 JMP 00
      0x88, 0xF0,  // 0B MOV F0,A
      0x1C, 0xFF,  // 0D ADD A,#FF      no carry
      0xA0, 0x00,  // 0F JC 00          not taken
      0x1C, 0x01,  // 11 ADD A,#01      carry
      0xA0, 0x17,  // 13 JC 17          taken
      0xAC, 0x15,  // 15 JMP 15
      0x7C, 0x42,  // 17 MOV A,#42
      0x88, 0xF1,  // 19 MOV F1,A
      0xAC, 0x00,  // 1B JMP 00
  };
  std::copy(std::begin(code), std::end(code), em.begin());
  em[0xF0] = em[0xF1] = 0x5A;
  return em;
}

void LoadProgram(Workbench& wb, const ProgramMemory& em) {
  wb.machine.EM = em;
  wb.machine.SnapshotTo(wb.machine.CurrentRecord);
  wb.machine.ResetMachine();
}

std::vector<int> Repeat(int code, int times) { return std::vector<int>(times, code); }

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts) {
  std::vector<int> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(BoxLink, WithoutBoxStaysInSimulationAndRunsStillRun) {
  LinkRig rig;
  rig.link.Tick();
  rig.link.Tick();
  EXPECT_EQ(rig.statuses, (std::vector<std::string>{kNotConnectedText, kNotConnectedText}));
  EXPECT_TRUE(rig.Simulation());
  EXPECT_FALSE(rig.link.LinkUp());
  EXPECT_FALSE(rig.link.BoxReady());
  // The link's failure mark stays set between attempts; it must not stop a simulated run.
  EXPECT_FALSE(rig.link.LinkFailed());
  rig.wb.control.Run();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  rig.wb.control.Pause();
  ASSERT_TRUE(rig.host.WaitRunEnded(std::chrono::seconds(5)));
  rig.wb.control.FinishRun();
  // A run does at least the step in progress when paused; stopped by the link it does none.
  EXPECT_GT(rig.wb.machine.history.Count(), 1);
}

TEST(BoxLink, WholeMachineBoxExecutesLikeTheOwnEngine) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kMicroProgrammed);
  EXPECT_EQ(rig.statuses.size(), 1u);
  EXPECT_FALSE(rig.Simulation());
  EXPECT_EQ(rig.link.PortName(), "COM3");
  // A current box: the firmware check costs FW_READ and INFO, then the attempt and the tick
  // read the information once each.
  EXPECT_EQ(box->Commands(), (std::vector<int>{CMD_FW_READ, CMD_INFO, CMD_INFO, CMD_INFO}));

  const ProgramMemory program = TestProgram();
  LoadProgram(rig.wb, program);
  rig.link.BoxDownload(rig.wb.machine.uM, rig.wb.machine.EM);
  EXPECT_EQ(box->Commands(4),
            Concat({Repeat(CMD_WRITE_UM, 8), Repeat(CMD_WRITE_EM, 8), {CMD_RESET}}));

  Machine engine;
  engine.uM = rig.wb.machine.uM;
  engine.EM = program;
  engine.ResetMachine();
  for (int step = 1; step <= 150; ++step) {
    const std::uint32_t executed = engine.uM[engine.CurrentRecord.state[Field::uPC]];
    rig.wb.control.DoMicroStep();
    engine.MicroStep();
    const MachineState& box = rig.wb.machine.state;
    const MachineState& own = engine.state;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 18, 19, 20, 23, 26})
      ASSERT_EQ(box.bytes[i], own.bytes[i]) << "step " << step << " byte " << i;
    ASSERT_EQ(WordOf(box), executed & kWordMask) << "step " << step;
    // PC loaded and counted up, as the box reports them through BoxStatus and the word.
    ASSERT_EQ(box[Field::STATUS] & (status::ELPC | status::PCInc),
              own[Field::STATUS] & (status::ELPC | status::PCInc))
        << "step " << step;
    ASSERT_EQ(rig.wb.machine.InstrFetched, engine.InstrFetched) << "step " << step;
  }
  EXPECT_EQ(rig.wb.machine.history.Count(), 151);
  rig.link.BoxReadEM(rig.wb.machine.EM);
  EXPECT_EQ(rig.wb.machine.EM, engine.EM);
  EXPECT_EQ(rig.wb.machine.EM[0xF1], 0x42);
  EXPECT_FALSE(rig.link.LinkFailedFlag());
}

TEST(BoxLink, InstructionStepsOnTheBoxStopWhereTheEngineStops) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  rig.link.Tick();
  ASSERT_FALSE(rig.Simulation());
  TestHost host;
  Workbench own(host);
  for (Workbench* wb : {&rig.wb, &own}) LoadProgram(*wb, TestProgram());
  rig.link.BoxDownload(rig.wb.machine.uM, rig.wb.machine.EM);
  for (int i = 1; i <= 20; ++i) {
    rig.wb.control.Step();
    own.control.Step();
    ASSERT_EQ(rig.wb.machine.history.Count(), own.machine.history.Count()) << "instruction " << i;
    ASSERT_EQ(rig.wb.machine.state[Field::PC], own.machine.state[Field::PC]) << "instruction " << i;
  }
}

TEST(BoxLink, InterruptPulseEntersTheBoxInterrupt) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  rig.link.Tick();
  LoadProgram(rig.wb, TestProgram());
  rig.link.BoxDownload(rig.wb.machine.uM, rig.wb.machine.EM);
  const std::size_t before = box->Log().size();
  rig.wb.control.Interrupt();
  const std::vector<std::string> log = box->Log();
  ASSERT_EQ(log.size(), before + 2);
  EXPECT_EQ(log[before], "38 01 00000000");
  EXPECT_EQ(log[before + 1], "38 01 01000000");
  rig.wb.control.DoMicroStep();  // the first fetch enters the interrupt routine
  const MachineState& s = rig.wb.machine.state;
  EXPECT_EQ(s[Field::uPC], 0xB8);
  EXPECT_TRUE(s[Field::STATUS] & status::IACK);
  EXPECT_EQ(s[Field::IBUS], 0xB8);
  EXPECT_FALSE(s[Field::STATUS] & status::ICOE);
  EXPECT_FALSE(s[Field::STATUS] & status::ELPC);
  rig.wb.control.DoMicroStep();
  EXPECT_TRUE(rig.wb.machine.state[Field::STATUS] & status::ICOE);
}

TEST(BoxLink, RunOnTheBoxTakesTheInterruptAndReadsMemoryBack) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  rig.link.Tick();
  LoadProgram(rig.wb, TestProgram());
  rig.link.BoxDownload(rig.wb.machine.uM, rig.wb.machine.EM);
  rig.wb.control.Run();
  rig.link.Tick();  // no heartbeat while the worker uses the port
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well past MOV F1,A
  rig.wb.control.Interrupt();  // owed to the worker, which pulses after its next state read
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  rig.wb.control.Pause();
  ASSERT_TRUE(rig.host.WaitRunEnded(std::chrono::seconds(5)));
  rig.wb.control.FinishRun();
  EXPECT_FALSE(rig.link.IntRequest);
  const std::vector<int> commands = box->Commands(4 + 17);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), CMD_INFO), 0);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), CMD_INT_LINE), 2);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), CMD_READ_EM), 8);
  EXPECT_TRUE(rig.wb.machine.state[Field::STATUS] & status::IACK);  // the program never returns
  EXPECT_EQ(rig.wb.machine.EM[0xF1], 0x42);  // written by the box, read back after the run
  EXPECT_EQ(rig.wb.machine.history.Newest().EM[0xF1], 0x42);
}

TEST(BoxLink, TextsOfBoxesThatDoNotExecute) {
  const struct {
    std::vector<std::string> options;
    const char* text;
    bool simulation;
  } cases[] = {
      {{"--config", "2"}, "已连接 EDUMAC8 实验仪, 分部实验: J1 <> J3", true},
      {{"--config", "2", "--fpga-mode", "1"}, "FPGA 实验", true},
      {{"--controller", "1"}, "已连接 EDUMAC8 实验仪(组合逻辑控制器实验)", false},
  };
  for (const auto& c : cases) {
    LinkRig rig;
    auto box = rig.StartBox(c.options);
    ASSERT_TRUE(box);
    rig.link.Tick();
    EXPECT_EQ(rig.link.StatusText(), c.text);
    EXPECT_EQ(rig.Simulation(), c.simulation) << c.text;
    if (!c.simulation) continue;
    // The box is connected and ready, but the own engine executes and nothing is sent.
    EXPECT_TRUE(rig.link.BoxReady());
    const std::size_t before = box->Log().size();
    rig.link.BoxDownload(rig.wb.machine.uM, rig.wb.machine.EM);
    rig.wb.control.DoMicroStep();
    rig.wb.control.Reset();
    EXPECT_EQ(box->Log().size(), before);
    EXPECT_EQ(rig.wb.machine.history.Count(), 1);
  }
}

TEST(BoxLink, HeartbeatNoticesAnUnpluggedBoxAndTheNextBoxConnectsAtOnce) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  rig.link.Tick();
  ASSERT_EQ(rig.link.StatusText(), kMicroProgrammed);
  rig.link.Tick();  // heartbeat only: no new status
  EXPECT_EQ(rig.statuses.size(), 1u);
  rig.wb.control.Stepped = true;
  box->Unplug();
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_TRUE(rig.Simulation());
  EXPECT_FALSE(rig.link.LinkUp());
  EXPECT_FALSE(rig.wb.control.Stepped);
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  auto again = rig.StartBox({"--echo-bits", "0xC0"});  // replies with bits 6-7 set are fine
  ASSERT_TRUE(again);
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kMicroProgrammed);
  EXPECT_FALSE(rig.Simulation());
}

TEST(BoxLink, BackgroundAttemptLeavesTheTickAtOnce) {
  LinkRig rig(true);
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  std::atomic<int> finished{0};
  rig.link.onAttemptFinished = [&] { ++finished; };
  rig.link.Tick();
  EXPECT_TRUE(rig.link.AttemptInProgress());
  EXPECT_TRUE(rig.Simulation());  // nothing changes on the caller's side before the outcome
  EXPECT_TRUE(rig.statuses.empty());
  rig.link.WaitForAttempt();
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(rig.link.AttemptInProgress());
  EXPECT_EQ(rig.statuses, (std::vector<std::string>{kMicroProgrammed}));
  EXPECT_FALSE(rig.Simulation());
  rig.link.Tick();  // heartbeat, on the caller's thread
  EXPECT_EQ(box->Commands().back(), CMD_INFO);
}

}  // namespace
}  // namespace edumac8
