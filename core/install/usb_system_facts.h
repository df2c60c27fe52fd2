// What the USB entry's information dialog tells about this machine: the kernel, its word size,
// whether the CDC ACM driver that serves the box is there, and whether the box's rule is.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace edumac8::install {

enum class CdcAcmState { Loaded, Available, Missing };

struct UsbSystemFacts {
  std::string kernelRelease;
  int wordBits = 64;
  CdcAcmState cdcAcm = CdcAcmState::Missing;
  std::optional<std::string> rulePath;
};

// Where the facts are read; tests point them at a fake tree.
struct SystemRoots {
  std::string sys = "/sys";
  std::string modules = "/lib/modules";
  std::vector<std::string> ruleDirs;  // empty: udev's own directories
};

UsbSystemFacts ReadUsbSystemFacts(const SystemRoots& roots = {});

// Loaded when the kernel lists the module, available when the release's module tables name it
// (as a module or built in).
CdcAcmState CdcAcmStateOf(const SystemRoots& roots, const std::string& release);

// The dialog's first line: the release, the system's name and its word size.
std::string SystemLine(const UsbSystemFacts& facts);

}  // namespace edumac8::install
