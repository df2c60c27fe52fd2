#include "link/device_discovery.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "link/port_rules.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace fs = std::filesystem;
namespace {

std::string Trimmed(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::vector<fs::path> SortedEntries(const fs::path& dir) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(it->path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The COM number a tty is shown under, from the digits its name ends in.
std::optional<int> ComNumberOfTty(const std::string& tty) {
  std::size_t digits = tty.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(tty[digits - 1]))) --digits;
  if (digits == tty.size() || tty.size() - digits > 4) return std::nullopt;
  const int k = std::stoi(tty.substr(digits));
  if (tty.rfind("ttyUSB", 0) == 0) return k + 1;
  if (tty.rfind("ttyACM", 0) == 0) return k + 65;
  return std::nullopt;
}

// Far more than a record holds; a larger file is no record.
constexpr std::size_t kMaxRecordBytes = 64 * 1024;

// A process id as a record names it: decimal digits, 1 to the largest id Linux hands out.
// 0 for anything else, which no valid record may carry.
long ParsePid(const std::string& text) {
  constexpr long kMaxPid = 4194304;
  if (text.empty() || text.size() > 7) return 0;
  long pid = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid <= kMaxPid ? pid : 0;
}

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

std::vector<DeviceRecord> SysfsDevices(const std::string& sysRoot, const std::string& devRoot) {
  std::vector<DeviceRecord> devices;
  for (const fs::path& tty : SortedEntries(fs::path(sysRoot) / "class" / "tty")) {
    const std::string name = tty.filename().string();
    const std::optional<int> com = ComNumberOfTty(name);
    if (!com) continue;
    std::error_code ec;
    fs::path dir = fs::canonical(tty / "device", ec);
    if (ec) continue;
    // The tty hangs below the USB interface; the identity is on the USB device above it.
    for (int up = 0; up < 4 && !fs::exists(dir / "idVendor", ec); ++up) dir = dir.parent_path();
    const auto vendor = ReadWholeFile((dir / "idVendor").string(), kMaxRecordBytes);
    const auto product = ReadWholeFile((dir / "idProduct").string(), kMaxRecordBytes);
    const auto revision = ReadWholeFile((dir / "bcdDevice").string(), kMaxRecordBytes);
    if (!vendor || !product || !revision) continue;
    const std::string usb =
        "USB\\VID_" + Upper(Trimmed(*vendor)) + "&PID_" + Upper(Trimmed(*product));
    DeviceRecord record;
    record.hardwareIds = usb + "&REV_" + Upper(Trimmed(*revision)) + '\0' + usb + '\0';
    record.friendlyName = "USB-SERIAL (COM" + std::to_string(*com) + ")";
    record.devicePath = devRoot + "/" + name;
    devices.push_back(std::move(record));
  }
  return devices;
}

std::vector<DeviceRecord> PublishedDevices(const std::string& directory) {
  std::vector<DeviceRecord> devices;
  for (const fs::path& file : SortedEntries(directory)) {
    if (file.extension() != ".dev") continue;
    struct stat before {};
    if (lstat(file.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) continue;
    const std::optional<std::string> text =
        ReadWholeFile(file.string(), kMaxRecordBytes, Links::Refuse);
    DeviceRecord record;
    if (!text || !ParseDeviceRecord(*text, record)) continue;
    if (record.ownerPid == 0 || ProcessRuns(record.ownerPid)) {
      devices.push_back(std::move(record));
      continue;
    }
    // Removed only while it is still the file that was read: a box starting again under the
    // same name replaces it with a new file.
    struct stat now {};
    if (before.st_uid == geteuid() && lstat(file.c_str(), &now) == 0 &&
        now.st_ino == before.st_ino && now.st_dev == before.st_dev)
      ::unlink(file.c_str());
  }
  return devices;
}

std::vector<DeviceRecord> PresentDevices() {
  std::vector<DeviceRecord> devices = SysfsDevices();
  if (const char* dir = std::getenv(kBoxDevicesVariable); dir && *dir) {
    std::vector<DeviceRecord> published = PublishedDevices(dir);
    devices.insert(devices.end(), published.begin(), published.end());
  }
  return devices;
}

std::string FormatDeviceRecord(const DeviceRecord& record) {
  std::string text;
  std::istringstream ids(record.hardwareIds);
  for (std::string id; std::getline(ids, id, '\0');)
    if (!id.empty()) text += "HardwareId=" + id + "\n";
  text += "FriendlyName=" + record.friendlyName + "\n";
  text += "Device=" + record.devicePath + "\n";
  if (record.ownerPid > 0) text += "Pid=" + std::to_string(record.ownerPid) + "\n";
  return text;
}

bool ParseDeviceRecord(const std::string& text, DeviceRecord& record) {
  record = {};
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "HardwareId")
      record.hardwareIds += value + '\0';
    else if (key == "FriendlyName")
      record.friendlyName = value;
    else if (key == "Device")
      record.devicePath = value;
    else if (key == "Pid" && (record.ownerPid = ParsePid(value)) == 0)
      return false;
  }
  return !record.hardwareIds.empty() && !record.devicePath.empty();
}

BoxPort FirstBoxPort(const std::vector<DeviceRecord>& devices) {
  for (const DeviceRecord& d : devices) {
    if (!IsBoxHardwareId(d.hardwareIds)) continue;
    if (const std::optional<int> number = ComNumberOf(d.friendlyName))
      return {*number, d.devicePath};
  }
  return {};
}

}  // namespace edumac8
