#include "install/driver_registration.h"

#include <unistd.h>

#include "install/case_paths.h"
#include "install/install_text.h"
#include "install/tools_ini.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8::install {
namespace {

constexpr const char* kArmSections[] = {"[ARM]", "[ARMADS]", "[KARM]"};

bool EditToolsIni(const std::string& keilPath, std::string_view header, bool armSection,
                  std::string_view target, std::string_view value) {
  const std::optional<std::string> path = FindFileIgnoringCase(keilPath, "TOOLS.INI");
  const std::optional<std::string> bytes = path ? ReadWholeFile(*path) : std::nullopt;
  if (!bytes) return false;
  const DriverLineEdit edit = AddDriverLine(*bytes, header, armSection, target, value);
  switch (edit.result) {
    case DriverLineResult::Added:
      return ReplaceFileAtomic(*path, edit.bytes);
    case DriverLineResult::AlreadyRegistered:
      return true;
    case DriverLineResult::NoSection:
      return armSection;  // a Keil installation may lack an ARM section
    case DriverLineResult::NoDriverNumber:
      return false;
  }
  return false;
}

// The driver reference written into TOOLS.INI: Target("name"), in the file's bytes.
std::string DriverReference(const TInstallEntry& entry, bool chinese) {
  return entry.Target + "(\"" + entry.Caption(chinese) + "\")";
}

}  // namespace

bool CopyDriverFile(const std::string& source, const std::string& keilPath, std::string_view subdir,
                    std::string_view target) {
  std::vector<std::string> parts = PathComponents(Gb2312ToUtf8(target));
  if (parts.empty()) return false;
  const std::string name = parts.back();
  parts.pop_back();
  std::string dirRelative(subdir);
  for (const std::string& p : parts) dirRelative += "/" + p;
  const std::optional<std::string> dir = ResolveIgnoringCase(keilPath, dirRelative);
  if (!dir || !IsDirectory(*dir)) return false;
  const std::string destination = JoinPath(*dir, FindNameIgnoringCase(*dir, name).value_or(name));
  if (access(destination.c_str(), F_OK) == 0 && access(destination.c_str(), W_OK) != 0)
    return false;
  const std::optional<std::string> bytes = ReadWholeFile(source);
  return bytes && WriteFileAtomicWithMode(destination, *bytes, 0644);
}

bool RegisterC51(const std::string& keilPath, std::string_view target, std::string_view value) {
  return EditToolsIni(keilPath, "[C51]", false, target, value);
}

bool RegisterArm(const std::string& keilPath, std::string_view header, std::string_view target,
                 std::string_view value) {
  return EditToolsIni(keilPath, header, true, target, value);
}

DriverInstallReport InstallKeilDrivers(const InstallMenu& menu, const KeilLocation& keil) {
  DriverInstallReport report;
  const bool hasC51 = FindFileIgnoringCase(keil.path, "C51/BIN/C51.EXE").has_value();
  const bool hasArm = FindFileIgnoringCase(keil.path, "ARM/BIN/ARM.dll").has_value();
  const std::string windowsPath = Utf8ToGb2312(keil.windowsPath);
  for (const TInstallEntry& entry : menu.KeilList) {
    const bool c51 = entry.Kind == EntryKind::KeilC51Driver;
    if (c51 ? !hasC51 : !hasArm) continue;
    ++report.handled;
    const std::string reference = DriverReference(entry, menu.Chinese);
    const std::string value = windowsPath + (c51 ? "\\C51\\BIN\\" : "\\ARM\\BIN\\") + reference;
    const std::optional<std::string> source = TargetPath(menu.InstallDir, entry.Target);
    // A driver that did not arrive in BIN must not be offered by Keil.
    bool ok =
        source && CopyDriverFile(*source, keil.path, c51 ? "C51/BIN" : "ARM/BIN", entry.Target);
    if (ok && c51) {
      ok = RegisterC51(keil.path, entry.Target, value);
    } else if (ok) {
      for (const char* section : kArmSections)
        ok = RegisterArm(keil.path, section, entry.Target, value) && ok;
    }
    const std::string shown = Gb2312ToUtf8(reference);
    if (ok) {
      report.memo.push_back((c51 ? "C51: " : "ARM: ") + shown + "  " +
                            Text(Msg::KeilDriverInstalled, menu.Chinese));
    } else {
      ++report.failed;
      report.memo.push_back(std::string(Text(Msg::CannotModifyToolsIni, menu.Chinese)) + " " +
                            shown);
    }
  }
  return report;
}

}  // namespace edumac8::install
