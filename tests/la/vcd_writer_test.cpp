// The dumps read back: names, widths, every value at every time, the closing stamp, nothing
// repeated, in both forms.
#include "la/vcd_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/file_io.h"
#include "support/machine_fixture.h"
#include "vcd_reader.h"

namespace edumac8 {
namespace {

using test::ReadVcd;
using test::VcdDump;

// A real run: the loop of a small program, its history captured in simulation.
LASamples RunAndCapture(int steps) {
  test::DefaultMachine d;
  // MOV A,#5 / L: ADD A,#1 / JMP L
  d.Load({0x7C, 0x05, 0x1C, 0x01, 0xAC, 0x02});
  for (int i = 0; i < steps; ++i) d.m.MicroStep();
  LASamples samples;
  samples.Capture(d.m, true);
  samples.CopyToDisplay();
  return samples;
}

// Every variable's value at every time against the samples it was written from.
void ExpectValuesMatch(const VcdDump& dump, const LASamples& samples) {
  const LAChannelTable channels = InitLAChannels();
  ASSERT_EQ(static_cast<int>(dump.values.size()), samples.LASampleCount());
  EXPECT_EQ(dump.closingTime, samples.LASampleCount());
  for (std::size_t v = 0; v < dump.variables.size(); ++v) {
    const test::VcdVariable& var = dump.variables[v];
    int channel = -1, bit = -1;
    for (int k = 0; k < kLAChannelCount && channel < 0; ++k) {
      if (var.width == 8 && channels[k].Name == var.name) channel = k;
      for (int b = 0; b < 8 && var.width == 1; ++b)
        if (channels[k].BitNames[b] == var.name) channel = k, bit = b;
    }
    ASSERT_GE(channel, 0) << var.name;
    const auto data = samples.Channel(channel);
    for (std::size_t t = 0; t < dump.values.size(); ++t) {
      const unsigned expected = bit < 0 ? data[t] : (data[t] >> bit) & 1;
      ASSERT_EQ(dump.values[t][v], expected) << var.name << " at #" << t;
    }
  }
}

TEST(VcdWriter, VectorForm) {
  const LASamples samples = RunAndCapture(40);
  ASSERT_EQ(samples.LASampleCount(), 81);
  const VcdDump dump = ReadVcd(VcdText(samples, VcdForm::Vectors));
  ASSERT_TRUE(dump.errors.empty()) << dump.errors.front();
  ASSERT_EQ(dump.variables.size(), 61u);
  const char* first[] = {"IBUS", "ABUS", "DBUS", "PC", "uPC", "STATUS", "MH", "MM", "ML"};
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(dump.variables[k].name, first[k]);
    EXPECT_EQ(dump.variables[k].width, 8);
  }
  EXPECT_EQ(dump.variables[24].name, "OUT");
  // Then the named bits of STATUS, MH, MM, ML and F, bit 0 first; F's NULL bits left out.
  EXPECT_EQ(dump.variables[25].name, "CK");
  EXPECT_EQ(dump.variables[28].name, "PC+1");
  EXPECT_EQ(dump.variables[33].name, "ELP");
  EXPECT_EQ(dump.variables[56].name, "X2");
  EXPECT_EQ(dump.variables[57].name, "CZ");
  EXPECT_EQ(dump.variables[60].name, "RCy");
  for (std::size_t v = 25; v < 61; ++v) EXPECT_EQ(dump.variables[v].width, 1);
  ExpectValuesMatch(dump, samples);
  // The clock: one time unit per sample, high at even times.
  for (std::size_t t = 0; t < dump.values.size(); ++t) EXPECT_EQ(dump.values[t][25], t % 2 == 0);
}

TEST(VcdWriter, BitForm) {
  const LASamples samples = RunAndCapture(300);  // a full history after the slide
  ASSERT_EQ(samples.LASampleCount(), 511);
  const VcdDump dump = ReadVcd(VcdText(samples, VcdForm::Bits));
  ASSERT_TRUE(dump.errors.empty()) << dump.errors.front();
  ASSERT_EQ(dump.variables.size(), 196u);
  std::set<std::string> names;
  for (const auto& v : dump.variables) {
    EXPECT_EQ(v.width, 1) << v.name;
    EXPECT_NE(v.name, "NULL");
    names.insert(v.name);
  }
  EXPECT_EQ(names.size(), 196u);
  EXPECT_EQ(dump.variables.front().name, "IBUS.0");
  EXPECT_EQ(dump.variables[7].name, "IBUS.7");
  EXPECT_EQ(dump.variables[40].name, "CK");
  EXPECT_EQ(dump.variables.back().name, "OUT.7");
  EXPECT_TRUE(names.count("RCy") && names.count("MAROE") && names.count("IN.3"));
  ExpectValuesMatch(dump, samples);
}

TEST(VcdWriter, OneRecordAndNone) {
  const LASamples one = RunAndCapture(0);
  const VcdDump dump = ReadVcd(VcdText(one, VcdForm::Vectors));
  ASSERT_TRUE(dump.errors.empty()) << dump.errors.front();
  EXPECT_EQ(dump.values.size(), 1u);
  EXPECT_EQ(dump.closingTime, 1);

  const LASamples none;
  const std::string text = VcdText(none, VcdForm::Bits);
  const VcdDump empty = ReadVcd(text);
  ASSERT_TRUE(empty.errors.empty()) << empty.errors.front();
  EXPECT_TRUE(empty.values.empty());
  EXPECT_EQ(empty.closingTime, 0);
}

TEST(VcdWriter, HeaderLines) {
  const std::string text = VcdText(RunAndCapture(3), VcdForm::Vectors);
  for (const char* line :
       {"\r\n$timescale 1 ns $end\r\n", "\r\n$scope module EDUMAC8 $end\r\n",
        "\r\n$var wire 8 ! IBUS [7:0] $end\r\n",
        "\r\n$upscope $end\r\n$enddefinitions $end\r\n#0\r\n$dumpvars\r\n", "\r\n$end\r\n#1\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_EQ(text.substr(text.size() - 4), "#7\r\n");  // four records, seven samples
}

TEST(VcdWriter, FailedWriteKeepsTheOldFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("vcd_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const LASamples samples = RunAndCapture(3);
  const std::string missing = (dir / "no" / "OUT.VCD").string();
  EXPECT_EQ(WriteVcdFile(missing, samples, VcdForm::Vectors), "写文件错误：" + missing);
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string path = (dir / "OUT.VCD").string();
  ASSERT_EQ(WriteVcdFile(path, samples, VcdForm::Bits), std::nullopt);
  EXPECT_EQ(ReadWholeFile(path), VcdText(samples, VcdForm::Bits));

  // What cannot be replaced stays as it was, and no temporary file is left beside it.
  const auto busy = dir / "BUSY.VCD";
  std::filesystem::create_directories(busy);
  std::ofstream(busy / "keep") << "kept";
  EXPECT_EQ(WriteVcdFile(busy.string(), samples, VcdForm::Vectors), "写文件错误：" + busy.string());
  EXPECT_EQ(ReadWholeFile((busy / "keep").string()), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace edumac8
