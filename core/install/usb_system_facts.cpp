#include "install/usb_system_facts.h"

#include <sys/utsname.h>

#include "install/case_paths.h"
#include "install/udev_rule.h"
#include "platform/file_io.h"

namespace edumac8::install {
namespace {

bool TableNames(const std::string& path, std::string_view module) {
  const std::optional<std::string> table = ReadWholeFile(path);
  return table && table->find(module) != std::string::npos;
}

}  // namespace

CdcAcmState CdcAcmStateOf(const SystemRoots& roots, const std::string& release) {
  if (IsDirectory(JoinPath(roots.sys, "module/cdc_acm"))) return CdcAcmState::Loaded;
  const std::string dir = JoinPath(roots.modules, release);
  for (const char* table : {"modules.dep", "modules.builtin"})
    if (TableNames(JoinPath(dir, table), "/cdc-acm.ko")) return CdcAcmState::Available;
  return CdcAcmState::Missing;
}

UsbSystemFacts ReadUsbSystemFacts(const SystemRoots& roots) {
  UsbSystemFacts facts;
  struct utsname name {};
  if (uname(&name) == 0) {
    facts.kernelRelease = name.release;
    facts.wordBits = std::string_view(name.machine).find("64") != std::string_view::npos ? 64 : 32;
  }
  facts.cdcAcm = CdcAcmStateOf(roots, facts.kernelRelease);
  facts.rulePath = InstalledUdevRule(roots.ruleDirs.empty() ? UdevRuleDirs() : roots.ruleDirs);
  return facts;
}

std::string SystemLine(const UsbSystemFacts& facts) {
  return facts.kernelRelease + "  Linux " + std::to_string(facts.wordBits) + " bits";
}

}  // namespace edumac8::install
