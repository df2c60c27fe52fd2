// Runs edumac8-cli as a teacher's script would: in a private temporary directory, with its
// exit status, standard output and standard error kept apart.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_io.h"

namespace edumac8 {

namespace fs = std::filesystem;

struct Result {
  int status;  // the exit status; 128 + the signal when a signal ended the program
  std::string out;
  std::string err;
};

struct CliFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("cli_" + std::to_string(getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  // `shell` runs before the tool in the same shell (a ulimit, a time limit).
  Result Cli(const std::string& args, const std::string& shell = "") const {
    const std::string errFile = Path("stderr.txt");
    const std::string command =
        shell + " " + std::string(EDUMAC8_CLI) + " " + args + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
      out.append(buffer.data(), n);
    const int status = pclose(pipe);
    const int exit = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    return {exit, out, ReadWholeFile(errFile).value_or("")};
  }
};

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace edumac8
