#include "install/udev_rule.h"

#include "install/case_paths.h"
#include "platform/file_io.h"

namespace edumac8::install {

const char kUdevRule[] =
    "ACTION==\"remove\", GOTO=\"edumac8_box_end\"\n"
    "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"1a86\", "
    "ATTR{idProduct}==\"fe0c\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
    "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_interface\", ATTRS{idVendor}==\"1a86\", "
    "ATTRS{idProduct}==\"fe0c\", ATTR{bInterfaceClass}==\"ff\", "
    "RUN+=\"/sbin/modprobe usbserial\", "
    "RUN+=\"/bin/sh -c 'echo 1a86 fe0c > /sys/bus/usb-serial/drivers/generic/new_id'\"\n"
    "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"fe0c\", "
    "GROUP=\"dialout\", MODE=\"0660\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
    "LABEL=\"edumac8_box_end\"\n";

std::vector<std::string> UdevRuleDirs() {
  return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d",
          "/lib/udev/rules.d", "/usr/lib/udev/rules.d"};
}

std::optional<std::string> InstallUdevRule(const std::string& dir) {
  const std::string path = JoinPath(dir, kUdevRuleFileName);
  if (!WriteFileAtomicWithMode(path, kUdevRule, 0644)) return std::nullopt;
  return path;
}

std::optional<std::string> InstalledUdevRule(const std::vector<std::string>& dirs) {
  for (const std::string& dir : dirs) {
    const std::string path = JoinPath(dir, kUdevRuleFileName);
    if (IsRegularFile(path)) return path;
  }
  return std::nullopt;
}

}  // namespace edumac8::install
