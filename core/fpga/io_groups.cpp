#include "fpga/io_groups.h"

namespace edumac8 {

std::string IOGroupName(long long group) {
  if (!ValidIOGroup(group)) return "?";
  if (group < 8) return "D" + std::to_string(group);
  if (group < kFirstKeyGroup) return "Out" + std::to_string(group - 8);
  return "K" + std::to_string(group - kFirstKeyGroup);
}

}  // namespace edumac8
