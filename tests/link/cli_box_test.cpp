// edumac8-cli run --box against the software box.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "link_test_support.h"

namespace edumac8 {
namespace {

struct CliResult {
  int status;
  std::string out;
};

CliResult RunCli(const std::string& devices, const std::string& args) {
  const std::string command =
      std::string(kBoxDevicesVariable) + "=" + devices + " " + EDUMAC8_CLI + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = pclose(pipe);
  return {WEXITSTATUS(status), out};
}

TEST(CliBox, RunsOnTheBoxWithTheSimulationsResults) {
  TempDir dir;
  const std::string devices = dir / "devices";
  std::filesystem::create_directories(devices);
  BoxProcess box(devices, dir / "box.log", {});
  ASSERT_TRUE(box.Plugged());
  const std::string sample = std::string(EDUMAC8_SAMPLES_DIR) + "/interrupt.asm";
  std::filesystem::copy_file(sample, dir / "interrupt.asm");
  const std::string args = dir / "interrupt.asm" + " --steps 200 --irq-after 30";
  const CliResult onBox = RunCli(devices, "run " + args + " --box");
  const CliResult simulated = RunCli(dir / "none", "run " + args);
  EXPECT_EQ(onBox.status, 0) << onBox.out;
  EXPECT_EQ(onBox.out, simulated.out);
  EXPECT_GT(box.Commands().size(), 400u);
}

TEST(CliBox, BreakpointsStopTheBoxByTheSameRule) {
  TempDir dir;
  const std::string devices = dir / "devices";
  std::filesystem::create_directories(devices);
  BoxProcess box(devices, dir / "box.log", {});
  ASSERT_TRUE(box.Plugged());
  const std::string sample = std::string(EDUMAC8_SAMPLES_DIR) + "/loop.asm";
  std::filesystem::copy_file(sample, dir / "loop.asm");
  const std::string source = dir / "loop.asm";
  const CliResult onBox = RunCli(devices, "run " + source + " --break DONE --break 0AH --box");
  ASSERT_EQ(onBox.status, 0) << onBox.out;
  // The box reports PC after the fetch as the instruction's address, as its views show it.
  const std::string prefix = "break at 0AH after ";
  ASSERT_EQ(onBox.out.substr(0, prefix.size()), prefix) << onBox.out;
  const std::size_t end = onBox.out.find(' ', prefix.size());
  const std::string steps = onBox.out.substr(prefix.size(), end - prefix.size());
  EXPECT_NE(onBox.out.find("PC=0A"), std::string::npos) << onBox.out;
  const CliResult counted = RunCli(devices, "run " + source + " --box --steps " + steps);
  EXPECT_EQ(onBox.out.substr(onBox.out.find('\n') + 1), counted.out);
}

TEST(CliBox, NoBoxIsAClearFailure) {
  TempDir dir;
  const CliResult r = RunCli(dir / "none", "run x.bin --box");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("未连接 EDUMAC8 实验仪"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace edumac8
