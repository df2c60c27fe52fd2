// Any bytes as TOOLS.INI (after a two-byte prefix that picks the section and a target name):
// the edit must keep every other byte, and registering the same driver again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "install/tools_ini.h"

namespace {

constexpr const char* kHeaders[] = {"[C51]", "[ARM]", "[ARMADS]", "[KARM]"};
constexpr const char* kTargets[] = {"PVX51.DLL", "pvxarm.dll", "A", "TDRV1", "C51.DLL"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8::install;
  if (size < 2) return 0;
  const std::string_view header = kHeaders[data[0] % 4];
  const bool arm = data[0] & 4;
  const std::string target = kTargets[data[1] % 5];
  const std::string_view file(reinterpret_cast<const char*>(data) + 2, size - 2);

  if (JoinIniLines(SplitIniLines(file)) != file) std::abort();
  const std::string value = "C:\\Keil\\C51\\BIN\\" + target + "(\"x\")";
  const DriverLineEdit edit = AddDriverLine(file, header, arm, target, value);
  if (edit.result != DriverLineResult::Added) {
    if (!edit.bytes.empty()) std::abort();
    return 0;
  }
  // Nothing is lost: the new file is longer by the new line and the CPU lines' additions.
  if (edit.bytes.size() < file.size() + value.size() + 6) std::abort();
  if (edit.bytes.find("=" + value) == std::string::npos) std::abort();
  if (AddDriverLine(edit.bytes, header, arm, target, value).result !=
      DriverLineResult::AlreadyRegistered)
    std::abort();
  return 0;
}
