// Any bytes as INSTALL.INI: the reader must give a table within its bound, or an error line
// and no entries, never crash or read out of bounds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "install/install_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8::install;
  const InstallIni ini = ReadInstallIni({reinterpret_cast<const char*>(data), size});
  if (ini.Entries.size() > kMaxInstallEntries) std::abort();
  if (ini.ErrorLine != 0 && !ini.Entries.empty()) std::abort();
  if (ini.ErrorLine == 0 && (ini.Entries.size() < 2 || ini.Entries[0].Kind != EntryKind::UsbDriver))
    std::abort();
  return 0;
}
