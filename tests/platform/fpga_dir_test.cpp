// Where the generated VHDL goes: beside the program when that can be written, otherwise in the
// user's data directory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/paths.h"
#include "support/temp_tree.h"

namespace edumac8 {
namespace {

TEST(FpgaDir, BesideTheProgramWhenWritable) {
  test::TempTree t;
  const std::string home = t.Mkdir("lab") + "/";
  EXPECT_EQ(FpgaDirFor(home, "/data", "/home/u"), home + "FPGA/");  // FPGA/ can be made
  t.Mkdir("lab/FPGA");
  EXPECT_EQ(FpgaDirFor(home, "/data", "/home/u"), home + "FPGA/");
  EXPECT_EQ(FpgaDirFor(t.Path("missing/"), "/data", "/home/u"), "/data/edumac8/FPGA/");
}

TEST(FpgaDir, UserDataDirectoryWhenTheProgramsPlaceIsProtected) {
  test::TempTree t;
  const std::string shared = t.Mkdir("usr/lib/edumac8") + "/";
  chmod(shared.c_str(), 0555);
  const std::string withFpga = t.Mkdir("opt/edumac8/FPGA");
  chmod(withFpga.c_str(), 0555);
  struct Case {
    std::string home;
    const char* xdg;
    const char* userHome;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {shared, "/data/", "/home/u", "/data/edumac8/FPGA/"},
      {shared, nullptr, "/home/u", "/home/u/.local/share/edumac8/FPGA/"},
      {shared, "relative", "/home/u", "/home/u/.local/share/edumac8/FPGA/"},
      {shared, "", "/home/u", "/home/u/.local/share/edumac8/FPGA/"},
      {t.Path("opt/edumac8/"), "/x", "/h", "/x/edumac8/FPGA/"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(test::RunAsOrdinaryUser(
                  [&] { return FpgaDirFor(c.home, c.xdg, c.userHome) == c.expected ? 0 : 1; }),
              0)
        << i;
  }
}

}  // namespace
}  // namespace edumac8
