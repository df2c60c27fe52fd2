// The stop rule on the shipped samples, with the real run worker: where a run stops, how often,
// and that the machine then stands where step commands would have brought it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "support/recording_host.h"
#include "workbench/workbench.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

// A sample copied to a temporary directory (the assembler writes beside it), with the
// breakpoints given as texts of its lines.
struct SampleRun {
  fs::path dir = fs::temp_directory_path() / ("breaks_" + std::to_string(getpid()));
  fs::path source;
  test::RecordingHost host;
  Workbench wb{host};

  explicit SampleRun(const std::string& sample) {
    fs::create_directories(dir);
    source = dir / sample;
    fs::copy_file(fs::path(EDUMAC8_SAMPLES_DIR) / sample, source,
                  fs::copy_options::overwrite_existing);
    Assemble();
  }
  ~SampleRun() { fs::remove_all(dir); }

  void Assemble() {
    wb.control.SourcePath = source.string();
    ASSERT_TRUE(wb.Make()) << wb.assembler.ErrorText();
  }
  std::vector<std::string> Lines() const {
    std::istringstream in(Gb2312ToUtf8(ReadWholeFile(source.string()).value()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The 1-based line that contains `text`.
  int LineOf(const std::string& text) const {
    const std::vector<std::string> lines = Lines();
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return static_cast<int>(i + 1);
    ADD_FAILURE() << "no line with " << text;
    return 0;
  }
  void BreakAtLines(const std::vector<std::string>& texts) {
    std::vector<int> lines;
    for (const std::string& t : texts) lines.push_back(LineOf(t));
    wb.control.SetBreakpointLines(lines);
  }
  // Waits for a run to stop by itself; pauses it after ten seconds (a missed breakpoint).
  void WaitForTheRun() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (wb.control.Running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    wb.control.Pause();
    host.WaitRunLoopEnded();
    wb.control.FinishRun();
  }
  void Run() {
    wb.control.Run();
    WaitForTheRun();
  }
};

struct Stop {
  std::uint8_t address;
  std::vector<std::pair<Field, std::uint8_t>> registers;
  bool interruptFirst = false;  // the interrupt command before this run
};

struct StopCase {
  const char* name;
  const char* sample;
  std::vector<std::string> breakpoints;  // texts of the marked lines
  std::vector<Stop> stops;               // one run each, in order
};

class StopRule : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopRule, RunsStopAfterFetchingAtABreakpoint) {
  const StopCase& c = GetParam();
  SampleRun s(c.sample);
  s.BreakAtLines(c.breakpoints);
  for (std::size_t i = 0; i < c.stops.size(); ++i) {
    const Stop& stop = c.stops[i];
    if (stop.interruptFirst) s.wb.control.Interrupt();
    s.Run();
    ASSERT_EQ(s.wb.control.StoppedAtBreakpoint(), stop.address) << "run " << i + 1;
    EXPECT_EQ(s.wb.machine.InstrAddr, stop.address);
    EXPECT_TRUE(s.wb.machine.InstrFetched);
    for (const auto& [field, value] : stop.registers)
      EXPECT_EQ(s.wb.machine.state[field], value) << "run " << i + 1 << " field " << int(field);
    // The epilogue points the editor at the breakpoint's line.
    const std::optional<SourceLine> line = s.wb.assembler.AddressToLine(stop.address);
    ASSERT_TRUE(line);
    EXPECT_EQ(s.host.calls.back(), "ShowDisassemblyAt " + std::to_string(stop.address));
    EXPECT_EQ(s.host.calls[s.host.calls.size() - 2],
              "OpenSource " + s.source.string() + ":" + std::to_string(line->line) + " mark 14");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, StopRule,
    ::testing::Values(
        StopCase{
            "AtZeroAfterReset", "loop.asm", {"MOV     R0, #TABLE"}, {{0x00, {{Field::PC, 1}}}}},
        // NEXT: the loop head at 06H; R1 counts the table bytes still to add.
        StopCase{"AtTheLoopHeadOncePerIteration",
                 "loop.asm",
                 {"NEXT:"},
                 {{0x06, {{Field::R1, 5}, {Field::R2, 0}}},
                  {0x06, {{Field::R1, 4}, {Field::R2, 1}}},
                  {0x06, {{Field::R1, 3}, {Field::R2, 3}}},
                  {0x06, {{Field::R1, 2}, {Field::R2, 6}}}}},
        StopCase{"TwoBreakpoints",
                 "call.asm",
                 {"DOUBLE: RL", "MOV     R3, A"},
                 {{0x0A, {{Field::A, 7}}}, {0x04, {{Field::A, 14}}}, {0x0A, {{Field::A, 14}}}}},
        // The main loop, then an interrupt: the routine's second instruction at E1H.
        StopCase{"InsideTheInterruptRoutine",
                 "interrupt.asm",
                 {"MAIN:", "ADD     A, #1"},
                 {{0x02, {}}, {0x02, {}}, {0xE1, {{Field::A, 0}, {Field::ST, 0x03}}, true}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StopRule, TheMachineStandsWhereStepCommandsBringIt) {
  SampleRun run("arith.asm");
  run.BreakAtLines({"RIGHT:"});
  run.Run();
  ASSERT_TRUE(run.wb.control.StoppedAtBreakpoint());
  const std::uint64_t ranSteps = run.wb.control.RunMicroSteps();

  SampleRun stepped("arith.asm");
  std::uint64_t steps = 0;
  while (stepped.wb.machine.InstrAddr != *run.wb.control.StoppedAtBreakpoint() && steps < 1000) {
    const int before = stepped.wb.machine.history.Count();
    stepped.wb.control.Step();
    steps += stepped.wb.machine.history.Count() - before;  // below 256 records in this sample
  }
  EXPECT_EQ(steps, ranSteps);
  EXPECT_EQ(stepped.wb.machine.CurrentRecord, run.wb.machine.CurrentRecord);
}

TEST(StopRule, ALineWithoutCodePlacesNothing) {
  SampleRun s("loop.asm");
  s.BreakAtLines({"; 把 TABLE 中的 5 个字节相加", "        ORG     30H"});
  EXPECT_TRUE(s.wb.control.Breakpoints().none());
  s.BreakAtLines({"TABLE:  DB"});
  EXPECT_TRUE(s.wb.control.Breakpoints()[0x30]) << "data has an address too";
}

TEST(StopRule, ABreakpointFollowsItsLineThroughAnAssembly) {
  SampleRun s("loop.asm");
  const int nextLine = s.LineOf("NEXT:");
  s.BreakAtLines({"NEXT:"});
  ASSERT_TRUE(s.wb.control.Breakpoints()[0x06]);
  // Two lines above the loop, one of them code: the marked line moves down by two and its
  // code by one byte.
  std::string text = Gb2312ToUtf8(ReadWholeFile(s.source.string()).value());
  text.replace(text.find("        MOV     R0, #TABLE"), 0, "; 先空转一条\r\n        NOP\r\n");
  WriteFileAtomic(s.source.string(), Utf8ToGb2312(text));
  s.Assemble();
  s.wb.control.SetBreakpointLines({nextLine + 2});
  EXPECT_EQ(s.wb.control.Breakpoints().count(), 1u);
  EXPECT_TRUE(s.wb.control.Breakpoints()[0x07]);
  s.Run();
  EXPECT_EQ(s.wb.control.StoppedAtBreakpoint(), 0x07);
}

TEST(StopRule, RunToALineStopsThereOnce) {
  SampleRun s("loop.asm");
  s.BreakAtLines({"DONE:"});
  // ORG holds no code: the run goes to the first instruction after it.
  s.wb.control.RunToLine(s.LineOf("        ORG     0"));
  s.WaitForTheRun();
  EXPECT_EQ(s.wb.control.StoppedAtBreakpoint(), 0x00);
  EXPECT_EQ(s.wb.control.RunMicroSteps(), 1u);
  s.wb.control.RunToLine(s.LineOf("NEXT:"));
  s.WaitForTheRun();
  EXPECT_EQ(s.wb.control.StoppedAtBreakpoint(), 0x06);
  s.Run();
  EXPECT_EQ(s.wb.control.StoppedAtBreakpoint(), 0x15) << "the one-shot breakpoint is gone";
  EXPECT_EQ(s.wb.machine.state[Field::R2], 0x0F);
}

TEST(StopRule, TraceAndStepIgnoreBreakpoints) {
  SampleRun s("loop.asm");
  s.BreakAtLines({"MOV     R1, #5"});
  for (int i = 0; i < 3; ++i) s.wb.control.Step();
  EXPECT_EQ(s.wb.machine.InstrAddr, 0x04u) << "stepped over the breakpoint at 02H";
}

}  // namespace
}  // namespace edumac8
