// The sample programs a student opens first: each one assembles and gives its documented
// result.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_host.h"
#include "workbench/workbench.h"

namespace edumac8 {
namespace {

struct Expect {
  Field field;
  std::uint8_t value;
};

struct Sample {
  const char* file;
  int steps;
  std::vector<int> interruptsAfter;
  std::vector<Expect> registers;
  std::vector<std::pair<int, std::uint8_t>> memory;
};

class Samples : public ::testing::TestWithParam<Sample> {};

TEST_P(Samples, AssembleAndRunToTheirResult) {
  const Sample& s = GetParam();
  const std::filesystem::path work =
      std::filesystem::temp_directory_path() / ("samples_" + std::to_string(getpid()));
  std::filesystem::create_directories(work);
  const std::filesystem::path source = work / s.file;
  std::filesystem::copy_file(std::filesystem::path(EDUMAC8_SAMPLES_DIR) / s.file, source,
                             std::filesystem::copy_options::overwrite_existing);

  test::RecordingHost host;
  Workbench wb(host);
  wb.control.SourcePath = source.string();
  ASSERT_TRUE(wb.Make()) << wb.assembler.ErrorText();
  for (int step = 1; step <= s.steps; ++step) {
    wb.control.DoMicroStep();
    for (int k : s.interruptsAfter)
      if (k == step) wb.control.Interrupt();
  }
  for (const Expect& e : s.registers)
    EXPECT_EQ(wb.machine.state[e.field], e.value) << s.file << " field " << int(e.field);
  for (const auto& [address, value] : s.memory)
    EXPECT_EQ(wb.machine.EM[address], value) << s.file << " address " << address;
  std::filesystem::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, Samples,
    ::testing::Values(
        Sample{"arith.asm", 120, {}, {{Field::OUT, 0xAA}}, {{0x44, 0x10}, {0x45, 0x18}}},
        Sample{"loop.asm", 400, {}, {{Field::OUT, 0x0F}, {Field::R2, 0x0F}, {Field::R0, 0x35}}, {}},
        Sample{"call.asm", 60, {}, {{Field::OUT, 0x1C}, {Field::R3, 0x0E}}, {}},
        Sample{"interrupt.asm", 300, {30, 150}, {{Field::OUT, 2}, {Field::R0, 2}}, {}},
        Sample{"io.asm", 40, {}, {{Field::OUT, 0x7F}, {Field::A, 0x7F}}, {}}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

}  // namespace
}  // namespace edumac8
