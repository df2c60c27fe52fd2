// The box's USB access rule and the facts the USB entry shows about the machine.
#include <gtest/gtest.h>

#include "install/udev_rule.h"
#include "install/usb_system_facts.h"
#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

using test::TempTree;

TEST(UdevRule, MatchesTheBoxAndEndsEveryLine) {
  const std::string rule = kUdevRule;
  EXPECT_TRUE(rule.ends_with("LABEL=\"edumac8_box_end\"\n"));
  EXPECT_TRUE(rule.starts_with("ACTION==\"remove\", GOTO=\"edumac8_box_end\"\n"));
  EXPECT_EQ(std::count(rule.begin(), rule.end(), '\n'), 5);
  EXPECT_NE(rule.find("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"fe0c\", "
                      "GROUP=\"dialout\", MODE=\"0660\", TAG+=\"uaccess\""),
            std::string::npos);
}

TEST(UdevRule, InstallWritesAReadableFileAtomically) {
  TempTree t;
  t.Write("70-edumac8-box.rules", "old rule");
  const std::optional<std::string> path = InstallUdevRule(t.Root());
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, t.Path("70-edumac8-box.rules"));
  EXPECT_EQ(t.Read("70-edumac8-box.rules"), kUdevRule);
  EXPECT_EQ(t.Mode("70-edumac8-box.rules"), 0644u);
  EXPECT_EQ(t.Names(""), std::vector<std::string>{"70-edumac8-box.rules"});
  EXPECT_FALSE(InstallUdevRule(t.Path("missing/dir")));
}

TEST(UdevRule, InstalledRuleIsTheFirstInUdevOrder) {
  TempTree t;
  EXPECT_FALSE(InstalledUdevRule({t.Path("etc"), t.Path("lib")}));
  t.Write("lib/70-edumac8-box.rules", kUdevRule);
  EXPECT_EQ(InstalledUdevRule({t.Path("etc"), t.Path("lib")}), t.Path("lib/70-edumac8-box.rules"));
  t.Write("etc/70-edumac8-box.rules", kUdevRule);
  EXPECT_EQ(InstalledUdevRule({t.Path("etc"), t.Path("lib")}), t.Path("etc/70-edumac8-box.rules"));
}

TEST(UsbSystemFacts, CdcAcmLoadedAvailableOrMissing) {
  TempTree t;
  const SystemRoots roots{t.Path("sys"), t.Path("modules"), {t.Path("rules")}};
  EXPECT_EQ(CdcAcmStateOf(roots, "6.1.0-9-amd64"), CdcAcmState::Missing);
  t.Write("modules/6.1.0-9-amd64/modules.dep",
          "kernel/drivers/usb/class/cdc-wdm.ko:\nkernel/drivers/usb/class/cdc-acm.ko.xz:\n");
  EXPECT_EQ(CdcAcmStateOf(roots, "6.1.0-9-amd64"), CdcAcmState::Available);
  EXPECT_EQ(CdcAcmStateOf(roots, "5.10.0"), CdcAcmState::Missing);
  t.Write("modules/5.10.0/modules.builtin", "kernel/drivers/usb/class/cdc-acm.ko\n");
  EXPECT_EQ(CdcAcmStateOf(roots, "5.10.0"), CdcAcmState::Available);
  t.Mkdir("sys/module/cdc_acm");
  EXPECT_EQ(CdcAcmStateOf(roots, "6.1.0-9-amd64"), CdcAcmState::Loaded);
}

TEST(UsbSystemFacts, SystemLineNamesReleaseAndWordSize) {
  TempTree t;
  t.Write("rules/70-edumac8-box.rules", kUdevRule);
  const UsbSystemFacts facts =
      ReadUsbSystemFacts({t.Path("sys"), t.Path("modules"), {t.Path("rules")}});
  EXPECT_FALSE(facts.kernelRelease.empty());
  EXPECT_EQ(facts.rulePath, t.Path("rules/70-edumac8-box.rules"));
  EXPECT_EQ(SystemLine({"6.1.0-9-amd64", 64, CdcAcmState::Loaded, {}}),
            "6.1.0-9-amd64  Linux 64 bits");
  EXPECT_EQ(SystemLine({"5.4", 32, CdcAcmState::Loaded, {}}), "5.4  Linux 32 bits");
}

}  // namespace
}  // namespace edumac8::install
