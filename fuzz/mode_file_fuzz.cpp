// The mode-file reader on arbitrary bytes: no crash, no hang, nothing sized by a count in the
// file. Whatever it keeps of a file (all of a good one, what it could read of a bad one) is
// a mode that saves to a file which reads back without fault and saves to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fpga/mode_file.h"
#include "fpga/typed_values.h"

using namespace edumac8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  BoardMode mode;
  ReadMode(bytes, mode);
  const std::string saved = WriteMode(mode);
  BoardMode again;
  if (ReadMode(saved, again).status != ModeRead::Ok) std::abort();
  if (again.components.size() != mode.components.size()) std::abort();
  if (WriteMode(again) != saved) std::abort();
  // The dialogs read numbers by the same rule.
  const std::string_view head = bytes.substr(0, 24);
  TypedPosition(head, 0, kBoardMaxX);
  TypedClockCount(head);
  return 0;
}
