// The generated VHDL is real VHDL and computes what the own engine computes: both designs are
// analysed and simulated in GHDL side by side with a memory model of our own, and their
// registers are compared clock by clock with the engine's micro-steps for the same program.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "machine/micro_word.h"
#include "platform/file_io.h"
#include "vhdl/vhdl_generator.h"
#include "workbench/workbench.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

// Long enough for two passes of the main loop, the call and the interrupt handler.
constexpr int kClocks = 400;
constexpr int kIrqAfter = 150;

// The program of COSIM.ASM, written out by hand so the co-simulation does not rest on the
// assembler alone.
constexpr std::uint8_t kProgram[] = {
    0x7C, 0x05,  // 00 START: MOV A,#05H
    0x8D, 0x03,  // 02 MOV R1,#03H
    0x82,        // 04 MOV R2,A
    0x8F, 0xC0,  // 05 MOV R3,#0C0H
    0x87,        // 07 MOV @R3,A
    0x11,        // 08 ADD A,R1
    0x17,        // 09 ADD A,@R3
    0x18, 0xC0,  // 0A ADD A,0C0H
    0x1C, 0xF0,  // 0C ADD A,#0F0H
    0x22,        // 0E ADDC A,R2
    0x27,        // 0F ADDC A,@R3
    0x28, 0xC0,  // 10 ADDC A,0C0H
    0x31,        // 12 SUB A,R1
    0x4C, 0x20,  // 13 SUBC A,#20H
    0x52,        // 15 AND A,R2
    0x6C, 0x80,  // 16 OR A,#80H
    0x88, 0xC1,  // 18 MOV 0C1H,A
    0xE4,        // 1A CPL A
    0xD4,        // 1B RL A
    0xDC,        // 1C RLC A
    0xD0,        // 1D RR A
    0xD8,        // 1E RRC A
    0xBC, 0x58,  // 1F CALL SUB1
    0x8C, 0x04,  // 21 MOV R0,#04H
    0x70,        // 23 LOOP: MOV A,R0
    0xC4,        // 24 OUT
    0x3C, 0x01,  // 25 SUB A,#01H
    0x80,        // 27 MOV R0,A
    0xA4, 0x2C,  // 28 JZ DONE
    0xAC, 0x23,  // 2A JMP LOOP
    0xC0,        // 2C DONE: IN
    0x1C, 0xFF,  // 2D ADD A,#0FFH
    0xA0, 0x00,  // 2F JC START
    0x1C, 0x01,  // 31 ADD A,#01H
    0xA0, 0x36,  // 33 JC AGAIN
    0xE0,        // 35 NOP
    0xDC,        // 36 AGAIN: RLC A
    0x78, 0xC1,  // 37 MOV A,0C1H
    0x2C, 0x10,  // 39 ADDC A,#10H
    0x43,        // 3B SUBC A,R3
    0x47,        // 3C SUBC A,@R3
    0x48, 0xC1,  // 3D SUBC A,0C1H
    0x5C, 0x0F,  // 3F AND A,#0FH
    0x57,        // 41 AND A,@R3
    0x58, 0xC1,  // 42 AND A,0C1H
    0x61,        // 44 OR A,R1
    0x67,        // 45 OR A,@R3
    0x68, 0xC0,  // 46 OR A,0C0H
    0x77,        // 48 MOV A,@R3
    0x37,        // 49 SUB A,@R3
    0x38, 0xC1,  // 4A SUB A,0C1H
    0x87,        // 4C MOV @R3,A
    0x94, 0xC2,  // 4D WRITE 0C2H,A
    0xAC, 0x00,  // 4F JMP START
};
constexpr std::uint8_t kSubroutine[] = {
    0x7C, 0x33,  // 58 SUB1: MOV A,#33H
    0xCC,        // 5A RET
};
constexpr std::uint8_t kInterruptHandler[] = {
    0xE4,  // E0 INTR: CPL A
    0xC4,  // E1 OUT
    0xE4,  // E2 CPL A
    0xEC,  // E3 RETI
};

std::optional<std::string> FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::string Hex(unsigned value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

// The ports a design shows late in clock k, by the names the test bench writes: the
// registers after step k and, when the engine has gone on, the shifter port of step k + 1.
using Observation = std::vector<std::pair<std::string, std::string>>;

Observation EngineObservation(const MachineState& s, const MachineState* next,
                              const StepCounts& steps, char design) {
  Observation o = {
      {"A", Hex(s[Field::A], 2)},
      {"W", Hex(s[Field::W], 2)},
      {"R0", Hex(s[Field::R0], 2)},
      {"R1", Hex(s[Field::R1], 2)},
      {"R2", Hex(s[Field::R2], 2)},
      {"R3", Hex(s[Field::R3], 2)},
      {"PC", Hex(s[Field::PC], 2)},
      {"IR", Hex(s[Field::IR], 2)},
      {"OUT", Hex(s[Field::OUT], 2)},
      {"MAR", Hex(s[Field::MAR], 2)},
      {"ST", Hex(s[Field::ST], 2)},
      {"RCY", (s[Field::F] & flag::RCy) ? "1" : "0"},
      {"RZ", (s[Field::F] & flag::RZ) ? "1" : "0"},
      {"UM", Hex(WordOf(s), 6)},
  };
  // The micro-programmed design shows uPC; the combinational one the steps left before the
  // fetch, which is what the StepCountTable says of the word at uPC.
  if (design == 'U')
    o.emplace_back("UPC", Hex(s[Field::uPC], 2));
  else
    o.emplace_back("RT", Hex(steps[s[Field::uPC]] & 3, 1));
  // pSHIFT is R(7) & D & L(0).
  if (next) {
    const MachineState& n = *next;
    o.emplace_back("SHIFT", Hex((n[Field::R] >> 7) << 9 | n[Field::D] << 1 | (n[Field::L] & 1), 3));
  }
  return o;
}

// Why the generated designs may rightly differ from the engine in a step that executes `w`
// and ends in `after`: the places where the VHDL is written differently on purpose.
std::optional<std::string> KnownDifference(std::uint32_t w, const MachineState& after) {
  const auto on = [w](Signal s) { return Asserted(w, s); };
  if ((on(Signal::EMRD) || on(Signal::EMEN) || on(Signal::EMWR)) && after[Field::ABusDrivers] != 0)
    return "memory access without exactly one A_BUS driver";
  if (on(Signal::EMWR) && !on(Signal::EMEN)) return "memory write without EMEN";
  const bool takesDBus = on(Signal::AEN) || on(Signal::WEN) || on(Signal::RWR) ||
                         on(Signal::OUTEN) || on(Signal::STEN) || on(Signal::MAREN) ||
                         on(Signal::ELP) || on(Signal::EMWR);
  if (takesDBus && after[Field::DBusDrivers] != 0) return "D_BUS taken without exactly one driver";
  if (on(Signal::IREN) && (!on(Signal::EMRD) || (on(Signal::EMEN) && on(Signal::EMWR))))
    return "instruction fetched from elsewhere than the memory (I_BUS)";
  if (on(Signal::ELP) && (on(Signal::FEN) || on(Signal::IREN)))
    return "ELP together with FEN or IREN (the PC process)";
  return std::nullopt;
}

// One design's lines of trace.txt, by clock.
using DesignTrace = std::vector<std::map<std::string, std::string>>;

std::map<char, DesignTrace> ReadTrace(const std::string& path) {
  std::map<char, DesignTrace> trace;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    char design = 0;
    std::size_t clock = 0;
    if (!(words >> design >> clock)) continue;
    DesignTrace& t = trace[design];
    if (t.size() <= clock) t.resize(clock + 1);
    for (std::string pair; words >> pair;) {
      const std::size_t eq = pair.find('=');
      if (eq != std::string::npos) t[clock][pair.substr(0, eq)] = pair.substr(eq + 1);
    }
  }
  return trace;
}

struct QuietHost : Host {};

class GhdlCosimulation : public testing::Test {
 protected:
  void SetUp() override {
    ghdl_ = FindOnPath("ghdl");
    if (!ghdl_)
      GTEST_SKIP() << "ghdl is not installed, so the generated VHDL is neither analysed nor "
                      "simulated (scripts/setup installs it)";
    std::string dir = (fs::temp_directory_path() / "edumac8-ghdl-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    dir_ = dir;
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  // Runs a shell command in the work directory; on failure reports its output.
  bool Run(const std::string& what, const std::string& command) {
    const std::string log = dir_ + "/ghdl.log";
    const int rc =
        std::system(("cd '" + dir_ + "' && " + command + " >'" + log + "' 2>&1").c_str());
    if (rc == 0) return true;
    ADD_FAILURE() << what << " failed (" << command << "):\n" << ReadWholeFile(log).value_or("");
    return false;
  }

  // Generates the three files for the machine's instruction system and EM, simulates both
  // designs with the interrupt raised after kIrqAfter clocks, and compares every clock with
  // the engine started from the same reset.
  void Cosimulate(Workbench& wb) {
    Machine& m = wb.machine;
    const VhdlFiles files = GenerateVhdl(wb.isa, m);
    ASSERT_EQ(WriteVhdlFiles(dir_, files), std::nullopt);

    const std::string analyse = "'" + *ghdl_ + "' -a --std=08 -fsynopsys";
    const std::string sources = std::string(EDUMAC8_VHDL_TEST_DIR) + "/";
    ASSERT_TRUE(Run("analysis", analyse + " '" + sources + "em256.vhd' " + kMicroVhdlFile + " " +
                                    kCombinationalVhdlFile + " '" + sources + "edumac8_tb.vhd'"));
    ASSERT_TRUE(Run("simulation", "'" + *ghdl_ + "' -r --std=08 -fsynopsys edumac8_tb -gCLOCKS=" +
                                      std::to_string(kClocks) + " -gIRQ_AFTER=" +
                                      std::to_string(kIrqAfter) + " --ieee-asserts=disable-at-0"));

    std::vector<MachineState> expected{m.CurrentRecord.state};
    for (int k = 1; k <= kClocks; ++k) {
      const std::uint32_t word = WordOf(m.CurrentRecord.state);
      wb.control.DoMicroStep();
      const auto difference = KnownDifference(word, m.CurrentRecord.state);
      ASSERT_EQ(difference, std::nullopt)
          << "the program reaches a known difference of the generated VHDL in step " << k
          << " (micro-word " << Hex(word, 6) << ")";
      expected.push_back(m.CurrentRecord.state);
      if (k == kIrqAfter) wb.control.Interrupt();
    }

    const auto trace = ReadTrace(dir_ + "/trace.txt");
    for (char design : {'U', 'C'}) {
      SCOPED_TRACE(std::string("design ") +
                   (design == 'U' ? kMicroVhdlFile : kCombinationalVhdlFile));
      ASSERT_EQ(trace.count(design), 1u);
      const DesignTrace& t = trace.at(design);
      ASSERT_EQ(t.size(), expected.size()) << "the simulation did not reach its last clock";
      for (std::size_t k = 0; k < expected.size(); ++k) {
        const MachineState* next = k + 1 < expected.size() ? &expected[k + 1] : nullptr;
        for (const auto& [name, want] :
             EngineObservation(expected[k], next, m.StepCountTable, design)) {
          const auto got = t[k].find(name);
          ASSERT_NE(got, t[k].end()) << "clock " << k << ": no " << name << " in the trace";
          ASSERT_EQ(got->second, want)
              << "clock " << k << ", " << name << ": VHDL " << got->second << ", engine " << want;
        }
      }
    }
  }

  // Assembles a copy of the source (the assembler writes its listing and image beside it)
  // into an all-zero EM and co-simulates it.
  void AssembleAndCosimulate(const std::string& original) {
    const std::string source = dir_ + "/" + fs::path(original).filename().string();
    fs::copy_file(original, source);
    QuietHost host;
    Workbench wb(host);
    wb.machine.EM.fill(0);
    wb.control.SourcePath = source;
    ASSERT_TRUE(wb.Make()) << wb.assembler.ErrorText();
    Cosimulate(wb);
  }

  std::optional<std::string> ghdl_;
  std::string dir_;
};

TEST_F(GhdlCosimulation, HandWrittenImageRunsAlikeInBothDesignsAndTheEngine) {
  QuietHost host;
  Workbench wb(host);
  ProgramMemory& em = wb.machine.EM;
  em.fill(0);
  std::copy(std::begin(kProgram), std::end(kProgram), em.begin());
  std::copy(std::begin(kSubroutine), std::end(kSubroutine), em.begin() + 0x58);
  std::copy(std::begin(kInterruptHandler), std::end(kInterruptHandler), em.begin() + 0xE0);
  wb.machine.ResetMachine();
  Cosimulate(wb);
}

TEST_F(GhdlCosimulation, AssembledProgramRunsAlikeInBothDesignsAndTheEngine) {
  AssembleAndCosimulate(std::string(EDUMAC8_VHDL_TEST_DIR) + "/COSIM.ASM");
}

std::vector<std::string> SamplePrograms() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(EDUMAC8_SAMPLES_DIR))
    if (entry.path().extension() == ".asm") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class GhdlSampleCosimulation : public GhdlCosimulation,
                               public testing::WithParamInterface<std::string> {};

TEST_P(GhdlSampleCosimulation, RunsAlikeInBothDesignsAndTheEngine) {
  AssembleAndCosimulate(std::string(EDUMAC8_SAMPLES_DIR) + "/" + GetParam());
}

INSTANTIATE_TEST_SUITE_P(Samples, GhdlSampleCosimulation, testing::ValuesIn(SamplePrograms()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return fs::path(info.param).stem().string();
                         });

}  // namespace
}  // namespace edumac8
