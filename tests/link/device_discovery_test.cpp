#include "link/device_discovery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link_test_support.h"

namespace edumac8 {
namespace {
namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

// A sysfs tree with USB serial ports below their USB devices.
void AddUsbTty(const fs::path& sys, const std::string& tty, const std::string& vendor,
               const std::string& product, const std::string& revision) {
  const fs::path usb = sys / "devices" / ("usb-" + tty);
  WriteText(usb / "idVendor", vendor + "\n");
  WriteText(usb / "idProduct", product + "\n");
  WriteText(usb / "bcdDevice", revision + "\n");
  fs::create_directories(usb / "1-1:1.0" / tty);
  fs::create_directories(sys / "class" / "tty" / tty);
  fs::create_directory_symlink(usb / "1-1:1.0", sys / "class" / "tty" / tty / "device");
}

TEST(DeviceDiscovery, SysfsGivesIdentifierFriendlyNameAndPath) {
  TempDir dir;
  const fs::path sys = dir.path / "sys";
  AddUsbTty(sys, "ttyUSB0", "1a86", "7523", "0264");
  AddUsbTty(sys, "ttyUSB2", "1a86", "fe0c", "6611");
  AddUsbTty(sys, "ttyACM1", "1a86", "fe0c", "6611");
  fs::create_directories(sys / "class" / "tty" / "tty1");  // no USB device behind it

  const std::vector<DeviceRecord> devices = SysfsDevices(sys.string(), "/dev");
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].devicePath, "/dev/ttyACM1");
  EXPECT_EQ(devices[0].friendlyName, "USB-SERIAL (COM66)");
  EXPECT_EQ(devices[2].hardwareIds.substr(0, devices[2].hardwareIds.find('\0')),
            "USB\\VID_1A86&PID_FE0C&REV_6611");
  EXPECT_EQ(devices[2].friendlyName, "USB-SERIAL (COM3)");

  // The first matching device in enumeration order wins.
  const BoxPort port = FirstBoxPort(devices);
  EXPECT_EQ(port.number, 66);
  EXPECT_EQ(port.devicePath, "/dev/ttyACM1");
}

TEST(DeviceDiscovery, PublishedRecordsRoundTripAndSkipOthers) {
  TempDir dir;
  DeviceRecord box{std::string("USB\\VID_1A86&PID_FE0C&REV_6611") + '\0' + "USB\\VID_1A86" + '\0',
                   "USB-SERIAL CH340 (COM12)", "/dev/pts/7"};
  DeviceRecord parsed;
  ASSERT_TRUE(ParseDeviceRecord(FormatDeviceRecord(box), parsed));
  EXPECT_EQ(parsed.hardwareIds, box.hardwareIds);
  EXPECT_EQ(parsed.friendlyName, box.friendlyName);
  EXPECT_EQ(parsed.devicePath, box.devicePath);

  WriteText(dir.path / "b.dev", FormatDeviceRecord(box));
  WriteText(dir.path / "a.dev",
            FormatDeviceRecord({std::string("USB\\VID_1A86&PID_FE0C&REV_6612") + '\0',
                                "Other (COM4)", "/dev/pts/1"}));
  WriteText(dir.path / "c.dev.tmp", FormatDeviceRecord(box));  // not a record
  WriteText(dir.path / "d.dev", "garbage");
  const std::vector<DeviceRecord> devices = PublishedDevices(dir.path.string());
  ASSERT_EQ(devices.size(), 2u);
  const BoxPort port = FirstBoxPort(devices);
  EXPECT_EQ(port.number, 12);
  EXPECT_EQ(port.devicePath, "/dev/pts/7");
  EXPECT_EQ(FirstBoxPort({}).number, -1);
}

}  // namespace
}  // namespace edumac8
