// Where the box's serial port can be found on Linux: USB serial devices from sysfs, and the
// device records that a software box publishes in a directory. Both give the properties the
// port rules read (hardware identifier list, friendly name) and the device path to open.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace edumac8 {

struct DeviceRecord {
  std::string hardwareIds;   // NUL-separated list, most specific first
  std::string friendlyName;  // ends in "(COMn)"
  std::string devicePath;    // what the port layer opens
  long ownerPid = 0;         // the software box that published the record; 0: none named
};

using DeviceLister = std::function<std::vector<DeviceRecord>()>;

// The environment variable naming the directory where software boxes publish themselves.
inline constexpr const char* kBoxDevicesVariable = "EDUMAC8_BOX_DEVICES";

// USB serial ports under sysRoot/class/tty, in name order. A port's USB device gives the
// identifier "USB\VID_vvvv&PID_pppp&REV_rrrr"; ttyUSBk is called COM(k+1), ttyACMk COM(k+65).
std::vector<DeviceRecord> SysfsDevices(const std::string& sysRoot = "/sys",
                                       const std::string& devRoot = "/dev");

// The records (*.dev files) in a directory, in file-name order. Only small regular files are
// read (never a FIFO, a device or a link); unreadable ones are skipped. A record whose owner
// process no longer runs is stale: its terminal may already serve someone else. It is skipped,
// and removed when it belongs to this user.
std::vector<DeviceRecord> PublishedDevices(const std::string& directory);

// sysfs first, then the directory named by EDUMAC8_BOX_DEVICES when it is set.
std::vector<DeviceRecord> PresentDevices();

// The record file: one "HardwareId=" line per identifier, "FriendlyName=", "Device=", and
// "Pid=" when an owner is named (decimal digits only, else the record is invalid).
std::string FormatDeviceRecord(const DeviceRecord& record);
bool ParseDeviceRecord(const std::string& text, DeviceRecord& record);

// The first device of the list that the port rules accept.
struct BoxPort {
  int number = -1;
  std::string devicePath;
};
BoxPort FirstBoxPort(const std::vector<DeviceRecord>& devices);

}  // namespace edumac8
