// The rows of the directory list of the Keil directory dialog: the chain from the drive's root
// down to the current directory, then the current directory's subdirectories one level deeper.
#pragma once

#include <string>
#include <vector>

namespace edumac8::install {

struct DirectoryRow {
  std::string name;  // shown text: the root's path, otherwise the directory's name
  std::string path;
  int depth = 0;
  bool open = false;  // on the chain to the current directory (the current one included)
};

// `current` outside `root` counts as `root`. Hidden directories are left out; subdirectories
// are sorted ignoring case.
std::vector<DirectoryRow> DirectoryTreeRows(const std::string& root, const std::string& current);

}  // namespace edumac8::install
